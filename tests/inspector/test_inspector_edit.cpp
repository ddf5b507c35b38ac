// Inspector in-place editors: which editor a row gets, commits to every selected element, the
// spin box limits, the lists, and the delayed repaint of the label.
#include "InspectorTestSupport.h"

#include "elements/ZVBarCode.h"
#include "elements/ZVTextElements.h"
#include "tests/support/WaitFor.h"

#include <QComboBox>

namespace zorvel::test {
namespace {

using InspectorEdit = InspectorFixture;

// Layers recorded so far; an edited element is selected, so its layer is the selection's.
int repaints(const TZVCustomEditor& editor)
{
    return editor.LayerRecordCount(lyContent) + editor.LayerRecordCount(lySelection);
}

const char* editorClass(const QWidget* editor)
{
    return editor ? editor->metaObject()->className() : "none";
}

TEST_F(InspectorEdit, EachRowKindGetsItsEditor)
{
    auto* text = add<TZVText>(ekText);
    select({text});
    struct Case
    {
        const char* row;
        bool unicode;
        const char* editor;
    };
    const Case cases[] = {
        {"ID", true, "zorvel::TZVInplaceEdit"},      {"Text", true, "zorvel::TZVInplaceWEdit"},
        {"Text", false, "zorvel::TZVInplaceEdit"},   {"X1", true, "zorvel::TZVInplaceFloat"},
        {"Angle", true, "zorvel::TZVInplaceList"},   {"FontName", true, "zorvel::TZVInplaceList"},
        {"FieldName", true, "zorvel::TZVInplaceList"}, {"Print", true, "none"},
        {"TextAlign", true, "none"},                 {"Color", true, "none"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.row) + (c.unicode ? "" : " (8-bit)"));
        label->SetUseUnicodeEditor(c.unicode);
        inspector->SelectRow(row(c.row));
        EXPECT_STREQ(editorClass(inspector->InplaceEditor()), c.editor);
        inspector->SelectRow(0);
    }
    inspector->SelectRow(row("Angle"));
    auto* list = qobject_cast<QComboBox*>(inspector->InplaceEditor());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 4);
    EXPECT_EQ(list->itemText(3), "270");
    EXPECT_EQ(list->currentText(), "0");
}

TEST_F(InspectorEdit, EditorFollowsItsRowWhenTheSelectionScrolls)
{
    auto* text = add<TZVText>(ekText);
    select({text});
    reveal(9);
    ASSERT_GT(inspector->TopRow(), 0);
    ASSERT_NE(inspector->InplaceEditor(), nullptr);
    const QRect cell = inspector->ValueCell(inspector->ItemIndex());
    EXPECT_EQ(inspector->InplaceEditor()->geometry().topLeft(), cell.topLeft());
}

TEST_F(InspectorEdit, TextBoxWritesEverySelectedElementExactly)
{
    auto* a = add<TZVText>(ekText);
    auto* b = add<TZVText>(ekText);
    select({a, b});
    inspector->SelectRow(row("DisplayFormat"));
    auto* box = qobject_cast<QLineEdit*>(inspector->InplaceEditor());
    ASSERT_NE(box, nullptr);
    QTest::keyClicks(box, "0.0");
    EXPECT_EQ(a->DisplayFormat(), "0.0");
    EXPECT_EQ(b->DisplayFormat(), "0.0");
    // Only the case changes: still an edit.
    inspector->SelectRow(row("ID"));
    box = qobject_cast<QLineEdit*>(inspector->InplaceEditor());
    const QString upper = a->ID().toUpper();
    box->setText(upper);
    EXPECT_EQ(a->ID(), upper);
    EXPECT_EQ(b->ID(), upper);
    EXPECT_EQ(prop("ID").Value, QVariant(upper));
}

TEST_F(InspectorEdit, WideBoxWritesTheTextOfTextAndAskedText)
{
    auto* text = add<TZVText>(ekText);
    auto* ask = add<TZVAskText>(ekAskText);
    select({text, ask});
    inspector->SelectRow(row("Text"));
    auto* box = qobject_cast<TZVWideEdit*>(inspector->InplaceEditor());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Text(), "text");
    box->SetText(QStringLiteral("Grüße €"));
    EXPECT_EQ(text->Text(), QStringLiteral("Grüße €"));
    EXPECT_EQ(ask->Text(), QStringLiteral("Grüße €"));
}

TEST_F(InspectorEdit, SpinBoxWritesFloatsAndCounts)
{
    auto* a = add<TZVText>(ekText);
    auto* b = add<TZVText>(ekText);
    select({a, b});
    inspector->SelectRow(row("X1"));
    auto* spin = qobject_cast<TZvSpinEditFloat*>(inspector->InplaceEditor());
    ASSERT_NE(spin, nullptr);
    spin->SetValue(15.25);
    EXPECT_FLOAT_EQ(a->GetX1(), 15.25f);
    EXPECT_FLOAT_EQ(b->GetX1(), 15.25f);

    auto* gauge = new TestGauge(*label);
    select({gauge});
    inspector->SelectRow(row("RowCount"));
    spin = qobject_cast<TZvSpinEditFloat*>(inspector->InplaceEditor());
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->Digits(), 0);
    EXPECT_EQ(spin->Increment(), 1);
    EXPECT_EQ(spin->AsInteger(), 3);
    spin->UpClick();
    EXPECT_EQ(gauge->RowCount(), 4);
    EXPECT_EQ(prop("RowCount").Value, QVariant(4));

    inspector->SelectRow(row("Ratio"));
    spin = qobject_cast<TZvSpinEditFloat*>(inspector->InplaceEditor());
    EXPECT_EQ(spin->MinValue(), 0);
    EXPECT_EQ(spin->MaxValue(), 6);
    EXPECT_EQ(spin->Increment(), 0.01);
}

TEST_F(InspectorEdit, FactorStepsBetweenOneAndFourUnlessTheHostSaysOtherwise)
{
    auto* code = add<TZVBarCode>(ekBarCode);
    code->SetCodeType(CODE39);
    select({code});
    inspector->SelectRow(row("Factor"));
    auto* spin = qobject_cast<TZvSpinEditFloat*>(inspector->InplaceEditor());
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->MinValue(), 1);
    EXPECT_EQ(spin->MaxValue(), 4);
    EXPECT_EQ(spin->Increment(), 0.05);
    spin->SetValue(2);
    spin->UpClick();
    EXPECT_EQ(code->Factor(), 205);
    spin->SetValue(7);
    EXPECT_EQ(code->Factor(), 400);

    QString asked;
    double seen[3] = {};
    inspector->OnFloatEdit = [&](QObject* sender, const QString& name, double& increment, double& minValue,
                                 double& maxValue) {
        EXPECT_EQ(sender, inspector);
        asked = name;
        seen[0] = increment;
        seen[1] = minValue;
        seen[2] = maxValue;
        increment = 0.5;
        minValue = 0;
        maxValue = 10;
    };
    inspector->SelectRow(0);
    inspector->SelectRow(row("Factor"));
    spin = qobject_cast<TZvSpinEditFloat*>(inspector->InplaceEditor());
    EXPECT_EQ(asked, "Factor");
    EXPECT_EQ(seen[0], 0.05);
    EXPECT_EQ(seen[1], 1);
    EXPECT_EQ(seen[2], 4);
    EXPECT_EQ(spin->Increment(), 0.5);
    EXPECT_EQ(spin->MaxValue(), 10);
    spin->SetValue(6);
    EXPECT_EQ(code->Factor(), 600);
}

TEST_F(InspectorEdit, TypedValuesStayWithinTheHostsLimitsWhileTypingAndAfterLeaving)
{
    auto* text = add<TZVText>(ekText);
    auto* code = add<TZVBarCode>(ekBarCode);
    code->SetCodeType(CODE39);
    auto* gauge = new TestGauge(*label);
    struct Case
    {
        TZVElement* element;
        const char* row;
        double minValue, maxValue;
        const char* typed;
        double written;
    };
    const Case cases[] = {
        {text, "X1", 1, 3, "9", 3},
        {text, "X1", 2, 2, "1", 2}, // equal limits: a minimum only
        {text, "X1", 2, 2, "9", 9},
        {code, "Factor", 1, 2, "3", 2},
        {gauge, "RowCount", 1, 5, "9", 5},
        {gauge, "RowCount", 4, 5, "2", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.row) + " typed " + c.typed);
        inspector->OnFloatEdit = [c](QObject*, const QString&, double&, double& minValue, double& maxValue) {
            minValue = c.minValue;
            maxValue = c.maxValue;
        };
        select({c.element});
        const int index = row(c.row);
        reveal(index);
        auto* spin = qobject_cast<TZvSpinEditFloat*>(inspector->InplaceEditor());
        ASSERT_NE(spin, nullptr);
        spin->selectAll();
        QTest::keyClicks(spin, c.typed);
        EXPECT_DOUBLE_EQ(c.element->property(c.row).toDouble(), c.written);
        // Another row is clicked: the box goes without a commit of its own.
        click(valuePoint(index > 0 ? index - 1 : index + 1));
        EXPECT_NE(inspector->ItemIndex(), index);
        EXPECT_DOUBLE_EQ(c.element->property(c.row).toDouble(), c.written);
        EXPECT_DOUBLE_EQ(prop(c.row).Value.toDouble(), c.written);
    }
}

TEST_F(InspectorEdit, IntegerTextBoxWritesOnlyNumbers)
{
    auto* gauge = new TestGauge(*label);
    select({gauge});
    inspector->SelectRow(row("Level"));
    auto* box = qobject_cast<QLineEdit*>(inspector->InplaceEditor());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "7");
    box->setText("42");
    EXPECT_EQ(gauge->Level(), 42);
    box->setText("4x");
    EXPECT_EQ(gauge->Level(), 42);
}

// A bar code option the symbology cannot honour is neither clamped nor written: the label's host
// gets the library's message, and the element and its row keep the value they had.
TEST_F(InspectorEdit, BarCodeOptionsBeyondTheSymbologyAreRefusedWithTheLibrarysMessage)
{
    QStringList messages;
    label->OnMessage = [&](QObject*, const QString& message) { messages << message; };
    auto* code = add<TZVBarCode>(ekBarCode);
    code->SetCodeType(PDF417);
    code->SetBarCode("HELLO");
    select({code});
    inspector->SelectRow(row("SymbolSize"));
    auto* box = qobject_cast<QLineEdit*>(inspector->InplaceEditor());
    ASSERT_NE(box, nullptr);
    box->setText("12");
    box->setText("95");
    EXPECT_EQ(code->SymbolSize(), 12) << "not clamped to 90";
    EXPECT_EQ(prop("SymbolSize").Value, QVariant(12));
    EXPECT_EQ(messages, QStringList{"INVALID BARCODE : HELLO (Symbol size 95 out of range (3 to 90))"});

    code->SetCodeType(AZTEC);
    code->SetSymbolSize(5);
    inspector->UpdateSelection();
    inspector->SelectRow(row("EccLevel"));
    box = qobject_cast<QLineEdit*>(inspector->InplaceEditor());
    ASSERT_NE(box, nullptr);
    box->setText("2");
    EXPECT_EQ(code->EccLevel(), 0);
    EXPECT_EQ(messages.last(), "INVALID BARCODE : HELLO (Error correction level and symbol size cannot both be set)");
}

TEST_F(InspectorEdit, ListsWriteValueNamesAndAngles)
{
    auto* a = add<TZVBarCode>(ekBarCode);
    auto* b = add<TZVBarCode>(ekBarCode);
    a->SetCodeType(EAN8);
    select({a, b});
    inspector->SelectRow(row("CodeType"));
    auto* list = qobject_cast<QComboBox*>(inspector->InplaceEditor());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), UPCE + 1); // every symbology
    EXPECT_EQ(list->itemText(3), "CODE39");
    EXPECT_EQ(list->itemText(QRCODE), "QRCODE");
    EXPECT_EQ(list->currentText(), "EAN8");
    list->setCurrentIndex(3);
    EXPECT_EQ(a->CodeType(), CODE39);
    EXPECT_EQ(b->CodeType(), CODE39);
    EXPECT_EQ(prop("CodeType").Value, QVariant(3));
    list->setEditText("EAN1"); // a name being typed writes nothing
    EXPECT_EQ(a->CodeType(), CODE39);

    inspector->SelectRow(row("Angle"));
    list = qobject_cast<QComboBox*>(inspector->InplaceEditor());
    list->setCurrentText("90");
    EXPECT_EQ(a->Angle(), 90);
    EXPECT_EQ(b->Angle(), 90);
}

TEST_F(InspectorEdit, FontListComesFromTheHostWhenItAsks)
{
    auto* text = add<TZVText>(ekText);
    select({text});
    label->OnGetFontListEvent = [&](QObject* sender, QStringList& list) {
        EXPECT_EQ(sender, inspector);
        list = QStringList{"Alpha", "Beta"};
    };
    inspector->SelectRow(row("FontName"));
    auto* list = qobject_cast<QComboBox*>(inspector->InplaceEditor());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 2);
    // A value outside the list still shows.
    EXPECT_EQ(list->currentText(), "Arial");
    list->setCurrentIndex(1);
    EXPECT_EQ(text->FontName(), "Beta");
    EXPECT_EQ(inspector->TextFontName(), "Arial"); // until the next rebuild
}

TEST_F(InspectorEdit, RebuildDropsTheEditorAndUpdatePropertyRefillsAnIdleOne)
{
    auto* text = add<TZVText>(ekText);
    select({text});
    inspector->SelectRow(row("X1"));
    auto* spin = qobject_cast<TZvSpinEditFloat*>(inspector->InplaceEditor());
    ASSERT_NE(spin, nullptr);
    inspector->setFocus(); // the box is idle
    text->SetX1(21.5f);    // moved on the design surface
    inspector->UpdateProperty("X1");
    EXPECT_DOUBLE_EQ(spin->Value(), 21.5);
    EXPECT_FLOAT_EQ(text->GetX1(), 21.5f);

    inspector->UpdateSelection();
    EXPECT_EQ(inspector->InplaceEditor(), nullptr);
    EXPECT_EQ(inspector->ItemIndex(), -1);
}

// ---- Delayed repaint ----

TEST_F(InspectorEdit, WithoutDelayEveryChangeRepaintsTheLabel)
{
    auto* text = add<TZVText>(ekText);
    select({text});
    inspector->SelectRow(row("Text"));
    auto* box = qobject_cast<TZVWideEdit*>(inspector->InplaceEditor());
    ASSERT_NE(box, nullptr);
    editor->Refresh(false);
    const int before = repaints(*editor);
    for (const char* typed : {"a", "ab", "abc"})
        box->SetText(typed);
    EXPECT_EQ(repaints(*editor), before + 3);
    EXPECT_TRUE(editor->PaintEnabled());
}

TEST_F(InspectorEdit, WithTimeRefreshTheLabelRepaintsOncePerPeriod)
{
    auto* a = add<TZVText>(ekText);
    auto* b = add<TZVText>(ekText);
    select({a, b});
    inspector->SetTimeRefresh(150);
    inspector->SelectRow(row("Text"));
    auto* box = qobject_cast<TZVWideEdit*>(inspector->InplaceEditor());
    ASSERT_NE(box, nullptr);
    editor->Refresh(false);
    const int before = repaints(*editor);
    for (const char* typed : {"a", "ab", "abc", "abcd"})
        box->SetText(typed);
    EXPECT_EQ(a->Text(), "abcd");
    EXPECT_EQ(b->Text(), "abcd");
    EXPECT_EQ(repaints(*editor), before);
    EXPECT_FALSE(editor->PaintEnabled());
    EXPECT_TRUE(inspector->RefreshPending());
    ASSERT_TRUE(waitFor([&] { return !inspector->RefreshPending(); }));
    EXPECT_EQ(repaints(*editor), before + 1);
    EXPECT_TRUE(editor->PaintEnabled());

    // Typing on starts the next period.
    box->SetText("abcde");
    EXPECT_TRUE(inspector->RefreshPending());
    ASSERT_TRUE(waitFor([&] { return !inspector->RefreshPending(); }));
    EXPECT_EQ(repaints(*editor), before + 2);
}

TEST_F(InspectorEdit, ChangingTimeRefreshDoesThePendingRepaint)
{
    auto* text = add<TZVText>(ekText);
    select({text});
    inspector->SetTimeRefresh(1000);
    inspector->SelectRow(row("Text"));
    qobject_cast<TZVWideEdit*>(inspector->InplaceEditor())->SetText("x");
    ASSERT_FALSE(editor->PaintEnabled());
    inspector->SetTimeRefresh(500);
    EXPECT_FALSE(inspector->RefreshPending());
    EXPECT_TRUE(editor->PaintEnabled());
}

} // namespace
} // namespace zorvel::test
