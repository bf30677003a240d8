#include "widgets/SpinEdit.h"

#include "figures/Fields.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>

namespace koyomi::widgets {

// Lets a sign and digits be typed, and no more characters than the field's typing limit. An
// edit that leaves the text no longer than it was is always let through, so that a longer
// value set from code can still be shortened by typing. (QLineEdit's own maximum length
// would also cut text set from code: a field of one typed character could not show "20".)
class TypedTextValidator : public QValidator
{
public:
    explicit TypedTextValidator(QObject* parent) : QValidator(parent) {}

    State validate(QString& input, int&) const override
    {
        static const QRegularExpression allowed(
            QRegularExpression::anchoredPattern(QStringLiteral("[-+]?[0-9]*")));
        if (!allowed.match(input).hasMatch()) {
            return Invalid;
        }
        const bool longer = input.size() > m_shown;
        return m_limit > 0 && longer && input.size() > m_limit ? Invalid : Acceptable;
    }

    void setLimit(int limit) { m_limit = limit; }
    // The length of the text the field shows, before the edit being checked.
    void setShownLength(qsizetype length) { m_shown = length; }

private:
    int m_limit = 0;
    qsizetype m_shown = 0;
};

namespace {

QToolButton* arrowButton(Qt::ArrowType arrow, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setArrowType(arrow);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(12, 10);
    return b;
}

} // namespace

SpinEdit::SpinEdit(int minimum, int maximum, int value, QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_up(arrowButton(Qt::UpArrow, this)),
      m_down(arrowButton(Qt::DownArrow, this)), m_validator(new TypedTextValidator(this)),
      m_min(minimum), m_max(maximum)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(0);
    buttons->addWidget(m_up);
    buttons->addWidget(m_down);
    layout->addLayout(buttons);
    setFocusProxy(m_edit);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    // Only a sign and digits can be typed; anything may still be set from code.
    m_edit->setValidator(m_validator);
    m_edit->setText(QString::number(value));
    m_validator->setShownLength(m_edit->text().size());
    m_edit->installEventFilter(this);
    connect(m_edit, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_validator->setShownLength(text.size());
        emit changed();
    });
    connect(m_up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { stepBy(-1); });
    fitToRange();
}

void SpinEdit::fitToRange()
{
    const QFontMetrics metrics(m_edit->font());
    const int text = std::max(metrics.horizontalAdvance(QString::number(m_max)),
                              metrics.horizontalAdvance(QString::number(m_min)));
    // The frame either side, the line edit's own two-pixel margins and the cursor.
    const int frame = m_edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_edit);
    const QMargins margins = m_edit->textMargins();
    m_edit->setFixedWidth(text + 2 * frame + 4 + 1 + margins.left() + margins.right());
}

void SpinEdit::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitToRange();
    }
}

int SpinEdit::value() const
{
    int v = m_min;
    return figures::parseSpinText(m_edit->text(), &v) ? v : m_min;
}

QString SpinEdit::text() const
{
    return m_edit->text();
}

void SpinEdit::setText(const QString& text)
{
    m_edit->setText(text);
}

void SpinEdit::setMaxTypedLength(int length)
{
    m_maxTyped = std::max(length, 0);
    m_validator->setLimit(m_maxTyped);
}

void SpinEdit::clampText()
{
    const int clamped = std::clamp(value(), m_min, m_max);
    int typed = 0;
    if (!figures::parseSpinText(m_edit->text(), &typed) || typed != clamped) {
        setValue(clamped);
    }
}

void SpinEdit::setStoredText(const QString& text)
{
    setText(figures::storedSpinText(text, m_min, m_max, m_maxTyped));
    // The change handling may put in a text of its own (an emptied field takes "1"): it is
    // held to the range as well.
    if (const std::optional<QString> held = figures::heldToRange(m_edit->text(), m_min, m_max)) {
        setText(*held);
    }
}

void SpinEdit::stepBy(int steps)
{
    const long long next = static_cast<long long>(value()) + steps;
    setValue(static_cast<int>(std::clamp<long long>(next, m_min, m_max)));
}

bool SpinEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit) {
        if (event->type() == QEvent::FocusOut) {
            clampText();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                stepBy(key == Qt::Key_Up ? 1 : -1);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace koyomi::widgets
