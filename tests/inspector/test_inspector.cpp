// Inspector rows and geometry: the common class of a selection, property order and kinds, values,
// captions, split position, repaint delay, row height and scrolling.
#include "InspectorTestSupport.h"

#include "elements/ZVBarCode.h"
#include "elements/ZVImage.h"
#include "elements/ZVLineRect.h"
#include "elements/ZVParagraph.h"
#include "elements/ZVSymbol.h"
#include "elements/ZVTable.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVStrings.h"

#include <QFile>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTemporaryDir>

namespace zorvel::test {
namespace {

QStringList names(const QList<QMetaProperty>& properties)
{
    QStringList list;
    for (const QMetaProperty& p : properties)
        list.append(QString::fromLatin1(p.name()));
    return list;
}

QStringList rowNames(const TZVCustomInspector& inspector)
{
    QStringList list;
    for (const TZvProp& row : inspector.Rows())
        list.append(row.Name);
    return list;
}

// A class that publishes a property of its base again.
class Republisher : public TestGauge
{
    Q_OBJECT
    Q_PROPERTY(int Level READ Level WRITE SetLevel)
    Q_PROPERTY(bool Extra READ Extra)

public:
    using TestGauge::TestGauge;
    bool Extra() const { return true; }
};

TEST(InspectorReflection, TextPropertiesInheritedFirstInDeclarationOrder)
{
    const QStringList expected{
        "X1",       "Y1",          "Color",     "Print",      "BackColor", "Transparent", "FieldName", "Data",
        "FontHeight", "FontName",  "Separation", "Bold",      "Underline", "Italic",      "Text",      "DisplayFormat",
        "Template",  "TextAlign", "Angle",      "GapX",      "GapY",       "Shadow",    "ShadowColor", "ID",        "ShowBorder",
        "BorderColor", "BorderRadio", "PenWidth", "PaddingX", "PaddingY"};
    EXPECT_EQ(names(PublishedProperties(TZVText::staticMetaObject)), expected);
}

TEST(InspectorReflection, PropertyPublishedAgainKeepsItsInheritedPlace)
{
    const QList<QMetaProperty> list = PublishedProperties(Republisher::staticMetaObject);
    const QStringList all = names(list);
    EXPECT_EQ(all.count("Level"), 1);
    EXPECT_EQ(all.indexOf("Level"), all.indexOf("Ratio") + 1);
    EXPECT_EQ(all.last(), "Extra");
    // Read and written through the newer declaration.
    EXPECT_STREQ(list[all.indexOf("Level")].enclosingMetaObject()->className(),
                 Republisher::staticMetaObject.className());
}

TEST(InspectorReflection, CommonClassOfMixedSelections)
{
    ensureApplication<QApplication>();
    TZVLab label;
    auto make = [&](int kind) { return label.CreateElement(kind); };
    struct Case
    {
        const char* name;
        QList<TZVElement*> elements;
        const QMetaObject* expected;
    };
    TZVElement* text = make(ekText);
    const Case cases[] = {
        {"one text", {text}, &TZVText::staticMetaObject},
        {"two texts", {text, make(ekText)}, &TZVText::staticMetaObject},
        {"text and asked text", {text, make(ekAskText)}, &TZVShadowDataText::staticMetaObject},
        {"text and paragraph", {text, make(ekParagraph)}, &TZVDataText::staticMetaObject},
        {"line and rectangle", {make(ekLine), make(ekRect)}, &TZVBase1D::staticMetaObject},
        {"rectangle and table", {make(ekRect), make(ekTable)}, &TZVBaseEx2D::staticMetaObject},
        {"bar code, symbol, image", {make(ekBarCode), make(ekSymbol), make(ekImage)}, &TZVData::staticMetaObject},
        {"rectangle, text, line", {make(ekRect), text, make(ekLine)}, &TZVBase1D::staticMetaObject},
        {"nothing", {}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CommonElementClass(c.elements), c.expected);
    }
}

TEST(InspectorReflection, RowKindsByTypeAndName)
{
    struct Case
    {
        const QMetaObject* cls;
        const char* property;
        TZVPropKind kind;
    };
    const Case cases[] = {
        {&TZVText::staticMetaObject, "Print", pkBoolean},
        {&TZVText::staticMetaObject, "ID", pkString},
        {&TZVText::staticMetaObject, "DisplayFormat", pkString},
        {&TZVText::staticMetaObject, "X1", pkFloat},
        {&TZVText::staticMetaObject, "Color", pkColor},
        {&TZVText::staticMetaObject, "ShadowColor", pkColor},
        {&TZVText::staticMetaObject, "Text", pkWideText},
        {&TZVParagraph::staticMetaObject, "Text", pkParagraphText},
        {&TZVText::staticMetaObject, "FontName", pkFontName},
        {&TZVText::staticMetaObject, "FieldName", pkFieldName},
        {&TZVText::staticMetaObject, "Angle", pkAngle},
        {&TZVText::staticMetaObject, "TextAlign", pkTextAlign},
        {&TZVParagraph::staticMetaObject, "Alignment", pkTextFormat},
        {&TZVBarCode::staticMetaObject, "Factor", pkFactor},
        {&TZVBarCode::staticMetaObject, "CodeType", pkEnum},
        {&TZVTable::staticMetaObject, "GridStyle", pkEnum},
        {&TZVSymbol::staticMetaObject, "Character", pkChar},
        {&TZVImage::staticMetaObject, "FileImage", pkFileImage},
        {&TZVTable::staticMetaObject, "EditTable", pkEditTable},
        {&TZVAskText::staticMetaObject, "Question", pkWideText},
        {&TZVAskText::staticMetaObject, "Answer", pkWideText},
        {&TZVAddText::staticMetaObject, "Before", pkWideText},
        {&TZVAddText::staticMetaObject, "After", pkWideText},
        {&TestGauge::staticMetaObject, "RowCount", pkCount},
        {&TestGauge::staticMetaObject, "Ratio", pkRatio},
        {&TestGauge::staticMetaObject, "Level", pkInteger},
        {&TestGauge::staticMetaObject, "Code", pkCode},
        {&TestGauge::staticMetaObject, "EditPoly", pkEditPoly},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.property);
        const QMetaProperty property = c.cls->property(c.cls->indexOfProperty(c.property));
        EXPECT_EQ(PropertyKindOf(*c.cls, property), c.kind);
    }
    const QMetaProperty spot = TestGauge::staticMetaObject.property(TestGauge::staticMetaObject.indexOfProperty("Spot"));
    EXPECT_FALSE(PropertyKindOf(TestGauge::staticMetaObject, spot).has_value());
}

TEST(InspectorReflection, NumbersWithGroupsTwoDecimalsAndUnit)
{
    ensureApplication<QApplication>();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(FormatInspectorNumber(0, " mm"), "0.00 mm");
    EXPECT_EQ(FormatInspectorNumber(1234.5, " inch"), "1,234.50 inch");
    EXPECT_EQ(FormatInspectorNumber(1234567.891), "1,234,567.89");
    EXPECT_EQ(FormatInspectorNumber(-1.5, " cm"), "-1.50 cm");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatInspectorNumber(1234.5, " mm"), "1.234,50 mm");
    QLocale::setDefault(QLocale::c());
}

// ---- Rows of a selection ----

using InspectorRows = InspectorFixture;

TEST_F(InspectorRows, TextAndAskedTextListTheirCommonAncestorWithTheFirstValues)
{
    auto* text = add<TZVText>(ekText);
    auto* ask = add<TZVAskText>(ekAskText);
    text->SetText("first");
    ask->SetText("second");
    text->SetX1(12.5f);
    select({text, ask});
    EXPECT_EQ(rowNames(*inspector), names(PublishedProperties(TZVShadowDataText::staticMetaObject)));
    EXPECT_EQ(inspector->FindRow("ID"), -1);
    EXPECT_EQ(inspector->FindRow("Question"), -1);
    EXPECT_EQ(prop("Text").Value, QVariant("first"));
    EXPECT_EQ(prop("X1").Value.toDouble(), 12.5);
    EXPECT_EQ(inspector->ItemIndex(), -1);
    EXPECT_EQ(inspector->InplaceEditor(), nullptr);
}

TEST_F(InspectorRows, ValuesAreReadInTheirKindsForms)
{
    auto* text = add<TZVText>(ekText);
    text->SetColor(0x00FF8040);
    text->SetPrint(false);
    text->SetTextAlign(taCeCe);
    text->SetFontName("Courier New");
    select({text});
    EXPECT_EQ(prop("Color").Value, QVariant::fromValue<uint>(0x00FF8040));
    EXPECT_EQ(prop("Print").Value, QVariant(false));
    EXPECT_EQ(prop("TextAlign").Value, QVariant(int(taCeCe)));
    EXPECT_EQ(prop("Text").Value, QVariant("text"));
    EXPECT_EQ(prop("X1").CaptionIndex, 8);
    EXPECT_EQ(inspector->TextFontName(), "Courier New");

    auto* symbol = add<TZVSymbol>(ekSymbol);
    symbol->SetCharacter(QChar(u'A'));
    select({symbol});
    EXPECT_EQ(prop("Character").Value, QVariant(int('A')));
}

TEST_F(InspectorRows, NoSelectionOrNoEditorListsNothing)
{
    auto* text = add<TZVText>(ekText);
    select({text});
    ASSERT_FALSE(inspector->Rows().isEmpty());
    select({});
    EXPECT_TRUE(inspector->Rows().isEmpty());

    select({text});
    editor->SetInspector(nullptr);
    inspector->UpdateSelection();
    EXPECT_TRUE(inspector->Rows().isEmpty());
}

TEST_F(InspectorRows, MovedToAnotherEditorItServesThatOneAlone)
{
    select({add(ekLine)});
    TZVLab otherLabel;
    TZVElement* text = otherLabel.CreateElement(ekText);
    auto second = std::make_unique<TZVEditor>();
    second->SetZorvel(&otherLabel);
    second->AddToSelection(text);

    second->SetInspector(inspector);
    EXPECT_EQ(editor->Inspector(), nullptr);
    EXPECT_EQ(inspector->Editor(), second.get());
    EXPECT_GE(inspector->FindRow("Text"), 0) << "the rows of the new editor's selection";
    delete editor;
    editor = nullptr;
    EXPECT_EQ(inspector->Editor(), second.get());
    inspector->UpdateSelection();
    EXPECT_GE(inspector->FindRow("Text"), 0);
}

TEST_F(InspectorRows, UpdatePropertyRereadsOneRowIgnoringCase)
{
    auto* text = add<TZVText>(ekText);
    select({text});
    text->SetID("renamed");
    inspector->UpdateProperty("id");
    EXPECT_EQ(prop("ID").Value, QVariant("renamed"));
    inspector->UpdateProperty("NoSuchProperty");
    EXPECT_EQ(prop("ID").Value, QVariant("renamed"));
}

TEST_F(InspectorRows, CaptionsFollowLanguageUnlessATranslationIsLoaded)
{
    EXPECT_EQ(inspector->Caption("BackColor"), "Back Color");
    inspector->SetLanguage(zvSpanish);
    EXPECT_EQ(inspector->Caption("BackColor"), "Color Fondo");
    EXPECT_EQ(inspector->Caption("Spot"), "Not Found");

    QTemporaryDir dir;
    const QString path = dir.filePath("captions.ini");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[inspector]\nZVIBackColor=Fond\n");
    file.close();
    inspector->SetIniTranslate(path);
    EXPECT_TRUE(inspector->TranslationLoaded());
    EXPECT_EQ(inspector->Caption("BackColor"), "Fond");
    EXPECT_EQ(inspector->Caption("Color"), "Color"); // English when the file has no key
    inspector->SetIniTranslate({});
    EXPECT_FALSE(inspector->TranslationLoaded());
    EXPECT_EQ(inspector->Caption("BackColor"), "Color Fondo");
    ResetCustomCaptions();
}

// ---- Settings and geometry ----

TEST_F(InspectorRows, SplitPosStaysThirtyPixelsFromEitherEdge)
{
    inspector->resize(200, inspector->height());
    ASSERT_EQ(inspector->ClientWidth(), 200);
    const struct
    {
        int set, stored;
    } cases[] = {{10, 30}, {190, 170}, {30, 30}, {170, 170}, {100, 100}, {-5, 30}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.set);
        inspector->SetSplitPos(c.set);
        EXPECT_EQ(inspector->SplitPos(), c.stored);
    }
    // Narrowing the control clamps the split again.
    inspector->SetSplitPos(170);
    inspector->resize(150, inspector->height());
    EXPECT_EQ(inspector->SplitPos(), 120);
}

TEST_F(InspectorRows, TimeRefreshIsClampedToTwoSeconds)
{
    const struct
    {
        int set, stored;
    } cases[] = {{5000, 2000}, {-1, 0}, {250, 250}, {2000, 2000}, {0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.set);
        inspector->SetTimeRefresh(c.set);
        EXPECT_EQ(inspector->TimeRefresh(), c.stored);
    }
}

TEST_F(InspectorRows, RowHeightIsTextHeightPlusThreeButAtLeast26)
{
    EXPECT_EQ(inspector->RowHeight(), 26);
    QFont big = inspector->font();
    int pixels = 10;
    for (big.setPixelSize(pixels); QFontMetrics(big).height() < 30; big.setPixelSize(++pixels)) {
    }
    ASSERT_EQ(QFontMetrics(big).height(), 30) << "no pixel size gives a text height of 30";
    inspector->setFont(big);
    EXPECT_EQ(inspector->RowHeight(), 33);
    EXPECT_EQ(inspector->VisibleRows(), 208 / 33);
}

TEST_F(InspectorRows, CellsOfAScreenRow)
{
    auto* text = add<TZVText>(ekText);
    select({text});
    inspector->SetSplitPos(100);
    EXPECT_EQ(inspector->NameCell(2), QRect(0, 52, 98, 26));
    EXPECT_EQ(inspector->ValueCell(2), QRect(102, 52, inspector->ClientWidth() - 102, 25));
}

TEST_F(InspectorRows, ScrollRangeLeavesOneSpareRow)
{
    auto* text = add<TZVText>(ekText);
    select({text});
    const int rows = int(inspector->Rows().size());
    ASSERT_EQ(inspector->VisibleRows(), 8);
    EXPECT_EQ(inspector->MaxTop(), rows - 8 + 1);
    EXPECT_EQ(inspector->verticalScrollBar()->maximum(), rows - 7);

    auto* line = add<TZVLine>(ekLine);
    select({line});
    ASSERT_EQ(inspector->Rows().size(), 8);
    EXPECT_EQ(inspector->MaxTop(), 1);
    inspector->resize(inspector->width(), 10 * 26);
    EXPECT_EQ(inspector->MaxTop(), 0);
    EXPECT_EQ(inspector->TopRow(), 0);
}

} // namespace
} // namespace zorvel::test

#include "test_inspector.moc"
