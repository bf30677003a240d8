#include "render/TextGlyphs.h"

#include "render/WholeDivision.h"

#include <QFont>
#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace koyomi::render {

namespace {

// A glyph whose picture would hold more pixels than this is left to the painter, with the
// text it is in: 1,024 pixels a side holds the glyphs of fonts of several hundred points.
constexpr qint64 kMaxGlyphPixels = qint64(1) << 20;
// A longer text is drawn by the painter every time rather than kept glyph by glyph.
constexpr qsizetype kMaxTextLength = 4096;

void widen(int& top, int& bottom, int& left, int& right, int t, int b, int l, int r)
{
    if (b < t) {
        return;
    }
    if (bottom < top) {
        top = t;
        bottom = b;
        left = l;
        right = r;
        return;
    }
    top = std::min(top, t);
    bottom = std::max(bottom, b);
    left = std::min(left, l);
    right = std::max(right, r);
}

// The glyph drawn white on black by the painter with its pen position at (fractionX,
// fractionY) 64ths of a pixel from a pixel's corner, and its pixels taken.
GlyphPicture drawGlyph(const QRawFont& face, std::uint32_t glyph, int fractionX, int fractionY)
{
    GlyphPicture picture;
    // Where the glyph may paint: its outline's bounds, the face's own bounds of it and its
    // cell, with a margin for hinting and for a glyph that is a picture and has no outline.
    // A pixel painted on the picture's edge shows the guess was short.
    QRectF box = face.pathForGlyph(glyph).boundingRect() | face.boundingRect(glyph);
    const QList<QPointF> advances = face.advancesForGlyphIndexes(QList<quint32>{glyph});
    const qreal advance = advances.isEmpty() ? 0 : advances.first().x();
    box |= QRectF(0, -face.ascent(), std::max<qreal>(advance, 1), face.ascent() + face.descent());
    const qreal margin = face.pixelSize() / 4 + 2;
    box.adjust(-margin, -margin, margin, margin);
    constexpr qreal kFarthest = 1 << 14;
    if (!(std::abs(box.left()) < kFarthest && std::abs(box.right()) < kFarthest &&
          std::abs(box.top()) < kFarthest && std::abs(box.bottom()) < kFarthest)) {
        return picture;
    }
    const int left = int(std::floor(box.left()));
    const int top = int(std::floor(box.top()));
    const QSize size(int(std::ceil(box.right())) - left + 1,
                     int(std::ceil(box.bottom())) - top + 1);
    if (qint64(size.width()) * size.height() > kMaxGlyphPixels) {
        return picture;
    }
    thread_local StampScratch kept(kMaxGlyphPixels);
    QImage& scratch = kept.image(size);
    {
        QPainter p(&scratch);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        // The scratch image may be larger: what lies beyond the part used is not painted
        // black again.
        p.setClipRect(QRect(QPoint(0, 0), size));
        p.setPen(Qt::white);
        QGlyphRun run;
        run.setRawFont(face);
        run.setGlyphIndexes({glyph});
        run.setPositions({QPointF(0, 0)});
        p.drawGlyphRun(QPointF(-left + fractionX / 64.0, -top + fractionY / 64.0), run);
    }
    const QPoint origin(-left, -top);
    // Every row whole, so that a pixel on the left or right edge refuses the picture.
    const std::vector<RowBand> rows(std::size_t(size.height()), RowBand{0, size.width()});
    if (!kept.takeRuns(size, origin, rows, picture.runs)) {
        return picture;
    }
    for (const PixelRun& run : picture.runs) {
        if (run.dy == top || run.dy == top + size.height() - 1) {
            picture.runs.clear();
            return picture; // painted on the top or bottom edge
        }
        widen(picture.top, picture.bottom, picture.left, picture.right, run.dy, run.dy, run.x0,
              run.x1 - 1);
    }
    picture.usable = true;
    return picture;
}

// A face's family, style and pixel size, as one text: the key of its glyphs' pictures.
QString faceKeyOf(const QRawFont& face)
{
    return face.familyName() + u'/' + face.styleName() + u'/' + QString::number(face.pixelSize());
}

// Adds a glyph's picture placed at (dx, dy) from the baseline's origin to a laid-out text.
void place(TextGlyphs& laid, const GlyphPicture& picture, int dx, int dy)
{
    if (!laid.glyphs.empty() && dx < laid.glyphs.back().dx) {
        laid.ordered = false;
    }
    if (picture.bottom >= picture.top) {
        laid.glyphLeft = std::min(laid.glyphLeft, picture.left);
        laid.glyphRight = std::max(laid.glyphRight, picture.right);
    }
    laid.glyphs.push_back({&picture, dx, dy});
    widen(laid.top, laid.bottom, laid.left, laid.right, dy + picture.top, dy + picture.bottom,
          dx + picture.left, dx + picture.right);
}

} // namespace

const TextGlyphs& TextGlyphCache::of(const QFont& font, const QString& fontKey, QStringView view,
                                     bool layOutNew, bool& laidOut)
{
    // Labels come in one font after another: its texts are looked up once.
    if (!m_font || fontKey != m_fontKey) {
        m_font = &m_byFont[fontKey];
        m_composer = &m_composers[fontKey];
        m_fontKey = fontKey;
    }
    laidOut = false;
    // Composed anew each time: a lookup a character, no cheaper found than made, and nothing
    // kept for a hundred thousand labels met once (nor a copy of each label's text made).
    if (compose(font, *m_composer, view, true, m_composed)) {
        return m_composed;
    }
    const QString text = view.toString();
    if (const auto it = m_font->find(text); it != m_font->end()) {
        if (it->metOnce) {
            laidOut = true;
            *it = layOut(font, text);
            m_runs += it->glyphs.size();
        }
        return *it;
    }
    if (m_runs > kMaxRuns || m_texts >= kMaxEntries || m_pictures.size() >= kMaxEntries) {
        m_byFont.clear();
        m_pictures.clear();
        ++m_generation;
        m_font = &m_byFont[fontKey];
        m_runs = 0;
        m_texts = 0;
    }
    ++m_texts;
    if (!layOutNew) {
        TextGlyphs met;
        met.metOnce = true;
        return *m_font->insert(text, std::move(met));
    }
    laidOut = true;
    TextGlyphs made = layOut(font, text);
    m_runs += made.glyphs.size();
    return *m_font->insert(text, std::move(made));
}

TextGlyphs TextGlyphCache::layOut(const QFont& font, const QString& text)
{
    if (text.size() > kMaxTextLength) {
        return {};
    }
    // The painter lays a text out the same way to draw it, and draws each glyph where the
    // layout placed it, all on one line: a text the layout breaks (at a line separator) is
    // left to the painter.
    QTextLayout layout(text, font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid() || line.textLength() != text.size()) {
        return {};
    }
    const qreal startX = line.x();
    const qreal baseline = line.y() + line.ascent();
    TextGlyphs laid;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont face = run.rawFont();
        const QString faceKey = faceKeyOf(face);
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
            const qreal x = positions[i].x() - startX;
            const qreal y = positions[i].y() - baseline;
            const qreal wholeX = std::floor(x);
            const qreal wholeY = std::floor(y);
            const qreal fractionX = (x - wholeX) * 64;
            const qreal fractionY = (y - wholeY) * 64;
            constexpr qreal kFarthest = 1 << 24;
            if (!(std::abs(wholeX) < kFarthest && std::abs(wholeY) < kFarthest) ||
                fractionX != std::floor(fractionX) || fractionY != std::floor(fractionY)) {
                return {};
            }
            const GlyphPicture& picture =
                this->picture(face, faceKey, glyphs[i], int(fractionX), int(fractionY));
            if (!picture.usable) {
                return {};
            }
            place(laid, picture, int(wholeX), int(wholeY));
        }
    }
    laid.usable = true;
    return laid;
}

namespace {

// Characters of numbers and their units of measure written in Latin letters are not
// composed: only these, numbered 0 … kComposable − 1 (−1 for any other).
int composableIndex(char16_t c)
{
    constexpr std::u16string_view kSigns = u"-+.,/:%";
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    const std::size_t sign = kSigns.find(c);
    return sign == std::u16string_view::npos ? -1 : 10 + int(sign);
}

bool composable(QChar c)
{
    return composableIndex(c.unicode()) >= 0;
}

bool sameGlyphs(const TextGlyphs& a, const TextGlyphs& b)
{
    return a.usable && b.usable && a.glyphs.size() == b.glyphs.size() &&
           std::equal(a.glyphs.begin(), a.glyphs.end(), b.glyphs.begin(),
                      [](const TextGlyphs::Placed& p, const TextGlyphs::Placed& q) {
                          return p.picture == q.picture && p.dx == q.dx && p.dy == q.dy;
                      });
}

} // namespace

TextGlyphCache::Piece& TextGlyphCache::piece(const QFont& font, Composer& composer, char16_t c)
{
    Piece& piece = composer.pieces[std::size_t(composableIndex(c))];
    if (piece.known) {
        return piece;
    }
    piece.known = true;
    QTextLayout layout(QString(QChar(c)), font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (!line.isValid() || runs.size() != 1 || runs[0].glyphIndexes().size() != 1) {
        return piece;
    }
    const QRawFont face = runs[0].rawFont();
    const QPointF at = runs[0].positions().value(0);
    const qreal x = (at.x() - line.x()) * 64;
    const qreal y = (at.y() - line.y() - line.ascent()) * 64;
    const qreal advance = line.naturalTextWidth() * 64;
    if (x != 0 || y != std::floor(y) || advance != std::floor(advance) || advance < 0) {
        return piece;
    }
    piece.face = face;
    piece.faceKey = faceKeyOf(face);
    piece.glyph = runs[0].glyphIndexes()[0];
    piece.advance = std::int64_t(advance);
    piece.y = std::int64_t(y);
    piece.usable = true;
    return piece;
}

bool TextGlyphCache::compose(const QFont& font, Composer& composer, QStringView text,
                             bool checkPairs, TextGlyphs& laid)
{
    if (composer.broken || text.size() < 2 || text.size() > kMaxTextLength ||
        !std::all_of(text.begin(), text.end(), composable)) {
        return false;
    }
    std::vector<TextGlyphs::Placed> glyphs = std::move(laid.glyphs);
    glyphs.clear();
    laid = TextGlyphs{};
    laid.glyphs = std::move(glyphs);
    std::int64_t x = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        Piece& p = piece(font, composer, c);
        if (!p.usable) {
            return false;
        }
        if (checkPairs && i > 0) {
            std::int8_t& alike = composer.pairs[std::size_t(
                composableIndex(text[i - 1].unicode()) * kComposable + composableIndex(c))];
            if (alike == 0) {
                TextGlyphs two;
                const QString both = text.mid(i - 1, 2).toString();
                alike =
                    compose(font, composer, both, false, two) && sameGlyphs(two, layOut(font, both))
                        ? kAlike
                        : kNotAlike;
            }
            if (alike == kNotAlike) {
                return false;
            }
        }
        const std::int64_t wholeX = floorDiv(x, 64);
        const std::int64_t wholeY = floorDiv(p.y, 64);
        if (wholeX >= (1 << 24)) {
            return false;
        }
        if (p.generation != m_generation) {
            p.pictures.fill(nullptr);
            p.generation = m_generation;
        }
        const GlyphPicture*& kept = p.pictures[std::size_t(x - wholeX * 64)];
        if (!kept) {
            kept = &this->picture(p.face, p.faceKey, p.glyph, int(x - wholeX * 64),
                                  int(p.y - wholeY * 64));
        }
        const GlyphPicture& picture = *kept;
        if (!picture.usable) {
            return false;
        }
        place(laid, picture, int(wholeX), int(wholeY));
        x += p.advance;
    }
    laid.usable = true;
    // Pairs alike make a longer text alike where shaping looks no further than a neighbour:
    // the first texts of each font are checked against their layout all the same.
    constexpr int kChecked = 16;
    if (checkPairs && text.size() > 2 && composer.checked < kChecked) {
        ++composer.checked;
        if (!sameGlyphs(laid, layOut(font, text.toString()))) {
            composer.broken = true;
            return false;
        }
    }
    return true;
}

const GlyphPicture& TextGlyphCache::picture(const QRawFont& face, const QString& faceKey,
                                            std::uint32_t glyph, int fractionX, int fractionY)
{
    GlyphKey key{faceKey, glyph, std::uint16_t((fractionX << 8) | fractionY)};
    if (const auto it = m_pictures.find(key); it != m_pictures.end()) {
        return it->second;
    }
    GlyphPicture made = drawGlyph(face, glyph, fractionX, fractionY);
    m_runs += made.runs.size();
    return m_pictures.emplace(std::move(key), std::move(made)).first->second;
}

} // namespace koyomi::render
