// One drawing repeated at many places: drawn once on scratch canvases, then its pixels are
// copied to every place in turn. Figures whose copies are all alike (clock faces) cost a
// copy of pixels per place instead of a drawing.
#pragma once

#include "render/Canvas.h"

#include <QRect>

#include <functional>
#include <vector>

namespace koyomi::render {

class RepeatedDrawing
{
public:
    // draw(canvas, x, y) draws one copy with its reference point at (x, y), on a canvas set up
    // like `like` (pen, brush, font); everything it paints lies in `reach`, a box relative to
    // the reference point. A drawing larger than the scratch allows is not made: usable()
    // is then false and the caller draws every copy itself.
    RepeatedDrawing(const Canvas& like, const QRect& reach,
                    const std::function<void(Canvas&, int, int)>& draw);

    bool usable() const { return m_usable; }
    // Paints the drawing's pixels with its reference point at (x, y), cut to the canvas.
    void paint(Canvas& canvas, long long x, long long y) const;
    // Paints copies at (x0 + i·stepX, y0 + j·stepY) for j from jFirst to jLast (the outer
    // order) and i from iFirst to iLast, as paint() one by one would. Where the canvas holds
    // only the figure's background under them and rows of copies do not overlap, one row of
    // copies is painted and its canvas rows copied to the others; copies that lie over each
    // other are painted from the last back, each pixel once.
    void paintGrid(Canvas& canvas, long long x0, long long stepX, long long iFirst, long long iLast,
                   long long y0, long long stepY, long long jFirst, long long jLast) const;

private:
    // paintGrid for rows of copies that lie over each other, from the last copy back.
    void paintOverlapping(Canvas& canvas, long long x0, long long stepX, long long iFirst,
                          long long iLast, long long y0, long long stepY, long long jFirst,
                          long long jLast) const;

    struct Span
    {
        int dy;
        int dx;
        std::size_t first; // its consecutive painted pixels from dx, in m_pixels
        int length;
    };

    bool m_usable = false;
    std::vector<Span> m_spans; // row by row, top to bottom
    // The painted pixels of every span, one after another: a striped drawing has millions of
    // spans of a pixel or two, which one allocation each would make slower than drawing it.
    std::vector<QRgb> m_pixels;
    int m_top = 0; // the rows the spans cover, relative to the reference point
    int m_bottom = -1;
    int m_left = 0; // and the columns
    int m_right = -1;
    // The first span of each row from m_top, and one past the last: a copy mostly beyond the
    // canvas walks only the rows the canvas shows.
    std::vector<std::size_t> m_rowStart;
};

} // namespace koyomi::render
