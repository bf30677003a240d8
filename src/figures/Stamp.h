// The pixels one drawing covers, as runs per row relative to the point it is drawn at. A
// figure that draws one shape in one colour at many places draws it once on a scratch canvas
// and then covers the window row by row from these runs (see RowCoverage.h).
#pragma once

#include "figures/FigureCaches.h"
#include "figures/RowCoverage.h"
#include "render/Canvas.h"

#include <functional>
#include <memory>
#include <vector>

namespace koyomi::figures {

struct Stamp
{
    i64 top = 0;                        // row offset of rows[0]
    std::vector<std::vector<Run>> rows; // runs of each row, left to right, not touching
    i64 bottom() const { return top + i64(rows.size()) - 1; }
};

// Shapes up to this half-extent are stamped; larger ones (beyond every field's range) are
// drawn one by one.
constexpr i64 kMaxStampedSize = 1024;

// What `draw` paints around (reach, reach) on a black scratch canvas of 2·reach + 1 pixels a
// side, with a white solid one-pixel pen and a white brush: every pixel it changes belongs to
// the stamp. The shape must stay within reach of its point.
using StampDrawing = std::function<void(render::Canvas& scratch, int x, int y)>;
std::shared_ptr<const Stamp> makeStamp(i64 reach, const StampDrawing& draw);

// What a stamp is of: the stamps of different shapes are kept apart whatever their numbers.
enum class StampOf
{
    GridMark,
    NumberLineDot,
    CircleDot,
    TawaraPiece,
};

// The same, kept in `caches` among the last few made under the shape and the caller's key
// (which must tell apart every shape of its kind `draw` can paint): a redraw while the
// teacher changes another field finds its stamp made.
std::shared_ptr<const Stamp> recentStamp(FigureCaches& caches, StampOf shape,
                                         const std::vector<long long>& key, i64 reach,
                                         const StampDrawing& draw);

// Paints the stamp's pixels in one colour with its point at (x, y); cut to the canvas.
void paintStamp(render::Canvas& c, const Stamp& stamp, i64 x, i64 y, render::ColorRef color);

} // namespace koyomi::figures
