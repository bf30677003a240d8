#include "figures/grid/GridPage.h"

#include "widgets/RowPictures.h"

namespace koyomi::figures {

using namespace grid;
using widgets::RowPicture;

GridPage::GridPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                   QWidget* parent)
    : TablePage(kind, gridFields(), host, redrawer, parent)
{
    QFrame* geometry = panel();
    QFrame* marks = panel();
    buildGeometryPanel(geometry);
    buildMarkPanel(marks);
}

void GridPage::buildGeometryPanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, 1, {{2, "個数"}, {3, "間隔"}, {5, "個数"}, {6, "間隔"}});
    const struct
    {
        RowPicture picture;
        const char* hint;
        int first, second;
    } rows[] = {
        {RowPicture::Cross, "縦横とも", BothCounts, BothSpacings},
        {RowPicture::HorizontalBar, "行 (上下の間隔)", RowCount, RowSpacing},
        {RowPicture::VerticalBar, "列 (左右の間隔)", ColumnCount, ColumnSpacing},
        {RowPicture::BoxesAcross, "横に並べる", CountAcross, GapAcross},
        {RowPicture::BoxesDown, "縦に並べる", CountDown, GapDown},
    };
    for (int r = 0; r < 5; ++r) {
        const auto& row = rows[r];
        // Points in the first three columns, blocks beside them.
        const int line = r < 3 ? r + 1 : r - 2;
        const int column = r < 3 ? 1 : 4;
        grid->addWidget(widgets::rowPictureLabel(row.picture, p, QString::fromUtf8(row.hint)), line,
                        column);
        grid->addWidget(place(row.first), line, column + 1);
        grid->addWidget(place(row.second), line, column + 2);
    }
}

void GridPage::buildMarkPanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, 2, {{1, "形状"}, {2, "大きさ"}, {3, "色"}});
    grid->addWidget(place(MarkShape), 1, 1);
    grid->addWidget(place(MarkSize), 1, 2);
    grid->addWidget(place(MarkColor), 1, 3);
    grid->addWidget(caption("有無", p), 2, 1);
    grid->addWidget(place(CentreMarks), 3, 1);
    grid->addWidget(place(Equilateral), 3, 2, 1, 2);
}

} // namespace koyomi::figures
