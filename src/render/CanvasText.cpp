#include "render/Canvas.h"
#include "render/PixelLoop.h"
#include "render/TextStamps.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace koyomi::render {

namespace {

// A text whose pixels would need a larger picture than this is drawn by the painter every
// time rather than kept: the painter draws only what the canvas shows of a large text, a
// stamp would first lay out all of it. Labels of ordinary sizes are far smaller.
constexpr qint64 kMaxStampPixels = qint64(1) << 16;

// The image texts are painted on to be stamped, kept from one stamp to the next: a page of
// labels makes thousands of stamps, and a new image each time costs more than the scan.
// Only the part a stamp used is painted black again.
class StampScratch
{
public:
    // A black image at least `size`.
    QImage& image(const QSize& size)
    {
        if (size.width() > m_image.width() || size.height() > m_image.height()) {
            QSize grown = m_image.size().expandedTo(size);
            if (qint64(grown.width()) * grown.height() > 4 * kMaxStampPixels) {
                grown = size;
            }
            m_image = QImage(grown, QImage::Format_RGB32);
            m_image.fill(Qt::black);
        }
        return m_image;
    }

    KOYOMI_PIXEL_LOOP void clear(const QSize& used)
    {
        const QRgb black = QColor(Qt::black).rgb();
        for (int y = 0; y < used.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(m_image.scanLine(y));
            std::fill(row, row + used.width(), black);
        }
    }

private:
    QImage m_image;
};

// The pixels that painting the text white on black covers; unusable when any pixel is only
// partly covered, which a stamp of one colour could not reproduce.
KOYOMI_PIXEL_LOOP TextStamp makeStamp(const QFont& font, const QString& text)
{
    TextStamp stamp;
    stamp.state = TextStamp::State::Unusable;
    const QFontMetrics metrics(font);
    const int margin = metrics.height() / 2 + 2;
    const QRect bounds = metrics.boundingRect(text).adjusted(-margin, -margin, margin, margin);
    if (qint64(bounds.width()) * bounds.height() > kMaxStampPixels) {
        return stamp;
    }
    thread_local StampScratch kept;
    QImage& scratch = kept.image(bounds.size());
    {
        QPainter p(&scratch);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setClipRect(QRect(QPoint(0, 0), bounds.size()));
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(-bounds.left(), -bounds.top(), text);
    }
    const QRgb black = QColor(Qt::black).rgb();
    const QRgb white = QColor(Qt::white).rgb();
    const int width = bounds.width();
    const int height = bounds.height();
    bool usable = true;
    for (int y = 0; y < height && usable; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = 0; x < width;) {
            if (row[x] == black) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && row[x] == white) {
                ++x;
            }
            if (x == start) {
                usable = false;
                break;
            }
            stamp.runs.push_back({y + bounds.top(), start + bounds.left(), x + bounds.left()});
        }
    }
    kept.clear(bounds.size());
    if (!usable) {
        stamp.runs.clear();
        return stamp;
    }
    stamp.state = TextStamp::State::Usable;
    return stamp;
}

} // namespace

const TextStamp* Canvas::textStamp(const QString& text)
{
    if (!m_stamps) {
        m_stamps = std::make_unique<TextStamps>();
    }
    TextStamp* stamp = m_stamps->seen(m_fontKey, text);
    if (stamp && stamp->state == TextStamp::State::Seen &&
        stamp->sightings >= TextStamp::kSightingsToStamp) {
        m_stamps->settle(*stamp, makeStamp(m_font, text));
    }
    return stamp;
}

KOYOMI_PIXEL_LOOP void Canvas::textOut(int x, int y, const QString& text)
{
    if (text.isEmpty()) {
        return;
    }
    font(); // settles the font and its ascent for the present size
    // Copy mode stamps the text's pixels in the font colour; exclusive-or drawing goes
    // through the painter, which combines the colours itself.
    const TextStamp* stamp = m_penMode == PenMode::Copy ? textStamp(text) : nullptr;
    if (!stamp || stamp->state != TextStamp::State::Usable) {
        drawTextDirect(x, y, text);
        return;
    }
    const QRgb rgb = toQRgb(m_fontColor);
    const long long baseX = x;
    const long long baseY = static_cast<long long>(y) + m_fontAscent;
    const int w = m_image.width();
    const int h = m_image.height();
    uchar* const bits = m_image.bits();
    const qsizetype stride = m_image.bytesPerLine();
    for (const TextStamp::Run& run : stamp->runs) {
        const long long row = baseY + run.dy;
        if (row < 0 || row >= h) {
            continue;
        }
        const long long from = std::max<long long>(baseX + run.x0, 0);
        const long long to = std::min<long long>(baseX + run.x1, w);
        if (from < to) {
            auto* line = reinterpret_cast<QRgb*>(bits + row * stride);
            std::fill(line + from, line + to, rgb);
        }
    }
}

void Canvas::drawTextDirect(int x, int y, const QString& text)
{
    ++m_textsLaidOut;
    QPainter& p = painter();
    const QFont& f = font();
    if (m_painterFontKey != m_fontKey) {
        p.setFont(f);
        m_painterFontKey = m_fontKey;
    }
    // Text is drawn in the font colour with no brush; the pen is put back by the next shape.
    Pen textPen = m_pen;
    textPen.color = m_fontColor;
    textPen.style = PenStyle::Solid;
    textPen.width = 1;
    textPen.geometric = false;
    const Pen saved = m_pen;
    m_pen = textPen;
    applyPainterState(p, false);
    m_pen = saved;
    p.drawText(x, y + m_fontAscent, text);
}

} // namespace koyomi::render
