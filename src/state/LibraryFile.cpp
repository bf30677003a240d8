#include "state/LibraryFile.h"

#include "figures/Record.h"

#include <QFile>
#include <QStringDecoder>

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

std::optional<QStringList> readLibraryRecords(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(error, file.errorString());
    }
    if (file.size() > kMaxLibraryBytes) {
        return fail(error, QStringLiteral("ファイルが大きすぎます"));
    }
    return readLibraryRecords(file, error);
}

std::optional<QStringList> readLibraryRecords(QIODevice& in, QString* error)
{
    // Line by line, each read once and at most kMaxLibraryLineBytes long: a line with no end
    // in sight is refused as soon as it passes the limit. Shift-JIS never uses the byte of a
    // line end inside a character, so each line decodes on its own.
    QStringList records;
    constexpr qint64 kPiece = 64 * 1024;
    QByteArray piece(kPiece + 1, Qt::Uninitialized);
    QByteArray bytes;
    for (qint64 number = 1; !in.atEnd(); ++number) {
        // A line is read in pieces, so that it costs what it holds.
        bytes.clear();
        while (!bytes.endsWith('\n') && !in.atEnd()) {
            const qint64 n = in.readLine(piece.data(), kPiece + 1);
            if (n <= 0) {
                return fail(error, QStringLiteral("%1 行目を読めません").arg(number));
            }
            bytes.append(piece.constData(), qsizetype(n));
            if (bytes.size() > kMaxLibraryLineBytes + 2) {
                break;
            }
        }
        if (bytes.size() > kMaxLibraryLineBytes + 2) {
            return fail(error, QStringLiteral("%1 行目が長すぎます (%2 バイトまで)")
                                   .arg(number)
                                   .arg(kMaxLibraryLineBytes));
        }
        if (bytes.endsWith('\n')) {
            bytes.chop(1);
        }
        if (bytes.endsWith('\r')) {
            bytes.chop(1);
        }
        QStringDecoder decode("Shift_JIS");
        const QString line = decode(bytes);
        if (!figures::parseRecord(line)) {
            break;
        }
        records.append(line);
    }
    return records;
}

} // namespace koyomi::state
