// One line setting of a figure: the line kind, width and colour chosen together on a row of
// its page.
#pragma once

#include "render/Palette.h"

#include <initializer_list>
#include <span>

namespace koyomi::figures {

struct LineSetting
{
    int kind = 0;  // index into LineStyle
    int width = 1; // pixels
    int color = 0; // index into PaletteColor; −1 = none selected
};

// Whether these lines and the text colour each name their own colour and kind. A setting
// with none selected takes what was drawn before it, so copies of a figure drawn one after
// another can differ; with all of them named, every copy draws the same picture.
inline bool namesAllItsOwn(std::span<const LineSetting* const> lines, int textColor)
{
    auto palette = [](int i) { return i >= 0 && i < int(render::PaletteColor.size()); };
    auto kind = [](int i) { return i >= 0 && i < int(render::LineStyle.size()); };
    for (const LineSetting* l : lines) {
        if (!palette(l->color) || !kind(l->kind)) {
            return false;
        }
    }
    return palette(textColor);
}

inline bool namesAllItsOwn(std::initializer_list<const LineSetting*> lines, int textColor)
{
    return namesAllItsOwn(std::span(lines.begin(), lines.size()), textColor);
}

} // namespace koyomi::figures
