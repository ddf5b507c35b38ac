#include "cli/PngPagePrinter.h"

#include "foundation/ZVError.h"
#include "foundation/ZVUtils.h"
#include "platform/ZVOutputImage.h"

#include <QImageWriter>

#include <algorithm>
#include <iterator>

namespace zorvel::cli {

QSize PngPagePrinter::PageSizePixels() const
{
    const QSize t = tenths();
    return {int(RoundHalfUp(t.width() * m_dpi / 254.0)), int(RoundHalfUp(t.height() * m_dpi / 254.0))};
}

int PngPagePrinter::HorzSizeMm() const
{
    return int(RoundHalfUp(tenths().width() / 10.0));
}

int PngPagePrinter::VertSizeMm() const
{
    return int(RoundHalfUp(tenths().height() / 10.0));
}

void PngPagePrinter::BeginDoc(const QString&)
{
    Abort();
    m_pageLength = m_nextLength;
    const QSize pixels = PageSizePixels();
    if (pixels.width() <= 0 || pixels.height() <= 0) throw EZvError(QStringLiteral("INVALID PAPER SIZE"));
    startPage();
}

void PngPagePrinter::NewPage()
{
    endPage();
    startPage();
}

void PngPagePrinter::EndDoc()
{
    endPage();
    if (!m_part) commitFiles();
}

void PngPagePrinter::commitFiles()
{
    for (const auto& file : m_files)
        if (!file->commit()) throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + file->fileName());
    m_files.clear();
}

std::unique_ptr<TZVPrinter> PngPagePrinter::NewPart(int firstPage)
{
    auto part = std::make_unique<PngPagePrinter>(m_base + QStringLiteral(".png"), m_dpi);
    part->m_index = m_index;
    part->m_nextLength = m_nextLength;
    part->m_devMode = m_devMode;
    part->m_pages = firstPage - 1;
    part->m_part = true;
    return part;
}

void PngPagePrinter::JoinParts(std::vector<std::unique_ptr<TZVPrinter>> parts)
{
    Abort();
    for (const auto& printer : parts) {
        auto& part = static_cast<PngPagePrinter&>(*printer);
        std::move(part.m_files.begin(), part.m_files.end(), std::back_inserter(m_files));
        part.m_files.clear();
        m_pages = part.m_pages;
    }
    commitFiles();
}

void PngPagePrinter::Abort()
{
    m_canvas.reset();
    m_files.clear(); // uncommitted files vanish
}

QSize PngPagePrinter::tenths() const
{
    const QSize size(m_devMode.PaperWidth, m_devMode.PaperLength);
    QSize page = m_devMode.Orientation == TZVDevMode::kLandscape ? size.transposed() : size;
    if (m_pageLength > 0) page.setHeight(m_pageLength);
    return page;
}

void PngPagePrinter::startPage()
{
    m_pageLength = m_nextLength;
    const QSize pixels = PageSizePixels();
    m_image = NewOutputImage(pixels.width(), pixels.height(), QImage::Format_RGB32);
    m_image.setDotsPerMeterX(qRound(m_dpi / 0.0254));
    m_image.setDotsPerMeterY(qRound(m_dpi / 0.0254));
    TZVDeviceCaps caps;
    caps.DpiX = caps.DpiY = m_dpi;
    caps.Width = pixels.width();
    caps.Height = pixels.height();
    m_canvas = std::make_unique<TZVQtCanvas>(&m_image, caps);
    m_canvas->SetWholeDotModules(true);
}

void PngPagePrinter::endPage()
{
    m_canvas.reset();
    const QString name = QStringLiteral("%1-%2.png").arg(m_base).arg(++m_pages);
    auto file = std::make_unique<QSaveFile>(name);
    QImageWriter writer(file.get(), "png");
    if (!file->open(QIODevice::WriteOnly) || !writer.write(m_image))
        throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + name);
    m_files.push_back(std::move(file));
}

} // namespace zorvel::cli
