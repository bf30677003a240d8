// The drawing surface of every figure: a QImage with pixel rules that are the same on every
// machine.
#pragma once

#include "render/Color.h"
#include "render/PixelRuns.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QPainter;

namespace koyomi::render {

// Cosmetic styles of one-pixel lines.
enum class PenStyle
{
    Solid,
    Dash,
    Dot,
    DashDot,
    DashDotDot,
    Clear
};

enum class PenMode
{
    Copy,
    Xor
};

// Point types of a captured path (the values the program's path records use).
enum PathPointType : std::uint8_t
{
    PathCloseFigure = 0x01,
    PathLineTo = 0x02,
    PathBezierTo = 0x04,
    PathMoveTo = 0x06,
};

struct Pen
{
    ColorRef color = kBlack;
    PenStyle style = PenStyle::Solid;
    int width = 1;
    // A geometric pen strokes with real width, ends and round joins; otherwise lines are
    // one-pixel cosmetic lines with the style's pattern.
    bool geometric = false;
    bool flatEnds = true;
    bool operator==(const Pen&) const = default;
};

struct Brush
{
    ColorRef color = kWhite;
    bool clear = false;
};

struct PixelRun;
struct StrokeStamp;
struct TextGlyphs;
class TextWidths;

// Pixels [left, right] of row y, as a flood fill painted them.
struct FilledRun
{
    int y, left, right;
};

// The pixel value a scratch canvas starts with (Canvas(w, h, Unpainted)): every colour a
// drawing paints is opaque, and this one is not, so a pixel that still holds it was not
// painted, whatever colours the drawing uses.
inline constexpr QRgb kUnpaintedPixel = 0;

// Bit i set for each of the n pixels (n ≤ 64) from `line` that is painted (holds another
// value than kUnpaintedPixel).
std::uint64_t paintedBits(const QRgb* line, int n);

// Calls run(start, end) for each run [start, end) of painted pixels of `line` from `from` to
// `to`, left to right, found 64 pixels at a time, as a word of their painted bits: a scratch
// image's rows are runs of a few pixels (a dashed ring's) or thousands (a band of copies),
// each a guess the processor loses read pixel by pixel.
template <class Run>
KOYOMI_PIXEL_LOOP void eachPaintedRun(const QRgb* line, int from, int to, Run&& run)
{
    int start = -1; // of the run open, if any
    for (int x = from; x < to; x += 64) {
        const int n = std::min(64, to - x);
        const std::uint64_t painted = paintedBits(line + x, n);
        int at = 0;
        for (;;) {
            // The next change: the next painted pixel outside a run, the next unpainted one
            // inside it.
            const std::uint64_t next = (start < 0 ? painted : ~painted) & (~std::uint64_t(0) << at);
            if (next == 0) {
                break;
            }
            at = std::countr_zero(next); // n only for a run that ends at `to`
            if (start < 0) {
                start = x + at;
            } else {
                run(start, x + at);
                start = -1;
            }
        }
    }
    if (start >= 0) {
        run(start, to);
    }
}

struct Unpainted
{
};

// Memory for `count` pixels all holding kUnpaintedPixel, freed with std::free; nullptr when
// there is not that much. Handed out by the system page by page as first written; in large
// pages where it allows them, when asked for `inLargePages` (see the definition).
QRgb* unpaintedPixels(std::size_t count, bool inLargePages = false);

class Canvas
{
public:
    Canvas(int width, int height, ColorRef fill = kBlack);
    // A scratch canvas whose pixels all hold kUnpaintedPixel, on memory the system hands out
    // page by page as it is first written: a scratch image of tens of millions of pixels that
    // a drawing paints a little of costs what is painted, not what is filled.
    Canvas(int width, int height, Unpainted);
    // A scratch canvas on width · height pixels the caller keeps, all holding
    // kUnpaintedPixel, for as long as the canvas lives: a scratch image drawn on again and
    // again is mapped in once.
    Canvas(QRgb* pixels, int width, int height, Unpainted);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    // The pixels as they are now; any pending painter work is finished first.
    const QImage& image() const;
    // Changes the size; the new area is filled with the given colour.
    void resize(int width, int height, ColorRef fill);

    const Pen& pen() const { return m_pen; }
    void setPen(const Pen& pen);
    void setPenColor(ColorRef color);
    void setPenStyle(PenStyle style);
    void setPenWidth(int width);
    PenMode penMode() const { return m_penMode; }
    void setPenMode(PenMode mode);

    const Brush& brush() const { return m_brush; }
    void setBrush(const Brush& brush) { m_brush = brush; }
    void setBrushClear(bool clear) { m_brush.clear = clear; }
    void setBrushColor(ColorRef color) { m_brush.color = color; }

    // Font size in points; text is drawn at 96 dots per inch.
    int fontSize() const { return m_fontSize; }
    void setFontSize(int points);
    ColorRef fontColor() const { return m_fontColor; }
    void setFontColor(ColorRef color) { m_fontColor = color; }
    QString fontFamily() const { return m_fontFamily; }
    void setFontFamily(const QString& family);

    // Fills [rect) with a colour, whatever the brush; clipped to the canvas.
    // Sets row y to `set` where its mask byte is not zero and to `clear` elsewhere (mask[i]
    // is pixel i; pixels beyond the mask keep theirs); a row outside the canvas is left alone.
    void setMaskedRow(int y, std::span<const std::uint8_t> mask, ColorRef set, ColorRef clear);
    // Sets pixel x + i of row y to `set` where mask[i] is not zero; the other pixels keep
    // theirs. The mask lies within the row.
    void paintMaskedRow(int y, int x, std::span<const std::uint8_t> mask, ColorRef set);
    // Copies n pixels (as the image holds them) into row y from x on; the caller keeps them
    // inside the canvas.
    void setPixels(int y, int x, const QRgb* pixels, int n);
    // The image's pixels, for writing many rows at once: row y starts at
    // writableBits() + y · bytesPerLine(). Valid until the canvas is resized.
    // Every pixel counts as written.
    uchar* writableBits();
    // Row y, for writing its pixels [from, to) (within the canvas) and no others.
    QRgb* writableRow(int y, int from, int to);
    qsizetype bytesPerLine() const { return m_image.bytesPerLine(); }
    // Whether every pixel holds `color`. `from` (row by row, 0 at first) keeps how far they
    // were found to: asked again while pixels only ever turn to that colour, each pixel is
    // looked at once.
    bool allPixelsAre(ColorRef color, long long& from) const;
    // The box around every pixel written since forgetWritten() or since the canvas was made
    // (empty when none): pixels outside it are as they were then. A layer that copies are
    // drawn on one by one is read, and cleared, only there. The painter's writes count as the
    // whole canvas.
    WrittenBox written() const { return m_written; }
    void forgetWritten() { m_written = {}; }
    // Gives every pixel of the written box kUnpaintedPixel again and forgets the box: a scratch
    // canvas drawn on again costs what the drawing before wrote, not the canvas.
    void unpaintWritten();
    void fillRect(const QRect& rect, ColorRef color);
    void fillRect(int x1, int y1, int x2, int y2, ColorRef color);
    // A solid straight stroke along a row or a column with flat ends, in copy mode: the
    // rectangle from a to b (b's own pixel excluded), width pixels across and centred as the
    // painter centres it, filled directly. False, with nothing drawn, when a and b share
    // neither a row nor a column or are the same point.
    bool fillStraightStroke(QPoint a, QPoint b, int width, ColorRef color);
    // Fills the columns [x + k·step, x + k·step + width) for k in [0, count) on every row of
    // [y1, y2), row by row: many equal vertical strokes side by side cost about their pixels
    // in the order the image holds them. step > 0; cut to the canvas.
    void fillColumns(long long x, long long step, long long count, long long width, long long y1,
                     long long y2, ColorRef color);

    // Current position and one-pixel lines. Inside an open path they add to the path instead.
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    QPoint position() const { return m_position; }
    void polyline(std::span<const QPoint> points);

    // One-pixel vertical lines that all start on row y1, each from (x, y1) toward (x, yEnd)
    // with its own colour and cosmetic style, drawn as if one after another in the given
    // order, but row by row: many long neighbouring lines then cost about a fill.
    struct VerticalLine
    {
        long long x;
        long long yEnd;
        ColorRef color;
        PenStyle style;
    };
    void verticalLines(std::span<const VerticalLine> lines, long long y1);
    void polygon(std::span<const QPoint> points);
    // Box shapes exclude the right and bottom edges; reversed boxes are normalised.
    void rectangle(int x1, int y1, int x2, int y2);
    void ellipse(int x1, int y1, int x2, int y2);

    // Text with the top of its cell at y, on a clear background.
    void textOut(int x, int y, const QString& text) { textOut(x, y, QStringView(text)); }
    void textOut(int x, int y, QStringView text);
    // Texts written in copy mode from beginTextUnion to endTextUnion are gathered as the union
    // of their glyphs' pixels and painted at the end, or before the painter draws or the
    // canvas is read, or when a text of another colour comes: texts of one colour over each
    // other show that union whatever their order, and thousands of large labels over small
    // cells then paint each pixel once rather than every glyph's. Only texts may be written
    // meanwhile.
    void beginTextUnion();
    void endTextUnion();
    // Whether the texts gathered so far hold, in the font colour, every pixel of the box from
    // (left, top) to (right, bottom) that lies on the canvas: texts of that colour within it
    // can change none.
    bool textUnionCovers(long long left, long long top, long long right, long long bottom) const;
    // How many texts were laid out for this canvas (those drawn by the painter, and those met
    // for the first time on any canvas): each costs about as much as thousands of pixels.
    long long textsLaidOut() const { return m_textsLaidOut; }
    // How many texts were written on this canvas, each laid out or not.
    long long textsWritten() const { return m_textsWritten; }
    // The font text is drawn in at the present family and size.
    const QFont& font() const;
    QSize textExtent(const QString& text) const;

    // Fills the 4-connected area that has the seed pixel's colour with the brush colour;
    // `filled`, when given, receives the runs painted (what undoing the fill repaints).
    void floodFill(int x, int y, std::vector<FilledRun>* filled = nullptr);

    ColorRef pixel(int x, int y) const;
    void setPixel(int x, int y, ColorRef color);

    // Paths: between beginPath and endPath, moveTo/lineTo/bezierTo/closeFigure record points.
    void beginPath();
    void endPath();
    bool pathOpen() const { return m_pathOpen; }
    void bezierTo(QPoint c1, QPoint c2, QPoint end);
    void closeFigure();
    // Replaces every Bezier of the finished path by line segments (flatness 0.25 pixel).
    void flattenPath();
    const std::vector<QPoint>& pathPoints() const { return m_pathPoints; }
    const std::vector<std::uint8_t>& pathTypes() const { return m_pathTypes; }
    // Strokes the finished path with the current pen and discards it.
    void strokePath();
    // Strokes a path of the two points, as recording and stroking it does (any open path is
    // discarded and the position is left at b), without recording it: a dashed line strokes
    // one for every dash.
    void strokeLine(QPoint a, QPoint b);
    // Strokes the line from a to b as strokeLine does, where only its pixels inside `within`
    // need to be painted: none but the line's are, and a part of a long line costs the rows of
    // that part rather than the line's. The whole line is stroked when the painter cannot cut
    // it exactly so (a thin cosmetic pen, a dashed one, exclusive-or, a line the canvas's edge
    // cuts).
    void strokeLineWithin(QPoint a, QPoint b, const QRect& within);
    // Strokes the line from ends[2k] to ends[2k + 1] for each k in turn, as strokeLine does
    // each; the dashes of a dashed line come this way, many at a time.
    void strokeLines(std::span<const QPoint> ends);
    // Whether this canvas is a scratch image that a drawing repeated at many places is made on
    // once (or once a band of rows) before its pixels are pasted at every place: what a figure
    // draws on it is drawn once, however many copies show it.
    bool holdsRepeatedDrawing() const { return m_holdsRepeatedDrawing; }
    void setHoldsRepeatedDrawing(bool holds) { m_holdsRepeatedDrawing = holds; }
    // How many straight strokes were painted from the pixels an earlier one of the same pen,
    // direction and length covered, without the painter.
    long long strokesStamped() const { return m_strokesStamped; }

private:
    void drawLine(QPoint from, QPoint to);
    void plot(int x, int y, QRgb rgb);
    QPainter& painter() const;
    void endPainter() const;
    void applyPainterState(QPainter& p, bool withBrush) const;
    // The painter cuts a shape at the canvas's edge before rasterising it, which moves a pixel
    // here and there (and restarts the dashes of an outline): a shape the edge cuts is drawn
    // whole on a scratch image in p's pen and brush and its painted pixels copied, so that the
    // window shows what a larger one would. False (nothing drawn) when the shape is inside the
    // canvas, wholly outside it, too large for a scratch image, or drawn in exclusive-or.
    bool paintWhole(QPainter& p, const QRect& box,
                    const std::function<void(QPainter&)>& draw) const;
    // A filled shape in exclusive-or mode changes each of its pixels once, its outline by the
    // pen's colour and its inside by the brush's: the painter would fill under the outline
    // and then exclusive-or the outline over the fill, showing neither colour there (a
    // filled rubber band's edge). Draws the shape in `box` so and returns true; false, with
    // nothing drawn, when the mode is not exclusive-or or the brush is clear.
    bool xorFilled(const QRect& box, const std::function<void(QPainter&)>& draw);
    void drawTextDirect(int x, int y, const QString& text);
    // Paints the runs (row by row, top first), placed at (x, y), in one colour; cut to the
    // canvas.
    void paintRuns(std::span<const PixelRun> runs, long long x, long long y, QRgb rgb);
    // Paints the pixels of the glyphs of a laid-out text that reach the canvas, with the
    // text's baseline origin at (x, baseline).
    void paintGlyphs(const TextGlyphs& text, long long x, long long baseline);
    // Paints the glyphs' pixels gathered so far in the union of texts.
    void paintTextUnion() const;
    // Whether texts are being gathered, in copy mode, and some already in the font colour.
    bool gatheringInFontColor() const;
    // Whether the union of texts already holds, in the font colour, every pixel `text` can
    // paint at (x, y): known for a text of plain characters from their glyphs' boxes alone.
    bool unionCoversText(long long x, long long y, QStringView text) const;
    void strokeFigure(std::span<const QPoint> points, bool closed);
    // A short straight stroke of the pen, painted from its stamp; false, with nothing drawn,
    // when the painter is to draw it (the first of its kind, or too large to keep).
    bool stampStroke(QPoint a, QPoint b);
    // A one-pixel line of the geometric pen from a to b, wholly on the canvas, painted pixel
    // for pixel as the painter paints it (see thinLineSteps), in the pen's colour and copy
    // mode; only its pixels inside `within` when given.
    void paintThinLine(QPoint a, QPoint b, const QRect* within);
    // What stroking a line to `end` leaves: no open path, the position at `end`, the dash
    // pattern from its start.
    void leaveLineStroked(QPoint end);

    // What was last handed to the painter, so that unchanged state is not set again.
    struct PainterState
    {
        Pen pen;
        bool brushClear = true;
        ColorRef brushColor = 0;
        PenMode mode = PenMode::Copy;
        bool operator==(const PainterState&) const = default;
    };

    mutable QImage m_image;
    mutable WrittenBox m_written;
    mutable std::unique_ptr<QPainter> m_painter;
    mutable std::optional<PainterState> m_applied;
    // The text font of the painter, kept while the family and size stay the same.
    mutable QFont m_font;
    mutable int m_fontAscent = 0;
    mutable QString m_fontKey; // family and pixel size, as one text
    mutable QString m_fontKeyFamily;
    mutable int m_fontKeyPixels = 0;
    mutable QString m_painterFontKey; // the font the painter has now
    // The scratch image of shapes the edge cuts, kept between them: thousands of marks cut
    // by the edge would otherwise each allocate and clear up to a megabyte.
    mutable QImage m_wholeScratch;
    long long m_textsLaidOut = 0;
    long long m_textsWritten = 0;
    bool m_textUnionOn = false;
    mutable RowBits m_textUnion;
    mutable QRgb m_textUnionRgb = 0;
    BitPicture m_textBits; // a short text's glyphs as one picture, gathered at once
    // The widths of the font's characters, for the texts the union may cover (m_fontKey's).
    mutable std::unique_ptr<TextWidths> m_unionWidths;
    mutable QString m_unionWidthsKey;
    long long m_strokesStamped = 0; // strokes painted from the stamps all canvases share
    bool m_holdsRepeatedDrawing = false;
    Pen m_pen;
    PenMode m_penMode = PenMode::Copy;
    Brush m_brush;
    int m_fontSize = 9;
    ColorRef m_fontColor = kBlack;
    QString m_fontFamily;
    QPoint m_position;
    // Position inside the pen pattern of the current run of connected lines.
    int m_patternPhase = 0;
    bool m_pathOpen = false;
    std::vector<QPoint> m_pathPoints;
    std::vector<std::uint8_t> m_pathTypes;
    std::vector<QPoint> m_strokingPoints; // the path being stroked (see strokePath)
    std::vector<std::uint8_t> m_strokingTypes;
};

// A scratch canvas (every pixel kUnpaintedPixel) on memory the thread keeps for its next one.
// A drawing of tens of millions of pixels on fresh memory has the system hand out and zero
// every page it first writes, which cost a third of such a drawing; given back unpainted
// where it was painted, the pages stay mapped for the next drawing. One block is kept, the
// largest given back, up to kMostKeptPixels (memory held while the program runs); a canvas
// asked for while it is in use, or larger, is made on fresh memory.
class KeptCanvas
{
public:
    static constexpr std::size_t kMostKeptPixels = std::size_t(1) << 25; // 128 MB

    KeptCanvas(int width, int height);
    // Makes the pixels it wrote unpainted again and gives the memory back.
    ~KeptCanvas();
    KeptCanvas(const KeptCanvas&) = delete;
    KeptCanvas& operator=(const KeptCanvas&) = delete;

    Canvas& operator*() const { return *m_canvas; }
    Canvas* operator->() const { return m_canvas.get(); }
    // Says that every pixel painted was made unpainted again (by one that knows where it
    // painted), and that nothing is painted after: it is given back without being looked at.
    void givenBackUnpainted() { m_unpainted = true; }

private:
    QRgb* m_pixels = nullptr;
    bool m_unpainted = false;
    std::size_t m_count = 0; // pixels of the block, at least width · height
    std::unique_ptr<Canvas> m_canvas;
};

// Gathers the texts written on a canvas while it lives as one union (Canvas::beginTextUnion):
// the labels of a figure, one colour, however many stand over each other. A few labels are
// cheaper written one by one (`gather` false): the union's bits cover the canvas.
class TextUnion
{
public:
    explicit TextUnion(Canvas& canvas, bool gather = true) : m_canvas(gather ? &canvas : nullptr)
    {
        if (m_canvas) {
            m_canvas->beginTextUnion();
        }
    }
    ~TextUnion()
    {
        if (m_canvas) {
            m_canvas->endTextUnion();
        }
    }
    TextUnion(const TextUnion&) = delete;
    TextUnion& operator=(const TextUnion&) = delete;

private:
    Canvas* m_canvas;
};

// From this many texts a figure's labels are gathered as one union.
inline constexpr long long kTextsGathered = 64;

// The pixels a one-pixel line from `from` to `to` paints in the given style, as Canvas
// lineTo paints them after a moveTo: the end point left out, the pattern from its start.
std::vector<QPoint> linePixels(QPoint from, QPoint to, PenStyle style);

// The width a geometric pen strokes with. Below one pixel a pen draws one pixel wide, as the
// platform's pens do; a width typed far beyond any window is held to kMaxStrokeWidth, twice
// the largest picture the program draws (16384 pixels a side) and the widest pen the
// platform takes, so that dash walks and the rasteriser never meet lengths that overflow or
// take without end.
inline constexpr int kMaxStrokeWidth = (1 << 15) - 1;
constexpr int strokeWidth(int width)
{
    return width < 1 ? 1 : (width > kMaxStrokeWidth ? kMaxStrokeWidth : width);
}

// A line's width as the pen holds it for working out where it reaches: its size (a width
// typed negative counts by its size), at most kMaxStrokeWidth.
constexpr long long heldStrokeWidth(long long width)
{
    const long long size = width < 0 ? -width : width;
    return size > kMaxStrokeWidth ? kMaxStrokeWidth : size;
}
// How far a shape's box is widened to hold all a line of this width paints around it: the
// held width, with a pixel to spare either way.
constexpr long long strokeReach(long long width)
{
    return heldStrokeWidth(width) + 2;
}

// Pixel height of a font of the given point size at 96 dots per inch, rounded half up.
int fontPixelHeight(int points);

// Whether every pixel of a canvas width × height lies inside the ellipse drawn in the box from
// (x1, y1) to (x2, y2), at least `margin` pixels from its edge: a dot a thousand pixels
// across over a small window then only fills it, and its outline cannot reach it.
bool insideEllipse(long long width, long long height, long long x1, long long y1, long long x2,
                   long long y2, long long margin);

// The face every figure's text uses, and the font installed in its place.
inline constexpr const char* kFigureFontFamily = "ＭＳ Ｐゴシック";
inline constexpr const char* kSubstituteFontFamily = "IPAPGothic";
// Installs the substitution once per process; safe to call again.
void installFontSubstitution();

} // namespace koyomi::render
