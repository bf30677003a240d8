// Shapes kept as the pixels the painter covered, to be painted again without it: the rows
// of covered pixels, and the scratch image shapes are painted on to find them.
#pragma once

#include "render/PixelLoop.h"

#include <QImage>
#include <QPoint>
#include <QSize>

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace koyomi::render {

// The box of the pixels written on an image since it was last forgotten, edges included;
// empty (left > right) when none were.
struct WrittenBox
{
    long long left = 1;
    long long top = 1;
    long long right = 0;
    long long bottom = 0;

    bool empty() const { return left > right; }
    // Adds the pixels [x1, x2) × [y1, y2), already cut to the image.
    void add(long long x1, long long y1, long long x2, long long y2)
    {
        if (x1 >= x2 || y1 >= y2) {
            return;
        }
        if (empty()) {
            *this = {x1, y1, x2 - 1, y2 - 1};
            return;
        }
        left = std::min(left, x1);
        top = std::min(top, y1);
        right = std::max(right, x2 - 1);
        bottom = std::max(bottom, y2 - 1);
    }
};

// Covered pixels [x0, x1) of row dy, relative to the shape's origin.
struct PixelRun
{
    std::int32_t dy;
    std::int32_t x0; // first covered pixel
    std::int32_t x1; // one past the last
};

// The pixels of an image of 32 bits a pixel, to paint on many times without asking the
// image for them each time (the dashes of a ring of marks are millions of small paintings).
struct PixelTarget
{
    uchar* bits;
    qsizetype stride;
    int width;
    int height;

    WrittenBox* written; // widened by every row painted

    PixelTarget(QImage& image, WrittenBox& box)
        : bits(image.bits()), stride(image.bytesPerLine()), width(image.width()),
          height(image.height()), written(&box)
    {
    }

    // Paints the runs (row by row, top first), placed at (x, y), in one colour; cut to the
    // image.
    KOYOMI_PIXEL_LOOP void paint(std::span<const PixelRun> runs, long long x, long long y,
                                 QRgb rgb) const
    {
        // Runs above the image are passed over by halving, and those below end the walk (a
        // mark a thousand pixels long over a small window); the few runs of a dash mostly
        // start on the image, and are then not searched.
        auto first = runs.begin();
        if (first != runs.end() && y + first->dy < 0) {
            first = std::partition_point(runs.begin(), runs.end(),
                                         [y](const PixelRun& run) { return y + run.dy < 0; });
        }
        // The box painted is widened once, not at every row (a dash is a few pixels a row).
        long long left = width;
        long long right = 0;
        long long top = -1;
        long long bottom = -1;
        for (auto it = first; it != runs.end(); ++it) {
            const long long row = y + it->dy;
            if (row >= height) {
                break;
            }
            const long long from = std::max<long long>(x + it->x0, 0);
            const long long to = std::min<long long>(x + it->x1, width);
            if (fillPixels(row, from, to, rgb)) {
                left = std::min(left, from);
                right = std::max(right, to);
                top = top < 0 ? row : top;
                bottom = row;
            }
        }
        if (top >= 0) {
            written->add(left, top, right, bottom + 1);
        }
    }

    // Fills [x1, x2) × [y1, y2), cut to the image.
    KOYOMI_PIXEL_LOOP void fill(long long x1, long long y1, long long x2, long long y2,
                                QRgb rgb) const
    {
        for (long long row = std::max<long long>(y1, 0); row < std::min<long long>(y2, height);
             ++row) {
            fillRow(row, x1, x2, rgb);
        }
    }

private:
    KOYOMI_PIXEL_LOOP void fillRow(long long row, long long x1, long long x2, QRgb rgb) const
    {
        const long long from = std::max<long long>(x1, 0);
        const long long to = std::min<long long>(x2, width);
        if (fillPixels(row, from, to, rgb)) {
            written->add(from, row, to, row + 1);
        }
    }

    // Fills [from, to) of the row (within the image) without widening the box; whether any.
    KOYOMI_PIXEL_LOOP bool fillPixels(long long row, long long from, long long to, QRgb rgb) const
    {
        if (from >= to) {
            return false;
        }
        auto* line = reinterpret_cast<QRgb*>(bits + row * stride);
        std::fill(line + from, line + to, rgb);
        return true;
    }
};

// A shape's pixels as bits: a row of words for each of its rows, bit b of word k standing for
// column left + 64·k + b (relative to the shape's origin).
struct BitPicture
{
    int top = 0;
    int left = 0;
    int rows = 0;
    int words = 0;
    std::vector<std::uint64_t> bits;

    // From the runs of a shape, row by row, top first.
    static BitPicture of(std::span<const PixelRun> runs);
};

// Pixels of an image gathered as bits, row by row, to be painted once: shapes of one colour
// painted over each other in copy mode cover the union of their pixels whatever their order,
// and thousands of large glyphs over each other then cost a few words for each of their rows
// rather than every pixel of them.
class RowBits
{
public:
    // Gathers the picture's pixels placed at (x, y), cut to an image of the given size; the
    // bits are made at the first picture gathered, and kept from one painting to the next
    // while the size stays.
    void add(const BitPicture& picture, long long x, long long y, int width, int height);
    bool empty() const { return m_top > m_bottom; }
    // Whether every pixel of the box from (left, top) to (right, bottom), cut to an image of
    // the given size, is gathered: a shape of the same colour within it can change none.
    bool covers(long long left, long long top, long long right, long long bottom, int width,
                int height) const;
    // Whether the pixel (x, y) of an image of the given size is gathered.
    bool has(long long x, long long y, int width, int height) const
    {
        return width == m_width && height == m_height &&
               (m_bits[std::size_t(y * m_words + x / 64)] >> (x % 64) & 1) != 0;
    }
    // Paints every pixel gathered in one colour and forgets them.
    void paint(const PixelTarget& target, QRgb rgb);

private:
    // Whether the words low..high of every row from first to last are full.
    bool fullThroughout(long long first, long long last, long long low, long long high) const;
    // Widens what paint reads by the rows first..last and the words low..high.
    void gathered(long long first, long long last, int low, int high);

    int m_width = 0;
    int m_height = 0;
    long long m_words = 0; // a row's 64-bit words
    std::vector<std::uint64_t> m_bits;
    // Down each column of words, the rows where the word has every bit set: for word k, a
    // bit for each row (m_rowWords words from k · m_rowWords). A box is looked at a word for
    // every 64 of its rows, not row by row: labels a hundred rows tall, thousands of them
    // over each other.
    long long m_rowWords = 0;
    std::vector<std::uint64_t> m_fullDown;
    void markFull(long long row, long long k, bool full)
    {
        m_fullDown[std::size_t(k * m_rowWords + row / 64)] |= std::uint64_t(full) << (row % 64);
    }
    // The words and rows that hold bits set since the last painting (none: top > bottom),
    // widened once a picture rather than kept row by row: a glyph of a label is a few rows of
    // a word or two, and keeping each row's words set cost as much as setting them, while
    // painting reads at most a word of every 64 pixels of the image.
    int m_left = 0;
    int m_right = -1;
    long long m_top = 0;
    long long m_bottom = -1;
};

// The columns [x0, x1) of one row of a picture that a shape may cover; x0 == x1 for none.
struct RowBand
{
    int x0;
    int x1;
};

// A black image shapes are painted on in white to be kept, kept from one shape to the next:
// a page of labels keeps thousands of shapes, and a new image each time costs more than the
// scan. Only the part a shape used is painted black again.
class StampScratch
{
public:
    // Images up to `largest` pixels are kept and grown; a larger one is made to the size.
    explicit StampScratch(qint64 largest) : m_largest(largest) {}

    // A black image at least `size`.
    QImage& image(const QSize& size);

    // The runs of white pixels in the top-left `used` part of the image, relative to
    // `origin` (the image pixel that is the shape's origin), appended to `runs`, looking only
    // within each row's band (one for each row of `used`): a long thin stroke covers a sliver
    // of its picture, which reading whole would cost far more than painting the stroke. The
    // part is painted black again. False, with `runs` left as it was, when a pixel there is
    // neither black nor white (a shape that covers some pixels only in part), or when a white
    // pixel lies at a band's edge (the shape may reach beyond it).
    bool takeRuns(const QSize& used, QPoint origin, const std::vector<RowBand>& bands,
                  std::vector<PixelRun>& runs);

private:
    // Paints the used part black again: within the bands when given, else all of it.
    void blacken(const QSize& used, const std::vector<RowBand>* bands);

    qint64 m_largest;
    QImage m_image;
};

} // namespace koyomi::render
