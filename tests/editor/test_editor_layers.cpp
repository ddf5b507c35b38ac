// The surface's cached layers, its composition, handle glyphs and the NotXor rubber band.
#include "EditorTestSupport.h"

#include "editor/ZVGlyphs.h"
#include "elements/ZVBarCode.h"

namespace zorvel::test {
namespace {

using EditorLayers = EditorFixture;

std::array<int, kZvLayerCount> recordCounts(const TZVCustomEditor& editor)
{
    return {editor.LayerRecordCount(lyBackground), editor.LayerRecordCount(lyContent),
            editor.LayerRecordCount(lySelection)};
}

constexpr TZVLayerStrategy kStrategies[] = {TZVLayerStrategy::Raster, TZVLayerStrategy::Picture};

const char* nameOf(TZVLayerStrategy strategy)
{
    return strategy == TZVLayerStrategy::Raster ? "raster" : "picture";
}

TEST_F(EditorLayers, RepaintsWithoutChangesRecordNoLayer)
{
    TZVElement* a = add(ekRect, 500, 500, 1500, 1500);
    add(ekText, 2000, 2000, 0, 0);
    editor->AddToSelection(a);
    for (TZVLayerStrategy strategy : kStrategies) {
        SCOPED_TRACE(nameOf(strategy));
        editor->SetLayerStrategy(strategy);
        editor->Refresh(false);
        const auto before = recordCounts(*editor);
        surface()->repaint();
        surface()->update();
        QApplication::processEvents();
        editor->Refresh(true);
        editor->ScrollBox()->viewport()->repaint();
        EXPECT_EQ(recordCounts(*editor), before);
    }
}

TEST_F(EditorLayers, ADesignSavedWithoutAnEditorKeepsTheEditorsGrid)
{
    editor->Grid()->SetColor(0xC0C0C0);
    editor->Grid()->SetSteps(500, 250);
    TZVLab headless;
    TZVMemoryStream stream;
    headless.SaveToStream(stream);
    stream.SetPosition(0);
    label->LoadFromStream(stream);
    EXPECT_EQ(editor->Grid()->Color(), 0xC0C0C0u);
    EXPECT_EQ(editor->Grid()->StepX(), 500);
    EXPECT_EQ(editor->Grid()->StepY(), 250);

    // A design saved in an editor brings its own grid.
    TZVMemoryStream saved;
    label->SaveToStream(saved);
    editor->Grid()->SetColor(0x123456);
    saved.SetPosition(0);
    label->LoadFromStream(saved);
    EXPECT_EQ(editor->Grid()->Color(), 0xC0C0C0u);
}

TEST_F(EditorLayers, ADragStepRecordsOnlyTheSelectionLayer)
{
    TZVElement* a = add(ekRect, 500, 500, 1500, 1500);
    add(ekRect, 2500, 500, 3500, 1500);
    click(centre(a));
    const auto before = recordCounts(*editor);
    const QPoint grab = centre(a);
    press(grab);
    moveHeld(grab + QPoint(5, 3));
    QApplication::processEvents();
    const auto after = recordCounts(*editor);
    EXPECT_EQ(after[lyBackground], before[lyBackground]);
    EXPECT_EQ(after[lyContent], before[lyContent]);
    EXPECT_EQ(after[lySelection], before[lySelection] + 1);
    release(grab + QPoint(5, 3));
}

TEST_F(EditorLayers, ZoomRecordsEveryLayerAgain)
{
    add(ekRect, 500, 500, 1500, 1500);
    const auto before = recordCounts(*editor);
    editor->SetZoom(zm200);
    const auto after = recordCounts(*editor);
    for (int layer = 0; layer < kZvLayerCount; ++layer)
        EXPECT_EQ(after[layer], before[layer] + 1) << layer;
    EXPECT_EQ(surface()->Buffer().size(), QSize(editor->SurfaceWidth(), editor->SurfaceHeight()));
}

TEST_F(EditorLayers, SelectionColourRecordsOnlyTheSelectionLayer)
{
    editor->AddToSelection(add(ekRect, 500, 500, 1500, 1500));
    editor->Refresh(false);
    const auto before = recordCounts(*editor);
    editor->SetSelColor(0x00FF00);
    const auto after = recordCounts(*editor);
    EXPECT_EQ(after[lyContent], before[lyContent]);
    EXPECT_EQ(after[lySelection], before[lySelection] + 1);
}

TEST_F(EditorLayers, BothStrategiesPaintTheSamePicture)
{
    add(ekRect, 500, 500, 2500, 1500);
    add(ekLine, 500, 2500, 5000, 3000);
    TZVElement* selected = add(ekRect, 3000, 500, 5000, 2000);
    label->Frame().SetStyle(fsOneLine);
    editor->Grid()->SetShow(true);
    editor->AddToSelection(selected);
    editor->SetZoom(zm200);
    editor->SetLayerStrategy(TZVLayerStrategy::Raster);
    editor->Refresh(false);
    const QImage raster = surface()->Buffer().copy();
    editor->SetLayerStrategy(TZVLayerStrategy::Picture);
    editor->Refresh(false);
    EXPECT_EQ(surface()->Buffer(), raster);
}

TEST_F(EditorLayers, ABandDrawnTwiceLeavesTheSurfaceAsItWas)
{
    add(ekRect, 500, 500, 2500, 1500);
    add(ekLine, 500, 2500, 5000, 3000);
    struct Case
    {
        const char* name;
        TZVDrawTool tool;
        bool dotted;
        TPoint from;
        TPoint to;
    };
    const Case cases[] = {
        {"dotted selection band", dwSelection, true, {10, 12}, {120, 90}},
        {"reversed band", dwSelection, true, {120, 90}, {10, 12}},
        {"rectangle", dwRect, false, {30, 20}, {31, 80}},
        {"line", dwLine, false, {5, 100}, {200, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editor->SetDrawTool(c.tool);
        const QImage before = surface()->Buffer().copy();
        surface()->DrawBand(c.from, c.to, c.dotted);
        EXPECT_NE(surface()->Buffer(), before);
        EXPECT_TRUE(surface()->BandShown());
        surface()->DrawBand(c.from, c.to, c.dotted);
        EXPECT_EQ(surface()->Buffer(), before);
        EXPECT_FALSE(surface()->BandShown());
    }
}

TEST_F(EditorLayers, ABandSurvivesARecomposition)
{
    TZVElement* a = add(ekRect, 500, 500, 2500, 1500);
    editor->AddToSelection(a);
    editor->Refresh(false);
    struct Case
    {
        const char* name;
        void (TZVCustomEditor::*dirty)();
    };
    const Case cases[] = {
        {"selection layer only", &TZVCustomEditor::SetSelectionDirty},
        {"everything", &TZVCustomEditor::SetContentDirty},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage clean = surface()->Buffer().copy();
        const int composed = surface()->ComposeCount();
        // Across the selected box, so that the recomposed part cuts through the band.
        surface()->DrawBand({10, 10}, {100, 80}, true);
        const QImage banded = surface()->Buffer().copy();
        (editor->*c.dirty)();
        editor->Refresh(false);
        EXPECT_EQ(surface()->ComposeCount(), composed + 1);
        EXPECT_EQ(surface()->Buffer(), banded);
        surface()->DrawBand({10, 10}, {100, 80}, true);
        EXPECT_EQ(surface()->Buffer(), clean);
    }
}

TEST_F(EditorLayers, MovingTheSelectionLeavesNoTrail)
{
    TZVElement* moving = add(ekRect, 500, 500, 1500, 1500);
    add(ekRect, 1200, 1200, 2500, 2500);
    editor->SelectOnly(moving);
    const QPoint grab = centre(moving);
    press(grab);
    for (int i = 1; i <= 6; ++i) {
        moveHeld(grab + QPoint(9 * i, 4 * i));
        QApplication::processEvents();
    }
    release(grab + QPoint(54, 24));
    const QImage dragged = surface()->Buffer().copy();
    // Everything drawn afresh must look the same as the buffer composed piece by piece.
    editor->SetLayerStrategy(TZVLayerStrategy::Picture);
    editor->SetLayerStrategy(TZVLayerStrategy::Raster);
    editor->Refresh(false);
    EXPECT_EQ(surface()->Buffer(), dragged);
}

TEST_F(EditorLayers, ABandDragLeavesNoTrace)
{
    add(ekRect, 2000, 2000, 3000, 3000);
    editor->Refresh(false);
    const QImage clean = surface()->Buffer().copy();
    press({5, 5});
    for (int i = 1; i <= 5; ++i)
        moveHeld(QPoint(5 + 7 * i, 5 + 3 * i));
    EXPECT_TRUE(surface()->BandShown());
    release({40, 20});
    EXPECT_FALSE(surface()->BandShown());
    EXPECT_EQ(surface()->Buffer(), clean);
}

QRgb rgbOf(TZVColor color)
{
    return qRgb(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

TEST_F(EditorLayers, FramesAndGlyphsTellSingleFromGroupSelections)
{
    editor->SetZoom(zm200);
    TZVElement* a = add(ekRect, 500, 500, 1500, 1500);
    TZVElement* b = add(ekRect, 2500, 500, 3500, 1500);
    struct Case
    {
        const char* name;
        QList<TZVElement*> selection;
        TZVColor frame;
        std::int16_t markKind;
        bool edgeHandles;
    };
    const Case cases[] = {
        {"single", {a}, editor->SelColor(), 2, true},
        {"group", {a, b}, editor->SelMultiColor(), 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editor->ClearSelection();
        for (TZVElement* element : c.selection)
            editor->AddToSelection(element);
        editor->Refresh(true);
        const TRect& r = a->ScreenRect();
        const QImage& buffer = surface()->Buffer();
        // A quarter along the top edge: on the frame, clear of the handle glyph in the middle.
        EXPECT_EQ(buffer.pixel(r.Left + r.Width() / 4, r.Top) & 0xFFFFFF, rgbOf(c.frame) & 0xFFFFFF);
        ASSERT_EQ(label->HandleMarks().size(), 2 * c.selection.size());
        EXPECT_EQ(label->HandleMarks().front().Kind, c.markKind);
        EXPECT_EQ(surface()->Marks().HandleLeft != TRect{}, c.edgeHandles);
        // The glyph's centre on the left edge handle.
        const QRgb glyphCentre = buffer.pixel(r.Left, r.Top + r.Height() / 2) & 0xFFFFFF;
        EXPECT_EQ(glyphCentre, c.markKind == 2 ? 0xFFFFFFu : 0x808080u);
    }
    // Pressed where a single box has its left handle, the group moves instead of resizing.
    const QPoint handle(a->ScreenRect().Left, (a->ScreenRect().Top + a->ScreenRect().Bottom) / 2);
    const int bLeft = b->X1();
    drag(handle, handle + QPoint(20, 0));
    EXPECT_EQ(editor->SelCount(), 2);
    EXPECT_NEAR(a->X2() - a->X1(), 1000, 30);
    EXPECT_GT(b->X1(), bLeft);
}

TEST_F(EditorLayers, SelectedTextsAndBarcodesGetAFrameWithoutHandles)
{
    TZVElement* text = add(ekText, 1000, 1000, 0, 0);
    TZVElement* barcode = add(ekBarCode, 1000, 2000, 0, 0);
    for (TZVElement* element : {text, barcode}) {
        SCOPED_TRACE(element->ID().toStdString());
        editor->SelectOnly(element);
        EXPECT_TRUE(label->HandleMarks().empty());
        EXPECT_EQ(surface()->MarkMode(), mmMoveOnly);
        const TRect& r = element->ScreenRect();
        EXPECT_EQ(surface()->Buffer().pixel(r.Left + 1, r.Top) & 0xFFFFFF, rgbOf(editor->SelColor()) & 0xFFFFFF);
    }
}

TEST_F(EditorLayers, ASelectedLineShowsCircularEndGlyphs)
{
    TZVElement* line = add(ekLine, 1000, 2000, 4000, 2000);
    editor->SelectOnly(line);
    ASSERT_EQ(label->HandleMarks().size(), 1u);
    EXPECT_EQ(label->HandleMarks().front().Kind, 1);
    const TPoint p = label->HandleMarks().front().P1;
    // The glyph is centred on the end: its left-most column is black in the middle row only.
    EXPECT_EQ(surface()->Buffer().pixel(p.X - 3, p.Y) & 0xFFFFFF, 0u);
    EXPECT_EQ(surface()->Buffer().pixel(p.X, p.Y) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(EditorGlyphs, SevenBySevenWithATransparentBackground)
{
    ensureApplication<QApplication>();
    for (int i = 0; i < kZvGlyphCount; ++i) {
        SCOPED_TRACE(i);
        const QImage& glyph = ZvMarkGlyph(i);
        EXPECT_EQ(glyph.size(), QSize(kZvGlyphSize, kZvGlyphSize));
        EXPECT_TRUE(glyph.hasAlphaChannel());
    }
    EXPECT_EQ(qAlpha(ZvMarkGlyph(glCir01).pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(ZvMarkGlyph(glCir01).pixel(3, 3)), 255);
    EXPECT_EQ(ZvMarkGlyph(glRec01Gr).pixel(3, 3), 0xFF808080u);
    EXPECT_TRUE(ZvMarkGlyph(kZvGlyphCount).isNull());
    EXPECT_TRUE(ZvMarkGlyph(-1).isNull());
}

TEST_F(EditorLayers, NothingIsRecordedBetweenBeginAndEndUpdate)
{
    add(ekRect, 500, 500, 1500, 1500);
    const auto before = recordCounts(*editor);
    editor->BeginUpdate();
    add(ekRect, 2500, 500, 3500, 1500);
    surface()->repaint();
    EXPECT_EQ(recordCounts(*editor), before);
    editor->EndUpdate(false);
    EXPECT_EQ(editor->LayerRecordCount(lyContent), before[lyContent] + 1);
}

} // namespace
} // namespace zorvel::test
