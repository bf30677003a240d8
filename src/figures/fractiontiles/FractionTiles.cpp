#include "figures/fractiontiles/FractionTiles.h"

#include "figures/Copies.h"
#include "figures/RowCoverage.h"
#include "figures/Visible.h"
#include "render/Palette.h"
#include "render/PathUtils.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace koyomi::figures {

using render::Canvas;

namespace {

class TilesRenderer
{
public:
    // fast false draws every line through the dash walk, one by one.
    TilesRenderer(Canvas& canvas, const FractionTilesParams& params, const render::Frame& frame,
                  bool fast)
        : m_c(canvas), m_p(params), m_frame(frame), m_fast(fast)
    {
    }

    void draw();

private:
    void tile(i64 left, i64 top);
    // A two-point stroke of the line setting; one wholly outside the canvas is left out.
    void stroke(i64 x1, i64 y1, i64 x2, i64 y2, const LineSetting& line);
    // Lines at from + k·step for k in [first, last] (horizontal when `across`), each from
    // a to b on the other axis; lines that coincide (step 0) are drawn once, and only those
    // that reach the canvas.
    void family(i64 from, i64 step, i64 first, i64 last, i64 a, i64 b, bool across,
                const LineSetting& line);
    // Strokes from (x, y) + k·(stepX, stepY) to that point + (dx, dy), for k in [0, count),
    // painted at once from a stamp of one; false when they are to be stroked one by one.
    bool strokesAlong(i64 x, i64 y, i64 dx, i64 dy, i64 stepX, i64 stepY, i64 count,
                      const LineSetting& line);

    Canvas& m_c;
    const FractionTilesParams& m_p;
    const render::Frame& m_frame;
    const bool m_fast;
};

i64 reachOf(const LineSetting& line)
{
    return render::strokeReach(line.width);
}

void TilesRenderer::stroke(i64 x1, i64 y1, i64 x2, i64 y2, const LineSetting& line)
{
    if (line.kind < 0 || line.kind >= render::kNoLineIndex) {
        return;
    }
    const i64 reach = reachOf(line);
    if (std::max(x1, x2) + reach < 0 || std::min(x1, x2) - reach >= m_c.width() ||
        std::max(y1, y2) + reach < 0 || std::min(y1, y2) - reach >= m_c.height()) {
        return;
    }
    if (!fitsInt(x1) || !fitsInt(y1) || !fitsInt(x2) || !fitsInt(y2)) {
        return;
    }
    const std::array<QPoint, 2> points{QPoint(int(x1), int(y1)), QPoint(int(x2), int(y2))};
    // Solid strokes along a row or a column are rectangles: thousands of divisions and ticks
    // are filled without a trip through the dash walk each.
    if (m_fast && line.kind == render::kSolidIndex && m_c.penMode() == render::PenMode::Copy &&
        m_c.fillStraightStroke(points[0], points[1], line.width,
                               render::paletteColor(line.color, m_c.pen().color))) {
        return;
    }
    render::DashedPolyline(points, m_c, render::paletteColor(line.color, m_c.pen().color),
                           line.width, render::lineStylePattern(line.kind), true);
}

bool TilesRenderer::strokesAlong(i64 x, i64 y, i64 dx, i64 dy, i64 stepX, i64 stepY, i64 count,
                                 const LineSetting& line)
{
    // A family of equal strokes in one colour gives one picture in any order in copy mode:
    // covered row by row from a stamp, it costs the rows it covers (a thousand parts a pixel
    // apart in each of a thousand tiles walked a million dashes). Up to kFewStrokes strokes
    // are stroked one by one.
    constexpr i64 kFewStrokes = 16;
    constexpr i64 kLongest = 4096;
    // (Solid strokes along a row or a column are filled as rectangles already, at the cost of
    // their pixels.)
    if (!m_fast || count <= kFewStrokes || m_c.penMode() != render::PenMode::Copy ||
        line.kind < 0 || line.kind >= render::kNoLineIndex || line.kind == render::kSolidIndex ||
        std::abs(dx) > kLongest || std::abs(dy) > kLongest) {
        return false;
    }
    const render::ColorRef color = render::paletteColor(line.color, m_c.pen().color);
    const auto stamp = makeStrokeStamp(dx, dy, line.width, render::lineStylePattern(line.kind));
    paintStampLattice(m_c, *stamp, Progression{x, stepX, stepY == 0 ? count : 1},
                      Progression{y, stepY, stepY == 0 ? 1 : count}, color);
    return true;
}

void TilesRenderer::family(i64 from, i64 step, i64 first, i64 last, i64 a, i64 b, bool across,
                           const LineSetting& line)
{
    const i64 reach = reachOf(line);
    const i64 extent = across ? m_c.height() : m_c.width();
    Range k = stepRange(from, step, first, last, -reach, extent - 1 + reach);
    if (step == 0 && !k.empty()) {
        k.first = k.last;
    }
    // Solid vertical divisions are rectangles of one colour side by side: filled row by row
    // they cost their pixels, not a stroke each down the columns.
    if (m_fast && !across && step > 0 && a != b && line.kind == render::kSolidIndex &&
        m_c.penMode() == render::PenMode::Copy && !k.empty()) {
        const i64 w = render::strokeWidth(line.width);
        m_c.fillColumns(from + k.first * step - w / 2, step, k.last - k.first + 1, w,
                        std::min(a, b), std::max(a, b),
                        render::paletteColor(line.color, m_c.pen().color));
        return;
    }
    if (!k.empty()) {
        const i64 at = from + k.first * step;
        const i64 n = k.last - k.first + 1;
        if (across ? strokesAlong(a, at, b - a, 0, 0, step, n, line)
                   : strokesAlong(at, a, 0, b - a, step, 0, n, line)) {
            return;
        }
    }
    for (i64 i = k.first; i <= k.last; ++i) {
        const i64 at = from + i * step;
        if (across) {
            stroke(a, at, b, at, line);
        } else {
            stroke(at, a, at, b, line);
        }
    }
}

void TilesRenderer::tile(i64 left, i64 top)
{
    const i64 w = m_p.tileWidth;
    const i64 h = m_p.tileHeight;
    const i64 right = left + w;
    const i64 bottom = top + h;
    const i64 p = m_p.partsDown;
    const i64 q = m_p.partsAcross;
    // Steps of the parts; parts below one have none (a field typed as 0 or below).
    const i64 stepY = p > 0 ? h / p : 0;
    const i64 stepX = q > 0 ? w / q : 0;
    family(top, stepY, 1, p - 1, left, right, true, m_p.hDivisions);
    family(left, stepX, 1, q - 1, top, bottom, false, m_p.vDivisions);

    const i64 l = m_p.tickLength;
    const TickSides sides = TickSides(m_p.tickPosition);
    const bool leftTicks =
        sides == TickSides::Left || sides == TickSides::LeftRight || sides == TickSides::All;
    const bool rightTicks =
        sides == TickSides::Right || sides == TickSides::LeftRight || sides == TickSides::All;
    const bool topTicks =
        sides == TickSides::Top || sides == TickSides::TopBottom || sides == TickSides::All;
    const bool bottomTicks =
        sides == TickSides::Bottom || sides == TickSides::TopBottom || sides == TickSides::All;
    if (leftTicks || rightTicks) {
        // k from 0: the top edge has a tick, the bottom edge none. Left and right ticks of one
        // position are drawn one after the other, so they are visited together.
        const i64 reach = reachOf(m_p.ticks);
        Range k = stepRange(top, stepY, 0, p - 1, -reach, m_c.height() - 1 + reach);
        if (stepY == 0 && !k.empty()) {
            k.first = k.last;
        }
        // Left and right ticks are one colour: their two families may be painted apart.
        const i64 first = top + stepY * k.first;
        const i64 n = k.last - k.first + 1;
        if (!k.empty() && (!leftTicks || strokesAlong(left, first, l, 0, 0, stepY, n, m_p.ticks)) &&
            (!rightTicks || strokesAlong(right, first, -l, 0, 0, stepY, n, m_p.ticks))) {
            k = Range{0, -1};
        }
        for (i64 i = k.first; i <= k.last; ++i) {
            const i64 y = top + stepY * i;
            if (leftTicks) {
                stroke(left, y, left + l, y, m_p.ticks);
            }
            if (rightTicks) {
                stroke(right, y, right - l, y, m_p.ticks);
            }
        }
    }
    if (topTicks || bottomTicks) {
        const i64 reach = reachOf(m_p.ticks);
        Range k = stepRange(left, stepX, 1, q - 1, -reach, m_c.width() - 1 + reach);
        if (stepX == 0 && !k.empty()) {
            k.first = k.last;
        }
        // Solid ticks are one colour: each side's row of them filled row by row.
        const LineSetting& t = m_p.ticks;
        if (m_fast && stepX > 0 && l != 0 && !k.empty() && t.kind == render::kSolidIndex &&
            m_c.penMode() == render::PenMode::Copy) {
            const i64 w = render::strokeWidth(t.width);
            const render::ColorRef color = render::paletteColor(t.color, m_c.pen().color);
            const i64 x = left + stepX * k.first - w / 2;
            const i64 n = k.last - k.first + 1;
            if (topTicks) {
                m_c.fillColumns(x, stepX, n, w, std::min(top, top + l), std::max(top, top + l),
                                color);
            }
            if (bottomTicks) {
                m_c.fillColumns(x, stepX, n, w, std::min(bottom, bottom - l),
                                std::max(bottom, bottom - l), color);
            }
        } else if (const i64 first = left + stepX * k.first, n = k.last - k.first + 1;
                   k.empty() || (topTicks && !strokesAlong(first, top, 0, l, stepX, 0, n, t)) ||
                   (bottomTicks && !strokesAlong(first, bottom, 0, -l, stepX, 0, n, t))) {
            for (i64 i = k.first; i <= k.last; ++i) {
                const i64 x = left + stepX * i;
                if (topTicks) {
                    stroke(x, top, x, top + l, m_p.ticks);
                }
                if (bottomTicks) {
                    stroke(x, bottom, x, bottom - l, m_p.ticks);
                }
            }
        }
    }
    stroke(left, top, right, top, m_p.topSide);
    stroke(left, bottom, right, bottom, m_p.bottomSide);
    stroke(left, top, left, bottom, m_p.leftSide);
    stroke(right, top, right, bottom, m_p.rightSide);
}

void TilesRenderer::draw()
{
    render::beginFigure(m_c, m_frame);
    const i64 w = m_p.tileWidth;
    const i64 h = m_p.tileHeight;
    const i64 stepX = w + m_p.gapAcross;
    const i64 stepY = h + m_p.gapDown;
    // Centres of the first tile; a tile's left edge is its centre less w div 2.
    const i64 x0 = heldLayout(centredStart(m_frame.width, 0, m_p.countAcross, i128(stepX)));
    const i64 y0 = heldLayout(centredStart(m_frame.height, 0, m_p.countDown, i128(stepY)));
    // A tile reaches its edges, the ticks beyond them and the widest line around them.
    i64 widest = 0;
    for (const LineSetting* l : {&m_p.topSide, &m_p.bottomSide, &m_p.leftSide, &m_p.rightSide,
                                 &m_p.hDivisions, &m_p.vDivisions, &m_p.ticks}) {
        widest = std::max(widest, reachOf(*l));
    }
    const i64 reach = std::abs(w) + std::abs(h) + std::abs(i64(m_p.tickLength)) + widest;
    Range rows = stepRange(y0, stepY, 0, m_p.countDown - 1LL, -reach, m_c.height() + reach);
    Range cols = stepRange(x0, stepX, 0, m_p.countAcross - 1LL, -reach, m_c.width() + reach);
    // Tiles in one place draw the same picture: one stands for all.
    if (stepY == 0 && !rows.empty()) {
        rows.first = rows.last;
    }
    if (stepX == 0 && !cols.empty()) {
        cols.first = cols.last;
    }
    // A tile draws without changing the canvas's pen, brush or font: every tile draws the same
    // picture where it stands. Tiles crowded over each other (a thousand a pixel apart) are
    // drawn once and pasted; tiles side by side cost less drawn where they stand.
    const bool crowded = 2 * reach > 8 * std::abs(stepX) || 2 * reach > 8 * std::abs(stepY);
    drawCopies(m_c, CopyGrid{x0, y0, stepX, stepY, rows, cols}, CopyReach::around(reach),
               m_fast && crowded ? CopiesAlike::All : CopiesAlike::No,
               [this, w, h](Canvas& c, i64 x, i64 y) {
                   if (&c == &m_c) {
                       tile(x - w / 2, y - h / 2);
                   } else {
                       TilesRenderer(c, m_p, m_frame, m_fast).tile(x - w / 2, y - h / 2);
                   }
               });
    m_c.setPenWidth(1);
}

} // namespace

void drawFractionTiles(Canvas& canvas, const FractionTilesParams& params,
                       const render::Frame& frame)
{
    TilesRenderer(canvas, params, frame, true).draw();
}

void drawFractionTilesStrokeByStroke(Canvas& canvas, const FractionTilesParams& params,
                                     const render::Frame& frame)
{
    TilesRenderer(canvas, params, frame, false).draw();
}

} // namespace koyomi::figures
