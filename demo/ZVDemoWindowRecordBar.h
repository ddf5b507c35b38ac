// The demo's record bar: moves the master data set of the shown design through its records.
#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QToolBar>

class QAction;
class QLabel;

namespace zorvel {

class TZVCustomLab;
class TZVDataSet;

class TRecordBar : public QToolBar
{
    Q_OBJECT

public:
    enum TMove
    {
        mvFirst,
        mvPrior,
        mvNext,
        mvLast
    };

    explicit TRecordBar(QWidget* parent = nullptr);

    // The label whose master the bar moves; not owned.
    void SetLabel(TZVCustomLab* label);
    // Reads the label's master again (another design, another data set) and shows its place.
    void Sync();
    // Moves the master as the button of `move` does; nothing while the bar is disabled.
    void Move(TMove move);

    QAction* MoveAction(TMove move) const { return m_moves[move]; }
    // "n / count", or "- / -" while the design has no data.
    QLabel* Position() const { return m_position; }

private:
    TZVDataSet* records() const;
    void showPlace();

    QPointer<TZVCustomLab> m_label;
    QPointer<TZVDataSet> m_watched;
    QMetaObject::Connection m_watch;
    QAction* m_moves[mvLast + 1] = {};
    QLabel* m_position = nullptr;
};

} // namespace zorvel
