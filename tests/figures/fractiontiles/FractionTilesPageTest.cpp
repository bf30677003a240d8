#include "figures/fractiontiles/FractionTilesPage.h"
#include "figures/PageFixture.h"
#include "render/Palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

using namespace koyomi;
using figures::FractionTilesPage;

namespace {

class FractionTilesPageTest : public test::PageFixture<FractionTilesPage, 8>
{
protected:
    const std::vector<int> widths{113, 116, 117, 119, 120, 121, 122, 123, 124, 125};
    const std::vector<int> kinds{88, 92, 91, 95, 96, 97, 103, 101, 102, 107};
    const std::vector<int> colours{89, 93, 94, 98, 99, 100, 104, 105, 106, 108};

    std::map<int, QString> widthTexts()
    {
        std::map<int, QString> m;
        for (int n : widths) {
            m[n] = spin(n)->text();
        }
        return m;
    }
    std::map<int, int> indices(const std::vector<int>& combos)
    {
        std::map<int, int> m;
        for (int n : combos) {
            m[n] = combo(n)->currentIndex();
        }
        return m;
    }
};

} // namespace

TEST_F(FractionTilesPageTest, EveryMasterRowSetsExactlyTheRowsItGovernsInOneDrawing)
{
    // Widths cascade: the all-lines width through the frame and division masters.
    const std::map<int, std::set<int>> widthTargets{{113, {116, 117, 119, 120, 121, 122, 123, 124}},
                                                    {116, {117, 119, 120, 121}},
                                                    {122, {123, 124}}};
    for (const auto& [master, targets] : widthTargets) {
        page->bunsu2Click();
        host.drawn.clear();
        spin(master)->setText("3");
        for (int n : widths) {
            const bool set = n == master || targets.count(n) > 0;
            EXPECT_EQ(spin(n)->text(), set ? "3" : "1") << master << " → " << n;
        }
        EXPECT_EQ(host.drawn, std::vector<int>{8}) << master;
    }
    // Kinds and colours: the selector sets each governed selector itself.
    const std::map<int, std::set<int>> selectorTargets{
        {88, {92, 91, 95, 96, 97, 103, 101, 102}},  {92, {91, 95, 96, 97}},  {103, {101, 102}},
        {89, {93, 94, 98, 99, 100, 104, 105, 106}}, {93, {94, 98, 99, 100}}, {104, {105, 106}}};
    for (const auto& [master, targets] : selectorTargets) {
        page->bunsu2Click();
        host.drawn.clear();
        const bool kind = std::find(kinds.begin(), kinds.end(), master) != kinds.end();
        const int chosen = kind ? 2 : render::kRedIndex;
        choose(master, chosen);
        for (int n : kind ? kinds : colours) {
            const bool set = n == master || targets.count(n) > 0;
            EXPECT_EQ(combo(n)->currentIndex(), set ? chosen : 0) << master << " → " << n;
        }
        EXPECT_EQ(host.drawn, std::vector<int>{8}) << master;
    }
    // The tick kind stays when "破線" is chosen for all lines.
    page->bunsu2Click();
    choose(88, 1);
    EXPECT_EQ(combo(107)->currentIndex(), 0);
    EXPECT_EQ(page->params().topSide.kind, 1);
    EXPECT_EQ(page->params().vDivisions.kind, 1);
}

TEST_F(FractionTilesPageTest, ResetsAndTheRecordRestoreEveryControl)
{
    const QString defaults = record();
    EXPECT_EQ(defaults, "9,\"A\",0,150,100,1,50,1,100,1,1,7,10" + QString(",0,1,0").repeated(10));
    spin(108)->setText("120");
    spin(101)->setText("90");
    spin(110)->setText("2");
    spin(109)->setText("0");
    spin(115)->setText("4");
    spin(118)->setText("-3");
    choose(90, 6);
    spin(114)->setText("25");
    choose(88, 2);
    choose(89, render::kRedIndex);
    spin(113)->setText("3");
    spin(117)->setText("1");
    choose(107, 4);
    const QString changed = record("分数");

    host.white = true;
    page->bunsu1Click();
    page->bunsu2Click();
    EXPECT_EQ(record(), "9,\"A\",1,150,100,1,50,1,100,1,1,7,10" + QString(",0,1,1").repeated(10));

    host.drawn.clear();
    ASSERT_TRUE(form->loadRecord(changed));
    EXPECT_EQ(record("分数"), changed);
    EXPECT_EQ(state.FigureKind, 8);
    EXPECT_EQ(host.drawn, std::vector<int>{8});

    // A stored all-lines width of 3 with side widths of 1: the sides come back 1.
    QString thin = defaults;
    thin.replace("7,10,0,1,0,0,1,0", "7,10,0,3,0,0,1,0");
    ASSERT_NE(thin, defaults);
    ASSERT_TRUE(form->loadRecord(thin));
    EXPECT_EQ(spin(113)->text(), "3");
    for (int n : {116, 117, 119, 120, 121, 122, 123, 124}) {
        EXPECT_EQ(spin(n)->text(), "1") << n;
    }
}
