#include "figures/RowCoverage.h"

#include "render/Palette.h"
#include "render/PathUtils.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>

namespace koyomi::figures {

void Residues::build(std::span<const Placed> sets, long long version, i64 step, i64 largestLast)
{
    std::vector<std::pair<i64, i64>> layout;
    for (const Placed& set : sets) {
        layout.emplace_back(set.shift, set.last);
    }
    if (version >= 0 && version == m_version && step == m_step && layout == m_layout) {
        return;
    }
    m_version = version;
    m_step = step;
    m_layout = std::move(layout);
    any.assign(std::size_t(step), 0);
    least.assign(std::size_t(step), INT16_MAX);
    greatest.assign(std::size_t(step), INT16_MIN);
    // Offsets are within a mark's reach and the step within the window, so residues are
    // taken in 32 bits, which divides several times faster.
    const auto step32 = std::int32_t(step);
    auto residue = [step32](i64 u) {
        const std::int32_t r = std::int32_t(u) % step32;
        return i64(r < 0 ? r + step32 : r);
    };
    for (const Placed& set : sets) {
        const i64 lift = (largestLast - set.last) * step;
        // Offsets [from, to), at most a step of them: a residue's first offset there is its
        // least, its last the greatest.
        auto add = [&](i64 from, i64 to) {
            i64 j = residue(from);
            i64 k = residue(to - 1);
            for (i64 i = 0; i < to - from; ++i) {
                any[std::size_t(j)] = 1;
                least[std::size_t(j)] = std::min(least[std::size_t(j)], std::int16_t(from + i));
                greatest[std::size_t(k)] =
                    std::max(greatest[std::size_t(k)], std::int16_t(to - 1 - i - lift));
                j = j + 1 == step ? 0 : j + 1;
                k = k == 0 ? step - 1 : k - 1;
            }
        };
        // A run of a step or more holds every residue: of all such runs only the first
        // step of the leftmost and the last step of the rightmost can hold a least or a
        // greatest offset.
        i64 longFrom = std::numeric_limits<i64>::max();
        i64 longTo = std::numeric_limits<i64>::min();
        for (const Run& r : *set.runs) {
            if (r.to - r.from >= step) {
                longFrom = std::min<i64>(longFrom, r.from);
                longTo = std::max<i64>(longTo, r.to);
            } else {
                add(r.from + set.shift, r.to + set.shift);
            }
        }
        if (longFrom <= longTo) {
            add(longFrom + set.shift, longFrom + set.shift + step);
            add(longTo + set.shift - step, longTo + set.shift);
        }
    }
}

KOYOMI_PIXEL_LOOP void RunUnion::merge(std::vector<Run>& runs, i64 from, i64 to)
{
    if (runs.size() < 2) {
        return;
    }
    // A few runs are sorted; many are added up over their extent, which costs the extent once
    // rather than a sort of them all.
    if (runs.size() <= 32 || i64(runs.size()) * 8 < to - from) {
        std::sort(runs.begin(), runs.end(),
                  [](const Run& a, const Run& b) { return a.from < b.from; });
        std::size_t kept = 0;
        for (std::size_t i = 1; i < runs.size(); ++i) {
            if (runs[i].from <= runs[kept].to) {
                runs[kept].to = std::max(runs[kept].to, runs[i].to);
            } else {
                runs[++kept] = runs[i];
            }
        }
        runs.resize(kept + 1);
        return;
    }
    m_depth.assign(std::size_t(to - from + 1), 0);
    for (const Run& r : runs) {
        ++m_depth[std::size_t(r.from - from)];
        --m_depth[std::size_t(r.to - from)];
    }
    runs.clear();
    int depth = 0;
    for (i64 x = from; x < to; ++x) {
        const int before = depth;
        depth += m_depth[std::size_t(x - from)];
        if (before == 0 && depth > 0) {
            runs.push_back(Run{std::int32_t(x), std::int32_t(x)});
        }
        if (before > 0 && depth == 0) {
            runs.back().to = std::int32_t(x);
        }
    }
    if (depth > 0) {
        runs.back().to = std::int32_t(to);
    }
}

void RunUnion::mergeIfCrowded(std::vector<Run>& runs, i64 from, i64 to)
{
    i64 covering = 0;
    for (const Run& r : runs) {
        covering += r.to - r.from;
    }
    if (runs.size() > 256 || covering > 2 * (to - from)) {
        merge(runs, from, to);
    }
}

const BitRow* Residues::keptSpread(std::span<const Placed> sets, long long version, i64 step,
                                   i64 width, i64 reach) const
{
    if (version < 0 || !m_spread || version != m_spreadVersion || step != m_spreadStep ||
        width != m_spreadWidth || reach != m_spreadReach || sets.size() != m_spreadLayout.size()) {
        return nullptr;
    }
    for (std::size_t i = 0; i < sets.size(); ++i) {
        if (m_spreadLayout[i] != std::pair(sets[i].shift, sets[i].last)) {
            return nullptr;
        }
    }
    return &*m_spread;
}

BitRow& Residues::newSpread(std::span<const Placed> sets, long long version, i64 step, i64 width,
                            i64 reach)
{
    m_spread.emplace(width, reach);
    m_spreadVersion = version;
    m_spreadStep = step;
    m_spreadWidth = width;
    m_spreadReach = reach;
    m_spreadLayout.clear();
    for (const Placed& set : sets) {
        m_spreadLayout.emplace_back(set.shift, set.last);
    }
    return *m_spread;
}

const std::vector<std::uint8_t>* KnownCovers::find(const std::string& key) const
{
    const auto found = m_known.find(key);
    return found == m_known.end() ? nullptr : &found->second;
}

void KnownCovers::keep(const std::string& key, const std::vector<std::uint8_t>& mask)
{
    if (m_known.size() < kRows) {
        m_known.insert_or_assign(key, mask);
    }
}

void coverPlaced(RowCover& row, i64 origin, i64 step, std::span<const Placed> sets,
                 long long runsVersion, i64 width, Residues& residues)
{
    // The positions of a set whose marks can meet the window.
    auto shown = [&](const Placed& set) {
        return stepRange(origin, step, 0, set.last, -(set.to + set.shift) + 1,
                         width - 1 - (set.from + set.shift));
    };
    i64 minAll = std::numeric_limits<i64>::max();
    i64 maxAll = std::numeric_limits<i64>::min();
    i64 largestLast = 0;
    i64 shortest = std::numeric_limits<i64>::max();
    i64 widest = 0;
    i64 visible = 0;
    for (const Placed& set : sets) {
        const i64 lo = set.from + set.shift;
        const i64 hi = set.to + set.shift;
        minAll = std::min(minAll, lo);
        maxAll = std::max(maxAll, hi);
        largestLast = std::max(largestLast, set.last);
        shortest = std::min(shortest, set.last + 1);
        widest = std::max(widest, set.to - set.from);
        const Range k = shown(set);
        visible = std::max<i64>(visible, k.empty() ? 0 : k.last - k.first + 1);
    }
    if (visible == 0) {
        return;
    }
    // The tables hold offsets in sixteen bits; sets placed far apart (the two parts of a
    // row of centres either side of x = 0) are covered one at a time.
    const i64 limit = INT16_MAX - 1;
    bool fits = true;
    for (const Placed& set : sets) {
        const i64 lift = (largestLast - set.last) * step;
        fits = fits && set.from + set.shift - lift >= -limit && set.to + set.shift <= limit;
    }
    if (!fits && sets.size() > 1) {
        for (const Placed& set : sets) {
            const Placed alone{set.runs, set.from, set.to, 0, set.last};
            coverPlaced(row, origin + set.shift, step, std::span(&alone, 1), -1, width, residues);
        }
        return;
    }
    const i64 span = maxAll - minAll;
    // Sets far apart along the step (the two parts of a row of centres either side of x = 0,
    // thousands of pixels apart) span too much together for the residues, and as bits their
    // reach would be the whole distance between them. Each alone costs no more: the
    // residues, bits over its own reach, or its runs at its own positions.
    if (fits && sets.size() > 1 && step <= width && shortest * step < span + step &&
        span > widest + step) {
        for (const Placed& set : sets) {
            const Placed alone{set.runs, set.from, set.to, 0, set.last};
            coverPlaced(row, origin + set.shift, step, std::span(&alone, 1), -1, width, residues);
        }
        return;
    }
    if (!fits || step > width || visible < 5 || shortest * step < span + step) {
        // Short runs at many positions (the arms of a thousand crosses a pixel or two wide,
        // at points two pixels apart) are spread as bits instead: a shift of the row for each
        // doubling of the positions. Shifts of the row cost its words; runs one by one cost
        // every run at every position.
        const i64 reach = std::max(std::abs(minAll), std::abs(maxAll)) + span + step + 64;
        const i64 words = (width + 2 * reach) / 64 + 2;
        const i64 doublings = std::bit_width(std::uint64_t(visible)) + 2;
        // Sets whose marks at every position lie within the bits of a row, relative to the
        // origin, spread alike wherever the origin is: spread at every position, shown or
        // not (a mark at a position not shown does not reach the window), they are kept for
        // the next origin with the same runs (the block columns of a grid on one canvas row,
        // those cut by the window's edges too), where they cost a shift of the row.
        bool whole = true;
        for (const Placed& set : sets) {
            whole = whole && set.from + set.shift >= -reach &&
                    set.last * step + set.to + set.shift <= width + reach;
        }
        if (const BitRow* kept =
                whole ? residues.keptSpread(sets, runsVersion, step, width, reach) : nullptr) {
            BitRow covered(width, reach);
            covered.orShifted(*kept, origin);
            row.addBits(covered);
            return;
        }
        i64 oneByOne = 0;
        for (const Placed& set : sets) {
            for (const Run& r : *set.runs) {
                oneByOne += r.to - r.from >= step ? 1 : visible;
            }
        }
        const bool keep = whole && step <= width && oneByOne > 16 * words;
        if (keep || (step <= width && oneByOne > 8 * words * doublings * i64(sets.size()))) {
            // Each set spread from its first position that meets the window, placed at
            // `at`; sets kept from their first position, relative to the origin.
            auto spreadInto = [&](BitRow& into, i64 at) {
                BitRow offsets(width, reach);
                BitRow spread(width, reach);
                for (const Placed& set : sets) {
                    const Range k = keep ? Range{0, set.last} : shown(set);
                    if (k.empty()) {
                        continue;
                    }
                    offsets.clear();
                    for (const Run& r : *set.runs) {
                        offsets.setRun(r.from + set.shift, r.to + set.shift);
                    }
                    into.orProgression(offsets, at + k.first * step, step, k.last - k.first + 1,
                                       spread);
                }
            };
            BitRow covered(width, reach);
            if (keep) {
                BitRow& relative = residues.newSpread(sets, runsVersion, step, width, reach);
                spreadInto(relative, 0);
                covered.orShifted(relative, origin);
            } else {
                spreadInto(covered, origin);
            }
            row.addBits(covered);
            return;
        }
        // Few positions, or a row shorter than a mark: every run at every visible position,
        // one span when the run bridges the step.
        for (const Placed& set : sets) {
            const Range k = shown(set);
            const i64 base = origin + set.shift;
            for (const Run& r : *set.runs) {
                if (r.to - r.from >= step) {
                    row.addRun(base + k.first * step + r.from, base + k.last * step + r.to);
                } else {
                    for (i64 i = k.first; i <= k.last; ++i) {
                        row.addRun(base + i * step + r.from, base + i * step + r.to);
                    }
                }
            }
        }
        return;
    }
    // x is covered by an offset u with the residue of x − origin at the position
    // (x − origin − u) ÷ step of its set. Away from the ends every such position exists and
    // the cover repeats with the step; near the first position only offsets up to
    // x − origin have one, near the last only offsets from x − origin − last·step (every
    // set is at least a mark longer than the other bound, so one bound at a time).
    residues.build(sets, runsVersion, step, largestLast);
    i64 endFrom = std::numeric_limits<i64>::max();
    i64 endTo = std::numeric_limits<i64>::min();
    for (const Placed& set : sets) {
        endFrom = std::min(endFrom, set.from + set.shift + (set.last + 1) * step);
        endTo = std::max(endTo, set.to + set.shift + set.last * step);
    }
    const i64 startTo = maxAll - step;
    row.addBounded(origin + minAll, origin + startTo, origin, residues.least, minAll, true);
    row.addPattern(origin + startTo, origin + endFrom, origin, residues.any);
    row.addBounded(origin + endFrom, origin + endTo, origin, residues.greatest,
                   endFrom - largestLast * step, false);
}
std::shared_ptr<const Stamp> makeStamp(i64 reach, const StampDrawing& draw)
{
    return makeStamp(-reach, -reach, reach, reach, draw);
}

namespace {

// Stamps are drawn on a scratch image kept from one stamp to the next, every pixel unpainted
// between them: the ring of a circle two thousand pixels across then costs the pixels it
// paints, not tens of megabytes of memory the system maps in page by page (a third of its
// drawing). A stamp drawn while another is (a dot of a ring's stamp) takes one of its own.
class KeptScratch
{
public:
    // Up to 64 MB kept, the largest stamp a ring of marks makes.
    static constexpr std::size_t kMaxPixels = std::size_t(1) << 24;

    static KeptScratch& ofThread()
    {
        thread_local KeptScratch kept;
        return kept;
    }

    // Unpainted pixels for a stamp of this many, or none when they are in use or too many.
    QRgb* take(std::size_t pixels)
    {
        if (m_inUse || pixels > kMaxPixels) {
            return nullptr;
        }
        if (m_size < pixels) {
            m_pixels.reset(render::unpaintedPixels(pixels, true));
            m_size = m_pixels ? pixels : 0;
        }
        m_inUse = m_pixels != nullptr;
        return m_pixels.get();
    }

    // Given back, all unpainted again, or (clean false) left as the drawing left them and
    // so let go.
    void giveBack(bool clean)
    {
        m_inUse = false;
        if (!clean) {
            m_pixels.reset();
            m_size = 0;
        }
    }

private:
    struct Free
    {
        void operator()(QRgb* p) const { std::free(p); }
    };
    std::unique_ptr<QRgb, Free> m_pixels;
    std::size_t m_size = 0;
    bool m_inUse = false;
};

} // namespace

KOYOMI_PIXEL_LOOP std::shared_ptr<const Stamp> makeStamp(i64 left, i64 top, i64 right, i64 bottom,
                                                         const StampDrawing& draw)
{
    const int side = int(right - left + 1);
    const int rowsDown = int(bottom - top + 1);
    KeptScratch& kept = KeptScratch::ofThread();
    QRgb* const keptPixels = kept.take(std::size_t(side) * std::size_t(rowsDown));
    // Given back all unpainted when the stamp is read, or let go if the drawing throws.
    struct GiveBack
    {
        KeptScratch& kept;
        bool taken;
        bool clean = false;
        ~GiveBack()
        {
            if (taken) {
                kept.giveBack(clean);
            }
        }
    } giveBack{kept, keptPixels != nullptr};
    std::optional<render::Canvas> made;
    if (keptPixels) {
        made.emplace(keptPixels, side, rowsDown, render::Unpainted{});
    } else {
        made.emplace(side, rowsDown, render::Unpainted{});
    }
    render::Canvas& scratch = *made;
    scratch.setPenColor(render::kWhite);
    scratch.setPenStyle(render::PenStyle::Solid);
    scratch.setPenWidth(1);
    scratch.setBrushColor(render::kWhite);
    draw(scratch, int(-left), int(-top));
    const QImage& image = scratch.image();
    auto stamp = std::make_shared<Stamp>();
    std::vector<std::vector<Run>> rows(static_cast<std::size_t>(rowsDown));
    i64 first = -1;
    i64 last = -1;
    // Read once, and only where the drawing wrote: a dot of a thousand pixels is scanned over
    // four million.
    const render::WrittenBox box = scratch.written();
    for (int y = int(box.top); !box.empty() && y <= int(box.bottom); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const int end = int(box.right) + 1;
        render::eachPaintedRun(line, int(box.left), end, [&](int start, int stop) {
            rows[std::size_t(y)].push_back(
                Run{std::int32_t(start + left), std::int32_t(stop + left)});
        });
        if (keptPixels) {
            // The kept image is unpainted again row by row, each row while it is at hand: a
            // ring's stamp is tens of megabytes, which a second pass reads in again.
            std::fill_n(keptPixels + std::size_t(y) * std::size_t(side) + box.left, end - box.left,
                        render::kUnpaintedPixel);
        }
        if (!rows[std::size_t(y)].empty()) {
            first = first < 0 ? y : first;
            last = y;
        }
    }
    if (first >= 0) {
        stamp->top = first + top;
        stamp->rows.assign(std::make_move_iterator(rows.begin() + first),
                           std::make_move_iterator(rows.begin() + last + 1));
    }
    if (keptPixels) {
        scratch.forgetWritten();
        giveBack.clean = true;
    }
    return stamp;
}

namespace {

struct RecentStamps
{
    RecentlyKept<std::pair<StampOf, std::vector<long long>>, std::shared_ptr<const Stamp>> kept{6};
};

} // namespace

std::shared_ptr<const Stamp> recentStamp(FigureCaches& caches, StampOf shape,
                                         const std::vector<long long>& key, i64 reach,
                                         const StampDrawing& draw)
{
    return recentStamp(caches, shape, key, -reach, -reach, reach, reach, draw);
}

std::shared_ptr<const Stamp> recentStamp(FigureCaches& caches, StampOf shape,
                                         const std::vector<long long>& key, i64 left, i64 top,
                                         i64 right, i64 bottom, const StampDrawing& draw)
{
    return caches.part<RecentStamps>().kept.get(
        {shape, key}, [&] { return makeStamp(left, top, right, bottom, draw); });
}

KOYOMI_PIXEL_LOOP void paintStamp(render::Canvas& c, const Stamp& stamp, i64 x, i64 y,
                                  render::ColorRef color)
{
    const i64 w = c.width();
    const QRgb rgb = render::toQRgb(color);
    const i64 from = std::max<i64>(0, y + stamp.top);
    const i64 to = std::min<i64>(c.height() - 1, y + stamp.bottom());
    for (i64 row = from; row <= to; ++row) {
        const std::vector<Run>& runs = stamp.rows[std::size_t(row - y - stamp.top)];
        if (runs.empty()) {
            continue;
        }
        const i64 first = std::clamp<i64>(x + runs.front().from, 0, w);
        const i64 last = std::clamp<i64>(x + runs.back().to, 0, w);
        QRgb* const line = c.writableRow(int(row), int(first), int(last));
        for (const Run& run : runs) {
            const i64 left = std::max<i64>(x + run.from, 0);
            const i64 right = std::min<i64>(x + run.to, w);
            if (left < right) {
                std::fill(line + left, line + right, rgb);
            }
        }
    }
}

std::shared_ptr<const Stamp> makeStrokeStamp(i64 dx, i64 dy, int width,
                                             std::span<const double> pattern)
{
    const i64 m = render::strokeReach(width) + 2;
    return makeStamp(
        std::min<i64>(0, dx) - m, std::min<i64>(0, dy) - m, std::max<i64>(0, dx) + m,
        std::max<i64>(0, dy) + m, [&](render::Canvas& c, int x, int y) {
            const std::array<QPoint, 2> one{QPoint(x, y), QPoint(int(x + dx), int(y + dy))};
            render::DashedPolyline(one, c, render::kWhite, width, pattern, true);
        });
}

namespace {

// Paints the cover's marks on row y.
void paintCover(render::Canvas& c, i64 y, RowCover& cover, render::ColorRef color)
{
    const std::vector<std::uint8_t>& mask = cover.finish();
    const auto [lo, hi] = cover.extent();
    c.paintMaskedRow(int(y), int(lo),
                     std::span(mask).subspan(std::size_t(lo), std::size_t(hi - lo)), color);
    cover.clear();
}

// Adds the runs of `runs`, moved by dx and cut to [−1, width], to `out`: a place far beyond
// the canvas keeps its runs within 32 bits.
void addMoved(std::vector<Run>& out, const std::vector<Run>& runs, i64 dx, i64 width)
{
    for (const Run& r : runs) {
        const i64 from = std::clamp<i64>(dx + r.from, -1, width);
        const i64 to = std::clamp<i64>(dx + r.to, -1, width);
        if (from < to) {
            out.push_back(Run{std::int32_t(from), std::int32_t(to)});
        }
    }
}

} // namespace

void paintStampLattice(render::Canvas& c, const Stamp& stamp, Progression xs, Progression ys,
                       render::ColorRef color, std::span<const i64> shifts)
{
    if (stamp.rows.empty() || xs.count <= 0 || ys.count <= 0) {
        return;
    }
    xs = increasing(xs.origin, xs.step, xs.count);
    ys = increasing(ys.origin, ys.step, ys.count);
    const i64 w = c.width();
    const i64 from = std::max<i64>(0, ys.origin + stamp.top);
    const i64 to =
        std::min<i64>(c.height() - 1, ys.origin + (ys.count - 1) * ys.step + stamp.bottom());
    RowCover cover(w);
    RunUnion unions;
    Residues residues;
    std::vector<Run> runs;
    // Rows of the stamp often repeat (a tick is the same run from its top to its bottom): the
    // runs spread over the shifts, and the residues covering them, are worked out again only
    // when a row's runs differ from the row before.
    std::vector<Run> before;
    std::vector<Run> spread;
    long long version = 0;
    i64 spreadLo = 0;
    i64 spreadHi = 0;
    for (i64 y = from; y <= to; ++y) {
        // The lattice rows whose stamp rows meet this row, joined.
        const Range j =
            stepRange(ys.origin, ys.step, 0, ys.count - 1, y - stamp.bottom(), y - stamp.top);
        runs.clear();
        i64 lo = std::numeric_limits<i64>::max();
        i64 hi = std::numeric_limits<i64>::min();
        for (i64 k = j.first; k <= j.last; ++k) {
            const std::vector<Run>& add =
                stamp.rows[std::size_t(y - ys.origin - k * ys.step - stamp.top)];
            if (!add.empty()) {
                runs.insert(runs.end(), add.begin(), add.end());
                lo = std::min<i64>(lo, add.front().from);
                hi = std::max<i64>(hi, add.back().to);
            }
        }
        if (runs.empty()) {
            continue;
        }
        if (j.last > j.first) {
            unions.mergeIfCrowded(runs, lo, hi);
        }
        if (runs != before) {
            before = runs;
            ++version;
            spread.clear();
            spreadLo = lo;
            spreadHi = hi;
            if (!shifts.empty()) {
                for (const i64 shift : shifts) {
                    for (const Run& r : runs) {
                        spread.push_back(
                            Run{std::int32_t(r.from + shift), std::int32_t(r.to + shift)});
                    }
                }
                spreadLo = lo + *std::min_element(shifts.begin(), shifts.end());
                spreadHi = hi + *std::max_element(shifts.begin(), shifts.end());
                unions.merge(spread, spreadLo, spreadHi);
            }
        }
        const std::vector<Run>& placed = shifts.empty() ? runs : spread;
        if (xs.count == 1) {
            for (const Run& r : placed) {
                cover.addRun(xs.origin + r.from, xs.origin + r.to);
            }
        } else {
            const Placed set{&placed, spreadLo, spreadHi, 0, xs.count - 1};
            coverPlaced(cover, xs.origin, xs.step, std::span(&set, 1), version, w, residues);
        }
        paintCover(c, y, cover, color);
    }
}

void paintStampAt(render::Canvas& c, const Stamp& stamp, std::vector<Place> places,
                  render::ColorRef color)
{
    if (stamp.rows.empty() || places.empty()) {
        return;
    }
    // Places that round to one pixel (thousands of dots a fraction of a pixel apart around a
    // ring) paint the same pixels: each is painted once.
    std::sort(places.begin(), places.end(),
              [](const Place& a, const Place& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    places.erase(
        std::unique(places.begin(), places.end(),
                    [](const Place& a, const Place& b) { return a.x == b.x && a.y == b.y; }),
        places.end());
    const i64 w = c.width();
    const QRgb rgb = render::toQRgb(color);
    const i64 from = std::max<i64>(0, places.front().y + stamp.top);
    const i64 to = std::min<i64>(c.height() - 1, places.back().y + stamp.bottom());
    RunUnion unions;
    std::vector<Run> runs;
    // A stamp of at most one run a row (a filled dot): the runs a canvas row gets are joined
    // without sorting them (a ring of ten thousand dots larger than the window, every one of
    // them meeting every row). A run grown from the first by every run that meets it as they
    // come, which every other run meets too, joins them all: they are one run from the least
    // start to the greatest end. Otherwise they are sorted and joined as any runs are.
    const bool oneRunRows =
        std::all_of(stamp.rows.begin(), stamp.rows.end(),
                    [](const std::vector<Run>& row) { return row.size() <= 1; });
    // The places whose stamp meets row y are those from y − bottom to y − top: a window that
    // slides down the sorted places.
    std::size_t begin = 0;
    std::size_t end = 0;
    for (i64 y = from; y <= to; ++y) {
        while (begin < places.size() && places[begin].y < y - stamp.bottom()) {
            ++begin;
        }
        end = std::max(end, begin);
        while (end < places.size() && places[end].y <= y - stamp.top) {
            ++end;
        }
        if (oneRunRows) {
            // The run of the stamp at place i on this row, if any.
            auto runAt = [&](std::size_t i, i64& runFrom, i64& runTo) {
                const std::vector<Run>& row = stamp.rows[std::size_t(y - places[i].y - stamp.top)];
                if (row.empty()) {
                    return false;
                }
                runFrom = places[i].x + row.front().from;
                runTo = places[i].x + row.front().to;
                return true;
            };
            i64 grownFrom = 0;
            i64 grownTo = -1;
            i64 leastFrom = std::numeric_limits<i64>::max();
            i64 greatestTo = std::numeric_limits<i64>::min();
            bool left = false; // a run the grown one did not meet when it came
            for (std::size_t i = begin; i < end; ++i) {
                i64 runFrom = 0;
                i64 runTo = 0;
                if (!runAt(i, runFrom, runTo)) {
                    continue;
                }
                leastFrom = std::min(leastFrom, runFrom);
                greatestTo = std::max(greatestTo, runTo);
                if (grownFrom > grownTo) {
                    grownFrom = runFrom;
                    grownTo = runTo;
                } else if (runFrom <= grownTo && runTo >= grownFrom) {
                    grownFrom = std::min(grownFrom, runFrom);
                    grownTo = std::max(grownTo, runTo);
                } else {
                    left = true;
                }
            }
            if (grownFrom > grownTo) {
                continue; // no run on this row
            }
            bool joined = true;
            for (std::size_t i = begin; left && joined && i < end; ++i) {
                i64 runFrom = 0;
                i64 runTo = 0;
                joined = !runAt(i, runFrom, runTo) || (runFrom <= grownTo && runTo >= grownFrom);
            }
            if (joined) {
                const i64 paintFrom = std::max<i64>(leastFrom, 0);
                const i64 paintTo = std::min<i64>(greatestTo, w);
                if (paintFrom < paintTo) {
                    QRgb* const line = c.writableRow(int(y), int(paintFrom), int(paintTo));
                    std::fill(line + paintFrom, line + paintTo, rgb);
                }
                continue;
            }
        }
        runs.clear();
        for (std::size_t i = begin; i < end; ++i) {
            addMoved(runs, stamp.rows[std::size_t(y - places[i].y - stamp.top)], places[i].x, w);
        }
        if (runs.empty()) {
            continue;
        }
        unions.merge(runs, -1, w + 1);
        QRgb* const line =
            c.writableRow(int(y), std::max(runs.front().from, 0), std::min<i64>(runs.back().to, w));
        for (const Run& r : runs) {
            const i64 left = std::max<i64>(r.from, 0);
            const i64 right = std::min<i64>(r.to, w);
            if (left < right) {
                std::fill(line + left, line + right, rgb);
            }
        }
    }
}

} // namespace koyomi::figures
