// Rewriting the settings file: our keys read back as written, a second rewrite changes
// nothing, and every line that is not one of our keys comes back byte for byte.
#include "FuzzSupport.h"
#include "state/SettingsFile.h"

#include <QBuffer>
#include <QList>

using namespace koyomi;

namespace {

const QString kSection = QStringLiteral("/home/t/.config/koyomiplan.ini");

// The lines of a text with their end bytes; the last one may have none.
QList<QByteArray> linesOf(const QByteArray& text)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype nl = text.indexOf('\n', start);
        const qsizetype end = nl < 0 ? text.size() : nl + 1;
        lines.append(text.mid(start, end - start));
        start = end;
    }
    return lines;
}

QString trimmedText(const QByteArray& line)
{
    return QString::fromUtf8(line).trimmed();
}

// The lines that are not ours: everything except the lines of our first section whose key
// is one of `keys`, and (when `added`) the section header that the rewrite added at the end.
// The last line's end bytes are dropped: a rewrite may end a last line that had none.
QList<QByteArray> foreignLines(const QByteArray& text, const QStringList& keys)
{
    QList<QByteArray> kept;
    int sectionsSeen = 0;
    bool inOurs = false;
    const QList<QByteArray> lines = linesOf(text);
    for (const QByteArray& line : lines) {
        const QString t = trimmedText(line);
        if (t.startsWith(u'[')) {
            const bool ours = t.endsWith(u']') &&
                              t.mid(1, t.size() - 2).compare(kSection, Qt::CaseInsensitive) == 0;
            inOurs = ours && sectionsSeen++ == 0;
        } else if (inOurs && line.size() <= 64 * 1024) {
            const qsizetype eq = t.indexOf(u'=');
            const QString key = eq > 0 ? t.left(eq).trimmed() : QString();
            if (!key.isEmpty() && keys.contains(key, Qt::CaseInsensitive)) {
                continue;
            }
        }
        kept.append(line);
    }
    for (QByteArray& line : kept) {
        if (line.endsWith('\n')) {
            line.chop(line.endsWith("\r\n") ? 2 : 1);
        }
    }
    // Blank lines may move to after the lines added to our section.
    kept.removeIf([](const QByteArray& line) { return trimmedText(line).isEmpty(); });
    return kept;
}

QByteArray rewrite(QByteArray& text, std::span<const state::Setting> settings)
{
    QBuffer in(&text);
    in.open(QIODevice::ReadOnly);
    QByteArray result;
    QBuffer out(&result);
    out.open(QIODevice::WriteOnly);
    fuzz::check(state::rewriteSettings(&in, out, kSection, settings), "an in-memory rewrite works");
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray input = fuzz::bytesOf(data, size);
    const state::Setting settings[] = {{QStringLiteral("BWflag"), 1},
                                       {QStringLiteral("Drawtop"), -2147483647 - 1},
                                       {QStringLiteral("Drawleft"), 2147483647}};
    QByteArray once = rewrite(input, settings);
    for (const state::Setting& s : settings) {
        QBuffer read(&once);
        read.open(QIODevice::ReadOnly);
        fuzz::check(state::findSetting(read, kSection, s.key) == s.value,
                    "every key reads back as written");
    }
    QByteArray copy = once;
    fuzz::check(rewrite(copy, settings) == once, "a second rewrite changes nothing");

    const QStringList keys = {QStringLiteral("BWflag"), QStringLiteral("Drawtop"),
                              QStringLiteral("Drawleft")};
    QList<QByteArray> before = foreignLines(input, keys);
    QList<QByteArray> after = foreignLines(once, keys);
    // The section header the rewrite adds when the text has none of ours.
    if (after.size() == before.size() + 1 &&
        trimmedText(after.back()).compare(u'[' + kSection + u']', Qt::CaseInsensitive) == 0) {
        after.removeLast();
    }
    fuzz::check(before == after, "lines that are not ours come back byte for byte");
    return 0;
}
