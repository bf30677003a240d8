#include "render/PathUtils.h"
#include "CanvasProbe.h"
#include "Watchdog.h"
#include "render/ColorInit.h"
#include "render/Palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <numbers>
#include <random>
#include <span>
#include <vector>

using namespace koyomi::render;
using koyomi::test::columnString;
using koyomi::test::countColor;
using koyomi::test::rowString;

TEST(DashedPolyline, SolidLineIsOneFlatEndedStrokeExactlyBetweenItsPoints)
{
    Canvas c(60, 30, kBlack);
    const std::vector<QPoint> line{{5, 10}, {25, 10}};
    DashedPolyline(line, c, kWhite, 3, lineStylePattern(kSolidIndex), true);
    for (int y : {9, 10, 11}) {
        EXPECT_EQ(rowString(c, y, 0, 30), std::string(5, '.') + std::string(20, '#') + ".....")
            << y;
    }
    EXPECT_EQ(countColor(c, kWhite), 60);
    // The canvas pen is as it was.
    EXPECT_EQ(c.pen(), Pen{});
}

TEST(DashedPolyline, DashedWidthOneCoversItsDashesAndTheDashAtTheEndDrawsNothing)
{
    Canvas c(60, 10, kBlack);
    const std::vector<QPoint> line{{0, 5}, {40, 5}};
    DashedPolyline(line, c, kWhite, 1, lineStylePattern(1), true);
    EXPECT_EQ(rowString(c, 5, 0, 50), std::string(15, '#') + std::string(5, '.') +
                                          std::string(15, '#') + std::string(15, '.'));
    EXPECT_EQ(countColor(c, kWhite), 30);

    // At width 2 the dashes and gaps double.
    Canvas wide(100, 10, kBlack);
    const std::vector<QPoint> longer{{0, 5}, {80, 5}};
    DashedPolyline(longer, wide, kWhite, 2, lineStylePattern(1), true);
    EXPECT_EQ(rowString(wide, 5, 0, 80), std::string(30, '#') + std::string(10, '.') +
                                             std::string(30, '#') + std::string(10, '.'));
}

TEST(DashedPolyline, ADashCrossingAVertexTurnsWithARoundJoin)
{
    Canvas c(60, 60, kBlack);
    const std::vector<QPoint> corner{{10, 30}, {30, 30}, {30, 10}};
    DashedPolyline(corner, c, kWhite, 9, lineStylePattern(kSolidIndex), true);
    // Two flat-ended pieces would leave the outer corner empty; a mitre would fill it square.
    EXPECT_EQ(c.pixel(32, 32), kWhite);
    EXPECT_EQ(c.pixel(34, 34), kBlack);
    // The dash pattern runs on round the corner: 15 + 5 at width 1 over 20 + 20 pixels.
    Canvas d(60, 60, kBlack);
    DashedPolyline(corner, d, kWhite, 1, lineStylePattern(1), true);
    EXPECT_EQ(rowString(d, 30, 10, 31), std::string(15, '#') + std::string(6, '.'));
    // The second dash is the 15 pixels of the upright below the end of the gap.
    const std::string upright = columnString(d, 30, 10, 32);
    EXPECT_EQ(std::count(upright.begin(), upright.end(), '#'), 15);
    EXPECT_EQ(upright.substr(0, 5), ".....");
}

TEST(DashedPolyline, DegenerateInputDrawsNothingAndABadPatternIsAnError)
{
    Canvas c(30, 30, kBlack);
    const std::vector<QPoint> dot{{5, 5}, {5, 5}};
    DashedPolyline(dot, c, kWhite, 3, lineStylePattern(kSolidIndex), true);
    DashedPolyline({}, c, kWhite, 3, lineStylePattern(kSolidIndex), true);
    EXPECT_EQ(countColor(c, kWhite), 0);

    const std::vector<double> zero{0, 0};
    const std::vector<double> negative{5, -6};
    const std::vector<QPoint> line{{0, 5}, {20, 5}};
    EXPECT_THROW(DashedPolyline(line, c, kWhite, 1, zero, true), EAssertionFailed);
    EXPECT_THROW(DashedPolyline(line, c, kWhite, 1, negative, true), EAssertionFailed);
    EXPECT_THROW(DashedPolyline(line, c, kWhite, 1, {}, true), EAssertionFailed);
    EXPECT_EQ(countColor(c, kWhite), 0);
}

TEST(Paths, EllipsePathIsFourQuarterArcsFromTheRightmostPointCounterClockwise)
{
    Canvas c(300, 300, kBlack);
    c.beginPath();
    EllipsePath(c, 100, 100, 201, 161); // rx 50, ry 30, centre (150.5, 130.5)
    c.endPath();
    TPath path;
    path.capture(c);
    ASSERT_EQ(path.Count(), 13);
    EXPECT_EQ(path.GetPoint(0).kind, PathPointKind::Move);
    EXPECT_EQ(path.GetPoint(0).point, QPoint(200, 130));
    EXPECT_EQ(path.GetPoint(3).point, QPoint(150, 100)); // top: counter-clockwise on screen
    EXPECT_EQ(path.GetPoint(6).point, QPoint(100, 130));
    EXPECT_EQ(path.GetPoint(9).point, QPoint(150, 160));
    EXPECT_EQ(path.GetPoint(12).point, QPoint(200, 130));
    EXPECT_EQ(path.GetPoint(12).kind, PathPointKind::Bezier);
    EXPECT_TRUE(path.GetPoint(12).closesFigure);
    EXPECT_FALSE(path.GetPoint(11).closesFigure);

    c.beginPath();
    EllipsePath(c, 100, 100, 201, 161);
    c.endPath();
    c.flattenPath();
    TPath flat;
    flat.capture(c);
    EXPECT_GT(flat.Count(), 20);
    for (int i = 1; i < flat.Count(); ++i) {
        EXPECT_EQ(flat.GetPoint(i).kind, PathPointKind::Line);
    }
    EXPECT_TRUE(flat.GetPoint(flat.Count() - 1).closesFigure);
}

TEST(Paths, ArcPathSplitsLongSweepsIntoQuartersAndDrawsClockwiseForNegativeSweeps)
{
    Canvas c(10, 10);
    c.beginPath();
    ArcPath(c, -std::numbers::pi_v<long double>, 0, 100, 100, 200, 200);
    c.endPath();
    TPath path;
    path.capture(c);
    ASSERT_EQ(path.Count(), 7);
    EXPECT_EQ(path.GetPoint(0).point, QPoint(300, 200));
    EXPECT_EQ(path.GetPoint(3).point, QPoint(200, 300)); // below the centre: clockwise on screen
    EXPECT_EQ(path.GetPoint(6).point, QPoint(100, 200));

    c.beginPath();
    ArcPath(c, 0, std::numbers::pi_v<long double> / 2, 10, 10, 50, 50);
    c.endPath();
    path.capture(c);
    ASSERT_EQ(path.Count(), 2);
    EXPECT_EQ(path.GetPoint(1).kind, PathPointKind::Line);
    EXPECT_EQ(path.GetPoint(1).point, QPoint(50, 40));
}

TEST(Paths, DashedPathClosesEachFigureBackToItsStart)
{
    Canvas c(50, 40, kBlack);
    c.beginPath();
    RectanglePath(c, 30, 25, 10, 10); // reversed corners are normalised
    c.endPath();
    TPath path;
    path.capture(c);
    ASSERT_EQ(path.Count(), 4);
    EXPECT_EQ(path.GetPoint(1).point, QPoint(29, 10)); // clockwise on screen
    EXPECT_TRUE(path.GetPoint(3).closesFigure);
    DashedPath(path, c, kWhite, 1, lineStylePattern(kSolidIndex, true), true);
    // The closing side, from the last point back to the first, is drawn too.
    EXPECT_EQ(columnString(c, 10, 10, 24), std::string(14, '#'));
    EXPECT_EQ(rowString(c, 10, 10, 30), std::string(20, '#'));

    // A dashed circle outline is drawn all round, closing point included.
    Canvas circle(120, 120, kBlack);
    circle.beginPath();
    EllipsePath(circle, 10, 10, 111, 111);
    circle.endPath();
    circle.flattenPath();
    TPath ring;
    ring.capture(circle);
    DashedPath(ring, circle, kWhite, 2, lineStylePattern(2, true), true);
    EXPECT_GT(countColor(circle, kWhite, 100, 55, 112, 66), 0); // around the start point
    EXPECT_GT(countColor(circle, kWhite), 300);
}

TEST(Paths, DashEndsRoundToTheNearestPixelWithHalvesToEven)
{
    // Dashes of 3 at width 1 along a line from x = 0.5-steps: the dash ends fall on halves.
    Canvas c(40, 10, kBlack);
    const std::vector<double> halves{2.5, 2.5};
    const std::vector<QPoint> line{{0, 5}, {20, 5}};
    DashedPolyline(line, c, kWhite, 1, halves, true);
    // Dashes [0, 2.5) → 0..2 (2.5 rounds to 2), [5, 7.5) → 5..8 (7.5 rounds to 8),
    // [10, 12.5) → 10..12, [15, 17.5) → 15..18.
    EXPECT_EQ(rowString(c, 5, 0, 20), "##...###..##...###..");
    Canvas back(40, 10, kBlack);
    const std::vector<QPoint> reversed{{-20, 5}, {0, 5}};
    DashedPolyline(reversed, back, kWhite, 1, halves, true);
    EXPECT_EQ(countColor(back, kWhite), 0); // wholly left of the canvas
}

TEST(Paths, GetPointOutOfRangeRaisesPathError)
{
    TPath empty;
    try {
        empty.GetPoint(0);
        FAIL();
    } catch (const EPathError& e) {
        EXPECT_STREQ(e.what(), "TPath.GetPoint: Index is Out of Range");
    }
    EXPECT_THROW(empty.GetPoint(-1), EPathError);
}

TEST(Palette, TablesHoldTheNamedColoursAndLineKinds)
{
    EXPECT_STREQ(PaletteColor[4].caption, "青");
    EXPECT_EQ(PaletteColor[4].color, 0xEE6600u);
    EXPECT_EQ(PaletteColor[kRedIndex].color, 0x0000FFu);
    EXPECT_EQ(toQRgb(0x0000FF), qRgb(255, 0, 0));
    EXPECT_EQ(fromQRgb(qRgb(0x11, 0x22, 0x33)), 0x332211u);
    EXPECT_EQ(paletteColor(-1, 0x123456), 0x123456u);
    EXPECT_STREQ(LineStyle[kNoLineIndex].caption, "なし");
    EXPECT_EQ(lineStylePattern(kSolidIndex, true)[1], 1.0);
    EXPECT_EQ(lineStylePattern(kSolidIndex)[1], 0.0);
    EXPECT_EQ(lineStylePattern(3).size(), 4u);
}

namespace {

struct RecordingSelector : ColorSelector
{
    std::vector<std::pair<int, int>>* log;
    int id;
    RecordingSelector(std::vector<std::pair<int, int>>* l, int i) : log(l), id(i) {}
    void setColorIndex(int index) override { log->push_back({id, index}); }
};

} // namespace

TEST(ColorInit, SetsEverySelectorInOrderToTheBackgroundsDefault)
{
    std::vector<std::pair<int, int>> log;
    std::vector<RecordingSelector> selectors;
    for (int i = 0; i < 47; ++i) {
        selectors.emplace_back(&log, i);
    }
    std::vector<ColorSelector*> list;
    for (auto& s : selectors) {
        list.push_back(&s);
    }
    ColorInit(list, true);
    ASSERT_EQ(log.size(), 47u);
    for (int i = 0; i < 47; ++i) {
        EXPECT_EQ(log[i], std::make_pair(i, kBlackIndex));
    }
    log.clear();
    ColorInit(list, false);
    EXPECT_EQ(log.front(), std::make_pair(0, kWhiteIndex));
}

TEST(DashedPolyline, LongLinesMostlyOutsideTheCanvasKeepTheirDashesInPlace)
{
    // Horizontal: dash k covers [20k, 20k + 15) from the start, wherever the canvas is.
    Canvas c(100, 20, kBlack);
    const std::vector<QPoint> line{{-1'000'000, 10}, {1'000'000, 10}};
    DashedPolyline(line, c, kWhite, 1, lineStylePattern(1), true);
    for (int x = 0; x < 100; ++x) {
        ASSERT_EQ(c.pixel(x, 10) == kWhite, (x + 1'000'000) % 20 < 15) << x;
    }
    // Slanted, through corners, with an odd-length pattern: a small canvas shows exactly
    // what a large one holding the whole polyline shows.
    const std::vector<QPoint> zigzag{{-3000, -2000}, {700, 500}, {-500, 900}, {2600, -40}};
    Canvas small(200, 200, kBlack);
    DashedPolyline(zigzag, small, kWhite, 3, lineStylePattern(3), true);
    std::vector<QPoint> shifted;
    for (const QPoint& p : zigzag) {
        shifted.push_back(p + QPoint(3100, 2100));
    }
    Canvas large(5800, 3100, kBlack);
    DashedPolyline(shifted, large, kWhite, 3, lineStylePattern(3), true);
    EXPECT_EQ(small.image(), large.image().copy(3100, 2100, 200, 200));
    EXPECT_GT(countColor(small, kWhite), 100);
}

namespace {

// The dashes of the straight line a→b as the walk places them, worked out in extended
// precision dash by dash and each stroked on its own. Only the dashes from a few cycles before
// the part of the line near the canvas to a few after it are stroked: the others cannot reach
// it, and a line thousands of millions of pixels long has too many to walk.
void referenceDashes(QPoint a, QPoint b, Canvas& c, int w, std::span<const double> pattern)
{
    const long double dx = (long double)a.x() - b.x();
    const long double dy = (long double)a.y() - b.y();
    const long double len = std::sqrt(dx * dx + dy * dy);
    auto at = [&](long double along) {
        const long double back = len - along;
        return QPoint(int(std::nearbyint(b.x() + back * dx / len)),
                      int(std::nearbyint(b.y() + back * dy / len)));
    };
    long double sum = 0;
    for (double d : pattern) {
        sum += (long double)w * d;
    }
    const long double cycle = pattern.size() % 2 == 0 ? sum : 2 * sum;
    // Where the line passes nearest the canvas's centre, and how far from there it can reach
    // the canvas.
    const long double cx = c.width() / 2.0L, cy = c.height() / 2.0L;
    const long double t =
        len == 0 ? 0
                 : std::clamp(((cx - a.x()) * -dx + (cy - a.y()) * -dy) / (len * len), 0.0L, 1.0L);
    const long double reach = c.width() + c.height() + 2.0L * w + 8;
    const long double from = std::max(0.0L, t * len - reach - 2 * cycle);
    const long double to = t * len + reach + 2 * cycle;
    Pen pen;
    pen.style = PenStyle::Solid;
    pen.color = kWhite;
    pen.width = w;
    pen.geometric = true;
    pen.flatEnds = true;
    c.setPen(pen);
    long double dashStart = std::floor(from / cycle) * cycle;
    for (std::size_t j = 0; dashStart <= std::min(len, to); j = (j + 2) % pattern.size()) {
        const long double dashEnd = dashStart + (long double)w * pattern[j];
        if (dashStart < len) {
            c.strokeLine(dashStart == 0 ? a : at(dashStart), dashEnd >= len ? b : at(dashEnd));
        }
        dashStart = dashEnd + (long double)w * pattern[(j + 1) % pattern.size()];
    }
}

} // namespace

TEST(DashedPolyline, StraightLinesPutEveryDashWhereExtendedPrecisionDoes)
{
    // A straight line's dashes are found in double precision; every dash end must round as
    // extended precision rounds it, also at coordinates far beyond the window, where doubles
    // keep fewest digits of the fraction.
    std::mt19937 random(20261208);
    auto uniform = [&](long long lo, long long hi) {
        return std::uniform_int_distribution<long long>(lo, hi)(random);
    };
    std::vector<std::pair<QPoint, QPoint>> lines;
    auto inWindow = [&] { return QPoint(int(uniform(0, 63)), int(uniform(0, 47))); };
    for (int k = 0; k < 300; ++k) { // through the window, ending in it or beyond
        const QPoint a(int(uniform(-3000, 3000)), int(uniform(-3000, 3000)));
        const QPoint near = inWindow();
        lines.push_back({a, k % 3 ? near + (near - a) / int(uniform(1, 4)) : near});
    }
    for (int k = 0; k < 100; ++k) { // lengths of whole pixels, rows and columns, points
        const QPoint a(int(uniform(-200, 200)), int(uniform(-200, 200)));
        const int s = int(uniform(0, 60));
        const QPoint d[] = {{3 * s, 4 * s}, {-4 * s, 3 * s}, {5 * s, 0}, {0, -7 * s}, {s, s}};
        lines.push_back({a, a + d[k % 5]});
    }
    for (int k = 0; k < 300; ++k) { // from near the ends of the coordinates through the window
        const QPoint far(int(uniform(INT_MIN, INT_MAX)), int(uniform(INT_MIN, INT_MAX)));
        const QPoint near = inWindow();
        // The point beyond the window on the far point's line through it, as far again.
        const QPoint beyond(int(std::clamp<long long>(2LL * near.x() - far.x(), INT_MIN, INT_MAX)),
                            int(std::clamp<long long>(2LL * near.y() - far.y(), INT_MIN, INT_MAX)));
        lines.push_back(k % 2 ? std::pair{far, beyond} : std::pair{beyond, far});
    }
    // Lines 2A long rising a pixel, whose point at A, a dash's end or start, lies below the
    // half of a pixel by 1/(16A²): too little for double precision to tell, so that rounding
    // it needs the extended arithmetic. They come first, all dashed 15 and 5 at width 1.
    const std::size_t others = lines.size();
    for (const long long along : {20LL * 3'355'443, 20LL * 3'355'443 + 15, 20LL * 3'355'500}) {
        for (const QPoint at : {QPoint(30, 20), QPoint(31, 21)}) {
            const int A = int(along);
            lines.insert(lines.begin(), {at - QPoint(A, 0), at + QPoint(A, 1)});
            lines.insert(lines.begin(), {at - QPoint(0, A), at + QPoint(1, A)});
        }
    }
    const std::size_t first = lines.size() - others;
    int drawn = 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const auto [a, b] = lines[k];
        const int kind = k < first ? 1 : 1 + int(k % 4);
        const int width = k < first ? 1 : std::array{1, 2, 3, 7}[k / 4 % 4];
        const auto pattern = lineStylePattern(kind);
        Canvas dashed(64, 48, kBlack);
        DashedPolyline(std::vector<QPoint>{a, b}, dashed, kWhite, width, pattern, true);
        Canvas expected(64, 48, kBlack);
        referenceDashes(a, b, expected, width, pattern);
        ASSERT_EQ(dashed.image(), expected.image())
            << "line " << k << " (" << a.x() << ", " << a.y() << ") to (" << b.x() << ", " << b.y()
            << "), kind " << kind << ", width " << width;
        drawn += countColor(dashed, kWhite) > 0;
    }
    EXPECT_GT(drawn, 600); // most lines cross the window
}

TEST(DashedPolyline, WidthsOutsideThePensRangeDrawAsTheNearestWidthAndEnd)
{
    // Width 0 or below once made dashes of no length: a walk that never reached the end.
    const std::vector<QPoint> zigzag = {{5, 5}, {90, 40}, {10, 70}, {95, 95}};
    for (int pattern = 0; pattern < 5; ++pattern) {
        const auto dashes = lineStylePattern(pattern);
        Canvas one(100, 100);
        DashedPolyline(zigzag, one, kWhite, 1, dashes, true);
        for (int width : {0, -1, -7, INT_MIN}) {
            Canvas c(100, 100);
            koyomi::test::runWithWatchdog("a dashed polyline of width 0 or below", [&] {
                DashedPolyline(zigzag, c, kWhite, width, dashes, true);
            });
            EXPECT_EQ(c.image(), one.image()) << "pattern " << pattern << " width " << width;
        }
    }
    // Widths far beyond any window are held: the first dash then covers the window wherever
    // the line passes, as the true width would, and the drawing ends.
    for (int width : {kMaxStrokeWidth, kMaxStrokeWidth + 1, INT_MAX}) {
        Canvas c(64, 48);
        const std::vector<QPoint> line = {{-1000, 24}, {1000, 24}};
        koyomi::test::runWithWatchdog("a line of the largest width", [&] {
            DashedPolyline(line, c, kWhite, width, lineStylePattern(1), true);
        });
        EXPECT_EQ(countColor(c, kWhite), 64 * 48) << width;
    }
    EXPECT_EQ(strokeWidth(0), 1);
    EXPECT_EQ(strokeWidth(INT_MIN), 1);
    EXPECT_EQ(strokeWidth(5), 5);
    EXPECT_EQ(strokeWidth(INT_MAX), kMaxStrokeWidth);
}

TEST(Paths, BoxesSpanningTheWholeIntegerRangeAreAddedWithoutOverflow)
{
    Canvas c(32, 32);
    c.beginPath();
    EllipsePath(c, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    RectanglePath(c, INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    c.endPath();
    const std::vector<QPoint>& p = c.pathPoints();
    ASSERT_GE(p.size(), 4u);
    // The rectangle: the lowest corner first, the right and bottom edges one short.
    const std::vector<QPoint> rect(p.end() - 4, p.end());
    EXPECT_EQ(rect, (std::vector<QPoint>{{INT_MIN, INT_MIN},
                                         {INT_MAX - 1, INT_MIN},
                                         {INT_MAX - 1, INT_MAX - 1},
                                         {INT_MIN, INT_MAX - 1}}));
}
