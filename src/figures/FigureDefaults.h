// Each figure drawn at its defaults, by kind: what the presentation window shows before the
// Draw tool's pages exist, so that it can be shown at once at start and its first figure
// drawn while the tools are still being made.
#pragma once

#include "render/Canvas.h"
#include "render/Frame.h"

namespace koyomi::figures {

class FigureCaches;

// Figure `kind` (0 … kFigureCount − 1) with the settings of a fresh page for the frame's
// background; the picture figure, which has no picture yet, is black. Nothing for another
// kind.
void drawFigureDefaults(int kind, render::Canvas& canvas, const render::Frame& frame,
                        FigureCaches* caches = nullptr);

// Whether figure `kind` shows a file rather than drawing: its defaults show nothing.
bool showsAFile(int kind);

} // namespace koyomi::figures
