// The system's print queues without Qt Print Support: each job written as PDF and handed to CUPS.
#pragma once

#include "platform/ZVPdfPrinter.h"
#include "printsupport/ZVForwardingPrinter.h"
#include "zorvel_print_export.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryDir;

namespace zorvel {

/// Printer indexes follow the scheduler's list of queues as it was when the printer was made; a new
/// instance selects the default queue, or none (no settings record) when there is no queue. A job
/// is written to a PDF file of its own on the queue's paper for the settings record
/// (ChoosePrinterPaper), the canvas inside that medium's unprintable margins, and handed to CUPS at
/// EndDoc with the medium, the orientation and the copies; the scheduler's refusal is an error and
/// the job id is noted. A stopped or unknown queue is refused at BeginDoc, and so is a paper the
/// queue has neither a medium of (within a millimetre, either way round) nor a custom size for.
/// Pages of their own length (SetPageLength) are pages of the job's PDF file; the medium stays the
/// one chosen for the settings record's paper, the roll's full length.
class ZORVEL_PRINT_EXPORT TZVCupsPrinter final : public TZVForwardingPrinter
{
public:
    TZVCupsPrinter();
    ~TZVCupsPrinter() override;

    /// The id CUPS gave the last job; 0 before that.
    int LastJobId() const { return m_jobId; }

    QStringList Printers() const override { return m_queues; }
    int PrinterIndex() const override { return m_index; }
    void SetPrinterIndex(int index) override { m_index = index; }
    TZVDevMode* DevMode() override;

    // The page's geometry, its pages and canvas are those of the job's PDF printer.
    void BeginDoc(const QString& title) override;
    void EndDoc() override;
    void Abort() override;

private:
    explicit TZVCupsPrinter(std::unique_ptr<TZVPdfPrinter> pdf);
    // The job's page: the queue's paper for the settings record, its margins and the job's options.
    void applyDevMode(const QString& queue);

    std::unique_ptr<TZVPdfPrinter> m_pdf; // its settings record is the job's paper
    QStringList m_queues;
    int m_index = -1;
    TZVDevMode m_devMode;
    std::unique_ptr<QTemporaryDir> m_spool;
    QString m_jobQueue;
    QString m_jobTitle;
    QList<QPair<QByteArray, QByteArray>> m_jobOptions;
    int m_jobId = 0;
};

} // namespace zorvel
