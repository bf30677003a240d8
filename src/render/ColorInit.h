// Resets the default colour choices of the figures to match the background.
#pragma once

#include <span>

namespace koyomi::render {

// Something whose colour choice ColorInit sets: a colour selector of a figure page.
class ColorSelector
{
public:
    virtual ~ColorSelector() = default;
    // Sets the selected item without running the selector's change handling.
    virtual void setColorIndex(int index) = 0;
};

// Sets every selector to white on a black background and to black on a white one, in the
// order given; the selectors' other state is left alone.
void ColorInit(std::span<ColorSelector* const> selectors, bool whiteBackground);

} // namespace koyomi::render
