// A presentation window without a window: the Draw tool's pages draw their figures on a
// canvas of its own. Used by the headless renderer, tests and benchmarks.
#pragma once

#include "render/Canvas.h"
#include "widgets/FigureHost.h"
#include "widgets/FigurePage.h"

#include <QStringList>

#include <vector>

namespace koyomi::widgets {

class HeadlessHost : public FigureHost
{
public:
    HeadlessHost(int width, int height, bool whiteBackground = false)
        : canvas(width, height, render::backgroundColor(whiteBackground)), white(whiteBackground)
    {
    }

    void drawFigure(int kind) override
    {
        drawn.push_back(kind);
        if (pages && kind >= 0 && kind < int(pages->size()) && (*pages)[kind]->hasFigure()) {
            (*pages)[kind]->render(canvas, render::Frame{canvas.width(), canvas.height(), white});
        }
    }
    void showPicture() override { ++picturesShown; }
    bool whiteBackground() const override { return white; }
    QSize clientSize() const override { return QSize(canvas.width(), canvas.height()); }
    void useBackground(bool w) override { white = w; }
    void showError(const QString& message) override { errors.append(message); }
    figures::FigureCaches& figureCaches() override { return caches; }

    render::Canvas canvas;
    figures::FigureCaches caches;
    bool white;
    // The pages by figure kind, usually the Draw tool's.
    const std::vector<FigurePage*>* pages = nullptr;
    // What was asked of the window: figures drawn, pictures shown, errors.
    std::vector<int> drawn;
    int picturesShown = 0;
    QStringList errors;
};

} // namespace koyomi::widgets
