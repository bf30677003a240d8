#include "figures/numberline/NumberLine.h"

#include "figures/Copies.h"
#include "figures/FigureCaches.h"
#include "figures/RowCoverage.h"
#include "figures/Visible.h"
#include "render/Palette.h"
#include "render/Text.h"
#include "render/TextWidths.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <span>
#include <string_view>
#include <unordered_map>

namespace koyomi::figures {

using render::Canvas;

QString numberLineLabel(long long v, int scale, bool plusSign, const QString& unit)
{
    if (v == 0) {
        return QStringLiteral("0");
    }
    QString text;
    if (scale >= 1 && scale <= 4) {
        static constexpr double divisors[] = {1, 10, 100, 1000, 10000};
        // Formatted by Qt's own printf, which always writes a decimal point.
        text = QString::asprintf("%.*f", scale, double(v) / divisors[scale]);
    } else {
        text = QString::number(v);
    }
    if (plusSign && v > 0) {
        text.prepend(u'+');
    }
    return text + unit;
}

LabelChars numberLabelChars(i64 v, int scale, bool plusSign)
{
    if (v == 0) {
        return {1, 1};
    }
    const unsigned long long magnitude =
        v < 0 ? 0ULL - (unsigned long long)v : (unsigned long long)v;
    const bool decimals = scale >= 1 && scale <= 4;
    unsigned long long whole = magnitude;
    for (int d = 0; decimals && d < scale; ++d) {
        whole /= 10;
    }
    i64 digits = 1;
    for (; whole >= 10; whole /= 10) {
        ++digits;
    }
    const i64 sign = v < 0 || (plusSign && v > 0) ? 1 : 0;
    const i64 chars = sign + digits + (decimals ? 1 + scale : 0);
    // Below 10^14 the quotient's double lies within half a last decimal of the exact value,
    // so the decimals print it exactly; beyond, it can round up to the next power of ten.
    const bool exact = !decimals || magnitude < 100'000'000'000'000ULL;
    return {chars, exact ? chars : chars + 1};
}

namespace {

// A row of ticks each at its point, not moved across.
constexpr i64 kAtPoint[] = {0};

class NumberLineRenderer
{
public:
    NumberLineRenderer(Canvas& canvas, const NumberLineParams& params, const render::Frame& frame,
                       bool byStamps, FigureCaches& caches)
        : m_c(canvas), m_p(params), m_frame(frame), m_byStamps(byStamps), m_caches(caches)
    {
    }

    void draw();

private:
    void line(i64 x0, i64 y0);
    // Ticks at x0 + k·step + shift for k in [first, last] and every shift, those that reach
    // the canvas.
    void ticks(i64 x0, i64 step, i64 first, i64 last, std::span<const i64> shifts, i64 y0,
               i64 length, const LineSetting& stroke);
    void tick(i64 x, i64 y0, i64 length, i64 width);
    // One tick of the pen's line kind as a stamp around its point, or null where ticks are
    // drawn one by one.
    std::shared_ptr<const Stamp> tickStamp(i64 length, i64 width);
    bool setPen(const LineSetting& stroke);

    Canvas& m_c;
    const NumberLineParams& m_p;
    const render::Frame& m_frame;
    const bool m_byStamps;
    FigureCaches& m_caches;
    i64 m_labelReach = 0; // how far a label can reach from its tick, either way
    // Widths in the label font, worked out once it is set: the widest character a number can
    // have and the unit's length and width, the same for every label of every line.
    struct LabelFont
    {
        explicit LabelFont(const QFont& font) : widths(font) {}
        render::TextWidths widths;
        i64 numberChar = 0;
        i64 unitChars = 0;
        i64 unitWidth = 0;
        // From how far above to how far below its line's top a label's pixels can lie.
        i64 inkTop = 0;
        i64 inkBottom = 0;
        // The labels written so far, by value: every line, and every copy, labels its ticks
        // with the same values (stacked lines with a long unit wrote each again thousands of
        // times).
        std::unordered_map<i64, QString> texts;
    };
    // The label font of the drawing, set up by the canvas that first draws labels: lines
    // drawn on scratch canvases each have a renderer of their own, which share the first's.
    LabelFont& labelFont();
    std::optional<LabelFont> m_labelFont;
    NumberLineRenderer* m_fonts = this; // the renderer whose m_labelFont serves this one
};

NumberLineRenderer::LabelFont& NumberLineRenderer::labelFont()
{
    std::optional<LabelFont>& kept = m_fonts->m_labelFont;
    if (kept) {
        return *kept;
    }
    LabelFont& f = kept.emplace(m_c.font());
    const std::u16string_view numberChars = u"0123456789+-.";
    for (const char16_t c : numberChars) {
        f.numberChar = std::max(f.numberChar, f.widths.of(QStringView(&c, 1)));
    }
    f.unitChars = render::dbcsLength(m_p.labelUnit);
    f.unitWidth = f.widths.of(m_p.labelUnit);
    // A number's characters are plain ASCII, placed by their own glyphs, and so is a plain
    // unit. Any other unit is laid out after each digit it can follow: an accent at its
    // start sits on that digit, and a glyph from another font may stand taller than the line.
    // Labels of lines whose rows these do not meet are not laid out (lines stacked a few
    // pixels apart under labels a line's height above them).
    const auto number = f.widths.asciiOverhang(QStringView(numberChars));
    f.inkTop = number->top;
    f.inkBottom = number->bottom;
    if (m_p.labelUnit.isEmpty()) {
        return f;
    }
    if (const auto unit = f.widths.asciiOverhang(m_p.labelUnit)) {
        f.inkTop = std::min(f.inkTop, unit->top);
        f.inkBottom = std::max(f.inkBottom, unit->bottom);
        return f;
    }
    for (const char16_t digit : numberChars.substr(0, 10)) {
        const auto ink = f.widths.inkOf(QChar(digit) + m_p.labelUnit);
        if (!ink) {
            // A unit with a combining mark: only drawing a label tells where it reaches.
            f.inkTop = -(i64(1) << 40);
            f.inkBottom = i64(1) << 40;
            break;
        }
        f.inkTop = std::min<i64>(f.inkTop, ink->top());
        f.inkBottom = std::max<i64>(f.inkBottom, ink->bottom());
    }
    return f;
}

bool NumberLineRenderer::setPen(const LineSetting& stroke)
{
    render::Pen pen = m_c.pen();
    pen.color = render::paletteColor(stroke.color, pen.color);
    pen.style = render::lineStylePen(stroke.kind, pen.style);
    pen.width = 1;
    pen.geometric = false;
    m_c.setPen(pen);
    return pen.style != render::PenStyle::Clear || NumberTick(m_p.tickShape) == NumberTick::Dot;
}

// The rows a line tick is drawn over, relative to its point: from the first toward the
// second, which is not painted. None for a dot.
std::optional<std::pair<i64, i64>> tickRows(NumberTick shape, i64 length)
{
    switch (shape) {
    case NumberTick::Up:
        return std::pair<i64, i64>{-length, 1};
    case NumberTick::Down:
        return std::pair<i64, i64>{0, length};
    case NumberTick::Through:
        return std::pair<i64, i64>{-length, length};
    default:
        return std::nullopt;
    }
}

void NumberLineRenderer::tick(i64 x, i64 y0, i64 length, i64 width)
{
    const NumberTick shape = NumberTick(m_p.tickShape);
    if (shape == NumberTick::Dot) {
        // A dot filled with the tick's colour; drawn once, as every unit of width would
        // draw it in the same place.
        const i64 x1 = x - length, y1 = y0 - length, x2 = x + length, y2 = y0 + length;
        if (width >= 1 && fitsInt(x1) && fitsInt(y1) && fitsInt(x2) && fitsInt(y2)) {
            m_c.setBrush(render::Brush{m_c.pen().color, false});
            m_c.ellipse(int(x1), int(y1), int(x2), int(y2));
            m_c.setBrushClear(true);
        }
        return;
    }
    const auto rows = tickRows(shape, length);
    if (!rows) {
        return;
    }
    const i64 from = y0 + rows->first;
    const i64 to = y0 + rows->second;
    if (!fitsInt(from) || !fitsInt(to)) {
        return;
    }
    // Width one-pixel lines centred on x; those beside the canvas are left out.
    const i64 first = std::max<i64>(0, -(x - width / 2));
    const i64 last = std::min<i64>(width - 1, m_c.width() - 1 - (x - width / 2));
    for (i64 t = first; t <= last; ++t) {
        const i64 xx = x + t - width / 2;
        m_c.moveTo(int(xx), int(from));
        m_c.lineTo(int(xx), int(to));
    }
}

std::shared_ptr<const Stamp> NumberLineRenderer::tickStamp(i64 length, i64 width)
{
    const NumberTick shape = NumberTick(m_p.tickShape);
    if (width < 1 || width > kMaxStampedSize || std::abs(length) > kMaxStampedSize ||
        m_c.penMode() != render::PenMode::Copy) {
        return nullptr;
    }
    const render::PenStyle style = m_c.pen().style;
    if (shape == NumberTick::Dot) {
        // Every unit of width draws the same dot.
        return recentStamp(m_caches, StampOf::NumberLineDot, {length, int(style)},
                           std::abs(length) + 2, [&](Canvas& c, int x, int y) {
                               c.setPenStyle(style);
                               c.ellipse(int(x - length), int(y - length), int(x + length),
                                         int(y + length));
                           });
    }
    const auto rows = tickRows(shape, length);
    if (!rows) {
        return nullptr;
    }
    // The pattern of a dashed tick starts at its first row wherever it stands: every tick of a
    // row is the same pixels moved across.
    const i64 from = rows->first;
    const i64 to = rows->second;
    return recentStamp(m_caches, StampOf::NumberLineTick, {int(shape), length, width, int(style)},
                       -(width / 2) - 1, std::min(from, to) - 1, width - width / 2,
                       std::max(from, to) + 1, [&](Canvas& c, int x, int y) {
                           c.setPenStyle(style);
                           for (i64 t = 0; t < width; ++t) {
                               c.moveTo(int(x + t - width / 2), int(y + from));
                               c.lineTo(int(x + t - width / 2), int(y + to));
                           }
                       });
}

void NumberLineRenderer::ticks(i64 x0, i64 step, i64 first, i64 last, std::span<const i64> shifts,
                               i64 y0, i64 length, const LineSetting& stroke)
{
    if (first > last || !setPen(stroke)) {
        return;
    }
    const i64 width = std::min<i64>(stroke.width, 1 << 16);
    i64 farthest = 0;
    for (const i64 shift : shifts) {
        farthest = std::max(farthest, std::abs(shift));
    }
    const i64 reach = std::abs(length) + std::abs(width) + 2 + farthest;
    if (y0 + reach < 0 || y0 - reach >= m_c.height()) {
        return;
    }
    Range k = stepRange(x0, step, first, last, -reach, m_c.width() - 1 + reach);
    if (step == 0 && !k.empty()) {
        k.first = k.last; // ticks in one place: one draws them all
    }
    if (k.empty()) {
        return;
    }
    // Ticks of one row are one colour drawn over whatever is there: a row of them, however
    // closely spaced, costs the rows it covers, not its ticks drawn over each other. A lone
    // dot too: the same dot on thousands of lines copied close together is drawn once. Line
    // ticks further apart than four times their width cost less drawn one by one than the
    // canvas's width a row (a thousand short ticks along a line fifty thousand pixels long).
    const i64 count = (k.last - k.first + 1) * i64(shifts.size());
    const bool crowded =
        NumberTick(m_p.tickShape) == NumberTick::Dot || 4 * count * width >= m_c.width();
    if (const auto stamp = m_byStamps && crowded ? tickStamp(length, width) : nullptr) {
        paintStampLattice(m_c, *stamp, Progression{x0 + k.first * step, step, k.last - k.first + 1},
                          Progression{y0, 0, 1}, m_c.pen().color, shifts);
        return;
    }
    for (i64 i = k.first; i <= k.last; ++i) {
        for (const i64 shift : shifts) {
            tick(x0 + i * step + shift, y0, length, width);
        }
    }
}

void NumberLineRenderer::line(i64 x0, i64 y0)
{
    const i64 n = m_p.tickCount;
    const i64 s = m_p.tickSpacing;
    // Subdivisions: every main interval k cut into d parts of s div d.
    const struct
    {
        i64 count, length;
        const LineSetting& stroke;
    } rows[] = {{m_p.sub1Count, m_p.sub1Length, m_p.sub1},
                {m_p.sub2Count, m_p.sub2Length, m_p.sub2}};
    for (const auto& row : rows) {
        if (n < 2 || row.count < 2) {
            continue;
        }
        // The row's pen is taken up whether or not the window shows a tick of it, so that a
        // colour or line kind left unnamed after it never depends on where the window is.
        setPen(row.stroke);
        const i64 part = s / row.count;
        const i64 reach = std::abs(row.length) + std::abs(i64(row.stroke.width)) + 2 + std::abs(s);
        Range k = stepRange(x0, s, 0, n - 2, -reach, m_c.width() - 1 + reach);
        if (s == 0 && !k.empty()) {
            k.first = k.last;
        }
        if (m_byStamps) {
            // Every interval's subdivision ticks at once: a row of ticks a spacing apart at
            // each part's offset. Parts shorter than a pixel stand on the interval's start.
            std::vector<i64> shifts;
            for (i64 c = 1; c < (part == 0 ? 2 : row.count); ++c) {
                shifts.push_back(c * part);
            }
            ticks(x0, s, k.first, k.last, shifts, y0, row.length, row.stroke);
            continue;
        }
        for (i64 i = k.first; i <= k.last; ++i) {
            ticks(x0 + i * s, part, 1, row.count - 1, kAtPoint, y0, row.length, row.stroke);
        }
    }
    ticks(x0, s, 0, n - 1, kAtPoint, y0, m_p.tickLength, m_p.ticks);

    if (m_p.labelsOn) {
        const i64 size = m_p.labelSize;
        const i64 t = m_p.tickLength;
        const NumberTick shape = NumberTick(m_p.tickShape);
        const i64 y = !m_p.labelsBelow
                          ? (shape == NumberTick::Down ? y0 - size - 10 : y0 - t - size - 10)
                          : (shape == NumberTick::Up ? y0 + 5 : y0 + t + size - 10);
        const i64 pixels =
            std::max(1, render::fontPixelHeight(int(std::clamp<i64>(size, -4096, 4096))));
        if (y + 2 * pixels >= 0 && y - 2 * pixels < m_c.height() && fitsInt(y)) {
            m_c.setFontSize(int(size));
            m_c.setBrushClear(true);
            m_c.setFontColor(render::paletteColor(m_p.labelColor, m_c.fontColor()));
            Range k = stepRange(x0, s, 0, n - 1, -m_labelReach, m_c.width() - 1 + m_labelReach);
            if (s == 0 && !k.empty()) {
                k.first = k.last;
            }
            LabelFont& font = labelFont();
            const i64 glyph = font.widths.glyph();
            if (y + font.inkBottom < 0 || y + font.inkTop >= m_c.height()) {
                k = Range{0, -1};
            }
            for (i64 i = k.first; i <= k.last; ++i) {
                // The value restarts on every line and grows by the step at every tick.
                const i64 v = i64(m_p.labelStart) + i * i64(m_p.labelStep);
                // The reach allows for the longest label a line can have: one that cannot
                // reach the canvas is not laid out, nor even written when its count of
                // characters already says so (a line can hold millions of labels).
                const i64 base = x0 + i * s + (size / 5) * 2;
                const LabelChars number = numberLabelChars(v, m_p.labelScale, m_p.labelPlusSign);
                const i64 unit = v == 0 ? 0 : font.unitChars;
                const i64 xA = base - (size / 2) * (number.low + unit);
                const i64 xB = base - (size / 2) * (number.high + unit);
                const i64 widest = number.high * font.numberChar + (v == 0 ? 0 : font.unitWidth);
                if (std::min(xA, xB) - glyph >= m_c.width() ||
                    std::max(xA, xB) + widest + glyph < 0) {
                    continue;
                }
                constexpr std::size_t kMostKept = std::size_t(1) << 14;
                if (font.texts.size() >= kMostKept && !font.texts.contains(v)) {
                    font.texts.clear();
                }
                QString& text = font.texts[v];
                if (text.isEmpty()) {
                    text = numberLineLabel(v, m_p.labelScale, m_p.labelPlusSign, m_p.labelUnit);
                }
                // The unit's length and width are known: only the number's are added up (a
                // long unit after each of thousands of numbers).
                const QStringView digits = QStringView(text).first(
                    v == 0 ? text.size() : text.size() - m_p.labelUnit.size());
                const i64 x = base - (size / 2) * (render::dbcsLength(digits) + unit);
                const i64 width = font.widths.of(digits) + (v == 0 ? 0 : font.unitWidth);
                if (x - glyph >= m_c.width() || x + width + glyph < 0) {
                    continue;
                }
                if (fitsInt(x)) {
                    m_c.textOut(int(x), int(y), text);
                }
            }
        }
    }

    // The horizontal line, over the ticks and labels of its own line.
    if (!setPen(m_p.axis) || m_c.pen().style == render::PenStyle::Clear) {
        return;
    }
    const i64 w = std::min<i64>(m_p.axis.width, 1 << 16);
    const i64 e = m_p.axisExtended ? s : 0;
    i64 from = x0 - e;
    i64 to = x0 + (n - 1) * s + e;
    if (!fitsInt(from) || !fitsInt(to)) {
        // Beyond the canvas's coordinates only a solid line can be cut without moving its
        // pattern; a patterned one that long is not drawn.
        if (m_c.pen().style != render::PenStyle::Solid) {
            return;
        }
        from = std::clamp<i64>(from, -2, m_c.width() + 2);
        to = std::clamp<i64>(to, -2, m_c.width() + 2);
    }
    for (i64 t = 0; t < w; ++t) {
        const i64 yy = y0 + t - w / 2;
        if (yy >= 0 && yy < m_c.height()) {
            m_c.moveTo(int(from), int(yy));
            m_c.lineTo(int(to), int(yy));
        }
    }
}

void NumberLineRenderer::draw()
{
    render::beginFigure(m_c, m_frame);
    const i64 n = m_p.tickCount;
    const i64 s = m_p.tickSpacing;
    const i128 lineWidth = i128(n - 1) * s;
    const i128 left =
        centredStart(m_frame.width, lineWidth, m_p.countAcross, lineWidth + m_p.gapAcross);
    const i128 top = centredStart(m_frame.height, 0, m_p.countDown, m_p.gapDown);
    for (const i128 v : {lineWidth, left, top}) {
        if (!addressable(v)) {
            return;
        }
    }
    // A label reaches (size div 2)·len left of its tick and its own width right of it: at
    // most a few pixels per character of the longest label. The values run evenly from the
    // first label to the last, so one of those two is the longest.
    const i64 size = std::abs(i64(m_p.labelSize));
    const i64 pixels =
        std::max<i64>(1, render::fontPixelHeight(int(std::clamp<i64>(size, 0, 4096))));
    i64 longest = 1;
    for (const i64 v : {i64(m_p.labelStart), m_p.labelStart + (n - 1) * i64(m_p.labelStep)}) {
        const i64 unit = v == 0 ? 0 : render::dbcsLength(m_p.labelUnit);
        longest =
            std::max(longest, numberLabelChars(v, m_p.labelScale, m_p.labelPlusSign).high + unit);
    }
    m_labelReach = (size + 2 * pixels) * (longest + 2);
    const i64 stepX = i64(lineWidth) + m_p.gapAcross;
    // Sub-division ticks stand only between two main ticks, and only in a row that cuts an
    // interval in two or more: a length the row never draws reaches nothing.
    auto subLength = [n](i64 count, i64 length) {
        return n >= 2 && count >= 2 ? std::abs(length) : 0;
    };
    const i64 longestTick =
        std::max({std::abs(i64(m_p.tickLength)), subLength(m_p.sub1Count, m_p.sub1Length),
                  subLength(m_p.sub2Count, m_p.sub2Length)});
    i64 widest = 0;
    for (const LineSetting* st : {&m_p.axis, &m_p.ticks, &m_p.sub1, &m_p.sub2}) {
        widest = std::max<i64>(widest, std::min<i64>(std::abs(i64(st->width)), 1 << 16));
    }
    const i64 labels = m_p.labelsOn ? m_labelReach : 0;
    const i64 reachX = std::abs(s) + longestTick + widest + 8 + labels;
    // Labels stand above or below the main ticks, their text's top at most the main tick's
    // length and the label size and ten away, their ink within twice the font's pixels of it.
    const i64 labelRows = std::abs(i64(m_p.tickLength)) + size + 4 * pixels + 20;
    const i64 reachY = std::max(longestTick + widest + 8, m_p.labelsOn ? labelRows : 0);
    Range blockRows = visibleBlocks(i64(top), m_p.gapDown, m_p.countDown, 0, reachY, m_c.height());
    Range blockCols =
        visibleBlocks(i64(left), stepX, m_p.countAcross, i64(lineWidth), reachX, m_c.width());
    // Lines copied into one place draw the same picture over each other: one stands for all.
    if (m_p.gapDown == 0) {
        blockRows.last = std::min(blockRows.last, blockRows.first);
    }
    if (stepX == 0) {
        blockCols.last = std::min(blockCols.last, blockCols.first);
    }
    const CopyGrid grid{i64(left), i64(top), stepX, m_p.gapDown, blockRows, blockCols};
    const CopyReach reach{std::min<i64>(0, i64(lineWidth)) - reachX, -reachY,
                          std::max<i64>(0, i64(lineWidth)) + reachX, reachY};
    // Lines are copied from one drawn where many reach over each other: one drawn in place
    // costs little more than its pixels, but lines a pixel apart each cover the same rows.
    // A colour or line kind left unnamed takes what the line before left, the same for every
    // line after the first: the first is drawn in place and the others copied.
    const bool crowded = (reach.bottom - reach.top) > 8 * std::abs(i64(m_p.gapDown)) ||
                         (reach.right - reach.left) > 8 * std::abs(stepX);
    const bool named =
        namesAllItsOwn({&m_p.axis, &m_p.ticks, &m_p.sub1, &m_p.sub2}, m_p.labelColor);
    const CopiesAlike alike = !m_byStamps || !crowded ? CopiesAlike::No
                              : named                 ? CopiesAlike::All
                                                      : CopiesAlike::AfterTheFirst;
    drawCopies(m_c, grid, reach, alike, [this](Canvas& c, i64 x, i64 y) {
        if (&c == &m_c) {
            line(x, y);
        } else {
            NumberLineRenderer other(c, m_p, m_frame, m_byStamps, m_caches);
            other.m_labelReach = m_labelReach;
            other.m_fonts = this;
            other.line(x, y);
        }
    });
    m_c.setPenWidth(1);
}

} // namespace

void drawNumberLine(Canvas& canvas, const NumberLineParams& params, const render::Frame& frame,
                    FigureCaches* caches)
{
    FigureCaches own;
    NumberLineRenderer(canvas, params, frame, true, cachesOr(caches, own)).draw();
}

void drawNumberLineTickByTick(Canvas& canvas, const NumberLineParams& params,
                              const render::Frame& frame)
{
    FigureCaches own;
    NumberLineRenderer(canvas, params, frame, false, own).draw();
}

} // namespace koyomi::figures
