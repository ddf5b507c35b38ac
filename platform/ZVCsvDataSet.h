// TZVCsvDataSet: a read-only data set over a CSV file (RFC 4180, UTF-8).
#pragma once

#include "foundation/ZVDataSet.h"
#include "zorvel_core_export.h"

namespace zorvel {

/// Largest file read: 256 MB, far beyond any list of labels, well below what fits in memory.
inline constexpr qint64 kMaxCsvFileSize = qint64(256) * 1024 * 1024;
/// More columns than this is not a table of labels but a damaged file.
inline constexpr int kMaxCsvFields = 4096;

/// The first record names the fields; the file is read whole on Open. Fields are quoted with '"'
/// (doubled inside), may hold delimiters and line breaks; lines end with CRLF, LF or CR; a UTF-8
/// byte-order mark is skipped; blank lines are skipped. An empty cell is null.
///
/// Field kinds come from the column's non-empty cells: fkInteger (fkLargeInt beyond 32 bits),
/// fkFloat, fkBoolean (true/false), fkDate (yyyy-mm-dd), fkDateTime (yyyy-mm-dd hh:mm[:ss]),
/// else fkString. Numbers with leading zeros or a '+' stay strings, so codes keep their digits.
///
/// Errors: "CAN'T OPEN DATASET : <file>" when the file cannot be read, "CSV FILE TOO LARGE :
/// <file>" above kMaxCsvFileSize, "INVALID CSV LINE : n" (the line where the record starts) for a
/// record with another number of fields than the header, an unterminated quote, text after a
/// closing quote, or more than kMaxCsvFields fields.
///
/// Read-only: Edit, Append and Delete raise "DATASET IS READ ONLY".
class ZORVEL_CORE_EXPORT TZVCsvDataSet : public TZVDataSet
{
    Q_OBJECT

public:
    /// A closed data set without a file.
    explicit TZVCsvDataSet(QObject* parent = nullptr);

    /// The CSV file read on Open.
    const QString& FileName() const { return m_fileName; }
    /// Only while closed ("DATASET IS OPEN").
    void SetFileName(const QString& fileName);
    /// Field separator, ',' by default.
    QChar Delimiter() const { return m_delimiter; }
    /// Only while closed ("DATASET IS OPEN").
    void SetDelimiter(QChar delimiter);
    /// The same file with this one's delimiter and filter; when this one is open, open over the
    /// records it read.
    std::unique_ptr<TZVDataSet> OpenCopy() const override;

protected:
    std::vector<TZVFieldDef> DoOpen() override;
    void DoClose() override { m_rows.clear(); }
    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    QVariant RowValue(int row, int field) const override;

private:
    QString m_fileName;
    QChar m_delimiter = u',';
    std::vector<QVariantList> m_rows;
    std::vector<TZVFieldDef> m_copiedDefs; // a copy's fields, with its rows taken from the original
};

} // namespace zorvel
