// The editor's own keys and the small gestures around them: pasting, plain clicks with the box
// tools, a cancelled new paragraph, right clicks on a multiple selection and Ctrl+wheel zooming.
#include "EditorTestSupport.h"

#include "../support/ModalWatch.h"
#include "dialogs/ZVParagraphDialog.h"
#include "dialogs/ZVStandardDialogs.h"
#include "elements/ZVParagraph.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>
#include <functional>

using namespace zorvel;
using namespace zorvel::test;

namespace {

class EditorKeys : public EditorFixture
{
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        a = add(ekRect, 500, 500, 1500, 1200);
        b = add(ekRect, 2000, 500, 3000, 1200);
        label->UndoStack().clear();
        label->SetModified(false);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(editor, k, mods); }
    void select(TZVElement* element, Qt::KeyboardModifiers mods = {}) { click(centre(element), mods); }
    // The pointer over the surface with no button held.
    void hover(QPoint p)
    {
        QMouseEvent event(QEvent::MouseMove, QPointF(p), surface()->mapToGlobal(QPointF(p)), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(surface(), &event);
    }

    TZVElement* a = nullptr;
    TZVElement* b = nullptr;
};

TEST_F(EditorKeys, EditingKeys)
{
    struct Case
    {
        const char* name;
        std::function<void()> prepare;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        std::function<void()> check;
    };
    const int count = 2;
    // Deleted elements would clear it, whatever their memory reads back.
    QPointer<TZVElement> held;
    const Case cases[] = {
        {"Ctrl+Z undoes", [&] { select(a); key(Qt::Key_Right); }, Qt::Key_Z, Qt::ControlModifier,
         [&] { EXPECT_EQ(a->X1(), 500); }},
        {"Ctrl+Shift+Z redoes", [&] { select(a); key(Qt::Key_Right); editor->Undo(); }, Qt::Key_Z,
         Qt::ControlModifier | Qt::ShiftModifier, [&] { EXPECT_EQ(a->X1(), 510); }},
        {"Ctrl+Y redoes", [&] { select(a); held = a; key(Qt::Key_Right); editor->Undo(); }, Qt::Key_Y,
         Qt::ControlModifier,
         [&] {
             ASSERT_FALSE(held.isNull());
             EXPECT_EQ(a->X1(), 510);
             EXPECT_EQ(label->Elements(), (QList<TZVElement*>{a, b}));
         }},
        {"Ctrl+C copies", [&] { select(a); }, Qt::Key_C, Qt::ControlModifier,
         [&] {
             EXPECT_TRUE(editor->HasClipboard());
             EXPECT_EQ(label->Elements().size(), count);
         }},
        {"Ctrl+X cuts", [&] { select(a); }, Qt::Key_X, Qt::ControlModifier,
         [&] {
             EXPECT_TRUE(editor->HasClipboard());
             EXPECT_EQ(label->Elements().size(), count - 1);
         }},
        {"Ctrl+V pastes", [&] { select(a); editor->CopySelection(); }, Qt::Key_V, Qt::ControlModifier,
         [&] { EXPECT_EQ(label->Elements().size(), count + 1); }},
        {"Ctrl+A selects all", [] {}, Qt::Key_A, Qt::ControlModifier, [&] { EXPECT_EQ(editor->SelCount(), count); }},
        {"Delete", [&] { select(a); }, Qt::Key_Delete, {}, [&] { EXPECT_EQ(label->Elements().size(), count - 1); }},
        {"Backspace", [&] { select(a); }, Qt::Key_Backspace, {},
         [&] { EXPECT_EQ(label->Elements().size(), count - 1); }},
        {"Delete refused by the application",
         [&] {
             select(a);
             editor->OnBeforeDelete = [](QObject*, bool& allow) { allow = false; };
         },
         Qt::Key_Delete, {}, [&] { EXPECT_EQ(label->Elements().size(), count); }},
        {"Escape without a gesture takes the selection tool", [&] { editor->SetDrawTool(dwRect); }, Qt::Key_Escape,
         {}, [&] { EXPECT_EQ(editor->DrawTool(), dwSelection); }},
        {"Escape puts a drag back",
         [&] {
             select(a);
             held = a;
             press(centre(a));
             moveHeld(centre(a) + QPoint(30, 20));
             ASSERT_NE(label->Elements().at(0)->X1(), 500);
         },
         Qt::Key_Escape, {},
         [&] {
             // The element held through the drag is the one put back.
             ASSERT_FALSE(held.isNull());
             ASSERT_EQ(label->Elements().at(0), a);
             release(centre(a) + QPoint(30, 20));
             EXPECT_EQ((TRect{a->X1(), a->Y1(), a->X2(), a->Y2()}), (TRect{500, 500, 1500, 1200}));
             EXPECT_EQ(label->UndoStack().count(), 0);
             EXPECT_FALSE(label->Modified());
             EXPECT_EQ(editor->SelectedIndexes(), QList<int>{0});
         }},
        {"Escape ends a band without placing", [&] { editor->SetDrawTool(dwRect); press(px(3500, 2000)); moveHeld(px(4500, 3000)); },
         Qt::Key_Escape, {},
         [&] {
             release(px(4500, 3000));
             EXPECT_EQ(label->Elements().size(), count);
         }},
        {"a plain arrow in inches moves a hundredth of an inch",
         [&] {
             label->SetUnits(unINCH);
             select(a);
         },
         Qt::Key_Left, {}, [&] { EXPECT_EQ(label->Elements().at(0)->X1(), 500 - 25); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editor->OnBeforeDelete = nullptr;
        editor->SetDrawTool(dwSelection);
        editor->EmptyClipboard();
        label->SetUnits(unMM);
        label->ClearElements();
        a = add(ekRect, 500, 500, 1500, 1200);
        b = add(ekRect, 2000, 500, 3000, 1200);
        label->UndoStack().clear();
        label->SetModified(false);
        c.prepare();
        key(c.key, c.mods);
        c.check();
    }
}

TEST_F(EditorKeys, PastedElementsBecomeTheSelectionAtThePointer)
{
    select(a);
    select(b, Qt::ShiftModifier);
    editor->CopySelection();
    editor->PasteClipboard(0, 0);
    EXPECT_EQ(editor->SelectedIndexes(), (QList<int>{2, 3}));

    // Over the label the copy lands with its top left corner under the pointer.
    editor->ClearSelection();
    select(a);
    key(Qt::Key_C, Qt::ControlModifier);
    const QPoint at = px(3500, 2000);
    hover(at);
    key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(label->Elements().size(), 5);
    const TZVElement* pasted = label->Elements().last();
    EXPECT_EQ(pasted->X1(), editor->PixelToModelX(at.x()));
    EXPECT_EQ(pasted->Y1(), editor->PixelToModelY(at.y()));
    EXPECT_EQ(editor->SelectedIndexes(), QList<int>{4});
}

TEST_F(EditorKeys, APlainClickWithABoxToolPlacesADefaultSize)
{
    label->SetElementEditor(nullptr);
    label->ClearElements();
    struct Case
    {
        TZVDrawTool tool;
        int width, height;
    };
    const Case cases[] = {{dwRect, 2000, 1000}, {dwLine, 2000, 0}, {dwTable, 4000, 1500}, {dwParagraph, 4000, 1500}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.tool));
        editor->SetDrawTool(c.tool);
        const QPoint at = px(1000, 800);
        click(at);
        const TZVElement* placed = label->Elements().last();
        EXPECT_EQ(placed->X1(), editor->PixelToModelX(at.x()));
        EXPECT_EQ(placed->X2() - placed->X1(), c.width);
        EXPECT_EQ(placed->Y2() - placed->Y1(), c.height);
    }
    // Near the far corner it stays on the label.
    editor->SetDrawTool(dwRect);
    click({editor->SurfaceWidth() - 2, editor->SurfaceHeight() - 2});
    EXPECT_EQ(label->Elements().last()->X2(), label->Measure().Width());
    EXPECT_EQ(label->Elements().last()->Y2(), label->Measure().Height());
}

TEST_F(EditorKeys, CancellingTheDialogOfANewParagraphRemovesIt)
{
    TZVStandardDialogs::InstallOn(*label);
    editor->SetDrawTool(dwParagraph);
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        const ModalWatch<TPropPara> watch([ok](TPropPara* shown) {
            shown->findChild<QPlainTextEdit*>(QStringLiteral("Memo"))->setPlainText(QStringLiteral("words"));
            shown->findChild<QPushButton*>(ok ? QStringLiteral("BuOK") : QStringLiteral("BuCancel"))->click();
        });
        drag(px(3500, 1800), px(5000, 3000));
        EXPECT_TRUE(watch.seen());
        EXPECT_EQ(label->Elements().size(), ok ? 3 : 2);
        EXPECT_EQ(label->UndoStack().count(), ok ? 1 : 0) << "a new paragraph and its text are one step";
    }
    label->SetElementEditor(nullptr);
}

TEST_F(EditorKeys, ARightClickOnAnySelectedElementKeepsTheSelection)
{
    select(a);
    select(b, Qt::ShiftModifier);
    bool hit = false;
    editor->OnRightMouse = [&](QObject*, bool select, int, int, int, int) { hit = select; };
    click(centre(b), {}, Qt::RightButton);
    EXPECT_TRUE(hit);
    EXPECT_EQ(editor->SelCount(), 2);
    click(px(5500, 3000), {}, Qt::RightButton);
    EXPECT_FALSE(hit);
    EXPECT_EQ(editor->SelCount(), 0);
}

TEST_F(EditorKeys, CtrlWheelZoomsThroughTheLevelsAroundThePointer)
{
    editor->SetZoom(zm450);
    int told = 0;
    editor->OnZoomChange = [&](QObject*) { ++told; };
    const QPoint at = px(4000, 2500);
    const auto wheel = [&](int delta, Qt::KeyboardModifiers mods) {
        QWheelEvent event(QPointF(at), surface()->mapToGlobal(QPointF(at)), {}, {0, delta}, Qt::NoButton, mods,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(surface(), &event);
    };
    const QPoint global = surface()->mapToGlobal(at);
    wheel(120, Qt::ControlModifier);
    EXPECT_EQ(editor->Zoom(), zm500);
    const QPoint now = surface()->mapFromGlobal(global);
    // The same label point lies under the pointer, to a pixel.
    EXPECT_NEAR(editor->PixelToModelX(now.x()), 4000, 30);
    EXPECT_NEAR(editor->PixelToModelY(now.y()), 2500, 30);
    wheel(120, Qt::ControlModifier);
    EXPECT_EQ(editor->Zoom(), zm500) << "the last level";
    wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(editor->Zoom(), zm450);
    wheel(-120, {});
    EXPECT_EQ(editor->Zoom(), zm450) << "without Ctrl the wheel scrolls";
    EXPECT_EQ(told, 2) << "a host hears of each change of level, and only then";
}

// The label point under the pointer stays there at every level, up and down, from places near the
// corners and the middle of the view, also where both scroll bars come at once (106 x 78 mm, 175 to
// 200 %); where the view cannot scroll so far, its scroll bar stops at the limit.
TEST_F(EditorKeys, CtrlWheelKeepsThePointUnderThePointerAtEveryLevel)
{
    QWidget* view = editor->ScrollBox()->viewport();
    const QScrollBar* bars[] = {editor->ScrollBox()->horizontalScrollBar(),
                                editor->ScrollBox()->verticalScrollBar()};
    const int w = view->width();
    const int h = view->height();
    const QPoint places[] = {{30, 25}, {w / 2, h / 2}, {w - 40, h - 40}, {w - 40, 40}};
    const QSize sizes[] = {{60, 35}, {106, 78}}; // mm
    for (const QSize size : sizes)
        for (const QPoint place : places) {
            label->Measure().SetWidth(size.width());
            label->Measure().SetHeight(size.height());
            editor->SetZoom(zm50);
            for (int step = 0; step < 24; ++step) {
                const int delta = step < 12 ? 120 : -120;
                SCOPED_TRACE(QStringLiteral("%1 x %2 mm at %3, %4, zoom %5 by %6")
                                 .arg(size.width())
                                 .arg(size.height())
                                 .arg(place.x())
                                 .arg(place.y())
                                 .arg(int(editor->Zoom()))
                                 .arg(delta)
                                 .toStdString());
                QApplication::processEvents(); // the scroll bars come and go
                const QPoint at = surface()->mapFrom(view, place);
                if (!surface()->rect().contains(at) || !view->rect().contains(place)) {
                    // Off the label the wheel scrolls: the next level is set instead.
                    editor->SetZoom(static_cast<TZVZoom>(editor->Zoom() + (delta > 0 ? 1 : -1)));
                    continue;
                }
                const double share[] = {at.x() / double(editor->SurfaceWidth()),
                                        at.y() / double(editor->SurfaceHeight())};
                QWheelEvent event(QPointF(at), surface()->mapToGlobal(QPointF(at)), {}, {0, delta},
                                  Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(surface(), &event);
                QApplication::processEvents();
                const QPoint now = surface()->mapFrom(view, place);
                const double wanted[] = {share[0] * editor->SurfaceWidth(),
                                         share[1] * editor->SurfaceHeight()};
                const int pointer[] = {now.x(), now.y()};
                for (int axis = 0; axis < 2; ++axis) {
                    const QScrollBar* bar = bars[axis];
                    const double needed = bar->value() + wanted[axis] - pointer[axis];
                    if (needed < bar->minimum() - 1)
                        EXPECT_EQ(bar->value(), bar->minimum()) << axis;
                    else if (needed > bar->maximum() + 1)
                        EXPECT_EQ(bar->value(), bar->maximum()) << axis;
                    else
                        EXPECT_LE(std::abs(wanted[axis] - pointer[axis]), 1.0) << axis;
                }
            }
            EXPECT_EQ(editor->Zoom(), zm50);
        }
}

} // namespace
