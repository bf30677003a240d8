#include "tools/WorksheetDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace koyomi::tools {

namespace {

QDoubleSpinBox* millimetres(double minimum, double maximum, double step, int decimals, double value,
                            QWidget* parent)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(minimum, maximum);
    box->setSingleStep(step);
    box->setDecimals(decimals);
    box->setSuffix(QStringLiteral(" mm"));
    box->setValue(value);
    return box;
}

} // namespace

WorksheetDialog::WorksheetDialog(const figures::WorksheetLayout& start, std::optional<QSize> cell,
                                 QWidget* parent)
    : QDialog(parent), m_cellPixels(cell)
{
    setObjectName(QStringLiteral("WorksheetDialog"));
    setWindowTitle(QStringLiteral("PDFとして保存"));
    auto* form = new QFormLayout;
    m_paper = new QComboBox(this);
    m_paper->setObjectName(QStringLiteral("PaperBox"));
    for (const figures::Paper& paper : figures::papers()) {
        m_paper->addItem(QString::fromLatin1(paper.name));
    }
    m_paper->setCurrentText(QString::fromLatin1(start.paper->name));
    form->addRow(QStringLiteral("用紙"), m_paper);
    m_orientation = new QComboBox(this);
    m_orientation->setObjectName(QStringLiteral("OrientationBox"));
    m_orientation->addItems({QStringLiteral("縦"), QStringLiteral("横")});
    m_orientation->setCurrentIndex(start.landscape ? 1 : 0);
    form->addRow(QStringLiteral("向き"), m_orientation);
    m_scale = millimetres(figures::kMinMmPerPixel, figures::kMaxMmPerPixel, 0.05, 3,
                          start.mmPerPixel, this);
    m_scale->setObjectName(QStringLiteral("ScaleBox"));
    m_scale->setToolTip(QStringLiteral("図の 1 ピクセルを紙の上で何 mm にするか"));
    form->addRow(QStringLiteral("1 ピクセル"), m_scale);
    m_margin = millimetres(0, figures::kMaxMarginMm, 1, 1, start.marginMm, this);
    m_margin->setObjectName(QStringLiteral("MarginBox"));
    form->addRow(QStringLiteral("余白"), m_margin);
    m_captions = new QCheckBox(QStringLiteral("上の余白に名前を印刷する"), this);
    m_captions->setObjectName(QStringLiteral("CaptionsBox"));
    m_captions->setChecked(start.captions);
    form->addRow(QString(), m_captions);
    m_size = new QLabel(this);
    m_size->setObjectName(QStringLiteral("SizeLabel"));
    form->addRow(QStringLiteral("図の大きさ"), m_size);
    m_cell = new QLabel(this);
    m_cell->setObjectName(QStringLiteral("CellLabel"));
    if (m_cellPixels) {
        form->addRow(QStringLiteral("方眼のます"), m_cell);
    } else {
        m_cell->hide();
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);

    connect(m_paper, &QComboBox::currentIndexChanged, this, &WorksheetDialog::refresh);
    connect(m_orientation, &QComboBox::currentIndexChanged, this, &WorksheetDialog::refresh);
    connect(m_scale, &QDoubleSpinBox::valueChanged, this, &WorksheetDialog::refresh);
    connect(m_margin, &QDoubleSpinBox::valueChanged, this, &WorksheetDialog::refresh);
    refresh();
}

figures::WorksheetLayout WorksheetDialog::layout() const
{
    figures::WorksheetLayout l;
    l.paper = figures::paperNamed(m_paper->currentText());
    l.landscape = m_orientation->currentIndex() == 1;
    l.mmPerPixel = m_scale->value();
    l.marginMm = m_margin->value();
    l.captions = m_captions->isChecked();
    return l;
}

QString WorksheetDialog::sizeText() const
{
    return m_size->text();
}

QString WorksheetDialog::cellText() const
{
    return m_cell->text();
}

void WorksheetDialog::refresh()
{
    const figures::WorksheetLayout l = layout();
    const QString problem = figures::worksheetProblem(l);
    const QSize pixels = figures::worksheetPixels(l);
    m_size->setText(
        problem.isEmpty()
            ? QStringLiteral("%1 × %2 ピクセル").arg(pixels.width()).arg(pixels.height())
            : problem);
    if (m_cellPixels) {
        m_cell->setText(QStringLiteral("%1 × %2 mm")
                            .arg(m_cellPixels->width() * l.mmPerPixel, 0, 'f', 1)
                            .arg(m_cellPixels->height() * l.mmPerPixel, 0, 'f', 1));
    }
    if (auto* ok = findChild<QDialogButtonBox*>()) {
        ok->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
    }
}

} // namespace koyomi::tools
