// Annotation as the teacher draws it: a flood fill of a whole 4K projection (with the step
// kept for undo) and a long freehand stroke with the widest pen.
#include "BenchReport.h"
#include "tools/Annotation.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace koyomi;
using koyomi::bench::setBaseline;

namespace {

void floodFill(benchmark::State& state)
{
    render::Canvas c(3840, 2160, render::kBlack);
    tools::Annotation a;
    a.PaintToolKind = tools::kFloodFill;
    int colour = 11;
    for (auto _ : state) {
        a.BrushColorIndex = colour = colour == 11 ? 2 : 11; // red, black, red, …
        a.press(c, {1920, 1080});
        a.release(c, {1920, 1080});
        benchmark::DoNotOptimize(c.image().constBits());
    }
}

// 1,000 mouse positions round a wavy loop over the full-HD window, pen width 50.
void freehand(benchmark::State& state)
{
    render::Canvas c(1920, 1080, render::kBlack);
    std::vector<QPoint> points;
    for (int i = 0; i < 1000; ++i) {
        const double t = i * 2 * 3.14159265358979 / 1000;
        points.emplace_back(int(960 + 700 * std::cos(t) + 40 * std::sin(9 * t)),
                            int(540 + 380 * std::sin(t) + 40 * std::cos(7 * t)));
    }
    tools::Annotation a;
    a.PenWidth = tools::kMaxPenWidth;
    a.PenColorIndex = 11;
    for (auto _ : state) {
        a.press(c, points.front());
        for (const QPoint& p : points) {
            a.move(c, p, false);
        }
        a.release(c, points.back());
        benchmark::DoNotOptimize(c.image().constBits());
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("paint flood fill 3840x2160", floodFill)
        ->Unit(benchmark::kMillisecond);
    setBaseline("paint flood fill 3840x2160", "fill 3840x2160");
    benchmark::RegisterBenchmark("paint freehand 1000 points w50 1920x1080", freehand)
        ->Unit(benchmark::kMillisecond);
    setBaseline("paint freehand 1000 points w50 1920x1080", "fill 1920x1080");
    return true;
}();

} // namespace
