// The graph paper page of the Draw tool: geometry, line classes, emphasis rows and labels,
// laid out over the graph paper's fields, and the box that shows the label text.
#pragma once

#include "figures/graphpaper/GraphPaperFields.h"
#include "widgets/TablePage.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace koyomi::figures {

class GraphPaperPage : public widgets::TablePage
{
    Q_OBJECT
public:
    GraphPaperPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                   QWidget* parent = nullptr);

    // The figure's parameters as the controls hold them now.
    GraphPaperParams params() const { return graphPaperParams(*this); }

    void hougan1Click() { resetClick(1); }
    void hougan2Click() { resetClick(2); }
    void hougan3Click() { resetClick(3); }
    void hougan4Click() { resetClick(4); }

protected:
    QString labelsText() const override { return m_labelText; }
    // Memo1 holds the label text whole while it is short enough to edit; a longer text (the
    // generator gives seven megabytes for the largest block) is kept here and Memo1 shows
    // its beginning, read-only, with a note, since laying out the whole text in the box
    // would take seconds.
    void setLabelsText(const QString& text) override;

private:
    void buildGeometryPanel(QWidget* panel);
    void buildLinePanel(QWidget* panel);
    void buildEmphasisPanel(QWidget* panel);
    void buildLabelPanel(QWidget* panel);

    QPlainTextEdit* m_memo = nullptr;
    QLabel* m_memoNote = nullptr;
    QString m_labelText; // what the labels are drawn from, whatever Memo1 shows
};

} // namespace koyomi::figures
