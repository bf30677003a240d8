// Drawing over the projected figure with the mouse: freehand, lines, arrows, rectangles,
// ellipses and flood fill, driven by press, move and release on the presentation window's
// drawing surface, with the steps before each stroke kept for undo.
#pragma once

#include "render/Canvas.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <array>
#include <deque>
#include <vector>

namespace koyomi::tools {

enum PaintToolKind
{
    kFreehand = 0,
    kLine = 1,
    kRectangle = 2,
    kFilledRectangle = 3,
    kEllipse = 4,
    kFilledEllipse = 5,
    kFloodFill = 6,
    kArrow = 7,
};

inline constexpr int kPaletteSize = 20;
inline constexpr int kMaxPenWidth = 50;

// The colours offered, index 1..20 (index 0 unused), white and black first.
inline constexpr std::array<render::ColorRef, kPaletteSize + 1> kPaintPalette = {
    0x000000, 0xFFFFFF, 0x000000, 0xFFFF00, 0x808000, 0xEE6600, 0xBB3300,
    0xDD4488, 0xBB0066, 0xFF00FF, 0xBB00BB, 0x0000FF, 0x0000BB, 0x0099FF,
    0x0088BB, 0x00FFFF, 0x00BBBB, 0x00FF00, 0x00CC00, 0x66BB00, 0x338800,
};

// The corners tip, B1, B2 of an arrowhead 20 pixels long with a 30° opening, pointing from
// `from` to `tip`.
std::array<QPoint, 3> arrowHead(QPoint from, QPoint tip);

class Annotation
{
public:
    // The settings the Paint tool edits.
    int PaintToolKind = kFreehand;
    int PenColorIndex = 1;   // white
    int BrushColorIndex = 2; // black
    int PenWidth = 1;
    bool PenTargetActive = true; // palette clicks set the pen colour (else the fill colour)

    // The mouse on the drawing surface. A press starts a stroke with the left button only;
    // `whiteBackground` decides the rubber band's colours.
    void press(render::Canvas& canvas, QPoint at);
    void move(render::Canvas& canvas, QPoint at, bool whiteBackground);
    void release(render::Canvas& canvas, QPoint at);
    bool dragging() const { return m_dragging; }
    // The surface's pixels that the last call may have changed.
    QRect changed() const { return m_changed; }

    // Takes back the last finished stroke: the surface as it was before it. False when there
    // is none (or a stroke is under way).
    bool undo(render::Canvas& canvas);
    int undoSteps() const { return int(m_history.size()); }
    // The figure was drawn anew: strokes can no longer be taken back, and one under way ends.
    void forget();

    // Undo keeps at most this many strokes and this many bytes of pictures, whichever is less.
    static constexpr int kMaxUndoSteps = 20;
    static constexpr qint64 kMaxUndoBytes = 256LL * 1024 * 1024;

private:
    render::ColorRef paletteColor(int index) const;
    void usePen(render::Canvas& canvas, render::ColorRef pen, render::ColorRef fill,
                render::PenMode mode, bool brushClear) const;
    // The tool's shape from `from` to `to`, in the canvas's present pen, brush and mode.
    void drawShape(render::Canvas& canvas, QPoint from, QPoint to, bool withHead) const;
    // What drawShape can reach.
    QRect shapeBounds(QPoint from, QPoint to) const;
    // Puts the pixels the rubber band covered back as they were before the stroke.
    void eraseBand(render::Canvas& canvas);
    bool rubberBand() const;

    // What takes one stroke back: the surface before it, or for a flood fill (which may
    // cover a 4K surface and must cost about a fill) the runs it painted and their colour.
    struct Step
    {
        QImage before;
        std::vector<render::FilledRun> filled;
        render::ColorRef replaced = 0;
        qint64 bytes() const;
    };

    bool m_dragging = false;
    bool m_drew = false; // whether the stroke under way has changed a pixel
    QPoint m_start;
    QPoint m_current;
    QRect m_band; // where the rubber band is drawn now
    QRect m_changed;
    // The steps back, oldest first; the last is the stroke under way while dragging.
    std::deque<Step> m_history;
};

} // namespace koyomi::tools
