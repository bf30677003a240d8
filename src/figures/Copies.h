// Copies of one round figure (a clock face, a circle) in columns and rows, centred on the
// window: the copies whose reach meets the canvas, and drawing them in order.
#pragma once

#include "figures/Visible.h"
#include "render/Canvas.h"
#include "render/Frame.h"

#include <functional>

namespace koyomi::figures {

struct CopyGrid
{
    long long x0 = 0; // the first copy's centre
    long long y0 = 0;
    long long stepX = 0; // 2R + gap
    long long stepY = 0;
    Range rows; // the copies within reach of the canvas; one stands for all in one place
    Range cols;
};

// Copies of radius r with the given counts and gaps, reaching `reach` from their centres.
CopyGrid visibleCopies(const render::Canvas& canvas, const render::Frame& frame, long long r,
                       int countAcross, int gapAcross, int countDown, int gapDown, long long reach);

// Draws every copy of the grid in order, rows outer: draw(canvas, cx, cy) draws one. When
// the copies are alike (nothing in one depends on what the one before left on the canvas)
// and there are many, one is drawn and its pixels pasted at every place instead.
void drawCopies(render::Canvas& canvas, const CopyGrid& grid, long long reach, bool alike,
                const std::function<void(render::Canvas&, long long, long long)>& draw);

} // namespace koyomi::figures
