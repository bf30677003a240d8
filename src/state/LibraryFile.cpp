#include "state/LibraryFile.h"

#include "figures/Record.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace koyomi::state {

namespace {

// A library holds a few hundred short lines; a file far larger is not one.
constexpr qint64 kMaxLibraryBytes = 64LL << 20;

std::nullopt_t fail(QString* error, const QString& reason)
{
    if (error) {
        *error = reason;
    }
    return std::nullopt;
}

} // namespace

std::optional<LibraryContents> readLibrary(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(error, file.errorString());
    }
    if (file.size() > kMaxLibraryBytes) {
        return fail(error, QStringLiteral("ファイルが大きすぎます"));
    }
    return readLibrary(file, error);
}

std::optional<LibraryContents> readLibrary(QIODevice& in, QString* error)
{
    // Line by line, each read once and in pieces: a line with no end in sight stops being
    // read as text as soon as it passes the limit. Shift-JIS never uses the byte of a line
    // end inside a character, so each line decodes on its own.
    LibraryContents contents;
    constexpr qint64 kPiece = 64 * 1024;
    QByteArray piece(kPiece + 1, Qt::Uninitialized);
    QByteArray bytes;
    for (qint64 number = 1; !in.atEnd(); ++number) {
        bytes.clear();
        while (!bytes.endsWith('\n') && !in.atEnd() && bytes.size() <= kMaxLibraryLineBytes + 2) {
            const qint64 n = in.readLine(piece.data(), kPiece + 1);
            if (n <= 0) {
                return fail(error, QStringLiteral("%1 行目を読めません").arg(number));
            }
            bytes.append(piece.constData(), qsizetype(n));
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
            // Shift-JIS) could not be written back as it was: it is not read as a record.
            QStringEncoder encode("Shift_JIS");
            if (decode.hasError() || encode(line) != text || libraryLineProblem(line)) {
                line.clear();
            }
        }
        if (tooLong || !figures::parseRecord(line)) {
            // From here on the file is kept as it is, every byte.
            contents.firstRestLine = number;
            contents.restTooLong = tooLong;
            contents.rest = bytes + in.readAll();
            contents.restLines = contents.rest.count('\n') + (contents.rest.endsWith('\n') ? 0 : 1);
            return contents;
        }
        contents.records.append(line);
    }
    return contents;
}

std::optional<QStringList> readLibraryRecords(QIODevice& in, QString* error)
{
    std::optional<LibraryContents> contents = readLibrary(in, error);
    if (!contents) {
        return std::nullopt;
    }
    if (contents->restTooLong) {
        return fail(error, QStringLiteral("%1 行目が長すぎます (%2 バイトまで)")
                               .arg(contents->firstRestLine)
                               .arg(kMaxLibraryLineBytes));
    }
    return std::move(contents->records);
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
