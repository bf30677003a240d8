#include "figures/Stamp.h"

#include "render/Palette.h"
#include "render/PixelLoop.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

namespace koyomi::figures {

KOYOMI_PIXEL_LOOP std::shared_ptr<const Stamp> makeStamp(i64 reach, const StampDrawing& draw)
{
    const i64 r = reach;
    render::Canvas scratch(int(2 * r + 1), int(2 * r + 1), render::kBlack);
    scratch.setPenColor(render::kWhite);
    scratch.setPenStyle(render::PenStyle::Solid);
    scratch.setPenWidth(1);
    scratch.setBrushColor(render::kWhite);
    draw(scratch, int(r), int(r));
    const QImage& image = scratch.image();
    const QRgb black = render::toQRgb(render::kBlack);
    auto stamp = std::make_shared<Stamp>();
    std::vector<std::vector<Run>> rows(std::size_t(2 * r + 1));
    i64 first = -1;
    i64 last = -1;
    // Read once: a dot of a thousand pixels is scanned over four million.
    const int width = image.width();
    const int height = image.height();
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width;) {
            if (line[x] == black) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && line[x] != black) {
                ++x;
            }
            rows[std::size_t(y)].push_back(Run{std::int32_t(start - r), std::int32_t(x - r)});
        }
        if (!rows[std::size_t(y)].empty()) {
            first = first < 0 ? y : first;
            last = y;
        }
    }
    if (first >= 0) {
        stamp->top = first - r;
        stamp->rows.assign(std::make_move_iterator(rows.begin() + first),
                           std::make_move_iterator(rows.begin() + last + 1));
    }
    return stamp;
}

namespace {

struct RecentStamps
{
    RecentlyKept<std::pair<StampOf, std::vector<long long>>, std::shared_ptr<const Stamp>> kept{6};
};

} // namespace

std::shared_ptr<const Stamp> recentStamp(FigureCaches& caches, StampOf shape,
                                         const std::vector<long long>& key, i64 reach,
                                         const StampDrawing& draw)
{
    return caches.part<RecentStamps>().kept.get({shape, key},
                                                [&] { return makeStamp(reach, draw); });
}

KOYOMI_PIXEL_LOOP void paintStamp(render::Canvas& c, const Stamp& stamp, i64 x, i64 y,
                                  render::ColorRef color)
{
    const i64 w = c.width();
    const QRgb rgb = render::toQRgb(color);
    const i64 from = std::max<i64>(0, y + stamp.top);
    const i64 to = std::min<i64>(c.height() - 1, y + stamp.bottom());
    for (i64 row = from; row <= to; ++row) {
        auto* line = reinterpret_cast<QRgb*>(c.writableBits() + row * c.bytesPerLine());
        for (const Run& run : stamp.rows[std::size_t(row - y - stamp.top)]) {
            const i64 left = std::max<i64>(x + run.from, 0);
            const i64 right = std::min<i64>(x + run.to, w);
            if (left < right) {
                std::fill(line + left, line + right, rgb);
            }
        }
    }
}

} // namespace koyomi::figures
