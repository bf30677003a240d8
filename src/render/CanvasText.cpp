#include "render/Canvas.h"
#include "render/TextGlyphs.h"
#include "render/TextWidths.h"

#include <QPainter>

#include <algorithm>
#include <climits>
#include <span>

namespace koyomi::render {

void Canvas::textOut(int x, int y, QStringView text)
{
    if (text.isEmpty()) {
        return;
    }
    ++m_textsWritten;
    const QFont& f = font(); // settles the font and its ascent for the present size
    // Of thousands of large labels over each other, most land where the union already holds
    // their colour: those are passed over before they are laid out.
    if (unionCoversText(x, y, text)) {
        return;
    }
    // Copy mode paints the pixels of the text's glyphs in the font colour; exclusive-or
    // drawing goes through the painter, which combines the colours itself.
    if (m_penMode == PenMode::Copy) {
        // Glyphs up to 64 pixels the painter draws from images of them, as cheaply as laying
        // the text out: a text is laid out when met a second time (a page of more different
        // labels than are kept then costs what the painter costs). Larger glyphs it loads and
        // fills as outlines at every drawing: those texts are laid out at once.
        constexpr int kPainterGlyphImages = 64;
        thread_local TextGlyphCache texts;
        bool laidOut = false;
        const TextGlyphs& glyphs =
            texts.of(f, m_fontKey, text, m_fontKeyPixels > kPainterGlyphImages, laidOut);
        if (glyphs.usable) {
            m_textsLaidOut += laidOut ? 1 : 0;
            paintGlyphs(glyphs, x, static_cast<long long>(y) + m_fontAscent);
            return;
        }
    }
    drawTextDirect(x, y, text.toString());
}

namespace {

// A glyph's pixels as bits, made when it is first gathered with others.
const BitPicture& bitsOf(const GlyphPicture& picture)
{
    if (!picture.bits) {
        picture.bits = BitPicture::of(picture.runs);
    }
    return *picture.bits;
}

// The glyphs placed as one picture of bits relative to the baseline's origin, when it is at
// most a few words wide (a number's label); false, with `out` unspecified, otherwise.
KOYOMI_PIXEL_LOOP bool composeBits(std::span<const TextGlyphs::Placed> glyphs, BitPicture& out)
{
    constexpr int kMostWords = 4;
    constexpr int kMostRows = 256;
    int left = INT_MAX;
    int right = INT_MIN;
    int top = INT_MAX;
    int bottom = INT_MIN;
    for (const TextGlyphs::Placed& glyph : glyphs) {
        const BitPicture& bits = bitsOf(*glyph.picture);
        if (bits.rows == 0) {
            continue;
        }
        left = std::min(left, glyph.dx + bits.left);
        right = std::max(right, glyph.dx + glyph.picture->right);
        top = std::min(top, glyph.dy + bits.top);
        bottom = std::max(bottom, glyph.dy + bits.top + bits.rows - 1);
    }
    if (left > right) {
        return false;
    }
    const long long words = ((long long)right - left + 64) / 64;
    const long long rows = (long long)bottom - top + 1;
    if (words > kMostWords || rows > kMostRows) {
        return false;
    }
    out.left = left;
    out.top = top;
    out.words = int(words);
    out.rows = int(rows);
    out.bits.assign(std::size_t(words * rows), 0);
    for (const TextGlyphs::Placed& glyph : glyphs) {
        const BitPicture& bits = *glyph.picture->bits;
        if (bits.rows == 0) {
            continue;
        }
        const int column = glyph.dx + bits.left - left;
        const int base = column / 64;
        const int shift = column % 64;
        std::uint64_t* const firstRow =
            out.bits.data() + std::size_t(glyph.dy + bits.top - top) * std::size_t(out.words);
        if (out.words == 1) {
            // Every glyph within one word: each of its rows one word shifted into place.
            for (int r = 0; r < bits.rows; ++r) {
                firstRow[r] |= bits.bits[std::size_t(r)] << shift;
            }
            continue;
        }
        for (int r = 0; r < bits.rows; ++r) {
            const std::uint64_t* const src = bits.bits.data() + std::size_t(r) * bits.words;
            std::uint64_t* const dst =
                out.bits.data() + std::size_t(glyph.dy + bits.top - top + r) * out.words + base;
            for (int k = 0; k < bits.words; ++k) {
                dst[k] |= src[k] << shift;
                if (shift != 0 && base + k + 1 < out.words) {
                    dst[k + 1] |= src[k] >> (64 - shift);
                }
            }
        }
    }
    return true;
}

} // namespace

void Canvas::paintGlyphs(const TextGlyphs& text, long long x, long long baseline)
{
    const long long w = m_image.width();
    const long long h = m_image.height();
    const auto reaches = [w, h](long long atX, long long atY, int top, int bottom, int left,
                                int right) {
        return bottom >= top && atY + bottom >= 0 && atY + top < h && atX + right >= 0 &&
               atX + left < w;
    };
    if (!reaches(x, baseline, text.top, text.bottom, text.left, text.right)) {
        return;
    }
    const QRgb rgb = toQRgb(m_fontColor);
    auto first = text.glyphs.begin();
    auto last = text.glyphs.end();
    if (text.ordered) {
        // Only the glyphs placed where they can reach the canvas's columns.
        first = std::partition_point(first, last, [&](const TextGlyphs::Placed& glyph) {
            return x + glyph.dx + text.glyphRight < 0;
        });
        last = std::partition_point(first, last, [&](const TextGlyphs::Placed& glyph) {
            return x + glyph.dx + text.glyphLeft < w;
        });
    }
    if (m_textUnionOn) {
        if (rgb != m_textUnionRgb) {
            paintTextUnion();
            m_textUnionRgb = rgb;
        }
        // A label of a few glyphs is gathered as one picture: each glyph alone cost the
        // union's bookkeeping of every row it covers, several times a row. Gathering it costs
        // about what looking first at whether the union covers its box would.
        if (composeBits(std::span(first, last), m_textBits)) {
            m_textUnion.add(m_textBits, x, baseline, int(w), int(h));
            return;
        }
        // A larger text whose box the union already covers adds no pixel to it: of
        // thousands of large labels over each other, most are looked at a few words a row.
        if (textUnionCovers(x + text.left, baseline + text.top, x + text.right,
                            baseline + text.bottom)) {
            return;
        }
    }
    for (const TextGlyphs::Placed& glyph : std::span(first, last)) {
        const GlyphPicture& picture = *glyph.picture;
        const long long gx = x + glyph.dx;
        const long long gy = baseline + glyph.dy;
        if (!reaches(gx, gy, picture.top, picture.bottom, picture.left, picture.right)) {
            continue;
        }
        if (!m_textUnionOn) {
            paintRuns(picture.runs, gx, gy, rgb);
            continue;
        }
        m_textUnion.add(bitsOf(picture), gx, gy, int(w), int(h));
    }
}

void Canvas::beginTextUnion()
{
    m_textUnionOn = true;
}

void Canvas::endTextUnion()
{
    paintTextUnion();
    m_textUnionOn = false;
}

void Canvas::paintTextUnion() const
{
    if (!m_textUnion.empty()) {
        m_textUnion.paint(PixelTarget(m_image, m_written), m_textUnionRgb);
    }
}

bool Canvas::gatheringInFontColor() const
{
    return m_textUnionOn && m_penMode == PenMode::Copy && !m_textUnion.empty() &&
           toQRgb(m_fontColor) == m_textUnionRgb;
}

bool Canvas::textUnionCovers(long long left, long long top, long long right, long long bottom) const
{
    return gatheringInFontColor() &&
           m_textUnion.covers(left, top, right, bottom, m_image.width(), m_image.height());
}

bool Canvas::unionCoversText(long long x, long long y, QStringView text) const
{
    if (!gatheringInFontColor()) {
        return false;
    }
    if (!m_unionWidths || m_unionWidthsKey != m_fontKey) {
        m_unionWidths = std::make_unique<TextWidths>(m_font);
        m_unionWidthsKey = m_fontKey;
    }
    const auto ink = m_unionWidths->asciiInk(text);
    if (!ink) {
        return false;
    }
    // A plain text's glyphs stand one after another from x, none moved up or down; its
    // width allows for shaping moving them a glyph further right.
    return textUnionCovers(x - ink->overhang.left, y + ink->overhang.top,
                           x + ink->width + m_unionWidths->glyph(), y + ink->overhang.bottom);
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
