// The label properties page of the design's counters and its quantity field.
#pragma once

#include "document/ZVCounters.h"
#include "zorvel_widgets_export.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QTableWidget;

namespace zorvel {

class TZVCustomLab;

/// Edits a label's counters in a grid (name, next value, step, digits, alphabet, per, reset) and
/// picks the master field that gives each record's number of labels. Every change goes to the
/// label at once; a counter the label refuses is shown in red under the grid and not applied.
class ZORVEL_WIDGETS_EXPORT TZVCountersPage : public QWidget
{
    Q_OBJECT

public:
    /// A page not yet linked to a label (see Prepare).
    explicit TZVCountersPage(QWidget* parent = nullptr);

    /// Fills the grid and the field list from `label`, which must outlive the page.
    void Prepare(TZVCustomLab& label);
    /// The grid of counters, one row each.
    QTableWidget* Grid() const { return m_grid; }
    /// The quantity field: its first entry is "every record Repetitions times".
    QComboBox* QuantityField() const { return m_quantity; }
    /// Why the last change was refused; empty when it was applied.
    QString Refusal() const;
    /// Appends a counter with a free name ("SERIAL", "SERIAL2" ...) and applies it.
    void AddCounter();
    /// Removes the counter of the current row and applies the rest.
    void RemoveCounter();

private:
    void fillRow(int row, const TZVCounter& counter);
    void apply();

    TZVCustomLab* m_label = nullptr;
    QTableWidget* m_grid = nullptr;
    QComboBox* m_quantity = nullptr;
    QLabel* m_refusal = nullptr;
    bool m_filling = false;
};

} // namespace zorvel
