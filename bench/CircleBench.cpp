// Cost of the circle: the defaults, and the heaviest scale the fields allow (fifty divisions,
// both sub-division rings at 500, numbers) in 500 × 500 copies.
#include "BenchReport.h"
#include "figures/FigureCaches.h"
#include "figures/circle/Circle.h"

#include <benchmark/benchmark.h>

using namespace koyomi::figures;
using namespace koyomi::render;
using koyomi::bench::setBaseline;

namespace {

void circle(benchmark::State& state, CircleParams params, int w, int h)
{
    Canvas c(w, h);
    // What the presentation window keeps from one redraw to the next.
    FigureCaches caches;
    for (auto _ : state) {
        drawCircle(c, params, Frame{w, h, false}, &caches);
        benchmark::DoNotOptimize(c.image().constBits());
    }
}

// The teacher changing a ring's division count: its directions are worked out afresh each
// time, with nothing kept from the drawing before.
void ringChanged(benchmark::State& state, CircleParams params, int w, int h)
{
    Canvas c(w, h);
    int i = 0;
    // What the presentation window keeps from one redraw to the next.
    FigureCaches caches;
    for (auto _ : state) {
        params.sub1.division = 400 + (i++ % 100);
        drawCircle(c, params, Frame{w, h, false}, &caches);
        benchmark::DoNotOptimize(c.image().constBits());
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("circle defaults 1920x1080", circle, CircleParams::defaults(false),
                                 1920, 1080)
        ->Unit(benchmark::kMillisecond);
    setBaseline("circle defaults 1920x1080", "fill 1920x1080");
    CircleParams heavy = CircleParams::defaults(false);
    heavy.radius = 20;
    heavy.ringDivision = 20;
    heavy.divisions = 50;
    heavy.edgeMark = int(CircleMark::Across);
    heavy.sub1.division = heavy.sub2.division = 500;
    heavy.numbersShown = true;
    heavy.centreMark = int(CircleCentre::Dot);
    heavy.countAcross = heavy.countDown = 500;
    const char* name = "circle 500x500 copies R 20, 50 divisions, rings of 500, numbers 3840x2160";
    benchmark::RegisterBenchmark(name, circle, heavy, 3840, 2160)->Unit(benchmark::kMillisecond);
    setBaseline(name, "fill 3840x2160");
    const char* changed = "circle 500x500 copies R 20, the first ring's division changed 3840x2160";
    benchmark::RegisterBenchmark(changed, ringChanged, heavy, 3840, 2160)
        ->Unit(benchmark::kMillisecond);
    setBaseline(changed, "fill 3840x2160");
    // One circle whose two rings of 25,000 marks across are dashed and dotted a thousand
    // pixels long: hundreds of thousands of short dashes in a few hundred directions.
    CircleParams dashed = CircleParams::defaults(false);
    dashed.radius = 500;
    dashed.divisions = 50;
    dashed.edgeMark = int(CircleMark::Across);
    dashed.sub1 = CircleRing{500, 1000, LineSetting{1, 5, 8}};
    dashed.sub2 = CircleRing{500, 1000, LineSetting{2, 1, 9}};
    const char* rays = "circle R 500, two rings of 25,000 dashed marks 1000 long 1920x1080";
    benchmark::RegisterBenchmark(rays, circle, dashed, 1920, 1080)->Unit(benchmark::kMillisecond);
    setBaseline(rays, "fill 1920x1080");
    return true;
}();

} // namespace
