// What the sheet and the roll print runs share: the run's pages, the printer's area and paper
// lengths in tenths.
#pragma once

#include "document/ZVCustomLab.h"

namespace zorvel {

class TZVMeasure;
class TZVPrinter;
class TZVPrintInfo;

/// Where a page of the run starts and how many labels it holds.
struct TZVCustomLab::TRunPage
{
    int Number = 0; ///< 1-based
    /// The place of its first label.
    /// @{
    int Row = 1;
    int Col = 1;
    /// @}
    int Labels = 0;  ///< labels on the page
    int Skipped = 0; ///< labels of the run before this page
};

/// Model units (1/100 mm) to tenths of a millimetre, halves up.
int TenthsOfModel(int model);
/// The printer's resolution, unprintable offsets, printable area and right and bottom margins,
/// model units, into the print settings.
void NotePrinterArea(const TZVPrinter& printer, const TZVMeasure& m, TZVPrintInfo& info);

} // namespace zorvel
