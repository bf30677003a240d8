#include "figures/FigureIcons.h"

#include <QPainter>
#include <QPixmap>

namespace koyomi::figures {

namespace {

// The pictures' ink, and the size they are drawn at.
const QColor kInk(0x20, 0x30, 0x90);
constexpr int kSide = 16;

} // namespace

QIcon figureIcon(void (*draw)(QPainter&), bool round)
{
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    // Round pictures are smoothed; straight ones keep their lines sharp.
    p.setRenderHint(QPainter::Antialiasing, round);
    p.setPen(QPen(kInk, 1));
    draw(p);
    return QIcon(pixmap);
}

void drawGraphPaperIcon(QPainter& p)
{
    for (int k = 1; k <= 14; k += 4) {
        p.drawLine(1, k, 13, k);
        p.drawLine(k, 1, k, 13);
    }
}

void drawGridIcon(QPainter& p)
{
    for (int y = 2; y < kSide; y += 4) {
        for (int x = 2; x < kSide; x += 4) {
            p.drawPoint(x, y);
            p.drawPoint(x + 1, y);
        }
    }
}

void drawSlopeGridIcon(QPainter& p)
{
    for (int k = -12; k <= 12; k += 4) {
        p.drawLine(k, 15, k + 8, 1);
        p.drawLine(k + 8, 15, k, 1);
    }
}

void drawCircleIcon(QPainter& p)
{
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.drawLine(8, 8, 8, 2);
    p.drawLine(8, 8, 14, 8);
}

void drawClockIcon(QPainter& p)
{
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.drawLine(8, 8, 8, 4);
    p.drawLine(8, 8, 11, 10);
}

void drawPictureIcon(QPainter& p)
{
    p.drawRect(1, 2, 13, 11);
    p.drawPolyline(
        QPolygon({QPoint(2, 12), QPoint(6, 6), QPoint(9, 10), QPoint(11, 8), QPoint(13, 12)}));
}

void drawNumberLineIcon(QPainter& p)
{
    p.drawLine(0, 9, 15, 9);
    for (int x = 2; x < kSide; x += 4) {
        p.drawLine(x, 6, x, 12);
    }
}

void drawTawaraIcon(QPainter& p)
{
    for (int row = 0; row < 3; ++row) {
        for (int i = 0; i <= row; ++i) {
            p.drawEllipse(QRectF(6.5 - row * 2.5 + i * 5, 1.5 + row * 4.5, 4, 4));
        }
    }
}

void drawFractionTilesIcon(QPainter& p)
{
    p.drawRect(1, 2, 13, 4);
    p.drawRect(1, 9, 13, 4);
    p.drawLine(7, 2, 7, 6);
    p.drawLine(5, 9, 5, 13);
    p.drawLine(10, 9, 10, 13);
}

} // namespace koyomi::figures
