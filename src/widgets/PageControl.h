// The Draw tool's page selector: one flat button per figure, in as many rows as the width
// needs so that every figure is in sight at once, over the stack of pages. Changing the page
// from a button or from code announces the new index; code that must not announce it blocks
// the signals.
#pragma once

#include <QButtonGroup>
#include <QGridLayout>
#include <QIcon>
#include <QStackedWidget>
#include <QToolButton>
#include <QWidget>

#include <vector>

namespace koyomi::widgets {

class PageControl : public QWidget
{
    Q_OBJECT
public:
    // Buttons are laid out `perRow` to a row.
    explicit PageControl(int perRow, QWidget* parent = nullptr);

    void addTab(QWidget* page, const QIcon& icon, const QString& caption);
    int count() const { return int(m_buttons.size()); }
    QString tabText(int index) const { return m_buttons.at(std::size_t(index))->text(); }
    QIcon tabIcon(int index) const { return m_buttons.at(std::size_t(index))->icon(); }
    QToolButton* button(int index) const { return m_buttons.at(std::size_t(index)); }
    QWidget* widget(int index) const { return m_stack->widget(index); }
    int currentIndex() const { return m_stack->currentIndex(); }
    void setCurrentIndex(int index);

signals:
    void currentChanged(int index);

private:
    int m_perRow;
    QGridLayout* m_buttonGrid;
    QButtonGroup* m_group;
    QStackedWidget* m_stack;
    std::vector<QToolButton*> m_buttons;
};

} // namespace koyomi::widgets
