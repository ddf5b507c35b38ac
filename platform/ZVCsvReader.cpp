// TZVCsvReader: CSV records from a device, a piece at a time, with the line each starts on.
#include "platform/ZVCsvReader.h"

#include "foundation/ZVError.h"
#include "platform/ZVCsvDataSet.h"

#include <QIODevice>
#include <QString>
#include <QStringDecoder>

namespace zorvel {

namespace {

// Bytes read from the device at once.
constexpr qint64 kPieceSize = 64 * 1024;

// A byte-order mark inside the text stays a character, as in a decoding of the whole file.
QString decoded(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace

void TZVCsvReader::RaiseInvalidLine(int line)
{
    throw EZvError(QStringLiteral("INVALID CSV LINE : %1").arg(line));
}

TZVCsvReader::TZVCsvReader(QIODevice& device, QChar delimiter, int firstLine)
    : m_device(device), m_delimiter(QString(delimiter).toUtf8()), m_line(firstLine)
{
    m_base = device.isSequential() ? 0 : device.pos();
}

bool TZVCsvReader::refill(qsizetype need)
{
    while (m_at + need >= m_piece.size()) {
        m_piece.remove(0, m_at);
        m_base += m_at;
        m_at = 0;
        const QByteArray more = m_device.read(kPieceSize);
        if (more.isEmpty())
            return false;
        m_piece += more;
    }
    return true;
}

int TZVCsvReader::peek(qsizetype ahead)
{
    if (m_at + ahead >= m_piece.size() && !refill(ahead))
        return -1;
    return static_cast<unsigned char>(m_piece[m_at + ahead]);
}

bool TZVCsvReader::atDelimiter()
{
    for (qsizetype i = 0; i < m_delimiter.size(); ++i)
        if (peek(i) != static_cast<unsigned char>(m_delimiter[i]))
            return false;
    return true;
}

bool TZVCsvReader::atBreak()
{
    const int c = peek();
    return c < 0 || c == '\r' || c == '\n' || atDelimiter();
}

void TZVCsvReader::skipLineBreak()
{
    if (peek() == '\r')
        ++m_at;
    if (peek() == '\n')
        ++m_at;
    ++m_line;
}

bool TZVCsvReader::Next(TZVCsvRecord& record)
{
    while (peek() >= 0) {
        record.Cells.clear();
        record.Line = m_line;
        record.Start = m_base + m_at;
        bool quoted = false;
        while (true) {
            quoted = readCell(record) || quoted;
            if (record.Cells.size() > kMaxCsvFields)
                RaiseInvalidLine(record.Line);
            if (peek() >= 0 && atDelimiter()) {
                m_at += m_delimiter.size();
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

// Returns whether the cell was quoted.
bool TZVCsvReader::readCell(TZVCsvRecord& record)
{
    QByteArray cell;
    if (peek() != '"') {
        while (!atBreak())
            cell += m_piece[m_at++];
        record.Cells.append(decoded(cell));
        return false;
    }
    ++m_at;
    while (true) {
        const int c = peek();
        if (c < 0)
            RaiseInvalidLine(record.Line);
        if (c == '"') {
            if (peek(1) == '"') {
                cell += '"';
                m_at += 2;
                continue;
            }
            ++m_at;
            break;
        }
        // CRLF counts as one line break, as does a lone CR or LF.
        if (c == '\n' || (c == '\r' && peek(1) != '\n'))
            ++m_line;
        cell += char(c);
        ++m_at;
    }
    if (!atBreak())
        RaiseInvalidLine(m_line);
    record.Cells.append(decoded(cell));
    return true;
}

} // namespace zorvel
