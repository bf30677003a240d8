// The drawing surface of the presentation window: a canvas the size of the client area.
#pragma once

#include "render/Canvas.h"

#include <QWidget>

#include <functional>

namespace koyomi::app {

class PaintBox : public QWidget
{
    Q_OBJECT
public:
    explicit PaintBox(QWidget* parent = nullptr);

    // Figures draw here at once; update() then shows the result. The canvas follows the
    // widget's size, filled with the background where it grows.
    render::Canvas& canvas() { return m_canvas; }
    void fitCanvas(render::ColorRef background);

signals:
    void mousePressed(Qt::MouseButton button, int x, int y);
    void mouseMoved(int x, int y);
    void mouseReleased(Qt::MouseButton button, int x, int y);
    void copyRequested();
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    render::Canvas m_canvas;
};

} // namespace koyomi::app
