#include "figures/clock/Clock.h"

#include "figures/Copies.h"
#include "figures/Dot.h"
#include "figures/RadialPoint.h"
#include "figures/Stroke.h"
#include "figures/Visible.h"
#include "render/Palette.h"
#include "render/PathUtils.h"
#include "render/Text.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace koyomi::figures {

using render::Canvas;

namespace {

class ClockRenderer
{
public:
    ClockRenderer(Canvas& canvas, const ClockParams& params, const render::Frame& frame,
                  bool copies = true)
        : m_c(canvas), m_p(params), m_frame(frame), m_copies(copies)
    {
    }

    void draw();
    void face(long long cx, long long cy);

private:
    // Every face is alike when every selector has a selection: no face depends on what the
    // one before left on the canvas.
    bool facesAlike() const;
    // The box from (x1, y1) to (x2, y2), widened by margin, misses the canvas.
    void stroke(WidePoint a, WidePoint b, const LineSetting& line);
    void dot(WidePoint centre, long long s, const LineSetting& line);
    void graduations(long long cx, long long cy, long long s, const LineSetting& line, int steps,
                     bool skipHours);
    // Step m of 60 or of 12, worked out once for every face of a drawing, on whichever canvas
    // (tens of thousands of faces may be drawn cut to the window, each by a renderer of its
    // own, and the sines and cosines were most of what one that paints nothing cost).
    const RadialDirection& direction(int m, int steps);

    struct Directions
    {
        std::vector<RadialDirection> minutes; // of 60
        std::vector<RadialDirection> hours;   // of 12
    };
    ClockRenderer(Canvas& canvas, const ClockParams& params, const render::Frame& frame,
                  Directions& directions)
        : m_c(canvas), m_p(params), m_frame(frame), m_copies(true), m_directions(directions)
    {
    }

    Canvas& m_c;
    const ClockParams& m_p;
    const render::Frame& m_frame;
    const bool m_copies; // alike faces may be copied from one drawn
    render::TPath m_path;
    Directions m_ownDirections;
    Directions& m_directions = m_ownDirections;
};

const RadialDirection& ClockRenderer::direction(int m, int steps)
{
    std::vector<RadialDirection>& directions =
        steps == 60 ? m_directions.minutes : m_directions.hours;
    if (directions.empty()) {
        for (int k = 0; k < steps; ++k) {
            directions.push_back(radialDirection(k, steps));
        }
    }
    return directions[std::size_t(m)];
}

void ClockRenderer::stroke(WidePoint a, WidePoint b, const LineSetting& line)
{
    strokeBetween(m_c, a, b, line, render::paletteColor(line.color, m_c.pen().color));
}

void ClockRenderer::dot(WidePoint centre, long long s, const LineSetting& line)
{
    const render::ColorRef color = render::paletteColor(line.color, m_c.brush().color);
    const long long x1 = centre.x - s, y1 = centre.y - s, x2 = centre.x + s, y2 = centre.y + s;
    if (outsideCanvas(m_c, x1, y1, x2, y2, 2) || !fitsInt(x1) || !fitsInt(y1) || !fitsInt(x2) ||
        !fitsInt(y2)) {
        leaveDotState(m_c, color, line.kind);
        return;
    }
    filledDot(m_c, int(x1), int(y1), int(x2), int(y2), color, line.kind);
}

void ClockRenderer::graduations(long long cx, long long cy, long long s, const LineSetting& line,
                                int steps, bool skipHours)
{
    const long long r = m_p.radius;
    // A ring of marks wholly outside the canvas is not walked.
    const long long ringReach = std::abs(r) + std::abs(s) + render::strokeReach(line.width);
    if (outsideCanvas(m_c, cx - ringReach, cy - ringReach, cx + ringReach, cy + ringReach, 0)) {
        // Its dots would each have left the same pen and brush.
        if (ClockGraduation(m_p.graduationMark) == ClockGraduation::Dot) {
            leaveDotState(m_c, render::paletteColor(line.color, m_c.brush().color), line.kind);
        }
        return;
    }
    for (int m = 0; m < steps; ++m) {
        if (skipHours && m % 5 == 0) {
            continue;
        }
        const RadialDirection& along = direction(m, steps);
        switch (ClockGraduation(m_p.graduationMark)) {
        case ClockGraduation::Dot:
            dot(radialPoint(cx, cy, r, along), s, line);
            break;
        case ClockGraduation::Outward:
            stroke(radialPoint(cx, cy, r, along), radialPoint(cx, cy, r + s, along), line);
            break;
        case ClockGraduation::Inward:
            stroke(radialPoint(cx, cy, r, along), radialPoint(cx, cy, r - s, along), line);
            break;
        case ClockGraduation::Across:
            stroke(radialPoint(cx, cy, r + s, along), radialPoint(cx, cy, r - s, along), line);
            break;
        default:
            return;
        }
    }
}

void ClockRenderer::face(long long cx, long long cy)
{
    const long long r = m_p.radius;
    graduations(cx, cy, m_p.minuteMarkSize, m_p.minuteMarks, 60, true);
    graduations(cx, cy, m_p.hourMarkSize, m_p.hourMarks, 12, false);

    const long long circleMargin = render::strokeReach(m_p.circumference.width);
    if (drawsKind(m_p.circumference) &&
        !outsideCanvas(m_c, cx - r, cy - r, cx + r, cy + r, circleMargin) && fitsInt(cx - r) &&
        fitsInt(cx + r) && fitsInt(cy - r) && fitsInt(cy + r)) {
        m_c.beginPath();
        render::EllipsePath(m_c, int(cx - r), int(cy - r), int(cx + r), int(cy + r));
        m_c.endPath();
        m_c.flattenPath();
        m_path.capture(m_c);
        render::DashedPath(
            m_path, m_c, render::paletteColor(m_p.circumference.color, m_c.pen().color),
            m_p.circumference.width, render::lineStylePattern(m_p.circumference.kind, true), true);
    }

    const long long s = m_p.centreMarkSize;
    switch (ClockCentre(m_p.centreMark)) {
    case ClockCentre::Dot:
        dot({cx, cy}, s, m_p.centre);
        break;
    case ClockCentre::Plus:
        stroke({cx - s, cy}, {cx + s, cy}, m_p.centre);
        stroke({cx, cy - s}, {cx, cy + s}, m_p.centre);
        break;
    case ClockCentre::Cross:
        stroke({cx - s, cy - s}, {cx + s, cy + s}, m_p.centre);
        stroke({cx + s, cy - s}, {cx - s, cy + s}, m_p.centre);
        break;
    default:
        break;
    }

    if (m_p.numeralsShown) {
        m_c.setFontSize(m_p.numeralSize);
        const long long f = m_c.fontSize();
        m_c.setBrushClear(true);
        m_c.setFontColor(render::paletteColor(m_p.numeralColor, m_c.fontColor()));
        // Two characters at most, each within twice the font's height.
        const long long pixels = std::max(1, render::fontPixelHeight(m_c.fontSize()));
        const long long text = 4 * std::min<long long>(pixels, 4096);
        const long long ring = std::abs(r + f) + std::abs(f) + text;
        if (outsideCanvas(m_c, cx - ring, cy - ring, cx + ring, cy + ring, 0)) {
            return;
        }
        for (int m = 0; m < 60; m += 5) {
            const WidePoint p = radialPoint(cx, cy, r + f, direction(m, 60));
            const long long x = p.x - f / 2;
            const long long y = p.y - f / 2;
            if (!outsideCanvas(m_c, x, y, x + text, y + text, 0) && fitsInt(x) && fitsInt(y)) {
                m_c.textOut(int(x), int(y), m == 0 ? QStringLiteral("12") : QString::number(m / 5));
            }
        }
    }
}

bool ClockRenderer::facesAlike() const
{
    return namesAllItsOwn({&m_p.circumference, &m_p.centre, &m_p.minuteMarks, &m_p.hourMarks},
                          m_p.numeralColor);
}

void ClockRenderer::draw()
{
    render::beginFigure(m_c, m_frame);
    const long long r = m_p.radius;
    // How far a face can reach from its centre: the circle and the marks across it, the
    // widest line, the numerals beyond it and their text (two characters of at most twice
    // the font's height each).
    const long long f = std::abs((long long)m_p.numeralSize);
    const long long fontPixels =
        std::max(1, render::fontPixelHeight(std::min(m_p.numeralSize, 1 << 20)));
    const long long marks =
        std::max({std::abs((long long)m_p.hourMarkSize), std::abs((long long)m_p.minuteMarkSize),
                  std::abs((long long)m_p.centreMarkSize)});
    const long long widest = std::max({render::heldStrokeWidth(m_p.circumference.width),
                                       render::heldStrokeWidth(m_p.centre.width),
                                       render::heldStrokeWidth(m_p.minuteMarks.width),
                                       render::heldStrokeWidth(m_p.hourMarks.width)});
    const long long reach = std::abs(r) + marks + widest +
                            (m_p.numeralsShown ? f + 4 * std::min(fontPixels, 4096LL) + f : 0) + 4;
    const CopyGrid grid = visibleCopies(m_c, m_frame, r, m_p.countAcross, m_p.gapAcross,
                                        m_p.countDown, m_p.gapDown, reach);
    // A colour left unnamed takes the one the mark or dot before left, whether or not the
    // window shows that one: each face after the first starts from what the one before left,
    // which is the same every time.
    const CopiesAlike alike = !m_copies      ? CopiesAlike::No
                              : facesAlike() ? CopiesAlike::All
                                             : CopiesAlike::AfterTheFirst;
    drawCopies(m_c, grid, CopyReach::around(reach), alike,
               [this](Canvas& c, long long x, long long y) {
                   if (&c == &m_c) {
                       face(x, y);
                   } else {
                       ClockRenderer(c, m_p, m_frame, m_directions).face(x, y);
                   }
               });
    m_c.setPenWidth(1);
}

} // namespace

void drawClock(Canvas& canvas, const ClockParams& params, const render::Frame& frame)
{
    ClockRenderer(canvas, params, frame).draw();
}

void drawClockFaceByFace(Canvas& canvas, const ClockParams& params, const render::Frame& frame)
{
    ClockRenderer(canvas, params, frame, false).draw();
}

} // namespace koyomi::figures
