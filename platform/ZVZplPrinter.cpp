// ZPL II printer: labels collected page by page, identical neighbours merged, written through a
// save file so that a failed job leaves no file.
#include "platform/ZVZplPrinter.h"

#include "foundation/ZVError.h"
#include "platform/ZVPartFolder.h"
#include "platform/ZVZplCanvas.h"

#include <QFile>
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
    openFile();
    startPage();
}

void TZVZplPrinter::openFile()
{
    m_file = std::make_unique<QSaveFile>(m_fileName);
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_file.reset();
        throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + m_fileName);
    }
    m_pending.clear();
    m_pendingCount = 0;
    m_head.clear();
    m_headCount = 0;
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
    addPending(label, 1);
}

void TZVZplPrinter::addPending(const QByteArray& label, int count)
{
    if (m_pendingCount > 0 && label == m_pending) {
        m_pendingCount += count;
        return;
    }
    writePending();
    m_pending = label;
    m_pendingCount = count;
}

void TZVZplPrinter::writePending()
{
    if (m_pendingCount == 0) return;
    if (m_partFolder && m_headCount == 0) {
        m_head = std::exchange(m_pending, {});
        m_headCount = std::exchange(m_pendingCount, 0);
        return;
    }
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
    // A part's last labels may go on in the next part.
    if (!m_partFolder) writePending();
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

std::unique_ptr<TZVPrinter> TZVZplPrinter::NewPart(int)
{
    auto folder = NewPartFolder();
    auto part = std::make_unique<TZVZplPrinter>(folder->filePath(QStringLiteral("part.zpl")), m_dpi);
    part->m_index = m_index;
    part->m_pageLength = m_pageLength;
    part->m_homeMm = m_homeMm;
    part->m_devMode = m_devMode;
    part->m_partFolder = std::move(folder);
    return part;
}

void TZVZplPrinter::JoinParts(std::vector<std::unique_ptr<TZVPrinter>> parts)
{
    openFile();
    const auto cantWrite = [this] {
        Abort();
        return EZvError(QStringLiteral("CAN'T WRITE FILE : ") + m_fileName);
    };
    for (const auto& printer : parts) {
        const auto& part = static_cast<const TZVZplPrinter&>(*printer);
        if (part.m_headCount > 0) addPending(part.m_head, part.m_headCount);
        QFile middle(part.m_fileName);
        if (!middle.open(QIODevice::ReadOnly)) throw cantWrite();
        if (middle.size() > 0) writePending();
        constexpr qint64 kChunk = 1 << 20;
        while (!middle.atEnd()) {
            const QByteArray chunk = middle.read(kChunk);
            if (chunk.isEmpty() || m_file->write(chunk) != chunk.size()) throw cantWrite();
        }
        if (part.m_pendingCount > 0) addPending(part.m_pending, part.m_pendingCount);
    }
    writePending();
    const bool written = m_file->commit();
    m_file.reset();
    if (!written) throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + m_fileName);
}

TZVCanvas& TZVZplPrinter::Canvas()
{
    if (!m_canvas) throw EZvError(QStringLiteral("PRINTER NOT PRINTING"));
    return *m_canvas;
}

} // namespace zorvel
