// Where a floating tool window opens: its saved position, unless that leaves it out of reach.
#pragma once

#include <QPoint>
#include <QRect>

#include <span>

namespace koyomi::widgets {

// The saved top-left corner of a tool window `width` pixels wide, when at least
// `reachableWidth` × `reachableHeight` pixels of its top edge lie on one of the screens' usable
// areas; otherwise `fallback` (a corner of the primary screen). Computed wide, so that any
// value a hand-edited settings file holds is judged without overflow.
QPoint reachablePosition(int left, int top, int width, std::span<const QRect> screens,
                         int reachableWidth, int reachableHeight, QPoint fallback);

} // namespace koyomi::widgets
