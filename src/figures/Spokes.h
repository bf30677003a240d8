// Straight solid strokes lying along rays from one centre, as the marks of a circle's ring do,
// painted as their union. Thousands of marks a thousand pixels long cover the disc they stand
// in solidly but for the last pixels at their ends: the pixels they are shown to cover
// together are filled at once, and each stroke is painted only where it leaves them.
#pragma once

#include "figures/LineSetting.h"
#include "figures/RadialPoint.h"
#include "render/Canvas.h"

#include <optional>
#include <span>

namespace koyomi::figures {

struct Spoke
{
    WidePoint a;
    WidePoint b;
    bool operator==(const Spoke&) const = default;
};

// The radii about the middle of the centre's pixel within which every pixel is painted by
// one of the strokes (a pixel standing where its middle lies), a disc when inner is 0.
struct SolidAnnulus
{
    double inner = 0;
    double outer = 0;
};

// The widest annulus the strokes of the given width from a to b, flat at their ends, are
// shown to cover together, or none. A pixel can only be shown covered where it lies well
// inside one stroke's rectangle: this holds for every pixel it reports, and for nearly all of
// those of a ring of marks closer together than their width.
std::optional<SolidAnnulus> solidAnnulus(WidePoint centre, std::span<const Spoke> spokes,
                                         int width);

// Paints each spoke as strokeBetween does with the solid line (which must draw, solid), in
// copy mode: on a canvas holding them all, as their union where an annulus of them is shown
// and the marks are long and many enough for it to pay (true), otherwise one by one.
bool paintSpokes(render::Canvas& c, WidePoint centre, std::span<const Spoke> spokes,
                 const LineSetting& line, render::ColorRef color);

} // namespace koyomi::figures
