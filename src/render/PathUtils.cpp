#include "render/PathUtils.h"

#include "render/PixelLoop.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <numbers>
#include <numeric>

namespace koyomi::render {

namespace {

long double distance(QPoint a, QPoint b)
{
    const long double dx = static_cast<long double>(b.x()) - a.x();
    const long double dy = static_cast<long double>(b.y()) - a.y();
    return std::sqrt(dx * dx + dy * dy);
}

// Rounds to the nearest integer, halves to even. Adding and taking away 2^63 leaves the
// extended value rounded by the default rounding mode, which is exactly that; the library's
// rounding and the direct conversion of long doubles both switch the floating-point mode on
// every call, which was most of a dashed line's cost.
int roundEven(long double v)
{
    constexpr long double magic = 9223372036854775808.0L; // 2^63
    const long double clamped = std::clamp<long double>(v, INT_MIN, INT_MAX);
    const long double rounded =
        clamped >= 0 ? (clamped + magic) - magic : (clamped - magic) + magic;
    return static_cast<int>(static_cast<double>(rounded));
}

// The point at distance `back` from `to` toward `from`, `len` apart.
QPoint pointBack(QPoint to, QPoint from, long double len, long double back)
{
    if (len == 0) {
        return to;
    }
    const long double dx = static_cast<long double>(from.x()) - to.x();
    const long double dy = static_cast<long double>(from.y()) - to.y();
    return QPoint(roundEven(to.x() + back * dx / len), roundEven(to.y() + back * dy / len));
}

// The part [u0, u1] of the segment a→b (u from 0 to 1) inside the rectangle; false when the
// segment misses it (Liang–Barsky).
bool clipSegment(QPoint a, QPoint b, long double xMin, long double yMin, long double xMax,
                 long double yMax, long double& u0, long double& u1)
{
    const long double dx = static_cast<long double>(b.x()) - a.x();
    const long double dy = static_cast<long double>(b.y()) - a.y();
    const long double p[4] = {-dx, dx, -dy, dy};
    const long double q[4] = {a.x() - xMin, xMax - a.x(), a.y() - yMin, yMax - a.y()};
    u0 = 0;
    u1 = 1;
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) {
                return false;
            }
            continue;
        }
        const long double r = q[k] / p[k];
        if (p[k] < 0) {
            u0 = std::max(u0, r);
        } else {
            u1 = std::min(u1, r);
        }
    }
    return u0 <= u1;
}

// The points of a straight line from `from` to `to`, `len` apart, at distances along it from
// `from`, as pointBack finds them. A mark of a ring is hundreds of dashes, and the extended
// division and rounding of pointBack were most of their cost: the point is found in double
// precision, and pointBack's arithmetic is needed only where a coordinate lies so near a half
// that the two could round it apart.
class StraightLinePoints
{
public:
    StraightLinePoints(QPoint to, QPoint from, long double len)
        : m_to(to), m_from(from), m_len(len), m_lenD(double(len)),
          m_stepX(len > 0 ? double((long long)from.x() - to.x()) / m_lenD : 0),
          m_stepY(len > 0 ? double((long long)from.y() - to.y()) / m_lenD : 0),
          m_slackX(slack(to.x(), (long long)from.x() - to.x())),
          m_slackY(slack(to.y(), (long long)from.y() - to.y()))
    {
    }

    // The point `along` (a whole number) from `from`; never called for a line of no length.
    KOYOMI_PIXEL_LOOP QPoint at(double along) const
    {
        const double back = m_lenD - along;
        const double x = m_to.x() + back * m_stepX;
        const double y = m_to.y() + back * m_stepY;
        const double rx = nearest(x);
        const double ry = nearest(y);
        if (std::abs(x - rx) < 0.5 - m_slackX && std::abs(y - ry) < 0.5 - m_slackY) {
            return QPoint(int(rx), int(ry));
        }
        return pointBack(m_to, m_from, m_len, m_len - (long double)along);
    }

private:
    // Either rounding of a value this far from a half gives the same whole number. Each of the
    // few double operations errs by at most 2^-53 of the coordinates' size, the extended ones
    // by 2^-64; 2^-44 leaves a wide margin over their sum.
    static double slack(long long to, long long d)
    {
        return std::ldexp(double(std::llabs(to) + std::llabs(d) + 1), -44);
    }

    // The nearest whole number (either one at a half), for values below 2^51 in size.
    static double nearest(double v)
    {
        constexpr double magic = 6755399441055744.0; // 1.5 · 2^52
        return (v + magic) - magic;
    }

    QPoint m_to;
    QPoint m_from;
    long double m_len;
    double m_lenD;
    double m_stepX;
    double m_stepY;
    double m_slackX;
    double m_slackY;
};

// Whether every dash and gap of the pattern at width w is a whole number of pixels (below
// 2^40), as every line kind's are: the walk of a straight line can then keep its distances
// in double precision, exactly as the extended walk does.
bool wholeDashes(std::span<const double> pattern, int w)
{
    return std::all_of(pattern.begin(), pattern.end(), [w](double d) {
        const long double v = static_cast<long double>(w) * d;
        return v >= 0 && v < 1099511627776.0L && v == std::floor(v);
    });
}

// The dashes of the straight line from a to b, each stroked as the walk of DashedPolyline
// strokes it, for a pattern of whole-pixel dashes (wholeDashes): with one segment the walk's
// distances are whole numbers of pixels and the line's length, which compare exactly by the
// length's floor and ceiling. From visStart to visEnd (in distance from a) the line can
// reach the canvas; cycles of dashes before and after are skipped as that walk skips them.
KOYOMI_PIXEL_LOOP void straightDashes(QPoint a, QPoint b, Canvas& canvas, int w,
                                      std::span<const double> pattern, long double cycle,
                                      long double visStart, long double visEnd)
{
    const long double len = distance(a, b);
    const double lenFloor = double(std::floor(len));
    const double lenCeil = double(std::ceil(len));
    // Whole numbers compare with the visible part as with its ceiling and floor.
    const double visFrom = double(std::ceil(visStart));
    const double visTo = double(std::floor(visEnd));
    const StraightLinePoints points(b, a, len);
    const std::size_t m = pattern.size();
    // The dashes and gaps in pixels, whole numbers held exactly; found once, not at each dash.
    std::array<double, 8> few{};
    std::vector<double> many;
    if (m > few.size()) {
        many.resize(m);
    }
    double* const steps = m > few.size() ? many.data() : few.data();
    for (std::size_t j = 0; j < m; ++j) {
        steps[j] = double(static_cast<long double>(w) * pattern[j]);
    }
    // The next dash or gap: a dashed ring's millions of dashes each took two divisions by the
    // pattern's length.
    auto next = [m](std::size_t j) { return j + 1 == m ? 0 : j + 1; };

    // Dashes go to the canvas a few hundred at a time.
    constexpr std::size_t kBatch = 512;
    thread_local std::array<QPoint, 2 * kBatch> ends;
    std::size_t count = 0;
    auto add = [&](QPoint start, QPoint end) {
        ends[count++] = start;
        ends[count++] = end;
        if (count == ends.size()) {
            canvas.strokeLines(ends);
            count = 0;
        }
    };
    auto flush = [&] {
        canvas.strokeLines(std::span(ends).first(count));
        count = 0;
    };

    // The first dash starts at a, which the extended walk takes as it stands.
    std::size_t j = 0;
    double dashStart = 0;
    double dashEnd = steps[0];
    add(a, len == 0 || dashEnd >= lenCeil ? b : points.at(dashEnd));
    for (;;) {
        j = next(j);
        dashStart = dashEnd;
        dashEnd = dashStart + steps[j];
        j = next(j);
        dashStart = dashEnd;
        dashEnd = dashStart + steps[j];
        if (dashStart > lenFloor) {
            break; // past b
        }
        if (dashStart < visFrom || dashStart > visTo) {
            const long double limit = dashStart < visFrom ? visStart : len;
            const long double n = std::floor((limit - dashStart) / cycle) - 1;
            if (limit > dashStart && n > 0) {
                dashStart = double(dashStart + n * cycle);
                dashEnd = double(dashEnd + n * cycle);
            }
        }
        if (dashStart >= lenCeil) {
            // A dash starting exactly at b: the walk strokes b alone, which paints nothing.
            flush();
            StrokePolyline(std::span(&b, 1), canvas);
            continue;
        }
        add(points.at(dashStart), dashEnd < lenCeil ? points.at(dashEnd) : b);
    }
    flush();
}

} // namespace

void DashedPolyline(std::span<const QPoint> points, Canvas& canvas, ColorRef color, int width,
                    std::span<const double> pattern, bool flatEnds)
{
    const double sum = std::accumulate(pattern.begin(), pattern.end(), 0.0);
    if (pattern.empty() || !(sum > 0)) {
        throw EAssertionFailed("DashedPolyline: the dash pattern has no length");
    }
    if (points.empty()) {
        return;
    }
    // Points are copied once so that the caller's buffer may be the canvas's own.
    const std::vector<QPoint> p(points.begin(), points.end());
    const std::size_t n = p.size();
    const std::size_t m = pattern.size();

    // Dash lengths are multiples of the width the pen really draws with; a width of 0 or
    // below would otherwise make dashes of no length that never reach the line's end.
    const int w = strokeWidth(width);
    const Pen saved = canvas.pen();
    Pen pen;
    pen.color = color;
    pen.style = PenStyle::Solid;
    pen.width = w;
    pen.geometric = true;
    pen.flatEnds = flatEnds;
    canvas.setPen(pen);

    // Dashes wholly outside the canvas paint nothing: on a long segment that is mostly
    // outside, whole pattern cycles are skipped arithmetically, so the cost follows the
    // visible length. Lengths are whole numbers here, so skipping lands exactly where
    // walking would.
    const long double cycle = static_cast<long double>(w) * (m % 2 == 0 ? sum : 2 * sum);
    const long double margin = static_cast<long double>(w) + 2;
    const long double xMin = -margin, yMin = -margin;
    const long double xMax = canvas.width() + margin, yMax = canvas.height() + margin;
    // A straight line of many dashes has them found in double precision; one of a dash or two
    // (a clock's marks, a solid line) costs the extended walk no more.
    if (n == 2 && distance(p[0], p[1]) > 2 * cycle && wholeDashes(pattern, w)) {
        long double u0 = 0, u1 = 0;
        const long double len = distance(p[0], p[1]);
        const bool crosses = clipSegment(p[0], p[1], xMin, yMin, xMax, yMax, u0, u1);
        straightDashes(p[0], p[1], canvas, w, pattern, cycle, crosses ? u0 * len : len,
                       crosses ? u1 * len : len);
        canvas.setPen(saved);
        return;
    }
    // The visible part of the segment ending at point i, in distance along the line; found
    // once for each segment, however many dashes it holds.
    std::size_t visibleOf = 0;
    long double visStart = 0;
    long double visEnd = 0;
    auto skipInvisible = [&](long double pos, std::size_t i, long double len,
                             long double& dashStart, long double& dashEnd) {
        if (i == 0 || !(cycle > 0)) {
            return;
        }
        if (visibleOf != i) {
            visibleOf = i;
            const long double segStart = pos - len;
            long double u0 = 0, u1 = 0;
            visStart = pos;
            visEnd = pos;
            if (clipSegment(p[i - 1], p[i], xMin, yMin, xMax, yMax, u0, u1)) {
                visStart = segStart + u0 * len;
                visEnd = segStart + u1 * len;
            }
        }
        const long double limit = dashStart < visStart ? visStart : (dashStart > visEnd ? pos : 0);
        if (limit > dashStart) {
            const long double n = std::floor((limit - dashStart) / cycle) - 1;
            if (n > 0) {
                dashStart += n * cycle;
                dashEnd += n * cycle;
            }
        }
    };

    long double pos = 0;
    long double len = 0; // of the segment ending at point i
    std::size_t i = 0;
    std::size_t j = 0;
    long double dashStart = 0;
    long double dashEnd = static_cast<long double>(w) * pattern[0];
    std::vector<QPoint> out;
    out.reserve(n);
    for (;;) {
        bool finished = false;
        while (pos < dashStart) {
            if (i == n - 1) {
                finished = true;
                break;
            }
            len = distance(p[i], p[i + 1]);
            pos += len;
            ++i;
        }
        if (finished) {
            break;
        }
        skipInvisible(pos, i, len, dashStart, dashEnd);
        out.clear();
        if (dashStart < pos && i > 0) {
            out.push_back(pointBack(p[i], p[i - 1], len, pos - dashStart));
        }
        while (pos <= dashEnd) {
            out.push_back(p[i]);
            if (i == n - 1) {
                break;
            }
            len = distance(p[i], p[i + 1]);
            pos += len;
            ++i;
        }
        if (dashEnd < pos && i > 0) {
            out.push_back(pointBack(p[i], p[i - 1], len, pos - dashEnd));
        }
        StrokePolyline(out, canvas);
        j = (j + 1) % m;
        dashStart = dashEnd;
        dashEnd = dashStart + static_cast<long double>(w) * pattern[j];
        j = (j + 1) % m;
        dashStart = dashEnd;
        dashEnd = dashStart + static_cast<long double>(w) * pattern[j];
    }
    canvas.setPen(saved);
}

void StrokePolyline(std::span<const QPoint> points, Canvas& canvas)
{
    if (points.empty()) {
        return;
    }
    if (points.size() == 2) {
        canvas.strokeLine(points[0], points[1]);
        return;
    }
    canvas.beginPath();
    canvas.moveTo(points[0].x(), points[0].y());
    for (std::size_t i = 1; i < points.size(); ++i) {
        canvas.lineTo(points[i].x(), points[i].y());
    }
    canvas.endPath();
    canvas.strokePath();
}

void ArcPath(Canvas& canvas, long double sweep, long double start, long double ry, long double rx,
             long double cy, long double cx)
{
    constexpr long double quarter = std::numbers::pi_v<long double> / 2;
    // Sweeps that are a whole number of quarters must not leave a sliver piece behind.
    constexpr long double slack = 1e-12L;
    bool first = true;
    auto piece = [&](long double a, long double b) {
        auto toPixel = [&](long double X, long double Y) {
            const long double r = a / 2 + b;
            return QPoint(roundEven(cx + rx * (std::cos(r) * X + std::sin(r) * Y) - 0.0001L),
                          roundEven(cy + ry * (-std::sin(r) * X + std::cos(r) * Y) - 0.0001L));
        };
        const long double t = a / 2;
        const long double c = std::cos(t);
        const long double s = std::sin(t);
        const QPoint startPoint = toPixel(c, s);
        if (first) {
            canvas.moveTo(startPoint.x(), startPoint.y());
            first = false;
        }
        if (a == 0) {
            canvas.lineTo(startPoint.x(), startPoint.y());
            return;
        }
        const long double k = 4 * (1 - c) / 3;
        const long double yk = s - k * c / s;
        canvas.bezierTo(toPixel(c + k, yk), toPixel(c + k, -yk), toPixel(c, -s));
    };
    while (sweep > quarter + slack) {
        piece(quarter, start);
        start += quarter;
        sweep -= quarter;
    }
    while (sweep < -quarter - slack) {
        piece(-quarter, start);
        start -= quarter;
        sweep += quarter;
    }
    piece(sweep, start);
}

void EllipsePath(Canvas& canvas, int x1, int y1, int x2, int y2)
{
    // Wide arithmetic: a box spanning the whole integer range must not overflow.
    const long double rx =
        std::max<long double>(0, (std::abs(static_cast<long double>(x2) - x1) - 1) / 2);
    const long double ry =
        std::max<long double>(0, (std::abs(static_cast<long double>(y2) - y1) - 1) / 2);
    const long double cx = (static_cast<long double>(x1) + x2) / 2;
    const long double cy = (static_cast<long double>(y1) + y2) / 2;
    ArcPath(canvas, 2 * std::numbers::pi_v<long double>, 0, ry, rx, cy, cx);
    canvas.closeFigure();
}

void RectanglePath(Canvas& canvas, int x1, int y1, int x2, int y2)
{
    const int left = std::min(x1, x2);
    const int top = std::min(y1, y2);
    // The right and bottom edges are excluded; a box ending at the lowest integer keeps it.
    const int right = std::max({x1, x2, INT_MIN + 1});
    const int bottom = std::max({y1, y2, INT_MIN + 1});
    canvas.moveTo(left, top);
    canvas.lineTo(right - 1, top);
    canvas.lineTo(right - 1, bottom - 1);
    canvas.lineTo(left, bottom - 1);
    canvas.closeFigure();
}

void TPath::capture(const Canvas& canvas)
{
    m_points = canvas.pathPoints();
    m_types = canvas.pathTypes();
}

PathPoint TPath::GetPoint(int index) const
{
    if (index < 0 || index >= Count()) {
        throw EPathError("TPath.GetPoint: Index is Out of Range");
    }
    const std::uint8_t type = m_types[index];
    PathPointKind kind = PathPointKind::Line;
    if ((type & PathMoveTo) == PathMoveTo) {
        kind = PathPointKind::Move;
    } else if ((type & PathMoveTo) == PathBezierTo) {
        kind = PathPointKind::Bezier;
    }
    return PathPoint{m_points[index], kind, (type & PathCloseFigure) != 0};
}

void DashedPath(const TPath& path, Canvas& canvas, ColorRef color, int width,
                std::span<const double> pattern, bool flatEnds)
{
    const int count = path.Count();
    std::vector<QPoint> sub;
    int i = 0;
    while (i < count - 1) {
        int j = i + 1;
        while (j < count && path.GetPoint(j).kind != PathPointKind::Move) {
            ++j;
        }
        if (j - i >= 2) {
            sub.assign(path.points().begin() + i, path.points().begin() + j);
            if (path.GetPoint(j - 1).closesFigure) {
                sub.push_back(path.points()[i]);
            }
            DashedPolyline(sub, canvas, color, width, pattern, flatEnds);
        }
        i = j;
    }
}

} // namespace koyomi::render
