#include "tools/FigureTable.h"

#include "figures/Figures.h"
#include "figures/circle/CirclePage.h"
#include "figures/clock/ClockPage.h"
#include "figures/fractiontiles/FractionTilesPage.h"
#include "figures/graphpaper/GraphPaperPage.h"
#include "figures/grid/GridPage.h"
#include "figures/numberline/NumberLinePage.h"
#include "figures/picture/PicturePage.h"
#include "figures/slopegrid/SlopeGridPage.h"
#include "figures/tawara/TawaraPage.h"
#include "figures/FigureIcons.h"

namespace koyomi::tools {

namespace {

template <class Page>
widgets::FigurePage* page(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                          QWidget* parent)
{
    return new Page(kind, host, redrawer, parent);
}

} // namespace

const std::array<FigureEntry, 9>& figureTable()
{
    const auto& figures = figures::figureTable();
    static const std::array<FigureEntry, 9> table{{
        {figures[0].caption, drawGraphPaperIcon, false, page<figures::GraphPaperPage>},
        {figures[1].caption, drawGridIcon, false, page<figures::GridPage>},
        {figures[2].caption, drawSlopeGridIcon, false, page<figures::SlopeGridPage>},
        {figures[3].caption, drawCircleIcon, true, page<figures::CirclePage>},
        {figures[4].caption, drawClockIcon, true, page<figures::ClockPage>},
        {figures[5].caption, drawPictureIcon, false, page<figures::PicturePage>},
        {figures[6].caption, drawNumberLineIcon, false, page<figures::NumberLinePage>},
        {figures[7].caption, drawTawaraIcon, true, page<figures::TawaraPage>},
        {figures[8].caption, drawFractionTilesIcon, false, page<figures::FractionTilesPage>},
    }};
    return table;
}

} // namespace koyomi::tools
