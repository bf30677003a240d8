// The slanted grid page of the Draw tool: spacing and one line setting for every line.
#pragma once

#include "figures/slopegrid/SlopeGridFields.h"
#include "widgets/TablePage.h"

namespace koyomi::figures {

class SlopeGridPage : public widgets::TablePage
{
    Q_OBJECT
public:
    SlopeGridPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                  QWidget* parent = nullptr);

    // The figure's parameters as the controls hold them now.
    SlopeGridParams params() const { return slopeGridParams(*this); }

    void slope1Click() { resetClick(1); }
};

} // namespace koyomi::figures
