// Cost of the point grid: the defaults, and the largest arrangement the fields allow with the
// largest marks, in every shape, with cell centres.
#include "BenchReport.h"
#include "figures/FigureCaches.h"
#include "figures/grid/Grid.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace koyomi::figures;
using namespace koyomi::render;
using koyomi::bench::setBaseline;

namespace {

void grid(benchmark::State& state, GridParams params, int w, int h)
{
    Canvas c(w, h);
    // What the presentation window keeps from one redraw to the next.
    FigureCaches caches;
    for (auto _ : state) {
        drawGrid(c, params, Frame{w, h, false}, &caches);
        benchmark::DoNotOptimize(c.image().constBits());
    }
}

GridParams largest(GridMark shape, bool centres)
{
    GridParams p = GridParams::defaults(false);
    p.rowCount = p.columnCount = 1000;
    p.countAcross = p.countDown = 500;
    p.markSize = 1000;
    p.markShape = int(shape);
    p.centreMarksOn = centres;
    return p;
}

const bool registered = [] {
    auto add = [](const std::string& name, GridParams p, int w, int h, const char* baseline) {
        benchmark::RegisterBenchmark(name.c_str(), grid, p, w, h)->Unit(benchmark::kMillisecond);
        setBaseline(name, baseline);
    };
    add("grid defaults 1920x1080", GridParams::defaults(false), 1920, 1080, "fill 1920x1080");
    const char* names[] = {"○", "●", "＋", "×"};
    for (const bool centres : {false, true}) {
        for (int shape = 0; shape < 4; ++shape) {
            add(std::string("grid 500x500 blocks of 1000x1000 size 1000 ") + names[shape] +
                    (centres ? " with centres" : "") + " 3840x2160",
                largest(GridMark(shape), centres), 3840, 2160, "fill 3840x2160");
        }
    }
    return true;
}();

} // namespace
