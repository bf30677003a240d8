// The number line page of the Draw tool: layout, horizontal line, main ticks, labels and the
// two subdivision rows, the two resets and the preset record.
#pragma once

#include "figures/numberline/NumberLine.h"
#include "widgets/FigurePage.h"
#include "widgets/ResetButton.h"

#include <QComboBox>
#include <QLineEdit>

namespace koyomi::figures {

class NumberLinePage : public widgets::FigurePage
{
    Q_OBJECT
public:
    NumberLinePage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                   QWidget* parent = nullptr);

    bool hasFigure() const override { return true; }
    void render(render::Canvas& canvas, const render::Frame& frame) override;
    QStringList recordFields() const override;
    void applyRecordFields(const QStringList& fields) override;

    // The figure's parameters as the controls hold them now.
    NumberLineParams params() const;

    void line1Click();
    void line2Click();

private:
    using Spin = widgets::SpinEdit;

    void buildMainPanel(QWidget* panel);
    void buildSubdivisionPanel(QWidget* panel);

    Spin* m_spin[88] = {};
    QComboBox* m_combo[78] = {};
    QLineEdit* m_unit = nullptr; // Edit1
    widgets::ResetButton* m_reset[3] = {};
};

} // namespace koyomi::figures
