#include "figures/grid/GridPage.h"
#include "figures/PageFixture.h"
#include "render/Palette.h"
#include "render/Text.h"

#include <QLineEdit>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace koyomi;
using figures::GridPage;

namespace {

class GridPageTest : public test::PageFixture<GridPage, 1>
{
protected:
    QString text(int n) { return spin(n)->text(); }
    std::pair<QString, QString> spacings() { return {text(30), text(31)}; }
};

using Pair = std::pair<QString, QString>;

} // namespace

TEST_F(GridPageTest, TheEquilateralBoxHoldsTheSpacingsInTheRatioOfTheRootOfThree)
{
    // What typing does: the text grows one character at a time.
    auto type = [&](int n, const QString& typed) {
        for (qsizetype i = 1; i <= typed.size(); ++i) {
            spin(n)->setText(typed.left(i));
        }
    };
    // Ticking it with rows 50 apart puts the columns round(50 ÷ 1.7320508) = 29 apart, and
    // draws once.
    check(5)->setChecked(true);
    EXPECT_EQ(spacings(), Pair("50", "29"));
    EXPECT_EQ(host.drawn, std::vector<int>{1});
    // Typing 51 bounces once: columns 29, then rows round(29 × 1.7320508) = 50.
    type(30, "51");
    EXPECT_EQ(spacings(), Pair("50", "29"));
    type(31, "50");
    EXPECT_EQ(spacings(), Pair("87", "50"));
    // The row setting both spacings couples them too.
    type(39, "100");
    EXPECT_EQ(spacings(), Pair("100", "58"));
    // Without the box the fields are free, and the both-ways rows copy their text.
    check(5)->setChecked(false);
    type(30, "51");
    EXPECT_EQ(spacings(), Pair("51", "58"));
    host.drawn.clear();
    spin(39)->setText("40");
    EXPECT_EQ(spacings(), Pair("40", "40"));
    spin(38)->setText("7");
    EXPECT_EQ(text(32), "7");
    EXPECT_EQ(text(33), "7");
    // Each change drew the grid once, however many fields it set.
    EXPECT_EQ(host.drawn, (std::vector<int>{1, 1}));
}

TEST_F(GridPageTest, ASpacingThatIsNotANumberWhileCoupledIsAnErrorAndChangesNothingElse)
{
    check(5)->setChecked(true);
    host.drawn.clear();
    spin(30)->setText("-");
    ASSERT_EQ(host.errors.size(), 1);
    EXPECT_EQ(host.errors[0], "'-' は整数ではありません");
    EXPECT_EQ(text(31), "29");
    EXPECT_TRUE(host.drawn.empty());
    // Free, the same text just reads as the field's minimum.
    check(5)->setChecked(false);
    host.errors.clear();
    host.drawn.clear();
    spin(31)->setText("x");
    EXPECT_TRUE(host.errors.isEmpty());
    EXPECT_EQ(page->params().columnSpacing, 1);
    EXPECT_EQ(host.drawn, std::vector<int>{1});
}

TEST_F(GridPageTest, EmptiedFieldsTakeOneAndLeavingAFieldHoldsItToItsRange)
{
    for (int n = 30; n <= 40; ++n) {
        spin(n)->setText("");
        EXPECT_EQ(text(n), "1") << n;
    }
    // The vertical gap cannot go below 1, the horizontal one can be 0.
    spin(37)->setText("0");
    spin(37)->clampText();
    EXPECT_EQ(text(37), "1");
    spin(34)->setText("0");
    spin(34)->clampText();
    EXPECT_EQ(text(34), "0");
    // Typing limits: three characters for blocks and gaps, one for the mark size.
    for (int n : {34, 35, 36, 37}) {
        EXPECT_EQ(spin(n)->maxTypedLength(), 3) << n;
    }
    EXPECT_EQ(spin(40)->maxTypedLength(), 1);
    EXPECT_EQ(spin(40)->maximum(), 1000);
}

TEST_F(GridPageTest, ResetsRestoreTheirPanels)
{
    for (int n = 30; n <= 40; ++n) {
        spin(n)->setText("3");
    }
    choose(29, 3);
    choose(30, render::kRedIndex);
    choose(62, 1);
    // With the box ticked, the geometry reset ends coupled: 87 and 50.
    check(5)->setChecked(true);
    host.drawn.clear();
    page->grid1Click();
    const std::vector<std::pair<int, const char*>> geometry{
        {38, "10"}, {39, "50"}, {32, "10"}, {30, "87"}, {33, "10"},
        {31, "50"}, {35, "1"},  {34, "10"}, {36, "1"},  {37, "10"}};
    for (const auto& [n, expected] : geometry) {
        EXPECT_EQ(text(n), expected) << n;
    }
    EXPECT_EQ(text(40), "3"); // the mark panel is left alone
    EXPECT_EQ(host.drawn, std::vector<int>{1});

    host.white = true;
    page->grid2Click();
    EXPECT_EQ(text(40), "1");
    EXPECT_FALSE(check(5)->isChecked());
    EXPECT_EQ(combo(29)->currentIndex(), 0); // "○"
    EXPECT_EQ(combo(62)->currentIndex(), 0); // "なし"
    EXPECT_EQ(combo(30)->currentIndex(), render::kBlackIndex);
    EXPECT_EQ(text(30), "87"); // the geometry panel is left alone
}

TEST_F(GridPageTest, RecordsHoldFifteenFieldsAndReadBackAsSaved)
{
    const QString defaults = record();
    EXPECT_EQ(defaults, "2,\"A\",0,10,50,10,50,10,50,1,10,1,10,0,1,0,0,0");

    spin(38)->setText("4");
    spin(32)->setText("6");
    spin(35)->setText("3");
    spin(34)->setText("0");
    spin(36)->setText("2");
    spin(37)->setText("5");
    choose(29, 1);
    spin(40)->setText("7");
    choose(30, render::kRedIndex);
    choose(62, 1);
    check(5)->setChecked(true);
    spin(31)->setText("40");
    const QString ticked = record("三角");
    EXPECT_EQ(ticked, "2,\"三角\",0,4,50,6,69,4,40,3,0,2,5,1,7,7,1,1");

    page->grid1Click();
    page->grid2Click();
    host.drawn.clear();
    ASSERT_TRUE(form->loadRecord(ticked));
    EXPECT_EQ(record("三角"), ticked);
    EXPECT_EQ(host.drawn, std::vector<int>{1});
    EXPECT_EQ(state.FigureKind, 1);

    // Saved with the box clear and both spacings 50: back as 50 and 50, whatever the box
    // showed before loading.
    ASSERT_TRUE(form->loadRecord(defaults));
    EXPECT_EQ(record(), defaults);
    check(5)->setChecked(true);
    ASSERT_TRUE(form->loadRecord(defaults));
    EXPECT_EQ(record(), defaults);
    EXPECT_FALSE(check(5)->isChecked());
    // And a coupled preset comes back coupled over a free page.
    ASSERT_TRUE(form->loadRecord(ticked));
    EXPECT_EQ(record("三角"), ticked);
}
