// Costs of a change that runs through several fields: the width master row sets eight
// widths before the figure is drawn once, and the label generator fills the label text for
// the largest block (999 × 999 cells).
#include "BenchReport.h"
#include "figures/FigureCaches.h"
#include "figures/Figures.h"
#include "figures/graphpaper/GraphPaperFields.h"

#include <benchmark/benchmark.h>

using namespace koyomi;
using namespace koyomi::figures::graphpaper;
using koyomi::bench::setBaseline;

namespace {

// The graph paper's fields drawn on a full-HD canvas, as the presentation window draws them.
struct GraphPaperFixture
{
    figures::FieldValues fields{figures::graphPaperFields(), false};
    render::Canvas canvas{1920, 1080, render::kBlack};
    figures::FigureCaches caches;

    void draw()
    {
        figures::figureTable()[0].draw(canvas, fields, render::Frame{1920, 1080, false}, &caches);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
};

void redrawOnce(benchmark::State& state)
{
    GraphPaperFixture f;
    for (auto _ : state) {
        f.draw();
    }
}

// A change of the width of every line, as the teacher types it: the copies, then one draw.
void widthCascade(benchmark::State& state)
{
    GraphPaperFixture f;
    bool two = false;
    for (auto _ : state) {
        f.fields.setText(AllWidth, (two = !two) ? QStringLiteral("2") : QStringLiteral("1"));
        f.draw();
    }
}

// The largest block with numbering on: 998,001 generated labels in the label text.
struct LargestLabelsFixture : GraphPaperFixture
{
    LargestLabelsFixture()
    {
        fields.setText(BothCounts, QStringLiteral("1000"));
        fields.setIndex(NumbersOn, 1);
        fields.setText(NumberStart, QStringLiteral("2"));
    }
};

void largestLabelsRedraw(benchmark::State& state)
{
    LargestLabelsFixture f;
    for (auto _ : state) {
        f.draw();
    }
}

// Typing a new first number: the 998,001 numbers are generated, set into the label text and
// the figure is drawn once.
void largestLabelsFill(benchmark::State& state)
{
    LargestLabelsFixture f;
    bool two = false;
    for (auto _ : state) {
        f.fields.setText(NumberStart, (two = !two) ? QStringLiteral("1") : QStringLiteral("2"));
        f.draw();
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("graph paper redraw 1920x1080", redrawOnce)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("graph paper SpinEdit5 cascade 1920x1080", widthCascade)
        ->Unit(benchmark::kMillisecond);
    setBaseline("graph paper redraw 1920x1080", "fill 1920x1080");
    setBaseline("graph paper SpinEdit5 cascade 1920x1080", "graph paper redraw 1920x1080");
    benchmark::RegisterBenchmark("graph paper 998001 labels redraw 1920x1080", largestLabelsRedraw)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("graph paper 998001 labels SpinEdit97 fill", largestLabelsFill)
        ->Unit(benchmark::kMillisecond);
    setBaseline("graph paper 998001 labels redraw 1920x1080", "fill 1920x1080");
    setBaseline("graph paper 998001 labels SpinEdit97 fill",
                "graph paper 998001 labels redraw 1920x1080");
    return true;
}();

} // namespace
