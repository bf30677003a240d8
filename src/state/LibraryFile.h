// Reading the preset library file: Shift-JIS text, one record per line.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace koyomi::state {

// The record lines of a library file, up to (not including) the first line that is not a
// record: one without an integer figure number or without a name. No value when the file
// cannot be read; `error` then says why.
std::optional<QStringList> readLibraryRecords(const QString& path, QString* error = nullptr);

} // namespace koyomi::state
