// Inspector input: keys, clicks and double clicks on values and captions, the dialogs they open,
// the splitter, the wheel and the scroll bar, the painted cells, and the two pop-ups.
#include "InspectorTestSupport.h"

#include "elements/ZVParagraph.h"
#include "elements/ZVSymbol.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVCanvas.h"
#include "inspector/ZVInspectorWideText.h"
#include "tests/support/ColorPickerStub.h"
#include "tests/support/ModalWatch.h"

#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace zorvel::test {
namespace {

class InspectorInput : public InspectorFixture
{
protected:
    void SetUp() override
    {
        InspectorFixture::SetUp();
        form->activateWindow();
        active = QTest::qWaitForWindowActive(form.get());
    }
    bool active = false;
};

// Records the element dialogs the label is asked for.
class RecordingElementEditor final : public TZVElementEditor
{
public:
    QList<TZVElement*> opened;
    void EditElement(TZVCustomLab&, TZVElement& element) override { opened.append(&element); }
};

TEST_F(InspectorInput, ArrowAndPageKeysMoveTheSelectionAndKeepItInView)
{
    auto* text = add<TZVText>(ekText);
    select({text});
    const int last = int(inspector->Rows().size()) - 1;
    struct Step
    {
        Qt::Key key;
        int item, top;
    };
    const Step steps[] = {
        {Qt::Key_Up, 0, 0}, // nothing selected: the first row
        {Qt::Key_Down, 1, 0},      {Qt::Key_Up, 0, 0},        {Qt::Key_Up, 0, 0},
        {Qt::Key_PageDown, 7, 1},  {Qt::Key_PageDown, 14, 8}, {Qt::Key_PageUp, 7, 7},
        {Qt::Key_PageUp, 0, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(QTest::toString(s.key));
        QTest::keyClick(inspector, s.key);
        EXPECT_EQ(inspector->ItemIndex(), s.item);
        EXPECT_EQ(inspector->TopRow(), s.top);
    }
    reveal(last);
    ASSERT_EQ(inspector->ItemIndex(), last);
    QTest::keyClick(inspector, Qt::Key_Down);
    EXPECT_EQ(inspector->ItemIndex(), last);
    QTest::keyClick(inspector, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(inspector->ItemIndex(), last);
}

TEST_F(InspectorInput, SpaceAndEnterActOnRowsWithoutATextBox)
{
    RecordingElementEditor dialogs;
    label->SetElementEditor(&dialogs);
    ColorPickerStub picker(0x00123456);
    int aligns = 0;
    inspector->AlignPicker = [&](const QRect&, TTextAlign) -> std::optional<TTextAlign> {
        ++aligns;
        return taCeCe;
    };
    enum Effect { Toggled, Coloured, Aligned, Dialog, Nothing };
    const struct
    {
        const char* name;
        int kind;
        const char* row;
        Qt::Key key;
        Effect effect;
    } cases[] = {
        {"Space on a Boolean", ekText, "Print", Qt::Key_Space, Toggled},
        {"Enter on a Boolean", ekText, "Print", Qt::Key_Return, Nothing},
        {"Enter on a colour", ekText, "BackColor", Qt::Key_Return, Coloured},
        {"keypad Enter on a colour", ekText, "Color", Qt::Key_Enter, Coloured},
        {"Space on a colour", ekText, "BackColor", Qt::Key_Space, Nothing},
        {"Enter on an alignment", ekText, "TextAlign", Qt::Key_Return, Aligned},
        {"Enter on a dialog row", ekSymbol, "Character", Qt::Key_Return, Dialog},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TZVElement* a = add(c.kind);
        TZVElement* b = add(c.kind);
        select({a, b});
        reveal(row(c.row));
        ASSERT_EQ(inspector->ItemIndex(), row(c.row));
        const bool printed = a->property("Print").toBool();
        picker.asked = 0;
        aligns = 0;
        dialogs.opened.clear();
        QTest::keyClick(inspector, c.key);
        EXPECT_EQ(a->property("Print").toBool(), c.effect == Toggled ? !printed : printed);
        EXPECT_EQ(b->property("Print").toBool(), a->property("Print").toBool());
        EXPECT_EQ(picker.asked, c.effect == Coloured ? 1 : 0);
        if (c.effect == Coloured) EXPECT_EQ(b->property(c.row).toUInt(), 0x00123456u);
        EXPECT_EQ(aligns, c.effect == Aligned ? 1 : 0);
        EXPECT_EQ(dialogs.opened.size(), c.effect == Dialog ? 1 : 0);
        EXPECT_EQ(inspector->ItemIndex(), row(c.row)) << "the row stays current";
    }
    label->SetElementEditor(nullptr);
}

TEST_F(InspectorInput, TheCurrentRowsCaptionIsHighlighted)
{
    select({add(ekText)});
    const QColor highlight = inspector->palette().color(QPalette::Highlight);
    auto captionColour = [&](int index) {
        const QImage shot = surface()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        return shot.pixelColor(inspector->NameCell(index).topLeft() + QPoint(1, 1));
    };
    EXPECT_NE(captionColour(0), highlight) << "no row is current after a rebuild";
    reveal(2);
    EXPECT_EQ(captionColour(2), highlight);
    EXPECT_NE(captionColour(1), highlight);
    click(namePoint(4));
    EXPECT_EQ(captionColour(4), highlight);
    EXPECT_NE(captionColour(2), highlight);
}

TEST_F(InspectorInput, TabGoesIntoTheEditorAndBackToTheGrid)
{
    ASSERT_TRUE(active);
    auto* text = add<TZVText>(ekText);
    select({text});
    inspector->SelectRow(row("ID"));
    auto* box = qobject_cast<QLineEdit*>(inspector->InplaceEditor());
    ASSERT_NE(box, nullptr);
    inspector->setFocus();
    QTest::keyClick(inspector, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_TRUE(inspector->EditorHasFocus());
    const QString before = box->text();
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), inspector);
    EXPECT_FALSE(inspector->EditorHasFocus());
    EXPECT_EQ(box->text(), before);
}

TEST_F(InspectorInput, DoubleClickOnABooleanValueTogglesItForAllSelected)
{
    auto* a = add<TZVText>(ekText);
    auto* b = add<TZVText>(ekText);
    select({a, b});
    const int print = row("Print");
    doubleClick(namePoint(print));
    EXPECT_TRUE(a->Print());
    EXPECT_TRUE(b->Print());
    doubleClick(valuePoint(print));
    EXPECT_FALSE(a->Print());
    EXPECT_FALSE(b->Print());
    EXPECT_EQ(prop("Print").Value, QVariant(false));
    click(valuePoint(print)); // one click is not enough by default
    EXPECT_FALSE(a->Print());

    inspector->SetInspectMode(imClick);
    click(valuePoint(print));
    EXPECT_TRUE(a->Print());
    EXPECT_TRUE(b->Print());
    click(namePoint(print));
    EXPECT_TRUE(a->Print());
}

TEST_F(InspectorInput, ADoubleClickActsOnceInEitherMode)
{
    auto* a = add<TZVText>(ekText);
    auto* b = add<TZVText>(ekText);
    select({a, b});
    ColorPickerStub picker(0x00102030);
    struct Case
    {
        TZVInspectMode mode;
        const char* row;
    };
    const Case cases[] = {
        {imDblClick, "Print"},
        {imClick, "Print"},
        {imDblClick, "BackColor"},
        {imClick, "BackColor"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.row) + (c.mode == imClick ? " with imClick" : " with imDblClick"));
        inspector->SetInspectMode(c.mode);
        const bool printed = a->Print();
        picker.asked = 0;
        const int index = row(c.row);
        reveal(index);
        doubleClick(valuePoint(index));
        if (c.row == std::string("Print")) {
            EXPECT_EQ(a->Print(), !printed);
            EXPECT_EQ(b->Print(), !printed);
        } else {
            EXPECT_EQ(picker.asked, 1);
        }
    }
}

TEST_F(InspectorInput, ColourDialogWritesEverySelectedElementWhenConfirmed)
{
    auto* a = add<TZVText>(ekText);
    auto* b = add<TZVText>(ekText);
    a->SetBackColor(0x00AABBCC);
    select({a, b});
    ColorPickerStub picker(0x00123456);
    doubleClick(valuePoint(row("BackColor")));
    EXPECT_EQ(picker.offered, 0x00AABBCCu);
    EXPECT_EQ(a->BackColor(), 0x00123456u);
    EXPECT_EQ(b->BackColor(), 0x00123456u);
    picker.answer.reset();
    doubleClick(valuePoint(row("BackColor")));
    EXPECT_EQ(a->BackColor(), 0x00123456u);
}

TEST_F(InspectorInput, AlignmentAndJustificationPopUpsOpenOverTheValueCell)
{
    auto* a = add<TZVText>(ekText);
    auto* b = add<TZVText>(ekText);
    a->SetTextAlign(taRiTo);
    select({a, b});
    reveal(row("TextAlign"));
    const int align = row("TextAlign");
    QRect at;
    TTextAlign preset = taLeBo;
    inspector->AlignPicker = [&](const QRect& cell, TTextAlign current) -> std::optional<TTextAlign> {
        at = cell;
        preset = current;
        return taCeCe;
    };
    doubleClick(valuePoint(align));
    const QRect cell = inspector->ValueCell(align);
    EXPECT_EQ(at, QRect(surface()->mapToGlobal(cell.topLeft() - QPoint(2, 0)), QSize(cell.width() + 2, cell.height())));
    EXPECT_EQ(preset, taRiTo);
    EXPECT_EQ(a->TextAlign(), taCeCe);
    EXPECT_EQ(b->TextAlign(), taCeCe);

    auto* paragraph = add<TZVParagraph>(ekParagraph);
    select({paragraph});
    reveal(row("Alignment"));
    inspector->JustifyPicker = [&](const QRect&, TTextFormat current) -> std::optional<TTextFormat> {
        EXPECT_EQ(current, tfLeft);
        return tfJustify;
    };
    doubleClick(valuePoint(row("Alignment")));
    EXPECT_EQ(paragraph->Alignment(), tfJustify);
    EXPECT_EQ(prop("Alignment").Value, QVariant(int(tfJustify)));
}

TEST_F(InspectorInput, DialogRowsOpenTheElementDialog)
{
    RecordingElementEditor dialogs;
    label->SetElementEditor(&dialogs);
    auto* symbol = add<TZVSymbol>(ekSymbol);
    select({symbol});
    const int character = row("Character");
    reveal(character);
    doubleClick(namePoint(character));
    EXPECT_TRUE(dialogs.opened.isEmpty());
    doubleClick(valuePoint(character));
    ASSERT_EQ(dialogs.opened.size(), 1);
    EXPECT_EQ(dialogs.opened.first(), symbol);
    label->SetElementEditor(nullptr);
}

TEST_F(InspectorInput, CaptionOfAWideTextOpensTheDialogAndCancelRestores)
{
    auto* text = add<TZVText>(ekText);
    auto* ask = add<TZVAskText>(ekAskText);
    select({text, ask});
    const int index = row("Text");
    reveal(index);
    int runs = 0;
    bool confirm = false;
    inspector->WideTextRunner = [&](TZVInspector& owner, const QString& name) {
        ++runs;
        owner.CommitWideText(name, "typed");
        EXPECT_EQ(text->Text(), "typed");
        EXPECT_EQ(ask->Text(), "typed");
        return confirm;
    };
    doubleClick(namePoint(index));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(text->Text(), "text");
    EXPECT_EQ(ask->Text(), "text");
    confirm = true;
    doubleClick(namePoint(index));
    EXPECT_EQ(text->Text(), "typed");

    inspector->SetShowUnicodeEditor(false);
    doubleClick(namePoint(index));
    EXPECT_EQ(runs, 2);
    inspector->SetShowUnicodeEditor(true);
    inspector->SetInspectMode(imClick);
    click(namePoint(index));
    EXPECT_EQ(runs, 3);
}

TEST_F(InspectorInput, CancelGivesEachElementItsOwnWideTextBack)
{
    struct Case
    {
        int kind;
        const char* property;
        QStringList texts;
        bool typedBackTheFirst; // the user typed the first element's text again before cancelling
    };
    const Case cases[] = {
        {ekText, "Text", {"alpha", "beta", "gamma"}, false},
        {ekText, "Text", {"alpha", "beta"}, true},
        {ekAddText, "Before", {"one", "two"}, false},
        {ekAskText, "Question", {"why?", "how?"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.property) + (c.typedBackTheFirst ? ", typed back" : ""));
        label->ClearElements();
        QList<TZVElement*> elements;
        for (const QString& text : c.texts) {
            elements.append(add(c.kind));
            elements.last()->setProperty(c.property, text);
        }
        editor->ClearSelection();
        for (TZVElement* element : elements)
            editor->AddToSelection(element);
        inspector->UpdateSelection();
        inspector->WideTextRunner = [&](TZVInspector& owner, const QString& name) {
            owner.CommitWideText(name, "typed");
            if (c.typedBackTheFirst) owner.CommitWideText(name, c.texts.first());
            return false;
        };
        const int index = row(c.property);
        reveal(index);
        doubleClick(namePoint(index));
        for (int i = 0; i < elements.size(); ++i)
            EXPECT_EQ(elements[i]->property(c.property).toString(), c.texts[i]) << i;
        EXPECT_EQ(prop(c.property).Value.toString(), c.texts.first());
    }
}

TEST_F(InspectorInput, WithoutTheUnicodeEditorTextRowsUsePlainBoxesAndCaptionsOpenNothing)
{
    label->SetUseUnicodeEditor(false);
    auto* text = add<TZVText>(ekText);
    select({text});
    const int index = row("Text");
    reveal(0);
    reveal(index);
    int runs = 0;
    inspector->WideTextRunner = [&](TZVInspector&, const QString&) { return ++runs, true; };
    doubleClick(namePoint(index));
    EXPECT_EQ(runs, 0);
    click(valuePoint(index));
    EXPECT_STREQ(inspector->InplaceEditor()->metaObject()->className(), "zorvel::TZVInplaceEdit");
    qobject_cast<QLineEdit*>(inspector->InplaceEditor())->setText("plain");
    EXPECT_EQ(text->Text(), "plain");
}

TEST_F(InspectorInput, DefaultWideTextDialogCommitsWhileTypingAndCancelRestores)
{
    auto* a = add<TZVText>(ekText);
    auto* b = add<TZVText>(ekText);
    select({a, b});
    const int index = row("Text");
    inspector->SelectRow(index);
    bool seenWhileOpen = false;
    const ModalWatch<TZvEdText> watch([&](TZvEdText* dialog) {
        dialog->Box()->setText("live");
        seenWhileOpen = a->Text() == "live" && b->Text() == "live";
        dialog->reject();
    });
    inspector->EditWideText("Text", "text");
    ASSERT_TRUE(watch.seen());
    EXPECT_TRUE(seenWhileOpen);
    EXPECT_EQ(a->Text(), "text");
    EXPECT_EQ(b->Text(), "text");
}

TEST_F(InspectorInput, SplitterFollowsADragAndTakesTheEditorAlong)
{
    auto* text = add<TZVText>(ekText);
    select({text});
    inspector->SelectRow(row("X1"));
    const int y = inspector->ValueCell(row("X1")).center().y();
    QTest::mousePress(surface(), Qt::LeftButton, {}, QPoint(inspector->SplitPos(), y));
    QTest::mouseMove(surface(), QPoint(120, y));
    QTest::mouseMove(surface(), QPoint(150, y));
    QTest::mouseRelease(surface(), Qt::LeftButton, {}, QPoint(150, y));
    EXPECT_EQ(inspector->SplitPos(), 150);
    EXPECT_EQ(inspector->InplaceEditor()->x(), 152);
    QTest::mouseMove(surface(), QPoint(200, y)); // released: the split stays
    EXPECT_EQ(inspector->SplitPos(), 150);
}

TEST_F(InspectorInput, HoverGivesHintsCursorsAndDragSelection)
{
    ASSERT_TRUE(active);
    auto* symbol = add<TZVSymbol>(ekSymbol);
    select({symbol});
    reveal(row("Character"));
    auto hover = [&](QPoint p, Qt::MouseButtons buttons = Qt::NoButton) {
        QMouseEvent event(QEvent::MouseMove, QPointF(p), surface()->mapToGlobal(QPointF(p)), Qt::NoButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(surface(), &event);
    };
    hover(valuePoint(row("FontName")));
    EXPECT_EQ(surface()->toolTip(), "Arial");
    EXPECT_EQ(surface()->cursor().shape(), Qt::ArrowCursor);
    hover(valuePoint(row("Bold")));
    EXPECT_EQ(surface()->toolTip(), "");
    hover(valuePoint(row("Character")));
    EXPECT_EQ(surface()->cursor().shape(), Qt::PointingHandCursor);
    hover(QPoint(inspector->SplitPos() + 1, valuePoint(row("Bold")).y()));
    EXPECT_EQ(surface()->cursor().shape(), Qt::SplitHCursor);

    inspector->setFocus();
    hover(valuePoint(row("Bold")), Qt::LeftButton);
    EXPECT_EQ(inspector->ItemIndex(), row("Bold"));
}

TEST_F(InspectorInput, WheelAndScrollBarMoveTheTopRow)
{
    auto* text = add<TZVText>(ekText);
    select({text});
    auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(50, 50), surface()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(surface(), &event);
    };
    wheel(120);
    EXPECT_EQ(inspector->TopRow(), 0);
    wheel(-120); // toward the user: later rows, 120 / 26 of them
    EXPECT_EQ(inspector->TopRow(), 4);
    EXPECT_EQ(inspector->verticalScrollBar()->value(), 4);
    for (int i = 0; i < 20; ++i)
        wheel(-120);
    EXPECT_EQ(inspector->TopRow(), inspector->MaxTop());

    inspector->SelectRow(inspector->TopRow());
    ASSERT_NE(inspector->InplaceEditor(), nullptr);
    inspector->verticalScrollBar()->setValue(2);
    EXPECT_EQ(inspector->TopRow(), 2);
    EXPECT_EQ(inspector->InplaceEditor(), nullptr);
}

TEST_F(InspectorInput, PaintsCheckImagesAndColourSwatches)
{
    auto* text = add<TZVText>(ekText);
    text->SetColor(0x000000FF); // red in the low byte
    select({text});
    const QImage shot = surface()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect colour = inspector->ValueCell(row("Color"));
    EXPECT_EQ(shot.pixelColor(colour.center()), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(colour.topLeft() + QPoint(1, 1)), inspector->Color());

    const QRect print = inspector->ValueCell(row("Print"));
    const QPoint at(print.left() + print.width() / 2 - 7, print.top() + print.height() / 2 - 7);
    QImage expected(kInspectorImageSize, kInspectorImageSize, QImage::Format_RGB32);
    expected.fill(inspector->Color());
    QPainter(&expected).drawImage(0, 0, ZvInspectorImage(iiCheckOn));
    EXPECT_EQ(shot.copy(QRect(at, expected.size())), expected);
}

// ---- The wide-text dialog ----

using WideTextDialog = InspectorFixture;

TEST_F(WideTextDialog, MapPagesOf112CharactersAndInsertionAtTheCaret)
{
    auto* a = add<TZVText>(ekText);
    auto* b = add<TZVText>(ekText);
    b->SetText("other");
    select({a, b});
    TZvEdText dialog(*inspector);
    dialog.Prepare("Text");
    EXPECT_EQ(dialog.Box()->text(), "text");
    EXPECT_EQ(b->Text(), "other"); // preparing writes nothing
    EXPECT_EQ(dialog.CharacterAt(1, 0), QChar(16));
    dialog.SetPage(1);
    EXPECT_EQ(dialog.CharacterAt(0, 0), QChar(112));
    dialog.SetPage(TZvEdText::kLastPage);
    EXPECT_EQ(dialog.CharacterAt(6, 15), QChar(16 * 112 + 111));

    dialog.SetPage(0);
    dialog.Box()->setSelection(1, 2); // "ex" selected: the character goes in front of it
    dialog.ClickCell(4, 1);           // 4 * 16 + 1 = 'A'
    EXPECT_EQ(dialog.Box()->text(), "tAext");
    EXPECT_EQ(a->Text(), "tAext");
    EXPECT_EQ(b->Text(), "tAext");
}

TEST_F(WideTextDialog, EightBitBoxWithoutTheUnicodeEditor)
{
    label->SetUseUnicodeEditor(false);
    auto* text = add<TZVText>(ekText);
    text->SetText(QStringLiteral("€ 中"));
    select({text});
    TZvEdText dialog(*inspector);
    dialog.Prepare("Text");
    EXPECT_EQ(qobject_cast<TZVWideEdit*>(dialog.Box()), nullptr);
    EXPECT_EQ(dialog.Box()->text(), QStringLiteral("€ ?"));
    EXPECT_EQ(dialog.Box()->cursorPosition(), 3);
    EXPECT_EQ(text->Text(), QStringLiteral("€ 中"));
}

} // namespace
} // namespace zorvel::test
