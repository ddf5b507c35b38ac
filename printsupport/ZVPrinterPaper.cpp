// The paper choice from a queue's list of media, shared by every printer of the system's queues.
#include "printsupport/ZVPrinterPaper.h"

#include "foundation/ZVError.h"

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

// Whether the queue takes a custom paper of `mm`; an unknown bound is none.
bool takesCustom(const TZVPrinterMedia& media, QSizeF mm)
{
    if (!media.Custom) return false;
    const QSizeF min = media.CustomMin.isValid() ? media.CustomMin : QSizeF(0, 0);
    const QSizeF max = media.CustomMax.isValid() ? media.CustomMax : mm;
    return mm.width() >= min.width() && mm.height() >= min.height() && mm.width() <= max.width()
           && mm.height() <= max.height();
}

} // namespace

TZVPrinterPaper ChoosePrinterPaper(const TZVPrinterMedia& media, QSizeF mm)
{
    TZVPrinterPaper best;
    double bestDeviation = std::numeric_limits<double>::infinity();
    for (int i = 0; i < media.Named.size(); ++i) {
        for (const bool turned : {false, true}) {
            const double off = deviation(turned ? mm.transposed() : mm, media.Named.at(i).Mm);
            // A driver may offer a size both ways round (w162h90, w90h162): the one as designed wins.
            if (off <= kPaperToleranceMm && (off < bestDeviation || (off == bestDeviation && best.Turned && !turned))) {
                best = {media.Named.at(i), i, turned};
                bestDeviation = off;
            }
        }
    }
    if (best.Index >= 0) return best;
    // A queue that lists no media says nothing of its paper, and takes what it is given.
    for (const bool turned : {false, true}) {
        const QSizeF size = turned ? mm.transposed() : mm;
        if ((media.Named.isEmpty() && !turned) || takesCustom(media, size)) {
            const QString name = QStringLiteral("Custom.%1x%2mm").arg(size.width()).arg(size.height());
            return {{name, size, media.CustomMargins}, -1, turned};
        }
    }
    RefusePaper(mm, media.Printer);
}

void RefusePaper(QSizeF mm, const QString& printer)
{
    throw EZvError(
        QStringLiteral("PAPER SIZE NOT AVAILABLE : %1 x %2 MM ON PRINTER %3").arg(mm.width()).arg(mm.height()).arg(printer));
}

} // namespace zorvel
