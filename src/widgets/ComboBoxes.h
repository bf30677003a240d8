// Selectors of a colour from PaletteColor and of a line kind from LineStyle. Only choices the
// teacher makes run their handlers (connect to `activated`); setting from code runs none.
#pragma once

#include "render/ColorInit.h"

#include <QComboBox>

namespace koyomi::widgets {

class ColorComboBox : public QComboBox, public render::ColorSelector
{
    Q_OBJECT
public:
    explicit ColorComboBox(int index, QWidget* parent = nullptr);
    void setColorIndex(int index) override { setCurrentIndex(index); }
};

class LineKindComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit LineKindComboBox(int index, QWidget* parent = nullptr);
};

} // namespace koyomi::widgets
