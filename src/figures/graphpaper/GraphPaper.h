// Graph paper: blocks of cells with sides, inner lines, diagonals, emphasis and cell labels.
#pragma once

#include "figures/LineSetting.h"
#include "render/Canvas.h"
#include "render/Frame.h"

#include <QString>

#include <array>

namespace koyomi::figures {

class FigureCaches;

// Emphasis of every (skip + 1)-th inner line.
struct EmphasisRow
{
    bool on{};
    int skip{};
    LineSetting line;
};

// Every value the graph paper renderer reads. Values are those of the page's fields, which
// may be out of their ranges while the teacher types.
struct GraphPaperParams
{
    int hLineCount{};   // horizontal lines of a block, sides included
    int hLineSpacing{}; // pixels between neighbouring horizontal lines
    int vLineCount{};
    int vLineSpacing{};
    int countAcross{};
    int gapAcross{}; // pixels between neighbouring blocks
    int countDown{};
    int gapDown{};

    LineSetting topSide, bottomSide, leftSide, rightSide;
    LineSetting innerHLines, innerVLines;
    LineSetting risingDiagonals;
    LineSetting fallingDiagonals;

    // HEmphasis1, HEmphasis2 (inner horizontal lines), VEmphasis1, VEmphasis2 (vertical).
    std::array<EmphasisRow, 4> emphasis;

    bool numberingOn{};
    int numberSize{}; // points
    int numberColor{};
    QString numberText; // its first line holds the comma-separated labels

    // The defaults of a fresh page: white lines on black, black lines on white.
    static GraphPaperParams defaults(bool whiteBackground);
};

enum EmphasisIndex
{
    HEmphasis1 = 0,
    HEmphasis2 = 1,
    VEmphasis1 = 2,
    VEmphasis2 = 3
};

// Draws the whole figure over the canvas. The cost follows what is visible: blocks, lines,
// diagonals and labels wholly outside the canvas are skipped. What it works out is kept in
// `caches` for the next drawing, when given.
void drawGraphPaper(render::Canvas& canvas, const GraphPaperParams& params,
                    const render::Frame& frame, FigureCaches* caches = nullptr);

// The same picture with every block drawn where it stands, none copied from another: the
// plain way, which the copies must match.
void drawGraphPaperBlockByBlock(render::Canvas& canvas, const GraphPaperParams& params,
                                const render::Frame& frame);

} // namespace koyomi::figures
