// The preset library file: Shift-JIS text, one record per line, each ending CR LF.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class QIODevice;

namespace koyomi::state {

// A library line is a few hundred bytes; one longer than this is not a record of ours, and
// is never read into memory as text.
inline constexpr qint64 kMaxLibraryLineBytes = 1 << 20;

// A library holds a few hundred short lines; a file far larger is not one.
inline constexpr qint64 kMaxLibraryBytes = 64LL << 20;

// The file's name, wherever it lives.
inline constexpr char kLibraryFileName[] = "koyomiplan.txt";

// What a library file holds: the record lines up to the first line that is not a record
// (one without an integer figure number or without a name, a blank one, one with bytes
// that are not Shift-JIS, or one longer than kMaxLibraryLineBytes), and from that line on the
// file's bytes as they are, so that writing the library back loses none of them.
struct LibraryContents
{
    QStringList records;
    QByteArray rest;
    qint64 restLines = 0;     // lines in `rest`
    qint64 firstRestLine = 0; // the line number (from 1) where `rest` starts; 0 when empty
    bool restTooLong = false; // that line is longer than kMaxLibraryLineBytes
    bool restBlank = false;   // `rest` is only blank lines (an editor's last empty line)

    // The lines left unread that are worth telling the teacher of: blank lines after the
    // last record are not.
    qint64 unreadLines() const { return restBlank ? 0 : restLines; }
};

// "N 行目から後の M 行は読めませんでした": what was left unread, in one line; empty when nothing
// worth telling was.
QString unreadLinesMessage(const LibraryContents& contents);

// What reading keeps of the lines from the first that is not a record.
enum class LibraryRest
{
    Kept,    // their bytes, to be written back (the Draw tool)
    Counted, // only how many there are; a line over the limit ends reading at once (the
             // render command, which never writes the file)
};

// Reads the file at `path` (the system's bytes for its name). Only a regular file of at most
// kMaxLibraryBytes is read: a pipe or a device never ends, and a file far larger is not a
// library. No value when the file cannot be read; `error` then says why.
std::optional<LibraryContents> readLibraryFile(const QByteArray& path, LibraryRest rest,
                                               QString* error = nullptr);
std::optional<LibraryContents> readLibrary(const QString& path, QString* error = nullptr);
std::optional<LibraryContents> readLibrary(QIODevice& in, QString* error = nullptr,
                                           LibraryRest rest = LibraryRest::Kept);

// The records and how many lines were left unread, as the render command reads them: a line
// longer than kMaxLibraryLineBytes refuses the whole file.
std::optional<LibraryContents> readLibraryRecords(QIODevice& in, QString* error = nullptr);
std::optional<LibraryContents> readLibraryRecordsFile(const QByteArray& path,
                                                      QString* error = nullptr);

// Why a record line cannot be kept in the file, or nothing when it can: a line break would
// cut it in two, and the file holds only what Shift-JIS can.
std::optional<QString> libraryLineProblem(const QString& line);

// The file's bytes: every record (each checked with libraryLineProblem) with CR LF, then
// `rest` as it was. No value, and `error` says why, when a record cannot be held.
std::optional<QByteArray> libraryText(const QStringList& records, const QByteArray& rest,
                                      QString* error = nullptr);
// The same, written through a save file: a failed write leaves the old file whole and says
// why.
bool writeLibrary(const QString& path, const QStringList& records, const QByteArray& rest,
                  QString* error = nullptr);

// Where the library is read from and written to. Beside the executable, as it always was,
// while that folder can be written; otherwise (an installed program) in the user's data
// folder, read from beside the executable the first time, when only that one exists.
struct LibraryLocation
{
    QString readPath;
    QString writePath;
};
LibraryLocation libraryLocation(const QString& executableFolder, const QString& dataFolder);

} // namespace koyomi::state
