// Colour values as the program stores them (0x00BBGGRR) and their conversion to image pixels.
#pragma once

#include <QRgb>
#include <cstdint>

namespace koyomi::render {

// 24-bit colour, blue in the high byte: 0x0000FF is red.
using ColorRef = std::uint32_t;

inline constexpr ColorRef kBlack = 0x000000;
inline constexpr ColorRef kWhite = 0xFFFFFF;
// What a pixel read outside the canvas answers.
inline constexpr ColorRef kInvalidColor = 0xFFFFFFFF;

inline constexpr QRgb toQRgb(ColorRef c)
{
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

inline constexpr ColorRef fromQRgb(QRgb p)
{
    return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
}

// The background of every figure: white when the flag is set, else black.
inline constexpr ColorRef backgroundColor(bool white)
{
    return white ? kWhite : kBlack;
}

} // namespace koyomi::render
