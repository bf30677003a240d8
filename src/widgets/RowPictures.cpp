#include "widgets/RowPictures.h"

#include <QPainter>

namespace koyomi::widgets {

QPixmap rowPicture(RowPicture picture)
{
    constexpr int s = 16;
    QPixmap pixmap(s, s);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QPen faint(QColor(0xB0, 0xB0, 0xB0));
    const QPen strong(QColor(0x10, 0x10, 0x80), 2);
    auto square = [&](const QPen& pen) {
        p.setPen(pen);
        p.drawRect(2, 2, 11, 11);
    };
    auto inner = [&](const QPen& pen, bool horizontal, bool vertical) {
        p.setPen(pen);
        for (int k = 6; k <= 10; k += 4) {
            if (horizontal) {
                p.drawLine(2, k, 13, k);
            }
            if (vertical) {
                p.drawLine(k, 2, k, 13);
            }
        }
    };
    switch (picture) {
    case RowPicture::Cross:
        p.setPen(strong);
        p.drawLine(1, 8, 15, 8);
        p.drawLine(8, 1, 8, 15);
        break;
    case RowPicture::HorizontalBar:
        p.setPen(strong);
        p.drawLine(1, 8, 15, 8);
        break;
    case RowPicture::VerticalBar:
        p.setPen(strong);
        p.drawLine(8, 1, 8, 15);
        break;
    case RowPicture::BoxesAcross:
        p.setPen(QPen(QColor(0x10, 0x10, 0x80)));
        for (int i = 0; i < 3; ++i) {
            p.drawRect(1 + i * 5, 5, 4, 5);
        }
        break;
    case RowPicture::BoxesDown:
        p.setPen(QPen(QColor(0x10, 0x10, 0x80)));
        for (int i = 0; i < 3; ++i) {
            p.drawRect(5, 1 + i * 5, 5, 4);
        }
        break;
    case RowPicture::WholeGrid:
        square(strong);
        inner(strong, true, true);
        break;
    case RowPicture::OuterSquare:
        inner(faint, true, true);
        square(strong);
        break;
    case RowPicture::TopSide:
    case RowPicture::BottomSide:
    case RowPicture::LeftSide:
    case RowPicture::RightSide: {
        square(faint);
        p.setPen(strong);
        const int a = 2, b = 13;
        if (picture == RowPicture::TopSide) {
            p.drawLine(a, a, b, a);
        } else if (picture == RowPicture::BottomSide) {
            p.drawLine(a, b, b, b);
        } else if (picture == RowPicture::LeftSide) {
            p.drawLine(a, a, a, b);
        } else {
            p.drawLine(b, a, b, b);
        }
        break;
    }
    case RowPicture::InnerCross:
        square(faint);
        inner(strong, true, true);
        break;
    case RowPicture::RisingDiagonal:
        square(faint);
        p.setPen(strong);
        p.drawLine(2, 13, 13, 2);
        break;
    case RowPicture::FallingDiagonal:
        square(faint);
        p.setPen(strong);
        p.drawLine(2, 2, 13, 13);
        break;
    case RowPicture::HorizontalLines:
        inner(strong, true, false);
        p.setPen(strong);
        p.drawLine(2, 2, 13, 2);
        break;
    case RowPicture::VerticalLines:
        inner(strong, false, true);
        p.setPen(strong);
        p.drawLine(2, 2, 2, 13);
        break;
    case RowPicture::Text:
        p.setPen(QColor(0x10, 0x10, 0x80));
        p.drawText(QRect(0, 0, s, s), Qt::AlignCenter, QStringLiteral("A"));
        break;
    case RowPicture::SlantedGrid:
        // Three directions of lines meeting in triangles.
        p.setPen(QPen(QColor(0x10, 0x10, 0x80), 1));
        for (int x = 2; x <= 14; x += 6) {
            p.drawLine(x, 1, x, 15);
        }
        p.drawLine(2, 4, 14, 11);
        p.drawLine(2, 11, 14, 4);
        break;
    case RowPicture::Circle:
        p.setPen(QPen(QColor(0x10, 0x10, 0x80), 1));
        p.setRenderHint(QPainter::Antialiasing);
        p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
        break;
    case RowPicture::Dot:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x10, 0x10, 0x80));
        p.setRenderHint(QPainter::Antialiasing);
        p.drawEllipse(QRectF(5, 5, 6, 6));
        break;
    case RowPicture::Graduations:
        p.setPen(QPen(QColor(0x10, 0x10, 0x80), 1));
        p.drawLine(1, 14, 15, 14);
        for (int x = 2; x <= 14; x += 3) {
            p.drawLine(x, x == 8 ? 6 : 10, x, 14);
        }
        break;
    case RowPicture::Rings:
        p.setPen(QPen(QColor(0x10, 0x10, 0x80), 1));
        p.setRenderHint(QPainter::Antialiasing);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
        break;
    case RowPicture::Spokes:
        p.setPen(QPen(QColor(0x10, 0x10, 0x80), 1));
        p.setRenderHint(QPainter::Antialiasing);
        for (const QPointF end : {QPointF(8, 1), QPointF(14.5, 11.5), QPointF(1.5, 11.5)}) {
            p.drawLine(QPointF(8, 8), end);
        }
        break;
    }
    return pixmap;
}

QLabel* rowPictureLabel(RowPicture picture, QWidget* parent, const QString& hint)
{
    auto* label = new QLabel(parent);
    label->setPixmap(rowPicture(picture));
    label->setToolTip(hint);
    return label;
}

} // namespace koyomi::widgets
