// The circle page of the Draw tool: shape, the line settings of every element, the two
// sub-division rings, the three resets and the preset record.
#pragma once

#include "figures/circle/Circle.h"
#include "widgets/FigurePage.h"
#include "widgets/ResetButton.h"

#include <QComboBox>

namespace koyomi::figures {

class CirclePage : public widgets::FigurePage
{
    Q_OBJECT
public:
    CirclePage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
               QWidget* parent = nullptr);

    bool hasFigure() const override { return true; }
    void render(render::Canvas& canvas, const render::Frame& frame) override;
    QStringList recordFields() const override;
    void applyRecordFields(const QStringList& fields) override;

    // The figure's parameters as the controls hold them now.
    CircleParams params() const;

    void Oval1Click();
    void Oval2Click();
    void Oval3Click();

private:
    using Spin = widgets::SpinEdit;

    void buildShapePanel(QWidget* panel);
    void buildLinePanel(QWidget* panel);
    void buildSubDivisionPanel(QWidget* panel);

    Spin* m_spin[97] = {};
    QComboBox* m_combo[82] = {};
    widgets::ResetButton* m_reset[4] = {};
};

} // namespace koyomi::figures
