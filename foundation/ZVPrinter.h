// Printer contract: printer choice, the settings record, page geometry and the job's pages.
#pragma once

#include "zorvel_core_export.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>
#include <vector>

namespace zorvel {

class TZVCanvas;

/// The settings record a print job starts from. Paper sizes are in tenths of a millimetre.
struct TZVDevMode
{
    /// Values of Orientation.
    /// @{
    static constexpr int kPortrait = 1;
    static constexpr int kLandscape = 2;
    /// @}
    static constexpr int kUserPaper = 256; ///< paper given by PaperWidth x PaperLength

    bool CopiesSet = false; ///< true when the application asked for a copy count
    int Copies = 1; ///< copies the printer makes of each page
    int Orientation = kPortrait; ///< kPortrait or kLandscape
    int PaperSize = kUserPaper; ///< paper code; kUserPaper for PaperWidth x PaperLength
    int PaperWidth = 2100; ///< tenths of a millimetre
    int PaperLength = 2970; ///< tenths of a millimetre
};

/// A printer. The page geometry it reports is that of the settings record applied by BeginDoc:
/// the page size in device pixels covers the printable area, whose corner lies at PhysicalOffset
/// from the paper's corner, and HorzSize/VertSize give that area in millimetres.
class ZORVEL_CORE_EXPORT TZVPrinter
{
public:
    virtual ~TZVPrinter() = default;

    /// Names of the printers that can be selected.
    virtual QStringList Printers() const = 0;
    /// The selected printer, an index into Printers(); -1 for none.
    virtual int PrinterIndex() const = 0;
    /// Selecting an index outside Printers() leaves the printer without a settings record.
    virtual void SetPrinterIndex(int index) = 0;

    /// The settings record of the selected printer, or nullptr when it has none.
    virtual TZVDevMode* DevMode() = 0;

    /// Resolution of the page in dots per inch.
    /// @{
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
    /// @}
    /// Printable area in device pixels.
    virtual QSize PageSizePixels() const = 0;
    virtual QSize PhysicalOffset() const = 0; ///< pixels
    /// Printable area in millimetres.
    /// @{
    virtual int HorzSizeMm() const = 0;
    virtual int VertSizeMm() const = 0;
    /// @}

    /// A job: BeginDoc opens the first page, NewPage the next ones; Canvas() draws on the current
    /// page between BeginDoc and EndDoc. Abort drops the job and everything it produced.
    /// @{
    virtual void BeginDoc(const QString& title) = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    virtual void Abort() = 0;
    virtual bool Printing() const = 0;
    virtual TZVCanvas& Canvas() = 0;
    /// @}

    /// Roll labels as long as their content: the height, in tenths of a millimetre, of the pages
    /// that BeginDoc or NewPage opens from now on, as they lie on the canvas (the settings record's
    /// width stays); 0 goes back to the settings record's paper. A printer whose pages cannot vary
    /// keeps its paper; PageSizePixels and VertSizeMm answer for the page opened.
    virtual void SetPageLength(int tenths) { (void)tenths; }

    /// Splitting a job among threads: a printer of the same kind and settings that prints the
    /// pages from `firstPage` on as one part of this printer's job, by itself (BeginDoc to EndDoc)
    /// on one worker thread. Its EndDoc keeps the part for JoinParts: nothing reaches the output
    /// before JoinParts. Null (the default) when the printer cannot split a job; the run then
    /// stays on one thread.
    virtual std::unique_ptr<TZVPrinter> NewPart(int firstPage)
    {
        (void)firstPage;
        return nullptr;
    }
    /// Makes this printer's output of `parts` (made by NewPart, each ended, in page order) as
    /// EndDoc makes it of a job printed here; a failure leaves no output. Dropping a part
    /// instead, ended or not, discards it.
    virtual void JoinParts(std::vector<std::unique_ptr<TZVPrinter>> parts) { (void)parts; }
    /// Offers the join `part`, the next in page order, as soon as it has ended, while later parts
    /// still print: a printer whose join takes time starts it here. JoinParts still gets every
    /// part, this one included. The default does nothing.
    virtual void PrepareJoin(TZVPrinter& part) { (void)part; }
    /// Whether splitting a job of `pageCount` pages of `labelsPerPage` labels saves time: false
    /// where joining the parts would cost more time or memory than the threads save.
    virtual bool SplitPays(int pageCount, int labelsPerPage) const
    {
        (void)pageCount;
        (void)labelsPerPage;
        return true;
    }
};

/// Raised when a printer offers no settings record; a platform error, not a label error.
class ZORVEL_CORE_EXPORT EZvPrinterError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// The selected printer's settings record; when there is none the printer index is selected
/// again once, and when there still is none EZvPrinterError "CANT INITIALIZE DEVMODE STRUCT".
ZORVEL_CORE_EXPORT TZVDevMode& RequireDevMode(TZVPrinter& printer);

} // namespace zorvel
