#include "figures/slopegrid/SlopeGrid.h"
#include "CanvasProbe.h"
#include "figures/Rounding.h"
#include "render/Palette.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <random>
#include <string>

using namespace koyomi::figures;
using namespace koyomi::render;
using koyomi::test::columnString;
using koyomi::test::countColor;
using koyomi::test::rowString;

namespace {

SlopeGridParams lines(int spacing, int kind = 0, int width = 1)
{
    SlopeGridParams p = SlopeGridParams::defaults(false);
    p.spacing = spacing;
    p.lineKind = kind;
    p.lineWidth = width;
    return p;
}

// Row 0 of a window one pixel high, where every line shows just its first pixel.
std::string firstPixels(const SlopeGridParams& p, int width)
{
    Canvas c(width, 1);
    drawSlopeGrid(c, p, Frame{width, 1, false});
    return rowString(c, 0, 0, width);
}

} // namespace

TEST(SlopeGrid, DefaultsOnEightHundredByFiveHundredPlaceTheFourFamilies)
{
    const SlopeGridLayout l = slopeGridLayout(100, 800, 500);
    EXPECT_EQ(l.q, 9);
    EXPECT_EQ(l.r, 8);
    EXPECT_EQ(l.run, 866);

    Canvas c(800, 500);
    drawSlopeGrid(c, lines(100), Frame{800, 500, false});
    // The top edge: every line starts on a multiple of 50 (slanted lines on multiples of
    // 100, the half-step verticals between them), and nothing else is there.
    std::string top(800, '.');
    for (int x = 0; x < 800; x += 50) {
        top[std::size_t(x)] = '#';
    }
    EXPECT_EQ(rowString(c, 0, 0, 800), top);
    // Verticals stand at 0, 50 … 750 over the whole height.
    EXPECT_EQ(columnString(c, 50, 0, 500), std::string(500, '#'));
    EXPECT_EQ(columnString(c, 700, 0, 500), std::string(500, '#'));
    // Halfway down, the falling line from (0, 0) to (866, 500) is at x = 433, the rising
    // line from (900, 0) to (34, 500) at 467, and the window's middle row holds nothing else
    // between the verticals at 400 and 450.
    EXPECT_EQ(c.pixel(433, 250), kWhite);
    EXPECT_EQ(c.pixel(467, 250), kWhite);
    EXPECT_EQ(rowString(c, 250, 401, 450), std::string(32, '.') + "#" + std::string(16, '.'));
}

TEST(SlopeGrid, HalfStepsRoundHalvesToEvenAndLinesThickenToTheRight)
{
    // d = 7: Round(3.5) = 4; d = 5: Round(2.5) = 2.
    EXPECT_EQ(firstPixels(lines(7), 21), "#...#..#...#..#...#..");
    EXPECT_EQ(firstPixels(lines(5), 20), "#.#..#.#..#.#..#.#..");
    // Width 3: every line is three one-pixel lines side by side, rightward.
    EXPECT_EQ(firstPixels(lines(7, 0, 3), 21), "###.######.######.###");
    // Round(100 × 1.7320508) is 173 and Round(1000 ÷ 100) is 10.
    EXPECT_EQ(slopeGridLayout(100, 1000, 100).run, 173);
    EXPECT_EQ(slopeGridLayout(100, 1000, 100).r, 10);
}

TEST(SlopeGrid, NoLineKindAndSpacingsBelowOneDrawOnlyTheBackground)
{
    for (const SlopeGridParams& p :
         {lines(100, kNoLineIndex), lines(0), lines(-20), lines(100, 0, 0), lines(100, 0, -3)}) {
        Canvas c(300, 200, 0x0000FF);
        drawSlopeGrid(c, p, Frame{300, 200, false});
        EXPECT_EQ(countColor(c, kBlack), 300 * 200);
    }
}

TEST(SlopeGrid, TheUnionOfTheLinesIsThePictureOfDrawingEveryLine)
{
    std::mt19937 rng(3);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int n = 0; n < 240; ++n) {
        SlopeGridParams p = lines(n < 10 ? 1 + n % 3 : pick(1, 80), pick(0, 4), pick(1, 6));
        p.lineColor = pick(0, 11);
        const int w = pick(1, 240);
        const int h = pick(1, 160);
        // Frames wider and narrower than the canvas (the families end inside it, where a row
        // stops repeating with the spacing) and shorter (rows below the lines).
        const Frame frame{pick(1, 300), n % 3 == 0 ? pick(1, h) : h, n % 2 == 0};
        Canvas fast(w, h);
        Canvas oneByOne(w, h);
        drawSlopeGrid(fast, p, frame);
        drawSlopeGridLineByLine(oneByOne, p, frame);
        ASSERT_EQ(fast.image(), oneByOne.image())
            << "case " << n << ": d " << p.spacing << " kind " << p.lineKind << " width "
            << p.lineWidth << " canvas " << w << "×" << h << " frame width " << frame.width;
    }
}

TEST(Rounding, HalvesGoToEvenOnBothSidesOfZeroAndFarValuesAreHeld)
{
    EXPECT_EQ(roundHalfEven(2.5L), 2);
    EXPECT_EQ(roundHalfEven(3.5L), 4);
    EXPECT_EQ(roundHalfEven(-2.5L), -2);
    EXPECT_EQ(roundHalfEven(-3.5L), -4);
    EXPECT_EQ(roundHalfEven(-0.4L), 0);
    EXPECT_EQ(roundHalfEven(173.20508L), 173);
    EXPECT_EQ(roundHalfEven(4503599627370497.5L), 4503599627370498); // beyond a double's reach
    EXPECT_EQ(roundHalfEven(1e30L), 1LL << 62);
    EXPECT_EQ(roundHalfEven(-1e30L), -(1LL << 62));
    EXPECT_EQ(roundHalfEven(std::numeric_limits<long double>::quiet_NaN()), 0);
}
