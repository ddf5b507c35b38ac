// The stream writer and reader visitors; the reader checks every count against what remains.
#include "document/ZVStreamVisitors.h"

#include "document/ZVCustomLab.h"
#include "document/ZVElement.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStream.h"
#include "platform/ZVBmp.h"

#include <algorithm>

namespace zorvel {
namespace {

[[noreturn]] void readError()
{
    throw EZvError(QString::fromLatin1(kErrorReadingFile));
}

} // namespace

std::int32_t StreamVersionFor(const TZVCustomLab& label)
{
    std::int32_t version = label.Measure().AutoLength() ? kAutoLengthVersion
                           : label.UsesContentFields() ? kContentVersion
                                                       : kStreamVersion;
    for (const TZVElement* element : label.Elements()) version = std::max(version, element->StreamVersionNeeded());
    return version;
}

void TZVStreamWriter::U8(const char*, std::uint8_t& value)
{
    m_stream.WriteU8(value);
}

void TZVStreamWriter::Bool(const char*, bool& value)
{
    m_stream.WriteBool(value);
}

void TZVStreamWriter::U16(const char*, std::uint16_t& value)
{
    m_stream.WriteU16(value);
}

void TZVStreamWriter::I32(const char*, std::int32_t& value)
{
    m_stream.WriteI32(value);
}

void TZVStreamWriter::Color(const char*, TZVColor& value)
{
    m_stream.WriteU32(value);
}

void TZVStreamWriter::WStr(const char*, QString& value, bool)
{
    WriteWideString(value, m_stream);
}

void TZVStreamWriter::AStr(const char*, QString& value)
{
    WriteAnsiString(value, m_stream);
}

void TZVStreamWriter::Picture(const char*, QImage& picture, bool& present)
{
    if (present && !picture.isNull())
        WriteBmpToStream(picture, m_stream);
}

void TZVStreamWriter::Records(const char*, int count, const std::function<void(int)>&,
                              const std::function<void(int)>& item, int)
{
    m_stream.WriteI32(count);
    for (int i = 0; i < count; ++i)
        item(i);
}

void TZVStreamReader::U8(const char*, std::uint8_t& value)
{
    value = m_stream.ReadU8();
}

void TZVStreamReader::Bool(const char*, bool& value)
{
    // Any non-zero byte is true; a bool member must never hold another value.
    value = m_stream.ReadU8() != 0;
}

void TZVStreamReader::U16(const char*, std::uint16_t& value)
{
    value = m_stream.ReadU16();
}

void TZVStreamReader::I32(const char*, std::int32_t& value)
{
    value = m_stream.ReadI32();
}

void TZVStreamReader::Color(const char*, TZVColor& value)
{
    value = m_stream.ReadU32();
}

void TZVStreamReader::WStr(const char*, QString& value, bool ansi)
{
    value = ansi ? ReadAnsiString(m_stream) : ReadWideString(m_stream);
}

void TZVStreamReader::AStr(const char*, QString& value)
{
    value = ReadAnsiString(m_stream);
}

void TZVStreamReader::Picture(const char*, QImage& picture, bool& present)
{
    // A picture is the last field of its record, so what follows it is a kind byte (1..10) or
    // the end: no "BM" signature there means that the writer had no picture to write.
    const QByteArray& bytes = m_stream.Bytes();
    const qint64 at = m_stream.Position();
    if (m_stream.Remaining() < 2 || bytes[at] != 'B' || bytes[at + 1] != 'M') {
        picture = QImage();
        present = false;
        return;
    }
    try {
        picture = ReadBmpFromStream(m_stream);
        present = !picture.isNull();
    } catch (const EZvError&) {
        // Undelimited bitmaps leave the position: the rest of the stream cannot be found.
        if (m_stream.Position() == at)
            throw;
        picture = QImage();
        present = false;
    }
}

void TZVStreamReader::Records(const char*, int, const std::function<void(int)>& resize,
                              const std::function<void(int)>& item, int minRecordBytes)
{
    const std::int32_t count = m_stream.ReadI32();
    if (count < 0 || qint64(count) > m_stream.Remaining() / std::max(minRecordBytes, 1))
        readError();
    resize(count);
    for (int i = 0; i < count; ++i)
        item(i);
}

} // namespace zorvel
