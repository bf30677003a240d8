#include "widgets/ComboBoxes.h"

#include "render/Palette.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace koyomi::widgets {

namespace {

QIcon swatch(render::ColorRef color)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(QColor::fromRgb(render::toQRgb(color)));
    QPainter p(&pixmap);
    p.setPen(Qt::gray);
    p.drawRect(0, 0, 11, 11);
    return QIcon(pixmap);
}

QIcon lineSample(render::PenStyle style)
{
    QPixmap pixmap(24, 12);
    pixmap.fill(Qt::white);
    if (style != render::PenStyle::Clear) {
        QPainter p(&pixmap);
        QPen pen(Qt::black);
        pen.setStyle(style == render::PenStyle::Dash         ? Qt::DashLine
                     : style == render::PenStyle::Dot        ? Qt::DotLine
                     : style == render::PenStyle::DashDot    ? Qt::DashDotLine
                     : style == render::PenStyle::DashDotDot ? Qt::DashDotDotLine
                                                             : Qt::SolidLine);
        p.setPen(pen);
        p.drawLine(0, 6, 23, 6);
    }
    return QIcon(pixmap);
}

// The open list's rows: each line kind's sample before its name.
class LineSampleDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const std::size_t row = std::size_t(index.row());
        if (row < render::LineStyle.size()) {
            option->features |= QStyleOptionViewItem::HasDecoration;
            option->icon = lineSample(render::LineStyle[row].pen);
            option->decorationSize = QSize(24, 12);
        }
    }
};

} // namespace

ColorComboBox::ColorComboBox(int index, QWidget* parent) : FittedComboBox(parent)
{
    for (const render::PaletteEntry& e : render::PaletteColor) {
        addItem(swatch(e.color), QString::fromUtf8(e.caption));
    }
    setCurrentIndex(index);
}

LineKindComboBox::LineKindComboBox(int index, QWidget* parent) : FittedComboBox(parent)
{
    for (const render::LineStyleEntry& e : render::LineStyle) {
        addItem(QString::fromUtf8(e.caption));
    }
    view()->setItemDelegate(new LineSampleDelegate(view()));
    setCurrentIndex(index);
}

} // namespace koyomi::widgets
