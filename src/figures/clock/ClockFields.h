// The clock's settings: its fields, in record order, and its parameters.
#pragma once

#include "figures/Fields.h"
#include "figures/clock/Clock.h"

namespace koyomi::figures {

namespace clock {
enum Id : int
{
    Radius,
    CentreMark,
    CentreMarkSize,
    GraduationMark,
    HourMarkSize,
    MinuteMarkSize,
    NumeralsShown,
    NumeralSize,
    CountAcross,
    GapAcross,
    CountDown,
    GapDown,
    CircumferenceKind,
    CircumferenceWidth,
    CircumferenceColor,
    CentreKind,
    CentreWidth,
    CentreColor,
    MinuteKind,
    MinuteWidth,
    MinuteColor,
    HourKind,
    HourWidth,
    HourColor,
    NumeralColor,
};
} // namespace clock

const FigureFields& clockFields();
ClockParams clockParams(const Fields& fields);

} // namespace koyomi::figures
