#include "PdfReading.h"
#include "figures/Fields.h"
#include "figures/Figures.h"
#include "figures/Record.h"
#include "figures/graphpaper/GraphPaper.h"
#include "figures/graphpaper/GraphPaperPage.h"
#include "figures/picture/PictureFiles.h"
#include "render/Canvas.h"
#include "render/Palette.h"
#include "state/AppState.h"
#include "state/SettingsFile.h"
#include "tools/TForm2.h"
#include "widgets/HeadlessHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <string>
#include <vector>

using namespace koyomi;

namespace {

struct CommandRun
{
    int code;
    QString out;
    QString err;
};

CommandRun runCommand(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(KOYOMIPLAN_RENDER), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return CommandRun{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                      QString::fromUtf8(p.readAllStandardError())};
}

QImage expectedGraphPaper(const figures::GraphPaperParams& p, int w, int h, bool white)
{
    render::Canvas c(w, h);
    figures::drawGraphPaper(c, p, render::Frame{w, h, white});
    return c.image().copy();
}

class RenderCliTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.path() + "/" + name; }
};

} // namespace

TEST_F(RenderCliTest, KindDefaultsMatchTheRendererDrawnDirectly)
{
    const CommandRun r = runCommand({"--kind", "0", "--size", "640x480", "-o", path("g.png")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const QImage out = QImage(path("g.png")).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(out, expectedGraphPaper(figures::GraphPaperParams::defaults(false), 640, 480, false));

    ASSERT_EQ(runCommand({"--kind", "0", "--white", "--size", "320x200", "-o", path("w.ppm")}).code,
              0);
    const QImage white = QImage(path("w.ppm")).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(white, expectedGraphPaper(figures::GraphPaperParams::defaults(true), 320, 200, true));

    // JPEG: the program's own encoder; the picture is close to the figure.
    ASSERT_EQ(runCommand({"--kind", "0", "--size", "320x200", "-o", path("g.jpg")}).code, 0);
    const QImage jpeg(path("g.jpg"));
    ASSERT_EQ(jpeg.size(), QSize(320, 200));
    EXPECT_LT(qGray(jpeg.pixel(2, 2)), 16);
}

TEST_F(RenderCliTest, ARecordDrawsWhatItsPresetHolds)
{
    // A preset made on the graph paper page, every kind of control changed.
    state::AppState state;
    state.SettingsBase = state::settingsBaseFor(dir.path(), "k");
    widgets::HeadlessHost host(400, 300);
    host.white = true;
    tools::TForm2 form(state, host);
    auto* page = dynamic_cast<figures::GraphPaperPage*>(form.pages()[0]);
    page->findChild<widgets::SpinEdit*>("SpinEdit15")->setText("30");
    page->findChild<widgets::SpinEdit*>("SpinEdit24")->setText("2");
    page->findChild<QComboBox*>("ComboBox53")->setCurrentIndex(1);
    page->findChild<QComboBox*>("ComboBox56")->setCurrentIndex(render::kRedIndex);
    page->findChild<QComboBox*>("ComboBox82")->setCurrentIndex(1);
    page->findChild<widgets::SpinEdit*>("SpinEdit97")->setText("5");
    const QString line = form.recordOf(0, "授業 1");

    const CommandRun r = runCommand({"--record", line, "--size", "800x600", "-o", path("r.png")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QImage out = QImage(path("r.png")).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(out, expectedGraphPaper(page->params(), 800, 600, true));

    // The same preset from a Shift-JIS library file, found by its name, and listed.
    QFile library(path("koyomiplan.txt"));
    ASSERT_TRUE(library.open(QIODevice::WriteOnly));
    QStringEncoder sjis("Shift_JIS");
    library.write(sjis.encode("1,\"other\",0,5,5\r\n" + line + "\r\n"));
    library.close();
    const CommandRun byName = runCommand({"--library", path("koyomiplan.txt"), "--name", "授業 1",
                                          "--size", "800x600", "-o", path("l.png")});
    ASSERT_EQ(byName.code, 0) << byName.err.toStdString();
    EXPECT_EQ(QImage(path("l.png")).convertToFormat(QImage::Format_RGB32), out);
    const CommandRun list = runCommand({"--list", path("koyomiplan.txt")});
    EXPECT_EQ(list.code, 0);
    EXPECT_EQ(list.out, "0\tother\n0\t授業 1\n");
}

TEST_F(RenderCliTest, EveryBuiltFigureDrawsItsDefaultsAndItsPresetsAsItsPageDoes)
{
    state::AppState state;
    state.SettingsBase = state::settingsBaseFor(dir.path(), "k");
    widgets::HeadlessHost host(320, 200);
    tools::TForm2 form(state, host);
    host.pages = &form.pages();
    auto pageDrawing = [&](int kind) {
        host.canvas.resize(320, 200, render::kBlack);
        host.drawFigure(kind);
        return host.canvas.image().copy();
    };
    int built = 0;
    for (int kind = 0; kind < 9; ++kind) {
        if (figures::showsAFile(kind)) {
            continue; // drawn from a record only (below)
        }
        ++built;
        const QString out = path(QStringLiteral("k%1.png").arg(kind));
        const CommandRun r =
            runCommand({"--kind", QString::number(kind), "--size", "320x200", "-o", out});
        ASSERT_EQ(r.code, 0) << kind << r.err.toStdString();
        EXPECT_EQ(QImage(out).convertToFormat(QImage::Format_RGB32), pageDrawing(kind)) << kind;
    }
    EXPECT_EQ(built, 8); // every figure but the picture

    // A grid preset with its marks, centres and coupled spacings.
    auto* grid = form.pages()[1];
    grid->findChild<QComboBox*>("ComboBox29")->setCurrentIndex(3);
    grid->findChild<QComboBox*>("ComboBox62")->setCurrentIndex(1);
    grid->findChild<widgets::SpinEdit*>("SpinEdit40")->setText("6");
    grid->findChild<QCheckBox*>("CheckBox5")->setChecked(true);
    grid->findChild<widgets::SpinEdit*>("SpinEdit35")->setText("2");
    const QString line = form.recordOf(1, "三角");
    const CommandRun r = runCommand({"--record", line, "--size", "320x200", "-o", path("g.png")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(path("g.png")).convertToFormat(QImage::Format_RGB32), pageDrawing(1));

    // A slanted grid preset: dashed, three pixels wide.
    auto* slanted = form.pages()[2];
    slanted->findChild<QComboBox*>("ComboBox27")->setCurrentIndex(1);
    slanted->findChild<widgets::SpinEdit*>("SpinEdit29")->setText("3");
    slanted->findChild<widgets::SpinEdit*>("SpinEdit28")->setText("37");
    const CommandRun s =
        runCommand({"--record", form.recordOf(2, "斜"), "--size", "320x200", "-o", path("s.png")});
    ASSERT_EQ(s.code, 0) << s.err.toStdString();
    EXPECT_EQ(QImage(path("s.png")).convertToFormat(QImage::Format_RGB32), pageDrawing(2));

    // A tawara preset: squares, apex down, dotted, two piles.
    auto* tawara = form.pages()[7];
    tawara->findChild<QComboBox*>("ComboBox84")->setCurrentIndex(1);
    tawara->findChild<QComboBox*>("ComboBox87")->setCurrentIndex(1);
    tawara->findChild<QComboBox*>("ComboBox85")->setCurrentIndex(2);
    tawara->findChild<widgets::SpinEdit*>("SpinEdit104")->setText("2");
    tawara->findChild<widgets::SpinEdit*>("SpinEdit107")->setText("4");
    const CommandRun t =
        runCommand({"--record", form.recordOf(7, "俵"), "--size", "320x200", "-o", path("t.png")});
    ASSERT_EQ(t.code, 0) << t.err.toStdString();
    EXPECT_EQ(QImage(path("t.png")).convertToFormat(QImage::Format_RGB32), pageDrawing(7));

    // A clock preset: dotted graduations across the circle, a cross at the centre, two faces.
    auto* clock = form.pages()[4];
    clock->findChild<QComboBox*>("ComboBox48")->setCurrentIndex(4);
    clock->findChild<QComboBox*>("ComboBox45")->setCurrentIndex(3);
    clock->findChild<QComboBox*>("ComboBox47")->setCurrentIndex(2);
    clock->findChild<widgets::SpinEdit*>("SpinEdit61")->setText("2");
    clock->findChild<widgets::SpinEdit*>("SpinEdit71")->setText("60");
    const CommandRun k = runCommand(
        {"--record", form.recordOf(4, "時計"), "--size", "320x200", "-o", path("c.png")});
    ASSERT_EQ(k.code, 0) << k.err.toStdString();
    EXPECT_EQ(QImage(path("c.png")).convertToFormat(QImage::Format_RGB32), pageDrawing(4));

    // A fraction tiles preset: three by two parts with ticks on every side, two tiles.
    auto* tiles = form.pages()[8];
    tiles->findChild<widgets::SpinEdit*>("SpinEdit115")->setText("3");
    tiles->findChild<widgets::SpinEdit*>("SpinEdit118")->setText("2");
    tiles->findChild<widgets::SpinEdit*>("SpinEdit110")->setText("2");
    tiles->findChild<QComboBox*>("ComboBox90")->setCurrentIndex(6);
    tiles->findChild<QComboBox*>("ComboBox101")->setCurrentIndex(1);
    const CommandRun f = runCommand(
        {"--record", form.recordOf(8, "分数"), "--size", "320x200", "-o", path("f.png")});
    ASSERT_EQ(f.code, 0) << f.err.toStdString();
    EXPECT_EQ(QImage(path("f.png")).convertToFormat(QImage::Format_RGB32), pageDrawing(8));

    // A number line preset: labels with a unit and a plus sign, tenths, two subdivision rows.
    auto* numberLine = form.pages()[6];
    numberLine->findChild<QComboBox*>("ComboBox67")->setCurrentIndex(1);
    numberLine->findChild<QComboBox*>("ComboBox72")->setCurrentIndex(1);
    numberLine->findChild<QComboBox*>("ComboBox77")->setCurrentIndex(1);
    numberLine->findChild<QLineEdit*>("Edit1")->setText("c m");
    numberLine->findChild<widgets::SpinEdit*>("SpinEdit82")->setText("2");
    numberLine->findChild<widgets::SpinEdit*>("SpinEdit85")->setText("5");
    numberLine->findChild<widgets::SpinEdit*>("SpinEdit78")->setText("-3");
    const CommandRun n = runCommand(
        {"--record", form.recordOf(6, "数直線"), "--size", "320x200", "-o", path("n.png")});
    ASSERT_EQ(n.code, 0) << n.err.toStdString();
    EXPECT_EQ(QImage(path("n.png")).convertToFormat(QImage::Format_RGB32), pageDrawing(6));

    // A circle preset: twelve divisions from "→", dotted marks, a sub-division ring, numbers.
    auto* circle = form.pages()[3];
    circle->findChild<widgets::SpinEdit*>("SpinEdit43")->setText("12");
    circle->findChild<QComboBox*>("ComboBox32")->setCurrentIndex(1);
    circle->findChild<QComboBox*>("ComboBox33")->setCurrentIndex(2);
    circle->findChild<QComboBox*>("ComboBox44")->setCurrentIndex(1);
    circle->findChild<QComboBox*>("ComboBox42")->setCurrentIndex(2);
    circle->findChild<widgets::SpinEdit*>("SpinEdit90")->setText("5");
    circle->findChild<widgets::SpinEdit*>("SpinEdit50")->setText("3");
    const CommandRun o =
        runCommand({"--record", form.recordOf(3, "円"), "--size", "320x200", "-o", path("o.png")});
    ASSERT_EQ(o.code, 0) << o.err.toStdString();
    EXPECT_EQ(QImage(path("o.png")).convertToFormat(QImage::Format_RGB32), pageDrawing(3));
}

TEST_F(RenderCliTest, EveryErrorSaysSoOnOneLineAndWritesNothing)
{
    QFile library(path("lib.txt"));
    ASSERT_TRUE(library.open(QIODevice::WriteOnly));
    library.write("1,\"A\",0\r\n");
    library.close();
    const QString out = path("out.png");
    const QList<QStringList> cases = {
        {"--bogus", "-o", out},
        {"--kind", "0", "--size", "0x10", "-o", out},
        {"--kind", "0", "--size", "big", "-o", out},
        {"--kind", "9", "-o", out},
        {"--kind", "5", "-o", out}, // a picture needs a record naming its file
        {"--record", "6,\"P\",0,\"" + dir.path() + "/\",\"missing.jpg\"", "-o", out},
        {"--record", "6,\"P\",0,\"" + dir.path() + "/\",\"lib.txt\"", "-o", out},
        {"--record", "not a record", "-o", out},
        {"--record", "", "-o", out}, // an empty record is no record, not the defaults
        {"--record", " ", "-o", out},
        {"--record", "1,\"A\",0,10,50,10,50,10,50,1,10,1,10,x", "-o",
         out}, // selector not an integer
        {"--library", path("missing.txt"), "--name", "A", "-o", out},
        {"--library", path("lib.txt"), "--name", "B", "-o", out},
        {"--kind", "0", "-o", path("no/such/folder/out.png")},
        {"--kind", "0", "-o", path("out.gif")},
        {"--kind", "0"},
        {"--kind", "0", "--record", "1,\"A\",0", "-o", out},
        // Refused texts with line breaks are echoed on the one line.
        {"--record", "not\na record\r\n", "-o", out},
        {"--record", "1,\"A\",0,10,50,10,50,10,50,1,10,1,10,\"x\ny\"", "-o", out},
        {"--kind", "0", "-o", path("out\n.gif")},
        {"--library", path("lib.txt"), "--name", "B\nC", "-o", out},
        {"--library", path("long.txt"), "--name", "A", "-o", out},
        // No regular file, or far larger than a library: refused before reading.
        {"--library", path("fifo"), "--name", "A", "-o", out},
        {"--library", "/dev/zero", "--name", "A", "-o", out},
        {"--list", path("fifo")},
        {"--list", path("huge.txt")},
    };
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
    QFile huge(path("huge.txt"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.write("1,\"A\",0\r\n") > 0 &&
                huge.resize(200 << 20));
    huge.close();
    // A library line of more than a megabyte is refused, not read whole.
    QFile longLine(path("long.txt"));
    ASSERT_TRUE(longLine.open(QIODevice::WriteOnly));
    longLine.write("1,\"A\",0\r\n1,\"" + QByteArray(3 << 20, 'x') + "\",0\r\n");
    longLine.close();
    for (const QStringList& args : cases) {
        const CommandRun r = runCommand(args);
        EXPECT_NE(r.code, 0) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("koyomiplan-render: ")) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(out)) << args.join(' ').toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({"huge.txt", "lib.txt", "long.txt"}));
}

// What a library could not read is said on one line of standard error: the list goes on
// with what was read, and is a failure when nothing could be read. A name not found while
// lines went unread may be on them, and that is what is said.
TEST_F(RenderCliTest, ListingAndNamingSayWhatTheLibraryCouldNotRead)
{
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write("partly.txt", "1,\"A\",0\r\n3,\"B\",1\r\n\r\n1,\"later\",0\r\nx\r\n");
    write("blank.txt", "1,\"A\",0\r\n\r\n\r\n");
    write("utf16.txt", QByteArray("\xff\xfe"
                                  "1\0,\0\"\0A\0\"\0\r\0\n\0",
                                  14));
    write("utf8.txt", "1,\"\xf0\x9f\x98\x80\",0\r\n1,\"A\",0\r\n"); // an emoji
    write("random.txt", QByteArray("\x93\x00\xfe\x81\x7f\x10\xff\xff\x81", 9));

    CommandRun r = runCommand({"--list", path("partly.txt")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "0\tA\n2\tB\n");
    EXPECT_EQ(r.err, "koyomiplan-render: ライブラリ「" + path("partly.txt") +
                         "」の 3 行目から後の 3 行は読めませんでした\n");

    r = runCommand({"--list", path("blank.txt")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "0\tA\n");
    EXPECT_EQ(r.err, "");

    for (const char* nothing : {"utf16.txt", "utf8.txt", "random.txt"}) {
        r = runCommand({"--list", path(nothing)});
        EXPECT_EQ(r.code, 1) << nothing;
        EXPECT_EQ(r.out, "") << nothing;
        EXPECT_TRUE(r.err.endsWith("」の 1 行目から後の " +
                                   QString::number(nothing == std::string("utf8.txt") ? 2 : 1) +
                                   " 行は読めませんでした\n"))
            << r.err.toStdString();
    }

    r = runCommand({"--library", path("partly.txt"), "--name", "later", "-o", path("o.png")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("3 行目から後の 3 行は読めませんでした")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("「later」")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("o.png")));
    r = runCommand({"--library", path("blank.txt"), "--name", "later", "-o", path("o.png")});
    EXPECT_EQ(r.err, "koyomiplan-render: ライブラリ「" + path("blank.txt") +
                         "」に「later」はありません\n");

    // Presets of one name: the first is drawn, not a later one of its figure or another's.
    const QByteArray first = "1,\"twice\",1,10,20,10,20\r\n";
    write("twice.txt",
          "1,\"other\",0\r\n" + first + "4,\"twice\",0\r\n" + "1,\"twice\",0,10,80,10,80\r\n");
    write("first.txt", first);
    r = runCommand({"--library", path("twice.txt"), "--name", "twice", "--size", "200x100", "-o",
                    path("twice.png")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    r = runCommand({"--library", path("first.txt"), "--name", "twice", "--size", "200x100", "-o",
                    path("first.png")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(path("twice.png")), QImage(path("first.png")));
}

TEST_F(RenderCliTest, OutputNamesAreTheFileSystemsBytes)
{
    // A name that is not UTF-8 (Latin-1 "é"): written under exactly those bytes, not under
    // the name its replacement characters would make.
    const QByteArray name = QFile::encodeName(dir.path()) + "/caf\xe9.png";
    QProcess p;
    p.start("bash", {"-c", "exec \"$0\" --kind 0 --size 32x24 -o \"$1\"$'caf\\xe9.png'",
                     QStringLiteral(KOYOMIPLAN_RENDER), dir.path() + "/"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    struct stat written = {};
    EXPECT_EQ(::stat(name.constData(), &written), 0);
    EXPECT_GT(written.st_size, 0);
    // No other name and no temporary file left beside it (read as bytes: Qt's listing leaves
    // out names it cannot decode).
    std::vector<std::string> entries;
    DIR* folder = ::opendir(QFile::encodeName(dir.path()).constData());
    ASSERT_NE(folder, nullptr);
    while (const dirent* e = ::readdir(folder)) {
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") {
            entries.push_back(e->d_name);
        }
    }
    ::closedir(folder);
    EXPECT_EQ(entries, std::vector<std::string>{"caf\xe9.png"});
}

TEST_F(RenderCliTest, ListingGivesEveryFigureNumberItsKindWithoutOverflow)
{
    QFile library(path("lib.txt"));
    ASSERT_TRUE(library.open(QIODevice::WriteOnly));
    library.write("-2147483648,\"low\",0\r\n2147483647,\"high\",0\r\n1,\"A\",0\r\n");
    library.close();
    const CommandRun r = runCommand({"--list", path("lib.txt")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "-2147483649\tlow\n2147483646\thigh\n0\tA\n");
}

TEST_F(RenderCliTest, EachSideHasItsOwnLimitAndEveryExtensionItsFormat)
{
    // 16384 is the most on either side, each side judged on its own.
    for (const char* size : {"16385x10", "10x16385", "0x10", "10x0", "16385x16385"}) {
        const CommandRun r = runCommand({"--kind", "0", "--size", size, "-o", path("s.ppm")});
        EXPECT_EQ(r.code, 2) << size;
        EXPECT_FALSE(QFile::exists(path("s.ppm"))) << size;
    }
    for (const char* size : {"16384x1", "1x16384"}) {
        const CommandRun r = runCommand({"--kind", "0", "--size", size, "-o", path("s.ppm")});
        EXPECT_EQ(r.code, 0) << size << r.err.toStdString();
        const QSize expected = QString(size) == "16384x1" ? QSize(16384, 1) : QSize(1, 16384);
        EXPECT_EQ(QImage(path("s.ppm")).size(), expected) << size;
    }
    // The format follows the extension, in any letter case.
    const std::pair<const char*, QByteArray> formats[] = {
        {"a.png", "\x89PNG\r\n"},   {"b.PNG", "\x89PNG\r\n"},  {"c.jpg", "\xFF\xD8\xFF"},
        {"d.jpeg", "\xFF\xD8\xFF"}, {"e.JPG", "\xFF\xD8\xFF"}, {"f.ppm", "P6"},
    };
    for (const auto& [name, magic] : formats) {
        const CommandRun r = runCommand({"--kind", "0", "--size", "40x30", "-o", path(name)});
        ASSERT_EQ(r.code, 0) << name << r.err.toStdString();
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(f.readAll().startsWith(magic)) << name;
        EXPECT_EQ(QImage(path(name)).size(), QSize(40, 30)) << name;
    }
}

TEST_F(RenderCliTest, APictureRecordDrawsWhatTheWindowShows)
{
    test::writeBytes(path("写真.jpg"), test::jpegOf(test::halvesImage(1600, 1200)));
    // White background in the record: the picture is on black all the same.
    const QString line = QStringLiteral("6,\"P\",1,\"%1/\",\"写真.jpg\"").arg(dir.path());
    const CommandRun r = runCommand({"--record", line, "--size", "800x524", "-o", path("p.png")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QImage shown = QImage(path("p.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(800, 524));
    // 698 × 524 at left 51.
    EXPECT_EQ(shown.pixel(50, 262), qRgb(0, 0, 0));
    EXPECT_TRUE(test::near(shown.pixel(52, 262), Qt::red));
    EXPECT_TRUE(test::near(shown.pixel(747, 262), Qt::blue));
    EXPECT_EQ(shown.pixel(749, 262), qRgb(0, 0, 0));

    state::AppState state;
    state.SettingsBase = state::settingsBaseFor(dir.path(), "k");
    widgets::HeadlessHost host(800, 524);
    tools::TForm2 form(state, host);
    host.pages = &form.pages();
    ASSERT_TRUE(form.loadRecord(line));
    EXPECT_EQ(shown, host.canvas.image());
}

namespace {

using test::pagesOf;
using test::poppler;

// One line of `pdfimages -list` split into its columns.
QStringList imageColumns(const QString& line)
{
    return line.split(u' ', Qt::SkipEmptyParts);
}

} // namespace

TEST_F(RenderCliTest, AWorksheetHoldsTheDrawingAsOneLosslessImageAtItsExactSize)
{
    // A4 portrait, 0.2 mm a pixel, 10 mm margins: a 950 × 1385 drawing, 190 × 277 mm. At
    // 25.4 / 0.2 = 127 dpi one figure pixel is one rendered pixel, and the margin 50 of them.
    const CommandRun r = runCommand({"--kind", "0", "-o", path("w.pdf")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QString info = poppler("pdfinfo", {path("w.pdf")});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages: +1\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains("Page size:       595.276 x 841.89 pts (A4)")) << info.toStdString();
    const QStringList images = poppler("pdfimages", {"-list", path("w.pdf")}).split(u'\n');
    ASSERT_GE(images.size(), 3);
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi …
    const QStringList image = imageColumns(images[2]);
    EXPECT_EQ(image.mid(0, 10),
              (QStringList{"1", "0", "image", "950", "1385", "rgb", "3", "8", "image", "no"}));
    EXPECT_EQ(image.mid(12, 2), (QStringList{"127", "127"}));
    EXPECT_EQ(images.size(), 4) << "one image only"; // two header lines and a final newline

    // The page's drawing is the default graph paper drawn black on white, pixel for pixel:
    // the white lines of a fresh page are printed black.
    ASSERT_EQ(
        runCommand({"--kind", "0", "--white", "--size", "950x1385", "-o", path("w.png")}).code, 0);
    const std::vector<QImage> pages = pagesOf(path("w.pdf"), "127", path("w"));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].copy(50, 50, 950, 1385),
              QImage(path("w.png")).convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(pages[0].pixel(49, 500), qRgb(255, 255, 255)); // the margin is paper
}

TEST_F(RenderCliTest, ALessonIsOnePagePerPresetInTheOrderGivenOrTheLibrarys)
{
    // Two presets in red ink, which stays red on paper: a grid and a circle.
    auto redRecord = [](int kind, const char* name, bool white) {
        figures::FieldValues fields(*figures::figureTable()[std::size_t(kind)].fields, white);
        for (int f = 0; f < fields.count(); ++f) {
            if (fields.field(f).kind == figures::FieldKind::Color) {
                fields.setIndex(f, render::kRedIndex);
            }
        }
        return figures::recordLine(kind, QString::fromUtf8(name), white,
                                   figures::recordValues(fields));
    };
    QFile library(path("lesson.txt"));
    ASSERT_TRUE(library.open(QIODevice::WriteOnly));
    QStringEncoder sjis("Shift_JIS");
    library.write(
        sjis.encode(redRecord(1, "点", false) + "\r\n" + redRecord(3, "円", false) + "\r\n"));
    library.close();
    // B5 (JIS) landscape is 257 × 182 mm; with 7 mm margins and 0.25 mm a pixel the drawing
    // is 972 × 672 pixels, one pixel each at 25.4 / 0.25 = 101.6 dpi, the margin 28 of them.
    const QStringList sheet{"--paper",  "b5", "--landscape", "--mm-per-pixel", "0.25",
                            "--margin", "7"};
    auto onWhite = [&](int kind, const char* name) {
        const QString out = path(QString::fromUtf8(name) + ".png");
        EXPECT_EQ(
            runCommand({"--record", redRecord(kind, name, true), "--size", "972x672", "-o", out})
                .code,
            0);
        return QImage(out).convertToFormat(QImage::Format_RGB32);
    };
    const QImage grid = onWhite(1, "点");
    const QImage circle = onWhite(3, "円");
    ASSERT_NE(grid, circle);

    const CommandRun named = runCommand(QStringList{"--library", path("lesson.txt"), "--name", "円",
                                                    "--name", "点", "-o", path("l.pdf")} +
                                        sheet);
    ASSERT_EQ(named.code, 0) << named.err.toStdString();
    const QString info = poppler("pdfinfo", {path("l.pdf")});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages: +2\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains("728.504 x 515.906 pts")) << info.toStdString();
    std::vector<QImage> pages = pagesOf(path("l.pdf"), "101.6", path("l"));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].copy(28, 28, 972, 672), circle); // in the order given
    EXPECT_EQ(pages[1].copy(28, 28, 972, 672), grid);

    const CommandRun all = runCommand(
        QStringList{"--library", path("lesson.txt"), "--all", "-o", path("a.pdf")} + sheet);
    ASSERT_EQ(all.code, 0) << all.err.toStdString();
    pages = pagesOf(path("a.pdf"), "101.6", path("a"));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].copy(28, 28, 972, 672), grid); // in library order
    EXPECT_EQ(pages[1].copy(28, 28, 972, 672), circle);
}

TEST_F(RenderCliTest, AWorksheetThatCannotBeMadeIsRefusedAndNothingIsWritten)
{
    QFile library(path("lesson.txt"));
    ASSERT_TRUE(library.open(QIODevice::WriteOnly));
    library.write("1,\"A\",0\r\n6,\"Photo\",0,\"/nowhere/\",\"missing.jpg\"\r\n");
    library.close();
    const QString out = path("x.pdf");
    const struct
    {
        QStringList args;
        int code;
        const char* says;
    } cases[] = {
        {{"--kind", "0", "--size", "100x100", "-o", out}, 2, "--size"},
        {{"--kind", "0", "--mm-per-pixel", "0.04", "-o", out}, 2, "0.05〜2 mm"},
        {{"--kind", "0", "--mm-per-pixel", "2.5", "-o", out}, 2, "0.05〜2 mm"},
        {{"--kind", "0", "--mm-per-pixel", "x", "-o", out}, 2, "数で指定"},
        {{"--kind", "0", "--margin", "51", "-o", out}, 2, "0〜50 mm"},
        {{"--kind", "0", "--margin", "-1", "-o", out}, 2, "0〜50 mm"},
        {{"--kind", "0", "--paper", "A5", "-o", out}, 2, "用紙「A5」"},
        {{"--kind", "0", "-o", path("no/such/folder/x.pdf")}, 1, ""},
        {{"--library", path("lesson.txt"), "--all", "-o", out}, 1, "「Photo」"},
        {{"--library", path("lesson.txt"), "--name", "A", "--name", "A", "-o", path("x.png")},
         2,
         "PDF"},
    };
    for (const auto& c : cases) {
        const CommandRun r = runCommand(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(out)) << c.args.join(' ').toStdString();
        EXPECT_FALSE(QFile::exists(path("x.png")));
    }
    // The largest margin and scale that still leave a drawing are taken.
    EXPECT_EQ(runCommand({"--kind", "0", "--paper", "B5", "--mm-per-pixel", "2", "--margin", "50",
                          "-o", out})
                  .code,
              0);
}

TEST_F(RenderCliTest, CaptionsAndPicturesOnPaper)
{
    // A 1600 × 1200 photograph (red left half, blue right) fitted on white: in A4 portrait at
    // the defaults the window is 950 × 1385, the picture 950 × 712 from row 336.
    test::writeBytes(path("写真.jpg"), test::jpegOf(test::halvesImage(1600, 1200)));
    const QString line = QStringLiteral("6,\"写真\",0,\"%1/\",\"写真.jpg\"").arg(dir.path());
    const CommandRun r = runCommand({"--record", line, "--captions", "-o", path("p.pdf")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const std::vector<QImage> pages = pagesOf(path("p.pdf"), "127", path("p"));
    ASSERT_EQ(pages.size(), 1u);
    const QImage drawing = pages[0].copy(50, 50, 950, 1385);
    EXPECT_EQ(drawing.pixel(475, 335), qRgb(255, 255, 255));
    EXPECT_TRUE(test::near(drawing.pixel(200, 336 + 356), Qt::red));
    EXPECT_TRUE(test::near(drawing.pixel(750, 336 + 356), Qt::blue));
    EXPECT_EQ(drawing.pixel(475, 336 + 712), qRgb(255, 255, 255));
    // The caption is a picture of its own in the top margin: two images on the page, and
    // something dark above the drawing.
    const QStringList images = poppler("pdfimages", {"-list", path("p.pdf")}).split(u'\n');
    EXPECT_EQ(images.size(), 5); // two header lines, two images, a final newline
    int ink = 0;
    for (int y = 5; y < 45; ++y) {
        for (int x = 50; x < 400; ++x) {
            ink += qGray(pages[0].pixel(x, y)) < 128;
        }
    }
    EXPECT_GT(ink, 50);
}
