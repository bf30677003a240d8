// Fraction tiles: equal rectangles cut into equal parts by division lines, with ticks at the
// division points on chosen sides, repeated in columns and rows.
#pragma once

#include "figures/LineSetting.h"
#include "render/Canvas.h"
#include "render/Frame.h"

namespace koyomi::figures {

// The sides that carry ticks, in the selector's item order.
enum class TickSides
{
    Left = 0,      // "左"
    Right = 1,     // "右"
    LeftRight = 2, // "左右"
    Top = 3,       // "上"
    Bottom = 4,    // "下"
    TopBottom = 5, // "上下"
    All = 6,       // "左右上下"
    None = 7,      // "なし"
};

// Every value the fraction tiles renderer reads, as the page's fields hold them.
struct FractionTilesParams
{
    int tileHeight{};
    int tileWidth{};
    int countAcross{};
    int gapAcross{};
    int countDown{};
    int gapDown{};
    int partsDown{};
    int partsAcross{};
    int tickPosition{};
    int tickLength{};
    LineSetting topSide, bottomSide, leftSide, rightSide;
    LineSetting hDivisions, vDivisions;
    LineSetting ticks;

    // The defaults of a fresh page: white on black, black on white.
    static FractionTilesParams defaults(bool whiteBackground);
};

// Draws the whole figure over the canvas. Tiles and lines wholly outside the canvas are
// skipped, and lines that coincide are drawn once.
void drawFractionTiles(render::Canvas& canvas, const FractionTilesParams& params,
                       const render::Frame& frame);

// The same picture with every line drawn through the dash walk, one by one: what
// drawFractionTiles must equal.
void drawFractionTilesStrokeByStroke(render::Canvas& canvas, const FractionTilesParams& params,
                                     const render::Frame& frame);

} // namespace koyomi::figures
