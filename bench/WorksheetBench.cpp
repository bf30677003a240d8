// Worksheets: an A4 page of the default graph paper, and a 30-page lesson, each drawn and
// written as PDF, against the same drawings written as PNG files.
#include "BenchReport.h"
#include "figures/Figures.h"
#include "figures/Record.h"
#include "figures/Worksheet.h"

#include <QBuffer>
#include <QImage>
#include <benchmark/benchmark.h>

#include <vector>

using namespace koyomi;
using koyomi::bench::setBaseline;

namespace {

// Thirty presets: every figure with settings in turn, from its defaults.
const std::vector<figures::Record>& lesson()
{
    static const std::vector<figures::Record> records = [] {
        std::vector<figures::Record> list;
        for (int i = 0; list.size() < 30; ++i) {
            const int kind = i % figures::kFigureCount;
            const figures::Figure& figure = figures::figureTable()[std::size_t(kind)];
            if (figure.fields) {
                const figures::FieldValues fields(*figure.fields, false);
                list.push_back(*figures::parseRecord(figures::recordLine(
                    kind, QStringLiteral("授業 %1").arg(i), false, figures::recordValues(fields))));
            }
        }
        return list;
    }();
    return records;
}

std::vector<figures::WorksheetPage> drawnPages(std::size_t count)
{
    const figures::WorksheetLayout layout;
    std::vector<figures::WorksheetPage> pages;
    for (std::size_t i = 0; i < count; ++i) {
        const figures::Record& r = lesson()[i];
        pages.push_back({figures::drawFigureImage(int(r.kind), &r, figures::worksheetPixels(layout),
                                                  false, true),
                         r.name});
    }
    return pages;
}

void asPdf(benchmark::State& state, std::size_t count)
{
    for (auto _ : state) {
        const QByteArray pdf = figures::worksheetPdf(figures::WorksheetLayout{}, drawnPages(count));
        benchmark::DoNotOptimize(pdf.constData());
        state.counters["KB"] = double(pdf.size()) / 1024;
    }
}

void asPng(benchmark::State& state, std::size_t count)
{
    for (auto _ : state) {
        qsizetype bytes = 0;
        for (const figures::WorksheetPage& page : drawnPages(count)) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            page.drawing.save(&buffer, "PNG");
            bytes += png.size();
        }
        state.counters["KB"] = double(bytes) / 1024;
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("worksheet A4 graph paper PNG", asPng, 1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("worksheet A4 graph paper PDF", asPdf, 1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("worksheet 30-page lesson PNG", asPng, 30)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("worksheet 30-page lesson PDF", asPdf, 30)
        ->Unit(benchmark::kMillisecond);
    setBaseline("worksheet A4 graph paper PDF", "worksheet A4 graph paper PNG");
    setBaseline("worksheet 30-page lesson PDF", "worksheet 30-page lesson PNG");
    return true;
}();

} // namespace
