#include "app/TForm1.h"
#include "state/AppState.h"
#include "state/SettingsFile.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace koyomi;

namespace {

class ScreenChoiceTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    state::AppState state;

    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::screens().size(), 2);
        state.configFolder = dir.path();
        state.executableName = "koyomiplan";
        state.showError = [](const QString&) {};
    }
    std::unique_ptr<app::TForm1> start()
    {
        auto w = std::make_unique<app::TForm1>(state);
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }
    static QScreen* projector() { return QGuiApplication::screens()[1]; }
    static QAction* entry(app::TForm1& w, int n)
    {
        return w.findChild<QAction*>(QStringLiteral("Screen%1").arg(n));
    }
};

} // namespace

TEST_F(ScreenChoiceTest, TheMenuOffersEachMonitorAndTheChoiceMovesTheWindowThere)
{
    auto w = start();
    auto* menu = w->findChild<QMenu*>("ScreenMenu");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "表示先");
    EXPECT_TRUE(menu->menuAction()->isVisible());
    ASSERT_NE(entry(*w, 2), nullptr);
    EXPECT_EQ(entry(*w, 1)->text(), "LAPTOP (1280×800)");
    EXPECT_EQ(entry(*w, 2)->text(), "PROJECTOR (1024×768)");
    EXPECT_TRUE(entry(*w, 1)->isChecked());

    entry(*w, 2)->trigger();
    EXPECT_TRUE(entry(*w, 2)->isChecked());
    EXPECT_TRUE(projector()->geometry().contains(w->geometry())) << w->geometry().x();
    EXPECT_EQ(w->screen(), projector());

    // Full screen covers exactly the chosen monitor, and stays on it when chosen again.
    w->Action1Execute();
    QTest::qWait(20);
    EXPECT_EQ(w->geometry(), projector()->geometry());
    entry(*w, 1)->trigger();
    QTest::qWait(20);
    EXPECT_TRUE(w->isFullScreenMode());
    EXPECT_EQ(w->geometry(), QGuiApplication::screens()[0]->geometry());
    entry(*w, 2)->trigger();
    QTest::qWait(20);
    EXPECT_EQ(w->geometry(), projector()->geometry());
    // Leaving full screen: a window on the projector.
    w->Action1Execute();
    QTest::qWait(20);
    EXPECT_TRUE(projector()->geometry().contains(w->geometry()));
}

TEST_F(ScreenChoiceTest, TheChoiceSurvivesARestartAndAnUnknownMonitorMeansThePrimary)
{
    {
        auto w = start();
        w->moveToScreen(projector());
    }
    EXPECT_EQ(state::SettingsFile(state.SettingsBase).readText("Screen"), "PROJECTOR");
    {
        auto w = start();
        EXPECT_EQ(w->presentationScreen(), "PROJECTOR");
        EXPECT_TRUE(projector()->geometry().contains(w->geometry()));
        EXPECT_TRUE(entry(*w, 2)->isChecked());
    }

    // A projector that is not attached today: the primary monitor, and the saved name is
    // kept for the day it is.
    state::SettingsFile settings(state.SettingsBase);
    const state::Setting gone[] = {{"Screen", 0, QStringLiteral("HDMI-2")}};
    ASSERT_TRUE(settings.write(gone));
    {
        auto w = start();
        EXPECT_TRUE(QGuiApplication::primaryScreen()->geometry().contains(w->geometry()));
    }
    EXPECT_EQ(settings.readText("Screen"), "HDMI-2");
}
