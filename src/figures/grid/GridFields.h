// The grid's settings: its fields, in record order, the equilateral coupling of its spacings,
// and its parameters.
#pragma once

#include "figures/Fields.h"
#include "figures/grid/Grid.h"

namespace koyomi::figures {

namespace grid {
enum Id : int
{
    BothCounts, // the master rows: both counts, both spacings
    BothSpacings,
    RowCount,
    RowSpacing,
    ColumnCount,
    ColumnSpacing,
    CountAcross,
    GapAcross,
    CountDown,
    GapDown,
    MarkShape,
    MarkSize,
    MarkColor,
    CentreMarks,
    Equilateral,
};
} // namespace grid

const FigureFields& gridFields();
GridParams gridParams(const Fields& fields);

} // namespace koyomi::figures
