#include "render/Canvas.h"
#include "render/PixelLoop.h"
#include "render/PixelRuns.h"
#include "render/TextWidths.h"
#include "render/WholeDivision.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <stdexcept>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace koyomi::render {

namespace {

Qt::PenStyle qtStyle(PenStyle style)
{
    switch (style) {
    case PenStyle::Solid:
        return Qt::SolidLine;
    case PenStyle::Dash:
        return Qt::DashLine;
    case PenStyle::Dot:
        return Qt::DotLine;
    case PenStyle::DashDot:
        return Qt::DashDotLine;
    case PenStyle::DashDotDot:
        return Qt::DashDotDotLine;
    case PenStyle::Clear:
        return Qt::NoPen;
    }
    return Qt::SolidLine;
}

QRect normalisedBox(int x1, int y1, int x2, int y2)
{
    const int left = std::min(x1, x2);
    const int right = std::max(x1, x2);
    const int top = std::min(y1, y2);
    const int bottom = std::max(y1, y2);
    // The box excludes its right and bottom edges; a 1-pixel pen drawn on QRect(x, y, w, h)
    // covers x .. x + w, so the rectangle is one smaller than the box.
    return QRect(left, top, right - left - 1, bottom - top - 1);
}

} // namespace

bool insideEllipse(long long width, long long height, long long x1, long long y1, long long x2,
                   long long y2, long long margin)
{
    // The ellipse shrunk about its centre by k = 1 − margin / (its smaller half-axis) lies
    // at least `margin` from its edge everywhere: a disc of that radius around the centre
    // lies inside, so the ellipse holds the disc of radius margin around any point of the
    // shrunk one. The window is convex: its corners decide, taken a pixel further out.
    // In long double: a dot's box can lie anywhere a long long reaches.
    const long double cx = (static_cast<long double>(x1) + x2) / 2;
    const long double cy = (static_cast<long double>(y1) + y2) / 2;
    const long double a = std::abs(static_cast<long double>(x2) - x1) / 2;
    const long double b = std::abs(static_cast<long double>(y2) - y1) / 2;
    const long double smaller = std::min(a, b);
    if (width <= 0 || height <= 0 || smaller <= margin) {
        return false;
    }
    const long double k = 1 - margin / smaller;
    for (const long long x : {-1LL, width}) {
        for (const long long y : {-1LL, height}) {
            const long double u = (x - cx) / a;
            const long double v = (y - cy) / b;
            if (u * u + v * v > k * k) {
                return false;
            }
        }
    }
    return true;
}

int fontPixelHeight(int points)
{
    // MulDiv(points, 96, 72): rounds halves away from zero.
    const long long n = static_cast<long long>(points) * 96;
    const long long pixels = n >= 0 ? (n + 36) / 72 : -((-n + 36) / 72);
    return static_cast<int>(std::clamp<long long>(pixels, INT_MIN, INT_MAX));
}

void installFontSubstitution()
{
    static const bool installed = [] {
        QFont::insertSubstitution(QString::fromUtf8(kFigureFontFamily),
                                  QString::fromUtf8(kSubstituteFontFamily));
        return true;
    }();
    (void)installed;
}

Canvas::Canvas(int width, int height, ColorRef fill)
    : m_image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32),
      m_fontFamily(QString::fromUtf8(kFigureFontFamily))
{
    installFontSubstitution();
    if (m_image.isNull()) {
        throw std::runtime_error("描画面の画像を確保できませんでした");
    }
    m_image.fill(toQRgb(fill));
}

KOYOMI_PIXEL_LOOP std::uint64_t paintedBits(const QRgb* line, int n)
{
    std::uint64_t bits = 0;
    int i = 0;
#if defined(__SSE2__)
    const __m128i unpainted = _mm_set1_epi32(int(kUnpaintedPixel));
    for (; i + 4 <= n; i += 4) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + i));
        const int same = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(four, unpainted)));
        bits |= std::uint64_t(~same & 0xF) << i;
    }
#endif
    for (; i < n; ++i) {
        bits |= std::uint64_t(line[i] != kUnpaintedPixel) << i;
    }
    return bits;
}

QRgb* unpaintedPixels(std::size_t count, bool inLargePages)
{
    static_assert(kUnpaintedPixel == 0, "zeroed memory holds the unpainted pixel");
    // calloc hands large blocks out as pages of zeros mapped when first touched.
    auto* const pixels = static_cast<QRgb*>(std::calloc(count, sizeof(QRgb)));
#ifdef __linux__
    // A scratch image of tens of megabytes written along lines that cross a row a pixel (the
    // marks of a ring from its centre outward) has each pixel on a page of its own, which the
    // processor looks up afresh; in pages of 2 MB the whole image is a few dozen of them. But
    // a large page is zeroed whole when first touched, and the system may first have to make
    // room for it: an image a drawing writes a little of (a layer, a band of copies) was seen
    // to cost twice as much in them, so only an image kept and drawn on again and again (a
    // stamp's), zeroed once, is asked for in large pages.
    constexpr std::uintptr_t kLarge = std::uintptr_t(2) << 20;
    const std::size_t bytes = count * sizeof(QRgb);
    if (inLargePages && pixels && bytes >= 4 * kLarge) {
        const auto start = reinterpret_cast<std::uintptr_t>(pixels);
        const std::uintptr_t from = (start + kLarge - 1) & ~(kLarge - 1);
        const std::uintptr_t to = (start + bytes) & ~(kLarge - 1);
        if (from < to) {
            // Only advice: where the system has no large pages, the small ones serve.
            madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
        }
    }
#endif
    return pixels;
}

namespace {

// The block of unpainted pixels a thread keeps for its next KeptCanvas.
struct KeptBlock
{
    QRgb* pixels = nullptr;
    std::size_t count = 0;
    bool inUse = false;

    ~KeptBlock() { std::free(pixels); }

    static KeptBlock& ofThread()
    {
        thread_local KeptBlock block;
        return block;
    }
};

KOYOMI_PIXEL_LOOP bool anyPainted(const QRgb* from, const QRgb* to)
{
    QRgb any = kUnpaintedPixel; // zero
    for (const QRgb* p = from; p < to; ++p) {
        any |= *p;
    }
    return any != kUnpaintedPixel;
}

// Makes every pixel painted within the box of rows `stride` pixels long unpainted again.
// Pixels outside the box were never touched (the painter's writes count as the whole canvas).
// Within it only the pages the system holds are looked at, and in each only the stretch from
// its first painted pixel to its last is written: a page the drawing never touched, or only
// read, is still zeros, and reading it afresh or writing it would cost the system handing it
// out (a ring's box of tens of megabytes is mostly such pages).
KOYOMI_PIXEL_LOOP void unpaintPainted(QRgb* pixels, std::size_t stride, const WrittenBox& box)
{
    if (box.empty()) {
        return;
    }
    constexpr std::uintptr_t kPage = 4096;
    const auto base = reinterpret_cast<std::uintptr_t>(pixels) & ~(kPage - 1);
    const auto pastEnd = reinterpret_cast<std::uintptr_t>(
        pixels + std::size_t(box.bottom) * stride + std::size_t(box.right) + 1);
    std::vector<unsigned char> held((pastEnd - base + kPage - 1) / kPage, 1);
#ifdef __linux__
    if (mincore(reinterpret_cast<void*>(base), pastEnd - base, held.data()) != 0) {
        std::fill(held.begin(), held.end(), 1); // every page looked at
    }
#endif
    for (long long y = box.top; y <= box.bottom; ++y) {
        QRgb* at = pixels + std::size_t(y) * stride + std::size_t(box.left);
        QRgb* const rowEnd = pixels + std::size_t(y) * stride + std::size_t(box.right) + 1;
        while (at < rowEnd) {
            const std::uintptr_t page = (reinterpret_cast<std::uintptr_t>(at) - base) / kPage;
            QRgb* const pageEnd =
                std::min(rowEnd, reinterpret_cast<QRgb*>(base + (page + 1) * kPage));
            // Most pages of a sparse drawing hold nothing painted: each is looked at whole
            // first, in one pass the compiler widens.
            if ((held[page] & 1) != 0 && anyPainted(at, pageEnd)) {
                QRgb* first = at;
                QRgb* last = pageEnd - 1;
                while (first <= last && *first == kUnpaintedPixel) {
                    ++first;
                }
                while (last > first && *last == kUnpaintedPixel) {
                    --last;
                }
                if (first <= last) {
                    std::fill(first, last + 1, kUnpaintedPixel);
                }
            }
            at = pageEnd;
        }
    }
}

} // namespace

KeptCanvas::KeptCanvas(int width, int height)
{
    const std::size_t w = std::size_t(std::max(width, 1));
    const std::size_t h = std::size_t(std::max(height, 1));
    KeptBlock& kept = KeptBlock::ofThread();
    if (!kept.inUse && kept.count >= w * h) {
        kept.inUse = true;
        m_pixels = kept.pixels;
        m_count = kept.count;
    } else {
        if (!kept.inUse && kept.pixels) {
            // Too small: let go first, so that the system hands its pages out again for the
            // larger one rather than pages it has to find anew.
            std::free(kept.pixels);
            kept.pixels = nullptr;
            kept.count = 0;
        }
        m_pixels = unpaintedPixels(w * h);
        m_count = m_pixels ? w * h : 0;
        if (!m_pixels) {
            throw std::runtime_error("描画面の画像を確保できませんでした");
        }
    }
    try {
        m_canvas = std::make_unique<Canvas>(m_pixels, int(w), int(h), Unpainted{});
    } catch (...) {
        if (m_pixels == kept.pixels) {
            kept.inUse = false;
        } else {
            std::free(m_pixels);
        }
        throw;
    }
}

KeptCanvas::~KeptCanvas()
{
    const WrittenBox box = m_canvas->written();
    const std::size_t stride = std::size_t(m_canvas->width());
    m_canvas.reset();
    KeptBlock& kept = KeptBlock::ofThread();
    const bool ours = m_pixels == kept.pixels;
    if (!ours && (kept.inUse || m_count <= kept.count || m_count > kMostKeptPixels)) {
        std::free(m_pixels); // not kept: nothing to make unpainted
        return;
    }
    if (!m_unpainted) {
        unpaintPainted(m_pixels, stride, box);
    }
    if (ours) {
        kept.inUse = false;
        return;
    }
    std::free(kept.pixels);
    kept.pixels = m_pixels;
    kept.count = m_count;
}

Canvas::Canvas(int width, int height, Unpainted)
    : m_fontFamily(QString::fromUtf8(kFigureFontFamily))
{
    installFontSubstitution();
    const qsizetype w = std::max(width, 1);
    const qsizetype h = std::max(height, 1);
    void* const memory = unpaintedPixels(std::size_t(w) * std::size_t(h));
    if (memory) {
        m_image = QImage(
            static_cast<uchar*>(memory), int(w), int(h), w * qsizetype(sizeof(QRgb)),
            QImage::Format_RGB32, [](void* data) { std::free(data); }, memory);
    }
    if (m_image.isNull()) {
        std::free(memory);
        throw std::runtime_error("描画面の画像を確保できませんでした");
    }
}

Canvas::Canvas(QRgb* pixels, int width, int height, Unpainted)
    : m_image(reinterpret_cast<uchar*>(pixels), width, height,
              qsizetype(width) * qsizetype(sizeof(QRgb)), QImage::Format_RGB32),
      m_fontFamily(QString::fromUtf8(kFigureFontFamily))
{
    installFontSubstitution();
    if (m_image.isNull()) {
        throw std::runtime_error("描画面の画像を確保できませんでした");
    }
}

Canvas::~Canvas()
{
    endPainter();
}

const QImage& Canvas::image() const
{
    endPainter();
    return m_image;
}

void Canvas::resize(int width, int height, ColorRef fill)
{
    endPainter();
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    if (image.isNull()) {
        throw std::runtime_error("描画面の画像を確保できませんでした");
    }
    m_image = std::move(image);
    m_image.fill(toQRgb(fill));
    m_written.add(0, 0, m_image.width(), m_image.height());
}

uchar* Canvas::writableBits()
{
    m_written.add(0, 0, m_image.width(), m_image.height());
    return m_image.bits();
}

void Canvas::unpaintWritten()
{
    endPainter();
    const WrittenBox box = m_written;
    uchar* const bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    for (long long y = box.top; !box.empty() && y <= box.bottom; ++y) {
        std::fill_n(reinterpret_cast<QRgb*>(bits + y * stride) + box.left, box.right - box.left + 1,
                    kUnpaintedPixel);
    }
    m_written = {};
}

QRgb* Canvas::writableRow(int y, int from, int to)
{
    m_written.add(from, y, to, y + 1);
    return reinterpret_cast<QRgb*>(m_image.bits() + y * m_image.bytesPerLine());
}

void Canvas::setPen(const Pen& pen)
{
    m_pen = pen;
}
void Canvas::setPenColor(ColorRef color)
{
    m_pen.color = color;
}
void Canvas::setPenStyle(PenStyle style)
{
    m_pen.style = style;
}
void Canvas::setPenWidth(int width)
{
    m_pen.width = std::max(width, 1);
}
void Canvas::setPenMode(PenMode mode)
{
    m_penMode = mode;
}

void Canvas::setFontSize(int points)
{
    m_fontSize = points;
}

void Canvas::setFontFamily(const QString& family)
{
    m_fontFamily = family;
}

QPainter& Canvas::painter() const
{
    paintTextUnion();
    // What the painter paints is not followed: it may paint anywhere.
    m_written.add(0, 0, m_image.width(), m_image.height());
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::TextAntialiasing, false);
        m_applied.reset();
        m_painterFontKey.clear();
    }
    return *m_painter;
}

void Canvas::endPainter() const
{
    paintTextUnion();
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
}

void Canvas::applyPainterState(QPainter& p, bool withBrush) const
{
    const PainterState state{m_pen, !withBrush || m_brush.clear, m_brush.color, m_penMode};
    if (m_applied == state) {
        return;
    }
    m_applied = state;
    p.setCompositionMode(m_penMode == PenMode::Xor ? QPainter::RasterOp_SourceXorDestination
                                                   : QPainter::CompositionMode_SourceOver);
    if (m_pen.style == PenStyle::Clear) {
        p.setPen(Qt::NoPen);
    } else {
        QPen pen(QColor::fromRgb(toQRgb(m_pen.color)));
        pen.setWidth(strokeWidth(m_pen.width));
        pen.setStyle(qtStyle(m_pen.style));
        pen.setCapStyle(m_pen.flatEnds ? Qt::FlatCap : Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
    }
    if (state.brushClear) {
        p.setBrush(Qt::NoBrush);
    } else {
        p.setBrush(QColor::fromRgb(toQRgb(m_brush.color)));
    }
}

bool Canvas::paintWhole(QPainter& p, const QRect& box,
                        const std::function<void(QPainter&)>& draw) const
{
    const int margin = strokeWidth(m_pen.width) + 2;
    const QRect reach = box.adjusted(-margin, -margin, margin, margin);
    // A quarter of a million pixels: a mark, a dash or a dot of a figure; a line across the
    // whole window is left to the painter rather than costing a window-sized scratch image.
    constexpr qint64 kMaxScratchPixels = qint64(1) << 18;
    if (m_penMode != PenMode::Copy || m_image.rect().contains(reach) ||
        !reach.intersects(m_image.rect()) ||
        qint64(reach.width()) * reach.height() > kMaxScratchPixels) {
        return false;
    }
    if (m_wholeScratch.width() < reach.width() || m_wholeScratch.height() < reach.height()) {
        const QSize grown = m_wholeScratch.size().expandedTo(reach.size());
        m_wholeScratch = QImage(
            qint64(grown.width()) * grown.height() <= 8 * kMaxScratchPixels ? grown : reach.size(),
            QImage::Format_ARGB32_Premultiplied);
    }
    // Only what lands on the canvas is copied back, so only that needs clearing first.
    const QRect kept = reach.intersected(m_image.rect());
    const QRect keptOnScratch = kept.translated(-reach.topLeft());
    {
        QPainter q(&m_wholeScratch);
        q.setCompositionMode(QPainter::CompositionMode_Source);
        q.fillRect(keptOnScratch, Qt::transparent);
        q.setCompositionMode(QPainter::CompositionMode_SourceOver);
        q.setPen(p.pen());
        q.setBrush(p.brush());
        q.translate(-reach.topLeft());
        draw(q);
    }
    // Nothing is blended: the drawing is not antialiased, so its pixels are wholly painted
    // or wholly transparent.
    p.drawImage(kept.topLeft(), m_wholeScratch, keptOnScratch);
    return true;
}

#if defined(__SSE2__)
namespace {

// Sixteen bytes of a mask widened to sixteen pixels: each lane all ones where its byte is zero
// (the pixel keeps what it had), all zeros where it is set. Returns the mask bits of the
// clear bytes, 0xFFFF when none is set.
inline int clearLanes(const std::uint8_t* mask, __m128i keep[4])
{
    const __m128i m8 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask));
    const __m128i clear8 = _mm_cmpeq_epi8(m8, _mm_setzero_si128());
    const __m128i lo16 = _mm_unpacklo_epi8(clear8, clear8);
    const __m128i hi16 = _mm_unpackhi_epi8(clear8, clear8);
    keep[0] = _mm_unpacklo_epi16(lo16, lo16);
    keep[1] = _mm_unpackhi_epi16(lo16, lo16);
    keep[2] = _mm_unpacklo_epi16(hi16, hi16);
    keep[3] = _mm_unpackhi_epi16(hi16, hi16);
    return _mm_movemask_epi8(clear8);
}

} // namespace
#endif

void Canvas::setMaskedRow(int y, std::span<const std::uint8_t> mask, ColorRef set, ColorRef clear)
{
    if (y < 0 || y >= m_image.height()) {
        return;
    }
    const QRgb on = toQRgb(set);
    const QRgb off = toQRgb(clear);
    const std::size_t n = std::min<std::size_t>(mask.size(), std::size_t(m_image.width()));
    QRgb* const row = writableRow(y, 0, int(n));
    std::size_t x = 0;
#if defined(__SSE2__)
    // Sixteen pixels at a time, each chosen through the mask widened to whole pixels; the row
    // is only written, never read.
    const __m128i onPixels = _mm_set1_epi32(int(on));
    const __m128i offPixels = _mm_set1_epi32(int(off));
    for (; x + 16 <= n; x += 16) {
        __m128i keep[4];
        clearLanes(mask.data() + x, keep);
        auto* out = reinterpret_cast<__m128i*>(row + x);
        for (int i = 0; i < 4; ++i) {
            _mm_storeu_si128(out + i, _mm_or_si128(_mm_and_si128(keep[i], offPixels),
                                                   _mm_andnot_si128(keep[i], onPixels)));
        }
    }
#endif
    for (; x < n; ++x) {
        row[x] = mask[x] != 0 ? on : off;
    }
}

KOYOMI_PIXEL_LOOP void Canvas::paintMaskedRow(int y, int x, std::span<const std::uint8_t> mask,
                                              ColorRef set)
{
    if (y < 0 || y >= m_image.height() || mask.empty()) {
        return;
    }
    const QRgb on = toQRgb(set);
    QRgb* const row = writableRow(y, x, x + int(mask.size())) + x;
    const std::size_t n = mask.size();
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen pixels at a time: those the mask leaves clear are passed over, those it sets
    // whole are written without being read (a row of marks a pixel apart covers most of the
    // window), and the rest chosen pixel by pixel through the widened mask.
    const __m128i onPixels = _mm_set1_epi32(int(on));
    for (; i + 16 <= n; i += 16) {
        __m128i keep[4];
        const int clear = clearLanes(mask.data() + i, keep);
        if (clear == 0xFFFF) {
            continue;
        }
        auto* out = reinterpret_cast<__m128i*>(row + i);
        for (int k = 0; k < 4; ++k) {
            const __m128i had = clear == 0 ? _mm_setzero_si128() : _mm_loadu_si128(out + k);
            _mm_storeu_si128(out + k, _mm_or_si128(_mm_and_si128(keep[k], had),
                                                   _mm_andnot_si128(keep[k], onPixels)));
        }
    }
#endif
    for (; i < n; ++i) {
        row[i] = mask[i] != 0 ? on : row[i];
    }
}

void Canvas::setPixels(int y, int x, const QRgb* pixels, int n)
{
    std::copy_n(pixels, n, writableRow(y, x, x + n) + x);
}

KOYOMI_PIXEL_LOOP void Canvas::paintRuns(std::span<const PixelRun> runs, long long x, long long y,
                                         QRgb rgb)
{
    PixelTarget(m_image, m_written).paint(runs, x, y, rgb);
}

void Canvas::fillRect(const QRect& rect, ColorRef color)
{
    const QRect r = rect.normalized().intersected(m_image.rect());
    if (r.isEmpty()) {
        return;
    }
    const QRgb rgb = toQRgb(color);
    uchar* bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    m_written.add(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(row + r.left(), row + r.left() + r.width(), rgb);
    }
}

void Canvas::fillRect(int x1, int y1, int x2, int y2, ColorRef color)
{
    fillRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), color);
}

void Canvas::fillColumns(long long x, long long step, long long count, long long width,
                         long long y1, long long y2, ColorRef color)
{
    const long long w = m_image.width();
    y1 = std::max<long long>(y1, 0);
    y2 = std::min<long long>(y2, m_image.height());
    if (step <= 0 || count <= 0 || width <= 0 || y1 >= y2) {
        return;
    }
    // The columns that reach the canvas: x + k·step + width > 0 and x + k·step < w.
    const long long first = std::max<long long>(0, ceilDiv(-width - x + 1, step));
    const long long last = std::min<long long>(count - 1, floorDiv(w - 1 - x, step));
    if (first > last) {
        return;
    }
    // The runs of one row, merged where columns touch.
    std::vector<std::pair<long long, long long>> runs;
    for (long long k = first; k <= last; ++k) {
        const long long from = std::max<long long>(x + k * step, 0);
        const long long to = std::min<long long>(x + k * step + width, w);
        if (!runs.empty() && from <= runs.back().second) {
            runs.back().second = std::max(runs.back().second, to);
        } else {
            runs.emplace_back(from, to);
        }
    }
    const QRgb rgb = toQRgb(color);
    uchar* bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    m_written.add(runs.front().first, y1, runs.back().second, y2);
    for (long long y = y1; y < y2; ++y) {
        auto* row = reinterpret_cast<QRgb*>(bits + y * stride);
        for (const auto& [from, to] : runs) {
            std::fill(row + from, row + to, rgb);
        }
    }
}

void Canvas::polygon(std::span<const QPoint> points)
{
    if (points.empty()) {
        return;
    }
    QPainter& p = painter();
    applyPainterState(p, true);
    p.drawPolygon(points.data(), static_cast<int>(points.size()));
}

bool Canvas::xorFilled(const QRect& box, const std::function<void(QPainter&)>& draw)
{
    if (m_penMode != PenMode::Xor || m_brush.clear) {
        return false;
    }
    const int margin = strokeWidth(m_pen.width) + 2;
    const QRect kept = box.adjusted(-margin, -margin, margin, margin).intersected(m_image.rect());
    if (kept.isEmpty()) {
        return true;
    }
    // The shape as copy mode draws it, on a clear scratch image of the part that reaches the
    // canvas (a rubber band: the window at most).
    QImage scratch(kept.size(), QImage::Format_ARGB32_Premultiplied);
    if (scratch.isNull()) {
        return true; // no memory for it: the band is not shown, rather than shown wrong
    }
    scratch.fill(Qt::transparent);
    {
        QPainter q(&scratch);
        q.setRenderHint(QPainter::Antialiasing, false);
        const QPainter& p = painter();
        applyPainterState(painter(), true);
        q.setPen(p.pen());
        q.setBrush(p.brush());
        q.translate(-kept.topLeft());
        draw(q);
    }
    // Not antialiased: each scratch pixel is wholly painted or wholly clear.
    m_written.add(kept.left(), kept.top(), kept.right() + 1, kept.bottom() + 1);
    for (int y = 0; y < kept.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(m_image.scanLine(kept.top() + y)) + kept.left();
        for (int x = 0; x < kept.width(); ++x) {
            if (qAlpha(from[x]) != 0) {
                to[x] ^= from[x] & 0x00FFFFFFu;
            }
        }
    }
    return true;
}

void Canvas::rectangle(int x1, int y1, int x2, int y2)
{
    const QRect box = normalisedBox(x1, y1, x2, y2);
    if (xorFilled(box, [&](QPainter& q) { q.drawRect(box); })) {
        return;
    }
    QPainter& p = painter();
    applyPainterState(p, true);
    p.drawRect(box);
}

void Canvas::ellipse(int x1, int y1, int x2, int y2)
{
    // Over a window wholly inside it (and beyond its outline's reach), an ellipse is its
    // brush everywhere: the painter would walk an outline far larger than the window.
    if ((m_brush.clear || m_penMode == PenMode::Copy) &&
        insideEllipse(width(), height(), x1, y1, x2, y2, strokeWidth(m_pen.width) + 3)) {
        if (!m_brush.clear) {
            fillRect(m_image.rect(), m_brush.color);
        }
        return;
    }
    const QRect box = normalisedBox(x1, y1, x2, y2);
    if (xorFilled(box, [&](QPainter& q) { q.drawEllipse(box); })) {
        return;
    }
    QPainter& p = painter();
    applyPainterState(p, true);
    // The painter cuts an outline at the canvas's edge before walking its dashes, and the walk
    // then starts elsewhere: a dashed ellipse across the edge is drawn whole.
    const bool dashed = m_pen.style != PenStyle::Solid && m_pen.style != PenStyle::Clear;
    if (dashed && paintWhole(p, box, [&](QPainter& q) { q.drawEllipse(box); })) {
        return;
    }
    p.drawEllipse(box);
}

const QFont& Canvas::font() const
{
    // A size typed far out of range is drawn at most this large: glyphs bigger than any
    // screen would only cost memory.
    constexpr int kMaxFontPixels = 4096;
    const int pixels = std::clamp(fontPixelHeight(m_fontSize), 1, kMaxFontPixels);
    // Asked before every label: the key is made only when the font changes.
    if (m_fontKey.isEmpty() || pixels != m_fontKeyPixels || m_fontFamily != m_fontKeyFamily) {
        m_font = QFont(m_fontFamily);
        m_font.setPixelSize(pixels);
        m_font.setHintingPreference(QFont::PreferFullHinting);
        m_font.setStyleStrategy(QFont::NoAntialias);
        m_font.setWeight(QFont::Normal);
        m_font.setItalic(false);
        m_fontAscent = QFontMetrics(m_font).ascent();
        m_fontKey = m_fontFamily + u'/' + QString::number(pixels);
        m_fontKeyFamily = m_fontFamily;
        m_fontKeyPixels = pixels;
    }
    return m_font;
}

QSize Canvas::textExtent(const QString& text) const
{
    const QFontMetrics fm(font());
    return QSize(fm.horizontalAdvance(text), fm.height());
}

KOYOMI_PIXEL_LOOP bool Canvas::allPixelsAre(ColorRef color, long long& from) const
{
    const QRgb rgb = toQRgb(color);
    // Texts gathered in the colour asked about count as painted; painting them now would
    // forget the union, which lets the texts it covers be passed over.
    const bool gathered = !m_textUnion.empty() && m_textUnionRgb == rgb;
    if (!gathered) {
        paintTextUnion();
    }
    const int w = m_image.width();
    const int h = m_image.height();
    const long long n = (long long)w * h;
    while (from < n) {
        const long long y = from / w;
        const auto* row = reinterpret_cast<const QRgb*>(m_image.constScanLine(int(y)));
        for (long long x = from % w; x < w; ++x, ++from) {
            if (row[x] != rgb && !(gathered && m_textUnion.has(x, y, w, h))) {
                return false;
            }
        }
    }
    return true;
}

ColorRef Canvas::pixel(int x, int y) const
{
    if (!m_image.rect().contains(x, y)) {
        return kInvalidColor;
    }
    endPainter();
    return fromQRgb(m_image.pixel(x, y));
}

void Canvas::setPixel(int x, int y, ColorRef color)
{
    if (m_image.rect().contains(x, y)) {
        plot(x, y, toQRgb(color));
    }
}

} // namespace koyomi::render
