#include "render/RepeatedDrawing.h"

#include "render/Palette.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
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

bool paintsUnpainted(const Canvas& like)
{
    bool paints = like.pen().color == kUnpainted || like.brush().color == kUnpainted ||
                  like.fontColor() == kUnpainted;
    for (const PaletteEntry& entry : PaletteColor) {
        paints = paints || entry.color == kUnpainted;
    }
    return paints;
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
                                 const std::function<void(Canvas&, int, int)>& draw)
    : RepeatedDrawing(like, reach.top(), reach.height(), {{reach.left(), reach.width()}}, draw)
{
}

KOYOMI_PIXEL_LOOP
RepeatedDrawing::RepeatedDrawing(const Canvas& like, int top, int height,
                                 const std::vector<Columns>& columns,
                                 const std::function<void(Canvas&, int, int)>& draw)
{
    long long width = 0;
    for (const Columns& c : columns) {
        if (c.width <= 0) {
            return;
        }
        width += c.width;
    }
    if (height <= 0 || width == 0 || like.penMode() != PenMode::Copy ||
        width > kMaxScratchPixels / height) {
        return;
    }
    // Drawn once over a colour nothing paints with: every pixel that no longer holds it was
    // painted. The colours a drawing paints with are the palette's and those of the canvas's
    // pen, brush and font; should one of them be that colour, the drawing is made twice, over
    // black and over white, and a painted pixel is one that holds its colour on both.
    const bool collides = paintsUnpainted(like);
    struct Strip
    {
        int left;
        std::unique_ptr<Canvas> first;
        std::unique_ptr<Canvas> second;
    };
    std::vector<Strip> strips;
    strips.reserve(columns.size());
    for (const Columns& c : columns) {
        Strip& strip = strips.emplace_back(
            Strip{c.left, std::make_unique<Canvas>(c.width, height, collides ? kBlack : kUnpainted),
                  nullptr});
        copyState(like, *strip.first);
        draw(*strip.first, -c.left, -top);
        if (collides) {
            strip.second = std::make_unique<Canvas>(c.width, height, kWhite);
            copyState(like, *strip.second);
            draw(*strip.second, -c.left, -top);
        }
    }
    const QRgb unpainted = toQRgb(kUnpainted);
    for (int y = 0; y < height; ++y) {
        for (const Strip& strip : strips) {
            const QImage& a = strip.first->image();
            const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
            const auto* rb =
                strip.second ? reinterpret_cast<const QRgb*>(strip.second->image().constScanLine(y))
                             : nullptr;
            // Marked too: a lambda the compiler does not inline is a function of its own.
            auto painted = [&](int x) KOYOMI_PIXEL_LOOP {
                return rb ? ra[x] == rb[x] : ra[x] != unpainted;
            };
            const int stripWidth = a.width(); // read once: the scan visits up to 2^25 pixels
            for (int x = 0; x < stripWidth;) {
                if (!painted(x)) {
                    ++x;
                    continue;
                }
                const int start = x;
                const std::size_t first = m_pixels.size();
                while (x < stripWidth && painted(x)) {
                    m_pixels.push_back(ra[x]);
                    ++x;
                }
                m_spans.push_back(Span{y + top, start + strip.left, first, x - start});
            }
        }
    }
    if (!m_spans.empty()) {
        m_top = m_spans.front().dy;
        m_bottom = m_spans.back().dy;
        m_left = m_spans.front().dx;
        for (const Span& span : m_spans) {
            m_left = std::min(m_left, span.dx);
            m_right = std::max(m_right, span.dx + span.length - 1);
        }
    }
    m_rowStart.assign(std::size_t(m_bottom - m_top + 2), m_spans.size());
    for (std::size_t i = m_spans.size(); i-- > 0;) {
        m_rowStart[std::size_t(m_spans[i].dy - m_top)] = i;
    }
    // Rows without spans start where the next row does.
    for (std::size_t r = m_rowStart.size() - 1; r-- > 0;) {
        m_rowStart[r] = std::min(m_rowStart[r], m_rowStart[r + 1]);
    }
    m_usable = true;
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
        const auto rowBegin = m_spans.begin() + std::ptrdiff_t(m_rowStart[std::size_t(r - m_top)]);
        const auto rowEnd =
            m_spans.begin() + std::ptrdiff_t(m_rowStart[std::size_t(r - m_top + 1)]);
        auto span = std::partition_point(
            rowBegin, rowEnd, [x](const Span& s) { return x + s.dx + (long long)s.length <= 0; });
        auto* line = reinterpret_cast<QRgb*>(bits + (y + r) * stride);
        for (; span != rowEnd && x + span->dx < w; ++span) {
            const long long from = x + span->dx;
            const long long first = std::max<long long>(0, -from);
            const long long last = std::min<long long>(span->length, w - from);
            std::copy_n(m_pixels.data() + span->first + first, last - first, line + from + first);
        }
    }
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
                const auto rowBegin =
                    m_spans.begin() + std::ptrdiff_t(m_rowStart[std::size_t(r - m_top)]);
                const auto rowEnd =
                    m_spans.begin() + std::ptrdiff_t(m_rowStart[std::size_t(r - m_top + 1)]);
                auto span = std::partition_point(rowBegin, rowEnd, [x](const Span& s) {
                    return x + s.dx + (long long)s.length <= 0;
                });
                auto* line = reinterpret_cast<QRgb*>(bits + (y + r) * stride);
                for (; span != rowEnd && x + span->dx < w && decided.rowOpen(y + r); ++span) {
                    const long long from = x + span->dx;
                    const long long first = std::max<long long>(0, -from);
                    const long long last = std::min<long long>(span->length, w - from);
                    decided.take(y + r, from + first, last - first,
                                 m_pixels.data() + span->first + first, line);
                }
                if (decided.allDecided()) {
                    return;
                }
            }
        }
    }
}

} // namespace koyomi::render
