#include "tools/FigureTable.h"

#include "figures/circle/CirclePage.h"
#include "figures/clock/ClockPage.h"
#include "figures/fractiontiles/FractionTilesPage.h"
#include "figures/graphpaper/GraphPaperPage.h"
#include "figures/grid/GridPage.h"
#include "figures/numberline/NumberLinePage.h"
#include "figures/picture/PicturePage.h"
#include "figures/slopegrid/SlopeGridPage.h"
#include "figures/tawara/TawaraPage.h"

namespace koyomi::tools {

namespace {

template <class Page>
widgets::FigurePage* page(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                          QWidget* parent)
{
    return new Page(kind, host, redrawer, parent);
}

} // namespace

const std::array<MakePage, figures::kFigureCount>& pageMakers()
{
    static const std::array<MakePage, figures::kFigureCount> makers{
        page<figures::GraphPaperPage>, page<figures::GridPage>,   page<figures::SlopeGridPage>,
        page<figures::CirclePage>,     page<figures::ClockPage>,  page<figures::PicturePage>,
        page<figures::NumberLinePage>, page<figures::TawaraPage>, page<figures::FractionTilesPage>,
    };
    return makers;
}

} // namespace koyomi::tools
