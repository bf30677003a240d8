#include "render/Text.h"

namespace koyomi::render {

namespace {

bool isBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

} // namespace

QStringList splitCommaText(const QString& text)
{
    QStringList items;
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i])) {
            ++i;
        }
    };
    skipBlanks();
    while (i < n) {
        QString item;
        if (text[i] == u'"') {
            ++i;
            while (i < n) {
                if (text[i] == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        item += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            const qsizetype begin = i;
            while (i < n && !isBlank(text[i]) && text[i] != u',') {
                ++i;
            }
            item = text.mid(begin, i - begin);
        }
        items.append(item);
        skipBlanks();
        if (i < n && text[i] == u',') {
            ++i;
            skipBlanks();
        }
    }
    return items;
}

QString quoteCommaItem(const QString& item)
{
    bool plain = !item.startsWith(u'"');
    for (QChar c : item) {
        if (isBlank(c) || c == u',' || c.unicode() == 0) {
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

int dbcsLength(const QString& text)
{
    int length = 0;
    for (const char32_t c : text.toUcs4()) {
        const bool halfWidth = c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
        length += halfWidth ? 1 : 2;
    }
    return length;
}

} // namespace koyomi::render
