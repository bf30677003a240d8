// Cost of the slanted grid: the defaults, and the densest grid the fields allow (spacing 1,
// width 5) in every drawn line kind.
#include "BenchReport.h"
#include "figures/slopegrid/SlopeGrid.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace koyomi::figures;
using namespace koyomi::render;
using koyomi::bench::setBaseline;

namespace {

void slopeGrid(benchmark::State& state, SlopeGridParams params, int w, int h)
{
    Canvas c(w, h);
    for (auto _ : state) {
        drawSlopeGrid(c, params, Frame{w, h, false});
        benchmark::DoNotOptimize(c.image().constBits());
    }
}

const bool registered = [] {
    auto add = [](const std::string& name, SlopeGridParams p, int w, int h, const char* baseline) {
        benchmark::RegisterBenchmark(name.c_str(), slopeGrid, p, w, h)
            ->Unit(benchmark::kMillisecond);
        setBaseline(name, baseline);
    };
    add("slanted grid defaults 1920x1080", SlopeGridParams::defaults(false), 1920, 1080,
        "fill 1920x1080");
    const char* kinds[] = {"実線", "破線", "点線", "一点鎖線", "二点鎖線"};
    for (int kind = 0; kind < 5; ++kind) {
        SlopeGridParams p = SlopeGridParams::defaults(false);
        p.spacing = 1;
        p.lineWidth = 5;
        p.lineKind = kind;
        add(std::string("slanted grid spacing 1 width 5 ") + kinds[kind] + " 3840x2160", p, 3840,
            2160, "fill 3840x2160");
    }
    return true;
}();

} // namespace
