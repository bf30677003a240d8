#include "figures/clock/ClockFields.h"

namespace koyomi::figures {

using namespace clock;

namespace {

using K = FieldKind;

// Own handlers refill their own emptied text; the two shared handlers refill only the spin
// edit they are named after, whichever of their two changed. Copies take three typed
// characters at most, widths one.
constexpr Field kFields[] = {
    {.name = "SpinEdit71",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 1000,
     .value = 50,
     .tooltip = "文字盤の半径",
     .reset = 1},
    {.name = "ComboBox45",
     .kind = K::Items,
     .value = int(ClockCentre::Dot),
     .items = "なし|●|＋|×",
     .reset = 1},
    {.name = "SpinEdit57", .kind = K::Spin, .minimum = 1, .maximum = 20, .value = 1, .reset = 1},
    {.name = "ComboBox48",
     .kind = K::Items,
     .value = int(ClockGraduation::Inward),
     .items = "なし|●|┸|┰|╂",
     .reset = 1},
    {.name = "SpinEdit59",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 50,
     .value = 5,
     .tooltip = "時の目盛りの大きさ",
     .reset = 1,
     .handlerOf = MinuteMarkSize},
    {.name = "SpinEdit58",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 50,
     .value = 3,
     .tooltip = "分の目盛りの大きさ",
     .reset = 1},
    {.name = "ComboBox49", .kind = K::Items, .value = 1, .items = "なし|あり", .reset = 1},
    {.name = "SpinEdit65",
     .kind = K::Spin,
     .minimum = 10,
     .maximum = 100,
     .value = 10,
     .tooltip = "数字の大きさ (ポイント)、円からの距離 (ピクセル)",
     .reset = 1},
    {.name = "SpinEdit61",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit60",
     .kind = K::Spin,
     .minimum = 0,
     .maximum = 500,
     .value = 50,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit62",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit63",
     .kind = K::Spin,
     .minimum = 0,
     .maximum = 500,
     .value = 50,
     .typedLength = 3,
     .reset = 1},
    {.name = "ComboBox50", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit67",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .typedLength = 1,
     .reset = 2},
    {.name = "ComboBox51", .kind = K::Color, .reset = 2, .colorOrder = 26},
    {.name = "ComboBox54", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit68",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .typedLength = 1,
     .reset = 2},
    {.name = "ComboBox55", .kind = K::Color, .reset = 2, .colorOrder = 27},
    {.name = "ComboBox58", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit70",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .typedLength = 1,
     .reset = 2},
    {.name = "ComboBox59", .kind = K::Color, .reset = 2, .colorOrder = 28},
    {.name = "ComboBox47", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit64",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .typedLength = 1,
     .reset = 2,
     .handlerOf = MinuteWidth},
    {.name = "ComboBox52", .kind = K::Color, .reset = 2, .colorOrder = 30},
    {.name = "ComboBox60", .kind = K::Color, .reset = 2, .colorOrder = 29},
};

constexpr const char* kResets[] = {"clock1", "clock2"};
constexpr auto kRecord = tableOrder<std::size(kFields)>();

} // namespace

const FigureFields& clockFields()
{
    static const FigureFields table{kFields, kResets, kRecord};
    return table;
}

ClockParams ClockParams::defaults(bool whiteBackground)
{
    return clockParams(FieldValues(clockFields(), whiteBackground));
}

ClockParams clockParams(const Fields& f)
{
    ClockParams p;
    p.radius = f.value(Radius);
    p.centreMark = f.index(CentreMark);
    p.centreMarkSize = f.value(CentreMarkSize);
    p.graduationMark = f.index(GraduationMark);
    p.hourMarkSize = f.value(HourMarkSize);
    p.minuteMarkSize = f.value(MinuteMarkSize);
    p.numeralsShown = f.isOn(NumeralsShown);
    p.numeralSize = f.value(NumeralSize);
    p.countAcross = f.value(CountAcross);
    p.gapAcross = f.value(GapAcross);
    p.countDown = f.value(CountDown);
    p.gapDown = f.value(GapDown);
    p.circumference = f.line(CircumferenceKind, CircumferenceWidth, CircumferenceColor);
    p.centre = f.line(CentreKind, CentreWidth, CentreColor);
    p.minuteMarks = f.line(MinuteKind, MinuteWidth, MinuteColor);
    p.hourMarks = f.line(HourKind, HourWidth, HourColor);
    p.numeralColor = f.index(NumeralColor);
    return p;
}

} // namespace koyomi::figures
