// The Draw tool: the floating window whose pages hold every figure's settings.
#pragma once

#include "state/AppState.h"
#include "widgets/FigureHost.h"
#include "widgets/FigurePage.h"
#include "widgets/PageControl.h"
#include "widgets/Redrawer.h"

#include <QWidget>

#include <functional>
#include <vector>

class QSlider;
class QTreeWidget;
class QToolButton;
class QMenu;

namespace koyomi::tools {

class TForm2 : public QWidget
{
    Q_OBJECT
public:
    TForm2(state::AppState& state, widgets::FigureHost& host, QWidget* parent = nullptr);
    ~TForm2() override;

    // The page of each figure kind, in tab order.
    const std::vector<widgets::FigurePage*>& pages() const { return m_pages; }
    widgets::Redrawer& redrawer() { return m_redrawer; }
    widgets::PageControl* pageControl() const { return m_pageControl; }

    // Resets the figures' colour choices to white on black or black on white.
    void ColorInit(bool whiteBackground);

    // Seams of the picture figure, filled when its page exists.
    std::function<void()> refreshPictureList;
    std::function<void()> advancePicture;

    // Applies a preset record line: background, every control of its figure's page, then
    // the figure is drawn, its page shown and made the current figure. Returns false for a
    // line that is not a record of a known figure.
    bool loadRecord(const QString& line);
    // The record line of the current settings of figure `kind` under the given name.
    QString recordOf(int kind, const QString& name) const;

    void PageControl1Change(int index);
    void TrackBar1Change(int position);
    void Action1Execute();

private:
    void buildFrame();
    void restorePlacement();

    state::AppState& m_state;
    widgets::FigureHost& m_host;
    widgets::Redrawer m_redrawer;
    std::vector<widgets::FigurePage*> m_pages;
    widgets::PageControl* m_pageControl = nullptr;
    QTreeWidget* m_tree = nullptr;
    QSlider* m_trackBar = nullptr;
};

} // namespace koyomi::tools
