#include "app/Wiring.h"
#include "CanvasProbe.h"
#include "app/PaintBox.h"
#include "app/TForm1.h"
#include "state/AppState.h"
#include "tools/TForm2.h"
#include "widgets/SpinEdit.h"

#include <QAction>
#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace koyomi;
using koyomi::test::countColor;

// The program as main() joins it: the Draw tool's pages drive the presentation window.
TEST(Wiring, DrawToolChangesReachThePresentationWindowAndBack)
{
    QTemporaryDir dir;
    state::AppState state;
    state.configFolder = dir.path();
    state.executableName = "koyomiplan";
    state.showError = [](const QString&) {};
    app::TForm1 form1(state);
    tools::TForm2 form2(state, form1);
    app::connectDrawTool(form1, form2);
    form1.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form1));
    const int whiteAtStart = countColor(form1.canvas(), render::kWhite);
    EXPECT_GT(whiteAtStart, 0);

    // A spacing typed on the graph paper page is on the projector at once.
    form2.findChild<widgets::SpinEdit*>("SpinEdit15")->setText("20");
    EXPECT_GT(countColor(form1.canvas(), render::kWhite), 0);
    EXPECT_NE(countColor(form1.canvas(), render::kWhite), whiteAtStart);

    // The hot corner shows the Draw tool.
    app::PaintBox* box = form1.paintBox();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 3, box->height() - 3));
    EXPECT_TRUE(form2.isVisible());

    // White background: colour choices turn black, the figure is drawn black on white.
    auto* color = form2.findChild<QComboBox*>("ComboBox12");
    color->setCurrentIndex(7);
    form1.findChild<QAction*>("mBgWhite")->trigger();
    EXPECT_EQ(color->currentIndex(), 1);
    EXPECT_EQ(form1.canvas().pixel(0, 0), render::kWhite);
    EXPECT_GT(countColor(form1.canvas(), render::kBlack), 0);
    EXPECT_EQ(countColor(form1.canvas(), 0x0000FF), 0);
}
