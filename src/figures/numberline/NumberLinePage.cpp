#include "figures/numberline/NumberLinePage.h"

#include "widgets/RowPictures.h"

namespace koyomi::figures {

using namespace numberline;
using widgets::RowPicture;

NumberLinePage::NumberLinePage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                               QWidget* parent)
    : TablePage(kind, numberLineFields(), host, redrawer, parent)
{
    QFrame* main = panel();
    QFrame* subdivisions = panel();
    buildMainPanel(main);
    buildSubdivisionPanel(subdivisions);
}

void NumberLinePage::buildMainPanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, 1, {{2, "本数"}, {3, "間隔"}, {5, "個数"}, {6, "間隔"}});
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Graduations, p, QStringLiteral("数直線")),
                    1, 1);
    grid->addWidget(place(TickCount), 1, 2);
    grid->addWidget(place(TickSpacing), 1, 3);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesAcross, p, QStringLiteral("横に並べる")), 1, 4);
    grid->addWidget(place(CountAcross), 1, 5);
    grid->addWidget(place(GapAcross), 1, 6);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesDown, p, QStringLiteral("縦に並べる")), 2, 4);
    grid->addWidget(place(CountDown), 2, 5);
    grid->addWidget(place(GapDown), 2, 6);

    // Below the layout, each group of settings has columns of its own: sharing the first
    // rows' columns would make every row as wide as the widest control of each column.
    auto section = [grid](int row) {
        auto* sub = new QGridLayout;
        sub->setHorizontalSpacing(2);
        sub->setVerticalSpacing(1);
        sub->setColumnStretch(widgets::kPanelColumns, 1);
        grid->addLayout(sub, row, 1, 1, widgets::kPanelColumns - 1);
        return sub;
    };

    // The horizontal line.
    QGridLayout* line = section(3);
    line->addWidget(caption("線種", p), 0, 1);
    line->addWidget(caption("線幅", p), 0, 2);
    line->addWidget(caption("色", p), 0, 3);
    line->addWidget(caption("両端", p), 0, 4);
    line->addWidget(caption("横線", p), 1, 0);
    line->addWidget(place(AxisKind), 1, 1);
    line->addWidget(place(AxisWidth), 1, 2);
    line->addWidget(place(AxisColor), 1, 3);
    line->addWidget(place(AxisExtended), 1, 4);

    // The main ticks.
    QGridLayout* ticks = section(4);
    ticks->addWidget(caption("目盛り", p), 0, 0);
    ticks->addWidget(caption("長さ", p), 0, 1);
    ticks->addWidget(caption("線種", p), 0, 2);
    ticks->addWidget(caption("線幅", p), 0, 3);
    ticks->addWidget(caption("色", p), 0, 4);
    ticks->addWidget(place(TickShape), 1, 0);
    ticks->addWidget(place(TickLength), 1, 1);
    ticks->addWidget(place(TickKind), 1, 2);
    ticks->addWidget(place(TickWidth), 1, 3);
    ticks->addWidget(place(TickColor), 1, 4);

    // The labels, over three rows.
    QGridLayout* labels = section(5);
    labels->addWidget(caption("有無", p), 0, 1);
    labels->addWidget(caption("位置", p), 0, 2);
    labels->addWidget(caption("初期値", p), 0, 3);
    labels->addWidget(caption("増減", p), 0, 4);
    labels->addWidget(widgets::rowPictureLabel(RowPicture::Text, p, QStringLiteral("文字")), 1, 0);
    labels->addWidget(place(LabelsOn), 1, 1);
    labels->addWidget(place(LabelsBelow), 1, 2);
    labels->addWidget(place(LabelStart), 1, 3);
    labels->addWidget(place(LabelStep), 1, 4);
    labels->addWidget(caption("＋符号", p), 2, 1);
    labels->addWidget(caption("大きさ", p), 2, 2);
    labels->addWidget(caption("色", p), 2, 3);
    labels->addWidget(place(PlusSign), 3, 1);
    labels->addWidget(place(LabelSize), 3, 2);
    labels->addWidget(place(LabelColor), 3, 3);
    labels->addWidget(place(LabelScale), 3, 4, 1, 2);
    labels->addWidget(caption("文字", p), 4, 1);
    labels->addWidget(place(Unit), 4, 2, 1, 3);
}

void NumberLinePage::buildSubdivisionPanel(QWidget* p)
{
    QGridLayout* grid =
        startPanel(p, 2, {{2, "分割"}, {3, "長さ"}, {4, "線種"}, {5, "線幅"}, {6, "色"}});
    const struct
    {
        int count, length, kind, width, color;
    } rows[] = {{Sub1Count, Sub1Length, Sub1Kind, Sub1Width, Sub1Color},
                {Sub2Count, Sub2Length, Sub2Kind, Sub2Width, Sub2Color}};
    int r = 1;
    for (const auto& row : rows) {
        grid->addWidget(widgets::rowPictureLabel(RowPicture::Graduations, p,
                                                 QStringLiteral("細かい目盛り %1").arg(r)),
                        r, 1);
        int column = 2;
        for (int f : {row.count, row.length, row.kind, row.width, row.color}) {
            grid->addWidget(place(f), r, column++);
        }
        ++r;
    }
}

} // namespace koyomi::figures
