// Which of a queue's papers a page is printed on: its driver's own medium of that size, else a
// custom size where the queue takes one; never another size.
#pragma once

#include <QList>
#include <QMarginsF>
#include <QSizeF>
#include <QString>

namespace zorvel {

/// One paper a queue prints on.
struct TZVPrinterMedium
{
    QString Name;      ///< the queue's name for it, sent with the job
    QSizeF Mm;         ///< width x length, as the medium lies in the printer
    QMarginsF Margins; ///< its unprintable edges, mm
};

/// What a queue offers.
struct TZVPrinterMedia
{
    QString Printer;               ///< the queue's name
    QList<TZVPrinterMedium> Named; ///< its driver's own media
    bool Custom = false;           ///< it takes custom sizes between CustomMin and CustomMax
    QSizeF CustomMin;              ///< mm; an invalid size is no lower bound
    QSizeF CustomMax;              ///< mm; an invalid size is no upper bound
    QMarginsF CustomMargins;       ///< the unprintable edges of a custom size, mm
};

/// The paper chosen for a page.
struct TZVPrinterPaper
{
    TZVPrinterMedium Medium; ///< one of the queue's media, or a custom size "Custom.WxHmm"
    int Index = -1;          ///< its place among the named media; -1 for a custom size
    bool Turned = false;     ///< the medium lies the other way round: the orientation swaps
};

/// Largest difference, mm, of a side of the page from the medium it is printed on.
inline constexpr double kPaperToleranceMm = 1;

/// The paper for a page of `mm` (as the settings record gives it, before orientation) on a queue
/// offering `media`: the medium matching both sides within kPaperToleranceMm in either orientation
/// (the closest, the same way round on a tie), else a custom size when the queue takes one of that
/// size. Raises EZvError "PAPER SIZE NOT AVAILABLE : W x H MM ON PRINTER name" otherwise.
TZVPrinterPaper ChoosePrinterPaper(const TZVPrinterMedia& media, QSizeF mm);

/// Raises EZvError "PAPER SIZE NOT AVAILABLE : W x H MM ON PRINTER name" for a page of `mm`.
[[noreturn]] void RefusePaper(QSizeF mm, const QString& printer);

} // namespace zorvel
