// The rounding and the constant that the figures' layouts use.
#pragma once

#include <algorithm>
#include <cfenv>
#include <cmath>

namespace koyomi::figures {

// √3 as the figures have always used it: the decimal 1.7320508, not the exact root.
inline constexpr long double kRootThree = 1.7320508L;

// The nearest integer, halves to even, whatever rounding mode is set; held within ±2^62 so
// that layouts built from it stay exact in 64 bits.
inline long long roundHalfEven(long double v)
{
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const long double r = std::nearbyint(v);
    std::fesetround(saved);
    constexpr long double limit = 1LL << 62;
    return (long long)std::clamp(r, -limit, limit);
}

} // namespace koyomi::figures
