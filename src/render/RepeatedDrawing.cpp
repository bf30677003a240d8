#include "render/RepeatedDrawing.h"

#include <algorithm>

namespace koyomi::render {

namespace {

// The most pixels a scratch canvas may hold.
constexpr long long kMaxScratchPixels = 1LL << 22;

void copyState(const Canvas& from, Canvas& to)
{
    to.setPen(from.pen());
    to.setBrush(from.brush());
    to.setFontSize(from.fontSize());
    to.setFontColor(from.fontColor());
    to.setFontFamily(from.fontFamily());
    to.setPenMode(from.penMode());
}

} // namespace

RepeatedDrawing::RepeatedDrawing(const Canvas& like, const QRect& reach,
                                 const std::function<void(Canvas&, int, int)>& draw)
{
    if (reach.isEmpty() || like.penMode() != PenMode::Copy ||
        (long long)reach.width() * reach.height() > kMaxScratchPixels) {
        return;
    }
    // Drawn over black and over white: a pixel the drawing paints has its colour on both,
    // one it leaves alone keeps the two backgrounds apart.
    Canvas onBlack(reach.width(), reach.height(), kBlack);
    Canvas onWhite(reach.width(), reach.height(), kWhite);
    for (Canvas* c : {&onBlack, &onWhite}) {
        copyState(like, *c);
        draw(*c, -reach.left(), -reach.top());
    }
    const QImage& a = onBlack.image();
    const QImage& b = onWhite.image();
    for (int y = 0; y < a.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width();) {
            if (ra[x] != rb[x]) {
                ++x;
                continue;
            }
            Span span{y + reach.top(), x + reach.left(), {}};
            while (x < a.width() && ra[x] == rb[x]) {
                span.pixels.push_back(ra[x]);
                ++x;
            }
            m_spans.push_back(std::move(span));
        }
    }
    m_usable = true;
}

void RepeatedDrawing::paint(Canvas& canvas, long long x, long long y) const
{
    const long long w = canvas.width();
    const long long h = canvas.height();
    for (const Span& s : m_spans) {
        const long long row = y + s.dy;
        if (row < 0 || row >= h) {
            continue;
        }
        const long long from = x + s.dx;
        const long long first = std::max<long long>(0, -from);
        const long long last = std::min<long long>((long long)s.pixels.size(), w - from);
        if (first < last) {
            canvas.setPixels(int(row), int(from + first), s.pixels.data() + first,
                             int(last - first));
        }
    }
}

} // namespace koyomi::render
