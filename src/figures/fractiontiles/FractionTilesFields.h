// The fraction tiles' settings: their fields, in record order, and their parameters.
#pragma once

#include "figures/Fields.h"
#include "figures/fractiontiles/FractionTiles.h"

namespace koyomi::figures {

namespace fractiontiles {
enum Id : int
{
    TileHeight,
    TileWidth,
    CountAcross,
    GapAcross,
    CountDown,
    GapDown,
    PartsDown,
    PartsAcross,
    TickPosition,
    TickLength,
    AllKind, // the master rows: all lines, the outline and the divisions
    AllWidth,
    AllColor,
    OutlineKind,
    OutlineWidth,
    OutlineColor,
    TopKind,
    TopWidth,
    TopColor,
    BottomKind,
    BottomWidth,
    BottomColor,
    LeftKind,
    LeftWidth,
    LeftColor,
    RightKind,
    RightWidth,
    RightColor,
    DivisionsKind,
    DivisionsWidth,
    DivisionsColor,
    HDivisionsKind,
    HDivisionsWidth,
    HDivisionsColor,
    VDivisionsKind,
    VDivisionsWidth,
    VDivisionsColor,
    TicksKind,
    TicksWidth,
    TicksColor,
};
} // namespace fractiontiles

const FigureFields& fractionTilesFields();
FractionTilesParams fractionTilesParams(const Fields& fields);

} // namespace koyomi::figures
