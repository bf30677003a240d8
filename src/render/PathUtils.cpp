#include "render/PathUtils.h"

#include <algorithm>
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
