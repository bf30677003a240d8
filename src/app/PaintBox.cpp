#include "app/PaintBox.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace koyomi::app {

PaintBox::PaintBox(QWidget* parent) : QWidget(parent), m_canvas(1, 1)
{
    setObjectName(QStringLiteral("PaintBox1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::fitCanvas(render::ColorRef background)
{
    if (m_canvas.width() != width() || m_canvas.height() != height()) {
        m_canvas.resize(width(), height(), background);
    }
}

void PaintBox::paintEvent(QPaintEvent* event)
{
    // Only shows the backing image: an exposure needs no redraw, so annotations survive a
    // dialog passing over the window.
    QPainter p(this);
    p.drawImage(event->rect(), m_canvas.image(), event->rect());
}

void PaintBox::resizeEvent(QResizeEvent*)
{
    emit resized();
}

void PaintBox::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    emit mousePressed(event->button(), pos.x(), pos.y());
}

void PaintBox::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    emit mouseMoved(pos.x(), pos.y());
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    emit mouseReleased(event->button(), pos.x(), pos.y());
}

void PaintBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("PopupMenu1"));
    QAction* copy = menu.addAction(QStringLiteral("コピー"));
    copy->setObjectName(QStringLiteral("Copy2"));
    connect(copy, &QAction::triggered, this, &PaintBox::copyRequested);
    menu.exec(event->globalPos());
}

} // namespace koyomi::app
