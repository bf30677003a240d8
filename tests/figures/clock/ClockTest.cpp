#include "figures/clock/Clock.h"
#include "CanvasProbe.h"
#include "figures/Drawn.h"
#include "figures/RadialPoint.h"
#include "figures/WindowProbe.h"
#include "render/Palette.h"

#include <gtest/gtest.h>

#include <climits>

using namespace koyomi::figures;
using namespace koyomi::render;
using koyomi::test::countColor;
using koyomi::test::rowString;

// An 800 × 570 window: one face is centred at (400, 285).
using koyomi::test::Drawn;

namespace {

ClockParams bare()
{
    ClockParams p = ClockParams::defaults(false);
    p.numeralsShown = false;
    p.centreMark = int(ClockCentre::None);
    p.circumference.kind = kNoLineIndex;
    return p;
}

} // namespace

TEST(RadialPoint, RoundsUpAndPutsQuarterAndThirtyDegreeStepsExactly)
{
    // 42°: 50·sin θ = 33.46 and −50·cos θ = −37.16, both rounded up.
    EXPECT_EQ(radialPoint(0, 0, 50, 7, 60), (WidePoint{34, -37}));
    // Straight up, right, down and left.
    EXPECT_EQ(radialPoint(400, 285, 50, 0, 60), (WidePoint{400, 235}));
    EXPECT_EQ(radialPoint(400, 285, 50, 15, 60), (WidePoint{450, 285}));
    EXPECT_EQ(radialPoint(400, 285, 50, 30, 60), (WidePoint{400, 335}));
    EXPECT_EQ(radialPoint(400, 285, 50, 45, 60), (WidePoint{350, 285}));
    // 30° and 60°: the halves are exact, whatever floating point would give.
    EXPECT_EQ(radialPoint(0, 0, 50, 5, 60), (WidePoint{25, -43}));
    EXPECT_EQ(radialPoint(0, 0, 50, 10, 60), (WidePoint{44, -25}));
    EXPECT_EQ(radialPoint(0, 0, 51, 5, 60), (WidePoint{26, -44}));
    EXPECT_EQ(radialPoint(0, 0, 51, 2, 12), (WidePoint{45, -25}));
    // A negative distance points the other way; step n is step 0.
    EXPECT_EQ(radialPoint(0, 0, -20, 15, 60), (WidePoint{-20, 0}));
    EXPECT_EQ(radialPoint(0, 0, 20, 12, 12), (WidePoint{0, -20}));
}

TEST(Clock, DefaultsDrawOneFaceWithTicksDotAndNumerals)
{
    const Drawn d(ClockParams::defaults(false));
    const Canvas& c = d.canvas;
    EXPECT_EQ(c.pixel(400, 285), kWhite); // the centre dot
    // The hour tick at 12 o'clock runs inward from (400, 235) to (400, 230 + 10).
    EXPECT_EQ(c.pixel(400, 238), kWhite);
    EXPECT_NE(c.pixel(400, 243), kWhite);
    // The minute tick one step right of it runs from (406, 236) to (405, 239).
    EXPECT_EQ(radialPoint(400, 285, 50, 1, 60), (WidePoint{406, 236}));
    EXPECT_GE(countColor(c, kWhite, 405, 236, 407, 240), 2);
    // "12": its text corner is 5 pixels up-left of the radial point at distance 60.
    EXPECT_GT(countColor(c, kWhite, 395, 220, 415, 234), 10);
    EXPECT_EQ(countColor(c, kWhite, 0, 0, 800, 219), 0);
    // Nothing beyond the numerals.
    EXPECT_EQ(countColor(c, kWhite, 0, 0, 320, 570), 0);
    EXPECT_EQ(countColor(c, kWhite, 480, 0, 800, 570), 0);
}

TEST(Clock, HourStepsCarryNoMinuteGraduation)
{
    ClockParams p = bare();
    p.graduationMark = int(ClockGraduation::Dot);
    p.minuteMarkSize = 4;
    p.hourMarkSize = 2;
    const Drawn d(p);
    // At 12 o'clock only the hour dot of radius 2: nothing 4 pixels above (400, 235).
    EXPECT_EQ(d.canvas.pixel(400, 235), kWhite);
    EXPECT_NE(d.canvas.pixel(400, 231), kWhite);
    // One minute on, the minute dot of radius 4 reaches 3 pixels from its centre.
    const WidePoint m1 = radialPoint(400, 285, 50, 1, 60);
    EXPECT_EQ(d.canvas.pixel(int(m1.x), int(m1.y) - 3), kWhite);

    p.graduationMark = int(ClockGraduation::None);
    EXPECT_EQ(countColor(Drawn(p).canvas, kWhite), 0);
}

TEST(Clock, TicksAcrossAndLongerThanTheRadius)
{
    ClockParams p = bare();
    p.graduationMark = int(ClockGraduation::Across);
    p.hourMarkSize = 5;
    p.minuteMarks.kind = kNoLineIndex;
    // "╂" at 3 o'clock: from distance 55 to 45, on row 285.
    const std::string across = rowString(Drawn(p).canvas, 285, 440, 460);
    EXPECT_EQ(across.find('#'), 5u) << across;
    EXPECT_EQ(across.rfind('#'), 14u) << across; // the end point is not painted
    // "┰" longer than the radius passes the centre and ends 20 beyond it.
    p.graduationMark = int(ClockGraduation::Inward);
    p.hourMarkSize = 70;
    const Drawn longer(p);
    EXPECT_EQ(longer.canvas.pixel(385, 285), kWhite);
    EXPECT_EQ(longer.canvas.pixel(400, 300), kWhite);
}

TEST(Clock, FacesSideBySideAndLargeNumerals)
{
    ClockParams p = ClockParams::defaults(false);
    p.countAcross = 3;
    p.gapAcross = 0;
    // Three touching circles: centres 100 apart, the middle one at 400.
    const Drawn three(p);
    for (const int cx : {300, 400, 500}) {
        EXPECT_EQ(three.canvas.pixel(cx, 285), kWhite) << cx;
    }
    // Numerals of size 20 stand at distance 70, their corner 10 up-left.
    p = bare();
    p.numeralsShown = true;
    p.numeralSize = 20;
    const Drawn big(p);
    EXPECT_GT(countColor(big.canvas, kWhite, 390, 205, 430, 235), 20);
    EXPECT_EQ(countColor(big.canvas, kWhite, 0, 0, 800, 205), 0);
}

TEST(Clock, SkippingFacesOutsideTheWindowChangesNoPixel)
{
    ClockParams p = ClockParams::defaults(false);
    p.radius = 23;
    p.countAcross = 9;
    p.gapAcross = 7;
    // Even arrangements: the origin, halved toward zero, then moves with the window.
    p.countDown = 6;
    p.gapDown = 20;
    p.numeralSize = 14;
    p.graduationMark = int(ClockGraduation::Across);
    p.hourMarks.width = 3;
    p.centreMark = int(ClockCentre::Cross);
    p.centreMarkSize = 9;
    Canvas small(240, 150);
    koyomi::test::expectWindowMatchesLargeCanvas(
        small, 300, [&](Canvas& c, const Frame& f) { drawClock(c, p, f); });
    EXPECT_GT(countColor(small, kWhite), 0);
}

TEST(Clock, FacesCopiedFromOneDrawnGiveThePictureOfDrawingEveryFace)
{
    // Overlapping faces (negative gaps), cut by every edge, in every graduation shape and
    // line kind, with numerals and centre marks; colours named, or left unnamed so that they
    // come from the mark or dot before, also across faces and from marks the window cuts off.
    for (int n = 0; n < 30; ++n) {
        ClockParams p = ClockParams::defaults(n % 2 == 0);
        p.radius = 12 + 7 * n;
        p.countAcross = 3 + n % 4;
        p.countDown = 2 + n % 3;
        p.gapAcross = -10 + 9 * (n % 5);
        p.gapDown = -25 + 11 * (n % 4);
        p.graduationMark = n % 5;
        p.centreMark = n % 4;
        p.centreMarkSize = 1 + n % 7;
        p.numeralSize = 10 + 2 * n; // glyphs up to 64 pixels: cut exactly at the edge
        const bool named = n < 20;
        p.hourMarks = LineSetting{n % 5, 1 + n % 4, named || n % 2 == 0 ? 4 : -1};
        p.minuteMarks = LineSetting{(n + 2) % 5, 1, named ? kRedIndex : -1};
        p.circumference = LineSetting{(n + 1) % 5, 1 + n % 3, named || n % 3 == 0 ? 9 : -1};
        p.centre.color = named || n % 4 == 0 ? p.centre.color : -1;
        p.numeralColor = named || n % 5 == 0 ? p.numeralColor : -1;
        const int w = 150 + 13 * n, h = 120 + 7 * n;
        Canvas copied(w, h);
        Canvas drawn(w, h);
        drawClock(copied, p, Frame{w + n, h - n, n % 2 == 0});
        drawClockFaceByFace(drawn, p, Frame{w + n, h - n, n % 2 == 0});
        ASSERT_EQ(copied.image(), drawn.image()) << "case " << n;
    }
}

