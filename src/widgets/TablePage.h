// A Draw tool page made from its figure's field table: one control per field, named,
// ranged, limited and explained as the table says, each running the field's change handling;
// reset triangles that reset their panel; the preset record and the figure's parameters read
// from the controls through the table. A page adds only its layout (where each control
// stands, the captions and row pictures around them) and what the table cannot say.
#pragma once

#include "figures/Fields.h"
#include "widgets/FigurePage.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

namespace koyomi::widgets {

class ResetButton;

// One row of a line panel: its picture and hint, and its line kind, width and colour fields
// (kind −1: a row with a colour only).
struct FieldLineRow
{
    RowPicture picture;
    const char* hint; // UTF-8
    int kind, width, color;
};

class TablePage : public FigurePage, public figures::Fields
{
    Q_OBJECT
public:
    TablePage(int kind, const figures::FigureFields& table, FigureHost& host, Redrawer& redrawer,
              QWidget* parent = nullptr);

    bool hasFigure() const override { return true; }
    // Draws the figure from the controls by the figure table's renderer.
    void render(render::Canvas& canvas, const render::Frame& frame) override;
    QStringList recordFields() const override { return figures::recordValues(*this); }
    void applyRecordFields(const QStringList& values) override;
    std::vector<std::pair<int, render::ColorSelector*>> colorSelectors() const override;

    QString text(int f) const override;
    int index(int f) const override;
    void setText(int f, const QString& text) override;
    void setIndex(int f, int index) override;

    // The control of field f.
    QWidget* control(int f) const { return m_controls[std::size_t(f)]; }
    // Resets panel `panel` (1: the first), as its triangle does.
    void resetClick(int panel);

protected:
    // Makes field f's control, for the page's layout to place. Every field is placed once.
    QWidget* place(int f);
    // The panel's grid, with the triangle of reset panel `reset` and column captions.
    QGridLayout* startPanel(QWidget* panel, int reset,
                            std::initializer_list<std::pair<int, const char*>> captions);
    // The rows of a line panel from the grid's row `first`: picture, kind, width, colour.
    void addLineRows(QGridLayout* grid, QWidget* panel, std::span<const FieldLineRow> rows,
                     int first = 1);

    // The graph paper's label text, which its page holds in a control of its own.
    virtual QString labelsText() const { return {}; }
    virtual void setLabelsText(const QString&) {}

    // A field's change, as its control's handler: the change handling, an error shown, the
    // figure drawn.
    void fieldChanged(int f);

private:
    void fieldChosen(int f);

    std::vector<QWidget*> m_controls;
    std::vector<ResetButton*> m_resets;
};

} // namespace koyomi::widgets
