// One page of the Draw tool: the controls of one figure, which are that figure's settings.
#pragma once

#include "figures/LineSetting.h"
#include "render/Canvas.h"
#include "render/ColorInit.h"
#include "render/Frame.h"
#include "render/Palette.h"
#include "widgets/ComboBoxes.h"
#include "widgets/FigureHost.h"
#include "widgets/Redrawer.h"
#include "widgets/RowPictures.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

namespace koyomi::widgets {

class ResetButton;

// One value of a record whose values are all numbered spin edits' texts ('S') and numbered
// selectors' indexes ('C').
struct RecordField
{
    char type;
    int number;
};

// One row of a page's line panel: its picture and hint, and the numbers of its line kind,
// width and colour controls (kind 0: a row with a colour only), the width taking at most
// widthLength typed characters (0: no limit).
struct LineRow
{
    RowPicture picture;
    const char* hint;
    int kind, width, color;
    int widthLength = 1;
};

// Columns a panel's grid may use (0 stays empty: the reset triangle lies over it); the one
// after them takes the space left over.
inline constexpr int kPanelColumns = 8;

class FigurePage : public QWidget
{
    Q_OBJECT
public:
    FigurePage(int kind, FigureHost& host, Redrawer& redrawer, QWidget* parent = nullptr);

    int kind() const { return m_kind; }

    // Whether this figure can be drawn yet; a page without a figure is an empty frame.
    virtual bool hasFigure() const { return false; }
    // Reads the controls and draws the figure over the whole canvas.
    virtual void render(render::Canvas&, const render::Frame&) {}

    // The values of this figure's preset record after the common head, as written; empty
    // for a figure without a record yet.
    virtual QStringList recordFields() const { return {}; }
    // Sets the controls from a record's values after the common head. Throws on a value
    // that cannot be read; controls set before it keep their new values.
    virtual void applyRecordFields(const QStringList&) {}

    // The colour selectors of this page, reset on a background change, each with its place
    // in the order of that reset.
    virtual std::vector<std::pair<int, render::ColorSelector*>> colorSelectors() const
    {
        return {};
    }

protected:
    FigureHost& host() const { return m_host; }
    Redrawer& redrawer() const { return m_redrawer; }

    // The common rule of a spin edit: an empty text is refilled (which runs the spin edit's
    // own handling again), then this page's figure is drawn, whatever figure is current.
    void commonSpinChange(SpinEdit* edit, const QString& refill = QStringLiteral("1"));
    // This page's figure is drawn once the current user action is over.
    void requestRedraw();

    // Controls, each named as the page's tables name it.
    SpinEdit* spin(const char* name, int minimum, int maximum, int value, int maxLength = 0);
    // A spin edit named "SpinEdit<n>", kept in the page's table by its number.
    template <std::size_t N>
    SpinEdit* numberedSpin(SpinEdit* (&table)[N], int n, int minimum, int maximum, int value,
                           int maxLength = 0)
    {
        table[n] = spin(qPrintable(QStringLiteral("SpinEdit%1").arg(n)), minimum, maximum, value,
                        maxLength);
        return table[n];
    }
    ColorComboBox* colorCombo(const char* name);
    LineKindComboBox* lineCombo(const char* name, int index);
    // Selectors named "ComboBox<n>", kept in the page's table by their number.
    template <std::size_t N> QComboBox* numberedColorCombo(QComboBox* (&table)[N], int n)
    {
        table[n] = colorCombo(qPrintable(QStringLiteral("ComboBox%1").arg(n)));
        return table[n];
    }
    template <std::size_t N> QComboBox* numberedLineCombo(QComboBox* (&table)[N], int n, int index)
    {
        table[n] = lineCombo(qPrintable(QStringLiteral("ComboBox%1").arg(n)), index);
        return table[n];
    }
    // A selector named "ComboBox<n>" with the given items (UTF-8) and selection, kept in the
    // page's table by its number.
    template <std::size_t N>
    QComboBox* numberedItemCombo(QComboBox* (&table)[N], int n,
                                 std::initializer_list<const char*> items, int index = 0)
    {
        table[n] = itemCombo(qPrintable(QStringLiteral("ComboBox%1").arg(n)), items, index);
        return table[n];
    }
    QComboBox* itemCombo(const char* name, std::initializer_list<const char*> items, int index);
    // The rows of a line panel from the grid's row 1: picture, line kind ("実線" first),
    // width 1..5 and colour, each control numbered and kept in the page's tables.
    template <std::size_t S, std::size_t C>
    void addLineRows(QGridLayout* grid, QWidget* panel, std::span<const LineRow> rows,
                     SpinEdit* (&spins)[S], QComboBox* (&combos)[C])
    {
        int r = 1;
        for (const LineRow& row : rows) {
            grid->addWidget(rowPictureLabel(row.picture, panel, QString::fromUtf8(row.hint)), r, 1);
            if (row.kind != 0) {
                grid->addWidget(numberedLineCombo(combos, row.kind, render::kSolidIndex), r, 2);
                grid->addWidget(numberedSpin(spins, row.width, 1, 5, 1, row.widthLength), r, 3);
            }
            grid->addWidget(numberedColorCombo(combos, row.color), r, 4);
            ++r;
        }
    }
    // Sets numbered spin edits' texts (Latin-1), in the order given: what a reset does.
    template <std::size_t S>
    static void setSpinTexts(SpinEdit* (&spins)[S],
                             std::initializer_list<std::pair<int, const char*>> texts)
    {
        for (const auto& [n, text] : texts) {
            spins[n]->setText(QString::fromLatin1(text));
        }
    }
    // The line setting a row of numbered controls shows: kind, width and colour.
    template <std::size_t C, std::size_t S>
    static figures::LineSetting lineSetting(QComboBox* const (&combos)[C],
                                            SpinEdit* const (&spins)[S], int kind, int width,
                                            int color)
    {
        return figures::LineSetting{combos[kind]->currentIndex(), spins[width]->value(),
                                    combos[color]->currentIndex()};
    }
    QCheckBox* check(const char* name, const QString& caption = {});

    // The values of such a record, in the table's order.
    template <std::size_t S, std::size_t C>
    static QStringList recordValues(std::span<const RecordField> table, SpinEdit* const (&spins)[S],
                                    QComboBox* const (&combos)[C])
    {
        QStringList values;
        for (const RecordField& f : table) {
            values.append(f.type == 'S' ? spinRecordText(*spins[f.number])
                                        : QString::number(combos[f.number]->currentIndex()));
        }
        return values;
    }
    // Sets the controls from such a record's values (spin edits as stored texts); throws on a
    // selector index that is not an integer, the controls before it keeping their new values.
    template <std::size_t S, std::size_t C>
    static void applyRecordValues(std::span<const RecordField> table, const QStringList& values,
                                  SpinEdit* const (&spins)[S], QComboBox* const (&combos)[C])
    {
        const qsizetype count = std::min<qsizetype>(values.size(), qsizetype(table.size()));
        for (qsizetype i = 0; i < count; ++i) {
            const RecordField& f = table[std::size_t(i)];
            if (f.type == 'S') {
                spins[f.number]->setStoredText(values[i]);
            } else {
                setRecordIndex(*combos[f.number], values[i]);
            }
        }
    }

    // A caption over a column of controls (UTF-8).
    static QLabel* caption(const char* text, QWidget* parent);
    // A framed panel of the page, below the panels made before it in the page's column.
    QFrame* panel();
    // The panel's grid: its reset triangle, named as its handler's button, in the top-left
    // corner, and column captions (column, UTF-8 caption) in the first row.
    QGridLayout* startPanel(QWidget* panel, ResetButton*& reset, const QString& resetName,
                            std::initializer_list<std::pair<int, const char*>> captions);

private:
    // A spin edit's text as a record holds it, and a selector set from a record's value.
    static QString spinRecordText(const SpinEdit& spin);
    static void setRecordIndex(QComboBox& combo, const QString& value);

    QVBoxLayout* m_column = nullptr; // the page's panels, top to bottom
    int m_kind;
    FigureHost& m_host;
    Redrawer& m_redrawer;
};

} // namespace koyomi::widgets
