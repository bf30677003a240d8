#include "Watchdog.h"
#include "state/AppState.h"
#include "state/LibraryFile.h"
#include "state/SettingsFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace koyomi::state;

namespace {

class SettingsBytesTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString base = settingsBaseFor(dir.path(), "koyomiplan");
    SettingsFile settings{base};

    void put(const QByteArray& bytes)
    {
        QFile f(settings.path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray bytes() const
    {
        QFile f(settings.path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray header() const { return "[" + base.toUtf8() + "]"; }
};

} // namespace

TEST_F(SettingsBytesTest, LinesThatAreNotOursComeBackByteForByteWhateverTheirEncoding)
{
    // Latin-1, Shift-JIS and broken UTF-8 in lines we do not own, a bare LF line end, a
    // section header of ours in other letters, and a section after ours.
    const QByteArray before = "; caf\xe9\r\n[Other]\r\nname=\x8e\xf6\x8b\xc6\n\r\n";
    const QByteArray after = "[Later]\r\nBWflag=0\r\n\xff\xfe\r\n";
    put(before + header().toUpper() + "\r\nnote=\xc3\r\nbwFLAG=0\r\n\r\n" + after);
    ASSERT_TRUE(settings.writeBool("BWflag", true));
    ASSERT_TRUE(settings.writeInteger("Drawtop", 7));
    EXPECT_EQ(bytes(), before + header().toUpper() +
                           "\r\nnote=\xc3\r\nBWflag=1\r\nDrawtop=7\r\n\r\n" + after);
    EXPECT_TRUE(settings.readBool("BWflag", false));
}

TEST_F(SettingsBytesTest, AFileOfAnySizeIsReadAndKeptWhole)
{
    // Ten megabytes of someone else's lines around ours, one of them longer than any line of
    // ours could be.
    QByteArray foreign;
    for (int i = 0; i < 200000; ++i) {
        foreign += "other" + QByteArray::number(i) + "=some value of the other program\r\n";
    }
    foreign += "long=" + QByteArray(3 << 20, 'x') + "\r\n";
    ASSERT_GT(foreign.size(), 10 << 20);
    put("[Before]\r\n" + foreign + header() + "\r\nBWflag=1\r\n[After]\r\n" + foreign);
    EXPECT_TRUE(settings.readBool("BWflag", false));
    ASSERT_TRUE(settings.writeInteger("Drawleft", -3));
    EXPECT_EQ(bytes(), "[Before]\r\n" + foreign + header() + "\r\nBWflag=1\r\nDrawleft=-3\r\n" +
                           "[After]\r\n" + foreign);
}

TEST_F(SettingsBytesTest, NewKeysNeverJoinALastLineWithoutItsEnd)
{
    put("[Other]\r\nx=1");
    ASSERT_TRUE(settings.writeBool("BWflag", true));
    EXPECT_EQ(bytes(), "[Other]\r\nx=1\r\n" + header() + "\r\nBWflag=1\r\n");
    put(header() + "\nDrawtop=5");
    const Setting both[] = {{"Drawtop", 6}, {"Drawleft", 8}};
    ASSERT_TRUE(settings.write(both));
    EXPECT_EQ(bytes(), header() + "\nDrawtop=6\r\nDrawleft=8\r\n");
}

// A text value (a monitor's name) stays on its one line, whatever it holds.
TEST_F(SettingsBytesTest, TextValuesAreOneTrimmedLine)
{
    const Setting screen[] = {{"Screen", 0, QStringLiteral("HDMI-1\r\n[Evil]\nBWflag=1")},
                              {"Drawtop", 3}};
    ASSERT_TRUE(settings.write(screen));
    EXPECT_EQ(bytes(), header() + "\r\nScreen=HDMI-1  [Evil] BWflag=1\r\nDrawtop=3\r\n");
    EXPECT_EQ(settings.readText("Screen"), "HDMI-1  [Evil] BWflag=1");
    EXPECT_FALSE(settings.readBool("BWflag", false));
    EXPECT_EQ(settings.readText("Missing", "none"), "none");
    EXPECT_EQ(settings.readInteger("Screen", 7), 7); // not a number
}

TEST_F(SettingsBytesTest, AFileThatCannotBeReadIsNotReplacedAndTheTeacherIsToldOnce)
{
    // A folder where the file should be: it cannot be read, so nothing may replace it.
    ASSERT_TRUE(QDir().mkpath(settings.path()));
    QFile inside(settings.path() + "/keep");
    ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    inside.close();
    QString reason;
    EXPECT_FALSE(settings.writeBool("BWflag", true, &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_TRUE(QFile::exists(settings.path() + "/keep"));

    AppState state;
    QStringList shown;
    state.showError = [&](const QString& m) { shown.append(m); };
    state.reportSettingsError(settings.path(), reason);
    state.reportSettingsError(settings.path(), reason);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(settings.path()));
}

TEST(LibraryFile, ReadsShiftJisRecordsUpToTheFirstLineThatIsNotOne)
{
    QByteArray text = "1,\"\x8e\xf6\x8b\xc6 A\",0,10\r\n4,\"B\",1\r\n\r\n1,\"C\",0\r\n";
    QBuffer in(&text);
    in.open(QIODevice::ReadOnly);
    const auto records = readLibraryRecords(in);
    ASSERT_TRUE(records.has_value());
    EXPECT_EQ(records->records, QStringList({"1,\"授業 A\",0,10", "4,\"B\",1"}));
}

TEST(LibraryFile, ALineLongerThanAMegabyteIsRefusedWithItsLineNumber)
{
    QByteArray text = "1,\"A\",0\r\n1,\"" + QByteArray(kMaxLibraryLineBytes + 10, 'x') + "\",0\r\n";
    QBuffer in(&text);
    in.open(QIODevice::ReadOnly);
    QString error;
    EXPECT_FALSE(readLibraryRecords(in, &error).has_value());
    EXPECT_TRUE(error.startsWith("2 行目")) << error.toStdString();

    // A line just under the limit is still read.
    QByteArray fits = "1,\"" + QByteArray(kMaxLibraryLineBytes - 16, 'y') + "\",0\r\n";
    QBuffer in2(&fits);
    in2.open(QIODevice::ReadOnly);
    const auto records = readLibraryRecords(in2);
    ASSERT_TRUE(records.has_value());
    EXPECT_EQ(records->records.size(), 1);
}

TEST(LibraryFile, AHostileFileIsWrittenBackByteForByte)
{
    // Records with quotes, commas and blanks in their names; then a line whose bytes are not
    // Shift-JIS (UTF-8 of an emoji), which ends reading, and everything after it, records,
    // a stray carriage return and a last line without its end included.
    const QByteArray records = "1,\"a, b \"\"c\"\"\",0,10\r\n"
                               "9,\"   \",1,1\r\n"
                               "4,\"\x8e\xf6\x8b\xc6\",0\r\n";
    const QByteArray rest = "1,\"\xf0\x9f\x98\x80\",0\r\n"
                            "2,\"B\",0\r\n"
                            "3,\"C\r\",0\r\r\n"
                            "5,\"D\",1";
    QByteArray text = records + rest;
    QBuffer in(&text);
    in.open(QIODevice::ReadOnly);
    const auto contents = readLibrary(in);
    ASSERT_TRUE(contents.has_value());
    EXPECT_EQ(contents->records.size(), 3);
    EXPECT_EQ(contents->rest, rest);
    EXPECT_EQ(contents->firstRestLine, 4);
    EXPECT_EQ(contents->restLines, 4);
    EXPECT_EQ(libraryText(contents->records, contents->rest), text);

    // A stray carriage return inside a record's line is not read as one either.
    QByteArray stray = "1,\"A\r\",0\r\n";
    QBuffer in2(&stray);
    in2.open(QIODevice::ReadOnly);
    const auto strayRead = readLibrary(in2);
    ASSERT_TRUE(strayRead.has_value());
    EXPECT_TRUE(strayRead->records.isEmpty());
    EXPECT_EQ(libraryText(strayRead->records, strayRead->rest), stray);
}

// What was left unread is told as "from which line, how many lines", the same whether the
// lines are kept (the Draw tool) or only counted (the render command); blank lines after the
// last record are not worth telling.
TEST(LibraryFile, UnreadLinesAreCountedAlikeKeptOrNotAndBlankLastLinesAreNotTold)
{
    struct Case
    {
        QByteArray text;
        qint64 records, first, lines, unread;
    };
    const Case cases[] = {
        {"1,\"A\",0\r\n", 1, 0, 0, 0},
        {"1,\"A\",0\r\n\r\n", 1, 2, 1, 0},
        {"1,\"A\",0\r\n\r\n\r\n  \t\n", 1, 2, 3, 0},
        {"1,\"A\",0\r\n\r\n2,\"B\",0\r\n", 1, 2, 2, 2},
        {"1,\"A\",0\r\nx\r\n\r\n", 1, 2, 2, 2},
        {"1,\"A\",0\r\n2,\"B\",0\r\nno end", 2, 3, 1, 1},
        {QByteArray("\xff\xfe"
                    "1\0,\0",
                    6),
         0, 1, 1, 1}, // UTF-16
    };
    for (const Case& c : cases) {
        const std::string hex = c.text.toHex().toStdString();
        QByteArray bytes = c.text;
        QBuffer kept(&bytes);
        kept.open(QIODevice::ReadOnly);
        const auto whole = readLibrary(kept);
        QBuffer counted(&bytes);
        counted.open(QIODevice::ReadOnly);
        const auto records = readLibraryRecords(counted);
        ASSERT_TRUE(whole && records) << hex;
        for (const LibraryContents* r : {&*whole, &*records}) {
            EXPECT_EQ(r->records.size(), c.records) << hex;
            EXPECT_EQ(r->firstRestLine, c.first) << hex;
            EXPECT_EQ(r->restLines, c.lines) << hex;
            EXPECT_EQ(r->unreadLines(), c.unread) << hex;
        }
        EXPECT_TRUE(records->rest.isEmpty());
        EXPECT_EQ(libraryText(whole->records, whole->rest), c.text) << hex;
    }
    LibraryContents told;
    told.firstRestLine = 12;
    told.restLines = 3;
    EXPECT_EQ(unreadLinesMessage(told), "12 行目から後の 3 行は読めませんでした");
    told.restBlank = true;
    EXPECT_EQ(unreadLinesMessage(told), "");
}

// Only a regular file of at most 64 MB is read, checked before reading: a pipe with no
// writer, a device or a folder is refused at once, and so is a larger file. A line past the
// limit stops the command's reading at once, however much follows it.
TEST(LibraryFile, OnlyRegularFilesOfALibrarysSizeAreReadAndALongLineStopsReadingAtOnce)
{
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath("fifo.txt"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    for (const QByteArray& path : {fifo, QByteArray("/dev/zero"), QFile::encodeName(dir.path())}) {
        QString error;
        koyomi::test::runWithWatchdog("a library that is no regular file", [&] {
            EXPECT_FALSE(readLibraryFile(path, LibraryRest::Kept, &error));
            EXPECT_FALSE(readLibraryRecordsFile(path, &error));
        });
        EXPECT_EQ(error, "普通のファイルではありません") << path.toStdString();
    }

    // A sparse file just over the limit is refused without a byte read; one at it is read.
    const QString big = dir.filePath("big.txt");
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.write("1,\"A\",0\r\n") > 0 && file.resize(kMaxLibraryBytes + 1));
    file.close();
    QString error;
    EXPECT_FALSE(readLibraryRecordsFile(QFile::encodeName(big), &error));
    EXPECT_TRUE(error.startsWith("ファイルが大きすぎます")) << error.toStdString();
    // At the limit it is read: the zeros after the first line are one line too long.
    ASSERT_TRUE(QFile::resize(big, kMaxLibraryBytes));
    EXPECT_FALSE(readLibraryRecordsFile(QFile::encodeName(big), &error));
    EXPECT_TRUE(error.startsWith("2 行目が長すぎます")) << error.toStdString();

    // A 2 MB line and 20 MB after it: refused having read little more than the line.
    QByteArray text =
        "1,\"A\",0\r\n" + QByteArray(2 << 20, 'x') + "\r\n" + QByteArray(20 << 20, 'y');
    QBuffer in(&text);
    in.open(QIODevice::ReadOnly);
    EXPECT_FALSE(readLibraryRecords(in, &error));
    EXPECT_TRUE(error.startsWith("2 行目が長すぎます")) << error.toStdString();
    EXPECT_LT(in.pos(), kMaxLibraryLineBytes + (1 << 17));
}

// Shift-JIS has characters at two places (NEC's "≒" at 87 90 and the standard one at 81 E0;
// NEC's selection of IBM's kanji at ED 40 and IBM's own at FA 5C). Such bytes decode, but
// would be written back as the other bytes: the line is not read as a record, and it and
// every line after it are kept byte for byte.
TEST(LibraryFile, BytesThatDecodeButEncodeOtherwiseAreKeptAsTheyAre)
{
    for (const QByteArray& twin : {QByteArray("\x87\x90"), QByteArray("\xed\x40")}) {
        const QByteArray records = "1,\"A\",0,10\r\n";
        const QByteArray rest = "1,\"" + twin + "\",0,10\r\n2,\"B\",0\r\n";
        QByteArray text = records + rest;
        QBuffer in(&text);
        in.open(QIODevice::ReadOnly);
        const auto contents = readLibrary(in);
        ASSERT_TRUE(contents.has_value());
        EXPECT_EQ(contents->records, QStringList({"1,\"A\",0,10"}));
        EXPECT_EQ(contents->firstRestLine, 2);
        EXPECT_EQ(contents->rest, rest);
        // Written back with a record added, the twin's bytes are unchanged.
        const auto written =
            libraryText(contents->records + QStringList{"2,\"C\",0"}, contents->rest);
        ASSERT_TRUE(written.has_value());
        EXPECT_EQ(*written, records + "2,\"C\",0\r\n" + rest);
    }
}
