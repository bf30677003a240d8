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

using DrawDefaults = void (*)(render::Canvas&, const render::Frame&, FigureCaches*);

struct Defaults
{
    DrawDefaults draw;
    bool showsAFile = false;
};

template <class Params> Params defaultsFor(const render::Frame& frame)
{
    return Params::defaults(frame.whiteBackground);
}

// In page order.
constexpr std::array<Defaults, kFigureCount> kDefaults{{
    {[](render::Canvas& c, const render::Frame& f, FigureCaches* k) {
        drawGraphPaper(c, defaultsFor<GraphPaperParams>(f), f, k);
    }},
    {[](render::Canvas& c, const render::Frame& f, FigureCaches* k) {
        drawGrid(c, defaultsFor<GridParams>(f), f, k);
    }},
    {[](render::Canvas& c, const render::Frame& f, FigureCaches*) {
        drawSlopeGrid(c, defaultsFor<SlopeGridParams>(f), f);
    }},
    {[](render::Canvas& c, const render::Frame& f, FigureCaches* k) {
        drawCircle(c, defaultsFor<CircleParams>(f), f, k);
    }},
    {[](render::Canvas& c, const render::Frame& f, FigureCaches*) {
        drawClock(c, defaultsFor<ClockParams>(f), f);
    }},
    {[](render::Canvas& c, const render::Frame&, FigureCaches*) {
         drawPicture(c, DecodedPicture{}); // no picture chosen yet: black
     },
     true},
    {[](render::Canvas& c, const render::Frame& f, FigureCaches* k) {
        drawNumberLine(c, defaultsFor<NumberLineParams>(f), f, k);
    }},
    {[](render::Canvas& c, const render::Frame& f, FigureCaches* k) {
        drawTawara(c, defaultsFor<TawaraParams>(f), f, k);
    }},
    {[](render::Canvas& c, const render::Frame& f, FigureCaches*) {
        drawFractionTiles(c, defaultsFor<FractionTilesParams>(f), f);
    }},
}};

} // namespace

void drawFigureDefaults(int kind, render::Canvas& canvas, const render::Frame& frame,
                        FigureCaches* caches)
{
    if (kind >= 0 && kind < kFigureCount) {
        kDefaults[std::size_t(kind)].draw(canvas, frame, caches);
    }
}

bool showsAFile(int kind)
{
    return kind >= 0 && kind < kFigureCount && kDefaults[std::size_t(kind)].showsAFile;
}

} // namespace koyomi::figures
