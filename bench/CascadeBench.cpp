// Page-level costs: one teacher's change that runs through several handlers draws once (the
// width master row sets eight widths, each of which would otherwise redraw), and the label
// generator filling the label text for the largest block (999 × 999 cells).
#include "BenchReport.h"
#include "figures/graphpaper/GraphPaperPage.h"
#include "widgets/HeadlessHost.h"
#include "widgets/Redrawer.h"

#include <QComboBox>
#include <benchmark/benchmark.h>

using namespace koyomi;
using koyomi::bench::setBaseline;

namespace {

// The page drawing on a full-HD canvas, as the presentation window would.
struct PageFixture
{
    widgets::HeadlessHost host{1920, 1080};
    widgets::Redrawer redrawer{[this](int kind) { host.drawFigure(kind); }};
    figures::GraphPaperPage page{0, host, redrawer};
    std::vector<widgets::FigurePage*> pages{&page};
    PageFixture() { host.pages = &pages; }
};

void redrawOnce(benchmark::State& state)
{
    PageFixture f;
    for (auto _ : state) {
        f.host.drawFigure(0);
        benchmark::DoNotOptimize(f.host.canvas.image().constBits());
    }
}

void widthCascade(benchmark::State& state)
{
    PageFixture f;
    auto* allWidths = f.page.findChild<widgets::SpinEdit*>("SpinEdit5");
    bool two = false;
    const long long before = f.redrawer.drawCount();
    for (auto _ : state) {
        allWidths->setText((two = !two) ? "2" : "1");
        benchmark::DoNotOptimize(f.host.canvas.image().constBits());
    }
    state.counters["draws per change"] =
        double(f.redrawer.drawCount() - before) / double(state.iterations());
}

// The largest block with numbering on: 998,001 generated labels in the label text.
struct LargestLabelsFixture : PageFixture
{
    LargestLabelsFixture()
    {
        page.findChild<widgets::SpinEdit*>("SpinEdit14")->setText("1000");
        page.findChild<QComboBox*>("ComboBox82")->setCurrentIndex(1);
        page.FillNumberText();
    }
};

void largestLabelsRedraw(benchmark::State& state)
{
    LargestLabelsFixture f;
    for (auto _ : state) {
        f.host.drawFigure(0);
        benchmark::DoNotOptimize(f.host.canvas.image().constBits());
    }
}

// Typing a new first number: the 998,001 numbers are generated, set into the label text and
// the figure is drawn once.
void largestLabelsFill(benchmark::State& state)
{
    LargestLabelsFixture f;
    auto* start = f.page.findChild<widgets::SpinEdit*>("SpinEdit97");
    bool two = false;
    for (auto _ : state) {
        start->setText((two = !two) ? "2" : "1");
        benchmark::DoNotOptimize(f.host.canvas.image().constBits());
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("graph paper page redraw 1920x1080", redrawOnce)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("graph paper SpinEdit5 cascade 1920x1080", widthCascade)
        ->Unit(benchmark::kMillisecond);
    setBaseline("graph paper page redraw 1920x1080", "fill 1920x1080");
    setBaseline("graph paper SpinEdit5 cascade 1920x1080", "graph paper page redraw 1920x1080");
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
