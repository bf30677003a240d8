// How wide texts can draw in one font, from the widths of their characters: a bound for
// leaving out labels the window cannot show without laying each one out.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QRect>
#include <QStringView>

#include <array>
#include <optional>

namespace koyomi::render {

class TextWidths
{
public:
    explicit TextWidths(const QFont& font);

    // At least how far right of where it is drawn the pixels of `text` can reach; they can
    // also lie up to glyph() further either way (shaping may move characters a little).
    long long of(QStringView text);
    // The font's widest glyph or its line height, whichever is more.
    long long glyph() const { return m_glyph; }
    // Where the pixels of `text` lie when Canvas::textOut draws it at (0, 0) (its line's top
    // there): the bounds of its laid-out glyphs, a pixel wider each way. Exact where of() is
    // only a bound, but it lays the text out. Nothing for a text with a combining mark: the
    // painter's bounds leave marks out, and stacked accents stand far above the line, a mark
    // before any letter left of where the text starts.
    std::optional<QRect> inkOf(const QString& text) const;

    // Where the pixels of a text of printable ASCII (digits, Latin letters, signs) can lie,
    // from its characters' own glyphs: the painter lays such a text out glyph after glyph,
    // moving none up or down, nor back past where the text starts. How far left of where it
    // is drawn, and from how far above to how far below its line's top, a pixel more each
    // way; nothing for any other text, which only inkOf() can tell.
    struct Overhang
    {
        long long left;
        long long top;
        long long bottom;
    };
    std::optional<Overhang> asciiOverhang(QStringView text);
    // The same from the ink of each character's glyph (its tight box), not its line: rows
    // above and below the glyphs of a short number are left out; with the text's width
    // (of()), found in the same pass.
    struct Ink
    {
        Overhang overhang;
        long long width;
    };
    std::optional<Ink> asciiInk(QStringView text);

private:
    long long ofChar(QChar c);
    // A character's box from its baseline origin (known false until it is measured).
    struct CharInk
    {
        int left = 0;
        int top = 0;
        int bottom = 0;
        bool known = false;
    };
    // The overhang and width of a text of printable ASCII from each character's box (boxOf),
    // in one pass over its characters.
    template <class BoxOf> std::optional<Ink> inkOf(QStringView text, BoxOf boxOf);

    QFontMetrics m_metrics;
    long long m_glyph;
    long long m_ascent; // asked of the metrics once: each time cost more than the rest
    std::array<long long, 128> m_ascii;  // −1 until measured
    std::array<CharInk, 128> m_asciiBox; // each glyph's box with its advance, measured with it
    // Its tight box, once asked for: a label's characters are looked up here, thousands of
    // labels a drawing.
    std::array<CharInk, 128> m_asciiInk;
    QHash<char16_t, long long> m_others;
};

} // namespace koyomi::render
