// An integer field with up and down buttons that lets the teacher type freely: the text may
// be out of range (or empty) while typing and is clamped when the field loses the focus.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace koyomi::widgets {
class TypedTextValidator;
}

namespace koyomi::widgets {

class SpinEdit : public QWidget
{
    Q_OBJECT
public:
    SpinEdit(int minimum, int maximum, int value, QWidget* parent = nullptr);

    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    // The integer of the text; a text that is not an integer reads as the minimum.
    int value() const;
    QString text() const;
    // Runs the change handling, as typing does.
    void setText(const QString& text);
    void setValue(int value) { setText(QString::number(value)); }
    // At most this many characters can be typed (0: no limit). The limit holds for typing
    // only: the buttons, the arrow keys, a preset or a reset may set any value in range, and
    // the field shows it whole.
    void setMaxTypedLength(int length);
    int maxTypedLength() const { return m_maxTyped; }
    QLineEdit* lineEdit() const { return m_edit; }

    // Brings the text into the range: what leaving the field does.
    void clampText();
    // Sets a text read from a stored preset. An integer outside the range is held to it, as
    // leaving the field would have done when the preset was saved: a hand-edited or damaged
    // preset must not reach the drawing with values no field can hold (a width of a million
    // pixels over thousands of blocks never finishes drawing). An integer is set as its plain
    // digits ("05" as "5"); any other text is set as it is, and reads as the minimum.
    void setStoredText(const QString& text);
    // One step up or down within the range (buttons and arrow keys).
    void stepBy(int steps);

signals:
    // The text changed, by typing or from code.
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The field is as wide as its widest value (the maximum, or a negative minimum) in its
    // font: never cut, and no wider, so that the selectors beside it get their room.
    void fitToRange();

    QLineEdit* m_edit;
    QToolButton* m_up;
    QToolButton* m_down;
    TypedTextValidator* m_validator;
    int m_min;
    int m_max;
    int m_maxTyped = 0;
};

} // namespace koyomi::widgets
