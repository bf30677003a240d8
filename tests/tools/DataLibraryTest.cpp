#include "tools/DataLibrary.h"
#include "app/TForm1.h"
#include "app/Wiring.h"
#include "state/AppState.h"
#include "state/LibraryFile.h"
#include "state/SettingsFile.h"
#include "tools/TForm2.h"
#include "widgets/HeadlessHost.h"
#include "widgets/PageControl.h"
#include "widgets/SpinEdit.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <deque>
#include <memory>

using namespace koyomi;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray sjis(const QString& text)
{
    QStringEncoder encode("Shift_JIS");
    return encode(text);
}

class DataLibraryTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    state::AppState state;
    widgets::HeadlessHost host{200, 150};
    std::deque<std::optional<QString>> names; // the teacher's answers to the name prompt
    bool confirmAnswer = true;
    QStringList questions;

    QString path() const { return dir.filePath("koyomiplan.txt"); }

    void SetUp() override
    {
        state.SettingsBase = state::settingsBaseFor(dir.path(), "koyomiplan");
        state.showError = [](const QString&) {};
        state.libraryReadPath = state.libraryWritePath = path();
    }

    std::unique_ptr<tools::TForm2> make()
    {
        auto form = std::make_unique<tools::TForm2>(state, host);
        host.pages = &form->pages();
        form->askLibraryName = [this]() -> std::optional<QString> {
            if (names.empty()) {
                return std::nullopt;
            }
            auto name = names.front();
            names.pop_front();
            return name;
        };
        form->confirmLibrary = [this](const QString& q) {
            questions.append(q);
            return confirmAnswer;
        };
        return form;
    }

    static QTreeWidget* tree(tools::TForm2& form)
    {
        return form.findChild<QTreeWidget*>("TreeView1");
    }
    static QTreeWidgetItem* group(tools::TForm2& form, int kind)
    {
        return tree(form)->topLevelItem(kind);
    }
    void add(tools::TForm2& form, int kind, const QString& name)
    {
        state.FigureKind = kind;
        names.push_back(name);
        form.findChild<QToolButton*>("SpeedButton1")->click();
    }
};

} // namespace

TEST_F(DataLibraryTest, AnAddedPresetIsWrittenAtOnceAndReadBackUnderItsName)
{
    {
        auto form = make();
        ASSERT_EQ(fileBytes(path()), QByteArray()); // a missing library is made, empty
        add(*form, 0, "A");
        const QByteArray bytes = fileBytes(path());
        EXPECT_TRUE(bytes.startsWith("1,\"A\",0,")) << bytes.constData();
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        EXPECT_EQ(bytes.count('\n'), 1);
        // A name with a comma, blanks and a quote; an empty name; Cancel adds nothing.
        add(*form, 0, "a, b \"c\"");
        add(*form, 0, "");
        state.FigureKind = 0;
        names.push_back(std::nullopt);
        form->findChild<QToolButton*>("SpeedButton1")->click();
        EXPECT_EQ(group(*form, 0)->childCount(), 3);
    }
    auto again = make();
    QTreeWidgetItem* g = group(*again, 0);
    ASSERT_EQ(g->childCount(), 3);
    EXPECT_EQ(g->child(0)->text(0), "A");
    EXPECT_EQ(g->child(1)->text(0), "a, b \"c\"");
    EXPECT_EQ(g->child(2)->text(0), "");
    EXPECT_TRUE(host.errors.isEmpty()) << host.errors.join("\n").toStdString();
}

TEST_F(DataLibraryTest, RecordsAreGroupedInFigureOrderWhateverOrderTheyWereAddedIn)
{
    auto form = make();
    add(*form, 4, "clock");
    add(*form, 0, "paper");
    add(*form, 8, "tiles");
    add(*form, 1, "grid");
    const QList<QByteArray> lines = fileBytes(path()).split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].startsWith("1,\"paper\""));
    EXPECT_TRUE(lines[1].startsWith("2,\"grid\""));
    EXPECT_TRUE(lines[2].startsWith("5,\"clock\""));
    EXPECT_TRUE(lines[3].startsWith("9,\"tiles\""));
}

TEST_F(DataLibraryTest, LoadingSetsTheBackgroundFirstThenTheFigureAndItsPage)
{
    auto form = make();
    form->findChild<widgets::SpinEdit*>("SpinEdit15")->setText("37");
    host.useBackground(true);
    add(*form, 0, "white 37");
    form->findChild<widgets::SpinEdit*>("SpinEdit15")->setText("50");
    host.useBackground(false);
    state.FigureKind = 4;

    // A group does nothing; the record sets white, then its controls, then draws once.
    tree(*form)->setCurrentItem(group(*form, 0));
    host.drawn.clear();
    form->findChild<QToolButton*>("SpeedButton2")->click();
    EXPECT_TRUE(host.drawn.empty());
    QTreeWidgetItem* record = group(*form, 0)->child(0);
    tree(*form)->setCurrentItem(record);
    emit tree(*form)->itemDoubleClicked(record, 0);
    EXPECT_TRUE(host.white);
    EXPECT_EQ(form->findChild<widgets::SpinEdit*>("SpinEdit15")->text(), "37");
    EXPECT_EQ(host.drawn, std::vector<int>{0});
    EXPECT_EQ(state.FigureKind, 0);
    EXPECT_EQ(form->pageControl()->currentIndex(), 0);
}

TEST_F(DataLibraryTest, OverwriteOnlyWhileTheRecordsFigureIsCurrentAndDeleteAfterAsking)
{
    auto form = make();
    add(*form, 3, "circle");
    add(*form, 4, "clock");
    auto* overwrite = form->findChild<QAction*>("Overwrite1");
    auto* remove = form->findChild<QAction*>("Delete1");
    tools::DataLibrary& library = form->library();

    // The circle record while the clock is current: delete only.
    state.FigureKind = 4;
    tree(*form)->setCurrentItem(group(*form, 3)->child(0));
    library.updateMenu(overwrite, remove);
    EXPECT_FALSE(overwrite->isEnabled());
    EXPECT_TRUE(remove->isEnabled());
    // A group: neither.
    tree(*form)->setCurrentItem(group(*form, 3));
    library.updateMenu(overwrite, remove);
    EXPECT_FALSE(overwrite->isEnabled());
    EXPECT_FALSE(remove->isEnabled());

    // Overwrite keeps the name and writes the new settings at once; Cancel changes nothing.
    tree(*form)->setCurrentItem(group(*form, 4)->child(0));
    library.updateMenu(overwrite, remove);
    EXPECT_TRUE(overwrite->isEnabled());
    const QByteArray before = fileBytes(path());
    form->findChild<widgets::SpinEdit*>("SpinEdit71")->setText("77");
    confirmAnswer = false;
    overwrite->trigger();
    EXPECT_EQ(fileBytes(path()), before);
    confirmAnswer = true;
    overwrite->trigger();
    EXPECT_EQ(questions.last(), "上書き保存していいですか？");
    EXPECT_TRUE(fileBytes(path()).contains("5,\"clock\",0,77,"));
    EXPECT_EQ(group(*form, 4)->child(0)->text(0), "clock");

    // Delete, then close: the line is gone.
    tree(*form)->setCurrentItem(group(*form, 3)->child(0));
    remove->trigger();
    EXPECT_EQ(questions.last(), "ライブラリから削除していいですか？");
    form->close();
    EXPECT_FALSE(fileBytes(path()).contains("\"circle\""));
    EXPECT_EQ(group(*form, 3)->childCount(), 0);
}

TEST_F(DataLibraryTest, LinesThatAreNotRecordsAreKeptByteForByteAfterTheRecords)
{
    // A blank line ends reading; what follows it (a record, garbage, Latin-1 bytes, a line
    // without its end) is written back exactly, after the records. No box stops the lesson:
    // a notice beside the tree says how many lines from which line were not read, until the
    // file is next written.
    const QByteArray records = "1,\"A\",0,10\r\n" + sjis("5,\"時計\",1,50") + "\r\n";
    const QByteArray rest =
        QByteArray("\r\n1,\"after the blank\",0\r\nnot a record \xe9\xff\r\n") + "4,\"no end\",0";
    writeBytes(path(), records + rest);
    auto form = make();
    EXPECT_TRUE(host.errors.isEmpty());
    auto* notice = form->findChild<QLabel*>("LibraryNotice");
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(notice->isHidden());
    EXPECT_TRUE(notice->text().contains("3 行目から後の 4 行")) << notice->text().toStdString();
    auto* tree = form->findChild<QTreeWidget*>("TreeView1");
    EXPECT_EQ(tree->geometry().bottom() + 1, notice->geometry().top());
    EXPECT_EQ(notice->geometry().bottom(), 26 + 526 - 1);
    EXPECT_EQ(group(*form, 0)->childCount(), 1);
    EXPECT_EQ(group(*form, 4)->child(0)->text(0), "時計");

    add(*form, 1, "grid");
    const QByteArray after = fileBytes(path());
    EXPECT_TRUE(after.startsWith(records.left(records.indexOf('\n') + 1) + "2,\"grid\",0,"));
    EXPECT_TRUE(after.endsWith(sjis("5,\"時計\",1,50") + "\r\n" + rest));
    EXPECT_TRUE(notice->isHidden());
    EXPECT_EQ(tree->height(), 526);
}

// An editor's blank last lines (one, or a few, with or without CR, spaces) are nothing to
// tell: no box and no notice, and they are kept byte for byte.
TEST_F(DataLibraryTest, BlankLinesAfterTheLastRecordAreKeptAndNotMentioned)
{
    const QByteArray records = "1,\"A\",0,10\r\n3,\"B\",1\r\n";
    for (const QByteArray& blank : {QByteArray("\r\n"), QByteArray("\n"),
                                    QByteArray("\r\n\r\n \t\r\n"), QByteArray("\r\n  ")}) {
        writeBytes(path(), records + blank);
        host.errors.clear();
        auto form = make();
        EXPECT_TRUE(host.errors.isEmpty()) << blank.toHex().toStdString();
        EXPECT_TRUE(form->findChild<QLabel*>("LibraryNotice")->isHidden());
        EXPECT_EQ(group(*form, 0)->childCount(), 1);
        add(*form, 0, "C");
        EXPECT_TRUE(fileBytes(path()).endsWith("\r\n" + blank)) << blank.toHex().toStdString();
    }
}

TEST_F(DataLibraryTest, WhatTheFileCannotHoldIsRefusedBeforeAnythingIsWritten)
{
    auto form = make();
    add(*form, 0, "A");
    const QByteArray before = fileBytes(path());
    for (const QString& name : {QString("line\nbreak"), QString("cr\rreturn"),
                                QString::fromUtf8("emoji \xf0\x9f\x98\x80"), QString("ü")}) {
        host.errors.clear();
        add(*form, 0, name);
        ASSERT_EQ(host.errors.size(), 1) << name.toStdString();
        EXPECT_EQ(fileBytes(path()), before) << name.toStdString();
    }
    EXPECT_TRUE(host.errors[0].contains("ü"));
    EXPECT_EQ(group(*form, 0)->childCount(), 1);
    // Nor a figure's own text: a number line's unit of a character Shift-JIS has not.
    form->findChild<QLineEdit*>("Edit1")->setText(QString::fromUtf8("\xe2\x82\xac"));
    host.errors.clear();
    add(*form, 6, "euro");
    EXPECT_EQ(host.errors.size(), 1);
    EXPECT_EQ(fileBytes(path()), before);
    EXPECT_EQ(group(*form, 6)->childCount(), 0);
}

TEST_F(DataLibraryTest, AFailedWriteIsToldAndAnUnreadableFileIsNeverWritten)
{
    // A folder that cannot be made: the add is told as failed, the tree keeps the record.
    state.libraryReadPath = path();
    state.libraryWritePath = "/proc/koyomiplan-no-such-folder/koyomiplan.txt";
    {
        auto form = make();
        host.errors.clear();
        add(*form, 0, "A");
        ASSERT_EQ(host.errors.size(), 1);
        EXPECT_TRUE(host.errors[0].contains("書き込めませんでした"));
        EXPECT_EQ(group(*form, 0)->childCount(), 1);
    }
    // A library that cannot be read (here a folder of that name): nothing is ever written
    // over it, and adding says why.
    host.errors.clear();
    const QString blocked = dir.filePath("blocked.txt");
    ASSERT_TRUE(QDir().mkpath(blocked));
    state.libraryReadPath = state.libraryWritePath = blocked;
    auto form = make();
    ASSERT_EQ(host.errors.size(), 1);
    add(*form, 0, "B");
    EXPECT_EQ(host.errors.size(), 2);
    EXPECT_EQ(group(*form, 0)->childCount(), 0);
    form->close();
    EXPECT_TRUE(QFileInfo(blocked).isDir());
}

TEST_F(DataLibraryTest, PageKeysOnThePresentationWindowStepThroughTheCurrentFiguresPresets)
{
    state.configFolder = dir.path();
    state.executableName = "koyomiplan";
    app::TForm1 form1(state);
    tools::TForm2 form2(state, form1);
    app::connectDrawTool(form1, form2);
    form2.askLibraryName = [this]() -> std::optional<QString> {
        auto n = names.front();
        names.pop_front();
        return n;
    };
    auto* spacing = form2.findChild<widgets::SpinEdit*>("SpinEdit15");
    for (const char* value : {"20", "30", "40"}) {
        spacing->setText(value);
        names.push_back(QString::fromLatin1(value));
        form2.findChild<QToolButton*>("SpeedButton1")->click();
    }
    state.FigureKind = 0;
    form2.findChild<QTreeWidget*>("TreeView1")->setCurrentItem(nullptr);
    spacing->setText("50");
    form1.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form1));
    QTest::keyClick(&form1, Qt::Key_PageDown);
    EXPECT_EQ(spacing->text(), "20");
    QTest::keyClick(&form1, Qt::Key_PageDown);
    QTest::keyClick(&form1, Qt::Key_PageDown);
    EXPECT_EQ(spacing->text(), "40");
    QTest::keyClick(&form1, Qt::Key_PageDown); // the last stays
    EXPECT_EQ(spacing->text(), "40");
    QTest::keyClick(&form1, Qt::Key_PageUp);
    EXPECT_EQ(spacing->text(), "30");
    // Another figure's group has no presets: nothing changes.
    state.FigureKind = 1;
    QTest::keyClick(&form1, Qt::Key_PageUp);
    EXPECT_EQ(spacing->text(), "30");

    // With another figure's preset selected, the keys start from the current figure's last
    // (Page Up) or first (Page Down) preset, never from the selected one's place.
    auto* tree = form2.findChild<QTreeWidget*>("TreeView1");
    auto* gridSpacing = form2.findChild<widgets::SpinEdit*>("SpinEdit30");
    names.push_back("grid");
    form2.pageControl()->setCurrentIndex(1);
    form2.findChild<QToolButton*>("SpeedButton1")->click();
    for (const auto& [key, expected] :
         {std::pair{Qt::Key_PageUp, "40"}, {Qt::Key_PageDown, "20"}}) {
        tree->setCurrentItem(tree->topLevelItem(1)->child(0));
        ASSERT_EQ(tools::DataLibrary::lineOf(tree->currentItem()).left(8), "2,\"grid\"");
        state.FigureKind = 0;
        gridSpacing->setText("77");
        QTest::keyClick(&form1, key);
        EXPECT_EQ(spacing->text(), expected);
        EXPECT_EQ(state.FigureKind, 0);
        EXPECT_EQ(gridSpacing->text(), "77"); // the grid preset was not loaded
        EXPECT_EQ(tree->currentItem()->text(0), expected);
    }
}

TEST(LibraryLocation, BesideTheExecutableWhileItsFolderCanBeWrittenElseTheUsersDataFolder)
{
    QTemporaryDir dir;
    const QString data = dir.filePath("data");
    const auto beside = state::libraryLocation(dir.path(), data);
    EXPECT_EQ(beside.readPath, dir.filePath("koyomiplan.txt"));
    EXPECT_EQ(beside.writePath, beside.readPath);
    // An executable folder that cannot be written (here one that is not there): the data
    // folder, read from beside the executable the first time.
    const QString missing = dir.filePath("no-such-folder");
    const auto installed = state::libraryLocation(missing, data);
    EXPECT_EQ(installed.writePath, QDir(data).filePath("koyomiplan.txt"));
    EXPECT_EQ(installed.readPath, installed.writePath);
}
