// Grid steps and drawing, ruler settings, tick layout of both rulers, guide dragging, cursors.
#include "document/ZVCustomLab.h"
#include "editor/ZVCursors.h"
#include "editor/ZVEditorHost.h"
#include "editor/ZVGrid.h"
#include "editor/ZVRulerControls.h"
#include "editor/ZVRulers.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVRecordingCanvas.h"
#include "tests/support/TestApplication.h"

#include <QApplication>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>
#include <set>

namespace zorvel {
namespace {

// The editor as the grid and the rulers see it: a real label and counters for what they ask.
class FakeEditor final : public TZVEditorHost
{
public:
    FakeEditor() { label.SetEditor(this); }
    ~FakeEditor() override { label.SetEditor(nullptr); }

    mutable TZVLab label;
    bool attached = true;
    bool loading = false;
    bool destroying = false;
    int contentDirty = 0;
    int selectionDirty = 0;
    int refreshes = 0;

    TZVCustomLab* Zorvel() const override { return attached ? &label : nullptr; }
    bool IsLoading() const override { return loading; }
    bool IsDestroying() const override { return destroying; }

    TZVSnap Snap() const override { return snNone; }
    void SetSnap(TZVSnap) override {}
    int GridIncX() const override { return 0; }
    int GridIncY() const override { return 0; }
    TZVColor GridColor() const override { return 0; }
    bool GridShow() const override { return false; }
    TZVColor SelColor() const override { return 0; }
    void SetGridSettings(TZVColor, int, int, bool) override {}
    void SetSelColor(TZVColor) override {}
    int SurfaceWidth() const override { return 800; }
    int SurfaceHeight() const override { return 600; }
    void RecalcSize() override {}
    void SetContentDirty() override { ++contentDirty; }
    void SetSelectionDirty() override { ++selectionDirty; }
    bool PaintEnabled() const override { return true; }
    void Refresh(bool, const QString&) override { ++refreshes; }
    void RemoveFromSelection(TZVElement*) override {}
    void ClearSelection() override {}
    void ShowGuideMarks(bool) override {}
    void SetGuideMarks(int, int) override {}
    void RefreshInspector() override {}
    void RefreshProperty(const QString&) override {}
    void UnitsChanged(TZVUnits) override {}
    void DrawSelectionFrame(bool, const TRect&, const TRect&, bool) override {}
};

bool sameColor(QRgb pixel, TZVColor color)
{
    return (pixel & 0xFFFFFF) == (toQColor(color).rgb() & 0xFFFFFF);
}

// ---------------------------------------------------------------------------------------------
// Grid

class GridTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication<QApplication>(); }
    FakeEditor editor;
    TZVGrid grid{&editor};
};

TEST_F(GridTest, StepsAreKeptBetweenOneMillimetreAndHalfTheLabel)
{
    struct Case
    {
        const char* name;
        TZVUnits units;
        float width, height; // label size in mm
        float incX, incY;    // in the label's unit
        int stepX, stepY;
    };
    const Case cases[] = {
        {"plain steps", unMM, 60, 35, 10, 5, 1000, 500},
        {"half a millimetre becomes one", unMM, 60, 35, 0.5f, 0.2f, 100, 100},
        {"20 mm on a 30 mm label becomes 15 mm", unMM, 30, 35, 20, 20, 1500, 1750},
        {"odd width halves to an integer", unMM, 30.01f, 35, 20, 1, 1500, 100},
        {"half an inch", unINCH, 60, 35, 0.5f, 0.25f, 1270, 635},
        {"two inches exceed half the label", unINCH, 60, 35, 2, 2, 3000, 1750},
        {"half a millimetre in centimetres", unCM, 60, 35, 0.05f, 1, 100, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editor.label.SetUnits(unMM);
        editor.label.Measure().SetWidth(c.width);
        editor.label.Measure().SetHeight(c.height);
        editor.label.SetUnits(c.units);
        editor.refreshes = editor.contentDirty = 0;
        grid.SetIncX(c.incX);
        grid.SetIncY(c.incY);
        EXPECT_EQ(grid.StepX(), c.stepX);
        EXPECT_EQ(grid.StepY(), c.stepY);
        EXPECT_FLOAT_EQ(grid.GetIncX(), editor.label.FromModel(c.stepX));
        EXPECT_EQ(editor.contentDirty, 2);
        EXPECT_EQ(editor.refreshes, 2);
    }
}

TEST_F(GridTest, StepsSetWhileLoadingWaitForTheLabel)
{
    editor.loading = true;
    grid.SetIncX(20);
    grid.SetIncY(0.5f);
    grid.SetShow(true);
    EXPECT_EQ(grid.StepX(), 1000);
    EXPECT_EQ(grid.StepY(), 1000);
    EXPECT_TRUE(grid.Show());
    EXPECT_EQ(editor.refreshes, 0);

    // The label's unit is read when the steps are applied, not when they were set.
    editor.label.SetUnits(unINCH);
    editor.contentDirty = 0;
    editor.loading = false;
    grid.ApplyLoaded();
    EXPECT_EQ(grid.StepX(), 3000); // 20 inches, limited to half the 60 mm label
    EXPECT_EQ(grid.StepY(), 1270);
    EXPECT_EQ(editor.contentDirty, 1);

    grid.ApplyLoaded();
    EXPECT_EQ(editor.contentDirty, 1) << "applied once";
}

TEST_F(GridTest, RawStepsFallBackOnlyWhenNotPositive)
{
    // A zero step would stall the grid drawing and the snapping.
    grid.SetSteps(50, 9000);
    EXPECT_EQ(grid.StepX(), 50);
    EXPECT_EQ(grid.StepY(), 9000);
    grid.SetSteps(0, -5);
    EXPECT_EQ(grid.StepX(), 100);
    EXPECT_EQ(grid.StepY(), 100);
    EXPECT_EQ(editor.refreshes, 0);

    editor.attached = false;
    grid.SetIncX(20);
    EXPECT_EQ(grid.StepX(), 100);
    EXPECT_EQ(grid.GetIncX(), 0) << "no label, no unit";
}

TEST_F(GridTest, DrawsInsideTheLabelOnly)
{
    grid.SetColor(0x123456);
    grid.SetSteps(1000, 1000);
    TZVRecordingCanvas canvas;

    grid.Draw(canvas, 3000, 2500);
    EXPECT_TRUE(canvas.Calls().empty()) << "hidden grid";

    grid.SetShow(true);
    grid.Draw(canvas, 3000, 2000);
    EXPECT_EQ(canvas.Log(),
              (std::vector<std::string>{"SelectPen(0x123456, 0, psSolid, pcRound, pjRound)",
                                        "SetPixel(1000, 1000, 0x123456)", "SetPixel(2000, 1000, 0x123456)"}));

    canvas.Clear();
    grid.SetStyle(gdLines);
    grid.Draw(canvas, 3000, 2500);
    EXPECT_EQ(canvas.Log(),
              (std::vector<std::string>{"SelectPen(0x123456, 0, psSolid, pcRound, pjRound)",
                                        "MoveTo(1000, 0)", "LineTo(1000, 2500)", "MoveTo(2000, 0)",
                                        "LineTo(2000, 2500)", "MoveTo(0, 1000)", "LineTo(3000, 1000)",
                                        "MoveTo(0, 2000)", "LineTo(3000, 2000)"}));
}

// ---------------------------------------------------------------------------------------------
// Rulers

TEST(DataRuler, PixelsPerUnitFollowUnitsZoomAndResolution)
{
    struct Case
    {
        TZVUnits units;
        double zoom;
        double x, y;
    };
    const Case cases[] = {
        {unMM, 1.0, 96 / 25.4, 120 / 25.4}, {unINCH, 1.0, 96, 120},  {unCM, 1.0, 96 / 2.54, 120 / 2.54},
        {unMM, 0.5, 48 / 25.4, 60 / 25.4},  {unINCH, 2.0, 192, 240},
    };
    TZVDataRuler data(96, 120);
    int relayouts = 0;
    data.OnTopChange = [&] { ++relayouts; };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.units) << " at " << c.zoom);
        relayouts = 0;
        const bool unitChanges = data.Units() != c.units;
        data.SetUnits(c.units);
        data.SetZoom(c.zoom);
        EXPECT_DOUBLE_EQ(data.PixPerUnitX(), c.x);
        EXPECT_DOUBLE_EQ(data.PixPerUnitY(), c.y);
        // A zoom is laid out by the editor; a new unit lays the rulers out at once.
        EXPECT_EQ(relayouts, unitChanges ? 1 : 0);
    }
}

class RulerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication<QApplication>(); }

    void SetUp() override
    {
        rulers.SetControls(&top, &left);
        top.resize(400, 18);
        left.resize(18, 400);
        left.move(0, 20);
        top.Link(&rulers.Data());
        left.Link(&rulers.Data());
        window.resize(420, 420);
        window.show();
    }

    TZVRuler& ruler(bool horizontal) { return horizontal ? static_cast<TZVRuler&>(top) : left; }

    // Tick pixels from the ruler's inner edge inwards, at `pos` along it.
    static int tickLength(const TZVRuler& r, bool horizontal, int pos)
    {
        const QImage& b = r.Buffer();
        const int across = horizontal ? b.height() : b.width();
        int n = 0;
        for (int k = across - 1; k >= 0; --k, ++n) {
            const QRgb pixel = horizontal ? b.pixel(pos, k) : b.pixel(k, pos);
            if (!sameColor(pixel, 0)) break;
        }
        return n;
    }

    // Pixels that are neither background nor empty in a box of the buffer.
    static QRect inkBox(const TZVRuler& r, const QRect& area)
    {
        QRect box;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (!sameColor(r.Buffer().pixel(x, y), 0xC0C0C0)) box |= QRect(x, y, 1, 1);
        return box;
    }

    FakeEditor editor;
    TZVRulers rulers{&editor, 96, 96};
    QWidget window;
    TZVTopRuler top{&window};
    TZVLeftRuler left{&window};
};

TEST_F(RulerTest, SizeIsKeptWithinLimitsAndFollowsVisibility)
{
    EXPECT_EQ(top.height(), 18);
    EXPECT_EQ(left.width(), 18);
    rulers.SetSize(10);
    EXPECT_EQ(rulers.Size(), 18);
    rulers.SetSize(40);
    EXPECT_EQ(rulers.Size(), 30);
    EXPECT_EQ(top.height(), 30);
    EXPECT_EQ(left.width(), 30);

    rulers.SetVisible(false);
    EXPECT_EQ(top.height(), 0);
    EXPECT_EQ(left.width(), 0);
    rulers.SetSize(24);
    EXPECT_EQ(top.height(), 0) << "a hidden ruler stays hidden";
    rulers.SetVisible(true);
    EXPECT_EQ(top.height(), 24);
    EXPECT_EQ(left.width(), 24);
}

// Both rulers lay out the same ticks: the left one has no corner, so it starts 18 pixels earlier.
TEST_F(RulerTest, TicksOfBothRulers)
{
    struct Case
    {
        const char* name;
        TZVUnits units;
        double zoom;
        int x;      // on the top ruler: 30 is the label's edge at 96 dpi
        int length; // 6 every 10 ticks, 9 every 5, 4 the others, 0 none
    };
    const Case cases[] = {
        {"mm 0", unMM, 1.0, 30, 6},       {"mm 1", unMM, 1.0, 33, 4},       {"between", unMM, 1.0, 34, 0},
        {"mm 5", unMM, 1.0, 48, 9},       {"mm 10", unMM, 1.0, 67, 6},      {"mm 13", unMM, 1.0, 79, 4},
        {"half 1", unMM, 0.5, 31, 0},     {"half 3", unMM, 0.5, 35, 0},     {"half 5", unMM, 0.5, 39, 9},
        {"half 10", unMM, 0.5, 48, 6},    {"double 1", unMM, 2.0, 37, 4},   {"double 10", unMM, 2.0, 105, 6},
        {"inch 0.1", unINCH, 1.0, 39, 4}, {"inch 0.3", unINCH, 1.0, 58, 4}, {"inch 0.5", unINCH, 1.0, 78, 9},
        {"inch 1", unINCH, 1.0, 126, 6},  {"cm 1", unCM, 1.0, 67, 6},
    };
    for (bool horizontal : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << (horizontal ? " top" : " left"));
            rulers.Data().SetUnits(c.units);
            rulers.Data().SetZoom(c.zoom);
            ruler(horizontal).Relayout();
            EXPECT_EQ(tickLength(ruler(horizontal), horizontal, horizontal ? c.x : c.x - 18), c.length);
        }
    }
}

TEST_F(RulerTest, TicksStopAtTheEndAndSkipTheCorner)
{
    EXPECT_EQ(tickLength(top, true, 381), 4) << "the first tick past 380 is drawn";
    EXPECT_EQ(tickLength(top, true, 385), 0) << "and the last";

    top.SetScrollOffset(20);
    left.SetScrollOffset(20);
    for (int x = 0; x < 18; ++x)
        EXPECT_EQ(tickLength(top, true, x), 0) << x;
    EXPECT_EQ(tickLength(top, true, 21), 4);
    EXPECT_EQ(tickLength(top, true, 47), 6);
    EXPECT_EQ(tickLength(left, false, 3), 4) << "the left ruler has no corner";
}

TEST_F(RulerTest, NumbersEveryTenTicksInTheLabelsUnit)
{
    rulers.Data().SetUnits(unINCH);
    // Centred over the long ticks at 0, 1 and 2 inches; nothing over the half inch.
    for (int x : {30, 126, 222}) {
        const QRect ink = inkBox(top, QRect(x - 8, 0, 17, 11));
        ASSERT_FALSE(ink.isEmpty()) << x;
        EXPECT_LE(ink.left(), x);
        EXPECT_GE(ink.right(), x);
    }
    EXPECT_TRUE(inkBox(top, QRect(72, 0, 13, 9)).isEmpty());

    const QRect oneInch(118, 0, 17, 11);
    const QImage one = top.Buffer().copy(oneInch);
    EXPECT_NE(one, top.Buffer().copy(oneInch.translated(96, 0))) << "1 and 2 differ";
    EXPECT_LE(inkBox(top, oneInch).width(), 6) << "one digit";

    // A centimetre ruler writes the same 1 over its tenth tick; a millimetre ruler writes 10.
    rulers.Data().SetUnits(unCM);
    const QRect oneCm(59, 0, 17, 11);
    EXPECT_EQ(top.Buffer().copy(oneCm), one);
    rulers.Data().SetUnits(unMM);
    EXPECT_GE(inkBox(top, oneCm).width(), 8) << "two digits";

    // The left ruler's numbers are turned, centred on their tick along the ruler.
    const QRect turned = inkBox(left, QRect(0, 40, 11, 19));
    ASSERT_FALSE(turned.isEmpty());
    EXPECT_GT(turned.height(), turned.width()) << "10 reads along the ruler";
    EXPECT_LE(turned.top(), 49);
    EXPECT_GE(turned.bottom(), 49);
}

TEST_F(RulerTest, ColoursAndFontReachTheRulers)
{
    rulers.SetColor(0x00FF00);
    EXPECT_TRUE(sameColor(top.Buffer().pixel(5, 5), 0x00FF00));
    EXPECT_TRUE(sameColor(left.Buffer().pixel(5, 5), 0x00FF00));
    rulers.SetTickColor(0xFF0000);
    EXPECT_TRUE(sameColor(top.Buffer().pixel(33, 17), 0xFF0000));

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    TZVRulers source(&editor, 96, 96);
    source.SetFont(font);
    source.SetAdjustAligns(true);
    rulers.Assign(source);
    EXPECT_EQ(rulers.Data().Font(), font);
    EXPECT_TRUE(rulers.Data().AdjustAligns());
}

TEST_F(RulerTest, MouseMarkerFollowsTheSurface)
{
    rulers.Data().SetBorderOffset(2);
    top.ShowMousePos(50);
    left.ShowMousePos(50);
    EXPECT_EQ(top.MousePos(), 50 + 18 + 2 + 12);
    EXPECT_EQ(left.MousePos(), 50 + 2 + 12);

    const QImage shown = top.grab().toImage();
    EXPECT_TRUE(sameColor(shown.pixel(82, 2), 255));
    EXPECT_TRUE(sameColor(shown.pixel(82, 16), 255));
    EXPECT_FALSE(sameColor(top.Buffer().pixel(82, 9), 255)) << "drawn over the buffer, not in it";

    top.SetScrollOffset(30);
    top.ShowMousePos(50);
    EXPECT_EQ(top.MousePos(), 52);
    top.ShowMousePos(-1);
    EXPECT_EQ(top.MousePos(), -1);

    // A resize hides the marker and lays out as if scrolled to the start.
    top.ShowMousePos(50);
    top.resize(300, 18);
    EXPECT_EQ(top.MousePos(), -1);
    EXPECT_EQ(top.ScrollOffset(), 0);
    EXPECT_EQ(tickLength(top, true, 32), 6);
}

TEST_F(RulerTest, GuideMarkersSitOverTheGuides)
{
    struct Case
    {
        const char* name;
        bool horizontal;
        float guide; // mm
        int scroll;
        QRect rect;
    };
    const Case cases[] = {
        {"top", true, 10, 0, QRect(64, 11, 7, 7)},
        {"top right half, one pixel back", true, 50, 0, QRect(214, 11, 7, 7)},
        {"top under the corner", true, 0, 20, QRect()},
        {"left", false, 10, 0, QRect(11, 46, 7, 7)},
        {"left lower half", false, 60, 0, QRect(11, 234, 7, 7)},
    };
    rulers.Data().SetShowAlign(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVRuler& r = ruler(c.horizontal);
        r.SetScrollOffset(c.scroll);
        c.horizontal ? rulers.Data().SetGuideX(c.guide, true) : rulers.Data().SetGuideY(c.guide, true);
        EXPECT_EQ(r.GuideMarkRect(), c.rect);
        if (!c.rect.isEmpty()) {
            const QImage& glyph = rulers.Data().GuideMark(c.horizontal ? 0 : 1);
            EXPECT_EQ(r.Buffer().pixel(c.rect.topLeft() + QPoint(3, 2)), glyph.pixel(3, 2));
        }
    }
    rulers.Data().SetShowAlign(false);
    EXPECT_TRUE(top.GuideMarkRect().isEmpty()) << "a hidden marker cannot be grabbed";
}

TEST_F(RulerTest, DraggingAGuideMovesTheLabelsGuide)
{
    struct Case
    {
        const char* name;
        bool horizontal;
        QList<int> moves; // positions along the ruler after pressing the marker
        int duringDrag;   // the background's guide, model units
        int afterRelease;
    };
    const Case cases[] = {
        // 10 mm is at pixel 67 on the top ruler, 49 on the left one.
        {"right", true, {105}, 1984, 1984},
        {"stops at the label's edge", true, {40, 25}, 0, 0},
        {"a jump onto the corner stops at the edge", true, {5}, 0, 0},
        {"past the label's end", true, {330}, 6000, 6000},
        {"left ruler down", false, {87}, 1984, 1984},
        {"left ruler above the edge", false, {20, 3}, 0, 0},
    };
    rulers.Data().SetShowAlign(true);
    rulers.SetAdjustAligns(true);
    TZVBackSurf& back = editor.label.BackSurf();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        back.SetGuideX(10);
        back.SetGuideY(10);
        rulers.Data().SetGuideX(10, true);
        rulers.Data().SetGuideY(10, true);
        TZVRuler& r = ruler(c.horizontal);
        auto at = [&](int pos) { return c.horizontal ? QPoint(pos, 14) : QPoint(14, pos); };

        QTest::mousePress(&r, Qt::LeftButton, {}, r.GuideMarkRect().center());
        ASSERT_TRUE(r.GuideDragging());
        EXPECT_TRUE(back.GuidesInSelection());
        const int contentDirty = editor.contentDirty;
        editor.selectionDirty = 0;
        for (int pos : c.moves)
            QTest::mouseMove(&r, at(pos));
        EXPECT_EQ(c.horizontal ? back.GuideX() : back.GuideY(), c.duringDrag);
        EXPECT_EQ(editor.contentDirty, contentDirty) << "only the selection layer is redrawn";
        EXPECT_EQ(editor.selectionDirty, int(c.moves.size()));

        QTest::mouseRelease(&r, Qt::LeftButton, {}, at(c.moves.back()));
        EXPECT_FALSE(r.GuideDragging());
        EXPECT_FALSE(back.GuidesInSelection());
        const float ruled = c.horizontal ? rulers.Data().GuideX() : rulers.Data().GuideY();
        EXPECT_FLOAT_EQ(ruled, c.afterRelease / 100.0f) << "the ruler takes the label's guide back";
        EXPECT_EQ(c.horizontal ? back.GuideY() : back.GuideX(), 1000) << "the other guide stays";
    }
}

TEST_F(RulerTest, MarkersOnlyDragWhenAllowed)
{
    rulers.Data().SetShowAlign(true);
    rulers.Data().SetGuideX(10, true);
    const QPoint marker = top.GuideMarkRect().center();
    const QPoint beside = marker + QPoint(30, 0);
    QTest::mouseMove(&top, marker);
    EXPECT_EQ(top.cursor().shape(), Qt::ArrowCursor);
    QTest::mousePress(&top, Qt::LeftButton, {}, marker);
    EXPECT_FALSE(top.GuideDragging());
    QTest::mouseRelease(&top, Qt::LeftButton, {}, marker);

    rulers.SetAdjustAligns(true);
    QTest::mouseMove(&top, beside);
    EXPECT_EQ(top.cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(&top, marker);
    EXPECT_EQ(top.cursor().shape(), Qt::BitmapCursor);
    QTest::mousePress(&top, Qt::LeftButton, {}, beside);
    EXPECT_FALSE(top.GuideDragging());
}

TEST_F(RulerTest, GuideMovesAreIgnoredWhileLoadingOrDestroying)
{
    TZVBackSurf& back = editor.label.BackSurf();
    for (bool* flag : {&editor.loading, &editor.destroying}) {
        *flag = true;
        rulers.Data().SetGuideX(20, false);
        rulers.Data().OnGuideMoved();
        EXPECT_EQ(back.GuideX(), 0);
        *flag = false;
    }
    rulers.Data().OnGuideMoved();
    EXPECT_EQ(back.GuideX(), 2000);
}

// ---------------------------------------------------------------------------------------------
// Cursors

TEST(Cursors, EveryTableEntryIsItsOwnPicture)
{
    test::ensureApplication<QApplication>();
    const int ids[] = {crZvMoveLeft, crZvMoveTop, crZvMove,   crZvText,   crZvRect, crZvSymb,  crZvLine,
                       crZvPara,     crZvBarc,    crZvAddt,   crZvImag,   crZvTabl, crZvAskt,  crZvPolt,
                       crZvRefLine,  crZvAlignX,  crZvAlignY, crZvLayout, crZvPdf,  crZvQrCode, crZvDataMatrix};
    std::set<QByteArray> pictures;
    for (int id : ids) {
        SCOPED_TRACE(id);
        const QCursor cursor = ZvCursor(id);
        ASSERT_EQ(cursor.shape(), Qt::BitmapCursor);
        const QImage image = cursor.pixmap().toImage();
        ASSERT_EQ(image.size(), QSize(32, 32));
        EXPECT_TRUE(QRect(0, 0, 32, 32).contains(cursor.hotSpot()));
        EXPECT_EQ(ZvCursor(id).pixmap().cacheKey(), cursor.pixmap().cacheKey()) << "made once";
        const QByteArray bits(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
        EXPECT_TRUE(pictures.insert(bits).second) << "same picture as another cursor";
    }
    for (int id : {int(crZvDefault), 1, 4, 26, -3})
        EXPECT_EQ(ZvCursor(id).shape(), Qt::ArrowCursor) << id;
}

TEST(Cursors, ToolIconsAreTheCursorGlyphsWithoutTheCrosshair)
{
    test::ensureApplication<QApplication>();
    const TZVDrawTool tools[] = {dwSelection, dwLine,   dwRect,      dwText,  dwBarCode, dwSymbol,
                                 dwAddText,   dwImage,  dwParagraph, dwTable, dwAskText};
    std::set<QByteArray> pictures;
    for (TZVDrawTool tool : tools) {
        SCOPED_TRACE(int(tool));
        const QImage icon = ZvToolIcon(tool).pixmap(QSize(18, 18)).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(icon.size(), QSize(18, 18));
        const QByteArray bits(reinterpret_cast<const char*>(icon.constBits()), icon.sizeInBytes());
        EXPECT_TRUE(pictures.insert(bits).second) << "same icon as another tool";
        if (tool == dwSelection) continue;
        // The cursor's glyph corner holds exactly the icon: no crosshair stroke reaches into it.
        const QImage cursor = ZvCursor(ZvCursorOfTool(tool)).pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(cursor.copy(13, 13, 18, 18), icon);
    }
}

} // namespace
} // namespace zorvel
