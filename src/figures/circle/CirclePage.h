// The circle page of the Draw tool: shape, the line settings of every element and the two
// sub-division rings, laid out over the circle's fields.
#pragma once

#include "figures/circle/CircleFields.h"
#include "widgets/TablePage.h"

namespace koyomi::figures {

class CirclePage : public widgets::TablePage
{
    Q_OBJECT
public:
    CirclePage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
               QWidget* parent = nullptr);

    // The figure's parameters as the controls hold them now.
    CircleParams params() const { return circleParams(*this); }

    void Oval1Click() { resetClick(1); }
    void Oval2Click() { resetClick(2); }
    void Oval3Click() { resetClick(3); }

private:
    void buildShapePanel(QWidget* panel);
    void buildLinePanel(QWidget* panel);
    void buildSubDivisionPanel(QWidget* panel);
};

} // namespace koyomi::figures
