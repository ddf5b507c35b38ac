// The label document: element list, change flow to the editor, units and data binding.
#include "document/ZVCustomLab.h"

#include "document/ZVDisplayFormat.h"
#include "document/ZVEditorLink.h"
#include "document/ZVRunPlan.h"
#include "document/ZVRunValues.h"
#include "document/ZVUndoHistory.h"
#include "document/ZVElement.h"
#include "document/ZVElementRegistry.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStream.h"
#include "foundation/ZVUtils.h"
#include "platform/ZVSqlDataSet.h"

#include <exception>
#include <utility>

namespace zorvel {
namespace {

bool sameText(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The kinds a field-choice list offers where only whole numbers make sense.
bool isSmallWholeKind(TZVFieldKind kind)
{
    return kind == fkSmallInt || kind == fkInteger || kind == fkWord || kind == fkBoolean;
}

TZVField* fieldWithLabel(const TZVDataSet& dataSet, const QString& label)
{
    for (int i = 0; i < dataSet.FieldCount(); ++i)
        if (sameText(dataSet.Fields(i).DisplayLabel(), label)) return &dataSet.Fields(i);
    return nullptr;
}

QString labelsOf(const TZVDataSet& dataSet, const QString& fieldName)
{
    const TZVField* field = dataSet.FindField(fieldName);
    return field ? field->DisplayLabel() : QStringLiteral("-");
}

void fillLabels(QStringList& list, const TZVDataSet& dataSet, bool binaryOnly, bool noBinary,
                bool integersOnly)
{
    for (int i = 0; i < dataSet.FieldCount(); ++i) {
        const TZVField& field = dataSet.Fields(i);
        const TZVFieldKind kind = field.Kind();
        bool keep = true;
        if (integersOnly)
            keep = isSmallWholeKind(kind);
        else if (binaryOnly)
            keep = IsBinaryKind(kind);
        else if (noBinary)
            keep = !IsBinaryKind(kind);
        if (keep) list.append(field.DisplayLabel());
    }
}

} // namespace

TZVCustomLab::TZVCustomLab(QObject* parent)
    : QObject(parent), m_backSurf(std::make_unique<TZVBackSurf>(*this)),
      m_frame(std::make_unique<TZVFrame>(*this)), m_measure(std::make_unique<TZVMeasure>(*this)),
      m_printInfo(std::make_unique<TZVPrintInfo>(*this)), m_undoStack(std::make_unique<QUndoStack>()),
      m_runValues(std::make_unique<TZVRunValues>(*this))
{
    m_undoStack->setUndoLimit(kUndoSteps);
    SetLegacyStream(false);
}

TZVCustomLab::~TZVCustomLab()
{
    m_editor = nullptr;
    m_currentElement = nullptr;
    // Elements go first, while the settings they may consult still exist; the list is emptied
    // beforehand so that their destructors find nothing to take off it.
    QList<TZVElement*> elements;
    elements.swap(m_elements);
    qDeleteAll(elements);
}

void TZVCustomLab::SetEditor(TZVEditorLink* editor)
{
    TZVEditorLink* previous = std::exchange(m_editor, editor);
    // Told after the swap, so that the old editor finds itself unlinked already.
    if (previous && editor && previous != editor) previous->LabelTaken();
}

TZVDataSet* TZVCustomLab::AliasDataSet() const
{
    return m_aliasDataSet.get();
}

void TZVCustomLab::SetMeasure(const TZVMeasure* value)
{
    if (!value || value == m_measure.get()) return;
    m_measure->Assign(*value);
    if (m_editor) m_editor->RecalcSize();
    NotifyChange(ckAll, 0, QStringLiteral("Measure"));
    SetModified(true);
}

void TZVCustomLab::SetFrame(const TZVFrame* value)
{
    if (!value || value == m_frame.get()) return;
    m_frame->Assign(*value);
    NotifyChange(ckContent, 0, QStringLiteral("Frame"));
    SetModified(true);
}

void TZVCustomLab::SetBackSurf(const TZVBackSurf* value)
{
    if (!value || value == m_backSurf.get()) return;
    m_backSurf->Assign(*value);
    if (m_editor) {
        m_editor->ShowGuideMarks(m_backSurf->ShowAlign());
        m_editor->SetGuideMarks(m_backSurf->GuideX(), m_backSurf->GuideY());
    }
    NotifyChange(ckAll, 0, QStringLiteral("BackSurf"));
    SetModified(true);
}

void TZVCustomLab::SetBDEAlias(const TZVAlias& value)
{
    m_aliases = value;
}

void TZVCustomLab::SetUnits(TZVUnits value)
{
    if (value == m_units) return;
    m_units = value;
    if (m_editor) m_editor->UnitsChanged(value);
    NotifyChange(ckLayers, 0, QStringLiteral("Units"));
    SetModified(true);
}

int TZVCustomLab::ToModel(double value) const
{
    return zorvel::ToModel(value, m_units);
}

float TZVCustomLab::FromModel(int value) const
{
    return zorvel::FromModel(value, m_units);
}

void TZVCustomLab::AddElement(TZVElement* element, bool refresh)
{
    if (!element || m_elements.contains(element)) return;
    m_elements.append(element);
    SetModified(true);
    if (refresh && m_editor) {
        m_editor->SetContentDirty();
        if (m_editor->PaintEnabled()) m_editor->Refresh(true);
    }
}

bool TZVCustomLab::DeleteElement(TZVElement* element, bool refresh)
{
    const qsizetype at = m_elements.indexOf(element);
    if (at < 0) return false;
    if (m_currentElement == element) m_currentElement = nullptr;
    if (m_editor) {
        m_editor->RemoveFromSelection(element);
        m_editor->SetSelectionDirty();
        // An unselected element was drawn in the content layer: it must go from there too.
        m_editor->SetContentDirty();
    }
    m_elements.removeAt(at);
    delete element;
    SetModified(true);
    if (refresh && m_editor && m_editor->PaintEnabled()) m_editor->Refresh(true);
    return true;
}

void TZVCustomLab::ClearElements()
{
    QList<TZVElement*> elements;
    elements.swap(m_elements);
    m_currentElement = nullptr;
    // The selection is emptied first so that it never holds destroyed elements.
    if (m_editor) m_editor->ClearSelection();
    qDeleteAll(elements);
    if (!elements.isEmpty()) SetModified(true);
    if (m_editor) {
        m_editor->SetContentDirty();
        m_editor->SetSelectionDirty();
        if (m_editor->PaintEnabled()) m_editor->Refresh(true);
    }
}

void TZVCustomLab::takeOffList(TZVElement* element)
{
    if (m_currentElement == element) m_currentElement = nullptr;
    const qsizetype at = m_elements.indexOf(element);
    if (at < 0) return;
    // Deleted directly rather than through DeleteElement: the editor must forget it all the same.
    m_elements.removeAt(at);
    SetModified(true);
    if (m_editor) {
        m_editor->RemoveFromSelection(element);
        m_editor->SetSelectionDirty();
        m_editor->SetContentDirty();
    }
}

bool TZVCustomLab::IdInUse(const QString& id) const
{
    for (const TZVElement* element : m_elements)
        if (sameText(element->ID(), id)) return true;
    return false;
}

QString TZVCustomLab::NewId(const QString& base, int kind) const
{
    int n = 1;
    for (const TZVElement* element : m_elements) {
        if (element->ElementKind() != kind) continue;
        const QString id = base + QString::number(n);
        if (!IdInUse(id)) return id;
        ++n;
    }
    // An element of another kind may carry the name (renamed, or read from a stream): IDs
    // stay unique.
    QString id = base + QString::number(n);
    while (IdInUse(id))
        id = base + QString::number(++n);
    return id;
}

TZVElement* TZVCustomLab::CreateElement(int kind)
{
    return CreateElementOfKind(*this, kind);
}

void TZVCustomLab::BringToFront(TZVElement* element)
{
    const qsizetype at = m_elements.indexOf(element);
    if (at <= 0) return;
    m_elements.move(at, 0);
    NotifyChange(ckLayers, 0, {});
    SetModified(true);
}

void TZVCustomLab::SendToBack(TZVElement* element)
{
    const qsizetype at = m_elements.indexOf(element);
    if (at < 0 || at == m_elements.size() - 1) return;
    m_elements.move(at, m_elements.size() - 1);
    NotifyChange(ckLayers, 0, {});
    SetModified(true);
}

void TZVCustomLab::NotifyChange(int kind, int index, const QString& propertyName)
{
    if (!m_editor) return;
    switch (kind) {
    case ckAll:
        m_backSurf->SetBackDirty(true);
        m_editor->SetContentDirty();
        m_editor->SetSelectionDirty();
        break;
    case ckBackground:
        m_backSurf->SetBackDirty(true);
        break;
    case ckContent:
    case ckContentCoordinates:
        m_editor->SetContentDirty();
        break;
    case ckSelection:
    case ckSelectionCoordinates:
        m_editor->SetSelectionDirty();
        break;
    case ckLayers:
        m_editor->SetContentDirty();
        m_editor->SetSelectionDirty();
        break;
    default:
        break;
    }
    if (m_editor->PaintEnabled()) m_editor->Refresh(index != 0, propertyName);
}

void TZVCustomLab::RefreshProperty(const QString& name)
{
    if (m_editor) m_editor->RefreshProperty(name);
}

void TZVCustomLab::SetModified(bool modified)
{
    // A save is the state undo comes back to as unmodified.
    if (!modified)
        m_undoStack->setClean();
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit ModifiedChanged(modified);
}

void TZVCustomLab::Loaded()
{
    m_loading = false;
    m_measure->ApplyLoadedValues();
    SetModified(false);
}

void TZVCustomLab::SetDataSet(TZVDataSet* dataSet)
{
    m_dataSet = dataSet;
    if (!dataSet) {
        m_dataSetName.clear();
        return;
    }
    m_dataSetName = dataSet->Name();
    fire(OnAssignedDataSet, this, m_dataSetName);
}

void TZVCustomLab::SetDetail(TZVDataSet* dataSet)
{
    m_detail = dataSet;
    m_detailName = dataSet ? dataSet->Name() : QString();
}

bool TZVCustomLab::LinkDataSetByName(const QString& name, bool withModule, bool isDetail)
{
    if (name.isEmpty()) return false;
    TZVDataSet* found = nullptr;
    if (QObject* owner = parent()) {
        for (TZVDataSet* candidate : owner->findChildren<TZVDataSet*>()) {
            if (sameText(candidate->Name(), name)) {
                found = candidate;
                break;
            }
        }
    }
    if (!found && m_registry) {
        found = m_registry->Find(name, withModule);
        // Names kept in designs are the data sets' own names, without a module: they must
        // still find the data set of a module, or of none.
        if (!found && withModule) found = m_registry->Find(name, false);
    }
    if (!found) return false;
    if (isDetail)
        SetDetail(found);
    else
        SetDataSet(found);
    return true;
}

void TZVCustomLab::SetDataEnabled(bool enabled)
{
    if (enabled == m_dataEnabled) return;
    m_dataEnabled = enabled;
    SetModified(true);
}

TZVDataSet* TZVCustomLab::configuredAliasDataSet()
{
    if (!m_aliasDataSet) {
        m_aliasDataSet = std::make_unique<TZVSqlDataSet>();
        m_aliasDataSet->SetName(QStringLiteral("AliasTable"));
    }
    TZVSqlDataSet& table = *m_aliasDataSet;
    if (table.DatabaseName() != m_aliasTable.DatabaseName || table.TableName() != m_aliasTable.TableName) {
        table.Close();
        table.SetDatabaseName(m_aliasTable.DatabaseName);
        table.SetTableName(m_aliasTable.TableName);
    }
    if (table.Filter() != m_aliasTable.Filter) table.SetFilter(m_aliasTable.Filter);
    return &table;
}

bool TZVCustomLab::OpenData(bool adjustCounts, bool checkFields)
{
    if (!m_dataEnabled) return false;
    try {
        if (m_dataAccessType == daBDEAlias && !m_aliasTable.DatabaseName.isEmpty() &&
            !m_aliasTable.TableName.isEmpty())
            SetDataSet(configuredAliasDataSet());
        else if (m_dataAccessType == daDataSet)
            LinkDataSetByName(m_dataSetName, true, false);
        if (m_dataSet) {
            if (!m_dataSet->Filter().isEmpty()) m_dataSet->SetFiltered(true);
            if (m_openCloseData) {
                m_dataSet->Open();
                if (m_detail) m_detail->Open();
            }
        }
    } catch (const std::exception&) {
        throw EZvError(QString::fromLatin1(kErrorCantOpenDataSet));
    }
    const bool assigned = m_dataSet;
    // A closed data set has no record count to follow; the run that opens it adjusts again.
    if (assigned && adjustCounts && m_dataSet->Active())
        m_printInfo->AdjustToRecordCount(m_dataSet->RecordCount());
    if (assigned && checkFields) checkBoundFields();
    if (m_editor) m_editor->RefreshInspector();
    return assigned;
}

void TZVCustomLab::checkBoundFields()
{
    // Fields are known only while the data set is open; a closed one says nothing about the
    // names, and switching every binding off for it would lose the design's data binding.
    if (!m_dataSet->Active()) return;
    for (auto it = m_elements.crbegin(); it != m_elements.crend(); ++it) {
        auto* data = qobject_cast<TZVData*>(*it);
        if (!data || !data->Data()) continue;
        const QString field = data->BoundField();
        if (field.isEmpty()) {
            data->SetData(false);
        } else if (m_dataSet->FindField(field)) {
            continue;
        } else if (const TZVField* labelled = fieldWithLabel(*m_dataSet, field)) {
            // Bound by its display label while the fields could not be asked.
            data->SetFieldName(labelled->FieldName());
        } else {
            data->SetData(false);
            const QString message = QString::fromLatin1(kErrorInvalidFieldName) + field;
            // A design being read stays whole: the wrong binding is reported, not the design.
            if (!m_loading) throw EZvError(message);
            fire(OnMessage, this, message);
        }
    }
}

void TZVCustomLab::FieldLabels(QStringList& list, bool binaryOnly, bool noBinary, bool integersOnly) const
{
    list.clear();
    if (m_dataEnabled && m_dataSet) fillLabels(list, *m_dataSet, binaryOnly, noBinary, integersOnly);
}

void TZVCustomLab::DetailFieldLabels(QStringList& list) const
{
    list.clear();
    if (m_dataEnabled && m_detail) fillLabels(list, *m_detail, false, false, false);
}

QString TZVCustomLab::FieldNameOfLabel(const QString& label) const
{
    if (label.isEmpty() || m_dataAccessType == daBDEAlias) return label;
    // Without data access nothing can be bound.
    if (m_dataAccessType == daNone) return {};
    if (!m_dataSet) return label;
    const TZVField* field = fieldWithLabel(*m_dataSet, label);
    return field ? field->FieldName() : QString();
}

QString TZVCustomLab::DetailFieldNameOfLabel(const QString& label) const
{
    if (label.isEmpty() || m_dataAccessType == daBDEAlias) return label;
    if (m_dataAccessType == daNone) return {};
    if (!m_detail) return label;
    const TZVField* field = fieldWithLabel(*m_detail, label);
    return field ? field->FieldName() : QString();
}

QString TZVCustomLab::LabelOfFieldName(const QString& name) const
{
    if (!m_dataEnabled || !m_dataSet) return QStringLiteral("-");
    return labelsOf(*m_dataSet, name);
}

QString TZVCustomLab::DetailLabelOfFieldName(const QString& name) const
{
    if (!m_dataEnabled || !m_detail) return QStringLiteral("-");
    if (m_dataAccessType == daBDEAlias || name.isEmpty()) return name;
    return labelsOf(*m_detail, name);
}

QString TZVCustomLab::FieldText(const QString& fieldName, const QString& format, bool dateFormat) const
{
    if (!m_dataSet) return {};
    return FieldDisplayText(*m_dataSet, fieldName, format, dateFormat);
}

QString TZVCustomLab::AliasNameOfCaption(const QString& caption) const
{
    for (const TZVAliasItem& item : m_aliases)
        if (sameText(item.Caption, caption)) return item.AliasName;
    return caption;
}

void TZVCustomLab::SetOnlyBitmap(bool value)
{
    if (value == m_onlyBitmap) return;
    m_onlyBitmap = value;
    SetModified(true);
}

void TZVCustomLab::SetDataAccessType(TZVDataAccessType value)
{
    if (value == m_dataAccessType) return;
    m_dataAccessType = value;
    SetModified(true);
}

void TZVCustomLab::SetShowMargins(bool value)
{
    if (value == m_showMargins) return;
    m_showMargins = value;
    NotifyChange(ckContent, 0, QStringLiteral("ShowMargins"));
    SetModified(true);
}

void TZVCustomLab::SetMarkEmptyImage(bool value)
{
    if (value == m_markEmptyImage) return;
    m_markEmptyImage = value;
    NotifyChange(ckLayers, 0, QStringLiteral("MarkEmptyImage"));
    SetModified(true);
}

void TZVCustomLab::SetGridNotDrawFields(bool value)
{
    if (value == m_gridNotDrawFields) return;
    m_gridNotDrawFields = value;
    NotifyChange(ckLayers, 0, QStringLiteral("GridNotDrawFields"));
    SetModified(true);
}

QString TZVCustomLab::PictureFilter() const
{
    if (m_onlyBitmap) return QStringLiteral("Bitmaps (*.bmp)");
    return QStringLiteral("All (*.jpg *.jpeg *.bmp *.wmf *.emf);;"
                          "JPEG Image File (*.jpg);;"
                          "JPEG Image File (*.jpeg);;"
                          "WMF Metafile (*.wmf);;"
                          "EMF Enhanced Metafile (*.emf)");
}

void TZVLab::EditElement()
{
    if (m_elementEditor && CurrentElement()) m_elementEditor->EditElement(*this, *CurrentElement());
}

void TZVLab::ShowLabelProperties(int page)
{
    if (m_labDialogs) m_labDialogs->ShowLabelProperties(*this, page);
}

void TZVLab::ShowLabelDefs()
{
    if (m_labDialogs) m_labDialogs->ShowLabelDefs(*this);
}

void TZVLab::Preview()
{
    if (m_labDialogs) m_labDialogs->Preview(*this);
}

} // namespace zorvel
