#include "figures/grid/Grid.h"

#include "figures/FigureCaches.h"
#include "figures/RowCoverage.h"
#include "figures/Visible.h"
#include "render/Palette.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace koyomi::figures {

using render::Canvas;

namespace {

// Paints from (x, y) + i·(dx, dy) for i in [0, n): a one-pixel line without its end point,
// cut to the canvas first, so that marks far larger than the window draw what they would.
void unitLine(Canvas& c, i64 x, i64 y, int dx, int dy, i64 n)
{
    // Narrows [lo, hi] to the i for which start + i·d lies in [0, extent).
    auto inside = [](i64 start, int d, i64 extent, i64& lo, i64& hi) {
        if (d == 0) {
            if (start < 0 || start >= extent) {
                hi = lo - 1;
            }
            return;
        }
        lo = std::max(lo, d > 0 ? -start : start - (extent - 1));
        hi = std::min(hi, d > 0 ? extent - 1 - start : start);
    };
    i64 lo = 0;
    i64 hi = n - 1;
    inside(x, dx, c.width(), lo, hi);
    inside(y, dy, c.height(), lo, hi);
    if (lo <= hi) {
        c.moveTo(int(x + lo * dx), int(y + lo * dy));
        c.lineTo(int(x + (hi + 1) * dx), int(y + (hi + 1) * dy));
    }
}

// One mark at (x, y) of half-extent s, in the canvas's pen and brush colours.
void drawMark(Canvas& c, GridMark shape, i64 s, i64 x, i64 y)
{
    const i64 reach = std::abs(s) + 1;
    if (x + reach < 0 || x - reach >= c.width() || y + reach < 0 || y - reach >= c.height()) {
        return;
    }
    const int d = s >= 0 ? 1 : -1;
    switch (shape) {
    case GridMark::Hollow:
    case GridMark::Filled:
        // The box's corners must be addressable; a mark larger than that is not drawn.
        if (fitsInt(x - s) && fitsInt(x + s) && fitsInt(y - s) && fitsInt(y + s)) {
            c.setBrushClear(shape == GridMark::Hollow);
            c.ellipse(int(x - s), int(y - s), int(x + s), int(y + s));
        }
        break;
    case GridMark::Plus:
        // From (x − s, y) to (x + s, y), then from (x, y − s) to (x, y + s).
        unitLine(c, x - s, y, d, 0, 2 * std::abs(s));
        unitLine(c, x, y - s, 0, d, 2 * std::abs(s));
        break;
    case GridMark::Cross:
        // From (x − s, y − s) to (x + s, y + s), then from (x + s, y − s) to (x − s, y + s).
        unitLine(c, x - s, y - s, d, d, 2 * std::abs(s));
        unitLine(c, x + s, y - s, -d, d, 2 * std::abs(s));
        break;
    case GridMark::None:
        break;
    }
}

// Truncating halving, as the cell centres are placed: toward zero on both sides of it.
i64 halfTowardZero(i64 v)
{
    return v / 2;
}

// ---- Drawing by stamps ------------------------------------------------------------------
//
// Every mark has the same shape and colour and the marks are drawn in copy mode, so the
// picture is the background with the union of the marks' pixels, in whatever order they are
// drawn. The union is built row by row of the canvas: the points of the whole figure are
// the product of a set of columns and a set of rows (every block row meets every block
// column), likewise the cell centres; a canvas row is covered by the columns shifted by the
// union of the mark rows that the figure's rows bring to it. Cost then follows the window
// and the mark's height, not the number of marks drawn over each other.

// The last few stamps made are kept: a redraw while the teacher changes another field finds
// its stamp made.
std::shared_ptr<const Stamp> stampOf(FigureCaches& caches, GridMark shape, i64 s)
{
    return recentStamp(caches, StampOf::GridMark, {int(shape), s}, std::abs(s) + 2,
                       [&](Canvas& c, int x, int y) { drawMark(c, shape, s, x, y); });
}

// The points base + k·sp, k in [0, count).
void addPoints(std::vector<Progression>& out, i64 base, i64 sp, i64 count)
{
    if (count > 0) {
        out.push_back(increasing(base, sp, count));
    }
}

// The cell centres trunc((2·base + (2k + 1)·sp) ÷ 2), k in [0, count): one progression, or
// two where an odd spacing's midpoints change sign (truncation rounds up below zero).
void addCentres(std::vector<Progression>& out, i64 base, i64 sp, i64 count)
{
    if (count <= 0) {
        return;
    }
    if (sp % 2 == 0) {
        out.push_back(increasing(base + sp / 2, sp, count));
        return;
    }
    // w(k) = a + b·k is odd, never zero: the centre is (w − 1) ÷ 2 above zero, (w + 1) ÷ 2
    // below.
    const i64 a = 2 * base + sp;
    const i64 b = 2 * sp;
    i64 aboveFirst = 0;
    i64 aboveLast = count - 1;
    if (b > 0) {
        aboveFirst = std::max<i64>(0, floorDiv(-a, b) + 1);
    } else {
        aboveLast = std::min(count - 1, ceilDiv(a, -b) - 1);
    }
    auto add = [&](i64 first, i64 last, i64 offset) {
        if (first <= last) {
            out.push_back(increasing(base + first * sp + offset, sp, last - first + 1));
        }
    };
    add(aboveFirst, aboveLast, (sp - 1) / 2);
    if (b > 0) {
        add(0, std::min(count - 1, aboveFirst - 1), (sp + 1) / 2);
    } else {
        add(std::max<i64>(0, aboveLast + 1), count - 1, (sp + 1) / 2);
    }
}

class GridRenderer
{
public:
    GridRenderer(Canvas& canvas, const GridParams& params, const render::Frame& frame,
                 FigureCaches& caches)
        : m_c(canvas), m_p(params), m_frame(frame), m_caches(caches), m_w(canvas.width()),
          m_h(canvas.height()), m_shape(GridMark(params.markShape)), m_size(params.markSize),
          m_reach(std::abs(i64(params.markSize)) + 1)
    {
    }

    // byStamps false draws every mark one by one, in order.
    void draw(bool byStamps);

private:
    void drawBlock(i64 x0, i64 y0);
    void drawStamped(const Stamp& stamp);

    Canvas& m_c;
    const GridParams& m_p;
    const render::Frame& m_frame;
    FigureCaches& m_caches;
    const i64 m_w;
    const i64 m_h;
    const GridMark m_shape;
    const i64 m_size;
    const i64 m_reach; // how far a mark reaches from its point, with a pixel to spare
    // Layout: the first block's corner, the steps between blocks, the visible blocks.
    i64 m_left = 0;
    i64 m_top = 0;
    i64 m_stepX = 0;
    i64 m_stepY = 0;
    Range m_blockRows;
    Range m_blockCols;
};

void GridRenderer::drawBlock(i64 x0, i64 y0)
{
    const i64 sx = m_p.columnSpacing;
    const i64 sy = m_p.rowSpacing;
    const i64 nx = m_p.columnCount;
    const i64 ny = m_p.rowCount;
    // Points: rows top to bottom, each left to right. Points that coincide (spacing 0) draw
    // the same mark, so one of them stands for all.
    Range rows = stepRange(y0, sy, 0, ny - 1, -m_reach, m_h - 1 + m_reach);
    Range cols = stepRange(x0, sx, 0, nx - 1, -m_reach, m_w - 1 + m_reach);
    if (sy == 0) {
        rows.last = std::min(rows.last, rows.first);
    }
    if (sx == 0) {
        cols.last = std::min(cols.last, cols.first);
    }
    for (i64 r = rows.first; r <= rows.last; ++r) {
        for (i64 t = cols.first; t <= cols.last; ++t) {
            drawMark(m_c, m_shape, m_size, x0 + t * sx, y0 + r * sy);
        }
    }
    if (!m_p.centreMarksOn || ny < 2 || nx < 2) {
        return;
    }
    // Cell centres: the midpoint of the cell's corners, truncated, which lies within one
    // pixel of corner + spacing ÷ 2.
    Range cellRows = stepRange(y0, sy, 0, ny - 2, -m_reach - std::abs(sy) / 2 - 1,
                               m_h + m_reach + std::abs(sy) / 2);
    Range cellCols = stepRange(x0, sx, 0, nx - 2, -m_reach - std::abs(sx) / 2 - 1,
                               m_w + m_reach + std::abs(sx) / 2);
    if (sy == 0) {
        cellRows.last = std::min(cellRows.last, cellRows.first);
    }
    if (sx == 0) {
        cellCols.last = std::min(cellCols.last, cellCols.first);
    }
    for (i64 r = cellRows.first; r <= cellRows.last; ++r) {
        for (i64 t = cellCols.first; t <= cellCols.last; ++t) {
            drawMark(m_c, m_shape, m_size, halfTowardZero(2 * x0 + (2 * t + 1) * sx),
                     halfTowardZero(2 * y0 + (2 * r + 1) * sy));
        }
    }
}

namespace {

// Block columns alike (each a run of block columns whose points, or centres, stand alike
// around the block's left edge) as bits: a canvas row's mark runs spread over one block's
// positions, and that over the run of block columns, each by doubling.
class BlockSpread
{
public:
    struct Alike
    {
        i64 left;                           // the leftmost block column's edge
        i64 pitch;                          // ≥ 0
        i64 count;                          // block columns
        std::vector<Progression> positions; // relative to a block column's edge
    };

    BlockSpread(i64 width, i64 margin, std::array<std::vector<Alike>, 2> alike)
        : m_alike(std::move(alike)), m_offsets(width, margin), m_block(width, margin),
          m_covered(width, margin), m_spread(width, margin)
    {
    }

    const BitRow& cover(const std::vector<Run> (&runs)[2])
    {
        m_covered.clear();
        for (int lattice = 0; lattice < 2; ++lattice) {
            if (runs[lattice].empty()) {
                continue;
            }
            m_offsets.clear();
            for (const Run& r : runs[lattice]) {
                m_offsets.setRun(r.from, r.to);
            }
            for (const Alike& a : m_alike[std::size_t(lattice)]) {
                m_block.clear();
                for (const Progression& p : a.positions) {
                    m_block.orProgression(m_offsets, p.origin, p.step, p.count, m_spread);
                }
                m_covered.orProgression(m_block, a.left, a.pitch, a.count, m_spread);
            }
        }
        return m_covered;
    }

private:
    std::array<std::vector<Alike>, 2> m_alike;
    BitRow m_offsets;
    BitRow m_block;
    BitRow m_covered;
    BitRow m_spread;
};

// A block's bits hold its positions and the marks' reach about them, relative to its edge;
// spread over block columns from the leftmost that reaches the window, a bit shifted out at
// the right end of the row would come back only for an edge left of the window by more than
// the margin. So the margin holds a block with its marks either side, and only block
// columns whose marks can meet the window are spread. None where there are few block
// columns, or blocks far wider than the window.
std::optional<BlockSpread> blockSpread(const Stamp& stamp, i64 width, i64 left, i64 stepX,
                                       const Range& blockCols,
                                       const std::vector<std::vector<Progression>> (&columns)[2])
{
    constexpr i64 kFewest = 8;
    if (blockCols.last - blockCols.first + 1 < kFewest) {
        return std::nullopt;
    }
    i64 lowest = 0; // the stamp's columns
    i64 highest = 0;
    for (const std::vector<Run>& row : stamp.rows) {
        for (const Run& r : row) {
            lowest = std::min<i64>(lowest, r.from);
            highest = std::max<i64>(highest, r.to);
        }
    }
    std::array<std::vector<BlockSpread::Alike>, 2> alike;
    i64 margin = 64;
    for (int lattice = 0; lattice < 2; ++lattice) {
        for (std::size_t b = 0; b < columns[lattice].size(); ++b) {
            const i64 edge = left + (blockCols.first + i64(b)) * stepX;
            std::vector<Progression> relative;
            i64 lo = 0;
            i64 hi = 0;
            for (const Progression& p : columns[lattice][b]) {
                relative.push_back({p.origin - edge, p.step, p.count});
                lo = std::min(lo, p.origin - edge + lowest);
                hi = std::max(hi, p.origin - edge + (p.count - 1) * p.step + highest);
            }
            if (hi - lo > 2 * width) {
                return std::nullopt;
            }
            if (edge + hi < 0 || edge + lo >= width) {
                continue; // reaches no pixel of the window
            }
            // While a block is spread its bits lie within the stamp's columns and the block's
            // extent from them.
            margin = std::max(margin, std::max(-lowest, highest) + (hi - lo) + 1);
            std::vector<BlockSpread::Alike>& groups = alike[std::size_t(lattice)];
            const bool extends =
                !groups.empty() && groups.back().positions.size() == relative.size() &&
                std::equal(relative.begin(), relative.end(), groups.back().positions.begin(),
                           [](const Progression& a, const Progression& b) {
                               return a.origin == b.origin && a.step == b.step &&
                                      a.count == b.count;
                           });
            if (extends) {
                ++groups.back().count;
                groups.back().left = std::min(groups.back().left, edge);
            } else {
                groups.push_back({edge, std::abs(stepX), 1, std::move(relative)});
            }
        }
    }
    return BlockSpread(width, margin, std::move(alike));
}

} // namespace

void GridRenderer::drawStamped(const Stamp& stamp)
{
    if (stamp.rows.empty()) {
        return;
    }
    const i64 nx = m_p.columnCount;
    const i64 ny = m_p.rowCount;
    const bool centres = m_p.centreMarksOn && nx >= 2 && ny >= 2;
    // The figure's rows of points [0] and of cell centres [1], block row by block row, and
    // its columns, block column by block column (points and centres of a block column share
    // their step).
    std::vector<Progression> rows[2];
    std::vector<std::vector<Progression>> blockColumns[2];
    for (i64 bc = m_blockCols.first; bc <= m_blockCols.last; ++bc) {
        const i64 x0 = m_left + bc * m_stepX;
        blockColumns[0].emplace_back();
        blockColumns[1].emplace_back();
        addPoints(blockColumns[0].back(), x0, m_p.columnSpacing, nx);
        if (centres) {
            addCentres(blockColumns[1].back(), x0, m_p.columnSpacing, nx - 1);
        }
    }
    for (i64 br = m_blockRows.first; br <= m_blockRows.last; ++br) {
        const i64 y0 = m_top + br * m_stepY;
        addPoints(rows[0], y0, m_p.rowSpacing, ny);
        if (centres) {
            addCentres(rows[1], y0, m_p.rowSpacing, ny - 1);
        }
    }
    const render::ColorRef color = m_c.pen().color;
    // Rows the marks meet are written whole: marks over the background the prologue laid.
    const render::ColorRef background = render::backgroundColor(m_frame.whiteBackground);
    RowCover cover(m_w);
    std::vector<Run> runs[2];
    Residues residues;
    long long runsVersion = 0;
    std::vector<Placed> placed;
    std::pair<i64, i64> extent[2];
    RunUnion unions;
    // Covers worked out are kept by the mark rows that made them.
    KnownCovers known;
    std::string key;
    // Hundreds of block columns a few pixels apart cost less spread as bits than covered one
    // by one, each at least a pass over the row: a canvas row's runs spread over one block's
    // positions, then that block over the block columns alike, each by doubling.
    std::optional<BlockSpread> spread =
        blockSpread(stamp, m_w, m_left, m_stepX, m_blockCols, blockColumns);
    for (i64 y = 0; y < m_h; ++y) {
        key.clear();
        for (int lattice = 0; lattice < 2; ++lattice) {
            // The mark rows that the figure's rows bring to this canvas row, and their extent.
            // The rows' offsets make the key: the same offsets bring the same cover.
            std::vector<Run>& u = runs[lattice];
            u.clear();
            extent[lattice] = {std::numeric_limits<i64>::max(), std::numeric_limits<i64>::min()};
            for (const Progression& p : rows[lattice]) {
                const Range r =
                    stepRange(p.origin, p.step, 0, p.count - 1, y - stamp.bottom(), y - stamp.top);
                for (i64 i = r.first; i <= r.last; ++i) {
                    const auto dy = std::int32_t(y - (p.origin + i * p.step));
                    const auto& add = stamp.rows[std::size_t(dy - stamp.top)];
                    if (add.empty()) {
                        continue;
                    }
                    u.insert(u.end(), add.begin(), add.end());
                    extent[lattice].first = std::min<i64>(extent[lattice].first, add.front().from);
                    extent[lattice].second = std::max<i64>(extent[lattice].second, add.back().to);
                    key.append(reinterpret_cast<const char*>(&dy), sizeof dy);
                }
            }
            key.push_back('|');
            // The mark rows of thousands of figure rows a pixel apart overlap: joined, they
            // are covered as the few runs they make.
            if (!u.empty()) {
                unions.mergeIfCrowded(u, extent[lattice].first, extent[lattice].second);
            }
        }
        if (runs[0].empty() && runs[1].empty()) {
            continue;
        }
        if (const std::vector<std::uint8_t>* found = known.find(key)) {
            m_c.setMaskedRow(int(y), *found, color, background);
            continue;
        }
        ++runsVersion;
        if (spread) {
            cover.addBits(spread->cover(runs));
        }
        for (std::size_t b = 0; !spread && b < blockColumns[0].size(); ++b) {
            placed.clear();
            i64 origin = 0;
            i64 step = 0;
            for (int lattice = 0; lattice < 2; ++lattice) {
                if (runs[lattice].empty()) {
                    continue;
                }
                for (const Progression& p : blockColumns[lattice][b]) {
                    if (placed.empty()) {
                        origin = p.origin;
                        step = p.step;
                    }
                    placed.push_back(Placed{&runs[lattice], extent[lattice].first,
                                            extent[lattice].second, p.origin - origin,
                                            p.count - 1});
                }
            }
            if (placed.empty()) {
                continue;
            }
            if (step == 0) {
                // Every position of the block column in one place.
                for (const Placed& set : placed) {
                    for (const Run& r : *set.runs) {
                        cover.addRun(origin + set.shift + r.from, origin + set.shift + r.to);
                    }
                }
                continue;
            }
            coverPlaced(cover, origin, step, placed, runsVersion, m_w, residues);
        }
        const std::vector<std::uint8_t>& mask = cover.finish();
        m_c.setMaskedRow(int(y), mask, color, background);
        known.keep(key, mask);
        cover.clear();
    }
}

void GridRenderer::draw(bool byStamps)
{
    render::beginFigure(m_c, m_frame);
    // The marks have no line kind: always solid, whatever the canvas drew before.
    m_c.setPenColor(render::paletteColor(m_p.markColor, m_c.pen().color));
    m_c.setPenStyle(render::PenStyle::Solid);
    m_c.setBrushColor(render::paletteColor(m_p.markColor, m_c.brush().color));

    // Layout in 128-bit: an arrangement too large to address is not drawn.
    const i128 bw = i128(i64(m_p.columnCount) - 1) * m_p.columnSpacing;
    const i128 bh = i128(i64(m_p.rowCount) - 1) * m_p.rowSpacing;
    const i128 left = centredStart(m_frame.width, bw, m_p.countAcross, bw + m_p.gapAcross);
    const i128 top = centredStart(m_frame.height, bh, m_p.countDown, bh + m_p.gapDown);
    for (const i128 v : {bw, bh, left, top}) {
        if (!addressable(v)) {
            return;
        }
    }
    m_left = i64(left);
    m_top = i64(top);
    m_stepX = i64(bw) + m_p.gapAcross;
    m_stepY = i64(bh) + m_p.gapDown;
    // A block spans its origin to origin + size (either way), and its marks reach beyond.
    const i64 margin = m_reach + 1;
    m_blockRows = visibleBlocks(m_top, m_stepY, m_p.countDown, i64(bh), margin, m_h);
    m_blockCols = visibleBlocks(m_left, m_stepX, m_p.countAcross, i64(bw), margin, m_w);

    // Stamping needs one colour for outline and fill and marks drawn over the canvas as they
    // are; anything else is drawn mark by mark.
    const bool oneColor = m_shape != GridMark::Filled || m_c.pen().color == m_c.brush().color;
    if (byStamps && oneColor && m_c.penMode() == render::PenMode::Copy &&
        std::abs(m_size) <= kMaxStampedSize) {
        if (m_shape == GridMark::Hollow || m_shape == GridMark::Filled ||
            m_shape == GridMark::Plus || m_shape == GridMark::Cross) {
            drawStamped(*stampOf(m_caches, m_shape, m_size));
        }
        return;
    }
    for (i64 br = m_blockRows.first; br <= m_blockRows.last; ++br) {
        for (i64 bc = m_blockCols.first; bc <= m_blockCols.last; ++bc) {
            drawBlock(m_left + bc * m_stepX, m_top + br * m_stepY);
        }
    }
}

} // namespace

void drawGrid(Canvas& canvas, const GridParams& params, const render::Frame& frame,
              FigureCaches* caches)
{
    FigureCaches own;
    GridRenderer(canvas, params, frame, cachesOr(caches, own)).draw(true);
}

void drawGridMarkByMark(Canvas& canvas, const GridParams& params, const render::Frame& frame)
{
    FigureCaches own;
    GridRenderer(canvas, params, frame, own).draw(false);
}

} // namespace koyomi::figures
