// Checks that a figure drawn in a small window shows exactly what the same figure drawn on a
// canvas large enough to hold all of it shows there: what a renderer skips as invisible must
// change no pixel.
#pragma once

#include "render/Canvas.h"
#include "render/Frame.h"

#include <gtest/gtest.h>

namespace koyomi::test {

// draw(canvas, frame) draws the figure. The large canvas is d pixels larger on every side.
template <class Draw> void expectWindowMatchesLargeCanvas(render::Canvas& small, int d, Draw draw)
{
    const int w = small.width(), h = small.height();
    draw(small, render::Frame{w, h, false});
    render::Canvas large(w + 2 * d, h + 2 * d);
    draw(large, render::Frame{w + 2 * d, h + 2 * d, false});
    int differing = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (small.pixel(x, y) != large.pixel(x + d, y + d) && differing++ < 5) {
                ADD_FAILURE() << "differs at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(differing, 0);
}

} // namespace koyomi::test
