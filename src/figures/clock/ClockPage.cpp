#include "figures/clock/ClockPage.h"

#include "widgets/RowPictures.h"

namespace koyomi::figures {

using namespace clock;
using widgets::RowPicture;

ClockPage::ClockPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                     QWidget* parent)
    : TablePage(kind, clockFields(), host, redrawer, parent)
{
    QFrame* geometry = panel();
    QFrame* lines = panel();
    buildGeometryPanel(geometry);
    buildLinePanel(lines);
}

void ClockPage::buildGeometryPanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, 1, {{2, "半径"}, {6, "個数"}, {7, "間隔"}});
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Circle, p, QStringLiteral("円周")), 1, 1);
    grid->addWidget(place(Radius), 1, 2);
    grid->addWidget(caption("形状", p), 2, 2);
    grid->addWidget(caption("大きさ", p), 2, 3);
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Dot, p, QStringLiteral("中心")), 3, 1);
    grid->addWidget(place(CentreMark), 3, 2);
    grid->addWidget(place(CentreMarkSize), 3, 3);
    grid->addWidget(caption("形状", p), 4, 2);
    grid->addWidget(caption("時", p), 4, 3);
    grid->addWidget(caption("分", p), 4, 4);
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Graduations, p, QStringLiteral("目盛り")),
                    5, 1);
    grid->addWidget(place(GraduationMark), 5, 2);
    grid->addWidget(place(HourMarkSize), 5, 3);
    grid->addWidget(place(MinuteMarkSize), 5, 4);
    grid->addWidget(caption("有無", p), 6, 2);
    grid->addWidget(caption("大きさ", p), 6, 3);
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Text, p, QStringLiteral("文字")), 7, 1);
    grid->addWidget(place(NumeralsShown), 7, 2);
    grid->addWidget(place(NumeralSize), 7, 3);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesAcross, p, QStringLiteral("横に並べる")), 1, 5);
    grid->addWidget(place(CountAcross), 1, 6);
    grid->addWidget(place(GapAcross), 1, 7);
    grid->addWidget(caption("個数", p), 2, 6);
    grid->addWidget(caption("間隔", p), 2, 7);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesDown, p, QStringLiteral("縦に並べる")), 3, 5);
    grid->addWidget(place(CountDown), 3, 6);
    grid->addWidget(place(GapDown), 3, 7);
}

void ClockPage::buildLinePanel(QWidget* p)
{
    static constexpr widgets::FieldLineRow kRows[] = {
        {RowPicture::Circle, "円周", CircumferenceKind, CircumferenceWidth, CircumferenceColor},
        {RowPicture::Dot, "中心", CentreKind, CentreWidth, CentreColor},
        {RowPicture::Graduations, "目盛り (分)", MinuteKind, MinuteWidth, MinuteColor},
        {RowPicture::Graduations, "目盛り (時)", HourKind, HourWidth, HourColor},
        {RowPicture::Text, "文字", -1, -1, NumeralColor},
    };
    QGridLayout* grid = startPanel(p, 2, {{2, "線種"}, {3, "線幅"}, {4, "色"}});
    addLineRows(grid, p, kRows);
}

} // namespace koyomi::figures
