#include "figures/RadialPoint.h"

#include <algorithm>
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

// ⌈v⌉, by truncating and stepping up: the library's ceiling switches the floating-point
// rounding mode on every call, which cost a ring of thousands of marks most of its drawing.
long long ceilWide(long double v)
{
    constexpr long double limit = 1LL << 62;
    v = std::clamp(v, -limit, limit);
    const auto t = (long long)v; // toward zero
    return (long double)t < v ? t + 1 : t;
}

} // namespace

RadialDirection radialDirection(long long k, long long n)
{
    RadialDirection dir;
    if (n == 0) {
        dir.exactSin = dir.exactCos = true;
        return dir;
    }
    // θ in degrees is 360·k ÷ n; on a multiple of 30° sine and cosine are 0, ±½ or ±1, or
    // ±√3/2 (computed in floating point like every other angle).
    const long long num = 360 * (k % n);
    const long long den = n;
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
        dir.exactSin = sinWhole[i];
        dir.exactCos = cosWhole[i];
        dir.twiceSin = twiceSin[i];
        dir.twiceCos = twiceCos[i];
    }
    if (dir.exactSin && dir.exactCos) {
        return dir;
    }
    const long double theta = std::numbers::pi_v<long double> * 2 * (long double)(k % n) / n;
    sincosl(theta, &dir.sin, &dir.cos);
    return dir;
}

WidePoint radialPoint(long long cx, long long cy, long long d, const RadialDirection& dir)
{
    const long long dx =
        dir.exactSin ? exactCeil(d, dir.twiceSin) : ceilWide((long double)d * dir.sin);
    const long long dy =
        dir.exactCos ? exactCeil(-d, dir.twiceCos) : ceilWide(-(long double)d * dir.cos);
    return {cx + dx, cy + dy};
}

WidePoint radialPoint(long long cx, long long cy, long long d, long long k, long long n)
{
    return radialPoint(cx, cy, d, radialDirection(k, n));
}

} // namespace koyomi::figures
