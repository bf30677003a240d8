#include "render/Canvas.h"
#include "render/PixelRuns.h"
#include "render/TextStamps.h"

#include <QFontMetrics>
#include <QPainter>

namespace koyomi::render {

namespace {

// A text whose pixels would need a larger picture than this is drawn by the painter every
// time rather than kept: the painter draws only what the canvas shows of a large text, a
// stamp would first lay out all of it. Labels of ordinary sizes are far smaller.
constexpr qint64 kMaxStampPixels = qint64(1) << 16;

// The pixels that painting the text white on black covers; unusable when any pixel is only
// partly covered, which a stamp of one colour could not reproduce.
TextStamp makeStamp(const QFont& font, const QString& text)
{
    TextStamp stamp;
    stamp.state = TextStamp::State::Unusable;
    const QFontMetrics metrics(font);
    const int margin = metrics.height() / 2 + 2;
    const QRect bounds = metrics.boundingRect(text).adjusted(-margin, -margin, margin, margin);
    if (qint64(bounds.width()) * bounds.height() > kMaxStampPixels) {
        return stamp;
    }
    thread_local StampScratch kept(4 * kMaxStampPixels);
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
    if (!kept.takeRuns(bounds.size(), -bounds.topLeft(), stamp.runs)) {
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

void Canvas::textOut(int x, int y, const QString& text)
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
    paintRuns(stamp->runs, x, static_cast<long long>(y) + m_fontAscent, toQRgb(m_fontColor));
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
