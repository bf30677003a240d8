// Pixel rules checked member by member: slanted one-pixel lines, vertical line batches, the
// font's pixel height, dash patterns at widths above one, dash walks that end exactly on a
// dash boundary, and curve points that fall on half pixels.
#include "CanvasProbe.h"
#include "render/Canvas.h"
#include "render/Palette.h"
#include "render/PathUtils.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace koyomi::render;
using koyomi::test::rowString;

namespace {

constexpr ColorRef kRed = 0x0000FF;

std::set<std::pair<int, int>> paintedPixels(const Canvas& c, ColorRef color = kWhite)
{
    std::set<std::pair<int, int>> painted;
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            if (c.pixel(x, y) == color) {
                painted.insert({x, y});
            }
        }
    }
    return painted;
}

Pen onePixel(ColorRef color, PenStyle style = PenStyle::Solid)
{
    Pen pen;
    pen.color = color;
    pen.style = style;
    return pen;
}

} // namespace

// The minor coordinate at step s is s·minor/major rounded half up, counted from the first
// point, in every direction; the first point is painted and the last is not.
TEST(OnePixelLines, SlantedLinesPaintTheRoundedMinorStepInEveryOctant)
{
    struct Case
    {
        QPoint from, to;
        std::set<std::pair<int, int>> pixels;
    };
    const std::vector<Case> cases = {
        {{1, 1}, {6, 3}, {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}}}, // shallow, right down
        {{6, 3}, {1, 1}, {{6, 3}, {5, 3}, {4, 2}, {3, 2}, {2, 1}}}, // the same, reversed
        {{1, 5}, {6, 3}, {{1, 5}, {2, 5}, {3, 4}, {4, 4}, {5, 3}}}, // shallow, right up
        {{6, 3}, {1, 5}, {{6, 3}, {5, 3}, {4, 4}, {3, 4}, {2, 5}}}, // shallow, left down
        {{1, 1}, {3, 6}, {{1, 1}, {1, 2}, {2, 3}, {2, 4}, {3, 5}}}, // steep, down right
        {{3, 6}, {1, 1}, {{3, 6}, {3, 5}, {2, 4}, {2, 3}, {1, 2}}}, // steep, up left
        {{5, 1}, {3, 6}, {{5, 1}, {5, 2}, {4, 3}, {4, 4}, {3, 5}}}, // steep, down left
        {{3, 6}, {5, 1}, {{3, 6}, {3, 5}, {4, 4}, {4, 3}, {5, 2}}}, // steep, up right
        {{1, 1}, {5, 3}, {{1, 1}, {2, 2}, {3, 2}, {4, 3}}},         // halves round up
        {{5, 3}, {1, 1}, {{5, 3}, {4, 2}, {3, 2}, {2, 1}}},         // ... away from the start
        {{1, 1}, {4, 4}, {{1, 1}, {2, 2}, {3, 3}}},                 // diagonal
        {{6, 1}, {3, 4}, {{6, 1}, {5, 2}, {4, 3}}},                 // anti-diagonal
    };
    for (const Case& k : cases) {
        Canvas c(8, 8);
        c.setPen(onePixel(kWhite));
        c.moveTo(k.from.x(), k.from.y());
        c.lineTo(k.to.x(), k.to.y());
        EXPECT_EQ(paintedPixels(c), k.pixels)
            << k.from.x() << "," << k.from.y() << " → " << k.to.x() << "," << k.to.y();
    }
}

// A batch of vertical lines draws what the lines drawn one after another would, whatever the
// colours and styles of neighbouring columns, including a later line over an earlier one.
TEST(OnePixelLines, VerticalBatchesEqualTheLinesDrawnInTurn)
{
    const std::vector<Canvas::VerticalLine> lines = {
        {2, 60, kRed, PenStyle::Solid},        {3, 60, kWhite, PenStyle::Solid},
        {4, 60, kWhite, PenStyle::Dash},       {5, 45, kWhite, PenStyle::Solid},
        {6, 60, kRed, PenStyle::Dot},          {7, 60, 0x00FF00, PenStyle::DashDot},
        {8, 70, kWhite, PenStyle::DashDotDot}, {9, 60, kWhite, PenStyle::Clear},
        {3, 30, kRed, PenStyle::Dot},          {10, -5, kRed, PenStyle::Solid},
        {-1, 60, kRed, PenStyle::Solid},       {11, 60, kRed, PenStyle::Solid},
        {12, 60, kRed, PenStyle::Solid},       {12, 50, kWhite, PenStyle::Dash},
    };
    Canvas batch(14, 64);
    batch.verticalLines(lines, 4);
    Canvas inTurn(14, 64);
    for (const Canvas::VerticalLine& l : lines) {
        inTurn.setPen(onePixel(l.color, l.style));
        inTurn.moveTo(int(l.x), 4);
        inTurn.lineTo(int(l.x), int(l.yEnd));
    }
    for (int x = 0; x < 14; ++x) {
        for (int y = 0; y < 64; ++y) {
            ASSERT_EQ(batch.pixel(x, y), inTurn.pixel(x, y)) << x << "," << y;
        }
    }
}

// Points to pixels at 96 dots per inch: size × 96 / 72, halves away from zero.
TEST(Fonts, PointSizesBecomePixelHeightsRoundedToTheNearest)
{
    const std::vector<std::pair<int, int>> table = {
        {1, 1},   {2, 3},   {3, 4},   {4, 5},     {5, 7},   {6, 8},   {7, 9},   {8, 11},   {9, 12},
        {10, 13}, {11, 15}, {12, 16}, {13, 17},   {14, 19}, {15, 20}, {16, 21}, {17, 23},  {18, 24},
        {20, 27}, {36, 48}, {72, 96}, {100, 133}, {0, 0},   {-1, -1}, {-2, -3}, {-10, -13}};
    for (const auto& [points, pixels] : table) {
        EXPECT_EQ(fontPixelHeight(points), pixels) << points << " pt";
    }
}

// At width w a dash pattern's lengths are w times the pattern's: dash 15/5, dot 3/3, dash-dot
// 10/3/2/3, dash-dot-dot 10/2/2/2/2/2, all with flat ends.
TEST(DashedPolyline, PatternsScaleWithTheWidth)
{
    struct Case
    {
        int kind;
        int width;
        std::string row; // along the line's middle row, x = 0 … 59
    };
    auto runs = [](std::initializer_list<std::pair<char, int>> parts) {
        std::string s;
        for (const auto& [c, n] : parts) {
            s += std::string(std::size_t(n), c);
        }
        return s.substr(0, 60);
    };
    const std::vector<Case> cases = {
        {1, 2, runs({{'#', 30}, {'.', 10}, {'#', 20}})},
        {1, 3, runs({{'#', 45}, {'.', 15}})},
        {2, 2,
         runs({{'#', 6},
               {'.', 6},
               {'#', 6},
               {'.', 6},
               {'#', 6},
               {'.', 6},
               {'#', 6},
               {'.', 6},
               {'#', 6},
               {'.', 6}})},
        {2, 3, runs({{'#', 9}, {'.', 9}, {'#', 9}, {'.', 9}, {'#', 9}, {'.', 9}, {'#', 6}})},
        {3, 2, runs({{'#', 20}, {'.', 6}, {'#', 4}, {'.', 6}, {'#', 20}, {'.', 4}})},
        {3, 3, runs({{'#', 30}, {'.', 9}, {'#', 6}, {'.', 9}, {'#', 6}})},
        {4, 2, runs({{'#', 20}, {'.', 4}, {'#', 4}, {'.', 4}, {'#', 4}, {'.', 4}, {'#', 20}})},
        {4, 3, runs({{'#', 30}, {'.', 6}, {'#', 6}, {'.', 6}, {'#', 6}, {'.', 6}})},
    };
    for (const Case& k : cases) {
        Canvas c(70, 20);
        const std::vector<QPoint> line = {{0, 10}, {60, 10}};
        DashedPolyline(line, c, kWhite, k.width, lineStylePattern(k.kind), true);
        EXPECT_EQ(rowString(c, 10, 0, 60), k.row) << "kind " << k.kind << " width " << k.width;
        EXPECT_EQ(rowString(c, 10, 60, 70), std::string(10, '.'));
    }
}

// Dashes that end exactly where a line or a corner ends: nothing is drawn past the end, and
// a dash that ends at a corner does not turn it.
TEST(DashedPolyline, DashesEndingExactlyAtALineEndOrCorner)
{
    {
        Canvas c(50, 20);
        const std::vector<QPoint> line = {{0, 10}, {35, 10}}; // dash 20–35 ends on the end
        DashedPolyline(line, c, kWhite, 1, lineStylePattern(1), true);
        EXPECT_EQ(rowString(c, 10, 0, 50), std::string(15, '#') + std::string(5, '.') +
                                               std::string(15, '#') + std::string(15, '.'));
    }
    {
        // The first dash ends on the corner (15); the gap covers 15–20 of the way, going
        // down; the next dash runs from y 15 to the end at y 25.
        Canvas c(40, 40);
        const std::vector<QPoint> corner = {{0, 10}, {15, 10}, {15, 30}};
        DashedPolyline(corner, c, kWhite, 1, lineStylePattern(1), true);
        EXPECT_EQ(rowString(c, 10, 0, 20), std::string(15, '#') + std::string(5, '.'));
        EXPECT_EQ(koyomi::test::columnString(c, 15, 10, 32),
                  std::string(5, '.') + std::string(15, '#') + std::string(2, '.'));
    }
    {
        // A path of one segment is drawn as that segment.
        Canvas viaPath(50, 20);
        viaPath.beginPath();
        viaPath.moveTo(2, 8);
        viaPath.lineTo(47, 8);
        viaPath.endPath();
        TPath path;
        path.capture(viaPath);
        DashedPath(path, viaPath, kWhite, 1, lineStylePattern(3), true);
        Canvas direct(50, 20);
        const std::vector<QPoint> line = {{2, 8}, {47, 8}};
        DashedPolyline(line, direct, kWhite, 1, lineStylePattern(3), true);
        EXPECT_EQ(viaPath.image(), direct.image());
        EXPECT_EQ(rowString(direct, 8, 0, 50),
                  std::string(2, '.') + std::string(10, '#') + std::string(3, '.') +
                      std::string(2, '#') + std::string(3, '.') + std::string(10, '#') +
                      std::string(3, '.') + std::string(2, '#') + std::string(3, '.') +
                      std::string(9, '#') + std::string(3, '.'));
    }
}

// Curve points are rounded after taking 0.0001 away, halves to even: a point on a half
// pixel goes to the lower pixel whatever the parity.
TEST(Paths, EllipsePointsOnHalfPixelsGoToTheLowerPixel)
{
    struct Case
    {
        QRect box; // x1, y1, x2, y2 as left, top, right, bottom
        QPoint right, top, left, bottom;
    };
    const std::vector<Case> cases = {
        // centre 5, radius 4.5: extremes at 9.5 and 0.5
        {QRect(QPoint(0, 0), QPoint(10, 10)), {9, 5}, {5, 0}, {0, 5}, {5, 9}},
        // centre 5.5 (even below), radius 5: extremes at 10.5 and 0.5
        {QRect(QPoint(0, 0), QPoint(11, 11)), {10, 5}, {5, 0}, {0, 5}, {5, 10}},
        // centre 7.5 (odd below), radius 5
        {QRect(QPoint(2, 2), QPoint(13, 13)), {12, 7}, {7, 2}, {2, 7}, {7, 12}},
        // a box of height 1: radius 0, every point on the centre row
        {QRect(QPoint(0, 4), QPoint(9, 5)), {8, 4}, {4, 4}, {0, 4}, {4, 4}},
    };
    for (const Case& k : cases) {
        Canvas c(20, 20);
        c.beginPath();
        EllipsePath(c, k.box.left(), k.box.top(), k.box.right(), k.box.bottom());
        c.endPath();
        TPath path;
        path.capture(c);
        ASSERT_EQ(path.Count(), 13);
        EXPECT_EQ(path.GetPoint(0).point, k.right);
        EXPECT_EQ(path.GetPoint(3).point, k.top);
        EXPECT_EQ(path.GetPoint(6).point, k.left);
        EXPECT_EQ(path.GetPoint(9).point, k.bottom);
        EXPECT_EQ(path.GetPoint(12).point, k.right);
    }
}
