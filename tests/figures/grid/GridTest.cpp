#include "figures/grid/Grid.h"
#include "CanvasProbe.h"
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

using koyomi::test::Drawn;

namespace {

constexpr ColorRef kRed = 0x0000FF;

GridParams redMarks(GridMark shape, int size)
{
    GridParams p = GridParams::defaults(false);
    p.markShape = int(shape);
    p.markSize = size;
    p.markColor = kRedIndex;
    return p;
}

// The pixels of the mark colour within distance r (either way) of (x, y).
int marked(const Canvas& c, int x, int y, int r, ColorRef color = kRed)
{
    return countColor(c, color, x - r, y - r, x + r + 1, y + r + 1);
}

} // namespace

TEST(Grid, DefaultsOnBlackAreTenByTenSmallWhiteCirclesFiftyApartCentred)
{
    const Drawn d(GridParams::defaults(false));
    // Block 450 × 450 in 800 × 570: first point at (175, 60).
    int total = 0;
    for (int r = 0; r < 10; ++r) {
        for (int t = 0; t < 10; ++t) {
            const int n = marked(d.canvas, 175 + 50 * t, 60 + 50 * r, 1, kWhite);
            EXPECT_GT(n, 0) << r << "," << t;
            total += n;
        }
    }
    // Nothing else is drawn, and every circle is alike.
    EXPECT_EQ(countColor(d.canvas, kWhite), total);
    EXPECT_EQ(total % 100, 0);
    EXPECT_EQ(countColor(d.canvas, kWhite) + countColor(d.canvas, kBlack), 800 * 570);

    const Drawn white(GridParams::defaults(true), 800, 570, true);
    EXPECT_EQ(countColor(white.canvas, kBlack), total);
}

TEST(Grid, EveryMarkShapeDrawsItsOwnPixels)
{
    // One point in the middle of a 41 × 41 window, size 20.
    auto one = [](GridMark shape) {
        GridParams p = redMarks(shape, 20);
        p.rowCount = p.columnCount = 1;
        return Drawn(p, 41, 41);
    };
    // "×": two diagonals 40 pixels long from the corners of the box, end points left out.
    const Drawn cross = one(GridMark::Cross);
    EXPECT_EQ(countColor(cross.canvas, kRed), 80 - 1); // they share the centre pixel
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(cross.canvas.pixel(i, i), kRed) << i;
        EXPECT_EQ(cross.canvas.pixel(40 - i, i), kRed) << i;
    }
    EXPECT_NE(cross.canvas.pixel(40, 40), kRed);
    EXPECT_NE(cross.canvas.pixel(0, 40), kRed);
    // "＋": from (0, 20) to (40, 20) and from (20, 0) to (20, 40), end points left out.
    const Drawn plus = one(GridMark::Plus);
    EXPECT_EQ(rowString(plus.canvas, 20, 0, 41, kRed), std::string(40, '#') + ".");
    EXPECT_EQ(countColor(plus.canvas, kRed), 80 - 1);
    EXPECT_NE(plus.canvas.pixel(20, 40), kRed);
    // "○" is an outline, "●" the same outline filled, "なし" nothing.
    const Drawn hollow = one(GridMark::Hollow);
    const Drawn filled = one(GridMark::Filled);
    EXPECT_EQ(hollow.canvas.pixel(20, 20), kBlack);
    EXPECT_EQ(filled.canvas.pixel(20, 20), kRed);
    EXPECT_EQ(hollow.canvas.pixel(0, 20), kRed);
    EXPECT_GT(countColor(filled.canvas, kRed), 3 * countColor(hollow.canvas, kRed));
    for (int y = 0; y < 41; ++y) {
        for (int x = 0; x < 41; ++x) {
            if (hollow.canvas.pixel(x, y) == kRed) {
                EXPECT_EQ(filled.canvas.pixel(x, y), kRed) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(countColor(one(GridMark::None).canvas, kRed), 0);
}

TEST(Grid, CellCentresAreTheTruncatedMidpointsAndNeedTwoRowsAndTwoColumns)
{
    GridParams p = redMarks(GridMark::Plus, 2);
    p.rowCount = 3;
    p.columnCount = 4;
    p.rowSpacing = 40;
    p.columnSpacing = 31;
    p.centreMarksOn = true;
    // Block 93 × 80 in 200 × 120: first point at (53, 20); centres at (53 + 15 + 31t, 40 + 40r).
    const Drawn d(p, 200, 120);
    for (int r = 0; r < 2; ++r) {
        for (int t = 0; t < 3; ++t) {
            EXPECT_EQ(d.canvas.pixel(68 + 31 * t, 40 + 40 * r), kRed) << r << "," << t;
            EXPECT_NE(d.canvas.pixel(69 + 31 * t, 40 + 40 * r + 2), kRed);
        }
    }
    EXPECT_EQ(countColor(d.canvas, kRed), (12 + 6) * (8 - 1));

    // One row of points: no centres, even with them asked for.
    p.rowCount = 1;
    EXPECT_EQ(countColor(Drawn(p, 200, 120).canvas, kRed), 4 * (8 - 1));

    // Left of x = 0 the midpoint is truncated toward zero, not down: columns 41 apart from
    // x = −40 put the first centre at −39 ÷ 2 = −19, whose arm of 20 reaches x = 0.
    p = redMarks(GridMark::Plus, 20);
    p.rowCount = 2;
    p.rowSpacing = 100;
    p.columnCount = 3;
    p.columnSpacing = 41;
    p.centreMarksOn = true;
    Canvas c(60, 300);
    drawGrid(c, p, Frame{2, 300, false}); // block 82 wide: left = (2 − 82) div 2 = −40
    EXPECT_EQ(c.pixel(0, 150), kRed);
    EXPECT_NE(c.pixel(0, 151), kRed);
}

TEST(Grid, MarksAreSolidWhateverTheCanvasDrewBefore)
{
    const GridParams p = redMarks(GridMark::Plus, 20);
    const Drawn clean(p, 200, 200);
    Canvas c(200, 200);
    c.setPenStyle(PenStyle::Dash);
    drawGrid(c, p, Frame{200, 200, false});
    EXPECT_EQ(c.image(), clean.canvas.image());
    c.setPenStyle(PenStyle::Clear);
    drawGrid(c, p, Frame{200, 200, false});
    EXPECT_EQ(c.image(), clean.canvas.image());
}

TEST(Grid, SkippingWhatIsOutsideTheWindowChangesNoPixel)
{
    // Blocks partly in the window on every side; even spacings keep every centre on the
    // same pixel whichever side of x = 0 it falls (the midpoint is truncated toward zero).
    for (const GridMark shape :
         {GridMark::Hollow, GridMark::Filled, GridMark::Plus, GridMark::Cross}) {
        GridParams p = redMarks(shape, 9);
        p.rowCount = 7;
        p.columnCount = 6;
        p.rowSpacing = 22;
        p.columnSpacing = 18;
        p.countAcross = 5;
        p.gapAcross = 7;
        p.countDown = 4;
        p.gapDown = 3;
        p.centreMarksOn = true;
        SCOPED_TRACE(int(shape));
        Canvas small(300, 200);
        koyomi::test::expectWindowMatchesLargeCanvas(
            small, 120, [&](Canvas& c, const Frame& f) { drawGrid(c, p, f); });
        EXPECT_GT(countColor(small, kRed), 0);
    }
    // Marks much larger than the window reach in from far outside it.
    GridParams p = redMarks(GridMark::Cross, 400);
    p.columnSpacing = 300;
    p.rowSpacing = 260;
    Canvas small(200, 150);
    koyomi::test::expectWindowMatchesLargeCanvas(
        small, 900, [&](Canvas& c, const Frame& f) { drawGrid(c, p, f); });
    EXPECT_GT(countColor(small, kRed), 0);
}

TEST(Grid, StampedMarksGiveThePictureOfDrawingEveryMarkInOrder)
{
    // Random arrangements around and across the window's edges, every shape, odd and even,
    // negative and zero spacings and sizes, blocks overlapping and coinciding.
    std::mt19937 rng(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int n = 0; n < 700; ++n) {
        // Long rows of small steps also cover the stretches drawn by repeating one period;
        // large marks over long rows, the stretches near a row's ends; hundreds of small
        // blocks across, the marks spread over every block at once.
        const int kind = n < 600 ? n % 2 : n < 630 ? 2 : 3;
        const int sizes[4][2] = {{-12, 40}, {-6, 14}, {60, 160}, {-4, 30}};
        const int counts[4][2] = {{1, 9}, {20, 90}, {30, 120}, {1, 4}};
        const int spacings[4][2] = {{-5, 45}, {-3, 9}, {4, 23}, {-2, 6}};
        GridParams p = redMarks(GridMark(pick(0, 3)), pick(sizes[kind][0], sizes[kind][1]));
        p.rowCount = pick(counts[kind][0], counts[kind][1]);
        p.columnCount = pick(counts[kind][0], counts[kind][1]);
        p.rowSpacing = pick(spacings[kind][0], spacings[kind][1]);
        p.columnSpacing = pick(spacings[kind][0], spacings[kind][1]);
        p.countAcross = kind == 3 ? pick(20, 300) : pick(1, 6);
        p.countDown = pick(1, 6);
        p.gapAcross = kind == 3 ? pick(-12, 8) : pick(-60, 30);
        p.gapDown = pick(-60, 30);
        p.centreMarksOn = pick(0, 1) == 1;
        const int w = pick(1, 260);
        const int h = pick(1, 200);
        const Frame frame{pick(-100, 400), pick(-100, 300), false};
        Canvas stamped(w, h);
        Canvas oneByOne(w, h);
        drawGrid(stamped, p, frame);
        drawGridMarkByMark(oneByOne, p, frame);
        ASSERT_EQ(stamped.image(), oneByOne.image())
            << "case " << n << ": shape " << p.markShape << " size " << p.markSize << " rows "
            << p.rowCount << "×" << p.rowSpacing << " columns " << p.columnCount << "×"
            << p.columnSpacing << " blocks " << p.countAcross << "+" << p.gapAcross << " / "
            << p.countDown << "+" << p.gapDown << " centres " << p.centreMarksOn << " canvas " << w
            << "×" << h << " frame " << frame.width << "×" << frame.height;
    }
}

// Blocks side by side and stacked, each gap and count its own: every point of every block is
// where the rules put it, worked out here by hand. 4 × 3 points 30 and 20 apart make a
// block 90 × 40; two across with a gap of 15 and three down with a gap of 7 take 195 × 134
// of a 400 × 300 window, so the first point is at ((400 − 195) div 2, (300 − 134) div 2) =
// (102, 83), and the blocks start 105 across and 47 down from each other.
TEST(Grid, BlocksAcrossAndDownStandAtTheirOwnGapsCentredInTheWindow)
{
    GridParams p = redMarks(GridMark::Plus, 2);
    p.columnCount = 4;
    p.columnSpacing = 30;
    p.rowCount = 3;
    p.rowSpacing = 20;
    p.countAcross = 2;
    p.gapAcross = 15;
    p.countDown = 3;
    p.gapDown = 7;
    const Drawn d(p, 400, 300);
    Canvas expected(400, 300);
    for (int br = 0; br < 3; ++br) {
        for (int bc = 0; bc < 2; ++bc) {
            for (int r = 0; r < 3; ++r) {
                for (int t = 0; t < 4; ++t) {
                    const int x = 102 + bc * 105 + t * 30;
                    const int y = 83 + br * 47 + r * 20;
                    // A plus of size 2: four pixels each way from x − 2 and y − 2, the far
                    // ends not painted.
                    expected.fillRect(QRect(x - 2, y, 4, 1), kRed);
                    expected.fillRect(QRect(x, y - 2, 1, 4), kRed);
                }
            }
        }
    }
    EXPECT_EQ(countColor(d.canvas, kRed), 6 * 12 * 7);
    EXPECT_EQ(d.canvas.image(), expected.image());
}
