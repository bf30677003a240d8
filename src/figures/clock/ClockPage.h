// The clock page of the Draw tool: face geometry, the line settings of every element, the
// two resets and the preset record.
#pragma once

#include "figures/clock/Clock.h"
#include "widgets/FigurePage.h"
#include "widgets/ResetButton.h"

#include <QComboBox>

namespace koyomi::figures {

class ClockPage : public widgets::FigurePage
{
    Q_OBJECT
public:
    ClockPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
              QWidget* parent = nullptr);

    bool hasFigure() const override { return true; }
    void render(render::Canvas& canvas, const render::Frame& frame) override;
    QStringList recordFields() const override;
    void applyRecordFields(const QStringList& fields) override;

    // The figure's parameters as the controls hold them now.
    ClockParams params() const;

    void clock1Click();
    void clock2Click();

private:
    using Spin = widgets::SpinEdit;

    void buildGeometryPanel(QWidget* panel);
    void buildLinePanel(QWidget* panel);

    Spin* m_spin[72] = {};
    QComboBox* m_combo[61] = {};
    widgets::ResetButton* m_reset[3] = {};
};

} // namespace koyomi::figures
