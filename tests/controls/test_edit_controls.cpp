// The wide-text box, the up-down button and the aligned box, driven with key and mouse events.
#include "controls/ZVAlignEdit.h"
#include "controls/ZVUpDown.h"
#include "controls/ZVWideEdit.h"
#include "tests/controls/EditControlsSupport.h"

#include <QClipboard>
#include <QSignalSpy>

#include <gtest/gtest.h>
#include <vector>

using namespace zorvel;
using zorvel::test::ControlForm;

namespace {

// A wide box in an active window that counts its change reports.
class WideEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(form.active);
        edit()->OnChange = [this](QObject* sender) {
            EXPECT_EQ(sender, edit());
            ++changes;
        };
        form.enter();
        ASSERT_TRUE(edit()->hasFocus());
    }

    TZVWideEdit* edit() { return form.control; }

    ControlForm<TZVWideEdit> form;
    int changes = 0;
};

TEST_F(WideEditTest, CharacterTypedAfterTwoLeftsLandsBeforeTheLastTwo)
{
    QTest::keyClicks(edit(), "abc");
    QTest::keyClick(edit(), Qt::Key_Left);
    QTest::keyClick(edit(), Qt::Key_Left);
    QTest::keyClicks(edit(), "X");

    EXPECT_EQ(edit()->Text(), "aXbc");
    EXPECT_EQ(edit()->cursorPosition(), 2);
    EXPECT_EQ(changes, 4) << "one report per typed character, none for the caret moves";
}

TEST_F(WideEditTest, NavigationKeysAndControlChordsLeaveTextAndCaretAlone)
{
    const struct
    {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } cases[] = {
        {"Up", Qt::Key_Up, {}},
        {"Page Down", Qt::Key_PageDown, {}},
        {"Insert", Qt::Key_Insert, {}},
        {"Ctrl+A", Qt::Key_A, Qt::ControlModifier},
    };
    edit()->SetText("abcd");
    edit()->setCursorPosition(2);
    changes = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTest::keyClick(edit(), c.key, c.modifiers);
        EXPECT_EQ(edit()->Text(), "abcd");
        EXPECT_EQ(edit()->cursorPosition(), 2);
    }
    EXPECT_EQ(changes, 0);
}

TEST_F(WideEditTest, DeleteHomeAndEndEditAndMoveTheCaret)
{
    // Start: "abcd", caret at 2, or "b" and "c" selected (from 1 to 3).
    const struct
    {
        const char* name;
        bool selected;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
        int caret;
        const char* selection;
        int changes;
    } cases[] = {
        {"Delete after the caret", false, Qt::Key_Delete, {}, "abd", 2, "", 1},
        {"Delete the selection", true, Qt::Key_Delete, {}, "ad", 1, "", 1},
        {"Home", false, Qt::Key_Home, {}, "abcd", 0, "", 0},
        {"End", true, Qt::Key_End, {}, "abcd", 4, "", 0},
        {"Shift+Home", false, Qt::Key_Home, Qt::ShiftModifier, "abcd", 0, "ab", 0},
        {"Shift+End", false, Qt::Key_End, Qt::ShiftModifier, "abcd", 4, "cd", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        edit()->SetText("abcd");
        if (c.selected)
            edit()->setSelection(1, 2);
        else
            edit()->setCursorPosition(2);
        changes = 0;
        QTest::keyClick(edit(), c.key, c.modifiers);
        EXPECT_EQ(edit()->Text(), c.text);
        EXPECT_EQ(edit()->cursorPosition(), c.caret);
        EXPECT_EQ(edit()->selectedText(), c.selection);
        EXPECT_EQ(changes, c.changes);
    }
    edit()->setCursorPosition(4);
    QTest::keyClick(edit(), Qt::Key_Delete);
    EXPECT_EQ(edit()->Text(), "abcd") << "nothing after the caret";
}

TEST_F(WideEditTest, ArrowsDropTheSelectionAndTypingReplacesIt)
{
    edit()->SetText(QString::fromUtf8("Grüße"));
    edit()->selectAll();
    QTest::keyClick(edit(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_FALSE(edit()->hasSelectedText());
    EXPECT_EQ(edit()->cursorPosition(), 4);

    edit()->setSelection(1, 3);
    zorvel::test::typeText(edit(), QString::fromUtf8("✓"));
    EXPECT_EQ(edit()->Text(), QString::fromUtf8("G✓e"));
    edit()->setSelection(0, 2);
    QTest::keyClick(edit(), Qt::Key_Backspace);
    EXPECT_EQ(edit()->Text(), "e");
    QTest::keyClick(edit(), Qt::Key_Backspace);
    EXPECT_EQ(edit()->Text(), "e") << "nothing before the caret";
    QTest::keyClick(edit(), Qt::Key_Right);
    QTest::keyClick(edit(), Qt::Key_Backspace);
    EXPECT_EQ(edit()->Text(), "");
    EXPECT_EQ(changes, 1 + 3) << "SetText, the typed glyph and two deletions";
}

TEST_F(WideEditTest, SetTextReportsEvenTheSameTextAndFocusSelectsAll)
{
    QSignalSpy spy(edit(), &TZVWideEdit::Changed);
    edit()->SetText(QString::fromUtf8("Ωmega"));
    edit()->SetText(QString::fromUtf8("Ωmega"));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(edit()->cursorPosition(), 5);

    edit()->setCursorPosition(1);
    form.leave();
    edit()->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(edit()->selectedText(), QString::fromUtf8("Ωmega"));
}

TEST_F(WideEditTest, ClipboardCarriesUnicodeText)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText("untouched");
    edit()->SetText(QString::fromUtf8("Ελληνικά 漢字"));
    changes = 0;
    QTest::keyClick(edit(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(edit(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), "untouched") << "copy and cut without a selection do nothing";

    edit()->setSelection(0, 9);
    QTest::keyClick(edit(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QString::fromUtf8("Ελληνικά "));
    edit()->setSelection(1, 1);
    QTest::keyClick(edit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit()->Text(), QString::fromUtf8("漢Ελληνικά ")) << "paste replaces the selection";

    clipboard->clear();
    QTest::keyClick(edit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(changes, 2) << "the cut and the first paste";
}

TEST_F(WideEditTest, DoubleClickSelectsAllAndDraggingAfterItKeepsThat)
{
    edit()->SetText("one two three");
    const QPoint inFirstWord(10, edit()->height() / 2);
    QTest::mouseClick(edit(), Qt::LeftButton, {}, inFirstWord);
    EXPECT_FALSE(edit()->hasSelectedText());

    QTest::mouseDClick(edit(), Qt::LeftButton, {}, inFirstWord);
    EXPECT_EQ(edit()->selectedText(), "one two three");
    QTest::mouseMove(edit(), inFirstWord + QPoint(3, 0));
    QTest::mouseRelease(edit(), Qt::LeftButton, {}, inFirstWord + QPoint(3, 0));
    EXPECT_EQ(edit()->selectedText(), "one two three");

    // Only the double click's own press is swallowed: the next click places the caret.
    QTest::mouseClick(edit(), Qt::LeftButton, {}, inFirstWord);
    EXPECT_FALSE(edit()->hasSelectedText());
}

TEST_F(WideEditTest, KeyDownHandlerSeesKeysFirstAndTabIsOtherwiseLeftToTheWindow)
{
    std::vector<int> seen;
    edit()->OnKeyDown = [&](QObject*, int& key, Qt::KeyboardModifiers) {
        seen.push_back(key);
        if (key == Qt::Key_Q)
            key = 0;
    };
    QTest::keyClicks(edit(), "pq");
    QTest::keyClick(edit(), Qt::Key_Return);
    EXPECT_EQ(edit()->Text(), "p");
    EXPECT_TRUE(edit()->hasFocus());
    QTest::keyClick(edit(), Qt::Key_Tab);
    EXPECT_TRUE(form.other->hasFocus());
    EXPECT_EQ(seen, (std::vector<int>{Qt::Key_P, Qt::Key_Q, Qt::Key_Return, Qt::Key_Tab}));
}

TEST(WideEdit, CreatedAtItsDefaultSizeAndKeepsItsTextHeight)
{
    zorvel::test::ensureApplication<QApplication>();
    TZVWideEdit edit;
    EXPECT_EQ(edit.size(), QSize(120, 21));
    QFont big = edit.font();
    big.setPixelSize(40);
    edit.setFont(big);
    EXPECT_GE(edit.height(), edit.fontMetrics().height());
}

// ---------------------------------------------------------------------------------------------

class UpDownTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(form.active);
        form.control->resize(form.control->FixedWidth(), 20);
        form.control->OnClick = [this](QObject* sender, TZvUpDown::TUDBtnType button) {
            EXPECT_EQ(sender, form.control);
            clicks.push_back(button);
            positionsSeen.push_back(form.control->Position());
        };
    }

    QPoint upper() const { return {form.control->width() / 2, 2}; }
    QPoint lower() const { return {form.control->width() / 2, form.control->height() - 3}; }

    ControlForm<TZvUpDown> form;
    std::vector<TZvUpDown::TUDBtnType> clicks;
    std::vector<int> positionsSeen;
};

TEST_F(UpDownTest, EveryPressReportsOneStepAndThePositionSpringsBack)
{
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(form.control, Qt::LeftButton, {}, upper());
    EXPECT_EQ(clicks, std::vector<TZvUpDown::TUDBtnType>(3, TZvUpDown::btUp));
    EXPECT_EQ(form.control->Position(), 0);

    QTest::mouseClick(form.control, Qt::LeftButton, {}, lower());
    EXPECT_EQ(clicks.back(), TZvUpDown::btDown);
    EXPECT_EQ(form.control->Position(), 0);
    EXPECT_EQ(positionsSeen, (std::vector<int>{1, 1, 1, -1})) << "the handler sees the step it reports";

    const int width = form.control->FixedWidth();
    EXPECT_LE(width, 15);
    form.control->resize(60, 30);
    EXPECT_EQ(form.control->width(), width);
}

TEST_F(UpDownTest, NestedNotificationsAreIgnored)
{
    form.control->OnClick = [this](QObject*, TZvUpDown::TUDBtnType button) {
        clicks.push_back(button);
        form.control->ThumbPosition(-1);
    };
    form.control->ThumbPosition(1);
    EXPECT_EQ(clicks, std::vector<TZvUpDown::TUDBtnType>{TZvUpDown::btUp});
    form.control->ThumbPosition(-1);
    EXPECT_EQ(clicks.size(), 2u) << "the guard is released after the first notification";
}

// ---------------------------------------------------------------------------------------------

TEST(AlignEdit, AlignmentMapsToTheTextAlignmentAndIsCopiedByAssign)
{
    zorvel::test::ensureApplication<QApplication>();
    const std::pair<TZvAlignEdit::TAlignment, Qt::Alignment> cases[] = {
        {TZvAlignEdit::taLeftJustify, Qt::AlignLeft},
        {TZvAlignEdit::taRightJustify, Qt::AlignRight},
        {TZvAlignEdit::taCenter, Qt::AlignHCenter},
    };
    TZvAlignEdit target;
    EXPECT_EQ(target.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter) << "centred by default";
    for (const auto& [alignment, expected] : cases) {
        TZvAlignEdit source;
        source.SetAlignment(alignment);
        EXPECT_TRUE(target.Assign(&source));
        EXPECT_EQ(target.alignment() & Qt::AlignHorizontal_Mask, expected);
    }
    QLineEdit plain;
    EXPECT_FALSE(target.Assign(&plain));
}

} // namespace
