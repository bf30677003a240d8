// The tawara pile's settings: its fields, in record order, and its parameters.
#pragma once

#include "figures/Fields.h"
#include "figures/tawara/Tawara.h"

namespace koyomi::figures {

namespace tawara {
enum Id : int
{
    PieceSize,
    PieceShape,
    RowCount,
    Orientation,
    LineKind,
    LineWidth,
    LineColor,
    CountAcross,
    GapAcross,
    CountDown,
    GapDown,
};
} // namespace tawara

const FigureFields& tawaraFields();
TawaraParams tawaraParams(const Fields& fields);

} // namespace koyomi::figures
