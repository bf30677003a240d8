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

// ⌈v⌉, from the nearest whole number: the library's ceiling switches the floating-point
// rounding mode on every call, and so does a conversion that truncates, which cost a ring of
// thousands of marks most of its drawing. Rounding to the nearest keeps the mode as it is.
long long ceilWide(long double v)
{
    constexpr long double limit = 1LL << 62;
    v = std::clamp(v, -limit, limit);
    const long long nearest = llrintl(v);
    return (long double)nearest < v ? nearest + 1 : nearest;
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

DivisionRange divisionsToward(long long cx, long long cy, long long m, long long quarters,
                              long long inner, long long outer, long long x1, long long y1,
                              long long x2, long long y2, long long margin)
{
    if (m < 1) {
        return {};
    }
    const DivisionRange all{0, m - 1};
    // The widened box, relative to the centre.
    const long double left = (long double)x1 - margin - cx;
    const long double right = (long double)x2 + margin - cx;
    const long double top = (long double)y1 - margin - cy;
    const long double bottom = (long double)y2 + margin - cy;
    // The nearest and farthest points of the widened box from the centre.
    const long double nearX = std::max({left, -right, 0.0L});
    const long double nearY = std::max({top, -bottom, 0.0L});
    const long double farX = std::max(std::fabs(left), std::fabs(right));
    const long double farY = std::max(std::fabs(top), std::fabs(bottom));
    if (std::hypot(nearX, nearY) > (long double)outer + 1 ||
        std::hypot(farX, farY) < (long double)inner - 1) {
        return {};
    }
    if (left <= 0 && right >= 0 && top <= 0 && bottom >= 0) {
        return all;
    }
    // The box is convex and leaves the centre out, so the rays that meet it lie between those
    // through two of its corners, less than half a turn apart: measured from the ray through
    // its middle, from the least to the greatest of its corners.
    constexpr long double turn = 2 * std::numbers::pi_v<long double>;
    auto turnsTo = [](long double dx, long double dy) { return atan2l(dx, -dy) / turn; };
    const long double middle = turnsTo((left + right) / 2, (top + bottom) / 2);
    long double low = 0;
    long double high = 0;
    for (const long double dx : {left, right}) {
        for (const long double dy : {top, bottom}) {
            long double d = turnsTo(dx, dy) - middle;
            d -= nearbyintl(d);
            low = std::min(low, d);
            high = std::max(high, d);
        }
    }
    // Division k lies at (k/m + quarters/4) turns; one more each way covers the rounding of
    // both the directions and the corners.
    const long double start = (long double)(quarters % 4) / 4;
    const long double from = std::floor((middle + low - start) * (long double)m) - 1;
    const long double to = std::ceil((middle + high - start) * (long double)m) + 1;
    if (to - from + 1 >= (long double)m) {
        return all;
    }
    return {(long long)from, (long long)to};
}

} // namespace koyomi::figures
