#include "figures/fractiontiles/FractionTilesFields.h"

namespace koyomi::figures {

using namespace fractiontiles;

namespace {

using K = FieldKind;

// The master rows copy what they are set to into the rows they govern.
constexpr int kAllKinds[] = {OutlineKind, TopKind,       BottomKind,     LeftKind,
                             RightKind,   DivisionsKind, HDivisionsKind, VDivisionsKind};
constexpr int kAllWidths[] = {OutlineWidth, TopWidth,       BottomWidth,     LeftWidth,
                              RightWidth,   DivisionsWidth, HDivisionsWidth, VDivisionsWidth};
constexpr int kAllColors[] = {OutlineColor, TopColor,       BottomColor,     LeftColor,
                              RightColor,   DivisionsColor, HDivisionsColor, VDivisionsColor};
constexpr int kOutlineKinds[] = {TopKind, BottomKind, LeftKind, RightKind};
constexpr int kOutlineWidths[] = {TopWidth, BottomWidth, LeftWidth, RightWidth};
constexpr int kOutlineColors[] = {TopColor, BottomColor, LeftColor, RightColor};
constexpr int kDivisionKinds[] = {HDivisionsKind, VDivisionsKind};
constexpr int kDivisionWidths[] = {HDivisionsWidth, VDivisionsWidth};
constexpr int kDivisionColors[] = {HDivisionsColor, VDivisionsColor};

// Every spin edit refills an emptied text with "1". Counts and gaps of the copies take three
// typed characters at most, the master width of every line one.
constexpr Field kFields[] = {
    {.name = "SpinEdit108",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 1000,
     .value = 150,
     .reset = 1},
    {.name = "SpinEdit101",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 1000,
     .value = 100,
     .reset = 1},
    {.name = "SpinEdit110",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit109",
     .kind = K::Spin,
     .minimum = 0,
     .maximum = 500,
     .value = 50,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit111",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 500,
     .value = 1,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit112",
     .kind = K::Spin,
     .minimum = 0,
     .maximum = 500,
     .value = 100,
     .typedLength = 3,
     .reset = 1},
    {.name = "SpinEdit115", .kind = K::Spin, .minimum = 1, .maximum = 1000, .value = 1, .reset = 1},
    {.name = "SpinEdit118",
     .kind = K::Spin,
     .minimum = -1000,
     .maximum = 1000,
     .value = 1,
     .reset = 1},
    {.name = "ComboBox90",
     .kind = K::Items,
     .value = int(TickSides::None),
     .items = "左|右|左右|上|下|上下|左右上下|なし",
     .tooltip = "目盛りを付ける辺",
     .reset = 1},
    {.name = "SpinEdit114",
     .kind = K::Spin,
     .minimum = 10,
     .maximum = 100,
     .value = 10,
     .reset = 1},
    {.name = "ComboBox88", .kind = K::LineKind, .reset = 2, .copiesInto = kAllKinds},
    {.name = "SpinEdit113",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .typedLength = 1,
     .reset = 2,
     .copiesInto = kAllWidths},
    {.name = "ComboBox89",
     .kind = K::Color,
     .reset = 2,
     .copiesInto = kAllColors,
     .colorOrder = 37},
    {.name = "ComboBox92", .kind = K::LineKind, .reset = 2, .copiesInto = kOutlineKinds},
    {.name = "SpinEdit116",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .reset = 2,
     .copiesInto = kOutlineWidths},
    {.name = "ComboBox93",
     .kind = K::Color,
     .reset = 2,
     .copiesInto = kOutlineColors,
     .colorOrder = 38},
    {.name = "ComboBox91", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit117", .kind = K::Spin, .minimum = 1, .maximum = 5, .value = 1, .reset = 2},
    {.name = "ComboBox94", .kind = K::Color, .reset = 2, .colorOrder = 39},
    {.name = "ComboBox95", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit119", .kind = K::Spin, .minimum = 1, .maximum = 5, .value = 1, .reset = 2},
    {.name = "ComboBox98", .kind = K::Color, .reset = 2, .colorOrder = 40},
    {.name = "ComboBox96", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit120", .kind = K::Spin, .minimum = 1, .maximum = 5, .value = 1, .reset = 2},
    {.name = "ComboBox99", .kind = K::Color, .reset = 2, .colorOrder = 41},
    {.name = "ComboBox97", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit121", .kind = K::Spin, .minimum = 1, .maximum = 5, .value = 1, .reset = 2},
    {.name = "ComboBox100", .kind = K::Color, .reset = 2, .colorOrder = 42},
    {.name = "ComboBox103", .kind = K::LineKind, .reset = 2, .copiesInto = kDivisionKinds},
    {.name = "SpinEdit122",
     .kind = K::Spin,
     .minimum = 1,
     .maximum = 5,
     .value = 1,
     .reset = 2,
     .copiesInto = kDivisionWidths},
    {.name = "ComboBox104",
     .kind = K::Color,
     .reset = 2,
     .copiesInto = kDivisionColors,
     .colorOrder = 43},
    {.name = "ComboBox101", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit123", .kind = K::Spin, .minimum = 1, .maximum = 5, .value = 1, .reset = 2},
    {.name = "ComboBox105", .kind = K::Color, .reset = 2, .colorOrder = 44},
    {.name = "ComboBox102", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit124", .kind = K::Spin, .minimum = 1, .maximum = 5, .value = 1, .reset = 2},
    {.name = "ComboBox106", .kind = K::Color, .reset = 2, .colorOrder = 45},
    {.name = "ComboBox107", .kind = K::LineKind, .reset = 2},
    {.name = "SpinEdit125", .kind = K::Spin, .minimum = 1, .maximum = 5, .value = 1, .reset = 2},
    {.name = "ComboBox108", .kind = K::Color, .reset = 2, .colorOrder = 46},
};

constexpr const char* kResets[] = {"Image63", "Image78"};
constexpr auto kRecord = tableOrder<std::size(kFields)>();

} // namespace

const FigureFields& fractionTilesFields()
{
    static const FigureFields table{kFields, kResets, kRecord};
    return table;
}

FractionTilesParams FractionTilesParams::defaults(bool whiteBackground)
{
    return fractionTilesParams(FieldValues(fractionTilesFields(), whiteBackground));
}

FractionTilesParams fractionTilesParams(const Fields& f)
{
    FractionTilesParams p;
    p.tileHeight = f.value(TileHeight);
    p.tileWidth = f.value(TileWidth);
    p.countAcross = f.value(CountAcross);
    p.gapAcross = f.value(GapAcross);
    p.countDown = f.value(CountDown);
    p.gapDown = f.value(GapDown);
    p.partsDown = f.value(PartsDown);
    p.partsAcross = f.value(PartsAcross);
    p.tickPosition = f.index(TickPosition);
    // A tick length that is not an integer reads as the field's minimum, like every field.
    p.tickLength = f.value(TickLength);
    p.topSide = f.line(TopKind, TopWidth, TopColor);
    p.bottomSide = f.line(BottomKind, BottomWidth, BottomColor);
    p.leftSide = f.line(LeftKind, LeftWidth, LeftColor);
    p.rightSide = f.line(RightKind, RightWidth, RightColor);
    p.hDivisions = f.line(HDivisionsKind, HDivisionsWidth, HDivisionsColor);
    p.vDivisions = f.line(VDivisionsKind, VDivisionsWidth, VDivisionsColor);
    p.ticks = f.line(TicksKind, TicksWidth, TicksColor);
    return p;
}

} // namespace koyomi::figures
