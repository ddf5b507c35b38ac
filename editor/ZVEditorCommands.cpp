// Editing commands: alignment, the private clipboard, deletion and stacking order.
#include "editor/ZVEditor.h"

#include "document/ZVCustomLab.h"
#include "document/ZVUndoHistory.h"
#include "editor/ZVBackLab.h"
#include "document/ZVElement.h"
#include "foundation/ZVStream.h"

#include <optional>

namespace zorvel {

namespace {

// The offset of a paste without a position, in the label's unit: 2 mm whatever the unit.
float pasteOffset(TZVUnits units)
{
    switch (units) {
    case unINCH:
        return 0.1f;
    case unCM:
        return 0.2f;
    default:
        return 2.0f;
    }
}

bool idTakenByAnother(const TZVCustomLab& label, const TZVElement& element)
{
    for (const TZVElement* other : label.Elements())
        if (other != &element && other->ID().compare(element.ID(), Qt::CaseInsensitive) == 0) return true;
    return false;
}

// The clipboard is always written in the current format; reading it must not follow the format
// of the design the label was last loaded from.
class CurrentStreamFormat
{
public:
    explicit CurrentStreamFormat(TZVCustomLab& label)
        : m_label(label), m_readVersion(label.ReadVersion()), m_legacy(LegacyStream())
    {
        label.SetReadVersion(label.WriteVersion());
        SetLegacyStream(false);
    }
    ~CurrentStreamFormat()
    {
        m_label.SetReadVersion(m_readVersion);
        SetLegacyStream(m_legacy);
    }
    CurrentStreamFormat(const CurrentStreamFormat&) = delete;
    CurrentStreamFormat& operator=(const CurrentStreamFormat&) = delete;

private:
    TZVCustomLab& m_label;
    std::int32_t m_readVersion;
    bool m_legacy;
};

} // namespace

void TZVCustomEditor::AlignSelection(int kind)
{
    if (m_selection.isEmpty() || kind < 0 || kind > 7) return;
    std::optional<TZVChangeScope> change;
    if (m_label) change.emplace(*m_label, tr("Align"));
    if (kind < 4) {
        for (TZVElement* element : std::as_const(m_selection)) element->AlignToEdge(kind, 0, true);
    } else {
        const TZVElement* first = m_selection.first();
        const int targets[] = {first->X1(), first->Y1(), first->X2(), first->Y2()};
        const int target = targets[kind - 4];
        for (qsizetype i = 1; i < m_selection.size(); ++i) m_selection[i]->AlignToEdge(kind, target, true);
    }
    m_selectionDirty = true;
    if (m_paintEnabled) Refresh(true);
}

void TZVCustomEditor::CopySelection()
{
    m_fromCut = false;
    m_clipStream.Clear();
    m_clipStream.WriteI32(static_cast<std::int32_t>(m_selection.size()));
    for (TZVElement* element : std::as_const(m_selection)) element->SaveToStream(m_clipStream);
}

void TZVCustomEditor::CutSelection()
{
    if (!m_label) return;
    TZVChangeScope change(*m_label, tr("Cut"));
    CopySelection();
    m_fromCut = true;
    DeleteSelection();
}

void TZVCustomEditor::PasteClipboard(int x, int y)
{
    if (!m_label || !HasClipboard()) return;
    TZVCustomLab& label = *m_label;
    const bool atPoint = x != 0 || y != 0;
    const int left = PixelToModelX(x);
    const int top = PixelToModelY(y);
    const float offset = pasteOffset(label.Units());
    TZVChangeScope change(label, tr("Paste"));
    QList<TZVElement*> pasted;
    {
        CurrentStreamFormat format(label);
        m_clipStream.SetPosition(0);
        const std::int32_t count = m_clipStream.ReadI32();
        for (std::int32_t i = 0; i < count; ++i) {
            TZVElement* element = label.CreateElement(m_clipStream.ReadU8());
            // Only CopySelection writes the stream, so an unknown kind means it is not ours.
            if (!element) break;
            const QString freshId = element->ID();
            element->LoadFromStream(m_clipStream);
            // Copies beside their originals get names of their own, as new elements do.
            if (idTakenByAnother(label, *element)) element->SetID(freshId);
            if (atPoint)
                element->MoveBy(left - element->X1(), top - element->Y1());
            else if (!m_fromCut)
                element->MoveByFloat(offset, offset);
            pasted.append(element);
        }
    }
    label.SetModified(true);
    ClearSelection();
    for (TZVElement* element : std::as_const(pasted)) AddToSelection(element);
    m_surface->ClearMarks();
    m_contentDirty = true;
    m_selectionDirty = true;
    Refresh(true);
}

void TZVCustomEditor::DeleteSelection()
{
    if (m_selection.isEmpty()) return;
    std::optional<TZVChangeScope> change;
    if (m_label) change.emplace(*m_label, tr("Delete"));
    if (m_label) {
        m_label->SetCurrentElement(nullptr);
        // Taken off the selection first, so that the label's removals report nothing one by one.
        const QList<TZVElement*> doomed = std::exchange(m_selection, {});
        for (auto it = doomed.crbegin(); it != doomed.crend(); ++it) {
            (*it)->SetSelected(false);
            m_label->DeleteElement(*it, false);
        }
        m_label->HandleMarks().clear();
        m_label->SetCurrentElement(nullptr);
        m_label->SetModified(true);
    } else {
        m_selection.clear();
    }
    m_contentDirty = true;
    m_selectionDirty = true;
    Refresh(true);
    fire(OnSelectChange, this);
}

void TZVCustomEditor::Undo()
{
    endGestureChange(tr("Edit"));
    if (m_label) m_label->UndoStack().undo();
}

void TZVCustomEditor::Redo()
{
    endGestureChange(tr("Edit"));
    if (m_label) m_label->UndoStack().redo();
}

bool TZVCustomEditor::CanUndo() const
{
    return m_label && m_label->UndoStack().canUndo();
}

bool TZVCustomEditor::CanRedo() const
{
    return m_label && m_label->UndoStack().canRedo();
}

void TZVCustomEditor::BringToFront()
{
    if (!m_label || m_selection.isEmpty()) return;
    TZVElement* first = m_selection.first();
    if (!m_label->Elements().contains(first)) return;
    TZVChangeScope change(*m_label, tr("Bring to Front"));
    m_label->BringToFront(first);
    m_selectionDirty = true;
    Refresh(false);
}

void TZVCustomEditor::SendToBack()
{
    if (!m_label || m_selection.isEmpty()) return;
    TZVElement* first = m_selection.first();
    if (!m_label->Elements().contains(first)) return;
    TZVChangeScope change(*m_label, tr("Send to Back"));
    m_label->SendToBack(first);
    m_selectionDirty = true;
    Refresh(false);
}

} // namespace zorvel
