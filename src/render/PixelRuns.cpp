#include "render/PixelRuns.h"

#include "render/PixelLoop.h"
#include "render/WholeDivision.h"

#include <QColor>

#include <algorithm>

namespace koyomi::render {

QImage& StampScratch::image(const QSize& size)
{
    if (size.width() > m_image.width() || size.height() > m_image.height()) {
        QSize grown = m_image.size().expandedTo(size);
        if (qint64(grown.width()) * grown.height() > m_largest) {
            grown = size;
        }
        m_image = QImage(grown, QImage::Format_RGB32);
        m_image.fill(Qt::black);
    }
    return m_image;
}

namespace {

// Appends the runs of white pixels of `row` from x0 to x1 (row y), relative to `origin`;
// false at a pixel neither black nor white.
KOYOMI_PIXEL_LOOP bool rowRuns(const QRgb* row, int x0, int x1, int y, QPoint origin,
                               std::vector<PixelRun>& runs)
{
    const QRgb black = QColor(Qt::black).rgb();
    const QRgb white = QColor(Qt::white).rgb();
    for (int x = x0; x < x1;) {
        if (row[x] == black) {
            ++x;
            continue;
        }
        const int start = x;
        while (x < x1 && row[x] == white) {
            ++x;
        }
        if (x == start) {
            return false;
        }
        runs.push_back({y - origin.y(), start - origin.x(), x - origin.x()});
    }
    return true;
}

} // namespace

KOYOMI_PIXEL_LOOP bool StampScratch::takeRuns(const QSize& used, QPoint origin,
                                              const std::vector<RowBand>& bands,
                                              std::vector<PixelRun>& runs)
{
    const QRgb black = QColor(Qt::black).rgb();
    const std::size_t before = runs.size();
    bool whole = int(bands.size()) == used.height();
    for (int y = 0; y < used.height() && whole; ++y) {
        const RowBand band = bands[std::size_t(y)];
        if (band.x0 >= band.x1) {
            continue;
        }
        const auto* row = reinterpret_cast<const QRgb*>(m_image.constScanLine(y));
        whole = row[band.x0] == black && row[band.x1 - 1] == black &&
                rowRuns(row, band.x0, band.x1, y, origin, runs);
    }
    blacken(used, whole ? &bands : nullptr);
    if (!whole) {
        runs.resize(before);
    }
    return whole;
}

KOYOMI_PIXEL_LOOP void StampScratch::blacken(const QSize& used, const std::vector<RowBand>* bands)
{
    const QRgb black = QColor(Qt::black).rgb();
    for (int y = 0; y < used.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        const RowBand band = bands ? (*bands)[std::size_t(y)] : RowBand{0, used.width()};
        std::fill(row + band.x0, row + std::max(band.x0, band.x1), black);
    }
}

KOYOMI_PIXEL_LOOP BitPicture BitPicture::of(std::span<const PixelRun> runs)
{
    BitPicture p;
    if (runs.empty()) {
        return p;
    }
    int right = runs.front().x1;
    p.left = runs.front().x0;
    for (const PixelRun& run : runs) {
        p.left = std::min(p.left, run.x0);
        right = std::max(right, run.x1);
    }
    p.top = runs.front().dy;
    p.rows = runs.back().dy - p.top + 1;
    p.words = (right - p.left + 63) / 64;
    p.bits.assign(std::size_t(p.rows) * std::size_t(p.words), 0);
    for (const PixelRun& run : runs) {
        std::uint64_t* const row = p.bits.data() + std::size_t(run.dy - p.top) * p.words;
        for (int u = run.x0 - p.left; u < run.x1 - p.left; ++u) {
            row[u / 64] |= std::uint64_t(1) << (u % 64);
        }
    }
    return p;
}

namespace {

// The bits of rows first..last (inclusive) that fall in word w of a column of rows.
std::uint64_t rowsWithin(long long w, long long first, long long last)
{
    std::uint64_t rows = ~std::uint64_t(0);
    if (w == first / 64) {
        rows &= ~std::uint64_t(0) << (first % 64);
    }
    if (w == last / 64) {
        rows &= ~std::uint64_t(0) >> (63 - last % 64);
    }
    return rows;
}

} // namespace

KOYOMI_PIXEL_LOOP void RowBits::add(const BitPicture& picture, long long x, long long y, int width,
                                    int height)
{
    if (width != m_width || height != m_height) {
        m_width = width;
        m_height = height;
        m_words = (width + 63) / 64;
        m_bits.assign(std::size_t(m_words) * std::size_t(height), 0);
        m_rowWords = (height + 63) / 64;
        m_fullDown.assign(std::size_t(m_words) * std::size_t(m_rowWords), 0);
        m_top = 0;
        m_bottom = -1;
    }
    const long long first = std::max<long long>(y + picture.top, 0);
    const long long last = std::min<long long>(y + picture.top + picture.rows, height) - 1;
    // The picture's words land shifted within the image's: each across two of them.
    const long long column = x + picture.left;
    const long long base = floorDiv(column, 64);
    const int shift = int(column - base * 64);
    const long long from = std::max<long long>(0, -base - 1);
    const long long to = std::min<long long>(picture.words, m_words - base);
    if (first > last || from >= to) {
        return;
    }
    // Most pictures lie wholly within the image's words: their rows go without a check.
    const bool inside = base >= 0 && base + picture.words < m_words;
    const int low = int(std::max<long long>(base + from, 0));
    const int high = int(std::min<long long>(base + to, m_words - 1));
    // Rows whose words the picture meets are all full already get nothing: the others are
    // found a word of rows at a time down those words' columns (a label's glyphs over a
    // union that holds nearly all of them).
    const auto eachOpenRow = [&](auto&& body) KOYOMI_PIXEL_LOOP {
        for (long long w = first / 64; w <= last / 64; ++w) {
            const std::uint64_t rows = rowsWithin(w, first, last);
            std::uint64_t full = ~std::uint64_t(0);
            for (long long k = low; k <= high; ++k) {
                full &= m_fullDown[std::size_t(k * m_rowWords + w)];
            }
            for (std::uint64_t open = rows & ~full; open != 0; open &= open - 1) {
                body(w * 64 + __builtin_ctzll(open));
            }
        }
    };
    // Most glyphs of labels are less than a word wide: each of their rows is two words.
    if (inside && picture.words == 1) {
        eachOpenRow([&](long long row) KOYOMI_PIXEL_LOOP {
            const std::uint64_t word = picture.bits[std::size_t(row - y - picture.top)];
            std::uint64_t* const dst = m_bits.data() + row * m_words + base;
            dst[0] |= word << shift;
            dst[1] |= shift == 0 ? 0 : word >> (64 - shift);
            const bool full0 = dst[0] == ~std::uint64_t(0);
            const bool full1 = dst[1] == ~std::uint64_t(0);
            markFull(row, base, full0);
            markFull(row, base + 1, full1);
        });
        gathered(first, last, low, high);
        return;
    }
    eachOpenRow([&](long long row) KOYOMI_PIXEL_LOOP {
        const std::uint64_t* const src =
            picture.bits.data() + (row - y - picture.top) * picture.words;
        std::uint64_t* const dst = m_bits.data() + row * m_words;
        const auto orInto = [this, dst, row](long long at, std::uint64_t word) {
            dst[at] |= word;
            markFull(row, at, dst[at] == ~std::uint64_t(0));
        };
        if (inside && shift == 0) {
            for (long long k = 0; k < picture.words; ++k) {
                orInto(base + k, src[k]);
            }
            return;
        }
        if (inside) {
            for (long long k = 0; k < picture.words; ++k) {
                orInto(base + k, src[k] << shift);
                orInto(base + k + 1, src[k] >> (64 - shift));
            }
            return;
        }
        for (long long k = from; k < to; ++k) {
            const std::uint64_t word = src[k];
            const long long at = base + k;
            if (at >= 0) {
                orInto(at, word << shift);
            }
            if (shift != 0 && at + 1 < m_words) {
                orInto(at + 1, word >> (64 - shift));
            }
        }
    });
    gathered(first, last, low, high);
}

void RowBits::gathered(long long first, long long last, int low, int high)
{
    m_left = empty() ? low : std::min(m_left, low);
    m_right = empty() ? high : std::max(m_right, high);
    m_top = empty() ? first : std::min(m_top, first);
    m_bottom = std::max(m_bottom, last);
}

KOYOMI_PIXEL_LOOP bool RowBits::fullThroughout(long long first, long long last, long long low,
                                               long long high) const
{
    // The rows as words of bits down a column, the same for every column.
    const long long wFirst = first / 64;
    const long long wLast = last / 64;
    const std::uint64_t firstRows = rowsWithin(wFirst, first, last);
    const std::uint64_t lastRows = rowsWithin(wLast, first, last);
    for (long long k = low; k <= high; ++k) {
        const std::uint64_t* const down = m_fullDown.data() + k * m_rowWords;
        std::uint64_t all = (down[wFirst] | ~firstRows) & (down[wLast] | ~lastRows);
        for (long long w = wFirst + 1; w < wLast; ++w) {
            all &= down[w];
        }
        if (all != ~std::uint64_t(0)) {
            return false;
        }
    }
    return true;
}

KOYOMI_PIXEL_LOOP bool RowBits::covers(long long left, long long top, long long right,
                                       long long bottom, int width, int height) const
{
    if (width != m_width || height != m_height || empty()) {
        return false;
    }
    left = std::max<long long>(left, 0);
    right = std::min<long long>(right, width - 1);
    top = std::max<long long>(top, 0);
    bottom = std::min<long long>(bottom, height - 1);
    if (left > right || top > bottom) {
        return true; // none of it on the image
    }
    // Rows gathered lie within m_top .. m_bottom: a box reaching past them is not covered.
    if (top < m_top || bottom > m_bottom) {
        return false;
    }
    const long long kLeft = left / 64;
    const long long kRight = right / 64;
    // The words between the two ends must be full in every row; each end word, in the rows
    // where it is not full, must hold the box's part of it. Those rows are found a word of
    // rows at a time down the end word's column: a box mostly covered has few of them.
    if (kRight > kLeft + 1 && !fullThroughout(top, bottom, kLeft + 1, kRight - 1)) {
        return false;
    }
    const auto endCovered = [&](long long k, int from, int to) {
        const std::uint64_t need = (~std::uint64_t(0) << from) & (~std::uint64_t(0) >> (63 - to));
        const std::uint64_t* const down = m_fullDown.data() + k * m_rowWords;
        for (long long w = top / 64; w <= bottom / 64; ++w) {
            for (std::uint64_t open = rowsWithin(w, top, bottom) & ~down[w]; open != 0;
                 open &= open - 1) {
                const long long row = w * 64 + __builtin_ctzll(open);
                if ((m_bits[std::size_t(row * m_words + k)] & need) != need) {
                    return false;
                }
            }
        }
        return true;
    };
    return endCovered(kLeft, int(left % 64), kRight == kLeft ? int(right % 64) : 63) &&
           (kRight == kLeft || endCovered(kRight, 0, int(right % 64)));
}

KOYOMI_PIXEL_LOOP void RowBits::paint(const PixelTarget& target, QRgb rgb)
{
    for (long long row = m_top; row <= m_bottom; ++row) {
        std::uint64_t* const words = m_bits.data() + row * m_words;
        // Runs of set bits, across words: a run ends at the first clear bit after it.
        long long start = -1;
        for (long long k = m_left; k <= m_right; ++k) {
            const std::uint64_t word = words[k];
            words[k] = 0;
            if (word == (start < 0 ? 0 : ~std::uint64_t(0))) {
                continue; // no run starts or ends in it
            }
            const long long base = k * 64;
            int at = 0;
            while (at < 64) {
                const std::uint64_t from = ~std::uint64_t(0) << at;
                const std::uint64_t next = (start < 0 ? word : ~word) & from;
                if (next == 0) {
                    break;
                }
                at = __builtin_ctzll(next);
                if (start < 0) {
                    start = base + at;
                } else {
                    target.fill(start, row, base + at, row + 1, rgb);
                    start = -1;
                }
            }
        }
        if (start >= 0) {
            target.fill(start, row, (long long)(m_right + 1) * 64, row + 1, rgb);
        }
    }
    // Only the words gathered into can be full.
    for (long long k = m_left; k <= m_right && m_top <= m_bottom; ++k) {
        std::uint64_t* const down = m_fullDown.data() + k * m_rowWords;
        for (long long w = m_top / 64; w <= m_bottom / 64; ++w) {
            down[w] &= ~rowsWithin(w, m_top, m_bottom);
        }
    }
    m_top = 0;
    m_bottom = -1;
}

} // namespace koyomi::render
