// The few CUPS calls printing needs beyond what Qt offers: a queue's state, submitting a job and
// its id, and the scheduler's own error messages.
#pragma once

#include "zorvel_widgets_export.h"

#include <QList>
#include <QPair>
#include <QString>

namespace zorvel::cups {

/// What the scheduler says of one queue.
struct TQueueState
{
    bool Known = false;     ///< the scheduler has a queue of that name
    bool Stopped = false;   ///< it holds jobs instead of printing them
    bool Accepting = false; ///< it takes new jobs
    QString Message;        ///< the scheduler's words on the queue (or why it is unknown)
};

/// False when libcups cannot be loaded; every other call then fails with a message.
bool Available();

/// The queue's state as the scheduler reports it.
TQueueState QueueState(const QString& queue);

/// Sends `file` to `queue` as job `title` with CUPS options (name, value); returns the job id.
/// Raises EZvError with the scheduler's message when the job is refused.
int SubmitFile(const QString& queue, const QString& file, const QString& title,
               const QList<QPair<QByteArray, QByteArray>>& options);

/// Refuses a queue that is unknown or stopped, in the scheduler's words (EZvError).
ZORVEL_WIDGETS_EXPORT void RequireReadyQueue(const QString& queue);

} // namespace zorvel::cups
