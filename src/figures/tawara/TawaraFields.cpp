#include "figures/tawara/TawaraFields.h"

namespace koyomi::figures {

using namespace tawara;

namespace {

using K = FieldKind;

// Every spin edit, the gaps too, refills an emptied text with "1"; the counts and gaps take
// at most three typed characters.
constexpr Field kFields[] = {
    {.name = "SpinEdit102",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 100,
     .value = 30,
     .tooltip = "円の半径 (正方形は辺の半分)",
     .reset = 1},
    {.name = "ComboBox84", .kind = K::Items, .items = "○|□", .tooltip = "俵の形", .reset = 1},
    {.name = "SpinEdit107",
     .kind = K::Spin,
     .minimum = 0,
     .maximum = 50,
     .value = 2,
     .tooltip = "段の数 (r 段目に r 個)",
     .reset = 1},
    {.name = "ComboBox87",
     .kind = K::Items,
     .items = "△|▽",
     .tooltip = "頂点を上に (△) または下に (▽)",
     .reset = 1},
    {.name = "ComboBox85", .kind = K::LineKind, .tooltip = "輪郭の線の種類", .reset = 1},
    {.name = "SpinEdit100",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .tooltip = "輪郭の線の太さ",
     .reset = 1},
    {.name = "ComboBox86",
     .kind = K::Color,
     .tooltip = "輪郭の線の色",
     .reset = 1,
     .colorOrder = 36},
    {.name = "SpinEdit104",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit103",
     .kind = K::Spin,
     .minimum = 0,
     .maximum = 500,
     .value = 150,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit105",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit106",
     .kind = K::Spin,
     .minimum = 0,
     .maximum = 500,
     .value = 150,
     .typedLength = 3,
     .reset = 1},
};

constexpr const char* kResets[] = {"Tawara1"};
constexpr auto kRecord = tableOrder<std::size(kFields)>();

} // namespace

const FigureFields& tawaraFields()
{
    static const FigureFields table{kFields, kResets, kRecord};
    return table;
}

TawaraParams TawaraParams::defaults(bool whiteBackground)
{
    return tawaraParams(FieldValues(tawaraFields(), whiteBackground));
}

TawaraParams tawaraParams(const Fields& f)
{
    TawaraParams p;
    p.pieceSize = f.value(PieceSize);
    p.pieceShape = f.index(PieceShape);
    p.rowCount = f.value(RowCount);
    p.orientation = f.index(Orientation);
    p.countAcross = f.value(CountAcross);
    p.gapAcross = f.value(GapAcross);
    p.countDown = f.value(CountDown);
    p.gapDown = f.value(GapDown);
    p.lineKind = f.index(LineKind);
    p.lineWidth = f.value(LineWidth);
    p.lineColor = f.index(LineColor);
    return p;
}

} // namespace koyomi::figures
