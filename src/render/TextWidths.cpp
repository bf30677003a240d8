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
std::optional<TextWidths::Ink> TextWidths::inkOf(QStringView text, BoxOf boxOf)
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
        const long long known = m_ascii[u];
        width += known >= 0 ? known : ofChar(c);
        const CharInk& box = boxOf(c);
        left = std::max<long long>(left, -box.left);
        top = std::min<long long>(top, m_ascent + box.top);
        bottom = std::max<long long>(bottom, m_ascent + box.bottom);
    }
    return Ink{Overhang{left + 1, top - 1, bottom + 1}, width};
}

std::optional<TextWidths::Overhang> TextWidths::asciiOverhang(QStringView text)
{
    // Measured by then (inkOf measures each character before its box is asked for).
    const auto ink =
        inkOf(text, [this](QChar c) -> const CharInk& { return m_asciiBox[c.unicode()]; });
    return ink ? std::optional(ink->overhang) : std::nullopt;
}

std::optional<TextWidths::Ink> TextWidths::asciiInk(QStringView text)
{
    return inkOf(text, [this](QChar c) -> const CharInk& {
        CharInk& ink = m_asciiInk[c.unicode()];
        if (!ink.known) {
            const QRect box = m_metrics.boundingRect(c);
            ink = CharInk{box.left(), box.top(), box.bottom(), true};
        }
        return ink;
    });
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
        m_asciiBox[c.unicode()] = CharInk{box.left(), box.top(), box.bottom(), true};
    } else {
        m_others.insert(c.unicode(), width);
    }
    return width;
}

} // namespace koyomi::render
