// The slanted grid's settings: its fields, in record order, and its parameters.
#pragma once

#include "figures/Fields.h"
#include "figures/slopegrid/SlopeGrid.h"

namespace koyomi::figures {

namespace slopegrid {
enum Id : int
{
    Spacing,
    LineKind,
    LineWidth,
    LineColor
};
} // namespace slopegrid

const FigureFields& slopeGridFields();
SlopeGridParams slopeGridParams(const Fields& fields);

} // namespace koyomi::figures
