// TZVCsvReader: splits CSV bytes (RFC 4180, UTF-8) into records, read piece by piece from a device.
#pragma once

#include <QByteArray>
#include <QChar>
#include <QStringList>

class QIODevice;

namespace zorvel {

/// One record as the reader found it.
struct TZVCsvRecord
{
    QStringList Cells; ///< decoded cells, quotes removed
    int Line = 0;      ///< physical line where the record starts, from 1
    qint64 Start = 0;  ///< byte offset of the record's first byte in the device
};

/// Reads records from the device's position on, holding only a piece of it at a time. Cells
/// are quoted with '"' (doubled inside) and may hold delimiters and line breaks; lines end with
/// CRLF, LF or CR; blank lines are skipped. Bytes are decoded as UTF-8 cell by cell, so a
/// malformed sequence becomes U+FFFD as it would in the whole text.
///
/// Raises "INVALID CSV LINE : n" for an unterminated quote, text after a closing quote or more
/// than kMaxCsvFields cells; n is the line where the fault lies.
class TZVCsvReader
{
public:
    /// Reads `device` from its current position; lines are counted from `firstLine`.
    TZVCsvReader(QIODevice& device, QChar delimiter, int firstLine = 1);

    /// The next non-blank record; false at the end of the device.
    bool Next(TZVCsvRecord& record);
    /// Device offset of the next byte the reader would look at: after Next returned false, the
    /// end of the device.
    qint64 Position() const { return m_base + m_at; }
    /// Raises "INVALID CSV LINE : n".
    [[noreturn]] static void RaiseInvalidLine(int line);

private:
    int peek(qsizetype ahead = 0);
    bool atDelimiter();
    bool atBreak();
    void skipLineBreak();
    bool readCell(TZVCsvRecord& record);
    bool refill(qsizetype need);

    QIODevice& m_device;
    QByteArray m_delimiter;
    QByteArray m_piece;
    qsizetype m_at = 0;
    qint64 m_base = 0; // device offset of m_piece's first byte
    int m_line = 1;
};

} // namespace zorvel
