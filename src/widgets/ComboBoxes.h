// Selectors of a colour from PaletteColor and of a line kind from LineStyle. Only choices the
// teacher makes run their handlers (connect to `activated`); setting from code runs none.
#pragma once

#include "render/ColorInit.h"

#include <QComboBox>

namespace koyomi::widgets {

// A selector that is never narrower than its longest item: a layout short of room must not
// cut what the teacher reads.
class FittedComboBox : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    QSize minimumSizeHint() const override { return sizeHint(); }
};

// The closed box names the colour; the open list shows a swatch of each beside its name.
class ColorComboBox : public FittedComboBox, public render::ColorSelector
{
    Q_OBJECT
public:
    explicit ColorComboBox(int index, QWidget* parent = nullptr);
    void setColorIndex(int index) override { setCurrentIndex(index); }
};

// The closed box names the line kind; the open list shows a sample of each beside its name.
class LineKindComboBox : public FittedComboBox
{
    Q_OBJECT
public:
    explicit LineKindComboBox(int index, QWidget* parent = nullptr);
};

} // namespace koyomi::widgets
