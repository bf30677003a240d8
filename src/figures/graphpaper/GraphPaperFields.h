// The graph paper's settings: its fields, in record order, the master rows, the label
// generator, and its parameters.
#pragma once

#include "figures/Fields.h"
#include "figures/graphpaper/GraphPaper.h"

#include <QSize>

namespace koyomi::figures {

namespace graphpaper {
enum Id : int
{
    BothCounts, // the master rows of the geometry: both counts, both spacings
    BothSpacings,
    HCount,
    HSpacing,
    VCount,
    VSpacing,
    CountAcross,
    GapAcross,
    CountDown,
    GapDown,
    AllKind, // the master rows of the lines: all lines, the outline, the inner lines
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
    InnerKind,
    InnerWidth,
    InnerColor,
    InnerHKind,
    InnerHWidth,
    InnerHColor,
    InnerVKind,
    InnerVWidth,
    InnerVColor,
    RisingKind,
    RisingWidth,
    RisingColor,
    FallingKind,
    FallingWidth,
    FallingColor,
    Emphasis1On, // four emphasis rows of five fields each: on, skip, kind, width, colour
    Emphasis1Skip,
    Emphasis1Kind,
    Emphasis1Width,
    Emphasis1Color,
    Emphasis4Color = Emphasis1Color + 15,
    NumbersOn,
    NumberStart,
    NumberStep,
    NumberSize,
    NumberColor,
    Labels,
};
// The fields of emphasis row r (0 … 3): Emphasis1On + kEmphasisFields * r + one of these.
inline constexpr int kEmphasisFields = 5;
} // namespace graphpaper

const FigureFields& graphPaperFields();
GraphPaperParams graphPaperParams(const Fields& fields);
// A cell: the spacing of the vertical lines across, of the horizontal lines down.
QSize graphPaperCell(const Fields& fields);

// The label text the generator makes: start, start + step, … one per cell of a block of
// hCount × vCount lines, each followed by a comma, in 32-bit arithmetic that wraps.
QString graphPaperNumbers(int start, int step, int hCount, int vCount);

} // namespace koyomi::figures
