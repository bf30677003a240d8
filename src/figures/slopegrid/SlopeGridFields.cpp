#include "figures/slopegrid/SlopeGridFields.h"

namespace koyomi::figures {

using namespace slopegrid;

namespace {

using K = FieldKind;

constexpr Field kFields[] = {
    {.name = "SpinEdit28",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 1000,
     .value = 100,
     .tooltip = "斜めの線の間隔 (上の辺に沿って)",
     .reset = 1},
    {.name = "ComboBox27", .kind = K::LineKind, .tooltip = "線の種類", .reset = 1},
    {.name = "SpinEdit29",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .typedLength = 1,
     .tooltip = "線の太さ",
     .reset = 1},
    {.name = "ComboBox28", .kind = K::Color, .tooltip = "線の色", .reset = 1, .colorOrder = 16},
};

constexpr const char* kResets[] = {"slope1"};
constexpr auto kRecord = tableOrder<std::size(kFields)>();

} // namespace

const FigureFields& slopeGridFields()
{
    static const FigureFields table{kFields, kResets, kRecord};
    return table;
}

SlopeGridParams SlopeGridParams::defaults(bool whiteBackground)
{
    return slopeGridParams(FieldValues(slopeGridFields(), whiteBackground));
}

SlopeGridParams slopeGridParams(const Fields& f)
{
    SlopeGridParams p;
    p.spacing = f.value(Spacing);
    p.lineKind = f.index(LineKind);
    p.lineWidth = f.value(LineWidth);
    p.lineColor = f.index(LineColor);
    return p;
}

} // namespace koyomi::figures
