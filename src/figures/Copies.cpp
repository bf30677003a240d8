#include "figures/Copies.h"

#include "render/RepeatedDrawing.h"

#include <algorithm>

namespace koyomi::figures {

CopyGrid visibleCopies(const render::Canvas& canvas, const render::Frame& frame, long long r,
                       int countAcross, int gapAcross, int countDown, int gapDown, long long reach)
{
    CopyGrid g;
    g.stepX = 2 * r + gapAcross;
    g.stepY = 2 * r + gapDown;
    g.x0 = heldLayout(centredStart(frame.width, 0, countAcross, g.stepX));
    g.y0 = heldLayout(centredStart(frame.height, 0, countDown, g.stepY));
    g.rows = stepRange(g.y0, g.stepY, 0, countDown - 1LL, -reach, canvas.height() + reach);
    g.cols = stepRange(g.x0, g.stepX, 0, countAcross - 1LL, -reach, canvas.width() + reach);
    // Copies in one place draw the same picture: one stands for all.
    if (g.stepY == 0) {
        g.rows.last = std::min(g.rows.last, g.rows.first);
    }
    if (g.stepX == 0) {
        g.cols.last = std::min(g.cols.last, g.cols.first);
    }
    return g;
}

namespace {

// The reference points of the copies in `r`, origin + k·step, lowest and highest.
std::pair<long long, long long> placesOf(long long origin, long long step, const Range& r)
{
    const long long a = origin + r.first * step;
    const long long b = origin + r.last * step;
    return {std::min(a, b), std::max(a, b)};
}

} // namespace

void drawCopies(render::Canvas& canvas, const CopyGrid& g, const CopyReach& reach,
                CopiesAlike alike,
                const std::function<void(render::Canvas&, long long, long long)>& draw)
{
    if (g.rows.empty() || g.cols.empty()) {
        return;
    }
    const long long copies = (g.rows.last - g.rows.first + 1) * (g.cols.last - g.cols.first + 1);
    // Of one copy's drawing, only what lands on the canvas at some copy's place is needed:
    // a line a million pixels long stacked a pixel apart needs a strip the canvas's width.
    const auto [xLow, xHigh] = placesOf(g.x0, g.stepX, g.cols);
    const auto [yLow, yHigh] = placesOf(g.y0, g.stepY, g.rows);
    const long long left = std::max(reach.left, -xHigh);
    const long long right = std::min(reach.right, canvas.width() - 1 - xLow);
    const long long top = std::max(reach.top, -yHigh);
    const long long bottom = std::min(reach.bottom, canvas.height() - 1 - yLow);
    if (left > right || top > bottom) {
        return; // no copy paints a pixel of the canvas
    }
    // A scratch image costs more than a few copies drawn one by one, but far less than the
    // thousands that overlap on the window when copies lie closer than they reach.
    constexpr long long kLargest = 1LL << 25; // pixels (128 MB)
    const long long width = right - left + 1;
    const long long height = bottom - top + 1;
    const long long area = width <= kLargest && height <= kLargest ? width * height : kLargest + 1;
    // A few copies cut to a small canvas can cost less than one drawn whole on the scratch
    // image; beyond 64 copies the scratch image is always the cheaper.
    const long long canvasPixels = (long long)canvas.width() * canvas.height();
    const bool worthIt = copies > 4 && area <= kLargest &&
                         (copies > 64 || area / copies <= canvasPixels) && fitsInt(left) &&
                         fitsInt(top);
    long long iFrom = g.cols.first; // where the copies still to draw begin in the first row
    if (alike != CopiesAlike::No && worthIt) {
        if (alike == CopiesAlike::AfterTheFirst) {
            draw(canvas, g.x0 + iFrom * g.stepX, g.y0 + g.rows.first * g.stepY);
            ++iFrom;
        }
        // Drawn with the canvas's pen, brush and font as the copies before left them.
        const render::RepeatedDrawing one(
            canvas, QRect(int(left), int(top), int(width), int(height)),
            [&draw](render::Canvas& c, int x, int y) { draw(c, x, y); });
        if (one.usable()) {
            one.paintGrid(canvas, g.x0, g.stepX, iFrom, g.cols.last, g.y0, g.stepY, g.rows.first,
                          g.rows.first);
            one.paintGrid(canvas, g.x0, g.stepX, g.cols.first, g.cols.last, g.y0, g.stepY,
                          g.rows.first + 1, g.rows.last);
            return;
        }
    }
    for (long long j = g.rows.first; j <= g.rows.last; ++j) {
        for (long long i = j == g.rows.first ? iFrom : g.cols.first; i <= g.cols.last; ++i) {
            draw(canvas, g.x0 + i * g.stepX, g.y0 + j * g.stepY);
        }
    }
}

} // namespace koyomi::figures
