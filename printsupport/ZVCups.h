// The CUPS calls printing needs: the queue list, a queue's state and media, submitting a job and
// its id, and the scheduler's own error messages.
#pragma once

#include "printsupport/ZVPrinterPaper.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace zorvel::cups {

/// What the scheduler says of one queue.
struct TQueueState
{
    bool Known = false;     ///< the scheduler has a queue of that name
    bool Stopped = false;   ///< it holds jobs instead of printing them
    bool Accepting = false; ///< it takes new jobs
    QString Message;        ///< the scheduler's words on the queue (or why it is unknown)
};

/// The queues (name, or name/instance), in the scheduler's order; none when no scheduler answers.
QStringList Queues();
/// The default queue, or an empty name when there is none.
QString DefaultQueue();

/// The queue's state as the scheduler reports it.
TQueueState QueueState(const QString& queue);

/// The media `queue`'s driver offers, with their unprintable margins, and the custom sizes it
/// takes; no media at all when the scheduler says nothing of them.
TZVPrinterMedia QueueMedia(const QString& queue);

/// A job's CUPS options: its paper by the queue's name for it, landscape or not, and its copies.
QList<QPair<QByteArray, QByteArray>> JobOptions(const QString& media, bool landscape, int copies);

/// Sends `file` to `queue` as job `title` with CUPS options (name, value); returns the job id.
/// Raises EZvError with the scheduler's message when the job is refused.
int SubmitFile(const QString& queue, const QString& file, const QString& title,
               const QList<QPair<QByteArray, QByteArray>>& options);

/// Refuses a queue that is unknown or stopped, in the scheduler's words (EZvError).
void RequireReadyQueue(const QString& queue);

} // namespace zorvel::cups
