// The fraction tiles page of the Draw tool: tile geometry, parts and ticks, the line settings
// with their master rows, the two resets and the preset record.
#pragma once

#include "figures/fractiontiles/FractionTiles.h"
#include "widgets/FigurePage.h"
#include "widgets/ResetButton.h"

#include <QComboBox>

namespace koyomi::figures {

class FractionTilesPage : public widgets::FigurePage
{
    Q_OBJECT
public:
    FractionTilesPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                      QWidget* parent = nullptr);

    bool hasFigure() const override { return true; }
    void render(render::Canvas& canvas, const render::Frame& frame) override;
    QStringList recordFields() const override;
    void applyRecordFields(const QStringList& fields) override;

    // The figure's parameters as the controls hold them now.
    FractionTilesParams params() const;

    void bunsu1Click();
    void bunsu2Click();

private:
    using Spin = widgets::SpinEdit;

    void buildGeometryPanel(QWidget* panel);
    void buildLinePanel(QWidget* panel);
    void connectHandlers();

    Spin* m_spin[126] = {};
    QComboBox* m_combo[109] = {};
    widgets::ResetButton* m_reset[2] = {};
};

} // namespace koyomi::figures
