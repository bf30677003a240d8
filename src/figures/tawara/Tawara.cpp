#include "figures/tawara/Tawara.h"

#include "figures/FigureCaches.h"
#include "figures/Rounding.h"
#include "figures/RowCoverage.h"
#include "figures/Visible.h"
#include "render/Palette.h"
#include "render/PathUtils.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace koyomi::figures {

using render::Canvas;

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

namespace {

class TawaraRenderer
{
public:
    TawaraRenderer(Canvas& c, const TawaraParams& p, const render::Frame& frame, bool byStamps,
                   FigureCaches& caches)
        : m_c(c), m_p(p), m_frame(frame), m_byStamps(byStamps), m_caches(caches)
    {
    }

    void draw();

private:
    // The rows of the pile at height cy whose boxes can reach the canvas.
    Range visibleRows(long long cy) const;
    void piece(long long x, long long y, render::TPath& path) const;
    // Every piece as the union of one piece's pixels, canvas row by canvas row; false when the
    // piece is too large for a stamp.
    bool drawStamped(Range rows, Range cols) const;

    Canvas& m_c;
    const TawaraParams& m_p;
    const render::Frame& m_frame;
    const bool m_byStamps;
    FigureCaches& m_caches;
    long long m_firstX = 0;
    long long m_firstY = 0;
    long long m_stepX = 0;
    long long m_stepY = 0;
    long long m_reach = 0; // how far a piece's outline reaches beyond its box
    long long m_box = 0;   // the box's own extent
    render::ColorRef m_color = render::kWhite;
};

Range TawaraRenderer::visibleRows(long long cy) const
{
    const long long n = m_p.rowCount;
    // The row tops move monotonically with r, so the band of rows that reach the canvas is
    // found by bisection, however many rows there are.
    const bool rising = tawaraRowTop(m_p, cy, n) >= tawaraRowTop(m_p, cy, 1);
    auto beforeBand = [&](long long r) {
        const long long top = tawaraRowTop(m_p, cy, r);
        return rising ? top + m_box + m_reach < 0 : top - m_reach >= m_c.height();
    };
    auto afterBand = [&](long long r) {
        const long long top = tawaraRowTop(m_p, cy, r);
        return rising ? top - m_reach >= m_c.height() : top + m_box + m_reach < 0;
    };
    long long lo = 1, hi = n + 1; // first r not before the band
    while (lo < hi) {
        const long long mid = lo + (hi - lo) / 2;
        if (beforeBand(mid)) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    const long long first = lo;
    lo = first;
    hi = n + 1; // first r after the band
    while (lo < hi) {
        const long long mid = lo + (hi - lo) / 2;
        if (afterBand(mid)) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return Range{first, lo - 1};
}

void TawaraRenderer::piece(long long x, long long y, render::TPath& path) const
{
    const long long s = m_p.pieceSize;
    if (!fitsInt(x) || !fitsInt(y) || !fitsInt(x + 2 * s + 1) || !fitsInt(y + 2 * s + 1)) {
        return;
    }
    m_c.beginPath();
    if (TawaraShape(m_p.pieceShape) == TawaraShape::Square) {
        render::RectanglePath(m_c, int(x), int(y), int(x + 2 * s + 1), int(y + 2 * s + 1));
        m_c.endPath();
    } else {
        render::EllipsePath(m_c, int(x), int(y), int(x + 2 * s), int(y + 2 * s));
        m_c.endPath();
        m_c.flattenPath();
    }
    path.capture(m_c);
    render::DashedPath(path, m_c, m_color, m_p.lineWidth,
                       render::lineStylePattern(m_p.lineKind, true), true);
}

bool TawaraRenderer::drawStamped(Range rows, Range cols) const
{
    const long long s = m_p.pieceSize;
    const long long half = s + m_reach + 1;
    if (s < 1 || half > kMaxStampedSize) {
        return false;
    }
    // The stamp is placed by the piece's box corner (x, y), drawn at (x − s, y − s) around
    // the scratch's centre.
    const auto stamp = recentStamp(m_caches, StampOf::TawaraPiece,
                                   {m_p.pieceShape, s, m_p.lineKind, m_p.lineWidth}, half,
                                   [&](Canvas& c, int x, int y) {
                                       const TawaraParams& p = m_p;
                                       TawaraRenderer scratch(c, p, m_frame, false, m_caches);
                                       scratch.m_color = render::kWhite;
                                       render::TPath path;
                                       scratch.piece(x - s, y - s, path);
                                   });
    const long long w = m_c.width();
    const long long h = m_c.height();
    const long long margin = half + 1;
    // The centres of the pieces of row r across the visible piles: the same in every pile
    // row. Kept per r, each worked out once. Where piles overlap they often lie on one
    // progression across the whole row; a row of pieces is then periodic across the canvas.
    struct Centres
    {
        BitRow bits;
        std::vector<long long> few; // every centre, when there are few
        long long step = 0;         // above zero when the centres are one progression
        long long phase = 0;        // a centre's x mod step
    };
    constexpr std::size_t kFew = 256;
    std::unordered_map<long long, Centres> centres;
    auto centresOf = [&](long long r) -> const Centres& {
        auto it = centres.find(r);
        if (it != centres.end()) {
            return it->second;
        }
        Centres c{BitRow(w, margin), {}, 0, 0};
        const long long lo = -margin + 1, hi = w + margin - 2;
        for (long long i = cols.first; i <= cols.last; ++i) {
            const long long x1 = m_firstX + i * m_stepX - s * r + s; // the centre of k = 0
            const Range ks = stepRange(x1, 2 * s, 0, r - 1, lo, hi);
            for (long long k = ks.first; k <= ks.last; ++k) {
                c.bits.set(x1 + k * 2 * s);
            }
        }
        std::vector<long long> all;
        c.bits.forEach([&](long long x) { all.push_back(x); });
        if (all.size() >= 3) {
            const long long g = all[1] - all[0];
            bool even = true;
            for (std::size_t k = 2; k < all.size() && even; ++k) {
                even = all[k] - all[k - 1] == g;
            }
            // The progression's next centres either side would lie beyond what was looked
            // at: within it, every point of the progression is a centre.
            if (even && all.front() - g < lo && all.back() + g > hi) {
                c.step = g;
                c.phase = (all.front() % g + g) % g;
            }
        }
        if (all.size() <= kFew) {
            c.few = std::move(all);
        }
        return centres.emplace(r, std::move(c)).first->second;
    };
    // Per pile row, the visible rows and their centres' heights.
    struct PileRow
    {
        long long cy;
        Range band;
    };
    std::vector<PileRow> pileRows;
    for (long long j = rows.first; j <= rows.last; ++j) {
        const long long cy = m_firstY + j * m_stepY;
        pileRows.push_back(PileRow{cy, visibleRows(cy)});
    }
    // Row r's centre lies offset(r) below its pile's reference point in every pile: worked
    // out once for the rows any pile shows.
    long long rMin = LLONG_MAX, rMax = LLONG_MIN;
    for (const PileRow& pr : pileRows) {
        if (!pr.band.empty()) {
            rMin = std::min(rMin, pr.band.first);
            rMax = std::max(rMax, pr.band.last);
        }
    }
    if (rMin > rMax) {
        return true;
    }
    std::vector<long long> offsets;
    if (rMax - rMin < (1 << 16)) {
        for (long long r = rMin; r <= rMax; ++r) {
            offsets.push_back(tawaraRowTop(m_p, 0, r) + s);
        }
    }
    BitRow cover(w, margin);
    BitRow spread(w, margin);
    RowCover row(w);
    std::vector<std::pair<long long, std::vector<std::uint8_t>>> periods; // by step
    // A row of pieces brought to the canvas row, with one merged run of its stamp row.
    struct Laid
    {
        const Centres* centres;
        long long from;
        long long to;
        long long r;
    };
    std::vector<Laid> merged;
    std::vector<std::pair<long long, Run>> hits; // (r, run) brought to the canvas row
    // Piles over each other, in a lattice taller than a pile, bring the same rows of pieces to
    // canvas rows a pile apart: their covers, kept by those rows and runs. Only where the
    // piles reaching a canvas row are not cut short by the lattice's first or last pile can
    // the row repeat a pile further down; elsewhere the key is not worth making (piles
    // taller than their lattice repeat no row).
    KnownCovers known;
    std::string key;
    long long reachUp = LLONG_MAX; // a pile's rows reach from its reference point
    long long reachDown = LLONG_MIN;
    for (const long long offset : offsets) {
        reachUp = std::min(reachUp, offset + stamp->top);
        reachDown = std::max(reachDown, offset + stamp->bottom());
    }
    auto mayRepeat = [&](long long y) {
        if (offsets.empty() || m_stepY <= 0) {
            return false;
        }
        // The piles, in the lattice or beyond its ends, whose rows can reach row y.
        const long long first = ceilDiv(y - reachDown - m_firstY, m_stepY);
        const long long last = floorDiv(y - reachUp - m_firstY, m_stepY);
        return first >= 0 && last <= m_p.countDown - 1LL;
    };
    const render::ColorRef background = render::backgroundColor(m_frame.whiteBackground);
    for (long long y = 0; y < h; ++y) {
        hits.clear();
        for (const PileRow& pr : pileRows) {
            if (pr.band.empty()) {
                continue;
            }
            // Rows whose centre lies in [y − bottom, y − top]: a contiguous band of r, since
            // the centres move monotonically with r.
            const long long lo = y - stamp->bottom();
            const long long hi = y - stamp->top;
            auto centre = [&](long long r) {
                return offsets.empty() ? tawaraRowTop(m_p, pr.cy, r) + s
                                       : pr.cy + offsets[std::size_t(r - rMin)];
            };
            const bool rising = centre(pr.band.last) >= centre(pr.band.first);
            auto below = [&](long long r) { return rising ? centre(r) < lo : centre(r) > hi; };
            auto above = [&](long long r) { return rising ? centre(r) > hi : centre(r) < lo; };
            long long a = pr.band.first, b = pr.band.last + 1;
            while (a < b) {
                const long long mid = a + (b - a) / 2;
                if (below(mid)) {
                    a = mid + 1;
                } else {
                    b = mid;
                }
            }
            for (long long r = a; r <= pr.band.last && !above(r); ++r) {
                const long long dy = y - centre(r);
                for (const Run& run : stamp->rows[std::size_t(dy - stamp->top)]) {
                    hits.emplace_back(r, run);
                }
            }
        }
        if (hits.empty()) {
            continue;
        }
        // Runs of one row of pieces merged, then each laid at that row's centres.
        std::sort(hits.begin(), hits.end(), [](const auto& u, const auto& v) {
            return u.first != v.first ? u.first < v.first : u.second.from < v.second.from;
        });
        merged.clear();
        key.clear();
        for (std::size_t i = 0; i < hits.size();) {
            const long long r = hits[i].first;
            const long long from = hits[i].second.from;
            long long to = hits[i].second.to;
            for (++i; i < hits.size() && hits[i].first == r && hits[i].second.from <= to; ++i) {
                to = std::max<long long>(to, hits[i].second.to);
            }
            merged.push_back({&centresOf(r), from, to, r});
        }
        // Rows of pieces laid as periods cost a pass over the canvas row whatever they hold,
        // less than their key; those laid at each of their few centres cost the centres, and
        // those spread over their centres' bits a few passes over the row's words (counted as
        // an eighth of its pixels). Only a row of many of the last two is worth a key.
        auto worthAKey = [&] {
            long long laid = 0;
            for (const Laid& l : merged) {
                if (l.centres->step == 0) {
                    laid += l.centres->few.empty() ? w / 8 : (long long)l.centres->few.size();
                }
            }
            return laid > 4 * (long long)merged.size();
        };
        const bool keyed = mayRepeat(y) && worthAKey();
        if (keyed) {
            for (const Laid& l : merged) {
                for (const long long v : {l.r, l.from, l.to}) {
                    key.append(reinterpret_cast<const char*>(&v), sizeof v);
                }
            }
        }
        if (const std::vector<std::uint8_t>* found = keyed ? known.find(key) : nullptr) {
            m_c.setMaskedRow(int(y), *found, m_color, background);
            continue;
        }
        // Periodic rows of pieces: one period of the row each, the run's offsets modulo the
        // step, laid across the row.
        for (const Laid& l : merged) {
            const Centres& c = *l.centres;
            if (c.step == 0) {
                continue;
            }
            auto found = std::find_if(periods.begin(), periods.end(),
                                      [&](const auto& e) { return e.first == c.step; });
            if (found == periods.end()) {
                periods.emplace_back(c.step, std::vector<std::uint8_t>(std::size_t(c.step), 0));
                found = periods.end() - 1;
            }
            std::vector<std::uint8_t>& period = found->second;
            const long long n = std::min(l.to - l.from, c.step);
            long long u = ((c.phase + l.from) % c.step + c.step) % c.step;
            for (long long k = 0; k < n; ++k, u = u + 1 == c.step ? 0 : u + 1) {
                period[std::size_t(u)] = 1;
            }
        }
        for (auto& [step, period] : periods) {
            if (std::any_of(period.begin(), period.end(), [](std::uint8_t v) { return v; })) {
                row.addPattern(0, w, 0, period);
                std::fill(period.begin(), period.end(), 0);
            }
        }
        // The others at each of their few centres, or spread over their centres' bits.
        bool covered = false;
        for (const Laid& l : merged) {
            const Centres& c = *l.centres;
            if (c.step > 0) {
                continue;
            }
            if (!c.few.empty() && (long long)c.few.size() * (l.to - l.from) <= 4 * w) {
                row.addRunAtEach(c.few, l.from, l.to);
                continue;
            }
            if (!covered) {
                cover.clear();
                covered = true;
            }
            cover.orRun(c.bits, l.from, l.to, spread);
        }
        if (covered) {
            row.addBits(cover);
        }
        const std::vector<std::uint8_t>& mask = row.finish();
        m_c.setMaskedRow(int(y), mask, m_color, background);
        if (keyed) {
            known.keep(key, mask);
        }
        row.clear();
    }
    return true;
}

void TawaraRenderer::draw()
{
    render::beginFigure(m_c, m_frame);
    const TawaraParams& p = m_p;
    // Line kinds beyond the drawn ones ("なし" and anything else) draw nothing.
    if (p.lineKind < 0 || p.lineKind >= render::kNoLineIndex || p.rowCount <= 0) {
        return;
    }
    const long long s = p.pieceSize;
    const long long n = p.rowCount;
    m_stepX = 2 * s + p.gapAcross;
    m_stepY = 2 * s + p.gapDown;
    m_firstX = heldLayout(centredStart(m_frame.width, 0, p.countAcross, m_stepX));
    m_firstY = heldLayout(centredStart(m_frame.height, 0, p.countDown, m_stepY));
    m_color = render::paletteColor(p.lineColor, render::kWhite);
    m_reach = render::strokeReach(p.lineWidth);
    m_box = 2 * std::abs(s) + 1;
    // A pile spans s·N either side of its reference point across, and its rows lie within
    // about 1.75·s·N (circles) or 2·s·N (squares) of it down.
    const long long pileX = clampWide((long double)std::abs(s) * n) + m_box + m_reach;
    const long long pileY = clampWide((long double)std::abs(s) * n * 2) + m_box + m_reach;
    const Range cols =
        stepRange(m_firstX, m_stepX, 0, p.countAcross - 1LL, -pileX, m_c.width() + pileX);
    Range rows = stepRange(m_firstY, m_stepY, 0, p.countDown - 1LL, -pileY, m_c.height() + pileY);
    Range colsDrawn = cols;
    // Piles in one place draw the same outlines: one stands for all.
    if (m_stepY == 0) {
        rows.last = std::min(rows.last, rows.first);
    }
    if (m_stepX == 0) {
        colsDrawn.last = std::min(colsDrawn.last, colsDrawn.first);
    }
    if (rows.empty() || colsDrawn.empty()) {
        return;
    }
    // Many piles, or piles of many rows, in one colour and shape: their union costs what the
    // window costs. A few pieces are drawn one by one.
    const bool many =
        (rows.last - rows.first + 1) * (colsDrawn.last - colsDrawn.first + 1) > 1 || n > 8;
    if (m_byStamps && many && m_c.penMode() == render::PenMode::Copy &&
        drawStamped(rows, colsDrawn)) {
        m_c.setPenWidth(1);
        return;
    }
    render::TPath path;
    for (long long j = rows.first; j <= rows.last; ++j) {
        const long long cy = m_firstY + j * m_stepY;
        for (long long i = colsDrawn.first; i <= colsDrawn.last; ++i) {
            const long long cx = m_firstX + i * m_stepX;
            const Range band = visibleRows(cy);
            for (long long r = band.first; r <= band.last; ++r) {
                const long long y = tawaraRowTop(p, cy, r);
                // Pieces k = 1..r at x = cx − s·r + (k − 1)·2s.
                const long long x1 = cx - s * r;
                const Range ks =
                    stepRange(x1, 2 * s, 0, r - 1, -m_box - m_reach, m_c.width() + m_reach);
                const long long kLast = s == 0 ? std::min(ks.last, ks.first) : ks.last;
                for (long long k = ks.first; k <= kLast; ++k) {
                    piece(x1 + k * 2 * s, y, path);
                }
            }
        }
    }
    m_c.setPenWidth(1);
}

} // namespace

void drawTawara(Canvas& c, const TawaraParams& p, const render::Frame& frame, FigureCaches* caches)
{
    FigureCaches own;
    TawaraRenderer(c, p, frame, true, cachesOr(caches, own)).draw();
}

void drawTawaraPieceByPiece(Canvas& c, const TawaraParams& p, const render::Frame& frame)
{
    FigureCaches own;
    TawaraRenderer(c, p, frame, false, own).draw();
}

} // namespace koyomi::figures
