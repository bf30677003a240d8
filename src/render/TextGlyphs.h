#pragma once

#include "render/PixelRuns.h"

#include <QHash>
#include <QRawFont>
#include <QString>

#include <array>
#include <optional>

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

class QFont;

namespace koyomi::render {

// The pixels one glyph of one face and size covers, drawn with its pen position a fraction of
// a pixel (in 64ths) right of and below a pixel's corner: runs relative to that pixel. Glyphs
// are drawn without antialiasing, and the painter places a glyph moved by whole pixels on the
// pixels moved by as much, so a glyph covers the same pixels wherever it is drawn at the same
// fraction. (Glyphs above 64 pixels, which the painter fills as outlines, now and then cover a
// pixel more or less on an edge when moved: they are painted as drawn at one place, so that a
// text the window's edge cuts shows what a larger window shows.)
struct GlyphPicture
{
    std::vector<PixelRun> runs;
    // The rows and columns the runs span, relative to the same pixel; none when bottom < top.
    int top = 0;
    int bottom = -1;
    int left = 0;
    int right = -1;
    // The runs as bits, made when the glyph is first gathered with others (Canvas's union of
    // texts).
    mutable std::optional<BitPicture> bits;
    // False when the glyph cannot be kept as pixels of one colour (a colour picture, a glyph
    // larger than kept pictures, or one that reaches past the picture it was drawn on).
    bool usable = false;
};

// A text laid out in one font, as glyph pictures placed relative to its baseline's origin.
struct TextGlyphs
{
    struct Placed
    {
        const GlyphPicture* picture;
        int dx;
        int dy;
    };
    std::vector<Placed> glyphs;
    // The rows and columns all glyphs span, relative to the baseline's origin.
    int top = 0;
    int bottom = -1;
    int left = 0;
    int right = -1;
    // Whether the glyphs stand left to right (each placed no further left than the one before),
    // and how far any glyph's pixels lie left and right of where it is placed: the glyphs of
    // a long text that reach a small window are then found by halving.
    bool ordered = true;
    int glyphLeft = 0;
    int glyphRight = 0;
    // False when the painter is to draw the text itself: a glyph that cannot be kept, a
    // glyph placed between 64ths of a pixel, a line separator, or a text too long to keep;
    // or a text met once and not laid out yet (`metOnce`).
    bool usable = false;
    bool metOnce = false;
};

// Texts drawn on any canvas of a thread, as the glyphs they are laid out in, and the pictures
// of those glyphs. The painter lays out a text anew at every drawing and, for glyphs larger
// than its own glyph images, loads and fills every glyph's outline: a label of 100 points
// cost a millisecond even where the window showed none of it. Here a text is laid out once
// and each glyph of a face and size drawn once; drawing a text again paints the pixels of
// just the glyphs that reach the canvas.
class TextGlyphCache
{
public:
    // The text laid out in the font (named by Canvas's font key); `laidOut` tells whether it
    // was laid out now rather than found. A text met for the first time is laid out only when
    // `layOutNew`; else it is noted as met once and laid out when met again. The reference
    // holds until the next call.
    const TextGlyphs& of(const QFont& font, const QString& fontKey, QStringView text,
                         bool layOutNew, bool& laidOut);

private:
    struct GlyphKey
    {
        QString face; // family, style and pixel size of the face the glyph comes from
        std::uint32_t glyph;
        std::uint16_t fraction; // 64ths of a pixel right (high byte) and below (low byte)
        bool operator==(const GlyphKey&) const = default;
    };
    struct GlyphKeyHash
    {
        std::size_t operator()(const GlyphKey& k) const
        {
            return qHash(k.face, std::size_t(k.glyph) * 65536 + k.fraction);
        }
    };

    TextGlyphs layOut(const QFont& font, const QString& text);

    // Numbers, laid out glyph after glyph from the characters they are made of: thousands of
    // labels, each met once, cost a lookup a character instead of a layout each (the painter
    // draws a text met once, at several microseconds). Only where laying out each pair of
    // neighbours gives the same glyphs at the same places: no kerning, no ligature.
    struct Piece
    {
        bool known = false;
        bool usable = false;
        QRawFont face;
        QString faceKey;
        std::uint32_t glyph = 0;
        std::int64_t advance = 0; // 64ths of a pixel
        std::int64_t y = 0;       // 64ths of a pixel below the baseline
        // Its pictures at each 64th right of a pixel, while the pictures kept are those of
        // `generation`.
        std::array<const GlyphPicture*, 64> pictures{};
        std::uint64_t generation = 0;
    };
    // Characters of numbers and of the signs written with them: the only ones composed.
    static constexpr int kComposable = 17;
    static constexpr std::int8_t kAlike = 1;
    static constexpr std::int8_t kNotAlike = 2;
    struct Composer
    {
        // By the characters composed (composableIndex), looked up for every label.
        std::array<Piece, kComposable> pieces;
        // Whether a pair of them is laid out as its two pieces: 0 not known yet, then
        // kAlike or kNotAlike.
        std::array<std::int8_t, kComposable * kComposable> pairs{};
        int checked = 0;     // longer texts checked against their layout
        bool broken = false; // one was not alike: every text of the font is laid out
    };
    bool compose(const QFont& font, Composer& composer, QStringView text, bool checkPairs,
                 TextGlyphs& laid);
    Piece& piece(const QFont& font, Composer& composer, char16_t c);
    QHash<QString, Composer> m_composers;
    Composer* m_composer = nullptr; // that of the font asked for last
    TextGlyphs m_composed;          // the text composed last
    std::uint64_t m_generation = 1; // counts the times the pictures kept were let go
    const GlyphPicture& picture(const QRawFont& face, const QString& faceKey, std::uint32_t glyph,
                                int fractionX, int fractionY);

    // Bounded memory: past either limit everything kept starts again from none.
    static constexpr std::size_t kMaxRuns = std::size_t(1) << 20;    // of glyphs and placings
    static constexpr std::size_t kMaxEntries = std::size_t(1) << 16; // of texts and glyphs
    QHash<QString, QHash<QString, TextGlyphs>> m_byFont;
    QHash<QString, TextGlyphs>* m_font = nullptr; // the texts of the font asked for last
    QString m_fontKey;
    std::unordered_map<GlyphKey, GlyphPicture, GlyphKeyHash> m_pictures;
    std::size_t m_texts = 0;
    std::size_t m_runs = 0;
};

} // namespace koyomi::render
