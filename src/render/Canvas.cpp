#include "render/Canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace koyomi::render {

namespace {

// On and off runs of the cosmetic pen styles, in pixels.
constexpr std::array<int, 2> kDash{18, 6};
constexpr std::array<int, 2> kDot{3, 3};
constexpr std::array<int, 4> kDashDot{9, 6, 3, 6};
constexpr std::array<int, 6> kDashDotDot{9, 3, 3, 3, 3, 3};

// Tells for each pixel of one pattern period whether it is painted.
struct PatternTable
{
    std::array<bool, 32> on{};
    int length = 1;

    explicit PatternTable(std::span<const int> runs)
    {
        if (runs.empty()) {
            on[0] = true;
            return;
        }
        length = 0;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            for (int k = 0; k < runs[i]; ++k) {
                on[length++] = (i % 2 == 0);
            }
        }
    }
};

const PatternTable& patternTable(PenStyle style)
{
    static const std::array<PatternTable, 5> tables{PatternTable({}), PatternTable(kDash),
                                                    PatternTable(kDot), PatternTable(kDashDot),
                                                    PatternTable(kDashDotDot)};
    switch (style) {
    case PenStyle::Dash:
        return tables[1];
    case PenStyle::Dot:
        return tables[2];
    case PenStyle::DashDot:
        return tables[3];
    case PenStyle::DashDotDot:
        return tables[4];
    default:
        return tables[0];
    }
}

Qt::PenStyle qtStyle(PenStyle style)
{
    switch (style) {
    case PenStyle::Solid:
        return Qt::SolidLine;
    case PenStyle::Dash:
        return Qt::DashLine;
    case PenStyle::Dot:
        return Qt::DotLine;
    case PenStyle::DashDot:
        return Qt::DashDotLine;
    case PenStyle::DashDotDot:
        return Qt::DashDotDotLine;
    case PenStyle::Clear:
        return Qt::NoPen;
    }
    return Qt::SolidLine;
}

QRect normalisedBox(int x1, int y1, int x2, int y2)
{
    const int left = std::min(x1, x2);
    const int right = std::max(x1, x2);
    const int top = std::min(y1, y2);
    const int bottom = std::max(y1, y2);
    // The box excludes its right and bottom edges; a 1-pixel pen drawn on QRect(x, y, w, h)
    // covers x .. x + w, so the rectangle is one smaller than the box.
    return QRect(left, top, right - left - 1, bottom - top - 1);
}

} // namespace

int fontPixelHeight(int points)
{
    // MulDiv(points, 96, 72): rounds halves away from zero.
    const long long n = static_cast<long long>(points) * 96;
    const long long pixels = n >= 0 ? (n + 36) / 72 : -((-n + 36) / 72);
    return static_cast<int>(std::clamp<long long>(pixels, INT_MIN, INT_MAX));
}

void installFontSubstitution()
{
    static const bool installed = [] {
        QFont::insertSubstitution(QString::fromUtf8(kFigureFontFamily),
                                  QString::fromUtf8(kSubstituteFontFamily));
        return true;
    }();
    (void)installed;
}

Canvas::Canvas(int width, int height, ColorRef fill)
    : m_image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32),
      m_fontFamily(QString::fromUtf8(kFigureFontFamily))
{
    installFontSubstitution();
    if (m_image.isNull()) {
        throw std::runtime_error("描画面の画像を確保できませんでした");
    }
    m_image.fill(toQRgb(fill));
}

Canvas::~Canvas()
{
    endPainter();
}

const QImage& Canvas::image() const
{
    endPainter();
    return m_image;
}

void Canvas::resize(int width, int height, ColorRef fill)
{
    endPainter();
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    if (image.isNull()) {
        throw std::runtime_error("描画面の画像を確保できませんでした");
    }
    m_image = std::move(image);
    m_image.fill(toQRgb(fill));
}

void Canvas::setPen(const Pen& pen)
{
    m_pen = pen;
}
void Canvas::setPenColor(ColorRef color)
{
    m_pen.color = color;
}
void Canvas::setPenStyle(PenStyle style)
{
    m_pen.style = style;
}
void Canvas::setPenWidth(int width)
{
    m_pen.width = std::max(width, 1);
}
void Canvas::setPenMode(PenMode mode)
{
    m_penMode = mode;
}

void Canvas::setFontSize(int points)
{
    m_fontSize = points;
}

void Canvas::setFontFamily(const QString& family)
{
    m_fontFamily = family;
}

QPainter& Canvas::painter() const
{
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::TextAntialiasing, false);
        m_applied.reset();
        m_painterFontKey.clear();
    }
    return *m_painter;
}

void Canvas::endPainter() const
{
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
}

void Canvas::applyPainterState(QPainter& p, bool withBrush) const
{
    const PainterState state{m_pen, !withBrush || m_brush.clear, m_brush.color, m_penMode};
    if (m_applied == state) {
        return;
    }
    m_applied = state;
    p.setCompositionMode(m_penMode == PenMode::Xor ? QPainter::RasterOp_SourceXorDestination
                                                   : QPainter::CompositionMode_SourceOver);
    if (m_pen.style == PenStyle::Clear) {
        p.setPen(Qt::NoPen);
    } else {
        QPen pen(QColor::fromRgb(toQRgb(m_pen.color)));
        pen.setWidth(m_pen.width);
        pen.setStyle(qtStyle(m_pen.style));
        pen.setCapStyle(m_pen.flatEnds ? Qt::FlatCap : Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
    }
    if (state.brushClear) {
        p.setBrush(Qt::NoBrush);
    } else {
        p.setBrush(QColor::fromRgb(toQRgb(m_brush.color)));
    }
}

void Canvas::fillRect(const QRect& rect, ColorRef color)
{
    const QRect r = rect.normalized().intersected(m_image.rect());
    if (r.isEmpty()) {
        return;
    }
    const QRgb rgb = toQRgb(color);
    uchar* bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(row + r.left(), row + r.left() + r.width(), rgb);
    }
}

void Canvas::fillRect(int x1, int y1, int x2, int y2, ColorRef color)
{
    fillRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), color);
}

void Canvas::moveTo(int x, int y)
{
    m_position = QPoint(x, y);
    m_patternPhase = 0;
    if (m_pathOpen) {
        m_pathPoints.push_back(m_position);
        m_pathTypes.push_back(PathMoveTo);
    }
}

void Canvas::lineTo(int x, int y)
{
    const QPoint to(x, y);
    if (m_pathOpen) {
        m_pathPoints.push_back(to);
        m_pathTypes.push_back(PathLineTo);
    } else if (m_pen.style != PenStyle::Clear) {
        if (m_pen.geometric || m_pen.width > 1) {
            const std::array<QPoint, 2> pts{m_position, to};
            strokeFigure(pts, false);
        } else {
            drawLine(m_position, to);
        }
    }
    m_position = to;
}

void Canvas::plot(int x, int y, QRgb rgb)
{
    auto* p = reinterpret_cast<QRgb*>(m_image.scanLine(y)) + x;
    *p = m_penMode == PenMode::Xor ? (*p ^ (rgb & 0xFFFFFFu)) : rgb;
}

// One-pixel line from `from` to `to`, the end point not painted. Pixels are computed from
// the step number, so a line far outside the canvas costs only its visible part.
void Canvas::drawLine(QPoint from, QPoint to)
{
    const long long dx = static_cast<long long>(to.x()) - from.x();
    const long long dy = static_cast<long long>(to.y()) - from.y();
    const long long adx = std::llabs(dx);
    const long long ady = std::llabs(dy);
    const long long steps = std::max(adx, ady);
    const PatternTable& pattern = patternTable(m_pen.style);
    const int phase0 = m_patternPhase;
    m_patternPhase = static_cast<int>((phase0 + steps) % pattern.length);
    if (steps == 0) {
        return;
    }
    const bool xMajor = adx >= ady;
    const long long major0 = xMajor ? from.x() : from.y();
    const long long minor0 = xMajor ? from.y() : from.x();
    const int majorDir = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int minorDir = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const long long majorLen = xMajor ? adx : ady;
    const long long minorLen = xMajor ? ady : adx;
    const QRect area = m_image.rect();
    const long long majorLow = xMajor ? area.left() : area.top();
    const long long majorLimit = xMajor ? area.right() + 1 : area.bottom() + 1;
    const long long minorLow = xMajor ? area.top() : area.left();
    const long long minorLimit = xMajor ? area.bottom() + 1 : area.right() + 1;

    // Steps s in [sBegin, sEnd) whose major coordinate lies on the canvas.
    long long sBegin = 0;
    long long sEnd = steps;
    if (majorDir > 0) {
        sBegin = std::max(sBegin, majorLow - major0);
        sEnd = std::min(sEnd, majorLimit - major0);
    } else {
        sBegin = std::max(sBegin, major0 - majorLimit + 1);
        sEnd = std::min(sEnd, major0 - majorLow + 1);
    }
    if (sBegin >= sEnd) {
        return;
    }
    const QRgb rgb = toQRgb(m_pen.color);
    const bool solid = pattern.length == 1;

    if (minorLen == 0 && solid && m_penMode == PenMode::Copy) {
        // Horizontal or vertical solid line: the common case of every grid.
        if (minor0 < minorLow || minor0 >= minorLimit) {
            return;
        }
        const long long a = majorDir > 0 ? major0 + sBegin : major0 - (sEnd - 1);
        const long long n = sEnd - sBegin;
        if (xMajor) {
            auto* row = reinterpret_cast<QRgb*>(m_image.scanLine(static_cast<int>(minor0)));
            std::fill_n(row + a, n, rgb);
        } else {
            const qsizetype stride = m_image.bytesPerLine() / 4;
            auto* p = reinterpret_cast<QRgb*>(m_image.bits()) + a * stride + minor0;
            for (long long i = 0; i < n; ++i, p += stride) {
                *p = rgb;
            }
        }
        return;
    }

    // Minor offset k(s) = round-half-up(s * minorLen / majorLen), kept incrementally as
    // num = 2·s·minorLen + majorLen − 2·k·majorLen in [0, 2·majorLen).
    const long long twoMajor = 2 * majorLen;
    const long long twoMinor = 2 * minorLen;
    const __int128 start = static_cast<__int128>(2) * sBegin * minorLen + majorLen;
    long long k = static_cast<long long>(start / twoMajor);
    long long num = static_cast<long long>(start - static_cast<__int128>(k) * twoMajor);
    int phase = static_cast<int>((phase0 + sBegin) % pattern.length);
    for (long long s = sBegin; s < sEnd; ++s) {
        if (pattern.on[phase]) {
            const long long minor = minor0 + minorDir * k;
            if (minor >= minorLow && minor < minorLimit) {
                const long long major = major0 + majorDir * s;
                if (xMajor) {
                    plot(static_cast<int>(major), static_cast<int>(minor), rgb);
                } else {
                    plot(static_cast<int>(minor), static_cast<int>(major), rgb);
                }
            }
        }
        if (++phase == pattern.length) {
            phase = 0;
        }
        num += twoMinor;
        if (num >= twoMajor) {
            num -= twoMajor;
            ++k;
        }
    }
}

void Canvas::verticalLines(std::span<const VerticalLine> lines, long long y1)
{
    // Neighbouring columns of one colour form a span, filled at once on each row; lines with
    // the same rows and style form a run whose rows and pattern are tested once a row.
    struct Span
    {
        int x;
        int length;
        QRgb rgb;
    };
    struct Run
    {
        long long first; // first and last painted row
        long long last;
        int style;
        std::size_t begin; // into spans
        std::size_t end;
    };
    std::vector<Span> spans;
    std::vector<Run> runs;
    spans.reserve(lines.size());
    long long rowFirst = LLONG_MAX;
    long long rowLast = LLONG_MIN;
    for (const VerticalLine& l : lines) {
        if (l.x < 0 || l.x >= width() || l.style == PenStyle::Clear || l.yEnd == y1) {
            continue;
        }
        // Painted rows: y1 .. yEnd − 1 downward, or yEnd + 1 .. y1 upward.
        const long long first = l.yEnd > y1 ? y1 : l.yEnd + 1;
        const long long last = l.yEnd > y1 ? l.yEnd - 1 : y1;
        const int style = static_cast<int>(l.style);
        const QRgb rgb = toQRgb(l.color);
        if (runs.empty() || runs.back().first != first || runs.back().last != last ||
            runs.back().style != style) {
            runs.push_back(Run{first, last, style, spans.size(), spans.size()});
        }
        Run& run = runs.back();
        if (run.end > run.begin && spans.back().x + spans.back().length == l.x &&
            spans.back().rgb == rgb) {
            ++spans.back().length;
        } else {
            spans.push_back(Span{static_cast<int>(l.x), 1, rgb});
            run.end = spans.size();
        }
        rowFirst = std::min(rowFirst, first);
        rowLast = std::max(rowLast, last);
    }
    rowFirst = std::max(rowFirst, 0LL);
    rowLast = std::min(rowLast, static_cast<long long>(height()) - 1);
    constexpr int kStyles = 5;
    const bool xorMode = m_penMode == PenMode::Xor;
    for (long long y = rowFirst; y <= rowLast; ++y) {
        // Every line starts its pattern on row y1, so one look-up per style serves the row.
        const long long step = y >= y1 ? y - y1 : y1 - y;
        std::array<bool, kStyles> on{};
        for (int st = 0; st < kStyles; ++st) {
            const PatternTable& t = patternTable(static_cast<PenStyle>(st));
            on[st] = t.on[step % t.length];
        }
        auto* row = reinterpret_cast<QRgb*>(m_image.scanLine(static_cast<int>(y)));
        for (const Run& r : runs) {
            if (y < r.first || y > r.last || !on[r.style]) {
                continue;
            }
            for (std::size_t i = r.begin; i < r.end; ++i) {
                const Span& sp = spans[i];
                if (xorMode) {
                    for (int k = 0; k < sp.length; ++k) {
                        row[sp.x + k] ^= sp.rgb & 0xFFFFFFu;
                    }
                } else {
                    std::fill_n(row + sp.x, sp.length, sp.rgb);
                }
            }
        }
    }
}

void Canvas::polyline(std::span<const QPoint> points)
{
    if (points.empty()) {
        return;
    }
    const QPoint saved = m_position;
    moveTo(points[0].x(), points[0].y());
    for (std::size_t i = 1; i < points.size(); ++i) {
        lineTo(points[i].x(), points[i].y());
    }
    m_position = saved;
}

void Canvas::polygon(std::span<const QPoint> points)
{
    if (points.empty()) {
        return;
    }
    QPainter& p = painter();
    applyPainterState(p, true);
    p.drawPolygon(points.data(), static_cast<int>(points.size()));
}

void Canvas::rectangle(int x1, int y1, int x2, int y2)
{
    QPainter& p = painter();
    applyPainterState(p, true);
    p.drawRect(normalisedBox(x1, y1, x2, y2));
}

void Canvas::ellipse(int x1, int y1, int x2, int y2)
{
    QPainter& p = painter();
    applyPainterState(p, true);
    p.drawEllipse(normalisedBox(x1, y1, x2, y2));
}

const QFont& Canvas::font() const
{
    // A size typed far out of range is drawn at most this large: glyphs bigger than any
    // screen would only cost memory.
    constexpr int kMaxFontPixels = 4096;
    const int pixels = std::clamp(fontPixelHeight(m_fontSize), 1, kMaxFontPixels);
    const QString key = m_fontFamily + u'/' + QString::number(pixels);
    if (key != m_fontKey) {
        m_font = QFont(m_fontFamily);
        m_font.setPixelSize(pixels);
        m_font.setHintingPreference(QFont::PreferFullHinting);
        m_font.setStyleStrategy(QFont::NoAntialias);
        m_font.setWeight(QFont::Normal);
        m_font.setItalic(false);
        m_fontAscent = QFontMetrics(m_font).ascent();
        m_fontKey = key;
    }
    return m_font;
}

void Canvas::textOut(int x, int y, const QString& text)
{
    if (text.isEmpty()) {
        return;
    }
    QPainter& p = painter();
    const QFont& f = font();
    if (m_painterFontKey != m_fontKey) {
        p.setFont(f);
        m_painterFontKey = m_fontKey;
    }
    // Text is drawn in the font colour with no brush; the pen is put back by the next shape.
    Pen textPen = m_pen;
    textPen.color = m_fontColor;
    textPen.style = PenStyle::Solid;
    textPen.width = 1;
    textPen.geometric = false;
    const Pen saved = m_pen;
    m_pen = textPen;
    applyPainterState(p, false);
    m_pen = saved;
    p.drawText(x, y + m_fontAscent, text);
}

QSize Canvas::textExtent(const QString& text) const
{
    const QFontMetrics fm(font());
    return QSize(fm.horizontalAdvance(text), fm.height());
}

void Canvas::floodFill(int x, int y)
{
    if (!m_image.rect().contains(x, y)) {
        return;
    }
    endPainter();
    const int w = m_image.width();
    const int h = m_image.height();
    const qsizetype stride = m_image.bytesPerLine() / 4;
    QRgb* const bits = reinterpret_cast<QRgb*>(m_image.bits());
    // Every pixel of the canvas is opaque, so colours compare whole.
    const QRgb target = bits[y * stride + x];
    const QRgb fill = toQRgb(m_brush.color);
    if (target == fill) {
        return;
    }

    // Span fill: each stacked segment says that the span [left, right] of row y − dy is
    // filled and row y next to it is to be explored. Rows are scanned about twice in all,
    // so a full-window fill costs a small multiple of a plain fill.
    struct Segment
    {
        int y, left, right, dy;
    };
    std::vector<Segment> stack;
    auto push = [&](int sy, int left, int right, int dy) {
        if (sy + dy >= 0 && sy + dy < h) {
            stack.push_back(Segment{sy, left, right, dy});
        }
    };
    push(y, x, x, 1);
    push(y + 1, x, x, -1);
    while (!stack.empty()) {
        const Segment seg = stack.back();
        stack.pop_back();
        const int dy = seg.dy;
        const int sy = seg.y + dy;
        QRgb* const row = bits + sy * stride;
        auto matches = [&](int px) { return row[px] == target; };
        int px = seg.left;
        while (px >= 0 && matches(px)) {
            --px;
        }
        int left = px + 1;
        bool inRun = false;
        if (left <= seg.left) {
            std::fill(row + left, row + seg.left + 1, fill);
            if (left < seg.left) {
                push(sy, left, seg.left - 1, -dy); // leaks round the left end
            }
            px = seg.left + 1;
            inRun = true;
        } else {
            // The span's first pixel is not the area: look for the next run inside the span.
            for (++px; px <= seg.right && !matches(px); ++px) {
            }
            left = px;
            inRun = px <= seg.right;
        }
        while (inRun) {
            // Eight pixels at a time while they all belong to the area, then one by one.
            while (px + 8 <= w) {
                bool all = true;
                for (int k = 0; k < 8; ++k) {
                    all &= row[px + k] == target;
                }
                if (!all) {
                    break;
                }
                std::fill(row + px, row + px + 8, fill);
                px += 8;
            }
            while (px < w && matches(px)) {
                row[px++] = fill;
            }
            push(sy, left, px - 1, dy);
            if (px > seg.right + 1) {
                push(sy, seg.right + 1, px - 1, -dy); // leaks round the right end
            }
            for (++px; px <= seg.right && !matches(px); ++px) {
            }
            left = px;
            inRun = px <= seg.right;
        }
    }
}

ColorRef Canvas::pixel(int x, int y) const
{
    if (!m_image.rect().contains(x, y)) {
        return kInvalidColor;
    }
    endPainter();
    return fromQRgb(m_image.pixel(x, y));
}

void Canvas::setPixel(int x, int y, ColorRef color)
{
    if (m_image.rect().contains(x, y)) {
        plot(x, y, toQRgb(color));
    }
}

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
                points.push_back(p.toPoint());
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
    QPainter& p = painter();
    applyPainterState(p, false);
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
