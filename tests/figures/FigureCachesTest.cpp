#include "figures/FigureCaches.h"
#include "figures/circle/Circle.h"
#include "figures/graphpaper/GraphPaper.h"
#include "figures/grid/Grid.h"
#include "figures/numberline/NumberLine.h"
#include "figures/tawara/Tawara.h"
#include "render/Palette.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace koyomi::figures;
using namespace koyomi::render;

// What the figures keep from one drawing to the next changes no pixel: drawings that share
// one set of caches, as the window's redraws do (other figures and other settings in
// between, so that what is kept was made for something else), each give the picture of the
// same drawing made with nothing kept.
TEST(FigureCaches, DrawingsThatShareCachesDrawWhatEachDrawsAlone)
{
    using Draw = std::function<void(Canvas&, const Frame&, FigureCaches*)>;
    std::vector<Draw> drawings;
    for (const int size : {3, 5, 3}) {
        GridParams grid = GridParams::defaults(false);
        grid.markShape = int(GridMark::Filled);
        grid.markSize = size;
        drawings.push_back(
            [grid](Canvas& c, const Frame& f, FigureCaches* k) { drawGrid(c, grid, f, k); });

        CircleParams circle = CircleParams::defaults(false);
        circle.divisions = 12 + size;
        circle.edgeMark = int(CircleMark::Dot);
        circle.edgeMarkSize = size;
        circle.sub1.division = size;
        circle.startPosition = size % 4;
        drawings.push_back(
            [circle](Canvas& c, const Frame& f, FigureCaches* k) { drawCircle(c, circle, f, k); });

        NumberLineParams line = NumberLineParams::defaults(false);
        line.tickShape = int(NumberTick::Dot);
        line.tickLength = size;
        drawings.push_back(
            [line](Canvas& c, const Frame& f, FigureCaches* k) { drawNumberLine(c, line, f, k); });

        TawaraParams pile = TawaraParams::defaults(false);
        pile.pieceSize = 10 * size;
        pile.rowCount = 4;
        drawings.push_back(
            [pile](Canvas& c, const Frame& f, FigureCaches* k) { drawTawara(c, pile, f, k); });

        GraphPaperParams paper = GraphPaperParams::defaults(false);
        paper.numberingOn = true;
        paper.numberText = size == 3 ? QStringLiteral("1,2,3,4") : QStringLiteral("a,\"b,c\",d");
        drawings.push_back([paper](Canvas& c, const Frame& f, FigureCaches* k) {
            drawGraphPaper(c, paper, f, k);
        });
    }
    // A grid's filled marks of size 5, then a number line's borderless dots of length 1 (line
    // kind "なし"): each figure's stamps are its own, whatever its numbers.
    GridParams grid = GridParams::defaults(false);
    grid.markShape = int(GridMark::Filled);
    grid.markSize = 5;
    drawings.push_back(
        [grid](Canvas& c, const Frame& f, FigureCaches* k) { drawGrid(c, grid, f, k); });
    NumberLineParams dots = NumberLineParams::defaults(false);
    dots.tickShape = int(NumberTick::Dot);
    dots.tickLength = 1;
    dots.ticks.kind = kNoLineIndex;
    drawings.push_back(
        [dots](Canvas& c, const Frame& f, FigureCaches* k) { drawNumberLine(c, dots, f, k); });

    FigureCaches shared;
    const Frame frame{400, 300, false};
    for (std::size_t i = 0; i < drawings.size(); ++i) {
        Canvas kept(400, 300);
        Canvas alone(400, 300);
        drawings[i](kept, frame, &shared);
        drawings[i](alone, frame, nullptr);
        EXPECT_EQ(kept.image(), alone.image()) << i;
    }
}
