#include "figures/tawara/TawaraPage.h"
#include "figures/PageFixture.h"
#include "render/Palette.h"

#include <QLineEdit>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace koyomi;
using figures::TawaraPage;

namespace {

using TawaraPageTest = test::PageFixture<TawaraPage, 7>;

} // namespace

TEST_F(TawaraPageTest, EmptiedFieldsTheGapsTooTakeOneAndEveryChangeDrawsOnce)
{
    for (int n : {100, 102, 103, 104, 105, 106, 107}) {
        spin(n)->setText("");
        EXPECT_EQ(spin(n)->text(), "1") << n;
    }
    choose(84, 1);
    choose(85, 2);
    choose(86, render::kRedIndex);
    choose(87, 1);
    // Emptying and refilling is one change: one drawing each, and one per choice.
    EXPECT_EQ(host.drawn, std::vector<int>(7 + 4, 7));
    for (int n : {103, 104, 105, 106}) {
        EXPECT_EQ(spin(n)->maxTypedLength(), 3) << n;
    }
    EXPECT_EQ(spin(107)->minimum(), 0);
    EXPECT_EQ(spin(107)->maximum(), 50);
}

TEST_F(TawaraPageTest, TheResetAndTheRecordRestoreEveryControl)
{
    const QString defaults = record();
    EXPECT_EQ(defaults, "8,\"A\",0,30,0,2,0,0,1,0,1,150,1,150");
    const std::vector<std::pair<int, const char*>> spins{
        {102, "12"}, {107, "5"}, {100, "3"}, {104, "2"}, {103, "0"}, {105, "3"}, {106, "40"}};
    for (const auto& [n, text] : spins) {
        spin(n)->setText(text);
    }
    choose(84, 1);
    choose(87, 1);
    choose(85, 4);
    choose(86, render::kRedIndex);
    const QString changed = record("俵");
    EXPECT_EQ(changed,
              QStringLiteral("8,\"俵\",0,12,1,5,1,4,3,%1,2,0,3,40").arg(render::kRedIndex));

    host.white = true;
    host.drawn.clear();
    page->Tawara1Click();
    EXPECT_EQ(record(), "8,\"A\",1,30,0,2,0,0,1,1,1,150,1,150");
    EXPECT_EQ(host.drawn, std::vector<int>{7});

    host.drawn.clear();
    ASSERT_TRUE(form->loadRecord(changed));
    EXPECT_EQ(record("俵"), changed);
    EXPECT_EQ(state.FigureKind, 7);
    EXPECT_EQ(host.drawn, std::vector<int>{7});
}
