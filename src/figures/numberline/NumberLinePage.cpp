#include "figures/numberline/NumberLinePage.h"

#include "figures/Record.h"
#include "render/Palette.h"
#include "render/Text.h"
#include "widgets/RowPictures.h"

namespace koyomi::figures {

using widgets::Redrawer;
using widgets::RowPicture;

namespace {

// The record's values after the head: 'S' a spin edit, 'C' a selector, 'E' the unit text.
struct Field
{
    char type;
    int number;
};

constexpr Field kRecord[] = {
    {'S', 72},
    {'S', 66},
    {'S', 75},
    {'S', 74},
    {'S', 76},
    {'S', 77},
    {'C', 69},
    {'S', 80},
    {'C', 68},
    {'C', 66},
    {'C', 65},
    {'S', 73},
    {'C', 63},
    {'S', 83},
    {'C', 64},
    {'C', 67},
    {'C', 71},
    {'S', 78},
    {'S', 81},
    {'C', 77},
    {'S', 72},
    {'S', 79},
    {'C', 70},
    {'E', 1},
    {'S', 82},
    {'S', 69},
    {'C', 73},
    {'S', 84},
    {'C', 74},
    {'S', 85},
    {'S', 87},
    {'C', 75},
    {'S', 86},
    {'C', 76},
    // The plus sign follows the fields every record has, so that a record without it reads
    // as it always did.
    {'C', 72},
};

} // namespace

NumberLinePage::NumberLinePage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                               QWidget* parent)
    : FigurePage(kind, host, redrawer, parent)
{
    QFrame* main = panel();
    QFrame* subdivisions = panel();
    buildMainPanel(main);
    buildSubdivisionPanel(subdivisions);

    // Own handlers refill their own emptied text; spin edits that share another one's
    // handler only redraw, and an emptied one counts as its minimum.
    for (int n : {72, 66, 73, 74, 75, 76, 77, 78, 79, 80, 81, 83}) {
        Spin* s = m_spin[n];
        connect(s, &Spin::changed, this, [this, s] { commonSpinChange(s); });
    }
    for (int n : {69, 87, 84, 86, 82, 85}) {
        connect(m_spin[n], &Spin::changed, this, [this] { requestRedraw(); });
    }
    for (QComboBox* c : m_combo) {
        if (c) {
            connect(c, &QComboBox::activated, this, [this] { requestRedraw(); });
        }
    }
    connect(m_unit, &QLineEdit::textChanged, this, [this] { requestRedraw(); });
    connect(m_reset[1], &widgets::ResetButton::clicked, this, &NumberLinePage::line1Click);
    connect(m_reset[2], &widgets::ResetButton::clicked, this, &NumberLinePage::line2Click);
}

void NumberLinePage::buildMainPanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, m_reset[1], QStringLiteral("line1"),
                                   {{2, "本数"}, {3, "間隔"}, {5, "個数"}, {6, "間隔"}});
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Graduations, p, QStringLiteral("数直線")),
                    1, 1);
    grid->addWidget(numberedSpin(m_spin, 72, 1, 1000, 10), 1, 2);
    grid->addWidget(numberedSpin(m_spin, 66, 1, 1000, 50), 1, 3);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesAcross, p, QStringLiteral("横に並べる")), 1, 4);
    grid->addWidget(numberedSpin(m_spin, 75, 1, 500, 1, 3), 1, 5);
    grid->addWidget(numberedSpin(m_spin, 74, 0, 500, 50, 3), 1, 6);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesDown, p, QStringLiteral("縦に並べる")), 2, 4);
    grid->addWidget(numberedSpin(m_spin, 76, 1, 500, 1, 3), 2, 5);
    grid->addWidget(numberedSpin(m_spin, 77, 0, 500, 100, 3), 2, 6);

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
    m_combo[69] = lineCombo("ComboBox69", render::kSolidIndex);
    line->addWidget(m_combo[69], 1, 1);
    line->addWidget(numberedSpin(m_spin, 80, 1, 5, 1, 1), 1, 2);
    m_combo[68] = colorCombo("ComboBox68");
    line->addWidget(m_combo[68], 1, 3);
    line->addWidget(numberedItemCombo(m_combo, 66, {"なし", "あり"}), 1, 4);

    // The main ticks.
    QGridLayout* ticks = section(4);
    ticks->addWidget(caption("目盛り", p), 0, 0);
    ticks->addWidget(caption("長さ", p), 0, 1);
    ticks->addWidget(caption("線種", p), 0, 2);
    ticks->addWidget(caption("線幅", p), 0, 3);
    ticks->addWidget(caption("色", p), 0, 4);
    ticks->addWidget(numberedItemCombo(m_combo, 65, {"┸", "┰", "╂", "●"}), 1, 0);
    ticks->addWidget(numberedSpin(m_spin, 73, 1, 1000, 10), 1, 1);
    m_combo[63] = lineCombo("ComboBox63", render::kSolidIndex);
    ticks->addWidget(m_combo[63], 1, 2);
    ticks->addWidget(numberedSpin(m_spin, 83, 1, 5, 1, 1), 1, 3);
    m_combo[64] = colorCombo("ComboBox64");
    ticks->addWidget(m_combo[64], 1, 4);

    // The labels, over three rows.
    QGridLayout* labels = section(5);
    labels->addWidget(caption("有無", p), 0, 1);
    labels->addWidget(caption("位置", p), 0, 2);
    labels->addWidget(caption("初期値", p), 0, 3);
    labels->addWidget(caption("増減", p), 0, 4);
    labels->addWidget(widgets::rowPictureLabel(RowPicture::Text, p, QStringLiteral("文字")), 1, 0);
    labels->addWidget(numberedItemCombo(m_combo, 67, {"なし", "あり"}), 1, 1);
    labels->addWidget(numberedItemCombo(m_combo, 71, {"↑", "↓"}), 1, 2);
    labels->addWidget(numberedSpin(m_spin, 78, -100000, 100000, 1), 1, 3);
    labels->addWidget(numberedSpin(m_spin, 81, -1000, 1000, 1), 1, 4);
    labels->addWidget(caption("＋符号", p), 2, 1);
    labels->addWidget(caption("大きさ", p), 2, 2);
    labels->addWidget(caption("色", p), 2, 3);
    labels->addWidget(numberedItemCombo(m_combo, 72, {"なし", "あり"}), 3, 1);
    labels->addWidget(numberedSpin(m_spin, 79, 10, 100, 10), 3, 2);
    m_combo[70] = colorCombo("ComboBox70");
    labels->addWidget(m_combo[70], 3, 3);
    labels->addWidget(
        numberedItemCombo(m_combo, 77, {"なし", "10分の1", "100分の1", "1000分の1", "10000分の1"}),
        3, 4, 1, 2);
    labels->addWidget(caption("文字", p), 4, 1);
    m_unit = new QLineEdit(p);
    m_unit->setObjectName(QStringLiteral("Edit1"));
    m_unit->setToolTip(QStringLiteral("0 以外の数字の後に付ける単位"));
    labels->addWidget(m_unit, 4, 2, 1, 3);
}

void NumberLinePage::buildSubdivisionPanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, m_reset[2], QStringLiteral("line2"),
                                   {{2, "分割"}, {3, "長さ"}, {4, "線種"}, {5, "線幅"}, {6, "色"}});
    const struct
    {
        int count, length, kind, width, color;
    } rows[] = {{82, 69, 73, 84, 74}, {85, 87, 75, 86, 76}};
    int r = 1;
    for (const auto& row : rows) {
        grid->addWidget(widgets::rowPictureLabel(RowPicture::Graduations, p,
                                                 QStringLiteral("細かい目盛り %1").arg(r)),
                        r, 1);
        grid->addWidget(numberedSpin(m_spin, row.count, 1, 500, 1, 3), r, 2);
        grid->addWidget(numberedSpin(m_spin, row.length, 1, 1000, 5), r, 3);
        grid->addWidget(numberedLineCombo(m_combo, row.kind, render::kSolidIndex), r, 4);
        grid->addWidget(numberedSpin(m_spin, row.width, 1, 5, 1), r, 5);
        grid->addWidget(numberedColorCombo(m_combo, row.color), r, 6);
        ++r;
    }
}

NumberLineParams NumberLinePage::params() const
{
    NumberLineParams p;
    p.tickCount = m_spin[72]->value();
    p.tickSpacing = m_spin[66]->value();
    p.countAcross = m_spin[75]->value();
    p.gapAcross = m_spin[74]->value();
    p.countDown = m_spin[76]->value();
    p.gapDown = m_spin[77]->value();
    p.axis = lineSetting(m_combo, m_spin, 69, 80, 68);
    p.axisExtended = m_combo[66]->currentIndex() == 1;
    p.tickShape = m_combo[65]->currentIndex();
    p.tickLength = m_spin[73]->value();
    p.ticks = lineSetting(m_combo, m_spin, 63, 83, 64);
    p.labelsOn = m_combo[67]->currentIndex() == 1;
    p.labelsBelow = m_combo[71]->currentIndex() == 1;
    p.labelStart = m_spin[78]->value();
    p.labelStep = m_spin[81]->value();
    p.labelScale = m_combo[77]->currentIndex();
    p.labelPlusSign = m_combo[72]->currentIndex() == 1;
    p.labelSize = m_spin[79]->value();
    p.labelColor = m_combo[70]->currentIndex();
    p.labelUnit = m_unit->text();
    p.sub1Count = m_spin[82]->value();
    p.sub1Length = m_spin[69]->value();
    p.sub1 = lineSetting(m_combo, m_spin, 73, 84, 74);
    p.sub2Count = m_spin[85]->value();
    p.sub2Length = m_spin[87]->value();
    p.sub2 = lineSetting(m_combo, m_spin, 75, 86, 76);
    return p;
}

void NumberLinePage::render(render::Canvas& canvas, const render::Frame& frame)
{
    drawNumberLine(canvas, params(), frame, &host().figureCaches());
}

void NumberLinePage::line1Click()
{
    Redrawer::Scope scope(redrawer());
    // The vertical gap comes back as 50, not the 100 of a fresh page.
    setSpinTexts(m_spin, {{72, "10"},
                          {66, "50"},
                          {75, "1"},
                          {74, "50"},
                          {76, "1"},
                          {77, "50"},
                          {80, "1"},
                          {73, "10"},
                          {83, "1"},
                          {78, "1"},
                          {81, "1"},
                          {79, "10"}});
    for (int n : {65, 63, 66, 69, 67, 71, 72, 77}) {
        m_combo[n]->setCurrentIndex(0);
    }
    m_unit->clear();
    for (int n : {68, 64, 70}) {
        m_combo[n]->setCurrentIndex(render::defaultColorIndex(host().whiteBackground()));
    }
    scope.request(kind());
}

void NumberLinePage::line2Click()
{
    Redrawer::Scope scope(redrawer());
    setSpinTexts(m_spin, {{82, "1"}, {69, "5"}, {84, "1"}, {85, "1"}, {87, "5"}, {86, "1"}});
    m_combo[73]->setCurrentIndex(render::kSolidIndex);
    m_combo[75]->setCurrentIndex(render::kSolidIndex);
    for (int n : {74, 76}) {
        m_combo[n]->setCurrentIndex(render::defaultColorIndex(host().whiteBackground()));
    }
    scope.request(kind());
}

QStringList NumberLinePage::recordFields() const
{
    QStringList values;
    for (const Field& f : kRecord) {
        switch (f.type) {
        case 'S':
            values.append(render::quoteCommaItem(m_spin[f.number]->text()));
            break;
        case 'C':
            values.append(QString::number(m_combo[f.number]->currentIndex()));
            break;
        default:
            // A unit with commas, blanks or a leading quote is quoted, so it never splits.
            values.append(render::quoteCommaItem(m_unit->text()));
            break;
        }
    }
    return values;
}

void NumberLinePage::applyRecordFields(const QStringList& fields)
{
    Redrawer::Scope scope(redrawer());
    // A record without the plus sign leaves it off.
    if (fields.size() < qsizetype(std::size(kRecord))) {
        m_combo[72]->setCurrentIndex(0);
    }
    const qsizetype count = std::min<qsizetype>(fields.size(), std::size(kRecord));
    for (qsizetype i = 0; i < count; ++i) {
        const Field& f = kRecord[i];
        switch (f.type) {
        case 'S':
            m_spin[f.number]->setStoredText(fields[i]);
            break;
        case 'C':
            m_combo[f.number]->setCurrentIndex(toInteger(fields[i]));
            break;
        default:
            m_unit->setText(fields[i]);
            break;
        }
    }
    scope.request(kind());
}

} // namespace koyomi::figures
