#include "figures/grid/GridFields.h"

#include "figures/Record.h"
#include "figures/Rounding.h"

#include <algorithm>
#include <climits>

namespace koyomi::figures {

using namespace grid;

namespace {

using K = FieldKind;

constexpr int kBothCounts[] = {RowCount, ColumnCount};

// The block counts and gaps take at most three typed characters, the mark size one (its
// buttons go up to the maximum). Every spin edit refills an emptied text with "1".
constexpr Field kFields[] = {
    {.name = "SpinEdit38",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 1000,
     .value = 10,
     .tooltip = "行と列の点の数をまとめて設定",
     .reset = 1,
     .copiesInto = kBothCounts},
    {.name = "SpinEdit39",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 1000,
     .value = 50,
     .tooltip = "上下と左右の間隔をまとめて設定",
     .reset = 1},
    {.name = "SpinEdit32", .kind = K::Spin, .minimum = 1, .maximum = 1000, .value = 10, .reset = 1},
    {.name = "SpinEdit30", .kind = K::Spin, .minimum = 1, .maximum = 1000, .value = 50, .reset = 1},
    {.name = "SpinEdit33", .kind = K::Spin, .minimum = 1, .maximum = 1000, .value = 10, .reset = 1},
    {.name = "SpinEdit31", .kind = K::Spin, .minimum = 1, .maximum = 1000, .value = 50, .reset = 1},
    {.name = "SpinEdit35",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit34",
     .kind = K::Spin,
     .minimum = 0,
     .maximum = 500,
     .value = 10,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit36",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit37",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 10,
     .typedLength = 3,
     .reset = 1},
    {.name = "ComboBox29",
     .kind = K::Items,
     .value = int(GridMark::Hollow),
     .items = "○|●|＋|×|なし",
     .tooltip = "点の形",
     .reset = 2},
    {.name = "SpinEdit40",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 1000,
     .value = 1,
     .typedLength = 1,
     .tooltip = "点の大きさ (半径)",
     .reset = 2},
    {.name = "ComboBox30", .kind = K::Color, .tooltip = "点の色", .reset = 2, .colorOrder = 17},
    {.name = "ComboBox62",
     .kind = K::Items,
     .items = "なし|あり",
     .tooltip = "ます目の中心にも点を打つ",
     .reset = 2},
    {.name = "CheckBox5",
     .kind = K::Check,
     .caption = "正三角形",
     .tooltip = "上下の間隔を左右の間隔の√3倍に保つ",
     .reset = 2},
};

constexpr const char* kResets[] = {"grid1", "grid2"};
constexpr auto kRecord = tableOrder<std::size(kFields)>();

// A spacing as the field can hold it.
QString spacing(long double v)
{
    return QString::number(int(std::clamp<long long>(roundHalfEven(v), INT_MIN, INT_MAX)));
}

// With the equilateral box ticked, the vertical spacing stays √3 times the horizontal one:
// setting either sets the other. Both spacings at once set the vertical one, and the
// horizontal one follows it, or, unticked, takes the same text.
void spacingsChanged(Fields& f, int field)
{
    const bool coupled = f.isOn(Equilateral);
    switch (field) {
    case BothSpacings:
        f.setText(RowSpacing, f.text(BothSpacings));
        f.setText(ColumnSpacing, coupled ? spacing(toInteger(f.text(BothSpacings)) / kRootThree)
                                         : f.text(BothSpacings));
        break;
    case RowSpacing:
        if (coupled) {
            f.setText(ColumnSpacing, spacing(toInteger(f.text(RowSpacing)) / kRootThree));
        }
        break;
    case ColumnSpacing:
        if (coupled) {
            f.setText(RowSpacing, spacing(toInteger(f.text(ColumnSpacing)) * kRootThree));
        }
        break;
    case Equilateral:
        if (coupled) {
            f.setText(ColumnSpacing, spacing(toInteger(f.text(RowSpacing)) / kRootThree));
        }
        break;
    default:
        break;
    }
}

} // namespace

const FigureFields& gridFields()
{
    // The box is read first, so that the spacings come back as they were saved rather than
    // coupled by whatever it showed before.
    static const FigureFields table{.fields = kFields,
                                    .resets = kResets,
                                    .record = kRecord,
                                    .readFirst = Equilateral,
                                    .changed = spacingsChanged};
    return table;
}

GridParams GridParams::defaults(bool whiteBackground)
{
    return gridParams(FieldValues(gridFields(), whiteBackground));
}

GridParams gridParams(const Fields& f)
{
    GridParams p;
    p.rowCount = f.value(RowCount);
    p.rowSpacing = f.value(RowSpacing);
    p.columnCount = f.value(ColumnCount);
    p.columnSpacing = f.value(ColumnSpacing);
    p.countAcross = f.value(CountAcross);
    p.gapAcross = f.value(GapAcross);
    p.countDown = f.value(CountDown);
    p.gapDown = f.value(GapDown);
    p.markShape = f.index(MarkShape);
    p.markSize = f.value(MarkSize);
    p.markColor = f.index(MarkColor);
    p.centreMarksOn = f.isOn(CentreMarks);
    return p;
}

} // namespace koyomi::figures
