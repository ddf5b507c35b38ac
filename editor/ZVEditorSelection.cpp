// The editor's selection: the ordered list, hit tests, band selection and the handles it offers.
#include "editor/ZVBackLab.h"
#include "editor/ZVBaseInspector.h"
#include "editor/ZVEditor.h"
#include "document/ZVElement.h"
#include "elements/ZVLineRect.h"

namespace zorvel {

TZVElement* TZVCustomEditor::SelectedAt(int i) const
{
    if (i < 1 || i > m_selection.size()) return nullptr;
    return m_selection.at(i - 1);
}

TZVElement* TZVCustomEditor::FirstSelected() const
{
    return m_selection.isEmpty() ? nullptr : m_selection.first();
}

void TZVCustomEditor::selectionChanged()
{
    m_contentDirty = true;
    m_selectionDirty = true;
}

void TZVCustomEditor::ClearSelection()
{
    const bool any = !m_selection.isEmpty();
    for (TZVElement* element : std::as_const(m_selection))
        element->SetSelected(false);
    m_selection.clear();
    if (m_label) m_label->HandleMarks().clear();
    if (any) selectionChanged();
    fire(OnSelectChange, this);
}

void TZVCustomEditor::AddToSelection(TZVElement* element)
{
    if (!element || element->IsSelected()) return;
    element->SetSelected(true);
    m_selection.append(element);
    selectionChanged();
    if (m_selection.size() == 1 && m_label) m_label->SetCurrentElement(element);
    fire(OnSelectChange, this);
}

bool TZVCustomEditor::Unselect(TZVElement* element)
{
    if (!element) return false;
    element->SetSelected(false);
    if (!m_selection.removeOne(element)) return false;
    selectionChanged();
    if (m_selection.size() == 1) {
        if (m_label) m_label->SetCurrentElement(m_selection.first());
    } else if (m_selection.isEmpty()) {
        if (m_label) m_label->SetCurrentElement(nullptr);
        if (m_inspector) m_inspector->UpdateSelection();
    }
    fire(OnSelectChange, this);
    return true;
}

void TZVCustomEditor::SelectOnly(TZVElement* element)
{
    if (!element) return;
    for (TZVElement* selected : std::as_const(m_selection))
        selected->SetSelected(false);
    m_selection.clear();
    if (m_label) {
        m_label->HandleMarks().clear();
        m_label->SetCurrentElement(element);
    }
    selectionChanged();
    element->SetSelected(true);
    m_selection.append(element);
    fire(OnSelect, this);
    Refresh(true);
    fire(OnSelectChange, this);
}

void TZVCustomEditor::SelectInRect(const TRect& rect, bool whole)
{
    ClearSelection();
    if (!m_label) return;
    // A copy: handlers of the selection events may edit the list.
    const QList<TZVElement*> elements = m_label->Elements();
    for (TZVElement* element : elements) {
        const TRect& s = element->ScreenRect();
        const bool take = whole ? s.Left >= rect.Left && s.Top >= rect.Top && s.Right <= rect.Right &&
                                      s.Bottom <= rect.Bottom
                                : s.Left <= rect.Right && rect.Left <= s.Right && s.Top <= rect.Bottom &&
                                      rect.Top <= s.Bottom;
        if (take) AddToSelection(element);
    }
}

bool TZVCustomEditor::HitElement(TPoint p, bool shift)
{
    if (!m_label) return false;
    TZVElement* hit = nullptr;
    for (TZVElement* element : m_label->Elements())
        if (element->HitTest(p)) {
            hit = element;
            break;
        }
    if (!hit) return false;
    if (!shift) {
        ClearSelection();
        AddToSelection(hit);
    } else if (!Unselect(hit)) {
        AddToSelection(hit);
    }
    return true;
}

bool TZVCustomEditor::HitSelection(TPoint p) const
{
    for (const TZVElement* element : m_selection)
        if (element->HitTest(p)) return true;
    return false;
}

void TZVCustomEditor::SelectAll()
{
    if (!m_label) return;
    const QList<TZVElement*> elements = m_label->Elements();
    for (TZVElement* element : elements) AddToSelection(element);
    Refresh(true);
}

QList<int> TZVCustomEditor::SelectedIndexes() const
{
    QList<int> indexes;
    if (!m_label) return indexes;
    for (TZVElement* element : m_selection) {
        const qsizetype at = m_label->Elements().indexOf(element);
        if (at >= 0) indexes.append(static_cast<int>(at));
    }
    return indexes;
}

void TZVCustomEditor::SelectIndexes(const QList<int>& indexes)
{
    // Called after the elements were made anew: nothing may point at the old ones.
    m_surface->SetNewElement(nullptr);
    m_surface->ClearMarks();
    ClearSelection();
    if (!m_label) return;
    const QList<TZVElement*> elements = m_label->Elements();
    for (int at : indexes)
        if (at >= 0 && at < elements.size()) AddToSelection(elements.at(at));
    if (m_paintEnabled) Refresh(true);
}

void TZVCustomEditor::updateMarks()
{
    if (m_selection.isEmpty()) return;
    TZVMarks& marks = m_surface->Marks();
    if (m_selection.size() > 1) {
        marks.MarkMode = mmGroup;
        // No handle can be grabbed; the grey glyphs recorded with the layer stay on show.
        m_surface->ClearMarks(false);
        return;
    }
    TZVElement* element = m_selection.first();
    if (qobject_cast<TZVLine*>(element)) {
        marks.MarkMode = mmLine;
        const int x1 = ModelToPixelX(element->X1());
        const int y1 = ModelToPixelY(element->Y1());
        const int x2 = ModelToPixelX(element->X2());
        const int y2 = ModelToPixelY(element->Y2());
        marks.LineStartHandle = {x1 - 3, y1 - 3, x1 + 4, y1 + 4};
        marks.LineEndHandle = {x2 - 3, y2 - 3, x2 + 4, y2 + 4};
        marks.SelRect = {};
        marks.HandleLeft = marks.HandleRight = marks.HandleTop = marks.HandleBottom = {};
        return;
    }
    marks.MarkMode = element->HandleKind() == 3 ? mmBox : mmMoveOnly;
    marks.SelRect = element->ScreenRect();
    marks.LineStartHandle = marks.LineEndHandle = {};
    // Edge handles belong to boxes only: ones left by an earlier box must not be grabbed.
    if (marks.MarkMode != mmBox) marks.HandleLeft = marks.HandleRight = marks.HandleTop = marks.HandleBottom = {};
}

} // namespace zorvel
