#include "tools/Annotation.h"

#include "figures/Rounding.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace koyomi::tools {

std::array<QPoint, 3> arrowHead(QPoint from, QPoint tip)
{
    // θ points from the tip back along the shaft; the base corners lie d along it and h
    // either side.
    const double theta = std::atan2(double(from.y()) - tip.y(), double(from.x()) - tip.x());
    const double d = 20;
    const double h = 20 * std::tan(15 * std::numbers::pi / 180);
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    auto corner = [&](double dx, double dy) {
        return QPoint(int(figures::roundHalfEven(tip.x() + dx)),
                      int(figures::roundHalfEven(tip.y() + dy)));
    };
    return {tip, corner(d * c - h * s, d * s + h * c), corner(d * c + h * s, d * s - h * c)};
}

render::ColorRef Annotation::paletteColor(int index) const
{
    return kPaintPalette[std::size_t(std::clamp(index, 1, kPaletteSize))];
}

void Annotation::usePen(render::Canvas& canvas, render::ColorRef pen, render::ColorRef fill,
                        render::PenMode mode, bool brushClear) const
{
    render::Pen p;
    p.color = pen;
    p.width = std::clamp(PenWidth, 1, kMaxPenWidth);
    p.flatEnds = false; // a wide pen ends round, so that strokes join up
    canvas.setPen(p);
    canvas.setPenMode(mode);
    canvas.setBrush(render::Brush{fill, brushClear});
}

bool Annotation::rubberBand() const
{
    return PaintToolKind != kFreehand && PaintToolKind != kFloodFill;
}

void Annotation::drawShape(render::Canvas& canvas, QPoint from, QPoint to, bool withHead) const
{
    switch (PaintToolKind) {
    case kLine:
    case kArrow:
        if (from != to) {
            canvas.moveTo(from.x(), from.y());
            canvas.lineTo(to.x(), to.y());
        }
        if (withHead) {
            const std::array<QPoint, 3> head = arrowHead(from, to);
            canvas.polygon(head);
        }
        break;
    case kRectangle:
    case kFilledRectangle:
        canvas.rectangle(from.x(), from.y(), to.x(), to.y());
        break;
    case kEllipse:
    case kFilledEllipse:
        canvas.ellipse(from.x(), from.y(), to.x(), to.y());
        break;
    default:
        break;
    }
}

QRect Annotation::shapeBounds(QPoint from, QPoint to) const
{
    int margin = std::clamp(PenWidth, 1, kMaxPenWidth) + 2;
    if (PaintToolKind == kArrow) {
        margin += 22; // the head reaches 20 pixels and a little to the side
    }
    return QRect(from, to).normalized().adjusted(-margin, -margin, margin, margin);
}

void Annotation::eraseBand(render::Canvas& canvas)
{
    const QRect area = m_band.intersected(QRect(0, 0, canvas.width(), canvas.height()));
    m_band = QRect();
    if (area.isEmpty() || m_history.empty()) {
        return;
    }
    const QImage& before = m_history.back().before;
    if (before.size() != QSize(canvas.width(), canvas.height())) {
        return;
    }
    for (int y = area.top(); y <= area.bottom(); ++y) {
        canvas.setPixels(y, area.left(),
                         reinterpret_cast<const QRgb*>(before.constScanLine(y)) + area.left(),
                         area.width());
    }
}

void Annotation::press(render::Canvas& canvas, QPoint at)
{
    if (m_dragging) {
        return;
    }
    Step step;
    if (PaintToolKind == kFloodFill) {
        step.replaced = canvas.pixel(at.x(), at.y());
    } else {
        // The surface before the stroke: what undo brings back, and what a rubber band is
        // drawn over.
        step.before = canvas.image().copy();
        if (step.before.isNull()) {
            return; // no memory for it: no stroke rather than one that cannot be cleaned up
        }
    }
    m_history.push_back(std::move(step));
    m_dragging = true;
    m_drew = false;
    m_start = m_current = at;
    m_band = QRect();
    m_changed = QRect();
    if (PaintToolKind == kFloodFill) {
        usePen(canvas, paletteColor(PenColorIndex), paletteColor(BrushColorIndex),
               render::PenMode::Copy, false);
        canvas.floodFill(at.x(), at.y(), &m_history.back().filled);
        m_drew = !m_history.back().filled.empty();
        m_changed = QRect(0, 0, canvas.width(), canvas.height());
    }
}

void Annotation::move(render::Canvas& canvas, QPoint at, bool whiteBackground)
{
    if (!m_dragging || at == m_current) {
        return;
    }
    render::ColorRef pen = paletteColor(PenColorIndex);
    render::ColorRef fill = paletteColor(BrushColorIndex);
    if (PaintToolKind == kFreehand) {
        usePen(canvas, pen, fill, render::PenMode::Copy, true);
        canvas.moveTo(m_start.x(), m_start.y());
        canvas.lineTo(at.x(), at.y());
        m_changed = shapeBounds(m_start, at);
        m_start = at;
        m_drew = true;
    } else if (rubberBand()) {
        // Exclusive-or shows the band in its colour on black; on white the colour's
        // complement does.
        if (whiteBackground) {
            pen = 0xFFFFFF - pen;
            fill = 0xFFFFFF - fill;
        }
        const QRect old = m_band;
        eraseBand(canvas);
        const bool filled = PaintToolKind == kFilledRectangle || PaintToolKind == kFilledEllipse;
        usePen(canvas, pen, fill, render::PenMode::Xor, !filled);
        drawShape(canvas, m_start, at, false);
        m_band = shapeBounds(m_start, at);
        m_changed = old.united(m_band);
    }
    m_current = at;
}

void Annotation::release(render::Canvas& canvas, QPoint at)
{
    if (!m_dragging) {
        return;
    }
    m_dragging = false;
    m_changed = QRect();
    if (rubberBand()) {
        // The surface as before the stroke plus the finished shape: nothing of the band stays.
        const QRect old = m_band;
        eraseBand(canvas);
        const bool filled = PaintToolKind == kFilledRectangle || PaintToolKind == kFilledEllipse ||
                            PaintToolKind == kArrow;
        usePen(canvas, paletteColor(PenColorIndex), paletteColor(BrushColorIndex),
               render::PenMode::Copy, !filled);
        drawShape(canvas, m_start, at, PaintToolKind == kArrow);
        m_changed = old.united(shapeBounds(m_start, at));
        m_drew = canvas.image() != m_history.back().before; // a click may draw nothing
    }
    canvas.setPenMode(render::PenMode::Copy);
    // A stroke that changed nothing (a click with the freehand pen, a fill of an area
    // already that colour) is no step to take back; then the oldest steps go while there
    // are too many or they hold too many bytes.
    if (!m_drew && !m_history.empty()) {
        m_history.pop_back();
    }
    qint64 bytes = 0;
    for (const Step& step : m_history) {
        bytes += step.bytes();
    }
    while (!m_history.empty() && (int(m_history.size()) > kMaxUndoSteps || bytes > kMaxUndoBytes)) {
        bytes -= m_history.front().bytes();
        m_history.pop_front();
    }
}

qint64 Annotation::Step::bytes() const
{
    return before.sizeInBytes() + qint64(filled.size() * sizeof(render::FilledRun));
}

bool Annotation::undo(render::Canvas& canvas)
{
    if (m_dragging || m_history.empty()) {
        return false;
    }
    const Step step = std::move(m_history.back());
    m_history.pop_back();
    if (!step.filled.empty()) {
        for (const render::FilledRun& run : step.filled) {
            canvas.fillRect(QRect(run.left, run.y, run.right - run.left + 1, 1), step.replaced);
        }
        m_changed = QRect(0, 0, canvas.width(), canvas.height());
        return true;
    }
    const QImage& before = step.before;
    if (before.size() != QSize(canvas.width(), canvas.height())) {
        return false;
    }
    for (int y = 0; y < before.height(); ++y) {
        canvas.setPixels(y, 0, reinterpret_cast<const QRgb*>(before.constScanLine(y)),
                         before.width());
    }
    m_changed = QRect(0, 0, canvas.width(), canvas.height());
    return true;
}

void Annotation::forget()
{
    m_history.clear();
    m_dragging = false;
    m_band = QRect();
}

} // namespace koyomi::tools
