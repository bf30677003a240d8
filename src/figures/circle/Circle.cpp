#include "figures/circle/Circle.h"

#include "figures/Copies.h"
#include "figures/Dot.h"
#include "figures/FigureCaches.h"
#include "figures/RadialPoint.h"
#include "figures/RowCoverage.h"
#include "figures/Spokes.h"
#include "figures/Stroke.h"
#include "figures/Visible.h"
#include "render/Palette.h"
#include "render/PathUtils.h"
#include "render/Text.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace koyomi::figures {

using render::Canvas;

long double circleDivisionAngle(long long h, long long m, int startPosition)
{
    constexpr long double degree = 0.017453292519943295769L;
    return (long double)(h - 1) * degree * (360.0L / (long double)m) +
           (long double)startPosition * degree * 90;
}

namespace {

// Marks, lines or numbers of one ring beyond this count coincide pixel for pixel with ones
// drawn already (a ring of radius 1000 has fewer distinct pixels): a count typed far out of
// range is held to it, so that drawing ends.
constexpr long long kMaxMarks = 1 << 16;
// Numbers stand over each other without hiding one another, so they cannot be skipped like
// marks; beyond the field's range of 50 divisions, a count typed on the way to another is
// held to this many, which already rings the circle solid.
constexpr long long kMaxNumbers = 1000;

// The directions of the divisions of a turn, by their count: worked out once for every copy
// and ring that shares a count (both sub-division rings usually do), and kept for the next
// few drawings, so that a redraw while the teacher changes another field finds them made.
class Directions
{
public:
    Directions(int startPosition, FigureCaches& caches) : m_start(startPosition), m_caches(caches)
    {
    }

    // Where the first direction stands, in quarter turns clockwise from straight up.
    int quarters() const { return m_start; }

    const std::vector<RadialDirection>& of(long long m)
    {
        auto it = m_byCount.find(m);
        if (it == m_byCount.end()) {
            it = m_byCount.emplace(m, recent(m)).first;
        }
        return *it->second;
    }

private:
    using Table = std::shared_ptr<const std::vector<RadialDirection>>;

    // The tables of the last few counts and starts asked for, kept for the next drawings.
    struct Recent
    {
        RecentlyKept<std::pair<long long, int>, Table> kept{8};
    };

    Table recent(long long m) const
    {
        return m_caches.part<Recent>().kept.get({m, m_start}, [&] { return made(m); });
    }

    Table made(long long m) const
    {
        auto all = std::make_shared<std::vector<RadialDirection>>();
        all->reserve(std::size_t(m));
        // (h − 1)·360°/m + start·90° is step 4(h − 1) + start·m of 4m. When the divisions
        // fall on every quarter turn, the later quarters are the first turned by 90° (sine
        // becomes cosine, cosine the negated sine): a quarter of the work, and the figure
        // exactly as symmetric as it should be.
        const long long computed = m % 4 == 0 ? m / 4 : m;
        for (long long h = 1; h <= computed; ++h) {
            all->push_back(radialDirection(4 * (h - 1) + (long long)m_start * m, 4 * m));
        }
        for (long long h = computed + 1; h <= m; ++h) {
            const RadialDirection& d = (*all)[std::size_t(h - 1 - computed)];
            RadialDirection turned;
            turned.sin = d.cos;
            turned.cos = -d.sin;
            turned.exactSin = d.exactCos;
            turned.twiceSin = d.twiceCos;
            turned.exactCos = d.exactSin;
            turned.twiceCos = -d.twiceSin;
            all->push_back(turned);
        }
        return all;
    }

    int m_start;
    FigureCaches& m_caches;
    std::map<long long, Table> m_byCount;
};

// The rings of marks drawn as one stamp, each made once in a drawing: kept here, whatever the
// recent stamps of the figure let go while copies draw (a copy can use more of them than are
// kept), and found among those on the next drawing.
class RingStamps
{
public:
    explicit RingStamps(FigureCaches& caches) : m_caches(caches) {}

    std::shared_ptr<const Stamp> of(const std::vector<long long>& key, i64 reach,
                                    const StampDrawing& draw)
    {
        auto it = m_made.find(key);
        if (it == m_made.end()) {
            it = m_made.emplace(key, recentStamp(m_caches, StampOf::CircleRing, key, reach, draw))
                     .first;
        }
        return it->second;
    }

private:
    FigureCaches& m_caches;
    std::map<std::vector<long long>, std::shared_ptr<const Stamp>> m_made;
};

// How far along its ray each end of a mark lies: from the circle outward, inward or both ways
// by its size, or on the circle for a dot. None for a shape that draws nothing.
std::optional<std::pair<long long, long long>> markEnds(CircleMark shape, long long r, long long s)
{
    switch (shape) {
    case CircleMark::Dot:
        return std::pair{r, r};
    case CircleMark::Outward:
        return std::pair{r, r + s};
    case CircleMark::Inward:
        return std::pair{r, r - s};
    case CircleMark::Across:
        return std::pair{r + s, r - s};
    default:
        return std::nullopt;
    }
}

class CircleRenderer
{
public:
    CircleRenderer(Canvas& canvas, const CircleParams& params, const render::Frame& frame,
                   bool copies, Directions& directions, RingStamps& rings, FigureCaches& caches)
        : m_c(canvas), m_p(params), m_frame(frame), m_copies(copies), m_directions(directions),
          m_rings(rings), m_caches(caches)
    {
    }

    void draw();
    void copy(long long cx, long long cy);

private:
    // Every copy is alike when every selector has a selection: no copy then depends on what
    // the one before left on the canvas.
    bool copiesAlike() const;
    // The box from (x1, y1) to (x2, y2), widened by margin, misses the canvas.
    // The element's colour: its own, or the one the element before left when it has none.
    render::ColorRef colorOf(int index);
    void circle(long long cx, long long cy, long long r, const LineSetting& line);
    void disc(WidePoint centre, long long s, const LineSetting& line, render::ColorRef color);
    // Marks at m equal divisions of the turn, of size s: elements 4, 5 and 6.
    void ring(long long cx, long long cy, long long m, long long s, const LineSetting& line);
    // The same marks, in the given colour, on this renderer's canvas.
    void marks(long long cx, long long cy, long long m, long long s, const LineSetting& line,
               render::ColorRef color);
    // The ring's marks about its centre as one stamp, kept among the recent ones; none when
    // the ring is drawn mark by mark (see its definition).
    std::shared_ptr<const Stamp> ringStamp(long long m, long long s, const LineSetting& line);
    // The last mark drawn: a mark the same as the one before draws the same pixels again (on a
    // small ring of many marks most of them are).
    struct LastMark
    {
        WidePoint a;
        WidePoint b;
        bool any = false;
    };
    void mark(long long cx, long long cy, long long s, CircleMark shape, const RadialDirection& dir,
              const LineSetting& line, render::ColorRef color, LastMark& last);
    // The dashed outline of a dot of size s at (x, y) on c, as the ring's line draws it.
    void outline(Canvas& c, int x, int y, long long s, const LineSetting& line,
                 render::ColorRef color);
    void numbers(long long cx, long long cy);

    Canvas& m_c;
    const CircleParams& m_p;
    const render::Frame& m_frame;
    const bool m_copies; // alike copies may be copied from one drawn
    // The window the copies are drawn for (the canvas of the first renderer, not a scratch
    // image's): how many copies meet it, its pixels and its diagonal.
    struct Shown
    {
        long long copies = 1;
        long long pixels = 0;
        long long diagonal = 0;
    } m_shown;
    Directions& m_directions;
    RingStamps& m_rings;
    FigureCaches& m_caches;
    render::TPath m_path;
    render::ColorRef m_color = render::kWhite; // the working colour
};

render::ColorRef CircleRenderer::colorOf(int index)
{
    m_color = render::paletteColor(index, m_color);
    return m_color;
}

void CircleRenderer::circle(long long cx, long long cy, long long r, const LineSetting& line)
{
    const long long margin = render::strokeReach(line.width);
    const render::ColorRef color = colorOf(line.color);
    if (!drawsKind(line) || outsideCanvas(m_c, cx - r, cy - r, cx + r, cy + r, margin) ||
        !fitsInt(cx - r) || !fitsInt(cx + r) || !fitsInt(cy - r) || !fitsInt(cy + r)) {
        return;
    }
    m_c.beginPath();
    render::EllipsePath(m_c, int(cx - r), int(cy - r), int(cx + r), int(cy + r));
    m_c.endPath();
    m_c.flattenPath();
    m_path.capture(m_c);
    render::DashedPath(m_path, m_c, color, line.width, render::lineStylePattern(line.kind, true),
                       true);
}

void CircleRenderer::disc(WidePoint centre, long long s, const LineSetting& line,
                          render::ColorRef color)
{
    const long long x1 = centre.x - s, y1 = centre.y - s, x2 = centre.x + s, y2 = centre.y + s;
    if (outsideCanvas(m_c, x1, y1, x2, y2, 2) || !fitsInt(x1) || !fitsInt(y1) || !fitsInt(x2) ||
        !fitsInt(y2)) {
        return;
    }
    filledDot(m_c, int(x1), int(y1), int(x2), int(y2), color, line.kind);
}

void CircleRenderer::ring(long long cx, long long cy, long long m, long long s,
                          const LineSetting& line)
{
    const render::ColorRef color = colorOf(line.color);
    marks(cx, cy, m, s, line, color);
}

void CircleRenderer::marks(long long cx, long long cy, long long m, long long s,
                           const LineSetting& line, render::ColorRef color)
{
    const CircleMark shape = CircleMark(m_p.edgeMark);
    const long long r = m_p.radius;
    // A ring wholly outside the canvas is not walked.
    const long long reach = std::abs(r) + std::abs(s) + render::strokeReach(line.width);
    if (m < 1 || shape == CircleMark::None ||
        outsideCanvas(m_c, cx - reach, cy - reach, cx + reach, cy + reach, 0)) {
        return;
    }
    // Marks in a line kind that draws nothing are strokes left out: not walked at all (a
    // ring of 25,000 such marks reaching the window from thousands of copies).
    if (shape != CircleMark::Dot && !drawsKind(line)) {
        return;
    }
    m = std::min(m, kMaxMarks);
    // A ring drawn again in every copy is painted as one stamp of all its marks. Strokes
    // leave the pen as they found it; a dot's disc leaves its own pen and brush when one meets
    // the canvas, which the walk below still works out.
    const std::shared_ptr<const Stamp> whole = ringStamp(m, s, line);
    if (whole) {
        paintStamp(m_c, *whole, cx, cy, color);
        if (shape != CircleMark::Dot) {
            return;
        }
    }
    // Only the marks whose rays pass near the canvas are walked: the marks of one ring share
    // a colour, so the order they come in makes no difference. A mark spans the distances
    // from `inner` to `outer` along its ray; those below zero lie on the opposite ray (a mark
    // across a centre larger than its circle). Each end of a mark lies within a pixel of its
    // ray; a dot reaches its size around it.
    const auto ends = markEnds(shape, r, s);
    if (!ends) {
        return;
    }
    const long long inner = std::min(ends->first, ends->second);
    const long long outer = std::max(ends->first, ends->second);
    const long long margin =
        render::heldStrokeWidth(line.width) + 4 + (shape == CircleMark::Dot ? std::abs(s) : 0);
    auto toward = [&](long long quarters, long long from, long long to) {
        return divisionsToward(cx, cy, m, quarters, from, to, 0, 0, m_c.width() - 1,
                               m_c.height() - 1, margin);
    };
    const DivisionRange along =
        outer >= 0 ? toward(m_directions.quarters(), std::max(inner, 0LL), outer) : DivisionRange{};
    const DivisionRange opposite =
        inner < 0 ? toward(m_directions.quarters() + 2LL, std::max(-outer, 0LL), -inner)
                  : DivisionRange{};
    auto inAlong = [&](long long k) {
        return along.first <= along.last &&
               ((k - along.first) % m + m) % m <= along.last - along.first;
    };
    LastMark last;
    const std::vector<RadialDirection>& directions = m_directions.of(m);
    // A ring's dots are one colour painted over each other in copy mode: as one union of a
    // stamp of disc and outline they cost the rows they cover (hundreds of dots each larger
    // than the window filled it one after another).
    const long long half = std::abs(s) + render::strokeReach(line.width) + 2;
    const bool asOne = m_copies && shape == CircleMark::Dot &&
                       m_c.penMode() == render::PenMode::Copy && half <= kMaxStampedSize;
    std::vector<Place> places;
    // A ring of solid strokes is painted as one union of them all: thousands of long marks
    // close together cover most of what they stand in together.
    const bool asSpokes = shape != CircleMark::Dot && line.kind == render::kSolidIndex;
    std::vector<Spoke> spokes;
    bool anyDisc = false;
    for (const bool across : {false, true}) {
        const DivisionRange& walked = across ? opposite : along;
        for (long long k = walked.first; k <= walked.last; ++k) {
            const long long division = (k % m + m) % m;
            if (across && inAlong(division)) {
                continue; // walked already
            }
            const RadialDirection& dir = directions[std::size_t(division)];
            if (asSpokes) {
                const Spoke spoke{radialPoint(cx, cy, ends->first, dir),
                                  radialPoint(cx, cy, ends->second, dir)};
                if (spokes.empty() || !(spokes.back() == spoke)) {
                    spokes.push_back(spoke);
                }
                continue;
            }
            if (!asOne && !whole) {
                mark(cx, cy, s, shape, dir, line, color, last);
                continue;
            }
            const WidePoint a = radialPoint(cx, cy, ends->first, dir);
            if (!fitsInt(a.x - s) || !fitsInt(a.x + s) || !fitsInt(a.y - s) || !fitsInt(a.y + s)) {
                continue; // neither its disc nor its outline is drawn
            }
            if (!whole) {
                places.push_back(Place{a.x, a.y});
            }
            // Only a disc drawn sets the pen and brush it leaves.
            anyDisc = anyDisc || !outsideCanvas(m_c, a.x - s, a.y - s, a.x + s, a.y + s, 2);
        }
    }
    if (asSpokes) {
        paintSpokes(m_c, {cx, cy}, spokes, line, color);
        return;
    }
    if (whole) {
        if (anyDisc) {
            leaveDotState(m_c, color, line.kind);
        }
        return;
    }
    if (places.empty()) {
        return;
    }
    const auto stamp = recentStamp(m_caches, StampOf::CircleDisc, {s, line.width, line.kind}, half,
                                   [&](Canvas& c, int x, int y) {
                                       filledDot(c, int(x - s), int(y - s), int(x + s), int(y + s),
                                                 render::kWhite, line.kind);
                                       if (drawsKind(line)) {
                                           outline(c, x, y, s, line, render::kWhite);
                                       }
                                   });
    paintStampAt(m_c, *stamp, std::move(places), color);
    if (anyDisc) {
        leaveDotState(m_c, color, line.kind);
    }
}

// Rings of up to this reach about their centre are drawn as one stamp: its drawing holds
// (2·reach + 1)² pixels, 64 MB.
constexpr long long kMaxRingStampReach = 2048;

// A ring drawn in every copy of many (a hundred copies of a ring of fifteen thousand marks,
// each crossing the window) is drawn once, whole, about its centre: the marks of a ring share
// a colour and are painted over each other in copy mode, so their union is the ring wherever
// it stands, and each copy then costs the pixels the ring covers. Only where that pays: its
// marks paint more than a sixteenth of its square, and the copies meeting the window, each
// cut to it, would draw at least twice the ring (two copies of a ring of dots reaching two
// thousand pixels cost far less cut to a small window; four copies of marks two thousand
// pixels long each cross it whole). A mark longer than the canvas draws whole (see
// Canvas::paintWhole) shows here what a larger window would where the window's edge cuts it,
// as copies drawn on a scratch image always have; the painter cutting it at the edge can move
// one of its pixels.
std::shared_ptr<const Stamp> CircleRenderer::ringStamp(long long m, long long s,
                                                       const LineSetting& line)
{
    const long long reach =
        std::abs((long long)m_p.radius) + std::abs(s) + render::strokeReach(line.width) + 2;
    if (!m_copies || m_c.penMode() != render::PenMode::Copy || reach > kMaxRingStampReach) {
        return nullptr;
    }
    // Within that reach the products cannot overflow.
    const long long side = 2 * reach + 1;
    const long long square = side * side;
    // On the scratch image of a repeated drawing the ring is drawn once (a band of it at a
    // time), however many copies show it. A large stamp of it would only be drawn, read back
    // and painted besides: a fifth of the drawing of a ring of 24,000 dashed marks two
    // thousand pixels long, and, painted again on the next drawings, more than drawing its
    // marks there. A stamp of up to a million pixels, read in a millisecond, is still made
    // and kept, since the next drawings paste it (the rings of 500 copies of a small circle).
    constexpr long long kLargestOnRepeated = 1LL << 20;
    if (m_c.holdsRepeatedDrawing() && square > kLargestOnRepeated) {
        return nullptr;
    }
    const long long painted =
        m * (std::abs(s) + 1) * std::max(1LL, render::heldStrokeWidth(line.width));
    // What one copy cut to the window draws of the ring, against the whole ring: a dot ring
    // by the pixels it covers there, a stroke ring by the length of its marks, which cross a
    // window no larger than their length whole.
    const CircleMark shape = CircleMark(m_p.edgeMark);
    const auto ends = markEnds(shape, m_p.radius, s);
    const long long length = ends ? std::abs(ends->first - ends->second) + 1 : 1;
    const bool pays = shape == CircleMark::Dot
                          ? m_shown.copies * std::min(square, m_shown.pixels) >= 2 * square
                          : m_shown.copies * std::min(length, m_shown.diagonal) >= 2 * length;
    if (16 * painted < square || !pays) {
        return nullptr;
    }
    return m_rings.of(
        {m, m_p.radius, s, m_p.edgeMark, line.width, line.kind, m_directions.quarters()}, reach,
        [&](Canvas& c, int x, int y) {
            CircleRenderer on(c, m_p, m_frame, m_copies, m_directions, m_rings, m_caches);
            on.marks(x, y, m, s, line, render::kWhite);
        });
}

void CircleRenderer::mark(long long cx, long long cy, long long s, CircleMark shape,
                          const RadialDirection& dir, const LineSetting& line,
                          render::ColorRef color, LastMark& last)
{
    const auto ends = markEnds(shape, m_p.radius, s);
    if (!ends) {
        return;
    }
    const WidePoint a = radialPoint(cx, cy, ends->first, dir);
    const WidePoint b = ends->second == ends->first ? a : radialPoint(cx, cy, ends->second, dir);
    if (last.any && a == last.a && b == last.b) {
        return;
    }
    last = LastMark{a, b, true};
    if (shape != CircleMark::Dot) {
        strokeBetween(m_c, a, b, line, color);
        return;
    }
    // A filled disc, then its outline in the ring's line setting over it.
    disc(a, s, line, color);
    const long long reach = render::strokeReach(line.width);
    if (!drawsKind(line) || outsideCanvas(m_c, a.x - s, a.y - s, a.x + s, a.y + s, reach) ||
        render::insideEllipse(m_c.width(), m_c.height(), a.x - s, a.y - s, a.x + s, a.y + s,
                              reach + 2) ||
        !fitsInt(a.x - s) || !fitsInt(a.x + s) || !fitsInt(a.y - s) || !fitsInt(a.y + s)) {
        return;
    }
    // A ring's dots share their outline: drawn whole once, it is painted from its pixels at
    // each dot (a ring of thousands of dots each larger than the window walked the dashes of
    // every outline, and stroked those crossing the window).
    const long long half = std::abs(s) + reach + 2;
    if (m_c.penMode() != render::PenMode::Copy || half > kMaxStampedSize) {
        outline(m_c, int(a.x), int(a.y), s, line, color);
        return;
    }
    const auto stamp =
        recentStamp(m_caches, StampOf::CircleDot, {s, line.width, line.kind}, half,
                    [&](Canvas& c, int x, int y) { outline(c, x, y, s, line, render::kWhite); });
    paintStamp(m_c, *stamp, a.x, a.y, color);
}

void CircleRenderer::outline(Canvas& c, int x, int y, long long s, const LineSetting& line,
                             render::ColorRef color)
{
    c.beginPath();
    render::EllipsePath(c, int(x - s), int(y - s), int(x + s), int(y + s));
    c.endPath();
    c.flattenPath();
    m_path.capture(c);
    render::DashedPath(m_path, c, color, line.width, render::lineStylePattern(line.kind, true),
                       true);
}

void CircleRenderer::numbers(long long cx, long long cy)
{
    m_c.setFontSize(m_p.numberSize);
    const long long fs = m_c.fontSize();
    m_c.setBrushClear(true);
    m_c.setFontColor(render::paletteColor(m_p.numberColor, m_c.fontColor()));
    const long long n = std::min<long long>(m_p.divisions, kMaxNumbers);
    if (n < 2 || !m_p.numbersShown) {
        return;
    }
    // A number reaches at most a few characters of twice the font's height each from its
    // anchor, which lies R + fs from the centre.
    const long long pixels = std::max(1, render::fontPixelHeight(m_c.fontSize()));
    const long long text = 12 * std::min<long long>(pixels, 4096) + std::abs(fs);
    const long long ring = std::abs(m_p.radius + fs) + text;
    if (outsideCanvas(m_c, cx - ring, cy - ring, cx + ring, cy + ring, 0)) {
        return;
    }
    // The numbers wrap as 32-bit integers do, as they always have.
    auto value = std::uint32_t(m_p.firstNumber);
    const std::vector<RadialDirection>& directions = m_directions.of(n);
    // A number has at most 11 characters ("-2147483648").
    const long long widest = 11 * (fs / 2);
    for (long long h = 1; h <= n; ++h, value += std::uint32_t(m_p.numberStep)) {
        WidePoint p = radialPoint(cx, cy, m_p.radius + fs, directions[std::size_t(h - 1)]);
        // Past 3.2 radians (as computed, not reduced to one turn) the number stands left of
        // its anchor, by fs div 2 pixels per character.
        const bool leftOfAnchor = circleDivisionAngle(h, n, m_p.startPosition) >= 3.2L;
        // Written only when it may reach the canvas from wherever its characters put it: copies
        // of a circle far from a small window would otherwise write every number in each.
        if (const long long x = p.x - fs / 2, y = p.y - fs / 2;
            outsideCanvas(m_c, x - (leftOfAnchor ? std::max(widest, 0LL) : 0), y,
                          x - (leftOfAnchor ? std::min(widest, 0LL) : 0) + text, y + text, 0)) {
            continue;
        }
        const QString label = QString::number(std::int32_t(value));
        if (leftOfAnchor) {
            p.x -= label.size() * (fs / 2);
        }
        const long long x = p.x - fs / 2;
        const long long y = p.y - fs / 2;
        if (!outsideCanvas(m_c, x, y, x + text, y + text, 0) && fitsInt(x) && fitsInt(y)) {
            m_c.textOut(int(x), int(y), label);
        }
    }
}

void CircleRenderer::copy(long long cx, long long cy)
{
    const long long r = m_p.radius;
    const long long n = m_p.divisions;
    circle(cx, cy, r, m_p.circumference);

    // Inner circles: the radius cut into steps of ⌈R ÷ RingDivision⌉, r = R − k·step.
    const long long division = m_p.ringDivision;
    colorOf(m_p.rings.color);
    if (division >= 2) {
        const long long step = (long long)std::ceil((long double)r / (long double)division);
        if (step == 0) {
            circle(cx, cy, r, m_p.rings);
        } else {
            // Only circles that can reach the canvas: |r| within the farthest corner's
            // distance and the line's reach.
            const long long far = std::max({std::abs(cx), std::abs(cx - m_c.width()), std::abs(cy),
                                            std::abs(cy - m_c.height())}) *
                                      2 +
                                  render::heldStrokeWidth(m_p.rings.width) + 4;
            // r − k·step in [−far, far] for k in [1, division − 1].
            const long long a = step > 0 ? ceilDiv(r - far, step) : ceilDiv(r + far, step);
            const long long b = step > 0 ? floorDiv(r + far, step) : floorDiv(r - far, step);
            const long long first = std::max<long long>(1, a);
            const long long last = std::min(division - 1, b);
            for (long long k = first; k <= last; ++k) {
                circle(cx, cy, r - k * step, m_p.rings);
            }
        }
    }

    // Division lines from the centre.
    {
        const render::ColorRef color = colorOf(m_p.divisionLines.color);
        const long long reach = std::abs(r) + render::strokeReach(m_p.divisionLines.width);
        if (n >= 2 && drawsKind(m_p.divisionLines) &&
            !outsideCanvas(m_c, cx - reach, cy - reach, cx + reach, cy + reach, 0)) {
            WidePoint last{};
            bool any = false;
            for (const RadialDirection& dir : m_directions.of(std::min(n, kMaxMarks))) {
                const WidePoint end = radialPoint(cx, cy, r, dir);
                if (any && end == last) {
                    continue;
                }
                any = true;
                last = end;
                strokeBetween(m_c, {cx, cy}, end, m_p.divisionLines, color);
            }
        }
    }

    // The marks on the circumference: the main divisions, then the two sub-division rings,
    // which need no main divisions.
    if (n >= 2) {
        ring(cx, cy, n, m_p.edgeMarkSize, m_p.edgeMarks);
    } else {
        colorOf(m_p.edgeMarks.color);
    }
    for (const CircleRing* sub : {&m_p.sub1, &m_p.sub2}) {
        if (sub->division >= 2) {
            // The product held wide: a count typed far out of range must not wrap.
            const long long m = n * (long long)sub->division;
            ring(cx, cy, m, sub->size, sub->line);
        } else {
            colorOf(sub->line.color);
        }
    }

    // The centre mark.
    const long long s = m_p.centreMarkSize;
    const render::ColorRef centre = colorOf(m_p.centre.color);
    switch (CircleCentre(m_p.centreMark)) {
    case CircleCentre::Dot:
        disc({cx, cy}, s, m_p.centre, centre);
        break;
    case CircleCentre::Plus:
        strokeBetween(m_c, {cx - s, cy}, {cx + s, cy}, m_p.centre, centre);
        strokeBetween(m_c, {cx, cy - s}, {cx, cy + s}, m_p.centre, centre);
        break;
    case CircleCentre::Cross:
        strokeBetween(m_c, {cx - s, cy - s}, {cx + s, cy + s}, m_p.centre, centre);
        strokeBetween(m_c, {cx + s, cy - s}, {cx - s, cy + s}, m_p.centre, centre);
        break;
    default:
        break;
    }

    numbers(cx, cy);
}

bool CircleRenderer::copiesAlike() const
{
    return namesAllItsOwn({&m_p.circumference, &m_p.rings, &m_p.centre, &m_p.divisionLines,
                           &m_p.edgeMarks, &m_p.sub1.line, &m_p.sub2.line},
                          m_p.numberColor);
}

void CircleRenderer::draw()
{
    render::beginFigure(m_c, m_frame);
    m_color = render::kWhite;
    const long long r = m_p.radius;
    // How far a copy can reach from its centre: the circle and the marks across it, the
    // widest line, the numbers beyond it and their text.
    const long long fs = std::abs((long long)m_p.numberSize);
    const long long fontPixels =
        std::max(1, render::fontPixelHeight(std::min(m_p.numberSize, 1 << 20)));
    const long long marks =
        std::max({std::abs((long long)m_p.edgeMarkSize), std::abs((long long)m_p.sub1.size),
                  std::abs((long long)m_p.sub2.size), std::abs((long long)m_p.centreMarkSize)});
    long long widest = 0;
    for (const LineSetting* l : {&m_p.circumference, &m_p.rings, &m_p.centre, &m_p.divisionLines,
                                 &m_p.edgeMarks, &m_p.sub1.line, &m_p.sub2.line}) {
        widest = std::max(widest, render::heldStrokeWidth(l->width));
    }
    const long long reach = std::abs(r) + marks + widest +
                            (m_p.numbersShown ? fs + 12 * std::min(fontPixels, 4096LL) + fs : 0) +
                            4;
    const CopyGrid grid = visibleCopies(m_c, m_frame, r, m_p.countAcross, m_p.gapAcross,
                                        m_p.countDown, m_p.gapDown, reach);
    // Held to 2^24, so that it times a stamp's square (at most 2^24 pixels) stays in range.
    m_shown.copies = grid.rows.empty() || grid.cols.empty()
                         ? 0
                         : std::min(std::min(grid.rows.last - grid.rows.first + 1, 1LL << 20) *
                                        std::min(grid.cols.last - grid.cols.first + 1, 1LL << 20),
                                    1LL << 24);
    m_shown.pixels = (long long)m_c.width() * m_c.height();
    m_shown.diagonal = (long long)std::ceil(std::hypot(double(m_c.width()), double(m_c.height())));
    // Every element takes its colour, or the one before when it names none, whether or not
    // the window shows it: each copy after the first starts from the colours the one before
    // left, which are the same every time.
    const CopiesAlike alike = !m_copies       ? CopiesAlike::No
                              : copiesAlike() ? CopiesAlike::All
                                              : CopiesAlike::AfterTheFirst;
    drawCopies(
        m_c, grid, CopyReach::around(reach), alike, [this](Canvas& c, long long x, long long y) {
            if (&c == &m_c) {
                copy(x, y);
            } else {
                CircleRenderer other(c, m_p, m_frame, m_copies, m_directions, m_rings, m_caches);
                other.m_color = m_color;
                other.m_shown = m_shown;
                other.copy(x, y);
            }
        });
    m_c.setPenWidth(1);
}

} // namespace

void drawCircle(Canvas& canvas, const CircleParams& params, const render::Frame& frame,
                FigureCaches* caches)
{
    FigureCaches own;
    FigureCaches& kept = cachesOr(caches, own);
    Directions directions(params.startPosition, kept);
    RingStamps rings(kept);
    CircleRenderer(canvas, params, frame, true, directions, rings, kept).draw();
}

void drawCircleCopyByCopy(Canvas& canvas, const CircleParams& params, const render::Frame& frame)
{
    FigureCaches own;
    Directions directions(params.startPosition, own);
    RingStamps rings(own);
    CircleRenderer(canvas, params, frame, false, directions, rings, own).draw();
}

} // namespace koyomi::figures
