// Thick, dashed polylines and curve outlines whose dash lengths are multiples of the width.
#pragma once

#include "render/Canvas.h"

#include <QPoint>

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace koyomi::render {

// Raised when a caller breaks a drawing precondition (a dash pattern with no length).
class EAssertionFailed : public std::logic_error
{
public:
    using std::logic_error::logic_error;
};

class EPathError : public std::out_of_range
{
public:
    using std::out_of_range::out_of_range;
};

// Draws the polyline with a geometric pen of the given width and colour, round joins and
// flat (or round) ends, dashed by the pattern; the canvas pen is restored afterwards.
void DashedPolyline(std::span<const QPoint> points, Canvas& canvas, ColorRef color, int width,
                    std::span<const double> pattern, bool flatEnds);

// Strokes the polyline as one path with the canvas's current pen.
void StrokePolyline(std::span<const QPoint> points, Canvas& canvas);

// Adds an elliptic arc to the canvas's open path. Angles in radians, counter-clockwise with
// y up: the point at angle a is (cx + rx·cos a, cy − ry·sin a).
void ArcPath(Canvas& canvas, long double sweep, long double start, long double ry, long double rx,
             long double cy, long double cx);

// Adds a closed ellipse inscribed in the box (right and bottom excluded) to the open path.
void EllipsePath(Canvas& canvas, int x1, int y1, int x2, int y2);

// Adds a closed rectangle, clockwise on screen, to the open path.
void RectanglePath(Canvas& canvas, int x1, int y1, int x2, int y2);

enum class PathPointKind
{
    Move,
    Line,
    Bezier
};

struct PathPoint
{
    QPoint point;
    PathPointKind kind;
    bool closesFigure;
};

// A path captured from a canvas: points and their types.
class TPath
{
public:
    TPath() = default;
    // Reads the canvas's current (normally flattened) path.
    void capture(const Canvas& canvas);
    void Assign(const TPath& other) { *this = other; }

    int Count() const { return static_cast<int>(m_points.size()); }
    const std::vector<QPoint>& points() const { return m_points; }
    const std::vector<std::uint8_t>& types() const { return m_types; }
    PathPoint GetPoint(int index) const;

private:
    std::vector<QPoint> m_points;
    std::vector<std::uint8_t> m_types;
};

// Draws every sub-path of the captured path with DashedPolyline; a closed sub-path returns
// to its first point.
void DashedPath(const TPath& path, Canvas& canvas, ColorRef color, int width,
                std::span<const double> pattern, bool flatEnds);

} // namespace koyomi::render
