#include "widgets/PageControl.h"

#include <QGridLayout>
#include <QVBoxLayout>

namespace koyomi::widgets {

PageControl::PageControl(int perRow, QWidget* parent)
    : QWidget(parent), m_perRow(std::max(perRow, 1)), m_buttonGrid(new QGridLayout),
      m_group(new QButtonGroup(this)), m_stack(new QStackedWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_buttonGrid->setSpacing(1);
    layout->addLayout(m_buttonGrid);
    layout->addWidget(m_stack, 1);
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, &PageControl::setCurrentIndex);
}

void PageControl::addTab(QWidget* page, const QIcon& icon, const QString& caption)
{
    const int index = count();
    auto* b = new QToolButton(this);
    b->setObjectName(QStringLiteral("PageButton%1").arg(index + 1));
    b->setText(caption);
    b->setIcon(icon);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    b->setCheckable(true);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_group->addButton(b, index);
    m_buttonGrid->addWidget(b, index / m_perRow, index % m_perRow);
    m_buttons.push_back(b);
    m_stack->addWidget(page);
    if (index == 0) {
        b->setChecked(true);
    }
}

void PageControl::setCurrentIndex(int index)
{
    if (index < 0 || index >= count()) {
        return;
    }
    m_buttons[std::size_t(index)]->setChecked(true);
    if (index == m_stack->currentIndex()) {
        return;
    }
    m_stack->setCurrentIndex(index);
    emit currentChanged(index);
}

} // namespace koyomi::widgets
