#include "figures/slopegrid/SlopeGridPage.h"

#include "figures/Record.h"
#include "render/Palette.h"
#include "render/Text.h"
#include "widgets/RowPictures.h"

namespace koyomi::figures {

using widgets::Redrawer;

SlopeGridPage::SlopeGridPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                             QWidget* parent)
    : FigurePage(kind, host, redrawer, parent)
{
    QFrame* lines = panel();
    QGridLayout* grid = startPanel(lines, m_reset, QStringLiteral("slope1"),
                                   {{2, "間隔"}, {3, "線種"}, {4, "線幅"}, {5, "色"}});
    grid->addWidget(widgets::rowPictureLabel(widgets::RowPicture::SlantedGrid, lines,
                                             QStringLiteral("斜方眼のすべての線")),
                    1, 1);
    m_spacing = spin("SpinEdit28", 1, 1000, 100);
    m_spacing->setToolTip(QStringLiteral("斜めの線の間隔 (上の辺に沿って)"));
    m_kind = lineCombo("ComboBox27", render::kSolidIndex);
    m_kind->setToolTip(QStringLiteral("線の種類"));
    // The width takes one typed character.
    m_width = spin("SpinEdit29", 1, 5, 1, 1);
    m_width->setToolTip(QStringLiteral("線の太さ"));
    m_color = colorCombo("ComboBox28");
    m_color->setToolTip(QStringLiteral("線の色"));
    grid->addWidget(m_spacing, 1, 2);
    grid->addWidget(m_kind, 1, 3);
    grid->addWidget(m_width, 1, 4);
    grid->addWidget(m_color, 1, 5);

    for (widgets::SpinEdit* s : {m_spacing, m_width}) {
        connect(s, &widgets::SpinEdit::changed, this, [this, s] { commonSpinChange(s); });
    }
    for (QComboBox* c : {m_kind, m_color}) {
        connect(c, &QComboBox::activated, this, [this] { requestRedraw(); });
    }
    connect(m_reset, &widgets::ResetButton::clicked, this, &SlopeGridPage::slope1Click);
}

SlopeGridParams SlopeGridPage::params() const
{
    SlopeGridParams p;
    p.spacing = m_spacing->value();
    p.lineKind = m_kind->currentIndex();
    p.lineWidth = m_width->value();
    p.lineColor = m_color->currentIndex();
    return p;
}

void SlopeGridPage::render(render::Canvas& canvas, const render::Frame& frame)
{
    drawSlopeGrid(canvas, params(), frame);
}

void SlopeGridPage::slope1Click()
{
    Redrawer::Scope scope(redrawer());
    m_spacing->setText(QStringLiteral("100"));
    m_width->setText(QStringLiteral("1"));
    m_kind->setCurrentIndex(render::kSolidIndex);
    m_color->setCurrentIndex(render::defaultColorIndex(host().whiteBackground()));
    scope.request(kind());
}

QStringList SlopeGridPage::recordFields() const
{
    return {render::quoteCommaItem(m_spacing->text()), QString::number(m_kind->currentIndex()),
            render::quoteCommaItem(m_width->text()), QString::number(m_color->currentIndex())};
}

void SlopeGridPage::applyRecordFields(const QStringList& fields)
{
    Redrawer::Scope scope(redrawer());
    const qsizetype n = fields.size();
    if (n > 0) {
        m_spacing->setStoredText(fields[0]);
    }
    if (n > 1) {
        m_kind->setCurrentIndex(toInteger(fields[1]));
    }
    if (n > 2) {
        m_width->setStoredText(fields[2]);
    }
    if (n > 3) {
        m_color->setCurrentIndex(toInteger(fields[3]));
    }
    scope.request(kind());
}

} // namespace koyomi::figures
