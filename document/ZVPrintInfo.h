// Print run settings and the state of the last run.
#pragma once

#include <cstdint>

namespace zorvel {

class TZVCustomLab;
class TZVFieldVisitor;

class TZVPrintInfo
{
public:
    explicit TZVPrintInfo(TZVCustomLab& owner) : m_owner(owner) {}

    // Unprintable offsets and printer figures, model units.
    int OffsetX = 0;
    int OffsetY = 0;
    int MarginRight = 0;
    int MarginBottom = 0;
    std::int32_t PrintReserved = 255;
    int PrintableWidth = 0;
    int PrintableHeight = 0;
    int DpiX = 0;
    int DpiY = 0;
    std::int16_t PaperCode = 9;
    int PageCount = 0;
    int TotalLabels = 0;
    bool DetailMode = false;
    int CurrentPage = 0;
    std::uint8_t DataMode = 0;
    std::uint8_t Orientation = 0;

    int NumLabels() const { return m_numLabels; }
    int Repetitions() const { return m_repetitions; }
    int FirstRow() const { return m_firstRow; }
    int FirstCol() const { return m_firstCol; }
    int PrintFrom() const { return m_printFrom; }
    int PrintTo() const { return m_printTo; }

    // Setters with the limits of the print dialog: rows 1..NuHor, columns 1..NuVer, counts >= 1.
    void SetNumLabels(int value);
    void SetRepetitions(int value);
    void SetFirstRow(int value);
    void SetFirstCol(int value);
    void SetPrintFrom(int value);
    void SetPrintTo(int value);
    // The print range follows a master data set of `recordCount` records: PrintTo and PrintFrom
    // are brought inside it and NumLabels becomes the number of records in the range (0 for none).
    void AdjustToRecordCount(int recordCount);

    void Assign(const TZVPrintInfo& other);
    // Fields 52 to 59 of the stream header, stored without limits.
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
