#include "figures/clock/ClockPage.h"
#include "figures/PageFixture.h"
#include "render/Palette.h"

#include <QLineEdit>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace koyomi;
using figures::ClockPage;

namespace {

using ClockPageTest = test::PageFixture<ClockPage, 4>;

} // namespace

TEST_F(ClockPageTest, SharedHandlersRefillOnlyTheFieldTheyAreNamedAfter)
{
    // SpinEdit59 shares SpinEdit58's handling: emptied, it stays empty, reads as 1, draws.
    spin(59)->setText("");
    EXPECT_EQ(spin(59)->text(), "");
    EXPECT_EQ(page->params().hourMarkSize, 1);
    EXPECT_EQ(host.drawn, std::vector<int>{4});
    spin(58)->setText("");
    EXPECT_EQ(spin(58)->text(), "1");
    spin(64)->setText("");
    EXPECT_EQ(spin(64)->text(), "");
    spin(70)->setText("");
    EXPECT_EQ(spin(70)->text(), "1");
    // Every other spin edit refills its own text, the numeral size below its range too.
    for (int n : {71, 57, 65, 61, 60, 62, 63, 67, 68}) {
        spin(n)->setText("");
        EXPECT_EQ(spin(n)->text(), "1") << n;
    }
    EXPECT_EQ(host.drawn, std::vector<int>(13, 4));
    for (int n : {60, 61, 62, 63}) {
        EXPECT_EQ(spin(n)->maxTypedLength(), 3) << n;
    }
}

TEST_F(ClockPageTest, ABackgroundChangeResetsColoursAndKeepsTheShapes)
{
    choose(45, 2);
    choose(49, 0);
    choose(51, render::kRedIndex);
    form->ColorInit(true);
    EXPECT_EQ(combo(45)->currentIndex(), 2);
    EXPECT_EQ(combo(49)->currentIndex(), 0);
    for (int n : {51, 55, 59, 52, 60}) {
        EXPECT_EQ(combo(n)->currentIndex(), render::kBlackIndex) << n;
    }
}

TEST_F(ClockPageTest, ResetsAndTheRecordRestoreEveryControl)
{
    const QString defaults = record();
    EXPECT_EQ(defaults, "5,\"A\",0,50,1,1,3,5,3,1,10,1,50,1,50,0,1,0,0,1,0,0,1,0,0,1,0,0");
    const std::vector<std::pair<int, const char*>> spins{
        {71, "80"}, {57, "4"}, {59, "9"}, {58, "6"}, {65, "24"}, {61, "2"}, {60, "0"},
        {62, "3"},  {63, "7"}, {67, "2"}, {68, "3"}, {70, "4"},  {64, "5"}};
    for (const auto& [n, text] : spins) {
        spin(n)->setText(text);
    }
    const std::vector<std::pair<int, int>> choices{{45, 2}, {48, 1}, {49, 0}, {50, 1},
                                                   {51, 7}, {54, 2}, {55, 3}, {58, 3},
                                                   {59, 4}, {47, 4}, {52, 5}, {60, 6}};
    for (const auto& [n, index] : choices) {
        choose(n, index);
    }
    const QString changed = record("時計");
    EXPECT_EQ(changed, "5,\"時計\",0,80,2,4,1,9,6,0,24,2,0,3,7,1,2,7,2,3,3,3,4,4,4,5,5,6");

    host.white = true;
    page->clock1Click();
    page->clock2Click();
    EXPECT_EQ(record(), "5,\"A\",1,50,1,1,3,5,3,1,10,1,50,1,50,0,1,1,0,1,1,0,1,1,0,1,1,1");

    host.drawn.clear();
    ASSERT_TRUE(form->loadRecord(changed));
    EXPECT_EQ(record("時計"), changed);
    EXPECT_EQ(state.FigureKind, 4);
    EXPECT_EQ(host.drawn, std::vector<int>{4});
}
