#include "widgets/FigurePage.h"

#include "figures/Record.h"
#include "render/Palette.h"
#include "render/Text.h"
#include "widgets/ResetButton.h"

#include <QLabel>
#include <QVBoxLayout>

namespace koyomi::widgets {

FigurePage::FigurePage(int kind, FigureHost& host, Redrawer& redrawer, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_host(host), m_redrawer(redrawer)
{
}

void FigurePage::requestRedraw()
{
    Redrawer::Scope scope(m_redrawer);
    scope.request(m_kind);
}

QLabel* FigurePage::caption(const char* text, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QFrame* FigurePage::panel()
{
    if (!m_column) {
        m_column = new QVBoxLayout(this);
        m_column->setContentsMargins(2, 2, 2, 2);
        m_column->setSpacing(2);
        m_column->addStretch();
    }
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    m_column->insertWidget(m_column->count() - 1, frame);
    return frame;
}

QGridLayout* FigurePage::startPanel(QWidget* panel, ResetButton*& reset, const QString& resetName,
                                    std::initializer_list<std::pair<int, const char*>> captions)
{
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setVerticalSpacing(1);
    // Rows of six or seven controls share the page's 313 pixels: columns stand close, and
    // what is left over goes to a last, empty column rather than between the controls.
    grid->setHorizontalSpacing(2);
    grid->setColumnStretch(kPanelColumns, 1);
    // The reset triangle sits in the panel's corner, over the caption row, so that it takes
    // no column from the controls.
    reset = new ResetButton(resetName, panel);
    reset->move(1, 1);
    reset->raise();
    for (const auto& [column, text] : captions) {
        grid->addWidget(caption(text, panel), 0, column);
    }
    return grid;
}

} // namespace koyomi::widgets
