// Print run settings: the setters' limits and the range that follows the record count.
#include "document/ZVPrintInfo.h"

#include "document/ZVCustomLab.h"
#include "document/ZVFieldVisitor.h"

#include <algorithm>

namespace zorvel {

void TZVPrintInfo::SetNumLabels(int value)
{
    m_numLabels = std::max(value, 1);
}

void TZVPrintInfo::SetRepetitions(int value)
{
    m_repetitions = std::max(value, 1);
    m_owner.SetModified(true);
}

void TZVPrintInfo::SetFirstRow(int value)
{
    m_firstRow = std::max(std::min(value, m_owner.Measure().NuHor()), 1);
}

void TZVPrintInfo::SetFirstCol(int value)
{
    m_firstCol = std::max(std::min(value, m_owner.Measure().NuVer()), 1);
}

void TZVPrintInfo::SetPrintFrom(int value)
{
    // Records count from 1; a first record of 0 would print the first record twice.
    m_printFrom = std::max(value, 1);
    if (m_printTo != 0 && m_printTo < m_printFrom) m_printTo = m_printFrom;
}

void TZVPrintInfo::SetPrintTo(int value)
{
    m_printTo = value;
}

void TZVPrintInfo::AdjustToRecordCount(int recordCount)
{
    if (recordCount < m_printTo) m_printTo = recordCount;
    // A stored first record below 1 is taken as the setter takes it.
    if (recordCount < m_printFrom || m_printFrom < 1) m_printFrom = 1;
    const int last = m_printTo < 1 ? recordCount : m_printTo;
    // An empty data set, or a range ending before it starts, prints nothing rather than a
    // negative count.
    m_numLabels = std::max(last - m_printFrom + 1, 0);
}

void TZVPrintInfo::Assign(const TZVPrintInfo& other)
{
    OffsetX = other.OffsetX;
    OffsetY = other.OffsetY;
    MarginRight = other.MarginRight;
    MarginBottom = other.MarginBottom;
    PrintReserved = other.PrintReserved;
    PrintableWidth = other.PrintableWidth;
    PrintableHeight = other.PrintableHeight;
    DpiX = other.DpiX;
    DpiY = other.DpiY;
    PaperCode = other.PaperCode;
    PageCount = other.PageCount;
    TotalLabels = other.TotalLabels;
    DetailMode = other.DetailMode;
    CurrentPage = other.CurrentPage;
    DataMode = other.DataMode;
    Orientation = other.Orientation;
    m_numLabels = other.m_numLabels;
    m_repetitions = other.m_repetitions;
    m_firstRow = other.m_firstRow;
    m_firstCol = other.m_firstCol;
    m_printFrom = other.m_printFrom;
    m_printTo = other.m_printTo;
}

void TZVPrintInfo::VisitFields(TZVFieldVisitor& visitor)
{
    visitor.I32("NumLabels", m_numLabels);
    visitor.I32("PrintReserved", PrintReserved);
    visitor.I32("FirstRow", m_firstRow);
    visitor.I32("FirstCol", m_firstCol);
    visitor.I32("PrintFrom", m_printFrom);
    visitor.I32("PrintTo", m_printTo);
    auto code = static_cast<std::uint16_t>(PaperCode);
    visitor.U16("PaperCode", code);
    PaperCode = static_cast<std::int16_t>(code);
    visitor.U8("Orientation", Orientation);
}

} // namespace zorvel
