// The circle with its scale: circumference, inner circles dividing the radius, division
// lines from the centre, marks on the circumference at the divisions and at two finer
// sub-divisions, numbers around it and a centre mark, repeated in columns and rows.
#pragma once

#include "figures/LineSetting.h"
#include "render/Canvas.h"
#include "render/Frame.h"

namespace koyomi::figures {

class FigureCaches;

enum class CircleCentre
{
    None = 0,  // "なし"
    Dot = 1,   // "●"
    Plus = 2,  // "＋"
    Cross = 3, // "×"
};

enum class CircleMark
{
    None = 0,    // "なし"
    Dot = 1,     // "●"
    Outward = 2, // "┸": from the circumference outward
    Inward = 3,  // "┰": from the circumference inward
    Across = 4,  // "╂": across the circumference
};

// One ring of marks on the circumference: its parts per division and mark size.
struct CircleRing
{
    int division{};
    int size{};
    LineSetting line;
};

// Every value the circle renderer reads, as the page's fields hold them.
struct CircleParams
{
    int radius{};
    int ringDivision{}; // the radius cut into this many steps: one inner circle fewer
    int centreMark{};
    int centreMarkSize{};
    int divisions{};     // n: equal angles of the full turn
    int startPosition{}; // the first division up, right, down or left
    int edgeMark{};
    int edgeMarkSize{};
    bool numbersShown{};
    int firstNumber{};
    int numberSize{}; // points, and pixels beyond the circle
    int numberStep{};
    int countAcross{};
    int gapAcross{};
    int countDown{};
    int gapDown{};
    LineSetting circumference, rings, centre, divisionLines, edgeMarks;
    int numberColor{};
    CircleRing sub1, sub2;

    // The defaults of a fresh page: white on black, black on white.
    static CircleParams defaults(bool whiteBackground);
};

// The angle of division h (from 1) of m, from straight up and clockwise, in radians, computed
// as the figure always has: (h − 1)·(π/180)·(360/m) + start·(π/180)·90, in extended precision
// and not reduced to one turn.
long double circleDivisionAngle(long long h, long long m, int startPosition);

// Draws the whole figure over the canvas. Copies, rings and marks wholly outside the canvas
// are skipped. What it works out is kept in `caches` for the next drawing, when given.
void drawCircle(render::Canvas& canvas, const CircleParams& params, const render::Frame& frame,
                FigureCaches* caches = nullptr);

// The same picture drawn copy by copy and mark by mark, each dot of a ring one after another:
// what drawCircle must equal.
void drawCircleCopyByCopy(render::Canvas& canvas, const CircleParams& params,
                          const render::Frame& frame);

} // namespace koyomi::figures
