// Showing a camera picture: reading, decoding and fitting a 6000 × 4000 JPEG into a full-HD
// window, against libjpeg-turbo's djpeg decoding the same file at the same scale; and heavy
// or hostile progressive files against decoding the photograph.
#include "BenchReport.h"
#include "JpegFiles.h"
#include "figures/picture/Picture.h"
#include "render/JpegEncoder.h"

#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>

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

// The photograph's bytes decoded for a full-HD window: the baseline of the hostile files.
void decodePhoto(benchmark::State& state)
{
    QFile file(photoPath());
    if (!file.open(QIODevice::ReadOnly)) {
        std::abort();
    }
    const QByteArray bytes = file.readAll();
    for (auto _ : state) {
        benchmark::DoNotOptimize(figures::decodeJpeg(bytes, {1920, 1080}).image.constBits());
    }
}

// Hostile and heavy progressive files, decoded (or refused) for a full-HD window.
void decodeBytes(benchmark::State& state, QByteArray (*make)())
{
    static std::map<QByteArray (*)(), QByteArray> made;
    if (!made.count(make)) {
        made[make] = make();
    }
    const QByteArray& bytes = made[make];
    int refused = 0;
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(figures::decodeJpeg(bytes, {1920, 1080}).image.constBits());
        } catch (const figures::PictureError&) {
            ++refused;
        }
    }
    state.counters["refused"] = refused > 0 ? 1 : 0;
    state.counters["KB"] = double(bytes.size()) / 1024;
}

QImage texture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int t = ((x * 7919 + y * 104729) >> 3) & 31;
            row[x] = qRgb((x / 24 + t) & 255, (y / 16 + t) & 255, ((x + y) / 40) & 255);
        }
    }
    return image;
}

QByteArray progressivePhoto()
{
    return test::jpegCoded(texture(6000, 4000), {true, false, 90});
}
// A progressive photograph with as many scans as it is allowed (6000 × 4000: 562,500 blocks,
// 28 scans), its first scan repeated to the allowance.
QByteArray progressiveMostScans()
{
    return test::firstScanRepeated(test::jpegCoded(texture(6000, 4000), {true, false, 80}), 19);
}
// A progressive picture near the largest allowed (7680 × 5440 with halved colour: 979,200
// blocks, 120 MB of coefficients), with its 16 scans.
QByteArray progressiveLargest()
{
    return test::firstScanRepeated(test::jpegCoded(texture(7680, 5440), {true, false, 75}), 7);
}
// Noise at the largest size a progressive file may have: the most data to read.
QByteArray progressiveNoise()
{
    QImage image(5120, 3840, QImage::Format_RGB32);
    quint32 seed = 1;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            row[x] = seed >> 8;
        }
    }
    for (int quality = 95; quality > 5; quality -= 2) {
        QByteArray bytes = test::jpegCoded(image, {true, false, quality});
        if (bytes.size() <= 12 << 20) {
            return bytes;
        }
    }
    std::abort();
}
QByteArray bomb30000()
{
    return test::claimingSize(test::jpegCoded(texture(64, 64), {true}), 30000, 30000);
}
QByteArray bomb30000Scans200()
{
    return test::firstScanRepeated(bomb30000(), 200);
}
QByteArray smallScans5000()
{
    return test::firstScanRepeated(test::jpegCoded(texture(640, 480), {true}), 5000);
}

const bool registered = [] {
    benchmark::RegisterBenchmark("picture 6000x4000 decode for 1920x1080", decodePhoto)
        ->Unit(benchmark::kMillisecond);
    const std::pair<const char*, QByteArray (*)()> files[] = {
        {"picture progressive 6000x4000 decode", progressivePhoto},
        {"picture progressive 6000x4000 28 scans", progressiveMostScans},
        {"picture progressive 7680x5440 16 scans", progressiveLargest},
        {"picture progressive noise 12 MB", progressiveNoise},
        {"picture progressive 30000x30000 refused", bomb30000},
        {"picture progressive 30000x30000 200 scans", bomb30000Scans200},
        {"picture progressive 640x480 5000 scans", smallScans5000},
    };
    for (const auto& [name, make] : files) {
        benchmark::RegisterBenchmark(name, decodeBytes, make)->Unit(benchmark::kMillisecond);
        setBaseline(name, "picture 6000x4000 decode for 1920x1080");
    }
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
