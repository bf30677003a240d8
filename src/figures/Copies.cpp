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

void drawCopies(render::Canvas& canvas, const CopyGrid& g, long long reach, bool alike,
                const std::function<void(render::Canvas&, long long, long long)>& draw)
{
    const long long copies = (g.rows.last - g.rows.first + 1) * (g.cols.last - g.cols.first + 1);
    // Copies that reach far are drawn once only when there are many: a scratch image of
    // their reach costs more than a few of them drawn one by one, but far less than the
    // thousands that overlap on the window when copies lie closer than they reach.
    // (Beyond 8,192 pixels the scratch image could not be made anyway.)
    const bool worthIt = copies > 4 && (reach < (1 << 10) || (copies > 64 && reach < (1 << 13)));
    if (alike && worthIt) {
        const render::RepeatedDrawing one(
            canvas, QRect(int(-reach), int(-reach), int(2 * reach + 1), int(2 * reach + 1)),
            [&draw](render::Canvas& c, int x, int y) { draw(c, x, y); });
        if (one.usable()) {
            one.paintGrid(canvas, g.x0, g.stepX, g.cols.first, g.cols.last, g.y0, g.stepY,
                          g.rows.first, g.rows.last);
            return;
        }
    }
    for (long long j = g.rows.first; j <= g.rows.last; ++j) {
        for (long long i = g.cols.first; i <= g.cols.last; ++i) {
            draw(canvas, g.x0 + i * g.stepX, g.y0 + j * g.stepY);
        }
    }
}

} // namespace koyomi::figures
