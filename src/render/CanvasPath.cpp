// Paths recorded on the canvas: points and types, flattening of curves, stroking.
#include "render/Canvas.h"

#include <QPainter>
#include <QPointF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace koyomi::render {

void Canvas::beginPath()
{
    m_pathOpen = true;
    m_pathPoints.clear();
    m_pathTypes.clear();
}

void Canvas::endPath()
{
    m_pathOpen = false;
}

void Canvas::bezierTo(QPoint c1, QPoint c2, QPoint end)
{
    if (!m_pathOpen) {
        return;
    }
    for (const QPoint& p : {c1, c2, end}) {
        m_pathPoints.push_back(p);
        m_pathTypes.push_back(PathBezierTo);
    }
    m_position = end;
}

void Canvas::closeFigure()
{
    if (m_pathOpen && !m_pathTypes.empty()) {
        m_pathTypes.back() |= PathCloseFigure;
    }
}

namespace {

void flattenCubic(QPointF p0, QPointF p1, QPointF p2, QPointF p3, int depth,
                  std::vector<QPointF>& out)
{
    // Flat enough when both control points lie within 0.25 pixel of the chord.
    const QPointF chord = p3 - p0;
    const double len = std::hypot(chord.x(), chord.y());
    auto distance = [&](QPointF p) {
        if (len < 1e-9) {
            return std::hypot(p.x() - p0.x(), p.y() - p0.y());
        }
        return std::abs((p.x() - p0.x()) * chord.y() - (p.y() - p0.y()) * chord.x()) / len;
    };
    if (depth >= 16 || (distance(p1) <= 0.25 && distance(p2) <= 0.25)) {
        out.push_back(p3);
        return;
    }
    const QPointF p01 = (p0 + p1) / 2, p12 = (p1 + p2) / 2, p23 = (p2 + p3) / 2;
    const QPointF p012 = (p01 + p12) / 2, p123 = (p12 + p23) / 2;
    const QPointF mid = (p012 + p123) / 2;
    flattenCubic(p0, p01, p012, mid, depth + 1, out);
    flattenCubic(mid, p123, p23, p3, depth + 1, out);
}

} // namespace

void Canvas::flattenPath()
{
    if (std::none_of(m_pathTypes.begin(), m_pathTypes.end(),
                     [](std::uint8_t t) { return (t & PathMoveTo) == PathBezierTo; })) {
        return; // nothing to flatten: the common case of stroked polylines
    }
    std::vector<QPoint> points;
    std::vector<std::uint8_t> types;
    points.reserve(m_pathPoints.size());
    types.reserve(m_pathTypes.size());
    std::vector<QPointF> piece;
    for (std::size_t i = 0; i < m_pathPoints.size(); ++i) {
        const std::uint8_t kind = m_pathTypes[i] & PathMoveTo;
        if (kind == PathBezierTo && i + 2 < m_pathPoints.size() && !points.empty()) {
            piece.clear();
            flattenCubic(points.back(), m_pathPoints[i], m_pathPoints[i + 1], m_pathPoints[i + 2],
                         0, piece);
            for (const QPointF& p : piece) {
                // Halves round up on both sides of zero (QPointF::toPoint rounds them away
                // from zero), so that a curve left or above the canvas's origin keeps its
                // pixels wherever it is drawn.
                points.emplace_back(int(std::floor(p.x() + 0.5)), int(std::floor(p.y() + 0.5)));
                types.push_back(PathLineTo);
            }
            types.back() |= (m_pathTypes[i + 2] & PathCloseFigure);
            i += 2;
        } else {
            points.push_back(m_pathPoints[i]);
            types.push_back(kind == PathBezierTo ? std::uint8_t(PathLineTo) : m_pathTypes[i]);
        }
    }
    m_pathPoints = std::move(points);
    m_pathTypes = std::move(types);
}

bool Canvas::fillStraightStroke(QPoint a, QPoint b, int width, ColorRef color)
{
    if ((a.x() == b.x()) == (a.y() == b.y())) {
        return false;
    }
    const long long w = strokeWidth(width);
    // [x1, x2) × [y1, y2), cut to the canvas in 64 bits before it meets QRect.
    auto fill = [&](long long x1, long long y1, long long x2, long long y2) {
        x1 = std::max<long long>(x1, 0);
        y1 = std::max<long long>(y1, 0);
        x2 = std::min<long long>(x2, m_image.width());
        y2 = std::min<long long>(y2, m_image.height());
        if (x1 < x2 && y1 < y2) {
            fillRect(int(x1), int(y1), int(x2), int(y2), color);
        }
    };
    if (a.y() == b.y()) {
        const long long top = (long long)a.y() - w / 2;
        fill(std::min(a.x(), b.x()), top, std::max(a.x(), b.x()), top + w);
    } else {
        const long long left = (long long)a.x() - w / 2;
        fill(left, std::min(a.y(), b.y()), left + w, std::max(a.y(), b.y()));
    }
    return true;
}

void Canvas::strokeFigure(std::span<const QPoint> points, bool closed)
{
    if (points.size() < 2 || m_pen.style == PenStyle::Clear) {
        return;
    }
    if (!m_pen.geometric && m_pen.width <= 1) {
        moveTo(points[0].x(), points[0].y());
        for (std::size_t i = 1; i < points.size(); ++i) {
            lineTo(points[i].x(), points[i].y());
        }
        if (closed) {
            lineTo(points[0].x(), points[0].y());
        }
        return;
    }
    if (points.size() == 2 && !closed && m_pen.geometric && m_pen.flatEnds &&
        m_pen.style == PenStyle::Solid && m_penMode == PenMode::Copy &&
        fillStraightStroke(points[0], points[1], m_pen.width, m_pen.color)) {
        return;
    }
    QPainter& p = painter();
    applyPainterState(p, false);
    QRect box(points[0], points[0]);
    for (const QPoint& q : points) {
        box = box.united(QRect(q, q));
    }
    if (paintWhole(p, box, [&](QPainter& q) {
            if (closed) {
                q.drawPolygon(points.data(), static_cast<int>(points.size()));
            } else {
                q.drawPolyline(points.data(), static_cast<int>(points.size()));
            }
        })) {
        return;
    }
    if (closed) {
        p.drawPolygon(points.data(), static_cast<int>(points.size()));
    } else {
        p.drawPolyline(points.data(), static_cast<int>(points.size()));
    }
}

void Canvas::strokePath()
{
    m_pathOpen = false;
    flattenPath();
    const std::vector<QPoint> points = std::move(m_pathPoints);
    const std::vector<std::uint8_t> types = std::move(m_pathTypes);
    m_pathPoints.clear();
    m_pathTypes.clear();
    std::size_t i = 0;
    while (i < points.size()) {
        std::size_t j = i + 1;
        while (j < points.size() && (types[j] & PathMoveTo) != PathMoveTo) {
            ++j;
        }
        const bool closed = (types[j - 1] & PathCloseFigure) != 0;
        strokeFigure(std::span(points).subspan(i, j - i), closed);
        i = j;
    }
}

} // namespace koyomi::render
