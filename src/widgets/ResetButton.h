// The small triangle in a panel's top-left corner that restores the panel's defaults.
#pragma once

#include <QWidget>

namespace koyomi::widgets {

class ResetButton : public QWidget
{
    Q_OBJECT
public:
    explicit ResetButton(const QString& name, QWidget* parent = nullptr);
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace koyomi::widgets
