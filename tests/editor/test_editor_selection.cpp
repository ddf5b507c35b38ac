// The editor's selection bookkeeping, its links to label and inspector, zoom and conversions.
#include "EditorTestSupport.h"

#include "editor/ZVBaseScroll.h"
#include "editor/ZVCursors.h"
#include "editor/ZVRulerControls.h"
#include "elements/ZVLineRect.h"

#include <QScrollBar>

#include <cmath>

namespace zorvel::test {
namespace {

using EditorSelection = EditorFixture;

TEST_F(EditorSelection, CurrentElementFollowsASingleSelection)
{
    TZVElement* a = add(ekRect, 500, 500, 1500, 1500);
    TZVElement* b = add(ekRect, 2000, 500, 3000, 1500);
    int changes = 0;
    editor->OnSelectChange = [&](QObject* sender) {
        EXPECT_EQ(sender, editor);
        ++changes;
    };

    editor->AddToSelection(a);
    editor->AddToSelection(b);
    editor->AddToSelection(b); // already selected: nothing
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(editor->SelCount(), 2);
    EXPECT_EQ(editor->SelectedAt(1), a);
    EXPECT_EQ(editor->SelectedAt(2), b);
    EXPECT_EQ(editor->SelectedAt(0), nullptr);
    EXPECT_EQ(editor->SelectedAt(3), nullptr);
    EXPECT_EQ(label->CurrentElement(), a);

    EXPECT_TRUE(editor->Unselect(a));
    EXPECT_FALSE(a->Selected());
    EXPECT_EQ(label->CurrentElement(), b);
    EXPECT_FALSE(editor->Unselect(a));
    EXPECT_TRUE(editor->Unselect(b));
    EXPECT_EQ(label->CurrentElement(), nullptr);
    EXPECT_EQ(changes, 4);
}

TEST_F(EditorSelection, ClearSelectionAlwaysReportsButMarksLayersOnlyWhenSomethingWasSelected)
{
    TZVElement* a = add(ekRect, 500, 500, 1500, 1500);
    int changes = 0;
    editor->OnSelectChange = [&](QObject*) { ++changes; };
    editor->ClearSelection();
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(editor->ContentDirty());
    EXPECT_FALSE(editor->SelectionDirty());

    editor->AddToSelection(a);
    editor->Refresh(false);
    editor->ClearSelection();
    EXPECT_FALSE(a->Selected());
    EXPECT_TRUE(editor->ContentDirty());
    EXPECT_TRUE(editor->SelectionDirty());
    EXPECT_TRUE(label->HandleMarks().empty());
}

TEST_F(EditorSelection, SelectOnlyReportsTheNewSelectionBeforeTheChange)
{
    TZVElement* a = add(ekRect, 500, 500, 1500, 1500);
    TZVElement* b = add(ekRect, 2000, 500, 3000, 1500);
    editor->AddToSelection(a);
    QStringList events;
    editor->OnSelect = [&](QObject*) { events << "select"; };
    editor->OnSelectChange = [&](QObject*) { events << "change"; };
    editor->SelectOnly(b);
    EXPECT_EQ(events, (QStringList{"select", "change"}));
    EXPECT_FALSE(a->Selected());
    EXPECT_EQ(editor->Selection(), (QList<TZVElement*>{b}));
    EXPECT_EQ(label->CurrentElement(), b);
}

TEST_F(EditorSelection, HitElementTakesTheTopmostAndShiftToggles)
{
    TZVElement* under = add(ekRect, 500, 500, 2500, 2500);
    TZVElement* over = add(ekRect, 1000, 1000, 2000, 2000);
    label->BringToFront(over);
    editor->Refresh(false);
    const QPoint overlap = centre(over);
    const QPoint underOnly = px(700, 700);

    EXPECT_TRUE(editor->HitElement({overlap.x(), overlap.y()}, false));
    EXPECT_EQ(editor->Selection(), (QList<TZVElement*>{over}));
    EXPECT_TRUE(editor->HitElement({underOnly.x(), underOnly.y()}, true));
    EXPECT_EQ(editor->Selection(), (QList<TZVElement*>{over, under}));
    EXPECT_TRUE(editor->HitElement({overlap.x(), overlap.y()}, true));
    EXPECT_EQ(editor->Selection(), (QList<TZVElement*>{under}));
    const QPoint empty = px(5500, 3000);
    EXPECT_FALSE(editor->HitElement({empty.x(), empty.y()}, false));
    EXPECT_EQ(editor->SelCount(), 1);
}

TEST_F(EditorSelection, SelectInRectWholeOrTouching)
{
    TZVElement* inside = add(ekRect, 1000, 1000, 2000, 2000);
    TZVElement* across = add(ekRect, 1800, 1000, 3500, 2000);
    add(ekRect, 4500, 2500, 5500, 3000);
    const TRect band{editor->ModelToPixelX(800), editor->ModelToPixelY(800), editor->ModelToPixelX(2500),
                     editor->ModelToPixelY(2200)};
    struct Case
    {
        const char* name;
        bool whole;
        QList<TZVElement*> expected;
    };
    const Case cases[] = {
        {"whole", true, {inside}},
        {"touching", false, {inside, across}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editor->SelectInRect(band, c.whole);
        EXPECT_EQ(editor->Selection(), c.expected);
    }
}

TEST_F(EditorSelection, RefreshSetsTheMarkModeOfTheSelection)
{
    TZVElement* box = add(ekRect, 1000, 1000, 2000, 2000);
    TZVElement* text = add(ekText, 3000, 1000, 0, 0);
    TZVElement* line = add(ekLine, 1000, 2500, 4000, 2500);
    struct Case
    {
        const char* name;
        QList<TZVElement*> selection;
        int markMode;
    };
    const Case cases[] = {
        {"box", {box}, mmBox},
        {"text", {text}, mmMoveOnly},
        {"line", {line}, mmLine},
        {"group", {box, line}, mmGroup},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editor->ClearSelection();
        for (TZVElement* element : c.selection)
            editor->AddToSelection(element);
        editor->Refresh(true);
        EXPECT_EQ(surface()->MarkMode(), c.markMode);
    }
    // A box's edge handles do not survive into the selection of a text.
    editor->ClearSelection();
    editor->AddToSelection(box);
    editor->Refresh(true);
    EXPECT_NE(surface()->Marks().HandleLeft, TRect{});
    editor->SelectOnly(text);
    EXPECT_EQ(surface()->Marks().HandleLeft, TRect{});
    EXPECT_EQ(surface()->Marks().SelRect, text->ScreenRect());
}

TEST_F(EditorSelection, LineHandlesSitOnTheLineEnds)
{
    TZVElement* line = add(ekLine, 1000, 2000, 4000, 2000);
    editor->SelectOnly(line);
    const QPoint start = px(1000, 2000);
    const QPoint end = px(4000, 2000);
    EXPECT_EQ(surface()->Marks().LineStartHandle, (TRect{start.x() - 3, start.y() - 3, start.x() + 4, start.y() + 4}));
    EXPECT_EQ(surface()->Marks().LineEndHandle, (TRect{end.x() - 3, end.y() - 3, end.x() + 4, end.y() + 4}));
}

// ---- Inspector protocol ----

class InspectorWidget final : public QWidget, public TZVBaseInspector
{
public:
    int selections = 0;
    void LabelChanged() override {}
    void UpdateProperty(const QString&) override {}
    void UpdateSelection() override { ++selections; }
};

TEST_F(EditorSelection, InspectorIsToldOfLabelSelectionAndProperties)
{
    RecordingInspector inspector;
    editor->SetInspector(&inspector);
    EXPECT_EQ(inspector.Editor(), editor);
    EXPECT_EQ(inspector.labelChanged, 1);

    TZVElement* a = add(ekRect, 500, 500, 1500, 1500);
    inspector.selectionUpdates = 0;
    editor->Refresh(true);
    EXPECT_EQ(inspector.selectionUpdates, 1);
    inspector.properties.clear();
    editor->Refresh(false, QStringLiteral("Color"));
    EXPECT_EQ(inspector.properties, QStringList{"Color"});

    // A setter of the current element names its property.
    editor->SelectOnly(a);
    inspector.properties.clear();
    a->SetColor(0x00FF00);
    EXPECT_EQ(inspector.properties, QStringList{"Color"});

    editor->SetInspector(nullptr);
    EXPECT_EQ(inspector.Editor(), nullptr);
}

TEST_F(EditorSelection, AnInspectorWidgetThatGoesIsForgotten)
{
    auto* inspector = new InspectorWidget;
    editor->SetInspector(inspector);
    delete inspector;
    EXPECT_EQ(editor->Inspector(), nullptr);
    editor->Refresh(true); // would reach the deleted inspector
}

// ---- Label link and lifetime ----

TEST(EditorLabel, CreatedOnAFormItFindsOrMakesTheLabel)
{
    ensureApplication<QApplication>();
    {
        QWidget form;
        auto* existing = new TZVLab(&form);
        TZVEditor editor(&form);
        EXPECT_EQ(editor.Zorvel(), existing);
        EXPECT_EQ(existing->Editor(), static_cast<TZVEditorLink*>(&editor));
    }
    {
        QWidget form;
        auto* editor = new TZVEditor(&form);
        ASSERT_NE(editor->Zorvel(), nullptr);
        EXPECT_EQ(editor->Zorvel()->objectName(), QStringLiteral("ZVLab_01"));
        EXPECT_EQ(editor->Zorvel()->parent(), &form);
    }
    TZVEditor bare;
    EXPECT_EQ(bare.Zorvel(), nullptr);
    EXPECT_EQ(bare.SurfaceWidth(), 300);
    EXPECT_EQ(bare.SurfaceHeight(), 200);
    EXPECT_EQ(bare.PixelToModelX(100), 0);
    EXPECT_FALSE(bare.HitElement({10, 10}, false));
}

TEST(EditorLabel, EitherMayBeDestroyedFirst)
{
    ensureApplication<QApplication>();
    {
        auto label = std::make_unique<TZVLab>();
        TZVElement* element = label->CreateElement(ekRect);
        auto editor = std::make_unique<TZVEditor>();
        editor->SetZorvel(label.get());
        editor->AddToSelection(element);
        label.reset();
        EXPECT_EQ(editor->Zorvel(), nullptr);
        EXPECT_EQ(editor->SelCount(), 0);
        editor->Refresh(true);
        editor->SetZoom(zm200);
        // A later label is shown again.
        TZVLab next;
        editor->SetZorvel(&next);
        EXPECT_TRUE(editor->PaintEnabled());
        EXPECT_GT(editor->LayerRecordCount(lyContent), 0);
    }
    {
        TZVLab label;
        auto editor = std::make_unique<TZVEditor>();
        editor->SetZorvel(&label);
        editor->AddToSelection(label.CreateElement(ekText));
        editor.reset();
        EXPECT_EQ(label.Editor(), nullptr);
        EXPECT_FALSE(label.Elements().first()->Selected());
        label.Elements().first()->SetColor(0xFF); // must not reach the editor
    }
}

// One label in two editors: the second takes it, so that what it deletes is selected nowhere.
TEST_F(EditorSelection, ASecondEditorTakesTheLabelFromTheFirst)
{
    TZVElement* kept = add(ekRect, 500, 500, 1500, 1500);
    TZVElement* doomed = add(ekRect, 2000, 500, 3000, 1500);
    RecordingInspector inspector;
    editor->SetInspector(&inspector);
    editor->AddToSelection(kept);
    editor->AddToSelection(doomed);
    inspector.selectionUpdates = 0;

    auto* second = new TZVEditor(form.get()); // finds the form's label
    EXPECT_EQ(label->Editor(), static_cast<TZVEditorLink*>(second));
    EXPECT_EQ(editor->Zorvel(), nullptr);
    EXPECT_EQ(editor->SelCount(), 0);
    EXPECT_FALSE(kept->Selected());
    EXPECT_GE(inspector.selectionUpdates, 1) << "the first editor's inspector lists nothing";

    second->AddToSelection(doomed);
    second->DeleteSelection();
    ASSERT_EQ(label->Elements(), QList<TZVElement*>{kept});
    const int x1 = kept->X1();
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_Right); // reached freed elements
    QTest::keyClick(editor, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(kept->X1(), x1);

    // Taken back, and the first editor may go without unlinking the one that holds it.
    second->AddToSelection(kept);
    editor->SetZorvel(label);
    EXPECT_EQ(second->Zorvel(), nullptr);
    EXPECT_EQ(second->SelCount(), 0);
    second->SetZorvel(label);
    delete editor;
    editor = nullptr;
    EXPECT_EQ(label->Editor(), static_cast<TZVEditorLink*>(second));
    EXPECT_EQ(inspector.Editor(), nullptr);
}

TEST_F(EditorSelection, SettingTheSameOrNoLabelIsIgnored)
{
    RecordingInspector inspector;
    editor->SetInspector(&inspector);
    editor->SetZorvel(nullptr);
    editor->SetZorvel(label);
    EXPECT_EQ(editor->Zorvel(), label);
    EXPECT_EQ(inspector.labelChanged, 1);
}

// ---- Draw tool and editing switch ----

TEST_F(EditorSelection, DrawToolReportsTheRequestAndTakesItsCursor)
{
    QList<std::pair<TZVDrawTool, TZVDrawTool>> changes;
    editor->OnChangeDrawTool = [&](QObject*, TZVDrawTool from, TZVDrawTool to) { changes.append({from, to}); };
    editor->SetDrawTool(dwText);
    EXPECT_EQ(editor->CursorId(), crZvText);
    editor->SetDrawTool(dwText);
    editor->SetAllowEdit(false);
    EXPECT_EQ(editor->DrawTool(), dwSelection);
    editor->SetDrawTool(dwRect);
    EXPECT_EQ(editor->DrawTool(), dwSelection);
    EXPECT_EQ(editor->CursorId(), crZvDefault);
    const QList<std::pair<TZVDrawTool, TZVDrawTool>> expected = {
        {dwSelection, dwText}, {dwText, dwSelection}, {dwSelection, dwRect}};
    EXPECT_EQ(changes, expected);
}

// ---- Zoom and conversions ----

TEST_F(EditorSelection, FixedZoomLevelsScaleTheLabelAtTheScreenResolution)
{
    const int W = label->Measure().Width();
    const int H = label->Measure().Height();
    struct Case
    {
        TZVZoom zoom;
        double factor;
    };
    const Case cases[] = {{zm50, 0.5}, {zm75, 0.75}, {zm100, 1.0}, {zm250, 2.5}, {zm400, 4.0}, {zm500, 5.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.factor);
        editor->SetZoom(c.zoom);
        EXPECT_DOUBLE_EQ(editor->ZoomFactor(), c.factor);
        EXPECT_EQ(editor->SurfaceWidth(), std::lround(c.factor * W * editor->DpiX() / 2540.0));
        EXPECT_EQ(editor->SurfaceHeight(), std::lround(c.factor * H * editor->DpiY() / 2540.0));
        EXPECT_EQ(surface()->size(), QSize(editor->SurfaceWidth(), editor->SurfaceHeight()));
    }
}

TEST_F(EditorSelection, FitAllKeepsATallLabelWhollyVisible)
{
    label->Measure().SetHeight(300); // mm
    editor->SetZoom(zmFitAll);
    const int sw = editor->ScrollBox()->width();
    const int sh = editor->ScrollBox()->height();
    EXPECT_EQ(editor->SurfaceHeight(), sh - 28);
    EXPECT_EQ(editor->SurfaceWidth(), std::lround((sh - 28) / 30000.0 * 6000.0));
    EXPECT_LE(editor->SurfaceWidth(), sw - 28);
    EXPECT_NEAR(editor->ZoomFactor(), editor->SurfaceWidth() * 2540.0 / (6000.0 * editor->DpiX()), 1e-9);
}

TEST_F(EditorSelection, WidthZoomFillsTheScrollBox)
{
    editor->SetZoom(zmWidth);
    const int sw = editor->ScrollBox()->width();
    EXPECT_EQ(editor->SurfaceWidth(), sw - 28);
    // A taller label makes room for the vertical scroll bar.
    label->Measure().SetHeight(300);
    EXPECT_EQ(editor->SurfaceWidth(), sw - 46);
}

TEST_F(EditorSelection, ConversionsRoundTripAndSnapToTheGrid)
{
    editor->SetZoom(zm200);
    const int W = label->Measure().Width();
    const int w = editor->SurfaceWidth();
    EXPECT_EQ(editor->ModelToPixelX(W), w);
    EXPECT_EQ(editor->PixelToModelX(w / 2), std::lround(double(w / 2) * W / w));
    EXPECT_FLOAT_EQ(editor->PixelToUnitX(w), 60.0f);

    editor->Grid()->SetIncX(5); // 5 mm
    editor->Grid()->SetIncY(5);
    const QPoint near = px(1240, 760);
    editor->SetSnap(snNone);
    EXPECT_EQ(editor->SnapPoint({near.x(), near.y()}), (TPoint{near.x(), near.y()}));
    editor->SetSnap(snGrid);
    const QPoint snapped = px(1000, 1000);
    EXPECT_EQ(editor->SnapPoint({near.x(), near.y()}), (TPoint{snapped.x(), snapped.y()}));
}

TEST_F(EditorSelection, ZoomResetsTheScrollPosition)
{
    editor->SetZoom(zm500);
    QScrollBar* bar = editor->ScrollBox()->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(40);
    EXPECT_EQ(editor->ScrollBox()->HorzPos(), 40);
    editor->SetZoom(zm450);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(editor->ScrollBox()->HorzPos(), 0);
}

TEST_F(EditorSelection, ScrollingShiftsTheRulers)
{
    editor->SetZoom(zm500);
    editor->ScrollBox()->horizontalScrollBar()->setValue(30);
    editor->ScrollBox()->verticalScrollBar()->setValue(20);
    EXPECT_EQ(editor->TopRuler()->ScrollOffset(), 30);
    EXPECT_EQ(editor->LeftRuler()->ScrollOffset(), 20);
    editor->SetZoom(zm100);
    EXPECT_EQ(editor->TopRuler()->ScrollOffset(), 0);
    EXPECT_EQ(editor->LeftRuler()->ScrollOffset(), 0);
}

TEST_F(EditorSelection, TheRulersFollowTheLabelsUnitAndGuides)
{
    TZVDataRuler& data = editor->Rulers()->Data();
    label->SetUnits(unINCH);
    EXPECT_EQ(data.Units(), unINCH);
    label->SetUnits(unMM);
    label->BackSurf().SetGuideX(12.5f);
    label->BackSurf().SetGuideY(7);
    EXPECT_FLOAT_EQ(data.GuideX(), 12.5f);
    EXPECT_FLOAT_EQ(data.GuideY(), 7.0f);
    label->BackSurf().SetShowAlign(true);
    EXPECT_TRUE(data.ShowAlign());
    editor->SetZoom(zm200);
    EXPECT_DOUBLE_EQ(data.Zoom(), 2.0);
}

TEST_F(EditorSelection, PublishedSettingsAreReachableByName)
{
    EXPECT_TRUE(editor->setProperty("DrawTool", QVariant::fromValue(dwRect)));
    EXPECT_EQ(editor->DrawTool(), dwRect);
    EXPECT_TRUE(editor->setProperty("Zoom", QVariant::fromValue(zm200)));
    EXPECT_EQ(editor->property("Zoom").value<TZVZoom>(), zm200);
    EXPECT_TRUE(editor->setProperty("SelColor", QVariant::fromValue(quint32(0x00FF00))));
    EXPECT_EQ(editor->SelColor(), 0x00FF00u);
    EXPECT_EQ(editor->property("Grid").value<TZVGrid*>(), editor->Grid());
    EXPECT_EQ(editor->property("Rulers").value<TZVRulers*>(), editor->Rulers());
    EXPECT_EQ(editor->property("Zorvel").value<TZVCustomLab*>(), label);
    const QMetaObject* meta = editor->metaObject();
    QStringList names;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        names << QString::fromLatin1(meta->property(i).name());
    EXPECT_TRUE(names.isEmpty()) << "TZVEditor adds no property of its own";
    const QMetaObject* custom = &TZVCustomEditor::staticMetaObject;
    names.clear();
    for (int i = custom->propertyOffset(); i < custom->propertyCount(); ++i)
        names << QString::fromLatin1(custom->property(i).name());
    EXPECT_EQ(names, (QStringList{"Zorvel", "DrawTool", "Color", "AllowEdit", "Grid", "Snap", "Zoom", "Rulers",
                                  "LineMove", "SelColor", "SelMultiColor", "BarCodeType"}));
}

} // namespace
} // namespace zorvel::test
