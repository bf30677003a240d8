#include "figures/circle/CirclePage.h"
#include "figures/PageFixture.h"
#include "render/Palette.h"

#include <QLineEdit>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace koyomi;
using figures::CirclePage;

namespace {

using CirclePageTest = test::PageFixture<CirclePage, 3>;

constexpr char kDefaults[] = "4,\"A\",0,50,1,0,1,1,0,0,3,0,1,10,1,1,50,1,50,0,1,0,0,1,0,0,1,0,0,"
                             "1,0,0,1,0,0,1,5,0,1,0,1,5,0,1,0";

} // namespace

TEST_F(CirclePageTest, HandlersRefillGapsWithZeroAndLeaveTheStepAndSubDivisionsEmpty)
{
    spin(45)->setText("");
    EXPECT_EQ(spin(45)->text(), "0");
    spin(48)->setText("");
    EXPECT_EQ(spin(48)->text(), "0");
    // The step runs the number size's handler: an emptied step stays empty and reads as 1.
    spin(96)->setText("");
    EXPECT_EQ(spin(96)->text(), "");
    EXPECT_EQ(page->params().numberStep, 1);
    spin(56)->setText("");
    EXPECT_EQ(spin(56)->text(), "1");
    for (int n = 90; n <= 95; ++n) {
        spin(n)->setText("");
        EXPECT_EQ(spin(n)->text(), "") << n;
    }
    EXPECT_EQ(page->params().sub1.division, 1);
    for (int n : {49, 50, 41, 43, 42, 55, 46, 47, 51, 44, 52, 53, 54}) {
        spin(n)->setText("");
        EXPECT_EQ(spin(n)->text(), "1") << n;
    }
    // Every change drew the circle once.
    EXPECT_EQ(host.drawn, std::vector<int>(2 + 2 + 6 + 13, 3));
    for (int n : {46, 45, 47, 48, 90, 93}) {
        EXPECT_EQ(spin(n)->maxTypedLength(), 3) << n;
    }
    for (int n : {51, 44, 52, 53, 54}) {
        EXPECT_EQ(spin(n)->maxTypedLength(), 1) << n;
    }
}

TEST_F(CirclePageTest, ResetsAndTheRecordRestoreEveryControl)
{
    EXPECT_EQ(record(), kDefaults);
    const std::vector<std::pair<int, const char*>> spins{
        {49, "80"}, {50, "4"}, {41, "3"}, {43, "12"}, {42, "6"}, {55, "0"}, {56, "14"}, {96, "5"},
        {46, "2"},  {45, "0"}, {47, "3"}, {48, "7"},  {51, "2"}, {44, "3"}, {52, "4"},  {53, "5"},
        {54, "2"},  {90, "5"}, {91, "9"}, {92, "2"},  {93, "2"}, {95, "7"}, {94, "3"}};
    for (const auto& [n, text] : spins) {
        spin(n)->setText(text);
    }
    const std::vector<std::pair<int, int>> choices{
        {31, 2}, {32, 3}, {33, 4}, {44, 1}, {34, 1}, {39, 7}, {35, 2}, {36, 3}, {37, 3}, {38, 4},
        {40, 4}, {41, 5}, {42, 1}, {43, 6}, {46, 8}, {78, 2}, {79, 9}, {80, 3}, {81, 10}};
    for (const auto& [n, index] : choices) {
        choose(n, index);
    }
    const QString changed = record("円");
    // Field 4 is the centre mark's size, field 34 the first ring's mark size.
    const QStringList fields = changed.split(u',');
    EXPECT_EQ(fields[3 + 3], spin(41)->text());
    EXPECT_EQ(fields[3 + 33], spin(91)->text());

    host.white = true;
    page->Oval1Click();
    page->Oval2Click();
    page->Oval3Click();
    // Every control of the three lists back to its reset value, black on white; the step
    // keeps its value and the sub-division sizes become 1, not 5.
    EXPECT_EQ(record(), "4,\"A\",1,50,1,0,1,1,0,0,3,0,1,10,5,1,50,1,50,0,1,1,0,1,1,0,1,1,0,1,1,0,1,"
                        "1,1,1,1,0,1,1,1,1,0,1,1");
    EXPECT_EQ(spin(96)->text(), fields[3 + 11]);
    EXPECT_EQ(spin(91)->text(), "1");
    EXPECT_EQ(spin(95)->text(), "1");
    for (int n : {39, 36, 38, 41, 43, 46, 79, 81}) {
        EXPECT_EQ(combo(n)->currentIndex(), render::kBlackIndex) << n;
    }

    host.drawn.clear();
    ASSERT_TRUE(form->loadRecord(changed));
    EXPECT_EQ(record("円"), changed);
    EXPECT_EQ(spin(41)->text(), fields[3 + 3]);
    EXPECT_EQ(spin(91)->text(), fields[3 + 33]);
    EXPECT_EQ(state.FigureKind, 3);
    EXPECT_EQ(host.drawn, std::vector<int>{3});
}
