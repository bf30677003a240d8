#include "figures/circle/Circle.h"
#include "CanvasProbe.h"
#include "Watchdog.h"
#include "figures/Dot.h"
#include "figures/Drawn.h"
#include "figures/RadialPoint.h"
#include "figures/Stroke.h"
#include "figures/WindowProbe.h"
#include "render/Palette.h"
#include "render/PathUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include <climits>
#include <cmath>
#include <numbers>
#include <random>

using namespace koyomi::figures;
using namespace koyomi::render;
using koyomi::test::countColor;

// An 800 × 570 window: one circle is centred at (400, 285).
using koyomi::test::Drawn;

namespace {

// Nothing but what a test switches on.
CircleParams bare()
{
    CircleParams p = CircleParams::defaults(false);
    p.circumference.kind = kNoLineIndex;
    return p;
}

ColorRef red()
{
    return PaletteColor[kRedIndex].color;
}

// The circle drawn in a window w × h shows what it shows on a canvas d pixels larger on every
// side.
void expectWindowAsOnLargerCanvas(const CircleParams& p, int w, int h, int d)
{
    Canvas small(w, h);
    koyomi::test::expectWindowMatchesLargeCanvas(
        small, d, [&](Canvas& c, const Frame& f) { drawCircle(c, p, f); });
}

} // namespace

TEST(Circle, DefaultsAreOneSolidCircleOfRadiusFiftyInTheMiddle)
{
    const Drawn d(CircleParams::defaults(false));
    const Canvas& c = d.canvas;
    EXPECT_EQ(c.pixel(400, 285 - 50), kWhite);
    EXPECT_EQ(c.pixel(400, 285 + 49), kWhite);
    EXPECT_EQ(c.pixel(400 - 50, 285), kWhite);
    EXPECT_EQ(c.pixel(400, 285), kBlack);
    EXPECT_EQ(countColor(c, kWhite, 0, 0, 349, 570), 0);
    EXPECT_EQ(countColor(c, kWhite, 451, 0, 800, 570), 0);
    EXPECT_GT(countColor(c, kWhite), 250);
}

TEST(Circle, InnerCirclesStepByTheRadiusDividedRoundedUp)
{
    CircleParams p = bare();
    p.rings.color = kRedIndex;
    p.ringDivision = 3; // step ⌈50 ÷ 3⌉ = 17: radii 33 and 16
    const Drawn d(p);
    EXPECT_EQ(d.canvas.pixel(400, 285 - 33), red());
    EXPECT_EQ(d.canvas.pixel(400, 285 - 16), red());
    EXPECT_EQ(countColor(d.canvas, red(), 0, 0, 800, 285 - 33), 0);
    EXPECT_EQ(countColor(d.canvas, red(), 395, 285 - 32, 405, 285 - 16), 0);

    // R 10 in 20 steps: radii 9 down to −9 without error; a negative radius draws the
    // circle of its size, so the picture is that of radii 9 … 1 and the point at 0.
    p.radius = 10;
    p.ringDivision = 20;
    koyomi::test::runWithWatchdog("twenty rings", [&] {
        const Drawn twenty(p);
        p.ringDivision = 10;
        const Drawn ten(p);
        EXPECT_GT(countColor(twenty.canvas, red()), 0);
        EXPECT_EQ(countColor(twenty.canvas, red(), 0, 0, 800, 285 - 10), 0);
        int differing = 0;
        for (int y = 270; y < 300; ++y) {
            for (int x = 385; x < 415; ++x) {
                differing += twenty.canvas.pixel(x, y) != ten.canvas.pixel(x, y);
            }
        }
        EXPECT_LE(differing, 1); // at most the point of radius 0
    });
}

TEST(Circle, DivisionLinesNeedTwoDivisionsAndTurnClockwiseFromTheStart)
{
    CircleParams p = bare();
    p.divisions = 1;
    EXPECT_EQ(countColor(Drawn(p).canvas, kWhite), 0);
    p.divisions = 2; // one vertical diameter, as two radii
    {
        const Drawn d(p);
        EXPECT_EQ(d.canvas.pixel(400, 285 - 25), kWhite);
        EXPECT_EQ(d.canvas.pixel(400, 285 + 25), kWhite);
        EXPECT_EQ(countColor(d.canvas, kWhite, 0, 0, 399, 570), 0);
        EXPECT_EQ(countColor(d.canvas, kWhite, 401, 0, 800, 570), 0);
    }
    // Four from "→": right first, then down, left and up; numbered, 1 stands right.
    p.divisions = 4;
    p.startPosition = 1;
    p.numbersShown = true;
    p.numberColor = kRedIndex;
    const Drawn d(p);
    for (const QPoint at :
         {QPoint(425, 285), QPoint(400, 310), QPoint(375, 285), QPoint(400, 260)}) {
        EXPECT_EQ(d.canvas.pixel(at.x(), at.y()), kWhite) << at.x() << "," << at.y();
    }
    EXPECT_EQ(circleDivisionAngle(1, 4, 1), 0.017453292519943295769L * 90);
    Canvas one(800, 570);
    one.setFontSize(10);
    one.setFontColor(red());
    one.textOut(400 + 60 - 5, 285 - 5, "1");
    EXPECT_EQ(countColor(d.canvas, red(), 450, 270, 480, 300),
              countColor(one, red(), 450, 270, 480, 300));
}

TEST(Circle, ThreeTouchingCopiesAreCentredOnTheWindow)
{
    CircleParams p = CircleParams::defaults(false);
    p.countAcross = 3;
    p.gapAcross = 0;
    const Drawn d(p, 801, 570);
    // Centres at 300, 400 and 500 (firstX = (801 − 200) div 2 = 300).
    for (const int cx : {300, 400, 500}) {
        EXPECT_EQ(d.canvas.pixel(cx, 285 - 50), kWhite) << cx;
    }
    EXPECT_EQ(d.canvas.pixel(350, 285), kWhite); // where two touch
    EXPECT_EQ(countColor(d.canvas, kWhite, 0, 0, 249, 570), 0);
    EXPECT_EQ(countColor(d.canvas, kWhite, 551, 0, 801, 570), 0);
}

TEST(Circle, ACentreDotOfLineKindNoneHasNoBorder)
{
    CircleParams p = bare();
    p.centreMark = int(CircleCentre::Dot);
    p.centreMarkSize = 6;
    p.centre.color = kRedIndex;
    const int bordered = countColor(Drawn(p).canvas, red());
    p.centre.kind = kNoLineIndex;
    const int borderless = countColor(Drawn(p).canvas, red());
    EXPECT_GT(borderless, 80);
    EXPECT_LT(borderless, bordered);
    EXPECT_EQ(countColor(Drawn(p).canvas, kWhite), 0); // the border never takes another colour
}

TEST(Circle, MarksOnTheCircumferenceAndSubDivisionsDrawnOverThem)
{
    CircleParams p = bare();
    p.divisionLines.kind = kNoLineIndex;
    p.divisions = 12;
    p.edgeMark = int(CircleMark::Outward);
    p.edgeMarks.color = kRedIndex;
    {
        const Drawn d(p);
        // 12 outward ticks of 3, 30° apart: straight up from (400, 235) to (400, 232), the
        // end's own pixel left out as every line leaves it.
        EXPECT_EQ(d.canvas.pixel(400, 235), kBlack);
        EXPECT_EQ(d.canvas.pixel(400, 234), red());
        EXPECT_EQ(d.canvas.pixel(400, 232), red());
        EXPECT_EQ(d.canvas.pixel(400, 231), kBlack);
        EXPECT_EQ(d.canvas.pixel(451, 285), red());
        const WidePoint at30 = radialPoint(400, 285, 51, 1, 12);
        EXPECT_EQ(d.canvas.pixel(int(at30.x), int(at30.y)), red());
    }
    // Five parts per division: 60 ticks of the first ring every 6°, drawn over the main ones.
    p.sub1.division = 5;
    p.sub1.size = 3;
    p.sub1.line.color = 9;
    const Drawn d(p);
    EXPECT_EQ(d.canvas.pixel(400, 234), PaletteColor[9].color);
    EXPECT_EQ(countColor(d.canvas, red()), 0);
    const WidePoint at6 = radialPoint(400, 285, 51, 1, 60);
    EXPECT_EQ(d.canvas.pixel(int(at6.x), int(at6.y)), PaletteColor[9].color);

    // One division and four parts of the second ring: four marks, no main ones.
    CircleParams q = bare();
    q.edgeMark = int(CircleMark::Dot);
    q.sub2.division = 4;
    q.sub2.size = 2;
    const Drawn four(q);
    for (const QPoint at :
         {QPoint(400, 235), QPoint(450, 285), QPoint(400, 335), QPoint(350, 285)}) {
        EXPECT_EQ(four.canvas.pixel(at.x(), at.y()), kWhite) << at.x() << "," << at.y();
    }
    EXPECT_EQ(countColor(four.canvas, kWhite, 0, 0, 800, 230), 0);
    EXPECT_EQ(countColor(four.canvas, kWhite, 380, 250, 420, 320), 0);

    // An inward tick longer than the radius runs through the centre to the far side.
    q.sub2.division = 1;
    q.divisions = 2;
    q.divisionLines.kind = kNoLineIndex;
    q.edgeMark = int(CircleMark::Inward);
    q.edgeMarkSize = 50 + 20;
    const Drawn through(q);
    EXPECT_EQ(through.canvas.pixel(400, 285), kWhite);
    EXPECT_EQ(through.canvas.pixel(400, 285 + 19), kWhite);
}

TEST(Circle, NumbersPastThreePointTwoRadiansStandLeftOfTheirAnchor)
{
    // Each number against the same text written where the rule puts it.
    auto expectNumbers = [](CircleParams p, const std::vector<int>& values,
                            const std::vector<bool>& shifted) {
        p.numbersShown = true;
        p.numberColor = kRedIndex;
        const Drawn d(p);
        Canvas expected(800, 570);
        expected.setFontSize(10);
        expected.setFontColor(red());
        const long long n = p.divisions;
        for (long long h = 1; h <= n; ++h) {
            const QString text = QString::number(values[std::size_t(h - 1)]);
            const WidePoint at =
                radialPoint(400, 285, 60, 4 * (h - 1) + p.startPosition * n, 4 * n);
            const long long x = at.x - (shifted[std::size_t(h - 1)] ? text.size() * 5 : 0);
            expected.textOut(int(x - 5), int(at.y - 5), text);
        }
        for (int y = 0; y < 570; ++y) {
            for (int x = 0; x < 800; ++x) {
                ASSERT_EQ(d.canvas.pixel(x, y) == red(), expected.pixel(x, y) == red())
                    << x << "," << y;
            }
        }
    };
    CircleParams p = bare();
    p.divisions = 12;
    expectNumbers(p, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
                  {false, false, false, false, false, false, false, true, true, true, true, true});
    // From "↓": 180° is not moved, 270°, 360° and 450° are.
    p.divisions = 4;
    p.startPosition = 2;
    expectNumbers(p, {1, 2, 3, 4}, {false, true, true, true});
    // From 0 in fives.
    p.startPosition = 0;
    p.firstNumber = 0;
    p.numberStep = 5;
    expectNumbers(p, {0, 5, 10, 15}, {false, false, false, true});
    // One division: no number.
    p.divisions = 1;
    p.numbersShown = true;
    EXPECT_EQ(countColor(Drawn(p).canvas, kWhite), 0);
}

TEST(Circle, NumberingRestartsInEveryCopy)
{
    CircleParams p = bare();
    p.divisions = 4;
    p.numbersShown = true;
    p.firstNumber = 0;
    p.numberStep = 5;
    p.countAcross = 2;
    p.gapAcross = 100; // centres 200 apart: 300 and 500
    const Drawn d(p);
    for (int y = 200; y < 370; ++y) {
        for (int x = 210; x < 390; ++x) {
            ASSERT_EQ(d.canvas.pixel(x, y), d.canvas.pixel(x + 200, y)) << x << "," << y;
        }
    }
    EXPECT_GT(countColor(d.canvas, kWhite, 210, 200, 390, 370), 0);
}

// Hundreds of small circles whose marks and numbers reach over a thousand pixels, as a
// preset with 500 × 500 copies and long marks asks for: drawn once and pasted (they took
// most of a minute one by one), to the same pixels.
TEST(Circle, ManyCopiesReachingFarAreDrawnOnceToTheSamePixels)
{
    CircleParams p = CircleParams::defaults(false);
    p.radius = 6;
    p.divisions = 40;
    p.edgeMark = 3; // across the circle
    p.edgeMarkSize = 1100;
    p.numbersShown = true;
    p.numberSize = 20;
    p.countAcross = 30;
    p.countDown = 30;
    p.gapAcross = 0;
    p.gapDown = 0;
    p.edgeMarks = LineSetting{0, 1, 7};
    Canvas copied(96, 64);
    Canvas drawn(96, 64);
    drawCircle(copied, p, Frame{96, 64, false});
    drawCircleCopyByCopy(drawn, p, Frame{96, 64, false});
    EXPECT_EQ(copied.image(), drawn.image());
    EXPECT_GT(countColor(copied, 0x0000FF), 0); // the red marks
}

TEST(Circle, CopiesFromOneDrawnAndWhatTheWindowSkipsChangeNoPixel)
{
    // Overlapping copies cut by every edge, every mark shape and line kind, dots, numbers:
    // against drawing every copy and mark in place, and against a larger window.
    std::mt19937 rng(13);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    // Colours left unnamed (−1) take the colour of the element before, also across copies.
    auto line = [&] { return LineSetting{pick(0, 5), pick(1, 3), pick(-1, 11)}; };
    for (int n = 0; n < 60; ++n) {
        CircleParams p = CircleParams::defaults(n % 2 == 0);
        p.radius = pick(3, 60);
        p.ringDivision = pick(1, 4);
        p.centreMark = pick(0, 3);
        p.centreMarkSize = pick(1, 6);
        p.divisions = pick(1, 24);
        p.startPosition = pick(0, 3);
        p.edgeMark = pick(0, 4);
        p.edgeMarkSize = pick(1, 12);
        p.numbersShown = pick(0, 1) == 1;
        p.numberSize = pick(10, 30);
        p.countAcross = pick(1, 7);
        p.countDown = pick(1, 6);
        p.gapAcross = pick(-40, 30);
        p.gapDown = pick(-40, 30);
        p.circumference = line();
        p.rings = line();
        p.centre = line();
        p.divisionLines = line();
        p.edgeMarks = line();
        p.sub1 = CircleRing{pick(1, 6), pick(1, 8), line()};
        p.sub2 = CircleRing{pick(1, 3), pick(1, 8), line()};
        p.numberColor = pick(-1, 11);
        const int w = pick(60, 300);
        const int h = pick(60, 240);
        Canvas copied(w, h);
        Canvas drawn(w, h);
        drawCircle(copied, p, Frame{w + n, h - n, n % 2 == 0});
        drawCircleCopyByCopy(drawn, p, Frame{w + n, h - n, n % 2 == 0});
        ASSERT_EQ(copied.image(), drawn.image()) << "case " << n;
        // Against a larger window where the layout's halving is exact in both (a first centre
        // left of or above the window halves toward zero the other way).
        const long long spanX = (p.countAcross - 1LL) * (2LL * p.radius + p.gapAcross);
        const long long spanY = (p.countDown - 1LL) * (2LL * p.radius + p.gapDown);
        // (Only with every colour named: a larger window shows more copies before the first
        // one here, which would hand it their colours.)
        const bool named =
            p.numberColor >= 0 &&
            std::ranges::all_of(std::array{p.circumference, p.rings, p.centre, p.divisionLines,
                                           p.edgeMarks, p.sub1.line, p.sub2.line},
                                [](const LineSetting& l) { return l.color >= 0; });
        if (n % 2 == 0 && spanX <= w && spanY <= h && named) {
            expectWindowAsOnLargerCanvas(p, w, h, 250);
        }
    }
}

TEST(Circle, RingsPaintedAsOneStampInEveryCopyMatchTheirMarksOneByOne)
{
    // Overlapping copies of rings of tens to thousands of marks, dots and strokes of every
    // kind (each ring then drawn once about its centre and painted in every copy, where that
    // pays), against every mark drawn in place. Then a ring that fits the window in one copy
    // (drawn mark by mark) and in two (as one stamp), and long marks on either side of where
    // their stamp pays.
    std::mt19937 rng(29);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto draw = [](const CircleParams& p, int w, int h, const std::string& what) {
        Canvas copied(w, h);
        Canvas drawn(w, h);
        drawCircle(copied, p, Frame{w, h, false});
        drawCircleCopyByCopy(drawn, p, Frame{w, h, false});
        ASSERT_EQ(copied.image(), drawn.image()) << what;
        EXPECT_GT(countColor(copied, red()), 0) << what;
    };
    for (int n = 0; n < 24; ++n) {
        CircleParams p = bare();
        p.radius = pick(0, 40);
        p.divisions = pick(2, 60);
        p.startPosition = pick(0, 3);
        p.edgeMark = pick(1, 4);
        p.edgeMarkSize = pick(10, 60);
        p.edgeMarks = LineSetting{pick(0, 5), pick(1, 4), kRedIndex};
        p.sub1 =
            CircleRing{pick(2, 40), pick(10, 60), LineSetting{pick(0, 4), pick(1, 4), kRedIndex}};
        p.sub2 =
            CircleRing{pick(2, 90), pick(10, 60), LineSetting{pick(0, 4), pick(1, 4), kRedIndex}};
        p.countAcross = pick(3, 6);
        p.countDown = pick(3, 6);
        p.gapAcross = pick(-100, 10);
        p.gapDown = pick(-100, 10);
        draw(p, pick(120, 220), pick(90, 160), "case " + std::to_string(n));
    }
    // A ring of copies side by side, a few pixels apart, in a square window.
    auto edge = [&](int radius, int divisions, CircleMark shape, CircleRing sub, int gap,
                    int window, std::array<int, 2> copies) {
        CircleParams p = bare();
        p.radius = radius;
        p.divisions = divisions;
        p.edgeMark = int(shape);
        p.sub1 = sub;
        p.gapAcross = gap;
        for (const int n : copies) {
            p.countAcross = n;
            draw(p, window, window,
                 std::to_string(n) + " copies, shape " + std::to_string(int(shape)));
        }
    };
    edge(20, 30, CircleMark::Dot, CircleRing{40, 20, LineSetting{1, 1, kRedIndex}}, -30, 200,
         {1, 2});
    // Marks 301 pixels long across a window whose diagonal is 142: four copies cut to it draw
    // less than twice the ring, five more.
    edge(10, 2, CircleMark::Across, CircleRing{24, 150, LineSetting{0, 1, kRedIndex}}, -15, 100,
         {4, 5});
}

TEST(RadialDivisions, RaysLeftOutOfTheRangeMissTheWidenedBox)
{
    // Every division outside the range has a ray that misses the box widened by the margin
    // between the two distances (the slab test, in long double); the range stays small for a
    // far, small box.
    std::mt19937 rng(17);
    auto pick = [&](long long lo, long long hi) {
        return std::uniform_int_distribution<long long>(lo, hi)(rng);
    };
    long long narrowed = 0;
    for (int n = 0; n < 400; ++n) {
        const long long m = n % 3 == 0 ? pick(1, 12) : pick(13, 20000);
        const long long quarters = pick(-5, 5);
        const long long x1 = pick(-100, 100);
        const long long y1 = pick(-100, 100);
        const long long x2 = x1 + pick(0, 90);
        const long long y2 = y1 + pick(0, 70);
        const long long margin = pick(0, 12);
        const long long far = n % 4 == 0 ? 1'000'000 : 600;
        const long long cx = pick(-far, far);
        const long long cy = pick(-far, far);
        const long long inner = pick(0, 900);
        const long long outer = inner + pick(0, n % 2 == 0 ? 2000 : 200);
        const DivisionRange range =
            divisionsToward(cx, cy, m, quarters, inner, outer, x1, y1, x2, y2, margin);
        const long long count = range.last - range.first + 1;
        ASSERT_LE(count, m) << "case " << n;
        ASSERT_GE(count, 0) << "case " << n;
        narrowed += count < m;
        std::vector<bool> walked(std::size_t(m), false);
        for (long long k = range.first; k <= range.last; ++k) {
            walked[std::size_t((k % m + m) % m)] = true;
        }
        for (long long k = 0; k < m; ++k) {
            if (walked[std::size_t(k)]) {
                continue;
            }
            long double sin = 0;
            long double cos = 0;
            sincosl(2 * std::numbers::pi_v<long double> *
                        ((long double)k / m + (long double)quarters / 4),
                    &sin, &cos);
            // The ray (cx + t·sin, cy − t·cos), inner ≤ t ≤ outer, against the widened box.
            long double enter = (long double)inner;
            long double leave = (long double)outer;
            const std::array<std::array<long double, 2>, 2> slabs{
                {{(long double)cx, sin}, {(long double)cy, -cos}}};
            const std::array<long double, 2> low{(long double)(x1 - margin),
                                                 (long double)(y1 - margin)};
            const std::array<long double, 2> high{(long double)(x2 + margin),
                                                  (long double)(y2 + margin)};
            for (std::size_t a = 0; a < 2; ++a) {
                const long double origin = slabs[a][0];
                const long double step = slabs[a][1];
                if (std::fabs(step) < 1e-18L) {
                    if (origin < low[a] || origin > high[a]) {
                        enter = 1;
                        leave = 0;
                    }
                    continue;
                }
                long double t1 = (low[a] - origin) / step;
                long double t2 = (high[a] - origin) / step;
                if (t1 > t2) {
                    std::swap(t1, t2);
                }
                enter = std::max(enter, t1);
                leave = std::min(leave, t2);
            }
            ASSERT_GT(enter, leave) << "case " << n << ": division " << k << " of " << m
                                    << " meets the box but is left out";
        }
    }
    EXPECT_GT(narrowed, 200); // most boxes lie beyond the centre's reach
}

TEST(Circle, RingsAroundCentresBeyondTheWindowDrawWhatALargerWindowShows)
{
    // Thousands of marks of every shape around copies whose centres lie beyond a small
    // window (but within the larger one): only the marks that reach the window are walked.
    std::mt19937 rng(19);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int n = 0; n < 6; ++n) {
        CircleParams p = bare();
        p.radius = pick(20, 90);
        p.divisions = pick(100, 1000);
        p.startPosition = pick(0, 3);
        p.edgeMark = 1 + n % 4;
        p.edgeMarkSize = pick(1, 300);
        p.edgeMarks = LineSetting{pick(0, 5), pick(1, 8), pick(0, 11)};
        p.sub1 = CircleRing{pick(1, 4), pick(1, 200), LineSetting{pick(0, 5), pick(1, 4), 2}};
        p.countAcross = 3;
        p.countDown = 3;
        p.gapAcross = pick(0, 60);
        p.gapDown = pick(0, 60);
        // Even sides: the copies then stand in both windows exactly as far from the middle
        // (the span of the copies is even).
        const int h = 2 * pick(15, 35);
        expectWindowAsOnLargerCanvas(p, 2 * pick(20, 45), h, 250);
        if (HasFailure()) {
            FAIL() << "case " << n;
        }
    }
}

TEST(Circle, DotsLargerThanTheWindowDrawWhatALargerWindowShows)
{
    // Dots about as large as the window or far larger, whose outlines of every kind and width
    // pass through the window, beside it or around it: a dot holding the whole window only
    // fills it.
    std::mt19937 rng(23);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int n = 0; n < 60; ++n) {
        CircleParams p = bare();
        // Dots around the window's middle, their edges near its corners.
        const int w = 2 * pick(10, 30);
        const int h = 2 * pick(8, 25);
        p.radius = pick(0, 4);
        p.divisions = pick(1, 12);
        p.startPosition = pick(0, 3);
        p.edgeMark = int(CircleMark::Dot);
        p.edgeMarkSize = int(std::hypot(w / 2, h / 2)) + pick(-12, 12);
        p.edgeMarks = LineSetting{pick(0, 5), pick(1, 9), pick(0, 11)};
        expectWindowAsOnLargerCanvas(p, w, h, 200);
        if (HasFailure()) {
            FAIL() << "case " << n;
        }
    }
}

TEST(Circle, DotOutlinesPaintWhatDrawingTheOutlineDoes)
{
    // A ring's dots paint the pixels of one outline drawn whole; each must be the dot and
    // outline drawn in place. Settings come in a random order, so that rings just before
    // differ in one of size, kind or width only; the small window cuts the larger dots on
    // every side.
    std::mt19937 rng(29);
    auto pick = [&](auto values) {
        return values[std::uniform_int_distribution<std::size_t>(0, values.size() - 1)(rng)];
    };
    for (int n = 0; n < 300; ++n) {
        const QSize window = pick(std::array{QSize(800, 570), QSize(61, 47)});
        const int s = pick(std::array{1, 4, 17, 40, 90});
        const int kind = pick(std::array{0, 1, 2, 3, 4, 5});
        const int width = pick(std::array{1, 2, 5, 12});
        CircleParams p = bare();
        p.radius = 0; // every dot on the centre
        p.divisions = 3;
        p.edgeMark = int(CircleMark::Dot);
        p.edgeMarkSize = s;
        p.edgeMarks = LineSetting{kind, width, kRedIndex};
        Canvas ring(window.width(), window.height());
        drawCircle(ring, p, Frame{window.width(), window.height(), false});

        const int cx = window.width() / 2;
        const int cy = window.height() / 2;
        Canvas each(window.width(), window.height());
        filledDot(each, cx - s, cy - s, cx + s, cy + s, red(), kind);
        if (drawsKind(p.edgeMarks)) {
            each.beginPath();
            EllipsePath(each, cx - s, cy - s, cx + s, cy + s);
            each.endPath();
            each.flattenPath();
            TPath path;
            path.capture(each);
            DashedPath(path, each, red(), width, lineStylePattern(kind, true), true);
        }
        ASSERT_EQ(ring.image(), each.image())
            << window.width() << " size " << s << " kind " << kind << " width " << width;
    }
}

TEST(RadialDivisions, PointsAreTheProductsRoundedUp)
{
    // Against the library's ceiling, at distances up to 2^50 and on whole and half products.
    std::mt19937_64 rng(23);
    auto pick = [&](long long lo, long long hi) {
        return std::uniform_int_distribution<long long>(lo, hi)(rng);
    };
    for (int n = 0; n < 20000; ++n) {
        const long long steps = pick(1, 5000);
        const long long k = pick(-steps, 2 * steps);
        const long long d = n % 2 == 0 ? pick(-(1LL << 50), 1LL << 50) : pick(-4000, 4000);
        const RadialDirection dir = radialDirection(k, steps);
        const WidePoint p = radialPoint(7, -3, d, dir);
        if (!dir.exactSin) {
            ASSERT_EQ(p.x, 7 + (long long)ceill((long double)d * dir.sin)) << d << " " << k;
        }
        if (!dir.exactCos) {
            ASSERT_EQ(p.y, -3 + (long long)ceill(-(long double)d * dir.cos)) << d << " " << k;
        }
    }
    RadialDirection half;
    half.sin = 0.5L;
    half.cos = -0.5L;
    for (const long long d : {-5LL, -4LL, -1LL, 0LL, 1LL, 3LL, 4LL, (1LL << 40) + 1}) {
        const WidePoint p = radialPoint(0, 0, d, half);
        EXPECT_EQ(p.x, (long long)ceill(d * 0.5L)) << d;
        EXPECT_EQ(p.y, (long long)ceill(d * 0.5L)) << d;
    }
}

// Marks far longer than a tiny circle: a circle of radius 3 with four "╂" marks 40 long
// crosses itself in a plus. Each mark reaches from R + 40 = 43 outside to R − 40 = −37
// (beyond the centre), whatever the marks before it drew: the marks at 0° and 180° together
// cover the column x = 400 from 285 − 43 to 285 + 43 without a gap, and those at 90° and
// 270° the row around y = 285 from 357 to 443. Sub-division marks of the same size over them
// change none of that.
TEST(Circle, LongMarksOnATinyCircleReachTheirWholeLength)
{
    CircleParams p = bare();
    p.radius = 3;
    p.divisions = 4;
    p.edgeMark = int(CircleMark::Across);
    p.edgeMarkSize = 40;
    p.edgeMarks = LineSetting{kSolidIndex, 1, kRedIndex};
    for (const int sub : {1, 2, 4}) {
        p.sub1.division = sub;
        p.sub1.size = 40;
        p.sub1.line = LineSetting{kSolidIndex, 1, kRedIndex};
        const Drawn d(p);
        for (int y = 285 - 42; y <= 285 + 42; ++y) {
            EXPECT_EQ(d.canvas.pixel(400, y), red()) << sub << " column at " << y;
        }
        for (int x = 400 - 42; x <= 400 + 42; ++x) {
            EXPECT_GT(countColor(d.canvas, red(), x, 284, x + 1, 287), 0) << sub << " row at " << x;
        }
        // Nothing beyond the marks' outer ends.
        EXPECT_EQ(countColor(d.canvas, red(), 0, 0, 800, 285 - 44), 0) << sub;
        EXPECT_EQ(countColor(d.canvas, red(), 0, 285 + 45, 800, 570), 0) << sub;
        EXPECT_EQ(countColor(d.canvas, red(), 400 + 45, 0, 800, 570), 0) << sub;
        EXPECT_EQ(countColor(d.canvas, red(), 0, 0, 400 - 44, 570), 0) << sub;
    }

    // 64 marks pointing inward, 40 long on the radius of 3: many start on the same pixel of
    // the tiny circumference, yet each runs through the centre to 37 beyond it, so that 30
    // beyond the centre every one of the 64 directions is marked.
    p.divisions = 1;
    p.edgeMark = int(CircleMark::Inward);
    p.sub1.division = 64;
    const Drawn inward(p);
    for (int h = 0; h < 64; ++h) {
        const double theta = 2 * M_PI * h / 64;
        const int x = 400 + int(std::ceil(-30 * std::sin(theta)));
        const int y = 285 + int(std::ceil(30 * std::cos(theta)));
        EXPECT_GT(countColor(inward.canvas, red(), x - 1, y - 1, x + 2, y + 2), 0) << h;
    }
}
