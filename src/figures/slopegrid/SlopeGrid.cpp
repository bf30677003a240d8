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

// Sets the pen the lines are drawn with; false when they draw nothing at all.
bool beginSlopeGrid(Canvas& c, const SlopeGridParams& p, const render::Frame& frame)
{
    render::beginFigure(c, frame);
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

void drawSlopeGrid(Canvas& c, const SlopeGridParams& p, const render::Frame& frame)
{
    // Every line has the same colour and style and the lines are drawn in copy mode, so the
    // picture is the union of the lines' pixels: built row by row, each family's lines being
    // one line shifted along the top edge.
    if (!beginSlopeGrid(c, p, frame)) {
        return;
    }
    const long long d = p.spacing;
    const long long h = std::max(frame.height, 0);
    const long long width = c.width();
    const SlopeGridLayout l = slopeGridLayout(p.spacing, frame.width, frame.height);
    // A sparse grid is drawn line by line: fewer pixels than the window holds cost less
    // than working out every row.
    const long double lines = (long double)(2 * (l.q + l.r + 1) + 2 * (l.r + 1)) * p.lineWidth;
    const long double pixels = lines * (long double)(std::abs(l.run) + h);
    if (c.penMode() != render::PenMode::Copy ||
        pixels < (long double)width * (long double)c.height()) {
        drawSlopeGridLineByLine(c, p, frame);
        return;
    }
    // Thicknesses beyond this put every copy of every line right of the window.
    const long long widest =
        width + 2 * std::abs(l.run) + std::min(d, 2 * (width + std::abs(l.run))) + 3;
    const long long w = std::min<long long>(p.lineWidth, widest);

    struct Stamp
    {
        std::vector<std::vector<Run>> rows; // by y, relative to the line's start
    };
    const std::vector<Family> all = families(l, d, roundHalfEven(d / 2.0L));
    std::vector<Stamp> stamps;
    for (const Family& f : all) {
        Stamp s;
        s.rows.resize(std::size_t(h + 1));
        if (!fitsInt(f.across) || !fitsInt(h)) {
            stamps.push_back(std::move(s));
            continue;
        }
        for (const QPoint& px :
             render::linePixels(QPoint(0, 0), QPoint(int(f.across), int(h)), c.pen().style)) {
            s.rows[std::size_t(px.y())].push_back(Run{px.x(), px.x() + 1});
        }
        // Each pixel thickened to the right by the other w − 1 lines, then joined.
        for (std::vector<Run>& row : s.rows) {
            std::sort(row.begin(), row.end(),
                      [](const Run& a, const Run& b) { return a.from < b.from; });
            std::vector<Run> joined;
            for (const Run& r : row) {
                const Run thick{r.from, std::int32_t(r.from + w)};
                if (!joined.empty() && thick.from <= joined.back().to) {
                    joined.back().to = std::max(joined.back().to, thick.to);
                } else {
                    joined.push_back(thick);
                }
            }
            row = std::move(joined);
        }
        stamps.push_back(std::move(s));
    }

    const render::ColorRef color = c.pen().color;
    const render::ColorRef background = render::backgroundColor(frame.whiteBackground);
    RowCover cover(width);
    Residues residues;
    long long version = 0;
    std::vector<Run> shifted;
    const long long rows = std::min<long long>(c.height(), h + 1);
    for (long long y = 0; y < rows; ++y) {
        bool any = false;
        // The two vertical families share their stamp and their step: one pass for both.
        for (std::size_t k = 0; k < 3; ++k) {
            const Family& f = all[k];
            const std::vector<Run>& runs = stamps[k].rows[std::size_t(y)];
            if (runs.empty() || f.count <= 0) {
                continue;
            }
            any = true;
            // Offsets relative to the row's first pixel stay small; the places move instead.
            const long long base = runs.front().from;
            shifted.clear();
            for (const Run& r : runs) {
                shifted.push_back(Run{std::int32_t(r.from - base), std::int32_t(r.to - base)});
            }
            Placed sets[2] = {
                Placed{&shifted, shifted.front().from, shifted.back().to, 0, f.count - 1},
                Placed{&shifted, shifted.front().from, shifted.back().to,
                       all[3].firstStart - f.firstStart, all[3].count - 1},
            };
            coverPlaced(cover, f.firstStart + base, d, std::span(sets, k == 2 ? 2 : 1), ++version,
                        width, residues);
        }
        if (any) {
            c.setMaskedRow(int(y), cover.finish(), color, background);
            cover.clear();
        }
    }
}

} // namespace koyomi::figures
