#include "figures/graphpaper/GraphPaperPage.h"
#include "CanvasProbe.h"
#include "figures/PageFixture.h"
#include "figures/Record.h"
#include "render/Palette.h"
#include "render/Text.h"
#include "state/AppState.h"
#include "state/SettingsFile.h"
#include "tools/TForm2.h"
#include "widgets/HeadlessHost.h"

#include "widgets/PageControl.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>

using namespace koyomi;
using figures::GraphPaperPage;
using koyomi::test::countColor;
using widgets::SpinEdit;

namespace {

class GraphPaperPageTest : public test::PageFixture<GraphPaperPage, 0>
{
protected:
    QPlainTextEdit* memo() { return page->findChild<QPlainTextEdit*>("Memo1"); }
};

} // namespace

TEST_F(GraphPaperPageTest, NumberStartAndStepFillOneLabelPerCell)
{
    spin(3)->setText("3");
    spin(4)->setText("4");
    spin(99)->setText("-2");
    spin(97)->setText("10");
    EXPECT_EQ(memo()->toPlainText(), "10,8,6,4,2,0,");
    // Numbers that grow a digit and a sign past the first one.
    spin(99)->setText("-1");
    spin(97)->setText("-98");
    EXPECT_EQ(memo()->toPlainText(), "-98,-99,-100,-101,-102,-103,");
    spin(99)->setText("999");
    spin(97)->setText("5");
    EXPECT_EQ(memo()->toPlainText(), "5,1004,2003,3002,4001,5000,");
    // Past the largest number the values wrap round, as they always have.
    spin(99)->setText("1");
    spin(97)->setText("2147483646");
    EXPECT_EQ(memo()->toPlainText(),
              "2147483646,2147483647,-2147483648,-2147483647,-2147483646,-2147483645,");
    spin(3)->setText("1");
    spin(97)->setText("11");
    EXPECT_EQ(memo()->toPlainText(), "");
    // A lone minus sign while a negative number is typed: the error is shown and the label
    // text and the drawing stay as they were.
    spin(3)->setText("2");
    spin(97)->setText("5");
    const QString before = memo()->toPlainText();
    host.drawn.clear();
    spin(99)->setText("-");
    EXPECT_EQ(memo()->toPlainText(), before);
    ASSERT_EQ(host.errors.size(), 1);
    EXPECT_EQ(host.errors[0], "'-' は整数ではありません");
    EXPECT_TRUE(host.drawn.empty());
}

// The largest block's labels are too long for the box to lay out at once: the box shows
// their beginning, read-only with a note, while the drawing and the record use all of them;
// a reset or a short text makes the box editable again.
TEST_F(GraphPaperPageTest, LabelsTooLongForTheBoxAreKeptWholeBesideIt)
{
    auto* note = page->findChild<QLabel*>("MemoNote");
    ASSERT_NE(note, nullptr);
    combo(82)->setCurrentIndex(1);
    spin(14)->setText("1000"); // both line counts
    spin(97)->setText("2");
    const QString whole = page->params().numberText;
    EXPECT_EQ(render::splitCommaText(whole).size(), 999 * 999);
    EXPECT_TRUE(whole.endsWith(",998002,"));
    EXPECT_TRUE(whole.startsWith(memo()->toPlainText()));
    EXPECT_LT(memo()->toPlainText().size(), whole.size());
    EXPECT_TRUE(memo()->isReadOnly());
    EXPECT_FALSE(note->isHidden());
    EXPECT_TRUE(record().endsWith(QString(whole).replace(u',', u':') + u','));

    // Read back from a record, the same.
    const QString saved = record();
    page->hougan4Click();
    EXPECT_FALSE(memo()->isReadOnly());
    EXPECT_TRUE(note->isHidden());
    EXPECT_EQ(page->params().numberText, "");
    ASSERT_TRUE(form->loadRecord(saved));
    EXPECT_EQ(page->params().numberText, whole);
    EXPECT_TRUE(memo()->isReadOnly());

    // A short text set into the box is the whole text again.
    memo()->setPlainText("a,b");
    EXPECT_EQ(page->params().numberText, "a,b");
    EXPECT_FALSE(memo()->isReadOnly());
    EXPECT_TRUE(note->isHidden());
}

TEST_F(GraphPaperPageTest, MasterRowsSetTheRowsTheyGovernAndNotTheDiagonals)
{
    spin(5)->setText("3");
    for (int n = 6; n <= 13; ++n) {
        EXPECT_EQ(spin(n)->text(), "3") << n;
    }
    EXPECT_EQ(spin(88)->text(), "1");
    EXPECT_EQ(spin(89)->text(), "1");
    EXPECT_EQ(host.drawn, std::vector<int>{0}); // the whole cascade draws once

    choose(53, 0); // diagonals visible, to see they keep their colour
    choose(10, render::kRedIndex);
    for (int n = 11; n <= 18; ++n) {
        EXPECT_EQ(combo(n)->currentIndex(), render::kRedIndex) << n;
    }
    for (int n : {56, 57, 20, 22, 24, 26, 83}) {
        EXPECT_EQ(combo(n)->currentIndex(), render::kWhiteIndex) << n;
    }
    choose(9, 2);
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(combo(n)->currentIndex(), 2) << n;
    }
    EXPECT_EQ(combo(53)->currentIndex(), 0);
    EXPECT_EQ(combo(61)->currentIndex(), render::kNoLineIndex);

    spin(14)->setText("7");
    spin(15)->setText("20");
    EXPECT_EQ(spin(3)->text(), "7");
    EXPECT_EQ(spin(4)->text(), "7");
    EXPECT_EQ(spin(1)->text(), "20");
    EXPECT_EQ(spin(2)->text(), "20");

    // The canvas shows the figure the controls now describe.
    render::Canvas expected(host.canvas.width(), host.canvas.height());
    figures::drawGraphPaper(expected, page->params(),
                            render::Frame{expected.width(), expected.height(), false});
    EXPECT_EQ(host.canvas.image(), expected.image());
    EXPECT_GT(countColor(host.canvas, 0x0000FF), 0);
}

TEST_F(GraphPaperPageTest, EmphasisRowsRedrawOnlyWhileTicked)
{
    spin(17)->setText("3");
    choose(20, render::kRedIndex);
    EXPECT_TRUE(host.drawn.empty());
    spin(17)->setText("");
    EXPECT_EQ(spin(17)->text(), "1"); // still refilled
    EXPECT_TRUE(host.drawn.empty());
    check(1)->setChecked(true);
    EXPECT_EQ(host.drawn, std::vector<int>{0});
    spin(16)->setText("2");
    EXPECT_EQ(host.drawn.size(), 2u);
    EXPECT_GT(countColor(host.canvas, 0x0000FF), 0);
}

TEST_F(GraphPaperPageTest, ResetsRestoreTheirPanelOnTheCurrentBackground)
{
    host.white = true;
    spin(5)->setText("4");
    choose(53, 1);
    choose(10, render::kRedIndex);
    host.drawn.clear();
    page->hougan2Click();
    for (int n : {5, 6, 7, 8, 9, 10, 11, 12, 13, 88, 89}) {
        EXPECT_EQ(spin(n)->text(), "1") << n;
    }
    for (int n : {10, 11, 12, 13, 14, 15, 16, 17, 18, 56, 57}) {
        EXPECT_EQ(combo(n)->currentIndex(), render::kBlackIndex) << n;
    }
    EXPECT_EQ(combo(53)->currentIndex(), render::kNoLineIndex);
    EXPECT_EQ(combo(61)->currentIndex(), render::kNoLineIndex);
    EXPECT_EQ(host.drawn, std::vector<int>{0});

    spin(24)->setText("3");
    spin(14)->setText("4");
    page->hougan1Click();
    EXPECT_EQ(spin(24)->text(), "1");
    EXPECT_EQ(spin(3)->text(), "10");

    check(2)->setChecked(true);
    spin(21)->setText("5");
    page->hougan3Click();
    EXPECT_FALSE(check(2)->isChecked());
    EXPECT_EQ(spin(21)->text(), "1");
    EXPECT_EQ(combo(24)->currentIndex(), render::kBlackIndex);

    combo(82)->setCurrentIndex(1);
    spin(97)->setText("7");
    page->hougan4Click();
    EXPECT_EQ(combo(82)->currentIndex(), 0);
    EXPECT_EQ(spin(98)->text(), "10");
    EXPECT_EQ(memo()->toPlainText(), ""); // emptied after the generator ran
}

TEST_F(GraphPaperPageTest, RecordsWriteTheFieldsInOrderAndReadBackIdentically)
{
    const QString defaults = record();
    EXPECT_TRUE(defaults.startsWith("1,\"A\",0,10,50,10,50,10,50,1,10,1,10,0,1,0,"))
        << defaults.toStdString();
    EXPECT_TRUE(defaults.endsWith(",0,1,1,10,0,,")); // empty label text: two commas
    EXPECT_EQ(render::splitCommaText(defaults).size(), 3 + 69);

    // Every control away from its default, the label text included.
    spin(14)->setText("12");
    spin(15)->setText("31");
    spin(3)->setText("6");
    spin(24)->setText("2");
    spin(27)->setText("0");
    choose(9, 3);
    spin(5)->setText("2");
    choose(10, 4);
    choose(53, 2);
    spin(88)->setText("4");
    choose(57, 9);
    check(3)->setChecked(true);
    spin(20)->setText("2");
    choose(23, 1);
    spin(21)->setText("3");
    choose(24, 7);
    choose(82, 1);
    spin(98)->setText("24");
    spin(97)->setText("-3");
    const QString changed = record("名前 with blank");
    EXPECT_TRUE(changed.contains(",-3,-2,") || changed.contains(",-3,")) << changed.toStdString();

    page->hougan1Click();
    page->hougan2Click();
    page->hougan3Click();
    page->hougan4Click();
    state.FigureKind = 4;
    form->pageControl()->setCurrentIndex(4);
    host.drawn.clear();
    ASSERT_TRUE(form->loadRecord(changed));
    EXPECT_EQ(record("名前 with blank"), changed);
    EXPECT_EQ(state.FigureKind, 0);
    EXPECT_EQ(form->pageControl()->currentIndex(), 0);
    EXPECT_EQ(host.drawn, std::vector<int>{0});

    ASSERT_TRUE(form->loadRecord(defaults));
    EXPECT_EQ(record(), defaults);
    EXPECT_EQ(memo()->toPlainText(), "");
}

TEST_F(GraphPaperPageTest, LabelTextsKeepBlanksQuotesAndCommasButNeverALineBreak)
{
    memo()->setPlainText("a \"b\", c,d\nsecond line");
    const QString line = record();
    EXPECT_FALSE(line.contains('\n'));
    EXPECT_TRUE(line.endsWith(",\"a \"\"b\"\": c:d\",")) << line.toStdString();
    memo()->clear();
    ASSERT_TRUE(form->loadRecord(line));
    EXPECT_EQ(memo()->toPlainText(), "a \"b\", c,d");

    // A classic record (colons for commas, no quotes) is read as before.
    memo()->setPlainText("1,2,3,");
    const QString classic = record();
    EXPECT_TRUE(classic.endsWith(",1:2:3:,"));
    memo()->clear();
    ASSERT_TRUE(form->loadRecord(classic));
    EXPECT_EQ(memo()->toPlainText(), "1,2,3,");
}

TEST_F(GraphPaperPageTest, AReadErrorKeepsWhatWasSetAndNeverCrashes)
{
    QStringList items = render::splitCommaText(record());
    items[3] = "7";  // SpinEdit14
    items[13] = "x"; // ComboBox9: not an integer
    items[14] = "5"; // SpinEdit5, after the bad value
    QString line = items.mid(0, 3).join(',');
    line = figures::recordLine(0, "A", false, items.mid(3));
    EXPECT_TRUE(form->loadRecord(line));
    ASSERT_EQ(host.errors.size(), 1);
    EXPECT_EQ(host.errors[0], "'x' は整数ではありません");
    EXPECT_EQ(spin(14)->text(), "7");
    EXPECT_EQ(spin(5)->text(), "1");

    // Short, empty and foreign lines: nothing crashes, unknown figures are not records.
    EXPECT_TRUE(form->loadRecord("1,\"short\",1,5"));
    EXPECT_EQ(spin(14)->text(), "5");
    EXPECT_TRUE(host.white);
    EXPECT_FALSE(form->loadRecord(""));
    EXPECT_FALSE(form->loadRecord("x,\"A\",0"));
    EXPECT_FALSE(form->loadRecord("42,\"A\",0,1,2"));
}

namespace {

// Every control of the page by name, with what it holds: spin texts, selector indices,
// check states and the label text.
std::map<QString, QString> controlStates(QWidget& page)
{
    std::map<QString, QString> states;
    for (SpinEdit* s : page.findChildren<SpinEdit*>()) {
        states[s->objectName()] = s->text();
    }
    for (QComboBox* c : page.findChildren<QComboBox*>()) {
        states[c->objectName()] = QString::number(c->currentIndex());
    }
    for (QCheckBox* c : page.findChildren<QCheckBox*>()) {
        states[c->objectName()] = c->isChecked() ? "1" : "0";
    }
    states["Memo1"] = page.findChild<QPlainTextEdit*>("Memo1")->toPlainText();
    return states;
}

// Controls and states as one line: "ComboBox1=0 SpinEdit5=3 …", in name order.
std::string described(const std::map<QString, QString>& states)
{
    std::string s;
    for (const auto& [name, state] : states) {
        s += (name + u'=' + state + u' ').toStdString();
    }
    return s;
}

// The controls whose state differs between two snapshots, with their new state.
std::string changed(const std::map<QString, QString>& before,
                    const std::map<QString, QString>& after)
{
    std::map<QString, QString> diff;
    for (const auto& [name, state] : after) {
        if (before.at(name) != state) {
            diff[name] = state;
        }
    }
    return described(diff);
}

} // namespace

TEST_F(GraphPaperPageTest, EditingTheLabelTextRedrawsWithIt)
{
    combo(82)->setCurrentIndex(1);
    memo()->setPlainText("");
    host.drawn.clear();
    memo()->setFocus();
    memo()->insertPlainText("7,8");
    EXPECT_FALSE(host.drawn.empty());
    render::Canvas expected(host.canvas.width(), host.canvas.height());
    figures::drawGraphPaper(expected, page->params(),
                            render::Frame{expected.width(), expected.height(), false});
    EXPECT_EQ(page->params().numberText, "7,8");
    EXPECT_EQ(host.canvas.image(), expected.image());
}

TEST_F(GraphPaperPageTest, NamesWithQuotesAndRecordsOfOnlyAKindAndANameReadBack)
{
    for (const QString& name : {QString("a\"b"), QString("\""), QString("\"\"x\""),
                                QString("with, comma"), QString("")}) {
        const QString line = record(name);
        const std::optional<figures::Record> r = figures::parseRecord(line);
        ASSERT_TRUE(r.has_value()) << line.toStdString();
        EXPECT_EQ(r->name, name) << line.toStdString();
        EXPECT_EQ(r->kind, 0);
        EXPECT_EQ(r->values.size(), 69) << line.toStdString();
    }
    // Only the figure number and the name: nothing is set, the figure is drawn on black and
    // page 0 is shown.
    spin(5)->setText("2");
    host.white = true;
    form->pageControl()->setCurrentIndex(3);
    host.drawn.clear();
    const auto before = controlStates(*page);
    ASSERT_TRUE(form->loadRecord("1,\"A\""));
    EXPECT_EQ(changed(before, controlStates(*page)), "");
    EXPECT_FALSE(host.white);
    EXPECT_EQ(host.drawn, std::vector<int>{0});
    EXPECT_EQ(form->pageControl()->currentIndex(), 0);
    EXPECT_EQ(state.FigureKind, 0);
}
