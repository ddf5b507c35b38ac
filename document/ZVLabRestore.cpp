// Designs put back in place: undo snapshots read into the living elements, and loads that fail
// leaving the label as it was.
#include "document/ZVCustomLab.h"
#include "document/ZVEditorLink.h"
#include "document/ZVStreamVisitors.h"
#include "document/ZVElement.h"
#include "foundation/ZVStream.h"

#include <QHash>
#include <QScopedValueRollback>
#include <QSet>

#include <algorithm>
#include <exception>
#include <tuple>
#include <utility>

namespace zorvel {
namespace {

// Elements already off the label's list: no editor hears of them, their watchers still do.
void discard(const QList<TZVElement*>& elements)
{
    qDeleteAll(elements);
}

// Every persisted field of `from` into `to`, an element of the same kind. The newest layout
// leaves no field out, so nothing of what `to` was before stays behind.
void copyFields(TZVElement& from, TZVElement& to, std::int32_t version)
{
    TZVMemoryStream record;
    TZVStreamWriter writer(record, version);
    from.VisitFields(writer);
    record.SetPosition(0);
    TZVStreamReader reader(record, version);
    to.VisitFields(reader);
}

} // namespace

void TZVCustomLab::RestoreSnapshot(TZVMemoryStream& stream)
{
    const QScopedValueRollback restoring(m_restoring, true);
    if (m_editor) m_editor->ClearSelection();
    QList<TZVElement*> previous;
    previous.swap(m_elements);
    const QList<TZVCounter> counters = m_counters;
    try {
        readStream(stream, false, false);
    } catch (...) {
        discard(std::exchange(m_elements, previous));
        throw;
    }
    keepCounterPositions(counters);
    adoptElements(previous);
    showDesignRead();
}

void TZVCustomLab::keepCounterPositions(const QList<TZVCounter>& current)
{
    // Where a counter stands is what runs handed out, not an edit: undo never takes it back, or
    // the values printed since would be printed again.
    for (TZVCounter& counter : m_counters) {
        for (const TZVCounter& now : current) {
            if (now.Name.compare(counter.Name, Qt::CaseInsensitive) != 0) continue;
            counter.Start = now.Start;
            counter.Date = now.Date;
        }
    }
}

void TZVCustomLab::adoptElements(const QList<TZVElement*>& previous)
{
    // Pictures and data bindings are taken over as a load takes them, not as a user's choice;
    // the elements read have reported unreadable pictures already.
    const QScopedValueRollback loading(m_loading, true);
    const QScopedValueRollback quiet(OnMessage, decltype(OnMessage){});
    // IDs compare as IdInUse compares them; the duplicate or empty IDs of a damaged design pair
    // up in list order.
    QHash<QString, QList<TZVElement*>> byId;
    for (TZVElement* element : previous)
        byId[element->ID().toCaseFolded()].append(element);
    QSet<TZVElement*> kept;
    QList<TZVElement*> stoodIn;
    for (TZVElement*& slot : m_elements) {
        const auto found = byId.find(slot->ID().toCaseFolded());
        if (found == byId.end()) continue;
        QList<TZVElement*>& candidates = *found;
        const std::uint8_t kind = slot->ElementKind();
        // Another kind under the same ID is another element.
        const auto same = std::find_if(candidates.begin(), candidates.end(),
                                       [kind](const TZVElement* c) { return c->ElementKind() == kind; });
        if (same == candidates.end()) continue;
        TZVElement* living = *same;
        candidates.erase(same);
        copyFields(*slot, *living, WriteVersion());
        stoodIn.append(std::exchange(slot, living));
        kept.insert(living);
    }
    discard(stoodIn);
    for (TZVElement* element : previous)
        if (!kept.contains(element)) delete element;
}

void TZVCustomLab::replaceDesign(const std::function<void()>& read)
{
    // Everything a read may change, kept until it has succeeded.
    TZVMeasure measure(*this);
    measure.Assign(*m_measure);
    TZVBackSurf backSurf(*this);
    backSurf.Assign(*m_backSurf);
    TZVFrame frame(*this);
    frame.Assign(*m_frame);
    TZVPrintInfo printInfo(*this);
    printInfo.Assign(*m_printInfo);
    const TZVTitle title = m_title;
    const TZVAliasTable aliasTable = m_aliasTable;
    const auto settings =
        std::tuple(m_units, m_dataAccessType, m_dataEnabled, m_dataSetName, m_detailName, m_onlyBitmap,
                   m_showMargins, m_readVersion, m_dataOpen, m_currentElement);
    const QPointer<TZVDataSet> dataSet = m_dataSet;
    const QPointer<TZVDataSet> detail = m_detail;
    const bool dataActive = m_dataSet && m_dataSet->Active();
    const bool legacy = LegacyStream();
    const bool modified = m_modified;
    QList<int> selection;
    auto editorSettings = std::tuple(snNone, TZVColor(0), 0, 0, false, TZVColor(0));
    if (m_editor) {
        selection = m_editor->SelectedIndexes();
        editorSettings = std::tuple(m_editor->Snap(), m_editor->GridColor(), m_editor->GridIncX(),
                                    m_editor->GridIncY(), m_editor->GridShow(), m_editor->SelColor());
        m_editor->ClearSelection();
    }

    // The elements stay whole and out of reach of the read until it has succeeded.
    QList<TZVElement*> previous;
    previous.swap(m_elements);
    try {
        read();
    } catch (...) {
        discard(std::exchange(m_elements, previous));
        m_measure->Assign(measure);
        m_backSurf->Assign(backSurf);
        m_frame->Assign(frame);
        m_printInfo->Assign(printInfo);
        m_title = title;
        m_aliasTable = aliasTable;
        std::tie(m_units, m_dataAccessType, m_dataEnabled, m_dataSetName, m_detailName, m_onlyBitmap,
                 m_showMargins, m_readVersion, m_dataOpen, m_currentElement) = settings;
        m_dataSet = dataSet;
        m_detail = detail;
        SetLegacyStream(legacy);
        if (dataActive && m_dataSet && !m_dataSet->Active()) {
            try {
                m_dataSet->Open();
            } catch (const std::exception&) {
                // The load's own error is the one to report; the data set stays closed.
            }
        }
        if (m_editor) {
            const auto [snap, gridColor, incX, incY, gridShow, selColor] = editorSettings;
            m_editor->SetSnap(snap);
            m_editor->SetGridSettings(gridColor, incX, incY, gridShow);
            m_editor->SetSelColor(selColor);
            m_editor->SelectIndexes(selection);
        }
        if (m_modified != modified) {
            m_modified = modified;
            emit ModifiedChanged(modified);
        }
        showDesignRead();
        throw;
    }
    discard(previous);
}

void TZVCustomLab::showDesignRead()
{
    if (!m_editor) return;
    m_editor->RecalcSize();
    m_editor->SetGuideMarks(m_backSurf->GuideX(), m_backSurf->GuideY());
    m_backSurf->SetBackDirty(true);
    m_editor->SetContentDirty();
    m_editor->SetSelectionDirty();
    m_editor->Refresh(true);
}

} // namespace zorvel
