// Cost of the number line: the defaults, the largest arrangement of the longest lines with
// both subdivision rows and labels, and thousands of labelled lines a pixel apart.
#include "BenchReport.h"
#include "figures/FigureCaches.h"
#include "figures/numberline/NumberLine.h"

#include <benchmark/benchmark.h>

using namespace koyomi::figures;
using namespace koyomi::render;
using koyomi::bench::setBaseline;

namespace {

void numberLine(benchmark::State& state, NumberLineParams params, int w, int h)
{
    Canvas c(w, h);
    // What the presentation window keeps from one redraw to the next.
    FigureCaches caches;
    for (auto _ : state) {
        drawNumberLine(c, params, Frame{w, h, false}, &caches);
        benchmark::DoNotOptimize(c.image().constBits());
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("number line defaults 1920x1080", numberLine,
                                 NumberLineParams::defaults(false), 1920, 1080)
        ->Unit(benchmark::kMillisecond);
    setBaseline("number line defaults 1920x1080", "fill 1920x1080");
    NumberLineParams p = NumberLineParams::defaults(false);
    p.tickCount = 1000;
    p.countAcross = p.countDown = 500;
    p.sub1Count = p.sub2Count = 500;
    p.labelsOn = true;
    p.labelUnit = "cm";
    benchmark::RegisterBenchmark("number line 500x500 lines of 1000 ticks 3840x2160", numberLine, p,
                                 3840, 2160)
        ->Unit(benchmark::kMillisecond);
    setBaseline("number line 500x500 lines of 1000 ticks 3840x2160", "fill 3840x2160");
    // Every line's labels reach hundreds of lines up and down: each line drawn over the others.
    NumberLineParams stacked = NumberLineParams::defaults(false);
    stacked.tickCount = 100;
    stacked.labelsOn = true;
    stacked.labelSize = 72;
    stacked.countDown = 5000;
    stacked.gapDown = 1;
    benchmark::RegisterBenchmark("number line 5000 labelled lines a pixel apart 1920x1080",
                                 numberLine, stacked, 1920, 1080)
        ->Unit(benchmark::kMillisecond);
    setBaseline("number line 5000 labelled lines a pixel apart 1920x1080", "fill 1920x1080");
    return true;
}();

} // namespace
