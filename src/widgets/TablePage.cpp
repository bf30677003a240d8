#include "widgets/TablePage.h"

#include "figures/Figures.h"
#include "figures/Record.h"
#include "render/Palette.h"
#include "widgets/ComboBoxes.h"
#include "widgets/ResetButton.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QLineEdit>

namespace koyomi::widgets {

using figures::FieldKind;

TablePage::TablePage(int kind, const figures::FigureFields& table, FigureHost& host,
                     Redrawer& redrawer, QWidget* parent)
    : FigurePage(kind, host, redrawer, parent), figures::Fields(table),
      m_controls(table.fields.size(), nullptr), m_resets(table.resets.size(), nullptr)
{
}

QWidget* TablePage::place(int f)
{
    Q_ASSERT(!m_controls[std::size_t(f)]);
    const figures::Field& d = field(f);
    QWidget* made = nullptr;
    switch (d.kind) {
    case FieldKind::Spin: {
        auto* s = new SpinEdit(d.minimum, d.maximum, d.value, this);
        s->setMaxTypedLength(d.typedLength);
        connect(s, &SpinEdit::changed, this, [this, f] { fieldChanged(f); });
        made = s;
        break;
    }
    case FieldKind::Items: {
        auto* c = new FittedComboBox(this);
        c->addItems(figures::itemTexts(d));
        c->setCurrentIndex(d.value);
        made = c;
        break;
    }
    case FieldKind::LineKind:
        made = new LineKindComboBox(d.value, this);
        break;
    case FieldKind::Color:
        made = new ColorComboBox(render::defaultColorIndex(host().whiteBackground()), this);
        break;
    case FieldKind::Check: {
        auto* c = new QCheckBox(d.caption ? QString::fromUtf8(d.caption) : QString(), this);
        c->setChecked(d.value == 1);
        connect(c, &QCheckBox::toggled, this, [this, f] { fieldChanged(f); });
        made = c;
        break;
    }
    case FieldKind::Text: {
        auto* e = new QLineEdit(this);
        connect(e, &QLineEdit::textChanged, this, [this, f] { fieldChanged(f); });
        made = e;
        break;
    }
    case FieldKind::Labels:
        return nullptr; // the page's own control
    }
    made->setObjectName(QString::fromLatin1(d.name));
    if (auto* c = qobject_cast<QComboBox*>(made)) {
        connect(c, &QComboBox::activated, this, [this, f] { fieldChosen(f); });
    }
    if (d.tooltip) {
        made->setToolTip(QString::fromUtf8(d.tooltip));
    }
    m_controls[std::size_t(f)] = made;
    return made;
}

QGridLayout* TablePage::startPanel(QWidget* panel, int reset,
                                   std::initializer_list<std::pair<int, const char*>> captions)
{
    ResetButton*& button = m_resets[std::size_t(reset - 1)];
    QGridLayout* grid = FigurePage::startPanel(
        panel, button, QString::fromLatin1(table().resets[std::size_t(reset - 1)]), captions);
    connect(button, &ResetButton::clicked, this, [this, reset] { resetClick(reset); });
    return grid;
}

void TablePage::addLineRows(QGridLayout* grid, QWidget* panel, std::span<const FieldLineRow> rows,
                            int first)
{
    int r = first;
    for (const FieldLineRow& row : rows) {
        grid->addWidget(rowPictureLabel(row.picture, panel, QString::fromUtf8(row.hint)), r, 1);
        if (row.kind >= 0) {
            grid->addWidget(place(row.kind), r, 2);
            grid->addWidget(place(row.width), r, 3);
        }
        grid->addWidget(place(row.color), r, 4);
        ++r;
    }
}

void TablePage::fieldChanged(int f)
{
    Redrawer::Scope scope(redrawer());
    try {
        figures::runChange(*this, f);
    } catch (const figures::EConvertError& e) {
        // The fields it would have set and the drawing stay as they were.
        host().showError(QString::fromUtf8(e.what()));
        return;
    }
    if (figures::changeDraws(*this, f)) {
        scope.request(kind());
    }
}

void TablePage::fieldChosen(int f)
{
    Redrawer::Scope scope(redrawer());
    figures::runChoice(*this, f);
    if (figures::changeDraws(*this, f)) {
        scope.request(kind());
    }
}

void TablePage::resetClick(int panel)
{
    Redrawer::Scope scope(redrawer());
    figures::resetPanel(*this, panel, host().whiteBackground());
    scope.request(kind());
}

void TablePage::render(render::Canvas& canvas, const render::Frame& frame)
{
    figures::figureTable()[std::size_t(kind())].draw(canvas, *this, frame, &host().figureCaches());
}

void TablePage::applyRecordFields(const QStringList& values)
{
    Redrawer::Scope scope(redrawer());
    figures::applyRecordValues(*this, values);
    scope.request(kind());
}

std::vector<std::pair<int, render::ColorSelector*>> TablePage::colorSelectors() const
{
    std::vector<std::pair<int, render::ColorSelector*>> list;
    for (int f = 0; f < count(); ++f) {
        if (field(f).kind == FieldKind::Color) {
            list.emplace_back(field(f).colorOrder, static_cast<ColorComboBox*>(control(f)));
        }
    }
    return list;
}

QString TablePage::text(int f) const
{
    switch (field(f).kind) {
    case FieldKind::Spin:
        return static_cast<const SpinEdit*>(control(f))->text();
    case FieldKind::Text:
        return static_cast<const QLineEdit*>(control(f))->text();
    case FieldKind::Labels:
        return labelsText();
    default:
        return {};
    }
}

int TablePage::index(int f) const
{
    if (field(f).kind == FieldKind::Check) {
        return static_cast<const QCheckBox*>(control(f))->isChecked() ? 1 : 0;
    }
    return static_cast<const QComboBox*>(control(f))->currentIndex();
}

void TablePage::setText(int f, const QString& text)
{
    switch (field(f).kind) {
    case FieldKind::Spin:
        static_cast<SpinEdit*>(control(f))->setText(text);
        break;
    case FieldKind::Text:
        static_cast<QLineEdit*>(control(f))->setText(text);
        break;
    case FieldKind::Labels:
        setLabelsText(text);
        break;
    default:
        break;
    }
}

void TablePage::setIndex(int f, int index)
{
    if (field(f).kind == FieldKind::Check) {
        static_cast<QCheckBox*>(control(f))->setChecked(index == 1);
    } else {
        static_cast<QComboBox*>(control(f))->setCurrentIndex(index);
    }
}

} // namespace koyomi::widgets
