// One line setting of a figure: the line kind, width and colour chosen together on a row of
// its page.
#pragma once

namespace koyomi::figures {

struct LineSetting
{
    int kind = 0;  // index into LineStyle
    int width = 1; // pixels
    int color = 0; // index into PaletteColor; −1 = none selected
};

} // namespace koyomi::figures
