#include "figures/picture/PicturePage.h"
#include "PictureFiles.h"
#include "figures/PageFixture.h"
#include "widgets/PageControl.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace koyomi;
using figures::PicturePage;
using test::near;

namespace {

// The host is 400 × 300; pictures are told apart by their colour.
class PicturePageTest : public test::PageFixture<PicturePage, 5>
{
protected:
    QTemporaryDir pictures;

    QString folder() const { return pictures.path(); }
    void addPicture(const char* name, QColor color, int width = 200, int height = 100)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(color);
        test::writeBytes(pictures.filePath(name), test::jpegOf(image));
    }
    QListWidget* list() { return page->findChild<QListWidget*>("ListBox1"); }
    QStringList listed()
    {
        QStringList names;
        for (int i = 0; i < list()->count(); ++i) {
            names.append(list()->item(i)->text());
        }
        return names;
    }
    QRgb centre() { return host.canvas.image().pixel(200, 150); }
    void enter() { form->Action1Execute(); }
};

} // namespace

TEST_F(PicturePageTest, TheListHoldsTheFoldersJpgFilesOnceAPageOrFolderIsChosen)
{
    addPicture("b.jpg", Qt::green);
    addPicture("a.JPG", Qt::red);
    addPicture("c.jpeg", Qt::blue);
    ASSERT_TRUE(QDir(folder()).mkdir("d.JPG"));
    page->setPictureFolder(folder());
    EXPECT_EQ(page->pictureFolder(), folder());
    EXPECT_EQ(listed(), QStringList({"a.JPG", "b.jpg"}));
    // A file added later is listed when a page is chosen; the index stays.
    addPicture("0.jpg", Qt::white);
    state.PictureIndex = 1;
    form->PageControl1Change(0);
    EXPECT_EQ(listed(), QStringList({"0.jpg", "a.JPG", "b.jpg"}));
    EXPECT_EQ(state.PictureIndex, 1);
}

TEST_F(PicturePageTest, AClickShowsItsFileAndEnterStepsOnToTheFirstAfterTheLast)
{
    addPicture("1.jpg", Qt::red);
    addPicture("2.jpg", Qt::green);
    addPicture("10.jpg", Qt::blue);
    page->setPictureFolder(folder());
    form->PageControl1Change(5);
    ASSERT_EQ(state.FigureKind, 5);

    list()->setCurrentRow(1); // what a click does
    EXPECT_EQ(state.PictureIndex, 1);
    EXPECT_EQ(state.PicturePath, pictures.filePath("2.jpg"));
    EXPECT_TRUE(near(centre(), Qt::green));
    // 200 × 100 in 400 × 300: its own size, centred, on black.
    EXPECT_EQ(host.canvas.image().pixel(99, 150), qRgb(0, 0, 0));
    EXPECT_TRUE(near(host.canvas.image().pixel(100, 150), Qt::green));
    EXPECT_EQ(host.canvas.image().pixel(200, 99), qRgb(0, 0, 0));

    enter();
    EXPECT_EQ(state.PictureIndex, 2);
    EXPECT_EQ(list()->currentRow(), 2);
    EXPECT_TRUE(near(centre(), Qt::blue));
    enter();
    EXPECT_EQ(state.PictureIndex, 0);
    EXPECT_TRUE(near(centre(), Qt::red));

    // Enter with another figure does nothing.
    state.FigureKind = 0;
    enter();
    EXPECT_EQ(state.PictureIndex, 0);
}

TEST_F(PicturePageTest, BlackAroundThePictureWhateverTheBackground)
{
    host.white = true;
    addPicture("tall.jpg", Qt::red, 300, 600); // taller than the window: 150 × 300 at 125
    page->setPictureFolder(folder());
    list()->setCurrentRow(0);
    EXPECT_EQ(host.canvas.image().pixel(124, 150), qRgb(0, 0, 0));
    EXPECT_TRUE(near(host.canvas.image().pixel(126, 150), Qt::red));
    EXPECT_TRUE(near(host.canvas.image().pixel(273, 150), Qt::red));
    EXPECT_EQ(host.canvas.image().pixel(276, 150), qRgb(0, 0, 0));
}

TEST_F(PicturePageTest, AFileThatIsNotAPictureClearsItWithAMessageAndNoBox)
{
    addPicture("a.jpg", Qt::red);
    test::writeBytes(pictures.filePath("b.jpg"), "\x89PNG\r\n\x1a\n");
    test::writeBytes(pictures.filePath("c.jpg"), "");
    page->setPictureFolder(folder());
    form->PageControl1Change(5);
    list()->setCurrentRow(0);
    ASSERT_TRUE(page->hasPicture());
    for (const char* name : {"b.jpg", "c.jpg"}) {
        enter();
        EXPECT_FALSE(page->hasPicture()) << name;
        EXPECT_TRUE(page->problem().startsWith(QStringLiteral("「%1」").arg(name)));
        EXPECT_EQ(centre(), qRgb(0, 0, 0));
    }
    EXPECT_TRUE(host.errors.isEmpty());
    enter(); // and the next good one shows again
    EXPECT_TRUE(page->hasPicture());
    EXPECT_EQ(page->problem(), "");
}

TEST_F(PicturePageTest, AFolderThatDisappearsWhileShownGivesAClearMessage)
{
    addPicture("a.jpg", Qt::red);
    addPicture("b.jpg", Qt::green);
    page->setPictureFolder(folder());
    form->PageControl1Change(5);
    list()->setCurrentRow(0);
    ASSERT_TRUE(pictures.remove());
    enter();
    ASSERT_EQ(host.errors.size(), 1);
    EXPECT_EQ(host.errors[0], "「b.jpg」が見つかりません");
    EXPECT_FALSE(page->hasPicture());
    // Turning to a page empties the list; Enter and a new size then load nothing.
    form->PageControl1Change(5);
    EXPECT_EQ(list()->count(), 0);
    host.errors.clear();
    enter();
    page->reloadCurrent();
    EXPECT_TRUE(host.errors.isEmpty());
}

TEST_F(PicturePageTest, ARecordShowsItsFileEvenWhenNoLongerFirstAndSelectsItsFolder)
{
    addPicture("a.jpg", Qt::red);
    addPicture("b.jpg", Qt::green);
    page->setPictureFolder(folder());
    list()->setCurrentRow(1);
    const QString saved = record("photo");
    EXPECT_EQ(saved, QStringLiteral("6,\"photo\",0,\"%1/\",\"b.jpg\"").arg(folder()));

    addPicture("0.jpg", Qt::blue);
    page->setPictureFolder(QDir::tempPath());
    form->PageControl1Change(0);
    host.drawn.clear();
    ASSERT_TRUE(form->loadRecord(saved));
    EXPECT_EQ(state.FigureKind, 5);
    EXPECT_EQ(form->pageControl()->currentIndex(), 5);
    EXPECT_EQ(page->pictureFolder(), folder());
    EXPECT_EQ(listed(), QStringList({"0.jpg", "a.jpg", "b.jpg"}));
    EXPECT_EQ(state.PicturePath, pictures.filePath("b.jpg"));
    EXPECT_EQ(state.PictureIndex, 1); // neither the index nor the selection change
    EXPECT_EQ(host.drawn, std::vector<int>{5});
    EXPECT_TRUE(near(centre(), Qt::green));

    // A folder written with a backslash, as older records have it, reads the same.
    ASSERT_TRUE(form->loadRecord(QStringLiteral("6,\"p\",0,\"%1\\\",\"a.jpg\"").arg(folder())));
    EXPECT_EQ(state.PicturePath, pictures.filePath("a.jpg"));
    EXPECT_TRUE(near(centre(), Qt::red));
    // A hand-edited folder that ends in separators reads back to the record it writes, and
    // the root stays the root.
    for (const QString& edited :
         {QStringLiteral("//////"), folder() + QStringLiteral("//"), QStringLiteral("/")}) {
        ASSERT_TRUE(form->loadRecord(QStringLiteral("6,\"p\",0,\"%1\",\"a.jpg\"").arg(edited)));
        const QString written = record("p");
        ASSERT_TRUE(form->loadRecord(written));
        EXPECT_EQ(record("p"), written) << edited.toStdString();
    }
}

TEST_F(PicturePageTest, TheWindowsNewSizeReloadsThePictureAtTheIndexFittedAnew)
{
    addPicture("wide.jpg", Qt::red, 1600, 400);
    page->setPictureFolder(folder());
    list()->setCurrentRow(0);
    host.canvas.resize(800, 524, render::kBlack);
    page->reloadCurrent();
    // 1600 × 400 in 800 × 524: 800 × 200 at top 162.
    EXPECT_EQ(host.canvas.image().pixel(400, 161), qRgb(0, 0, 0));
    EXPECT_TRUE(near(host.canvas.image().pixel(400, 163), Qt::red));
    EXPECT_TRUE(near(host.canvas.image().pixel(400, 360), Qt::red));
    EXPECT_EQ(host.canvas.image().pixel(400, 363), qRgb(0, 0, 0));
}

// The Paint tool's "ReDraw": the picture at the index, selected, then the index moves on;
// a file that is not a picture leaves the index where it is.
TEST_F(PicturePageTest, ReDrawShowsThePictureAtTheIndexThenMovesItOn)
{
    addPicture("a.jpg", Qt::red);
    addPicture("b.jpg", Qt::green);
    page->setPictureFolder(folder());
    state.PictureIndex = 1;
    page->loadCurrentAndAdvance();
    EXPECT_TRUE(near(centre(), Qt::green));
    EXPECT_EQ(list()->currentRow(), 1);
    EXPECT_EQ(state.PictureIndex, 0);
    page->loadCurrentAndAdvance();
    EXPECT_TRUE(near(centre(), Qt::red));
    EXPECT_EQ(state.PictureIndex, 1);

    test::writeBytes(pictures.filePath("b.jpg"), "broken");
    page->loadCurrentAndAdvance();
    EXPECT_FALSE(page->hasPicture());
    EXPECT_EQ(state.PictureIndex, 1);
}

// Enter advances the pictures whichever control of the Draw tool has the keyboard, the list
// of pictures too.
TEST_F(PicturePageTest, EnterInTheListStepsOnToo)
{
    addPicture("a.jpg", Qt::red);
    addPicture("b.jpg", Qt::green);
    page->setPictureFolder(folder());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->pageControl()->setCurrentIndex(5);
    list()->setCurrentRow(0);
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(state.PictureIndex, 1);
    EXPECT_TRUE(near(centre(), Qt::green));
}

// The page opens on the folder used last time, selected in the tree and in view, with the
// chooser naming the place it lies in; a folder that has gone since opens the home folder.
TEST_F(PicturePageTest, TheFolderLastUsedOpensAtTheNextStartSelectedAndInView)
{
    const QString deep = folder() + "/class 3/term 2/week 7";
    ASSERT_TRUE(QDir().mkpath(deep));
    page->setPictureFolder(deep);
    auto* places = page->findChild<QComboBox*>("ShellComboBox1");
    auto* tree = page->findChild<QTreeView*>("ShellTreeView1");
    auto reopen = [&] {
        form.reset();
        form = std::make_unique<tools::TForm2>(state, host);
        host.pages = &form->pages();
        page = dynamic_cast<PicturePage*>(form->pages()[5]);
        places = page->findChild<QComboBox*>("ShellComboBox1");
        tree = page->findChild<QTreeView*>("ShellTreeView1");
    };
    auto selectedInView = [&] {
        const QRect row = tree->visualRect(tree->currentIndex());
        return !row.isEmpty() && tree->viewport()->rect().contains(row);
    };
    reopen();
    EXPECT_EQ(state::SettingsFile(state.SettingsBase).readText("PictureFolder"), deep);
    EXPECT_EQ(page->pictureFolder(), deep);
    auto selected = [&] {
        return qobject_cast<QFileSystemModel*>(tree->model())->filePath(tree->currentIndex());
    };
    EXPECT_EQ(selected(), deep);
    EXPECT_EQ(places->currentData().toString(), "/"); // the deepest place holding it
    form->show();
    form->pageControl()->setCurrentIndex(5);
    EXPECT_TRUE(QTest::qWaitFor(selectedInView, 5000));
    EXPECT_EQ(listed(), QStringList());

    // Gone since: the home folder, which the chooser names.
    ASSERT_TRUE(QDir(folder() + "/class 3").removeRecursively());
    reopen();
    EXPECT_EQ(page->pictureFolder(), QDir::homePath());
    EXPECT_EQ(places->currentText(), "ホーム");
    EXPECT_EQ(selected(), QDir::homePath());
    form->show();
    form->pageControl()->setCurrentIndex(5);
    EXPECT_TRUE(QTest::qWaitFor(selectedInView, 5000));
}
