#include "app/TForm1.h"
#include "state/AppState.h"
#include "state/SettingsFile.h"
#include "widgets/ToolPlacement.h"

#include <QAction>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <qpa/qplatformnativeinterface.h>

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
    // The offscreen platform's screens, as its configuration describes them; setting one
    // without the projector is unplugging it.
    static QJsonObject screenConfiguration()
    {
        QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
        using Get = QJsonObject (*)(QPlatformNativeInterface*);
        auto get = reinterpret_cast<Get>(native->nativeResourceForIntegration("configuration"));
        return get ? get(native) : QJsonObject();
    }
    static void setScreenConfiguration(const QJsonObject& configuration)
    {
        QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
        using Set = void (*)(const QJsonObject&, QPlatformNativeInterface*);
        auto set = reinterpret_cast<Set>(native->nativeResourceForIntegration("setConfiguration"));
        ASSERT_NE(set, nullptr);
        set(configuration, native);
        QTest::qWait(20);
    }
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

// Unplugging the projector while full screen on it, then leaving full screen: the window
// comes back whole on the laptop's monitor, in its remembered size, not at its remembered
// place on the missing monitor.
TEST_F(ScreenChoiceTest, LeavingFullScreenAfterTheProjectorWentPutsTheWindowOnAScreen)
{
    const QJsonObject both = screenConfiguration();
    ASSERT_EQ(both["screens"].toArray().size(), 2);
    QJsonObject laptopOnly = both;
    QJsonArray screens = both["screens"].toArray();
    screens.removeLast();
    laptopOnly["screens"] = screens;

    auto w = start();
    entry(*w, 2)->trigger();
    const QSize windowed = w->size();
    w->Action1Execute();
    QTest::qWait(20);
    ASSERT_EQ(w->geometry(), projector()->geometry());

    setScreenConfiguration(laptopOnly);
    ASSERT_EQ(QGuiApplication::screens().size(), 1);
    const QRect laptop = QGuiApplication::primaryScreen()->availableGeometry();
    w->Action1Execute();
    QTest::qWait(20);
    EXPECT_FALSE(w->isFullScreenMode());
    EXPECT_TRUE(laptop.contains(w->geometry())) << w->geometry().x() << "," << w->geometry().y();
    EXPECT_EQ(w->size(), windowed);
    // Centred on the monitor it is on.
    EXPECT_EQ(w->geometry().center().x(), laptop.center().x());

    // A remembered place still on a monitor is kept exactly.
    w->move(100, 120);
    const QRect place = w->geometry();
    w->Action1Execute();
    QTest::qWait(20);
    w->Action1Execute();
    QTest::qWait(20);
    EXPECT_EQ(w->geometry(), place);

    setScreenConfiguration(both);
    EXPECT_EQ(QGuiApplication::screens().size(), 2);
}

TEST(ScreenPlacement, AWindowIsMostlyOnAScreenWhenHalfItsAreaIsOnOne)
{
    const QRect screens[] = {QRect(0, 0, 1280, 800), QRect(1280, 0, 1024, 768)};
    EXPECT_TRUE(widgets::mostlyOnAScreen(QRect(100, 100, 800, 570), screens));
    // Half on the laptop's monitor is enough; 79 pixels of it is not.
    EXPECT_TRUE(widgets::mostlyOnAScreen(QRect(880, 0, 800, 570), screens));
    EXPECT_FALSE(widgets::mostlyOnAScreen(QRect(881, 0, 800, 570), std::span(screens, 1)));
    EXPECT_FALSE(widgets::mostlyOnAScreen(QRect(1201, 0, 800, 570), std::span(screens, 1)));
    // Straddling both monitors, with no half on either, counts as stranded.
    EXPECT_FALSE(widgets::mostlyOnAScreen(QRect(1000, 500, 560, 570), screens));
    EXPECT_FALSE(widgets::mostlyOnAScreen(QRect(-100000, -100000, 800, 570), screens));
    EXPECT_FALSE(widgets::mostlyOnAScreen(QRect(), screens));
}
