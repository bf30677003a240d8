#include "figures/RadialPoint.h"

#include <cmath>
#include <numbers>

namespace koyomi::figures {

namespace {

// ⌈num ÷ den⌉ for den > 0.
long long ceilDiv(long long num, long long den)
{
    const long long q = num / den;
    return (num % den != 0 && num > 0) ? q + 1 : q;
}

// ⌈d·v⌉ where v is twice a sine or cosine that is a whole number (−2, −1, 0, 1 or 2).
long long exactCeil(long long d, long long twiceValue)
{
    return ceilDiv(d * twiceValue, 2);
}

} // namespace

WidePoint radialPoint(long long cx, long long cy, long long d, long long k, long long n)
{
    if (n == 0) {
        return {cx, cy};
    }
    // θ in degrees is 360·k ÷ n; on a multiple of 30° sine and cosine are 0, ±½ or ±1, or
    // ±√3/2 (computed in floating point like every other angle).
    const long long num = 360 * (k % n);
    const long long den = n;
    const long double theta = std::numbers::pi_v<long double> * 2 * (long double)(k % n) / n;
    long long dx = 0;
    long long dy = 0;
    bool exactX = false;
    bool exactY = false;
    if (num % den == 0 && (num / den) % 30 == 0) {
        const long long degrees = ((num / den) % 360 + 360) % 360;
        // Twice the sine and twice the cosine at multiples of 30°, where they are whole.
        static constexpr int twiceSin[12] = {0, 1, 0, 2, 0, 1, 0, -1, 0, -2, 0, -1};
        static constexpr int twiceCos[12] = {2, 0, 1, 0, -1, 0, -2, 0, -1, 0, 1, 0};
        static constexpr bool sinWhole[12] = {true, true, false, true, false, true,
                                              true, true, false, true, false, true};
        static constexpr bool cosWhole[12] = {true, false, true, true, true, false,
                                              true, false, true, true, true, false};
        const long long i = degrees / 30;
        if (sinWhole[i]) {
            dx = exactCeil(d, twiceSin[i]);
            exactX = true;
        }
        if (cosWhole[i]) {
            dy = exactCeil(-d, twiceCos[i]);
            exactY = true;
        }
    }
    if (!exactX) {
        dx = (long long)std::ceil((long double)d * std::sin(theta));
    }
    if (!exactY) {
        dy = (long long)std::ceil(-(long double)d * std::cos(theta));
    }
    return {cx + dx, cy + dy};
}

} // namespace koyomi::figures
