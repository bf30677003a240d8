// The small pictures beside the rows of the figure pages, drawn by code.
#pragma once

#include <QLabel>
#include <QPixmap>

namespace koyomi::widgets {

enum class RowPicture
{
    Cross,         // both directions
    HorizontalBar, // one horizontal line
    VerticalBar,   // one vertical line
    BoxesAcross,   // three boxes side by side
    BoxesDown,     // three boxes stacked
    WholeGrid,     // every line
    OuterSquare,   // the four sides
    TopSide,
    BottomSide,
    LeftSide,
    RightSide,
    InnerCross, // the inner lines
    RisingDiagonal,
    FallingDiagonal,
    HorizontalLines, // emphasised rows
    VerticalLines,
    Text,        // labels
    SlantedGrid, // vertical lines and lines at 30° both ways
    Circle,      // a circumference
    Dot,         // a centre mark
    Graduations, // ticks on an arc
    Rings,       // concentric circles
    Spokes,      // lines from a centre
};

QPixmap rowPicture(RowPicture picture);

// A label showing a row picture, with an optional hint.
QLabel* rowPictureLabel(RowPicture picture, QWidget* parent, const QString& hint = {});

} // namespace koyomi::widgets
