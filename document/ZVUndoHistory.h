// How a change to a label's design becomes one step of its undo history.
#pragma once

#include "zorvel_core_export.h"

#include <QString>
#include <QtGlobal>

namespace zorvel {

class TZVCustomLab;

/// Steps kept in a label's undo history; older ones are dropped.
inline constexpr int kUndoSteps = 100;

/// Starts a change of `label`'s design. Changes nest: only the outermost one records a step,
/// so a dialog that runs editor commands still makes one step.
ZORVEL_CORE_EXPORT void BeginChange(TZVCustomLab& label);
/// Ends the change BeginChange started. The outermost end records a step named `text` when the
/// design is no longer the same; the next step with the same non-empty `mergeKey` joins it.
/// True when a step was recorded or joined.
ZORVEL_CORE_EXPORT bool EndChange(TZVCustomLab& label, const QString& text, const QString& mergeKey = {});
/// Ends the outermost change recording nothing; with `restore` the design and the selection
/// are put back as they were at its start. Inner changes only end.
ZORVEL_CORE_EXPORT void CancelChange(TZVCustomLab& label, bool restore);
/// True between the outermost BeginChange and its end.
ZORVEL_CORE_EXPORT bool ChangeInProgress(const TZVCustomLab& label);
/// True when a change nested in the one in progress was cancelled (a dialog closed with Cancel),
/// so that the action around it can be given up too.
ZORVEL_CORE_EXPORT bool ChangeGivenUp(const TZVCustomLab& label);

/// Bytes the label's undo history holds: its compressed snapshots, each counted once, and the
/// uncompressed copy of the current design it compares the next change with.
ZORVEL_CORE_EXPORT qint64 UndoHistoryBytes(const TZVCustomLab& label);

/// Brackets one user action as a step of the label's undo history.
class ZORVEL_CORE_EXPORT TZVChangeScope
{
public:
    /// Begins the change; the end of the scope records the step named `text` (see EndChange).
    TZVChangeScope(TZVCustomLab& label, const QString& text, const QString& mergeKey = {});
    ~TZVChangeScope();
    TZVChangeScope(const TZVChangeScope&) = delete;
    TZVChangeScope& operator=(const TZVChangeScope&) = delete;

    /// The action is given up: nothing is recorded; with `restore` the design is put back.
    void Cancel(bool restore);

private:
    TZVCustomLab& m_label;
    QString m_text;
    QString m_mergeKey;
    bool m_open = true;
};

} // namespace zorvel
