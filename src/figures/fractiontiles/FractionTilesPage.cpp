#include "figures/fractiontiles/FractionTilesPage.h"

#include "widgets/RowPictures.h"

namespace koyomi::figures {

using namespace fractiontiles;
using widgets::RowPicture;

FractionTilesPage::FractionTilesPage(int kind, widgets::FigureHost& host,
                                     widgets::Redrawer& redrawer, QWidget* parent)
    : TablePage(kind, fractionTilesFields(), host, redrawer, parent)
{
    QFrame* geometry = panel();
    QFrame* lines = panel();
    buildGeometryPanel(geometry);
    buildLinePanel(lines);
}

void FractionTilesPage::buildGeometryPanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, 1, {{2, "長さ"}, {4, "個数"}, {5, "間隔"}});
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::VerticalBar, p, QStringLiteral("縦の長さ")), 1, 1);
    grid->addWidget(place(TileHeight), 1, 2);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::HorizontalBar, p, QStringLiteral("横の長さ")), 2, 1);
    grid->addWidget(place(TileWidth), 2, 2);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesAcross, p, QStringLiteral("横に並べる")), 1, 3);
    grid->addWidget(place(CountAcross), 1, 4);
    grid->addWidget(place(GapAcross), 1, 5);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesDown, p, QStringLiteral("縦に並べる")), 2, 3);
    grid->addWidget(place(CountDown), 2, 4);
    grid->addWidget(place(GapDown), 2, 5);
    grid->addWidget(caption("分割", p), 3, 2);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::HorizontalLines, p, QStringLiteral("横に分割")), 4, 1);
    grid->addWidget(place(PartsDown), 4, 2);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::VerticalLines, p, QStringLiteral("縦に分割")), 5, 1);
    grid->addWidget(place(PartsAcross), 5, 2);
    grid->addWidget(caption("位置", p), 6, 2);
    grid->addWidget(caption("長さ", p), 6, 3);
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Graduations, p, QStringLiteral("目盛り")),
                    7, 1);
    grid->addWidget(place(TickPosition), 7, 2);
    grid->addWidget(place(TickLength), 7, 3);
}

void FractionTilesPage::buildLinePanel(QWidget* p)
{
    static constexpr widgets::FieldLineRow kRows[] = {
        {RowPicture::WholeGrid, "すべての線", AllKind, AllWidth, AllColor},
        {RowPicture::OuterSquare, "外枠", OutlineKind, OutlineWidth, OutlineColor},
        {RowPicture::TopSide, "上の辺", TopKind, TopWidth, TopColor},
        {RowPicture::BottomSide, "下の辺", BottomKind, BottomWidth, BottomColor},
        {RowPicture::LeftSide, "左の辺", LeftKind, LeftWidth, LeftColor},
        {RowPicture::RightSide, "右の辺", RightKind, RightWidth, RightColor},
        {RowPicture::InnerCross, "分割線", DivisionsKind, DivisionsWidth, DivisionsColor},
        {RowPicture::HorizontalBar, "横の分割線", HDivisionsKind, HDivisionsWidth, HDivisionsColor},
        {RowPicture::VerticalBar, "縦の分割線", VDivisionsKind, VDivisionsWidth, VDivisionsColor},
        {RowPicture::Graduations, "目盛り", TicksKind, TicksWidth, TicksColor},
    };
    QGridLayout* grid = startPanel(p, 2, {{2, "線種"}, {3, "線幅"}, {4, "色"}});
    addLineRows(grid, p, kRows);
}

} // namespace koyomi::figures
