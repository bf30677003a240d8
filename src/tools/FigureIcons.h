// The small pictures of the figure kinds on the Draw tool's tabs and library groups.
#pragma once

#include <QIcon>

namespace koyomi::tools {

// A picture of figure `kind` (0..8); any other index gives the record mark of the library.
QIcon figureIcon(int kind);

} // namespace koyomi::tools
