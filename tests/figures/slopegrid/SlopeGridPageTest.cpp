#include "figures/slopegrid/SlopeGridPage.h"
#include "figures/PageFixture.h"
#include "render/Palette.h"

#include <QLineEdit>
#include <gtest/gtest.h>

#include <vector>

using namespace koyomi;
using figures::SlopeGridPage;

namespace {

using SlopeGridPageTest = test::PageFixture<SlopeGridPage, 2>;

} // namespace

TEST_F(SlopeGridPageTest, EveryChangeDrawsOnceAndEmptiedFieldsTakeOne)
{
    spin(28)->setText("");
    EXPECT_EQ(spin(28)->text(), "1");
    spin(29)->setText("3");
    choose(27, 1);
    choose(28, render::kRedIndex);
    EXPECT_EQ(host.drawn, std::vector<int>(4, 2));
    EXPECT_EQ(page->params().spacing, 1);
    EXPECT_EQ(page->params().lineWidth, 3);
    EXPECT_EQ(spin(29)->maxTypedLength(), 1);
    EXPECT_EQ(spin(28)->maximum(), 1000);
}

TEST_F(SlopeGridPageTest, TheResetAndTheRecordRestoreEveryControl)
{
    const QString defaults = record();
    EXPECT_EQ(defaults, "3,\"A\",0,100,0,1,0");
    spin(28)->setText("35");
    spin(29)->setText("4");
    choose(27, 1);
    choose(28, render::kRedIndex);
    const QString changed = record("斜め");
    EXPECT_EQ(changed, QStringLiteral("3,\"斜め\",0,35,%1,4,%2").arg(1).arg(render::kRedIndex));

    host.white = true;
    host.drawn.clear();
    page->slope1Click();
    EXPECT_EQ(record(), "3,\"A\",1,100,0,1,1"); // black lines on white
    EXPECT_EQ(host.drawn, std::vector<int>{2});

    host.drawn.clear();
    ASSERT_TRUE(form->loadRecord(changed));
    EXPECT_EQ(record("斜め"), changed);
    EXPECT_EQ(state.FigureKind, 2);
    EXPECT_EQ(host.drawn, std::vector<int>{2});
}
