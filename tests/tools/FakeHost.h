// A presentation window stand-in for page and Draw tool tests: it draws the asked-for
// figure with the Draw tool's pages on its own canvas and records what was asked of it.
#pragma once

#include "render/Canvas.h"
#include "widgets/FigureHost.h"
#include "widgets/FigurePage.h"

#include <QStringList>

#include <map>
#include <vector>

namespace koyomi::test {

class FakeHost : public widgets::FigureHost
{
public:
    explicit FakeHost(int width = 400, int height = 300) : canvas(width, height) {}

    void drawFigure(int kind) override
    {
        drawn.push_back(kind);
        if (pages && kind >= 0 && kind < int(pages->size()) && (*pages)[kind]->hasFigure()) {
            (*pages)[kind]->render(canvas, render::Frame{canvas.width(), canvas.height(), white});
        }
    }
    void showPicture() override { ++picturesShown; }
    bool whiteBackground() const override { return white; }
    void useBackground(bool w) override { white = w; }
    void showError(const QString& message) override { errors.append(message); }

    render::Canvas canvas;
    const std::vector<widgets::FigurePage*>* pages = nullptr;
    std::vector<int> drawn;
    int picturesShown = 0;
    bool white = false;
    QStringList errors;
};

} // namespace koyomi::test
