// Showing a camera picture: reading, decoding and fitting a 6000 × 4000 JPEG into a full-HD
// window, against libjpeg-turbo's djpeg decoding the same file at the same scale.
#include "BenchReport.h"
#include "figures/picture/Picture.h"
#include "render/JpegEncoder.h"

#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace koyomi;
using koyomi::bench::setBaseline;

namespace {

// A photograph-like 24-megapixel JPEG: smooth gradients with fine texture, so the decoder
// has real detail to work through.
const QString& photoPath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        QImage image(6000, 4000, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int texture = ((x * 7919 + y * 104729) >> 3) & 31;
                row[x] =
                    qRgb((x / 24 + texture) & 255, (y / 16 + texture) & 255, ((x + y) / 40) & 255);
            }
        }
        const QString p = dir.path() + "/photo.jpg";
        QFile file(p);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(render::JpegEncoder(90).encode(image)) < 0) {
            std::abort();
        }
        return p;
    }();
    return path;
}

void loadAndFit(benchmark::State& state)
{
    render::Canvas canvas(1920, 1080);
    for (auto _ : state) {
        const figures::DecodedPicture picture = figures::loadPicture(photoPath(), {1920, 1080});
        figures::drawPicture(canvas, picture);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}

// The picture's place is 1620 × 1080; 3/8 (2250 × 1500) is the smallest scale covering it.
void djpeg(benchmark::State& state)
{
    const QByteArray command =
        QStringLiteral("djpeg -scale 3/8 -outfile /dev/null '%1'").arg(photoPath()).toLocal8Bit();
    for (auto _ : state) {
        if (std::system(command.constData()) != 0) {
            state.SkipWithError("djpeg failed");
            break;
        }
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("picture 6000x4000 load+fit 1920x1080", loadAndFit)
        ->Unit(benchmark::kMillisecond);
    if (!QStandardPaths::findExecutable("djpeg").isEmpty()) {
        benchmark::RegisterBenchmark("picture 6000x4000 djpeg -scale 3/8 (process)", djpeg)
            ->Unit(benchmark::kMillisecond);
        setBaseline("picture 6000x4000 load+fit 1920x1080",
                    "picture 6000x4000 djpeg -scale 3/8 (process)");
    }
    return true;
}();

} // namespace
