#include "figures/slopegrid/SlopeGrid.h"

#include "figures/Rounding.h"
#include "figures/RowCoverage.h"
#include "figures/Visible.h"
#include "render/Palette.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace koyomi::figures {

using render::Canvas;

namespace {

// Sets the pen the lines are drawn with; false when they draw nothing at all. The background
// is laid first unless the rows are to be written whole.
bool beginSlopeGrid(Canvas& c, const SlopeGridParams& p, const render::Frame& frame,
                    bool background = true)
{
    render::beginFigure(c, frame, background);
    render::Pen pen;
    pen.color = render::paletteColor(p.lineColor, render::kWhite);
    pen.style = render::lineStylePen(p.lineKind, render::PenStyle::Solid);
    c.setPen(pen);
    // A spacing below one pixel has no lines to draw; nor has a line kind of no line.
    return p.spacing >= 1 && p.lineWidth >= 1 && pen.style != render::PenStyle::Clear;
}

// The families in drawing order: lines from (start + t, 0) to (start + t + across, H).
struct Family
{
    long long across;     // run, −run or 0
    long long firstStart; // start of the first line
    long long count;      // lines, d apart
};

std::vector<Family> families(const SlopeGridLayout& l, long long d, long long half)
{
    return {
        {l.run, -l.q * d, l.q + l.r + 1}, // falling
        {-l.run, 0, l.q + l.r + 1},       // rising
        {0, 0, l.r + 1},                  // vertical
        {0, half, l.r + 1},               // half-step vertical
    };
}

} // namespace

SlopeGridLayout slopeGridLayout(int spacing, int width, int height)
{
    const long double d = spacing;
    return SlopeGridLayout{roundHalfEven(height * kRootThree / d), roundHalfEven(width / d),
                           roundHalfEven(height * kRootThree)};
}

void drawSlopeGridLineByLine(Canvas& c, const SlopeGridParams& p, const render::Frame& frame)
{
    if (!beginSlopeGrid(c, p, frame)) {
        return;
    }
    const long long d = p.spacing;
    const long long h = frame.height;
    const SlopeGridLayout l = slopeGridLayout(p.spacing, frame.width, frame.height);
    for (const Family& f : families(l, d, roundHalfEven(d / 2.0L))) {
        for (long long t = 0; t < p.lineWidth; ++t) {
            for (long long i = 0; i < f.count; ++i) {
                const long long x = f.firstStart + d * i + t;
                // Lines wholly beside the window are left out; the rest are drawn whole.
                if (std::max(x, x + f.across) < 0 || std::min(x, x + f.across) >= c.width() ||
                    !fitsInt(x) || !fitsInt(x + f.across)) {
                    continue;
                }
                c.moveTo(int(x), 0);
                c.lineTo(int(x + f.across), int(h));
            }
        }
    }
}

namespace {

// The pixels of one family's line on each row, relative to the line's start on the top edge,
// thickened to the right by the other lines of its width and joined: runs row by row.
struct FamilyRows
{
    std::vector<std::size_t> start; // row y's runs are runs[start[y] .. start[y + 1])
    std::vector<Run> runs;
};

FamilyRows familyRows(long long across, long long h, long long w, render::PenStyle style)
{
    FamilyRows f;
    f.start.reserve(std::size_t(h + 2));
    f.start.push_back(0);
    std::vector<QPoint> pixels;
    if (fitsInt(across) && fitsInt(h)) {
        pixels = render::linePixels(QPoint(0, 0), QPoint(int(across), int(h)), style);
    }
    // The walk goes down row by row, and along each row one way: a row's pixels are a stretch
    // of it, read from the left.
    f.runs.reserve(pixels.size());
    std::size_t at = 0;
    for (long long y = 0; y <= h; ++y) {
        const std::size_t from = at;
        while (at < pixels.size() && pixels[at].y() == y) {
            ++at;
        }
        const std::size_t first = f.runs.size();
        for (std::size_t k = 0; k < at - from; ++k) {
            const int x = pixels[across >= 0 ? from + k : at - 1 - k].x();
            const Run thick{x, std::int32_t(x + w)};
            if (f.runs.size() > first && thick.from <= f.runs.back().to) {
                f.runs.back().to = std::max(f.runs.back().to, thick.to);
            } else {
                f.runs.push_back(thick);
            }
        }
        f.start.push_back(f.runs.size());
    }
    return f;
}

} // namespace

void drawSlopeGrid(Canvas& c, const SlopeGridParams& p, const render::Frame& frame)
{
    // Every line has the same colour and style and the lines are drawn in copy mode, so the
    // picture is the union of the lines' pixels: built row by row, each family's lines being
    // one line shifted along the top edge.
    if (c.penMode() != render::PenMode::Copy || !beginSlopeGrid(c, p, frame, false)) {
        drawSlopeGridLineByLine(c, p, frame);
        return;
    }
    const long long d = p.spacing;
    const long long h = std::max(frame.height, 0);
    const long long width = c.width();
    const SlopeGridLayout l = slopeGridLayout(p.spacing, frame.width, frame.height);
    // Thicknesses beyond this put every copy of every line right of the window.
    const long long widest =
        width + 2 * std::abs(l.run) + std::min(d, 2 * (width + std::abs(l.run))) + 3;
    const long long w = std::min<long long>(p.lineWidth, widest);

    const std::vector<Family> all = families(l, d, roundHalfEven(d / 2.0L));
    // The two vertical families share their rows.
    const FamilyRows shapes[3] = {familyRows(all[0].across, h, w, c.pen().style),
                                  familyRows(all[1].across, h, w, c.pen().style),
                                  familyRows(0, h, w, c.pen().style)};
    const QRgb ink = render::toQRgb(c.pen().color);
    const QRgb paper = render::toQRgb(render::backgroundColor(frame.whiteBackground));
    // Each row is written once, whole: lines and background together. Away from the ends of
    // its families a row repeats with the spacing (every line that can reach a pixel there
    // exists), so one period is worked out and copied along; the few pixels near the ends are
    // worked out one by one.
    const long long rows = std::min<long long>(c.height(), h + 1);
    constexpr long long kLongestPeriod = 1 << 16;
    const long long period = std::min(std::max<long long>(d, 1), kLongestPeriod);
    std::vector<QRgb> shortPeriod(static_cast<std::size_t>(period));
    struct Placed
    {
        long long firstStart;
        long long count;
        std::span<const Run> runs;
    };
    std::vector<Placed> placed;
    for (long long y = 0; y < rows; ++y) {
        placed.clear();
        long long middleFrom = 0;
        long long middleTo = width - 1;
        for (std::size_t k = 0; k < all.size(); ++k) {
            const FamilyRows& shape = shapes[std::min<std::size_t>(k, 2)];
            const std::span<const Run> runs(shape.runs.data() + shape.start[std::size_t(y)],
                                            shape.runs.data() + shape.start[std::size_t(y) + 1]);
            if (runs.empty() || all[k].count <= 0) {
                continue;
            }
            const Placed f{all[k].firstStart, all[k].count, runs};
            placed.push_back(f);
            // From here to there the pixels are those of the family's lines continued with
            // the spacing past both its ends: no line before its first (the one a spacing
            // before it) or after its last reaches them.
            std::int32_t lowest = runs.front().from;
            std::int32_t highest = runs.front().to;
            for (const Run& r : runs) {
                lowest = std::min(lowest, r.from);
                highest = std::max(highest, r.to);
            }
            middleFrom = std::max(middleFrom, f.firstStart - d + highest);
            middleTo = std::min(middleTo, f.firstStart + f.count * d + lowest - 1);
        }
        QRgb* const line = c.writableRow(int(y), 0, int(width));
        // Pixels [a, b) line by line: the background, then every run of every line there.
        auto lineByLine = [&](long long a, long long b) {
            if (a >= b) {
                return;
            }
            std::fill(line + a, line + b, paper);
            for (const Placed& f : placed) {
                for (const Run& r : f.runs) {
                    const long long first =
                        std::max<long long>(floorDiv(a - f.firstStart - r.to, d) + 1, 0);
                    const long long last =
                        std::min(floorDiv(b - 1 - f.firstStart - r.from, d), f.count - 1);
                    for (long long k = first; k <= last; ++k) {
                        const long long at = f.firstStart + k * d;
                        std::fill(line + std::max(a, at + r.from), line + std::min(b, at + r.to),
                                  ink);
                    }
                }
            }
        };
        // (A spacing far beyond the field's range, typed, has a line or two: no period.)
        if (middleFrom > middleTo || period > kLongestPeriod) {
            lineByLine(0, width);
            continue;
        }
        lineByLine(0, middleFrom);
        lineByLine(middleTo + 1, width);
        // One period (from the middle's first pixel), written in place unless the middle is
        // shorter; then what is written is copied after itself, doubling.
        const long long middle = middleTo + 1 - middleFrom;
        QRgb* const first = line + middleFrom;
        QRgb* const period0 = middle >= period ? first : shortPeriod.data();
        std::fill_n(period0, period, paper);
        for (const Placed& f : placed) {
            for (const Run& r : f.runs) {
                const long long from =
                    ((f.firstStart + r.from - middleFrom) % period + period) % period;
                const long long n = std::min<long long>(r.to - r.from, period);
                const long long beforeWrap = std::min(n, period - from);
                std::fill_n(period0 + from, beforeWrap, ink);
                std::fill_n(period0, n - beforeWrap, ink);
            }
        }
        if (period0 != first) {
            std::copy_n(period0, middle, first);
        }
        for (long long done = period; done < middle; done *= 2) {
            std::copy_n(first, std::min(done, middle - done), first + done);
        }
    }
    // Below the lines' ends, the background.
    if (rows < c.height()) {
        c.fillRect(0, int(rows), int(width), c.height(),
                   render::backgroundColor(frame.whiteBackground));
    }
}

} // namespace koyomi::figures
