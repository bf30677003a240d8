#include "figures/fractiontiles/FractionTiles.h"
#include "CanvasProbe.h"
#include "figures/Drawn.h"
#include "figures/WindowProbe.h"
#include "render/Palette.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <random>

using namespace koyomi::figures;
using namespace koyomi::render;
using koyomi::test::columnString;
using koyomi::test::countColor;
using koyomi::test::rowString;

// An 800 × 570 window: the default tile spans x 350 … 450 and y 210 … 360.
using koyomi::test::Drawn;

namespace {

// Only the lines under test: the sides are switched off.
FractionTilesParams withoutSides()
{
    FractionTilesParams p = FractionTilesParams::defaults(false);
    for (LineSetting* l : {&p.topSide, &p.bottomSide, &p.leftSide, &p.rightSide}) {
        l->kind = kNoLineIndex;
    }
    return p;
}

// Only the ticks: sides and division lines switched off.
FractionTilesParams ticksOnly()
{
    FractionTilesParams p = withoutSides();
    p.hDivisions.kind = kNoLineIndex;
    p.vDivisions.kind = kNoLineIndex;
    return p;
}

} // namespace

TEST(FractionTiles, DefaultsAreOneTileWithFourSides)
{
    const Drawn d(FractionTilesParams::defaults(false));
    EXPECT_EQ(rowString(d.canvas, 250, 340, 460),
              std::string(10, '.') + "#" + std::string(99, '.') + "#" + std::string(9, '.'));
    EXPECT_EQ(rowString(d.canvas, 210, 349, 351), ".#");
    EXPECT_EQ(rowString(d.canvas, 360, 448, 452).find('#'), 0u);
    EXPECT_EQ(countColor(d.canvas, kWhite), countColor(d.canvas, kWhite, 349, 209, 452, 362));
}

TEST(FractionTiles, PartsAreEqualUpToTheStepAndTheLastTakesTheRest)
{
    // Four parts down: lines 37, 74 and 111 below the top; the last part is 39 high.
    FractionTilesParams p = withoutSides();
    p.partsDown = 4;
    const Drawn down(p);
    EXPECT_EQ(columnString(down.canvas, 400, 200, 370),
              std::string(47, '.') + "#" + std::string(36, '.') + "#" + std::string(36, '.') + "#" +
                  std::string(48, '.'));
    // Four across and two down: eight equal parts.
    p.partsAcross = 4;
    p.partsDown = 2;
    const Drawn eight(p);
    EXPECT_EQ(rowString(eight.canvas, 250, 350, 450),
              std::string(25, '.') + "#" + std::string(24, '.') + "#" + std::string(24, '.') + "#" +
                  std::string(24, '.'));
    EXPECT_EQ(rowString(eight.canvas, 285, 351, 449), std::string(98, '#'));
    // Parts across of one or below: no vertical lines.
    for (const int q : {1, 0, -3}) {
        p.partsDown = 1;
        p.partsAcross = q;
        EXPECT_EQ(countColor(Drawn(p).canvas, kWhite), 0) << q;
    }
}

TEST(FractionTiles, TicksStartAtTheTopEdgeAndNeedParts)
{
    // Three parts down, left ticks 10 long: at 0, 50 and 100 below the top, none at the
    // bottom edge; they mark the points with the division lines switched off.
    FractionTilesParams p = ticksOnly();
    p.partsDown = 3;
    p.tickPosition = int(TickSides::Left);
    const Drawn left(p);
    for (const int y : {210, 260, 310}) {
        EXPECT_EQ(rowString(left.canvas, y, 348, 362), ".." + std::string(10, '#') + "..") << y;
    }
    EXPECT_EQ(countColor(left.canvas, kWhite), 30);
    // One part: the single tick at the top edge.
    p.partsDown = 1;
    EXPECT_EQ(countColor(Drawn(p).canvas, kWhite, 350, 210, 360, 211), 10);
    EXPECT_EQ(countColor(Drawn(p).canvas, kWhite), 10);
    // Top ticks with one part across: none, whatever the parts down.
    p.partsDown = 5;
    p.tickPosition = int(TickSides::Top);
    EXPECT_EQ(countColor(Drawn(p).canvas, kWhite), 0);
    // All four sides: right ticks point left into the tile, bottom ticks up.
    p.tickPosition = int(TickSides::All);
    p.partsDown = 2;
    p.partsAcross = 2;
    const Drawn all(p);
    EXPECT_EQ(countColor(all.canvas, kWhite, 440, 285, 451, 286), 10);
    EXPECT_EQ(countColor(all.canvas, kWhite, 400, 350, 401, 361), 10);
}

TEST(FractionTiles, TouchingTilesDrawTheSecondOverTheFirst)
{
    FractionTilesParams p = FractionTilesParams::defaults(false);
    p.countAcross = 2;
    p.gapAcross = 0;
    p.rightSide.color = kRedIndex;
    p.leftSide.color = 9;
    const Drawn d(p);
    // Tiles at x 300 … 400 and 400 … 500: the second one's left side covers the first's right.
    EXPECT_EQ(d.canvas.pixel(400, 250), PaletteColor[9].color);
    EXPECT_EQ(d.canvas.pixel(500, 250), PaletteColor[kRedIndex].color);
}

TEST(FractionTiles, SkippingWhatIsOutsideTheWindowChangesNoPixel)
{
    FractionTilesParams p = FractionTilesParams::defaults(false);
    p.tileWidth = 60;
    p.tileHeight = 40;
    p.countAcross = 9;
    p.gapAcross = 10;
    p.countDown = 8;
    p.gapDown = 6;
    p.partsDown = 3;
    p.partsAcross = 4;
    p.tickPosition = int(TickSides::All);
    p.tickLength = 12;
    p.vDivisions = LineSetting{1, 2, kRedIndex};
    p.ticks = LineSetting{0, 3, 4};
    Canvas small(250, 160);
    koyomi::test::expectWindowMatchesLargeCanvas(
        small, 300, [&](Canvas& c, const Frame& f) { drawFractionTiles(c, p, f); });
    EXPECT_GT(countColor(small, kWhite), 0);
}

TEST(FractionTiles, FilledStrokesGiveThePictureOfDrawingEveryLine)
{
    // Solid and patterned lines of every width, parts down to a pixel, ticks either way on
    // every side, tiles overlapping and cut by every edge.
    std::mt19937 rng(9);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto line = [&] {
        return LineSetting{pick(0, 2) == 0 ? pick(1, 4) : 0, pick(1, 5), pick(0, 15)};
    };
    for (int n = 0; n < 200; ++n) {
        FractionTilesParams p = FractionTilesParams::defaults(n % 2 == 0);
        p.tileWidth = pick(-20, 120);
        p.tileHeight = pick(-20, 120);
        p.partsAcross = pick(0, 60);
        p.partsDown = pick(0, 60);
        p.countAcross = pick(1, 4);
        p.countDown = pick(1, 4);
        p.gapAcross = pick(-60, 30);
        p.gapDown = pick(-60, 30);
        p.tickPosition = pick(0, 7);
        p.tickLength = pick(-15, 30);
        for (LineSetting* l : {&p.topSide, &p.bottomSide, &p.leftSide, &p.rightSide, &p.hDivisions,
                               &p.vDivisions, &p.ticks}) {
            *l = line();
        }
        const int w = pick(1, 200);
        const int h = pick(1, 160);
        const Frame frame{pick(-100, 300), pick(-100, 250), n % 2 == 0};
        Canvas filled(w, h);
        Canvas stroked(w, h);
        drawFractionTiles(filled, p, frame);
        drawFractionTilesStrokeByStroke(stroked, p, frame);
        ASSERT_EQ(filled.image(), stroked.image())
            << "case " << n << ": tile " << p.tileWidth << "×" << p.tileHeight << " parts "
            << p.partsAcross << "×" << p.partsDown << " ticks " << p.tickPosition << "/"
            << p.tickLength << " canvas " << w << "×" << h;
    }
}

// Families of more than sixteen equal strokes are painted from a stamp of one; sixteen and
// fewer are stroked. At the edge, in every line kind and width, with ticks either way on
// every side and tiles over each other cut by the window: the picture of stroking each.
TEST(FractionTiles, FamiliesPaintedFromAStampAtTheirEdgeGiveThePictureOfEveryStroke)
{
    int n = 0;
    for (const int parts : {17, 18}) {
        for (int kind = 0; kind <= 4; ++kind) {
            for (const int width : {1, 2, 5}) {
                FractionTilesParams p = FractionTilesParams::defaults(n % 2 == 0);
                p.tileWidth = 90 + n % 7;
                p.tileHeight = 70 - n % 5;
                p.partsAcross = parts;
                p.partsDown = parts + 1 - 2 * (n % 2);
                p.countAcross = 2;
                p.countDown = 2;
                p.gapAcross = -40;
                p.gapDown = 3;
                p.tickPosition = n % 8;
                p.tickLength = n % 3 == 0 ? -12 : 9;
                for (LineSetting* l : {&p.topSide, &p.bottomSide, &p.leftSide, &p.rightSide,
                                       &p.hDivisions, &p.vDivisions, &p.ticks}) {
                    *l = LineSetting{kind, width, 2 + (n + int(l - &p.topSide)) % 9};
                }
                const Frame frame{150 + n, 110 - n, n % 2 == 0};
                Canvas painted(140, 100);
                Canvas stroked(140, 100);
                drawFractionTiles(painted, p, frame);
                drawFractionTilesStrokeByStroke(stroked, p, frame);
                ASSERT_EQ(painted.image(), stroked.image())
                    << parts << " parts, kind " << kind << ", width " << width;
                ++n;
            }
        }
    }
}

// Tiles crowded over each other (stacked a pixel apart, or side by side closer than they
// reach) are drawn once and pasted: the picture of drawing every tile where it stands, in
// order, with dashed ticks and divisions cut by the window.
TEST(FractionTiles, CrowdedTilesPastedGiveThePictureOfEveryTile)
{
    for (const auto& [across, down, gapAcross, gapDown] :
         {std::array{1, 40, 0, 0}, std::array{30, 2, -58, 7}, std::array{12, 12, -50, -20}}) {
        FractionTilesParams p = FractionTilesParams::defaults(across % 2 == 0);
        p.tileWidth = 60;
        p.tileHeight = down == 40 ? 1 : 30;
        p.partsAcross = 20;
        p.partsDown = 3;
        p.countAcross = across;
        p.countDown = down;
        p.gapAcross = gapAcross;
        p.gapDown = gapDown;
        p.tickPosition = 7;
        p.tickLength = 10;
        int n = 0;
        for (LineSetting* l : {&p.topSide, &p.bottomSide, &p.leftSide, &p.rightSide, &p.hDivisions,
                               &p.vDivisions, &p.ticks}) {
            *l = LineSetting{1 + n % 4, 1 + n % 3, 2 + n};
            ++n;
        }
        const Frame frame{130, 90, across % 2 == 0};
        Canvas pasted(110, 80);
        Canvas drawn(110, 80);
        drawFractionTiles(pasted, p, frame);
        drawFractionTilesStrokeByStroke(drawn, p, frame);
        ASSERT_EQ(pasted.image(), drawn.image()) << across << "×" << down << " tiles";
    }
}
