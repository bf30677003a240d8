#include "widgets/ResetButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

namespace koyomi::widgets {

ResetButton::ResetButton(const QString& name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
    setFixedSize(8, 8);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("初期値に戻す"));
}

void ResetButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x40, 0x40, 0x40));
    p.drawPolygon(QPolygon({QPoint(0, 0), QPoint(8, 0), QPoint(0, 8)}));
}

void ResetButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

} // namespace koyomi::widgets
