// The stock picker: a search box, paper and shape filters, the list of stocks and the chosen sheet.
#pragma once

#include "controls/ZVGuard.h"
#include "printsupport/ZVStock.h"
#include "zorvel_widgets_export.h"

#include <QList>
#include <QString>
#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QTreeView;

namespace zorvel {

class TZVDialogTexts;
class TZVStockFilter;
class TZVStockSheet;
class TZVStockTableModel;

/// Finds a stock among the catalogue's: typing in the search box narrows the list at once, the
/// paper and shape boxes filter it, and the chosen stock's sheet is drawn beside the list. Every
/// part keeps its size whatever is shown, so nothing moves under the pointer.
class ZORVEL_WIDGETS_EXPORT TZVStockPicker : public QWidget
{
    Q_OBJECT

public:
    /// An empty picker.
    explicit TZVStockPicker(QWidget* parent = nullptr);
    ~TZVStockPicker() override;

    /// Lists `stocks`, the user's own from `firstUserRow` on; the filters are kept, the first
    /// stock they let through is chosen.
    void SetStocks(QList<TZVStock> stocks, int firstUserRow);
    /// Captions from a translation file or the library's texts.
    void FillLanguage(const TZVDialogTexts& texts);

    /// The chosen stock's row in the model, -1 when none.
    int CurrentRow() const;
    /// The chosen stock, or null.
    const TZVStock* Current() const;
    /// Chooses the stock of `row` (clearing a search that hides it); -1 chooses none.
    void SetCurrentRow(int row);
    /// How many stocks the search and the filters let through.
    int ShownCount() const;
    /// The model row of the `shown`-th stock the list shows, -1 past the end.
    int ShownRow(int shown) const;

    /// Parts, for callers that add to them and for tests.
    /// @{
    TZVStockTableModel& Model() const { return *m_model; }
    QLineEdit* SearchBox() const { return m_search; }
    QComboBox* PaperBox() const { return m_paper; }
    QComboBox* ShapeBox() const { return m_shape; }
    QTreeView* List() const { return m_list; }
    TZVStockSheet* Sheet() const { return m_sheet; }
    /// @}

signals:
    /// Another stock was chosen (row -1: none).
    void CurrentRowChanged(int row);
    /// A stock was double-clicked or Enter pressed on it.
    void RowActivated(int row);

protected:
    /// Down and Up in the search box move through the list; Enter there activates the choice.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillPapers();
    /// Runs a change of the search or the filters; the choice stays when still shown, else the
    /// first stock shown is chosen.
    void refilter(const std::function<void()>& change);
    void choose(const QModelIndex& shown);
    void currentChanged();

    TZVStockTableModel* m_model = nullptr;
    TZVStockFilter* m_filter = nullptr;
    QLineEdit* m_search = nullptr;
    QComboBox* m_paper = nullptr;
    QComboBox* m_shape = nullptr;
    QTreeView* m_list = nullptr;
    TZVStockSheet* m_sheet = nullptr;
    QLabel* m_details = nullptr;
    int m_current = -1;
    QString m_anyPaper;
    /// Held while the filter changes, when the list's own choice of a neighbour is no choice.
    FeedbackGuard m_filtering;
};

} // namespace zorvel
