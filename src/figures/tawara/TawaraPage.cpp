#include "figures/tawara/TawaraPage.h"

#include "figures/Record.h"
#include "render/Palette.h"
#include "render/Text.h"
#include "widgets/RowPictures.h"

namespace koyomi::figures {

using widgets::Redrawer;
using widgets::RowPicture;

TawaraPage::TawaraPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                       QWidget* parent)
    : FigurePage(kind, host, redrawer, parent)
{
    QFrame* p = panel();
    p->setObjectName(QStringLiteral("Panel14"));
    QGridLayout* grid = startPanel(p, m_reset, QStringLiteral("Tawara1"),
                                   {{2, "大きさ"}, {3, "形状"}, {4, "段数"}, {5, "向き"}});
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Circle, p, QStringLiteral("円周")), 1, 1);
    m_size = spin("SpinEdit102", 1, 100, 30);
    m_size->setToolTip(QStringLiteral("円の半径 (正方形は辺の半分)"));
    m_shape = itemCombo("ComboBox84", {"○", "□"}, 0);
    m_shape->setToolTip(QStringLiteral("俵の形"));
    m_rows = spin("SpinEdit107", 0, 50, 2);
    m_rows->setToolTip(QStringLiteral("段の数 (r 段目に r 個)"));
    m_apex = itemCombo("ComboBox87", {"△", "▽"}, 0);
    m_apex->setToolTip(QStringLiteral("頂点を上に (△) または下に (▽)"));
    grid->addWidget(m_size, 1, 2);
    grid->addWidget(m_shape, 1, 3);
    grid->addWidget(m_rows, 1, 4);
    grid->addWidget(m_apex, 1, 5);

    grid->addWidget(caption("個数", p), 2, 2);
    grid->addWidget(caption("間隔", p), 2, 3);
    // The counts and gaps take at most three typed characters.
    m_countAcross = spin("SpinEdit104", 1, 500, 1, 3);
    m_gapAcross = spin("SpinEdit103", 0, 500, 150, 3);
    m_countDown = spin("SpinEdit105", 1, 500, 1, 3);
    m_gapDown = spin("SpinEdit106", 0, 500, 150, 3);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesAcross, p, QStringLiteral("横に並べる")), 3, 1);
    grid->addWidget(m_countAcross, 3, 2);
    grid->addWidget(m_gapAcross, 3, 3);
    grid->addWidget(
        widgets::rowPictureLabel(RowPicture::BoxesDown, p, QStringLiteral("縦に並べる")), 4, 1);
    grid->addWidget(m_countDown, 4, 2);
    grid->addWidget(m_gapDown, 4, 3);

    grid->addWidget(caption("線種", p), 5, 2);
    grid->addWidget(caption("線幅", p), 5, 3);
    grid->addWidget(caption("色", p), 5, 4);
    m_lineKind = lineCombo("ComboBox85", render::kSolidIndex);
    m_lineWidth = spin("SpinEdit100", 1, 5, 1);
    m_lineColor = colorCombo("ComboBox86");
    m_lineKind->setToolTip(QStringLiteral("輪郭の線の種類"));
    m_lineWidth->setToolTip(QStringLiteral("輪郭の線の太さ"));
    m_lineColor->setToolTip(QStringLiteral("輪郭の線の色"));
    grid->addWidget(m_lineKind, 6, 2);
    grid->addWidget(m_lineWidth, 6, 3);
    grid->addWidget(m_lineColor, 6, 4);

    // Every spin edit, the gaps too, refills an emptied text with "1".
    for (Spin* s :
         {m_size, m_rows, m_countAcross, m_gapAcross, m_countDown, m_gapDown, m_lineWidth}) {
        connect(s, &Spin::changed, this, [this, s] { commonSpinChange(s); });
    }
    for (QComboBox* c : {m_shape, m_apex, m_lineKind, m_lineColor}) {
        connect(c, &QComboBox::activated, this, [this] { requestRedraw(); });
    }
    connect(m_reset, &widgets::ResetButton::clicked, this, &TawaraPage::Tawara1Click);
}

TawaraParams TawaraPage::params() const
{
    TawaraParams p;
    p.pieceSize = m_size->value();
    p.pieceShape = m_shape->currentIndex();
    p.rowCount = m_rows->value();
    p.orientation = m_apex->currentIndex();
    p.countAcross = m_countAcross->value();
    p.gapAcross = m_gapAcross->value();
    p.countDown = m_countDown->value();
    p.gapDown = m_gapDown->value();
    p.lineKind = m_lineKind->currentIndex();
    p.lineWidth = m_lineWidth->value();
    p.lineColor = m_lineColor->currentIndex();
    return p;
}

void TawaraPage::render(render::Canvas& canvas, const render::Frame& frame)
{
    drawTawara(canvas, params(), frame, &host().figureCaches());
}

void TawaraPage::Tawara1Click()
{
    Redrawer::Scope scope(redrawer());
    m_size->setText(QStringLiteral("30"));
    m_shape->setCurrentIndex(int(TawaraShape::Circle));
    m_rows->setText(QStringLiteral("2"));
    m_lineKind->setCurrentIndex(render::kSolidIndex);
    m_apex->setCurrentIndex(int(TawaraOrientation::ApexUp));
    m_lineWidth->setText(QStringLiteral("1"));
    m_countAcross->setText(QStringLiteral("1"));
    m_gapAcross->setText(QStringLiteral("150"));
    m_countDown->setText(QStringLiteral("1"));
    m_gapDown->setText(QStringLiteral("150"));
    m_lineColor->setCurrentIndex(render::defaultColorIndex(host().whiteBackground()));
    scope.request(kind());
}

QStringList TawaraPage::recordFields() const
{
    auto text = [](const Spin* s) { return render::quoteCommaItem(s->text()); };
    auto index = [](const QComboBox* c) { return QString::number(c->currentIndex()); };
    return {text(m_size),      index(m_shape),    text(m_rows),       index(m_apex),
            index(m_lineKind), text(m_lineWidth), index(m_lineColor), text(m_countAcross),
            text(m_gapAcross), text(m_countDown), text(m_gapDown)};
}

void TawaraPage::applyRecordFields(const QStringList& fields)
{
    Redrawer::Scope scope(redrawer());
    // In record order: a spin edit takes its text, a selector its index.
    const std::initializer_list<QWidget*> controls{
        m_size,      m_shape,       m_rows,      m_apex,      m_lineKind, m_lineWidth,
        m_lineColor, m_countAcross, m_gapAcross, m_countDown, m_gapDown};
    qsizetype i = 0;
    for (QWidget* control : controls) {
        if (i >= fields.size()) {
            break;
        }
        if (auto* s = qobject_cast<Spin*>(control)) {
            s->setStoredText(fields[i]);
        } else {
            static_cast<QComboBox*>(control)->setCurrentIndex(toInteger(fields[i]));
        }
        ++i;
    }
    scope.request(kind());
}

} // namespace koyomi::figures
