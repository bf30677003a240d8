#include "state/LibraryFile.h"

#include "figures/Record.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace koyomi::state {

namespace {

std::nullopt_t fail(QString* error, const QString& reason)
{
    if (error) {
        *error = reason;
    }
    return std::nullopt;
}

// A line holding nothing but white space and its end.
bool blankLine(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

} // namespace

QString unreadLinesMessage(const LibraryContents& contents)
{
    if (contents.unreadLines() == 0) {
        return {};
    }
    return QStringLiteral("%1 行目から後の %2 行は読めませんでした")
        .arg(contents.firstRestLine)
        .arg(contents.unreadLines());
}

std::optional<LibraryContents> readLibraryFile(const QByteArray& path, LibraryRest rest,
                                               QString* error)
{
    // Opened without waiting, so that a pipe with no writer does not hold the program up
    // before it is seen to be no file.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return fail(error, QString::fromLocal8Bit(std::strerror(errno)));
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(error, QStringLiteral("普通のファイルではありません"));
    }
    if (info.st_size > kMaxLibraryBytes) {
        ::close(fd);
        return fail(
            error,
            QStringLiteral("ファイルが大きすぎます (%1 MB まで)").arg(kMaxLibraryBytes >> 20));
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(error, file.errorString());
    }
    return readLibrary(file, error, rest);
}

std::optional<LibraryContents> readLibrary(const QString& path, QString* error)
{
    return readLibraryFile(QFile::encodeName(path), LibraryRest::Kept, error);
}

std::optional<LibraryContents> readLibrary(QIODevice& in, QString* error, LibraryRest keep)
{
    // Line by line, each read once and in pieces: a line with no end in sight stops being
    // read as text as soon as it passes the limit. Shift-JIS never uses the byte of a line
    // end inside a character, so each line decodes on its own.
    LibraryContents contents;
    constexpr qint64 kPiece = 64 * 1024;
    QByteArray piece(kPiece + 1, Qt::Uninitialized);
    QByteArray bytes;
    // The next line's bytes into `bytes`, up to two past the limit; false when reading fails.
    auto readLine = [&] {
        bytes.clear();
        while (!bytes.endsWith('\n') && !in.atEnd() && bytes.size() <= kMaxLibraryLineBytes + 2) {
            const qint64 n = in.readLine(piece.data(), kPiece + 1);
            if (n <= 0) {
                return false;
            }
            bytes.append(piece.constData(), qsizetype(n));
        }
        return true;
    };
    for (qint64 number = 1; !in.atEnd(); ++number) {
        if (!readLine()) {
            return fail(error, QStringLiteral("%1 行目を読めません").arg(number));
        }
        const bool tooLong = bytes.size() > kMaxLibraryLineBytes + 2;
        QString line;
        if (!tooLong) {
            QByteArray text = bytes;
            if (text.endsWith('\n')) {
                text.chop(1);
            }
            if (text.endsWith('\r')) {
                text.chop(1);
            }
            QStringDecoder decode("Shift_JIS");
            line = decode(text);
            // A line that does not come back to the same bytes (bytes that are not
            // Shift-JIS) could not be written back as it was: it is not read as a record;
            // nor is one holding a stray line break. (What else libraryLineProblem asks,
            // the bytes coming back, was just seen.)
            QStringEncoder encode("Shift_JIS");
            if (decode.hasError() || encode(line) != text || line.contains(u'\r')) {
                line.clear();
            }
        }
        if (tooLong || !figures::parseRecordHead(line)) {
            contents.firstRestLine = number;
            contents.restTooLong = tooLong;
            if (keep == LibraryRest::Kept) {
                // From here on the file is kept as it is, every byte.
                contents.rest = bytes + in.readAll();
                contents.restLines =
                    contents.rest.count('\n') + (contents.rest.endsWith('\n') ? 0 : 1);
                contents.restBlank = blankLine(contents.rest);
                return contents;
            }
            // Only counted, a piece at a time; a line past the limit ends reading at once.
            qint64 ends = bytes.count('\n');
            bool endsLine = bytes.endsWith('\n');
            contents.restBlank = !tooLong && blankLine(bytes);
            while (!tooLong && !in.atEnd()) {
                const qint64 n = in.read(piece.data(), kPiece);
                if (n <= 0) {
                    return fail(error, QStringLiteral("%1 行目から後を読めません").arg(number));
                }
                const QByteArray read = QByteArray::fromRawData(piece.constData(), qsizetype(n));
                ends += read.count('\n');
                endsLine = read.endsWith('\n');
                contents.restBlank = contents.restBlank && blankLine(read);
            }
            contents.restLines = ends + (endsLine ? 0 : 1);
            return contents;
        }
        contents.records.append(line);
    }
    return contents;
}

namespace {

std::optional<LibraryContents> refuseLongLine(std::optional<LibraryContents> contents,
                                              QString* error)
{
    if (contents && contents->restTooLong) {
        return fail(error, QStringLiteral("%1 行目が長すぎます (%2 バイトまで)")
                               .arg(contents->firstRestLine)
                               .arg(kMaxLibraryLineBytes));
    }
    return contents;
}

} // namespace

std::optional<LibraryContents> readLibraryRecords(QIODevice& in, QString* error)
{
    return refuseLongLine(readLibrary(in, error, LibraryRest::Counted), error);
}

std::optional<LibraryContents> readLibraryRecordsFile(const QByteArray& path, QString* error)
{
    return refuseLongLine(readLibraryFile(path, LibraryRest::Counted, error), error);
}

std::optional<QString> libraryLineProblem(const QString& line)
{
    if (line.contains(u'\n') || line.contains(u'\r')) {
        return QStringLiteral("改行を含む名前や文字は、ライブラリに保存できません。");
    }
    // Shift-JIS must hold every character and give it back as it was.
    QStringEncoder encode("Shift_JIS");
    const QByteArray bytes = encode(line);
    QStringDecoder decode("Shift_JIS");
    const QString back = decode(bytes);
    if (encode.hasError() || decode.hasError() || back != line) {
        for (qsizetype i = 0; i < line.size(); ++i) {
            const qsizetype n = line[i].isHighSurrogate() && i + 1 < line.size() ? 2 : 1;
            const QString one = line.mid(i, n);
            QStringEncoder e("Shift_JIS");
            QStringDecoder d("Shift_JIS");
            const QByteArray b = e(one);
            if (e.hasError() || d(b) != one) {
                return QStringLiteral("「%1」はライブラリのファイルに書けない文字です。").arg(one);
            }
            i += n - 1;
        }
        return QStringLiteral("ライブラリのファイルに書けない文字があります。");
    }
    if (bytes.size() > kMaxLibraryLineBytes) {
        return QStringLiteral("設定が長すぎて、ライブラリに保存できません。");
    }
    return std::nullopt;
}

std::optional<QByteArray> libraryText(const QStringList& records, const QByteArray& rest,
                                      QString* error)
{
    QByteArray text;
    for (const QString& line : records) {
        if (const std::optional<QString> problem = libraryLineProblem(line)) {
            return fail(error, *problem);
        }
        QStringEncoder encode("Shift_JIS");
        text += encode(line);
        text += "\r\n";
    }
    return text + rest;
}

bool writeLibrary(const QString& path, const QStringList& records, const QByteArray& rest,
                  QString* error)
{
    const std::optional<QByteArray> text = libraryText(records, rest, error);
    if (!text) {
        return false;
    }
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        fail(error, QStringLiteral("フォルダ「%1」を作れません").arg(info.absolutePath()));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*text) != text->size() || !file.commit()) {
        fail(error, file.errorString());
        return false;
    }
    return true;
}

LibraryLocation libraryLocation(const QString& executableFolder, const QString& dataFolder)
{
    const QString beside = QDir(executableFolder).filePath(QString::fromLatin1(kLibraryFileName));
    const QFileInfo folder(executableFolder);
    const QFileInfo file(beside);
    if (folder.isDir() && folder.isWritable() && (!file.exists() || file.isWritable())) {
        return LibraryLocation{beside, beside};
    }
    const QString own = QDir(dataFolder).filePath(QString::fromLatin1(kLibraryFileName));
    if (!QFileInfo::exists(own) && file.exists()) {
        return LibraryLocation{beside, own};
    }
    return LibraryLocation{own, own};
}

} // namespace koyomi::state
