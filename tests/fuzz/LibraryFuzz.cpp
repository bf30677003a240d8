// Reading a library file: any bytes give records or a refusal, and every record read parses.
#include "FuzzSupport.h"
#include "figures/Record.h"
#include "state/LibraryFile.h"

#include <QBuffer>

using namespace koyomi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes = fuzz::bytesOf(data, size);
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    QString error;
    const std::optional<QStringList> records = state::readLibraryRecords(in, &error);
    fuzz::check(records.has_value() || !error.isEmpty(), "a refusal says why");
    if (records) {
        fuzz::check(records->size() <= bytes.count('\n') + 1, "no more records than lines");
        for (const QString& line : *records) {
            fuzz::check(figures::parseRecord(line).has_value(), "every record read parses");
        }
    }
    return 0;
}
