// The tawara pile page of the Draw tool: piece, rows, copies and outline in one panel.
#pragma once

#include "figures/tawara/TawaraFields.h"
#include "widgets/TablePage.h"

namespace koyomi::figures {

class TawaraPage : public widgets::TablePage
{
    Q_OBJECT
public:
    TawaraPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
               QWidget* parent = nullptr);

    // The figure's parameters as the controls hold them now.
    TawaraParams params() const { return tawaraParams(*this); }

    void Tawara1Click() { resetClick(1); }
};

} // namespace koyomi::figures
