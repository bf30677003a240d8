#include "figures/tawara/Tawara.h"
#include "CanvasProbe.h"
#include "Watchdog.h"
#include "figures/Drawn.h"
#include "figures/WindowProbe.h"
#include "render/Palette.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

using namespace koyomi::figures;
using namespace koyomi::render;
using koyomi::test::countColor;
using koyomi::test::rowString;

// An 800 × 570 window: the single pile's reference point is (400, 285).
using koyomi::test::Drawn;

namespace {

TawaraParams pile(TawaraShape shape, TawaraOrientation apex, int rows)
{
    TawaraParams p = TawaraParams::defaults(false);
    p.pieceShape = int(shape);
    p.orientation = int(apex);
    p.rowCount = rows;
    return p;
}

} // namespace

TEST(Tawara, DefaultsStackOneCircleInTheHollowOfTwo)
{
    const TawaraParams p = TawaraParams::defaults(false);
    // Row tops: cy − 30 − 60 + nearest(51.961524) and … + nearest(103.923048).
    EXPECT_EQ(tawaraRowTop(p, 285, 1), 285 - 38);
    EXPECT_EQ(tawaraRowTop(p, 285, 2), 285 + 14);
    const Drawn drawing(p);
    const Canvas& c = drawing.canvas;
    // Three boxes of 60: the top one from x = 370, the lower ones from 340 and 400.
    const int inTop = countColor(c, kWhite, 370, 247, 431, 308);
    const int inLeft = countColor(c, kWhite, 340, 299, 401, 360);
    const int inRight = countColor(c, kWhite, 400, 299, 461, 360);
    EXPECT_GT(inTop, 150);
    EXPECT_GT(inLeft, 150);
    EXPECT_GT(inRight, 150);
    // Nothing outside the three boxes; the lower circles mirror each other's count.
    EXPECT_EQ(countColor(c, kWhite, 0, 0, 800, 247), 0);
    EXPECT_EQ(countColor(c, kWhite, 0, 360, 800, 570), 0);
    EXPECT_EQ(countColor(c, kWhite, 0, 0, 340, 570), 0);
    EXPECT_EQ(countColor(c, kWhite, 461, 0, 800, 570), 0);
    EXPECT_EQ(countColor(c, kWhite, 340, 299, 400, 360), countColor(c, kWhite, 400, 299, 460, 360));
}

TEST(Tawara, SquaresStandEdgeOnEdgeAndApexDownMirrorsThePile)
{
    // Squares, apex up: the top square spans y = 255 … 315, the lower two 315 … 375, so the
    // upper square's bottom edge is the lower squares' top edge, from x = 340 to 460.
    const Drawn upDrawing(pile(TawaraShape::Square, TawaraOrientation::ApexUp, 2));
    const Canvas& up = upDrawing.canvas;
    EXPECT_EQ(rowString(up, 315, 339, 462), "." + std::string(121, '#') + ".");
    EXPECT_EQ(rowString(up, 255, 369, 432), "." + std::string(61, '#') + ".");
    EXPECT_EQ(countColor(up, kWhite, 0, 0, 800, 255), 0);
    EXPECT_EQ(countColor(up, kWhite, 0, 376, 800, 570), 0);
    // Apex down: the single square is the lowest row (255 + 60 … ), the pair above it.
    const TawaraParams down = pile(TawaraShape::Square, TawaraOrientation::ApexDown, 2);
    EXPECT_EQ(tawaraRowTop(down, 285, 1), 285 - 30 - 60 + 60);
    EXPECT_EQ(tawaraRowTop(down, 285, 2), 285 - 30 - 120 + 60);
    const Drawn downDrawing(down);
    const Canvas& d = downDrawing.canvas;
    EXPECT_EQ(rowString(d, 255, 339, 462), "." + std::string(121, '#') + ".");
    EXPECT_EQ(rowString(d, 315, 369, 432), "." + std::string(61, '#') + ".");
    // Circles apex down: one circle under two.
    const TawaraParams circles = pile(TawaraShape::Circle, TawaraOrientation::ApexDown, 2);
    EXPECT_EQ(tawaraRowTop(circles, 285, 1), 285 - 30 - 52 + 60);
    EXPECT_EQ(tawaraRowTop(circles, 285, 2), 285 - 30 - 104 + 60);
}

TEST(Tawara, RowCountsAndPilesSideBySide)
{
    // One row: one piece; no rows: only the background.
    const Drawn oneDrawing(pile(TawaraShape::Circle, TawaraOrientation::ApexUp, 1));
    const Canvas& one = oneDrawing.canvas;
    // Its box: y = 285 − 30 + 52 − 30 = 277, x = 400 − 30.
    EXPECT_EQ(tawaraRowTop(pile(TawaraShape::Circle, TawaraOrientation::ApexUp, 1), 285, 1), 277);
    EXPECT_EQ(countColor(one, kWhite), countColor(one, kWhite, 370, 277, 431, 338));
    EXPECT_GT(countColor(one, kWhite), 150);
    EXPECT_EQ(
        countColor(Drawn(pile(TawaraShape::Circle, TawaraOrientation::ApexUp, 0)).canvas, kWhite),
        0);
    // Two piles 210 apart about x = 400: the right one is the left one moved by 210.
    TawaraParams p = TawaraParams::defaults(false);
    p.countAcross = 2;
    const Drawn twoDrawing(p);
    const Canvas& two = twoDrawing.canvas;
    const QImage left = two.image().copy(295 - 70, 200, 140, 200);
    const QImage right = two.image().copy(505 - 70, 200, 140, 200);
    EXPECT_EQ(left, right);
    EXPECT_GT(countColor(two, kWhite, 225, 200, 365, 400), 0);
}

TEST(Tawara, SkippingWhatIsOutsideTheWindowChangesNoPixel)
{
    for (const TawaraShape shape : {TawaraShape::Circle, TawaraShape::Square}) {
        for (const TawaraOrientation apex :
             {TawaraOrientation::ApexUp, TawaraOrientation::ApexDown}) {
            TawaraParams p = pile(shape, apex, 9);
            p.pieceSize = 13;
            p.countAcross = 5;
            p.gapAcross = 7;
            p.countDown = 4;
            p.gapDown = 20;
            p.lineKind = 3;
            p.lineWidth = 3;
            Canvas small(300, 200);
            koyomi::test::expectWindowMatchesLargeCanvas(
                small, 400, [&](Canvas& c, const Frame& f) { drawTawara(c, p, f); });
            EXPECT_GT(countColor(small, kWhite), 0);
        }
    }
}

TEST(Tawara, PilesDrawnAsOneUnionGiveThePictureOfDrawingEveryPiece)
{
    // Overlapping and coinciding piles, both shapes and orientations, every line kind and
    // width, cut by every edge, on both backgrounds; now and then dozens of piles down, taller
    // than the window, whose canvas rows a pile apart meet the same rows of pieces.
    std::mt19937 rng(5);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int n = 0; n < 250; ++n) {
        TawaraParams p = TawaraParams::defaults(n % 2 == 0);
        p.pieceShape = pick(0, 1);
        p.orientation = pick(0, 1);
        p.pieceSize = pick(1, 40);
        p.rowCount = pick(1, 30);
        p.countAcross = pick(1, 6);
        const bool tall = n % 5 == 4;
        p.countDown = tall ? pick(20, 80) : pick(1, 6);
        p.gapAcross = pick(-80, 60);
        p.gapDown = tall ? pick(-2 * p.pieceSize + 1, 10) : pick(-80, 60);
        p.lineKind = pick(0, 4);
        p.lineWidth = pick(1, 5);
        p.lineColor = pick(0, 15);
        const int w = pick(1, 300);
        const int h = pick(1, 200);
        const Frame frame{pick(-100, 500), pick(-100, 400), n % 2 == 0};
        Canvas united(w, h);
        Canvas oneByOne(w, h);
        drawTawara(united, p, frame);
        drawTawaraPieceByPiece(oneByOne, p, frame);
        ASSERT_EQ(united.image(), oneByOne.image())
            << "case " << n << ": size " << p.pieceSize << " shape " << p.pieceShape << " rows "
            << p.rowCount << " piles " << p.countAcross << "+" << p.gapAcross << " / "
            << p.countDown << "+" << p.gapDown << " kind " << p.lineKind << " width " << p.lineWidth
            << " canvas " << w << "×" << h;
    }
}

TEST(Tawara, ThousandsOfOverlappingPilesEnd)
{
    // Every pile a pixel or two from the next: drawn piece by piece, seconds.
    for (const int size : {1, 100}) {
        TawaraParams p = TawaraParams::defaults(false);
        p.pieceSize = size;
        p.rowCount = 50;
        p.countAcross = p.countDown = 500;
        p.gapAcross = p.gapDown = -2 * size + 1;
        p.lineKind = 1;
        p.lineWidth = 5;
        koyomi::test::runWithWatchdog("overlapping piles", [&] { Drawn(p, 320, 200); });
    }
}

// The widest outline reaching into the window from a pile beyond its edge. One square of
// side 40 (s = 20) per pile, two piles stacked 184 apart in a 200 × 100 window: the first
// pile's reference point is at ((200) div 2, (100 − 184) div 2) = (100, −42), its square from
// y = −42 to −2. A width-5 outline covers two rows either side of its edges, so its bottom
// edge paints row 0 and nothing below; a gap of 146 puts that edge at −3, and nothing
// reaches the window. The same across: piles side by side whose first one's right edge is at
// x = −2 paint column 0.
TEST(Tawara, TheWidestOutlineReachesIntoTheWindowFromAPileBeyondItsEdge)
{
    TawaraParams p = pile(TawaraShape::Square, TawaraOrientation::ApexUp, 1);
    p.pieceSize = 20;
    p.lineWidth = 5;
    p.lineColor = kRedIndex;
    const ColorRef red = PaletteColor[kRedIndex].color;
    for (const bool edgeIn : {true, false}) {
        p.countDown = 2;
        p.gapDown = edgeIn ? 144 : 146;
        p.countAcross = 1;
        const Drawn down(p, 200, 100);
        EXPECT_EQ(down.canvas.pixel(100, 0), edgeIn ? red : kBlack);
        EXPECT_EQ(countColor(down.canvas, red, 0, 0, 200, 1) >= 40, edgeIn);
        EXPECT_EQ(countColor(down.canvas, red, 0, 1, 200, 100), 0) << edgeIn;
        // Across, two piles 244 apart: the first's reference point at (200 − 244) div 2 = −22,
        // its square's right edge at −2; the second's left edge at 202. (Gap 206: −3, 203.)
        p.countDown = 1;
        p.countAcross = 2;
        p.gapAcross = edgeIn ? 204 : 206;
        const Drawn across(p, 200, 100);
        EXPECT_EQ(across.canvas.pixel(0, 50), edgeIn ? red : kBlack);
        EXPECT_EQ(countColor(across.canvas, red, 0, 0, 1, 100) >= 40, edgeIn);
        EXPECT_EQ(countColor(across.canvas, red, 1, 0, 200, 100), 0) << edgeIn;
    }
}
