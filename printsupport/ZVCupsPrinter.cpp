// A queue's job as a PDF file of the core's PDF printer, submitted through libcups.
#include "printsupport/ZVCupsPrinter.h"

#include "foundation/ZVError.h"
#include "printsupport/ZVCups.h"
#include "printsupport/ZVPrinterPaper.h"

#include <QScopeGuard>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace zorvel {

TZVCupsPrinter::TZVCupsPrinter() : TZVCupsPrinter(std::make_unique<TZVPdfPrinter>(QString())) {}

TZVCupsPrinter::TZVCupsPrinter(std::unique_ptr<TZVPdfPrinter> pdf)
    : TZVForwardingPrinter(*pdf), m_pdf(std::move(pdf)), m_queues(cups::Queues())
{
    m_index = static_cast<int>(m_queues.indexOf(cups::DefaultQueue()));
    if (m_index < 0 && !m_queues.isEmpty()) m_index = 0;
}

TZVCupsPrinter::~TZVCupsPrinter()
{
    if (Printing()) Abort();
}

TZVDevMode* TZVCupsPrinter::DevMode()
{
    return m_index >= 0 && m_index < m_queues.size() ? &m_devMode : nullptr;
}

void TZVCupsPrinter::applyDevMode(const QString& queue)
{
    const QSizeF mm(m_devMode.PaperWidth / 10.0, m_devMode.PaperLength / 10.0);
    const TZVPrinterPaper paper = ChoosePrinterPaper(cups::QueueMedia(queue), mm);
    const bool landscape = (m_devMode.Orientation == TZVDevMode::kLandscape) != paper.Turned;
    TZVDevMode& page = *m_pdf->DevMode();
    page.PaperWidth = static_cast<int>(std::lround(paper.Medium.Mm.width() * 10));
    page.PaperLength = static_cast<int>(std::lround(paper.Medium.Mm.height() * 10));
    page.Orientation = landscape ? TZVDevMode::kLandscape : TZVDevMode::kPortrait;
    m_pdf->SetMargins(paper.Medium.Margins);
    const int copies = m_devMode.CopiesSet ? std::max(1, m_devMode.Copies) : 1;
    m_jobOptions = cups::JobOptions(paper.Medium.Name, landscape, copies);
}

void TZVCupsPrinter::BeginDoc(const QString& title)
{
    if (Printing()) Abort();
    RequireDevMode(*this);
    m_jobId = 0;
    m_jobQueue = m_queues.at(m_index);
    m_jobTitle = title;
    applyDevMode(m_jobQueue);
    cups::RequireReadyQueue(m_jobQueue);
    m_spool = std::make_unique<QTemporaryDir>();
    bool started = m_spool->isValid();
    if (started) {
        m_pdf->SetFileName(m_spool->filePath(QStringLiteral("job.pdf")));
        try {
            m_pdf->BeginDoc(title);
        } catch (const EZvError&) {
            started = false;
        }
    }
    if (!started) {
        m_spool.reset();
        throw EZvError(QStringLiteral("CAN'T START PRINT JOB : ") + title);
    }
}

void TZVCupsPrinter::EndDoc()
{
    if (!Printing()) return;
    auto done = qScopeGuard([this] { m_spool.reset(); });
    try {
        m_pdf->EndDoc();
    } catch (const EZvError&) {
        throw EZvError(QStringLiteral("CAN'T END PRINT JOB"));
    }
    m_jobId = cups::SubmitFile(m_jobQueue, m_pdf->FileName(), m_jobTitle, m_jobOptions);
}

void TZVCupsPrinter::Abort()
{
    m_pdf->Abort();
    m_spool.reset();
}

} // namespace zorvel
