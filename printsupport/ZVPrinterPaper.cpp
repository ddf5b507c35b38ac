#include "printsupport/ZVPrinterPaper.h"

#include "foundation/ZVError.h"

#include <QPrinterInfo>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorvel {
namespace {

// How far the sides of `medium` lie from those of `page`, the larger of the two.
double deviation(QSizeF page, QSizeF medium)
{
    return std::max(std::abs(page.width() - medium.width()), std::abs(page.height() - medium.height()));
}

// Whether `printer` takes a custom paper of `mm`; an unknown bound is none.
bool takesCustom(const QPrinterInfo& printer, QSizeF mm)
{
    if (!printer.supportsCustomPageSizes()) return false;
    const QPageSize low = printer.minimumPhysicalPageSize();
    const QPageSize high = printer.maximumPhysicalPageSize();
    const QSizeF min = low.isValid() ? low.size(QPageSize::Millimeter) : QSizeF(0, 0);
    const QSizeF max = high.isValid() ? high.size(QPageSize::Millimeter) : mm;
    return mm.width() >= min.width() && mm.height() >= min.height() && mm.width() <= max.width()
           && mm.height() <= max.height();
}

} // namespace

TZVPrinterPaper ChoosePrinterPaper(const QPrinterInfo& printer, QSizeF mm)
{
    const QList<QPageSize> media = printer.supportedPageSizes();
    TZVPrinterPaper best;
    double bestDeviation = std::numeric_limits<double>::infinity();
    for (const QPageSize& medium : media) {
        const QSizeF size = medium.size(QPageSize::Millimeter);
        for (const bool turned : {false, true}) {
            const double off = deviation(turned ? mm.transposed() : mm, size);
            // A driver may offer a size both ways round (w162h90, w90h162): the one as designed wins.
            if (off <= kPaperToleranceMm && (off < bestDeviation || (off == bestDeviation && best.Turned && !turned))) {
                best = {medium, turned, true};
                bestDeviation = off;
            }
        }
    }
    if (best.Named) return best;
    // A queue that lists no media says nothing of its paper, and takes what it is given.
    for (const bool turned : {false, true}) {
        const QSizeF size = turned ? mm.transposed() : mm;
        if ((media.isEmpty() && !turned) || takesCustom(printer, size))
            return {QPageSize(size, QPageSize::Millimeter, QString(), QPageSize::ExactMatch), turned, false};
    }
    RefusePaper(mm, printer.printerName());
}

void RefusePaper(QSizeF mm, const QString& printer)
{
    throw EZvError(
        QStringLiteral("PAPER SIZE NOT AVAILABLE : %1 x %2 MM ON PRINTER %3").arg(mm.width()).arg(mm.height()).arg(printer));
}

} // namespace zorvel
