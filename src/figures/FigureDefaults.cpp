#include "figures/FigureDefaults.h"

#include "figures/FigureKinds.h"
#include "figures/circle/Circle.h"
#include "figures/clock/Clock.h"
#include "figures/fractiontiles/FractionTiles.h"
#include "figures/graphpaper/GraphPaper.h"
#include "figures/grid/Grid.h"
#include "figures/numberline/NumberLine.h"
#include "figures/picture/Picture.h"
#include "figures/slopegrid/SlopeGrid.h"
#include "figures/tawara/Tawara.h"

#include <array>

namespace koyomi::figures {

namespace {

using DrawDefaults = void (*)(render::Canvas&, const render::Frame&);

template <class Params, void (*draw)(render::Canvas&, const Params&, const render::Frame&)>
void drawAtDefaults(render::Canvas& canvas, const render::Frame& frame)
{
    draw(canvas, Params::defaults(frame.whiteBackground), frame);
}

void drawNoPicture(render::Canvas& canvas, const render::Frame&)
{
    drawPicture(canvas, DecodedPicture{});
}

// In page order.
constexpr std::array<DrawDefaults, kFigureCount> kDefaults{
    drawAtDefaults<GraphPaperParams, drawGraphPaper>,
    drawAtDefaults<GridParams, drawGrid>,
    drawAtDefaults<SlopeGridParams, drawSlopeGrid>,
    drawAtDefaults<CircleParams, drawCircle>,
    drawAtDefaults<ClockParams, drawClock>,
    drawNoPicture,
    drawAtDefaults<NumberLineParams, drawNumberLine>,
    drawAtDefaults<TawaraParams, drawTawara>,
    drawAtDefaults<FractionTilesParams, drawFractionTiles>,
};

} // namespace

void drawFigureDefaults(int kind, render::Canvas& canvas, const render::Frame& frame)
{
    if (kind >= 0 && kind < kFigureCount) {
        kDefaults[std::size_t(kind)](canvas, frame);
    }
}

} // namespace koyomi::figures
