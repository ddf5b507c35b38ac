// Inspector edits as steps of the label's undo history: what one step is, and what undo restores.
#include "InspectorTestSupport.h"

#include "controls/ZVWideEdit.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVStream.h"
#include "tests/support/ColorPickerStub.h"

#include <QLineEdit>
#include <QUndoStack>

#include <functional>

namespace zorvel::test {
namespace {

class InspectorUndo : public InspectorFixture
{
protected:
    void SetUp() override
    {
        InspectorFixture::SetUp();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    // Two texts, both selected, a saved design and an empty history.
    void start()
    {
        add(ekText);
        add(ekText);
        select({label->Elements().at(0), label->Elements().at(1)});
        editor->grab(); // a text measures its size when first painted
        label->UndoStack().clear();
        label->SetModified(false);
        startBytes = bytes();
    }

    QByteArray bytes()
    {
        TZVMemoryStream stream;
        label->SaveSnapshot(stream);
        return stream.Bytes();
    }
    QUndoStack& history() { return label->UndoStack(); }
    // Undo brings new element objects: always read them from the label.
    QVariant value(int element, const char* name) { return label->Elements().at(element)->property(name); }

    void type(const char* rowName, const char* text)
    {
        if (inspector->ItemIndex() != row(rowName)) inspector->SelectRow(row(rowName));
        QWidget* box = inspector->InplaceEditor();
        ASSERT_NE(box, nullptr) << rowName;
        QTest::keyClicks(box, text);
    }

    void press(const char* rowName, Qt::Key key)
    {
        reveal(row(rowName));
        QTest::keyClick(inspector, key);
    }

    QByteArray startBytes;
};

TEST_F(InspectorUndo, TypingIntoOneRowIsOneStepUntilAnotherRowIsChosen)
{
    start();
    type("Text", "ab");
    type("Text", "c");
    ASSERT_EQ(history().count(), 1) << "one box, one step";
    const QString firstText = value(0, "Text").toString();
    EXPECT_EQ(firstText, QStringLiteral("abc")) << "the box selected its text when it took the focus";
    const QString id0 = value(0, "ID").toString();
    type("ID", "7");
    const QString id = value(1, "ID").toString();
    EXPECT_EQ(value(0, "ID").toString(), id);
    type("Text", "d");
    ASSERT_EQ(history().count(), 3) << "another row, then a new box on the first row";
    EXPECT_EQ(history().undoText(), QStringLiteral("Edit Text"));
    EXPECT_TRUE(label->Modified());

    history().undo();
    EXPECT_EQ(value(1, "Text").toString(), firstText);
    history().undo();
    EXPECT_EQ(value(0, "ID").toString(), id0);
    EXPECT_EQ(value(1, "Text").toString(), firstText);
    history().undo();
    EXPECT_EQ(bytes(), startBytes);
    EXPECT_FALSE(label->Modified()) << "back at the saved state";
    EXPECT_EQ(editor->SelCount(), 2) << "the selection comes back with the design";

    for (int i = 0; i < 3; ++i)
        history().redo();
    EXPECT_EQ(value(0, "ID").toString(), id);
    EXPECT_EQ(value(1, "Text").toString(), QStringLiteral("d")) << "the new box selected all again";
    EXPECT_TRUE(label->Modified());
}

TEST_F(InspectorUndo, EachConfirmedActionIsOneStepAndACancelledOneNone)
{
    ColorPickerStub picker;
    const struct
    {
        const char* name;
        std::function<void()> act;
        int steps;
        bool changed = true;
    } cases[] = {
        {"Space on a Boolean", [this] { press("Print", Qt::Key_Space); }, 1},
        {"two toggles",
         [this] {
             press("Print", Qt::Key_Space);
             press("Print", Qt::Key_Space);
         },
         2, false},
        {"colour confirmed",
         [this, &picker] {
             picker.answer = 0x00123456;
             press("BackColor", Qt::Key_Return);
         },
         1},
        {"colour cancelled",
         [this, &picker] {
             picker.answer.reset();
             press("BackColor", Qt::Key_Return);
         },
         0, false},
        {"text dialog confirmed",
         [this] {
             inspector->WideTextRunner = [](TZVInspector& i, const QString& name) {
                 i.CommitWideText(name, QStringLiteral("x"));
                 i.CommitWideText(name, QStringLiteral("xy"));
                 return true;
             };
             inspector->EditWideText(QStringLiteral("Text"), {});
         },
         1},
        {"text dialog cancelled",
         [this] {
             inspector->WideTextRunner = [](TZVInspector& i, const QString& name) {
                 i.CommitWideText(name, QStringLiteral("x"));
                 return false;
             };
             inspector->EditWideText(QStringLiteral("Text"), {});
         },
         0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        label->ClearElements();
        start();
        c.act();
        EXPECT_EQ(history().count(), c.steps);
        EXPECT_EQ(label->Modified(), c.steps > 0);
        EXPECT_EQ(bytes() != startBytes, c.changed);
        const QByteArray after = bytes();
        while (history().canUndo())
            history().undo();
        EXPECT_EQ(bytes(), startBytes);
        EXPECT_FALSE(label->Modified());
        while (history().canRedo())
            history().redo();
        EXPECT_EQ(bytes(), after);
    }
}

} // namespace
} // namespace zorvel::test
