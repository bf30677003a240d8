// The slanted grid page of the Draw tool: spacing and one line setting for every line, its
// reset and the preset record.
#pragma once

#include "figures/slopegrid/SlopeGrid.h"
#include "widgets/FigurePage.h"
#include "widgets/ResetButton.h"

#include <QComboBox>

namespace koyomi::figures {

class SlopeGridPage : public widgets::FigurePage
{
    Q_OBJECT
public:
    SlopeGridPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                  QWidget* parent = nullptr);

    bool hasFigure() const override { return true; }
    void render(render::Canvas& canvas, const render::Frame& frame) override;
    QStringList recordFields() const override;
    void applyRecordFields(const QStringList& fields) override;

    // The figure's parameters as the controls hold them now.
    SlopeGridParams params() const;

    void slope1Click();

private:
    widgets::SpinEdit* m_spacing = nullptr; // SpinEdit28
    widgets::SpinEdit* m_width = nullptr;   // SpinEdit29
    QComboBox* m_kind = nullptr;            // ComboBox27
    QComboBox* m_color = nullptr;           // ComboBox28
    widgets::ResetButton* m_reset = nullptr;
};

} // namespace koyomi::figures
