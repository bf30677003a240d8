#include "figures/numberline/NumberLinePage.h"
#include "figures/PageFixture.h"
#include "render/Palette.h"

#include <QLineEdit>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace koyomi;
using figures::NumberLinePage;

namespace {

class NumberLinePageTest : public test::PageFixture<NumberLinePage, 6>
{
protected:
    QLineEdit* unit() { return page->findChild<QLineEdit*>("Edit1"); }
};

} // namespace

TEST_F(NumberLinePageTest, OwnHandlersRefillAndSharedOnesOnlyRedraw)
{
    for (int n : {72, 66, 73, 74, 75, 76, 77, 78, 79, 80, 81, 83}) {
        spin(n)->setText("");
        EXPECT_EQ(spin(n)->text(), "1") << n;
    }
    for (int n : {69, 87, 84, 86, 82, 85}) {
        spin(n)->setText("");
        EXPECT_EQ(spin(n)->text(), "") << n;
    }
    EXPECT_EQ(page->params().sub1Length, 1);
    unit()->setText("cm");
    EXPECT_EQ(host.drawn, std::vector<int>(12 + 6 + 1, 6));
}

TEST_F(NumberLinePageTest, ResetsAndTheRecordKeepEverythingThePlusSignAndTheUnitIncluded)
{
    const QString defaults = record();
    EXPECT_EQ(defaults,
              "7,\"A\",0,10,50,1,50,1,100,0,1,0,0,0,10,0,1,0,0,0,1,1,0,10,10,0,,1,5,0,1,0,1,5,0,1,"
              "0,0");
    const std::vector<std::pair<int, const char*>> spins{
        {72, "7"}, {66, "40"}, {75, "2"}, {74, "0"},  {76, "3"}, {77, "60"},
        {80, "3"}, {73, "12"}, {83, "2"}, {78, "-2"}, {81, "5"}, {79, "24"},
        {82, "2"}, {69, "8"},  {84, "3"}, {85, "10"}, {87, "4"}, {86, "2"}};
    for (const auto& [n, text] : spins) {
        spin(n)->setText(text);
    }
    const std::vector<std::pair<int, int>> choices{{69, 1}, {68, 7}, {66, 1}, {65, 2}, {63, 3},
                                                   {64, 4}, {67, 1}, {71, 1}, {77, 2}, {72, 1},
                                                   {70, 5}, {73, 4}, {74, 6}, {75, 2}, {76, 8}};
    for (const auto& [n, index] : choices) {
        choose(n, index);
    }
    unit()->setText("c m,2");
    const QString changed = record("数直線");
    EXPECT_TRUE(changed.contains(",\"c m,2\",")) << changed.toStdString();
    EXPECT_TRUE(changed.endsWith(",1")) << changed.toStdString(); // the plus sign

    host.white = true;
    page->line1Click();
    page->line2Click();
    const QString reset = record();
    EXPECT_EQ(reset,
              "7,\"A\",1,10,50,1,50,1,50,0,1,1,0,0,10,0,1,1,0,0,1,1,0,10,10,1,,1,5,0,1,1,1,5,0,1,"
              "1,0");

    host.drawn.clear();
    ASSERT_TRUE(form->loadRecord(changed));
    EXPECT_EQ(record("数直線"), changed);
    EXPECT_EQ(unit()->text(), "c m,2");
    EXPECT_EQ(combo(72)->currentIndex(), 1);
    EXPECT_EQ(state.FigureKind, 6);
    EXPECT_EQ(host.drawn, std::vector<int>{6});

    // A record of 34 fields, as written before the plus sign was kept, reads it as "なし".
    QString older = changed;
    older.chop(2);
    ASSERT_TRUE(form->loadRecord(older));
    EXPECT_EQ(combo(72)->currentIndex(), 0);
    EXPECT_EQ(unit()->text(), "c m,2");
}
