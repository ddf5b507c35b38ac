// QPrinter-backed printer: CUPS queues and PDF files.
#include "printsupport/ZVQtPrinter.h"

#include "foundation/ZVError.h"
#include "platform/ZVQtCanvas.h"
#include "printsupport/ZVCups.h"
#include "printsupport/ZVPrinterPaper.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <cmath>

namespace zorvel {
namespace {

// The queue's media as Qt's print support reads them from its driver; Qt keeps their margins itself.
TZVPrinterMedia mediaOf(const QPrinterInfo& printer)
{
    TZVPrinterMedia media;
    media.Printer = printer.printerName();
    for (const QPageSize& size : printer.supportedPageSizes())
        media.Named.append({size.key(), size.size(QPageSize::Millimeter), QMarginsF()});
    media.Custom = printer.supportsCustomPageSizes();
    if (const QPageSize low = printer.minimumPhysicalPageSize(); low.isValid())
        media.CustomMin = low.size(QPageSize::Millimeter);
    if (const QPageSize high = printer.maximumPhysicalPageSize(); high.isValid())
        media.CustomMax = high.size(QPageSize::Millimeter);
    return media;
}

// The page `tenths` long as it lies on the canvas, the paper's width kept; 0 keeps the paper.
QPageLayout withLength(const QPageLayout& paper, int tenths)
{
    if (tenths <= 0) return paper;
    const QSizeF lying(paper.fullRect(QPageLayout::Millimeter).width(), tenths / 10.0);
    const bool landscape = paper.orientation() == QPageLayout::Landscape;
    const QPageSize size(landscape ? lying.transposed() : lying, QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    return QPageLayout(size, paper.orientation(), paper.margins(QPageLayout::Millimeter), QPageLayout::Millimeter);
}

} // namespace

TZVQtPrinter::TZVQtPrinter()
{
    // Like a printer device context: the origin is the printable area's corner.
    m_printer.setFullPage(false);
    const QStringList names = Printers();
    m_index = static_cast<int>(names.indexOf(cups::DefaultQueue()));
    if (m_index < 0 && !names.isEmpty())
        m_index = 0;
    if (m_index >= 0)
        m_printer.setPrinterName(names.at(m_index));
}

TZVQtPrinter::~TZVQtPrinter()
{
    if (Printing())
        Abort();
}

QStringList TZVQtPrinter::Printers() const
{
    return cups::Queues();
}

void TZVQtPrinter::SetPrinterIndex(int index)
{
    const QStringList names = Printers();
    m_index = index;
    if (index >= 0 && index < names.size()) {
        m_toFile = false;
        m_printer.setOutputFileName({});
        m_printer.setOutputFormat(QPrinter::NativeFormat);
        m_printer.setPrinterName(names.at(index));
    }
}

void TZVQtPrinter::SetOutputFileName(const QString& fileName)
{
    m_toFile = !fileName.isEmpty();
    m_printer.setOutputFileName(fileName);
    if (!m_toFile)
        SetPrinterIndex(m_index);
    else // a file has no unprintable edge
        m_printer.setPageMargins(QMarginsF(), QPageLayout::Millimeter);
}

bool TZVQtPrinter::hasSettings() const
{
    // QPrinter itself falls back to PDF when the system has no printer; only our own file counts.
    if (m_toFile)
        return true;
    return m_index >= 0 && m_index < Printers().size() && m_printer.isValid();
}

TZVDevMode* TZVQtPrinter::DevMode()
{
    return hasSettings() ? &m_devMode : nullptr;
}

void TZVQtPrinter::applyDevMode()
{
    const QSizeF mm(m_devMode.PaperWidth / 10.0, m_devMode.PaperLength / 10.0);
    bool landscape = m_devMode.Orientation == TZVDevMode::kLandscape;
    QPageSize paper(mm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    m_media.clear();
    if (!m_toFile) {
        // A queue prints on what its driver offers, which Qt would silently swap for its default.
        const QPrinterInfo info(m_printer);
        const TZVPrinterPaper chosen = ChoosePrinterPaper(mediaOf(info), mm);
        paper = chosen.Index >= 0
                    ? info.supportedPageSizes().at(chosen.Index)
                    : QPageSize(chosen.Medium.Mm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
        landscape ^= chosen.Turned;
        m_media = chosen.Medium.Name;
    }
    const auto orientation = landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    // The margins stay the printer's own, its unprintable edges, unless the paper is too small for them.
    const QMarginsF margins = m_printer.pageLayout().margins(QPageLayout::Millimeter);
    const QPageLayout layout(paper, orientation, margins, QPageLayout::Millimeter);
    if (layout.paintRect(QPageLayout::Millimeter).isEmpty() || !m_printer.setPageLayout(layout)) {
        // A queue refuses margins below its own for the new paper; the size alone brings those.
        m_printer.setPageOrientation(orientation);
        if (!m_printer.setPageSize(paper) || m_printer.pageLayout().paintRect().isEmpty())
            m_printer.setPageLayout(QPageLayout(paper, orientation, QMarginsF()));
    }
    const QPageLayout applied = m_printer.pageLayout();
    if (!applied.pageSize().isEquivalentTo(paper) || applied.orientation() != orientation)
        RefusePaper(mm, m_toFile ? m_printer.outputFileName() : m_printer.printerName());
    if (m_devMode.CopiesSet)
        m_printer.setCopyCount(std::max(1, m_devMode.Copies));
}

int TZVQtPrinter::DpiX() const
{
    return active().logicalDpiX();
}

int TZVQtPrinter::DpiY() const
{
    return active().logicalDpiY();
}

QSize TZVQtPrinter::PageSizePixels() const
{
    return active().pageRect(QPrinter::DevicePixel).size().toSize();
}

QSize TZVQtPrinter::PhysicalOffset() const
{
    const QRectF page = active().pageRect(QPrinter::DevicePixel);
    const QRectF paper = active().paperRect(QPrinter::DevicePixel);
    return {qRound(page.left() - paper.left()), qRound(page.top() - paper.top())};
}

int TZVQtPrinter::HorzSizeMm() const
{
    return static_cast<int>(std::lround(active().pageRect(QPrinter::Millimeter).width()));
}

int TZVQtPrinter::VertSizeMm() const
{
    return static_cast<int>(std::lround(active().pageRect(QPrinter::Millimeter).height()));
}

void TZVQtPrinter::BeginDoc(const QString& title)
{
    if (Printing())
        Abort();
    RequireDevMode(*this);
    applyDevMode();
    m_printer.setDocName(title);
    m_jobId = 0;
    QPrinter* target = &m_printer;
    if (!m_toFile) {
        // Qt's own CUPS job neither says whether the scheduler took it nor gives its id.
        m_jobQueue = m_printer.printerName();
        cups::RequireReadyQueue(m_jobQueue);
        m_spool = std::make_unique<QTemporaryDir>();
        if (!m_spool->isValid()) {
            dropJob();
            throw EZvError(QStringLiteral("CAN'T START PRINT JOB : ") + title);
        }
        m_job = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_job->setFullPage(false);
        m_job->setOutputFileName(m_spool->filePath(QStringLiteral("job.pdf")));
        m_job->setPageLayout(m_printer.pageLayout());
        m_job->setDocName(title);
        target = m_job.get();
    }
    m_jobLayout = target->pageLayout();
    m_pageLength = m_nextLength;
    if (m_pageLength > 0) target->setPageLayout(withLength(m_jobLayout, m_pageLength));
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(target)) {
        m_painter.reset();
        dropJob();
        throw EZvError(QStringLiteral("CAN'T START PRINT JOB : ") + title);
    }
    makeCanvas(*target);
}

void TZVQtPrinter::makeCanvas(const QPrinter& target)
{
    m_canvas.reset();
    TZVDeviceCaps caps = TZVQtCanvas::CapsOf(target);
    const QSize offset = PhysicalOffset();
    caps.PhysicalOffsetX = offset.width();
    caps.PhysicalOffsetY = offset.height();
    m_canvas = std::make_unique<TZVQtCanvas>(m_painter.get(), caps);
}

void TZVQtPrinter::NewPage()
{
    if (!Printing()) return;
    // The job is a PDF file, which takes a size per page.
    QPrinter& target = m_job ? *m_job : m_printer;
    const bool resized = m_nextLength != m_pageLength;
    if (resized) {
        m_pageLength = m_nextLength;
        target.setPageLayout(withLength(m_jobLayout, m_pageLength));
    }
    if (!target.newPage()) throw EZvError(QStringLiteral("CAN'T START A NEW PAGE"));
    if (resized) makeCanvas(target);
}

void TZVQtPrinter::EndDoc()
{
    if (!Printing())
        return;
    auto done = qScopeGuard([this] { dropJob(); });
    m_canvas.reset();
    const bool ended = m_painter->end();
    m_painter.reset();
    if (!ended)
        throw EZvError(QStringLiteral("CAN'T END PRINT JOB"));
    if (!m_job)
        return;
    const bool landscape = m_job->pageLayout().orientation() == QPageLayout::Landscape;
    m_jobId = cups::SubmitFile(m_jobQueue, m_job->outputFileName(), m_printer.docName(),
                               cups::JobOptions(m_media, landscape, m_printer.copyCount()));
}

void TZVQtPrinter::Abort()
{
    m_canvas.reset();
    if (m_painter) {
        (m_job ? *m_job : m_printer).abort();
        m_painter->end();
    }
    m_painter.reset();
    dropJob();
}

void TZVQtPrinter::dropJob()
{
    m_job.reset();
    m_spool.reset();
}

TZVCanvas& TZVQtPrinter::Canvas()
{
    if (!m_canvas)
        throw EZvError(QStringLiteral("PRINTER NOT PRINTING"));
    return *m_canvas;
}

} // namespace zorvel
