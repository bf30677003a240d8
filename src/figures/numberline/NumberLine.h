// The number line: a horizontal line with main ticks, two rows of subdivision ticks and
// labels at the main ticks, repeated side by side and stacked.
#pragma once

#include "figures/LineSetting.h"
#include "render/Canvas.h"
#include "render/Frame.h"

#include <QString>

namespace koyomi::figures {

class FigureCaches;

enum class NumberTick
{
    Up = 0,      // "┸"
    Down = 1,    // "┰"
    Through = 2, // "╂"
    Dot = 3,     // "●"
};

// Every value the number line renderer reads, as the page's fields hold them.
struct NumberLineParams
{
    int tickCount{};
    int tickSpacing{};
    int countAcross{};
    int gapAcross{};
    int countDown{};
    int gapDown{};
    LineSetting axis;
    bool axisExtended{};
    int tickShape{};
    int tickLength{};
    LineSetting ticks;
    bool labelsOn{};
    bool labelsBelow{};
    int labelStart{};
    int labelStep{};
    int labelScale{}; // shown divided by 10^labelScale (0 to 4)
    bool labelPlusSign{};
    int labelSize{}; // points
    int labelColor{};
    QString labelUnit;
    int sub1Count{};
    int sub1Length{};
    LineSetting sub1;
    int sub2Count{};
    int sub2Length{};
    LineSetting sub2;

    // The defaults of a fresh page: white on black, black on white.
    static NumberLineParams defaults(bool whiteBackground);
};

// The text of the label with value v: "0" for zero; else the value, divided by 10^scale
// with that many decimals and a decimal point whatever the locale, with "+" before positive
// values when asked and the unit after.
QString numberLineLabel(long long v, int scale, bool plusSign, const QString& unit);

// How many characters the number part of numberLineLabel(v, scale, plusSign, unit) has,
// without writing it: at least `low` and at most `high` (a value of 15 digits or more with
// decimals may round up to one more digit).
struct LabelChars
{
    long long low = 0;
    long long high = 0;
};
LabelChars numberLabelChars(long long v, int scale, bool plusSign);

// Draws the whole figure over the canvas. Lines, ticks and labels wholly outside the canvas
// are skipped. What it works out is kept in `caches` for the next drawing, when given.
void drawNumberLine(render::Canvas& canvas, const NumberLineParams& params,
                    const render::Frame& frame, FigureCaches* caches = nullptr);

// The same picture drawn tick by tick, in the figure's order: what drawNumberLine must equal.
void drawNumberLineTickByTick(render::Canvas& canvas, const NumberLineParams& params,
                              const render::Frame& frame);

} // namespace koyomi::figures
