// The clock face: minute and hour graduations, the circumference, a centre mark and the hour
// numerals, repeated in columns and rows.
#pragma once

#include "figures/LineSetting.h"
#include "render/Canvas.h"
#include "render/Frame.h"

namespace koyomi::figures {

enum class ClockCentre
{
    None = 0,  // "なし"
    Dot = 1,   // "●"
    Plus = 2,  // "＋"
    Cross = 3, // "×"
};

enum class ClockGraduation
{
    None = 0,    // "なし"
    Dot = 1,     // "●"
    Outward = 2, // "┸": from the circle outward
    Inward = 3,  // "┰": from the circle inward
    Across = 4,  // "╂": across the circle
};

// Every value the clock renderer reads, as the page's fields hold them.
struct ClockParams
{
    int radius{};
    int centreMark{};
    int centreMarkSize{};
    int graduationMark{};
    int hourMarkSize{};
    int minuteMarkSize{};
    bool numeralsShown{};
    int numeralSize{}; // points, and pixels beyond the circle
    int countAcross{};
    int gapAcross{};
    int countDown{};
    int gapDown{};
    LineSetting circumference;
    LineSetting centre;
    LineSetting minuteMarks;
    LineSetting hourMarks;
    int numeralColor{};

    // The defaults of a fresh page: white on black, black on white.
    static ClockParams defaults(bool whiteBackground);
};

// Draws the whole figure over the canvas. Faces wholly outside the canvas are skipped.
void drawClock(render::Canvas& canvas, const ClockParams& params, const render::Frame& frame);

// The same picture drawn face by face: what drawClock must equal.
void drawClockFaceByFace(render::Canvas& canvas, const ClockParams& params,
                         const render::Frame& frame);

} // namespace koyomi::figures
