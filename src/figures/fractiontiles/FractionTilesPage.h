// The fraction tiles page of the Draw tool: tile geometry, divisions and ticks, and the line
// settings with their master rows.
#pragma once

#include "figures/fractiontiles/FractionTilesFields.h"
#include "widgets/TablePage.h"

namespace koyomi::figures {

class FractionTilesPage : public widgets::TablePage
{
    Q_OBJECT
public:
    FractionTilesPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                      QWidget* parent = nullptr);

    // The figure's parameters as the controls hold them now.
    FractionTilesParams params() const { return fractionTilesParams(*this); }

    void bunsu1Click() { resetClick(1); }
    void bunsu2Click() { resetClick(2); }

private:
    void buildGeometryPanel(QWidget* panel);
    void buildLinePanel(QWidget* panel);
};

} // namespace koyomi::figures
