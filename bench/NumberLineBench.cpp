// Cost of the number line: the defaults, and the largest arrangement of the longest lines
// with both subdivision rows and labels.
#include "BenchReport.h"
#include "figures/numberline/NumberLine.h"

#include <benchmark/benchmark.h>

using namespace koyomi::figures;
using namespace koyomi::render;
using koyomi::bench::setBaseline;

namespace {

void numberLine(benchmark::State& state, NumberLineParams params, int w, int h)
{
    Canvas c(w, h);
    for (auto _ : state) {
        drawNumberLine(c, params, Frame{w, h, false});
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
    return true;
}();

} // namespace
