// Costs of the canvas primitives every figure is built from.
#include "BenchReport.h"
#include "render/Canvas.h"
#include "render/Palette.h"
#include "render/PathUtils.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace koyomi::render;
using koyomi::bench::setBaseline;

namespace {

std::string sizeName(int w, int h)
{
    return std::to_string(w) + "x" + std::to_string(h);
}

void fill(benchmark::State& state, int w, int h)
{
    Canvas c(w, h);
    ColorRef color = 0;
    for (auto _ : state) {
        c.fillRect(0, 0, w, h, color ^= 0xFFFFFF);
        benchmark::DoNotOptimize(c.image().constBits());
    }
}

void lines(benchmark::State& state)
{
    Canvas c(1920, 1080);
    c.setPenColor(kWhite);
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i) {
            c.moveTo(0, i % 1080);
            c.lineTo(1920, i % 1080);
        }
        benchmark::DoNotOptimize(c.image().constBits());
    }
}

void dashed(benchmark::State& state, int style, int width)
{
    Canvas c(1920, 1080);
    // A zigzag across the window: 200 segments of about 1000 pixels.
    std::vector<QPoint> points;
    for (int i = 0; i <= 200; ++i) {
        points.emplace_back(i % 2 == 0 ? 100 : 1800, 100 + i * 4);
    }
    for (auto _ : state) {
        DashedPolyline(points, c, kWhite, width, lineStylePattern(style), true);
        benchmark::DoNotOptimize(c.image().constBits());
    }
}

void flood(benchmark::State& state)
{
    Canvas c(3840, 2160, kBlack);
    ColorRef color = kBlack;
    for (auto _ : state) {
        color ^= 0x0000FF;
        c.setBrush(Brush{color, false});
        c.floodFill(1920, 1080);
        benchmark::DoNotOptimize(c.image().constBits());
    }
}

const bool registered = [] {
    for (const auto& [w, h] : {std::pair{1920, 1080}, std::pair{3840, 2160}}) {
        benchmark::RegisterBenchmark(("fill " + sizeName(w, h)).c_str(), fill, w, h)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("lines 10000 full-width 1920x1080", lines)
        ->Unit(benchmark::kMillisecond);
    // 10,000 lines of 1920 pixels paint about 9.3 windows' worth of pixels.
    setBaseline("lines 10000 full-width 1920x1080", "fill 1920x1080",
                10000.0 * 1920 / (1920 * 1080));
    for (int style = 0; style < 5; ++style) {
        for (int width : {1, 5}) {
            const std::string name = "DashedPolyline " + std::string(LineStyle[style].caption) +
                                     " w" + std::to_string(width) + " 1920x1080";
            benchmark::RegisterBenchmark(name.c_str(), dashed, style, width)
                ->Unit(benchmark::kMillisecond);
            setBaseline(name, "fill 1920x1080");
        }
    }
    benchmark::RegisterBenchmark("flood fill 3840x2160", flood)->Unit(benchmark::kMillisecond);
    setBaseline("flood fill 3840x2160", "fill 3840x2160");
    return true;
}();

} // namespace
