// The grid page of the Draw tool: points and blocks, then the mark and its options.
#pragma once

#include "figures/grid/GridFields.h"
#include "widgets/TablePage.h"

namespace koyomi::figures {

class GridPage : public widgets::TablePage
{
    Q_OBJECT
public:
    GridPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
             QWidget* parent = nullptr);

    // The figure's parameters as the controls hold them now.
    GridParams params() const { return gridParams(*this); }

    void grid1Click() { resetClick(1); }
    void grid2Click() { resetClick(2); }

private:
    void buildGeometryPanel(QWidget* panel);
    void buildMarkPanel(QWidget* panel);
};

} // namespace koyomi::figures
