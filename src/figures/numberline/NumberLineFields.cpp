#include "figures/numberline/NumberLineFields.h"

#include <iterator>

namespace koyomi::figures {

using namespace numberline;

namespace {

using K = FieldKind;

// Own handlers refill their own emptied text; the sub-division spin edits share another
// one's handler and only draw, an emptied one counting as its minimum. Counts and gaps of
// the copies and of the sub-divisions take three typed characters, the line's and main
// ticks' widths one. The vertical gap is reset to 50, not the 100 of a fresh page.
constexpr Field kFields[] = {
    {.name = "SpinEdit72", .kind = K::Spin, .minimum = 1, .maximum = 1000, .value = 10, .reset = 1},
    {.name = "SpinEdit66", .kind = K::Spin, .minimum = 1, .maximum = 1000, .value = 50, .reset = 1},
    {.name = "SpinEdit75",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit74",
     .kind = K::Spin,
     .minimum = 0,
     .maximum = 500,
     .value = 50,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit76",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit77",
     .kind = K::Spin,
     .minimum = 0,
     .maximum = 500,
     .value = 100,
     .typedLength = 3,
     .reset = 1,
     .resetValue = 50},
    {.name = "ComboBox69", .kind = K::LineKind, .reset = 1},
    {.name = "SpinEdit80",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .typedLength = 1,
     .reset = 1},
    {.name = "ComboBox68", .kind = K::Color, .reset = 1, .colorOrder = 32},
    {.name = "ComboBox66", .kind = K::Items, .items = "なし|あり", .reset = 1},
    {.name = "ComboBox65", .kind = K::Items, .items = "┸|┰|╂|●", .reset = 1},
    {.name = "SpinEdit73", .kind = K::Spin, .minimum = 1, .maximum = 1000, .value = 10, .reset = 1},
    {.name = "ComboBox63", .kind = K::LineKind, .reset = 1},
    {.name = "SpinEdit83",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .typedLength = 1,
     .reset = 1},
    {.name = "ComboBox64", .kind = K::Color, .reset = 1, .colorOrder = 31},
    {.name = "ComboBox67", .kind = K::Items, .items = "なし|あり", .reset = 1},
    {.name = "ComboBox71", .kind = K::Items, .items = "↑|↓", .reset = 1},
    {.name = "SpinEdit78",
     .kind = K::Spin,
     .minimum = -100000,
     .maximum = 100000,
     .value = 1,
     .reset = 1},
    {.name = "SpinEdit81",
     .kind = K::Spin,
     .minimum = -1000,
     .maximum = 1000,
     .value = 1,
     .reset = 1},
    {.name = "ComboBox77",
     .kind = K::Items,
     .items = "なし|10分の1|100分の1|1000分の1|10000分の1",
     .reset = 1},
    {.name = "SpinEdit79", .kind = K::Spin, .minimum = 10, .maximum = 100, .value = 10, .reset = 1},
    {.name = "ComboBox70", .kind = K::Color, .reset = 1, .colorOrder = 33},
    {.name = "Edit1", .kind = K::Text, .tooltip = "0 以外の数字の後に付ける単位", .reset = 1},
    {.name = "ComboBox72", .kind = K::Items, .items = "なし|あり", .reset = 1},
    {.name = "SpinEdit82",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .reset = 2,
     .refill = nullptr},
    {.name = "SpinEdit69",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 1000,
     .value = 5,
     .reset = 2,
     .refill = nullptr},
    {.name = "ComboBox73", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit84",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .reset = 2,
     .refill = nullptr},
    {.name = "ComboBox74", .kind = K::Color, .reset = 2, .colorOrder = 34},
    {.name = "SpinEdit85",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .reset = 2,
     .refill = nullptr},
    {.name = "SpinEdit87",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 1000,
     .value = 5,
     .reset = 2,
     .refill = nullptr},
    {.name = "ComboBox75", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit86",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .reset = 2,
     .refill = nullptr},
    {.name = "ComboBox76", .kind = K::Color, .reset = 2, .colorOrder = 35},
};

constexpr const char* kResets[] = {"line1", "line2"};

// The tick count is written twice. The plus sign follows the items every record has, so
// that a record without it reads as it always did: with the sign off.
constexpr int kRecord[] = {
    TickCount, TickSpacing, CountAcross,  GapAcross,  CountDown,  GapDown,    AxisKind,
    AxisWidth, AxisColor,   AxisExtended, TickShape,  TickLength, TickKind,   TickWidth,
    TickColor, LabelsOn,    LabelsBelow,  LabelStart, LabelStep,  LabelScale, TickCount,
    LabelSize, LabelColor,  Unit,         Sub1Count,  Sub1Length, Sub1Kind,   Sub1Width,
    Sub1Color, Sub2Count,   Sub2Length,   Sub2Kind,   Sub2Width,  Sub2Color,  PlusSign,
};

} // namespace

const FigureFields& numberLineFields()
{
    static const FigureFields table{.fields = kFields,
                                    .resets = kResets,
                                    .record = kRecord,
                                    .defaultsWhenMissingFrom = int(std::size(kRecord)) - 1};
    return table;
}

NumberLineParams NumberLineParams::defaults(bool whiteBackground)
{
    return numberLineParams(FieldValues(numberLineFields(), whiteBackground));
}

NumberLineParams numberLineParams(const Fields& f)
{
    NumberLineParams p;
    p.tickCount = f.value(TickCount);
    p.tickSpacing = f.value(TickSpacing);
    p.countAcross = f.value(CountAcross);
    p.gapAcross = f.value(GapAcross);
    p.countDown = f.value(CountDown);
    p.gapDown = f.value(GapDown);
    p.axis = f.line(AxisKind, AxisWidth, AxisColor);
    p.axisExtended = f.isOn(AxisExtended);
    p.tickShape = f.index(TickShape);
    p.tickLength = f.value(TickLength);
    p.ticks = f.line(TickKind, TickWidth, TickColor);
    p.labelsOn = f.isOn(LabelsOn);
    p.labelsBelow = f.isOn(LabelsBelow);
    p.labelStart = f.value(LabelStart);
    p.labelStep = f.value(LabelStep);
    p.labelScale = f.index(LabelScale);
    p.labelPlusSign = f.isOn(PlusSign);
    p.labelSize = f.value(LabelSize);
    p.labelColor = f.index(LabelColor);
    p.labelUnit = f.text(Unit);
    p.sub1Count = f.value(Sub1Count);
    p.sub1Length = f.value(Sub1Length);
    p.sub1 = f.line(Sub1Kind, Sub1Width, Sub1Color);
    p.sub2Count = f.value(Sub2Count);
    p.sub2Length = f.value(Sub2Length);
    p.sub2 = f.line(Sub2Kind, Sub2Width, Sub2Color);
    return p;
}

} // namespace koyomi::figures
