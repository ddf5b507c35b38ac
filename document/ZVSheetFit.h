// Whether a label's sheet of labels fits its paper.
#pragma once

#include "zorvel_core_export.h"

#include <QString>

#include <cstdint>

namespace zorvel {

class TZVCustomLab;
class TZVMeasure;

/// Rows and labels per row as a sheet is laid out: stored designs may carry 0 or less, which
/// the setters would have made 1.
/// @{
int SheetRows(const TZVMeasure& measure);
int SheetColumns(const TZVMeasure& measure);
/// @}

/// A range of a sheet's rows or columns, 1-based; empty when First > Last.
struct TZVPlaces
{
    int First = 1; ///< first place of the range
    int Last = 0; ///< last place of the range

    /// Whether the range holds no place.
    bool Empty() const { return First > Last; }
    /// Whether `place` lies in the range.
    bool Contains(std::int64_t place) const { return place >= First && place <= Last; }
};

/// How the sheet sits on its paper, in the orientation the label prints in.
struct TZVSheetFit
{
    int Rows = 1; ///< rows of labels as laid out, at least 1
    int Columns = 1; ///< labels in each row as laid out, at least 1
    int RowsOff = 0; ///< last rows whose labels pass the paper's bottom edge
    int ColumnsOff = 0; ///< last columns whose labels pass the paper's right edge
    /// Rows and columns whose labels reach onto the paper at all: the only ones a loop over a
    /// stored sheet, whose counts may be anything, needs to walk.
    /// @{
    TZVPlaces RowsOnPaper;
    TZVPlaces ColumnsOnPaper;
    /// @}

    /// Whether every label lies on the paper.
    bool Fits() const { return RowsOff == 0 && ColumnsOff == 0; }
    /// Whether the label at `row`, `col` (1-based) lies on the paper.
    bool LabelFits(int row, int col) const { return row <= Rows - RowsOff && col <= Columns - ColumnsOff; }
};

/// The sheet of `label` against its paper, turned when the label prints landscape.
ZORVEL_CORE_EXPORT TZVSheetFit SheetFit(const TZVCustomLab& label);

/// The warning for a sheet that does not fit, e.g. "LABELS OFF THE PAPER : 2 COLUMNS, 1 ROW";
/// empty when it fits.
ZORVEL_CORE_EXPORT QString SheetFitWarning(const TZVSheetFit& fit);

} // namespace zorvel
