// The float spin box: key filter and overwrite rules, clamping, formatting, reading, stepping, Enter.
#include "controls/ZVSpinEditFloat.h"
#include "tests/controls/EditControlsSupport.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>

#include <gtest/gtest.h>

using namespace zorvel;
using zorvel::test::ControlForm;
using zorvel::test::germany;
using zorvel::test::unitedStates;

namespace {

class SpinEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(form->active);
        spin()->OnBeep = [this] { ++beeps; };
    }

    TZvSpinEditFloat* spin() { return form->control; }
    void type(const QString& keys) { QTest::keyClicks(spin(), keys); }

    std::unique_ptr<ControlForm<TZvSpinEditFloat>> form = std::make_unique<ControlForm<TZvSpinEditFloat>>();
    int beeps = 0;
};

TEST_F(SpinEditTest, TypingThenLeavingClampsAndFormats)
{
    const struct
    {
        const char* name;
        int digits;
        double min, max;
        const char* keys;
        const char* whileTyping;
        const char* afterLeaving;
    } cases[] = {
        {"negative, both limits 0", 2, 0, 0, "-5", "-5", "0.00"},
        {"above the maximum", 2, 1, 4, "7", "7.00", "4.00"},
        {"below the minimum", 2, 1, 4, "0", "0.00", "1.00"},
        {"equal limits: no maximum", 2, 0, 0, "12345", "12345.00", "12,345.00"},
        {"decimals overwrite", 2, 0, 0, "3.25", "3.25", "3.25"},
        {"second separator jumps", 2, 0, 0, "1..5", "1.50", "1.50"},
        {"separator typed as a point", 3, -10, 10, "-2.5", "-2.5", "-2.500"},
        {"integer above the maximum", 0, 0, 10, "42", "42", "10"},
        {"negative integer", 0, -5, 5, "-3", "-3", "-3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        spin()->SetDigits(c.digits);
        spin()->SetMinValue(c.min);
        spin()->SetMaxValue(c.max);
        form->enter();
        ASSERT_EQ(spin()->selectedText(), spin()->text());
        type(c.keys);
        EXPECT_EQ(spin()->text(), c.whileTyping);
        form->leave();
        EXPECT_EQ(spin()->text(), c.afterLeaving);
    }
    EXPECT_EQ(beeps, 0);
}

TEST_F(SpinEditTest, DigitBeyondTheDecimalsBeeps)
{
    spin()->setText("12.34");
    spin()->setCursorPosition(5);
    type("5");
    EXPECT_EQ(spin()->text(), "12.34");
    EXPECT_EQ(beeps, 1);

    spin()->setCursorPosition(3);
    type("9");
    EXPECT_EQ(spin()->text(), "12.94") << "behind the separator digits overwrite";
    spin()->setCursorPosition(1);
    type("7");
    EXPECT_EQ(spin()->text(), "172.94") << "before the separator digits insert";
    spin()->setCursorPosition(0);
    type("0");
    EXPECT_EQ(spin()->text(), "0172.94");
    spin()->setCursorPosition(1);
    type("8");
    EXPECT_EQ(spin()->text(), "8172.94") << "a leading zero is replaced";
    spin()->setSelection(0, 2);
    type("5");
    EXPECT_EQ(spin()->text(), "81572.94") << "a partial selection is kept, typing goes behind it";
    EXPECT_EQ(beeps, 1);
}

TEST_F(SpinEditTest, KeyFilterRefusesAndBeeps)
{
    const struct
    {
        const char* name;
        int digits;
        bool editorEnabled;
        const char* keys;
        int beeps;
    } cases[] = {
        {"letters, thousands separator, space, currency", 2, true, "a, $", 4},
        {"separator in integer mode", 0, true, ".", 1},
        {"digits and minus while the editor is off", 2, false, "5-", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        spin()->SetDigits(c.digits);
        spin()->SetEditorEnabled(c.editorEnabled);
        spin()->setText("7");
        spin()->setCursorPosition(1);
        beeps = 0;
        type(c.keys);
        EXPECT_EQ(spin()->text(), "7");
        EXPECT_EQ(beeps, c.beeps);
    }
}

TEST_F(SpinEditTest, EditorOffLeavesOnlyTheButtons)
{
    spin()->SetEditorEnabled(false);
    spin()->setText("5.00");
    spin()->setCursorPosition(2);
    for (const Qt::Key key : {Qt::Key_Backspace, Qt::Key_Delete})
        QTest::keyClick(spin(), key);
    EXPECT_EQ(beeps, 2);
    spin()->selectAll();
    QTest::keyClick(spin(), Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(spin(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(spin()->text(), "5.00");

    QTest::keyClick(spin(), Qt::Key_Up);
    EXPECT_EQ(spin()->text(), "5.50");
}

TEST_F(SpinEditTest, DeleteAndBackspaceStepOverTheSeparator)
{
    spin()->setText("12.34");
    spin()->setCursorPosition(2);
    QTest::keyClick(spin(), Qt::Key_Delete);
    EXPECT_EQ(spin()->text(), "12.34");
    EXPECT_EQ(spin()->cursorPosition(), 3);

    QTest::keyClick(spin(), Qt::Key_Backspace);
    EXPECT_EQ(spin()->text(), "12.34");
    EXPECT_EQ(spin()->cursorPosition(), 2);

    QTest::keyClick(spin(), Qt::Key_Backspace);
    EXPECT_EQ(spin()->text(), "1.34");
    QTest::keyClick(spin(), Qt::Key_Right);
    QTest::keyClick(spin(), Qt::Key_Delete);
    EXPECT_EQ(spin()->text(), "1.4");
}

TEST_F(SpinEditTest, DigitsAreClampedAndIntegerModeStepsByWholeNumbers)
{
    EXPECT_EQ(spin()->text(), "0.00");
    spin()->SetValue(2.5);
    spin()->SetDigits(0);
    EXPECT_DOUBLE_EQ(spin()->Increment(), 1.0);
    EXPECT_EQ(spin()->text(), "3") << "the value survives the switch, rounded";
    spin()->SetDigits(20);
    EXPECT_EQ(spin()->Digits(), 12);
    EXPECT_EQ(spin()->text(), "3.000000000000");
    spin()->SetDigits(-1);
    EXPECT_EQ(spin()->Digits(), 0);

    spin()->SetIncrement(2.5);
    spin()->SetDigits(0);
    EXPECT_DOUBLE_EQ(spin()->Increment(), 2.5) << "a whole-sized increment stays";
    spin()->SetAsInteger(10);
    spin()->UpClick();
    EXPECT_EQ(spin()->AsInteger(), 13) << "the increment rounds half away from zero";
}

TEST_F(SpinEditTest, ModesDoNotMix)
{
    spin()->SetAsInteger(5);
    EXPECT_EQ(spin()->text(), "0");
    EXPECT_EQ(spin()->AsInteger(), 0);
    spin()->SetDigits(0);
    spin()->SetValue(5);
    EXPECT_EQ(spin()->text(), "0");
    spin()->setText("1x");
    EXPECT_EQ(spin()->AsInteger(), 0);
}

TEST_F(SpinEditTest, ReadsAmountsWrittenTheWayPeopleWriteThem)
{
    const struct
    {
        const char* name;
        QLocale locale;
        const char* text;
        double expected;
    } cases[] = {
        {"parentheses and thousands", unitedStates(), "(1,234.50)", -1234.5},
        {"currency symbol", unitedStates(), "$1,234.50", 1234.5},
        {"currency in parentheses", unitedStates(), "($5.00)", -5},
        {"spaces", unitedStates(), " 1 234.5 ", 1234.5},
        {"German separators", germany(), "1.234,5", 1234.5},
        {"German currency", germany(), "-2,5 €", -2.5},
        {"no number", unitedStates(), "-", -3},
        {"infinity is no number", unitedStates(), "inf", -3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        spin()->SetLocale(c.locale);
        spin()->SetMinValue(-3);
        spin()->setText(QString::fromUtf8(c.text));
        EXPECT_DOUBLE_EQ(spin()->Value(), c.expected);
    }
}

TEST_F(SpinEditTest, FormatsWithThousandsDecimalsAndPrecision)
{
    const struct
    {
        const char* name;
        QLocale locale;
        int digits;
        int precision;
        double value;
        const char* expected;
    } cases[] = {
        {"thousands", unitedStates(), 2, 9, 1234567.891, "1,234,567.89"},
        {"rounds half up", unitedStates(), 2, 9, 0.125, "0.13"},
        {"no sign on a zero", unitedStates(), 2, 9, -0.001, "0.00"},
        {"negative", unitedStates(), 1, 9, -9876.54, "-9,876.5"},
        {"precision limits the decimals", unitedStates(), 4, 4, 12.34567, "12.3500"},
        {"more whole digits than precision", unitedStates(), 2, 3, 12345, "1.23E4"},
        {"German", germany(), 2, 9, 1234.5, "1.234,50"},
    };
    spin()->SetMinValue(-1e12);
    spin()->SetMaxValue(1e12);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        spin()->SetLocale(c.locale);
        spin()->SetDigits(c.digits);
        spin()->SetPrecision(c.precision);
        spin()->SetValue(c.value);
        EXPECT_EQ(spin()->text(), QString::fromUtf8(c.expected));
    }
}

TEST_F(SpinEditTest, LocaleChangeKeepsTheValue)
{
    spin()->SetLocale(unitedStates());
    spin()->SetValue(1234.5);
    EXPECT_EQ(spin()->text(), "1,234.50");
    spin()->SetLocale(germany());
    EXPECT_EQ(spin()->text(), "1.234,50");
    EXPECT_DOUBLE_EQ(spin()->Value(), 1234.5);

    form->enter();
    type(".");
    EXPECT_EQ(spin()->cursorPosition(), 6) << "a typed point stands for the German comma";
}

TEST_F(SpinEditTest, StepsByTheIncrementWithinTheLimits)
{
    QSignalSpy changed(spin(), &TZvSpinEditFloat::Changed);
    int reports = 0;
    spin()->OnChange = [&](QObject*) { ++reports; };
    spin()->SetMaxValue(1);
    spin()->UpClick();
    spin()->UpClick();
    EXPECT_EQ(spin()->text(), "1.00");
    spin()->UpClick();
    EXPECT_EQ(spin()->text(), "1.00") << "held at the maximum";
    QTest::keyClick(spin(), Qt::Key_Down);
    EXPECT_EQ(spin()->text(), "0.50");
    EXPECT_EQ(reports, 3);
    EXPECT_EQ(changed.count(), 3);

    spin()->setReadOnly(true);
    spin()->UpClick();
    EXPECT_EQ(spin()->text(), "0.50");
    EXPECT_EQ(beeps, 1);
}

TEST_F(SpinEditTest, TheButtonTakesTheFocusThenSteps)
{
    form->leave();
    TZvUpDown* button = spin()->Button();
    const int frame = spin()->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, spin());
    EXPECT_EQ(button->geometry(), QRect(spin()->width() - frame - button->width(), frame, button->width(),
                                        spin()->height() - 2 * frame))
        << "inside the frame at the right edge";
    spin()->resize(80, 4);
    EXPECT_GE(spin()->height(), spin()->fontMetrics().height() + 8) << "the box keeps its minimum height";

    QTest::mouseClick(button, Qt::LeftButton, {}, {button->width() / 2, 2});
    EXPECT_TRUE(spin()->hasFocus());
    EXPECT_EQ(spin()->text(), "0.50");
    QTest::mouseClick(button, Qt::LeftButton, {}, {button->width() / 2, button->height() - 2});
    EXPECT_EQ(spin()->text(), "0.00");
}

TEST_F(SpinEditTest, EnterClicksTheFirstDefaultButtonWithTheValueCommitted)
{
    auto* plain = new QPushButton("plain", form->window.get());
    auto* hidden = new QPushButton("hidden", form->window.get());
    auto* ok = new QPushButton("ok", form->window.get());
    hidden->setDefault(true);
    hidden->hide();
    ok->setDefault(true);
    plain->show();
    ok->show();
    QString textAtClick;
    QObject::connect(ok, &QPushButton::clicked, [&] { textAtClick = spin()->text(); });
    QSignalSpy plainClicks(plain, &QPushButton::clicked);

    form->enter();
    type("-5");
    QTest::keyClick(spin(), Qt::Key_Return);
    EXPECT_EQ(textAtClick, "0.00");
    EXPECT_EQ(plainClicks.count(), 0);
    EXPECT_TRUE(spin()->hasFocus());
    EXPECT_EQ(spin()->selectedText(), "0.00");
    EXPECT_EQ(beeps, 0);

    ok->setDefault(false);
    QTest::keyClick(spin(), Qt::Key_Enter);
    EXPECT_EQ(beeps, 1) << "no default button";
}

TEST_F(SpinEditTest, EnteringSelectsAllOnlyWithAutoSelectAndNotByMouse)
{
    spin()->SetValue(3);
    form->enter();
    EXPECT_EQ(spin()->selectedText(), "3.00");

    form->leave();
    spin()->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(spin()->hasSelectedText());

    form->leave();
    spin()->SetAutoSelect(false);
    form->enter();
    EXPECT_FALSE(spin()->hasSelectedText());
}

} // namespace
