// The union of one shape drawn at many places, one canvas row at a time. Figures that repeat
// a single shape in a single colour (marks at lattice points, lines of one family) give the
// same picture in whatever order the copies are drawn; building each row's cover from the
// shape's rows and the places' progressions costs what the window costs, not what the
// copies drawn over each other would.
#pragma once

#include "figures/Visible.h"
#include "render/PixelLoop.h"

#include <algorithm>
#include <cstdint>
#include <span>
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
        if (from < to) {
            ++m_diff[std::size_t(from)];
            --m_diff[std::size_t(to)];
            m_runs = true;
            m_any = true;
        }
    }

    // Marks x in [from, to) ∩ window where pattern[(x − origin) mod period] is set.
    KOYOMI_PIXEL_LOOP void addPattern(i64 from, i64 to, i64 origin,
                                      const std::vector<std::uint8_t>& pattern)
    {
        if (!clip(from, to)) {
            return;
        }
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

    // The row's cover worked out: one byte per pixel, not zero where covered. It stays until
    // clear().
    KOYOMI_PIXEL_LOOP const std::vector<std::uint8_t>& finish()
    {
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

    KOYOMI_PIXEL_LOOP void clear()
    {
        if (m_any) {
            std::fill(m_mask.begin(), m_mask.end(), 0);
            m_any = false;
        }
    }

private:
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
    bool m_runs = false; // differences to add up
    bool m_any = false;  // anything to paint
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

private:
    long long m_version = -1;
    i64 m_step = 0;
    std::vector<std::pair<i64, i64>> m_layout;
};

// Covers, for every set, the union over its positions of position + its runs. All sets are
// placed along one progression with a step greater than zero.
void coverPlaced(RowCover& row, i64 origin, i64 step, std::span<const Placed> sets,
                 long long runsVersion, i64 width, Residues& residues);

} // namespace koyomi::figures
