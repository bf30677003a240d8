// What every figure with settings must do, checked over its field table: records, resets,
// master rows, extreme values and the window's edge. Where the figures differ (their default
// records, their reset lists, their master rows, what switches every element on), the
// expected values are typed out here, not read from the table under test.
#include "Watchdog.h"
#include "WindowProbe.h"
#include "figures/FigureCaches.h"
#include "figures/Figures.h"
#include "figures/Record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

using namespace koyomi;
using namespace koyomi::figures;

namespace {

struct Member
{
    int kind;
    // The record of a fresh page on black, after its head.
    const char* defaults;
    // Each reset triangle's fields, by name.
    std::vector<const char*> resets;
    // Fields whose reset sets another value than a fresh page has, and that value.
    std::map<std::string, int> resetValues;
    // Each master row: "master: target target …".
    std::vector<const char*> masters;
    // Other fields whose change sets a field: "field: field …".
    std::vector<const char*> couplings;
    // Settings that switch every element of the figure on (name, text or index).
    std::vector<std::pair<const char*, const char*>> allOn;
    // Whether the figure stands centred in the window, so that a larger window shows the same
    // picture around it. The slanted grid's lines start from the window's corner instead.
    bool centred = true;
};

void PrintTo(const Member& m, std::ostream* os)
{
    *os << figureTable()[std::size_t(m.kind)].caption;
}

const std::vector<Member>& members()
{
    static const std::vector<Member> list{
        {0,
         // Geometry, nine line rows, the two diagonals ("なし"), four emphasis rows, labels.
         "10,50,10,50,10,50,1,10,1,10,"
         "0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,5,1,0,5,1,0,"
         "0,1,0,1,0,0,1,0,1,0,0,1,0,1,0,0,1,0,1,0,0,1,1,10,0,,",
         {"SpinEdit14 SpinEdit15 SpinEdit3 SpinEdit1 SpinEdit4 SpinEdit2 SpinEdit24 SpinEdit25 "
          "SpinEdit26 SpinEdit27",
          "ComboBox9 SpinEdit5 ComboBox10 ComboBox7 SpinEdit6 ComboBox11 ComboBox1 SpinEdit7 "
          "ComboBox12 ComboBox3 SpinEdit8 ComboBox13 ComboBox4 SpinEdit9 ComboBox14 ComboBox6 "
          "SpinEdit10 ComboBox15 ComboBox8 SpinEdit11 ComboBox16 ComboBox2 SpinEdit12 ComboBox17 "
          "ComboBox5 SpinEdit13 ComboBox18 ComboBox53 SpinEdit88 ComboBox56 ComboBox61 SpinEdit89 "
          "ComboBox57",
          "CheckBox1 SpinEdit17 ComboBox19 SpinEdit16 ComboBox20 CheckBox2 SpinEdit18 ComboBox21 "
          "SpinEdit19 ComboBox22 CheckBox3 SpinEdit20 ComboBox23 SpinEdit21 ComboBox24 CheckBox4 "
          "SpinEdit22 ComboBox25 SpinEdit23 ComboBox26",
          "ComboBox82 SpinEdit97 SpinEdit99 SpinEdit98 ComboBox83 Memo1"},
         {},
         {"SpinEdit14: SpinEdit3 SpinEdit4", "SpinEdit15: SpinEdit1 SpinEdit2",
          "SpinEdit5: SpinEdit6 SpinEdit7 SpinEdit8 SpinEdit9 SpinEdit10 SpinEdit11 SpinEdit12 "
          "SpinEdit13",
          "SpinEdit6: SpinEdit7 SpinEdit8 SpinEdit9 SpinEdit10",
          "SpinEdit11: SpinEdit12 SpinEdit13",
          "ComboBox9: ComboBox1 ComboBox2 ComboBox3 ComboBox4 ComboBox5 ComboBox6 ComboBox7 "
          "ComboBox8",
          "ComboBox7: ComboBox1 ComboBox3 ComboBox4 ComboBox6", "ComboBox8: ComboBox2 ComboBox5",
          "ComboBox10: ComboBox11 ComboBox12 ComboBox13 ComboBox14 ComboBox15 ComboBox16 "
          "ComboBox17 ComboBox18",
          "ComboBox11: ComboBox12 ComboBox13 ComboBox14 ComboBox15",
          "ComboBox16: ComboBox17 ComboBox18"},
         {"SpinEdit97: Memo1", "SpinEdit99: Memo1"},
         {{"ComboBox53", "0"},
          {"ComboBox61", "3"},
          {"CheckBox1", "1"},
          {"CheckBox2", "1"},
          {"CheckBox3", "1"},
          {"CheckBox4", "1"},
          {"ComboBox82", "1"},
          {"SpinEdit99", "7"}}},
        {1,
         "10,50,10,50,10,50,1,10,1,10,0,1,0,0,0",
         {"SpinEdit38 SpinEdit39 SpinEdit32 SpinEdit30 SpinEdit33 SpinEdit31 SpinEdit35 "
          "SpinEdit34 SpinEdit36 SpinEdit37",
          "ComboBox29 SpinEdit40 ComboBox30 ComboBox62 CheckBox5"},
         {},
         {"SpinEdit38: SpinEdit32 SpinEdit33"},
         {"SpinEdit39: SpinEdit30 SpinEdit31", "CheckBox5: SpinEdit31"},
         {{"ComboBox29", "2"}, {"SpinEdit40", "5"}, {"ComboBox62", "1"}, {"SpinEdit35", "2"}}},
        {2, "100,0,1,0", {"SpinEdit28 ComboBox27 SpinEdit29 ComboBox28"}, {}, {}, {}, {}, false},
        {3,
         "50,1,0,1,1,0,0,3,0,1,10,1,1,50,1,50,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,5,0,1,0,1,5,0,1,"
         "0",
         {"SpinEdit49 SpinEdit50 ComboBox31 SpinEdit41 SpinEdit43 ComboBox32 ComboBox33 SpinEdit42 "
          "ComboBox44 SpinEdit55 SpinEdit56 SpinEdit46 SpinEdit45 SpinEdit47 SpinEdit48",
          "ComboBox34 SpinEdit51 ComboBox39 ComboBox35 SpinEdit44 ComboBox36 ComboBox37 SpinEdit52 "
          "ComboBox38 ComboBox40 SpinEdit53 ComboBox41 ComboBox42 SpinEdit54 ComboBox43 "
          "ComboBox46",
          "SpinEdit90 SpinEdit91 ComboBox78 SpinEdit92 ComboBox79 SpinEdit93 SpinEdit95 "
          "ComboBox80 SpinEdit94 ComboBox81"},
         {{"SpinEdit91", 1}, {"SpinEdit95", 1}},
         {},
         {},
         {{"SpinEdit50", "3"},
          {"ComboBox31", "2"},
          {"SpinEdit43", "12"},
          {"ComboBox33", "4"},
          {"ComboBox44", "1"},
          {"SpinEdit90", "2"},
          {"SpinEdit93", "3"},
          {"ComboBox80", "1"}}},
        {4,
         "50,1,1,3,5,3,1,10,1,50,1,50,0,1,0,0,1,0,0,1,0,0,1,0,0",
         {"SpinEdit71 ComboBox45 SpinEdit57 ComboBox48 SpinEdit59 SpinEdit58 ComboBox49 "
          "SpinEdit65 SpinEdit61 SpinEdit60 SpinEdit62 SpinEdit63",
          "ComboBox50 SpinEdit67 ComboBox51 ComboBox54 SpinEdit68 ComboBox55 ComboBox58 SpinEdit70 "
          "ComboBox59 ComboBox47 SpinEdit64 ComboBox52 ComboBox60"},
         {},
         {},
         {},
         {{"ComboBox45", "2"},
          {"ComboBox48", "4"},
          {"SpinEdit57", "4"},
          {"SpinEdit61", "5"},
          {"SpinEdit62", "3"}}},
        {6,
         "10,50,1,50,1,100,0,1,0,0,0,10,0,1,0,0,0,1,1,0,10,10,0,,1,5,0,1,0,1,5,0,1,0,0",
         {"SpinEdit72 SpinEdit66 SpinEdit75 SpinEdit74 SpinEdit76 SpinEdit77 ComboBox69 "
          "SpinEdit80 ComboBox68 ComboBox66 ComboBox65 SpinEdit73 ComboBox63 SpinEdit83 "
          "ComboBox64 ComboBox67 ComboBox71 SpinEdit78 SpinEdit81 ComboBox77 SpinEdit79 "
          "ComboBox70 Edit1 ComboBox72",
          "SpinEdit82 SpinEdit69 ComboBox73 SpinEdit84 ComboBox74 SpinEdit85 SpinEdit87 "
          "ComboBox75 SpinEdit86 ComboBox76"},
         {{"SpinEdit77", 50}},
         {},
         {},
         {{"ComboBox66", "1"},
          {"ComboBox65", "2"},
          {"ComboBox67", "1"},
          {"ComboBox72", "1"},
          {"SpinEdit78", "-3"},
          {"ComboBox77", "1"},
          {"Edit1", "cm"},
          {"SpinEdit82", "2"},
          {"SpinEdit85", "5"},
          {"ComboBox75", "2"}}},
        {7,
         "30,0,2,0,0,1,0,1,150,1,150",
         {"SpinEdit102 ComboBox84 SpinEdit107 ComboBox87 ComboBox85 SpinEdit100 ComboBox86 "
          "SpinEdit104 SpinEdit103 SpinEdit105 SpinEdit106"},
         {},
         {},
         {},
         {{"SpinEdit107", "6"},
          {"ComboBox84", "1"},
          {"SpinEdit104", "3"},
          {"SpinEdit103", "0"},
          {"SpinEdit105", "3"}}},
        {8,
         "150,100,1,50,1,100,1,1,7,10,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0,0,1,0",
         {"SpinEdit108 SpinEdit101 SpinEdit110 SpinEdit109 SpinEdit111 SpinEdit112 SpinEdit115 "
          "SpinEdit118 ComboBox90 SpinEdit114",
          "ComboBox88 SpinEdit113 ComboBox89 ComboBox92 SpinEdit116 ComboBox93 ComboBox91 "
          "SpinEdit117 ComboBox94 ComboBox95 SpinEdit119 ComboBox98 ComboBox96 SpinEdit120 "
          "ComboBox99 ComboBox97 SpinEdit121 ComboBox100 ComboBox103 SpinEdit122 ComboBox104 "
          "ComboBox101 SpinEdit123 ComboBox105 ComboBox102 SpinEdit124 ComboBox106 ComboBox107 "
          "SpinEdit125 ComboBox108"},
         {},
         {"SpinEdit113: SpinEdit116 SpinEdit117 SpinEdit119 SpinEdit120 SpinEdit121 SpinEdit122 "
          "SpinEdit123 SpinEdit124",
          "SpinEdit116: SpinEdit117 SpinEdit119 SpinEdit120 SpinEdit121",
          "SpinEdit122: SpinEdit123 SpinEdit124",
          "ComboBox88: ComboBox92 ComboBox91 ComboBox95 ComboBox96 ComboBox97 ComboBox103 "
          "ComboBox101 ComboBox102",
          "ComboBox92: ComboBox91 ComboBox95 ComboBox96 ComboBox97",
          "ComboBox103: ComboBox101 ComboBox102",
          "ComboBox89: ComboBox93 ComboBox94 ComboBox98 ComboBox99 ComboBox100 ComboBox104 "
          "ComboBox105 ComboBox106",
          "ComboBox93: ComboBox94 ComboBox98 ComboBox99 ComboBox100",
          "ComboBox104: ComboBox105 ComboBox106"},
         {},
         {{"SpinEdit115", "3"},
          {"SpinEdit118", "4"},
          {"ComboBox90", "6"},
          {"SpinEdit110", "2"},
          {"SpinEdit111", "3"}}},
    };
    return list;
}

const FigureFields& tableOf(const Member& m)
{
    return *figureTable()[std::size_t(m.kind)].fields;
}

int fieldNamed(const FigureFields& table, const std::string& name)
{
    for (std::size_t f = 0; f < table.fields.size(); ++f) {
        if (name == table.fields[f].name) {
            return int(f);
        }
    }
    ADD_FAILURE() << "no field " << name;
    return 0;
}

std::vector<std::string> words(const std::string& text)
{
    std::vector<std::string> list;
    std::string word;
    for (char c : text + ' ') {
        if (c == ' ' || c == ':') {
            if (!word.empty()) {
                list.push_back(word);
            }
            word.clear();
        } else {
            word += c;
        }
    }
    return list;
}

std::vector<QString> snapshot(const Fields& fields)
{
    std::vector<QString> values;
    for (int f = 0; f < fields.count(); ++f) {
        values.push_back(valueText(fields, f));
    }
    return values;
}

// A value of field f other than the one it has, within its range.
QString otherValue(const Fields& fields, int f)
{
    const Field& d = fields.field(f);
    switch (d.kind) {
    case FieldKind::Spin: {
        const int v = fields.value(f);
        return QString::number(v < d.maximum ? v + 1 : v - 1);
    }
    case FieldKind::Text:
        return QStringLiteral("cm");
    case FieldKind::Labels:
        return QStringLiteral("1,2,3");
    default:
        return QString::number(fields.index(f) == 1 ? 0 : 1);
    }
}

void switchAllOn(Fields& fields, const Member& m)
{
    for (const auto& [name, value] : m.allOn) {
        setValueText(fields, fieldNamed(fields.table(), name), QString::fromUtf8(value));
    }
}

class FigureFamily : public ::testing::TestWithParam<Member>
{
};

std::string caseName(const ::testing::TestParamInfo<Member>& info)
{
    static const char* names[] = {"GraphPaper", "Grid",       "SlopeGrid", "Circle",       "Clock",
                                  "Picture",    "NumberLine", "Tawara",    "FractionTiles"};
    return names[info.param.kind];
}

} // namespace

TEST_P(FigureFamily, RecordsReadBackToThemselvesWithEveryFieldChanged)
{
    const Member& m = GetParam();
    const FieldValues fresh(tableOf(m), false);
    EXPECT_EQ(recordValues(fresh).join(u',').toStdString(), m.defaults);
    for (int f = 0; f < fresh.count(); ++f) {
        SCOPED_TRACE(fresh.field(f).name);
        FieldValues changed(tableOf(m), false);
        setValueText(changed, f, otherValue(changed, f));
        EXPECT_NE(valueText(changed, f), valueText(fresh, f));
        const QString line = recordLine(m.kind, QStringLiteral("A"), false, recordValues(changed));
        FieldValues read(tableOf(m), false);
        applyRecordValues(read, parseRecord(line)->values);
        EXPECT_EQ(snapshot(read), snapshot(changed));
    }
}

TEST_P(FigureFamily, EachResetRestoresItsWholeListAndNothingElse)
{
    const Member& m = GetParam();
    const FigureFields& table = tableOf(m);
    ASSERT_EQ(table.resets.size(), m.resets.size());
    const FieldValues fresh(table, true);
    std::vector<int> panelOf(table.fields.size(), 0);
    for (std::size_t p = 0; p < m.resets.size(); ++p) {
        for (const std::string& name : words(m.resets[p])) {
            EXPECT_EQ(panelOf[std::size_t(fieldNamed(table, name))], 0) << name;
            panelOf[std::size_t(fieldNamed(table, name))] = int(p) + 1;
        }
    }
    for (int panel = 1; panel <= int(m.resets.size()); ++panel) {
        SCOPED_TRACE(table.resets[std::size_t(panel - 1)]);
        FieldValues fields(table, false);
        for (int f = 0; f < fields.count(); ++f) {
            // A check box elsewhere stays clear: the grid's equilateral box would couple the
            // spacings the first reset sets, as it does for the teacher.
            if (fields.field(f).kind != FieldKind::Check || panelOf[std::size_t(f)] == panel) {
                setValueText(fields, f, otherValue(fields, f));
            }
        }
        const std::vector<QString> before = snapshot(fields);
        resetPanel(fields, panel, true);
        for (int f = 0; f < fields.count(); ++f) {
            const std::string name = fields.field(f).name;
            const auto special = m.resetValues.find(name);
            const QString expected = panelOf[std::size_t(f)] != panel ? before[std::size_t(f)]
                                     : special != m.resetValues.end()
                                         ? QString::number(special->second)
                                         : valueText(fresh, f);
            EXPECT_EQ(valueText(fields, f), expected) << name;
        }
    }
}

TEST_P(FigureFamily, MasterRowsSetExactlyTheirTargetsAndNoOtherFieldSetsAnother)
{
    const Member& m = GetParam();
    const FigureFields& table = tableOf(m);
    std::map<std::string, std::vector<std::string>> sets;
    std::set<std::string> coupled;
    for (const std::vector<const char*>* rows : {&m.masters, &m.couplings}) {
        for (const char* row : *rows) {
            const std::vector<std::string> list = words(row);
            sets[list.front()] = {list.begin() + 1, list.end()};
            if (rows == &m.couplings) {
                coupled.insert(list.front());
            }
        }
    }
    for (int f = 0; f < int(table.fields.size()); ++f) {
        const std::string name = table.fields[std::size_t(f)].name;
        SCOPED_TRACE(name);
        FieldValues fields(table, false);
        const std::vector<QString> before = snapshot(fields);
        const QString value = name == "SpinEdit97" || name == "SpinEdit99"
                                  ? QStringLiteral("3") // a start or step the labels show
                                  : otherValue(fields, f);
        setValueText(fields, f, value);
        std::vector<std::string> changed;
        for (int g = 0; g < fields.count(); ++g) {
            if (g != f && valueText(fields, g) != before[std::size_t(g)]) {
                changed.push_back(table.fields[std::size_t(g)].name);
                // A master row copies its value; a coupling sets a value of its own.
                if (!coupled.count(name)) {
                    EXPECT_EQ(valueText(fields, g), value) << table.fields[std::size_t(g)].name;
                }
            }
        }
        std::sort(changed.begin(), changed.end());
        std::vector<std::string> expected = sets[name];
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(changed, expected);
    }
}

TEST_P(FigureFamily, ExtremesInEveryFieldWithEveryElementOnDrawAndEnd)
{
    const Member& m = GetParam();
    const FigureFields& table = tableOf(m);
    const Figure& figure = figureTable()[std::size_t(m.kind)];
    FigureCaches caches;
    auto drawn = [&](const Fields& fields, const std::string& what) {
        koyomi::test::runWithWatchdog(what.c_str(), [&] {
            render::Canvas canvas(320, 200);
            figure.draw(canvas, fields, render::Frame{320, 200, false}, &caches);
        });
    };
    // Typed text may be any integer until the field is left; a preset holds any text.
    const std::vector<QString> extremes{QString::number(INT_MAX),  QString::number(INT_MIN),
                                        QStringLiteral("-1"),      QStringLiteral("0"),
                                        QStringLiteral("1000000"), QStringLiteral("-")};
    for (int f = 0; f < int(table.fields.size()); ++f) {
        const Field& d = table.fields[std::size_t(f)];
        std::vector<QString> values;
        if (d.kind == FieldKind::Spin) {
            values = extremes;
            values.push_back(QString::number(d.minimum));
            values.push_back(QString::number(d.maximum));
        } else if (d.kind == FieldKind::Text || d.kind == FieldKind::Labels) {
            values = {QString(2000, u'8'), QStringLiteral(",,,,"), QStringLiteral("\"")};
        } else {
            // Every item, none, and one beyond the items.
            for (int i = -1; i <= itemCount(d); ++i) {
                values.push_back(QString::number(i));
            }
        }
        for (const QString& value : values) {
            FieldValues fields(table, false);
            switchAllOn(fields, m);
            setValueText(fields, f, value);
            drawn(fields, std::string(d.name) + " = " + value.left(20).toStdString());
        }
    }
    // Every spin edit at once at the end of its range, as a preset can hold them (only the
    // field being typed in can be out of its range).
    for (const bool top : {true, false}) {
        FieldValues fields(table, false);
        switchAllOn(fields, m);
        for (int f = 0; f < int(table.fields.size()); ++f) {
            const Field& d = table.fields[std::size_t(f)];
            if (d.kind == FieldKind::Spin) {
                setValueText(fields, f, QString::number(top ? d.maximum : d.minimum));
            }
        }
        drawn(fields, top ? "every spin edit at its maximum" : "every spin edit at its minimum");
    }
}

TEST_P(FigureFamily, WhatTheWindowSkipsChangesNoPixel)
{
    const Member& m = GetParam();
    if (!m.centred) {
        GTEST_SKIP() << "drawn from the window's corner";
    }
    const Figure& figure = figureTable()[std::size_t(m.kind)];
    FieldValues fields(tableOf(m), false);
    switchAllOn(fields, m);
    render::Canvas small(240, 150);
    koyomi::test::expectWindowMatchesLargeCanvas(
        small, 260,
        [&](render::Canvas& c, const render::Frame& f) { figure.draw(c, fields, f, nullptr); });
}

INSTANTIATE_TEST_SUITE_P(, FigureFamily, ::testing::ValuesIn(members()), caseName);
