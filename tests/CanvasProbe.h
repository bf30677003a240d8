// Helpers for reading canvas pixels in tests.
#pragma once

#include "render/Canvas.h"

#include <string>

namespace koyomi::test {

// The pixels of one row from x0 to x1 (exclusive) as '#' (the colour) and '.' (anything else).
inline std::string rowString(const render::Canvas& c, int y, int x0, int x1,
                             render::ColorRef color = render::kWhite)
{
    std::string s;
    for (int x = x0; x < x1; ++x) {
        s += c.pixel(x, y) == color ? '#' : '.';
    }
    return s;
}

inline std::string columnString(const render::Canvas& c, int x, int y0, int y1,
                                render::ColorRef color = render::kWhite)
{
    std::string s;
    for (int y = y0; y < y1; ++y) {
        s += c.pixel(x, y) == color ? '#' : '.';
    }
    return s;
}

// Number of pixels of the given colour inside the rectangle [x0, x1) × [y0, y1).
inline int countColor(const render::Canvas& c, render::ColorRef color, int x0, int y0, int x1,
                      int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            n += c.pixel(x, y) == color;
        }
    }
    return n;
}

inline int countColor(const render::Canvas& c, render::ColorRef color)
{
    return countColor(c, color, 0, 0, c.width(), c.height());
}

} // namespace koyomi::test
