#include "figures/grid/GridPage.h"

#include "figures/Record.h"
#include "figures/Rounding.h"
#include "render/Palette.h"
#include "render/Text.h"
#include "widgets/RowPictures.h"

#include <QLabel>

#include <algorithm>
#include <climits>

namespace koyomi::figures {

using widgets::Redrawer;
using widgets::RowPicture;

namespace {

// A spacing as the field can hold it.
int spacing(long double v)
{
    return int(std::clamp<long long>(roundHalfEven(v), INT_MIN, INT_MAX));
}

// The spin edits of the record, in record order: geometry, then the mark size.
constexpr int kGeometryFields[] = {38, 39, 32, 30, 33, 31, 35, 34, 36, 37};

} // namespace

GridPage::GridPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                   QWidget* parent)
    : FigurePage(kind, host, redrawer, parent)
{
    QFrame* geometry = panel();
    QFrame* marks = panel();
    buildGeometryPanel(geometry);
    buildMarkPanel(marks);
    connectHandlers();
}

void GridPage::buildGeometryPanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, m_reset[1], QStringLiteral("grid1"),
                                   {{2, "個数"}, {3, "間隔"}, {5, "個数"}, {6, "間隔"}});
    const struct
    {
        RowPicture picture;
        const char* hint;
        int count, spacing;
    } pointRows[] = {
        {RowPicture::Cross, "縦横とも", 38, 39},
        {RowPicture::HorizontalBar, "行 (上下の間隔)", 32, 30},
        {RowPicture::VerticalBar, "列 (左右の間隔)", 33, 31},
    };
    for (int r = 0; r < 3; ++r) {
        const auto& row = pointRows[r];
        grid->addWidget(widgets::rowPictureLabel(row.picture, p, QString::fromUtf8(row.hint)),
                        r + 1, 1);
        grid->addWidget(numberedSpin(m_spin, row.count, 1, 1000, 10), r + 1, 2);
        grid->addWidget(numberedSpin(m_spin, row.spacing, 1, 1000, 50), r + 1, 3);
    }
    const struct
    {
        RowPicture picture;
        const char* hint;
        int count, gap, minimumGap;
    } blockRows[] = {
        {RowPicture::BoxesAcross, "横に並べる", 35, 34, 0},
        {RowPicture::BoxesDown, "縦に並べる", 36, 37, 1},
    };
    for (int r = 0; r < 2; ++r) {
        const auto& row = blockRows[r];
        grid->addWidget(widgets::rowPictureLabel(row.picture, p, QString::fromUtf8(row.hint)),
                        r + 1, 4);
        // The block counts and gaps take at most three typed characters.
        grid->addWidget(numberedSpin(m_spin, row.count, 1, 500, 1, 3), r + 1, 5);
        grid->addWidget(numberedSpin(m_spin, row.gap, row.minimumGap, 500, 10, 3), r + 1, 6);
    }
    m_spin[38]->setToolTip(QStringLiteral("行と列の点の数をまとめて設定"));
    m_spin[39]->setToolTip(QStringLiteral("上下と左右の間隔をまとめて設定"));
}

void GridPage::buildMarkPanel(QWidget* p)
{
    QGridLayout* grid =
        startPanel(p, m_reset[2], QStringLiteral("grid2"), {{1, "形状"}, {2, "大きさ"}, {3, "色"}});
    m_shape = new widgets::FittedComboBox(p);
    m_shape->setObjectName(QStringLiteral("ComboBox29"));
    m_shape->addItems({QStringLiteral("○"), QStringLiteral("●"), QStringLiteral("＋"),
                       QStringLiteral("×"), QStringLiteral("なし")});
    m_shape->setToolTip(QStringLiteral("点の形"));
    grid->addWidget(m_shape, 1, 1);
    // The mark size takes one typed character; the buttons go up to the maximum.
    grid->addWidget(numberedSpin(m_spin, 40, 1, 1000, 1, 1), 1, 2);
    m_spin[40]->setToolTip(QStringLiteral("点の大きさ (半径)"));
    m_color = colorCombo("ComboBox30");
    m_color->setToolTip(QStringLiteral("点の色"));
    grid->addWidget(m_color, 1, 3);
    grid->addWidget(caption("有無", p), 2, 1);
    m_centres = new widgets::FittedComboBox(p);
    m_centres->setObjectName(QStringLiteral("ComboBox62"));
    m_centres->addItems({QStringLiteral("なし"), QStringLiteral("あり")});
    m_centres->setToolTip(QStringLiteral("ます目の中心にも点を打つ"));
    grid->addWidget(m_centres, 3, 1);
    m_equilateral = check("CheckBox5", QStringLiteral("正三角形"));
    m_equilateral->setToolTip(QStringLiteral("上下の間隔を左右の間隔の√3倍に保つ"));
    grid->addWidget(m_equilateral, 3, 2, 1, 2);
}

void GridPage::spinChange(int n)
{
    Spin* s = m_spin[n];
    const bool coupled = m_equilateral->isChecked();
    switch (n) {
    case 38:
        m_spin[32]->setText(s->text());
        m_spin[33]->setText(s->text());
        break;
    case 39:
        m_spin[30]->setText(s->text());
        if (coupled) {
            m_spin[31]->setValue(spacing(toInteger(s->text()) / kRootThree));
        } else {
            m_spin[31]->setText(s->text());
        }
        break;
    case 30:
        if (coupled) {
            m_spin[31]->setValue(spacing(toInteger(s->text()) / kRootThree));
        }
        break;
    case 31:
        if (coupled) {
            m_spin[30]->setValue(spacing(toInteger(s->text()) * kRootThree));
        }
        break;
    default:
        break;
    }
}

void GridPage::connectHandlers()
{
    for (int n = 30; n <= 40; ++n) {
        Spin* s = m_spin[n];
        connect(s, &Spin::changed, this, [this, s, n] {
            Redrawer::Scope scope(redrawer());
            if (s->text().isEmpty()) {
                s->setText(QStringLiteral("1"));
            }
            try {
                spinChange(n);
            } catch (const EConvertError& e) {
                // The other spacing and the drawing stay as they were.
                host().showError(QString::fromUtf8(e.what()));
                return;
            }
            scope.request(kind());
        });
    }
    for (QComboBox* c : {m_shape, m_color, m_centres}) {
        connect(c, &QComboBox::activated, this, [this] { requestRedraw(); });
    }
    connect(m_equilateral, &QCheckBox::toggled, this, [this](bool ticked) {
        Redrawer::Scope scope(redrawer());
        if (ticked) {
            try {
                m_spin[31]->setValue(spacing(toInteger(m_spin[30]->text()) / kRootThree));
            } catch (const EConvertError& e) {
                host().showError(QString::fromUtf8(e.what()));
                return;
            }
        }
        scope.request(kind());
    });
    connect(m_reset[1], &widgets::ResetButton::clicked, this, &GridPage::grid1Click);
    connect(m_reset[2], &widgets::ResetButton::clicked, this, &GridPage::grid2Click);
}

GridParams GridPage::params() const
{
    GridParams p;
    p.rowCount = m_spin[32]->value();
    p.rowSpacing = m_spin[30]->value();
    p.columnCount = m_spin[33]->value();
    p.columnSpacing = m_spin[31]->value();
    p.countAcross = m_spin[35]->value();
    p.gapAcross = m_spin[34]->value();
    p.countDown = m_spin[36]->value();
    p.gapDown = m_spin[37]->value();
    p.markShape = m_shape->currentIndex();
    p.markSize = m_spin[40]->value();
    p.markColor = m_color->currentIndex();
    p.centreMarksOn = m_centres->currentIndex() == 1;
    return p;
}

void GridPage::render(render::Canvas& canvas, const render::Frame& frame)
{
    drawGrid(canvas, params(), frame, &host().figureCaches());
}

void GridPage::grid1Click()
{
    Redrawer::Scope scope(redrawer());
    setSpinTexts(m_spin, {{38, "10"},
                          {39, "50"},
                          {32, "10"},
                          {30, "50"},
                          {33, "10"},
                          {31, "50"},
                          {35, "1"},
                          {34, "10"},
                          {36, "1"},
                          {37, "10"}});
    scope.request(kind());
}

void GridPage::grid2Click()
{
    Redrawer::Scope scope(redrawer());
    m_spin[40]->setText(QStringLiteral("1"));
    m_equilateral->setChecked(false);
    m_shape->setCurrentIndex(int(GridMark::Hollow));
    m_centres->setCurrentIndex(0);
    m_color->setCurrentIndex(render::defaultColorIndex(host().whiteBackground()));
    scope.request(kind());
}

QStringList GridPage::recordFields() const
{
    QStringList values;
    for (int n : kGeometryFields) {
        values.append(render::quoteCommaItem(m_spin[n]->text()));
    }
    values.append(QString::number(m_shape->currentIndex()));
    values.append(render::quoteCommaItem(m_spin[40]->text()));
    values.append(QString::number(m_color->currentIndex()));
    values.append(QString::number(m_centres->currentIndex()));
    values.append(m_equilateral->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    return values;
}

void GridPage::applyRecordFields(const QStringList& fields)
{
    Redrawer::Scope scope(redrawer());
    auto field = [&](qsizetype i) -> const QString* {
        return i < fields.size() ? &fields[i] : nullptr;
    };
    // The check box first, so that the spacings come back as they were saved rather than
    // coupled by whatever the box showed before.
    if (const QString* f = field(14)) {
        m_equilateral->setChecked(*f == QStringLiteral("1"));
    }
    for (qsizetype i = 0; i < 10; ++i) {
        if (const QString* f = field(i)) {
            m_spin[kGeometryFields[i]]->setStoredText(*f);
        }
    }
    if (const QString* f = field(10)) {
        m_shape->setCurrentIndex(toInteger(*f));
    }
    if (const QString* f = field(11)) {
        m_spin[40]->setStoredText(*f);
    }
    if (const QString* f = field(12)) {
        m_color->setCurrentIndex(toInteger(*f));
    }
    if (const QString* f = field(13)) {
        m_centres->setCurrentIndex(toInteger(*f));
    }
    scope.request(kind());
}

} // namespace koyomi::figures
