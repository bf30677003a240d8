// Paths recorded on the canvas: points and types, flattening of curves, stroking.
#include "render/Canvas.h"
#include "render/PixelLoop.h"
#include "render/PixelRuns.h"
#include "render/StrokeStamps.h"

#include <QPainter>
#include <QPointF>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>
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

namespace {

// The rectangle [x1, x2) × [y1, y2) a flat-ended stroke of the width covers from a to b along
// a row or a column; nothing for a slanted stroke or a point.
struct WideRect
{
    long long x1, y1, x2, y2;
};
std::optional<WideRect> straightStrokeRect(QPoint a, QPoint b, int width)
{
    if ((a.x() == b.x()) == (a.y() == b.y())) {
        return std::nullopt;
    }
    const long long w = strokeWidth(width);
    if (a.y() == b.y()) {
        const long long top = (long long)a.y() - w / 2;
        return WideRect{std::min(a.x(), b.x()), top, std::max(a.x(), b.x()), top + w};
    }
    const long long left = (long long)a.x() - w / 2;
    return WideRect{left, std::min(a.y(), b.y()), left + w, std::max(a.y(), b.y())};
}

} // namespace

bool Canvas::fillStraightStroke(QPoint a, QPoint b, int width, ColorRef color)
{
    const std::optional<WideRect> r = straightStrokeRect(a, b, width);
    if (!r) {
        return false;
    }
    // Cut to the canvas in 64 bits before it meets QRect.
    const long long x1 = std::max<long long>(r->x1, 0);
    const long long y1 = std::max<long long>(r->y1, 0);
    const long long x2 = std::min<long long>(r->x2, m_image.width());
    const long long y2 = std::min<long long>(r->y2, m_image.height());
    if (x1 < x2 && y1 < y2) {
        fillRect(int(x1), int(y1), int(x2), int(y2), color);
    }
    return true;
}

namespace {

// Stamps of the strokes drawn on any canvas of the thread: kept for every canvas, the marks of
// copies drawn on scratch canvases, and of every redraw, are made once.
StrokeStamps& strokeStamps()
{
    thread_local StrokeStamps strokes;
    return strokes;
}

// The key of a stroke from a to b in the canvas's pen, or nothing when it reaches too far for
// a key (2^15 pixels or more either way; such a stroke is never kept).
std::optional<std::uint64_t> strokeKey(QPoint a, QPoint b, int width, bool flatEnds)
{
    const long long dx = (long long)b.x() - a.x();
    const long long dy = (long long)b.y() - a.y();
    constexpr long long reach = 1 << 15;
    if (dx <= -reach || dx >= reach || dy <= -reach || dy >= reach) {
        return std::nullopt;
    }
    return StrokeStamps::key(QPoint(int(dx), int(dy)), width, flatEnds);
}

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

namespace {

// How the painter steps a one-pixel line of a geometric pen (its thin-line rasteriser) from a
// to b: along the axis the line runs farther on, from the end with the smaller coordinate,
// one pixel per step; across, a 16.16 fixed-point position that starts at that end (moved
// half a pixel outward with round ends), is taken at the step's middle where it grows and at
// the step's start where it does not, and grows by the slope cut toward zero at each step.
// Positions are in 26.6 fixed point, as the painter takes them.
struct ThinLineSteps
{
    bool alongRows = true; // steps along x, positions across in y
    int first = 0;         // the first step's coordinate along, and the one after the last
    int end = 0;
    // The position across at the first step, 16.16: held in 64 bits, which the painter's own
    // sum reaches only on images taller than 32767 pixels.
    long long at = 0;
    int slope = 0;
};

ThinLineSteps thinLineSteps(QPoint a, QPoint b, bool roundEnds)
{
    int x1 = a.x() * 64;
    int y1 = a.y() * 64;
    int x2 = b.x() * 64;
    int y2 = b.y() * 64;
    ThinLineSteps s;
    s.alongRows = std::abs(x2 - x1) >= std::abs(y2 - y1);
    if (!s.alongRows) {
        std::swap(x1, y1);
        std::swap(x2, y2);
    }
    if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    s.slope = int((static_cast<long long>(y2 - y1) << 16) / (x2 - x1));
    s.at = static_cast<long long>(y1) * 1024;
    if (roundEnds) {
        x1 -= 32;
        s.at -= s.slope >> 1;
        x2 += 32;
    }
    s.first = (x1 + 32) >> 6;
    s.end = (x2 + 32) >> 6;
    const int middle = s.slope > 0 ? 32 : 0;
    s.at += (static_cast<long long>((s.first << 6) + middle - x1) * s.slope) >> 6;
    return s;
}

// Calls visit(x, y) for each pixel of the line's steps from `from` to `to` (within first and
// end): each step's position is the first's plus whole slopes, as the painter adds them up.
template <class Visit>
KOYOMI_PIXEL_LOOP void eachThinStep(const ThinLineSteps& s, int from, int to, Visit visit)
{
    long long at = s.at + static_cast<long long>(from - s.first) * s.slope;
    for (int step = from; step < to; ++step, at += s.slope) {
        const auto across = static_cast<int>(at >> 16);
        visit(s.alongRows ? step : across, s.alongRows ? across : step);
    }
}

// The pixels of every short one-pixel line, as offsets from its first end: a line is
// stepped the same wherever it starts, its ends being whole pixels. A dashed ring of
// thousands of marks paints millions of dashes a few pixels long, each costing far more to
// set up (the slope's division, the cut to the canvas) than to paint.
class ShortThinLines
{
public:
    static constexpr int kReach = 15; // the ends at most this many pixels apart on each axis

    struct Line
    {
        std::array<std::array<std::int8_t, 2>, 2 * kReach + 2> at{}; // x, y of each pixel
        int count = 0;
        int left = 0; // the box of its pixels
        int top = 0;
        int right = -1;
        int bottom = -1;
    };

    static const ShortThinLines& table()
    {
        static const ShortThinLines made;
        return made;
    }

    // The line from a to a + d, or nullptr for one this table does not hold.
    const Line* of(QPoint d, bool roundEnds) const
    {
        if (std::abs(d.x()) > kReach || std::abs(d.y()) > kReach || d.isNull()) {
            return nullptr;
        }
        return &m_lines[roundEnds ? 1 : 0][std::size_t(index(d))];
    }

private:
    static int index(QPoint d) { return (d.x() + kReach) * (2 * kReach + 1) + d.y() + kReach; }

    ShortThinLines()
    {
        for (const bool round : {false, true}) {
            m_lines[round ? 1 : 0].resize((2 * kReach + 1) * (2 * kReach + 1));
            for (int dx = -kReach; dx <= kReach; ++dx) {
                for (int dy = -kReach; dy <= kReach; ++dy) {
                    if (dx != 0 || dy != 0) {
                        made(QPoint(dx, dy), round);
                    }
                }
            }
        }
    }

    void made(QPoint d, bool round)
    {
        Line& line = m_lines[round ? 1 : 0][std::size_t(index(d))];
        const ThinLineSteps s = thinLineSteps(QPoint(0, 0), d, round);
        eachThinStep(s, s.first, s.end, [&line](int x, int y) {
            const bool first = line.count == 0;
            line.at[std::size_t(line.count++)] = {std::int8_t(x), std::int8_t(y)};
            line.left = first ? x : std::min(line.left, x);
            line.right = first ? x : std::max(line.right, x);
            line.top = first ? y : std::min(line.top, y);
            line.bottom = first ? y : std::max(line.bottom, y);
        });
    }

    std::array<std::vector<Line>, 2> m_lines;
};

} // namespace

KOYOMI_PIXEL_LOOP void Canvas::paintThinLine(QPoint a, QPoint b, const QRect* within)
{
    const ThinLineSteps s = thinLineSteps(a, b, !m_pen.flatEnds);
    const QRect box = within ? within->intersected(m_image.rect()) : m_image.rect();
    const int from = std::max(s.first, s.alongRows ? box.left() : box.top());
    const int to = std::min(s.end, (s.alongRows ? box.right() : box.bottom()) + 1);
    const int acrossLow = s.alongRows ? box.top() : box.left();
    const int acrossHigh = s.alongRows ? box.bottom() : box.right();
    const QRgb rgb = toQRgb(m_pen.color);
    uchar* const bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    int low = acrossHigh + 1;
    int high = acrossLow - 1;
    eachThinStep(s, from, to, [&](int x, int y) {
        const int across = s.alongRows ? y : x;
        if (across < acrossLow || across > acrossHigh) {
            return;
        }
        low = std::min(low, across);
        high = std::max(high, across);
        reinterpret_cast<QRgb*>(bits + y * stride)[x] = rgb;
    });
    if (low <= high) {
        if (s.alongRows) {
            m_written.add(from, low, to, high + 1);
        } else {
            m_written.add(low, from, high + 1, to);
        }
    }
}

bool Canvas::stampStroke(QPoint a, QPoint b)
{
    const int width = strokeWidth(m_pen.width);
    // A stroke's pixels depend on its pen and shape alone, not on the canvas.
    const std::optional<std::uint64_t> key = strokeKey(a, b, width, m_pen.flatEnds);
    if (!key) {
        return false;
    }
    const QPoint d = b - a;
    // The stroke and the widest reach of its ends, as paintWhole reckons it.
    const int margin = width + 2;
    const QSize size(std::abs(d.x()) + 1 + 2 * margin, std::abs(d.y()) + 1 + 2 * margin);
    if (qint64(size.width()) * size.height() > kMaxStrokeStampPixels) {
        return false;
    }
    StrokeStamps& strokes = strokeStamps();
    StrokeStamp* stamp = strokes.seen(*key);
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

KOYOMI_PIXEL_LOOP void Canvas::strokeLines(std::span<const QPoint> ends)
{
    const std::size_t count = ends.size() / 2;
    if (count == 0) {
        return;
    }
    if (!m_pen.geometric || m_pen.style != PenStyle::Solid || m_penMode != PenMode::Copy) {
        for (std::size_t k = 0; k < count; ++k) {
            strokeLine(ends[2 * k], ends[2 * k + 1]);
        }
        return;
    }
    const int width = strokeWidth(m_pen.width);
    const bool flatEnds = m_pen.flatEnds;
    const QRgb rgb = toQRgb(m_pen.color);
    StrokeStamps& strokes = strokeStamps();
    // The stamps of the last few directions and lengths met: the dashes of one line come in
    // a few, each found here without a look-up in all the thread's stamps.
    struct Recent
    {
        std::uint64_t key = 0;
        const StrokeStamp* stamp = nullptr;
    };
    std::array<Recent, 8> recent{};
    std::size_t replaced = 0;
    std::uint64_t generation = strokes.generation();
    PixelTarget target(m_image, m_written);
    const ShortThinLines* const thin = width == 1 ? &ShortThinLines::table() : nullptr;
    for (std::size_t k = 0; k < count; ++k) {
        const QPoint a = ends[2 * k];
        const QPoint b = ends[2 * k + 1];
        if (thin) {
            // A short line wholly on the canvas is painted from its pixels' offsets.
            if (const ShortThinLines::Line* line = thin->of(b - a, !flatEnds)) {
                const long long left = (long long)a.x() + line->left;
                const long long top = (long long)a.y() + line->top;
                const long long right = (long long)a.x() + line->right;
                const long long bottom = (long long)a.y() + line->bottom;
                if (left >= 0 && top >= 0 && right < target.width && bottom < target.height) {
                    for (int n = 0; n < line->count; ++n) {
                        const auto& at = line->at[std::size_t(n)];
                        reinterpret_cast<QRgb*>(
                            target.bits + (a.y() + at[1]) * target.stride)[a.x() + at[0]] = rgb;
                    }
                    target.written->add(left, top, right + 1, bottom + 1);
                    continue;
                }
            }
        }
        if (flatEnds) {
            if (const std::optional<WideRect> r = straightStrokeRect(a, b, width)) {
                target.fill(r->x1, r->y1, r->x2, r->y2, rgb);
                continue;
            }
        }
        const std::optional<std::uint64_t> key = strokeKey(a, b, width, flatEnds);
        const StrokeStamp* stamp = nullptr;
        if (key) {
            for (const Recent& r : recent) {
                if (r.stamp && r.key == *key) {
                    stamp = r.stamp;
                    break;
                }
            }
            if (!stamp && (stamp = strokes.usable(*key))) {
                recent[replaced++ % recent.size()] = {*key, stamp};
            }
        }
        if (stamp) {
            target.paint(stamp->runs, a.x(), a.y(), rgb);
            ++m_strokesStamped;
            continue;
        }
        // The first of its kind, or one not kept: stroked the usual way, which makes its stamp
        // when it is met again.
        const std::array<QPoint, 2> points{a, b};
        strokeFigure(points, false);
        target = PixelTarget(m_image, m_written); // the painter may have drawn on the image
        if (strokes.generation() != generation) {
            recent = {}; // the stamps started again from none
            generation = strokes.generation();
        }
    }
    leaveLineStroked(ends[2 * count - 1]);
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
        if (m_pen.geometric && strokeWidth(m_pen.width) == 1 && points[0] != points[1] &&
            m_image.rect().contains(QRect(points[0], points[1]).normalized())) {
            paintThinLine(points[0], points[1], nullptr);
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

void Canvas::leaveLineStroked(QPoint end)
{
    m_pathOpen = false;
    m_pathPoints.clear();
    m_pathTypes.clear();
    m_position = end;
    m_patternPhase = 0;
}

void Canvas::strokeLine(QPoint a, QPoint b)
{
    leaveLineStroked(b);
    const std::array<QPoint, 2> points{a, b};
    strokeFigure(points, false);
}

void Canvas::strokeLineWithin(QPoint a, QPoint b, const QRect& within)
{
    const int width = strokeWidth(m_pen.width);
    const QRect box =
        QRect(a, b).normalized().adjusted(-width - 2, -width - 2, width + 2, width + 2);
    // A one-pixel line is stepped from the first step the box holds, as the painter steps
    // it (which steps the whole line whatever its clip).
    if (m_pen.geometric && width == 1 && m_pen.style == PenStyle::Solid &&
        m_penMode == PenMode::Copy && a != b && m_image.rect().contains(box)) {
        leaveLineStroked(b);
        paintThinLine(a, b, &within);
        return;
    }
    // A line along a row or a column is a rectangle filled directly, for about its pixels.
    if (!m_pen.geometric || m_pen.style != PenStyle::Solid || m_penMode != PenMode::Copy ||
        !m_image.rect().contains(box) || a.x() == b.x() || a.y() == b.y() || within.contains(box)) {
        strokeLine(a, b);
        return;
    }
    leaveLineStroked(b);
    const QRect cut = within.intersected(box);
    if (cut.isEmpty()) {
        return;
    }
    // The painter keeps, inside a clip rectangle, every pixel of the line it would paint
    // without one: it rasterises the whole outline and only skips rows and columns.
    QPainter& p = painter();
    applyPainterState(p, false);
    p.setClipRect(cut);
    const std::array<QPoint, 2> points{a, b};
    p.drawPolyline(points.data(), 2);
    p.setClipping(false);
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
