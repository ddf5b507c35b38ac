// Direct manipulation driven with QTest mouse and key events: draw tools, clicks, bands, drags,
// right clicks, double clicks and keyboard nudging.
#include "EditorTestSupport.h"

#include "elements/ZVBarCode.h"

#include "elements/ZVImage.h"
#include "elements/ZVLineRect.h"
#include "elements/ZVTextElements.h"
#include "editor/ZVRulerControls.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

namespace zorvel::test {
namespace {

using EditorMouse = EditorFixture;

TEST_F(EditorMouse, TextToolClickCreatesASelectedTextAtTheSnappedPointAndStays)
{
    editor->Grid()->SetIncX(5);
    editor->Grid()->SetIncY(5);
    editor->SetSnap(snGrid);
    editor->SetDrawTool(dwText);
    QList<TZVElement*> inserted;
    editor->OnBeforeInsert = [&](QObject*, TZVElement* element) {
        EXPECT_FALSE(element->Selected());
        inserted.append(element);
    };
    click(px(1240, 760));

    ASSERT_EQ(label->Elements().size(), 1);
    TZVElement* text = label->Elements().first();
    EXPECT_EQ(text->ElementKind(), ekText);
    EXPECT_EQ(text->ID(), QStringLiteral("Text1"));
    EXPECT_EQ(inserted, (QList<TZVElement*>{text}));
    EXPECT_EQ(editor->Selection(), (QList<TZVElement*>{text}));
    const QPoint snapped = px(1000, 1000);
    EXPECT_EQ(text->X1(), editor->PixelToModelX(snapped.x()));
    EXPECT_EQ(text->Y1(), editor->PixelToModelY(snapped.y()));
    EXPECT_TRUE(label->Modified());
    EXPECT_EQ(editor->DrawTool(), dwText);

    click(px(3000, 2000));
    ASSERT_EQ(label->Elements().size(), 2);
    EXPECT_EQ(label->Elements().last()->ID(), QStringLiteral("Text2"));
    EXPECT_EQ(editor->SelCount(), 1);
}

TEST_F(EditorMouse, BandDirectionChoosesWholeOrTouching)
{
    TZVElement* inside = add(ekRect, 1000, 1000, 2000, 2000);
    TZVElement* across = add(ekRect, 1800, 1000, 3500, 2000);
    const QPoint topLeft = px(800, 800);
    const QPoint bottomRight = px(2500, 2200);
    struct Case
    {
        const char* name;
        QPoint from;
        QPoint to;
        QList<TZVElement*> expected;
        bool reversed;
    };
    const Case cases[] = {
        {"down and right", topLeft, bottomRight, {inside}, false},
        {"up and left", bottomRight, topLeft, {inside, across}, true},
        {"down and left", QPoint(bottomRight.x(), topLeft.y()), QPoint(topLeft.x(), bottomRight.y()),
         {inside, across}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editor->ClearSelection();
        drag(c.from, c.to);
        EXPECT_EQ(editor->Selection(), c.expected);
        EXPECT_EQ(surface()->State().BandReversed, c.reversed);
        EXPECT_FALSE(surface()->BandShown());
    }
}

TEST_F(EditorMouse, ShiftClickAddsAndRemoves)
{
    TZVElement* a = add(ekRect, 500, 500, 1500, 1500);
    TZVElement* b = add(ekRect, 2500, 500, 3500, 1500);
    click(centre(a));
    click(centre(b), Qt::ShiftModifier);
    EXPECT_EQ(editor->Selection(), (QList<TZVElement*>{a, b}));
    EXPECT_EQ(surface()->MarkMode(), mmGroup);
    click(centre(a), Qt::ShiftModifier);
    EXPECT_EQ(editor->Selection(), (QList<TZVElement*>{b}));
    EXPECT_EQ(label->CurrentElement(), b);
}

TEST_F(EditorMouse, EmptyClickKeepsTheSelectionUntilTheRelease)
{
    TZVElement* a = add(ekRect, 500, 500, 1500, 1500);
    click(centre(a));
    const QPoint empty = px(4500, 3000);
    press(empty);
    EXPECT_EQ(editor->SelCount(), 1);
    EXPECT_TRUE(surface()->BandActive());
    release(empty);
    EXPECT_EQ(editor->SelCount(), 0);
    EXPECT_FALSE(surface()->BandActive());
}

TEST_F(EditorMouse, OrthogonalLinesFollowTheLongerSide)
{
    editor->SetLineMove(lmOrto);
    editor->SetDrawTool(dwLine);
    struct Case
    {
        const char* name;
        QPoint delta;
        bool vertical;
    };
    const Case cases[] = {
        {"tie is vertical", {10, 10}, true},
        {"wider is horizontal", {30, 10}, false},
        {"taller is vertical", {5, 30}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QPoint start(40, 30);
        drag(start, start + c.delta);
        auto* line = qobject_cast<TZVLine*>(label->Elements().last());
        ASSERT_NE(line, nullptr);
        if (c.vertical) {
            EXPECT_EQ(line->X1(), line->X2());
            EXPECT_EQ(line->LineOrientation(), TZVLine::loVertical);
        } else {
            EXPECT_EQ(line->Y1(), line->Y2());
            EXPECT_EQ(line->LineOrientation(), TZVLine::loHorizontal);
        }
        EXPECT_EQ(line->X1(), editor->PixelToModelX(start.x()));
        EXPECT_EQ(line->Y1(), editor->PixelToModelY(start.y()));
        EXPECT_EQ(editor->Selection(), (QList<TZVElement*>{line}));
    }
    EXPECT_EQ(editor->DrawTool(), dwLine);
}

TEST_F(EditorMouse, ARectangleDraggedUpwardsIsNormalised)
{
    editor->SetDrawTool(dwRect);
    const QPoint from = px(4000, 3000);
    const QPoint to = px(1000, 1000);
    drag(from, to);
    ASSERT_EQ(label->Elements().size(), 1);
    TZVElement* rect = label->Elements().first();
    EXPECT_EQ(rect->X1(), editor->PixelToModelX(to.x()));
    EXPECT_EQ(rect->Y1(), editor->PixelToModelY(to.y()));
    EXPECT_EQ(rect->X2(), editor->PixelToModelX(from.x()));
    EXPECT_EQ(rect->Y2(), editor->PixelToModelY(from.y()));
    EXPECT_EQ(surface()->MarkMode(), mmBox);
}

TEST_F(EditorMouse, TablesAreAtLeastOneAndAHalfMillimetres)
{
    editor->SetDrawTool(dwTable);
    const QPoint from = px(1000, 1000);
    drag(from, from + QPoint(2, 1));
    ASSERT_EQ(label->Elements().size(), 1);
    TZVElement* table = label->Elements().first();
    EXPECT_EQ(table->X1(), editor->PixelToModelX(from.x()));
    EXPECT_EQ(table->X2() - table->X1(), 150);
    EXPECT_EQ(table->Y2() - table->Y1(), 150);

    // Near the far corner the minimum table stays on the label.
    const QPoint corner(editor->SurfaceWidth() - 1, editor->SurfaceHeight() - 1);
    drag(corner, corner + QPoint(1, 1), {}, 1);
    TZVElement* cornerTable = label->Elements().last();
    EXPECT_EQ(cornerTable->X2(), label->Measure().Width());
    EXPECT_EQ(cornerTable->X2() - cornerTable->X1(), 150);
    EXPECT_EQ(cornerTable->Y2(), label->Measure().Height());
}

TEST_F(EditorMouse, RightClicks)
{
    TZVElement* a = add(ekRect, 500, 500, 1500, 1500);
    int rightClicks = 0;
    bool reported = false;
    QPoint where;
    editor->OnRightMouse = [&](QObject*, bool select, int x, int y, int, int) {
        ++rightClicks;
        reported = select;
        where = {x, y};
    };
    click(centre(a));
    editor->SetDrawTool(dwText);

    click(centre(a), {}, Qt::RightButton);
    EXPECT_TRUE(reported);
    EXPECT_EQ(where, centre(a));
    EXPECT_EQ(editor->SelCount(), 1);
    EXPECT_EQ(editor->DrawTool(), dwText);

    const QPoint empty = px(4500, 3000);
    click(empty, {}, Qt::RightButton);
    EXPECT_FALSE(reported);
    EXPECT_EQ(where, empty);
    EXPECT_EQ(editor->SelCount(), 0);
    EXPECT_EQ(editor->DrawTool(), dwSelection);
    EXPECT_EQ(surface()->MarkMode(), mmNone);
    EXPECT_EQ(rightClicks, 2);
    EXPECT_EQ(label->Elements().size(), 1);
}

TEST_F(EditorMouse, MovingABoxByItsBodyKeepsItsSizeAndStaysInside)
{
    TZVElement* box = add(ekRect, 1000, 1000, 2000, 2000);
    const int width = box->X2() - box->X1();
    click(centre(box));
    const QPoint grab = centre(box);
    drag(grab, grab + QPoint(20, 10));
    EXPECT_NEAR(box->X1(), 1000 + editor->PixelToModelX(20), 30);
    EXPECT_NEAR(box->Y1(), 1000 + editor->PixelToModelY(10), 30);
    EXPECT_NEAR(box->X2() - box->X1(), width, 30);

    // Dragged far past the right edge it lands flush with it.
    drag(centre(box), centre(box) + QPoint(1000, 0));
    EXPECT_EQ(box->X2(), label->Measure().Width());
    EXPECT_NEAR(box->X2() - box->X1(), width, 30);
    EXPECT_EQ(editor->Selection(), (QList<TZVElement*>{box}));
}

TEST_F(EditorMouse, EdgeHandlesResizeOneSide)
{
    TZVElement* box = add(ekRect, 1000, 1000, 2000, 2000);
    click(centre(box));
    ASSERT_EQ(surface()->MarkMode(), mmBox);
    const TRect right = surface()->Marks().HandleRight;
    const QPoint grab(right.Left + 3, right.Top + 3);
    drag(grab, grab + QPoint(30, 5));
    EXPECT_NEAR(box->X1(), 1000, 30);
    EXPECT_NEAR(box->X2(), 2000 + editor->PixelToModelX(30), 30);
    EXPECT_NEAR(box->Y1(), 1000, 30);
    EXPECT_NEAR(box->Y2(), 2000, 30);

    // A resize below the minimum keeps the box at least 8 pixels wide.
    const TRect left = surface()->Marks().HandleLeft;
    const QPoint leftGrab(left.Left + 3, left.Top + 3);
    drag(leftGrab, QPoint(box->ScreenRect().Right + 40, leftGrab.y()));
    EXPECT_GE(box->ScreenRect().Width(), 8);
    EXPECT_LT(box->X1(), box->X2());
}

TEST_F(EditorMouse, AClickOnASelectedElementDoesNotMoveIt)
{
    TZVElement* box = add(ekRect, 1003, 1007, 2011, 2013);
    click(centre(box));
    click(centre(box));
    const TRect right = surface()->Marks().HandleRight;
    click(QPoint(right.Left + 3, right.Top + 3));
    EXPECT_EQ(box->X1(), 1003);
    EXPECT_EQ(box->Y1(), 1007);
    EXPECT_EQ(box->X2(), 2011);
    EXPECT_EQ(box->Y2(), 2013);
}

TEST_F(EditorMouse, APressOnASelectedElementMovesItAfterAToolChange)
{
    struct Case
    {
        const char* name;
        int kind;
        TRect corners;           // X1, Y1, X2, Y2
        TZVDrawTool toolBetween; // dwSelection: no tool change
    };
    const Case cases[] = {
        {"box, no tool change", ekRect, {1000, 1000, 2000, 2000}, dwSelection},
        {"box after the text tool", ekRect, {1000, 1000, 2000, 2000}, dwText},
        {"box after the rectangle tool", ekRect, {1000, 1000, 2000, 2000}, dwRect},
        {"line after the text tool", ekLine, {1000, 2000, 3000, 2000}, dwText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVElement* element = add(c.kind, c.corners.Left, c.corners.Top, c.corners.Right, c.corners.Bottom);
        const QPoint grab = px((c.corners.Left + c.corners.Right) / 2, (c.corners.Top + c.corners.Bottom) / 2);
        click(grab);
        ASSERT_EQ(editor->Selection(), (QList<TZVElement*>{element}));
        editor->SetDrawTool(c.toolBetween);
        editor->SetDrawTool(dwSelection);
        drag(grab, grab + QPoint(20, 10));
        EXPECT_NEAR(element->X1(), c.corners.Left + editor->PixelToModelX(20), 30);
        EXPECT_NEAR(element->Y1(), c.corners.Top + editor->PixelToModelY(10), 30);
        EXPECT_NEAR(element->X2() - element->X1(), c.corners.Right - c.corners.Left, 30);
        EXPECT_EQ(editor->Selection(), (QList<TZVElement*>{element}));
        label->ClearElements();
    }
}

TEST_F(EditorMouse, LineEndsAreDraggedWithoutSwappingUntilRelease)
{
    TZVElement* line = add(ekLine, 1000, 2000, 3000, 2000);
    click(px(2000, 2000));
    ASSERT_EQ(surface()->MarkMode(), mmLine);
    const TRect start = surface()->Marks().LineStartHandle;
    const QPoint grab(start.Left + 3, start.Top + 3);
    const QPoint past = px(4000, 2500);
    press(grab);
    moveHeld(past);
    // While dragged the start point is past the end point: not normalised yet.
    EXPECT_GT(line->X1(), line->X2());
    release(past);
    EXPECT_LT(line->X1(), line->X2());
    EXPECT_EQ(line->X1(), 3000);
    EXPECT_NEAR(line->X2(), 4000, 30);
    EXPECT_NEAR(line->Y2(), 2500, 30);
    EXPECT_EQ(editor->Selection(), (QList<TZVElement*>{line}));
}

TEST_F(EditorMouse, AGroupMovesTogether)
{
    TZVElement* a = add(ekRect, 500, 500, 1500, 1500);
    TZVElement* b = add(ekRect, 2500, 1000, 3500, 2000);
    click(centre(a));
    click(centre(b), Qt::ShiftModifier);
    const int dx = b->X1() - a->X1();
    const int dy = b->Y1() - a->Y1();
    drag(centre(a), centre(a) + QPoint(15, 12));
    EXPECT_NEAR(a->X1(), 500 + editor->PixelToModelX(15), 30);
    EXPECT_NEAR(b->X1() - a->X1(), dx, 30);
    EXPECT_NEAR(b->Y1() - a->Y1(), dy, 30);
    EXPECT_EQ(editor->SelCount(), 2);
}

TEST_F(EditorMouse, NothingHappensWithoutAllowEdit)
{
    TZVElement* a = add(ekRect, 500, 500, 1500, 1500);
    editor->SetAllowEdit(false);
    int events = 0;
    editor->OnLabelMouseDown = [&](QObject*, int, int, int, int, double, double) { ++events; };
    editor->OnLabelMouseMove = [&](QObject*, int, int, double, double) { ++events; };
    editor->OnLabelMouseUp = [&](QObject*, int, int, int, int, double, double) { ++events; };
    drag(centre(a), centre(a) + QPoint(20, 20));
    EXPECT_EQ(events, 0);
    EXPECT_EQ(editor->SelCount(), 0);
    EXPECT_EQ(a->X1(), 500);
}

TEST_F(EditorMouse, MouseEventsReportTheLabelUnit)
{
    double xValue = -1;
    double yValue = -1;
    editor->OnLabelMouseDown = [&](QObject* sender, int, int, int, int, double x, double y) {
        EXPECT_EQ(sender, editor);
        xValue = x;
        yValue = y;
    };
    const QPoint p = px(2000, 1000);
    click(p);
    EXPECT_NEAR(xValue, editor->PixelToUnitX(p.x()), 1e-6);
    EXPECT_NEAR(yValue, 10.0, 0.2);
}

TEST_F(EditorMouse, TheImageToolAsksForAFileAndCreatesNothingWhenCancelled)
{
    QString askedFilter;
    QString answer;
    editor->PictureChooser = [&](const QString&, const QString& filter) {
        askedFilter = filter;
        return answer;
    };
    editor->SetDrawTool(dwImage);
    drag(px(1000, 1000), px(2000, 2000));
    EXPECT_EQ(askedFilter, label->PictureFilter());
    EXPECT_TRUE(label->Elements().isEmpty());

    QTemporaryDir dir;
    answer = dir.filePath(QStringLiteral("red.bmp"));
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(answer));
    drag(px(1000, 1000), px(2000, 2000));
    ASSERT_EQ(label->Elements().size(), 1);
    auto* image = qobject_cast<TZVImage*>(label->Elements().first());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->FileImage(), answer);
    EXPECT_TRUE(messages.isEmpty()) << "the picture was read: " << messages.join(", ").toStdString();
    EXPECT_EQ(editor->Selection(), (QList<TZVElement*>{image}));
}

class CountingElementEditor final : public TZVElementEditor
{
public:
    QList<TZVElement*> edited;
    void EditElement(TZVCustomLab&, TZVElement& element) override { edited.append(&element); }
};

TEST_F(EditorMouse, TheParagraphToolOpensTheParagraphDialog)
{
    CountingElementEditor dialogs;
    label->SetElementEditor(&dialogs);
    editor->SetDrawTool(dwParagraph);
    drag(px(1000, 1000), px(3000, 2000));
    ASSERT_EQ(label->Elements().size(), 1);
    EXPECT_EQ(dialogs.edited, (QList<TZVElement*>{label->Elements().first()}));
    EXPECT_EQ(label->CurrentElement(), label->Elements().first());
    label->SetElementEditor(nullptr);
}

TEST_F(EditorMouse, DoubleClickOnASelectionIsReported)
{
    TZVElement* a = add(ekRect, 500, 500, 1500, 1500);
    int doubleClicks = 0;
    editor->OnSelectDblClick = [&](QObject* sender) {
        EXPECT_EQ(sender, editor);
        ++doubleClicks;
    };
    QTest::mouseDClick(surface(), Qt::LeftButton, {}, px(4500, 3000));
    EXPECT_EQ(doubleClicks, 0);
    click(centre(a));
    QTest::mouseDClick(surface(), Qt::LeftButton, {}, centre(a));
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(a->X1(), 500);
}

TEST_F(EditorMouse, HoveringShowsWhatAPressWouldDo)
{
    TZVElement* box = add(ekRect, 1000, 1000, 2500, 2500);
    click(centre(box));
    const TZVMarks& marks = surface()->Marks();
    struct Case
    {
        const char* name;
        QPoint at;
        Qt::CursorShape shape;
    };
    const Case cases[] = {
        {"left handle", QPoint(marks.HandleLeft.Left + 3, marks.HandleLeft.Top + 3), Qt::SizeHorCursor},
        {"bottom handle", QPoint(marks.HandleBottom.Left + 3, marks.HandleBottom.Top + 3), Qt::SizeVerCursor},
        {"body", centre(box), Qt::PointingHandCursor},
        {"elsewhere", px(5000, 3000), Qt::ArrowCursor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTest::mouseMove(surface(), c.at);
        EXPECT_EQ(surface()->cursor().shape(), c.shape);
    }
}

TEST_F(EditorMouse, HoveringADataBoundElementNamesItsField)
{
    auto* text = static_cast<TZVDataText*>(add(ekText, 1000, 1000, 0, 0));
    text->SetText(QStringLiteral("Price"));
    label->NotifyChange(ckLayers, 0, {});
    const QPoint over = centre(text);
    QTest::mouseMove(surface(), over);
    EXPECT_TRUE(surface()->HintField().isEmpty());
    text->SetData(true);
    text->SetFieldName(QStringLiteral("Price"));
    // The text now shows its field: its box changed.
    QTest::mouseMove(surface(), centre(text));
    EXPECT_FALSE(surface()->HintField().isEmpty());
    EXPECT_EQ(surface()->HintField(), text->FieldName());
    QTest::mouseMove(surface(), px(5000, 3000));
    EXPECT_TRUE(surface()->HintField().isEmpty());
}

TEST_F(EditorMouse, HoveringABarCodeWithATemplateShowsTheTemplate)
{
    auto* code = static_cast<TZVBarCode*>(add(ekBarCode, 1000, 1000, 0, 0));
    code->SetTemplate(QStringLiteral("{CODE}"));
    label->NotifyChange(ckLayers, 0, {});
    QTest::mouseMove(surface(), centre(code));
    EXPECT_EQ(surface()->HintField(), QStringLiteral("{CODE}"));
}

TEST_F(EditorMouse, TheRulerMarkersFollowTheMouse)
{
    QTest::mouseMove(surface(), QPoint(40, 30));
    const int top = editor->TopRuler()->MousePos();
    const int left = editor->LeftRuler()->MousePos();
    EXPECT_GE(top, 0);
    QTest::mouseMove(surface(), QPoint(50, 36));
    EXPECT_EQ(editor->TopRuler()->MousePos(), top + 10);
    EXPECT_EQ(editor->LeftRuler()->MousePos(), left + 6);
    editor->SetZoom(zm200);
    EXPECT_EQ(editor->TopRuler()->MousePos(), -1);
}

// ---- Keyboard ----

TEST_F(EditorMouse, CtrlArrowsMoveAndShiftArrowsResizeByTheGridStep)
{
    editor->Grid()->SetIncX(2);
    editor->Grid()->SetIncY(3);
    TZVElement* box = add(ekRect, 1000, 1000, 2000, 2000);
    click(centre(box));
    struct Case
    {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        TRect expected; // X1, Y1, X2, Y2
    };
    const Case cases[] = {
        {"ctrl right", Qt::Key_Right, Qt::ControlModifier, {1200, 1000, 2200, 2000}},
        {"ctrl down", Qt::Key_Down, Qt::ControlModifier, {1200, 1300, 2200, 2300}},
        {"ctrl shift left", Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier, {1000, 1300, 2000, 2300}},
        {"ctrl up", Qt::Key_Up, Qt::ControlModifier, {1000, 1000, 2000, 2000}},
        {"shift right", Qt::Key_Right, Qt::ShiftModifier, {1000, 1000, 2200, 2000}},
        {"shift up", Qt::Key_Up, Qt::ShiftModifier, {1000, 1000, 2200, 1700}},
        // Plain arrows move by a tenth of a millimetre, whatever the grid.
        {"plain left", Qt::Key_Left, Qt::NoModifier, {990, 1000, 2190, 1700}},
        {"plain down", Qt::Key_Down, Qt::NoModifier, {990, 1010, 2190, 1710}},
        {"shift left", Qt::Key_Left, Qt::ShiftModifier, {990, 1010, 1990, 1710}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTest::keyClick(editor, c.key, c.mods);
        EXPECT_EQ((TRect{box->X1(), box->Y1(), box->X2(), box->Y2()}), c.expected);
    }
}

TEST_F(EditorMouse, ShiftLeftDoesNotShrinkAnElementOfOneStepOrLess)
{
    editor->Grid()->SetIncX(5);
    TZVElement* narrow = add(ekRect, 1000, 1000, 1500, 2000);
    TZVElement* wider = add(ekRect, 3000, 1000, 3600, 2000);
    editor->AddToSelection(narrow);
    editor->AddToSelection(wider);
    QTest::keyClick(editor, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(narrow->X2(), 1500);
    EXPECT_EQ(wider->X2(), 3100);
    QTest::keyClick(editor, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(wider->X2(), 3100);
}

TEST_F(EditorMouse, NudgingKeepsElementsOnTheLabel)
{
    editor->Grid()->SetIncX(10);
    TZVElement* box = add(ekRect, 300, 1000, 1300, 2000);
    editor->AddToSelection(box);
    QTest::keyClick(editor, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(box->X1(), 0);
    EXPECT_EQ(box->X2(), 1000);
}

TEST_F(EditorMouse, ClickingAnElementGivesTheEditorTheKeys)
{
    TZVElement* box = add(ekRect, 1000, 1000, 2000, 2000);
    form->activateWindow();
    click(centre(box));
    EXPECT_TRUE(editor->hasFocus());
}

} // namespace
} // namespace zorvel::test
