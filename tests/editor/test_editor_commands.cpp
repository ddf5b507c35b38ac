// Editing commands of the editor: alignment, the private clipboard, deletion and stacking order.
#include "../support/TestApplication.h"
#include "editor/ZVBaseInspector.h"
#include "editor/ZVEditor.h"
#include "document/ZVCustomLab.h"
#include "elements/ZVLineRect.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVStream.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <vector>

namespace zorvel::test {
namespace {

class CountingInspector final : public TZVBaseInspector
{
public:
    void LabelChanged() override { ++labelChanged; }
    void UpdateProperty(const QString&) override { ++properties; }
    void UpdateSelection() override { ++selections; }

    int labelChanged = 0;
    int properties = 0;
    int selections = 0;
};

class EditorCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        label.Measure().SetWidth(100);
        label.Measure().SetHeight(60);
        editor.resize(700, 500);
        editor.SetZorvel(&label);
        editor.OnSelectChange = [this](QObject*) { ++selectChanges; };
    }

    // A rectangle from (x1, y1) to (x2, y2) in millimetres.
    TZVRect& box(float x1, float y1, float x2, float y2)
    {
        auto* rect = new TZVRect(label);
        rect->SetX1(x1);
        rect->SetY1(y1);
        rect->SetX2(x2);
        rect->SetY2(y2);
        return *rect;
    }

    void select(std::initializer_list<TZVElement*> elements)
    {
        editor.ClearSelection();
        for (TZVElement* element : elements) editor.AddToSelection(element);
        // Painting places every element on the surface (its model and screen rectangles).
        editor.Refresh(false);
        selectChanges = 0;
    }

    // Widgets need the application before they are made.
    bool m_application = (ensureApplication<QApplication>(), true);
    TZVLab label;
    TZVCustomEditor editor;
    int selectChanges = 0;
};

struct Corners
{
    int x1, y1, x2, y2;
    bool operator==(const Corners&) const = default;
};

Corners cornersOf(const TZVElement& e)
{
    return {e.X1(), e.Y1(), e.X2(), e.Y2()};
}

void PrintTo(const Corners& c, std::ostream* os)
{
    *os << "(" << c.x1 << ", " << c.y1 << ")-(" << c.x2 << ", " << c.y2 << ")";
}

TEST_F(EditorCommands, APasteWithoutAPlaceLandsTwoMillimetresFurtherInEveryUnit)
{
    struct Case
    {
        const char* name;
        TZVUnits units;
        int offset; // model units
    };
    const Case cases[] = {{"millimetres", unMM, 200}, {"inches", unINCH, 254}, {"centimetres", unCM, 200}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        label.ClearElements();
        label.SetUnits(unMM);
        TZVRect& original = box(10, 15, 30, 25);
        label.SetUnits(c.units);
        const Corners before = cornersOf(original);
        select({&original});
        editor.CopySelection();

        editor.PasteClipboard(0, 0);
        editor.PasteClipboard(0, 0);

        ASSERT_EQ(label.Elements().size(), 3);
        const Corners expected{before.x1 + c.offset, before.y1 + c.offset, before.x2 + c.offset,
                               before.y2 + c.offset};
        EXPECT_EQ(cornersOf(*label.Elements()[1]), expected);
        EXPECT_EQ(cornersOf(*label.Elements()[2]), expected) << "both copies lie on each other";
        EXPECT_EQ(cornersOf(original), before);
        EXPECT_FALSE(label.Elements()[1]->Selected()) << "pasted elements are not selected";
        EXPECT_EQ(editor.SelCount(), 1);
        EXPECT_TRUE(editor.HasClipboard()) << "the clipboard is kept for further pastes";
        EXPECT_FALSE(editor.FromCut());
    }
}

TEST_F(EditorCommands, CutThenPasteBringsTheElementsBackWhereTheyWere)
{
    TZVRect& a = box(10, 10, 30, 20);
    TZVRect& b = box(40, 5, 50, 50);
    const Corners ca = cornersOf(a), cb = cornersOf(b);
    const QString idA = a.ID(), idB = b.ID();
    select({&a, &b});

    editor.CutSelection();
    EXPECT_TRUE(label.Elements().isEmpty());
    EXPECT_TRUE(editor.FromCut());
    EXPECT_EQ(editor.SelCount(), 0);

    editor.PasteClipboard(0, 0);
    ASSERT_EQ(label.Elements().size(), 2);
    EXPECT_EQ(cornersOf(*label.Elements()[0]), ca);
    EXPECT_EQ(cornersOf(*label.Elements()[1]), cb);
    EXPECT_EQ(label.Elements()[0]->ID(), idA) << "names come back with the elements";
    EXPECT_EQ(label.Elements()[1]->ID(), idB);
}

TEST_F(EditorCommands, APasteAtAPointPutsEveryTopLeftCornerUnderItAtAnyZoom)
{
    TZVRect& a = box(10, 10, 30, 20);
    TZVLine* line = new TZVLine(label);
    line->SetX1(50);
    line->SetY1(40);
    line->SetX2(20); // drawn right to left
    line->SetY2(45);
    select({&a, line});
    editor.CopySelection();

    for (TZVZoom zoom : {zm50, zm100, zm400}) {
        SCOPED_TRACE(int(zoom));
        editor.SetZoom(zoom);
        const qsizetype before = label.Elements().size();
        editor.PasteClipboard(120, 80);
        ASSERT_EQ(label.Elements().size(), before + 2);
        const TZVElement& rect = *label.Elements()[before];
        const TZVElement& copy = *label.Elements()[before + 1];
        const int x = editor.PixelToModelX(120), y = editor.PixelToModelY(80);
        EXPECT_EQ(cornersOf(rect), (Corners{x, y, x + 2000, y + 1000}));
        const int lineWidth = line->X2() - line->X1(), lineHeight = line->Y2() - line->Y1();
        EXPECT_EQ(cornersOf(copy), (Corners{x, y, x + lineWidth, y + lineHeight}))
            << "a line keeps its extent and direction";
        EXPECT_NEAR(editor.ModelToPixelX(rect.X1()), 120, 1);
        EXPECT_NEAR(editor.ModelToPixelY(rect.Y1()), 80, 1);
    }
}

TEST_F(EditorCommands, CopiesGetNamesOfTheirOwn)
{
    TZVRect& a = box(10, 10, 30, 20);
    select({&a});
    editor.CopySelection();
    editor.PasteClipboard(0, 0);
    ASSERT_EQ(label.Elements().size(), 2);
    EXPECT_NE(label.Elements()[1]->ID().toLower(), a.ID().toLower());
}

TEST_F(EditorCommands, APasteReadsTheClipboardInItsOwnFormatWhateverTheLabelLastLoaded)
{
    auto* text = new TZVText(label);
    text->SetText(QStringLiteral("Größe"));
    select({text});
    editor.CopySelection();
    // As after loading a design of an older format.
    label.SetReadVersion(1500);
    SetLegacyStream(true);

    editor.PasteClipboard(0, 0);

    EXPECT_EQ(label.ReadVersion(), 1500);
    EXPECT_TRUE(LegacyStream());
    SetLegacyStream(false);
    ASSERT_EQ(label.Elements().size(), 2);
    auto* copy = qobject_cast<TZVText*>(label.Elements()[1]);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Text(), QStringLiteral("Größe"));
}

TEST_F(EditorCommands, ClipboardOutlivesTheLabelItWasCopiedFrom)
{
    TZVRect& a = box(10, 10, 30, 20);
    select({&a});
    editor.CopySelection();
    TZVLab other;
    other.Measure().SetWidth(100);
    other.Measure().SetHeight(60);
    editor.SetZorvel(&other);

    editor.PasteClipboard(0, 0);
    ASSERT_EQ(other.Elements().size(), 1);
    EXPECT_EQ(other.Elements()[0]->X1(), a.X1() + 200);
    EXPECT_EQ(label.Elements().size(), 1);
    editor.SetZorvel(&label);
}

TEST_F(EditorCommands, PasteNeedsAClipboard)
{
    box(10, 10, 30, 20);
    editor.PasteClipboard(0, 0);
    EXPECT_EQ(label.Elements().size(), 1);

    select({label.Elements()[0]});
    editor.CopySelection();
    editor.EmptyClipboard();
    EXPECT_FALSE(editor.HasClipboard());
    editor.PasteClipboard(10, 10);
    EXPECT_EQ(label.Elements().size(), 1);
}

TEST_F(EditorCommands, AlignOntoTheGuidesOrOntoTheFirstSelected)
{
    label.BackSurf().SetGuideX(70);
    label.BackSurf().SetGuideY(40);
    struct Case
    {
        int kind;
        bool firstMoves;
        // The edge of each element that must end on the line, and the line.
        int (*edge)(const TRect&);
        int line;
    };
    const auto left = [](const TRect& r) { return r.Left; };
    const auto top = [](const TRect& r) { return r.Top; };
    const auto right = [](const TRect& r) { return r.Right; };
    const auto bottom = [](const TRect& r) { return r.Bottom; };
    const Case cases[] = {
        {0, true, left, 7000},  {1, true, top, 4000},  {2, true, right, 7000}, {3, true, bottom, 4000},
        {4, false, left, 1000}, {5, false, top, 1000}, {6, false, right, 3000}, {7, false, bottom, 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        label.ClearElements();
        TZVRect& first = box(10, 10, 30, 20);
        TZVRect& second = box(40, 25, 45, 30);
        TZVRect& third = box(5, 35, 25, 55);
        select({&first, &second, &third});
        const Corners firstBefore = cornersOf(first);

        editor.AlignSelection(c.kind);
        editor.Refresh(false);

        if (c.firstMoves)
            EXPECT_EQ(c.edge(first.ModelRect()), c.line);
        else
            EXPECT_EQ(cornersOf(first), firstBefore);
        EXPECT_EQ(c.edge(second.ModelRect()), c.line);
        EXPECT_EQ(c.edge(third.ModelRect()), c.line);
    }
}

TEST_F(EditorCommands, AlignWithoutSelectionOrWithAnUnknownKindDoesNothing)
{
    TZVRect& a = box(10, 10, 30, 20);
    const Corners before = cornersOf(a);
    editor.AlignSelection(2);
    select({&a});
    editor.AlignSelection(8);
    editor.AlignSelection(-1);
    EXPECT_EQ(cornersOf(a), before);
}

TEST_F(EditorCommands, StackingMovesOnlyTheElementSelectedFirst)
{
    TZVRect& a = box(1, 1, 2, 2);
    TZVRect& b = box(3, 3, 4, 4);
    TZVRect& c = box(5, 5, 6, 6);
    TZVRect& d = box(7, 7, 8, 8);
    select({&c, &b});

    editor.BringToFront();
    EXPECT_EQ(label.Elements(), (QList<TZVElement*>{&c, &a, &b, &d}));

    select({&a, &c});
    editor.SendToBack();
    EXPECT_EQ(label.Elements(), (QList<TZVElement*>{&c, &b, &d, &a}));

    editor.ClearSelection();
    editor.BringToFront();
    EXPECT_EQ(label.Elements(), (QList<TZVElement*>{&c, &b, &d, &a})) << "nothing selected";
}

TEST_F(EditorCommands, DeletingTheSelectionReportsOneChangeAndLeavesNoCurrentElement)
{
    CountingInspector inspector;
    editor.SetInspector(&inspector);
    TZVRect& a = box(1, 1, 2, 2);
    TZVRect& b = box(3, 3, 4, 4);
    TZVRect& keep = box(5, 5, 6, 6);
    select({&a, &b});
    label.SetModified(false);
    inspector.selections = 0;

    editor.DeleteSelection();

    EXPECT_EQ(label.Elements(), (QList<TZVElement*>{&keep}));
    EXPECT_EQ(editor.SelCount(), 0);
    EXPECT_EQ(label.CurrentElement(), nullptr);
    EXPECT_TRUE(label.HandleMarks().empty());
    EXPECT_TRUE(label.Modified());
    EXPECT_EQ(selectChanges, 1);
    EXPECT_GE(inspector.selections, 1) << "the inspector rebuilds its rows";

    selectChanges = 0;
    editor.DeleteSelection();
    EXPECT_EQ(selectChanges, 0) << "nothing selected, nothing reported";
    editor.SetInspector(nullptr);
}

} // namespace
} // namespace zorvel::test
