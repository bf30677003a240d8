// The tawara pile: a triangle of equal circles or squares (one in the first row, two in the
// second, …), apex up or down, repeated as a grid of piles.
#pragma once

#include "render/Canvas.h"
#include "render/Frame.h"

namespace koyomi::figures {

class FigureCaches;

enum class TawaraShape
{
    Circle = 0, // "○"
    Square = 1, // "□"
};

enum class TawaraOrientation
{
    ApexUp = 0,   // "△": row 1 at the top
    ApexDown = 1, // "▽": row 1 at the bottom
};

// Every value the tawara renderer reads, as the page's fields hold them.
struct TawaraParams
{
    int pieceSize{}; // s: a circle's radius, half a square's side
    int pieceShape{};
    int rowCount{}; // N: row r holds r pieces
    int orientation{};
    int countAcross{};
    int gapAcross{}; // between piles beyond 2s
    int countDown{};
    int gapDown{};
    int lineKind{};  // index into LineStyle
    int lineWidth{}; // pixels
    int lineColor{}; // index into PaletteColor

    // The defaults of a fresh page: white outlines on black, black outlines on white.
    static TawaraParams defaults(bool whiteBackground);
};

// The top of the box of the pieces of row r in a pile whose reference point is at height
// cy: rows of circles are nearest(s·r·1.7320508) apart from the top, squares 2s.
long long tawaraRowTop(const TawaraParams& p, long long cy, long long r);

// Draws the whole figure over the canvas. Piles, rows and pieces wholly outside the canvas
// are skipped. What it works out is kept in `caches` for the next drawing, when given.
void drawTawara(render::Canvas& canvas, const TawaraParams& params, const render::Frame& frame,
                FigureCaches* caches = nullptr);

// The same picture drawn piece by piece, in the figure's order: what drawTawara must equal.
void drawTawaraPieceByPiece(render::Canvas& canvas, const TawaraParams& params,
                            const render::Frame& frame);

} // namespace koyomi::figures
