// One page of the Draw tool: the controls of one figure, which are that figure's settings.
#pragma once

#include "render/Canvas.h"
#include "render/ColorInit.h"
#include "render/Frame.h"
#include "render/Palette.h"
#include "widgets/ComboBoxes.h"
#include "widgets/FigureHost.h"
#include "widgets/Redrawer.h"
#include "widgets/RowPictures.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

#include <initializer_list>
#include <utility>
#include <vector>

namespace koyomi::widgets {

class ResetButton;

// Columns a panel's grid may use (0 stays empty: the reset triangle lies over it); the one
// after them takes the space left over.
inline constexpr int kPanelColumns = 8;

class FigurePage : public QWidget
{
    Q_OBJECT
public:
    FigurePage(int kind, FigureHost& host, Redrawer& redrawer, QWidget* parent = nullptr);

    int kind() const { return m_kind; }

    // Whether this figure can be drawn yet; a page without a figure is an empty frame.
    virtual bool hasFigure() const { return false; }
    // Reads the controls and draws the figure over the whole canvas.
    virtual void render(render::Canvas&, const render::Frame&) {}

    // The values of this figure's preset record after the common head, as written; empty
    // for a figure without a record yet.
    virtual QStringList recordFields() const { return {}; }
    // Sets the controls from a record's values after the common head. Throws on a value
    // that cannot be read; controls set before it keep their new values.
    virtual void applyRecordFields(const QStringList&) {}

    // The colour selectors of this page, reset on a background change, each with its place
    // in the order of that reset.
    virtual std::vector<std::pair<int, render::ColorSelector*>> colorSelectors() const
    {
        return {};
    }

protected:
    FigureHost& host() const { return m_host; }
    Redrawer& redrawer() const { return m_redrawer; }

    // This page's figure is drawn once the current user action is over.
    void requestRedraw();

    // A caption over a column of controls (UTF-8).
    static QLabel* caption(const char* text, QWidget* parent);
    // A framed panel of the page, below the panels made before it in the page's column.
    QFrame* panel();
    // The panel's grid: its reset triangle, named as its handler's button, in the top-left
    // corner, and column captions (column, UTF-8 caption) in the first row.
    QGridLayout* startPanel(QWidget* panel, ResetButton*& reset, const QString& resetName,
                            std::initializer_list<std::pair<int, const char*>> captions);

private:
    QVBoxLayout* m_column = nullptr; // the page's panels, top to bottom
    int m_kind;
    FigureHost& m_host;
    Redrawer& m_redrawer;
};

} // namespace koyomi::widgets
