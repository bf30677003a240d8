#include "widgets/ComboBoxes.h"

#include "render/Palette.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPixmap>
#include <QStyledItemDelegate>

#include <functional>

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

// The open list's rows: a picture of each item before its name (a colour's swatch, a line
// kind's sample); the closed box shows the name alone, which keeps it narrow.
class SampleDelegate : public QStyledItemDelegate
{
public:
    SampleDelegate(std::function<QIcon(int row)> sample, QSize size, QObject* parent)
        : QStyledItemDelegate(parent), m_sample(std::move(sample)), m_size(size)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->icon = m_sample(index.row());
        option->decorationSize = m_size;
    }

private:
    std::function<QIcon(int row)> m_sample;
    QSize m_size;
};

} // namespace

ColorComboBox::ColorComboBox(int index, QWidget* parent) : FittedComboBox(parent)
{
    for (const render::PaletteEntry& e : render::PaletteColor) {
        addItem(QString::fromUtf8(e.caption));
    }
    view()->setItemDelegate(new SampleDelegate(
        [](int row) { return swatch(render::paletteColor(row, render::kBlack)); }, QSize(12, 12),
        view()));
    setCurrentIndex(index);
}

LineKindComboBox::LineKindComboBox(int index, QWidget* parent) : FittedComboBox(parent)
{
    for (const render::LineStyleEntry& e : render::LineStyle) {
        addItem(QString::fromUtf8(e.caption));
    }
    view()->setItemDelegate(new SampleDelegate(
        [](int row) {
            return row >= 0 && std::size_t(row) < render::LineStyle.size()
                       ? lineSample(render::LineStyle[std::size_t(row)].pen)
                       : QIcon();
        },
        QSize(24, 12), view()));
    setCurrentIndex(index);
}

} // namespace koyomi::widgets
