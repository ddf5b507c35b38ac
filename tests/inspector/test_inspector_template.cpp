// Binding from the inspector: a picked field switches Data on, and the Template row's editor.
#include "InspectorTestSupport.h"

#include "elements/ZVTextElements.h"
#include "inspector/ZVTemplateEditor.h"
#include "platform/ZVMemoryDataSet.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QUndoStack>

namespace zorvel::test {
namespace {

// Stands in for the texts' Template: a row of that name, kept in the streamed Text for undo.
class TemplatedText : public TZVText
{
    Q_OBJECT
    Q_PROPERTY(QString Template READ Template WRITE SetTemplate)

public:
    using TZVText::TZVText;
    QString Template() const { return Text(); }
    void SetTemplate(const QString& value) { SetText(value); }
};

class InspectorBinding : public InspectorFixture
{
protected:
    void SetUp() override
    {
        InspectorFixture::SetUp();
        people.AddField(QStringLiteral("NAME"), fkString);
        people.AddField(QStringLiteral("CITY"), fkString);
        people.AppendRecord({QStringLiteral("Ann"), QStringLiteral("Paris")});
        people.Open();
        people.SetDisplayLabel(QStringLiteral("CITY"), QStringLiteral("Town"));
        label->SetDataAccessType(daDataSet);
        label->SetDataSet(&people);
        label->SetDataEnabled(true);
        label->SetCounters({TZVCounter{.Name = QStringLiteral("SERIAL")}});
    }

    QUndoStack& history() { return label->UndoStack(); }

    TZVMemoryDataSet people;
};

TEST_F(InspectorBinding, PickingAFieldSwitchesDataOnInTheSameStep)
{
    // A text typed into the list is no field yet: it leaves Data as it was.
    for (const bool picked : {false, true}) {
        auto* text = add<TZVText>(ekText);
        select({text});
        history().clear();
        inspector->SelectRow(row("FieldName"));
        auto* list = qobject_cast<QComboBox*>(inspector->InplaceEditor());
        ASSERT_NE(list, nullptr);
        picked ? list->setCurrentIndex(list->findText(QStringLiteral("Town")))
               : list->setEditText(QStringLiteral("To"));
        EXPECT_EQ(text->Data(), picked);
        EXPECT_EQ(prop("Data").Value.toBool(), picked);
    }
    EXPECT_EQ(static_cast<TZVText*>(label->Elements().last())->BoundField(), QStringLiteral("CITY"));
    EXPECT_EQ(history().count(), 1);
    history().undo();
    EXPECT_FALSE(label->Elements().last()->property("Data").toBool());
}

TEST_F(InspectorBinding, TheTemplateEditorInsertsAndShowsTheCurrentRecord)
{
    TZVTemplateEditor dialog(*label);
    EXPECT_EQ(dialog.Fields()->itemText(1), QStringLiteral("Town"));
    EXPECT_EQ(TZVTemplateEditor::PlaceholdersOf(*label).join(u' '),
              QStringLiteral("{DATE} {#SERIAL} {PAGE} {LABEL} {RECORD} {COPY}"));

    // A field goes in at the caret under its own name, not its display label.
    dialog.SetText(QStringLiteral("Lot  of "));
    dialog.Box()->setCursorPosition(4);
    dialog.InsertField(QStringLiteral("Town"));
    dialog.InsertPlaceholder(QStringLiteral("{#SERIAL}"));
    EXPECT_EQ(dialog.Text(), QStringLiteral("Lot {CITY}{#SERIAL} of "));
    EXPECT_EQ(dialog.Preview()->text(), QStringLiteral("Lot Paris1 of "));

    const struct
    {
        const char *text, *shown; // shown: the start of the line under the text
        bool refused;
    } cases[] = {
        {"{NAME} {{{RECORD}}}", "Ann {1}", false},
        {"{NAME", "INVALID TEMPLATE AT ", true},
        {"{ZIP}", "INVALID FIELD NAME :ZIP", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        QTest::keyClick(dialog.Box(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(dialog.Box(), QString::fromLatin1(c.text));
        EXPECT_TRUE(dialog.Preview()->text().startsWith(QLatin1String(c.shown))) << c.shown;
        EXPECT_EQ(dialog.Refused(), c.refused);
        EXPECT_EQ(dialog.Preview()->styleSheet().contains(QStringLiteral("red")), c.refused);
    }
}

TEST_F(InspectorBinding, TheTemplateRowAppliesTheEditorsTextAsOneStep)
{
    auto* text = new TemplatedText(*label);
    select({text});
    ASSERT_EQ(prop("Template").Kind, pkTemplate);
    history().clear();
    const QString before = text->Template();
    for (const bool accept : {false, true}) {
        inspector->TemplateRunner = [accept](TZVTemplateEditor& dialog) {
            dialog.InsertField(QStringLiteral("NAME"));
            return accept;
        };
        reveal(row("Template"));
        QTest::keyClick(inspector, Qt::Key_Return);
        EXPECT_EQ(history().count(), accept ? 1 : 0);
    }
    EXPECT_EQ(text->Template(), before + QStringLiteral("{NAME}"));
    EXPECT_EQ(prop("Template").Value, text->Template());
    history().undo();
    EXPECT_EQ(text->Template(), before);
}

} // namespace
} // namespace zorvel::test

#include "test_inspector_template.moc"
