#include "figures/Record.h"

#include "render/Text.h"

namespace koyomi::figures {

EConvertError::EConvertError(const QString& text)
    : std::runtime_error(QStringLiteral("'%1' は整数ではありません").arg(text).toStdString())
{
}

int toInteger(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok) {
        throw EConvertError(text);
    }
    return value;
}

QString recordHead(int kind, const QString& name, bool whiteBackground)
{
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return QString::number(kind + 1) + QStringLiteral(",\"") + quoted + QStringLiteral("\",") +
           (whiteBackground ? u'1' : u'0');
}

QString recordLine(int kind, const QString& name, bool whiteBackground, const QStringList& values)
{
    QString line = recordHead(kind, name, whiteBackground);
    for (const QString& v : values) {
        line += u',';
        line += v;
    }
    return line;
}

namespace {

// The record of the first items of a line: figure number, name and background.
std::optional<Record> recordOf(const QStringList& items)
{
    if (items.size() < 2) {
        return std::nullopt;
    }
    bool ok = false;
    const int number = items[0].trimmed().toInt(&ok);
    if (!ok) {
        return std::nullopt;
    }
    Record r;
    r.kind = static_cast<long long>(number) - 1;
    r.name = items[1];
    r.whiteBackground = items.size() > 2 && items[2] != QStringLiteral("0");
    return r;
}

} // namespace

std::optional<Record> parseRecord(const QString& line)
{
    const QStringList items = render::splitCommaText(line);
    std::optional<Record> r = recordOf(items);
    if (r) {
        r->values = items.mid(3);
    }
    return r;
}

std::optional<Record> parseRecordHead(const QString& line)
{
    QStringList head;
    render::forEachCommaSpan(line, [&](const render::CommaSpan& span) {
        head.append(render::commaItem(line, span));
        return head.size() < 3;
    });
    return recordOf(head);
}

} // namespace koyomi::figures
