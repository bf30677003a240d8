#include "figures/clock/ClockPage.h"

#include "figures/Record.h"
#include "render/Palette.h"
#include "render/Text.h"
#include "widgets/RowPictures.h"

namespace koyomi::figures {

using widgets::Redrawer;
using widgets::RowPicture;

namespace {

// The record's values after the head, in order: 'S' a spin edit's text, 'C' a selector's
// index.
constexpr widgets::RecordField kRecord[] = {
    {'S', 71}, {'C', 45}, {'S', 57}, {'C', 48}, {'S', 59}, {'S', 58}, {'C', 49},
    {'S', 65}, {'S', 61}, {'S', 60}, {'S', 62}, {'S', 63}, {'C', 50}, {'S', 67},
    {'C', 51}, {'C', 54}, {'S', 68}, {'C', 55}, {'C', 58}, {'S', 70}, {'C', 59},
    {'C', 47}, {'S', 64}, {'C', 52}, {'C', 60},
};

// The line rows of the second panel: kind, width, colour (0 where the row has none).
constexpr widgets::LineRow kLineRows[] = {
    {RowPicture::Circle, "円周", 50, 67, 51},
    {RowPicture::Dot, "中心", 54, 68, 55},
    {RowPicture::Graduations, "目盛り (分)", 58, 70, 59},
    {RowPicture::Graduations, "目盛り (時)", 47, 64, 52},
    {RowPicture::Text, "文字", 0, 0, 60},
};

} // namespace

ClockPage::ClockPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                     QWidget* parent)
    : FigurePage(kind, host, redrawer, parent)
{
    QFrame* geometry = panel();
    QFrame* lines = panel();
    buildGeometryPanel(geometry);
    buildLinePanel(lines);

    // Own handlers refill their own emptied text; the two shared handlers refill only the
    // spin edit they are named after, whichever of their two changed.
    for (int n : {71, 57, 65, 61, 60, 62, 63, 67, 68, 58, 70}) {
        Spin* s = m_spin[n];
        connect(s, &Spin::changed, this, [this, s] { commonSpinChange(s); });
    }
    connect(m_spin[59], &Spin::changed, this, [this] { commonSpinChange(m_spin[58]); });
    connect(m_spin[64], &Spin::changed, this, [this] { commonSpinChange(m_spin[70]); });
    for (QComboBox* c : m_combo) {
        if (c) {
            connect(c, &QComboBox::activated, this, [this] { requestRedraw(); });
        }
    }
    connect(m_reset[1], &widgets::ResetButton::clicked, this, &ClockPage::clock1Click);
    connect(m_reset[2], &widgets::ResetButton::clicked, this, &ClockPage::clock2Click);
}

void ClockPage::buildGeometryPanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, m_reset[1], QStringLiteral("clock1"),
                                   {{2, "半径"}, {6, "個数"}, {7, "間隔"}});
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Circle, p, QStringLiteral("円周")), 1, 1);
    grid->addWidget(numberedSpin(m_spin, 71, 1, 1000, 50), 1, 2);
    grid->addWidget(caption("形状", p), 2, 2);
    grid->addWidget(caption("大きさ", p), 2, 3);
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Dot, p, QStringLiteral("中心")), 3, 1);
    grid->addWidget(numberedItemCombo(m_combo, 45, {"なし", "●", "＋", "×"}, int(ClockCentre::Dot)),
                    3, 2);
    grid->addWidget(numberedSpin(m_spin, 57, 1, 20, 1), 3, 3);
    grid->addWidget(caption("形状", p), 4, 2);
    grid->addWidget(caption("時", p), 4, 3);
    grid->addWidget(caption("分", p), 4, 4);
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Graduations, p, QStringLiteral("目盛り")),
                    5, 1);
    grid->addWidget(
        numberedItemCombo(m_combo, 48, {"なし", "●", "┸", "┰", "╂"}, int(ClockGraduation::Inward)),
        5, 2);
    grid->addWidget(numberedSpin(m_spin, 59, 1, 50, 5), 5, 3);
    grid->addWidget(numberedSpin(m_spin, 58, 1, 50, 3), 5, 4);
    grid->addWidget(caption("有無", p), 6, 2);
    grid->addWidget(caption("大きさ", p), 6, 3);
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Text, p, QStringLiteral("文字")), 7, 1);
    grid->addWidget(numberedItemCombo(m_combo, 49, {"なし", "あり"}, 1), 7, 2);
    grid->addWidget(numberedSpin(m_spin, 65, 10, 100, 10), 7, 3);
    // The copies: three typed characters at most.
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesAcross, p, QStringLiteral("横に並べる")), 1, 5);
    grid->addWidget(numberedSpin(m_spin, 61, 1, 500, 1, 3), 1, 6);
    grid->addWidget(numberedSpin(m_spin, 60, 0, 500, 50, 3), 1, 7);
    grid->addWidget(caption("個数", p), 2, 6);
    grid->addWidget(caption("間隔", p), 2, 7);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesDown, p, QStringLiteral("縦に並べる")), 3, 5);
    grid->addWidget(numberedSpin(m_spin, 62, 1, 500, 1, 3), 3, 6);
    grid->addWidget(numberedSpin(m_spin, 63, 0, 500, 50, 3), 3, 7);
    m_spin[71]->setToolTip(QStringLiteral("文字盤の半径"));
    m_spin[59]->setToolTip(QStringLiteral("時の目盛りの大きさ"));
    m_spin[58]->setToolTip(QStringLiteral("分の目盛りの大きさ"));
    m_spin[65]->setToolTip(QStringLiteral("数字の大きさ (ポイント)、円からの距離 (ピクセル)"));
}

void ClockPage::buildLinePanel(QWidget* p)
{
    QGridLayout* grid =
        startPanel(p, m_reset[2], QStringLiteral("clock2"), {{2, "線種"}, {3, "線幅"}, {4, "色"}});
    // Widths take one typed character.
    addLineRows(grid, p, kLineRows, m_spin, m_combo);
}

ClockParams ClockPage::params() const
{
    ClockParams p;
    p.radius = m_spin[71]->value();
    p.centreMark = m_combo[45]->currentIndex();
    p.centreMarkSize = m_spin[57]->value();
    p.graduationMark = m_combo[48]->currentIndex();
    p.hourMarkSize = m_spin[59]->value();
    p.minuteMarkSize = m_spin[58]->value();
    p.numeralsShown = m_combo[49]->currentIndex() == 1;
    p.numeralSize = m_spin[65]->value();
    p.countAcross = m_spin[61]->value();
    p.gapAcross = m_spin[60]->value();
    p.countDown = m_spin[62]->value();
    p.gapDown = m_spin[63]->value();
    p.circumference = lineSetting(m_combo, m_spin, 50, 67, 51);
    p.centre = lineSetting(m_combo, m_spin, 54, 68, 55);
    p.minuteMarks = lineSetting(m_combo, m_spin, 58, 70, 59);
    p.hourMarks = lineSetting(m_combo, m_spin, 47, 64, 52);
    p.numeralColor = m_combo[60]->currentIndex();
    return p;
}

void ClockPage::render(render::Canvas& canvas, const render::Frame& frame)
{
    drawClock(canvas, params(), frame);
}

void ClockPage::clock1Click()
{
    Redrawer::Scope scope(redrawer());
    setSpinTexts(m_spin, {{71, "50"},
                          {57, "1"},
                          {59, "5"},
                          {58, "3"},
                          {65, "10"},
                          {61, "1"},
                          {60, "50"},
                          {62, "1"},
                          {63, "50"}});
    m_combo[45]->setCurrentIndex(int(ClockCentre::Dot));
    m_combo[48]->setCurrentIndex(int(ClockGraduation::Inward));
    m_combo[49]->setCurrentIndex(1);
    scope.request(kind());
}

void ClockPage::clock2Click()
{
    Redrawer::Scope scope(redrawer());
    for (int n : {67, 68, 70, 64}) {
        m_spin[n]->setText(QStringLiteral("1"));
    }
    for (int n : {50, 54, 58, 47}) {
        m_combo[n]->setCurrentIndex(render::kSolidIndex);
    }
    for (int n : {51, 55, 59, 52, 60}) {
        m_combo[n]->setCurrentIndex(render::defaultColorIndex(host().whiteBackground()));
    }
    scope.request(kind());
}

QStringList ClockPage::recordFields() const
{
    return recordValues(kRecord, m_spin, m_combo);
}

void ClockPage::applyRecordFields(const QStringList& fields)
{
    Redrawer::Scope scope(redrawer());
    applyRecordValues(kRecord, fields, m_spin, m_combo);
    scope.request(kind());
}

} // namespace koyomi::figures
