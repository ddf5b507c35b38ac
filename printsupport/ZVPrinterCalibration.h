// Per-printer calibration: how far a printer puts the page off, corrected by moving the print.
#pragma once

#include "foundation/ZVPrinter.h"
#include "printsupport/ZVForwardingPrinter.h"
#include "zorvel_print_export.h"

#include <QString>

namespace zorvel {

/// Millimetres the print is moved on the paper: positive x to the right, positive y down.
struct TZVCalibration
{
    double X = 0; ///< to the right
    double Y = 0; ///< down
    /// Same offsets.
    friend bool operator==(const TZVCalibration&, const TZVCalibration&) = default;
};

/// Offsets kept by printer name in the settings file Zorvel/printers (QSettings, user scope).
class ZORVEL_PRINT_EXPORT TZVPrinterCalibration
{
public:
    /// Largest offset either way, mm; printers are seldom further off.
    static constexpr double kMaxOffsetMm = 10;

    /// Raises EZvError naming the offset that lies beyond +-kMaxOffsetMm.
    static void Check(const TZVCalibration& offsets);
    /// What was saved for `printer`; zero when nothing was.
    static TZVCalibration Load(const QString& printer);
    /// Load, telling a damaged entry (an offset that is not a number or lies beyond the range):
    /// it counts as none, both offsets, and `damage` gets "DAMAGED CALIBRATION : <printer>
    /// (<key>=<value>), NO OFFSETS USED"; an entry in order leaves `damage` empty.
    static TZVCalibration Load(const QString& printer, QString* damage);
    /// Checked first; zero offsets remove the entry.
    static void Save(const QString& printer, const TZVCalibration& offsets);
};

/// Another printer with its page moved by calibration offsets: a print run reads the printer's
/// physical offset to place every label, so moving that offset moves them all.
class ZORVEL_PRINT_EXPORT TZVOffsetPrinter final : public TZVForwardingPrinter
{
public:
    /// Wraps `printer` (not owned; it outlives this object).
    TZVOffsetPrinter(TZVPrinter& printer, const TZVCalibration& offsets)
        : TZVForwardingPrinter(printer), m_offsets(offsets)
    {
    }

    QSize PhysicalOffset() const override;
    /// The target's part, moved by the same offsets; null when the target cannot split a job.
    std::unique_ptr<TZVPrinter> NewPart(int firstPage) override;
    /// The target joins the parts it made.
    void JoinParts(std::vector<std::unique_ptr<TZVPrinter>> parts) override;
    void PrepareJoin(TZVPrinter& part) override;
    /// As the target says.
    bool SplitPays(int pageCount, int labelsPerPage) const override
    {
        return Target().SplitPays(pageCount, labelsPerPage);
    }

private:
    // A part of the target's job, owned by the printer that moves it.
    TZVOffsetPrinter(std::unique_ptr<TZVPrinter> part, const TZVCalibration& offsets)
        : TZVForwardingPrinter(*part), m_offsets(offsets), m_part(std::move(part))
    {
    }

    TZVCalibration m_offsets;
    std::unique_ptr<TZVPrinter> m_part;
};

/// Where the calibration page puts its marks, in mm from the paper's top-left corner (A4, portrait).
struct TZVCalibrationMarks
{
    static constexpr double kCrossX = 105;     ///< centre of the cross, across
    static constexpr double kCrossY = 148.5;   ///< centre of the cross, down
    static constexpr double kRulerEdge = 10;   ///< the rulers' lines, from the top and the left edge
    static constexpr double kRulerFrom = 10;   ///< first and last numbered millimetre of the rulers
    static constexpr double kTopRulerTo = 200; ///< last numbered millimetre of the top ruler
    static constexpr double kLeftRulerTo = 280; ///< last numbered millimetre of the left ruler
};

/// Prints one A4 page of a cross and rulers with millimetre ticks at TZVCalibrationMarks, numbered
/// every 10 mm; whatever offsets `printer` applies move them all.
ZORVEL_PRINT_EXPORT void PrintCalibrationPage(TZVPrinter& printer, const QString& printerName,
                                                const TZVCalibration& offsets);

} // namespace zorvel
