#include "render/Text.h"

namespace koyomi::render {

QString commaItem(QStringView text, const CommaSpan& span)
{
    QString item = text.sliced(span.begin, span.size).toString();
    if (span.quoted) {
        item.replace(QStringLiteral("\"\""), QStringLiteral("\""));
    }
    return item;
}

QStringList splitCommaText(const QString& text)
{
    QStringList items;
    forEachCommaSpan(text, [&](const CommaSpan& span) {
        items.append(commaItem(text, span));
        return true;
    });
    return items;
}

QString quoteCommaItem(const QString& item)
{
    bool plain = !item.startsWith(u'"');
    for (QChar c : item) {
        if (isCommaBlank(c.unicode()) || c == u',' || c.unicode() == 0) {
            plain = false;
            break;
        }
    }
    if (plain) {
        return item;
    }
    QString quoted = item;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString messageExcerpt(const QString& text, qsizetype maxChars)
{
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (shown.size() >= maxChars) {
            shown += u'…';
            break;
        }
        const char16_t c = text[i].unicode();
        if (c == u'\n') {
            shown += QStringLiteral("\\n");
        } else if (c == u'\r') {
            shown += QStringLiteral("\\r");
        } else if (c == u'\t') {
            shown += QStringLiteral("\\t");
        } else if (c < 0x20 || c == 0x7F || c == 0x2028 || c == 0x2029 || c == 0x85) {
            shown += QStringLiteral("\\x") +
                     QString::number(int(c), 16).toUpper().rightJustified(2, u'0');
        } else {
            shown += text[i];
        }
    }
    return shown;
}

int dbcsLength(QStringView text)
{
    // Unit by unit: a surrogate pair is one character (never half-width), as is a surrogate
    // standing alone.
    const char16_t* const s = text.utf16();
    const qsizetype n = text.size();
    // Labels are mostly plain ASCII, a unit each; a million of them are measured at a time.
    qsizetype i = 0;
    while (i < n && s[i] < 0x80) {
        ++i;
    }
    int length = int(i);
    for (; i < n; ++i) {
        const char16_t c = s[i];
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            ++i;
        }
        const bool halfWidth = c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
        length += halfWidth ? 1 : 2;
    }
    return length;
}

} // namespace koyomi::render
