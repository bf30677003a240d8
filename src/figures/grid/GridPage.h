// The point grid page of the Draw tool: block geometry with the equilateral coupling of the
// two spacings, the marks, resets and the preset record.
#pragma once

#include "figures/grid/Grid.h"
#include "widgets/FigurePage.h"
#include "widgets/ResetButton.h"

#include <QComboBox>

namespace koyomi::figures {

class GridPage : public widgets::FigurePage
{
    Q_OBJECT
public:
    GridPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
             QWidget* parent = nullptr);

    bool hasFigure() const override { return true; }
    void render(render::Canvas& canvas, const render::Frame& frame) override;
    QStringList recordFields() const override;
    void applyRecordFields(const QStringList& fields) override;

    // The figure's parameters as the controls hold them now.
    GridParams params() const;

    void grid1Click();
    void grid2Click();

private:
    using Spin = widgets::SpinEdit;

    void buildGeometryPanel(QWidget* panel);
    void buildMarkPanel(QWidget* panel);
    void connectHandlers();
    // What a spin edit's change does beyond the common rule; may throw EConvertError.
    void spinChange(int n);

    Spin* m_spin[41] = {};
    QComboBox* m_shape = nullptr;       // ComboBox29
    QComboBox* m_color = nullptr;       // ComboBox30
    QComboBox* m_centres = nullptr;     // ComboBox62
    QCheckBox* m_equilateral = nullptr; // CheckBox5
    widgets::ResetButton* m_reset[3] = {};
};

} // namespace koyomi::figures
