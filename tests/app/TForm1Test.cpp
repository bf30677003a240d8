#include "app/TForm1.h"
#include "CanvasProbe.h"
#include "app/PaintBox.h"
#include "figures/graphpaper/GraphPaper.h"
#include "state/AppState.h"
#include "state/SettingsFile.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace koyomi::app;
using namespace koyomi::state;
using namespace koyomi::render;
using koyomi::test::countColor;

namespace {

// A presentation window over a temporary configuration folder, with the tool windows'
// requests recorded instead of carried out.
class PresentationWindowTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    AppState state;
    QStringList errors;
    int drawToolShown = 0;
    int paintToolShown = 0;
    int picturesAdvanced = 0;
    int renders = 0;
    std::vector<bool> colorInits;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        state.configFolder = dir.path() + "/config";
        state.executableName = "koyomiplan";
        state.showError = [this](const QString& m) { errors.append(m); };
    }

    std::unique_ptr<TForm1> makeWindow()
    {
        auto w = std::make_unique<TForm1>(state);
        w->setRenderer(0, [this](Canvas& c, const Frame& f) {
            ++renders;
            koyomi::figures::drawGraphPaper(
                c, koyomi::figures::GraphPaperParams::defaults(f.whiteBackground), f);
        });
        ToolSeams& t = w->tools();
        t.showDrawTool = [this] { ++drawToolShown; };
        t.showPaintTool = [this] { ++paintToolShown; };
        t.advancePicture = [this] { ++picturesAdvanced; };
        t.colorInit = [this](bool white) { colorInits.push_back(white); };
        return w;
    }

    QString settingsPath() const { return state.configFolder + "/koyomiplan.ini.ini"; }

    QAction* action(TForm1& w, const char* name)
    {
        return w.findChild<QAction*>(QString::fromLatin1(name));
    }
};

} // namespace

TEST_F(PresentationWindowTest, AFreshStartIsBlackWithGraphPaperCentredOnTheScreen)
{
    auto w = makeWindow();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    EXPECT_FALSE(state.BWflag);
    EXPECT_TRUE(action(*w, "mBgBlack")->isChecked());
    EXPECT_FALSE(action(*w, "mBgWhite")->isChecked());
    EXPECT_EQ(state.FigureKind, 0);
    EXPECT_EQ(w->windowTitle(), "Koyomiplan");
    const QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(w->pos(), QPoint((screen.width() - 800) / 2, (screen.height() - 570) / 2));
    // The figure was drawn on first show, on black.
    EXPECT_GT(renders, 0);
    EXPECT_EQ(w->canvas().pixel(0, 0), kBlack);
    EXPECT_GT(countColor(w->canvas(), kWhite), 0);
    EXPECT_EQ(state.SettingsBase, state.configFolder + "/koyomiplan.ini");
    // With one monitor there is no monitor to choose.
    EXPECT_FALSE(w->findChild<QMenu*>("ScreenMenu")->menuAction()->isVisible());
}

TEST_F(PresentationWindowTest, WhiteBackgroundRepaintsAtOnceResetsColoursAndPersists)
{
    {
        auto w = makeWindow();
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        const int before = renders;
        action(*w, "mBgWhite")->trigger();
        EXPECT_TRUE(state.BWflag);
        EXPECT_EQ(renders, before + 1);
        EXPECT_EQ(w->canvas().pixel(0, 0), kWhite);
        EXPECT_GT(countColor(w->canvas(), kBlack), 0);
        EXPECT_EQ(colorInits, std::vector<bool>{true});
        EXPECT_TRUE(action(*w, "mBgWhite")->isChecked());
        EXPECT_FALSE(action(*w, "mBgBlack")->isChecked());
    }
    // Written when the window went away, in the one section named by the full base path.
    QFile file(settingsPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith("[" + state.configFolder + "/koyomiplan.ini]\r\nBWflag=1\r\n"))
        << text.toStdString();

    state.BWflag = false;
    auto again = makeWindow();
    EXPECT_TRUE(state.BWflag);
    EXPECT_TRUE(action(*again, "mBgWhite")->isChecked());
    EXPECT_FALSE(action(*again, "mBgBlack")->isChecked());
}

TEST_F(PresentationWindowTest, SpaceTwiceReturnsToTheSameGeometryWithTheMenu)
{
    auto w = makeWindow();
    w->move(37, 41);
    w->resize(640, 480);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    const QRect before = w->geometry();

    QTest::keyClick(w.get(), Qt::Key_Space);
    EXPECT_TRUE(w->isFullScreenMode());
    EXPECT_FALSE(w->menuBar()->isVisible());
    // In full screen the snapshot is the whole monitor.
    QTest::qWait(20);
    EXPECT_EQ(w->snapshot().size(), w->screen()->size());

    QTest::keyClick(w.get(), Qt::Key_Space);
    EXPECT_FALSE(w->isFullScreenMode());
    EXPECT_TRUE(w->menuBar()->isVisible());
    EXPECT_EQ(w->geometry(), before);
}

TEST_F(PresentationWindowTest, EnterAdvancesOnlyThePicture)
{
    auto w = makeWindow();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    action(*w, "Action2")->trigger();
    EXPECT_EQ(picturesAdvanced, 0);
    state.FigureKind = 5;
    action(*w, "Action2")->trigger();
    EXPECT_EQ(picturesAdvanced, 1);
}

TEST_F(PresentationWindowTest, HotCornersOpenTheToolsAndDrawNothing)
{
    auto w = makeWindow();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    PaintBox* box = w->paintBox();
    const QImage before = w->canvas().image().copy();
    const int rendersBefore = renders;
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 5, box->height() - 5));
    EXPECT_EQ(drawToolShown, 1);
    EXPECT_EQ(paintToolShown, 0);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(3, box->height() - 3));
    EXPECT_EQ(paintToolShown, 1);
    // Just outside the corners nothing opens.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(32, box->height() - 3));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 5, box->height() - 32));
    EXPECT_EQ(drawToolShown + paintToolShown, 2);
    EXPECT_EQ(w->canvas().image(), before);
    EXPECT_EQ(renders, rendersBefore);
}

TEST_F(PresentationWindowTest, ResizingRedrawsAtTheNewSize)
{
    auto w = makeWindow();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    const int before = renders;
    w->resize(500, 400);
    QTest::qWait(20);
    EXPECT_GT(renders, before);
    EXPECT_EQ(w->canvas().width(), w->paintBox()->width());
    EXPECT_EQ(w->canvas().height(), w->paintBox()->height());
    // The figure is centred again in the new size.
    EXPECT_EQ(w->frame().height, w->paintBox()->height());
}

TEST_F(PresentationWindowTest, ARendererErrorWhileResizingClosesTheWindow)
{
    auto w = makeWindow();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    w->setRenderer(0, [](Canvas&, const Frame&) { throw std::runtime_error("broken figure"); });
    w->resize(300, 300);
    QTest::qWait(20);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(PresentationWindowTest, SavedJpegHoldsTheSnapshotAndCancelWritesNothing)
{
    auto w = makeWindow();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    // An annotation made after the last redraw is part of the picture.
    w->canvas().fillRect(10, 10, 60, 40, 0x0000FF);
    w->paintBox()->update();
    const QImage shot = w->snapshot();
    EXPECT_EQ(shot.size(), w->paintBox()->size());

    const QString out = dir.path() + "/out";
    w->askSavePath = [] { return QString(); };
    w->Save1Click();
    EXPECT_FALSE(QDir(dir.path()).exists("out.jpg"));

    w->askSavePath = [&] { return out; }; // typed without extension
    w->Save1Click();
    ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    QImage saved(out + ".jpg");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), shot.size());
    for (const QPoint p : {QPoint(30, 25), QPoint(5, 5), QPoint(shot.width() / 2, 3)}) {
        const QColor a = saved.pixelColor(p), b = shot.pixelColor(p);
        EXPECT_NEAR(a.red(), b.red(), 12);
        EXPECT_NEAR(a.green(), b.green(), 12);
        EXPECT_NEAR(a.blue(), b.blue(), 12);
    }
    EXPECT_NEAR(saved.pixelColor(30, 25).red(), 255, 12);

    // A folder that cannot be written to is reported and nothing else changes.
    w->askSavePath = [&] { return dir.path() + "/missing/folder/x.jpg"; };
    w->Save1Click();
    EXPECT_EQ(errors.size(), 1);
}

TEST_F(PresentationWindowTest, SavedPngHoldsEveryPixelOfTheSnapshot)
{
    auto w = makeWindow();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    // One-pixel lines of two colours side by side: what JPEG would smear.
    for (int x = 0; x < 40; x += 2) {
        w->canvas().fillRect(10 + x, 10, 11 + x, 60, x % 4 == 0 ? 0x0000FF : 0x00FF00);
    }
    w->paintBox()->update();
    const QImage shot = w->snapshot();
    const QString out = dir.path() + "/lines.PNG";
    w->askSavePath = [&] { return out; };
    w->Save1Click();
    ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(8).startsWith("\x89PNG"));
    EXPECT_EQ(QImage(out).convertToFormat(QImage::Format_RGB32), shot);
}

TEST_F(PresentationWindowTest, CopyPutsTheSnapshotOnTheClipboard)
{
    auto w = makeWindow();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    w->canvas().fillRect(0, 0, 20, 20, 0x00FF00);
    w->paintBox()->update();
    action(*w, "EditCopy1")->trigger();
    const QImage pasted =
        QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(pasted, w->snapshot());
    EXPECT_EQ(pasted.pixel(5, 5), qRgb(0, 255, 0));
}

TEST(SettingsFile, ReadsDefaultsFromMissingOrDamagedFilesAndKeepsOtherLines)
{
    QTemporaryDir dir;
    const QString base = settingsBaseFor(dir.path(), "koyomiplan");
    EXPECT_EQ(base, dir.path() + "/koyomiplan.ini");
    EXPECT_EQ(settingsBaseFor("/c/", "K.exe"), "/c/K.ini");
    SettingsFile settings(base);
    EXPECT_EQ(settings.path(), base + ".ini");
    EXPECT_EQ(settings.readInteger("Drawtop", 10), 10); // no file yet
    EXPECT_FALSE(settings.readBool("BWflag", false));

    QFile file(settings.path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("; a note\r\n[Other]\r\nBWflag=1\r\n[" + base +
                "]\r\nBWflag=yes\r\nDrawtop= 42 \r\n"
                "Drawleft=-7\r\nbroken line\r\n")
                   .toUtf8());
    file.close();
    EXPECT_FALSE(settings.readBool("BWflag", false)); // malformed: the default
    EXPECT_TRUE(settings.readBool("BWflag", true));
    EXPECT_EQ(settings.readInteger("Drawtop", 10), 42);
    EXPECT_EQ(settings.readInteger("drawleft", 10), -7); // keys ignore case
    EXPECT_EQ(settings.readInteger("Paintclearness", 255), 255);

    ASSERT_TRUE(settings.writeBool("BWflag", true));
    ASSERT_TRUE(settings.writeInteger("Paintclearness", 120));
    EXPECT_TRUE(settings.readBool("BWflag", false));
    EXPECT_EQ(settings.readInteger("Paintclearness", 255), 120);
    EXPECT_EQ(settings.readInteger("Drawtop", 10), 42);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains("; a note\r\n[Other]\r\nBWflag=1\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("broken line")); // the hand-edited line survives

    // An unwritable folder: the write fails with a reason and the program goes on.
    QFile blocker(dir.path() + "/blocker");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsFile unwritable(settingsBaseFor(dir.path() + "/blocker/sub", "koyomiplan"));
    QString error;
    EXPECT_FALSE(unwritable.writeBool("BWflag", true, &error));
    EXPECT_EQ(unwritable.readInteger("BWflag", 5), 5);
}

TEST(SaveDialog, FilterTextGivesBothJpegEntriesThenPng)
{
    EXPECT_EQ(nameFiltersFrom(QString::fromUtf8(kSaveFilter)),
              QStringList({"JPEG イメージファイル (*.jpg)", "JPEG イメージファイル (*.jpeg)",
                           "PNG画像 (*.png)"}));
}
