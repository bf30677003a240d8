// The presentation window: the projected figure, background, full screen, menu and output.
#pragma once

#include "figures/FigureKinds.h"
#include "render/Canvas.h"
#include "render/Frame.h"
#include "state/AppState.h"
#include "tools/Annotation.h"
#include "widgets/FigureHost.h"

#include <QMainWindow>
#include <QRect>

#include <array>
#include <functional>

class QAction;
class QMenu;
class QScreen;

namespace koyomi::app {

using state::AppState;
class PaintBox;

// The save dialog's filter, description and pattern pairs separated by bars, and the same
// as the dialog's name filters (the descriptions already name their patterns).
extern const char* const kSaveFilter;
QStringList nameFiltersFrom(const QString& filter);

// Draws one figure kind over the whole canvas.
using Renderer = std::function<void(render::Canvas&, const render::Frame&)>;

// What the presentation window asks of the tool windows.
struct ToolSeams
{
    std::function<void()> showDrawTool;
    std::function<void()> showPaintTool;
    std::function<void(bool whiteBackground)> colorInit; // reset the figures' colour choices
    std::function<void()> advancePicture;                // Enter while the picture is shown
    std::function<void()> reloadPicture;                 // refit the picture to a new size
    std::function<void(int delta)> stepPreset;           // the next (1) or previous (-1) preset
    std::function<void()> saveWorksheet;                 // "PDFとして保存…"
};

class TForm1 : public QMainWindow, public widgets::FigureHost
{
    Q_OBJECT
public:
    explicit TForm1(AppState& state, QWidget* parent = nullptr);
    ~TForm1() override;

    AppState& state() { return m_state; }
    ToolSeams& tools() { return m_tools; }
    void setRenderer(int kind, Renderer renderer);

    // Draws the figure of the given kind at once on the drawing surface, whatever the
    // current kind is.
    void drawFigure(int kind) override;
    void showPicture() override;
    bool whiteBackground() const override { return m_state.BWflag; }
    QSize clientSize() const override;
    void useBackground(bool white) override { setBackgroundChecks(white); }
    void showError(const QString& message) override;
    figures::FigureCaches& figureCaches() override { return m_figureCaches; }
    // Draws the current figure.
    void redraw() { drawFigure(m_state.FigureKind); }

    render::Canvas& canvas();
    PaintBox* paintBox() const { return m_paintBox; }
    // Layout extent and background of the next figure.
    render::Frame frame() const;

    void setBackground(bool white);
    bool isFullScreenMode() const { return m_fullScreen; }

    // The monitor the figure is projected on: with more than one, "表示先" offers each; the
    // choice is kept as "Screen" (the monitor's name) for the next start.
    QString presentationScreen() const { return m_screenName; }
    void moveToScreen(QScreen* screen);

    // What the class sees: the client area as shown, annotations included.
    QImage snapshot() const;
    // Asks for the file name of "JPEG画像として保存"; an empty answer cancels. Replaceable
    // so that tests need no dialog.
    std::function<QString()> askSavePath;

    // Handlers, named after their controls.
    void mBgBlackClick() { setBackground(false); }
    void mBgWhiteClick() { setBackground(true); }
    void Save1Click();
    void Copy1Click();
    void Action1Execute(); // Space: full screen on and off
    void Action2Execute(); // Enter: next picture
    void PaintBox1MouseDown(Qt::MouseButton button, int x, int y);
    void PaintBox1MouseMove(int x, int y);
    void PaintBox1MouseUp(Qt::MouseButton button, int x, int y);
    // Ctrl+Z: the last annotation stroke taken back.
    void Undo1Execute();

    // What the teacher draws over the figure; the Paint tool edits its settings.
    tools::Annotation& annotation() { return m_annotation; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildMenu();
    void setBackgroundChecks(bool white);
    void buildActions();
    void buildScreenMenu();
    // The window's place, centred on a monitor's usable area at its present size (at most
    // that area).
    QRect placementOn(const QScreen* screen) const;
    QString defaultSavePath();
    // Redraws from a paint or resize: a renderer error there closes the window.
    void drawGuarded();

    AppState& m_state;
    ToolSeams m_tools;
    std::array<Renderer, figures::kFigureCount> m_renderers;
    figures::FigureCaches m_figureCaches; // kept from one drawing to the next
    PaintBox* m_paintBox = nullptr;
    QAction* m_bgBlack = nullptr;
    QAction* m_bgWhite = nullptr;
    tools::Annotation m_annotation;
    bool m_fullScreen = false;
    bool m_shown = false;
    QRect m_savedPlacement;
    QMenu* m_screenMenu = nullptr;
    QString m_screenName; // the monitor chosen, empty for the primary one
};

} // namespace koyomi::app
