#include "tools/TForm4.h"
#include "CanvasProbe.h"
#include "app/PaintBox.h"
#include "app/TForm1.h"
#include "app/Wiring.h"
#include "state/AppState.h"
#include "state/SettingsFile.h"
#include "tools/TForm2.h"
#include "widgets/PageControl.h"

#include <QAction>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace koyomi;
using koyomi::test::countColor;

namespace {

constexpr render::ColorRef kRed = 0x0000FF;

// The program's three windows joined as main() joins them, over a temporary configuration.
class PaintToolTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    state::AppState state;
    std::unique_ptr<app::TForm1> form1;
    std::unique_ptr<tools::TForm2> form2;
    std::unique_ptr<tools::TForm4> form4;

    void SetUp() override
    {
        state.configFolder = dir.path();
        state.executableName = "koyomiplan";
        state.showError = [](const QString&) {};
        start();
    }
    void start()
    {
        form4.reset();
        form2.reset();
        form1.reset();
        form1 = std::make_unique<app::TForm1>(state);
        form2 = std::make_unique<tools::TForm2>(state, *form1);
        form4 = std::make_unique<tools::TForm4>(state, form1->annotation());
        app::connectDrawTool(*form1, *form2);
        app::connectPaintTool(*form1, *form2, *form4);
        form1->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form1.get()));
    }
    tools::Annotation& annotation() { return form1->annotation(); }
    app::PaintBox* box() { return form1->paintBox(); }
    void dragOnWindow(std::vector<QPoint> points)
    {
        QTest::mousePress(box(), Qt::LeftButton, {}, points.front());
        for (std::size_t i = 1; i < points.size(); ++i) {
            QTest::mouseMove(box(), points[i]);
        }
        QTest::mouseRelease(box(), Qt::LeftButton, {}, points.back());
    }
};

} // namespace

TEST_F(PaintToolTest, ADragOnTheWindowLeavesInkAndCtrlZTakesItBack)
{
    const QImage figure = form1->canvas().image().copy();
    form4->PalBox1MouseDown(30, 13 * 5 + 4); // row 6, right: index 12
    form4->PalBox1MouseDown(3, 13 * 5 + 4);  // row 6, left: index 11, red
    EXPECT_EQ(annotation().PenColorIndex, 11);
    form4->findChild<QSlider*>("TrackBar1")->setValue(5);
    dragOnWindow({{100, 100}, {150, 120}, {200, 100}});
    EXPECT_GT(countColor(form1->canvas(), kRed), 100);
    EXPECT_EQ(form1->canvas().pixel(150, 120), kRed);

    form1->findChild<QAction*>("Undo1")->trigger();
    EXPECT_EQ(form1->canvas().image(), figure);

    // A redraw of the figure leaves nothing to take back.
    dragOnWindow({{100, 100}, {150, 120}});
    form1->redraw();
    form1->findChild<QAction*>("Undo1")->trigger();
    EXPECT_EQ(form1->canvas().image(), figure);
    EXPECT_EQ(annotation().undoSteps(), 0);
}

TEST_F(PaintToolTest, TheBottomLeftCornerOpensThePaintToolAndDrawsNothing)
{
    form4->findChild<QToolButton*>("SpeedButton4")->click(); // filled rectangles
    EXPECT_EQ(annotation().PaintToolKind, tools::kFilledRectangle);
    const QImage before = form1->canvas().image().copy();
    dragOnWindow({{3, box()->height() - 3}, {200, 100}});
    EXPECT_TRUE(form4->isVisible());
    EXPECT_EQ(form1->canvas().image(), before);
}

TEST_F(PaintToolTest, PaletteAndSwatchSetTheColourInFront)
{
    // Outside the twenty cells nothing is chosen.
    form4->PalBox1MouseDown(10, 130);
    EXPECT_EQ(annotation().PenColorIndex, 1);
    EXPECT_EQ(tools::paletteIndexAt(0, 0), 1);
    EXPECT_EQ(tools::paletteIndexAt(26, 12), 2);
    EXPECT_EQ(tools::paletteIndexAt(25, 13), 3);
    EXPECT_EQ(tools::paletteIndexAt(50, 129), 20);
    EXPECT_EQ(tools::paletteIndexAt(50, 130), 0);

    // The square in front is the one the palette sets; where both squares lie, its colour
    // shows.
    const QPoint both(20, 20);
    form4->PalBox1MouseDown(3, 13 * 5 + 4); // pen red
    EXPECT_EQ(tools::swatchImage(annotation(), {40, 40}).pixel(both), qRgb(255, 0, 0));
    form4->PaintBox2Click();
    EXPECT_FALSE(annotation().PenTargetActive);
    EXPECT_EQ(tools::swatchImage(annotation(), {40, 40}).pixel(both), qRgb(0, 0, 0)); // fill
    form4->PalBox1MouseDown(3, 13 * 8 + 4); // row 9, left: index 17, green
    EXPECT_EQ(annotation().BrushColorIndex, 17);
    EXPECT_EQ(annotation().PenColorIndex, 11);
    EXPECT_EQ(tools::swatchImage(annotation(), {40, 40}).pixel(both), qRgb(0, 255, 0));
    // Each square: black edge, white edge, then its colour.
    const QImage swatch = tools::swatchImage(annotation(), {40, 40});
    EXPECT_EQ(swatch.pixel(0, 5), qRgb(0, 0, 0));
    EXPECT_EQ(swatch.pixel(1, 5), qRgb(255, 255, 255));
    EXPECT_EQ(swatch.pixel(2, 5), qRgb(255, 0, 0));
    EXPECT_EQ(swatch.pixel(39, 30), qRgb(0, 0, 0));
    EXPECT_EQ(swatch.pixel(37, 30), qRgb(0, 255, 0));
}

TEST_F(PaintToolTest, ReDrawRedrawsTheCurrentFigureAndAFailureClosesTheTool)
{
    for (int kind : {7, 8}) { // tawara, fraction tiles
        form2->pageControl()->setCurrentIndex(kind);
        const QImage figure = form1->canvas().image().copy();
        dragOnWindow({{50, 50}, {300, 200}});
        ASSERT_NE(form1->canvas().image(), figure);
        form4->findChild<QPushButton*>("Button1")->click();
        EXPECT_EQ(form1->canvas().image(), figure) << kind;
    }
    form4->show();
    form4->redrawFigure = [] { throw std::runtime_error("no memory"); };
    form4->Button1Click();
    EXPECT_FALSE(form4->isVisible());
}

TEST_F(PaintToolTest, PositionAndOpacityComeBackFromTheSettingsAndStayReachable)
{
    form4->move(120, 140);
    form4->findChild<QSlider*>("TrackBar2")->setValue(180);
    start();
    EXPECT_EQ(form4->pos(), QPoint(120, 140));
    EXPECT_EQ(form4->findChild<QSlider*>("TrackBar2")->value(), 180);
    EXPECT_EQ(form4->size(), QSize(60, 432));

    // Far off every screen, or an opacity out of range: back where it can be reached.
    form4.reset();
    state::SettingsFile settings(state.SettingsBase);
    const state::Setting bad[] = {
        {"Painttop", 2147483647}, {"Paintleft", -2147483647 - 1}, {"Paintclearness", 7}};
    ASSERT_TRUE(settings.write(bad));
    form4 = std::make_unique<tools::TForm4>(state, form1->annotation());
    EXPECT_LT(form4->pos().y(), 100);
    EXPECT_GE(form4->pos().x(), 0);
    EXPECT_EQ(form4->findChild<QSlider*>("TrackBar2")->value(), 100);
}
