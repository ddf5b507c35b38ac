// TZVCsvDataSet: indexing a CSV file's records, inferring column kinds, reading records on demand.
#include "platform/ZVCsvDataSet.h"

#include "foundation/ZVError.h"
#include "platform/ZVCsvReader.h"

#include <QBuffer>
#include <QDate>
#include <QFile>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorvel {

namespace {

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

// What a column's cells seen so far allow.
struct TColumnGuess
{
    unsigned Candidates = cAll;
    bool Fits32 = true;
    bool Any = false;

    void See(const QString& cell)
    {
        if (cell.isEmpty() || Candidates == 0)
            return;
        Any = true;
        Candidates &= fittingKinds(cell, Fits32);
    }

    TZVFieldKind Kind() const
    {
        if (!Any || Candidates == 0)
            return fkString;
        if (Candidates & cInteger)
            return Fits32 ? fkInteger : fkLargeInt;
        if (Candidates & cFloat)
            return fkFloat;
        if (Candidates & cBoolean)
            return fkBoolean;
        if (Candidates & cDate)
            return fkDate;
        return Candidates & cDateTime ? fkDateTime : fkString;
    }
};

// Bytes read from the file at once when a record is reached; the records after it come along.
constexpr qint64 kWindowSize = 64 * 1024;

} // namespace

struct TZVCsvDataSet::TIndex
{
    std::vector<TZVFieldDef> Defs;
    // Where each record starts, then where the last one ends.
    std::vector<qint64> Starts;
};

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

// The file positioned after its byte-order mark; a device that cannot seek is read whole.
std::unique_ptr<QIODevice> TZVCsvDataSet::openSource() const
{
    auto file = std::make_unique<QFile>(m_fileName);
    if (m_fileName.isEmpty() || !file->open(QIODevice::ReadOnly))
        throw EZvError(QLatin1String(kErrorCantOpenDataSet) + QStringLiteral(" : ") + m_fileName);
    const QString tooLarge = QStringLiteral("CSV FILE TOO LARGE : ") + m_fileName;
    if (file->size() > kMaxCsvFileSize)
        throw EZvError(tooLarge);
    std::unique_ptr<QIODevice> source = std::move(file);
    if (source->isSequential()) {
        // Devices report no size: read one byte past the limit to notice them. In pieces, because
        // one read of the whole limit reserves all of it, whatever the size.
        QByteArray bytes;
        while (bytes.size() <= kMaxCsvFileSize) {
            const QByteArray piece = source->read(qMin<qint64>(1 << 20, kMaxCsvFileSize + 1 - bytes.size()));
            if (piece.isEmpty())
                break;
            bytes += piece;
        }
        if (bytes.size() > kMaxCsvFileSize)
            throw EZvError(tooLarge);
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(bytes);
        buffer->open(QIODevice::ReadOnly);
        source = std::move(buffer);
    }
    // Decoding drops one more mark behind the first, as it always did.
    for (int marks = 0; marks < 2 && source->peek(3) == "\xEF\xBB\xBF"; ++marks)
        source->seek(source->pos() + 3);
    return source;
}

std::vector<TZVDataSet::TZVFieldDef> TZVCsvDataSet::DoOpen()
{
    std::unique_ptr<QIODevice> source = openSource();
    // A copy comes with the index of the data set it copies.
    if (!m_index) {
        auto index = std::make_shared<TIndex>();
        TZVCsvReader reader(*source, m_delimiter);
        TZVCsvRecord header;
        if (!reader.Next(header))
            TZVCsvReader::RaiseInvalidLine(1);
        std::vector<TColumnGuess> guesses(static_cast<size_t>(header.Cells.size()));
        TZVCsvRecord record;
        while (reader.Next(record)) {
            // A file that grows while it is read.
            if (record.Start > kMaxCsvFileSize)
                throw EZvError(QStringLiteral("CSV FILE TOO LARGE : ") + m_fileName);
            if (record.Cells.size() != header.Cells.size())
                TZVCsvReader::RaiseInvalidLine(record.Line);
            for (size_t i = 0; i < guesses.size(); ++i)
                guesses[i].See(record.Cells[static_cast<qsizetype>(i)]);
            index->Starts.push_back(record.Start);
        }
        index->Starts.push_back(reader.Position());
        index->Starts.shrink_to_fit();
        for (qsizetype i = 0; i < header.Cells.size(); ++i) {
            QString name = header.Cells[i].trimmed();
            if (name.isEmpty())
                name = QStringLiteral("FIELD%1").arg(i + 1);
            index->Defs.push_back({name, guesses[static_cast<size_t>(i)].Kind()});
        }
        m_index = std::move(index);
    }
    m_source = std::move(source);
    return m_index->Defs;
}

void TZVCsvDataSet::DoClose()
{
    m_index.reset();
    m_source.reset();
    m_window.clear();
    m_windowStart = 0;
    m_cachedRow = -1;
    m_cachedValues.clear();
}

int TZVCsvDataSet::RowCount() const
{
    return m_index ? static_cast<int>(m_index->Starts.size()) - 1 : 0;
}

QByteArray TZVCsvDataSet::recordBytes(int row) const
{
    const qint64 start = m_index->Starts[static_cast<size_t>(row)];
    const qint64 size = m_index->Starts[static_cast<size_t>(row) + 1] - start;
    if (start < m_windowStart || start + size > m_windowStart + m_window.size()) {
        m_window.clear();
        m_windowStart = start;
        if (m_source->seek(start))
            m_window = m_source->read(std::max(size, kWindowSize));
    }
    return m_window.mid(start - m_windowStart, size);
}

QVariant TZVCsvDataSet::RowValue(int row, int field) const
{
    if (row == m_cachedRow)
        return m_cachedValues.value(field);
    QByteArray bytes = recordBytes(row);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TZVCsvReader reader(buffer, m_delimiter);
    TZVCsvRecord record;
    const std::vector<TZVFieldDef>& defs = m_index->Defs;
    bool read = false;
    try {
        read = reader.Next(record) && record.Cells.size() == static_cast<qsizetype>(defs.size());
    } catch (const EZvError&) {
    }
    // Indexed records always read again unless the file changed under the data set.
    if (!read)
        throw EZvError(QStringLiteral("CSV FILE CHANGED : ") + m_fileName);
    QVariantList values;
    values.reserve(record.Cells.size());
    for (qsizetype i = 0; i < record.Cells.size(); ++i) {
        const TZVFieldKind kind = defs[static_cast<size_t>(i)].Kind;
        const QString& cell = record.Cells[i];
        QVariant value;
        if (!cell.isEmpty() && !ConvertToKind(kind == fkString ? cell : cell.trimmed(), kind, value))
            value = cell;
        values.append(value);
    }
    m_cachedValues = std::move(values);
    m_cachedRow = row;
    return m_cachedValues.value(field);
}

std::unique_ptr<TZVDataSet> TZVCsvDataSet::OpenCopy() const
{
    if (!Active() || !m_index || m_source->isSequential() || qobject_cast<QBuffer*>(m_source.get()))
        return nullptr;
    auto copy = std::make_unique<TZVCsvDataSet>();
    CopyViewTo(*copy);
    copy->m_fileName = m_fileName;
    copy->m_delimiter = m_delimiter;
    copy->m_index = m_index;
    copy->Open();
    return copy;
}

} // namespace zorvel
