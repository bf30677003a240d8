// Text helpers shared by figures and preset records: comma-text splitting and label length.
#pragma once

#include <QString>
#include <QStringList>

namespace koyomi::render {

// Splits a line into items: characters 1..32 are blanks, commas and blanks both separate,
// a double-quoted item keeps blanks and commas ("" inside stands for one quote), two commas
// give an empty item and one trailing comma gives none.
QStringList splitCommaText(const QString& text);

// Quotes an item when splitting would not give it back whole; otherwise returns it as is.
QString quoteCommaItem(const QString& item);

// A text as one line of a message: line breaks and other control characters shown as
// escapes ("\n", "\x1B"), and a text longer than `maxChars` cut with "…", so that echoing
// what was typed or read never breaks a message over lines or floods it.
QString messageExcerpt(const QString& text, qsizetype maxChars = 120);

// Length in the double-byte character set: half-width characters (ASCII and half-width
// katakana) count 1, every other character 2.
int dbcsLength(const QString& text);

} // namespace koyomi::render
