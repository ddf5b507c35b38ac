// Growable little-endian memory stream and the string primitives of the label stream.
#pragma once

#include "zorvel_core_export.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace zorvel {

/// A byte buffer with a position. Writes grow it; reads never go past the end: a read that
/// needs more bytes than remain raises EZvError "ERROR READING FILE" and leaves the position.
class ZORVEL_CORE_EXPORT TZVMemoryStream
{
public:
    TZVMemoryStream() = default;
    /// Reads an existing byte buffer from position 0.
    explicit TZVMemoryStream(QByteArray bytes) : m_bytes(std::move(bytes)) {}

    /// The whole buffer, independent of the position.
    const QByteArray& Bytes() const { return m_bytes; }
    /// Size of the buffer in bytes.
    qint64 Size() const { return m_bytes.size(); }
    /// Byte offset of the next read or write.
    qint64 Position() const { return m_position; }
    /// Bytes between the position and the end.
    qint64 Remaining() const { return m_bytes.size() - m_position; }
    /// Clamped to 0..Size().
    void SetPosition(qint64 position);
    /// Empties the buffer and moves to position 0.
    void Clear();

    /// Writes `count` bytes at the position, overwriting or growing the buffer, and advances.
    void Write(const void* data, qint64 count);
    /// Little-endian writes of fixed-size values; a bool is one byte 0 or 1.
    /// @{
    void WriteU8(std::uint8_t v) { Write(&v, 1); }
    void WriteBool(bool v) { WriteU8(v ? 1 : 0); }
    void WriteU16(std::uint16_t v);
    void WriteI32(std::int32_t v);
    void WriteU32(std::uint32_t v);
    /// @}

    /// Reads up to `count` bytes and returns how many were read.
    qint64 Read(void* data, qint64 count);
    /// Reads exactly `count` bytes or raises EZvError.
    void ReadBuffer(void* data, qint64 count);
    /// Exactly `count` bytes; raises EZvError "ERROR READING FILE" when fewer remain.
    QByteArray ReadBytes(qint64 count);
    /// Moves the position forward; raises EZvError "ERROR READING FILE" past the end.
    void Skip(qint64 count);
    /// Little-endian reads of fixed-size values; raise EZvError "ERROR READING FILE" past the end.
    /// @{
    std::uint8_t ReadU8();
    bool ReadBool() { return ReadU8() != 0; }
    std::uint16_t ReadU16();
    std::int32_t ReadI32();
    std::uint32_t ReadU32();
    /// @}

private:
    void requireAvailable(qint64 count) const;

    QByteArray m_bytes;
    qint64 m_position = 0;
};

/// Tells ReadWideString whether wide strings lack the variable-length byte count. Process-wide:
/// the label reader sets it at the start of a load, so two loads must not interleave.
ZORVEL_CORE_EXPORT bool LegacyStream();
/// Sets the format ReadWideString expects (see LegacyStream).
ZORVEL_CORE_EXPORT void SetLegacyStream(bool legacy);

/// Writes `n` in 7-bit groups, low group first, the high bit set on every group but the last.
ZORVEL_CORE_EXPORT void WriteVarLength(std::uint64_t n, TZVMemoryStream& stream);
/// Writes a 32-bit character count, the byte count as a variable length, then UTF-16LE characters.
ZORVEL_CORE_EXPORT void WriteWideString(const QString& text, TZVMemoryStream& stream);
/// Reads a string written by WriteWideString, or a legacy one without the byte count (see LegacyStream).
ZORVEL_CORE_EXPORT QString ReadWideString(TZVMemoryStream& stream);
/// 8-bit strings are stored in Windows-1252.
ZORVEL_CORE_EXPORT void WriteAnsiString(const QString& text, TZVMemoryStream& stream);
/// Reads a 32-bit length followed by that many Windows-1252 bytes.
ZORVEL_CORE_EXPORT QString ReadAnsiString(TZVMemoryStream& stream);
/// True when the first 32-bit integer is below 2000 (a string length, not a version number).
ZORVEL_CORE_EXPORT bool IsLegacyStream(TZVMemoryStream& stream);

} // namespace zorvel
