// What the Draw tool's pages ask of the presentation window.
#pragma once

#include "figures/FigureCaches.h"

#include <QSize>
#include <QString>

namespace koyomi::widgets {

class FigureHost
{
public:
    virtual ~FigureHost() = default;
    // Draws figure `kind` on the presentation window at once, whatever the current figure.
    virtual void drawFigure(int kind) = 0;
    // Shows the picture control (the picture figure has no renderer).
    virtual void showPicture() = 0;
    virtual bool whiteBackground() const = 0;
    // The drawing surface's size: what a picture is fitted to.
    virtual QSize clientSize() const = 0;
    // Sets the background flag and its menu marks without redrawing or resetting colours
    // (a preset brings its own colours).
    virtual void useBackground(bool white) = 0;
    // Shows an error in the standard error box; the program goes on.
    virtual void showError(const QString& message) = 0;
    // What the figures keep from one drawing to the next on this window.
    virtual figures::FigureCaches& figureCaches() = 0;
};

} // namespace koyomi::widgets
