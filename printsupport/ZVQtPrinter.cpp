// QPrinter-backed printer: CUPS queues and PDF files.
#include "printsupport/ZVQtPrinter.h"

#include "foundation/ZVError.h"
#include "platform/ZVQtCanvas.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinterInfo>

#include <cmath>

namespace zorvel {

TZVQtPrinter::TZVQtPrinter()
{
    // Like a printer device context: the origin is the printable area's corner.
    m_printer.setFullPage(false);
    const QStringList names = Printers();
    m_index = static_cast<int>(names.indexOf(QPrinterInfo::defaultPrinterName()));
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
    return QPrinterInfo::availablePrinterNames();
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
    const QPageSize paper(QSizeF(m_devMode.PaperWidth / 10.0, m_devMode.PaperLength / 10.0),
                          QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    const auto orientation =
        m_devMode.Orientation == TZVDevMode::kLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    // The margins stay the printer's own, its unprintable edges, unless the paper is too small for them.
    const QMarginsF margins = m_printer.pageLayout().margins(QPageLayout::Millimeter);
    const QPageLayout layout(paper, orientation, margins, QPageLayout::Millimeter);
    if (layout.paintRect(QPageLayout::Millimeter).isEmpty() || !m_printer.setPageLayout(layout))
        m_printer.setPageLayout(QPageLayout(paper, orientation, QMarginsF()));
    if (m_devMode.CopiesSet)
        m_printer.setCopyCount(std::max(1, m_devMode.Copies));
}

int TZVQtPrinter::DpiX() const
{
    return m_printer.logicalDpiX();
}

int TZVQtPrinter::DpiY() const
{
    return m_printer.logicalDpiY();
}

QSize TZVQtPrinter::PageSizePixels() const
{
    return m_printer.pageRect(QPrinter::DevicePixel).size().toSize();
}

QSize TZVQtPrinter::PhysicalOffset() const
{
    const QRectF page = m_printer.pageRect(QPrinter::DevicePixel);
    const QRectF paper = m_printer.paperRect(QPrinter::DevicePixel);
    return {qRound(page.left() - paper.left()), qRound(page.top() - paper.top())};
}

int TZVQtPrinter::HorzSizeMm() const
{
    return static_cast<int>(std::lround(m_printer.pageRect(QPrinter::Millimeter).width()));
}

int TZVQtPrinter::VertSizeMm() const
{
    return static_cast<int>(std::lround(m_printer.pageRect(QPrinter::Millimeter).height()));
}

void TZVQtPrinter::BeginDoc(const QString& title)
{
    if (Printing())
        Abort();
    RequireDevMode(*this);
    applyDevMode();
    m_printer.setDocName(title);
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(&m_printer)) {
        m_painter.reset();
        throw EZvError(QStringLiteral("CAN'T START PRINT JOB : ") + title);
    }
    TZVDeviceCaps caps = TZVQtCanvas::CapsOf(m_printer);
    const QSize offset = PhysicalOffset();
    caps.PhysicalOffsetX = offset.width();
    caps.PhysicalOffsetY = offset.height();
    m_canvas = std::make_unique<TZVQtCanvas>(m_painter.get(), caps);
}

void TZVQtPrinter::NewPage()
{
    if (Printing() && !m_printer.newPage())
        throw EZvError(QStringLiteral("CAN'T START A NEW PAGE"));
}

void TZVQtPrinter::EndDoc()
{
    if (!Printing())
        return;
    m_canvas.reset();
    const bool ended = m_painter->end();
    m_painter.reset();
    if (!ended)
        throw EZvError(QStringLiteral("CAN'T END PRINT JOB"));
}

void TZVQtPrinter::Abort()
{
    m_canvas.reset();
    if (m_painter) {
        m_printer.abort();
        m_painter->end();
    }
    m_painter.reset();
}

TZVCanvas& TZVQtPrinter::Canvas()
{
    if (!m_canvas)
        throw EZvError(QStringLiteral("PRINTER NOT PRINTING"));
    return *m_canvas;
}

} // namespace zorvel
