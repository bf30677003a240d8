// The graph paper page of the Draw tool: geometry, line classes, emphasis rows and labels,
// with the rows that set several others, the label generator, resets and the preset record.
#pragma once

#include "figures/graphpaper/GraphPaper.h"
#include "widgets/FigurePage.h"
#include "widgets/ResetButton.h"

#include <QGridLayout>
#include <QPlainTextEdit>

#include <array>
#include <initializer_list>
#include <utility>

namespace koyomi::figures {

class GraphPaperPage : public widgets::FigurePage
{
    Q_OBJECT
public:
    GraphPaperPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                   QWidget* parent = nullptr);

    bool hasFigure() const override { return true; }
    void render(render::Canvas& canvas, const render::Frame& frame) override;
    QStringList recordFields() const override;
    void applyRecordFields(const QStringList& fields) override;

    // The figure's parameters as the controls hold them now.
    GraphPaperParams params() const;

    // Fills Memo1 with the numbers NumberStart, NumberStart + NumberStep, … one per cell of
    // a block, each followed by a comma. Throws EConvertError when the start or step text is
    // not an integer.
    void FillNumberText();

    void hougan1Click();
    void hougan2Click();
    void hougan3Click();
    void hougan4Click();

private:
    using Spin = widgets::SpinEdit;
    using Combo = QComboBox;

    void buildGeometryPanel(QWidget* panel);
    void buildLinePanel(QWidget* panel);
    void buildEmphasisPanel(QWidget* panel);
    void buildLabelPanel(QWidget* panel);
    void connectHandlers();
    // A panel's grid with its reset triangle and column captions (column, caption).
    QGridLayout* startPanel(QWidget* panel, int reset,
                            std::initializer_list<std::pair<int, const char*>> captions);
    // Controls named by their number, kept for reading in order.
    void resetColor(Combo* combo);

    // The controls that are read together or in order, by their names.
    Spin* m_spin[100] = {};
    Combo* m_combo[110] = {};
    std::array<QCheckBox*, 5> m_check = {};
    QPlainTextEdit* m_memo = nullptr;
    widgets::ResetButton* m_reset[5] = {};
};

} // namespace koyomi::figures
