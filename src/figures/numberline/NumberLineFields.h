// The number line's settings: its fields and record, and its parameters.
#pragma once

#include "figures/Fields.h"
#include "figures/numberline/NumberLine.h"

namespace koyomi::figures {

namespace numberline {
enum Id : int
{
    TickCount,
    TickSpacing,
    CountAcross,
    GapAcross,
    CountDown,
    GapDown,
    AxisKind,
    AxisWidth,
    AxisColor,
    AxisExtended,
    TickShape,
    TickLength,
    TickKind,
    TickWidth,
    TickColor,
    LabelsOn,
    LabelsBelow,
    LabelStart,
    LabelStep,
    LabelScale,
    LabelSize,
    LabelColor,
    Unit,
    PlusSign,
    Sub1Count,
    Sub1Length,
    Sub1Kind,
    Sub1Width,
    Sub1Color,
    Sub2Count,
    Sub2Length,
    Sub2Kind,
    Sub2Width,
    Sub2Color,
};
} // namespace numberline

const FigureFields& numberLineFields();
NumberLineParams numberLineParams(const Fields& fields);

} // namespace koyomi::figures
