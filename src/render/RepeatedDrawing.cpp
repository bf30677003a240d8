#include "render/RepeatedDrawing.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

namespace koyomi::render {

void copyState(const Canvas& from, Canvas& to)
{
    to.setPen(from.pen());
    to.setBrush(from.brush());
    to.setFontSize(from.fontSize());
    to.setFontColor(from.fontColor());
    to.setFontFamily(from.fontFamily());
    to.setPenMode(from.penMode());
}

DecidedPixels::DecidedPixels(long long width, long long height)
    : m_width(width), m_decided(std::size_t(width * height), 0), m_open(std::size_t(height), width),
      m_openRows(width > 0 ? height : 0), m_openPixels(width * height)
{
}

bool DecidedPixels::anyOpen(long long firstRow, long long lastRow) const
{
    for (long long y = firstRow; y <= lastRow; ++y) {
        if (m_open[std::size_t(y)] > 0) {
            return true;
        }
    }
    return false;
}

std::pair<long long, long long> DecidedPixels::openRows() const
{
    const long long rows = (long long)m_open.size();
    long long first = 0;
    while (first < rows && m_open[std::size_t(first)] == 0) {
        ++first;
    }
    long long last = rows - 1;
    while (last > first && m_open[std::size_t(last)] == 0) {
        --last;
    }
    return {first, first < rows ? last : first - 1};
}

KOYOMI_PIXEL_LOOP bool DecidedPixels::takePainted(long long y, long long from, long long to,
                                                  QRgb* layer, QRgb unpainted, QRgb* line)
{
    unsigned char* const row = m_decided.data() + y * m_width + from;
    long long taken = 0;
    bool inked = false;
    // A copy paints few of the pixels it reaches, and the pixels no copy paints stay open to
    // the last: the layer is read a chunk at a time for its painted pixels, rather than every
    // open pixel compared, and only the chunks it painted are cleared.
    constexpr long long kChunk = 64;
    QRgb clear[kChunk];
    std::fill_n(clear, kChunk, unpainted);
    const long long n = to - from;
    const bool open = m_open[std::size_t(y)] > 0;
    for (long long c = 0; c < n; c += kChunk) {
        const std::size_t bytes = std::size_t(std::min(n - c, kChunk)) * sizeof(QRgb);
        if (std::memcmp(layer + c, clear, bytes) == 0) {
            continue;
        }
        inked = true;
        const long long end = std::min(n, c + kChunk);
        const bool anyOpen = open && std::memchr(row + c, 0, std::size_t(end - c)) != nullptr;
        for (long long x = c; anyOpen && x < end; ++x) {
            if (layer[x] != unpainted && row[x] == 0) {
                line[x] = layer[x];
                row[x] = 1;
                ++taken;
            }
        }
        std::memcpy(layer + c, clear, bytes);
    }
    if (taken > 0) {
        decide(y, taken);
    }
    return inked;
}

RepeatedDrawing::RepeatedDrawing(const Canvas& like, const QRect& reach,
                                 const std::function<void(Canvas&, int, int)>& draw,
                                 long long scratchPixels)
    : RepeatedDrawing(like, reach.top(), reach.height(), {{reach.left(), reach.width()}}, draw,
                      scratchPixels)
{
}

KOYOMI_PIXEL_LOOP
RepeatedDrawing::RepeatedDrawing(const Canvas& like, int top, int height,
                                 const std::vector<Columns>& columns,
                                 const std::function<void(Canvas&, int, int)>& draw,
                                 long long scratchPixels)
{
    long long width = 0;
    for (const Columns& c : columns) {
        if (c.width <= 0) {
            return;
        }
        width += c.width;
    }
    if (height <= 0 || width == 0 || like.penMode() != PenMode::Copy ||
        width > kMaxDrawingPixels / height) {
        return;
    }
    // A drawing larger than one scratch canvas is drawn a band of rows at a time, each band the
    // whole drawing cut to its rows: a number line whose ticks reach a thousand pixels up and
    // down, and whose labels may reach thousands across, spans tens of millions of pixels
    // around its point and paints a few million.
    const int bandRows = int(std::min<long long>(height, scratchPixels / width));
    if (bandRows == 0) {
        return;
    }
    // Drawn over a pixel no colour paints: every pixel that no longer holds it was painted.
    // Only the box the drawing wrote in is read, and made unpainted again for the next band.
    struct Strip
    {
        int left;
        std::unique_ptr<KeptCanvas> kept;
        WrittenBox box;

        Canvas& canvas() const { return **kept; }
    };
    std::vector<Strip> strips;
    strips.reserve(columns.size());
    for (const Columns& c : columns) {
        strips.push_back(Strip{c.left, std::make_unique<KeptCanvas>(c.width, bandRows), {}});
    }
    // A drawing on one scratch canvas keeps it as its pixels: copying out millions of painted
    // pixels cost as much again as painting them.
    const bool whole = strips.size() == 1 && bandRows == height;
    // The spans of each row of the drawing: a row that repeats the one above it (ticks a
    // thousand pixels long, a grid's vertical lines) shares its spans.
    std::vector<RowSpans> rowSpans(static_cast<std::size_t>(height));
    std::vector<char> repeats;
    for (int bandTop = 0; bandTop < height; bandTop += bandRows) {
        const int rows = std::min(bandRows, height - bandTop);
        for (Strip& strip : strips) {
            copyState(like, strip.canvas());
            strip.canvas().forgetWritten();
            draw(strip.canvas(), -strip.left, -top - bandTop);
            strip.box = strip.canvas().written();
        }
        // Rows the same as the row above in every strip.
        repeats.assign(std::size_t(rows), 0);
        for (int y = 1; y < rows; ++y) {
            bool same = true;
            for (const Strip& strip : strips) {
                const WrittenBox& box = strip.box;
                const bool inside = y >= box.top && y <= box.bottom;
                const bool above = y - 1 >= box.top && y - 1 <= box.bottom;
                if (inside != above) {
                    same = false;
                } else if (inside) {
                    const QImage& image = strip.canvas().image();
                    const long long from = std::max<long long>(box.left, 0);
                    const long long to = std::min<long long>(box.right + 1, image.width());
                    same = same &&
                           std::memcmp(reinterpret_cast<const QRgb*>(image.constScanLine(y)) + from,
                                       reinterpret_cast<const QRgb*>(image.constScanLine(y - 1)) +
                                           from,
                                       std::size_t(to - from) * sizeof(QRgb)) == 0;
                }
                if (!same) {
                    break;
                }
            }
            repeats[std::size_t(y)] = same ? 1 : 0;
        }
        // The painted runs of each other row of each strip, found in two passes: the first
        // counts them, so that the second writes them where they stay. A drawing of tens of
        // millions of pixels can hold millions of runs, and growing the lists as they came
        // copied them over and over, each time into memory the system had to hand out anew.
        auto eachRun = [&](auto&& run) KOYOMI_PIXEL_LOOP {
            for (int y = 0; y < rows; ++y) {
                if (repeats[std::size_t(y)] != 0) {
                    continue;
                }
                for (const Strip& strip : strips) {
                    const WrittenBox& box = strip.box;
                    if (y < box.top || y > box.bottom) {
                        continue;
                    }
                    const auto* row =
                        reinterpret_cast<const QRgb*>(strip.canvas().image().constScanLine(y));
                    const int from = int(std::max<long long>(box.left, 0));
                    const int to = int(std::min<long long>(box.right + 1, strip.canvas().width()));
                    eachPaintedRun(row, from, to,
                                   [&](int x, int end) { run(y, x, strip.left, end - x, row); });
                }
            }
        };
        std::size_t spans = m_spans.size();
        std::size_t pixels = m_pixels.size();
        eachRun([&](int, int, int, int length, const QRgb*) {
            ++spans;
            pixels += std::size_t(length);
        });
        // The runs kept hold no more than one full scratch canvas would give.
        if (pixels > std::size_t(kMaxScratchPixels) || spans > std::size_t(kMaxScratchPixels / 2)) {
            m_spans = {};
            m_pixels = {};
            return;
        }
        m_spans.reserve(spans);
        // Each span is added to its row, whose spans come one after another.
        auto add = [&](int y, Span span) {
            RowSpans& row = rowSpans[std::size_t(bandTop + y)];
            if (row.count == 0) {
                row.first = std::uint32_t(m_spans.size());
            }
            ++row.count;
            m_spans.push_back(span);
        };
        if (whole) {
            // The pixels stay where they were drawn.
            const qsizetype stride =
                strips.front().canvas().bytesPerLine() / qsizetype(sizeof(QRgb));
            eachRun([&](int y, int start, int left, int length, const QRgb*) {
                add(y, Span{start + left, std::uint32_t(y * stride + start), length});
            });
        } else {
            const std::size_t kept = m_pixels.size();
            m_pixels.resize(pixels);
            QRgb* out = m_pixels.data() + kept;
            eachRun([&](int y, int start, int left, int length, const QRgb* ra) {
                add(y, Span{start + left, std::uint32_t(out - m_pixels.data()), length});
                out = std::copy_n(ra + start, length, out);
            });
        }
        for (int y = 1; y < rows; ++y) {
            if (repeats[std::size_t(y)] != 0) {
                rowSpans[std::size_t(bandTop + y)] = rowSpans[std::size_t(bandTop + y - 1)];
            }
        }
        if (bandTop + rows < height) {
            for (Strip& strip : strips) {
                strip.canvas().unpaintWritten();
            }
        }
    }
    int first = 0;
    int last = height - 1;
    while (first <= last && rowSpans[std::size_t(first)].count == 0) {
        ++first;
    }
    if (whole) {
        m_kept = std::move(strips.front().kept);
        m_keptTop = first;
        m_base = reinterpret_cast<const QRgb*>((*m_kept)->image().constBits());
    } else {
        m_base = m_pixels.data();
    }
    while (last >= first && rowSpans[std::size_t(last)].count == 0) {
        --last;
    }
    if (first <= last) {
        m_top = top + first;
        m_bottom = top + last;
        m_left = m_spans.front().dx;
        for (const Span& span : m_spans) {
            m_left = std::min(m_left, span.dx);
            m_right = std::max(m_right, span.dx + span.length - 1);
        }
        m_rows.assign(rowSpans.begin() + first, rowSpans.begin() + last + 1);
        for (const RowSpans& row : m_rows) {
            m_pasted += row.count;
        }
    }
    m_usable = true;
}

RepeatedDrawing::~RepeatedDrawing()
{
    if (!m_kept) {
        return;
    }
    // Every pixel the drawing painted is in a span of its row (a row repeating the one above
    // has that row's spans, at its columns): made unpainted there, the scratch canvas goes back
    // without its pages being looked at.
    Canvas& kept = **m_kept;
    QRgb* const pixels = reinterpret_cast<QRgb*>(kept.writableBits());
    const std::size_t stride = std::size_t(kept.bytesPerLine()) / sizeof(QRgb);
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        QRgb* const row = pixels + (std::size_t(m_keptTop) + r) * stride;
        const RowSpans& spans = m_rows[r];
        for (std::size_t s = spans.first; s < spans.first + spans.count; ++s) {
            const Span& span = m_spans[s];
            std::fill_n(row + span.first % stride, span.length, kUnpaintedPixel);
        }
    }
    m_kept->givenBackUnpainted();
}

KOYOMI_PIXEL_LOOP void RepeatedDrawing::paint(Canvas& canvas, long long x, long long y) const
{
    const long long w = canvas.width();
    const long long h = canvas.height();
    const long long firstRow = std::max<long long>(m_top, -y);
    const long long lastRow = std::min<long long>(m_bottom, h - 1 - y);
    if (firstRow > lastRow) {
        return;
    }
    uchar* const bits = canvas.writableBits();
    const qsizetype stride = canvas.bytesPerLine();
    for (long long r = firstRow; r <= lastRow; ++r) {
        // Spans of a row lie left to right: those beside the canvas are skipped by halving,
        // so a drawing far wider than the canvas costs what the canvas shows of it.
        const auto [rowBegin, rowEnd] = spansOf(r);
        auto span = std::partition_point(
            rowBegin, rowEnd, [x](const Span& s) { return x + s.dx + (long long)s.length <= 0; });
        auto* line = reinterpret_cast<QRgb*>(bits + (y + r) * stride);
        for (; span != rowEnd && x + span->dx < w; ++span) {
            const long long from = x + span->dx;
            const long long first = std::max<long long>(0, -from);
            const long long last = std::min<long long>(span->length, w - from);
            std::copy_n(m_base + span->first + first, last - first, line + from + first);
        }
    }
}

namespace {

// a mod m in [0, m), for m > 0.
long long residue(long long a, long long m)
{
    const long long r = a % m;
    return r < 0 ? r + m : r;
}

} // namespace

KOYOMI_PIXEL_LOOP bool RepeatedDrawing::paintLattice(Canvas& canvas, long long x0, long long stepX,
                                                     long long iFirst, long long iLast,
                                                     long long y0, long long stepY,
                                                     long long jFirst, long long jLast,
                                                     DecidedPixels* decided) const
{
    const long long w = canvas.width();
    const long long h = canvas.height();
    const long long extent = (long long)m_right - m_left + 1;
    const long long height = (long long)m_bottom - m_top + 1;
    if (iFirst > iLast || jFirst > jLast || extent <= 0 || height <= 0 || w <= 0 || h <= 0) {
        return true;
    }
    // Copies in one place paint the same pixels: the last stands for all. One copy across (or
    // down) is a lattice whose step is wider than the drawing.
    if (stepX == 0) {
        iFirst = iLast;
    }
    if (stepY == 0) {
        jFirst = jLast;
    }
    const Across across = acrossOf(w, iLast - iFirst + 1);
    if (across == Across::TooWide) {
        return false;
    }
    const long long sx = iFirst == iLast ? extent + 1 : stepX;
    const long long sy = jFirst == jLast ? height + 1 : stepY;
    const long long xLast = x0 + iLast * stepX; // where the last copy across stands
    const long long yLast = y0 + jLast * stepY;

    // Across: offsets o of a row of the drawing are indexed from the side the last copy wins
    // on (the left when copies go right): the copy that paints pixel x last is the one at the
    // lowest index, among those of x's class modulo the step that a copy can stand at, from
    // a(x) (the last copy) to a(x) + spanX (the first).
    const long long stepAcross = std::abs(sx);
    const long long dirX = sx > 0 ? 1 : -1;
    const long long spanX = (iLast - iFirst) * stepAcross;
    const long long a0 = dirX > 0 ? -xLast - m_left : m_right + xLast;
    const long long columns = iLast - iFirst + 1; // copies across (one where stepX is 0)
    // By offset: a colour and the lowest painted index from here, for every offset of a row.
    const std::size_t byOffset = across == Across::ByOffset ? std::size_t(extent) : 0;
    std::vector<QRgb> colour(byOffset);
    std::vector<std::int32_t> next(byOffset);
    constexpr std::int32_t kNone = -1;
    // Down: the row of the drawing that the last copy over a canvas row shows wins, then the
    // next row a step away, as many as there are rows of copies: ranks from that side.
    const long long stepDown = std::abs(sy);
    const long long dirY = sy > 0 ? 1 : -1;
    const long long spanY = (jLast - jFirst) * stepDown;
    auto rankOfLast = [&](long long y) {
        return dirY > 0 ? y - yLast - m_top : m_bottom - y + yLast;
    };
    // Each canvas row is written once the sweep down its class of ranks reaches the lowest
    // rank it shows.
    std::vector<long long> rowsFrom(std::size_t(height + 1), 0);
    std::vector<long long> triggered(std::size_t(h), -1);
    for (long long y = 0; y < h; ++y) {
        const long long last = rankOfLast(y);
        const long long first = last >= 0 ? last : residue(last, stepDown);
        if (first < height && first <= last + spanY) {
            triggered[std::size_t(y)] = first;
            ++rowsFrom[std::size_t(first + 1)];
        }
    }
    for (long long k = 0; k < height; ++k) {
        rowsFrom[std::size_t(k + 1)] += rowsFrom[std::size_t(k)];
    }
    std::vector<int> rows(std::size_t(rowsFrom.back()));
    {
        std::vector<long long> at(rowsFrom.begin(), rowsFrom.end() - 1);
        for (long long y = 0; y < h; ++y) {
            if (triggered[std::size_t(y)] >= 0) {
                rows[std::size_t(at[std::size_t(triggered[std::size_t(y)])]++)] = int(y);
            }
        }
    }
    // The winner so far at each pixel of the canvas row: its colour and rank.
    std::vector<QRgb> winner(static_cast<std::size_t>(w));
    std::vector<std::int32_t> winnerRank(static_cast<std::size_t>(w));
    for (long long c = 0; c < std::min(stepDown, height); ++c) {
        // The highest rank any row of this class can show.
        long long highest = -1;
        for (long long k = c; k < height; k += stepDown) {
            for (long long n = rowsFrom[std::size_t(k)]; n < rowsFrom[std::size_t(k + 1)]; ++n) {
                highest = std::max(highest, rankOfLast(rows[std::size_t(n)]) + spanY);
            }
        }
        if (highest < 0) {
            continue;
        }
        std::fill(winnerRank.begin(), winnerRank.end(), kNone);
        const long long top = c + (std::min(highest, height - 1) - c) / stepDown * stepDown;
        for (long long k = top; k >= c; k -= stepDown) {
            const long long r = dirY > 0 ? m_top + k : m_bottom - k;
            const RowSpans& spans = m_rows[std::size_t(r - m_top)];
            const std::size_t begin = spans.first;
            const std::size_t end = begin + spans.count;
            if (begin < end) {
                if (across == Across::ByPlace) {
                    // Each copy across shows the canvas row a window of the drawing's row,
                    // offset o at canvas x − c: its spans there are laid over the pixels no
                    // copy nearer the last claimed at this rank.
                    for (long long t = 0; t < columns; ++t) {
                        const long long c =
                            dirX > 0 ? a0 + t * stepAcross + m_left : m_right - a0 - t * stepAcross;
                        auto span = std::partition_point(
                            m_spans.begin() + std::ptrdiff_t(begin),
                            m_spans.begin() + std::ptrdiff_t(end),
                            [c](const Span& sp) { return sp.dx + (long long)sp.length <= c; });
                        for (; span != m_spans.begin() + std::ptrdiff_t(end) && span->dx < c + w;
                             ++span) {
                            const long long from = std::max<long long>(span->dx, c) - c;
                            const long long to =
                                std::min<long long>(span->dx + (long long)span->length, c + w) - c;
                            const QRgb* pixels = m_base + span->first + (from + c - span->dx);
                            for (long long x = from; x < to; ++x) {
                                if (winnerRank[std::size_t(x)] != std::int32_t(k)) {
                                    winner[std::size_t(x)] = pixels[x - from];
                                    winnerRank[std::size_t(x)] = std::int32_t(k);
                                }
                            }
                        }
                    }
                } else {
                    std::fill(next.begin(), next.end(), kNone);
                    for (std::size_t s = begin; s < end; ++s) {
                        const Span& span = m_spans[s];
                        for (int p = 0; p < span.length; ++p) {
                            const long long o = span.dx + p;
                            const std::size_t index =
                                std::size_t(dirX > 0 ? o - m_left : m_right - o);
                            colour[index] = m_base[span.first + std::size_t(p)];
                            next[index] = std::int32_t(index);
                        }
                    }
                    for (long long index = extent - 1 - stepAcross; index >= 0; --index) {
                        if (next[std::size_t(index)] == kNone) {
                            next[std::size_t(index)] = next[std::size_t(index + stepAcross)];
                        }
                    }
                    long long a = a0;
                    long long mod = residue(a, stepAcross);
                    for (long long x = 0; x < w; ++x) {
                        const long long start = a >= 0 ? a : mod;
                        if (start < extent) {
                            const std::int32_t index = next[std::size_t(start)];
                            if (index != kNone && index <= a + spanX) {
                                winner[std::size_t(x)] = colour[std::size_t(index)];
                                winnerRank[std::size_t(x)] = std::int32_t(k);
                            }
                        }
                        a += dirX;
                        mod += dirX;
                        mod = mod == stepAcross ? 0 : mod < 0 ? stepAcross - 1 : mod;
                    }
                }
            }
            for (long long n = rowsFrom[std::size_t(k)]; n < rowsFrom[std::size_t(k + 1)]; ++n) {
                const int y = rows[std::size_t(n)];
                const long long limit = rankOfLast(y) + spanY;
                if (decided && !decided->rowOpen(y)) {
                    continue;
                }
                QRgb* const line = canvas.writableRow(y, 0, int(w));
                for (long long x = 0; x < w;) {
                    const std::int32_t rank = winnerRank[std::size_t(x)];
                    if (rank == kNone || rank > limit) {
                        ++x;
                        continue;
                    }
                    if (!decided) {
                        line[x] = winner[std::size_t(x)];
                        ++x;
                        continue;
                    }
                    // Under copies painted already: a run of pixels these copies paint
                    // goes to those still open.
                    long long end = x + 1;
                    while (end < w && winnerRank[std::size_t(end)] != kNone &&
                           winnerRank[std::size_t(end)] <= limit) {
                        ++end;
                    }
                    decided->take(y, x, end - x, winner.data() + x, line);
                    x = end;
                }
            }
        }
    }
    return true;
}

RepeatedDrawing::Across RepeatedDrawing::acrossOf(long long width, long long columns) const
{
    // Working on every offset of a row costs its extent; looking up each copy's offset from
    // every canvas pixel costs the canvas's width a copy across: copies of a line a million
    // pixels long, far apart across, cost the second.
    constexpr long long kWidest = 1 << 16; // offsets of a row of the drawing, worked on at once
    const long long extent = (long long)m_right - m_left + 1;
    const long long byPlace = columns <= kWidest / std::max<long long>(width, 1)
                                  ? columns * width
                                  : std::numeric_limits<long long>::max();
    if (extent <= kWidest && extent + width <= byPlace) {
        return Across::ByOffset;
    }
    return byPlace <= 16 * kWidest ? Across::ByPlace : Across::TooWide;
}

bool RepeatedDrawing::latticePays(const Canvas& canvas, long long copies, long long across) const
{
    // A span pasted costs about what eight pixels of a row of the lattice cost.
    const long long width = canvas.width();
    const Across how = acrossOf(width, across);
    if (how == Across::TooWide || copies <= 0) {
        return false;
    }
    const long long row =
        how == Across::ByOffset ? width + m_right - m_left + 1 : std::max(across, 1LL) * width;
    const long long rowsCost =
        ((long long)m_bottom - m_top + 1) * row + (long long)canvas.height() * width;
    return 8 * m_pasted > rowsCost / copies;
}

void RepeatedDrawing::paintGrid(Canvas& canvas, long long x0, long long stepX, long long iFirst,
                                long long iLast, long long y0, long long stepY, long long jFirst,
                                long long jLast) const
{
    auto paintRow = [&](long long j) {
        for (long long i = iFirst; i <= iLast; ++i) {
            paint(canvas, x0 + i * stepX, y0 + j * stepY);
        }
    };
    const long long h = canvas.height();
    const long long height = (long long)m_bottom - m_top + 1;
    // A row of copies whose rows all lie on the canvas serves as the source.
    long long source = jLast + 1;
    if (stepY >= height && height > 0) {
        for (long long j = jFirst; j <= jLast; ++j) {
            const long long top = y0 + j * stepY + m_top;
            if (top >= 0 && top + height <= h) {
                source = j;
                break;
            }
        }
    }
    // Copies that lie over each other, down or across.
    const bool overlap = (jFirst < jLast && std::abs(stepY) < height) ||
                         (iFirst < iLast && std::abs(stepX) < (long long)m_right - m_left + 1);
    if (source > jLast && overlap) {
        // Thousands of copies over each other, each of many spans (clock faces with large
        // numbers a few pixels apart), cost far less worked out row by row.
        if (latticePays(canvas, (iLast - iFirst + 1) * (jLast - jFirst + 1), iLast - iFirst + 1) &&
            paintLattice(canvas, x0, stepX, iFirst, iLast, y0, stepY, jFirst, jLast)) {
            return;
        }
        // The last copy to paint a pixel decides it: painted from the last back, each pixel
        // once.
        DecidedPixels decided(canvas.width(), h);
        paintUnder(canvas, decided, x0, stepX, iFirst, iLast, y0, stepY, jFirst, jLast);
        return;
    }
    if (jLast - jFirst < 2 || source > jLast) {
        for (long long j = jFirst; j <= jLast; ++j) {
            paintRow(j);
        }
        return;
    }
    // Rows of copies do not overlap, so each can come in any order.
    paintRow(source);
    uchar* const bits = canvas.writableBits();
    const qsizetype stride = canvas.bytesPerLine();
    const long long sourceTop = y0 + source * stepY + m_top;
    for (long long j = jFirst; j <= jLast; ++j) {
        if (j == source) {
            continue;
        }
        const long long top = y0 + j * stepY + m_top;
        for (long long r = std::max<long long>(0, -top); r < height && top + r < h; ++r) {
            std::copy_n(bits + (sourceTop + r) * stride, stride, bits + (top + r) * stride);
        }
    }
}

KOYOMI_PIXEL_LOOP void RepeatedDrawing::paintUnder(Canvas& canvas, DecidedPixels& decided,
                                                   long long x0, long long stepX, long long iFirst,
                                                   long long iLast, long long y0, long long stepY,
                                                   long long jFirst, long long jLast) const
{
    // Rows of the canvas no copy can still change are passed over, and once every pixel is
    // decided the earlier copies are not looked at.
    const long long w = canvas.width();
    const long long h = canvas.height();
    uchar* const bits = canvas.writableBits();
    const qsizetype stride = canvas.bytesPerLine();
    for (long long j = jLast; j >= jFirst && !decided.allDecided(); --j) {
        const long long y = y0 + j * stepY;
        const long long firstRow = std::max<long long>(m_top, -y);
        const long long lastRow = std::min<long long>(m_bottom, h - 1 - y);
        if (firstRow > lastRow || !decided.anyOpen(y + firstRow, y + lastRow)) {
            continue;
        }
        for (long long i = iLast; i >= iFirst; --i) {
            const long long x = x0 + i * stepX;
            for (long long r = firstRow; r <= lastRow; ++r) {
                if (!decided.rowOpen(y + r)) {
                    continue;
                }
                const auto [rowBegin, rowEnd] = spansOf(r);
                auto span = std::partition_point(rowBegin, rowEnd, [x](const Span& s) {
                    return x + s.dx + (long long)s.length <= 0;
                });
                auto* line = reinterpret_cast<QRgb*>(bits + (y + r) * stride);
                for (; span != rowEnd && x + span->dx < w && decided.rowOpen(y + r); ++span) {
                    const long long from = x + span->dx;
                    const long long first = std::max<long long>(0, -from);
                    const long long last = std::min<long long>(span->length, w - from);
                    decided.take(y + r, from + first, last - first, m_base + span->first + first,
                                 line);
                }
                if (decided.allDecided()) {
                    return;
                }
            }
        }
    }
}

} // namespace koyomi::render
