#include "figures/tawara/Tawara.h"

#include "figures/Rounding.h"
#include "figures/Visible.h"
#include "render/Palette.h"
#include "render/PathUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace koyomi::figures {

using render::Canvas;

TawaraParams TawaraParams::defaults(bool whiteBackground)
{
    TawaraParams p;
    p.lineColor = render::defaultColorIndex(whiteBackground);
    return p;
}

namespace {

long long clampWide(long double v)
{
    constexpr long double limit = 1LL << 61;
    return (long long)std::clamp(v, -limit, limit);
}

} // namespace

long long tawaraRowTop(const TawaraParams& p, long long cy, long long r)
{
    const long long s = p.pieceSize;
    const long long n = p.rowCount;
    const bool up = TawaraOrientation(p.orientation) != TawaraOrientation::ApexDown;
    const long long step = TawaraShape(p.pieceShape) == TawaraShape::Square
                               ? clampWide((long double)(2 * s) * r)
                               : roundHalfEven((long double)(s * r) * kRootThree);
    const long long ns = clampWide((long double)n * s);
    return up ? cy - s + step - ns : cy - s - step + ns;
}

void drawTawara(Canvas& c, const TawaraParams& p, const render::Frame& frame)
{
    render::beginFigure(c, frame);
    // Line kinds beyond the drawn ones ("なし" and anything else) draw nothing.
    if (p.lineKind < 0 || p.lineKind >= render::kNoLineIndex || p.rowCount <= 0) {
        return;
    }
    const long long s = p.pieceSize;
    const long long n = p.rowCount;
    const long long stepX = 2 * s + p.gapAcross;
    const long long stepY = 2 * s + p.gapDown;
    const long long firstX = heldLayout(centredStart(frame.width, 0, p.countAcross, stepX));
    const long long firstY = heldLayout(centredStart(frame.height, 0, p.countDown, stepY));
    const render::ColorRef color = render::paletteColor(p.lineColor, render::kWhite);
    const auto pattern = render::lineStylePattern(p.lineKind, true);
    const bool squares = TawaraShape(p.pieceShape) == TawaraShape::Square;
    // How far a piece's outline reaches beyond its box, and the box's own extent.
    const long long reach =
        std::min<long long>(std::abs((long long)p.lineWidth), render::kMaxStrokeWidth) + 2;
    const long long box = 2 * std::abs(s) + 1;
    // A pile spans s·N either side of its reference point across, and its rows lie within
    // about 1.75·s·N (circles) or 2·s·N (squares) of it down.
    const long long pileX = clampWide((long double)std::abs(s) * n) + box + reach;
    const long long pileY = clampWide((long double)std::abs(s) * n * 2) + box + reach;
    const Range cols = stepRange(firstX, stepX, 0, p.countAcross - 1LL, -pileX, c.width() + pileX);
    Range rows = stepRange(firstY, stepY, 0, p.countDown - 1LL, -pileY, c.height() + pileY);
    Range colsDrawn = cols;
    // Piles in one place draw the same outlines: one stands for all.
    if (stepY == 0) {
        rows.last = std::min(rows.last, rows.first);
    }
    if (stepX == 0) {
        colsDrawn.last = std::min(colsDrawn.last, colsDrawn.first);
    }
    render::TPath path;
    for (long long j = rows.first; j <= rows.last; ++j) {
        const long long cy = firstY + j * stepY;
        for (long long i = colsDrawn.first; i <= colsDrawn.last; ++i) {
            const long long cx = firstX + i * stepX;
            // Rows whose boxes can reach the canvas: the row tops move monotonically with r,
            // so the band of such rows is found by bisection, however many rows there are.
            const bool rising = tawaraRowTop(p, cy, n) >= tawaraRowTop(p, cy, 1);
            auto beforeBand = [&](long long r) {
                const long long top = tawaraRowTop(p, cy, r);
                return rising ? top + box + reach < 0 : top - reach >= c.height();
            };
            auto afterBand = [&](long long r) {
                const long long top = tawaraRowTop(p, cy, r);
                return rising ? top - reach >= c.height() : top + box + reach < 0;
            };
            long long rFirst = 1;
            long long rLast = n;
            {
                long long lo = 1, hi = n + 1; // first r not before the band
                while (lo < hi) {
                    const long long mid = lo + (hi - lo) / 2;
                    if (beforeBand(mid)) {
                        lo = mid + 1;
                    } else {
                        hi = mid;
                    }
                }
                rFirst = lo;
                lo = rFirst;
                hi = n + 1; // first r after the band
                while (lo < hi) {
                    const long long mid = lo + (hi - lo) / 2;
                    if (afterBand(mid)) {
                        hi = mid;
                    } else {
                        lo = mid + 1;
                    }
                }
                rLast = lo - 1;
            }
            for (long long r = rFirst; r <= rLast; ++r) {
                const long long y = tawaraRowTop(p, cy, r);
                // Pieces k = 1..r at x = cx − s·r + (k − 1)·2s.
                const long long x1 = cx - s * r;
                const Range ks = stepRange(x1, 2 * s, 0, r - 1, -box - reach, c.width() + reach);
                const long long kLast = s == 0 ? std::min(ks.last, ks.first) : ks.last;
                for (long long k = ks.first; k <= kLast; ++k) {
                    const long long x = x1 + k * 2 * s;
                    if (!fitsInt(x) || !fitsInt(y) || !fitsInt(x + 2 * s + 1) ||
                        !fitsInt(y + 2 * s + 1)) {
                        continue;
                    }
                    c.beginPath();
                    if (squares) {
                        render::RectanglePath(c, int(x), int(y), int(x + 2 * s + 1),
                                              int(y + 2 * s + 1));
                        c.endPath();
                    } else {
                        render::EllipsePath(c, int(x), int(y), int(x + 2 * s), int(y + 2 * s));
                        c.endPath();
                        c.flattenPath();
                    }
                    path.capture(c);
                    render::DashedPath(path, c, color, p.lineWidth, pattern, true);
                }
            }
        }
    }
    c.setPenWidth(1);
}

} // namespace koyomi::figures
