// Which of a queue's papers a page is printed on: its driver's own medium of that size, else a
// custom size where the queue takes one; never another size.
#pragma once

#include <QPageSize>
#include <QSizeF>
#include <QString>

class QPrinterInfo;

namespace zorvel {

/// The paper chosen for a page.
struct TZVPrinterPaper
{
    QPageSize Size;      ///< the queue's own medium, or a custom size
    bool Turned = false; ///< the medium lies the other way round: the orientation swaps
    bool Named = false;  ///< one of the queue's media, sent to it by its name
};

/// Largest difference, mm, of a side of the page from the medium it is printed on.
inline constexpr double kPaperToleranceMm = 1;

/// The paper for a page of `mm` (as the settings record gives it, before orientation) on
/// `printer`: the medium matching both sides within kPaperToleranceMm in either orientation (the
/// closest, the same way round on a tie), else a custom size when the printer takes one of that
/// size. Raises EZvError "PAPER SIZE NOT AVAILABLE : W x H MM ON PRINTER name" otherwise.
TZVPrinterPaper ChoosePrinterPaper(const QPrinterInfo& printer, QSizeF mm);

/// Raises EZvError "PAPER SIZE NOT AVAILABLE : W x H MM ON PRINTER name" for a page of `mm`.
[[noreturn]] void RefusePaper(QSizeF mm, const QString& printer);

} // namespace zorvel
