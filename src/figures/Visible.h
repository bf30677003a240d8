// Integer helpers for figures repeated many times: which repetitions reach the canvas, and
// lines clipped without losing their pen pattern. Shared by every figure renderer.
#pragma once

#include "render/Canvas.h"
#include "render/WholeDivision.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <set>
#include <vector>

namespace koyomi::figures {

using i64 = long long;
using i128 = __int128;

inline bool fitsInt(i64 v)
{
    return v >= INT_MIN && v <= INT_MAX;
}

// Whether the box between two corners (in either order), widened by `margin`, misses the
// canvas.
inline bool outsideCanvas(const render::Canvas& c, i64 x1, i64 y1, i64 x2, i64 y2, i64 margin)
{
    return std::max(x1, x2) + margin < 0 || std::min(x1, x2) - margin >= c.width() ||
           std::max(y1, y2) + margin < 0 || std::min(y1, y2) - margin >= c.height();
}

// Where the first of `count` copies, `step` apart, stands so that the arrangement is centred
// in `extent`: (extent − span − (count − 1)·step) div 2, truncated toward zero, where span is
// how far one copy reaches from where it stands (0 when copies are placed by their centre).
// In 128 bits, so that any value a field can hold while typing stays exact.
inline i128 centredStart(i64 extent, i128 span, i64 count, i128 step)
{
    return (i128(extent) - span - i128(count - 1) * step) / 2;
}

// Layout values beyond this are too large to address: the arrangement is not drawn.
inline bool addressable(i128 v)
{
    constexpr i128 limit = i128(1) << 60;
    return v <= limit && v >= -limit;
}

// A layout value held within what 64-bit arithmetic on it can add to without overflowing.
inline i64 heldLayout(i128 v)
{
    constexpr i128 limit = i128(1) << 61;
    return i64(std::clamp<i128>(v, -limit, limit));
}

// k is a multiple of d; a zero divisor (a skip field typed as −1) matches nothing.
inline bool isMultiple(i64 k, i64 d)
{
    return d != 0 && k % d == 0;
}

using render::ceilDiv;
using render::floorDiv;

// Inclusive range of repetition indices; empty when first > last.
struct Range
{
    i64 first = 0;
    i64 last = -1;
    bool empty() const { return first > last; }
};

// The k in [first, last] for which origin + k·step lies in [lo, hi]. With step 0 every k
// qualifies, or none.
inline Range stepRange(i64 origin, i64 step, i64 first, i64 last, i64 lo, i64 hi)
{
    if (first > last || lo > hi) {
        return {};
    }
    if (step == 0) {
        return origin >= lo && origin <= hi ? Range{first, last} : Range{};
    }
    i64 kMin = 0;
    i64 kMax = 0;
    if (step > 0) {
        kMin = ceilDiv(lo - origin, step);
        kMax = floorDiv(hi - origin, step);
    } else {
        kMin = ceilDiv(origin - hi, -step);
        kMax = floorDiv(origin - lo, -step);
    }
    return Range{std::max(first, kMin), std::min(last, kMax)};
}

// Repetitions k in [first, last] of something drawn at origin + k·step and spanning one
// step (either way) plus `reach`, that touch [0, extent). Repetitions that coincide (step
// 0) draw the same pixels, so only the last is kept.
inline Range visibleCells(i64 origin, i64 step, i64 first, i64 last, i64 reach, i64 extent)
{
    Range r = stepRange(origin, step, first, last, -(std::max<i64>(step, 0) + reach),
                        extent - 1 - std::min<i64>(step, 0) + reach);
    if (step == 0 && !r.empty()) {
        r.first = r.last;
    }
    return r;
}

// Blocks k in [0, count) at origin + k·step, each spanning `size` (either way) plus margin.
inline Range visibleBlocks(i64 origin, i64 step, i64 count, i64 size, i64 margin, i64 extent)
{
    Range r = stepRange(origin, step, 0, count - 1, -(std::max<i64>(size, 0) + margin),
                        extent - 1 - std::min<i64>(size, 0) + margin);
    if (step == 0 && !r.empty()) {
        r.first = r.last;
    }
    return r;
}

// Lines k in [first, last] at origin + k·step whose position lies in [lo, hi], in drawing
// order. Lines that coincide (step 0) differ only in style; each style's last line covers
// all earlier ones of that style, so drawing just those, in order, gives the same pixels.
template <class StyleKey>
std::vector<i64> visibleSteps(i64 origin, i64 step, i64 first, i64 last, i64 lo, i64 hi,
                              StyleKey styleKey)
{
    const Range r = stepRange(origin, step, first, last, lo, hi);
    std::vector<i64> ks;
    if (r.empty()) {
        return ks;
    }
    if (step != 0) {
        ks.reserve(std::size_t(r.last - r.first + 1));
        for (i64 k = r.first; k <= r.last; ++k) {
            ks.push_back(k);
        }
        return ks;
    }
    // A line has at most a few distinct styles; the search for their last lines is bounded
    // so that a count typed far out of range cannot stall the redraw.
    constexpr int kStyles = 3;
    constexpr i64 kSearch = i64(1) << 20;
    std::set<decltype(styleKey(first))> seen;
    for (i64 k = r.last; k >= r.first && r.last - k < kSearch && int(seen.size()) < kStyles; --k) {
        if (seen.insert(styleKey(k)).second) {
            ks.insert(ks.begin(), k);
        }
    }
    return ks;
}

// One-pixel horizontal or vertical line from (x1, y1) toward (x2, y2), end excluded, with
// coordinates of any size. The start is moved toward the canvas by whole pattern periods
// (every pen pattern repeats within 24 pixels), so the pattern lands where it would have.
inline void drawClippedLine(render::Canvas& c, i64 x1, i64 y1, i64 x2, i64 y2)
{
    constexpr i64 period = 24;
    const bool horizontal = y1 == y2;
    i64 a = horizontal ? x1 : y1;
    i64 b = horizontal ? x2 : y2;
    const i64 across = horizontal ? y1 : x1;
    const i64 extent = horizontal ? c.width() : c.height();
    const i64 acrossExtent = horizontal ? c.height() : c.width();
    if (across < 0 || across >= acrossExtent || a == b) {
        return;
    }
    if (b > a) {
        if (a >= extent || b <= 0) {
            return;
        }
        if (a < -period) {
            a += ceilDiv(-period - a, period) * period;
        }
        b = std::min(b, extent + 1);
    } else {
        if (a < 0 || b >= extent - 1) {
            return;
        }
        if (a > extent + period) {
            a -= ceilDiv(a - extent - period, period) * period;
        }
        b = std::max<i64>(b, -2);
    }
    if (horizontal) {
        c.moveTo(int(a), int(across));
        c.lineTo(int(b), int(across));
    } else {
        c.moveTo(int(across), int(a));
        c.lineTo(int(across), int(b));
    }
}

} // namespace koyomi::figures
