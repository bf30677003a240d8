// Paths recorded on the canvas: points and types, flattening of curves, stroking.
#include "render/Canvas.h"
#include "render/PixelRuns.h"
#include "render/StrokeStamps.h"

#include <QPainter>
#include <QPointF>

#include <algorithm>
#include <array>
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

namespace {

// Strokes are kept only while the picture painted to find their pixels is this small: the
// picture paintWhole would paint for a stroke the canvas's edge cuts (a mark a thousand pixels
// long, cut by the window in every copy of a circle). Only the band along the stroke is read.
constexpr qint64 kMaxStrokeStampPixels = qint64(1) << 18;

// The columns of each row of a stroke's picture within `reach` of the stroke from `start` to
// start + d: all a stroke of half that width can cover, round ends included.
std::vector<RowBand> bandsAlong(QPoint start, QPoint d, const QSize& picture, int reach)
{
    std::vector<RowBand> bands(std::size_t(picture.height()));
    for (int y = 0; y < picture.height(); ++y) {
        // The part of the stroke whose rows lie within reach of row y.
        double t0 = 0;
        double t1 = 1;
        if (d.y() != 0) {
            const double a = double(y - reach - start.y()) / d.y();
            const double b = double(y + reach - start.y()) / d.y();
            t0 = std::max(0.0, std::min(a, b));
            t1 = std::min(1.0, std::max(a, b));
        } else if (std::abs(y - start.y()) > reach) {
            t1 = -1;
        }
        if (t0 > t1) {
            bands[std::size_t(y)] = {0, 0};
            continue;
        }
        const double xa = start.x() + t0 * d.x();
        const double xb = start.x() + t1 * d.x();
        const int x0 = std::max(0, int(std::floor(std::min(xa, xb))) - reach);
        const int x1 = std::min(picture.width(), int(std::ceil(std::max(xa, xb))) + reach + 1);
        bands[std::size_t(y)] = {x0, std::max(x0, x1)};
    }
    return bands;
}

} // namespace

bool Canvas::stampStroke(QPoint a, QPoint b)
{
    const int width = strokeWidth(m_pen.width);
    const QPoint d(int(std::clamp<long long>((long long)b.x() - a.x(), -(1 << 15), 1 << 15)),
                   int(std::clamp<long long>((long long)b.y() - a.y(), -(1 << 15), 1 << 15)));
    // The stroke and the widest reach of its ends, as paintWhole reckons it.
    const int margin = width + 2;
    const QSize size(std::abs(d.x()) + 1 + 2 * margin, std::abs(d.y()) + 1 + 2 * margin);
    if (qint64(size.width()) * size.height() > kMaxStrokeStampPixels) {
        return false;
    }
    // A stroke's pixels depend on its pen and shape alone, not on the canvas: kept for every
    // canvas, the marks of copies drawn on scratch canvases, and of every redraw, are made
    // once.
    thread_local StrokeStamps strokes;
    StrokeStamp* stamp = strokes.seen(StrokeStamps::key(d, width, m_pen.flatEnds));
    if (!stamp) {
        return false;
    }
    if (stamp->state == StrokeStamp::State::Seen) {
        // The same pen the painter strokes with on the canvas, in white on black.
        QPainter& onCanvas = painter();
        applyPainterState(onCanvas, false);
        QPen pen = onCanvas.pen();
        pen.setColor(Qt::white);
        const QPoint start(margin + std::max(-d.x(), 0), margin + std::max(-d.y(), 0));
        const std::array<QPoint, 2> points{start, start + d};
        thread_local StampScratch kept(4 * kMaxStrokeStampPixels);
        QImage& scratch = kept.image(size);
        {
            QPainter p(&scratch);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(points.data(), int(points.size()));
        }
        StrokeStamp made;
        made.runs.reserve(std::size_t(size.height())); // a run a row, for most strokes
        made.state = kept.takeRuns(size, start, bandsAlong(start, d, size, margin), made.runs)
                         ? StrokeStamp::State::Usable
                         : StrokeStamp::State::Unusable;
        strokes.settle(*stamp, std::move(made));
    }
    if (stamp->state != StrokeStamp::State::Usable) {
        return false;
    }
    paintRuns(stamp->runs, a.x(), a.y(), toQRgb(m_pen.color));
    ++m_strokesStamped;
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
    if (points.size() == 2 && !closed && m_pen.style == PenStyle::Solid &&
        m_penMode == PenMode::Copy) {
        if (m_pen.geometric && m_pen.flatEnds &&
            fillStraightStroke(points[0], points[1], m_pen.width, m_pen.color)) {
            return;
        }
        if (stampStroke(points[0], points[1])) {
            return;
        }
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

void Canvas::strokeLine(QPoint a, QPoint b)
{
    m_pathOpen = false;
    m_pathPoints.clear();
    m_pathTypes.clear();
    m_position = b;
    m_patternPhase = 0;
    const std::array<QPoint, 2> points{a, b};
    strokeFigure(points, false);
}

void Canvas::strokePath()
{
    m_pathOpen = false;
    flattenPath();
    // The path is taken out to be stroked and its buffers come back empty with their room:
    // a dashed line strokes a path for every dash.
    std::swap(m_strokingPoints, m_pathPoints);
    std::swap(m_strokingTypes, m_pathTypes);
    m_pathPoints.clear();
    m_pathTypes.clear();
    const std::vector<QPoint>& points = m_strokingPoints;
    const std::vector<std::uint8_t>& types = m_strokingTypes;
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
