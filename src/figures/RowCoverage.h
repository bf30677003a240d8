// Row coverage: the union of one shape drawn at many places, one canvas row at a time, and
// the stamps that shapes are drawn from. Figures that repeat a single shape in a single
// colour (marks at lattice points, lines of one family, the pieces of a pile) give the same
// picture in whatever order the copies are drawn; building each row's cover from the shape's
// rows and the places' progressions costs what the window costs, not what the copies drawn
// over each other would. A stamp is a shape drawn once on a scratch canvas, kept as runs per
// row relative to its point.
#pragma once

#include "figures/FigureCaches.h"
#include "figures/Visible.h"
#include "render/Canvas.h"
#include "render/PixelLoop.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace koyomi::figures {

// Half-open run [from, to) of one row of a drawn shape, relative to the point it is drawn
// at: shapes are at most a few thousand pixels across, so 32 bits are plenty, and keys and
// sorting stay small.
struct Run
{
    std::int32_t from;
    std::int32_t to;

    bool operator==(const Run&) const = default;
};

// Positions origin + i·step for i in [0, count), with step > 0, or step 0 and count 1.
struct Progression
{
    i64 origin;
    i64 step;
    i64 count;
};

// The same positions in increasing order; coinciding positions as one.
inline Progression increasing(i64 origin, i64 step, i64 count)
{
    if (step < 0) {
        origin += (count - 1) * step;
        step = -step;
    }
    return Progression{origin, step, step == 0 ? std::min<i64>(count, 1) : count};
}

// A row of bits for the pixels of one canvas row and a margin either side: bit b stands for
// x = b − margin. The margin is a whole number of words, so that x = 0 starts a word.
class BitRow
{
public:
    BitRow(i64 width, i64 margin)
        : m_margin((margin + 63) / 64 * 64),
          m_words(std::size_t((width + 2 * m_margin + 63) / 64), 0)
    {
    }

    void clear() { std::fill(m_words.begin(), m_words.end(), 0); }
    void set(i64 x)
    {
        const i64 b = x + m_margin;
        m_words[std::size_t(b >> 6)] |= std::uint64_t(1) << (b & 63);
    }

    // this |= from shifted by d bits (toward larger x when d > 0); bits shifted beyond either
    // end are dropped. `from` may be this row.
    void orShifted(const BitRow& from, i64 d)
    {
        const i64 n = (i64)m_words.size();
        const i64 q = floorDiv(d, 64);
        const int b = int(d - q * 64); // 0 ≤ b < 64
        const std::uint64_t* src = from.m_words.data();
        auto word = [&](i64 w) {
            std::uint64_t v = 0;
            if (w - q >= 0 && w - q < n) {
                v |= src[w - q] << b;
            }
            if (b != 0 && w - q - 1 >= 0 && w - q - 1 < n) {
                v |= src[w - q - 1] >> (64 - b);
            }
            return v;
        };
        // A word is made from words at or below its own index when shifting up, at or above
        // when shifting down: walking the other way reads each before it changes.
        if (d >= 0) {
            for (i64 w = n - 1; w >= 0; --w) {
                m_words[std::size_t(w)] |= word(w);
            }
        } else {
            for (i64 w = 0; w < n; ++w) {
                m_words[std::size_t(w)] |= word(w);
            }
        }
    }

    // this |= from ⊕ [lo, hi): every set bit of `from` spread over the run of offsets. The
    // spread is built by doubling in `spread`.
    void orRun(const BitRow& from, i64 lo, i64 hi, BitRow& spread)
    {
        spread.m_words = from.m_words;
        for (i64 have = 1; have < hi - lo;) {
            const i64 add = std::min(have, hi - lo - have);
            spread.orShifted(spread, add);
            have += add;
        }
        orShifted(spread, lo);
    }

    // this |= from shifted by origin + k·step for every k in [0, count): the spread is built
    // by doubling in `spread`, a shift of the whole row each time.
    void orProgression(const BitRow& from, i64 origin, i64 step, i64 count, BitRow& spread)
    {
        spread.m_words = from.m_words;
        for (i64 have = 1; have < count;) {
            const i64 add = std::min(have, count - have);
            spread.orShifted(spread, add * step);
            have += add;
        }
        orShifted(spread, origin);
    }

    // Sets every x in [from, to), cut to the row.
    void setRun(i64 from, i64 to)
    {
        from = std::max(from, -m_margin);
        to = std::min(to, i64(m_words.size()) * 64 - m_margin);
        for (i64 b = from + m_margin; b < to + m_margin;) {
            const i64 w = b >> 6;
            const i64 end = std::min(to + m_margin, (w + 1) * 64);
            const int lo = int(b & 63);
            const int n = int(end - b);
            const std::uint64_t bits =
                n == 64 ? ~std::uint64_t(0) : ((std::uint64_t(1) << n) - 1) << lo;
            m_words[std::size_t(w)] |= bits;
            b = end;
        }
    }

    // Sets the byte of every set x in [0, mask.size()).
    void orInto(std::vector<std::uint8_t>& mask) const
    {
        const std::size_t first = std::size_t(m_margin / 64);
        for (std::size_t x = 0; x < mask.size(); x += 64) {
            const std::uint64_t v = m_words[first + x / 64];
            const std::size_t n = std::min<std::size_t>(64, mask.size() - x);
            if (v == ~std::uint64_t(0)) {
                std::fill_n(mask.begin() + std::ptrdiff_t(x), n, std::uint8_t(1));
            } else if (v != 0) {
                for (std::size_t i = 0; i < n; ++i) {
                    mask[x + i] |= std::uint8_t((v >> i) & 1);
                }
            }
        }
    }

    // Calls f(x) for every set x, in increasing order.
    template <class F> void forEach(F f) const
    {
        for (std::size_t w = 0; w < m_words.size(); ++w) {
            for (std::uint64_t v = m_words[w]; v != 0; v &= v - 1) {
                f((i64)(w * 64) + std::countr_zero(v) - m_margin);
            }
        }
    }

private:
    i64 m_margin;
    std::vector<std::uint64_t> m_words;
};

// One canvas row being covered: runs added as differences, whole periods as a mask.
class RowCover
{
public:
    explicit RowCover(i64 width)
        : m_width(width), m_diff(std::size_t(width) + 1, 0), m_mask(std::size_t(width), 0)
    {
    }

    KOYOMI_PIXEL_LOOP void addRun(i64 from, i64 to)
    {
        from = std::max<i64>(from, 0);
        to = std::min(to, m_width);
        if (from >= to) {
            return;
        }
        m_any = true;
        widen(from, to);
        unstale();
        // Runs are marked straight into the row while their lengths add up to less than the
        // row: adding up differences would cost the whole row. Beyond that, as differences, so
        // that a row costs at most twice its width however many runs overlap in it.
        if (m_filled + (to - from) <= m_width) {
            std::fill(m_mask.begin() + from, m_mask.begin() + to, std::uint8_t(1));
            m_filled += to - from;
            return;
        }
        ++m_diff[std::size_t(from)];
        --m_diff[std::size_t(to)];
        m_runs = true;
    }

    // addRun(x + from, x + to) for every x of `places`, which increase: a run laid at each of
    // thousands of places on every canvas row, with what the row keeps of them held in
    // registers rather than written back after each. addRun is not one place of it: a grid
    // adding its runs one by one drew a quarter slower that way.
    KOYOMI_PIXEL_LOOP void addRunAtEach(std::span<const i64> places, i64 from, i64 to)
    {
        if (places.empty() || from >= to) {
            return;
        }
        const i64 width = m_width;
        const i64 lo = std::max<i64>(places.front() + from, 0);
        const i64 hi = std::min(places.back() + to, width);
        if (lo >= hi) {
            return;
        }
        unstale();
        m_any = true;
        widen(lo, hi);
        std::uint8_t* const mask = m_mask.data();
        int* const diff = m_diff.data();
        i64 filled = m_filled;
        bool runs = false;
        for (const i64 x : places) {
            const i64 a = std::max<i64>(x + from, 0);
            const i64 b = std::min(x + to, width);
            if (a >= b) {
                continue;
            }
            if (filled + (b - a) <= width) {
                std::fill(mask + a, mask + b, std::uint8_t(1));
                filled += b - a;
            } else {
                ++diff[a];
                --diff[b];
                runs = true;
            }
        }
        m_filled = filled;
        m_runs = m_runs || runs;
    }

    // Marks x in [from, to) ∩ window where pattern[(x − origin) mod period] is set.
    KOYOMI_PIXEL_LOOP void addPattern(i64 from, i64 to, i64 origin,
                                      const std::vector<std::uint8_t>& pattern)
    {
        const bool clear = !m_any;
        if (!clip(from, to)) {
            return;
        }
        // The first pattern over a clear row is laid straight into it, over whatever it held.
        widen(from, to);
        if (clear && from == 0 && to == m_width && i64(pattern.size()) <= m_width) {
            expand(m_mask, pattern, -origin, m_width);
            m_stale = false;
            return;
        }
        unstale();
        const std::uint8_t* tile = expand(m_tile, pattern, from - origin, to - from);
        std::uint8_t* mask = m_mask.data() + from;
        for (i64 i = 0; i < to - from; ++i) {
            mask[i] |= tile[i];
        }
    }

    // Marks x in [from, to) ∩ window where value[(x − origin) mod period] is at most (or at
    // least) ramp + (x − from). Used near a row's end, where ramp and values are offsets
    // within a mark's reach: sixteen bits hold them.
    KOYOMI_PIXEL_LOOP void addBounded(i64 from, i64 to, i64 origin,
                                      const std::vector<std::int16_t>& value, i64 ramp, bool atMost)
    {
        const i64 start = from;
        if (!clip(from, to)) {
            return;
        }
        widen(from, to);
        unstale();
        const std::int16_t* tile = expand(m_values, value, from - origin, to - from);
        auto bound = std::int16_t(ramp + (from - start));
        std::uint8_t* mask = m_mask.data() + from;
        const i64 n = to - from;
        if (atMost) {
            for (i64 i = 0; i < n; ++i, ++bound) {
                mask[i] |= std::uint8_t(tile[i] <= bound);
            }
        } else {
            for (i64 i = 0; i < n; ++i, ++bound) {
                mask[i] |= std::uint8_t(tile[i] >= bound);
            }
        }
    }

    // Marks every x of the window whose bit is set.
    KOYOMI_PIXEL_LOOP void addBits(const BitRow& bits)
    {
        unstale();
        bits.orInto(m_mask);
        m_any = true;
        widen(0, m_width);
    }

    // The row's cover worked out: one byte per pixel, not zero where covered. It stays until
    // clear().
    KOYOMI_PIXEL_LOOP const std::vector<std::uint8_t>& finish()
    {
        unstale();
        if (m_runs) {
            int depth = 0;
            for (i64 x = 0; x < m_width; ++x) {
                depth += m_diff[std::size_t(x)];
                m_diff[std::size_t(x)] = 0;
                m_mask[std::size_t(x)] |= std::uint8_t(depth > 0);
            }
            m_diff[std::size_t(m_width)] = 0;
            m_runs = false;
        }
        return m_mask;
    }

    // The pixels [first, second) outside which the cover marks none, since the last clear().
    std::pair<i64, i64> extent() const { return {std::min(m_lo, m_hi), m_hi}; }

    // Makes the row clear again. Its bytes are cleared when next written, unless a whole
    // pattern is laid over them first.
    KOYOMI_PIXEL_LOOP void clear()
    {
        if (m_any) {
            m_stale = true;
            m_any = false;
            m_filled = 0;
            m_lo = std::numeric_limits<i64>::max();
            m_hi = 0;
        }
    }

private:
    KOYOMI_PIXEL_LOOP void unstale()
    {
        if (m_stale) {
            std::fill(m_mask.begin(), m_mask.end(), 0);
            m_stale = false;
        }
    }

    void widen(i64 from, i64 to)
    {
        m_lo = std::min(m_lo, from);
        m_hi = std::max(m_hi, to);
    }

    i64 m_width;
    std::vector<int> m_diff;
    // Cuts [from, to) to the window; false when nothing is left.
    bool clip(i64& from, i64& to)
    {
        from = std::max<i64>(from, 0);
        to = std::min(to, m_width);
        m_any = m_any || from < to;
        return from < to;
    }

    // n values of the periodic sequence period[(phase + i) mod size], laid out in `out` by
    // copying one period and then doubling what is there.
    template <class T>
    KOYOMI_PIXEL_LOOP static const T* expand(std::vector<T>& out, const std::vector<T>& period,
                                             i64 phase, i64 n)
    {
        const i64 size = i64(period.size());
        const i64 start = (phase % size + size) % size;
        out.resize(std::size_t(std::max(n, size)));
        std::copy(period.begin() + start, period.end(), out.begin());
        std::copy(period.begin(), period.begin() + start, out.begin() + (size - start));
        for (i64 filled = size; filled < n; filled *= 2) {
            std::copy_n(out.begin(), std::min(filled, n - filled), out.begin() + filled);
        }
        return out.data();
    }

    std::vector<std::uint8_t> m_mask;
    std::vector<std::uint8_t> m_tile;
    std::vector<std::int16_t> m_values;
    bool m_runs = false;  // differences to add up
    bool m_any = false;   // anything to paint
    i64 m_filled = 0;     // pixels marked straight into the row since it was cleared
    bool m_stale = false; // the bytes still hold the row before the last clear()
    i64 m_lo = std::numeric_limits<i64>::max(); // the extent of what was marked
    i64 m_hi = 0;
};

// Covers of canvas rows kept by what brought them to the row (the figure's rows, each by its
// offset): canvas rows that the figure's rows meet alike are covered alike, and in a lattice
// taller than the window they repeat with its row spacing, so each is worked out once. The
// first 512 rows kept stay: letting the oldest go for each new one cost a grid whose rows do
// not repeat a tenth of its drawing. The key must name everything the cover depends on.
class KnownCovers
{
public:
    // Defined apart: the figures' loops over canvas rows stay small enough to be compiled
    // as tightly as they were without it.
    const std::vector<std::uint8_t>* find(const std::string& key) const;
    void keep(const std::string& key, const std::vector<std::uint8_t>& mask);

private:
    static constexpr std::size_t kRows = 512;
    std::unordered_map<std::string, std::vector<std::uint8_t>> m_known;
};

// One set of mark rows placed along a progression: offset u covers
// origin + shift + k·step + u for k in [0, last]. The points of a block and its cell centres
// are such sets along the same step.
struct Placed
{
    const std::vector<Run>* runs; // in any order, overlapping or not
    i64 from;                     // the least start of the runs
    i64 to;                       // the greatest end
    i64 shift;
    i64 last;
};

// What the placed sets of one canvas row cover at each residue of the offset (shift
// included) modulo the step: whether anything, the least offset (for the row's start, where
// an offset covers x only up to x − origin), and the greatest offset less (L − last)·step
// (for its end, where an offset covers x only from x − origin − last·step; L is the largest
// last, so that one bound serves every set).
struct Residues
{
    std::vector<std::uint8_t> any;
    std::vector<std::int16_t> least;
    std::vector<std::int16_t> greatest;

    // The residues of the same sets (the runs' version counts the runs the caller has made;
    // below zero, runs not to be kept) are kept from the last call.
    void build(std::span<const Placed> sets, long long version, i64 step, i64 largestLast);

    // The same sets' runs spread as bits over all their positions, relative to the origin,
    // for rows of `width` pixels and `reach` either side, kept from the last newSpread (the
    // block columns of a grid share their runs and step on each canvas row); null if none is
    // kept for them.
    const BitRow* keptSpread(std::span<const Placed> sets, long long version, i64 step, i64 width,
                             i64 reach) const;
    // A clear row to spread them in, kept for them.
    BitRow& newSpread(std::span<const Placed> sets, long long version, i64 step, i64 width,
                      i64 reach);

private:
    long long m_version = -1;
    i64 m_step = 0;
    std::vector<std::pair<i64, i64>> m_layout;
    std::optional<BitRow> m_spread;
    long long m_spreadVersion = -1;
    i64 m_spreadStep = 0;
    i64 m_spreadWidth = 0;
    i64 m_spreadReach = 0;
    std::vector<std::pair<i64, i64>> m_spreadLayout;
};

// Runs of one row made sorted and disjoint (touching runs joined): the rows of thousands of
// marks a pixel apart that meet one canvas row overlap in a handful of runs, and covering
// those costs a handful of runs at every position instead of thousands.
class RunUnion
{
public:
    // Replaces `runs`, all within [from, to), by their union.
    void merge(std::vector<Run>& runs, i64 from, i64 to);
    // The same where joining pays: for many runs, or runs whose lengths cover their extent
    // twice over. A few hundred short runs are left as they are (joining costs them a sort for
    // nothing); they stay in any order then.
    void mergeIfCrowded(std::vector<Run>& runs, i64 from, i64 to);

private:
    std::vector<int> m_depth; // differences over [from, to], for many runs
};

// Covers, for every set, the union over its positions of position + its runs. All sets are
// placed along one progression with a step greater than zero.
void coverPlaced(RowCover& row, i64 origin, i64 step, std::span<const Placed> sets,
                 long long runsVersion, i64 width, Residues& residues);

// The pixels one drawing covers, as runs per row relative to the point it is drawn at. A
// figure that draws one shape in one colour at many places draws it once on a scratch canvas
// and then covers the window row by row from these runs.
struct Stamp
{
    i64 top = 0;                        // row offset of rows[0]
    std::vector<std::vector<Run>> rows; // runs of each row, left to right, not touching
    i64 bottom() const { return top + i64(rows.size()) - 1; }
};

// Shapes up to this half-extent are stamped; larger ones (beyond every field's range) are
// drawn one by one.
constexpr i64 kMaxStampedSize = 1024;

// What `draw` paints around (reach, reach) on an unpainted scratch canvas of 2·reach + 1
// pixels a side, with a white solid one-pixel pen and a white brush: every pixel it paints
// belongs to the stamp. The shape must stay within reach of its point.
using StampDrawing = std::function<void(render::Canvas& scratch, int x, int y)>;
std::shared_ptr<const Stamp> makeStamp(i64 reach, const StampDrawing& draw);
// The same for a shape within the box [left, right] × [top, bottom] around its point (a
// stroke a thousand pixels long and five wide needs no square a thousand pixels a side).
std::shared_ptr<const Stamp> makeStamp(i64 left, i64 top, i64 right, i64 bottom,
                                       const StampDrawing& draw);
// A stamp of one stroke from its point to its point + (dx, dy), `width` wide and dashed by
// `pattern` as DashedPolyline strokes it.
std::shared_ptr<const Stamp> makeStrokeStamp(i64 dx, i64 dy, int width,
                                             std::span<const double> pattern);

// What a stamp is of: the stamps of different shapes are kept apart whatever their numbers.
enum class StampOf
{
    GridMark,
    NumberLineDot,
    NumberLineTick,
    CircleDot,
    CircleDisc, // with its outline
    CircleRing, // every mark of a ring
    TawaraPiece,
};

// The same, kept in `caches` among the last few made under the shape and the caller's key
// (which must tell apart every shape of its kind `draw` can paint): a redraw while the
// teacher changes another field finds its stamp made.
std::shared_ptr<const Stamp> recentStamp(FigureCaches& caches, StampOf shape,
                                         const std::vector<long long>& key, i64 reach,
                                         const StampDrawing& draw);
// The same within a box around its point, as makeStamp.
std::shared_ptr<const Stamp> recentStamp(FigureCaches& caches, StampOf shape,
                                         const std::vector<long long>& key, i64 left, i64 top,
                                         i64 right, i64 bottom, const StampDrawing& draw);

// Paints the stamp's pixels in one colour with its point at (x, y); cut to the canvas.
void paintStamp(render::Canvas& c, const Stamp& stamp, i64 x, i64 y, render::ColorRef color);

// Paints one stamp in one colour at every place (xs[i], ys[j]) of a lattice, cut to the
// canvas. Painted over each other in copy mode, the stamps give the same picture in any order:
// row by row, the stamp rows that meet a canvas row are joined and then covered along the
// columns, so that thousands of marks, dashes or dots over each other cost the rows they
// cover, not each one's pixels. A family of equal strokes is a lattice of one row or column.
// Given shifts (offsets of at most a few thousand pixels), the stamp is painted at each of
// them across from every place instead: the subdivision ticks of every interval of a number
// line are one lattice.
void paintStampLattice(render::Canvas& c, const Stamp& stamp, Progression xs, Progression ys,
                       render::ColorRef color, std::span<const i64> shifts = {});

// A point a stamp is painted at.
struct Place
{
    i64 x;
    i64 y;
};

// The same at any places (the dots of a ring).
void paintStampAt(render::Canvas& c, const Stamp& stamp, std::vector<Place> places,
                  render::ColorRef color);

} // namespace koyomi::figures
