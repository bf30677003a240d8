// The Paint tool: a narrow floating window choosing the annotation tool, the pen and fill
// colours, the pen width and its own opacity, with a button that redraws the figure.
#pragma once

#include "state/AppState.h"
#include "tools/Annotation.h"

#include <QImage>
#include <QWidget>

#include <functional>

class QLabel;
class QSlider;
class QToolButton;

namespace koyomi::tools {

// The palette box's picture: 20 cells of 26 × 14 in 10 rows of 2 sharing their borders,
// bordered in `border`, on white.
QImage paletteImage(QSize size, render::ColorRef border);
// The swatch's picture: the pen square top-left and the fill square bottom-right, the one
// palette clicks set in front.
QImage swatchImage(const Annotation& annotation, QSize size);
// The palette index (1..20) under a press in the palette box, 0 outside the cells.
int paletteIndexAt(int x, int y);

class TForm4 : public QWidget
{
    Q_OBJECT
public:
    TForm4(state::AppState& state, Annotation& annotation, QWidget* parent = nullptr);
    ~TForm4() override;

    // "ReDraw": redraws the current figure; given by the program. Throws when the figure
    // cannot be drawn, which closes this window.
    std::function<void()> redrawFigure;

    // Handlers, named after their controls.
    void Button1Click();
    void TrackBar1Change(int position);
    void TrackBar2Change(int position);
    void PalBox1MouseDown(int x, int y);
    void PaintBox2Click();

private:
    void restorePlacement();

    state::AppState& m_state;
    Annotation& m_annotation;
    QWidget* m_palette = nullptr;  // PalBox1
    QWidget* m_swatch = nullptr;   // PaintBox2
    QSlider* m_width = nullptr;    // TrackBar1
    QLabel* m_widthText = nullptr; // Label2
    QSlider* m_opacity = nullptr;  // TrackBar2
};

} // namespace koyomi::tools
