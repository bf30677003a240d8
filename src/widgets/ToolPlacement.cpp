#include "widgets/ToolPlacement.h"

#include <algorithm>

namespace koyomi::widgets {

QPoint reachablePosition(int left, int top, int width, std::span<const QRect> screens,
                         int reachableWidth, int reachableHeight, QPoint fallback)
{
    using i64 = long long;
    // The top edge's strip, right and bottom edges excluded.
    const i64 x1 = left;
    const i64 y1 = top;
    const i64 x2 = x1 + width;
    const i64 y2 = y1 + reachableHeight;
    for (const QRect& s : screens) {
        const i64 w = std::min<i64>(x2, i64(s.x()) + s.width()) - std::max<i64>(x1, s.x());
        const i64 h = std::min<i64>(y2, i64(s.y()) + s.height()) - std::max<i64>(y1, s.y());
        if (w >= reachableWidth && h >= reachableHeight) {
            return QPoint(left, top);
        }
    }
    return fallback;
}

} // namespace koyomi::widgets
