#include "figures/fractiontiles/FractionTilesPage.h"

#include "figures/Record.h"
#include "render/Palette.h"
#include "render/Text.h"
#include "widgets/RowPictures.h"

#include <initializer_list>

namespace koyomi::figures {

using widgets::Redrawer;
using widgets::RowPicture;

namespace {

// The line settings of the second panel, in panel order, which is also the record's order.
// The master width of every line takes one typed character, the others any number.
constexpr widgets::LineRow kLineRows[] = {
    {RowPicture::WholeGrid, "すべての線", 88, 113, 89, 1},
    {RowPicture::OuterSquare, "外枠", 92, 116, 93, 0},
    {RowPicture::TopSide, "上の辺", 91, 117, 94, 0},
    {RowPicture::BottomSide, "下の辺", 95, 119, 98, 0},
    {RowPicture::LeftSide, "左の辺", 96, 120, 99, 0},
    {RowPicture::RightSide, "右の辺", 97, 121, 100, 0},
    {RowPicture::InnerCross, "分割線", 103, 122, 104, 0},
    {RowPicture::HorizontalBar, "横の分割線", 101, 123, 105, 0},
    {RowPicture::VerticalBar, "縦の分割線", 102, 124, 106, 0},
    {RowPicture::Graduations, "目盛り", 107, 125, 108, 0},
};

// Master rows: a change copies the control's value into these controls.
struct Copy
{
    int from;
    std::initializer_list<int> into;
};

const Copy kSpinCopies[] = {{113, {116, 117, 119, 120, 121, 122, 123, 124}},
                            {116, {117, 119, 120, 121}},
                            {122, {123, 124}}};
const Copy kComboCopies[] = {
    {88, {92, 91, 95, 96, 97, 103, 101, 102}},  {92, {91, 95, 96, 97}},  {103, {101, 102}},
    {89, {93, 94, 98, 99, 100, 104, 105, 106}}, {93, {94, 98, 99, 100}}, {104, {105, 106}}};

template <std::size_t N> const Copy* copyFrom(const Copy (&copies)[N], int n)
{
    for (const Copy& c : copies) {
        if (c.from == n) {
            return &c;
        }
    }
    return nullptr;
}

// The geometry fields of the record, spin edits but for the tick position (a selector).
constexpr int kGeometryRecord[] = {108, 101, 110, 109, 111, 112, 115, 118, 90, 114};

} // namespace

FractionTilesPage::FractionTilesPage(int kind, widgets::FigureHost& host,
                                     widgets::Redrawer& redrawer, QWidget* parent)
    : FigurePage(kind, host, redrawer, parent)
{
    QFrame* geometry = panel();
    QFrame* lines = panel();
    buildGeometryPanel(geometry);
    buildLinePanel(lines);
    connectHandlers();
}

void FractionTilesPage::buildGeometryPanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, m_reset[0], QStringLiteral("Image63"),
                                   {{2, "長さ"}, {4, "個数"}, {5, "間隔"}});
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::VerticalBar, p, QStringLiteral("縦の長さ")), 1, 1);
    grid->addWidget(numberedSpin(m_spin, 108, 1, 1000, 150), 1, 2);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::HorizontalBar, p, QStringLiteral("横の長さ")), 2, 1);
    grid->addWidget(numberedSpin(m_spin, 101, 1, 1000, 100), 2, 2);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesAcross, p, QStringLiteral("横に並べる")), 1, 3);
    grid->addWidget(numberedSpin(m_spin, 110, 1, 500, 1, 3), 1, 4);
    grid->addWidget(numberedSpin(m_spin, 109, 0, 500, 50, 3), 1, 5);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesDown, p, QStringLiteral("縦に並べる")), 2, 3);
    grid->addWidget(numberedSpin(m_spin, 111, 1, 500, 1, 3), 2, 4);
    grid->addWidget(numberedSpin(m_spin, 112, 0, 500, 100, 3), 2, 5);
    grid->addWidget(caption("分割", p), 3, 2);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::HorizontalLines, p, QStringLiteral("横に分割")), 4, 1);
    grid->addWidget(numberedSpin(m_spin, 115, 1, 1000, 1), 4, 2);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::VerticalLines, p, QStringLiteral("縦に分割")), 5, 1);
    grid->addWidget(numberedSpin(m_spin, 118, -1000, 1000, 1), 5, 2);
    grid->addWidget(caption("位置", p), 6, 2);
    grid->addWidget(caption("長さ", p), 6, 3);
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Graduations, p, QStringLiteral("目盛り")),
                    7, 1);
    m_combo[90] = new widgets::FittedComboBox(p);
    m_combo[90]->setObjectName(QStringLiteral("ComboBox90"));
    for (const char* item : {"左", "右", "左右", "上", "下", "上下", "左右上下", "なし"}) {
        m_combo[90]->addItem(QString::fromUtf8(item));
    }
    m_combo[90]->setCurrentIndex(int(TickSides::None));
    m_combo[90]->setToolTip(QStringLiteral("目盛りを付ける辺"));
    grid->addWidget(m_combo[90], 7, 2);
    grid->addWidget(numberedSpin(m_spin, 114, 10, 100, 10), 7, 3);
}

void FractionTilesPage::buildLinePanel(QWidget* p)
{
    QGridLayout* grid =
        startPanel(p, m_reset[1], QStringLiteral("Image78"), {{2, "線種"}, {3, "線幅"}, {4, "色"}});
    addLineRows(grid, p, kLineRows, m_spin, m_combo);
}

void FractionTilesPage::connectHandlers()
{
    for (int n = 0; n < 126; ++n) {
        Spin* s = m_spin[n];
        if (!s) {
            continue;
        }
        const Copy* copy = copyFrom(kSpinCopies, n);
        connect(s, &Spin::changed, this, [this, s, copy] {
            Redrawer::Scope scope(redrawer());
            if (s->text().isEmpty()) {
                s->setText(QStringLiteral("1"));
            }
            if (copy) {
                for (int target : copy->into) {
                    m_spin[target]->setText(s->text());
                }
            }
            scope.request(kind());
        });
    }
    for (int n = 0; n < 109; ++n) {
        QComboBox* c = m_combo[n];
        if (!c) {
            continue;
        }
        const Copy* copy = copyFrom(kComboCopies, n);
        connect(c, &QComboBox::activated, this, [this, c, copy] {
            Redrawer::Scope scope(redrawer());
            if (copy) {
                for (int target : copy->into) {
                    m_combo[target]->setCurrentIndex(c->currentIndex());
                }
            }
            scope.request(kind());
        });
    }
    connect(m_reset[0], &widgets::ResetButton::clicked, this, &FractionTilesPage::bunsu1Click);
    connect(m_reset[1], &widgets::ResetButton::clicked, this, &FractionTilesPage::bunsu2Click);
}

FractionTilesParams FractionTilesPage::params() const
{
    FractionTilesParams p;
    p.tileHeight = m_spin[108]->value();
    p.tileWidth = m_spin[101]->value();
    p.countAcross = m_spin[110]->value();
    p.gapAcross = m_spin[109]->value();
    p.countDown = m_spin[111]->value();
    p.gapDown = m_spin[112]->value();
    p.partsDown = m_spin[115]->value();
    p.partsAcross = m_spin[118]->value();
    p.tickPosition = m_combo[90]->currentIndex();
    // A tick length that is not an integer reads as the field's minimum, like every field.
    p.tickLength = m_spin[114]->value();
    p.topSide = lineSetting(m_combo, m_spin, 91, 117, 94);
    p.bottomSide = lineSetting(m_combo, m_spin, 95, 119, 98);
    p.leftSide = lineSetting(m_combo, m_spin, 96, 120, 99);
    p.rightSide = lineSetting(m_combo, m_spin, 97, 121, 100);
    p.hDivisions = lineSetting(m_combo, m_spin, 101, 123, 105);
    p.vDivisions = lineSetting(m_combo, m_spin, 102, 124, 106);
    p.ticks = lineSetting(m_combo, m_spin, 107, 125, 108);
    return p;
}

void FractionTilesPage::render(render::Canvas& canvas, const render::Frame& frame)
{
    drawFractionTiles(canvas, params(), frame);
}

void FractionTilesPage::bunsu1Click()
{
    Redrawer::Scope scope(redrawer());
    setSpinTexts(m_spin, {{108, "150"},
                          {101, "100"},
                          {110, "1"},
                          {109, "50"},
                          {111, "1"},
                          {112, "100"},
                          {115, "1"},
                          {118, "1"}});
    m_combo[90]->setCurrentIndex(int(TickSides::None));
    m_spin[114]->setText(QStringLiteral("10"));
    scope.request(kind());
}

void FractionTilesPage::bunsu2Click()
{
    Redrawer::Scope scope(redrawer());
    for (const widgets::LineRow& row : kLineRows) {
        m_combo[row.kind]->setCurrentIndex(render::kSolidIndex);
    }
    for (const widgets::LineRow& row : kLineRows) {
        m_spin[row.width]->setText(QStringLiteral("1"));
    }
    for (const widgets::LineRow& row : kLineRows) {
        m_combo[row.color]->setCurrentIndex(render::defaultColorIndex(host().whiteBackground()));
    }
    scope.request(kind());
}

QStringList FractionTilesPage::recordFields() const
{
    QStringList values;
    for (int n : kGeometryRecord) {
        values.append(n == 90 ? QString::number(m_combo[90]->currentIndex())
                              : render::quoteCommaItem(m_spin[n]->text()));
    }
    for (const widgets::LineRow& row : kLineRows) {
        values.append(QString::number(m_combo[row.kind]->currentIndex()));
        values.append(render::quoteCommaItem(m_spin[row.width]->text()));
        values.append(QString::number(m_combo[row.color]->currentIndex()));
    }
    return values;
}

void FractionTilesPage::applyRecordFields(const QStringList& fields)
{
    Redrawer::Scope scope(redrawer());
    // In record order; master rows come before the rows they govern, so the stored values
    // of the governed rows prevail over the masters' copies.
    std::vector<std::pair<char, int>> order;
    for (int n : kGeometryRecord) {
        order.emplace_back(n == 90 ? 'C' : 'S', n);
    }
    for (const widgets::LineRow& row : kLineRows) {
        order.insert(order.end(), {{'C', row.kind}, {'S', row.width}, {'C', row.color}});
    }
    const qsizetype count = std::min<qsizetype>(fields.size(), qsizetype(order.size()));
    for (qsizetype i = 0; i < count; ++i) {
        const auto& [type, n] = order[std::size_t(i)];
        if (type == 'S') {
            m_spin[n]->setStoredText(fields[i]);
        } else {
            m_combo[n]->setCurrentIndex(toInteger(fields[i]));
        }
    }
    scope.request(kind());
}

} // namespace koyomi::figures
