// Memory stream and stream string primitives; every count is checked against what remains.
#include "foundation/ZVStream.h"

#include "foundation/ZVAnsi.h"
#include "foundation/ZVError.h"

#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace zorvel {
namespace {

// Every new label clears it, on whatever thread it is made.
std::atomic<bool> g_legacyStream = false;

// Below this first integer a stream starts with a string length instead of a version number.
constexpr std::int32_t kFirstVersionNumber = 2000;

} // namespace

void TZVMemoryStream::SetPosition(qint64 position)
{
    m_position = std::clamp<qint64>(position, 0, m_bytes.size());
}

void TZVMemoryStream::Clear()
{
    m_bytes.clear();
    m_position = 0;
}

void TZVMemoryStream::Write(const void* data, qint64 count)
{
    if (count <= 0)
        return;
    const qint64 end = m_position + count;
    if (end > m_bytes.size())
        m_bytes.resize(end);
    std::memcpy(m_bytes.data() + m_position, data, static_cast<std::size_t>(count));
    m_position = end;
}

void TZVMemoryStream::WriteU16(std::uint16_t v)
{
    const auto le = qToLittleEndian(v);
    Write(&le, sizeof le);
}

void TZVMemoryStream::WriteI32(std::int32_t v)
{
    const auto le = qToLittleEndian(v);
    Write(&le, sizeof le);
}

void TZVMemoryStream::WriteU32(std::uint32_t v)
{
    const auto le = qToLittleEndian(v);
    Write(&le, sizeof le);
}

qint64 TZVMemoryStream::Read(void* data, qint64 count)
{
    const qint64 n = std::clamp<qint64>(count, 0, Remaining());
    if (n > 0)
        std::memcpy(data, m_bytes.constData() + m_position, static_cast<std::size_t>(n));
    m_position += n;
    return n;
}

void TZVMemoryStream::requireAvailable(qint64 count) const
{
    if (count < 0 || count > Remaining())
        throw EZvError(QString::fromLatin1(kErrorReadingFile));
}

void TZVMemoryStream::ReadBuffer(void* data, qint64 count)
{
    requireAvailable(count);
    Read(data, count);
}

QByteArray TZVMemoryStream::ReadBytes(qint64 count)
{
    requireAvailable(count);
    QByteArray bytes = m_bytes.mid(m_position, count);
    m_position += count;
    return bytes;
}

void TZVMemoryStream::Skip(qint64 count)
{
    requireAvailable(count);
    m_position += count;
}

std::uint8_t TZVMemoryStream::ReadU8()
{
    std::uint8_t v = 0;
    ReadBuffer(&v, 1);
    return v;
}

std::uint16_t TZVMemoryStream::ReadU16()
{
    std::uint16_t v = 0;
    ReadBuffer(&v, sizeof v);
    return qFromLittleEndian(v);
}

std::int32_t TZVMemoryStream::ReadI32()
{
    std::int32_t v = 0;
    ReadBuffer(&v, sizeof v);
    return qFromLittleEndian(v);
}

std::uint32_t TZVMemoryStream::ReadU32()
{
    std::uint32_t v = 0;
    ReadBuffer(&v, sizeof v);
    return qFromLittleEndian(v);
}

bool LegacyStream()
{
    return g_legacyStream;
}

void SetLegacyStream(bool legacy)
{
    g_legacyStream = legacy;
}

void WriteVarLength(std::uint64_t n, TZVMemoryStream& stream)
{
    do {
        std::uint8_t group = n & 0x7F;
        n >>= 7;
        if (n != 0)
            group |= 0x80;
        stream.WriteU8(group);
    } while (n != 0);
}

void WriteWideString(const QString& text, TZVMemoryStream& stream)
{
    const auto count = static_cast<std::int32_t>(text.size());
    stream.WriteI32(count);
    if (count < 1)
        return;
    WriteVarLength(std::uint64_t(count) * 2, stream);
    QByteArray bytes(qsizetype(count) * 2, Qt::Uninitialized);
    qToLittleEndian<std::uint16_t>(text.utf16(), count, bytes.data());
    stream.Write(bytes.constData(), bytes.size());
}

QString ReadWideString(TZVMemoryStream& stream)
{
    const std::int32_t count = stream.ReadI32();
    if (count < 1)
        return {};
    if (!LegacyStream()) {
        // The byte count only repeats the character count; skip its 7-bit groups.
        while (stream.ReadU8() & 0x80) {
        }
    }
    const QByteArray bytes = stream.ReadBytes(qint64(count) * 2);
    QString text(count, Qt::Uninitialized);
    qFromLittleEndian<std::uint16_t>(bytes.constData(), count, text.data());
    return text;
}

void WriteAnsiString(const QString& text, TZVMemoryStream& stream)
{
    const QByteArray bytes = QStringToAnsi(text);
    stream.WriteI32(static_cast<std::int32_t>(bytes.size()));
    stream.Write(bytes.constData(), bytes.size());
}

QString ReadAnsiString(TZVMemoryStream& stream)
{
    const std::int32_t length = stream.ReadI32();
    if (length < 1)
        return {};
    return AnsiToQString(stream.ReadBytes(length));
}

bool IsLegacyStream(TZVMemoryStream& stream)
{
    stream.SetPosition(0);
    std::int32_t first = 0;
    // A stream shorter than one integer cannot hold a version number either.
    const bool complete = stream.Read(&first, sizeof first) == sizeof first;
    stream.SetPosition(0);
    return !complete || qFromLittleEndian(first) < kFirstVersionNumber;
}

} // namespace zorvel
