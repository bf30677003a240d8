// The number line page of the Draw tool: the line, its ticks and labels, copies and the two
// sub-division rows.
#pragma once

#include "figures/numberline/NumberLineFields.h"
#include "widgets/TablePage.h"

namespace koyomi::figures {

class NumberLinePage : public widgets::TablePage
{
    Q_OBJECT
public:
    NumberLinePage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                   QWidget* parent = nullptr);

    // The figure's parameters as the controls hold them now.
    NumberLineParams params() const { return numberLineParams(*this); }

    void line1Click() { resetClick(1); }
    void line2Click() { resetClick(2); }

private:
    void buildMainPanel(QWidget* panel);
    void buildSubdivisionPanel(QWidget* panel);
};

} // namespace koyomi::figures
