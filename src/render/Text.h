// Text helpers shared by figures and preset records: comma-text splitting and label length.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace koyomi::render {

// Splits a line into items: characters 1..32 are blanks, commas and blanks both separate,
// a double-quoted item keeps blanks and commas ("" inside stands for one quote), two commas
// give an empty item and one trailing comma gives none.
QStringList splitCommaText(const QString& text);

// Where one item stands in a comma text, for texts too long to copy item by item: a quoted
// item's span is inside its quotes, with any doubled quotes still doubled.
struct CommaSpan
{
    qsizetype begin = 0;
    qsizetype size = 0;
    bool quoted = false;
    bool ascii = true; // every character of the span below 0x80
};

// Calls visit(span) for the items of a comma text in order, by the rules of splitCommaText,
// until visit returns false.
template <typename Visit> void forEachCommaSpan(QStringView text, Visit&& visit);

// The item a span of `text` stands for.
QString commaItem(QStringView text, const CommaSpan& span);

// Quotes an item when splitting would not give it back whole; otherwise returns it as is.
QString quoteCommaItem(const QString& item);

// A text as one line of a message: line breaks and other control characters shown as
// escapes ("\n", "\x1B"), and a text longer than `maxChars` cut with "…", so that echoing
// what was typed or read never breaks a message over lines or floods it.
QString messageExcerpt(const QString& text, qsizetype maxChars = 120);

// Length in the double-byte character set: half-width characters (ASCII and half-width
// katakana) count 1, every other character 2.
int dbcsLength(QStringView text);

// Blanks around items: the control characters and space.
constexpr bool isCommaBlank(char16_t c)
{
    return c >= 1 && c <= 32;
}

template <typename Visit> void forEachCommaSpan(QStringView text, Visit&& visit)
{
    // Read through a plain pointer: a label text can hold millions of characters.
    const char16_t* const s = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && isCommaBlank(s[i])) {
            ++i;
        }
    };
    skipBlanks();
    while (i < n) {
        CommaSpan span;
        if (s[i] == u'"') {
            span.quoted = true;
            span.begin = ++i;
            char16_t any = 0;
            while (i < n) {
                if (s[i] == u'"') {
                    if (i + 1 < n && s[i + 1] == u'"') {
                        i += 2;
                        continue;
                    }
                    break;
                }
                any |= s[i];
                ++i;
            }
            span.size = i - span.begin;
            span.ascii = any < 0x80;
            if (i < n) {
                ++i; // the closing quote
            }
        } else {
            span.begin = i;
            char16_t any = 0;
            while (i < n && !isCommaBlank(s[i]) && s[i] != u',') {
                any |= s[i];
                ++i;
            }
            span.size = i - span.begin;
            span.ascii = any < 0x80;
        }
        if (!visit(span)) {
            return;
        }
        skipBlanks();
        if (i < n && s[i] == u',') {
            ++i;
            skipBlanks();
        }
    }
}

} // namespace koyomi::render
