// A print queue of a ZPL printer: Zorvel writes the printer's own language and CUPS passes it on.
#pragma once

#include "printsupport/ZVForwardingPrinter.h"
#include "printsupport/ZVPrinterCalibration.h"
#include "zorvel_print_export.h"

#include <QString>

#include <memory>

class QTemporaryDir;

namespace zorvel {

class TZVZplPrinter;

namespace detail {
/// Owns the ZPL writer before the forwarding base is built on it.
struct TZVZplWriterHolder
{
    /// A writer to a file of a private temporary folder.
    explicit TZVZplWriterHolder(int dpi);
    ~TZVZplWriterHolder();
    std::unique_ptr<QTemporaryDir> Spool; ///< the folder of the job's file
    QString File; ///< the job's file
    std::unique_ptr<TZVZplPrinter> Writer; ///< writes the job
};
} // namespace detail

/// One queue, printed to as ZPL II at the printer's resolution: labels are drawn by the ZPL writer
/// (native bar codes, shapes, texts as graphics), calibration offsets become the label home (^LH),
/// and at EndDoc the file goes to the queue raw, with the copies asked for. A stopped or unknown
/// queue is refused at BeginDoc; the scheduler's refusal at EndDoc is an error.
class ZORVEL_PRINT_EXPORT TZVZplQueuePrinter final : private detail::TZVZplWriterHolder,
                                                     public TZVForwardingPrinter
{
public:
    /// Prints to `queue` at `dpi` (203, 300 or 600), its labels moved by `offsets`.
    TZVZplQueuePrinter(QString queue, int dpi, const TZVCalibration& offsets);
    ~TZVZplQueuePrinter() override;

    /// The id CUPS gave the last job; 0 before that.
    int LastJobId() const { return m_jobId; }

    /// The queue is its only printer.
    QStringList Printers() const override { return {m_queue}; }
    void BeginDoc(const QString& title) override;
    void EndDoc() override;

private:
    QString m_queue;
    QString m_title;
    int m_jobId = 0;
};

} // namespace zorvel
