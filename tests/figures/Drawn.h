// A figure drawn from its parameters on a fresh canvas: an 800 × 570 window unless a test
// asks for another size, on the frame's background.
#pragma once

#include "figures/circle/Circle.h"
#include "figures/clock/Clock.h"
#include "figures/fractiontiles/FractionTiles.h"
#include "figures/graphpaper/GraphPaper.h"
#include "figures/grid/Grid.h"
#include "figures/numberline/NumberLine.h"
#include "figures/tawara/Tawara.h"
#include "render/Canvas.h"
#include "render/Frame.h"

namespace koyomi::test {

// Each figure's renderer, by its parameters' type.
inline void drawParams(render::Canvas& c, const figures::GraphPaperParams& p,
                       const render::Frame& f)
{
    figures::drawGraphPaper(c, p, f);
}
inline void drawParams(render::Canvas& c, const figures::GridParams& p, const render::Frame& f)
{
    figures::drawGrid(c, p, f);
}
inline void drawParams(render::Canvas& c, const figures::CircleParams& p, const render::Frame& f)
{
    figures::drawCircle(c, p, f);
}
inline void drawParams(render::Canvas& c, const figures::ClockParams& p, const render::Frame& f)
{
    figures::drawClock(c, p, f);
}
inline void drawParams(render::Canvas& c, const figures::NumberLineParams& p,
                       const render::Frame& f)
{
    figures::drawNumberLine(c, p, f);
}
inline void drawParams(render::Canvas& c, const figures::TawaraParams& p, const render::Frame& f)
{
    figures::drawTawara(c, p, f);
}
inline void drawParams(render::Canvas& c, const figures::FractionTilesParams& p,
                       const render::Frame& f)
{
    figures::drawFractionTiles(c, p, f);
}

struct Drawn
{
    render::Canvas canvas;
    template <class Params>
    explicit Drawn(const Params& p, int w = 800, int h = 570, bool white = false) : canvas(w, h)
    {
        drawParams(canvas, p, render::Frame{w, h, white});
    }
};

} // namespace koyomi::test
