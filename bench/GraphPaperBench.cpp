// Cost of graph paper: the defaults, the largest arrangement the fields allow, a dense figure.
#include "BenchReport.h"
#include "figures/FigureCaches.h"
#include "figures/graphpaper/GraphPaper.h"
#include "render/Palette.h"

#include <benchmark/benchmark.h>

using namespace koyomi::figures;
using namespace koyomi::render;
using koyomi::bench::setBaseline;

namespace {

void graphPaper(benchmark::State& state, GraphPaperParams params, int w, int h)
{
    Canvas c(w, h);
    // What the presentation window keeps from one redraw to the next.
    FigureCaches caches;
    for (auto _ : state) {
        drawGraphPaper(c, params, Frame{w, h, false}, &caches);
        benchmark::DoNotOptimize(c.image().constBits());
    }
}

GraphPaperParams largest()
{
    GraphPaperParams p = GraphPaperParams::defaults(false);
    p.hLineCount = p.vLineCount = 1000;
    p.hLineSpacing = p.vLineSpacing = 1;
    p.countAcross = p.countDown = 500;
    return p;
}

GraphPaperParams dense()
{
    GraphPaperParams p = GraphPaperParams::defaults(false);
    p.vLineCount = 3840 / 10 + 1;
    p.hLineCount = 2160 / 10 + 1;
    p.hLineSpacing = p.vLineSpacing = 10;
    p.risingDiagonals = LineSetting{1, 5, kRedIndex};
    p.fallingDiagonals = LineSetting{1, 5, 9};
    for (EmphasisRow& row : p.emphasis) {
        row = EmphasisRow{true, 4, LineSetting{0, 2, 4}};
    }
    p.numberingOn = true;
    QString labels;
    for (int n = 0; n < (p.vLineCount - 1) * (p.hLineCount - 1); ++n) {
        labels += QString::number(n) + u',';
    }
    p.numberText = labels;
    return p;
}

// Small blocks overlapping one another, with labels far larger than their cells.
GraphPaperParams overlapping()
{
    GraphPaperParams p = GraphPaperParams::defaults(false);
    p.hLineCount = p.vLineCount = 4;
    p.hLineSpacing = p.vLineSpacing = 20;
    p.countAcross = p.countDown = 100;
    p.gapAcross = p.gapDown = -40;
    p.numberingOn = true;
    p.numberSize = 48;
    p.numberText = "1,22,333,4444,55555,666666,7777777,88888888,999999999,";
    return p;
}

const bool registered = [] {
    auto add = [](const char* name, GraphPaperParams p, int w, int h, const char* baseline) {
        benchmark::RegisterBenchmark(name, graphPaper, p, w, h)->Unit(benchmark::kMillisecond);
        setBaseline(name, baseline);
    };
    add("graph paper defaults 1920x1080", GraphPaperParams::defaults(false), 1920, 1080,
        "fill 1920x1080");
    add("graph paper 500x500 blocks of 1000x1000 3840x2160", largest(), 3840, 2160,
        "fill 3840x2160");
    add("graph paper 100x100 overlapping blocks with labels 1920x1080", overlapping(), 1920, 1080,
        "fill 1920x1080");
    add("graph paper dense 3840x2160", dense(), 3840, 2160, "fill 3840x2160");
    return true;
}();

} // namespace
