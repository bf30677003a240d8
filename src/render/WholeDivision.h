// Whole numbers divided and rounded down or up whatever their signs (the language rounds
// toward zero): which repetition reaches a pixel, which pixel a position in 64ths falls in.
#pragma once

namespace koyomi::render {

constexpr long long floorDiv(long long a, long long b)
{
    const long long q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

constexpr long long ceilDiv(long long a, long long b)
{
    return -floorDiv(-a, b);
}

} // namespace koyomi::render
