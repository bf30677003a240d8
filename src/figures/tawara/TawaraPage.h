// The tawara page of the Draw tool: piece size and shape, rows and orientation, the grid of
// piles, the outline's line setting, the reset and the preset record.
#pragma once

#include "figures/tawara/Tawara.h"
#include "widgets/FigurePage.h"
#include "widgets/ResetButton.h"

#include <QComboBox>

namespace koyomi::figures {

class TawaraPage : public widgets::FigurePage
{
    Q_OBJECT
public:
    TawaraPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
               QWidget* parent = nullptr);

    bool hasFigure() const override { return true; }
    void render(render::Canvas& canvas, const render::Frame& frame) override;
    QStringList recordFields() const override;
    void applyRecordFields(const QStringList& fields) override;

    // The figure's parameters as the controls hold them now.
    TawaraParams params() const;

    void Tawara1Click();

private:
    using Spin = widgets::SpinEdit;

    Spin* m_size = nullptr;           // SpinEdit102
    QComboBox* m_shape = nullptr;     // ComboBox84
    Spin* m_rows = nullptr;           // SpinEdit107
    QComboBox* m_apex = nullptr;      // ComboBox87
    Spin* m_countAcross = nullptr;    // SpinEdit104
    Spin* m_gapAcross = nullptr;      // SpinEdit103
    Spin* m_countDown = nullptr;      // SpinEdit105
    Spin* m_gapDown = nullptr;        // SpinEdit106
    QComboBox* m_lineKind = nullptr;  // ComboBox85
    Spin* m_lineWidth = nullptr;      // SpinEdit100
    QComboBox* m_lineColor = nullptr; // ComboBox86
    widgets::ResetButton* m_reset = nullptr;
};

} // namespace koyomi::figures
