#include "figures/graphpaper/GraphPaper.h"

#include "figures/Copies.h"
#include "figures/FigureCaches.h"
#include "figures/RowCoverage.h"
#include "figures/SpreadOrder.h"
#include "figures/Visible.h"
#include "render/Palette.h"
#include "render/PathUtils.h"
#include "render/Text.h"
#include "render/TextWidths.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

namespace koyomi::figures {

using namespace koyomi::render;

namespace {

// A label as it stands in the label text, which can hold a million of them: only those in
// visible cells are ever copied out. (Kept to 16 bytes: the table of a million is written
// afresh whenever the label text changes, and its size is most of that cost.)
struct Label
{
    std::uint32_t begin; // where its span starts in the line
    std::uint32_t size : 31;
    std::uint32_t quoted : 1;
    int length;      // in the double-byte character set
    int extent = -1; // how wide its pixels can be from where it is drawn; −1 until needed

    render::CommaSpan span() const { return render::CommaSpan{begin, size, quoted != 0, false}; }
    QStringView chars(QStringView line) const { return line.sliced(begin, size); }
};
static_assert(sizeof(Label) <= 16);

// The labels of one label text, read once: every redraw of the figure (each value typed in
// the Draw tool) draws the same text again, and reading a million labels costs more than
// drawing the few the window shows.
struct LabelTable
{
    QString text;        // the whole label text, shared with the figure's
    i64 cells = 0;       // labels past a block's cells are not read
    QStringView line;    // its first line, which holds the labels
    QString extentsFont; // the font the labels' extents were worked out in
    std::vector<Label> labels;
    // Where each label's pixels lie from where it is drawn, in that font: laid out for the
    // labels whose bounds reach the window while their own width and line do not (null
    // until then; empty until one is).
    std::vector<QRect> inks;
    i64 longest = 0; // in double-byte length, which places the text
    i64 shortest = 0;
    i64 widest = 0; // in characters, which bound its drawn width
    // The printable ASCII characters the labels are written in, a bit each (none when a
    // label holds any other): worked out when first asked for.
    std::optional<std::array<std::uint64_t, 2>> plainCharacters();

    LabelTable(const QString& labelText, i64 cellCount);
    LabelTable(const LabelTable&) = delete; // `line` looks into this table's own text
    LabelTable& operator=(const LabelTable&) = delete;
    bool reads(const QString& labelText, i64 cellCount) const
    {
        return cellCount == cells &&
               (labelText.constData() == text.constData() || labelText == text);
    }

private:
    bool m_charactersKnown = false;
    std::optional<std::array<std::uint64_t, 2>> m_characters;
};

std::optional<std::array<std::uint64_t, 2>> LabelTable::plainCharacters()
{
    if (!m_charactersKnown) {
        m_charactersKnown = true;
        // The whole line, commas and quotes too: a few more characters only widen the bounds.
        std::array<std::uint64_t, 2> used{};
        for (const QChar c : line) {
            if (c.unicode() < 0x20 || c.unicode() > 0x7E) {
                return std::nullopt;
            }
            used[c.unicode() / 64] |= std::uint64_t(1) << (c.unicode() % 64);
        }
        m_characters = used;
    }
    return m_characters;
}

LabelTable::LabelTable(const QString& labelText, i64 cellCount) : text(labelText), cells(cellCount)
{
    line = QStringView(text);
    const qsizetype lineEnd = line.indexOf(u'\n');
    if (lineEnd >= 0) {
        line.truncate(lineEnd);
    }
    if (line.endsWith(u'\r')) {
        line.chop(1);
    }
    labels.reserve(std::size_t(std::min<i64>(cells, line.size() + 1)));
    // A line longer than a label's span can hold is read no further (two thousand million
    // characters: more than a text box holds).
    if (line.size() >= qsizetype(1) << 31) {
        line.truncate((qsizetype(1) << 31) - 1);
    }
    render::forEachCommaSpan(line, [&](const render::CommaSpan& span) {
        if (i64(labels.size()) >= cells) {
            return false;
        }
        // Most labels are plain ASCII, a unit each: only the others are measured.
        const int length = span.ascii    ? int(span.size)
                           : span.quoted ? dbcsLength(render::commaItem(line, span))
                                         : dbcsLength(line.sliced(span.begin, span.size));
        longest = std::max<i64>(longest, length);
        shortest = labels.empty() ? length : std::min<i64>(shortest, length);
        widest = std::max<i64>(widest, span.size);
        labels.push_back(Label{std::uint32_t(span.begin), std::uint32_t(span.size),
                               std::uint32_t(span.quoted), length});
        return true;
    });
}

// The table of the label text drawn last, kept for the next drawing.
struct LastLabelTable
{
    std::shared_ptr<LabelTable> table;
};

std::shared_ptr<LabelTable> labelTableFor(FigureCaches& caches, const QString& labelText, i64 cells)
{
    std::shared_ptr<LabelTable>& last = caches.part<LastLabelTable>().table;
    if (!last || !last->reads(labelText, cells)) {
        last.reset(); // the old table goes before the new one is read
        last = std::make_shared<LabelTable>(labelText, cells);
    }
    return last;
}

class GraphPaperRenderer
{
public:
    // byStamps: alike blocks may be drawn once and copied (the other way draws each block).
    GraphPaperRenderer(Canvas& canvas, const GraphPaperParams& p, const Frame& frame, bool byStamps,
                       FigureCaches& caches)
        : m_c(canvas), m_p(p), m_frame(frame), m_byStamps(byStamps), m_caches(caches),
          m_w(canvas.width()), m_h(canvas.height())
    {
    }

    void draw();
    // Every diagonal stroked one by one, as the cells' stamps must draw them.
    void drawPlain() { m_plain = true; }

private:
    void drawBlock(i64 x0, i64 y0);
    void drawDiagonals(i64 x0, i64 y0, const LineSetting& s, bool rising);
    void drawLabels(i64 x0, i64 y0);
    void drawInnerLines(i64 x0, i64 y0, bool horizontal);
    void setLinePen(const LineSetting& s, bool forceBlack = false);
    void stackedHorizontal(i64 x0, i64 y, i64 width);
    void stackedVertical(i64 x, i64 y0, i64 width);
    void addStackedVertical(std::vector<Canvas::VerticalLine>& batch, i64 x, i64 y0,
                            i64 width) const;
    const LineSetting& innerStyle(i64 k, bool horizontal, bool* forceBlack) const;
    void prepareLabels();
    i64 extentOf(Label& label);
    bool inkMayReach(i64 index, i64 x, i64 y);
    bool blocksAlike() const;
    // Takes over the block layout another renderer worked out for the same figure.
    void adoptLayout(const GraphPaperRenderer& from);

    Canvas& m_c;
    const GraphPaperParams& m_p;
    const Frame& m_frame;
    const bool m_byStamps;
    // Every diagonal drawn stroke by stroke: the picture the cells' stamps must match.
    bool m_plain = false;
    FigureCaches& m_caches;
    const i64 m_w;
    const i64 m_h;
    i64 m_bw = 0;
    i64 m_bh = 0;
    // How far a block's drawing can reach beyond its lines, across and down.
    i64 m_marginX = 0;
    i64 m_marginY = 0;
    // How far a label can reach from its cell, across and down.
    i64 m_labelReachX = 0;
    i64 m_labelReachY = 0;
    i64 m_labelHeight = 0;                           // of a line in the label font
    std::optional<render::TextWidths> m_labelWidths; // in the label font
    // Where the pixels of any label can lie from where it is drawn, for labels of plain
    // characters: how far left, from how far above to how far below the line's top, and the
    // widest character (none for other labels; worked out when first needed).
    struct LabelInk
    {
        i64 left, top, bottom, character;
    };
    std::optional<std::optional<LabelInk>> m_labelInk;
    const std::optional<LabelInk>& labelInk();
    std::shared_ptr<LabelTable> m_labels;
    // Inner lines of a block whose lines all coincide (spacing 0): the same for every block,
    // so they are looked for once a draw (horizontal, vertical).
    std::optional<std::vector<i64>> m_coinciding[2];
};

int positiveWidth(const LineSetting& s)
{
    return std::max(s.width, 0);
}

bool drawsLine(const LineSetting& s)
{
    return s.kind != kNoLineIndex;
}

void GraphPaperRenderer::setLinePen(const LineSetting& s, bool forceBlack)
{
    m_c.setPenStyle(lineStylePen(s.kind, m_c.pen().style));
    m_c.setPenColor(forceBlack ? kBlack : paletteColor(s.color, m_c.pen().color));
}

// A horizontal line of the given width: `width` one-pixel lines stacked downward, each
// reaching width − 1 pixels past the block's far side.
void GraphPaperRenderer::stackedHorizontal(i64 x0, i64 y, i64 width)
{
    const i64 tFirst = std::max<i64>(0, -y);
    const i64 tLast = std::min<i64>(width - 1, m_h - 1 - y);
    for (i64 t = tFirst; t <= tLast; ++t) {
        drawClippedLine(m_c, x0, y + t, x0 + m_bw + width, y + t);
    }
}

// A vertical line of the given width in the current pen: `width` one-pixel lines stacked
// rightward, each from y0 reaching width − 1 pixels past the block's bottom side, added to a
// batch that is drawn row by row from y0.
void GraphPaperRenderer::addStackedVertical(std::vector<Canvas::VerticalLine>& batch, i64 x, i64 y0,
                                            i64 width) const
{
    const i64 tFirst = std::max<i64>(0, -x);
    const i64 tLast = std::min<i64>(width - 1, m_w - 1 - x);
    for (i64 t = tFirst; t <= tLast; ++t) {
        batch.push_back(
            Canvas::VerticalLine{x + t, y0 + m_bh + width, m_c.pen().color, m_c.pen().style});
    }
}

void GraphPaperRenderer::stackedVertical(i64 x, i64 y0, i64 width)
{
    std::vector<Canvas::VerticalLine> batch;
    addStackedVertical(batch, x, y0, width);
    m_c.verticalLines(batch, y0);
}

const LineSetting& GraphPaperRenderer::innerStyle(i64 k, bool horizontal, bool* forceBlack) const
{
    const EmphasisRow& first = m_p.emphasis[horizontal ? HEmphasis1 : VEmphasis1];
    const EmphasisRow& second = m_p.emphasis[horizontal ? HEmphasis2 : VEmphasis2];
    const LineSetting* s = horizontal ? &m_p.innerHLines : &m_p.innerVLines;
    *forceBlack = false;
    if (first.on && isMultiple(k, i64(first.skip) + 1)) {
        s = &first.line;
        // On white, the first vertical emphasis row is always drawn black.
        *forceBlack = !horizontal && m_frame.whiteBackground;
    }
    if (second.on && isMultiple(k, i64(second.skip) + 1)) {
        s = &second.line;
        *forceBlack = false;
    }
    return *s;
}

void GraphPaperRenderer::drawInnerLines(i64 x0, i64 y0, bool horizontal)
{
    const i64 count = horizontal ? m_p.hLineCount : m_p.vLineCount;
    const i64 step = horizontal ? m_p.hLineSpacing : m_p.vLineSpacing;
    const i64 origin = horizontal ? y0 : x0;
    const i64 extent = horizontal ? m_h : m_w;
    const auto& rows = m_p.emphasis;
    const int first = horizontal ? HEmphasis1 : VEmphasis1;
    const int widest =
        std::max({positiveWidth(horizontal ? m_p.innerHLines : m_p.innerVLines),
                  positiveWidth(rows[first].line), positiveWidth(rows[first + 1].line)});
    auto styleOf = [&](i64 k) {
        bool black = false;
        const LineSetting* s = &innerStyle(k, horizontal, &black);
        return std::pair(s, black);
    };
    std::vector<i64> lines;
    if (step != 0) {
        lines = visibleSteps(origin, step, 1, count - 2, -i64(widest) + 1, extent - 1, styleOf);
    } else if (origin >= -i64(widest) + 1 && origin <= extent - 1) {
        std::optional<std::vector<i64>>& found = m_coinciding[horizontal ? 0 : 1];
        if (!found) {
            found = visibleSteps(0, 0, 1, count - 2, 0, 0, styleOf);
        }
        lines = *found;
    }
    if (horizontal) {
        for (const i64 k : lines) {
            bool black = false;
            const LineSetting& s = innerStyle(k, true, &black);
            setLinePen(s, black);
            stackedHorizontal(x0, y0 + k * step, s.width);
        }
        return;
    }
    // Vertical lines share their first row, so they are handed over together and drawn row
    // by row, in the same order per pixel.
    std::vector<Canvas::VerticalLine> batch;
    for (const i64 k : lines) {
        bool black = false;
        const LineSetting& s = innerStyle(k, false, &black);
        setLinePen(s, black);
        addStackedVertical(batch, x0 + k * step, y0, s.width);
    }
    m_c.verticalLines(batch, y0);
}

void GraphPaperRenderer::drawDiagonals(i64 x0, i64 y0, const LineSetting& s, bool rising)
{
    const i64 sh = m_p.hLineSpacing;
    const i64 sv = m_p.vLineSpacing;
    const i64 reach = i64(positiveWidth(s)) + 1;
    // Cell row i spans y0 + (i − 1)·sh .. y0 + i·sh; a column's left edge is at x0 + j·sv.
    const Range rows = visibleCells(y0 - sh, sh, 1, i64(m_p.hLineCount) - 1, reach, m_h);
    const i64 jFirst = rising ? 0 : 1;
    const i64 jLast = rising ? i64(m_p.vLineCount) - 2 : i64(m_p.vLineCount) - 1;
    // Rising diagonals start in column 0, falling ones in column 1; either way cell column j
    // begins at x0 + j·sv for rising and x0 + (j − 1)·sv for falling ones.
    const i64 columnOrigin = rising ? x0 : x0 - sv;
    const Range cols = visibleCells(columnOrigin, sv, jFirst, jLast, reach, m_w);
    const auto pattern = lineStylePattern(s.kind);
    const ColorRef color = paletteColor(s.color, m_c.pen().color);
    // Every cell's diagonal is the same stroke from its cell's corner, in one colour: in copy
    // mode a stamp of one covers the lattice row by row, at the cost of the rows it covers (a
    // million cells a pixel apart each walked the dashes of its diagonal). Up to kFewCells
    // cells are stroked one by one.
    constexpr i64 kFewCells = 256;
    const i64 rowCount = rows.last - rows.first + 1;
    const i64 colCount = cols.last - cols.first + 1;
    if (!m_plain && !rows.empty() && !cols.empty() && rowCount * colCount > kFewCells &&
        m_c.penMode() == PenMode::Copy && std::abs(sv) <= kMaxStampedSize &&
        std::abs(sh) <= kMaxStampedSize) {
        // A stroke's stamp has its point at the stroke's start: the cell's right corner for a
        // rising diagonal, its left one for a falling diagonal.
        const auto stamp = rising ? makeStrokeStamp(-sv, sh, s.width, pattern)
                                  : makeStrokeStamp(sv, sh, s.width, pattern);
        const i64 shift = rising ? sv : 0;
        paintStampLattice(m_c, *stamp,
                          Progression{columnOrigin + shift + cols.first * sv, sv, colCount},
                          Progression{y0 + (rows.first - 1) * sh, sh, rowCount}, color);
        return;
    }
    std::array<QPoint, 2> line;
    for (i64 i = rows.first; i <= rows.last; ++i) {
        for (i64 j = cols.first; j <= cols.last; ++j) {
            const i64 top = y0 + (i - 1) * sh;
            const i64 bottom = y0 + i * sh;
            const i64 a = rising ? x0 + (j + 1) * sv : x0 + (j - 1) * sv;
            const i64 b = x0 + j * sv;
            if (!fitsInt(top) || !fitsInt(bottom) || !fitsInt(a) || !fitsInt(b)) {
                continue;
            }
            line[0] = QPoint(int(a), int(top));
            line[1] = QPoint(int(b), int(bottom));
            DashedPolyline(line, m_c, color, s.width, pattern, true);
        }
    }
}

void GraphPaperRenderer::prepareLabels()
{
    // Labels past the cells of a block are never shown.
    const i64 cells =
        std::max<i64>(i64(m_p.vLineCount) - 1, 0) * std::max<i64>(i64(m_p.hLineCount) - 1, 0);
    m_labels = labelTableFor(m_caches, m_p.numberText, cells);
    const i64 longest = m_labels->longest;
    const i64 widest = m_labels->widest;
    // Generous bounds on how far a label's pixels can reach from its cell: its offset from
    // the cell (half the cell, half the size, half the size per character) plus the text's
    // own extent, each character at most twice the font's widest glyph and the line at most
    // two line heights (glyphs of fallback fonts may overhang a little).
    m_c.setFontSize(m_p.numberSize);
    m_labelWidths.emplace(m_c.font());
    if (const QString font = m_c.font().key(); font != m_labels->extentsFont) {
        // A table just read has none worked out.
        if (!m_labels->extentsFont.isEmpty()) {
            for (Label& label : m_labels->labels) {
                label.extent = -1;
            }
        }
        m_labels->inks.clear();
        m_labels->extentsFont = font;
    }
    const i64 size = std::abs(i64(m_p.numberSize));
    const i64 glyph = m_labelWidths->glyph();
    m_labelHeight = QFontMetrics(m_c.font()).height();
    m_labelReachX = std::abs(i64(m_p.vLineSpacing)) / 2 + size / 2 + longest * (size / 2 + 1) +
                    (widest + 1) * 2 * glyph;
    m_labelReachY = std::abs(i64(m_p.hLineSpacing)) / 2 + size / 2 + 1 + 2 * glyph;
}

// Worked out for the labels that come near the canvas only: the label text can hold a
// million of them.
i64 GraphPaperRenderer::extentOf(Label& label)
{
    if (label.extent < 0) {
        // The span's own characters, quotes included, cover the text drawn from it.
        label.extent = int(std::min<i64>(m_labelWidths->of(label.chars(m_labels->line)), INT_MAX));
    }
    return label.extent;
}

// Whether the label drawn at (x, y) can paint a pixel of the window. The bounds above
// allow a glyph's width either way, which a block of large labels just beside the window
// fills with tens of thousands that paint nothing; those are laid out once to know.
bool GraphPaperRenderer::inkMayReach(i64 index, i64 x, i64 y)
{
    Label& label = m_labels->labels[std::size_t(index)];
    if (x < m_w && x + extentOf(label) >= 0 && y < m_h && y + m_labelHeight >= 0) {
        return true; // within its own width and line: it is all but sure to paint
    }
    // Numbers and other plain texts are known from their characters, without laying them out
    // (the span's characters, doubled quotes included, are the text's).
    const auto plain = m_labelWidths->asciiOverhang(label.chars(m_labels->line));
    if (plain && (x - plain->left >= m_w || y + plain->bottom < 0 || y + plain->top >= m_h)) {
        return false;
    }
    std::vector<QRect>& inks = m_labels->inks;
    if (inks.empty()) {
        inks.resize(m_labels->labels.size());
    }
    QRect& ink = inks[std::size_t(index)];
    if (ink.isNull()) {
        // A text whose pixels only drawing it tells may reach anywhere the bounds allow.
        constexpr int kFar = INT_MAX / 4;
        ink = m_labelWidths->inkOf(render::commaItem(m_labels->line, label.span()))
                  .value_or(QRect(QPoint(-kFar, -kFar), QPoint(kFar, kFar)));
    }
    return x + ink.left() < m_w && x + ink.right() >= 0 && y + ink.top() < m_h &&
           y + ink.bottom() >= 0;
}

const std::optional<GraphPaperRenderer::LabelInk>& GraphPaperRenderer::labelInk()
{
    if (!m_labelInk) {
        m_labelInk.emplace();
        const auto used = m_labels->plainCharacters();
        QString characters;
        for (char16_t c = 0x20; used && c <= 0x7E; ++c) {
            if (((*used)[c / 64] >> (c % 64)) & 1) {
                characters += QChar(c);
            }
        }
        if (const auto overhang = m_labelWidths->asciiOverhang(characters)) {
            i64 widest = 0;
            for (const QChar c : characters) {
                widest = std::max<i64>(widest, m_labelWidths->of(QStringView(&c, 1)));
            }
            *m_labelInk = LabelInk{overhang->left, overhang->top, overhang->bottom, widest};
        }
    }
    return *m_labelInk;
}

void GraphPaperRenderer::drawLabels(i64 x0, i64 y0)
{
    const i64 count = m_labels ? i64(m_labels->labels.size()) : 0;
    const i64 sh = m_p.hLineSpacing;
    const i64 sv = m_p.vLineSpacing;
    const i64 size = m_p.numberSize;
    const i64 columns = i64(m_p.vLineCount) - 1;
    if (count == 0 || columns <= 0) {
        return;
    }
    const Range rows = visibleCells(y0 - sh, sh, 1, i64(m_p.hLineCount) - 1, m_labelReachY, m_h);
    const Range cols = visibleCells(x0 - sv, sv, 1, columns, m_labelReachX, m_w);
    // Labels fill the cells row by row, restarting in every block; cells skipped as
    // invisible still count.
    const i64 lastRow = std::min(rows.last, (count - 1) / columns + 1);
    // Labels paint only their colour: once every pixel of the window holds it, the labels
    // left cannot change one (thousands of large labels over cells of a pixel). The window
    // is looked at only after labels that cost far more than looking at it. Nor does their
    // order change a pixel, so their rows, and the cells of each row, are taken spread over
    // the block, each next one halfway between two taken (the bits of the count reversed):
    // a row of large labels over cells a pixel wide covers a band of the window, and rows
    // far apart cover it soonest; gathered as one union, a label between two taken is often
    // covered by them already and passed over.
    const bool mayCover = m_c.penMode() == render::PenMode::Copy;
    const i64 lookAfter = m_w * m_h / 1024 + 16;
    const i64 rowCount = lastRow - rows.first + 1;
    i64 drawn = 0;
    long long coveredTo = 0;
    // The labels are one colour: where many stand over each other (a line of them taller
    // than two cells), their glyphs are gathered and painted once.
    const bool crowded = (long double)m_labelHeight * m_labelHeight >
                             2 * std::fabs((long double)sh * (long double)sv) &&
                         rowCount * (cols.last - cols.first + 1) >= render::kTextsGathered;
    const render::TextUnion together(m_c, crowded);
    // Where the union already covers a stretch of cells, their labels are passed over
    // without looking at each: the stretch's bounds hold every label of the table.
    const std::optional<LabelInk> ink = crowded ? labelInk() : std::nullopt;
    const i64 glyph = m_labelWidths->glyph();
    constexpr i64 kStretch = 16;
    // A label stands left of its cell's middle by its length times half the size.
    const i64 shift = std::max(m_labels->shortest * size / 2, m_labels->longest * size / 2);
    const i64 unshift = std::min(m_labels->shortest * size / 2, m_labels->longest * size / 2);
    const auto stretchCovered = [&](i64 i, i64 jFirst, i64 jLast) {
        if (!ink) {
            return false;
        }
        const i64 y = y0 + (i - 1) * sh + sh / 2 - size / 2;
        const i64 left = x0 + (jFirst - 1) * sv + sv / 2 + size / 2 - shift - ink->left;
        const i64 right = x0 + (jLast - 1) * sv + sv / 2 + size / 2 - unshift +
                          m_labels->widest * ink->character + glyph;
        return m_c.textUnionCovers(left, y + ink->top, right, y + ink->bottom);
    };
    const SpreadOrder rowOrder(rowCount, mayCover);
    for (i64 n = 0; n < rowOrder.end(); ++n) {
        const i64 k = rowOrder.at(n);
        if (k < 0) {
            continue;
        }
        const i64 i = rows.first + k;
        // The cells of this row that have a label, a stretch at a time.
        const i64 cells = std::min(cols.last, count - (i - 1) * columns) - cols.first + 1;
        const SpreadOrder stretchOrder(cells > 0 ? ceilDiv(cells, kStretch) : 0, mayCover);
        for (i64 q = 0; q < stretchOrder.end(); ++q) {
            const i64 stretch = stretchOrder.at(q);
            if (stretch < 0) {
                continue;
            }
            const i64 cFirst = stretch * kStretch;
            const i64 cLast = std::min(cFirst + kStretch, cells) - 1;
            if (stretchCovered(i, cols.first + cFirst, cols.first + cLast)) {
                continue;
            }
            const SpreadOrder cellOrder(cLast - cFirst + 1, mayCover);
            for (i64 m = 0; m < cellOrder.end(); ++m) {
                if (cellOrder.at(m) < 0) {
                    continue;
                }
                const i64 j = cols.first + cFirst + cellOrder.at(m);
                const i64 index = (i - 1) * columns + (j - 1);
                Label& label = m_labels->labels[std::size_t(index)];
                const i64 x = x0 + (j - 1) * sv + sv / 2 - label.length * size / 2 + size / 2;
                const i64 y = y0 + (i - 1) * sh + sh / 2 - size / 2;
                // The cells' reach allows for the longest label: a shorter one that cannot
                // reach the canvas is skipped.
                if (x - glyph >= m_w || x + extentOf(label) + glyph < 0 ||
                    !inkMayReach(index, x, y)) {
                    continue;
                }
                if (fitsInt(x) && fitsInt(y)) {
                    // A label without quotes is written straight from the label text.
                    if (label.quoted != 0) {
                        m_c.textOut(int(x), int(y),
                                    render::commaItem(m_labels->line, label.span()));
                    } else {
                        m_c.textOut(int(x), int(y), label.chars(m_labels->line));
                    }
                    if (mayCover && ++drawn >= lookAfter) {
                        drawn = 0;
                        if (m_c.allPixelsAre(m_c.fontColor(), coveredTo)) {
                            return;
                        }
                    }
                }
            }
        }
    }
}

void GraphPaperRenderer::drawBlock(i64 x0, i64 y0)
{
    if (drawsLine(m_p.risingDiagonals)) {
        drawDiagonals(x0, y0, m_p.risingDiagonals, true);
    }
    if (drawsLine(m_p.fallingDiagonals)) {
        drawDiagonals(x0, y0, m_p.fallingDiagonals, false);
    }
    if (m_p.numberingOn) {
        m_c.setFontSize(m_p.numberSize);
        m_c.setBrushClear(true);
        m_c.setFontColor(paletteColor(m_p.numberColor, m_c.fontColor()));
        drawLabels(x0, y0);
    }
    drawInnerLines(x0, y0, true);
    drawInnerLines(x0, y0, false);
    setLinePen(m_p.leftSide);
    stackedVertical(x0, y0, m_p.leftSide.width);
    setLinePen(m_p.rightSide);
    stackedVertical(x0 + (i64(m_p.vLineCount) - 1) * m_p.vLineSpacing, y0, m_p.rightSide.width);
    setLinePen(m_p.topSide);
    stackedHorizontal(x0, y0, m_p.topSide.width);
    setLinePen(m_p.bottomSide);
    stackedHorizontal(x0, y0 + (i64(m_p.hLineCount) - 1) * m_p.hLineSpacing, m_p.bottomSide.width);
}

void GraphPaperRenderer::draw()
{
    beginFigure(m_c, m_frame);
    m_c.setPenColor(kWhite);
    m_c.setPenStyle(PenStyle::Solid);
    m_c.setFontColor(kWhite);

    // Layout in 128-bit: any value a field can hold while typing stays exact here; an
    // arrangement too large to address is not drawn.
    const i128 bw = i128(i64(m_p.vLineCount) - 1) * m_p.vLineSpacing;
    const i128 bh = i128(i64(m_p.hLineCount) - 1) * m_p.hLineSpacing;
    const i128 left = centredStart(m_frame.width, bw, m_p.countAcross, bw + m_p.gapAcross);
    const i128 top = centredStart(m_frame.height, bh, m_p.countDown, bh + m_p.gapDown);
    for (const i128 v : {bw, bh, left, top}) {
        if (!addressable(v)) {
            return;
        }
    }
    m_bw = i64(bw);
    m_bh = i64(bh);
    if (m_p.numberingOn) {
        prepareLabels();
    }
    int widest = 0;
    for (const LineSetting* s :
         {&m_p.topSide, &m_p.bottomSide, &m_p.leftSide, &m_p.rightSide, &m_p.innerHLines,
          &m_p.innerVLines, &m_p.risingDiagonals, &m_p.fallingDiagonals}) {
        widest = std::max(widest, positiveWidth(*s));
    }
    for (const EmphasisRow& row : m_p.emphasis) {
        widest = std::max(widest, positiveWidth(row.line));
    }
    m_marginX = i64(widest) + 1 + m_labelReachX;
    m_marginY = i64(widest) + 1 + m_labelReachY;

    const i64 stepX = m_bw + m_p.gapAcross;
    const i64 stepY = m_bh + m_p.gapDown;
    // A block spans origin + min(0, size) .. origin + max(0, size), plus the margin.
    const CopyGrid blocks{i64(left),
                          i64(top),
                          stepX,
                          stepY,
                          visibleBlocks(i64(top), stepY, m_p.countDown, m_bh, m_marginY, m_h),
                          visibleBlocks(i64(left), stepX, m_p.countAcross, m_bw, m_marginX, m_w)};
    const CopyReach reach{std::min<i64>(0, m_bw) - m_marginX, std::min<i64>(0, m_bh) - m_marginY,
                          std::max<i64>(0, m_bw) + m_marginX, std::max<i64>(0, m_bh) + m_marginY};
    const CopiesAlike alike = m_byStamps && blocksAlike() ? CopiesAlike::All : CopiesAlike::No;
    drawCopies(m_c, blocks, reach, alike, [this](Canvas& c, i64 x, i64 y) {
        if (&c == &m_c) {
            drawBlock(x, y);
        } else {
            GraphPaperRenderer other(c, m_p, m_frame, false, m_caches);
            other.adoptLayout(*this);
            other.m_plain = m_plain;
            other.drawBlock(x, y);
        }
    });
}

// Every block draws the same picture when each line it draws names its own colour and kind:
// one left unnamed takes what the line drawn before it set, and which lines are drawn
// before it depends on what of the block the window shows.
bool GraphPaperRenderer::blocksAlike() const
{
    std::vector<const LineSetting*> lines{
        &m_p.topSide,     &m_p.bottomSide,  &m_p.leftSide,        &m_p.rightSide,
        &m_p.innerHLines, &m_p.innerVLines, &m_p.risingDiagonals, &m_p.fallingDiagonals};
    for (const EmphasisRow& row : m_p.emphasis) {
        if (row.on) {
            lines.push_back(&row.line);
        }
    }
    return namesAllItsOwn(lines, m_p.numberColor);
}

void GraphPaperRenderer::adoptLayout(const GraphPaperRenderer& from)
{
    m_bw = from.m_bw;
    m_bh = from.m_bh;
    m_marginX = from.m_marginX;
    m_marginY = from.m_marginY;
    m_labelReachX = from.m_labelReachX;
    m_labelReachY = from.m_labelReachY;
    m_labelHeight = from.m_labelHeight;
    m_labelWidths = from.m_labelWidths;
    m_labelInk = from.m_labelInk;
    m_labels = from.m_labels;
}

} // namespace

void drawGraphPaper(Canvas& canvas, const GraphPaperParams& params, const Frame& frame,
                    FigureCaches* caches)
{
    FigureCaches own;
    GraphPaperRenderer(canvas, params, frame, true, cachesOr(caches, own)).draw();
}

void drawGraphPaperBlockByBlock(Canvas& canvas, const GraphPaperParams& params, const Frame& frame)
{
    FigureCaches own;
    GraphPaperRenderer plain(canvas, params, frame, false, own);
    plain.drawPlain();
    plain.draw();
}

} // namespace koyomi::figures
