// Copies of one figure (a clock face, a circle, a number line, a block of graph paper) in
// columns and rows: the copies whose reach meets the canvas, and drawing them in order.
#pragma once

#include "figures/Visible.h"
#include "render/Canvas.h"
#include "render/Frame.h"

#include <functional>

namespace koyomi::figures {

struct CopyGrid
{
    long long x0 = 0; // the first copy's reference point (a round figure's centre)
    long long y0 = 0;
    long long stepX = 0; // from one copy to the next across, and down
    long long stepY = 0;
    Range rows; // the copies within reach of the canvas; one stands for all in one place
    Range cols;
};

// The box, relative to a copy's reference point, that everything one copy paints lies in
// (edges included).
struct CopyReach
{
    long long left = 0;
    long long top = 0;
    long long right = -1;
    long long bottom = -1;

    static CopyReach around(long long reach) { return {-reach, -reach, reach, reach}; }
};

// Copies of radius r with the given counts and gaps, reaching `reach` from their centres.
CopyGrid visibleCopies(const render::Canvas& canvas, const render::Frame& frame, long long r,
                       int countAcross, int gapAcross, int countDown, int gapDown, long long reach);

// How far the copies of a figure draw the same picture, each where it stands.
enum class CopiesAlike
{
    No,
    All, // nothing in one depends on what was drawn before it
    // Colours left unnamed are taken from the copy before: the first takes them from what was
    // set before any copy, every later one from the same colours the one before left.
    AfterTheFirst,
};

// How large a scratch image must be before copies over each other are first drawn cut to the
// canvas, from the last back (4 MB), besides holding four canvases: a smaller one usually
// costs a millisecond or two, which a few copies cut to the canvas, each laying out its own
// labels, can cost too. But a dense figure costs far more than its pixels: a circle whose
// 25,000 dashed marks cross a scratch image of a million pixels took 0.7 s to draw once,
// where a few dozen copies cut to a small canvas decide it.
inline constexpr long long kLayersFromPixels = 1LL << 20;

// Draws every copy of the grid in order, rows outer: draw(canvas, x, y) draws one. When
// the copies are alike and there are many, one is drawn and its pixels pasted at every
// place instead; only the part of it that some copy puts on the canvas is drawn. Tests pass a
// lower layersFrom to reach the drawing of copies cut to the canvas with small drawings.
void drawCopies(render::Canvas& canvas, const CopyGrid& grid, const CopyReach& reach,
                CopiesAlike alike,
                const std::function<void(render::Canvas&, long long, long long)>& draw,
                long long layersFrom = kLayersFromPixels);

} // namespace koyomi::figures
