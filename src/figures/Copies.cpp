#include "figures/Copies.h"

#include "render/RepeatedDrawing.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace koyomi::figures {

CopyGrid visibleCopies(const render::Canvas& canvas, const render::Frame& frame, long long r,
                       int countAcross, int gapAcross, int countDown, int gapDown, long long reach)
{
    CopyGrid g;
    g.stepX = 2 * r + gapAcross;
    g.stepY = 2 * r + gapDown;
    g.x0 = heldLayout(centredStart(frame.width, 0, countAcross, g.stepX));
    g.y0 = heldLayout(centredStart(frame.height, 0, countDown, g.stepY));
    g.rows = stepRange(g.y0, g.stepY, 0, countDown - 1LL, -reach, canvas.height() + reach);
    g.cols = stepRange(g.x0, g.stepX, 0, countAcross - 1LL, -reach, canvas.width() + reach);
    // Copies in one place draw the same picture: one stands for all.
    if (g.stepY == 0) {
        g.rows.last = std::min(g.rows.last, g.rows.first);
    }
    if (g.stepX == 0) {
        g.cols.last = std::min(g.cols.last, g.cols.first);
    }
    return g;
}

namespace {

// The reference points of the copies in `r`, origin + k·step, lowest and highest.
std::pair<long long, long long> placesOf(long long origin, long long step, const Range& r)
{
    const long long a = origin + r.first * step;
    const long long b = origin + r.last * step;
    return {std::min(a, b), std::max(a, b)};
}

using render::Canvas;

// The most pixels a scratch image for copies may hold.
constexpr long long kLargest = render::kMaxScratchPixels;

using Columns = render::RepeatedDrawing::Columns;

// The columns of one copy's drawing, left to right and relative to its reference point, that
// some copy puts on the canvas, within `left` to `right` (those of every copy). Copies across
// so far apart that each shows the canvas a strip of its own need only those strips: lines a
// thousand pixels apart over a small canvas need a strip the canvas's width for each, not the
// thousands of pixels between. Empty when a column lies beyond the canvas's coordinates.
std::vector<Columns> columnsShown(const CopyGrid& g, long long canvasWidth, long long left,
                                  long long right)
{
    constexpr long long kMostStrips = 64; // each is a drawing of the copy
    std::vector<Columns> shown;
    bool fits = true;
    auto add = [&](long long from, long long to) {
        from = std::max(from, left);
        to = std::min(to, right);
        if (from > to) {
            return;
        }
        fits = fits && fitsInt(from) && to - from < kLargest;
        if (fits) {
            shown.push_back(Columns{int(from), int(to - from + 1)});
        }
    };
    const long long colCount = g.cols.last - g.cols.first + 1;
    if (colCount > 1 && colCount <= kMostStrips && std::abs(g.stepX) >= 2 * canvasWidth) {
        // A copy further right shows the canvas columns further left of its own.
        for (long long k = 0; k < colCount; ++k) {
            const long long x = g.x0 + (g.stepX > 0 ? g.cols.last - k : g.cols.first + k) * g.stepX;
            add(-x, canvasWidth - 1 - x);
        }
    } else {
        add(left, right);
    }
    return fits ? shown : std::vector<Columns>{};
}

// The copies of a grid after its first few, from the last back: rows from the last, each row
// from its last copy, and in the first row only from iFrom.
class CopiesBack
{
public:
    CopiesBack(const CopyGrid& g, long long iFrom)
        : m_g(g), m_iFrom(iFrom), m_j(g.rows.last), m_i(g.cols.last)
    {
        if (m_j == g.rows.first && m_i < iFrom) {
            m_j = g.rows.first - 1; // none
        }
    }

    bool done() const { return m_j < m_g.rows.first; }
    long long j() const { return m_j; }
    long long i() const { return m_i; }
    // Stands at the last copy of row j, a row not after the one it stands in.
    void toRow(long long j)
    {
        m_j = j;
        m_i = m_g.cols.last;
        if (m_j == m_g.rows.first && m_i < m_iFrom) {
            m_j = m_g.rows.first - 1;
        }
    }
    void next()
    {
        if (--m_i < (m_j == m_g.rows.first ? m_iFrom : m_g.cols.first)) {
            --m_j;
            m_i = m_g.cols.last;
            if (m_j == m_g.rows.first && m_i < m_iFrom) {
                m_j = m_g.rows.first - 1;
            }
        }
    }

private:
    const CopyGrid& m_g;
    long long m_iFrom;
    long long m_j;
    long long m_i;
};

// Copies over each other from the last back, each drawn on a layer the canvas's size and
// giving the canvas the pixels it paints that no later copy painted, up to `most` copies.
// A copy that reaches far beyond a small canvas costs far less drawn cut to the canvas than
// on a scratch image of its whole reach, and a few copies over each other often decide every
// pixel. Often the last copies paint nothing on the canvas (their reach meets it, their ink
// does not) and then a row of copies decides it all; but pixels that no copy paints (the
// background between clock faces) are never decided: once copies have decided pixels, a
// stretch of a quarter as many again that decides none leaves the rest to the scratch image.
// So do labels: a copy drawn cut to the canvas still lays out every label that may reach it,
// and copies stacked a pixel apart each lay out the same few again, which the scratch image
// does once. (Unless `toTheFirst`: then every copy left is drawn.) A copy that paints nothing
// on the canvas costs only its drawing, cut to the canvas, and not the reading of a layer:
// those are counted apart, up to kEmptyPerLayer times `most` (a dense circle reaching far with
// its labels: tens of thousands of copies paint nothing, then a row of them decides every
// pixel, where its scratch image would have held a million dashes). Returns whether every
// pixel was decided; `back` then stands at the first copy not drawn.
bool drawLastOnLayers(Canvas& canvas, const CopyGrid& g, const CopyReach& reach, CopiesBack& back,
                      render::DecidedPixels& decided, long long most, bool toTheFirst,
                      const std::function<void(Canvas&, long long, long long)>& draw)
{
    const int w = canvas.width();
    const int h = canvas.height();
    Canvas layer(w, h, render::Unpainted{});
    const QRgb unpainted = render::kUnpaintedPixel;
    const std::vector<QRgb> unpaintedRow(std::size_t(w), unpainted);
    uchar* const bits = canvas.writableBits();
    const qsizetype stride = canvas.bytesPerLine();
    constexpr long long kPatience = 64;    // copies that may decide nothing, however few were drawn
    constexpr long long kMostTexts = 2048; // labels laid out: a few milliseconds' worth
    constexpr long long kEmptyPerLayer = 4;
    constexpr long long kPixelsPerText = 512; // a label written costs about as much to read
    long long painted = 0;                    // copies drawn on the layer
    long long lastGain = 0;                   // and how many of them had decided a pixel
    long long empty = 0;                      // copies drawn that painted nothing on the canvas
    for (long long drawn = 0; drawn - empty < most && empty / kEmptyPerLayer < most && !back.done();
         ++drawn, back.next()) {
        const bool stale = lastGain > 0 && painted - lastGain > std::max(kPatience, lastGain / 4);
        if (!toTheFirst && (stale || layer.textsLaidOut() > kMostTexts ||
                            layer.textsWritten() * kPixelsPerText > most * w * h)) {
            return false;
        }
        const long long x = g.x0 + back.i() * g.stepX;
        const long long y = g.y0 + back.j() * g.stepY;
        const long long firstRow = std::max<long long>(0, y + reach.top);
        const long long lastRow = std::min<long long>(h - 1, y + reach.bottom);
        if (firstRow > lastRow || !decided.anyOpen(firstRow, lastRow)) {
            continue;
        }
        // Each copy starts from the canvas's pen, brush and font: copies alike leave them so.
        render::copyState(canvas, layer);
        layer.forgetWritten();
        draw(layer, x, y);
        ++painted;
        const long long openBefore = decided.openPixels();
        bool inked = false;
        // Only the box the copy wrote in can differ from the clear layer: a copy that reaches
        // across the window but paints a dot and a label costs those, not the window.
        const render::WrittenBox box = layer.written();
        const long long left = std::max<long long>(box.left, 0);
        const long long right = std::min<long long>(box.right, w - 1);
        uchar* const layerBits = layer.writableBits();
        const qsizetype layerStride = layer.bytesPerLine();
        for (long long r = std::max(firstRow, box.top);
             left <= right && r <= std::min(lastRow, box.bottom); ++r) {
            auto* row = reinterpret_cast<QRgb*>(layerBits + r * layerStride) + left;
            // Rows the copy left alone need neither reading nor clearing.
            if (std::memcmp(row, unpaintedRow.data(),
                            std::size_t(right - left + 1) * sizeof(QRgb)) == 0) {
                continue;
            }
            inked = decided.takePainted(r, left, right + 1, row, unpainted,
                                        reinterpret_cast<QRgb*>(bits + r * stride) + left) ||
                    inked;
        }
        if (decided.allDecided()) {
            return true;
        }
        if (!inked) {
            ++empty;
        }
        if (decided.openPixels() < openBefore) {
            lastGain = painted;
        }
    }
    return false;
}

// Under copies drawn on layers, pastes the copies left from the last back (`back` stands at
// the first of them) into the pixels still open, a band of rows of the drawing at a time:
// those that the next rows of copies put on the canvas. The last few rows of copies usually
// decide every pixel (three rows of copies of a circle whose rings of dotted marks cross a
// small window decided it, where a drawing of the whole ring held five million dashes), so
// the rows of the drawing they do not reach are never drawn. Each band is twice as tall as
// the one before: copies that leave pixels open to the first cost about twice the strip at
// most. False when a band cannot be drawn on a scratch image (too large, or a pen mode that
// cannot be copied); `back` then stands at the first copy not pasted.
bool pasteUnderInBands(Canvas& canvas, const CopyGrid& g, const std::vector<Columns>& shown,
                       long long stripTop, long long stripBottom, long long iFrom, CopiesBack& back,
                       render::DecidedPixels& decided,
                       const std::function<void(Canvas&, long long, long long)>& draw)
{
    const long long h = canvas.height();
    const long long step = std::abs(g.stepY);
    const long long lastRow = back.j();
    const long long lastInLastRow = back.i();
    long long band = std::max<long long>(8 * h, 256);
    for (long long k = lastRow; k >= g.rows.first && !decided.allDecided();) {
        // The rows of copies from k back whose rows on the canvas span at most `band` rows of
        // the drawing.
        const long long more = step == 0 ? k - g.rows.first : std::max(band - h, 0LL) / step;
        const long long kLow = k - std::min(more, k - g.rows.first);
        const long long yA = g.y0 + k * g.stepY;
        const long long yB = g.y0 + kLow * g.stepY;
        const long long top = std::max(stripTop, -std::max(yA, yB));
        const long long bottom = std::min(stripBottom, h - 1 - std::min(yA, yB));
        if (top <= bottom) {
            // Drawn with the canvas's pen, brush and font as the copies before left them.
            const render::RepeatedDrawing one(
                canvas, int(top), int(bottom - top + 1), shown,
                [&draw](render::Canvas& c, int x, int y) { draw(c, x, y); });
            if (!one.usable()) {
                if (k != lastRow) {
                    back.toRow(k);
                }
                return false;
            }
            // Rows of copies whole (all but perhaps the last and the first) go as one lattice
            // where it pays.
            auto under = [&](long long r) {
                one.paintUnder(canvas, decided, g.x0, g.stepX,
                               r == g.rows.first ? iFrom : g.cols.first,
                               r == lastRow ? lastInLastRow : g.cols.last, g.y0, g.stepY, r, r);
            };
            const bool lastWhole = k != lastRow || lastInLastRow == g.cols.last;
            const bool firstWhole = kLow != g.rows.first || iFrom == g.cols.first;
            const long long wholeFrom = firstWhole ? kLow : kLow + 1;
            const long long wholeTo = lastWhole ? k : k - 1;
            // Pasted one by one under the copies painted already, a copy costs about the
            // share of the canvas still open, and often less (the pasting stops once every
            // pixel is decided): the lattice is taken only at eight times what it would pay
            // over a clear canvas.
            const long long open = std::max<long long>(decided.openPixels(), 1);
            const long long share = std::max<long long>(canvas.width() * h / open, 1);
            const bool asLattice = wholeFrom <= wholeTo &&
                                   one.latticePays(canvas,
                                                   (wholeTo - wholeFrom + 1) *
                                                       (g.cols.last - g.cols.first + 1) / share / 8,
                                                   g.cols.last - g.cols.first + 1);
            if (asLattice) {
                if (!lastWhole) {
                    under(k);
                }
                if (!decided.allDecided() &&
                    !one.paintLattice(canvas, g.x0, g.stepX, g.cols.first, g.cols.last, g.y0,
                                      g.stepY, wholeFrom, wholeTo, &decided)) {
                    for (long long r = wholeTo; r >= wholeFrom && !decided.allDecided(); --r) {
                        under(r);
                    }
                }
                if (!firstWhole && !decided.allDecided()) {
                    under(kLow);
                }
            } else {
                for (long long r = k; r >= kLow && !decided.allDecided(); --r) {
                    under(r);
                }
            }
        }
        k = kLow - 1;
        band = std::min(2 * band, kLargest);
    }
    return true;
}

} // namespace

void drawCopies(render::Canvas& canvas, const CopyGrid& g, const CopyReach& reach,
                CopiesAlike alike,
                const std::function<void(render::Canvas&, long long, long long)>& draw,
                long long layersFrom)
{
    if (g.rows.empty() || g.cols.empty()) {
        return;
    }
    const long long rowCount = g.rows.last - g.rows.first + 1;
    const long long colCount = g.cols.last - g.cols.first + 1;
    const long long copies = rowCount * colCount;
    // Of one copy's drawing, only what lands on the canvas at some copy's place is needed:
    // a line a million pixels long stacked a pixel apart needs a strip the canvas's width.
    const auto [xLow, xHigh] = placesOf(g.x0, g.stepX, g.cols);
    const auto [yLow, yHigh] = placesOf(g.y0, g.stepY, g.rows);
    const long long left = std::max(reach.left, -xHigh);
    const long long right = std::min(reach.right, canvas.width() - 1 - xLow);
    const long long top = std::max(reach.top, -yHigh);
    const long long bottom = std::min(reach.bottom, canvas.height() - 1 - yLow);
    if (left > right || top > bottom) {
        return; // no copy paints a pixel of the canvas
    }
    // A scratch image costs more than a few copies drawn one by one, but far less than the
    // thousands that overlap on the window when copies lie closer than they reach.
    const long long width = right - left + 1;
    const long long height = bottom - top + 1;
    const long long area = width <= kLargest && height <= kLargest ? width * height : kLargest + 1;
    const long long canvasWidth = canvas.width();
    const long long canvasHeight = canvas.height();
    const long long canvasPixels = canvasWidth * canvasHeight;
    if (alike != CopiesAlike::No) {
        // Rows of copies so far apart that each meets the canvas in a band of its own: a
        // scratch image for each band costs far less than one spanning the gaps between them.
        // Columns likewise, where copies side by side cannot paint the same pixel (columns
        // can then come one after another).
        constexpr long long kMostBands = 64;
        constexpr long long kGain = 8;
        auto inBands = [&](Range CopyGrid::*axis) {
            for (long long k = (g.*axis).first; k <= (g.*axis).last; ++k) {
                CopyGrid band = g;
                band.*axis = Range{k, k};
                drawCopies(canvas, band, reach, alike, draw, layersFrom);
            }
        };
        if (rowCount > 1 && rowCount <= kMostBands && width <= kLargest &&
            rowCount * width * std::min(height, canvasHeight) * kGain <= area) {
            inBands(&CopyGrid::rows);
            return;
        }
        if (colCount > 1 && colCount <= kMostBands && height <= kLargest &&
            std::abs(g.stepX) > reach.right - reach.left &&
            colCount * height * std::min(width, canvasWidth) * kGain <= area) {
            inBands(&CopyGrid::cols);
            return;
        }
    }
    const std::vector<Columns> shown = columnsShown(g, canvasWidth, left, right);
    long long shownWidth = 0;
    for (const Columns& c : shown) {
        shownWidth += c.width;
    }
    const long long scratch =
        height <= kLargest ? shownWidth * height : render::kMaxDrawingPixels + 1;
    // A few copies cut to a small canvas can cost less than one drawn whole on the scratch
    // image; beyond 64 copies the scratch image is always the cheaper. A drawing larger than
    // one scratch image is drawn a band at a time, and a pixel of it costs about what sixteen
    // of the copies' layers do (memory mapped anew, read, and copied out, where a layer's
    // rows left alone are passed over): forty copies of a circle whose rings of long marks
    // fill a scratch image of 37 million pixels cost less drawn one by one on the canvas,
    // thousands of number lines stacked ten pixels apart far less drawn in bands.
    const bool inOne = scratch <= kLargest;
    const bool worthIt = copies > 4 && !shown.empty() && scratch <= render::kMaxDrawingPixels &&
                         (inOne ? copies > 64 || scratch / copies <= canvasPixels
                                : scratch / copies <= canvasPixels / 16) &&
                         fitsInt(top);
    long long iFrom = g.cols.first; // where the copies still to draw begin in the first row
    const bool overlap = (rowCount > 1 && std::abs(g.stepY) <= reach.bottom - reach.top) ||
                         (colCount > 1 && std::abs(g.stepX) <= reach.right - reach.left);
    const bool layered = canvas.penMode() == render::PenMode::Copy;
    if (alike != CopiesAlike::No && !worthIt && overlap && copies > 4 && layered) {
        // Too large a drawing to keep, and copies over each other: drawn from the last back,
        // each on a layer, the canvas's pixels are decided by the last copies and the earlier
        // ones are left once every pixel is (tens of thousands of number lines whose long
        // labels each cross the window).
        if (alike == CopiesAlike::AfterTheFirst) {
            draw(canvas, g.x0 + iFrom * g.stepX, g.y0 + g.rows.first * g.stepY);
            ++iFrom;
        }
        render::DecidedPixels decided(canvasWidth, canvasHeight);
        CopiesBack back(g, iFrom);
        drawLastOnLayers(canvas, g, reach, back, decided, copies, true, draw);
        return;
    }
    if (alike != CopiesAlike::No && worthIt) {
        if (alike == CopiesAlike::AfterTheFirst) {
            draw(canvas, g.x0 + iFrom * g.stepX, g.y0 + g.rows.first * g.stepY);
            ++iFrom;
        }
        // Copies over each other on a scratch image of millions of pixels, many times the
        // canvas: the last few, drawn cut to the canvas, often decide every pixel. Those they
        // leave open are pasted from the scratch image after all, so this gives up after as
        // many copies as the scratch image holds canvases (what their layers cost in pixels).
        const long long layers = scratch / canvasPixels;
        std::optional<render::DecidedPixels> decided;
        CopiesBack back(g, iFrom);
        if (overlap && scratch >= layersFrom && layers >= 4 && layered) {
            decided.emplace(canvasWidth, canvasHeight);
            if (drawLastOnLayers(canvas, g, reach, back, *decided, layers, false, draw) ||
                back.done()) {
                return;
            }
        }
        // Under copies drawn on layers, only the rows of the drawing that some copy puts on a
        // row of the canvas still open are needed: where the layers decided every pixel of
        // the rows large labels cover, a strip without them is drawn.
        long long stripTop = top;
        long long stripBottom = bottom;
        if (decided) {
            const auto [firstOpen, lastOpen] = decided->openRows();
            stripTop = std::max(stripTop, firstOpen - yHigh);
            stripBottom = std::min(stripBottom, lastOpen - yLow);
            if (stripTop > stripBottom) {
                return; // no copy left can change a pixel (not reached: allDecided)
            }
        }
        if (decided) {
            if (!pasteUnderInBands(canvas, g, shown, stripTop, stripBottom, iFrom, back, *decided,
                                   draw)) {
                // Too large a scratch image after all: the copies left, one by one under those
                // drawn on layers, each on a layer.
                drawLastOnLayers(canvas, g, reach, back, *decided, copies, true, draw);
            }
            return;
        }
        // Drawn with the canvas's pen, brush and font as the copies before left them, once
        // (a band of rows at a time) for every copy left.
        const render::RepeatedDrawing one(canvas, int(stripTop), int(stripBottom - stripTop + 1),
                                          shown, [&draw](render::Canvas& c, int x, int y) {
                                              c.setHoldsRepeatedDrawing(true);
                                              draw(c, x, y);
                                          });
        if (one.usable()) {
            one.paintGrid(canvas, g.x0, g.stepX, iFrom, g.cols.last, g.y0, g.stepY, g.rows.first,
                          g.rows.first);
            one.paintGrid(canvas, g.x0, g.stepX, g.cols.first, g.cols.last, g.y0, g.stepY,
                          g.rows.first + 1, g.rows.last);
            return;
        }
    }
    for (long long j = g.rows.first; j <= g.rows.last; ++j) {
        for (long long i = j == g.rows.first ? iFrom : g.cols.first; i <= g.cols.last; ++i) {
            draw(canvas, g.x0 + i * g.stepX, g.y0 + j * g.stepY);
        }
    }
}

} // namespace koyomi::figures
