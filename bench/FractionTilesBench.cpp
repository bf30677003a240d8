// Cost of fraction tiles: the defaults, and the largest tiles cut into the most parts with
// ticks on every side, in the largest arrangement.
#include "BenchReport.h"
#include "figures/fractiontiles/FractionTiles.h"

#include <benchmark/benchmark.h>

using namespace koyomi::figures;
using namespace koyomi::render;
using koyomi::bench::setBaseline;

namespace {

void tiles(benchmark::State& state, FractionTilesParams params, int w, int h)
{
    Canvas c(w, h);
    for (auto _ : state) {
        drawFractionTiles(c, params, Frame{w, h, false});
        benchmark::DoNotOptimize(c.image().constBits());
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("fraction tiles defaults 1920x1080", tiles,
                                 FractionTilesParams::defaults(false), 1920, 1080)
        ->Unit(benchmark::kMillisecond);
    setBaseline("fraction tiles defaults 1920x1080", "fill 1920x1080");
    FractionTilesParams p = FractionTilesParams::defaults(false);
    p.tileWidth = p.tileHeight = 1000;
    p.partsDown = p.partsAcross = 1000;
    p.countAcross = p.countDown = 500;
    p.tickPosition = int(TickSides::All);
    benchmark::RegisterBenchmark("fraction tiles 500x500 of 1000x1000 parts 3840x2160", tiles, p,
                                 3840, 2160)
        ->Unit(benchmark::kMillisecond);
    setBaseline("fraction tiles 500x500 of 1000x1000 parts 3840x2160", "fill 3840x2160");
    return true;
}();

} // namespace
