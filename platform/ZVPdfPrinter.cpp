// PDF printer over QPdfWriter, written through a save file so that a failed job leaves no file.
#include "platform/ZVPdfPrinter.h"

#include "foundation/ZVError.h"
#include "platform/ZVPartFolder.h"
#include "platform/ZVPdfJoin.h"
#include "platform/ZVQtCanvas.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>
#include <utility>

namespace zorvel {
namespace {

constexpr double kTenthsPerInch = 254.0;

int tenthsToPixels(double tenths, int dpi)
{
    return static_cast<int>(std::lround(tenths * dpi / kTenthsPerInch));
}

int mmToPixels(double mm, int dpi)
{
    return tenthsToPixels(mm * 10, dpi);
}

} // namespace

TZVPdfPrinter::TZVPdfPrinter(QString fileName, int dpi) : m_fileName(std::move(fileName)), m_dpi(dpi) {}

TZVPdfPrinter::~TZVPdfPrinter()
{
    if (Printing())
        Abort();
}

QStringList TZVPdfPrinter::Printers() const
{
    return {QStringLiteral("PDF")};
}

QSize TZVPdfPrinter::pageTenths() const
{
    const QSize paper(m_devMode.PaperWidth, m_devMode.PaperLength);
    QSize page = m_devMode.Orientation == TZVDevMode::kLandscape ? paper.transposed() : paper;
    if (m_pageLength > 0) page.setHeight(m_pageLength);
    return page;
}

QPageLayout TZVPdfPrinter::pageLayout() const
{
    const QSize tenths = pageTenths();
    const QPageSize pageSize(QSizeF(tenths.width() / 10.0, tenths.height() / 10.0), QPageSize::Millimeter,
                             QString(), QPageSize::ExactMatch);
    return QPageLayout(pageSize, QPageLayout::Portrait, margins(), QPageLayout::Millimeter);
}

void TZVPdfPrinter::makeCanvas()
{
    m_canvas.reset();
    TZVDeviceCaps caps;
    caps.DpiX = caps.DpiY = m_dpi;
    const QSize pixels = PageSizePixels();
    caps.Width = pixels.width();
    caps.Height = pixels.height();
    const QSize offset = PhysicalOffset();
    caps.PhysicalOffsetX = offset.width();
    caps.PhysicalOffsetY = offset.height();
    m_canvas = std::make_unique<TZVQtCanvas>(m_painter.get(), caps);
}

QMarginsF TZVPdfPrinter::margins() const
{
    const QSize tenths = pageTenths();
    const bool leavesPage = (m_margins.left() + m_margins.right()) * 10 < tenths.width()
                            && (m_margins.top() + m_margins.bottom()) * 10 < tenths.height();
    return leavesPage ? m_margins : QMarginsF();
}

QSize TZVPdfPrinter::PageSizePixels() const
{
    const QSize tenths = pageTenths();
    const QMarginsF mm = margins();
    return {tenthsToPixels(tenths.width(), m_dpi) - mmToPixels(mm.left(), m_dpi) - mmToPixels(mm.right(), m_dpi),
            tenthsToPixels(tenths.height(), m_dpi) - mmToPixels(mm.top(), m_dpi) - mmToPixels(mm.bottom(), m_dpi)};
}

QSize TZVPdfPrinter::PhysicalOffset() const
{
    const QMarginsF mm = margins();
    return {mmToPixels(mm.left(), m_dpi), mmToPixels(mm.top(), m_dpi)};
}

int TZVPdfPrinter::HorzSizeMm() const
{
    const QMarginsF mm = margins();
    return static_cast<int>(std::lround(pageTenths().width() / 10.0 - mm.left() - mm.right()));
}

int TZVPdfPrinter::VertSizeMm() const
{
    const QMarginsF mm = margins();
    return static_cast<int>(std::lround(pageTenths().height() / 10.0 - mm.top() - mm.bottom()));
}

void TZVPdfPrinter::BeginDoc(const QString& title)
{
    if (Printing())
        Abort();
    m_pageLength = m_nextLength;
    const QSize tenths = pageTenths();
    if (tenths.width() <= 0 || tenths.height() <= 0)
        throw EZvError(QStringLiteral("INVALID PAPER SIZE"));

    m_file = std::make_unique<QSaveFile>(m_fileName);
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_file.reset();
        throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + m_fileName);
    }
    m_writer = std::make_unique<QPdfWriter>(m_file.get());
    m_writer->setTitle(title);
    m_writer->setCreator(QStringLiteral("Zorvel"));
    m_writer->setResolution(m_dpi);
    m_writer->setPageLayout(pageLayout());
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_writer.get())) {
        release();
        throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + m_fileName);
    }
    makeCanvas();
}

void TZVPdfPrinter::NewPage()
{
    if (!Printing())
        return;
    if (m_nextLength != m_pageLength) {
        m_pageLength = m_nextLength;
        m_writer->setPageLayout(pageLayout());
        m_writer->newPage();
        makeCanvas();
        return;
    }
    m_writer->newPage();
}

void TZVPdfPrinter::EndDoc()
{
    if (!Printing())
        return;
    m_canvas.reset();
    m_painter->end();
    m_painter.reset();
    m_writer.reset();
    const bool written = m_file->commit();
    m_file.reset();
    if (!written)
        throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + m_fileName);
}

void TZVPdfPrinter::Abort()
{
    if (m_painter && m_painter->isActive()) {
        m_canvas.reset();
        m_painter->end();
    }
    release();
    m_join.reset();
    m_partsJoined = 0;
}

void TZVPdfPrinter::release()
{
    m_canvas.reset();
    m_painter.reset();
    m_writer.reset();
    if (m_file)
        m_file->cancelWriting();
    m_file.reset();
}

std::unique_ptr<TZVPrinter> TZVPdfPrinter::NewPart(int)
{
    auto folder = NewPartFolder();
    auto part = std::make_unique<TZVPdfPrinter>(folder->filePath(QStringLiteral("part.pdf")), m_dpi);
    part->m_index = m_index;
    part->m_margins = m_margins;
    part->m_nextLength = m_nextLength;
    part->m_devMode = m_devMode;
    part->m_partFolder = std::move(folder);
    return part;
}

void TZVPdfPrinter::JoinParts(std::vector<std::unique_ptr<TZVPrinter>> parts)
{
    // However the join ends, the next job starts a join of its own.
    std::unique_ptr<TZVPdfJoin> join = std::move(m_join);
    const std::size_t joined = std::exchange(m_partsJoined, 0);
    if (!join) join = std::make_unique<TZVPdfJoin>(m_fileName);
    for (std::size_t i = joined; i < parts.size(); ++i)
        join->Add(static_cast<const TZVPdfPrinter&>(*parts[i]).m_fileName);
    join->Write();
}

void TZVPdfPrinter::PrepareJoin(TZVPrinter& part)
{
    if (!m_join) m_join = std::make_unique<TZVPdfJoin>(m_fileName);
    m_join->Add(static_cast<const TZVPdfPrinter&>(part).m_fileName);
    ++m_partsJoined;
}

TZVCanvas& TZVPdfPrinter::Canvas()
{
    if (!m_canvas)
        throw EZvError(QStringLiteral("PRINTER NOT PRINTING"));
    return *m_canvas;
}

} // namespace zorvel
