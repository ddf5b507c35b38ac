// The demo's record bar: first, previous, next and last record of the design's master, and where it stands.
#include "demo/ZVDemoWindowRecordBar.h"

#include "document/ZVCustomLab.h"
#include "foundation/ZVDataSet.h"

#include <QAction>
#include <QLabel>

namespace zorvel {

TRecordBar::TRecordBar(QWidget* parent) : QToolBar(QStringLiteral("Records"), parent)
{
    setObjectName(QStringLiteral("RecordBar"));
    setMovable(false);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    static const struct
    {
        const char* Name;
        const char* Text;
        const char* Hint;
    } kMoves[] = {{"actFirstRecord", "|<", "FIRST RECORD"},
                  {"actPriorRecord", "<", "PREVIOUS RECORD"},
                  {"actNextRecord", ">", "NEXT RECORD"},
                  {"actLastRecord", ">|", "LAST RECORD"}};
    for (int i = mvFirst; i <= mvLast; ++i) {
        QAction* a = addAction(QString::fromLatin1(kMoves[i].Text));
        a->setObjectName(QString::fromLatin1(kMoves[i].Name));
        a->setToolTip(QString::fromLatin1(kMoves[i].Hint));
        connect(a, &QAction::triggered, this, [this, i] { Move(static_cast<TMove>(i)); });
        m_moves[i] = a;
    }
    m_position = new QLabel(this);
    m_position->setObjectName(QStringLiteral("RecordPosition"));
    m_position->setMinimumWidth(80);
    m_position->setAlignment(Qt::AlignCenter);
    addWidget(m_position);
    Sync();
}

void TRecordBar::SetLabel(TZVCustomLab* label)
{
    m_label = label;
    Sync();
}

// A design has data when it prints from records and its master is open with some.
TZVDataSet* TRecordBar::records() const
{
    TZVDataSet* master = m_label && m_label->DataEnabled() ? m_label->DataSet() : nullptr;
    return master && master->Active() && master->RecordCount() > 0 ? master : nullptr;
}

void TRecordBar::Sync()
{
    TZVDataSet* master = m_label ? m_label->DataSet() : nullptr;
    if (master != m_watched) {
        QObject::disconnect(m_watch);
        m_watched = master;
        // Whoever moves, opens or closes it (the bar, the label's dialogs, a print run), the bar follows.
        if (master) m_watch = connect(master, &TZVDataSet::DataChanged, this, [this] { showPlace(); });
    }
    showPlace();
}

void TRecordBar::Move(TMove move)
{
    // In the order of TMove.
    static constexpr void (TZVDataSet::*kSteps[])() = {&TZVDataSet::First, &TZVDataSet::Prior,
                                                       &TZVDataSet::Next, &TZVDataSet::Last};
    TZVDataSet* master = records();
    if (!master) return;
    (master->*kSteps[move])();
    showPlace();
}

void TRecordBar::showPlace()
{
    const TZVDataSet* master = records();
    setEnabled(master);
    if (!master) {
        m_position->setText(QStringLiteral("- / -"));
        return;
    }
    const int at = master->RecNo();
    const int count = master->RecordCount();
    m_position->setText(QStringLiteral("%1 / %2").arg(at).arg(count));
    m_moves[mvFirst]->setEnabled(at > 1);
    m_moves[mvPrior]->setEnabled(at > 1);
    m_moves[mvNext]->setEnabled(at < count);
    m_moves[mvLast]->setEnabled(at < count);
}

} // namespace zorvel
