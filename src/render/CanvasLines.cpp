// One-pixel lines: our own Bresenham on the image bits, with the cosmetic pen patterns.
#include "render/Canvas.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
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

} // namespace

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
    m_written.add(x, y, x + 1, y + 1);
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
    {
        // The steps on the canvas, and the whole line's minor extent cut to the canvas.
        const long long majorA = major0 + majorDir * sBegin;
        const long long majorB = major0 + majorDir * (sEnd - 1);
        const long long minorA = std::max(std::min(minor0, minor0 + minorDir * minorLen), minorLow);
        const long long minorB =
            std::min(std::max(minor0, minor0 + minorDir * minorLen), minorLimit - 1);
        const long long majorFrom = std::min(majorA, majorB);
        const long long majorTo = std::max(majorA, majorB) + 1;
        if (xMajor) {
            m_written.add(majorFrom, minorA, majorTo, minorB + 1);
        } else {
            m_written.add(minorA, majorFrom, minorB + 1, majorTo);
        }
    }
    QRgb* const bits = reinterpret_cast<QRgb*>(m_image.bits());
    const qsizetype stride = m_image.bytesPerLine() / 4;
    const bool xorMode = m_penMode == PenMode::Xor;

    if (minorLen == 0 && solid && m_penMode == PenMode::Copy) {
        // Horizontal or vertical solid line: the common case of every grid.
        if (minor0 < minorLow || minor0 >= minorLimit) {
            return;
        }
        const long long a = majorDir > 0 ? major0 + sBegin : major0 - (sEnd - 1);
        const long long n = sEnd - sBegin;
        if (xMajor) {
            std::fill_n(bits + minor0 * stride + a, n, rgb);
        } else {
            auto* p = bits + a * stride + minor0;
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
                QRgb* p = xMajor ? bits + minor * stride + major : bits + major * stride + minor;
                *p = xorMode ? (*p ^ (rgb & 0xFFFFFFu)) : rgb;
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

std::vector<QPoint> linePixels(QPoint from, QPoint to, PenStyle style)
{
    // The same steps as Canvas::drawLine, without the canvas.
    std::vector<QPoint> pixels;
    if (style == PenStyle::Clear) {
        return pixels;
    }
    const long long dx = static_cast<long long>(to.x()) - from.x();
    const long long dy = static_cast<long long>(to.y()) - from.y();
    const long long adx = std::llabs(dx);
    const long long ady = std::llabs(dy);
    const long long steps = std::max(adx, ady);
    const PatternTable& pattern = patternTable(style);
    const bool xMajor = adx >= ady;
    const int majorDir = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int minorDir = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const long long majorLen = xMajor ? adx : ady;
    const long long minorLen = xMajor ? ady : adx;
    pixels.reserve(static_cast<std::size_t>(std::min(steps, 1LL << 20)));
    long long k = 0;
    long long num = majorLen; // 2·s·minorLen + majorLen − 2·k·majorLen
    int phase = 0;
    for (long long s = 0; s < steps; ++s) {
        if (pattern.on[phase]) {
            const long long major = majorDir * s;
            const long long minor = minorDir * k;
            pixels.emplace_back(int(from.x() + (xMajor ? major : minor)),
                                int(from.y() + (xMajor ? minor : major)));
        }
        if (++phase == pattern.length) {
            phase = 0;
        }
        num += 2 * minorLen;
        if (num >= 2 * majorLen) {
            num -= 2 * majorLen;
            ++k;
        }
    }
    return pixels;
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
        m_written.add(0, y, width(), y + 1);
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

} // namespace koyomi::render
