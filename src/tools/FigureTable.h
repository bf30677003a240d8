// The nine figure kinds in page order, and how the Draw tool makes each one's page.
#pragma once

#include "widgets/FigurePage.h"

#include <array>

class QPainter;

namespace koyomi::tools {

struct FigureEntry
{
    const char* caption;         // UTF-8: tab and library group caption
    void (*drawIcon)(QPainter&); // the picture on its tab and library group
    bool roundIcon;              // a round picture, drawn smoothed
    widgets::FigurePage* (*makePage)(int kind, widgets::FigureHost&, widgets::Redrawer&,
                                     QWidget* parent);
};

const std::array<FigureEntry, 9>& figureTable();

} // namespace koyomi::tools
