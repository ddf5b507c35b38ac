// ZPL II printer: labels collected page by page, identical neighbours merged, written through a
// save file so that a failed job leaves no file.
#include "platform/ZVZplPrinter.h"

#include "foundation/ZVError.h"
#include "platform/ZVZplCanvas.h"

#include <QSaveFile>

#include <cmath>

namespace zorvel {
namespace {

int dotsOfTenths(double tenths, int dotsPerMm)
{
    return int(std::lround(tenths * dotsPerMm / 10.0));
}

} // namespace

TZVZplPrinter::TZVZplPrinter(QString fileName, int dpi) : m_fileName(std::move(fileName)), m_dpi(dpi)
{
    if (dpi != 203 && dpi != 300 && dpi != 600)
        throw EZvError(QStringLiteral("INVALID ZPL RESOLUTION : %1 DPI (203, 300 OR 600)").arg(dpi));
}

TZVZplPrinter::~TZVZplPrinter()
{
    if (Printing()) Abort();
}

int TZVZplPrinter::DotsPerMm() const
{
    return m_dpi == 203 ? 8 : m_dpi == 300 ? 12 : 24;
}

QStringList TZVZplPrinter::Printers() const
{
    return {QStringLiteral("ZPL")};
}

QSize TZVZplPrinter::pageTenths() const
{
    const QSize paper(m_devMode.PaperWidth, m_devMode.PaperLength);
    QSize page = m_devMode.Orientation == TZVDevMode::kLandscape ? paper.transposed() : paper;
    if (m_pageLength > 0) page.setHeight(m_pageLength);
    return page;
}

QSize TZVZplPrinter::PageSizePixels() const
{
    if (Printing()) return m_pageDots;
    const QSize tenths = pageTenths();
    return {dotsOfTenths(tenths.width(), DotsPerMm()), dotsOfTenths(tenths.height(), DotsPerMm())};
}

int TZVZplPrinter::HorzSizeMm() const
{
    return int(std::lround(PageSizePixels().width() / double(DotsPerMm())));
}

int TZVZplPrinter::VertSizeMm() const
{
    return int(std::lround(PageSizePixels().height() / double(DotsPerMm())));
}

void TZVZplPrinter::BeginDoc(const QString&)
{
    if (Printing()) Abort();
    const QSize tenths = pageTenths();
    if (tenths.width() <= 0 || tenths.height() <= 0) throw EZvError(QStringLiteral("INVALID PAPER SIZE"));
    m_file = std::make_unique<QSaveFile>(m_fileName);
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_file.reset();
        throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + m_fileName);
    }
    m_pending.clear();
    m_pendingCount = 0;
    startPage();
}

void TZVZplPrinter::startPage()
{
    const QSize tenths = pageTenths();
    m_pageDots = {dotsOfTenths(tenths.width(), DotsPerMm()), dotsOfTenths(tenths.height(), DotsPerMm())};
    if (m_pageDots.width() <= 0 || m_pageDots.height() <= 0) {
        Abort();
        throw EZvError(QStringLiteral("INVALID PAPER SIZE"));
    }
    if (m_canvas && m_canvas->Size() == m_pageDots)
        m_canvas->Clear();
    else
        m_canvas = std::make_unique<TZVZplCanvas>(m_pageDots, m_dpi);
}

void TZVZplPrinter::endPage()
{
    const QPoint home(int(std::lround(m_homeMm.x() * DotsPerMm())), int(std::lround(m_homeMm.y() * DotsPerMm())));
    QByteArray label = "^XA\n^CI28\n^PW" + QByteArray::number(m_pageDots.width()) + "\n^LL" +
                       QByteArray::number(m_pageDots.height()) + "\n^LH" + QByteArray::number(home.x()) + ',' +
                       QByteArray::number(home.y()) + '\n' + m_canvas->Commands();
    if (m_pendingCount > 0 && label == m_pending) {
        ++m_pendingCount;
        return;
    }
    writePending();
    m_pending = std::move(label);
    m_pendingCount = 1;
}

void TZVZplPrinter::writePending()
{
    if (m_pendingCount == 0) return;
    const qint64 copies = qint64(m_pendingCount) * std::max(1, m_devMode.Copies);
    const QByteArray text = m_pending + "^PQ" + QByteArray::number(copies) + "\n^XZ\n";
    if (m_file->write(text) != text.size()) {
        const QString name = m_fileName;
        Abort();
        throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + name);
    }
    m_pendingCount = 0;
}

void TZVZplPrinter::NewPage()
{
    if (!Printing()) return;
    endPage();
    startPage();
}

void TZVZplPrinter::EndDoc()
{
    if (!Printing()) return;
    endPage();
    m_canvas.reset();
    writePending();
    const bool written = m_file->commit();
    m_file.reset();
    if (!written) throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + m_fileName);
}

void TZVZplPrinter::Abort()
{
    m_canvas.reset();
    if (m_file) m_file->cancelWriting();
    m_file.reset();
    m_pending.clear();
    m_pendingCount = 0;
}

TZVCanvas& TZVZplPrinter::Canvas()
{
    if (!m_canvas) throw EZvError(QStringLiteral("PRINTER NOT PRINTING"));
    return *m_canvas;
}

} // namespace zorvel
