// The graph paper page of the Draw tool: geometry, line classes, emphasis rows and labels,
// with the rows that set several others, the label generator, resets and the preset record.
#pragma once

#include "figures/graphpaper/GraphPaper.h"
#include "widgets/FigurePage.h"
#include "widgets/ResetButton.h"

#include <QGridLayout>
#include <QLabel>
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
    void resetColor(Combo* combo);
    // Sets the label text. Memo1 holds it whole while it is short enough to edit; a longer
    // text (the generator gives seven megabytes for the largest block) is kept here and Memo1
    // shows its beginning, read-only, with a note, since laying out the whole text in the box
    // would take seconds.
    void setLabelText(QString text);

    // The controls that are read together or in order, by their names.
    Spin* m_spin[100] = {};
    Combo* m_combo[110] = {};
    std::array<QCheckBox*, 5> m_check = {};
    QPlainTextEdit* m_memo = nullptr;
    QLabel* m_memoNote = nullptr;
    QString m_labelText; // what the labels are drawn from, whatever Memo1 shows
    widgets::ResetButton* m_reset[5] = {};
};

} // namespace koyomi::figures
