// The label document: change flow to the editor, the element list and the data binding.
#include "document/ZVCustomLab.h"
#include "elements/ZVLineRect.h"
#include "elements/ZVTable.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStream.h"
#include "platform/ZVMemoryDataSet.h"
#include "tests/document/TestEditorLink.h"
#include "tests/support/QStringPrinter.h"

#include <QDate>
#include <QPointer>

#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace zorvel;
using zorvel::test::TestEditorLink;

namespace {

class LabelTest : public ::testing::Test
{
protected:
    LabelTest() { label.SetEditor(&editor); }
    ~LabelTest() override { label.SetEditor(nullptr); }

    TestEditorLink editor;
    TZVLab label;
};

// A text bound to `field` of the master data set.
TZVText* boundText(TZVCustomLab& label, const QString& field)
{
    auto* text = new TZVText(label);
    text->SetData(true);
    if (!field.isEmpty()) text->SetFieldName(field);
    return text;
}

QString errorText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EZvError& error) {
        return error.message();
    }
    return QStringLiteral("(no error)");
}

} // namespace

TEST_F(LabelTest, NotifyChangeMarksTheLayersOfEachKind)
{
    struct Case
    {
        const char* name;
        int kind;
        bool background;
        int content;
        int selection;
    };
    const Case cases[] = {
        {"0 everything", ckAll, true, 1, 1},
        {"1 background only", ckBackground, true, 0, 0},
        {"2 content", ckContent, false, 1, 0},
        {"3 selection", ckSelection, false, 0, 1},
        {"4 content coordinates", ckContentCoordinates, false, 1, 0},
        {"5 selection coordinates", ckSelectionCoordinates, false, 0, 1},
        {"6 both layers", ckLayers, false, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        label.BackSurf().SetBackDirty(false);
        label.SetModified(false);
        editor.ResetRecord();

        label.NotifyChange(c.kind, 0, QStringLiteral("Color"));

        EXPECT_EQ(label.BackSurf().BackDirty(), c.background);
        EXPECT_EQ(editor.contentDirtyCount, c.content);
        EXPECT_EQ(editor.selectionDirtyCount, c.selection);
        ASSERT_EQ(editor.refreshes.size(), 1u);
        // Index 0: the inspector updates the named row only, not the whole selection.
        EXPECT_FALSE(editor.refreshes[0].updateInspector);
        EXPECT_EQ(editor.refreshes[0].propertyName, QStringLiteral("Color"));
        // Setters set Modified themselves; the notification does not.
        EXPECT_FALSE(label.Modified());
    }
}

TEST_F(LabelTest, NotifyChangeRefreshesOnlyWhilePaintingIsEnabled)
{
    editor.paintEnabled = false;
    label.NotifyChange(ckContent, 0, QStringLiteral("X1"));
    EXPECT_EQ(editor.contentDirtyCount, 1);
    EXPECT_TRUE(editor.refreshes.empty());

    label.SetEditor(nullptr);
    label.BackSurf().SetBackDirty(false);
    label.NotifyChange(ckAll, 0, QStringLiteral("X1"));
    EXPECT_FALSE(label.BackSurf().BackDirty());
    EXPECT_EQ(editor.contentDirtyCount, 1);
}

TEST_F(LabelTest, ElementsAreNamedWithTheFirstFreeNumberOfTheirKind)
{
    auto* first = new TZVText(label);
    auto* second = new TZVText(label);
    auto* third = new TZVText(label);
    EXPECT_EQ(first->ID(), QStringLiteral("Text1"));
    EXPECT_EQ(second->ID(), QStringLiteral("Text2"));
    EXPECT_EQ(third->ID(), QStringLiteral("Text3"));

    ASSERT_TRUE(label.DeleteElement(second, false));
    EXPECT_EQ(label.NewId(QStringLiteral("Text"), ekText), QStringLiteral("Text2"));
    auto* again = new TZVText(label);
    EXPECT_EQ(again->ID(), QStringLiteral("Text2"));

    auto* line = new TZVLine(label);
    EXPECT_EQ(line->ID(), QStringLiteral("Line1"));
}

TEST_F(LabelTest, IdInUseIgnoresCase)
{
    new TZVText(label);
    EXPECT_TRUE(label.IdInUse(QStringLiteral("text1")));
    EXPECT_TRUE(label.IdInUse(QStringLiteral("TEXT1")));
    EXPECT_FALSE(label.IdInUse(QStringLiteral("Text2")));
}

TEST_F(LabelTest, NewIdNeverRepeatsAnIdHeldByAnotherKind)
{
    auto* line = new TZVLine(label);
    line->SetID(QStringLiteral("Text1"));
    EXPECT_EQ(label.NewId(QStringLiteral("Text"), ekText), QStringLiteral("Text2"));

    auto* text = new TZVText(label);
    EXPECT_EQ(text->ID(), QStringLiteral("Text2"));
}

TEST_F(LabelTest, DeleteElementTellsTheEditorAndClearsTheCurrentElement)
{
    auto* keep = new TZVLine(label);
    auto* doomed = new TZVLine(label);
    label.SetCurrentElement(doomed);
    editor.ResetRecord();
    label.SetModified(false);

    EXPECT_TRUE(label.DeleteElement(doomed, true));

    EXPECT_EQ(label.Elements(), QList<TZVElement*>{keep});
    EXPECT_EQ(label.CurrentElement(), nullptr);
    ASSERT_EQ(editor.removedFromSelection.size(), 1u);
    EXPECT_EQ(editor.removedFromSelection[0], doomed);
    EXPECT_GE(editor.selectionDirtyCount, 1);
    EXPECT_GE(editor.contentDirtyCount, 1);
    EXPECT_EQ(editor.refreshes.size(), 1u);
    EXPECT_TRUE(label.Modified());

    editor.ResetRecord();
    EXPECT_FALSE(label.DeleteElement(doomed, true));
    TZVLab other;
    auto* stranger = new TZVLine(other);
    EXPECT_FALSE(label.DeleteElement(stranger, false));
    EXPECT_TRUE(editor.removedFromSelection.empty());
    EXPECT_EQ(other.Elements().size(), 1);
}

TEST_F(LabelTest, DeletingAnElementDirectlyTakesItOffTheList)
{
    auto* line = new TZVLine(label);
    label.SetCurrentElement(line);
    editor.ResetRecord();

    delete line;

    EXPECT_TRUE(label.Elements().isEmpty());
    EXPECT_EQ(label.CurrentElement(), nullptr);
    ASSERT_EQ(editor.removedFromSelection.size(), 1u);
    EXPECT_EQ(editor.removedFromSelection[0], line);
}

TEST_F(LabelTest, ClearElementsEmptiesTheListAndTheSelection)
{
    QPointer<TZVElement> a = new TZVLine(label);
    QPointer<TZVElement> b = new TZVText(label);
    label.SetCurrentElement(b);
    editor.ResetRecord();

    label.ClearElements();

    EXPECT_TRUE(label.Elements().isEmpty());
    EXPECT_TRUE(a.isNull());
    EXPECT_TRUE(b.isNull());
    EXPECT_EQ(label.CurrentElement(), nullptr);
    EXPECT_EQ(editor.clearSelectionCount, 1);
    EXPECT_GE(editor.contentDirtyCount, 1);
    EXPECT_GE(editor.selectionDirtyCount, 1);
    EXPECT_EQ(editor.refreshes.size(), 1u);
}

TEST(LabelLifetime, TheLabelDestroysItsElements)
{
    QPointer<TZVElement> line;
    QPointer<TZVElement> text;
    {
        TZVLab label;
        line = new TZVLine(label);
        text = new TZVText(label);
    }
    EXPECT_TRUE(line.isNull());
    EXPECT_TRUE(text.isNull());
}

TEST_F(LabelTest, BringToFrontAndSendToBackReorderTheList)
{
    auto* a = new TZVLine(label);
    auto* b = new TZVLine(label);
    auto* c = new TZVLine(label);

    label.BringToFront(c);
    EXPECT_EQ(label.Elements(), (QList<TZVElement*>{c, a, b}));
    label.SendToBack(c);
    EXPECT_EQ(label.Elements(), (QList<TZVElement*>{a, b, c}));

    editor.ResetRecord();
    label.BringToFront(a);
    label.SendToBack(c);
    EXPECT_TRUE(editor.refreshes.empty()) << "moving to where it already is changes nothing";
}

TEST_F(LabelTest, EditElementGoesToTheInstalledElementEditor)
{
    struct Recorder : TZVElementEditor
    {
        TZVElement* edited = nullptr;
        void EditElement(TZVCustomLab&, TZVElement& element) override { edited = &element; }
    } recorder;
    auto* rect = new TZVRect(label);

    label.EditElement(); // nothing installed: nothing happens
    label.SetElementEditor(&recorder);
    label.EditElement(); // no current element
    EXPECT_EQ(recorder.edited, nullptr);
    label.SetCurrentElement(rect);
    label.EditElement();
    EXPECT_EQ(recorder.edited, rect);
}

TEST_F(LabelTest, TheLabelsDialogsGoToTheInstalledOnes)
{
    struct Recorder : TZVLabDialogs
    {
        std::vector<std::string> calls;
        void ShowLabelProperties(TZVCustomLab&, int page) override
        {
            calls.push_back("properties " + std::to_string(page));
        }
        void ShowLabelDefs(TZVCustomLab&) override { calls.push_back("definitions"); }
        void Preview(TZVCustomLab&) override { calls.push_back("preview"); }
    } recorder;

    // Nothing installed: a headless program has no dialogs and nothing happens.
    label.ShowLabelProperties(2);
    label.ShowLabelDefs();
    label.Preview();
    label.SetLabDialogs(&recorder);
    label.ShowLabelProperties(3);
    label.ShowLabelDefs();
    label.Preview();
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"properties 3", "definitions", "preview"}));
}

// ---- Data binding ----

class LabelDataTest : public LabelTest
{
protected:
    LabelDataTest()
    {
        customers = new TZVMemoryDataSet(&owner);
        customers->SetName(QStringLiteral("Customers"));
        customers->AddField(QStringLiteral("ID"), fkInteger);
        customers->AddField(QStringLiteral("NAME"), fkString);
        customers->AddField(QStringLiteral("PHOTO"), fkBlob);
        customers->AddField(QStringLiteral("SMALL"), fkSmallInt);
        customers->AddField(QStringLiteral("ACTIVE"), fkBoolean);
        customers->AddField(QStringLiteral("BIG"), fkLargeInt);
        customers->AddField(QStringLiteral("PRICE"), fkFloat);
        customers->AddField(QStringLiteral("SCAN"), fkGraphic);
        customers->AddField(QStringLiteral("BORN"), fkDate);
        customers->SetDisplayLabel(QStringLiteral("NAME"), QStringLiteral("Full name"));
        for (int i = 1; i <= 10; ++i)
            customers->AppendRecord({i, QStringLiteral("Customer %1").arg(i), QVariant(), i, i % 2 == 0,
                                     qint64(i) * 1000000000000LL, i * 1234.5, QVariant(), QDate(2024, 3, i)});
        customers->Open();
    }

    QObject owner;
    TZVMemoryDataSet* customers = nullptr;
};

TEST_F(LabelDataTest, OpenDataWithDataDisabledTouchesNothing)
{
    label.SetDataAccessType(daDataSet);
    label.SetDataSetName(QStringLiteral("Customers"));
    label.PrintInfo().SetPrintTo(50);
    auto* text = boundText(label, QStringLiteral("NOPE"));
    editor.ResetRecord();

    EXPECT_FALSE(label.OpenData(true, true));

    EXPECT_EQ(label.DataSet(), nullptr);
    EXPECT_EQ(label.PrintInfo().PrintTo(), 50);
    EXPECT_EQ(label.PrintInfo().NumLabels(), 1);
    EXPECT_TRUE(text->Data());
    EXPECT_EQ(editor.refreshInspectorCount, 0);
}

TEST_F(LabelDataTest, OpenDataChecksBoundFieldsFromTheLastElement)
{
    label.SetDataEnabled(true);
    label.SetDataSet(customers);
    auto* good = boundText(label, QStringLiteral("NAME"));
    auto* unbound = boundText(label, {});
    auto* wrongFirst = boundText(label, QStringLiteral("MISSING1"));
    auto* wrongLast = boundText(label, QStringLiteral("MISSING2"));

    EXPECT_EQ(errorText([&] { label.OpenData(false, true); }),
              QStringLiteral("INVALID FIELD NAME :MISSING2"));
    EXPECT_FALSE(wrongLast->Data());
    EXPECT_TRUE(wrongFirst->Data());

    EXPECT_EQ(errorText([&] { label.OpenData(false, true); }),
              QStringLiteral("INVALID FIELD NAME :MISSING1"));
    EXPECT_TRUE(unbound->Data()) << "comes after the failing element";

    editor.ResetRecord();
    EXPECT_TRUE(label.OpenData(false, true));
    EXPECT_FALSE(unbound->Data()) << "an empty field name switches the data off";
    EXPECT_TRUE(good->Data());
    EXPECT_EQ(editor.refreshInspectorCount, 1);
}

TEST_F(LabelDataTest, OpenDataLeavesBindingsAloneWhileTheDataSetIsClosed)
{
    label.SetDataEnabled(true);
    label.SetDataSet(customers);
    auto* text = boundText(label, QStringLiteral("NAME"));
    customers->Close();

    EXPECT_TRUE(label.OpenData(false, true));
    EXPECT_TRUE(text->Data());
}

TEST_F(LabelDataTest, NamesThatCannotBeResolvedYetAreKeptAndCheckedWhenTheDataOpens)
{
    struct Case
    {
        const char* name;
        TZVDataAccessType access;
        bool open; // while the name is given
        const char* given;
        const char* kept;
        const char* checked; // after the data opened
        const char* error; // nullptr: none
    };
    const Case cases[] = {
        {"no data access", daNone, true, "NAME", "NAME", "NAME", nullptr},
        {"a closed data set: its display label", daDataSet, false, "Full name", "Full name", "NAME", nullptr},
        {"an open data set translates at once", daDataSet, true, "Full name", "NAME", "NAME", nullptr},
        {"a label of no field", daDataSet, true, "Nope", "Nope", "Nope", "INVALID FIELD NAME :Nope"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab bound;
        bound.SetDataEnabled(true);
        bound.SetDataSet(customers);
        bound.SetDataAccessType(c.access);
        if (!c.open) customers->Close();
        const TZVText* text = boundText(bound, QString::fromLatin1(c.given));
        EXPECT_EQ(text->BoundField(), QString::fromLatin1(c.kept));
        customers->Open();
        EXPECT_EQ(errorText([&] { bound.OpenData(false, true); }),
                  c.error ? QString::fromLatin1(c.error) : QStringLiteral("(no error)"));
        EXPECT_EQ(text->BoundField(), QString::fromLatin1(c.checked));
        EXPECT_EQ(text->Data(), !c.error);
    }

    TZVLab unbound;
    unbound.SetDataAccessType(daNone);
    auto* table = new TZVTable(unbound);
    table->AddColumn().SetFieldName(QStringLiteral("NAME"));
    EXPECT_EQ(table->Column(0).BoundField(), QStringLiteral("NAME"));
}

TEST_F(LabelDataTest, DesignsBoundWhileTheDataWasClosedLoadWithTheirBindings)
{
    label.SetDataAccessType(daDataSet);
    label.SetDataEnabled(true);
    label.SetDataSet(customers);
    customers->Close();
    boundText(label, QStringLiteral("Full name"));
    boundText(label, QStringLiteral("Nope"));
    TZVMemoryStream stream;
    label.SaveToStream(stream);

    customers->Open();
    TZVLab reopened;
    reopened.SetDataSet(customers);
    QStringList messages;
    reopened.OnMessage = [&](QObject*, const QString& message) { messages.append(message); };
    TZVMemoryStream copy(stream.Bytes());
    reopened.LoadFromStream(copy);
    ASSERT_EQ(reopened.Elements().size(), 2);
    const auto* name = qobject_cast<const TZVText*>(reopened.Elements().at(0));
    const auto* nope = qobject_cast<const TZVText*>(reopened.Elements().at(1));
    EXPECT_EQ(name->BoundField(), QStringLiteral("NAME"));
    EXPECT_TRUE(name->Data());
    EXPECT_FALSE(nope->Data()) << "a wrong name is switched off and reported, the design stays whole";
    EXPECT_EQ(messages, QStringList{QStringLiteral("INVALID FIELD NAME :Nope")});
}

TEST_F(LabelDataTest, OpenDataFitsThePrintRangeToTheRecords)
{
    struct Case
    {
        const char* name;
        int printFrom;
        int printTo;
        int records;
        int expectedFrom;
        int expectedTo;
        int expectedLabels;
    };
    const Case cases[] = {
        {"to the end from the third", 3, 0, 10, 3, 0, 8},
        {"last record beyond the data", 1, 50, 10, 1, 10, 10},
        {"first record beyond the data", 20, 0, 10, 1, 0, 10},
        {"a range inside", 2, 5, 10, 2, 5, 4},
        {"empty data set prints nothing", 1, 0, 0, 1, 0, 0},
    };
    label.SetDataEnabled(true);
    label.SetDataSet(customers);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.records == 0) customers->ClearRecords();
        label.PrintInfo().SetPrintTo(c.printTo);
        label.PrintInfo().SetPrintFrom(c.printFrom);
        ASSERT_TRUE(label.OpenData(true, false));
        EXPECT_EQ(label.PrintInfo().PrintFrom(), c.expectedFrom);
        EXPECT_EQ(label.PrintInfo().PrintTo(), c.expectedTo);
        EXPECT_EQ(label.PrintInfo().NumLabels(), c.expectedLabels);
    }
}

TEST_F(LabelDataTest, OpenDataOpensTheDataSetsWhenAskedTo)
{
    TZVMemoryDataSet detail;
    detail.AddField(QStringLiteral("LINE"), fkInteger);
    customers->Close();
    label.SetDataEnabled(true);
    label.SetDataSet(customers);
    label.SetDetail(&detail);

    label.SetOpenCloseData(false);
    EXPECT_TRUE(label.OpenData(false, false));
    EXPECT_FALSE(customers->Active());

    label.SetOpenCloseData(true);
    EXPECT_TRUE(label.OpenData(false, false));
    EXPECT_TRUE(customers->Active());
    EXPECT_TRUE(detail.Active());
}

TEST_F(LabelDataTest, OpenDataReportsADataSetThatCannotOpen)
{
    customers->Close();
    customers->SetFilter(QStringLiteral("NOSUCHFIELD = 1"));
    label.SetDataEnabled(true);
    label.SetOpenCloseData(true);
    label.SetDataSet(customers);

    EXPECT_EQ(errorText([&] { label.OpenData(false, false); }), QStringLiteral("CAN'T OPEN DATASET"));
}

TEST_F(LabelDataTest, AnAliasTableWithoutItsConnectionCannotOpen)
{
    label.SetDataEnabled(true);
    label.SetOpenCloseData(true);
    label.SetDataAccessType(daBDEAlias);
    label.AliasTable().DatabaseName = QStringLiteral("no-such-alias");
    label.AliasTable().TableName = QStringLiteral("LABELS");

    EXPECT_EQ(errorText([&] { label.OpenData(false, false); }), QStringLiteral("CAN'T OPEN DATASET"));
    EXPECT_EQ(label.DataSet(), label.AliasDataSet());
}

TEST_F(LabelDataTest, ADestroyedDataSetKeepsItsNameForRelinking)
{
    QStringList assigned;
    label.OnAssignedDataSet = [&](QObject* sender, const QString& name) {
        EXPECT_EQ(sender, &label);
        assigned.append(name);
    };
    TZVDataSetRegistry registry;
    label.SetDataSetRegistry(&registry);
    auto* orders = new TZVMemoryDataSet;
    orders->SetName(QStringLiteral("Orders"));
    registry.Add(orders, QStringLiteral("DataModule"));

    label.SetDataSet(orders);
    delete orders;
    EXPECT_EQ(label.DataSet(), nullptr);
    EXPECT_EQ(label.DataSetName(), QStringLiteral("Orders"));

    auto* reborn = new TZVMemoryDataSet;
    reborn->SetName(QStringLiteral("Orders"));
    registry.Add(reborn, QStringLiteral("DataModule"));
    EXPECT_TRUE(label.LinkDataSetByName(QStringLiteral("orders"), false, false));
    EXPECT_EQ(label.DataSet(), reborn);
    EXPECT_EQ(assigned, (QStringList{QStringLiteral("Orders"), QStringLiteral("Orders")}));

    // With the module: the qualified name, and the bare name kept by designs, both find it.
    label.SetDataSet(nullptr);
    EXPECT_TRUE(label.DataSetName().isEmpty());
    EXPECT_TRUE(label.LinkDataSetByName(QStringLiteral("datamodule.ORDERS"), true, true));
    EXPECT_EQ(label.Detail(), reborn);
    EXPECT_EQ(label.DetailName(), QStringLiteral("Orders"));
    EXPECT_TRUE(label.LinkDataSetByName(QStringLiteral("Orders"), true, false));
    EXPECT_EQ(label.DataSet(), reborn);
    EXPECT_FALSE(label.LinkDataSetByName(QStringLiteral("Invoices"), false, false));
    delete reborn;
}

TEST_F(LabelDataTest, LinkDataSetByNameSearchesTheOwnerFirst)
{
    TZVLab owned(&owner);
    TZVDataSetRegistry registry;
    TZVMemoryDataSet impostor;
    impostor.SetName(QStringLiteral("Customers"));
    registry.Add(&impostor);
    owned.SetDataSetRegistry(&registry);

    EXPECT_TRUE(owned.LinkDataSetByName(QStringLiteral("CUSTOMERS"), false, false));
    EXPECT_EQ(owned.DataSet(), customers);
}

TEST_F(LabelDataTest, OpenDataFindsTheDataSetByItsKeptName)
{
    TZVDataSetRegistry registry;
    registry.Add(customers, QStringLiteral("Module"));
    label.SetDataSetRegistry(&registry);
    label.SetDataEnabled(true);
    label.SetDataAccessType(daDataSet);
    label.SetDataSetName(QStringLiteral("Customers"));

    EXPECT_TRUE(label.OpenData(false, false));
    EXPECT_EQ(label.DataSet(), customers);
}

TEST_F(LabelDataTest, FieldLabelsFilterByKind)
{
    struct Case
    {
        const char* name;
        bool binaryOnly;
        bool noBinary;
        bool integersOnly;
        QStringList expected;
    };
    const Case cases[] = {
        {"all",
         false,
         false,
         false,
         {"ID", "Full name", "PHOTO", "SMALL", "ACTIVE", "BIG", "PRICE", "SCAN", "BORN"}},
        {"binary only", true, false, false, {"PHOTO", "SCAN"}},
        {"no binary", false, true, false, {"ID", "Full name", "SMALL", "ACTIVE", "BIG", "PRICE", "BORN"}},
        {"integers only", false, false, true, {"ID", "SMALL", "ACTIVE"}},
        {"integers only overrides binary only", true, false, true, {"ID", "SMALL", "ACTIVE"}},
    };
    label.SetDataEnabled(true);
    label.SetDataSet(customers);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList list{QStringLiteral("stale")};
        label.FieldLabels(list, c.binaryOnly, c.noBinary, c.integersOnly);
        EXPECT_EQ(list, c.expected);
    }

    label.SetDataEnabled(false);
    QStringList list{QStringLiteral("stale")};
    label.FieldLabels(list, false, false, false);
    EXPECT_TRUE(list.isEmpty());
}

TEST_F(LabelDataTest, FieldNamesAndDisplayLabelsTranslate)
{
    label.SetDataEnabled(true);
    label.SetDataSet(customers);
    label.SetDetail(customers);

    label.SetDataAccessType(daDataSet);
    EXPECT_EQ(label.FieldNameOfLabel(QStringLiteral("full NAME")), QStringLiteral("NAME"));
    EXPECT_EQ(label.FieldNameOfLabel(QStringLiteral("Unknown")), QString());
    EXPECT_EQ(label.DetailFieldNameOfLabel(QStringLiteral("Full name")), QStringLiteral("NAME"));
    EXPECT_EQ(label.LabelOfFieldName(QStringLiteral("name")), QStringLiteral("Full name"));
    EXPECT_EQ(label.LabelOfFieldName(QStringLiteral("nope")), QStringLiteral("-"));
    EXPECT_EQ(label.DetailLabelOfFieldName(QStringLiteral("NAME")), QStringLiteral("Full name"));
    EXPECT_EQ(label.DetailLabelOfFieldName(QStringLiteral("nope")), QStringLiteral("-"));
    EXPECT_EQ(label.DetailLabelOfFieldName(QString()), QString());

    label.SetDataAccessType(daBDEAlias);
    EXPECT_EQ(label.FieldNameOfLabel(QStringLiteral("Full name")), QStringLiteral("Full name"));
    EXPECT_EQ(label.LabelOfFieldName(QStringLiteral("NAME")), QStringLiteral("Full name"));
    EXPECT_EQ(label.DetailLabelOfFieldName(QStringLiteral("nope")), QStringLiteral("nope"));

    label.SetDataEnabled(false);
    EXPECT_EQ(label.LabelOfFieldName(QStringLiteral("NAME")), QStringLiteral("-"));
    EXPECT_EQ(label.DetailLabelOfFieldName(QStringLiteral("NAME")), QStringLiteral("-"));

    label.SetDataAccessType(daNone);
    EXPECT_EQ(label.FieldNameOfLabel(QStringLiteral("Full name")), QString())
        << "nothing binds without access";

    label.SetDataSet(nullptr);
    label.SetDataAccessType(daDataSet);
    EXPECT_EQ(label.FieldNameOfLabel(QStringLiteral("Full name")), QStringLiteral("Full name"));
}

TEST_F(LabelDataTest, FieldTextFormatsByFieldKind)
{
    struct Case
    {
        const char* name;
        const char* field;
        const char* format;
        bool dateFormat;
        const char* expected;
    };
    const Case cases[] = {
        {"integer with thousands", "BIG", "#,##0", false, "3,000,000,000,000"},
        {"float with decimals", "PRICE", "#,##0.00", false, "3,703.50"},
        {"small integer padded", "SMALL", "000", false, "003"},
        {"date with a date format", "BORN", "dd-mm-yyyy", false, "03-03-2024"},
        {"number read as a date", "ID", "dd/mm/yyyy", true, "02/01/1900"},
        {"text ignores the format", "NAME", "0.00", false, "Customer 3"},
        {"boolean converts as a value", "ACTIVE", "0", false, "False"},
        {"no format converts as a value", "PRICE", "", false, "3703.5"},
        {"null gives nothing", "PHOTO", "0", false, ""},
    };
    label.SetDataSet(customers);
    customers->First();
    customers->MoveBy(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(label.FieldText(QString::fromLatin1(c.field), QString::fromLatin1(c.format), c.dateFormat),
                  QString::fromLatin1(c.expected));
    }
    EXPECT_EQ(errorText([&] { label.FieldText(QStringLiteral("NOPE"), {}, false); }),
              QStringLiteral("INVALID FIELD NAME :NOPE"));
}

TEST(LabelAliases, AliasNameOfCaptionMatchesWithoutCase)
{
    TZVLab label;
    TZVAliasItem shop{QStringLiteral("shopdb"), QStringLiteral("Shop"), {}};
    TZVAliasItem stock{QStringLiteral("stockdb"), QStringLiteral("Stock"), {}};
    label.SetBDEAlias({shop, stock});
    EXPECT_EQ(label.AliasNameOfCaption(QStringLiteral("STOCK")), QStringLiteral("stockdb"));
    EXPECT_EQ(label.AliasNameOfCaption(QStringLiteral("Other")), QStringLiteral("Other"));

    TZVTableItem table;
    EXPECT_EQ(table.DisplayName(), QStringLiteral("TZVTableItem"));
    table.SetTableName(QStringLiteral("LABELS"));
    table.SetTableName(QStringLiteral("PRINTERS"));
    EXPECT_EQ(table.Caption, QStringLiteral("LABELS")) << "only an empty caption follows the name";
    EXPECT_EQ(TZVAliasItem{}.DisplayName(), QStringLiteral("TZVAliasItem"));
}
