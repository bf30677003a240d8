#include "figures/tawara/TawaraPage.h"

#include "widgets/RowPictures.h"

namespace koyomi::figures {

using namespace tawara;
using widgets::RowPicture;

TawaraPage::TawaraPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                       QWidget* parent)
    : TablePage(kind, tawaraFields(), host, redrawer, parent)
{
    QFrame* p = panel();
    p->setObjectName(QStringLiteral("Panel14"));
    QGridLayout* grid = startPanel(p, 1, {{2, "大きさ"}, {3, "形状"}, {4, "段数"}, {5, "向き"}});
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Circle, p, QStringLiteral("円周")), 1, 1);
    int column = 2;
    for (int f : {PieceSize, PieceShape, RowCount, Orientation}) {
        grid->addWidget(place(f), 1, column++);
    }
    grid->addWidget(caption("個数", p), 2, 2);
    grid->addWidget(caption("間隔", p), 2, 3);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesAcross, p, QStringLiteral("横に並べる")), 3, 1);
    grid->addWidget(place(CountAcross), 3, 2);
    grid->addWidget(place(GapAcross), 3, 3);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesDown, p, QStringLiteral("縦に並べる")), 4, 1);
    grid->addWidget(place(CountDown), 4, 2);
    grid->addWidget(place(GapDown), 4, 3);
    grid->addWidget(caption("線種", p), 5, 2);
    grid->addWidget(caption("線幅", p), 5, 3);
    grid->addWidget(caption("色", p), 5, 4);
    column = 2;
    for (int f : {LineKind, LineWidth, LineColor}) {
        grid->addWidget(place(f), 6, column++);
    }
}

} // namespace koyomi::figures
