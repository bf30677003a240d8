// Strokes of the round figures (clock faces, circles): which line kinds draw, and a straight
// stroke between two points of any size.
#pragma once

#include "figures/LineSetting.h"
#include "figures/RadialPoint.h"
#include "figures/Visible.h"
#include "render/Palette.h"
#include "render/PathUtils.h"

#include <array>
#include <cstdlib>

namespace koyomi::figures {

// Line kinds that draw: "実線" to "二点鎖線". "なし" and no selection draw nothing.
inline bool drawsKind(const LineSetting& line)
{
    return line.kind >= 0 && line.kind < render::kNoLineIndex;
}

// The stroke from a to b in the line's kind and width and the given colour; left out when
// it cannot reach the canvas or an end lies beyond the canvas's coordinates.
inline void strokeBetween(render::Canvas& c, WidePoint a, WidePoint b, const LineSetting& line,
                          render::ColorRef color)
{
    const i64 margin = render::strokeReach(line.width);
    if (!drawsKind(line) || outsideCanvas(c, a.x, a.y, b.x, b.y, margin) || !fitsInt(a.x) ||
        !fitsInt(a.y) || !fitsInt(b.x) || !fitsInt(b.y)) {
        return;
    }
    const std::array<QPoint, 2> points{QPoint(int(a.x), int(a.y)), QPoint(int(b.x), int(b.y))};
    render::DashedPolyline(points, c, color, line.width, render::lineStylePattern(line.kind), true);
}

} // namespace koyomi::figures
