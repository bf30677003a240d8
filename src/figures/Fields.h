// A figure's settings as data: each control of its Draw tool page listed once, with its
// range, default, typing limit, reset, master row and change handling, and the preset record
// made from them. The Draw tool builds its pages from these tables; the command, the fuzz
// targets and the benchmarks read and write records through them without any widget.
#pragma once

#include "figures/LineSetting.h"

#include <QString>
#include <QStringList>

#include <array>
#include <climits>
#include <optional>
#include <span>
#include <vector>

namespace koyomi::figures {

enum class FieldKind : unsigned char
{
    Spin,     // an integer field that keeps any typed text
    Items,    // a selector of the items given
    LineKind, // a selector of the line kinds
    Color,    // a selector of the palette colours
    Check,    // a check box: index 0 or 1
    Text,     // a one-line free text
    Labels,   // the graph paper's label text: its record item has rules of its own
};

// A reset that sets a field to its default.
inline constexpr int kResetToDefault = INT_MIN;

struct Field
{
    const char* name; // the control's object name ("SpinEdit43")
    FieldKind kind;
    int minimum = 0; // Spin: the range
    int maximum = 0;
    // The default: a spin edit's value, a selector's index, a check box's state. A colour
    // starts as the background's line colour whatever this says.
    int value = 0;
    int typedLength = 0;           // Spin: characters that can be typed; 0: no limit
    const char* items = nullptr;   // Items: UTF-8, separated by '|'
    const char* caption = nullptr; // Check: the box's caption (UTF-8)
    const char* tooltip = nullptr; // UTF-8
    int reset = 0;                 // the reset panel (1: the page's first) that resets it; 0: none
    int resetValue = kResetToDefault; // what that reset sets (a colour: the background's)
    // Spin: the text an emptied field takes back when it changes; nullptr: none (it reads
    // as its minimum).
    const char* refill = "1";
    // Spin: the field whose change handling this one's change runs instead of its own.
    int handlerOf = -1;
    // A master row: the fields this one's change copies its value into, in order.
    std::span<const int> copiesInto = {};
    // The change draws the figure only while this check box is ticked; -1: always.
    int drawsWhileTicked = -1;
    // Color: its place in the order colours are reset on a background change.
    int colorOrder = -1;
};

class Fields;

// A record that holds every field once, in table order.
template <std::size_t N> constexpr std::array<int, N> tableOrder()
{
    std::array<int, N> order{};
    for (std::size_t i = 0; i < N; ++i) {
        order[i] = int(i);
    }
    return order;
}

struct FigureFields
{
    std::span<const Field> fields; // in the order the page's resets set them
    // The reset triangles' names, the first panel's first.
    std::span<const char* const> resets;
    // The fields in the order of the preset record after its head (a field may be in it
    // twice).
    std::span<const int> record;
    // Record items from this place on were added later: a record without them sets their
    // fields to the defaults. -1: a record's missing items leave their fields as they are.
    int defaultsWhenMissingFrom = -1;
    // A field read from a record before all others, so that those come back as saved rather
    // than coupled to what it held before; -1: none.
    int readFirst = -1;
    // The figure's own change handling after a field's refill and copies: couplings between
    // fields. May throw EConvertError, leaving the fields as far as they got.
    void (*changed)(Fields&, int field) = nullptr;
};

// The values of one figure's fields, wherever they are held: in a Draw tool page's controls
// or in memory. Setting a value runs the field's change handling exactly as the page's
// controls run it, so that a record reads to the same values with or without widgets.
class Fields
{
public:
    explicit Fields(const FigureFields& table) : m_table(table) {}
    virtual ~Fields() = default;
    Fields(const Fields&) = delete;
    Fields& operator=(const Fields&) = delete;

    const FigureFields& table() const { return m_table; }
    const Field& field(int f) const { return m_table.fields[std::size_t(f)]; }
    int count() const { return int(m_table.fields.size()); }

    // A spin edit's or a text's text.
    virtual QString text(int f) const = 0;
    // A selector's index (-1: none) or a check box's state (0 or 1).
    virtual int index(int f) const = 0;
    // Sets a text as typing it would: the field's change handling runs when it changes, and
    // may throw EConvertError.
    virtual void setText(int f, const QString& text) = 0;
    // Sets a selector's index as code does, which runs no change handling (only a teacher's
    // choice does: `choose`); an index beyond the items selects none. Ticks or clears a
    // check box, whose change handling runs when its state changes.
    virtual void setIndex(int f, int index) = 0;

    // A spin edit's integer; a text that is not one reads as the minimum.
    int value(int f) const;
    bool isOn(int f) const { return index(f) == 1; }
    LineSetting line(int kind, int width, int color) const
    {
        return LineSetting{index(kind), value(width), index(color)};
    }

private:
    const FigureFields& m_table;
};

// Fields held in memory, starting at a fresh page's values for the given background.
class FieldValues final : public Fields
{
public:
    FieldValues(const FigureFields& table, bool whiteBackground);

    QString text(int f) const override { return m_texts[std::size_t(f)]; }
    int index(int f) const override { return m_indexes[std::size_t(f)]; }
    void setText(int f, const QString& text) override;
    void setIndex(int f, int index) override;

    // The messages change handling gave (a text that is not an integer where one was
    // needed), as a page shows them.
    const QStringList& errors() const { return m_errors; }

private:
    void handle(int f);

    std::vector<QString> m_texts;
    std::vector<int> m_indexes;
    QStringList m_errors;
};

// What a field's change does, as its control's handler: an emptied spin edit takes back its
// refill, a master row copies its value, then the figure's couplings. Throws EConvertError.
void runChange(Fields& fields, int f);
// What a teacher's choice in a selector does: a master row copies its index.
void runChoice(Fields& fields, int f);
// Whether a change of field f draws the figure now.
bool changeDraws(const Fields& fields, int f);

// A selector's index as setting it does: beyond the items, none (-1).
int heldIndex(const Field& field, int index);
// The number of items of a selector.
int itemCount(const Field& field);
// A selector's items, in order.
QStringList itemTexts(const Field& field);

// Whether a field holds a text (a spin edit's, a free text) rather than an index.
inline bool holdsText(FieldKind kind)
{
    return kind == FieldKind::Spin || kind == FieldKind::Text || kind == FieldKind::Labels;
}
// A field's value as one text: its text, or its index written out.
QString valueText(const Fields& fields, int f);
// Sets a field's value from such a text as a teacher does: a text typed, or an item chosen
// (a master row copies it).
void setValueText(Fields& fields, int f, const QString& value);

// The value of a field at a fresh page on the given background.
int defaultIndex(const Field& field, bool whiteBackground);
QString defaultText(const Field& field);

// Sets every field of a reset panel (1: the first) in table order, as its triangle does.
void resetPanel(Fields& fields, int panel, bool whiteBackground);

// The record's values after its head, as written.
QStringList recordValues(const Fields& fields);
// Sets the fields from a record's values after its head. Throws EConvertError on a selector
// index that is not an integer; the fields before it keep their new values.
void applyRecordValues(Fields& fields, const QStringList& values);

// A spin edit's text read from a stored preset: an integer is set as its plain digits held
// to the range; any other text is cut to what could have been typed, and held to the range
// when that is an integer.
QString storedSpinText(const QString& text, int minimum, int maximum, int typedLength);
// An integer text outside the range, held to it; nothing for any other text.
std::optional<QString> heldToRange(const QString& text, int minimum, int maximum);
// The integer of a spin edit's text (C locale, blanks around allowed).
bool parseSpinText(const QString& text, int* value);
// Sets a spin edit field from a stored preset: the stored text, then, if the change handling
// put in an integer out of range, that held to the range.
void setStoredText(Fields& fields, int f, const QString& text);

} // namespace koyomi::figures
