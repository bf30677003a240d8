// The number of figure kinds; what each one is, is in the figure table (figures/Figures.h).
#pragma once

namespace koyomi::figures {

inline constexpr int kFigureCount = 9;
// The figure a first start shows: the first page.
inline constexpr int kGraphPaperKind = 0;

} // namespace koyomi::figures
