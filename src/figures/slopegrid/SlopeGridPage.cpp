#include "figures/slopegrid/SlopeGridPage.h"

#include "widgets/RowPictures.h"

namespace koyomi::figures {

using namespace slopegrid;

SlopeGridPage::SlopeGridPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                             QWidget* parent)
    : TablePage(kind, slopeGridFields(), host, redrawer, parent)
{
    QFrame* lines = panel();
    QGridLayout* grid = startPanel(lines, 1, {{2, "間隔"}, {3, "線種"}, {4, "線幅"}, {5, "色"}});
    grid->addWidget(widgets::rowPictureLabel(widgets::RowPicture::SlantedGrid, lines,
                                             QStringLiteral("斜方眼のすべての線")),
                    1, 1);
    int column = 2;
    for (int f : {Spacing, LineKind, LineWidth, LineColor}) {
        grid->addWidget(place(f), 1, column++);
    }
}

} // namespace koyomi::figures
