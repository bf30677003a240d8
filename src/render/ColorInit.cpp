#include "render/ColorInit.h"

#include "render/Palette.h"

namespace koyomi::render {

void ColorInit(std::span<ColorSelector* const> selectors, bool whiteBackground)
{
    const int index = defaultColorIndex(whiteBackground);
    for (ColorSelector* selector : selectors) {
        if (selector) {
            selector->setColorIndex(index);
        }
    }
}

} // namespace koyomi::render
