// JPEG encoding of a 4K picture: the program's encoder against libjpeg-turbo's cjpeg at the
// same quality, on the same pixels.
#include "BenchReport.h"
#include "figures/graphpaper/GraphPaper.h"
#include "render/JpegEncoder.h"
#include "render/Palette.h"

#include <QDir>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace koyomi;
using koyomi::bench::setBaseline;

namespace {

// A busy 4K figure: dashed diagonals and labels make the encoder work.
const QImage& picture()
{
    static const QImage image = [] {
        render::Canvas c(3840, 2160);
        figures::GraphPaperParams p = figures::GraphPaperParams::defaults(false);
        p.hLineCount = 40;
        p.vLineCount = 70;
        p.risingDiagonals = figures::LineSetting{1, 2, render::kRedIndex};
        p.numberingOn = true;
        for (int n = 0; n < 39 * 69; ++n) {
            p.numberText += QString::number(n) + u',';
        }
        figures::drawGraphPaper(c, p, render::Frame{3840, 2160, false});
        return c.image().copy();
    }();
    return image;
}

void ours(benchmark::State& state)
{
    render::JpegEncoder encoder(90);
    for (auto _ : state) {
        benchmark::DoNotOptimize(encoder.encode(picture()).size());
    }
}

void cjpeg(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString in = dir.path() + "/in.ppm";
    const QString out = dir.path() + "/out.jpg";
    picture().convertToFormat(QImage::Format_RGB888).save(in, "PPM");
    const QByteArray command =
        QStringLiteral("cjpeg -quality 90 -outfile '%1' '%2'").arg(out, in).toLocal8Bit();
    for (auto _ : state) {
        if (std::system(command.constData()) != 0) {
            state.SkipWithError("cjpeg failed");
            break;
        }
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("jpeg encode (ours) 3840x2160", ours)
        ->Unit(benchmark::kMillisecond);
    if (!QStandardPaths::findExecutable("cjpeg").isEmpty()) {
        benchmark::RegisterBenchmark("jpeg encode (cjpeg process) 3840x2160", cjpeg)
            ->Unit(benchmark::kMillisecond);
        setBaseline("jpeg encode (ours) 3840x2160", "jpeg encode (cjpeg process) 3840x2160");
    }
    return true;
}();

} // namespace
