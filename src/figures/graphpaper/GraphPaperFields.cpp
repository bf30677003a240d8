#include "figures/graphpaper/GraphPaperFields.h"

#include "figures/Record.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace koyomi::figures {

using namespace graphpaper;

namespace {

using K = FieldKind;

// The master rows copy what they are set to into the rows they govern.
constexpr int kBothCounts[] = {HCount, VCount};
constexpr int kBothSpacings[] = {HSpacing, VSpacing};
constexpr int kAllKinds[] = {TopKind,    InnerHKind, BottomKind,  LeftKind,
                             InnerVKind, RightKind,  OutlineKind, InnerKind};
constexpr int kAllWidths[] = {OutlineWidth, TopWidth,   BottomWidth, LeftWidth,
                              RightWidth,   InnerWidth, InnerHWidth, InnerVWidth};
constexpr int kAllColors[] = {OutlineColor, TopColor,   BottomColor, LeftColor,
                              RightColor,   InnerColor, InnerHColor, InnerVColor};
constexpr int kOutlineKinds[] = {TopKind, BottomKind, LeftKind, RightKind};
constexpr int kOutlineWidths[] = {TopWidth, BottomWidth, LeftWidth, RightWidth};
constexpr int kOutlineColors[] = {TopColor, BottomColor, LeftColor, RightColor};
constexpr int kInnerKinds[] = {InnerHKind, InnerVKind};
constexpr int kInnerWidths[] = {InnerHWidth, InnerVWidth};
constexpr int kInnerColors[] = {InnerHColor, InnerVColor};

// Every spin edit refills an emptied text with "1". The block counts and gaps take at most
// three typed characters, the width of the row that sets all lines one. A change in an
// emphasis row draws only while the row is switched on. The diagonals start, and are reset,
// as "なし".
constexpr Field kFields[] = {
    {.name = "SpinEdit14",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 1000,
     .value = 10,
     .reset = 1,
     .copiesInto = kBothCounts},
    {.name = "SpinEdit15",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 1000,
     .value = 50,
     .reset = 1,
     .copiesInto = kBothSpacings},
    {.name = "SpinEdit3", .kind = K::Spin, .minimum = 1, .maximum = 1000, .value = 10, .reset = 1},
    {.name = "SpinEdit1", .kind = K::Spin, .minimum = 1, .maximum = 1000, .value = 50, .reset = 1},
    {.name = "SpinEdit4", .kind = K::Spin, .minimum = 1, .maximum = 1000, .value = 10, .reset = 1},
    {.name = "SpinEdit2", .kind = K::Spin, .minimum = 1, .maximum = 1000, .value = 50, .reset = 1},
    {.name = "SpinEdit24",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit25",
     .kind = K::Spin,
     .minimum = 0,
     .maximum = 500,
     .value = 10,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit26",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit27",
     .kind = K::Spin,
     .minimum = 0,
     .maximum = 500,
     .value = 10,
     .typedLength = 3,
     .reset = 1},
    {.name = "ComboBox9", .kind = K::LineKind, .reset = 2, .copiesInto = kAllKinds},
    {.name = "SpinEdit5",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .typedLength = 1,
     .reset = 2,
     .copiesInto = kAllWidths},
    {.name = "ComboBox10", .kind = K::Color, .reset = 2, .copiesInto = kAllColors, .colorOrder = 0},
    {.name = "ComboBox7", .kind = K::LineKind, .reset = 2, .copiesInto = kOutlineKinds},
    {.name = "SpinEdit6",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .reset = 2,
     .copiesInto = kOutlineWidths},
    {.name = "ComboBox11",
     .kind = K::Color,
     .reset = 2,
     .copiesInto = kOutlineColors,
     .colorOrder = 1},
    {.name = "ComboBox1", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit7", .kind = K::Spin, .minimum = 1, .maximum = 5, .value = 1, .reset = 2},
    {.name = "ComboBox12", .kind = K::Color, .reset = 2, .colorOrder = 2},
    {.name = "ComboBox3", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit8", .kind = K::Spin, .minimum = 1, .maximum = 5, .value = 1, .reset = 2},
    {.name = "ComboBox13", .kind = K::Color, .reset = 2, .colorOrder = 3},
    {.name = "ComboBox4", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit9", .kind = K::Spin, .minimum = 1, .maximum = 5, .value = 1, .reset = 2},
    {.name = "ComboBox14", .kind = K::Color, .reset = 2, .colorOrder = 4},
    {.name = "ComboBox6", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit10", .kind = K::Spin, .minimum = 1, .maximum = 5, .value = 1, .reset = 2},
    {.name = "ComboBox15", .kind = K::Color, .reset = 2, .colorOrder = 5},
    {.name = "ComboBox8", .kind = K::LineKind, .reset = 2, .copiesInto = kInnerKinds},
    {.name = "SpinEdit11",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .reset = 2,
     .copiesInto = kInnerWidths},
    {.name = "ComboBox16",
     .kind = K::Color,
     .reset = 2,
     .copiesInto = kInnerColors,
     .colorOrder = 6},
    {.name = "ComboBox2", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit12", .kind = K::Spin, .minimum = 1, .maximum = 5, .value = 1, .reset = 2},
    {.name = "ComboBox17", .kind = K::Color, .reset = 2, .colorOrder = 7},
    {.name = "ComboBox5", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit13", .kind = K::Spin, .minimum = 1, .maximum = 5, .value = 1, .reset = 2},
    {.name = "ComboBox18", .kind = K::Color, .reset = 2, .colorOrder = 8},
    {.name = "ComboBox53", .kind = K::LineKind, .value = 5, .reset = 2},
    {.name = "SpinEdit88", .kind = K::Spin, .minimum = 1, .maximum = 5, .value = 1, .reset = 2},
    {.name = "ComboBox56", .kind = K::Color, .reset = 2, .colorOrder = 13},
    {.name = "ComboBox61", .kind = K::LineKind, .value = 5, .reset = 2},
    {.name = "SpinEdit89", .kind = K::Spin, .minimum = 1, .maximum = 5, .value = 1, .reset = 2},
    {.name = "ComboBox57", .kind = K::Color, .reset = 2, .colorOrder = 14},
    {.name = "CheckBox1", .kind = K::Check, .reset = 3},
    {.name = "SpinEdit17",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .reset = 3,
     .drawsWhileTicked = Emphasis1On},
    {.name = "ComboBox19", .kind = K::LineKind, .reset = 3, .drawsWhileTicked = Emphasis1On},
    {.name = "SpinEdit16",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .reset = 3,
     .drawsWhileTicked = Emphasis1On},
    {.name = "ComboBox20",
     .kind = K::Color,
     .reset = 3,
     .drawsWhileTicked = Emphasis1On,
     .colorOrder = 9},
    {.name = "CheckBox2", .kind = K::Check, .reset = 3},
    {.name = "SpinEdit18",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .reset = 3,
     .drawsWhileTicked = Emphasis1On + 5},
    {.name = "ComboBox21", .kind = K::LineKind, .reset = 3, .drawsWhileTicked = Emphasis1On + 5},
    {.name = "SpinEdit19",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .reset = 3,
     .drawsWhileTicked = Emphasis1On + 5},
    {.name = "ComboBox22",
     .kind = K::Color,
     .reset = 3,
     .drawsWhileTicked = Emphasis1On + 5,
     .colorOrder = 10},
    {.name = "CheckBox3", .kind = K::Check, .reset = 3},
    {.name = "SpinEdit20",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .reset = 3,
     .drawsWhileTicked = Emphasis1On + 10},
    {.name = "ComboBox23", .kind = K::LineKind, .reset = 3, .drawsWhileTicked = Emphasis1On + 10},
    {.name = "SpinEdit21",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .reset = 3,
     .drawsWhileTicked = Emphasis1On + 10},
    {.name = "ComboBox24",
     .kind = K::Color,
     .reset = 3,
     .drawsWhileTicked = Emphasis1On + 10,
     .colorOrder = 11},
    {.name = "CheckBox4", .kind = K::Check, .reset = 3},
    {.name = "SpinEdit22",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .reset = 3,
     .drawsWhileTicked = Emphasis1On + 15},
    {.name = "ComboBox25", .kind = K::LineKind, .reset = 3, .drawsWhileTicked = Emphasis1On + 15},
    {.name = "SpinEdit23",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .reset = 3,
     .drawsWhileTicked = Emphasis1On + 15},
    {.name = "ComboBox26",
     .kind = K::Color,
     .reset = 3,
     .drawsWhileTicked = Emphasis1On + 15,
     .colorOrder = 12},
    {.name = "ComboBox82", .kind = K::Items, .items = "なし|あり", .reset = 4},
    {.name = "SpinEdit97",
     .kind = K::Spin,
     .minimum = -10000,
     .maximum = 10000,
     .value = 1,
     .reset = 4},
    {.name = "SpinEdit99",
     .kind = K::Spin,
     .minimum = -10000,
     .maximum = 10000,
     .value = 1,
     .reset = 4},
    {.name = "SpinEdit98", .kind = K::Spin, .minimum = 10, .maximum = 100, .value = 10, .reset = 4},
    {.name = "ComboBox83", .kind = K::Color, .reset = 4, .colorOrder = 15},
    {.name = "Memo1", .kind = K::Labels, .reset = 4},
};
static_assert(std::size(kFields) == Labels + 1);

constexpr const char* kResets[] = {"hougan1", "hougan2", "hougan3", "hougan4"};
constexpr auto kRecord = tableOrder<std::size(kFields)>();

// The most labels one block can have: (1000 − 1) × (1000 − 1) cells.
constexpr long long kMaxCells = 999LL * 999LL;

// A new start or step makes the label text anew.
void numbersChanged(Fields& f, int field)
{
    if (field == NumberStart || field == NumberStep) {
        f.setText(Labels,
                  graphPaperNumbers(toInteger(f.text(NumberStart)), toInteger(f.text(NumberStep)),
                                    f.value(HCount), f.value(VCount)));
    }
}

} // namespace

const FigureFields& graphPaperFields()
{
    static const FigureFields table{
        .fields = kFields, .resets = kResets, .record = kRecord, .changed = numbersChanged};
    return table;
}

GraphPaperParams GraphPaperParams::defaults(bool whiteBackground)
{
    return graphPaperParams(FieldValues(graphPaperFields(), whiteBackground));
}

QSize graphPaperCell(const Fields& f)
{
    return {f.value(VSpacing), f.value(HSpacing)};
}

GraphPaperParams graphPaperParams(const Fields& f)
{
    GraphPaperParams p;
    p.hLineCount = f.value(HCount);
    p.hLineSpacing = f.value(HSpacing);
    p.vLineCount = f.value(VCount);
    p.vLineSpacing = f.value(VSpacing);
    p.countAcross = f.value(CountAcross);
    p.gapAcross = f.value(GapAcross);
    p.countDown = f.value(CountDown);
    p.gapDown = f.value(GapDown);
    p.topSide = f.line(TopKind, TopWidth, TopColor);
    p.bottomSide = f.line(BottomKind, BottomWidth, BottomColor);
    p.leftSide = f.line(LeftKind, LeftWidth, LeftColor);
    p.rightSide = f.line(RightKind, RightWidth, RightColor);
    p.innerHLines = f.line(InnerHKind, InnerHWidth, InnerHColor);
    p.innerVLines = f.line(InnerVKind, InnerVWidth, InnerVColor);
    p.risingDiagonals = f.line(RisingKind, RisingWidth, RisingColor);
    p.fallingDiagonals = f.line(FallingKind, FallingWidth, FallingColor);
    for (int r = 0; r < 4; ++r) {
        const int on = Emphasis1On + kEmphasisFields * r;
        p.emphasis[std::size_t(r)] =
            EmphasisRow{f.isOn(on), f.value(on + 1), f.line(on + 2, on + 3, on + 4)};
    }
    p.numberingOn = f.isOn(NumbersOn);
    p.numberSize = f.value(NumberSize);
    p.numberColor = f.index(NumberColor);
    p.numberText = f.text(Labels);
    return p;
}

QString graphPaperNumbers(int start, int step, int hCount, int vCount)
{
    // Cells of one block; a count typed far beyond the fields' ranges is held to the most a
    // block can have, so the text stays a size the program can hold.
    const long long cells =
        std::clamp((static_cast<long long>(hCount) - 1) * (static_cast<long long>(vCount) - 1), 0LL,
                   kMaxCells);
    // Room for the longest number and its comma each: the numbers run from the first to the
    // last unless they wrap, and then may take 11 characters ("-2147483648").
    const long long last = static_cast<long long>(start) + std::max(cells - 1, 0LL) * step;
    const bool wraps = last < INT32_MIN || last > INT32_MAX;
    const long long widest =
        wraps ? -static_cast<long long>(INT32_MIN)
              : std::max(std::abs(static_cast<long long>(start)), std::abs(last));
    qsizetype perNumber = (start < 0 || last < 0 || wraps ? 1 : 0) + 2; // sign, digit, comma
    for (long long rest = widest; rest >= 10; rest /= 10) {
        ++perNumber;
    }
    QString text(static_cast<qsizetype>(cells) * perNumber, Qt::Uninitialized);
    // 32-bit arithmetic that wraps, as the numbers always have.
    std::uint32_t value = static_cast<std::uint32_t>(start);
    // Written digit by digit straight into the text: a million numbers, each made a string
    // of its own first, cost a million allocations, and appending each, a tenth of the fill.
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (long long i = 0; i < cells; ++i) {
        const auto number = static_cast<std::int32_t>(value);
        auto magnitude = static_cast<std::uint32_t>(number < 0 ? 0U - value : value);
        if (number < 0) {
            *out++ = u'-';
        }
        int digits = 1;
        for (std::uint32_t rest = magnitude; rest >= 10; rest /= 10) {
            ++digits;
        }
        out += digits;
        char16_t* digit = out;
        // Two digits at a time: the divisions are most of the work.
        static constexpr auto kPairs = [] {
            std::array<char16_t, 200> pairs{};
            for (int k = 0; k < 100; ++k) {
                pairs[std::size_t(2 * k)] = char16_t(u'0' + k / 10);
                pairs[std::size_t(2 * k + 1)] = char16_t(u'0' + k % 10);
            }
            return pairs;
        }();
        while (magnitude >= 100) {
            const std::uint32_t pair = magnitude % 100;
            magnitude /= 100;
            *--digit = kPairs[2 * pair + 1];
            *--digit = kPairs[2 * pair];
        }
        if (magnitude >= 10) {
            *--digit = kPairs[2 * magnitude + 1];
            *--digit = kPairs[2 * magnitude];
        } else {
            *--digit = char16_t(u'0' + magnitude);
        }
        *out++ = u',';
        value += static_cast<std::uint32_t>(step);
    }
    text.truncate(out - reinterpret_cast<const char16_t*>(text.constData()));
    return text;
}

} // namespace koyomi::figures
