#include "tools/Annotation.h"
#include "CanvasProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace koyomi;
using koyomi::test::countColor;
using render::Canvas;
using tools::Annotation;

namespace {

constexpr render::ColorRef kRed = 0x0000FF; // palette 11
constexpr int kRedIndex = 11;

// A drag as the window delivers it: press, moves, release at the last point.
void drag(Annotation& a, Canvas& c, std::vector<QPoint> points, bool white = false)
{
    a.press(c, points.front());
    for (std::size_t i = 1; i < points.size(); ++i) {
        a.move(c, points[i], white);
    }
    a.release(c, points.back());
}

// The shape drawn straight onto the canvas as the finished stroke draws it.
void drawDirect(Canvas& c, int tool, QPoint from, QPoint to, render::ColorRef pen,
                render::ColorRef fill, int width)
{
    render::Pen p;
    p.color = pen;
    p.width = width;
    p.flatEnds = false;
    c.setPen(p);
    const bool filled = tool == tools::kFilledRectangle || tool == tools::kFilledEllipse;
    c.setBrush(render::Brush{fill, !filled});
    if (tool == tools::kRectangle || tool == tools::kFilledRectangle) {
        c.rectangle(from.x(), from.y(), to.x(), to.y());
    } else if (tool == tools::kEllipse || tool == tools::kFilledEllipse) {
        c.ellipse(from.x(), from.y(), to.x(), to.y());
    } else {
        c.moveTo(from.x(), from.y());
        c.lineTo(to.x(), to.y());
    }
}

// A figure to draw over: a white grid on black.
void figure(Canvas& c)
{
    c.fillRect(QRect(0, 0, c.width(), c.height()), render::kBlack);
    for (int x = 5; x < c.width(); x += 17) {
        c.fillRect(QRect(x, 0, 1, c.height()), render::kWhite);
    }
}

} // namespace

TEST(Annotation, FreehandPassesThroughEveryMousePositionWithTheWidth)
{
    for (int width : {1, 7}) {
        Canvas c(200, 120);
        Annotation a;
        a.PenColorIndex = kRedIndex;
        a.PenWidth = width;
        const std::vector<QPoint> points = {{10, 10}, {40, 25}, {41, 90}, {120, 60}, {150, 100}};
        drag(a, c, points);
        // Every position but the last, where no segment starts, is painted, and so is the
        // middle of every segment.
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            EXPECT_EQ(c.pixel(points[i].x(), points[i].y()), kRed) << width << " " << i;
            const QPoint mid = (points[i] + points[i + 1]) / 2;
            EXPECT_EQ(c.pixel(mid.x(), mid.y()), kRed) << width << " " << i;
        }
        // The width: 3 pixels beside the last segment's middle lie 2.4 pixels from its
        // centre line, 6 pixels lie 4.8 from it.
        const QPoint m = (points[3] + points[4]) / 2;
        EXPECT_EQ(c.pixel(m.x() + 3, m.y()) == kRed, width == 7);
        EXPECT_NE(c.pixel(m.x() + 6, m.y()), kRed);
    }
}

TEST(Annotation, ABandLeavesNothingButTheFinishedShapeWhicheverWayItIsDragged)
{
    for (int tool : {tools::kLine, tools::kRectangle, tools::kFilledRectangle, tools::kEllipse,
                     tools::kFilledEllipse}) {
        for (bool white : {false, true}) {
            Canvas c(160, 120);
            figure(c);
            Canvas expected(160, 120);
            figure(expected);
            Annotation a;
            a.PaintToolKind = tool;
            a.PenColorIndex = kRedIndex;
            a.BrushColorIndex = 17; // green
            a.PenWidth = 3;
            // Bottom-right to top-left, through points beyond the window and back.
            drag(a, c, {{130, 100}, {90, 60}, {-20, 150}, {200, -10}, {30, 20}}, white);
            if (tool == tools::kLine) {
                drawDirect(expected, tool, {130, 100}, {30, 20}, kRed, 0x00FF00, 3);
            } else {
                // A box dragged the other way is the same box.
                drawDirect(expected, tool, {30, 20}, {130, 100}, kRed, 0x00FF00, 3);
            }
            ASSERT_EQ(c.image(), expected.image()) << tool << " " << white;
            EXPECT_FALSE(a.dragging());
        }
    }
}

TEST(Annotation, TheRubberBandShowsThePenColourOnBlackAndOnWhite)
{
    for (bool white : {false, true}) {
        const render::ColorRef background = white ? render::kWhite : render::kBlack;
        Canvas c(100, 40, background);
        Annotation a;
        a.PaintToolKind = tools::kLine;
        a.PenColorIndex = kRedIndex;
        a.press(c, {10, 20});
        a.move(c, {90, 20}, white);
        EXPECT_EQ(c.pixel(50, 20), kRed) << white; // red, not its complement
        a.move(c, {10, 30}, white);
        EXPECT_EQ(c.pixel(50, 20), background) << white; // the old band is gone
        a.release(c, {10, 30});
        EXPECT_EQ(countColor(c, kRed), 10) << white;
    }
}

TEST(Annotation, TheArrowHeadIsTwentyLongWithAThirtyDegreeOpeningFilledWithTheFillColour)
{
    EXPECT_EQ(tools::arrowHead({0, 0}, {100, 0}),
              (std::array<QPoint, 3>{QPoint(100, 0), QPoint(80, -5), QPoint(80, 5)}));
    // Any direction: both sides 20 long (within rounding), 30° apart.
    for (double degrees = 0; degrees < 360; degrees += 15) {
        const double t = degrees * std::numbers::pi / 180;
        const QPoint tip(500, 500);
        const QPoint from(int(500 - 300 * std::cos(t)), int(500 - 300 * std::sin(t)));
        const auto head = tools::arrowHead(from, tip);
        const QPointF b1 = head[1] - tip;
        const QPointF b2 = head[2] - tip;
        const double side = 20 / std::cos(15 * std::numbers::pi / 180);
        EXPECT_NEAR(std::hypot(b1.x(), b1.y()), side, 1.0) << degrees;
        EXPECT_NEAR(std::hypot(b2.x(), b2.y()), side, 1.0) << degrees;
        const double opening = std::acos(QPointF::dotProduct(b1, b2) /
                                         (std::hypot(b1.x(), b1.y()) * std::hypot(b2.x(), b2.y())));
        EXPECT_NEAR(opening * 180 / std::numbers::pi, 30, 3.5) << degrees;
    }

    Canvas c(200, 60);
    Annotation a;
    a.PaintToolKind = tools::kArrow;
    a.PenColorIndex = 1;           // white outline and shaft
    a.BrushColorIndex = kRedIndex; // red head
    drag(a, c, {{20, 30}, {100, 40}, {150, 30}});
    EXPECT_EQ(c.pixel(150, 30), render::kWhite); // the tip
    EXPECT_EQ(c.pixel(134, 32), kRed);           // inside the head
    EXPECT_EQ(c.pixel(60, 30), render::kWhite);  // the shaft
    EXPECT_EQ(c.pixel(100, 40), render::kBlack); // no band left where it passed
}

TEST(Annotation, FloodFillStopsAtAnOutlineOfAnotherColour)
{
    Canvas c(120, 80);
    render::Pen pen;
    c.setPen(pen);
    c.setPenColor(render::kWhite);
    c.setBrushClear(true);
    c.rectangle(20, 20, 60, 50);
    Annotation a;
    a.PaintToolKind = tools::kFloodFill;
    a.BrushColorIndex = kRedIndex;
    a.press(c, {40, 35});
    a.release(c, {40, 35});
    EXPECT_EQ(countColor(c, kRed), 38 * 28);
    EXPECT_EQ(c.pixel(10, 10), render::kBlack);
    EXPECT_EQ(c.pixel(20, 35), render::kWhite);

    // Filling again with the same colour changes nothing and is no step; the outside fill
    // (around the outline, both sides of it) is taken back exactly.
    a.press(c, {40, 35});
    a.release(c, {40, 35});
    EXPECT_EQ(a.undoSteps(), 1);
    const QImage filledInside = c.image().copy();
    a.press(c, {5, 5});
    a.release(c, {5, 5});
    EXPECT_EQ(countColor(c, render::kBlack), 0);
    EXPECT_TRUE(a.undo(c));
    EXPECT_EQ(c.image(), filledInside);
}

TEST(Annotation, UndoBringsBackTheExactPixelsStrokeByStrokeWithinItsBounds)
{
    Canvas c(120, 90);
    figure(c);
    const QImage start = c.image().copy();
    Annotation a;
    a.PenWidth = 9;
    drag(a, c, {{10, 10}, {100, 80}});
    const QImage afterOne = c.image().copy();
    a.PaintToolKind = tools::kFilledEllipse;
    drag(a, c, {{20, 60}, {90, 10}});
    ASSERT_NE(c.image(), afterOne);
    // A click that draws nothing is no step.
    a.PaintToolKind = tools::kFreehand;
    drag(a, c, {{50, 50}});
    EXPECT_EQ(a.undoSteps(), 2);
    EXPECT_TRUE(a.undo(c));
    EXPECT_EQ(c.image(), afterOne);
    EXPECT_TRUE(a.undo(c));
    EXPECT_EQ(c.image(), start);
    EXPECT_FALSE(a.undo(c));

    // At most 20 strokes back; a new figure leaves none.
    for (int i = 0; i < 25; ++i) {
        drag(a, c, {{i, 5}, {i + 40, 80}});
    }
    EXPECT_EQ(a.undoSteps(), Annotation::kMaxUndoSteps);
    a.forget();
    EXPECT_EQ(a.undoSteps(), 0);

    // And at most 256 MB of pictures: a 4096 × 4096 surface (64 MB) keeps four.
    Canvas large(4096, 4096);
    for (int i = 0; i < 6; ++i) {
        drag(a, large, {{i * 10, 0}, {i * 10 + 5, 4000}});
    }
    EXPECT_EQ(a.undoSteps(), 4);
}

namespace {

// The pixels that differ between two pictures of the same size, as one rectangle.
QRect differing(const QImage& a, const QImage& b)
{
    QRect area;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                area |= QRect(x, y, 1, 1);
            }
        }
    }
    return area;
}

} // namespace

// The window repaints only the area each mouse step reports: every pixel a step changes must
// lie in it, for the widest pen, the arrow's head, a band shrinking back and strokes that
// leave the surface.
TEST(Annotation, EveryPixelAStepChangesLiesInTheAreaItReports)
{
    const std::vector<QPoint> path = {{60, 60},   {150, 110}, {20, 140},
                                      {190, -30}, {-40, 70},  {100, 100}};
    for (int tool : {tools::kFreehand, tools::kLine, tools::kArrow, tools::kRectangle,
                     tools::kFilledRectangle, tools::kEllipse, tools::kFilledEllipse}) {
        for (int width : {1, 5, tools::kMaxPenWidth}) {
            Canvas c(200, 150, render::kBlack);
            Annotation a;
            a.PaintToolKind = tool;
            a.PenWidth = width;
            a.PenColorIndex = kRedIndex;
            QImage before = c.image().copy();
            auto check = [&](const char* step) {
                const QRect changed = differing(before, c.image());
                EXPECT_TRUE(changed.isEmpty() || a.changed().contains(changed))
                    << step << ": tool " << tool << " width " << width << " changed " << changed.x()
                    << "," << changed.y() << " " << changed.width() << "x" << changed.height();
                before = c.image().copy();
            };
            a.press(c, path.front());
            check("press");
            for (std::size_t i = 1; i < path.size(); ++i) {
                a.move(c, path[i], false);
                check("move");
            }
            a.release(c, path.back());
            check("release");
        }
    }
}

// A filled band on white shows the pen and fill colours themselves, not their complements,
// as it does on black: its outline in the pen's colour and its inside in the fill's, and no
// pixel of any other colour where the two meet.
TEST(Annotation, AFilledBandShowsItsOwnColoursOnWhiteAndOnBlack)
{
    for (int tool : {tools::kFilledRectangle, tools::kFilledEllipse}) {
        for (bool white : {false, true}) {
            const render::ColorRef background = white ? render::kWhite : render::kBlack;
            Canvas c(120, 80, background);
            Annotation a;
            a.PaintToolKind = tool;
            a.PenColorIndex = kRedIndex;
            a.BrushColorIndex = 4; // 0x808000: blue and green at half
            a.PenWidth = 3;
            a.press(c, {10, 10});
            a.move(c, {60, 50}, white);
            EXPECT_EQ(c.pixel(35, 30), 0x808000u) << tool << white; // inside
            EXPECT_EQ(c.pixel(80, 30), background) << tool << white;
            const int outline = countColor(c, kRed);
            const int inside = countColor(c, 0x808000);
            EXPECT_GT(outline, 100) << tool << white;
            EXPECT_EQ(outline + inside + countColor(c, background), 120 * 80) << tool << white;
            if (tool == tools::kFilledRectangle) {
                EXPECT_EQ(c.pixel(10, 30), kRed) << white; // the outline's middle row
                EXPECT_EQ(c.pixel(11, 30), kRed) << white; // a width of 3
                EXPECT_EQ(c.pixel(12, 30), 0x808000u) << white;
            }
        }
    }
}
