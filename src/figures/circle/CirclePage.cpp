#include "figures/circle/CirclePage.h"

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
    {'S', 49}, {'S', 50}, {'C', 31}, {'S', 41}, {'S', 43}, {'C', 32}, {'C', 33},
    {'S', 42}, {'C', 44}, {'S', 55}, {'S', 56}, {'S', 96}, {'S', 46}, {'S', 45},
    {'S', 47}, {'S', 48}, {'C', 34}, {'S', 51}, {'C', 39}, {'C', 35}, {'S', 44},
    {'C', 36}, {'C', 37}, {'S', 52}, {'C', 38}, {'C', 40}, {'S', 53}, {'C', 41},
    {'C', 42}, {'S', 54}, {'C', 43}, {'C', 46}, {'S', 90}, {'S', 91}, {'C', 78},
    {'S', 92}, {'C', 79}, {'S', 93}, {'S', 95}, {'C', 80}, {'S', 94}, {'C', 81},
};

// The line rows of the second panel: kind, width, colour (0 where the row has none).
constexpr widgets::LineRow kLineRows[] = {
    {RowPicture::Circle, "円周", 34, 51, 39},
    {RowPicture::Rings, "内側の円", 35, 44, 36},
    {RowPicture::Dot, "中心", 37, 52, 38},
    {RowPicture::Spokes, "分割線", 40, 53, 41},
    {RowPicture::Graduations, "周上の印", 42, 54, 43},
    {RowPicture::Text, "文字", 0, 0, 46},
};

// The sub-division rows: division, size, kind, width, colour.
struct SubRow
{
    int division, size, kind, width, color;
};

constexpr SubRow kSubRows[] = {{90, 91, 78, 92, 79}, {93, 95, 80, 94, 81}};

} // namespace

CirclePage::CirclePage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                       QWidget* parent)
    : FigurePage(kind, host, redrawer, parent)
{
    QFrame* shape = panel();
    QFrame* lines = panel();
    QFrame* subs = panel();
    buildShapePanel(shape);
    buildLinePanel(lines);
    buildSubDivisionPanel(subs);

    // Spin edits of the shape and line panels refill an emptied text (the gaps with "0");
    // the step has no handler of its own and runs the number size's, which refills only the
    // size; the sub-division spin edits only draw.
    for (int n : {49, 50, 41, 43, 42, 55, 56, 46, 47, 51, 44, 52, 53, 54}) {
        Spin* s = m_spin[n];
        connect(s, &Spin::changed, this, [this, s] { commonSpinChange(s); });
    }
    for (int n : {45, 48}) {
        Spin* s = m_spin[n];
        connect(s, &Spin::changed, this, [this, s] { commonSpinChange(s, QStringLiteral("0")); });
    }
    connect(m_spin[96], &Spin::changed, this, [this] { commonSpinChange(m_spin[56]); });
    for (int n = 90; n <= 95; ++n) {
        connect(m_spin[n], &Spin::changed, this, [this] { requestRedraw(); });
    }
    for (QComboBox* c : m_combo) {
        if (c) {
            connect(c, &QComboBox::activated, this, [this] { requestRedraw(); });
        }
    }
    connect(m_reset[1], &widgets::ResetButton::clicked, this, &CirclePage::Oval1Click);
    connect(m_reset[2], &widgets::ResetButton::clicked, this, &CirclePage::Oval2Click);
    connect(m_reset[3], &widgets::ResetButton::clicked, this, &CirclePage::Oval3Click);
}

void CirclePage::buildShapePanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, m_reset[1], QStringLiteral("Oval1"),
                                   {{2, "半径"}, {3, "分割"}, {6, "個数"}, {7, "間隔"}});
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Circle, p, QStringLiteral("円周")), 1, 1);
    grid->addWidget(numberedSpin(m_spin, 49, 1, 1000, 50), 1, 2);
    grid->addWidget(numberedSpin(m_spin, 50, 1, 20, 1), 1, 3);
    grid->addWidget(caption("形状", p), 2, 2);
    grid->addWidget(caption("大きさ", p), 2, 3);
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Dot, p, QStringLiteral("中心")), 3, 1);
    grid->addWidget(numberedItemCombo(m_combo, 31, {"なし", "●", "＋", "×"}), 3, 2);
    grid->addWidget(numberedSpin(m_spin, 41, 1, 20, 1), 3, 3);
    grid->addWidget(caption("分割", p), 4, 2);
    grid->addWidget(caption("開始位置", p), 4, 3, 1, 2);
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Spokes, p, QStringLiteral("分割線")), 5,
                    1);
    grid->addWidget(numberedSpin(m_spin, 43, 1, 50, 1), 5, 2);
    grid->addWidget(numberedItemCombo(m_combo, 32, {"↑", "→", "↓", "←"}), 5, 3);
    grid->addWidget(caption("形状", p), 6, 2);
    grid->addWidget(caption("大きさ", p), 6, 3);
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Graduations, p, QStringLiteral("周上")), 7,
                    1);
    grid->addWidget(numberedItemCombo(m_combo, 33, {"なし", "●", "┸", "┰", "╂"}), 7, 2);
    grid->addWidget(numberedSpin(m_spin, 42, 1, 50, 3), 7, 3);
    grid->addWidget(caption("有無", p), 8, 2);
    grid->addWidget(caption("初期値", p), 8, 3);
    grid->addWidget(caption("大きさ", p), 8, 4);
    grid->addWidget(caption("増減", p), 8, 5);
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Text, p, QStringLiteral("文字")), 9, 1);
    grid->addWidget(numberedItemCombo(m_combo, 44, {"なし", "あり"}), 9, 2);
    grid->addWidget(numberedSpin(m_spin, 55, 0, 50, 1), 9, 3);
    grid->addWidget(numberedSpin(m_spin, 56, 10, 100, 10), 9, 4);
    grid->addWidget(numberedSpin(m_spin, 96, 1, 10000, 1), 9, 5, 1, 2);
    // The copies: three typed characters at most.
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesAcross, p, QStringLiteral("横に並べる")), 1, 5);
    grid->addWidget(numberedSpin(m_spin, 46, 1, 500, 1, 3), 1, 6);
    grid->addWidget(numberedSpin(m_spin, 45, 0, 500, 50, 3), 1, 7);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesDown, p, QStringLiteral("縦に並べる")), 3, 5);
    grid->addWidget(numberedSpin(m_spin, 47, 1, 500, 1, 3), 3, 6);
    grid->addWidget(numberedSpin(m_spin, 48, 0, 500, 50, 3), 3, 7);
    m_spin[49]->setToolTip(QStringLiteral("円の半径"));
    m_spin[50]->setToolTip(QStringLiteral("半径を等分する数 (内側の円は一つ少ない)"));
    m_spin[43]->setToolTip(QStringLiteral("一周を等分する数"));
    m_spin[42]->setToolTip(QStringLiteral("周上の印の大きさ"));
    m_spin[56]->setToolTip(QStringLiteral("数字の大きさ (ポイント)、円からの距離 (ピクセル)"));
    m_spin[96]->setToolTip(QStringLiteral("次の数字までの増え方"));
    m_spin[41]->setToolTip(QStringLiteral("中心の印の大きさ"));
    m_spin[55]->setToolTip(QStringLiteral("最初の分割に書く数字"));
    m_combo[31]->setToolTip(QStringLiteral("中心の印の形"));
    m_combo[32]->setToolTip(QStringLiteral("最初の分割の向き (上・右・下・左から時計回り)"));
    m_combo[33]->setToolTip(QStringLiteral("周上の印の形 (細かい目盛りも同じ形)"));
    m_combo[44]->setToolTip(QStringLiteral("分割に数字を書くか"));
    m_spin[46]->setToolTip(QStringLiteral("横に並べる個数"));
    m_spin[45]->setToolTip(QStringLiteral("横に並べる円の間隔"));
    m_spin[47]->setToolTip(QStringLiteral("縦に並べる個数"));
    m_spin[48]->setToolTip(QStringLiteral("縦に並べる円の間隔"));
}

void CirclePage::buildLinePanel(QWidget* p)
{
    QGridLayout* grid =
        startPanel(p, m_reset[2], QStringLiteral("Oval2"), {{2, "線種"}, {3, "線幅"}, {4, "色"}});
    // Widths take one typed character.
    addLineRows(grid, p, kLineRows, m_spin, m_combo);
}

void CirclePage::buildSubDivisionPanel(QWidget* p)
{
    QGridLayout* grid =
        startPanel(p, m_reset[3], QStringLiteral("Image54"),
                   {{2, "分割"}, {3, "大きさ"}, {4, "線種"}, {5, "線幅"}, {6, "色"}});
    int r = 1;
    for (const SubRow& row : kSubRows) {
        grid->addWidget(widgets::rowPictureLabel(RowPicture::Graduations, p,
                                                 r == 1 ? QStringLiteral("細かい目盛り 1")
                                                        : QStringLiteral("細かい目盛り 2")),
                        r, 1);
        // The division takes three typed characters.
        grid->addWidget(numberedSpin(m_spin, row.division, 1, 500, 1, 3), r, 2);
        grid->addWidget(numberedSpin(m_spin, row.size, 1, 1000, 5), r, 3);
        grid->addWidget(numberedLineCombo(m_combo, row.kind, render::kSolidIndex), r, 4);
        grid->addWidget(numberedSpin(m_spin, row.width, 1, 5, 1), r, 5);
        grid->addWidget(numberedColorCombo(m_combo, row.color), r, 6);
        m_spin[row.division]->setToolTip(QStringLiteral("一つの分割をさらに分ける数"));
        m_spin[row.size]->setToolTip(QStringLiteral("細かい目盛りの大きさ"));
        ++r;
    }
}

CircleParams CirclePage::params() const
{
    CircleParams p;
    p.radius = m_spin[49]->value();
    p.ringDivision = m_spin[50]->value();
    p.centreMark = m_combo[31]->currentIndex();
    p.centreMarkSize = m_spin[41]->value();
    p.divisions = m_spin[43]->value();
    p.startPosition = m_combo[32]->currentIndex();
    p.edgeMark = m_combo[33]->currentIndex();
    p.edgeMarkSize = m_spin[42]->value();
    p.numbersShown = m_combo[44]->currentIndex() == 1;
    p.firstNumber = m_spin[55]->value();
    p.numberSize = m_spin[56]->value();
    p.numberStep = m_spin[96]->value();
    p.countAcross = m_spin[46]->value();
    p.gapAcross = m_spin[45]->value();
    p.countDown = m_spin[47]->value();
    p.gapDown = m_spin[48]->value();
    p.circumference = lineSetting(m_combo, m_spin, 34, 51, 39);
    p.rings = lineSetting(m_combo, m_spin, 35, 44, 36);
    p.centre = lineSetting(m_combo, m_spin, 37, 52, 38);
    p.divisionLines = lineSetting(m_combo, m_spin, 40, 53, 41);
    p.edgeMarks = lineSetting(m_combo, m_spin, 42, 54, 43);
    p.numberColor = m_combo[46]->currentIndex();
    CircleRing* subs[] = {&p.sub1, &p.sub2};
    for (int i = 0; i < 2; ++i) {
        const SubRow& row = kSubRows[i];
        subs[i]->division = m_spin[row.division]->value();
        subs[i]->size = m_spin[row.size]->value();
        subs[i]->line = lineSetting(m_combo, m_spin, row.kind, row.width, row.color);
    }
    return p;
}

void CirclePage::render(render::Canvas& canvas, const render::Frame& frame)
{
    drawCircle(canvas, params(), frame, &host().figureCaches());
}

void CirclePage::Oval1Click()
{
    Redrawer::Scope scope(redrawer());
    // The step keeps what the teacher set.
    setSpinTexts(m_spin, {{49, "50"},
                          {50, "1"},
                          {41, "1"},
                          {43, "1"},
                          {42, "3"},
                          {55, "1"},
                          {56, "10"},
                          {46, "1"},
                          {45, "50"},
                          {47, "1"},
                          {48, "50"}});
    for (int n : {31, 32, 33, 44}) {
        m_combo[n]->setCurrentIndex(0);
    }
    scope.request(kind());
}

void CirclePage::Oval2Click()
{
    Redrawer::Scope scope(redrawer());
    for (int n : {51, 44, 52, 53, 54}) {
        m_spin[n]->setText(QStringLiteral("1"));
    }
    for (int n : {34, 35, 37, 40, 42}) {
        m_combo[n]->setCurrentIndex(render::kSolidIndex);
    }
    for (int n : {39, 36, 38, 41, 43, 46}) {
        m_combo[n]->setCurrentIndex(render::defaultColorIndex(host().whiteBackground()));
    }
    scope.request(kind());
}

void CirclePage::Oval3Click()
{
    Redrawer::Scope scope(redrawer());
    // The sizes become 1 too, not the 5 a fresh page starts with.
    for (int n = 90; n <= 95; ++n) {
        m_spin[n]->setText(QStringLiteral("1"));
    }
    for (int n : {78, 80}) {
        m_combo[n]->setCurrentIndex(render::kSolidIndex);
    }
    for (int n : {79, 81}) {
        m_combo[n]->setCurrentIndex(render::defaultColorIndex(host().whiteBackground()));
    }
    scope.request(kind());
}

QStringList CirclePage::recordFields() const
{
    return recordValues(kRecord, m_spin, m_combo);
}

void CirclePage::applyRecordFields(const QStringList& fields)
{
    Redrawer::Scope scope(redrawer());
    applyRecordValues(kRecord, fields, m_spin, m_combo);
    scope.request(kind());
}

} // namespace koyomi::figures
