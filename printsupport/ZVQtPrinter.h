// The system's printers (CUPS) through QPrinter, with "print to PDF file" on the same path.
#pragma once

#include "foundation/ZVPrinter.h"
#include "zorvel_widgets_export.h"

#include <QPageLayout>
#include <QPrinter>
#include <QString>

#include <memory>

class QPainter;
class QTemporaryDir;

namespace zorvel {

class TZVQtCanvas;

/// Printer indexes follow QPrinterInfo's list of printer names; a new instance selects the default
/// printer, or none (no settings record) when the system has no printer. SetOutputFileName turns the
/// printer into a PDF writer, which always has a settings record and no margins until
/// Printer() sets some; a job keeps the margins the printer has. A job for a queue is written to a
/// PDF file of its own and handed to CUPS at EndDoc, which reports the scheduler's refusal as an
/// error and notes the job id; a stopped or unknown queue is refused at BeginDoc, and so is a paper
/// the queue has neither a medium of (within a millimetre, either way round) nor a custom size for.
class ZORVEL_WIDGETS_EXPORT TZVQtPrinter final : public TZVPrinter
{
public:
    TZVQtPrinter();
    ~TZVQtPrinter() override;

    /// An empty name goes back to the selected system printer.
    void SetOutputFileName(const QString& fileName);
    /// The underlying QPrinter, for settings the contract does not cover.
    QPrinter& Printer() { return m_printer; }
    /// The id CUPS gave the last job sent to a queue; 0 before that, or after a PDF file.
    int LastJobId() const { return m_jobId; }

    QStringList Printers() const override;
    int PrinterIndex() const override { return m_index; }
    void SetPrinterIndex(int index) override;
    TZVDevMode* DevMode() override;

    int DpiX() const override;
    int DpiY() const override;
    QSize PageSizePixels() const override;
    QSize PhysicalOffset() const override;
    int HorzSizeMm() const override;
    int VertSizeMm() const override;

    void BeginDoc(const QString& title) override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override { return m_painter != nullptr; }
    TZVCanvas& Canvas() override;
    /// The job's PDF pages take the new length before they open; a queue's medium stays the one
    /// chosen for the settings record's paper.
    void SetPageLength(int tenths) override { m_nextLength = tenths; }

private:
    // Puts the settings record on the QPrinter: paper, orientation, copies; a queue's paper is
    // one it offers (EZvError "PAPER SIZE NOT AVAILABLE : ..." when it has none of that size).
    void applyDevMode();
    bool hasSettings() const;
    // The device painted on: the job's PDF file while a queue's job runs.
    const QPrinter& active() const { return m_job ? *m_job : m_printer; }
    void dropJob();
    // The canvas over the page opened on `target`.
    void makeCanvas(const QPrinter& target);

    QPrinter m_printer{QPrinter::HighResolution};
    int m_index = -1;
    bool m_toFile = false;
    TZVDevMode m_devMode;
    std::unique_ptr<QTemporaryDir> m_spool;
    std::unique_ptr<QPrinter> m_job;
    QString m_jobQueue;
    QString m_media; // the queue's name for the job's paper
    int m_jobId = 0;
    QPageLayout m_jobLayout; // the paper of the job's pages before SetPageLength
    int m_nextLength = 0;    // SetPageLength's, for the pages opened from now on
    int m_pageLength = 0;    // the open page's; 0 for the paper's
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<TZVQtCanvas> m_canvas;
};

} // namespace zorvel
