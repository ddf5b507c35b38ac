// The element base: kind registry, default names, the setter protocol, editor placement and the base record.
#include "ElementTestSupport.h"
#include "document/ZVBackSurf.h"
#include "document/ZVElementRegistry.h"
#include "elements/ZVImage.h"
#include "elements/ZVLineRect.h"
#include "elements/ZVSymbol.h"
#include "foundation/ZVStream.h"

#include <functional>

using namespace zorvel;
using namespace zorvel::test;

namespace {

// A rectangle whose painted bounds a test can set, as a screen paint would.
class PaintedRect : public TZVRect
{
public:
    using TZVRect::TZVRect;
    void SetPaintedBounds(const TRect& model) { m_modelRect = model; }
};

TRect ModelBox(const TZVElement& e)
{
    return {e.X1(), e.Y1(), e.X2(), e.Y2()};
}

// Puts an element on a box and gives it an anchoring, as a stream would.
void SetBoxAnchored(TZVElement& e, const TRect& box)
{
    RecordingVisitor reader(kStreamVersion, true);
    reader.numbers = {
        {"X1", box.Left}, {"Y1", box.Top}, {"X2", box.Right}, {"Y2", box.Bottom}, {"AnchorPos", 5}};
    e.VisitFields(reader);
}

} // namespace

TEST(ElementKinds, RegistryCreatesEveryKindOnTheLabel)
{
    struct Case
    {
        int kind;
        const char* firstId;
        int handleKind;
    };
    // The kind numbers, name stems and handle styles of the element kind table.
    const Case cases[] = {
        {1, "Line1", 1},    {2, "Text1", 0},  {3, "Barcode1", 0},   {4, "Rectangle1", 3}, {5, "Symbol1", 0},
        {6, "AddText1", 0}, {7, "Image1", 3}, {8, "Paragraph1", 3}, {9, "Table1", 3},     {10, "AskText1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.firstId);
        TZVLab label;
        TZVElement* element = CreateElementOfKind(label, c.kind);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(element->ElementKind(), c.kind);
        EXPECT_EQ(element->HandleKind(), c.handleKind);
        EXPECT_EQ(element->ID(), QString::fromLatin1(c.firstId));
        ASSERT_EQ(label.Elements().size(), 1);
        EXPECT_EQ(label.Elements().front(), element);
    }
    TZVLab label;
    for (int unknown : {0, 11, -1, 255})
        EXPECT_EQ(CreateElementOfKind(label, unknown), nullptr) << unknown;
    EXPECT_TRUE(label.Elements().isEmpty());
}

// An application's own kind: the label reads it back through the registry, never knowing its class.
class StampRect final : public TZVRect
{
public:
    static constexpr int kKind = 200;
    using TZVRect::TZVRect;
    std::uint8_t ElementKind() const override { return kKind; }
};

TEST(ElementKinds, AKindRegisteredByTheApplicationComesBackFromAStream)
{
    RegisterElementKind(StampRect::kKind, [](TZVCustomLab& label) -> TZVElement* { return new StampRect(label); });
    TZVLab source;
    auto* stamp = new StampRect(source);
    SetBoxAnchored(*stamp, {100, 200, 900, 700});
    new TZVLine(source);
    TZVMemoryStream stream;
    source.SaveToStream(stream);

    TZVLab target;
    TZVMemoryStream copy(stream.Bytes());
    target.LoadFromStream(copy, false);
    RegisterElementKind(StampRect::kKind, nullptr);
    ASSERT_EQ(target.Elements().size(), 2);
    const auto* read = dynamic_cast<const StampRect*>(target.Elements().front());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(ModelBox(*read), (TRect{100, 200, 900, 700}));
    EXPECT_EQ(target.Elements().back()->ElementKind(), ekLine);
}

TEST(ElementNames, FirstFreeNumberOfTheKindIsTaken)
{
    TZVLab label;
    auto textId = [&] { return CreateElementOfKind(label, ekText)->ID(); };
    EXPECT_EQ(textId(), "Text1");
    EXPECT_EQ(textId(), "Text2");
    EXPECT_EQ(textId(), "Text3");

    // Kinds count separately.
    EXPECT_EQ((new TZVLine(label))->ID(), "Line1");
    EXPECT_EQ((new TZVRect(label))->ID(), "Rectangle1");

    TZVElement* second = label.Elements().at(1);
    ASSERT_EQ(second->ID(), "Text2");
    ASSERT_TRUE(label.DeleteElement(second, false));
    EXPECT_EQ(textId(), "Text2") << "the name of a deleted element is given again";
    EXPECT_EQ(textId(), "Text4");
}

TEST(ElementLifetime, DeletingAnElementTakesItOffTheList)
{
    TZVLab label;
    auto* line = new TZVLine(label);
    auto* rect = new TZVRect(label);
    ASSERT_EQ(label.Elements().size(), 2);
    delete line;
    ASSERT_EQ(label.Elements().size(), 1);
    EXPECT_EQ(label.Elements().front(), rect);
}

TEST(ElementDefaults, NewElementIsPrintedTransparentUnlockedAndBorderless)
{
    TZVLab label;
    const TZVSymbol symbol(label);
    EXPECT_EQ(symbol.PenWidth(), 10);
    EXPECT_EQ(symbol.BackColor(), 0xFFFFFFu);
    EXPECT_EQ(symbol.BorderColor(), 255u);
    EXPECT_EQ(symbol.Color(), 0u);
    EXPECT_TRUE(symbol.Transparent());
    EXPECT_TRUE(symbol.Print());
    EXPECT_FALSE(symbol.ShowBorder());
    EXPECT_FALSE(symbol.Locked());
    EXPECT_EQ(symbol.AnchorPos(), 14);
    EXPECT_EQ(symbol.FontHeight(), 500);
    EXPECT_EQ(symbol.FontName(), "Arial");
    EXPECT_FALSE(symbol.Data());
}

// ---- the setter protocol ----

TEST_F(ElementTest, SettersNotifyTheLayerOfTheirSelectionState)
{
    struct Case
    {
        const char* property;
        std::function<void(TZVSymbol&)> set;
    };
    const Case cases[] = {
        {"BackColor", [](TZVSymbol& s) { s.SetBackColor(0x123456); }},
        {"Color", [](TZVSymbol& s) { s.SetColor(0x00FF00); }},
        {"BorderColor", [](TZVSymbol& s) { s.SetBorderColor(0); }},
        {"Angle", [](TZVSymbol& s) { s.SetAngle(90); }},
        {"Transparent", [](TZVSymbol& s) { s.SetTransparent(false); }},
        {"ShowBorder", [](TZVSymbol& s) { s.SetShowBorder(true); }},
        {"X1", [](TZVSymbol& s) { s.SetX1(1.5f); }},
        {"Y1", [](TZVSymbol& s) { s.SetY1(1.5f); }},
        {"X2", [](TZVSymbol& s) { s.SetX2(1.5f); }},
        {"Y2", [](TZVSymbol& s) { s.SetY2(1.5f); }},
        {"PenWidth", [](TZVSymbol& s) { s.SetPenWidth(0.5f); }},
        {"FontHeight", [](TZVSymbol& s) { s.SetFontHeight(7.5f); }},
        {"FontName", [](TZVSymbol& s) { s.SetFontName("Courier New"); }},
        {"Data", [](TZVSymbol& s) { s.SetData(true); }},
    };
    for (const Case& c : cases) {
        for (const bool selected : {false, true}) {
            SCOPED_TRACE(std::string(c.property) + (selected ? " selected" : " not selected"));
            TZVSymbol symbol(label);
            symbol.SetSelected(selected);
            Forget();
            c.set(symbol);
            EXPECT_EQ(editor.contentDirtyCount, selected ? 0 : 1);
            EXPECT_EQ(editor.selectionDirtyCount, selected ? 1 : 0);
            ASSERT_EQ(editor.refreshes.size(), 1u);
            EXPECT_EQ(editor.LastRefreshedName(), c.property);
            EXPECT_TRUE(label.Modified());
        }
    }
}

TEST_F(ElementTest, SetterExceptionsToTheProtocol)
{
    struct Case
    {
        const char* name;
        std::function<void(TZVSymbol&)> prepare;
        std::function<void(TZVSymbol&)> act;
        const char* refreshed; // null: the editor is not refreshed
        bool modified;
    };
    const auto none = [](TZVSymbol&) {};
    const auto withBorder = [](TZVSymbol& s) { s.SetShowBorder(true); };
    const Case cases[] = {
        {"an unchanged colour is ignored", none, [](TZVSymbol& s) { s.SetColor(0); }, nullptr, false},
        {"an unchanged X1 still notifies", none, [](TZVSymbol& s) { s.SetX1(0); }, "X1", true},
        {"an unchanged Y2 still notifies", none, [](TZVSymbol& s) { s.SetY2(0); }, "Y2", true},
        {"an unchanged pen width still notifies", none, [](TZVSymbol& s) { s.SetPenWidth(0.1f); }, "PenWidth",
         true},
        {"an unchanged font height still notifies", none, [](TZVSymbol& s) { s.SetFontHeight(5); },
         "FontHeight", true},
        {"Print marks modified without a refresh", none, [](TZVSymbol& s) { s.SetPrint(false); }, nullptr,
         true},
        {"Locked refreshes but is no edit", none, [](TZVSymbol& s) { s.SetLocked(true); }, "Locked", false},
        {"an unchanged Locked is ignored", none, [](TZVSymbol& s) { s.SetLocked(false); }, nullptr, false},
        {"padding without a border is not shown", none, [](TZVSymbol& s) { s.SetPaddingX(1); }, nullptr,
         true},
        {"padding with a border is shown", withBorder, [](TZVSymbol& s) { s.SetPaddingX(1); }, "PaddingX",
         true},
        {"vertical padding with a border", withBorder, [](TZVSymbol& s) { s.SetPaddingY(1); }, "PaddingY",
         true},
        {"radius without a border", none, [](TZVSymbol& s) { s.SetBorderRadio(2); }, nullptr, true},
        {"radius with a border", withBorder, [](TZVSymbol& s) { s.SetBorderRadio(2); }, "BorderRadio", true},
        {"the ID only stores", none, [](TZVSymbol& s) { s.SetID("Mark"); }, nullptr, false},
        {"an empty field name is ignored", none, [](TZVSymbol& s) { s.SetFieldName({}); }, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVSymbol symbol(label);
        c.prepare(symbol);
        Forget();
        c.act(symbol);
        if (c.refreshed) {
            ASSERT_EQ(editor.refreshes.size(), 1u);
            EXPECT_EQ(editor.LastRefreshedName(), c.refreshed);
        } else {
            EXPECT_TRUE(editor.refreshes.empty());
            EXPECT_EQ(editor.contentDirtyCount + editor.selectionDirtyCount, 0);
        }
        EXPECT_EQ(label.Modified(), c.modified);
    }
}

TEST_F(ElementTest, SettersStoreInModelUnitsOfTheLabelUnit)
{
    TZVSymbol symbol(label);
    symbol.SetPaddingX(-2.0f);
    EXPECT_EQ(symbol.PaddingX(), 0) << "padding is never negative";
    symbol.SetPaddingY(1.234f);
    EXPECT_EQ(symbol.PaddingY(), 123);
    symbol.SetPrint(false);
    EXPECT_FALSE(symbol.Print());
    symbol.SetID("Mark");
    EXPECT_EQ(symbol.ID(), "Mark");

    label.SetUnits(unINCH);
    symbol.SetX1(1.0f);
    EXPECT_EQ(symbol.X1(), 2540);
    EXPECT_FLOAT_EQ(symbol.GetX1(), 1.0f);
    symbol.SetFontHeight(0.5f);
    EXPECT_EQ(symbol.FontHeight(), 1270);
}

TEST(ElementSetters, WithoutAnEditorOnlyTheModifiedFlagIsSet)
{
    TZVLab label;
    TZVRect rect(label);
    rect.SetColor(0x0000FF);
    rect.SetX1(1);
    EXPECT_EQ(rect.Color(), 0x0000FFu);
    EXPECT_TRUE(label.Modified());
}

TEST_F(ElementTest, BoundFieldNameShowsOnlyWhileDataIsOn)
{
    TZVSymbol symbol(label);
    Forget();
    // The default data access keeps the name as given.
    symbol.SetFieldName("PRICE");
    EXPECT_EQ(symbol.BoundField(), "PRICE");
    EXPECT_EQ(editor.LastRefreshedName(), "FieldName");
    EXPECT_TRUE(label.Modified());
    EXPECT_EQ(symbol.FieldName(), "") << "not shown while Data is off";
    symbol.SetData(true);
    EXPECT_EQ(symbol.FieldName(), "-") << "no data set assigned";
}

// ---- editor placement ----

TEST_F(ElementTest, EndPointsAreSnappedThenClampedToTheLabel)
{
    struct Case
    {
        const char* name;
        TZVSnap snap;
        int grid;
        bool end;
        TPoint point;
        TRect expected; // from the box (1000, 1000)-(2000, 2000)
    };
    const Case cases[] = {
        {"negative end y becomes 0", snNone, 100, true, {1500, -50}, {1000, 1000, 1500, 0}},
        {"end beyond the label", snNone, 100, true, {7000, 4000}, {1000, 1000, 6000, 3500}},
        {"start beyond the left", snNone, 100, false, {-10, 1200}, {0, 1200, 2000, 2000}},
        {"grid snaps to the nearest step", snGrid, 100, true, {149, 150}, {1000, 1000, 100, 200}},
        // 5990 snaps to 6300 and 3480 to 3500 on a 7 mm grid.
        {"snapped beyond the label is clamped", snGrid, 700, false, {5990, 3480}, {6000, 3500, 2000, 2000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editor.snap = c.snap;
        editor.gridIncX = editor.gridIncY = c.grid;
        TZVRect rect(label);
        SetBoxAnchored(rect, {1000, 1000, 2000, 2000});
        Forget();
        if (c.end)
            rect.SetEndPoint(c.point.X, c.point.Y);
        else
            rect.SetStartPoint(c.point.X, c.point.Y);
        EXPECT_EQ(ModelBox(rect), c.expected);
        EXPECT_TRUE(label.Modified());
    }
}

TEST_F(ElementTest, PlacementFromADraggedBox)
{
    struct Case
    {
        const char* name;
        TRect dragged; // device pixels, 10 model units each
        bool keepInside;
        bool snap;
        TRect expected;
    };
    const Case cases[] = {
        {"inside", {100, 50, 200, 150}, true, false, {1000, 500, 2000, 1500}},
        {"partly out left lands flush at its size", {-20, 10, 80, 60}, true, false, {0, 100, 1000, 600}},
        {"partly out right and below", {550, 300, 650, 400}, true, false, {5000, 2500, 6000, 3500}},
        {"partly out above", {10, -30, 60, 20}, true, false, {100, 0, 600, 500}},
        {"left out when not kept inside", {-20, 10, 80, 60}, false, false, {-200, 100, 800, 600}},
        {"snapped to the 2.5 mm grid", {103, 52, 207, 149}, true, true, {1000, 500, 2000, 1500}},
        {"not snapped without the flag", {103, 52, 207, 149}, true, false, {1030, 520, 2070, 1490}},
    };
    editor.snap = snGrid;
    editor.gridIncX = editor.gridIncY = 250;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVRect rect(label);
        SetBoxAnchored(rect, {1, 1, 2, 2});
        Forget();
        rect.PlaceFromScreenRect(c.dragged, c.keepInside, c.snap);
        EXPECT_EQ(ModelBox(rect), c.expected);
        EXPECT_EQ(rect.AnchorPos(), TZVElement::kNotAnchored);
        EXPECT_TRUE(label.Modified());
    }
}

TEST_F(ElementTest, ScreenRectIsConvertedClampedAndSnapped)
{
    TZVRect rect(label);
    SetBoxAnchored(rect, {1, 1, 2, 2});
    Forget();
    rect.SetScreenRect({-10, 20, 700, 100});
    EXPECT_EQ(ModelBox(rect), (TRect{0, 200, 6000, 1000}));
    EXPECT_EQ(rect.ScreenRect(), (TRect{-10, 20, 700, 100}));
    EXPECT_EQ(rect.AnchorPos(), TZVElement::kNotAnchored);
    EXPECT_TRUE(label.Modified());

    // Halves round up, away from the grid line below.
    editor.snap = snGrid;
    editor.gridIncX = editor.gridIncY = 100;
    rect.SetScreenRect({105, 14, 125, 36});
    EXPECT_EQ(ModelBox(rect), (TRect{1100, 100, 1300, 400}));

    // An unchanged rectangle is no edit.
    SetBoxAnchored(rect, {1, 1, 2, 2});
    Forget();
    rect.SetScreenRect({105, 14, 125, 36});
    EXPECT_EQ(ModelBox(rect), (TRect{1, 1, 2, 2}));
    EXPECT_EQ(rect.AnchorPos(), 5);
    EXPECT_FALSE(label.Modified());
}

TEST_F(ElementTest, NudgingKeepsTheBoxOnTheLabel)
{
    struct Case
    {
        const char* name;
        int dx;
        int dy;
        TZVSnap snap;
        TRect expected; // from the box (1000, 1000)-(2000, 1500)
        bool anchorCleared;
    };
    const Case cases[] = {
        {"right", 100, 0, snNone, {1100, 1000, 2100, 1500}, true},
        {"past the left edge", -1500, 0, snNone, {0, 1000, 1000, 1500}, true},
        {"past the right edge", 4500, 0, snNone, {5000, 1000, 6000, 1500}, true},
        {"past the bottom", 0, 2500, snNone, {1000, 3000, 2000, 3500}, true},
        {"past the top", 0, -1200, snNone, {1000, 0, 2000, 500}, true},
        {"onto the 2.5 mm grid", 130, 0, snGrid, {1250, 1000, 2250, 1500}, true},
        {"no step", 0, 0, snNone, {1000, 1000, 2000, 1500}, false},
    };
    editor.gridIncX = editor.gridIncY = 250;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editor.snap = c.snap;
        TZVRect rect(label);
        SetBoxAnchored(rect, {1000, 1000, 2000, 1500});
        rect.MoveByStep(c.dx, c.dy);
        EXPECT_EQ(ModelBox(rect), c.expected);
        EXPECT_EQ(rect.AnchorPos() == TZVElement::kNotAnchored, c.anchorCleared);
    }
}

TEST_F(ElementTest, PastingOffsetIsInLabelUnitsAndUnclamped)
{
    TZVRect rect(label);
    SetBoxAnchored(rect, {1000, 1000, 2000, 1500});
    rect.MoveByFloat(-15.0f, 50.0f);
    EXPECT_EQ(ModelBox(rect), (TRect{-500, 6000, 500, 6500}));
}

TEST_F(ElementTest, AligningAnEdgeOntoAGuideOrATarget)
{
    struct Case
    {
        const char* name;
        int edge;
        TRect expected; // from the painted box (1000, 500)-(2000, 900)
        bool anchorCleared;
    };
    // Guides at x 15 mm and y 10 mm; target 25 mm.
    const Case cases[] = {
        {"left onto the vertical guide", 0, {1500, 500, 2500, 900}, false},
        {"top onto the horizontal guide", 1, {1000, 1000, 2000, 1400}, false},
        {"right onto the vertical guide moves left", 2, {500, 500, 1500, 900}, true},
        {"bottom onto the horizontal guide", 3, {1000, 600, 2000, 1000}, false},
        {"left onto the target", 4, {2500, 500, 3500, 900}, false},
        {"top onto the target", 5, {1000, 2500, 2000, 2900}, false},
        {"right onto the target", 6, {1500, 500, 2500, 900}, false},
        {"bottom onto the target", 7, {1000, 2100, 2000, 2500}, false},
    };
    label.BackSurf().SetGuideX(15.0f);
    label.BackSurf().SetGuideY(10.0f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PaintedRect rect(label);
        SetBoxAnchored(rect, {1000, 500, 2000, 900});
        rect.SetPaintedBounds({1000, 500, 2000, 900});
        Forget();
        rect.AlignToEdge(c.edge, 2500, false);
        EXPECT_EQ(ModelBox(rect), c.expected);
        EXPECT_EQ(rect.AnchorPos() == TZVElement::kNotAnchored, c.anchorCleared);
        EXPECT_TRUE(editor.refreshes.empty());
        EXPECT_TRUE(label.Modified());
    }

    PaintedRect rect(label);
    rect.SetPaintedBounds({1000, 500, 2000, 900});
    Forget();
    rect.AlignToEdge(0, 0, true);
    EXPECT_EQ(editor.selectionDirtyCount, 1);
    EXPECT_EQ(editor.refreshes.size(), 1u);
}

TEST_F(ElementTest, LockedElementAnswersOnlyAtItsMarker)
{
    struct Case
    {
        const char* name;
        TPoint point;
        bool unlocked;
        bool locked;
    };
    // Screen rectangle (100, 50)-(200, 150); right and bottom edges lie outside.
    const Case cases[] = {
        {"top-left corner", {100, 50}, true, true},
        {"last pixel of the marker", {107, 57}, true, true},
        {"right of the marker", {108, 50}, true, false},
        {"below the marker", {100, 58}, true, false},
        {"centre", {150, 100}, true, false},
        {"right edge", {200, 100}, false, false},
        {"left of the element", {99, 50}, false, false},
    };
    TZVSymbol symbol(label);
    symbol.SetScreenRect({100, 50, 200, 150});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        symbol.SetLocked(false);
        EXPECT_EQ(symbol.HitTest(c.point), c.unlocked);
        symbol.SetLocked(true);
        EXPECT_EQ(symbol.HitTest(c.point), c.locked);
    }
}

// ---- the base and data parts of the record ----

TEST(ElementRecord, BaseFieldsFollowTheLayoutVersion)
{
    struct Case
    {
        std::int32_t version;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {19,
         {"Color", "BackColor", "BorderColor", "Reserved", "ShowBorder", "Transparent", "Print", "PenWidth",
          "X1", "Y1", "X2", "Y2", "Angle", "Separation", "ID"}},
        {20,
         {"Color", "BackColor", "BorderColor", "Reserved", "ShowBorder", "Transparent", "Print", "PenWidth",
          "X1", "Y1", "X2", "Y2", "Angle", "Separation", "AnchorMargin", "AnchorPos", "ID"}},
        {2299,
         {"Color", "BackColor", "BorderColor", "Reserved", "ShowBorder", "Transparent", "Print", "PenWidth",
          "X1", "Y1", "X2", "Y2", "Angle", "Separation", "AnchorMargin", "AnchorPos", "ID"}},
        {2300,
         {"Color",        "BackColor", "BorderColor", "Reserved", "ShowBorder",  "Transparent", "Print",
          "PenWidth",     "X1",        "Y1",          "X2",       "Y2",          "Angle",       "Separation",
          "AnchorMargin", "AnchorPos", "PaddingX",    "PaddingY", "BorderRadio", "ID"}},
    };
    TZVLab label;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        TZVLine line(label);
        RecordingVisitor reader(c.version, true);
        line.VisitFields(reader);
        EXPECT_EQ(reader.names, c.names);
    }
    TZVLine line(label);
    RecordingVisitor writer(kStreamVersion, false);
    line.VisitFields(writer);
    EXPECT_EQ(writer.names, BaseFieldNames(kStreamVersion));
}

TEST(ElementRecord, DataPartFollowsTheBase)
{
    TZVLab label;
    for (const std::int32_t version : {18, 19, 2700}) {
        SCOPED_TRACE(version);
        TZVSymbol symbol(label);
        RecordingVisitor reader(version, true);
        symbol.VisitFields(reader);
        const auto base = BaseFieldNames(version);
        ASSERT_GT(reader.names.size(), base.size());
        const std::vector<std::string> data(reader.names.begin() + std::ptrdiff_t(base.size()),
                                            reader.names.begin() +
                                                std::ptrdiff_t(base.size() + 4 + (version > 18)));
        EXPECT_EQ(data, version > 18
                            ? (std::vector<std::string>{"FontName", "BoundField", "FontHeight", "Data",
                                                        "DataReserved"})
                            : (std::vector<std::string>{"FontName", "BoundField", "FontHeight", "Data"}));
    }
}

TEST(ElementRecord, OldLayoutsCountedTenthsOfAMillimetre)
{
    struct Case
    {
        std::int32_t version;
        int factor;
    };
    const Case cases[] = {{18, 10}, {19, 10}, {20, 1}, {2700, 1}};
    TZVLab label;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        TZVSymbol symbol(label);
        RecordingVisitor reader(c.version, true);
        reader.numbers = {{"PenWidth", 3},   {"X1", 10},    {"Y1", 20},         {"X2", 30},  {"Y2", 40},
                          {"Separation", 5}, {"Angle", 90}, {"FontHeight", 50}, {"Color", 7}};
        symbol.VisitFields(reader);
        EXPECT_EQ(symbol.PenWidth(), 3 * c.factor);
        EXPECT_EQ((TRect{symbol.X1(), symbol.Y1(), symbol.X2(), symbol.Y2()}),
                  (TRect{10 * c.factor, 20 * c.factor, 30 * c.factor, 40 * c.factor}));
        EXPECT_EQ(symbol.Separation(), 5 * c.factor);
        EXPECT_EQ(symbol.FontHeight(), 50 * c.factor);
        EXPECT_EQ(symbol.Angle(), 90) << "degrees are no length";
        EXPECT_EQ(symbol.Color(), 7u);
    }
}

TEST(ElementRecord, WrittenValuesAreReadBackUnchanged)
{
    TZVLab label;
    TZVSymbol source(label);
    source.SetColor(0x112233);
    source.SetBackColor(0x445566);
    source.SetBorderColor(0x778899);
    source.SetShowBorder(true);
    source.SetTransparent(false);
    source.SetPrint(false);
    source.SetPenWidth(0.25f);
    source.SetX1(1);
    source.SetY1(2);
    source.SetX2(3);
    source.SetY2(4);
    source.SetAngle(270);
    source.SetPaddingX(0.5f);
    source.SetPaddingY(0.75f);
    source.SetBorderRadio(1.5f);
    source.SetID("Mark");
    source.SetFontName("Courier New");
    source.SetFontHeight(3.5f);
    source.SetFieldName("PAID");
    source.SetData(true);
    RecordingVisitor writer(kStreamVersion, false);
    source.VisitFields(writer);
    EXPECT_EQ(writer.numbers.at("PenWidth"), 25);
    EXPECT_EQ(writer.numbers.at("X2"), 300);
    EXPECT_EQ(writer.strings.at("BoundField"), "PAID");

    TZVSymbol copy(label);
    RecordingVisitor reader(kStreamVersion, true);
    reader.numbers = writer.numbers;
    reader.strings = writer.strings;
    copy.VisitFields(reader);
    EXPECT_EQ(reader.names, writer.names);
    RecordingVisitor again(kStreamVersion, false);
    copy.VisitFields(again);
    EXPECT_EQ(again.numbers, writer.numbers);
    EXPECT_EQ(again.strings, writer.strings);
}

TEST(ElementRecord, ATemplateLoadDropsTheDataBinding)
{
    TZVLab source;
    auto* bound = new TZVSymbol(source);
    bound->SetFieldName("PAID");
    bound->SetData(true);
    TZVMemoryStream stream;
    source.SaveToStream(stream);
    for (const bool asTemplate : {false, true}) {
        SCOPED_TRACE(asTemplate ? "template" : "design");
        TZVLab target;
        TZVMemoryStream copy(stream.Bytes());
        target.LoadFromStream(copy, asTemplate);
        ASSERT_EQ(target.Elements().size(), 1);
        const auto* symbol = qobject_cast<const TZVSymbol*>(target.Elements().front());
        ASSERT_NE(symbol, nullptr);
        EXPECT_EQ(symbol->Data(), !asTemplate);
        EXPECT_EQ(symbol->BoundField(), "PAID");
    }
}
