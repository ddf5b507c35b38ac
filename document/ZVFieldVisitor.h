// Walks the persisted fields of a design part in stream order, so that the stream and the JSON form
// are read and written from one list of fields per part.
#pragma once

#include "foundation/ZVError.h"
#include "foundation/ZVTypes.h"
#include "zorvel_core_export.h"

#include <QImage>
#include <QMetaEnum>
#include <QString>

#include <cstdint>
#include <functional>

namespace zorvel {

/// The current stream layout; writers report it as their version.
inline constexpr std::int32_t kStreamVersion = 2700;

/// Rules for the parts' VisitFields:
/// - visit every field in stream order under its JSON key name; a reader leaves a field it does
///   not find untouched, so a missing field keeps the default of a new object;
/// - fields absent from older layouts are visited only when Version() has them, and scalings of
///   older layouts are applied after the visit when Reading();
/// - store what is visited as it is: no setters, no limits, no notification.
class ZORVEL_CORE_EXPORT TZVFieldVisitor
{
public:
    virtual ~TZVFieldVisitor() = default;

    /// Version of what is being read; writers give kStreamVersion.
    virtual std::int32_t Version() const = 0;
    /// True for readers: the visited values are to be filled in.
    virtual bool Reading() const = 0;

    /// A scalar field; readers overwrite `value`, writers store it.
    /// @{
    virtual void U8(const char* name, std::uint8_t& value) = 0;
    virtual void Bool(const char* name, bool& value) = 0;
    virtual void U16(const char* name, std::uint16_t& value) = 0;
    virtual void I32(const char* name, std::int32_t& value) = 0;
    virtual void Color(const char* name, TZVColor& value) = 0;
    /// @}
    /// A 64-bit whole number (counters); the stream keeps it as two i32, low half first.
    virtual void I64(const char* name, std::int64_t& value)
    {
        auto low = static_cast<std::int32_t>(static_cast<std::uint64_t>(value) & 0xFFFFFFFFu);
        auto high = static_cast<std::int32_t>(static_cast<std::uint64_t>(value) >> 32);
        I32(name, low);
        I32(name, high);
        if (Reading())
            value = static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(high)) << 32) |
                                              static_cast<std::uint32_t>(low));
    }
    /// A wide string; `ansi` reads it as an 8-bit string (older layouts). Writers ignore `ansi`.
    virtual void WStr(const char* name, QString& value, bool ansi = false) = 0;
    /// An 8-bit (Windows-1252) string.
    virtual void AStr(const char* name, QString& value) = 0;
    /// A picture kept inside the design (image elements of labels that keep bitmaps only):
    /// BMP bytes in the stream. `present` tells whether there is one. Writers write nothing
    /// without a picture; readers then find none and clear `present`. A picture that is there
    /// but cannot be decoded is dropped (`present` false) and reading goes on after it.
    virtual void Picture(const char* name, QImage& picture, bool& present) = 0;
    /// A counted list of records: `resize` is called by readers with the count read; then `item`
    /// runs for each index with the visitor positioned on that record. `minRecordBytes` is the
    /// smallest size one record can have in a stream: a count of more records than the rest of
    /// the stream could hold is refused before `resize` allocates anything.
    virtual void Records(const char* name, int count, const std::function<void(int)>& resize,
                         const std::function<void(int)>& item, int minRecordBytes = 1) = 0;
    /// Fields that the JSON form keeps in a nested object; the stream has no groups.
    virtual void Group(const char* name, const std::function<void()>& fields)
    {
        (void)name;
        fields();
    }

    /// Enumerations are one byte holding the ordinal; their values run from 0 without gaps.
    template <typename E>
    void Enum(const char* name, E& value)
    {
        auto ordinal = static_cast<std::uint8_t>(value);
        Ordinal(name, ordinal, QMetaEnum::fromType<E>().keyCount());
        value = static_cast<E>(ordinal);
    }
    /// A reader met a value that its part refuses for `reason` (the part's own message, such as a
    /// malformed template): the stream counts it as damage, the JSON form names the key.
    [[noreturn]] virtual void Refuse(const char* name, const QString& reason)
    {
        (void)name;
        (void)reason;
        throw EZvError(QString::fromLatin1(kErrorReadingFile));
    }
    /// A byte holding one of the ordinals 0 to count - 1. Readers refuse any other value as
    /// damage: nothing downstream has to cope with a value outside its enumeration.
    virtual void Ordinal(const char* name, std::uint8_t& value, int count)
    {
        U8(name, value);
        if (Reading() && value >= count)
            OutOfRange(name);
    }

protected:
    /// A reader met an ordinal outside its enumeration; readers with their own error texts
    /// override it.
    [[noreturn]] virtual void OutOfRange(const char* name)
    {
        (void)name;
        throw EZvError(QString::fromLatin1(kErrorReadingFile));
    }
};

} // namespace zorvel
