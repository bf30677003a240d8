#include "figures/Spokes.h"

#include "figures/Stroke.h"
#include "render/Color.h"
#include "render/Palette.h"

#include <QRect>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace koyomi::figures {

namespace {

using render::Canvas;

// How far inside a stroke's rectangle a pixel's middle must lie to be counted as painted by
// it: well beyond the painter's rounding of the outline, a 64th of a pixel.
constexpr double kInside = 0.125;
// Fewer strokes than this are painted one by one: they cover no more than a few pixels round
// the centre, which showing costs more than it saves.
constexpr std::size_t kFewestSpokes = 64;
// Marks shorter than this on the whole are stroked one by one (see paintSpokes).
constexpr double kLongSpoke = 128;
// A disc within the annulus is shown pixel by pixel, when it is no wider than this.
constexpr double kWidestShownDisc = 32;
constexpr double kTurn = 2 * std::numbers::pi;

// A spoke's stroke as seen from the middle of the centre's pixel, in pixels. The marks of a
// ring have their ends rounded up, half a pixel down and to the right of their exact places
// on the whole: their lines pass nearest that middle, which the pixels' middles stand whole
// pixels away from.
struct Line
{
    double ax = 0; // where the stroke starts
    double ay = 0;
    double ux = 0; // its direction, of length 1
    double uy = 0;
    double length = 0;
    double tc = 0; // how far along it the centre's foot lies
    double qc = 0; // the centre's signed distance across it
};

Line lineOf(WidePoint centre, const Spoke& s)
{
    Line l;
    l.ax = double(s.a.x - centre.x) - 0.5;
    l.ay = double(s.a.y - centre.y) - 0.5;
    const double dx = double(s.b.x - s.a.x);
    const double dy = double(s.b.y - s.a.y);
    l.length = std::hypot(dx, dy);
    if (l.length > 0) {
        l.ux = dx / l.length;
        l.uy = dy / l.length;
    }
    // The centre is (0, 0): its place along and across the line from a.
    l.tc = -(l.ax * l.ux + l.ay * l.uy);
    l.qc = -(l.ux * l.ay - l.uy * l.ax);
    return l;
}

// One side of a stroke's line seen from the centre: the points at distance d from the centre
// whose direction lies within [angle + lo/d, angle + hi/d] are inside the stroke, for d in
// [in, out]. Across the line such a point lies q + d·sin α from it (α its angle from the
// ray, q the centre's place across), within [q + lo, q + hi] = [−h, h] since sin α lies
// between 0 and α; along the line it lies within (h + |q|) of the ray's own point, as
// |α| ≤ (h + |q|) / d ≤ 1 gives d·(1 − cos α) ≤ h + |q|.
struct Ray
{
    double angle = 0;
    double lo = 0;
    double hi = 0;
    double in = 0;
    double out = 0;
    std::uint32_t spoke = 0;
};

// The rays of every stroke whose line passes nearer the centre than its half-width h: the
// side its end b points to from the centre, and the opposite side.
std::vector<Ray> raysOf(const std::vector<Line>& lines, double h)
{
    std::vector<Ray> rays;
    rays.reserve(2 * lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        if (!(l.length > 0) || !(std::abs(l.qc) < h)) {
            continue;
        }
        const double beta = std::atan2(l.uy, l.ux);
        const double near = h + std::abs(l.qc);
        // Toward b: the point at d lies tc + d·cos α along the line.
        Ray toward{beta,
                   -h - l.qc,
                   h - l.qc,
                   std::max(near, kInside - l.tc + near),
                   l.length - kInside - l.tc,
                   std::uint32_t(i)};
        // Away from b: tc − d·cos α, and the centre lies −qc across that side's direction.
        Ray away{beta + std::numbers::pi,
                 -h + l.qc,
                 h + l.qc,
                 std::max(near, l.tc - l.length + kInside + near),
                 l.tc - kInside,
                 std::uint32_t(i)};
        for (Ray* r : {&toward, &away}) {
            r->angle = std::fmod(r->angle + 2 * kTurn, kTurn);
            if (r->in < r->out) {
                rays.push_back(*r);
            }
        }
    }
    return rays;
}

// Whether the rays' intervals at distance d cover the whole circle of that radius. The rays
// come in the order their intervals started at the distance tried before, and leave in the
// order they start at d: from one distance to the next few change places, so that each try
// costs about one pass over them.
bool coversCircle(std::vector<Ray>& rays, double d)
{
    auto lower = [d](const Ray& r) { return r.angle + r.lo / d; };
    for (std::size_t i = 1; i < rays.size(); ++i) {
        if (lower(rays[i]) < lower(rays[i - 1])) {
            const Ray moved = rays[i];
            std::size_t j = i;
            for (; j > 0 && lower(moved) < lower(rays[j - 1]); --j) {
                rays[j] = rays[j - 1];
            }
            rays[j] = moved;
        }
    }
    const double start = lower(rays.front());
    double reach = start;
    for (const Ray& r : rays) {
        if (lower(r) > reach) {
            return false;
        }
        reach = std::max(reach, r.angle + r.hi / d);
    }
    return reach >= start + kTurn;
}

// Whether one of the lines' strokes holds the point (x, y) (relative to the centre) well
// inside its rectangle.
bool insideStroke(const Line& l, double h, double x, double y)
{
    const double dx = x - l.ax;
    const double dy = y - l.ay;
    const double along = dx * l.ux + dy * l.uy;
    const double across = l.ux * dy - l.uy * dx;
    return std::abs(across) <= h && along >= kInside && along <= l.length - kInside;
}

// Whether every pixel whose middle lies within `radius` of the centre is held well inside a
// stroke: each is tried against the strokes whose rays point nearest to it.
bool discCovered(const std::vector<Line>& lines, std::span<const Ray> rays, double h, double radius)
{
    const auto reach = (long long)std::ceil(radius);
    for (long long y = -reach; y <= reach; ++y) {
        for (long long x = -reach; x <= reach; ++x) {
            const auto px = double(x);
            const auto py = double(y);
            if (std::hypot(px, py) >= radius) {
                continue;
            }
            const double angle = std::fmod(std::atan2(py, px) + kTurn, kTurn);
            const auto at = std::lower_bound(rays.begin(), rays.end(), angle,
                                             [](const Ray& r, double a) { return r.angle < a; });
            const auto n = (long long)rays.size();
            const long long first = (long long)(at - rays.begin());
            bool held = false;
            for (long long k = first - 4; k < first + 4 && !held; ++k) {
                const Ray& r = rays[std::size_t(((k % n) + n) % n)];
                held = insideStroke(lines[r.spoke], h, px, py);
            }
            if (!held) {
                return false;
            }
        }
    }
    return true;
}

std::optional<SolidAnnulus> annulusOf(const std::vector<Line>& lines, double h)
{
    std::vector<Ray> rays = raysOf(lines, h);
    if (rays.size() < kFewestSpokes) {
        return std::nullopt;
    }
    // The rays reaching farthest first: a set of those reaching at least a given distance
    // covers, if anything, an annulus out to that distance. Marks of one ring reach about as
    // far as each other, on each side of the centre; each such group is tried in turn with
    // those reaching farther.
    std::sort(rays.begin(), rays.end(), [](const Ray& a, const Ray& b) { return a.out > b.out; });
    std::optional<SolidAnnulus> best;
    std::vector<Ray> set;
    double inner = 0;
    for (std::size_t i = 0; i < rays.size();) {
        std::size_t j = i + 1;
        while (j < rays.size() && rays[j - 1].out - rays[j].out <= 4) {
            ++j;
        }
        const double outer = rays[j - 1].out;
        for (std::size_t k = i; k < j; ++k) {
            inner = std::max(inner, rays[k].in);
        }
        set.insert(set.end(), rays.begin() + std::ptrdiff_t(i), rays.begin() + std::ptrdiff_t(j));
        i = j;
        // Intervals of 2h each must reach round a circle of radius outer.
        if (outer <= inner || double(set.size()) * 2 * h < kTurn * inner ||
            (best && outer - inner <= best->outer - best->inner)) {
            continue;
        }
        std::vector<Ray> byAngle = set;
        std::sort(byAngle.begin(), byAngle.end(),
                  [](const Ray& a, const Ray& b) { return a.angle < b.angle; });
        // Every ray of the set holds its interval from inner to outer, which only widens
        // toward the centre: covered at one distance, the circle is covered at every smaller
        // one down to inner. The farthest distance covered is looked for from outer inward,
        // where the order of the intervals changes least.
        std::vector<Ray> byStart = byAngle;
        double low = inner;
        double high = outer;
        bool covered = coversCircle(byStart, high);
        if (covered) {
            low = high;
        }
        while (high - low > 1.0 / 64) {
            const double mid = (low + high) / 2;
            if (coversCircle(byStart, mid)) {
                low = mid;
                covered = true;
            } else {
                high = mid;
            }
        }
        if (!covered) {
            continue;
        }
        SolidAnnulus found{inner, low};
        if (inner <= kWidestShownDisc && discCovered(lines, byAngle, h, inner)) {
            found.inner = 0;
        }
        if (!best || found.outer - found.inner > best->outer - best->inner) {
            best = found;
        }
    }
    return best;
}

// The pixels whose middles lie within [inner, outer] of the centre, painted row by row.
void fillAnnulus(Canvas& c, WidePoint centre, const SolidAnnulus& a, QRgb rgb)
{
    const double top = std::max(0.0, double(centre.y) - a.outer - 1);
    const double bottom = std::min(double(c.height() - 1), double(centre.y) + a.outer + 1);
    for (auto y = (long long)top; y <= (long long)bottom; ++y) {
        const auto dy = double(y - centre.y);
        if (std::abs(dy) > a.outer) {
            continue;
        }
        const double out = std::sqrt(a.outer * a.outer - dy * dy);
        const double in = std::abs(dy) < a.inner ? std::sqrt(a.inner * a.inner - dy * dy) : -1;
        // Pixel x's middle lies x − cx across from the centre's.
        auto paint = [&](double from, double to) {
            const long long x1 = std::max<long long>(0, (long long)std::ceil(from) + centre.x);
            const long long x2 =
                std::min<long long>(c.width() - 1, (long long)std::floor(to) + centre.x);
            if (x1 <= x2) {
                QRgb* row = c.writableRow(int(y), int(x1), int(x2) + 1);
                std::fill(row + x1, row + x2 + 1, rgb);
            }
        };
        if (in < 0) {
            paint(-out, out);
        } else {
            paint(-out, -in);
            paint(in, out);
        }
    }
}

// The stroke of line l painted where its pixels can lie outside the annulus: near its ends
// beyond the outer radius, and round the centre within the inner one.
void strokeOutside(Canvas& c, const Spoke& s, const Line& l, double halfWidth,
                   const SolidAnnulus& a)
{
    // A pixel of the stroke lies at most halfWidth + 1 across its line and 1 beyond its ends;
    // the centre lies |qc| across it. Outside the outer radius the pixel lies farther than
    // τ from the centre's foot along the line, inside the inner one nearer than it.
    const double across = halfWidth + 1 + std::abs(l.qc);
    const double tau = a.outer > across ? std::sqrt(a.outer * a.outer - across * across) : 0;
    struct Part
    {
        double from;
        double to;
    };
    std::vector<Part> parts{{-1, l.tc - tau}, {l.tc + tau, l.length + 1}};
    if (a.inner > 0) {
        parts.push_back({l.tc - a.inner - 1, l.tc + a.inner + 1});
    }
    std::sort(parts.begin(), parts.end(),
              [](const Part& p, const Part& q) { return p.from < q.from; });
    std::vector<Part> merged;
    for (Part p : parts) {
        p.from = std::max(p.from, -1.0);
        p.to = std::min(p.to, l.length + 1);
        if (p.from > p.to) {
            continue;
        }
        if (!merged.empty() && p.from <= merged.back().to) {
            merged.back().to = std::max(merged.back().to, p.to);
        } else {
            merged.push_back(p);
        }
    }
    const QPoint pa(int(s.a.x), int(s.a.y));
    const QPoint pb(int(s.b.x), int(s.b.y));
    const double margin = halfWidth + 2;
    for (const Part& p : merged) {
        const double x1 = double(s.a.x) + p.from * l.ux;
        const double y1 = double(s.a.y) + p.from * l.uy;
        const double x2 = double(s.a.x) + p.to * l.ux;
        const double y2 = double(s.a.y) + p.to * l.uy;
        const QRect box(QPoint(int(std::floor(std::min(x1, x2) - margin)),
                               int(std::floor(std::min(y1, y2) - margin))),
                        QPoint(int(std::ceil(std::max(x1, x2) + margin)),
                               int(std::ceil(std::max(y1, y2) + margin))));
        c.strokeLineWithin(pa, pb, box);
    }
}

std::vector<Line> linesOf(WidePoint centre, std::span<const Spoke> spokes)
{
    std::vector<Line> lines;
    lines.reserve(spokes.size());
    for (const Spoke& s : spokes) {
        lines.push_back(lineOf(centre, s));
    }
    return lines;
}

// The half-width within which a pixel's middle is counted as painted by a pen's stroke.
double countedHalfWidth(int width)
{
    return render::strokeWidth(width) / 2.0 - kInside;
}

} // namespace

std::optional<SolidAnnulus> solidAnnulus(WidePoint centre, std::span<const Spoke> spokes, int width)
{
    return annulusOf(linesOf(centre, spokes), countedHalfWidth(width));
}

bool paintSpokes(Canvas& c, WidePoint centre, std::span<const Spoke> spokes,
                 const LineSetting& line, render::ColorRef color)
{
    const int width = render::strokeWidth(line.width);
    // Only strokes wholly on the canvas are painted as the painter draws them everywhere
    // (one the edge cuts can have a pixel moved), and only those of a pen wider than a pixel
    // are counted on as rectangles: a one-pixel line paints one pixel a column, thinner across
    // than the pixel, and rings of them are seldom shown covering much.
    const bool onCanvas = std::all_of(spokes.begin(), spokes.end(), [&](const Spoke& s) {
        return std::min(s.a.x, s.b.x) - width - 2 >= 0 && std::min(s.a.y, s.b.y) - width - 2 >= 0 &&
               std::max(s.a.x, s.b.x) + width + 2 < c.width() &&
               std::max(s.a.y, s.b.y) + width + 2 < c.height();
    });
    // Each mark outside the annulus costs the painter's setting up of a cut stroke, about a
    // hundred rows of a plain one: only marks longer than that on the whole, and enough of
    // them to reach round a good part of their length (2h each, on both sides of the centre),
    // are worth showing an annulus for.
    const std::vector<Line> lines = linesOf(centre, spokes);
    double length = 0;
    for (const Line& l : lines) {
        length += l.length;
    }
    const double perSpoke = spokes.empty() ? 0 : length / double(spokes.size());
    const double reachable = 2 * double(spokes.size()) * width / kTurn;
    std::optional<SolidAnnulus> annulus;
    if (onCanvas && width >= 2 && spokes.size() >= kFewestSpokes &&
        c.penMode() == render::PenMode::Copy && perSpoke >= kLongSpoke &&
        reachable >= perSpoke / 4) {
        annulus = annulusOf(lines, countedHalfWidth(line.width));
    }
    if (!annulus) {
        for (const Spoke& s : spokes) {
            strokeBetween(c, s.a, s.b, line, color);
        }
        return false;
    }
    fillAnnulus(c, centre, *annulus, render::toQRgb(color));
    const render::Pen saved = c.pen();
    render::Pen pen;
    pen.color = color;
    pen.style = render::PenStyle::Solid;
    pen.width = width;
    pen.geometric = true;
    pen.flatEnds = true;
    c.setPen(pen);
    for (std::size_t i = 0; i < spokes.size(); ++i) {
        strokeOutside(c, spokes[i], lines[i], width / 2.0, *annulus);
    }
    c.setPen(saved);
    return true;
}

} // namespace koyomi::figures
