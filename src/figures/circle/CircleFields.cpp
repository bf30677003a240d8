#include "figures/circle/CircleFields.h"

namespace koyomi::figures {

using namespace circle;

namespace {

using K = FieldKind;

// Widths of the line rows take one typed character; counts and gaps of the copies and the
// sub-divisions' divisions three. Spin edits of the shape and line panels refill an emptied
// text (the gaps with "0"); the step has no handler of its own and runs the number size's,
// which refills only the size; the sub-division spin edits only draw. The step keeps what
// the teacher set through a reset; the sub-division sizes are reset to 1, not the 5 a fresh
// page starts with.
constexpr Field kFields[] = {
    {.name = "SpinEdit49",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 1000,
     .value = 50,
     .tooltip = "円の半径",
     .reset = 1},
    {.name = "SpinEdit50",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 20,
     .value = 1,
     .tooltip = "半径を等分する数 (内側の円は一つ少ない)",
     .reset = 1},
    {.name = "ComboBox31",
     .kind = K::Items,
     .items = "なし|●|＋|×",
     .tooltip = "中心の印の形",
     .reset = 1},
    {.name = "SpinEdit41",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 20,
     .value = 1,
     .tooltip = "中心の印の大きさ",
     .reset = 1},
    {.name = "SpinEdit43",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 50,
     .value = 1,
     .tooltip = "一周を等分する数",
     .reset = 1},
    {.name = "ComboBox32",
     .kind = K::Items,
     .items = "↑|→|↓|←",
     .tooltip = "最初の分割の向き (上・右・下・左から時計回り)",
     .reset = 1},
    {.name = "ComboBox33",
     .kind = K::Items,
     .items = "なし|●|┸|┰|╂",
     .tooltip = "周上の印の形 (細かい目盛りも同じ形)",
     .reset = 1},
    {.name = "SpinEdit42",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 50,
     .value = 3,
     .tooltip = "周上の印の大きさ",
     .reset = 1},
    {.name = "ComboBox44",
     .kind = K::Items,
     .items = "なし|あり",
     .tooltip = "分割に数字を書くか",
     .reset = 1},
    {.name = "SpinEdit55",
     .kind = K::Spin,
     .minimum = 0,
     .maximum = 50,
     .value = 1,
     .tooltip = "最初の分割に書く数字",
     .reset = 1},
    {.name = "SpinEdit56",
     .kind = K::Spin,
     .minimum = 10,
     .maximum = 100,
     .value = 10,
     .tooltip = "数字の大きさ (ポイント)、円からの距離 (ピクセル)",
     .reset = 1},
    {.name = "SpinEdit96",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 10000,
     .value = 1,
     .tooltip = "次の数字までの増え方",
     .handlerOf = NumberSize},
    {.name = "SpinEdit46",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .tooltip = "横に並べる個数",
     .reset = 1},
    {.name = "SpinEdit45",
     .kind = K::Spin,
     .minimum = 0,
     .maximum = 500,
     .value = 50,
     .typedLength = 3,
     .tooltip = "横に並べる円の間隔",
     .reset = 1,
     .refill = "0"},
    {.name = "SpinEdit47",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .tooltip = "縦に並べる個数",
     .reset = 1},
    {.name = "SpinEdit48",
     .kind = K::Spin,
     .minimum = 0,
     .maximum = 500,
     .value = 50,
     .typedLength = 3,
     .tooltip = "縦に並べる円の間隔",
     .reset = 1,
     .refill = "0"},
    {.name = "ComboBox34", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit51",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .typedLength = 1,
     .reset = 2},
    {.name = "ComboBox39", .kind = K::Color, .reset = 2, .colorOrder = 20},
    {.name = "ComboBox35", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit44",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .typedLength = 1,
     .reset = 2},
    {.name = "ComboBox36", .kind = K::Color, .reset = 2, .colorOrder = 18},
    {.name = "ComboBox37", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit52",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .typedLength = 1,
     .reset = 2},
    {.name = "ComboBox38", .kind = K::Color, .reset = 2, .colorOrder = 19},
    {.name = "ComboBox40", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit53",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .typedLength = 1,
     .reset = 2},
    {.name = "ComboBox41", .kind = K::Color, .reset = 2, .colorOrder = 21},
    {.name = "ComboBox42", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit54",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .typedLength = 1,
     .reset = 2},
    {.name = "ComboBox43", .kind = K::Color, .reset = 2, .colorOrder = 22},
    {.name = "ComboBox46", .kind = K::Color, .reset = 2, .colorOrder = 23},
    {.name = "SpinEdit90",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .tooltip = "一つの分割をさらに分ける数",
     .reset = 3,
     .refill = nullptr},
    {.name = "SpinEdit91",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 1000,
     .value = 5,
     .tooltip = "細かい目盛りの大きさ",
     .reset = 3,
     .resetValue = 1,
     .refill = nullptr},
    {.name = "ComboBox78", .kind = K::LineKind, .reset = 3},
    {.name = "SpinEdit92",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .reset = 3,
     .refill = nullptr},
    {.name = "ComboBox79", .kind = K::Color, .reset = 3, .colorOrder = 24},
    {.name = "SpinEdit93",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .tooltip = "一つの分割をさらに分ける数",
     .reset = 3,
     .refill = nullptr},
    {.name = "SpinEdit95",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 1000,
     .value = 5,
     .tooltip = "細かい目盛りの大きさ",
     .reset = 3,
     .resetValue = 1,
     .refill = nullptr},
    {.name = "ComboBox80", .kind = K::LineKind, .reset = 3},
    {.name = "SpinEdit94",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .reset = 3,
     .refill = nullptr},
    {.name = "ComboBox81", .kind = K::Color, .reset = 3, .colorOrder = 25},
};

constexpr const char* kResets[] = {"Oval1", "Oval2", "Image54"};

constexpr auto kRecord = tableOrder<std::size(kFields)>();

} // namespace

const FigureFields& circleFields()
{
    static const FigureFields table{kFields, kResets, kRecord};
    return table;
}

CircleParams CircleParams::defaults(bool whiteBackground)
{
    return circleParams(FieldValues(circleFields(), whiteBackground));
}

CircleParams circleParams(const Fields& f)
{
    CircleParams p;
    p.radius = f.value(Radius);
    p.ringDivision = f.value(RingDivision);
    p.centreMark = f.index(CentreMark);
    p.centreMarkSize = f.value(CentreMarkSize);
    p.divisions = f.value(Divisions);
    p.startPosition = f.index(StartPosition);
    p.edgeMark = f.index(EdgeMark);
    p.edgeMarkSize = f.value(EdgeMarkSize);
    p.numbersShown = f.isOn(NumbersShown);
    p.firstNumber = f.value(FirstNumber);
    p.numberSize = f.value(NumberSize);
    p.numberStep = f.value(NumberStep);
    p.countAcross = f.value(CountAcross);
    p.gapAcross = f.value(GapAcross);
    p.countDown = f.value(CountDown);
    p.gapDown = f.value(GapDown);
    p.circumference = f.line(CircumferenceKind, CircumferenceWidth, CircumferenceColor);
    p.rings = f.line(RingsKind, RingsWidth, RingsColor);
    p.centre = f.line(CentreKind, CentreWidth, CentreColor);
    p.divisionLines = f.line(SpokesKind, SpokesWidth, SpokesColor);
    p.edgeMarks = f.line(EdgeMarksKind, EdgeMarksWidth, EdgeMarksColor);
    p.numberColor = f.index(NumberColor);
    p.sub1 = {f.value(Sub1Division), f.value(Sub1Size), f.line(Sub1Kind, Sub1Width, Sub1Color)};
    p.sub2 = {f.value(Sub2Division), f.value(Sub2Size), f.line(Sub2Kind, Sub2Width, Sub2Color)};
    return p;
}

} // namespace koyomi::figures
