// The named colours and line kinds offered by every colour and line-kind selector.
#pragma once

#include "render/Canvas.h"
#include "render/Color.h"

#include <array>
#include <span>

namespace koyomi::render {

struct PaletteEntry
{
    const char* caption; // UTF-8
    ColorRef color;
};

// Item index of a colour selector → colour.
inline constexpr std::array<PaletteEntry, 12> PaletteColor{{
    {"白", 0xFFFFFF},
    {"黒", 0x000000},
    {"グレー", 0x808080},
    {"水色", 0xFFFF00},
    {"青", 0xEE6600},
    {"紫", 0xDD4488},
    {"ピンク", 0xFF00FF},
    {"赤", 0x0000FF},
    {"オレンジ", 0x0099FF},
    {"黄", 0x00FFFF},
    {"黄緑", 0x00FF00},
    {"緑", 0x33AA00},
}};

inline constexpr int kWhiteIndex = 0;
inline constexpr int kBlackIndex = 1;
inline constexpr int kRedIndex = 7;

// The colour of a selector's item; an index outside the palette (no item selected) leaves
// the colour the caller already had.
inline ColorRef paletteColor(int index, ColorRef current)
{
    return index >= 0 && index < static_cast<int>(PaletteColor.size()) ? PaletteColor[index].color
                                                                       : current;
}

// The selector index of the default line colour on the given background.
inline constexpr int defaultColorIndex(bool whiteBackground)
{
    return whiteBackground ? kBlackIndex : kWhiteIndex;
}

struct LineStyleEntry
{
    const char* caption; // UTF-8
    PenStyle pen;
    // Alternating dash and gap lengths, in multiples of the line width.
    std::span<const double> pattern;
};

namespace detail {
inline constexpr std::array<double, 2> kSolidPattern{1000000, 0};
inline constexpr std::array<double, 2> kSolidPathPattern{1000000, 1};
inline constexpr std::array<double, 2> kDashPattern{15, 5};
inline constexpr std::array<double, 2> kDotPattern{3, 3};
inline constexpr std::array<double, 4> kDashDotPattern{10, 3, 2, 3};
inline constexpr std::array<double, 6> kDashDotDotPattern{10, 2, 2, 2, 2, 2};
} // namespace detail

inline constexpr int kSolidIndex = 0;
inline constexpr int kNoLineIndex = 5;

// Item index of a line-kind selector → pen style of thin lines and dash pattern of styled
// polylines. "なし" has no pattern: callers skip the drawing.
inline constexpr std::array<LineStyleEntry, 6> LineStyle{{
    {"実線", PenStyle::Solid, detail::kSolidPattern},
    {"破線", PenStyle::Dash, detail::kDashPattern},
    {"点線", PenStyle::Dot, detail::kDotPattern},
    {"一点鎖線", PenStyle::DashDot, detail::kDashDotPattern},
    {"二点鎖線", PenStyle::DashDotDot, detail::kDashDotDotPattern},
    {"なし", PenStyle::Clear, {}},
}};

// Pen style of a line-kind index; an index outside the table keeps the current style.
inline PenStyle lineStylePen(int index, PenStyle current)
{
    return index >= 0 && index < static_cast<int>(LineStyle.size()) ? LineStyle[index].pen
                                                                    : current;
}

// Dash pattern of a line-kind index. Closed path outlines use the solid variant whose gap
// is 1, so the closing point still ends a dash; an unknown index reads as solid.
inline std::span<const double> lineStylePattern(int index, bool forPath = false)
{
    if (index == kSolidIndex || index < 0 || index >= static_cast<int>(LineStyle.size())) {
        return forPath ? std::span<const double>(detail::kSolidPathPattern)
                       : std::span<const double>(detail::kSolidPattern);
    }
    return LineStyle[index].pattern;
}

} // namespace koyomi::render
