// Cost of the tawara pile: the defaults, and the largest piles the fields allow in the
// largest grid of piles, circles and squares.
#include "BenchReport.h"
#include "figures/FigureCaches.h"
#include "figures/tawara/Tawara.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace koyomi::figures;
using namespace koyomi::render;
using koyomi::bench::setBaseline;

namespace {

void tawara(benchmark::State& state, TawaraParams params, int w, int h)
{
    Canvas c(w, h);
    // What the presentation window keeps from one redraw to the next.
    FigureCaches caches;
    for (auto _ : state) {
        drawTawara(c, params, Frame{w, h, false}, &caches);
        benchmark::DoNotOptimize(c.image().constBits());
    }
}

const bool registered = [] {
    auto add = [](const std::string& name, TawaraParams p, int w, int h, const char* baseline) {
        benchmark::RegisterBenchmark(name.c_str(), tawara, p, w, h)->Unit(benchmark::kMillisecond);
        setBaseline(name, baseline);
    };
    add("tawara defaults 1920x1080", TawaraParams::defaults(false), 1920, 1080, "fill 1920x1080");
    for (const int shape : {0, 1}) {
        TawaraParams p = TawaraParams::defaults(false);
        p.pieceShape = shape;
        p.pieceSize = 100;
        p.rowCount = 50;
        p.countAcross = p.countDown = 500;
        p.gapAcross = p.gapDown = 500;
        p.lineWidth = 5;
        p.lineKind = 1;
        add(std::string("tawara 500x500 piles of 50 rows size 100 ") + (shape ? "□" : "○") +
                " 3840x2160",
            p, 3840, 2160, "fill 3840x2160");
    }
    return true;
}();

} // namespace
