// "PDFとして保存": the teacher chooses the worksheet's paper, orientation, scale and margin,
// and sees the drawing's size in pixels (and a graph paper's cell in millimetres) as they
// change.
#pragma once

#include "figures/Worksheet.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;

namespace koyomi::tools {

class WorksheetDialog : public QDialog
{
    Q_OBJECT
public:
    // `cell`: the graph paper's cell in pixels (across, down), when the worksheet is one.
    WorksheetDialog(const figures::WorksheetLayout& start, std::optional<QSize> cell,
                    QWidget* parent = nullptr);

    figures::WorksheetLayout layout() const;
    // What the dialog says of the drawing, as shown.
    QString sizeText() const;
    QString cellText() const;

private:
    void refresh();

    QComboBox* m_paper;
    QComboBox* m_orientation;
    QDoubleSpinBox* m_scale;
    QDoubleSpinBox* m_margin;
    QCheckBox* m_captions;
    QLabel* m_size;
    QLabel* m_cell;
    std::optional<QSize> m_cellPixels;
};

} // namespace koyomi::tools
