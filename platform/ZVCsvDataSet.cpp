// TZVCsvDataSet: reading a CSV file whole, inferring column kinds, serving its records.
#include "platform/ZVCsvDataSet.h"

#include "foundation/ZVError.h"

#include <QDate>
#include <QFile>

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorvel {

namespace {

[[noreturn]] void invalidLine(int line)
{
    throw EZvError(QStringLiteral("INVALID CSV LINE : %1").arg(line));
}

struct TRecord
{
    QStringList Cells;
    int Line = 0;
};

// Splits the text into records; line numbers count physical lines from 1.
class TCsvReader
{
public:
    TCsvReader(const QString& text, QChar delimiter) : m_text(text), m_delimiter(delimiter) {}

    bool Next(TRecord& record)
    {
        while (m_at < m_text.size()) {
            record.Cells.clear();
            record.Line = m_line;
            bool quoted = false;
            while (true) {
                quoted = readCell(record) || quoted;
                if (record.Cells.size() > kMaxCsvFields)
                    invalidLine(record.Line);
                if (m_at < m_text.size() && m_text[m_at] == m_delimiter) {
                    ++m_at;
                    continue;
                }
                skipLineBreak();
                break;
            }
            const bool blank = !quoted && record.Cells.size() == 1 && record.Cells.front().isEmpty();
            if (!blank)
                return true;
        }
        return false;
    }

private:
    bool atBreak() const
    {
        return m_at >= m_text.size() || m_text[m_at] == m_delimiter || m_text[m_at] == u'\r' ||
               m_text[m_at] == u'\n';
    }

    void skipLineBreak()
    {
        if (m_at < m_text.size() && m_text[m_at] == u'\r')
            ++m_at;
        if (m_at < m_text.size() && m_text[m_at] == u'\n')
            ++m_at;
        ++m_line;
    }

    // Returns whether the cell was quoted.
    bool readCell(TRecord& record)
    {
        const qsizetype n = m_text.size();
        if (m_at >= n || m_text[m_at] != u'"') {
            const qsizetype start = m_at;
            while (!atBreak())
                ++m_at;
            record.Cells.append(m_text.mid(start, m_at - start));
            return false;
        }
        QString cell;
        ++m_at;
        while (true) {
            if (m_at >= n)
                invalidLine(record.Line);
            const QChar c = m_text[m_at];
            if (c == u'"') {
                if (m_at + 1 < n && m_text[m_at + 1] == u'"') {
                    cell += u'"';
                    m_at += 2;
                    continue;
                }
                ++m_at;
                break;
            }
            // CRLF counts as one line break, as does a lone CR or LF.
            if (c == u'\n' || (c == u'\r' && !(m_at + 1 < n && m_text[m_at + 1] == u'\n')))
                ++m_line;
            cell += c;
            ++m_at;
        }
        if (!atBreak())
            invalidLine(m_line);
        record.Cells.append(cell);
        return true;
    }

    const QString& m_text;
    QChar m_delimiter;
    qsizetype m_at = 0;
    int m_line = 1;
};

// Candidate kinds of a column; each non-empty cell removes those it does not fit.
enum TCandidate : unsigned {
    cInteger = 1,
    cFloat = 2,
    cBoolean = 4,
    cDate = 8,
    cDateTime = 16,
    cAll = 31,
};

// Digits of a plain number: no sign other than '-', no leading zero before another digit.
bool plainDigits(QStringView digits)
{
    if (digits.isEmpty())
        return false;
    for (const QChar c : digits)
        if (!c.isDigit())
            return false;
    return digits.size() == 1 || digits.front() != u'0';
}

bool isIntegerText(QStringView t)
{
    if (t.startsWith(u'-'))
        t = t.mid(1);
    // 18 digits always fit 64 bits; longer codes stay texts.
    return t.size() <= 18 && plainDigits(t);
}

bool isFloatText(QStringView t)
{
    if (t.startsWith(u'-'))
        t = t.mid(1);
    const qsizetype exponent = t.indexOf(u'e', 0, Qt::CaseInsensitive);
    const QStringView mantissa = exponent < 0 ? t : t.left(exponent);
    const qsizetype point = mantissa.indexOf(u'.');
    // Bare digits are integers or, too long for one, codes: never rounded into a double.
    if (point < 0 && exponent < 0)
        return false;
    if (exponent >= 0) {
        QStringView e = t.mid(exponent + 1);
        if (e.startsWith(u'-') || e.startsWith(u'+'))
            e = e.mid(1);
        if (e.isEmpty() || e.size() > 3 || !std::all_of(e.begin(), e.end(), [](QChar c) { return c.isDigit(); }))
            return false;
    }
    const QStringView fraction = point < 0 ? QStringView() : mantissa.mid(point + 1);
    const bool wellFormed =
        point < 0 ? plainDigits(mantissa)
                  : plainDigits(mantissa.left(point)) && !fraction.isEmpty() &&
                        std::all_of(fraction.begin(), fraction.end(), [](QChar c) { return c.isDigit(); });
    bool ok = false;
    return wellFormed && std::isfinite(QLocale::c().toDouble(t, &ok)) && ok;
}

unsigned fittingKinds(const QString& cell, bool& fits32)
{
    const QString t = cell.trimmed();
    unsigned fits = 0;
    if (isIntegerText(t)) {
        fits |= cInteger | cFloat;
        const qlonglong v = t.toLongLong();
        fits32 = fits32 && v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
    } else if (isFloatText(t)) {
        fits |= cFloat;
    }
    if (t.compare(u"true", Qt::CaseInsensitive) == 0 || t.compare(u"false", Qt::CaseInsensitive) == 0)
        fits |= cBoolean;
    QVariant dt;
    if (t.size() == 10 && QDate::fromString(t, Qt::ISODate).isValid())
        fits |= cDate;
    else if (t.size() >= 16 && ConvertToKind(t, fkDateTime, dt))
        fits |= cDateTime;
    return fits;
}

TZVFieldKind columnKind(const std::vector<TRecord>& records, int column)
{
    unsigned candidates = cAll;
    bool fits32 = true;
    bool any = false;
    for (const TRecord& record : records) {
        const QString& cell = record.Cells[column];
        if (cell.isEmpty())
            continue;
        any = true;
        candidates &= fittingKinds(cell, fits32);
        if (candidates == 0)
            return fkString;
    }
    if (!any)
        return fkString;
    if (candidates & cInteger)
        return fits32 ? fkInteger : fkLargeInt;
    if (candidates & cFloat)
        return fkFloat;
    if (candidates & cBoolean)
        return fkBoolean;
    if (candidates & cDate)
        return fkDate;
    return candidates & cDateTime ? fkDateTime : fkString;
}

QString readText(const QString& fileName)
{
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw EZvError(QLatin1String(kErrorCantOpenDataSet) + QStringLiteral(" : ") + fileName);
    const QString tooLarge = QStringLiteral("CSV FILE TOO LARGE : ") + fileName;
    if (file.size() > kMaxCsvFileSize)
        throw EZvError(tooLarge);
    // Devices report no size: read one byte past the limit to notice them. In pieces, because
    // one read of the whole limit reserves all of it, whatever the file's size.
    QByteArray bytes;
    while (bytes.size() <= kMaxCsvFileSize) {
        const QByteArray piece = file.read(qMin<qint64>(1 << 20, kMaxCsvFileSize + 1 - bytes.size()));
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (bytes.size() > kMaxCsvFileSize)
        throw EZvError(tooLarge);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    return QString::fromUtf8(bytes);
}

} // namespace

TZVCsvDataSet::TZVCsvDataSet(QObject* parent) : TZVDataSet(parent) {}

void TZVCsvDataSet::SetFileName(const QString& fileName)
{
    if (Active())
        throw EZvError(QLatin1String(kErrorDataSetOpen));
    m_fileName = fileName;
}

void TZVCsvDataSet::SetDelimiter(QChar delimiter)
{
    if (Active())
        throw EZvError(QLatin1String(kErrorDataSetOpen));
    m_delimiter = delimiter;
}

std::unique_ptr<TZVDataSet> TZVCsvDataSet::OpenCopy() const
{
    if (Master()) return nullptr;
    auto copy = std::make_unique<TZVCsvDataSet>();
    copy->SetName(Name());
    copy->m_fileName = m_fileName;
    copy->m_delimiter = m_delimiter;
    copy->SetFilter(Filter());
    copy->SetFiltered(Filtered());
    if (!Active()) return copy;
    // The records read already, shared (copies of a QList share its data), not read again.
    copy->m_rows = m_rows;
    for (int i = 0; i < FieldCount(); ++i) copy->m_copiedDefs.push_back({Fields(i).FieldName(), Fields(i).Kind()});
    copy->Open();
    return copy;
}

std::vector<TZVDataSet::TZVFieldDef> TZVCsvDataSet::DoOpen()
{
    if (!m_copiedDefs.empty()) return std::exchange(m_copiedDefs, {});
    const QString text = readText(m_fileName);
    TCsvReader reader(text, m_delimiter);
    TRecord header;
    if (!reader.Next(header))
        invalidLine(1);
    std::vector<TRecord> records;
    TRecord record;
    while (reader.Next(record)) {
        if (record.Cells.size() != header.Cells.size())
            invalidLine(record.Line);
        records.push_back(std::move(record));
    }

    std::vector<TZVFieldDef> defs;
    for (qsizetype i = 0; i < header.Cells.size(); ++i) {
        QString name = header.Cells[i].trimmed();
        if (name.isEmpty())
            name = QStringLiteral("FIELD%1").arg(i + 1);
        defs.push_back({name, columnKind(records, static_cast<int>(i))});
    }

    std::vector<QVariantList> rows;
    rows.reserve(records.size());
    for (TRecord& r : records) {
        QVariantList row;
        row.reserve(r.Cells.size());
        for (qsizetype i = 0; i < r.Cells.size(); ++i) {
            const TZVFieldKind kind = defs[static_cast<size_t>(i)].Kind;
            QString& cell = r.Cells[i];
            QVariant value;
            if (!cell.isEmpty() && !ConvertToKind(kind == fkString ? cell : cell.trimmed(), kind, value))
                value = cell;
            row.append(value);
        }
        r.Cells.clear();
        rows.push_back(std::move(row));
    }
    m_rows = std::move(rows);
    return defs;
}

QVariant TZVCsvDataSet::RowValue(int row, int field) const
{
    return m_rows[static_cast<size_t>(row)].value(field);
}

} // namespace zorvel
