#include "widgets/ComboBoxes.h"
#include "widgets/Redrawer.h"
#include "widgets/SpinEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <utility>

#include <stdexcept>

using namespace koyomi::widgets;

namespace {

void leaveField(SpinEdit& e)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(e.lineEdit(), &out);
}

} // namespace

TEST(SpinEditTyping, OutOfRangeTextStaysUntilTheFieldIsLeftThenClamps)
{
    SpinEdit e(1, 1000, 50);
    QSignalSpy changes(&e, &SpinEdit::changed);
    e.lineEdit()->clear();
    QTest::keyClicks(e.lineEdit(), "1200");
    EXPECT_EQ(e.text(), "1200");
    EXPECT_EQ(e.value(), 1200);
    leaveField(e);
    EXPECT_EQ(e.text(), "1000");
    EXPECT_EQ(changes.count(), 1 + 4 + 1); // clear, four keys, the clamp

    e.setText("-5");
    leaveField(e);
    EXPECT_EQ(e.text(), "1");
    // Leaving a field whose text is in range changes nothing.
    changes.clear();
    leaveField(e);
    EXPECT_EQ(changes.count(), 0);
}

TEST(SpinEditTyping, TextsThatAreNotIntegersReadAsTheMinimum)
{
    SpinEdit e(-10000, 10000, 1);
    e.setText("abc");
    EXPECT_EQ(e.value(), -10000);
    e.setText("");
    EXPECT_EQ(e.value(), -10000);
    e.setText("-");
    EXPECT_EQ(e.value(), -10000);
    e.setText(" 42 ");
    EXPECT_EQ(e.value(), 42);
    // Letters cannot be typed, only a sign and digits.
    e.lineEdit()->clear();
    QTest::keyClicks(e.lineEdit(), "x-1y2");
    EXPECT_EQ(e.text(), "-12");
}

// Leaving a field whose text is not an integer puts the minimum in, whatever the text.
TEST(SpinEditTyping, LeavingAFieldThatHoldsNoIntegerShowsTheMinimum)
{
    for (const auto& [minimum, maximum] : {std::pair{1, 1000}, std::pair{-10000, 10000}}) {
        SpinEdit e(minimum, maximum, 5);
        for (const char* text : {"abc", "-", "", " ", "1.5", "12abc", "+-3"}) {
            e.setText(text);
            leaveField(e);
            EXPECT_EQ(e.text(), QString::number(minimum))
                << "'" << text << "' in " << minimum << ".." << maximum;
        }
        // A lone minus sign typed while starting a negative number.
        e.lineEdit()->clear();
        QTest::keyClicks(e.lineEdit(), "-");
        leaveField(e);
        EXPECT_EQ(e.text(), QString::number(minimum));
    }
}

TEST(SpinEditTyping, StepsStayInRangeAndTypedLengthIsLimited)
{
    SpinEdit e(0, 500, 499);
    e.stepBy(1);
    e.stepBy(1);
    EXPECT_EQ(e.text(), "500");
    QTest::keyClick(e.lineEdit(), Qt::Key_Down);
    EXPECT_EQ(e.text(), "499");
    e.setText("2147483647");
    e.stepBy(1);
    EXPECT_EQ(e.text(), "500");

    SpinEdit three(1, 500, 1);
    three.setMaxTypedLength(3);
    three.lineEdit()->clear();
    QTest::keyClicks(three.lineEdit(), "12345");
    EXPECT_EQ(three.text(), "123");
}

TEST(Selectors, SettingFromCodeRunsNoHandlerAndColourResetsSelect)
{
    ColorComboBox color(0);
    LineKindComboBox kind(5);
    EXPECT_EQ(color.count(), 12);
    EXPECT_EQ(color.itemText(7), "赤");
    EXPECT_EQ(kind.count(), 6);
    EXPECT_EQ(kind.currentText(), "なし");
    QSignalSpy activated(&color, &QComboBox::activated);
    color.setColorIndex(1);
    EXPECT_EQ(color.currentIndex(), 1);
    EXPECT_EQ(activated.count(), 0);
}

TEST(Redrawer, NestedHandlersDrawEachFigureOnceWhenTheOutermostCloses)
{
    std::vector<int> drawn;
    Redrawer r([&](int kind) { drawn.push_back(kind); });
    {
        Redrawer::Scope outer(r);
        {
            Redrawer::Scope inner(r);
            inner.request(0);
            Redrawer::Scope deeper(r);
            deeper.request(0);
        }
        EXPECT_TRUE(drawn.empty());
        outer.request(3);
        outer.request(0);
    }
    EXPECT_EQ(drawn, (std::vector<int>{0, 3}));
    EXPECT_EQ(r.drawCount(), 2);

    // A handler that fails draws nothing, and the next action starts afresh.
    EXPECT_THROW(
        {
            Redrawer::Scope s(r);
            s.request(1);
            throw std::runtime_error("bad");
        },
        std::runtime_error);
    EXPECT_EQ(drawn.size(), 2u);
    {
        Redrawer::Scope s(r);
        s.request(2);
    }
    EXPECT_EQ(drawn.back(), 2);
}
