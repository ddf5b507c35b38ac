// The label properties dialog's data page: aliases and tables, the grid, counts and the quick filter.
#include "controls/ZVSpinEditFloat.h"
#include "dialogs/ZVLabelProps.h"
#include "dialogs/ZVLabelPropsData.h"
#include "document/ZVCustomLab.h"
#include "foundation/ZVError.h"
#include "foundation/ZVFilterExpr.h"
#include "platform/ZVConnections.h"
#include "platform/ZVSqlDataSet.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableView>

namespace zorvel {

namespace {

bool sameText(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

void TFPropLab::dataAction(const std::function<void()>& action)
{
    QString failure;
    try {
        action();
        return;
    } catch (const EZvError& e) {
        failure = e.message();
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    if (ShowError) ShowError(failure);
    try {
        showDataSet();
        refreshCounts();
    } catch (const std::exception&) {
        // Already reported: the same data set failed a moment ago.
    }
}

void TFPropLab::prepareData()
{
    TZVCustomLab& lab = *m_label;
    m_dataEnabled->setChecked(lab.DataEnabled());
    const TZVDataAccessType access = lab.DataAccessType();
    m_pages->setTabVisible(pgData, access != daNone);
    m_aliasCaption->setVisible(access == daBDEAlias);
    m_aliasList->setVisible(access == daBDEAlias);
    m_tableList->clear();
    if (access == daBDEAlias) {
        if (TZVDataSet* table = lab.AliasDataSet()) lab.SetDataSet(table);
        dataAction([this] { fillAliases(); });
    } else if (access == daDataSet) {
        dataAction([this] { fillDataSets(); });
    } else {
        dataAction([this] { refreshCounts(); });
    }
}

void TFPropLab::fillAliases()
{
    TZVCustomLab& lab = *m_label;
    const QStringList known = TZVConnections::Default().AliasNames();
    {
        const auto filling = m_filling.hold();
        m_aliasList->clear();
        if (lab.BDEAlias().empty()) {
            m_aliasList->addItems(known);
        } else {
            for (const TZVAliasItem& item : lab.BDEAlias())
                if (known.contains(item.AliasName, Qt::CaseInsensitive))
                    m_aliasList->addItem(item.DisplayName());
        }
        m_aliasList->setCurrentIndex(m_aliasList->count() > 0 ? 0 : -1);
        for (int i = 0; i < m_aliasList->count(); ++i)
            if (sameText(lab.AliasNameOfCaption(m_aliasList->itemText(i)), lab.AliasTable().DatabaseName))
                m_aliasList->setCurrentIndex(i);
    }
    if (m_aliasList->count() == 0) {
        showDataSet();
        refreshCounts();
        return;
    }
    aliasChanged();
}

// Every data set the label finds by name is offered, so that a design can take any of them.
void TFPropLab::fillDataSets()
{
    const TZVCustomLab& lab = *m_label;
    const QString current = lab.DataSet() ? lab.DataSet()->Name() : lab.DataSetName();
    QStringList names = lab.DataSetRegistry() ? lab.DataSetRegistry()->Names() : QStringList();
    if (!current.isEmpty() && !names.contains(current, Qt::CaseInsensitive)) names.prepend(current);
    int chosen = -1;
    for (int i = 0; i < names.size() && chosen < 0 && !current.isEmpty(); ++i)
        if (sameText(names[i], current)) chosen = i;
    {
        const auto filling = m_filling.hold();
        m_tableList->clear();
        m_tableList->addItems(names);
        m_tableList->setCurrentIndex(chosen);
    }
    tableChanged();
}

void TFPropLab::linkChosenDataSet()
{
    TZVCustomLab& lab = *m_label;
    const QString chosen = m_tableList->currentText();
    if (chosen.isEmpty() || (lab.DataSet() && sameText(lab.DataSet()->Name(), chosen))) return;
    // The design keeps the name of its master: taking another one is a change to save.
    if (lab.LinkDataSetByName(chosen, false, false)) lab.SetModified(true);
}

void TFPropLab::aliasChanged()
{
    TZVCustomLab& lab = *m_label;
    m_aliasName = lab.AliasNameOfCaption(m_aliasList->currentText());
    m_aliasIndex = -1;
    for (std::size_t i = 0; i < lab.BDEAlias().size(); ++i) {
        if (sameText(lab.BDEAlias()[i].AliasName, m_aliasName)) {
            m_aliasIndex = static_cast<int>(i);
            break;
        }
    }
    QStringList tables = TZVConnections::Default().TableNames(m_aliasName);
    m_tableItems.clear();
    if (m_aliasIndex >= 0 && !lab.BDEAlias()[m_aliasIndex].Tables.empty()) {
        m_tableItems = lab.BDEAlias()[m_aliasIndex].Tables;
        tables.clear();
        for (const TZVTableItem& item : m_tableItems)
            tables << item.DisplayName();
    }
    {
        const auto filling = m_filling.hold();
        m_tableList->clear();
        m_tableList->addItems(tables);
        int chosen = tables.isEmpty() ? -1 : 0;
        const QString& current = lab.AliasTable().TableName;
        for (int i = 0; i < tables.size(); ++i) {
            const bool named = m_tableItems.empty() ? sameText(tables[i], current)
                                                    : sameText(m_tableItems[i].TableName, current);
            if (named) {
                chosen = i;
                break;
            }
        }
        m_tableList->setCurrentIndex(chosen);
    }
    tableChanged();
}

TZVSqlDataSet* TFPropLab::aliasTable(const QString& alias, const QString& table)
{
    TZVCustomLab& lab = *m_label;
    if (!lab.AliasDataSet()) {
        TZVAliasTable& stored = lab.AliasTable();
        if (stored.DatabaseName != alias || stored.TableName != table) stored.Filter.clear();
        stored.DatabaseName = alias;
        stored.TableName = table;
        // The label makes its alias table as it links its data; ask for that without opening.
        const bool enabled = lab.DataEnabled();
        const bool openClose = lab.OpenCloseData();
        const bool modified = lab.Modified();
        lab.SetDataEnabled(true);
        lab.SetOpenCloseData(false);
        const auto restore = qScopeGuard([&] {
            lab.SetDataEnabled(enabled);
            lab.SetOpenCloseData(openClose);
            lab.SetModified(modified);
        });
        lab.OpenData(false, false);
    }
    return qobject_cast<TZVSqlDataSet*>(lab.AliasDataSet());
}

void TFPropLab::tableChanged()
{
    TZVCustomLab& lab = *m_label;
    if (lab.DataAccessType() == daBDEAlias) {
        const int index = m_tableList->currentIndex();
        if (index >= 0 && !m_aliasName.isEmpty()) {
            const QString table = m_tableItems.empty()
                                      ? m_tableList->itemText(index)
                                      : m_tableItems[static_cast<std::size_t>(index)].TableName;
            TZVSqlDataSet* ds = aliasTable(m_aliasName, table);
            if (ds) {
                ds->Close();
                if (ds->DatabaseName() != m_aliasName || ds->TableName() != table) {
                    ds->SetDatabaseName(m_aliasName);
                    ds->SetTableName(table);
                    // A filter names the fields of the table it was made on.
                    ds->SetFiltered(false);
                    ds->SetFilter(QString());
                    lab.SetModified(true);
                }
                TZVAliasTable& stored = lab.AliasTable();
                stored.DatabaseName = m_aliasName;
                stored.TableName = table;
                stored.Filter = ds->Filter();
                if (!ds->Filter().isEmpty()) ds->SetFiltered(true);
                ds->Open();
                lab.SetDataSet(ds);
            }
        }
    } else {
        if (lab.DataAccessType() == daDataSet) linkChosenDataSet();
        if (TZVDataSet* ds = lab.DataSet()) {
            if (lab.OpenCloseData() && !ds->Active()) ds->Open();
            // A closed data set has no first record to go to.
            if (ds->Active()) ds->First();
        }
    }
    showDataSet();
    refreshCounts();
}

void TFPropLab::dataEnabledChanged(bool checked)
{
    m_label->SetDataEnabled(checked);
    dataAction([this] { refreshCounts(); });
}

void TFPropLab::refreshCounts()
{
    TZVCustomLab& lab = *m_label;
    TZVPrintInfo& info = lab.PrintInfo();
    const bool bound = lab.DataEnabled();
    if (TZVDataSet* ds = lab.DataSet()) {
        if (bound) {
            if (!ds->Active() && lab.OpenCloseData()) {
                ds->Open();
                showDataSet();
            }
            if (ds->Active()) {
                const int records = ds->RecordCount();
                info.SetNumLabels(records);
                m_recordCount->setText(QString::number(records));
                // The print range stays inside the records it counts.
                if (info.PrintTo() > info.NumLabels()) info.SetPrintTo(info.NumLabels());
                if (info.PrintFrom() > info.NumLabels()) info.SetPrintFrom(1);
            }
        }
        m_filterText->setText(ds->Filter());
        const auto filling = m_filling.hold();
        m_numLabels->SetAsInteger(info.NumLabels());
        m_printFrom->SetMaxValue(info.NumLabels());
        m_printTo->SetMaxValue(info.NumLabels());
        m_printFrom->SetAsInteger(info.PrintFrom());
        m_printTo->SetAsInteger(info.PrintTo());
    }
    m_numLabels->setEnabled(!bound);
    for (QWidget* w : {static_cast<QWidget*>(m_printFrom), static_cast<QWidget*>(m_printTo),
                       static_cast<QWidget*>(m_printFromCaption), static_cast<QWidget*>(m_printToCaption)})
        w->setEnabled(bound);
}

// ---- Grid -------------------------------------------------------------------------------------

void TFPropLab::showDataSet()
{
    m_model->SetDataSet(m_label->DataSet());
    m_grid->resizeColumnsToContents();
    selectCurrentRecord();
}

void TFPropLab::selectCurrentRecord()
{
    TZVDataSet* ds = m_model->DataSet();
    if (!ds || !ds->Active() || ds->RecNo() < 1 || m_model->columnCount() == 0) return;
    const auto syncing = m_syncingGrid.hold();
    const int column = std::max(m_grid->currentIndex().column(), 0);
    m_grid->setCurrentIndex(m_model->index(ds->RecNo() - 1, column));
}

void TFPropLab::gridRowChanged(int row)
{
    TZVDataSet* ds = m_model->DataSet();
    if (!ds || !ds->Active() || row < 0) return;
    ds->First();
    ds->MoveBy(row);
}

void TFPropLab::navigate(int how)
{
    TZVDataSet* ds = m_model->DataSet();
    if (!ds || !ds->Active()) return;
    switch (how) {
    case 0:
        ds->First();
        break;
    case 1:
        ds->Prior();
        break;
    case 2:
        ds->Next();
        break;
    default:
        ds->Last();
        break;
    }
    selectCurrentRecord();
}

// ---- Quick filter -----------------------------------------------------------------------------

void TFPropLab::updateMenu()
{
    TZVDataSet* ds = m_label ? m_label->DataSet() : nullptr;
    const bool hasFilter = ds && !ds->Filter().isEmpty();
    m_executeAction->setChecked(ds && ds->Filtered());
    m_executeAction->setEnabled(hasFilter);
    m_deleteAction->setEnabled(hasFilter);
}

void TFPropLab::syncAliasFilter()
{
    TZVCustomLab& lab = *m_label;
    // The label rebuilds its alias table from the stored settings when it reopens its data.
    if (lab.DataAccessType() == daBDEAlias && lab.DataSet() && lab.DataSet() == lab.AliasDataSet() &&
        lab.AliasTable().Filter != lab.DataSet()->Filter()) {
        lab.AliasTable().Filter = lab.DataSet()->Filter();
        lab.SetModified(true);
    }
}

void TFPropLab::QuickFilter(const QString& op)
{
    TZVDataSet* ds = m_label ? m_label->DataSet() : nullptr;
    if (!ds || !ds->Active()) return;
    const int column = m_grid->currentIndex().column();
    if (column < 0 || column >= ds->FieldCount()) return;
    const QString condition = QuickFilterCondition(ds->Fields(column), op);
    if (condition.isEmpty()) return;
    dataAction([this, ds, &condition] {
        const QString filter = JoinFilter(ds->Filter(), condition);
        // Parsed before the data set closes, so a bad text leaves it open as it was.
        TZVFilterExpr parsed(filter);
        ds->Close();
        ds->SetFilter(filter);
        ds->SetFiltered(true);
        ds->Open();
        syncAliasFilter();
        showDataSet();
        refreshCounts();
    });
}

void TFPropLab::ExecuteFilter()
{
    TZVDataSet* ds = m_label ? m_label->DataSet() : nullptr;
    if (!ds) return;
    dataAction([this, ds] {
        ds->Close();
        ds->SetFiltered(true);
        ds->Open();
        showDataSet();
        refreshCounts();
    });
}

void TFPropLab::DeleteFilter()
{
    TZVDataSet* ds = m_label ? m_label->DataSet() : nullptr;
    if (!ds) return;
    dataAction([this, ds] {
        ds->Close();
        ds->SetFiltered(false);
        ds->SetFilter(QString());
        ds->Open();
        syncAliasFilter();
        showDataSet();
        refreshCounts();
    });
}

} // namespace zorvel
