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

void FigurePage::commonSpinChange(SpinEdit* edit, const QString& refill)
{
    Redrawer::Scope scope(m_redrawer);
    if (edit->text().isEmpty()) {
        edit->setText(refill);
    }
    scope.request(m_kind);
}

void FigurePage::requestRedraw()
{
    Redrawer::Scope scope(m_redrawer);
    scope.request(m_kind);
}

SpinEdit* FigurePage::spin(const char* name, int minimum, int maximum, int value, int maxLength)
{
    auto* e = new SpinEdit(minimum, maximum, value, this);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxTypedLength(maxLength);
    return e;
}

ColorComboBox* FigurePage::colorCombo(const char* name)
{
    auto* c = new ColorComboBox(render::defaultColorIndex(m_host.whiteBackground()), this);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

LineKindComboBox* FigurePage::lineCombo(const char* name, int index)
{
    auto* c = new LineKindComboBox(index, this);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

QCheckBox* FigurePage::check(const char* name, const QString& caption)
{
    auto* c = new QCheckBox(caption, this);
    c->setObjectName(QString::fromLatin1(name));
    return c;
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

QComboBox* FigurePage::itemCombo(const char* name, std::initializer_list<const char*> items,
                                 int index)
{
    auto* c = new FittedComboBox(this);
    c->setObjectName(QString::fromLatin1(name));
    for (const char* item : items) {
        c->addItem(QString::fromUtf8(item));
    }
    c->setCurrentIndex(index);
    return c;
}

QString FigurePage::spinRecordText(const SpinEdit& spin)
{
    return render::quoteCommaItem(spin.text());
}

void FigurePage::setRecordIndex(QComboBox& combo, const QString& value)
{
    combo.setCurrentIndex(figures::toInteger(value));
}

} // namespace koyomi::widgets
