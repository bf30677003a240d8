#include "state/LibraryFile.h"

#include "figures/Record.h"

#include <QFile>
#include <QStringDecoder>

namespace koyomi::state {

namespace {

// A library holds a few hundred short lines; a file far larger is not one.
constexpr qint64 kMaxLibraryBytes = 64LL << 20;

} // namespace

std::optional<QStringList> readLibraryRecords(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = file.errorString();
        }
        return std::nullopt;
    }
    if (file.size() > kMaxLibraryBytes) {
        if (error) {
            *error = QStringLiteral("ファイルが大きすぎます");
        }
        return std::nullopt;
    }
    QStringDecoder decode("Shift_JIS");
    const QString text = decode(file.readAll());
    QStringList records;
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        if (!figures::parseRecord(line)) {
            break;
        }
        records.append(line);
    }
    return records;
}

} // namespace koyomi::state
