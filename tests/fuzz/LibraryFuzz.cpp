// Reading a library file: any bytes give records or a refusal, every record read parses, and
// writing back what was read and reading it again gives the same records and keeps the
// unread rest byte for byte.
#include "FuzzSupport.h"
#include "figures/Record.h"
#include "state/LibraryFile.h"

#include <QBuffer>

#include <algorithm>

using namespace koyomi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes = fuzz::bytesOf(data, size);
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    QString error;
    const std::optional<state::LibraryContents> records = state::readLibraryRecords(in, &error);
    fuzz::check(records.has_value() || !error.isEmpty(), "a refusal says why");
    if (records) {
        fuzz::check(records->records.size() <= bytes.count('\n') + 1, "no more records than lines");
        for (const QString& line : records->records) {
            fuzz::check(figures::parseRecord(line).has_value(), "every record read parses");
        }
        fuzz::check(records->rest.isEmpty(), "the command keeps no unread bytes");
    }
    QBuffer whole(&bytes);
    whole.open(QIODevice::ReadOnly);
    const std::optional<state::LibraryContents> contents = state::readLibrary(whole, &error);
    if (!contents) {
        return 0;
    }
    // Both ways of reading agree on what was read and on what was left unread.
    if (records) {
        fuzz::check(records->records == contents->records &&
                        records->firstRestLine == contents->firstRestLine &&
                        records->restLines == contents->restLines &&
                        records->unreadLines() == contents->unreadLines(),
                    "counting the unread lines agrees with keeping them");
    }
    const bool blank = std::all_of(contents->rest.begin(), contents->rest.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n';
    });
    fuzz::check((contents->unreadLines() == 0) == blank, "only blank lines go unmentioned");
    std::optional<QByteArray> text = state::libraryText(contents->records, contents->rest);
    fuzz::check(text.has_value(), "whatever was read can be written back");
    fuzz::check(text->endsWith(contents->rest), "the unread rest is kept as it was");
    QBuffer again(&*text);
    again.open(QIODevice::ReadOnly);
    const std::optional<state::LibraryContents> back = state::readLibrary(again, &error);
    fuzz::check(back.has_value() && back->records == contents->records &&
                    back->rest == contents->rest,
                "written back, the library reads the same");
    return 0;
}
