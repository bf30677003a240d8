// The common frame of a preset record line: figure number, quoted name, background, values.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

namespace koyomi::figures {

// A text that should be an integer and is not.
class EConvertError : public std::runtime_error
{
public:
    explicit EConvertError(const QString& text);
};

// The integer of a record item or control text; throws EConvertError otherwise.
int toInteger(const QString& text);

// "kind + 1", the quoted name and the background flag. A quote inside the name is doubled,
// so that the name reads back whole; names without quotes are written as they always were.
QString recordHead(int kind, const QString& name, bool whiteBackground);

// A record line: the head and every value after it, each preceded by a comma.
QString recordLine(int kind, const QString& name, bool whiteBackground, const QStringList& values);

struct Record
{
    // Figure kind: the figure number less one, 0..8 for known figures. Wide, so that any
    // number a line can hold has its kind.
    long long kind = 0;
    QString name;
    bool whiteBackground = false;
    QStringList values; // the items after the head
};

// Splits a record by the comma-text rules. No record when the figure number is missing or
// not an integer, or the name is missing.
std::optional<Record> parseRecord(const QString& line);
// The same, for the head only (`values` left empty): what a library needs to list and group
// its records, at a cost that does not grow with the values a line holds.
std::optional<Record> parseRecordHead(const QString& line);

} // namespace koyomi::figures
