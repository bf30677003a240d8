// The circle's settings: its fields, in record order, and its parameters read from them.
#pragma once

#include "figures/Fields.h"
#include "figures/circle/Circle.h"

namespace koyomi::figures {

namespace circle {
enum Id : int
{
    Radius,
    RingDivision,
    CentreMark,
    CentreMarkSize,
    Divisions,
    StartPosition,
    EdgeMark,
    EdgeMarkSize,
    NumbersShown,
    FirstNumber,
    NumberSize,
    NumberStep,
    CountAcross,
    GapAcross,
    CountDown,
    GapDown,
    CircumferenceKind,
    CircumferenceWidth,
    CircumferenceColor,
    RingsKind,
    RingsWidth,
    RingsColor,
    CentreKind,
    CentreWidth,
    CentreColor,
    SpokesKind,
    SpokesWidth,
    SpokesColor,
    EdgeMarksKind,
    EdgeMarksWidth,
    EdgeMarksColor,
    NumberColor,
    Sub1Division,
    Sub1Size,
    Sub1Kind,
    Sub1Width,
    Sub1Color,
    Sub2Division,
    Sub2Size,
    Sub2Kind,
    Sub2Width,
    Sub2Color,
};
} // namespace circle

const FigureFields& circleFields();
CircleParams circleParams(const Fields& fields);

} // namespace koyomi::figures
