// The editor's show-data mode: the surface follows the current record of the label's master.
#include "editor/ZVEditor.h"

#include "foundation/ZVDataSet.h"

namespace zorvel {

bool TZVCustomEditor::ShowData() const
{
    return m_label && m_label->ShowData();
}

void TZVCustomEditor::SetShowData(bool value)
{
    if (!m_label) return;
    // The label repaints the layers through its editor link.
    m_label->SetShowData(value);
    watchRecords();
}

void TZVCustomEditor::watchRecords()
{
    TZVDataSet* master = m_label && m_label->ShowData() ? m_label->DataSet() : nullptr;
    if (master == m_watchedData) return;
    unwatchRecords();
    if (!master) return;
    m_watchedData = master;
    // DataChanged follows every move, open and close, once per burst while controls are held.
    m_dataWatch = connect(master, &TZVDataSet::DataChanged, this, [this] { recordMoved(); });
}

void TZVCustomEditor::unwatchRecords()
{
    QObject::disconnect(m_dataWatch);
    m_dataWatch = {};
    m_watchedData = nullptr;
}

void TZVCustomEditor::recordMoved()
{
    if (!m_label || !m_label->ShowData() || m_destroying) return;
    // Selected elements are drawn on the selection layer: both show the record.
    m_contentDirty = true;
    m_selectionDirty = true;
    if (m_paintEnabled) Refresh(false);
}

} // namespace zorvel
