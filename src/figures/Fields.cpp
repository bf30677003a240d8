#include "figures/Fields.h"

#include "figures/Record.h"
#include "render/Palette.h"
#include "render/Text.h"

#include <algorithm>

namespace koyomi::figures {

bool parseSpinText(const QString& text, int* value)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (ok) {
        *value = v;
    }
    return ok;
}

int Fields::value(int f) const
{
    int v = field(f).minimum;
    return parseSpinText(text(f), &v) ? v : field(f).minimum;
}

int itemCount(const Field& field)
{
    switch (field.kind) {
    case FieldKind::Items:
        return field.items ? int(QByteArrayView(field.items).count('|')) + 1 : 0;
    case FieldKind::LineKind:
        return int(render::LineStyle.size());
    case FieldKind::Color:
        return int(render::PaletteColor.size());
    case FieldKind::Check:
        return 2;
    default:
        return 0;
    }
}

QStringList itemTexts(const Field& field)
{
    return field.items ? QString::fromUtf8(field.items).split(u'|') : QStringList{};
}

int heldIndex(const Field& field, int index)
{
    if (field.kind == FieldKind::Check) {
        return index == 1 ? 1 : 0;
    }
    return index >= 0 && index < itemCount(field) ? index : -1;
}

int defaultIndex(const Field& field, bool whiteBackground)
{
    return field.kind == FieldKind::Color ? render::defaultColorIndex(whiteBackground)
                                          : field.value;
}

QString defaultText(const Field& field)
{
    return field.kind == FieldKind::Spin ? QString::number(field.value) : QString();
}

FieldValues::FieldValues(const FigureFields& table, bool whiteBackground) : Fields(table)
{
    for (const Field& f : table.fields) {
        m_texts.push_back(defaultText(f));
        m_indexes.push_back(defaultIndex(f, whiteBackground));
    }
}

void FieldValues::setText(int f, const QString& text)
{
    if (m_texts[std::size_t(f)] == text) {
        return; // an unchanged text runs no handling, as in a control
    }
    m_texts[std::size_t(f)] = text;
    handle(f);
}

void FieldValues::setIndex(int f, int index)
{
    const int held = heldIndex(field(f), index);
    const bool changed = m_indexes[std::size_t(f)] != held;
    m_indexes[std::size_t(f)] = held;
    if (changed && field(f).kind == FieldKind::Check) {
        handle(f);
    }
}

void FieldValues::handle(int f)
{
    try {
        runChange(*this, f);
    } catch (const EConvertError& e) {
        m_errors.append(QString::fromUtf8(e.what()));
    }
}

void runChange(Fields& fields, int f)
{
    const Field& d = fields.field(f);
    if (d.kind == FieldKind::Spin) {
        const int own = d.handlerOf >= 0 ? d.handlerOf : f;
        const char* refill = fields.field(own).refill;
        if (refill && fields.text(own).isEmpty()) {
            fields.setText(own, QString::fromLatin1(refill));
        }
        for (int target : d.copiesInto) {
            fields.setText(target, fields.text(f));
        }
    }
    if (fields.table().changed) {
        fields.table().changed(fields, f);
    }
}

void runChoice(Fields& fields, int f)
{
    for (int target : fields.field(f).copiesInto) {
        fields.setIndex(target, fields.index(f));
    }
}

bool changeDraws(const Fields& fields, int f)
{
    const int check = fields.field(f).drawsWhileTicked;
    return check < 0 || fields.isOn(check);
}

QString valueText(const Fields& fields, int f)
{
    return holdsText(fields.field(f).kind) ? fields.text(f) : QString::number(fields.index(f));
}

void setValueText(Fields& fields, int f, const QString& value)
{
    if (holdsText(fields.field(f).kind)) {
        fields.setText(f, value);
    } else {
        fields.setIndex(f, value.toInt());
        runChoice(fields, f);
    }
}

void resetPanel(Fields& fields, int panel, bool whiteBackground)
{
    for (int f = 0; f < fields.count(); ++f) {
        const Field& d = fields.field(f);
        if (d.reset != panel) {
            continue;
        }
        const int value = d.resetValue == kResetToDefault ? d.value : d.resetValue;
        switch (d.kind) {
        case FieldKind::Spin:
            fields.setText(f, QString::number(value));
            break;
        case FieldKind::Color:
            fields.setIndex(f, render::defaultColorIndex(whiteBackground));
            break;
        case FieldKind::Text:
        case FieldKind::Labels:
            fields.setText(f, QString());
            break;
        default:
            fields.setIndex(f, value);
            break;
        }
    }
}

namespace {

// The graph paper's label text as a record item: its first line only (a record is one line
// of the library file), commas as colons, and quoted only when it has blanks or quotes, so
// that plain texts are written as they always were and every text reads back whole. Then a
// closing comma.
QString labelsItem(const QString& labels)
{
    QString text = labels.section(u'\n', 0, 0);
    if (text.endsWith(u'\r')) {
        text.chop(1);
    }
    text.replace(u',', u':');
    return render::quoteCommaItem(text) + u',';
}

} // namespace

QStringList recordValues(const Fields& fields)
{
    QStringList values;
    for (int f : fields.table().record) {
        switch (fields.field(f).kind) {
        case FieldKind::Spin:
        case FieldKind::Text:
            // Typed texts are digits; anything else is quoted so the record stays readable.
            values.append(render::quoteCommaItem(fields.text(f)));
            break;
        case FieldKind::Labels:
            values.append(labelsItem(fields.text(f)));
            break;
        default:
            values.append(QString::number(fields.index(f)));
            break;
        }
    }
    return values;
}

namespace {

void applyRecordValue(Fields& fields, int f, const QString& value)
{
    switch (fields.field(f).kind) {
    case FieldKind::Spin:
        setStoredText(fields, f, value);
        break;
    case FieldKind::Text:
        fields.setText(f, value);
        break;
    case FieldKind::Labels: {
        QString text = value;
        fields.setText(f, text.replace(u':', u','));
        break;
    }
    case FieldKind::Check:
        fields.setIndex(f, value == QStringLiteral("1") ? 1 : 0);
        break;
    default:
        fields.setIndex(f, toInteger(value));
        break;
    }
}

} // namespace

void applyRecordValues(Fields& fields, const QStringList& values)
{
    const FigureFields& table = fields.table();
    const qsizetype places = qsizetype(table.record.size());
    const qsizetype count = std::min(values.size(), places);
    if (table.defaultsWhenMissingFrom >= 0) {
        for (qsizetype i = std::max<qsizetype>(count, table.defaultsWhenMissingFrom); i < places;
             ++i) {
            const int f = table.record[std::size_t(i)];
            fields.setIndex(f, fields.field(f).value);
        }
    }
    qsizetype first = -1;
    if (table.readFirst >= 0) {
        const auto at = std::find(table.record.begin(), table.record.end(), table.readFirst);
        if (at != table.record.end() && at - table.record.begin() < count) {
            first = at - table.record.begin();
            applyRecordValue(fields, table.readFirst, values[first]);
        }
    }
    for (qsizetype i = 0; i < count; ++i) {
        if (i != first) {
            applyRecordValue(fields, table.record[std::size_t(i)], values[i]);
        }
    }
}

QString storedSpinText(const QString& text, int minimum, int maximum, int typedLength)
{
    // An integer is set as its plain digits, held to the range and shown whole ("05" in a
    // one-character field is 5, "20" is 20). Any other text is cut to what could have been
    // typed, and when that is an integer ("1474<3640" in a four-character field), the same
    // rule applies to it, so that a preset reads back to itself.
    const QString typed = typedLength > 0 ? text.left(typedLength) : text;
    int stored = 0;
    if (parseSpinText(text, &stored) || parseSpinText(typed, &stored)) {
        return QString::number(std::clamp(stored, minimum, maximum));
    }
    return typed;
}

std::optional<QString> heldToRange(const QString& text, int minimum, int maximum)
{
    int value = 0;
    if (parseSpinText(text, &value) && (value < minimum || value > maximum)) {
        return QString::number(std::clamp(value, minimum, maximum));
    }
    return std::nullopt;
}

void setStoredText(Fields& fields, int f, const QString& text)
{
    const Field& d = fields.field(f);
    fields.setText(f, storedSpinText(text, d.minimum, d.maximum, d.typedLength));
    // The change handling may put in a text of its own (an emptied field takes "1"): it is
    // held to the range as well.
    if (const std::optional<QString> held = heldToRange(fields.text(f), d.minimum, d.maximum)) {
        fields.setText(f, *held);
    }
}

} // namespace koyomi::figures
