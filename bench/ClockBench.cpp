// Cost of the clock: the defaults, and the largest arrangement the fields allow with every
// element drawn.
#include "BenchReport.h"
#include "figures/clock/Clock.h"

#include <benchmark/benchmark.h>

using namespace koyomi::figures;
using namespace koyomi::render;
using koyomi::bench::setBaseline;

namespace {

void clock(benchmark::State& state, ClockParams params, int w, int h)
{
    Canvas c(w, h);
    for (auto _ : state) {
        drawClock(c, params, Frame{w, h, false});
        benchmark::DoNotOptimize(c.image().constBits());
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("clock defaults 1920x1080", clock, ClockParams::defaults(false),
                                 1920, 1080)
        ->Unit(benchmark::kMillisecond);
    setBaseline("clock defaults 1920x1080", "fill 1920x1080");
    ClockParams many = ClockParams::defaults(false);
    many.countAcross = many.countDown = 500;
    benchmark::RegisterBenchmark("clock 500x500 faces 3840x2160", clock, many, 3840, 2160)
        ->Unit(benchmark::kMillisecond);
    setBaseline("clock 500x500 faces 3840x2160", "fill 3840x2160");
    return true;
}();

} // namespace
