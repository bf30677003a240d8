// One drawing repeated at many places: drawn once on scratch canvases, then its pixels are
// copied to every place in turn. Figures whose copies are all alike (clock faces) cost a
// copy of pixels per place instead of a drawing.
#pragma once

#include "render/Canvas.h"
#include "render/PixelLoop.h"

#include <QRect>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace koyomi::render {

// Gives `to` the pen, brush, font and pen mode of `from`: a scratch canvas drawn like it.
void copyState(const Canvas& from, Canvas& to);

// The pixels of a canvas that copies painted from the last back have decided: each pixel
// takes the first colour it is given and is then left alone, so thousands of copies over
// each other cost about what covers the canvas.
class DecidedPixels
{
public:
    DecidedPixels(long long width, long long height);

    bool allDecided() const { return m_openRows == 0; }
    long long openPixels() const { return m_openPixels; }
    // Whether a row from firstRow to lastRow (within the canvas) still has an open pixel.
    bool anyOpen(long long firstRow, long long lastRow) const;
    bool rowOpen(long long y) const { return m_open[std::size_t(y)] > 0; }
    // The first and last rows with an open pixel (first > last when none is open).
    std::pair<long long, long long> openRows() const;
    // The open pixels of row y from x to x + n − 1 (within the canvas) take colours[0..n) into
    // line, and are decided.
    void take(long long y, long long x, long long n, const QRgb* colours, QRgb* line);
    // The open pixels x in [from, to) of row y whose colour layer[x − from] is not
    // `unpainted` take it into line[x − from], and are decided; the layer's pixels are made
    // `unpainted` again. Whether the layer painted any.
    bool takePainted(long long y, long long from, long long to, QRgb* layer, QRgb unpainted,
                     QRgb* line);

private:
    void decide(long long y, long long n);
    // Calls run(open, closed) for each run of open pixels from `from` to `end` in a row of
    // m_decided, found a word at a time, while it returns true.
    template <class Run> static void eachOpenRun(unsigned char* from, unsigned char* end, Run run);

    long long m_width;
    std::vector<unsigned char> m_decided; // a byte a pixel, so that runs are found by memchr
    std::vector<long long> m_open;        // pixels of each row still open
    long long m_openRows;
    long long m_openPixels;
};

// Defined here: pasting copies calls take for every span, far too often for a call each.
inline void DecidedPixels::decide(long long y, long long n)
{
    long long& open = m_open[std::size_t(y)];
    open -= n;
    m_openPixels -= n;
    if (open == 0) {
        --m_openRows;
    }
}

template <class Run>
KOYOMI_PIXEL_LOOP void DecidedPixels::eachOpenRun(unsigned char* from, unsigned char* end, Run run)
{
    while (from < end) {
        auto* open = static_cast<unsigned char*>(std::memchr(from, 0, std::size_t(end - from)));
        if (!open) {
            return;
        }
        auto* closed = static_cast<unsigned char*>(std::memchr(open, 1, std::size_t(end - open)));
        if (!closed) {
            closed = end;
        }
        if (!run(open, closed)) {
            return;
        }
        from = closed;
    }
}

KOYOMI_PIXEL_LOOP inline void DecidedPixels::take(long long y, long long x, long long n,
                                                  const QRgb* colours, QRgb* line)
{
    unsigned char* const row = m_decided.data() + y * m_width;
    eachOpenRun(row + x, row + x + n,
                [&](unsigned char* open, unsigned char* closed) KOYOMI_PIXEL_LOOP {
                    const long long from = open - row;
                    std::copy(colours + (from - x), colours + (closed - row - x), line + from);
                    std::fill(open, closed, 1);
                    decide(y, closed - open);
                    return m_open[std::size_t(y)] > 0;
                });
}

// The most pixels a scratch canvas may hold (128 MB): a drawing reaching about 2,900 pixels
// from its reference point, which is still far less than thousands of such drawings overlapping
// on the window cost one by one.
inline constexpr long long kMaxScratchPixels = 1LL << 25;
// The most pixels a drawing repeated may span, drawn a scratch canvas of rows at a time: each
// band costs a drawing of the copy cut to its rows.
inline constexpr long long kMaxDrawingPixels = 8 * kMaxScratchPixels;

class RepeatedDrawing
{
public:
    // draw(canvas, x, y) draws one copy with its reference point at (x, y), on a canvas set up
    // like `like` (pen, brush, font); everything it paints lies in `reach`, a box relative to
    // the reference point. A drawing larger than kMaxDrawingPixels, or painting more pixels
    // than one full scratch canvas holds, is not made: usable() is then false and the caller
    // draws every copy itself.
    RepeatedDrawing(const Canvas& like, const QRect& reach,
                    const std::function<void(Canvas&, int, int)>& draw,
                    long long scratchPixels = kMaxScratchPixels);

    // Columns of the drawing, relative to the reference point.
    struct Columns
    {
        int left;
        int width;
    };
    // Only the given columns, left to right and apart, of the rows from `top`, `height` of
    // them: copies so far apart across a small canvas that each shows it a strip of its own
    // need those strips, not the drawing between them. Each strip is drawn on a scratch
    // canvas of its own, of at most scratchPixels (tests pass fewer, to reach the drawing in
    // bands of rows with small drawings).
    RepeatedDrawing(const Canvas& like, int top, int height, const std::vector<Columns>& columns,
                    const std::function<void(Canvas&, int, int)>& draw,
                    long long scratchPixels = kMaxScratchPixels);

    // Gives back the scratch canvas it keeps, made unpainted where its spans say it was
    // painted.
    ~RepeatedDrawing();
    RepeatedDrawing(RepeatedDrawing&&) = default;
    RepeatedDrawing& operator=(RepeatedDrawing&&) = default;

    bool usable() const { return m_usable; }
    // Paints the drawing's pixels with its reference point at (x, y), cut to the canvas.
    void paint(Canvas& canvas, long long x, long long y) const;
    // Paints copies at (x0 + i·stepX, y0 + j·stepY) for j from jFirst to jLast (the outer
    // order) and i from iFirst to iLast, as paint() one by one would. Where the canvas holds
    // only the figure's background under them and rows of copies do not overlap, one row of
    // copies is painted and its canvas rows copied to the others; copies that lie over each
    // other are painted from the last back, each pixel once.
    void paintGrid(Canvas& canvas, long long x0, long long stepX, long long iFirst, long long iLast,
                   long long y0, long long stepY, long long jFirst, long long jLast) const;

    // The same as paintGrid where copies lie over each other, at a cost that follows the rows
    // of the drawing and of the canvas rather than the copies: thousands of copies a few
    // pixels apart, each reaching hundreds. Along a row of copies, the copy that paints a
    // pixel last is the one at the nearest offset in the drawing's row, among those a copy
    // can stand at; down the copies, likewise the nearest row of the drawing. False, having
    // painted nothing, when the drawing is too wide for it. Given `decided`, only into the
    // pixels it leaves open, as paintUnder, deciding them.
    bool paintLattice(Canvas& canvas, long long x0, long long stepX, long long iFirst,
                      long long iLast, long long y0, long long stepY, long long jFirst,
                      long long jLast, DecidedPixels* decided = nullptr) const;
    // Whether pasting `copies` copies, `across` of them in a row, one by one would cost more
    // than paintLattice.
    bool latticePays(const Canvas& canvas, long long copies, long long across) const;

    // Pastes the same copies from the last back (jLast, iLast first) into the pixels `decided`
    // leaves open: under copies that came after these and were painted already.
    void paintUnder(Canvas& canvas, DecidedPixels& decided, long long x0, long long stepX,
                    long long iFirst, long long iLast, long long y0, long long stepY,
                    long long jFirst, long long jLast) const;

private:
    // How a lattice finds, along a canvas row, the copy across that paints a pixel last: by
    // working on every offset of the drawing's row, by looking up each copy's offset from
    // every pixel, or neither (too wide both ways).
    enum class Across
    {
        ByOffset,
        ByPlace,
        TooWide,
    };
    Across acrossOf(long long width, long long columns) const;

    struct Span
    {
        int dx;
        std::uint32_t first; // where its consecutive painted pixels from dx start, from
                             // m_base (within kMaxScratchPixels)
        int length;
    };
    // The spans of one row, one after another in m_spans (left to right).
    struct RowSpans
    {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
    };
    // The spans of row r (from m_top to m_bottom).
    std::pair<std::vector<Span>::const_iterator, std::vector<Span>::const_iterator>
    spansOf(long long r) const
    {
        const RowSpans& row = m_rows[std::size_t(r - m_top)];
        const auto begin = m_spans.begin() + std::ptrdiff_t(row.first);
        return {begin, begin + std::ptrdiff_t(row.count)};
    }

    bool m_usable = false;
    std::vector<Span> m_spans; // row by row, top to bottom; a row that repeats the one above
                               // shares its spans
    // The painted pixels of every span, one after another: a striped drawing has millions of
    // spans of a pixel or two, which one allocation each would make slower than drawing it.
    std::vector<QRgb> m_pixels;
    // Or the scratch canvas it was drawn on, when it was one, and its row of m_top.
    std::unique_ptr<KeptCanvas> m_kept;
    int m_keptTop = 0;
    const QRgb* m_base = nullptr; // where span.first counts from

    int m_top = 0; // the rows the spans cover, relative to the reference point
    int m_bottom = -1;
    int m_left = 0; // and the columns
    int m_right = -1;
    std::vector<RowSpans> m_rows; // from m_top to m_bottom
    long long m_pasted = 0;       // the spans a copy pastes, its rows' shared ones included
};

} // namespace koyomi::render
