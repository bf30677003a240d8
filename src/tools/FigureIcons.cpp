#include "tools/FigureIcons.h"

#include <QPainter>
#include <QPixmap>

namespace koyomi::tools {

QIcon figureIcon(int kind)
{
    constexpr int s = 16;
    QPixmap pixmap(s, s);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, kind == 3 || kind == 4 || kind == 7);
    p.setPen(QPen(QColor(0x20, 0x30, 0x90), 1));
    switch (kind) {
    case 0: // graph paper
        for (int k = 1; k <= 14; k += 4) {
            p.drawLine(1, k, 13, k);
            p.drawLine(k, 1, k, 13);
        }
        break;
    case 1: // grid of points
        for (int y = 2; y < s; y += 4) {
            for (int x = 2; x < s; x += 4) {
                p.drawPoint(x, y);
                p.drawPoint(x + 1, y);
            }
        }
        break;
    case 2: // slanted grid
        for (int k = -12; k <= 12; k += 4) {
            p.drawLine(k, 15, k + 8, 1);
            p.drawLine(k + 8, 15, k, 1);
        }
        break;
    case 3: // circle with scale
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.drawLine(8, 8, 8, 2);
        p.drawLine(8, 8, 14, 8);
        break;
    case 4: // clock
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.drawLine(8, 8, 8, 4);
        p.drawLine(8, 8, 11, 10);
        break;
    case 5: // picture
        p.drawRect(1, 2, 13, 11);
        p.drawPolyline(
            QPolygon({QPoint(2, 12), QPoint(6, 6), QPoint(9, 10), QPoint(11, 8), QPoint(13, 12)}));
        break;
    case 6: // number line
        p.drawLine(0, 9, 15, 9);
        for (int x = 2; x < s; x += 4) {
            p.drawLine(x, 6, x, 12);
        }
        break;
    case 7: // tawara pile
        for (int row = 0; row < 3; ++row) {
            for (int i = 0; i <= row; ++i) {
                p.drawEllipse(QRectF(6.5 - row * 2.5 + i * 5, 1.5 + row * 4.5, 4, 4));
            }
        }
        break;
    case 8: // fraction tiles
        p.drawRect(1, 2, 13, 4);
        p.drawRect(1, 9, 13, 4);
        p.drawLine(7, 2, 7, 6);
        p.drawLine(5, 9, 5, 13);
        p.drawLine(10, 9, 10, 13);
        break;
    default: // a library record
        p.drawRect(3, 2, 9, 12);
        p.drawLine(5, 5, 10, 5);
        p.drawLine(5, 8, 10, 8);
        p.drawLine(5, 11, 9, 11);
        break;
    }
    return QIcon(pixmap);
}

} // namespace koyomi::tools
