// The clock page of the Draw tool: the face, its marks and numerals, copies, and the line
// settings of every element.
#pragma once

#include "figures/clock/ClockFields.h"
#include "widgets/TablePage.h"

namespace koyomi::figures {

class ClockPage : public widgets::TablePage
{
    Q_OBJECT
public:
    ClockPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
              QWidget* parent = nullptr);

    // The figure's parameters as the controls hold them now.
    ClockParams params() const { return clockParams(*this); }

    void clock1Click() { resetClick(1); }
    void clock2Click() { resetClick(2); }

private:
    void buildGeometryPanel(QWidget* panel);
    void buildLinePanel(QWidget* panel);
};

} // namespace koyomi::figures
