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

// Consecutive divisions of a turn, first to last, each taken modulo the count (first > last
// when there are none).
struct DivisionRange
{
    long long first = 0;
    long long last = -1;
};

// Of m divisions of a turn, division k at k/m + quarters/4 of a turn (clockwise from straight
// up, as radialPoint), those whose ray from (cx, cy), from distance `inner` to `outer` along
// it (0 ≤ inner ≤ outer), comes within `margin` pixels of the box from (x1, y1) to (x2, y2):
// every other stays farther from it. None when the box lies wholly nearer or farther than
// that; all m when the box, widened by the margin, holds the centre. Marks on a ring walk
// only these, so that a ring of thousands of marks around a centre beyond a small window
// costs what reaches the window.
DivisionRange divisionsToward(long long cx, long long cy, long long m, long long quarters,
                              long long inner, long long outer, long long x1, long long y1,
                              long long x2, long long y2, long long margin);

} // namespace koyomi::figures
