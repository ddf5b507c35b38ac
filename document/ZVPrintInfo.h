// Print run settings and the state of the last run.
#pragma once

#include "zorvel_core_export.h"

#include <cstdint>

namespace zorvel {

class TZVCustomLab;
class TZVFieldVisitor;

/// A label's print run settings (count, repetitions, start cell, record range) and the figures of the last
/// run.
class ZORVEL_CORE_EXPORT TZVPrintInfo
{
public:
    /// Settings of `owner`, whose sheet layout bounds the start row and column.
    explicit TZVPrintInfo(TZVCustomLab& owner) : m_owner(owner) {}

    /// Unprintable offsets (left, top) and margins (right, bottom) of the last run's printer, model units;
    /// preview pages place their labels less the offsets.
    /// @{
    int OffsetX = 0;
    int OffsetY = 0;
    int MarginRight = 0;
    int MarginBottom = 0;
    /// @}
    std::int32_t PrintReserved = 255; ///< stored with the design, otherwise unused
    /// Printable area of the last run's printer, model units.
    /// @{
    int PrintableWidth = 0;
    int PrintableHeight = 0;
    /// @}
    /// Resolution of the last run's printer, dots per inch.
    /// @{
    int DpiX = 0;
    int DpiY = 0;
    /// @}
    std::int16_t PaperCode = 9; ///< paper code of the sheet
    int PageCount = 0; ///< pages of the last run
    int TotalLabels = 0; ///< labels of the last run
    bool DetailMode = false; ///< true while a run walks the detail data set
    int CurrentPage = 0; ///< page being printed, 1-based
    std::uint8_t DataMode = 0; ///< 1 while a run prints records, 0 otherwise
    std::uint8_t Orientation = 0; ///< 0 portrait, 1 landscape

    /// Labels (or records) to print.
    int NumLabels() const { return m_numLabels; }
    /// Copies of each label.
    int Repetitions() const { return m_repetitions; }
    /// Row and column of the first sheet where the run starts, 1-based.
    /// @{
    int FirstRow() const { return m_firstRow; }
    int FirstCol() const { return m_firstCol; }
    /// @}
    /// Record range of a run over a data set, 1-based; PrintTo 0 means up to the last.
    /// @{
    int PrintFrom() const { return m_printFrom; }
    int PrintTo() const { return m_printTo; }
    /// @}

    /// Setters with the limits of the print dialog: rows 1..NuHor, columns 1..NuVer, counts >= 1.
    /// @{
    void SetNumLabels(int value);
    void SetRepetitions(int value);
    void SetFirstRow(int value);
    void SetFirstCol(int value);
    void SetPrintFrom(int value);
    void SetPrintTo(int value);
    /// @}
    /// The print range follows a master data set of `recordCount` records: PrintTo and PrintFrom
    /// are brought inside it and NumLabels becomes the number of records in the range (0 for none).
    void AdjustToRecordCount(int recordCount);

    /// Copies every setting and figure of `other`.
    void Assign(const TZVPrintInfo& other);
    /// Fields 52 to 59 of the stream header, stored without limits.
    void VisitFields(TZVFieldVisitor& visitor);

private:
    // The label's stream reader resets the print range and start as stored, without limits.
    friend class TZVCustomLab;

    TZVCustomLab& m_owner;
    int m_numLabels = 1;
    int m_repetitions = 1;
    int m_firstRow = 1;
    int m_firstCol = 1;
    int m_printFrom = 1;
    int m_printTo = 0;
};

} // namespace zorvel
