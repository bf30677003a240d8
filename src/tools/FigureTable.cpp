#include "tools/FigureTable.h"

#include "figures/FigureKinds.h"
#include "figures/circle/CirclePage.h"
#include "figures/clock/ClockPage.h"
#include "figures/fractiontiles/FractionTilesPage.h"
#include "figures/graphpaper/GraphPaperPage.h"
#include "figures/grid/GridPage.h"
#include "figures/numberline/NumberLinePage.h"
#include "figures/picture/PicturePage.h"
#include "figures/slopegrid/SlopeGridPage.h"
#include "figures/tawara/TawaraPage.h"
#include "tools/FigureIcons.h"

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
    using figures::kFigureCaptions;
    static const std::array<FigureEntry, 9> table{{
        {kFigureCaptions[0], drawGraphPaperIcon, false, page<figures::GraphPaperPage>},
        {kFigureCaptions[1], drawGridIcon, false, page<figures::GridPage>},
        {kFigureCaptions[2], drawSlopeGridIcon, false, page<figures::SlopeGridPage>},
        {kFigureCaptions[3], drawCircleIcon, true, page<figures::CirclePage>},
        {kFigureCaptions[4], drawClockIcon, true, page<figures::ClockPage>},
        {kFigureCaptions[5], drawPictureIcon, false, page<figures::PicturePage>},
        {kFigureCaptions[6], drawNumberLineIcon, false, page<figures::NumberLinePage>},
        {kFigureCaptions[7], drawTawaraIcon, true, page<figures::TawaraPage>},
        {kFigureCaptions[8], drawFractionTilesIcon, false, page<figures::FractionTilesPage>},
    }};
    return table;
}

} // namespace koyomi::tools
