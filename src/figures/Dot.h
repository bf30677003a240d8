// A filled dot of the figures (clock and circle marks, centre marks): the canvas's own
// ellipse, filled with the dot's colour and bordered in it too, one pixel wide in the pen
// style of the line kind ("なし" leaves the border out). The border never takes a colour an
// earlier drawing left on the canvas.
#pragma once

#include "render/Canvas.h"
#include "render/Palette.h"

namespace koyomi::figures {

// The pen and brush a dot leaves behind, set by a dot whether or not the window shows it: a
// colour left unnamed after it takes the same colour wherever the window is.
inline void leaveDotState(render::Canvas& c, render::ColorRef color, int lineKind)
{
    render::Pen pen = c.pen();
    pen.color = color;
    pen.style = render::lineStylePen(lineKind, pen.style);
    pen.width = 1;
    pen.geometric = false;
    c.setPen(pen);
    c.setBrush(render::Brush{color, true});
}

inline void filledDot(render::Canvas& c, int x1, int y1, int x2, int y2, render::ColorRef color,
                      int lineKind)
{
    leaveDotState(c, color, lineKind);
    c.setBrush(render::Brush{color, false});
    c.ellipse(x1, y1, x2, y2);
    c.setBrushClear(true);
}

} // namespace koyomi::figures
