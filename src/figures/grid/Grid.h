// The point grid: marks at the points of blocks of a rectangular lattice, and optionally at
// the centres of its cells.
#pragma once

#include "render/Canvas.h"
#include "render/Frame.h"

namespace koyomi::figures {

class FigureCaches;

// The shapes of the mark selector, in item order.
enum class GridMark
{
    Hollow = 0, // "○"
    Filled = 1, // "●"
    Plus = 2,   // "＋"
    Cross = 3,  // "×"
    None = 4,   // "なし"
};

// Every value the grid renderer reads. Values are those of the page's fields, which may be
// out of their ranges while the teacher types.
struct GridParams
{
    int rowCount{};      // rows of points in a block
    int rowSpacing{};    // pixels between neighbouring rows
    int columnCount{};   // points in each row
    int columnSpacing{}; // pixels between neighbouring points of a row
    int countAcross{};
    int gapAcross{};
    int countDown{};
    int gapDown{};
    int markShape{};
    int markSize{}; // half the mark's extent
    int markColor{};
    bool centreMarksOn{};

    // The defaults of a fresh page: white marks on black, black marks on white.
    static GridParams defaults(bool whiteBackground);
};

// Draws the whole figure over the canvas. The cost follows what is visible: blocks and marks
// wholly outside the canvas are skipped. What it works out is kept in `caches` for the next
// drawing, when given.
void drawGrid(render::Canvas& canvas, const GridParams& params, const render::Frame& frame,
              FigureCaches* caches = nullptr);

// The same picture drawn mark by mark, in the figure's order: what drawGrid must equal.
void drawGridMarkByMark(render::Canvas& canvas, const GridParams& params,
                        const render::Frame& frame);

} // namespace koyomi::figures
