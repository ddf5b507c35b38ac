// Direct manipulation: draw tools, clicks and bands, moving and resizing with the mouse, and
// nudging and resizing with the keyboard.
#include "document/ZVUndoHistory.h"
#include "editor/ZVBackLab.h"
#include "editor/ZVBaseInspector.h"
#include "editor/ZVBaseScroll.h"
#include "editor/ZVCursors.h"
#include "editor/ZVEditor.h"
#include "editor/ZVRulerControls.h"
#include "elements/ZVBarCode.h"
#include "document/ZVElement.h"
#include "elements/ZVImage.h"
#include "elements/ZVLineRect.h"
#include "foundation/ZVUtils.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>
#include <cstdlib>

namespace zorvel {
namespace {

// Window-rectangle semantics: the right and bottom edges lie outside.
bool inside(const TRect& r, TPoint p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

TPoint topLeft(const TRect& r)
{
    return {r.Left, r.Top};
}

TPoint operator-(TPoint a, TPoint b)
{
    return {a.X - b.X, a.Y - b.Y};
}

// The surface's hint over `p`: the field the first data-bound element there shows, or why the
// bar code there is drawn as a cross.
QString hintAt(const QList<TZVElement*>& elements, TPoint p)
{
    for (TZVElement* element : elements) {
        auto* data = qobject_cast<TZVData*>(element);
        if (!data || !element->HitTest(p)) continue;
        if (data->Data()) return data->FieldName();
        // Unbound, the surface draws the fixed content, the one EncodingError judges; a template
        // is drawn as written and judged per record.
        if (auto* barCode = qobject_cast<TZVBarCode*>(element))
            return barCode->Template().isEmpty() ? barCode->EncodingError() : barCode->Template();
        return {};
    }
    return {};
}

TRect offsetBy(TRect r, TPoint d)
{
    return {r.Left + d.X, r.Top + d.Y, r.Right + d.X, r.Bottom + d.Y};
}

// The smallest table a drag creates: 1.5 mm either way.
constexpr int kMinTableSide = 150;

int elementKindOf(TZVDrawTool tool)
{
    switch (tool) {
    case dwLine: return ekLine;
    case dwRect: return ekRect;
    case dwText: return ekText;
    case dwBarCode: return ekBarCode;
    case dwSymbol: return ekSymbol;
    case dwAddText: return ekAddText;
    case dwImage: return ekImage;
    case dwParagraph: return ekParagraph;
    case dwTable: return ekTable;
    case dwAskText: return ekAskText;
    default: return 0;
    }
}

bool createsOnClick(TZVDrawTool tool)
{
    return tool == dwText || tool == dwBarCode || tool == dwSymbol || tool == dwAddText || tool == dwAskText;
}

// What a plain click (no drag) with a box or line tool places, model units; a line is horizontal.
struct DefaultSize
{
    int Width;
    int Height;
};

DefaultSize defaultSizeOf(TZVDrawTool tool)
{
    switch (tool) {
    case dwLine: return {2000, 0};
    case dwTable: return {4000, 1500};
    case dwParagraph: return {4000, 1500};
    default: return {2000, 1000};
    }
}

QString gestureText(const GestureState& state)
{
    if (state.Created) return TZVCustomEditor::tr("Insert");
    if (state.Gesture != GestureKind::Drag) return TZVCustomEditor::tr("Edit");
    switch (state.DragKind) {
    case dkTop:
    case dkLeft:
    case dkBottom:
    case dkRight: return TZVCustomEditor::tr("Resize");
    case dkLineStart:
    case dkLineEnd: return TZVCustomEditor::tr("Move Line End");
    default: return TZVCustomEditor::tr("Move");
    }
}

} // namespace

TZVElement* TZVCustomEditor::createAt(TZVDrawTool tool)
{
    if (!m_label) return nullptr;
    TZVElement* element = m_label->CreateElement(elementKindOf(tool));
    if (auto* barCode = qobject_cast<TZVBarCode*>(element)) barCode->SetCodeType(m_barCodeType);
    return element;
}

// A new element becomes the selection; the host sees it first.
void TZVCustomEditor::insertCreated(TZVElement* element)
{
    BeginUpdate();
    fire(OnBeforeInsert, this, element);
    SelectOnly(element);
    if (m_label) m_label->SetModified(true);
    EndUpdate(true);
}

void TZVCustomEditor::beginGestureChange()
{
    if (!m_label) return;
    // A press after a lost release: what the last gesture did is its own step.
    if (m_gestureChange) endGestureChange(tr("Edit"));
    m_gestureChange = true;
    BeginChange(*m_label);
}

void TZVCustomEditor::endGestureChange(const QString& text)
{
    if (!m_gestureChange) return;
    m_gestureChange = false;
    if (m_label) EndChange(*m_label, text);
}

// ---- Mouse down ----

void TZVCustomEditor::surfaceMouseDown(Qt::MouseButton button, bool shift, int x, int y, QPoint global)
{
    if (!m_allowEdit) return;
    GestureState& state = m_surface->State();
    TZVMarks& marks = m_surface->Marks();
    state.ScreenPos = {global.x(), global.y()};
    fire(OnLabelMouseDown, this, x, y, global.x(), global.y(), double(PixelToUnitX(x)), double(PixelToUnitY(y)));

    if (button == Qt::RightButton) {
        const bool select = HitSelection({x, y});
        if (!select) {
            if (m_surface->BandShown()) m_surface->DrawBand(state.StartPt, state.EndPt, m_drawTool == dwSelection);
            state.Gesture = GestureKind::Idle;
            SetDrawTool(dwSelection);
            marks.MarkMode = mmNone;
            if (SelCount() > 0) {
                m_surface->ClearMarks();
                ClearSelection();
                m_surface->Invalidate();
            }
        }
        fire(OnRightMouse, this, select, x, y, global.x(), global.y());
        if (m_inspector) m_inspector->UpdateSelection();
        return;
    }
    if (button != Qt::LeftButton) return;
    beginGestureChange();
    state.Created = false;
    // The keys nudge what the mouse picks, so the editor takes them with any left press.
    setFocus(Qt::MouseFocusReason);
    // A press while a gesture runs (a second button, a lost release) starts afresh.
    if (m_surface->BandShown()) m_surface->DrawBand(state.StartPt, state.EndPt, m_drawTool == dwSelection);
    state.Gesture = GestureKind::Idle;

    if (m_drawTool == dwSelection) {
        startSelectionGesture(shift, x, y);
        return;
    }
    if (!m_label) return;
    const TPoint p = SnapPoint({x, y});
    state.StartPt = p;
    state.SnapPt = p;
    if (!createsOnClick(m_drawTool)) {
        state.Gesture = GestureKind::Band;
        state.EndPt = p;
        return;
    }
    BeginUpdate();
    TZVElement* element = createAt(m_drawTool);
    if (element) {
        element->SetX1(m_label->FromModel(PixelToModelX(p.X)));
        element->SetY1(m_label->FromModel(PixelToModelY(p.Y)));
        state.Created = true;
        m_surface->SetNewElement(element);
        m_label->SetModified(true);
        fire(OnBeforeInsert, this, element);
        SelectOnly(element);
    }
    EndUpdate(true);
    if (m_inspector) m_inspector->UpdateSelection();
}

void TZVCustomEditor::startSelectionGesture(bool shift, int x, int y)
{
    GestureState& state = m_surface->State();
    TZVMarks& marks = m_surface->Marks();
    const TPoint p{x, y};
    state.Moved = false;
    // A tool change or a double click takes the handles off a selection that stays: find
    // them again, or the press would start a drag that moves nothing.
    if (marks.MarkMode == mmNone && !m_selection.isEmpty()) {
        if (m_selectionDirty) RenderLayers();
        updateMarks();
    }
    const auto startDrag = [&](std::uint8_t kind) {
        state.Gesture = GestureKind::Drag;
        state.DragKind = kind;
    };

    if (marks.MarkMode == mmGroup && !shift && HitSelection(p)) {
        const TRect& r = FirstSelected()->ScreenRect();
        startDrag(dkGroupMove);
        state.GrabOffset = p - topLeft(r);
        state.OrigPos = topLeft(r);
        return;
    }
    if (SelCount() == 1) {
        const TRect& sel = marks.SelRect;
        if (inside(marks.HandleLeft, p)) {
            startDrag(dkLeft);
            state.GrabOffset = {x - sel.Left, 0};
            return;
        }
        if (inside(marks.HandleRight, p)) {
            startDrag(dkRight);
            state.GrabOffset = {x - sel.Right, 0};
            return;
        }
        if (inside(marks.HandleTop, p)) {
            startDrag(dkTop);
            state.GrabOffset = {0, y - sel.Top};
            return;
        }
        if (inside(marks.HandleBottom, p)) {
            startDrag(dkBottom);
            state.GrabOffset = {0, y - sel.Bottom};
            return;
        }
        if (inside(marks.LineStartHandle, p)) {
            startDrag(dkLineStart);
            state.GrabOffset = p - topLeft(marks.LineStartHandle);
            state.StartPt = {marks.LineEndHandle.Left + 3, marks.LineEndHandle.Top + 3};
            state.EndPt = topLeft(marks.LineStartHandle);
            return;
        }
        if (inside(marks.LineEndHandle, p)) {
            startDrag(dkLineEnd);
            state.GrabOffset = p - topLeft(marks.LineEndHandle);
            state.StartPt = {marks.LineStartHandle.Left + 3, marks.LineStartHandle.Top + 3};
            state.EndPt = topLeft(marks.LineEndHandle);
            return;
        }
        if (marks.MarkMode == mmLine && !shift && HitSelection(p)) {
            const TRect& r = FirstSelected()->ScreenRect();
            marks.MarkMode = mmMoveOnly;
            startDrag(dkLineMove);
            state.GrabOffset = p - topLeft(r);
            state.OrigPos = topLeft(r);
            return;
        }
        if (inside(sel, p)) {
            startDrag(dkMove);
            state.StartPt = state.OrigPos = topLeft(sel);
            state.GrabOffset = p - topLeft(sel);
            return;
        }
    }
    if (HitElement(p, shift)) {
        if (marks.MarkMode != mmGroup) m_surface->ClearMarks();
        Refresh(true);
        return;
    }
    m_surface->ClearMarks();
    state.Gesture = GestureKind::Band;
    state.StartPt = state.EndPt = p;
}

// ---- Mouse move ----

void TZVCustomEditor::surfaceMouseMove(bool, int x, int y)
{
    m_lastMouse = {x, y};
    if (!m_allowEdit) return;
    fire(OnLabelMouseMove, this, x, y, double(PixelToUnitX(x)), double(PixelToUnitY(y)));
    if (m_rulers->Visible()) {
        m_topRuler->ShowMousePos(x);
        m_leftRuler->ShowMousePos(y);
    }
    GestureState& state = m_surface->State();
    state.CurPt = m_drawTool == dwSelection ? TPoint{x, y} : SnapPoint({x, y});

    if (state.Gesture == GestureKind::Band) {
        const bool dotted = m_drawTool == dwSelection;
        m_surface->DrawBand(state.StartPt, state.EndPt, dotted);
        state.EndPt = state.CurPt;
        if (m_drawTool == dwLine && m_lineMove == lmOrto) {
            // A tie gives a vertical line.
            if (std::abs(state.EndPt.Y - state.StartPt.Y) < std::abs(state.EndPt.X - state.StartPt.X))
                state.EndPt.Y = state.StartPt.Y;
            else
                state.EndPt.X = state.StartPt.X;
        }
        m_surface->DrawBand(state.StartPt, state.EndPt, dotted);
        return;
    }
    if (state.Gesture != GestureKind::Drag) {
        m_surface->SetHintField(m_label ? hintAt(m_label->Elements(), {x, y}) : QString());
        if (m_drawTool == dwSelection) updateHoverCursor(x, y);
        return;
    }
    if (SelCount() > 0) dragStep(x, y);
}

void TZVCustomEditor::updateHoverCursor(int x, int y)
{
    const TZVMarks& marks = m_surface->Marks();
    const TPoint p{x, y};
    QCursor cursor = ZvCursor(crZvDefault);
    switch (marks.MarkMode) {
    case mmLine:
        if (inside(marks.LineStartHandle, p) || inside(marks.LineEndHandle, p))
            cursor = ZvCursor(crZvMove);
        else if (HitSelection(p))
            cursor = QCursor(Qt::PointingHandCursor);
        break;
    case mmMoveOnly:
        if (inside(marks.SelRect, p)) cursor = QCursor(Qt::PointingHandCursor);
        break;
    case mmBox:
        if (inside(marks.HandleLeft, p) || inside(marks.HandleRight, p))
            cursor = QCursor(Qt::SizeHorCursor);
        else if (inside(marks.HandleTop, p) || inside(marks.HandleBottom, p))
            cursor = QCursor(Qt::SizeVerCursor);
        else if (inside(marks.SelRect, p))
            cursor = QCursor(Qt::PointingHandCursor);
        break;
    case mmGroup:
        return;
    default:
        break;
    }
    if (m_surface->cursor().shape() != cursor.shape() || cursor.shape() == Qt::BitmapCursor)
        m_surface->setCursor(cursor);
}

void TZVCustomEditor::dragStep(int, int)
{
    GestureState& state = m_surface->State();
    TZVMarks& marks = m_surface->Marks();
    // Moves start from the screen rectangles of the last paint; a step that came before the
    // paint of the previous one brings them up to date first.
    if (m_selectionDirty) RenderLayers();
    const TPoint q = SnapPoint(state.CurPt - state.GrabOffset);
    state.SnapPt = q;
    TZVElement* first = FirstSelected();
    switch (marks.MarkMode) {
    case mmLine: {
        if (state.DragKind != dkLineStart && state.DragKind != dkLineEnd) break;
        TRect& handle = state.DragKind == dkLineStart ? marks.LineStartHandle : marks.LineEndHandle;
        handle = {q.X, q.Y, q.X + 7, q.Y + 7};
        const int mx = PixelToModelX(q.X + 3);
        const int my = PixelToModelY(q.Y + 3);
        // The base operations: the ends must not swap while they are dragged.
        if (state.DragKind == dkLineStart)
            first->TZVElement::SetStartPoint(mx, my);
        else
            first->TZVElement::SetEndPoint(mx, my);
        break;
    }
    case mmMoveOnly:
    case mmGroup: {
        state.Delta = q - topLeft(first->ScreenRect());
        const QList<TZVElement*> selection = m_selection;
        for (TZVElement* element : selection)
            element->PlaceFromScreenRect(offsetBy(element->ScreenRect(), state.Delta), true, true);
        break;
    }
    case mmBox: {
        TRect r = marks.SelRect;
        switch (state.DragKind) {
        case dkMove: MoveRectTo(r, q.X, q.Y); break;
        case dkTop: r.Top = q.Y; break;
        case dkLeft: r.Left = q.X; break;
        case dkBottom: r.Bottom = q.Y; break;
        case dkRight: r.Right = q.X; break;
        default: break;
        }
        FitRect(r, 0, 0, SurfaceHeight(), SurfaceWidth());
        marks.SelRect = r;
        first->SetScreenRect(r);
        break;
    }
    default:
        // Nothing was moved, so the release must not place (and unanchor) anything.
        return;
    }
    state.Moved = true;
    m_selectionDirty = true;
    m_surface->Invalidate();
}

// ---- Mouse up ----

void TZVCustomEditor::surfaceMouseUp(Qt::MouseButton, bool, int x, int y, QPoint global)
{
    if (!m_allowEdit) return;
    GestureState& state = m_surface->State();
    if (OnLabelMouseUp) {
        state.ScreenPos = {global.x(), global.y()};
        OnLabelMouseUp(this, x, y, global.x(), global.y(), double(PixelToUnitX(x)), double(PixelToUnitY(y)));
    }
    const bool placing = state.Gesture == GestureKind::Band && m_drawTool != dwSelection;
    const QString text = placing ? tr("Insert") : gestureText(state);
    if (state.Gesture == GestureKind::Drag)
        finishDrag();
    else if (state.Gesture == GestureKind::Band)
        finishBand(x, y);
    endGestureChange(state.Created ? tr("Insert") : text);
}

void TZVCustomEditor::finishDrag()
{
    GestureState& state = m_surface->State();
    const TZVMarks& marks = m_surface->Marks();
    state.Gesture = GestureKind::Idle;
    if (m_selection.isEmpty()) {
        m_surface->ClearMarks();
        return;
    }
    // A click that did not move leaves the model as it was: converting its pixel rectangle back
    // would round the element onto the pixel grid.
    if (state.Moved) {
        // The placement below reads the screen rectangles of the last step.
        if (m_selectionDirty) RenderLayers();
        TZVElement* first = FirstSelected();
        switch (state.DragKind) {
        case dkTop:
        case dkLeft:
        case dkBottom:
        case dkRight:
            first->ScreenToModel();
            break;
        case dkLineStart:
            first->SetStartPoint(PixelToModelX(marks.LineStartHandle.Left + 3),
                                 PixelToModelY(marks.LineStartHandle.Top + 3));
            break;
        case dkLineEnd:
            first->SetEndPoint(PixelToModelX(marks.LineEndHandle.Left + 3), PixelToModelY(marks.LineEndHandle.Top + 3));
            break;
        default: {
            const QList<TZVElement*> selection = m_selection;
            for (TZVElement* element : selection) {
                element->ClearAnchoring();
                element->PlaceFromScreenRect(element->ScreenRect(), true, true);
            }
            break;
        }
        }
        m_selectionDirty = true;
    }
    Refresh(true);
}

void TZVCustomEditor::finishBand(int x, int y)
{
    GestureState& state = m_surface->State();
    state.Created = false;
    if (m_surface->BandShown()) m_surface->DrawBand(state.StartPt, state.EndPt, m_drawTool == dwSelection);
    state.Gesture = GestureKind::Idle;
    TRect r{state.StartPt.X, state.StartPt.Y, x, y};
    // Released where it was pressed (on the same grid crossing when snapping): a click.
    const bool click = SnapPoint({x, y}) == state.StartPt;
    state.BandReversed = r.Right < r.Left || r.Bottom < r.Top;
    NormalizeRect(r);

    TZVElement* created = nullptr;
    // A click places an element of the tool's default size, kept on the label where it can be.
    const auto placeDefault = [&](TZVElement* element) {
        const DefaultSize size = defaultSizeOf(m_drawTool);
        const int left = std::max(0, std::min(PixelToModelX(state.StartPt.X), m_label->Measure().Width() - size.Width));
        const int top = std::max(0, std::min(PixelToModelY(state.StartPt.Y), m_label->Measure().Height() - size.Height));
        element->TZVElement::SetStartPoint(left, top);
        element->SetEndPoint(left + size.Width, top + size.Height);
    };
    const auto placeBox = [&](TZVElement* element) {
        if (click && m_drawTool != dwImage) {
            placeDefault(element);
            return;
        }
        element->SetStartPoint(PixelToModelX(r.Left), PixelToModelY(r.Top));
        element->SetEndPoint(PixelToModelX(r.Right), PixelToModelY(r.Bottom));
    };
    switch (m_drawTool) {
    case dwSelection:
        SelectInRect(r, !state.BandReversed);
        break;
    case dwLine:
    case dwRect:
    case dwTable: {
        if (!m_label) break;
        BeginUpdate();
        created = createAt(m_drawTool);
        if (!created) {
            m_paintEnabled = true;
            break;
        }
        if (m_drawTool == dwLine && click) {
            placeDefault(created);
        } else if (m_drawTool == dwLine) {
            TPoint end{x, y};
            if (m_lineMove == lmOrto) {
                if (std::abs(y - state.StartPt.Y) < std::abs(x - state.StartPt.X))
                    end.Y = state.StartPt.Y;
                else
                    end.X = state.StartPt.X;
            }
            created->TZVElement::SetStartPoint(PixelToModelX(state.StartPt.X), PixelToModelY(state.StartPt.Y));
            created->SetEndPoint(PixelToModelX(end.X), PixelToModelY(end.Y));
        } else {
            placeBox(created);
        }
        if (m_drawTool == dwTable) {
            // Kept on the label: a minimum table started near the far edge grows back inwards.
            const int labelW = m_label->Measure().Width();
            const int labelH = m_label->Measure().Height();
            if (created->X2() - created->X1() < kMinTableSide) {
                const int left = std::max(0, std::min(created->X1(), labelW - kMinTableSide));
                created->SetX1(m_label->FromModel(left));
                created->SetX2(m_label->FromModel(left + kMinTableSide));
            }
            if (created->Y2() - created->Y1() < kMinTableSide) {
                const int top = std::max(0, std::min(created->Y1(), labelH - kMinTableSide));
                created->SetY1(m_label->FromModel(top));
                created->SetY2(m_label->FromModel(top + kMinTableSide));
            }
        }
        state.Created = true;
        m_surface->SetNewElement(created);
        m_paintEnabled = true;
        break;
    }
    case dwParagraph: {
        if (!m_label) break;
        BeginUpdate();
        TZVElement* paragraph = createAt(dwParagraph);
        if (!paragraph) {
            m_paintEnabled = true;
            break;
        }
        placeBox(paragraph);
        m_surface->SetNewElement(paragraph);
        fire(OnBeforeInsert, this, paragraph);
        SelectOnly(paragraph);
        m_label->SetModified(true);
        EditElement();
        EndUpdate(true);
        // Its dialog cancelled, the new paragraph goes again.
        if (m_gestureChange && ChangeGivenUp(*m_label)) {
            m_gestureChange = false;
            m_surface->SetNewElement(nullptr);
            CancelChange(*m_label, true);
        }
        break;
    }
    case dwImage: {
        if (!m_label) break;
        const QString file = PictureChooser ? PictureChooser(m_pictureFolder, m_label->PictureFilter()) : QString();
        if (file.isEmpty()) break;
        BeginUpdate();
        auto* image = qobject_cast<TZVImage*>(createAt(dwImage));
        if (!image) {
            m_paintEnabled = true;
            break;
        }
        placeBox(image);
        m_surface->SetNewElement(image);
        fire(OnBeforeInsert, this, image);
        SelectOnly(image);
        m_label->SetModified(true);
        image->SetFileImage(file);
        EndUpdate(true);
        break;
    }
    default:
        break;
    }

    if (state.Created)
        insertCreated(m_surface->NewElement());
    else
        Refresh(true);
}

void TZVCustomEditor::surfaceDoubleClick()
{
    if (m_selection.isEmpty() || !OnSelectDblClick) return;
    GestureState& state = m_surface->State();
    m_surface->setCursor(ZvCursor(crZvDefault));
    if (m_surface->BandShown()) m_surface->DrawBand(state.StartPt, state.EndPt, m_drawTool == dwSelection);
    state.Gesture = GestureKind::Idle;
    m_surface->SetMarkMode(mmNone);
    OnSelectDblClick(this);
}

// ---- Keyboard ----

namespace {

bool isArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

bool isRedo(const QKeyEvent* event)
{
    return event->matches(QKeySequence::Redo) ||
           event->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
           event->keyCombination() == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
}

// The keys the editor acts on itself, before any application shortcut.
bool isEditingKey(const QKeyEvent* event)
{
    return event->matches(QKeySequence::Undo) || isRedo(event) || event->matches(QKeySequence::Copy) ||
           event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste) ||
           event->matches(QKeySequence::SelectAll) || event->key() == Qt::Key_Delete ||
           event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Escape;
}

} // namespace

bool TZVCustomEditor::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && m_allowEdit &&
        isEditingKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QFrame::event(event);
}

void TZVCustomEditor::wheelZoom(int delta, QPointF at)
{
    if (delta == 0 || !m_label) return;
    // Fitting zooms step from the fixed level nearest to their factor.
    int level = m_zoom;
    if (m_zoom > zm500) {
        static constexpr double kFactors[] = {0.5, 0.75, 1, 1.25, 1.5, 1.75, 2, 2.5, 3, 3.5, 4, 4.5, 5};
        level = 0;
        for (int i = 1; i < 13; ++i)
            if (std::abs(kFactors[i] - m_zoomFactor) < std::abs(kFactors[level] - m_zoomFactor)) level = i;
    }
    const int next = std::clamp(level + (delta > 0 ? 1 : -1), int(zm50), int(zm500));
    if (next == m_zoom) return;
    // The label point under the pointer keeps its share of the surface, and the view scrolls by
    // as much as that point moves on the surface; the pointer stays where it is in the view.
    const QPointF share(at.x() / SurfaceWidth(), at.y() / SurfaceHeight());
    QScrollBar* horz = m_scrollBox->horizontalScrollBar();
    QScrollBar* vert = m_scrollBox->verticalScrollBar();
    const int horzFrom = horz->value();
    const int vertFrom = vert->value();
    SetZoom(static_cast<TZVZoom>(next));
    m_scrollBox->SettleScrollBars();
    horz->setValue(horzFrom + int(std::lround(share.x() * SurfaceWidth() - at.x())));
    vert->setValue(vertFrom + int(std::lround(share.y() * SurfaceHeight() - at.y())));
}

void TZVCustomEditor::cancelGesture()
{
    GestureState& state = m_surface->State();
    if (m_surface->BandShown()) m_surface->DrawBand(state.StartPt, state.EndPt, m_drawTool == dwSelection);
    state.Gesture = GestureKind::Idle;
    state.Created = false;
    m_surface->SetNewElement(nullptr);
    m_surface->ClearMarks();
    if (m_gestureChange) {
        m_gestureChange = false;
        if (m_label) CancelChange(*m_label, true);
    }
    m_selectionDirty = true;
    Refresh(true);
}

void TZVCustomEditor::nudge(int key, bool ctrl, bool shift)
{
    const bool fine = !ctrl && !shift;
    const bool resize = !ctrl && !fine;
    const int stepX = m_grid->StepX();
    const int stepY = m_grid->StepY();
    // A tenth of a millimetre, or a hundredth of an inch on a label measured in inches.
    const int fineStep = m_label->ToModel(m_label->Units() == unMM ? 0.1 : 0.01);
    const QList<TZVElement*> selection = m_selection;
    TZVChangeScope change(*m_label, resize ? tr("Resize") : tr("Move"));
    const bool wasEnabled = m_paintEnabled;
    m_paintEnabled = false;
    for (TZVElement* element : selection) {
        if (fine) {
            const int dx = key == Qt::Key_Left ? -fineStep : key == Qt::Key_Right ? fineStep : 0;
            const int dy = key == Qt::Key_Up ? -fineStep : key == Qt::Key_Down ? fineStep : 0;
            element->MoveBy(dx, dy);
            element->ClearAnchoring();
            continue;
        }
        if (ctrl) {
            switch (key) {
            case Qt::Key_Left: element->MoveByStep(-stepX, 0); break;
            case Qt::Key_Up: element->MoveByStep(0, -stepY); break;
            case Qt::Key_Right: element->MoveByStep(stepX, 0); break;
            default: element->MoveByStep(0, stepY); break;
            }
            continue;
        }
        // Shrinking stops short of a zero or negative size; growing is not limited.
        switch (key) {
        case Qt::Key_Left:
            if (element->X2() - stepX > element->X1()) element->SetX2(m_label->FromModel(element->X2() - stepX));
            break;
        case Qt::Key_Up:
            if (element->Y2() - stepY > element->Y1()) element->SetY2(m_label->FromModel(element->Y2() - stepY));
            break;
        case Qt::Key_Right: element->SetX2(m_label->FromModel(element->X2() + stepX)); break;
        default: element->SetY2(m_label->FromModel(element->Y2() + stepY)); break;
        }
    }
    m_paintEnabled = wasEnabled;
    m_label->SetModified(true);
    m_selectionDirty = true;
    Refresh(true);
}

void TZVCustomEditor::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const bool gesture = m_surface->State().Gesture != GestureKind::Idle;
    if (!m_allowEdit || !m_label) {
        QFrame::keyPressEvent(event);
        return;
    }
    if (key == Qt::Key_Escape) {
        if (gesture || m_gestureChange)
            cancelGesture();
        else
            SetDrawTool(dwSelection);
    } else if (gesture) {
        // Nothing else while the mouse is still changing the design.
    } else if (event->matches(QKeySequence::Undo)) {
        Undo();
    } else if (isRedo(event)) {
        Redo();
    } else if (event->matches(QKeySequence::Copy)) {
        if (!m_selection.isEmpty()) CopySelection();
    } else if (event->matches(QKeySequence::Cut)) {
        if (!m_selection.isEmpty()) CutSelection();
    } else if (event->matches(QKeySequence::Paste)) {
        const bool overLabel = m_lastMouse.x() >= 0 && m_lastMouse.y() >= 0 &&
                               m_lastMouse.x() < SurfaceWidth() && m_lastMouse.y() < SurfaceHeight() &&
                               (m_lastMouse.x() != 0 || m_lastMouse.y() != 0);
        PasteClipboard(overLabel ? m_lastMouse.x() : 0, overLabel ? m_lastMouse.y() : 0);
    } else if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
    } else if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
        bool allow = true;
        if (!m_selection.isEmpty()) fire(OnBeforeDelete, this, allow);
        if (allow) DeleteSelection();
    } else if (isArrow(key) && !m_selection.isEmpty()) {
        nudge(key, ctrl, event->modifiers().testFlag(Qt::ShiftModifier));
    } else {
        QFrame::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace zorvel
