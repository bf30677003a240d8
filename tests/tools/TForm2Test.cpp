#include "tools/TForm2.h"
#include "Watchdog.h"
#include "figures/Figures.h"
#include "render/ColorInit.h"
#include "state/AppState.h"
#include "state/SettingsFile.h"
#include "widgets/HeadlessHost.h"
#include "widgets/SpinEdit.h"

#include "widgets/PageControl.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QSlider>
#include <QStringDecoder>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

using namespace koyomi;

namespace {

class DrawToolTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    state::AppState state;
    widgets::HeadlessHost host{400, 300};

    void SetUp() override
    {
        state.SettingsBase = state::settingsBaseFor(dir.path(), "koyomiplan");
        state.showError = [](const QString&) {};
    }

    std::unique_ptr<tools::TForm2> make()
    {
        auto form = std::make_unique<tools::TForm2>(state, host);
        host.pages = &form->pages();
        return form;
    }

    template <class T> T* child(QWidget& w, const char* name)
    {
        return w.findChild<T*>(QString::fromLatin1(name));
    }
};

} // namespace

TEST_F(DrawToolTest, HasItsCaptionPagesAndToolWindowKind)
{
    auto form = make();
    EXPECT_EQ(form->windowTitle(), "Drawツール");
    EXPECT_EQ(form->size(), QSize(456, 613));
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ((form->windowFlags() & Qt::Tool), Qt::Tool);
    widgets::PageControl* pages = form->pageControl();
    ASSERT_EQ(pages->count(), 9);
    EXPECT_EQ(pages->tabText(0), "方眼");
    EXPECT_EQ(pages->tabText(8), "分数タイル");
    EXPECT_FALSE(pages->tabIcon(3).isNull());
    EXPECT_EQ(state.PicturePath, "NoName.jpg");
}

TEST_F(DrawToolTest, ClearingASpinEditPutsOneBackAndRedrawsItsOwnFigure)
{
    auto form = make();
    state.FigureKind = 3; // another figure is current
    auto* spacing = child<widgets::SpinEdit>(*form, "SpinEdit1");
    ASSERT_NE(spacing, nullptr);
    host.drawn.clear();
    spacing->lineEdit()->clear();
    EXPECT_EQ(spacing->text(), "1");
    EXPECT_EQ(host.drawn, std::vector<int>{0}); // drawn once, graph paper, not figure 3
    EXPECT_EQ(state.FigureKind, 3);
}

TEST_F(DrawToolTest, PageIndexIsTheFigureKindAndThePicturePageDrawsNothing)
{
    auto form = make();
    for (int index : {2, 0, 8, 5, 1}) {
        host.drawn.clear();
        form->pageControl()->setCurrentIndex(index);
        EXPECT_EQ(state.FigureKind, index);
        if (index == 5) {
            EXPECT_TRUE(host.drawn.empty());
            EXPECT_EQ(host.picturesShown, 1);
        } else {
            EXPECT_EQ(host.drawn, std::vector<int>{index});
        }
    }
}

TEST_F(DrawToolTest, EveryFigureIsOneClickAwayAndInSight)
{
    auto form = make();
    int pageChanges = 0;
    form->refreshPictureList = [&] { ++pageChanges; };
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    widgets::PageControl* pages = form->pageControl();
    const QRect area = pages->rect();
    for (int index : {4, 8, 0, 6, 2}) {
        QToolButton* b = pages->button(index);
        // Every button lies inside the page area, with room for its picture and caption.
        EXPECT_TRUE(area.contains(QRect(b->mapTo(pages, QPoint(0, 0)), b->size()))) << index;
        EXPECT_GE(b->width(), b->sizeHint().width()) << index;
        host.drawn.clear();
        pageChanges = 0;
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(pages->currentIndex(), index);
        EXPECT_EQ(state.FigureKind, index);
        EXPECT_EQ(pageChanges, 1) << index;
        EXPECT_EQ(host.drawn, std::vector<int>{index});
    }
    // A preset shows its page without a page change.
    pageChanges = 0;
    ASSERT_TRUE(form->loadRecord(form->recordOf(2, "A")));
    EXPECT_EQ(pages->currentIndex(), 2);
    EXPECT_TRUE(pages->button(2)->isChecked());
    EXPECT_EQ(pageChanges, 0);
}

TEST_F(DrawToolTest, OpacityAndPositionSurviveARestart)
{
    {
        auto form = make();
        EXPECT_EQ(form->pos(), QPoint(10, 10));
        child<QSlider>(*form, "TrackBar1")->setValue(100);
        EXPECT_NEAR(form->windowOpacity(), 100 / 255.0, 0.01);
        form->move(60, 70);
    }
    state::SettingsFile settings(state.SettingsBase);
    EXPECT_EQ(settings.readInteger("Drawclearness", 0), 100);
    auto again = make();
    EXPECT_EQ(child<QSlider>(*again, "TrackBar1")->value(), 100);
    EXPECT_NEAR(again->windowOpacity(), 100 / 255.0, 0.01);
    EXPECT_EQ(again->pos(), QPoint(60, 70));
}

TEST_F(DrawToolTest, DamagedPlacementIsBroughtBackOntoTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const auto& [top, left, clearness] :
         {std::tuple<const char*, const char*, const char*>{"abc", "-99999", "0"},
          {"100000", "20", "9999"},
          {"-5000", "-5000", "-1"},
          // Values near the ends of the integer range once overflowed the placement check.
          {"2147483647", "2147483647", "2147483647"},
          {"-2147483648", "2147483600", "-2147483648"},
          {"10", "2147483500", "200"}}) {
        QFile file(state.SettingsBase + ".ini");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("[%1]\r\nDrawtop=%2\r\nDrawleft=%3\r\nDrawclearness=%4\r\n")
                       .arg(state.SettingsBase, top, left, clearness)
                       .toUtf8());
        file.close();
        auto form = make();
        EXPECT_TRUE(screen.contains(form->pos())) << top << " " << left;
        const int opacity = child<QSlider>(*form, "TrackBar1")->value();
        EXPECT_GE(opacity, 100);
        EXPECT_LE(opacity, 255);
    }
}

TEST_F(DrawToolTest, EnterAdvancesThePictureOnlyForThePictureFigure)
{
    auto form = make();
    int advanced = 0;
    form->advancePicture = [&] { ++advanced; };
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* field = child<widgets::SpinEdit>(*form, "SpinEdit14");
    field->lineEdit()->setFocus();
    QTest::keyClick(field->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(advanced, 0);
    state.FigureKind = 5;
    QTest::keyClick(field->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(advanced, 1);
}

TEST_F(DrawToolTest, ColorInitResetsEveryColourChoiceAndNothingElse)
{
    auto form = make();
    auto* kind = child<QComboBox>(*form, "ComboBox1");
    kind->setCurrentIndex(3);
    child<QComboBox>(*form, "ComboBox12")->setCurrentIndex(7);
    child<QComboBox>(*form, "ComboBox83")->setCurrentIndex(4);
    form->ColorInit(true);
    int colours = 0;
    for (auto* c : form->findChildren<widgets::ColorComboBox*>()) {
        EXPECT_EQ(c->currentIndex(), 1) << c->objectName().toStdString();
        ++colours;
    }
    // Every selector of the reset's list: graph paper 16, fraction tiles 10, circle 8, number
    // line 5, clock 5, grid, slanted grid and tawara 1.
    EXPECT_EQ(colours, 47);
    EXPECT_EQ(kind->currentIndex(), 3);
    EXPECT_EQ(child<QComboBox>(*form, "ComboBox82")->currentIndex(), 0);
    EXPECT_TRUE(host.drawn.empty()); // resetting colours draws nothing by itself
}

TEST_F(DrawToolTest, PresetsThatOnceFrozeOrOverflowedLoadAndEnd)
{
    auto form = make();
    const char* lines[] = {
        // Diagonals of width 0 through a preset (and two extra commas after the background).
        "1,\"A\",0,10,50,10,50,10,50,1,10,1,10,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,"
        "0,0,0",
        "1,\"A\",0,,,10,50,10,50,10,50,1,10,1,10,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,"
        "0,1,0,0,0",
        "-2147483648,\"A\",0",
        "2147483647,\"A\",0",
    };
    for (const char* line : lines) {
        koyomi::test::runWithWatchdog(line, [&] { form->loadRecord(QString::fromLatin1(line)); });
    }
    EXPECT_FALSE(form->loadRecord("-2147483648,\"A\",0")); // no such figure: nothing loads
    // Diagonal widths at both ends of the integer range, with every diagonal kind drawn.
    for (const char* width : {"2147483647", "-2147483648", "0", "-1"}) {
        for (int kind = 0; kind < 5; ++kind) {
            child<QComboBox>(*form, "ComboBox53")->setCurrentIndex(kind);
            child<QComboBox>(*form, "ComboBox61")->setCurrentIndex(kind);
            koyomi::test::runWithWatchdog("a diagonal width typed", [&] {
                child<widgets::SpinEdit>(*form, "SpinEdit88")->setText(width);
                child<widgets::SpinEdit>(*form, "SpinEdit89")->setText(width);
            });
        }
    }
}

// Presets with values no field can hold (found by fuzzing: a million-pixel width over a
// thousand lines, or sides half a million pixels wide on 157,000 blocks) once took minutes to
// draw. Values read from a preset are held to their fields' ranges.
TEST_F(DrawToolTest, PresetValuesBeyondTheFieldsAreHeldToTheirRanges)
{
    auto form = make();
    const QByteArray presets[] = {
        QByteArray("1,\"A\",d,10,\x15"
                   "0,1010,cnv\x15"
                   "0,10,50,:10\xa9,50,0,0,0,0,1,0,1,50,1,10,"
                   "110,\x15"
                   "0,1010,\x15"
                   "0,10,50,0,0,1,0,01803000"),
        QByteArray("1,\"A\",10,0,1,64w,50,12,1\xd4\xd1\xcb"
                   "1\x00\x00,21074rlmbcs650\xff\xff\xff\xff"
                   "\xff\xff\xff"
                   "2\xff"
                   "74830,20,0,1,64700\xff\xff\xff\xff\xff\xff"
                   "00,483647,",
                   88),
        QByteArray("1,\"A\",0,-5,99999,2147483647,-2147483648,1001,0,501,-1,501,-1,0,6,0,0,-4,0"),
    };
    QStringDecoder decode("Shift_JIS");
    for (const QByteArray& bytes : presets) {
        const QString line = decode(bytes);
        koyomi::test::runWithWatchdog("a preset beyond the fields' ranges",
                                      [&] { form->loadRecord(line); });
        for (const widgets::SpinEdit* s : form->pages()[0]->findChildren<widgets::SpinEdit*>()) {
            bool integer = false;
            const int v = s->text().trimmed().toInt(&integer);
            if (integer) {
                EXPECT_GE(v, s->minimum()) << s->objectName().toStdString();
                EXPECT_LE(v, s->maximum()) << s->objectName().toStdString();
            }
        }
    }
    // A value inside its range is set as stored, in plain digits; a text that is no integer
    // is set as it is. (A one-character field once cut a stored "05" to "0".)
    form->loadRecord("1,\"A\",0,7,20,7,-3,7,20,3,1000,2,0,0,05");
    EXPECT_EQ(child<widgets::SpinEdit>(*form, "SpinEdit5")->text(), "5");
    EXPECT_EQ(child<widgets::SpinEdit>(*form, "SpinEdit14")->text(), "7");
    EXPECT_EQ(child<widgets::SpinEdit>(*form, "SpinEdit1")->text(), "1");    // -3 held to 1
    EXPECT_EQ(child<widgets::SpinEdit>(*form, "SpinEdit25")->text(), "500"); // 1000 held
    EXPECT_EQ(child<widgets::SpinEdit>(*form, "SpinEdit24")->text(), "3");
    form->loadRecord("1,\"A\",0,x7");
    EXPECT_EQ(child<widgets::SpinEdit>(*form, "SpinEdit14")->text(), "x7");
    // An emptied field takes "1" by the common rule; in the label size field (10..100) that is
    // held to 10 as well.
    QStringList fields = form->recordOf(0, "A").split(u',');
    fields[2 + 67] = ""; // SpinEdit98
    form->loadRecord(fields.join(u','));
    EXPECT_EQ(child<widgets::SpinEdit>(*form, "SpinEdit98")->text(), "10");
}

// Every selector shows its longest item whole and every spin edit its widest value (the
// maximum, or a negative minimum) in the window's own font, inside the page's width.
TEST_F(DrawToolTest, NoControlOfAnyPageIsCut)
{
    auto form = make();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QStringList cut;
    for (widgets::FigurePage* page : form->pages()) {
        form->pageControl()->setCurrentIndex(page->kind());
        QApplication::processEvents();
        auto outside = [page](QWidget* w) {
            return w->mapTo(page, QPoint(w->width(), 0)).x() > page->width();
        };
        for (QComboBox* combo : page->findChildren<QComboBox*>()) {
            // The places chooser lists this machine's own folders and drives, whatever their
            // names: it is as wide as the page and no test of ours can size its items.
            if (!combo->isVisible() || combo->objectName() == "ShellComboBox1") {
                continue;
            }
            if (combo->width() < combo->sizeHint().width() || outside(combo)) {
                cut << QStringLiteral("%1 %2: %3 < %4")
                           .arg(page->objectName(), combo->objectName())
                           .arg(combo->width())
                           .arg(combo->sizeHint().width());
            }
        }
        for (widgets::SpinEdit* spin : page->findChildren<widgets::SpinEdit*>()) {
            QLineEdit* edit = spin->lineEdit();
            if (!spin->isVisible()) {
                continue;
            }
            const QFontMetrics fm(edit->font());
            const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
            const QMargins margins = edit->textMargins();
            for (const int v : {spin->maximum(), spin->minimum()}) {
                // The text, the line edit's own two-pixel margins and frame, and the cursor.
                const int needed = fm.horizontalAdvance(QString::number(v)) + 2 * frame + 4 + 1 +
                                   margins.left() + margins.right();
                if (edit->width() < needed || outside(spin)) {
                    cut << QStringLiteral("%1 %2: %3 < %4 for %5")
                               .arg(page->objectName(), spin->objectName())
                               .arg(edit->width())
                               .arg(needed)
                               .arg(v);
                }
            }
        }
    }
    EXPECT_TRUE(cut.isEmpty()) << cut.join("\n").toStdString();
}

// A field's typing limit holds for typing only. The grid's mark size takes one typed
// character but goes to 1000: a preset of 20 once showed "2", and the up button at 9 gave 1.
// Every limited field of every page must take its whole range from the buttons, the arrow
// keys, a preset and code, and show each value whole.
TEST_F(DrawToolTest, TypingLimitsLimitOnlyWhatIsTyped)
{
    auto form = make();
    int limited = 0;
    for (widgets::FigurePage* page : form->pages()) {
        for (widgets::SpinEdit* s : page->findChildren<widgets::SpinEdit*>()) {
            const int limit = s->maxTypedLength();
            if (limit == 0) {
                continue;
            }
            ++limited;
            const std::string name = s->objectName().toStdString();
            const QString widest = QString::number(s->maximum());
            s->setStoredText(widest);
            EXPECT_EQ(s->text(), widest) << name;
            s->setValue(s->maximum() - 1);
            s->stepBy(1);
            EXPECT_EQ(s->text(), widest) << name;
            s->setValue(s->minimum());
            QTest::keyClick(s->lineEdit(), Qt::Key_Up);
            EXPECT_EQ(s->value(), s->minimum() + 1) << name;
            // Past the last one-character value, the up key shows two characters.
            if (s->minimum() <= 9 && s->maximum() >= 10) {
                s->setValue(9);
                QTest::keyClick(s->lineEdit(), Qt::Key_Up);
                EXPECT_EQ(s->text(), "10") << name;
            }
            // Typing stops at the limit. A text longer than the limit can still be shortened,
            // and typing never lengthens it past the limit again.
            s->lineEdit()->selectAll();
            QTest::keyClicks(s->lineEdit(), "1111111111");
            EXPECT_EQ(s->text(), QString(limit, u'1')) << name;
            if (widest.size() > 1) {
                s->setStoredText(widest);
                s->lineEdit()->end(false);
                QTest::keyClick(s->lineEdit(), Qt::Key_Backspace);
                EXPECT_EQ(s->text(), widest.chopped(1)) << name;
                QTest::keyClicks(s->lineEdit(), "0000");
                EXPECT_EQ(s->text().size(), std::max<qsizetype>(widest.size() - 1, limit)) << name;
            }
        }
    }
    EXPECT_GT(limited, 30);

    // The grid's mark size: a preset of 20 reads back whole and writes itself again.
    auto* markSize = child<widgets::SpinEdit>(*form, "SpinEdit40");
    ASSERT_EQ(markSize->maxTypedLength(), 1);
    const QStringList before = form->recordOf(1, "A").split(u',');
    markSize->setValue(7);
    QStringList fields = form->recordOf(1, "A").split(u',');
    qsizetype at = 0; // the mark size's place in the record: the one value that changed
    while (at < fields.size() && fields[at] == before.value(at)) {
        ++at;
    }
    ASSERT_EQ(fields.value(at), "7");
    fields[at] = "20";
    ASSERT_TRUE(form->loadRecord(fields.join(u',')));
    EXPECT_EQ(markSize->text(), "20");
    EXPECT_EQ(form->recordOf(1, "A"), fields.join(u','));
    // A stored text that is no integer is cut to what could have been typed, as before.
    fields[at] = "x7";
    ASSERT_TRUE(form->loadRecord(fields.join(u',')));
    EXPECT_EQ(markSize->text(), "x");
}

// Before the Draw tool is made, the presentation window draws each figure at its defaults;
// every page, fresh, draws exactly that, on black and on white, so that nothing changes when
// the pages take over.
TEST_F(DrawToolTest, EveryFreshPageDrawsWhatTheFiguresDefaultsDraw)
{
    for (const bool white : {false, true}) {
        host.white = white;
        auto form = make();
        form->ColorInit(white);
        for (widgets::FigurePage* page : form->pages()) {
            const render::Frame frame{640, 480, white};
            render::Canvas fromPage(640, 480, render::backgroundColor(white));
            render::Canvas fromDefaults(640, 480, render::backgroundColor(white));
            page->render(fromPage, frame);
            figures::drawFigureDefaults(page->kind(), fromDefaults, frame);
            EXPECT_EQ(fromPage.image(), fromDefaults.image()) << page->kind() << " " << white;
        }
    }
}
