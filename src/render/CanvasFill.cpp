// Flood fill of the area that has the seed pixel's colour.
#include "render/Canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace koyomi::render {

void Canvas::floodFill(int x, int y, std::vector<FilledRun>* filled)
{
    if (!m_image.rect().contains(x, y)) {
        return;
    }
    endPainter();
    const int w = m_image.width();
    const int h = m_image.height();
    const qsizetype stride = m_image.bytesPerLine() / 4;
    QRgb* const bits = reinterpret_cast<QRgb*>(m_image.bits());
    m_written.add(0, 0, w, h);
    // Every pixel of the canvas is opaque, so colours compare whole.
    const QRgb target = bits[y * stride + x];
    const QRgb fill = toQRgb(m_brush.color);
    if (target == fill) {
        return;
    }
    const std::uint64_t targetPair = std::uint64_t(target) << 32 | target;

    // Span fill: each stacked segment says that the span [left, right] of row y − dy is
    // filled and row y next to it is to be explored. Rows are scanned about twice in all,
    // so a full-window fill costs a small multiple of a plain fill.
    struct Segment
    {
        int y, left, right, dy;
    };
    std::vector<Segment> stack;
    auto push = [&](int sy, int left, int right, int dy) {
        if (sy + dy >= 0 && sy + dy < h) {
            stack.push_back(Segment{sy, left, right, dy});
        }
    };
    push(y, x, x, 1);
    push(y + 1, x, x, -1);
    while (!stack.empty()) {
        const Segment seg = stack.back();
        stack.pop_back();
        const int dy = seg.dy;
        const int sy = seg.y + dy;
        QRgb* const row = bits + sy * stride;
        auto matches = [&](int px) { return row[px] == target; };
        int px = seg.left;
        while (px >= 0 && matches(px)) {
            --px;
        }
        int left = px + 1;
        bool inRun = false;
        if (left <= seg.left) {
            std::fill(row + left, row + seg.left + 1, fill);
            if (left < seg.left) {
                push(sy, left, seg.left - 1, -dy); // leaks round the left end
            }
            px = seg.left + 1;
            inRun = true;
        } else {
            // The span's first pixel is not the area: look for the next run inside the span.
            for (++px; px <= seg.right && !matches(px); ++px) {
            }
            left = px;
            inRun = px <= seg.right;
        }
        while (inRun) {
            // Where the run ends, sixteen pixels at a time (two to a 64-bit word) while they
            // all belong to the area, then one by one; then the run is filled in one go.
            const int runStart = px;
            while (px + 16 <= w) {
                std::uint64_t differ = 0;
                for (int k = 0; k < 16; k += 2) {
                    std::uint64_t pair;
                    std::memcpy(&pair, row + px + k, sizeof pair);
                    differ |= pair ^ targetPair;
                }
                if (differ != 0) {
                    break;
                }
                px += 16;
            }
            while (px < w && matches(px)) {
                ++px;
            }
            std::fill(row + runStart, row + px, fill);
            push(sy, left, px - 1, dy);
            if (filled) {
                filled->push_back(FilledRun{sy, left, px - 1});
            }
            if (px > seg.right + 1) {
                push(sy, seg.right + 1, px - 1, -dy); // leaks round the right end
            }
            for (++px; px <= seg.right && !matches(px); ++px) {
            }
            left = px;
            inRun = px <= seg.right;
        }
    }
}

} // namespace koyomi::render
