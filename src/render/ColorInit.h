// Resets the default colour choices of the figures to match the background.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace koyomi::render {

// Something whose colour choice ColorInit sets: a colour selector of a figure page.
class ColorSelector
{
public:
    virtual ~ColorSelector() = default;
    // Sets the selected item without running the selector's change handling.
    virtual void setColorIndex(int index) = 0;
};

// The colour selectors reset on a background change, in the order they are reset.
inline constexpr std::array<std::string_view, 47> kColorInitOrder{
    "ComboBox10",  "ComboBox11",  "ComboBox12",  "ComboBox13",  "ComboBox14",  "ComboBox15",
    "ComboBox16",  "ComboBox17",  "ComboBox18",  "ComboBox20",  "ComboBox22",  "ComboBox24",
    "ComboBox26",  "ComboBox56",  "ComboBox57",  "ComboBox83",  "ComboBox28",  "ComboBox30",
    "ComboBox36",  "ComboBox38",  "ComboBox39",  "ComboBox41",  "ComboBox43",  "ComboBox46",
    "ComboBox79",  "ComboBox81",  "ComboBox51",  "ComboBox55",  "ComboBox59",  "ComboBox60",
    "ComboBox52",  "ComboBox64",  "ComboBox68",  "ComboBox70",  "ComboBox74",  "ComboBox76",
    "ComboBox86",  "ComboBox89",  "ComboBox93",  "ComboBox94",  "ComboBox98",  "ComboBox99",
    "ComboBox100", "ComboBox104", "ComboBox105", "ComboBox106", "ComboBox108",
};

// Sets every selector to white on a black background and to black on a white one, in the
// order given; the selectors' other state is left alone.
void ColorInit(std::span<ColorSelector* const> selectors, bool whiteBackground);

} // namespace koyomi::render
