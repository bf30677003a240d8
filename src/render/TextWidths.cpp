#include "render/TextWidths.h"

#include <QRect>

#include <algorithm>
#include <climits>

namespace koyomi::render {

TextWidths::TextWidths(const QFont& font)
    : m_metrics(font), m_glyph(std::max({m_metrics.maxWidth(), m_metrics.height(), 1})),
      m_ascent(m_metrics.ascent())
{
    m_ascii.fill(-1);
}

long long TextWidths::of(QStringView text)
{
    long long width = 0;
    for (const QChar c : text) {
        // Labels are mostly digits, each measured once: found in the table without a call.
        const long long known = c.unicode() < m_ascii.size() ? m_ascii[c.unicode()] : -1;
        width += known >= 0 ? known : ofChar(c);
    }
    return width;
}

std::optional<QRect> TextWidths::inkOf(const QString& text) const
{
    for (const char32_t c : QStringView(text).toUcs4()) {
        if (QChar::isMark(c)) {
            return std::nullopt;
        }
    }
    return m_metrics.tightBoundingRect(text)
        .translated(0, m_metrics.ascent())
        .adjusted(-1, -1, 1, 1);
}

template <class BoxOf>
std::optional<TextWidths::Overhang> TextWidths::overhangOf(QStringView text, BoxOf boxOf) const
{
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const long long ascent = m_ascent;
    Overhang o{0, LLONG_MAX, LLONG_MIN};
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E) {
            return std::nullopt;
        }
        const QRect& box = boxOf(c);
        o.left = std::max<long long>(o.left, -box.left());
        o.top = std::min<long long>(o.top, ascent + box.top());
        o.bottom = std::max<long long>(o.bottom, ascent + box.bottom());
    }
    return Overhang{o.left + 1, o.top - 1, o.bottom + 1};
}

std::optional<TextWidths::Overhang> TextWidths::asciiOverhang(QStringView text)
{
    return overhangOf(text, [this](QChar c) -> const QRect& {
        ofChar(c);
        return m_asciiBox[c.unicode()];
    });
}

std::optional<TextWidths::Ink> TextWidths::asciiInk(QStringView text)
{
    if (text.isEmpty()) {
        return std::nullopt;
    }
    long long left = 0;
    long long top = LLONG_MAX;
    long long bottom = LLONG_MIN;
    long long width = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u > 0x7E) {
            return std::nullopt;
        }
        CharInk& ink = m_asciiInk[u];
        if (!ink.known) {
            const QRect box = m_metrics.boundingRect(c);
            ink = CharInk{box.left(), box.top(), box.bottom(), true};
        }
        left = std::max<long long>(left, -ink.left);
        top = std::min<long long>(top, m_ascent + ink.top);
        bottom = std::max<long long>(bottom, m_ascent + ink.bottom);
        const long long known = m_ascii[u];
        width += known >= 0 ? known : ofChar(c);
    }
    return Ink{Overhang{left + 1, top - 1, bottom + 1}, width};
}

// How wide one character can draw: its advance or its glyph's box, whichever reaches further
// (a fallback font's glyph where the font has none). Half of a surrogate pair counts a whole
// glyph of the widest kind.
long long TextWidths::ofChar(QChar c)
{
    if (c.isSurrogate()) {
        return 2 * m_glyph;
    }
    long long* const known = c.unicode() < m_ascii.size() ? &m_ascii[c.unicode()] : nullptr;
    if (known && *known >= 0) {
        return *known;
    }
    if (const auto it = m_others.constFind(c.unicode()); it != m_others.constEnd()) {
        return *it;
    }
    const QString one(c);
    const QRect box = m_metrics.boundingRect(one);
    const long long width = std::max<long long>(m_metrics.horizontalAdvance(one), box.right() + 1) +
                            std::max(0, -box.left());
    if (known) {
        *known = width;
        m_asciiBox[c.unicode()] = box;
    } else {
        m_others.insert(c.unicode(), width);
    }
    return width;
}

} // namespace koyomi::render
