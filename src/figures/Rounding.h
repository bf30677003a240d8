// The rounding and the constant that the figures' layouts use.
#pragma once

#include <algorithm>
#include <cmath>

namespace koyomi::figures {

// √3 as the figures have always used it: the decimal 1.7320508, not the exact root.
inline constexpr long double kRootThree = 1.7320508L;

// The nearest integer, halves to even; held within ±2^62 so that layouts built from it stay
// exact in 64 bits. Adding and taking away 2^63 leaves the extended value rounded to a whole
// number by the default rounding, which is exactly that and which the program never changes;
// the library's rounding switches the floating-point mode on every call, which cost a pile of
// rows most of its drawing.
inline long long roundHalfEven(long double v)
{
    constexpr long double limit = 1LL << 62;
    constexpr long double magic = 9223372036854775808.0L; // 2^63
    if (!(v == v)) {
        return 0;
    }
    const long double clamped = std::clamp(v, -limit, limit);
    const long double rounded =
        clamped >= 0 ? (clamped + magic) - magic : (clamped - magic) + magic;
    return (long long)rounded;
}

} // namespace koyomi::figures
