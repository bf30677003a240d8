#include "figures/circle/CirclePage.h"

#include "widgets/RowPictures.h"

namespace koyomi::figures {

using namespace circle;
using widgets::RowPicture;

CirclePage::CirclePage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                       QWidget* parent)
    : TablePage(kind, circleFields(), host, redrawer, parent)
{
    QFrame* shape = panel();
    QFrame* lines = panel();
    QFrame* subs = panel();
    buildShapePanel(shape);
    buildLinePanel(lines);
    buildSubDivisionPanel(subs);
}

void CirclePage::buildShapePanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, 1, {{2, "半径"}, {3, "分割"}, {6, "個数"}, {7, "間隔"}});
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Circle, p, QStringLiteral("円周")), 1, 1);
    grid->addWidget(place(Radius), 1, 2);
    grid->addWidget(place(RingDivision), 1, 3);
    grid->addWidget(caption("形状", p), 2, 2);
    grid->addWidget(caption("大きさ", p), 2, 3);
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Dot, p, QStringLiteral("中心")), 3, 1);
    grid->addWidget(place(CentreMark), 3, 2);
    grid->addWidget(place(CentreMarkSize), 3, 3);
    grid->addWidget(caption("分割", p), 4, 2);
    grid->addWidget(caption("開始位置", p), 4, 3, 1, 2);
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Spokes, p, QStringLiteral("分割線")), 5,
                    1);
    grid->addWidget(place(Divisions), 5, 2);
    grid->addWidget(place(StartPosition), 5, 3);
    grid->addWidget(caption("形状", p), 6, 2);
    grid->addWidget(caption("大きさ", p), 6, 3);
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Graduations, p, QStringLiteral("周上")), 7,
                    1);
    grid->addWidget(place(EdgeMark), 7, 2);
    grid->addWidget(place(EdgeMarkSize), 7, 3);
    grid->addWidget(caption("有無", p), 8, 2);
    grid->addWidget(caption("初期値", p), 8, 3);
    grid->addWidget(caption("大きさ", p), 8, 4);
    grid->addWidget(caption("増減", p), 8, 5);
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Text, p, QStringLiteral("文字")), 9, 1);
    grid->addWidget(place(NumbersShown), 9, 2);
    grid->addWidget(place(FirstNumber), 9, 3);
    grid->addWidget(place(NumberSize), 9, 4);
    grid->addWidget(place(NumberStep), 9, 5, 1, 2);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesAcross, p, QStringLiteral("横に並べる")), 1, 5);
    grid->addWidget(place(CountAcross), 1, 6);
    grid->addWidget(place(GapAcross), 1, 7);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesDown, p, QStringLiteral("縦に並べる")), 3, 5);
    grid->addWidget(place(CountDown), 3, 6);
    grid->addWidget(place(GapDown), 3, 7);
}

void CirclePage::buildLinePanel(QWidget* p)
{
    static constexpr widgets::FieldLineRow kRows[] = {
        {RowPicture::Circle, "円周", CircumferenceKind, CircumferenceWidth, CircumferenceColor},
        {RowPicture::Rings, "内側の円", RingsKind, RingsWidth, RingsColor},
        {RowPicture::Dot, "中心", CentreKind, CentreWidth, CentreColor},
        {RowPicture::Spokes, "分割線", SpokesKind, SpokesWidth, SpokesColor},
        {RowPicture::Graduations, "周上の印", EdgeMarksKind, EdgeMarksWidth, EdgeMarksColor},
        {RowPicture::Text, "文字", -1, -1, NumberColor},
    };
    QGridLayout* grid = startPanel(p, 2, {{2, "線種"}, {3, "線幅"}, {4, "色"}});
    addLineRows(grid, p, kRows);
}

void CirclePage::buildSubDivisionPanel(QWidget* p)
{
    QGridLayout* grid =
        startPanel(p, 3, {{2, "分割"}, {3, "大きさ"}, {4, "線種"}, {5, "線幅"}, {6, "色"}});
    const struct
    {
        int division, size, kind, width, color;
    } rows[] = {{Sub1Division, Sub1Size, Sub1Kind, Sub1Width, Sub1Color},
                {Sub2Division, Sub2Size, Sub2Kind, Sub2Width, Sub2Color}};
    int r = 1;
    for (const auto& row : rows) {
        grid->addWidget(widgets::rowPictureLabel(RowPicture::Graduations, p,
                                                 QStringLiteral("細かい目盛り %1").arg(r)),
                        r, 1);
        int column = 2;
        for (int f : {row.division, row.size, row.kind, row.width, row.color}) {
            grid->addWidget(place(f), r, column++);
        }
        ++r;
    }
}

} // namespace koyomi::figures
