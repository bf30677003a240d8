// Points on a face: the radial point at signed distance d, step k of n, from a centre.
#pragma once

namespace koyomi::figures {

struct WidePoint
{
    long long x = 0;
    long long y = 0;
    bool operator==(const WidePoint&) const = default;
};

// (cx + ⌈d·sin θ⌉, cy + ⌈−d·cos θ⌉) with θ = k·360°/n: d pixels from the centre, straight up
// at k = 0 and clockwise on the screen as k grows. Both coordinates are rounded up. Where
// d·sin θ or d·cos θ is a whole number or a half (θ a multiple of 30°), it is computed
// exactly, so that points that belong on a pixel line land on it.
WidePoint radialPoint(long long cx, long long cy, long long d, long long k, long long n);

// The direction of step k of n, worked out once for points at several distances along it.
struct RadialDirection
{
    long double sin = 0;
    long double cos = 0;
    int twiceSin = 0; // 2·sin θ, where exactSin
    int twiceCos = 0;
    bool exactSin = false;
    bool exactCos = false;
};
RadialDirection radialDirection(long long k, long long n);
// The radial point at signed distance d along a direction: the same as radialPoint.
WidePoint radialPoint(long long cx, long long cy, long long d, const RadialDirection& direction);

} // namespace koyomi::figures
