// How the Draw tool makes each figure's page, in page order: what only the tools know of a
// figure. Everything else about a kind is in the core's figure table (figures/Figures.h).
#pragma once

#include "figures/FigureKinds.h"
#include "widgets/FigurePage.h"

#include <array>

namespace koyomi::tools {

using MakePage = widgets::FigurePage* (*)(int kind, widgets::FigureHost&, widgets::Redrawer&,
                                          QWidget* parent);

const std::array<MakePage, figures::kFigureCount>& pageMakers();

} // namespace koyomi::tools
