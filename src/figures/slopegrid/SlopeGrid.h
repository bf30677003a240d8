// The slanted (isometric) grid: vertical lines and two families of lines at 30° to the
// horizontal over the whole window, anchored at its top-left corner.
#pragma once

#include "render/Canvas.h"
#include "render/Frame.h"

namespace koyomi::figures {

// Every value the slanted grid renderer reads, as the page's fields hold them.
struct SlopeGridParams
{
    int spacing{};   // d: between neighbouring lines of one slanted family, along the top
    int lineKind{};  // index into LineStyle
    int lineWidth{}; // w: lines are w one-pixel lines side by side, thickened to the right
    int lineColor{}; // index into PaletteColor

    // The defaults of a fresh page: white lines on black, black lines on white.
    static SlopeGridParams defaults(bool whiteBackground);
};

// The numbers that place the lines: q extends the slanted families beyond the window's
// sides, r counts the spacings across it, run is how far a slanted line goes across while
// it goes down the window's height. Round is to nearest, halves to even.
struct SlopeGridLayout
{
    long long q = 0;
    long long r = 0;
    long long run = 0;
};
SlopeGridLayout slopeGridLayout(int spacing, int width, int height);

// Draws the whole figure over the canvas, at a cost that follows the window, however many
// lines cross it.
void drawSlopeGrid(render::Canvas& canvas, const SlopeGridParams& params,
                   const render::Frame& frame);

// The same picture drawn line by line, in the figure's order: what drawSlopeGrid must equal.
void drawSlopeGridLineByLine(render::Canvas& canvas, const SlopeGridParams& params,
                             const render::Frame& frame);

} // namespace koyomi::figures
