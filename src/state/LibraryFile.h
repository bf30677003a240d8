// Reading the preset library file: Shift-JIS text, one record per line.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QIODevice;

namespace koyomi::state {

// A library line is a few hundred bytes; one longer than this is not a record of ours, and
// the file holding it is refused rather than read whole into memory.
inline constexpr qint64 kMaxLibraryLineBytes = 1 << 20;

// The record lines of a library file, up to (not including) the first line that is not a
// record: one without an integer figure number or without a name. No value when the file
// cannot be read, or holds a line longer than kMaxLibraryLineBytes; `error` then says why.
std::optional<QStringList> readLibraryRecords(const QString& path, QString* error = nullptr);
std::optional<QStringList> readLibraryRecords(QIODevice& in, QString* error = nullptr);

} // namespace koyomi::state
