#include "cli/RenderCommand.h"

#include "figures/Figures.h"
#include "figures/Record.h"
#include "figures/Worksheet.h"
#include "render/JpegEncoder.h"
#include "render/Text.h"
#include "state/LibraryFile.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace koyomi::cli {

namespace {

constexpr int kMaxSide = 16384;

const char* const kUsage =
    "使い方: koyomiplan-render [--size WxH] [--white] (--kind K | --record LINE | --library "
    "FILE --name NAME) -o OUT\n"
    "        koyomiplan-render [--paper A4|A3|B4|B5|Letter] [--landscape] [--mm-per-pixel X] "
    "[--margin MM] [--captions] (--kind K | --record LINE | --library FILE (--name NAME ... | "
    "--all)) -o OUT.pdf\n"
    "        koyomiplan-render --list FILE";

// A failure to report: one line, exit code 1 (2 for a wrong command line).
struct Failure
{
    QString message;
    int code = 1;
};

struct Options
{
    int width = 1920;
    int height = 1080;
    bool white = false;
    std::optional<int> kind;
    std::optional<QString> record;
    std::optional<QByteArray> library; // file names: the system's bytes
    QStringList names;                 // presets of the library, in the order given
    bool all = false;                  // every preset of the library, in library order
    bool sizeGiven = false;
    // A worksheet (an output name ending in .pdf).
    figures::WorksheetLayout sheet;
    std::optional<QByteArray> list;
    QByteArray output;
    bool help = false;
};

// An argument or file name as it is shown in a message.
QString shown(const QByteArray& bytes)
{
    return render::messageExcerpt(QString::fromUtf8(bytes));
}

Options parse(const QByteArrayList& args)
{
    Options o;
    auto value = [&](qsizetype& i) {
        if (i + 1 >= args.size()) {
            throw Failure{QStringLiteral("%1 の値がありません").arg(shown(args[i])), 2};
        }
        return args[++i];
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QByteArray& a = args[i];
        if (a == "--size") {
            const QString v = QString::fromUtf8(value(i));
            const auto m = QRegularExpression(QStringLiteral("^(\\d{1,6})x(\\d{1,6})$")).match(v);
            const int w = m.hasMatch() ? m.captured(1).toInt() : 0;
            const int h = m.hasMatch() ? m.captured(2).toInt() : 0;
            if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) {
                throw Failure{QStringLiteral("大きさ「%1」は WxH (1〜%2) で指定してください")
                                  .arg(render::messageExcerpt(v))
                                  .arg(kMaxSide),
                              2};
            }
            o.width = w;
            o.height = h;
            o.sizeGiven = true;
        } else if (a == "--help") {
            o.help = true;
        } else if (a == "--white") {
            o.white = true;
        } else if (a == "--kind") {
            const QByteArray v = value(i);
            bool ok = false;
            const int k = v.toInt(&ok);
            if (!ok || k < 0 || k >= figures::kFigureCount) {
                throw Failure{
                    QStringLiteral("図形の種類「%1」は 0〜8 で指定してください").arg(shown(v)), 2};
            }
            o.kind = k;
        } else if (a == "--record") {
            o.record = QString::fromUtf8(value(i));
        } else if (a == "--library") {
            o.library = value(i);
        } else if (a == "--name") {
            o.names.append(QString::fromUtf8(value(i)));
        } else if (a == "--all") {
            o.all = true;
        } else if (a == "--paper") {
            const QByteArray v = value(i);
            o.sheet.paper = figures::paperNamed(QString::fromUtf8(v));
            if (!o.sheet.paper) {
                throw Failure{QStringLiteral("用紙「%1」は A4、A3、B4、B5、Letter のどれかにして"
                                             "ください")
                                  .arg(shown(v)),
                              2};
            }
        } else if (a == "--landscape") {
            o.sheet.landscape = true;
        } else if (a == "--captions") {
            o.sheet.captions = true;
        } else if (a == "--mm-per-pixel" || a == "--margin") {
            const QByteArray v = value(i);
            bool ok = false;
            const double mm = v.toDouble(&ok);
            if (!ok) {
                throw Failure{
                    QStringLiteral("%1 の値「%2」は数で指定してください").arg(shown(a), shown(v)),
                    2};
            }
            (a == "--margin" ? o.sheet.marginMm : o.sheet.mmPerPixel) = mm;
        } else if (a == "--list") {
            o.list = value(i);
        } else if (a == "-o") {
            o.output = value(i);
        } else {
            throw Failure{
                QStringLiteral("不明なオプション「%1」(--help で使い方を表示)").arg(shown(a)), 2};
        }
    }
    if (o.list || o.help) {
        return o;
    }
    const int sources =
        int(o.kind.has_value()) + int(o.record.has_value()) + int(o.library.has_value());
    const bool presets = !o.names.isEmpty() || o.all;
    if (sources != 1 || o.library.has_value() != presets || (o.all && !o.names.isEmpty())) {
        throw Failure{QStringLiteral("--kind、--record、--library と --name (または --all) の"
                                     "どれか一つで図形を指定してください"),
                      2};
    }
    if (o.output.isEmpty()) {
        throw Failure{QStringLiteral("出力ファイルを -o で指定してください"), 2};
    }
    return o;
}

// The name's extension in lower case, "" when it has none.
QByteArray suffixOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const qsizetype dot = path.lastIndexOf('.');
    return dot > slash ? path.mid(dot + 1).toLower() : QByteArray();
}

state::LibraryContents libraryRecords(const QByteArray& path)
{
    QString error;
    std::optional<state::LibraryContents> contents = state::readLibraryRecordsFile(path, &error);
    if (!contents) {
        throw Failure{QStringLiteral("ライブラリ「%1」を読めません: %2").arg(shown(path), error)};
    }
    return std::move(*contents);
}

// What a library left unread, as one line naming the file; empty when nothing worth telling.
QString unreadOf(const QByteArray& path, const state::LibraryContents& contents)
{
    const QString unread = state::unreadLinesMessage(contents);
    return unread.isEmpty() ? unread
                            : QStringLiteral("ライブラリ「%1」の %2").arg(shown(path), unread);
}

QByteArray encode(const QImage& image, const QByteArray& suffix)
{
    if (suffix == "jpg" || suffix == "jpeg") {
        return render::JpegEncoder(90).encode(image);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, suffix == "png" ? "PNG" : "PPM")) {
        throw Failure{
            QStringLiteral("画像を %1 にできませんでした").arg(QString::fromLatin1(suffix))};
    }
    return bytes;
}

// Writes the file under exactly the given name, or not at all: the bytes go to a temporary
// file beside it, which then replaces the name in one step.
void writeWhole(const QByteArray& path, const QByteArray& bytes)
{
    auto failure = [&](int code) {
        return Failure{QStringLiteral("「%1」に書き込めません: %2")
                           .arg(shown(path), QString::fromLocal8Bit(std::strerror(code)))};
    };
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder =
        slash < 0 ? QByteArray(".") : path.left(std::max<qsizetype>(slash, 1));
    QByteArray temporary = folder + "/.koyomiplan-render-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        throw failure(errno);
    }
    // The new file gets the mode a newly created file would have, or the one it replaces.
    struct stat existing = {};
    mode_t mode = 0;
    if (::stat(path.constData(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    qsizetype done = 0;
    int code = 0;
    while (code == 0 && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno != EINTR) {
            code = errno;
        }
        done += std::max<ssize_t>(n, 0);
    }
    if (code == 0 && (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)) {
        code = errno;
    }
    if (::close(fd) != 0 && code == 0) {
        code = errno;
    }
    if (code == 0 && ::rename(temporary.constData(), path.constData()) != 0) {
        code = errno;
    }
    if (code != 0) {
        ::unlink(temporary.constData());
        throw failure(code);
    }
}

// What one figure shows: a kind's defaults or a record, on the given background.
struct Source
{
    int kind = 0;
    std::optional<figures::Record> record;
    bool white = false;
};

// The figure drawn in a window of `size`, on the screen's background or on paper.
QImage drawn(const Source& source, QSize size, bool paper)
{
    if (figures::showsAFile(source.kind) && !source.record) {
        throw Failure{QStringLiteral("画像は --record か --library で指定してください")};
    }
    try {
        return figures::drawFigureImage(source.kind, source.record ? &*source.record : nullptr,
                                        size, source.white, paper);
    } catch (const figures::FigureError& e) {
        throw Failure{e.message};
    }
}

// A record line's figure, or the line refused.
Source sourceOf(const QString& line)
{
    Source source;
    source.record = figures::parseRecord(line);
    if (!source.record || !figures::figureOf(source.record->kind)) {
        throw Failure{
            QStringLiteral("レコードとして読めません: %1").arg(render::messageExcerpt(line))};
    }
    source.kind = int(source.record->kind);
    source.white = source.record->whiteBackground;
    return source;
}

// The presets the options name, in their order: the named ones as given, or every one.
std::vector<QString> presetLines(const Options& o)
{
    const state::LibraryContents library = libraryRecords(*o.library);
    std::vector<QString> lines;
    if (o.all) {
        lines.assign(library.records.begin(), library.records.end());
        if (lines.empty()) {
            const QString unread = unreadOf(*o.library, library);
            throw Failure{
                unread.isEmpty()
                    ? QStringLiteral("ライブラリ「%1」に設定がありません").arg(shown(*o.library))
                    : unread};
        }
        return lines;
    }
    for (const QString& name : o.names) {
        const auto found =
            std::find_if(library.records.begin(), library.records.end(), [&](const QString& l) {
                return figures::parseRecordHead(l)->name == name;
            });
        if (found == library.records.end()) {
            // The name may be on a line that could not be read: that is what is said then.
            const QString unread = unreadOf(*o.library, library);
            throw Failure{unread.isEmpty()
                              ? QStringLiteral("ライブラリ「%1」に「%2」はありません")
                                    .arg(shown(*o.library), render::messageExcerpt(name))
                              : QStringLiteral("%1 (「%2」はその中かもしれません)")
                                    .arg(unread, render::messageExcerpt(name))};
        }
        lines.push_back(*found);
    }
    return lines;
}

void render(const Options& o)
{
    const QByteArray suffix = suffixOf(o.output);
    const bool pdf = suffix == "pdf";
    if (!pdf && suffix != "png" && suffix != "jpg" && suffix != "jpeg" && suffix != "ppm") {
        throw Failure{
            QStringLiteral(
                "出力ファイル「%1」の拡張子は .png .jpg .jpeg .ppm .pdf のどれかにしてください")
                .arg(shown(o.output)),
            2};
    }
    if (pdf && o.sizeGiven) {
        throw Failure{QStringLiteral("PDF の大きさは用紙・余白・1 ピクセルの長さで決まります。"
                                     "--size は使えません"),
                      2};
    }
    if (!pdf && (o.names.size() > 1 || o.all)) {
        throw Failure{QStringLiteral("複数の設定を書き出せるのは PDF だけです"), 2};
    }
    std::vector<Source> sources;
    if (o.library) {
        for (const QString& line : presetLines(o)) {
            sources.push_back(sourceOf(line));
        }
    } else if (o.record) {
        sources.push_back(sourceOf(*o.record));
    } else {
        sources.push_back(Source{*o.kind, std::nullopt, o.white});
    }
    if (!pdf) {
        writeWhole(o.output,
                   encode(drawn(sources.front(), QSize(o.width, o.height), false), suffix));
        return;
    }
    const QString problem = figures::worksheetProblem(o.sheet);
    if (!problem.isEmpty()) {
        throw Failure{problem, 2};
    }
    // Every page is drawn before anything is written: a preset that cannot be drawn stops the
    // worksheet, named, and no part of it is written. Each drawing is compressed into the PDF
    // as it is made.
    figures::WorksheetPdf sheet(o.sheet);
    for (const Source& source : sources) {
        const QString name = source.record
                                 ? source.record->name
                                 : QString::fromUtf8(figures::figureOf(source.kind)->caption);
        try {
            sheet.addPage({drawn(source, figures::worksheetPixels(o.sheet), true), name});
        } catch (const Failure& f) {
            throw Failure{QStringLiteral("「%1」: %2").arg(render::messageExcerpt(name), f.message),
                          f.code};
        }
    }
    writeWhole(o.output, sheet.finish());
}

} // namespace

int runRenderCommand(const QByteArrayList& args, QTextStream& out, QTextStream& err)
{
    try {
        const Options o = parse(args);
        if (o.help) {
            out << QString::fromUtf8(kUsage) << '\n';
            return 0;
        }
        if (o.list) {
            const state::LibraryContents library = libraryRecords(*o.list);
            for (const QString& line : library.records) {
                const std::optional<figures::Record> r = figures::parseRecordHead(line);
                out << r->kind << '\t' << r->name << '\n';
            }
            // What could not be read is said, and a library of which nothing could be read
            // is a failure, not an empty list.
            const QString unread = unreadOf(*o.list, library);
            if (!unread.isEmpty()) {
                err << "koyomiplan-render: " << unread << '\n';
            }
            return !unread.isEmpty() && library.records.isEmpty() ? 1 : 0;
        }
        render(o);
        return 0;
    } catch (const Failure& f) {
        err << "koyomiplan-render: " << f.message << '\n';
        return f.code;
    } catch (const std::exception& e) {
        err << "koyomiplan-render: " << render::messageExcerpt(QString::fromUtf8(e.what())) << '\n';
        return 1;
    }
}

} // namespace koyomi::cli
