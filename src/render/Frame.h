// What every renderer is given besides its parameters: the layout extent and the background.
#pragma once

#include "render/Canvas.h"

namespace koyomi::render {

struct Frame
{
    // Layout extent: the presentation window's outer width and client height.
    int width = 800;
    int height = 570;
    bool whiteBackground = false;
};

// The common start of every figure: the background over the whole surface (unless the figure
// writes every row whole itself), a clear brush and a one-pixel pen.
inline void beginFigure(Canvas& canvas, const Frame& frame, bool background = true)
{
    if (background) {
        canvas.fillRect(QRect(0, 0, canvas.width(), canvas.height()),
                        backgroundColor(frame.whiteBackground));
    }
    canvas.setBrushClear(true);
    canvas.setPenWidth(1);
}

} // namespace koyomi::render
