// The field visitors that write and read the label stream's little-endian records.
#pragma once

#include "document/ZVFieldVisitor.h"
#include "zorvel_core_export.h"

namespace zorvel {

class TZVMemoryStream;
class TZVCustomLab;

/// The layout whose bar code records carry the symbology options; a design is written in it only
/// when one of its bar codes needs it, older designs keep kStreamVersion byte for byte.
inline constexpr std::int32_t kBarCodeOptionsVersion = 2800;
/// The layout whose bar code records keep their content as a wide string, written only when a
/// content goes beyond Windows-1252 (QR Code in Japanese, say); 2800 designs keep their bytes.
inline constexpr std::int32_t kWideBarCodeVersion = 2900;
/// The layout that adds content from data: element templates, the design's counters and its
/// quantity field; written only by designs that use one of them.
inline constexpr std::int32_t kContentVersion = 3000;
/// The layout whose header keeps the label's AutoLength flag, written only by designs that set it.
inline constexpr std::int32_t kAutoLengthVersion = 3100;
/// The newest layout this library reads and writes.
inline constexpr std::int32_t kNewestStreamVersion = kAutoLengthVersion;

/// The oldest layout that holds every element of `label`.
std::int32_t StreamVersionFor(const TZVCustomLab& label);

/// Writes the current layout at the stream's position.
class ZORVEL_CORE_EXPORT TZVStreamWriter final : public TZVFieldVisitor
{
public:
    /// Writes to `stream` (not owned, must outlive the writer) the layout of `version`.
    explicit TZVStreamWriter(TZVMemoryStream& stream, std::int32_t version = kStreamVersion)
        : m_stream(stream), m_version(version)
    {
    }

    std::int32_t Version() const override { return m_version; }
    bool Reading() const override { return false; }

    void U8(const char* name, std::uint8_t& value) override;
    void Bool(const char* name, bool& value) override;
    void U16(const char* name, std::uint16_t& value) override;
    void I32(const char* name, std::int32_t& value) override;
    void Color(const char* name, TZVColor& value) override;
    void WStr(const char* name, QString& value, bool ansi = false) override;
    void AStr(const char* name, QString& value) override;
    void Picture(const char* name, QImage& picture, bool& present) override;
    void Records(const char* name, int count, const std::function<void(int)>& resize,
                 const std::function<void(int)>& item, int minRecordBytes = 1) override;

private:
    TZVMemoryStream& m_stream;
    std::int32_t m_version;
};

/// Reads the layout of `version` from the stream's position. Every failure (a short stream, a
/// string or a count longer than the rest, a bitmap that cannot be delimited) raises EZvError
/// "ERROR READING FILE"; wide strings follow the process-wide LegacyStream flag.
class ZORVEL_CORE_EXPORT TZVStreamReader final : public TZVFieldVisitor
{
public:
    /// Reads from `stream` (not owned) the layout of `version`.
    TZVStreamReader(TZVMemoryStream& stream, std::int32_t version) : m_stream(stream), m_version(version) {}

    std::int32_t Version() const override { return m_version; }
    bool Reading() const override { return true; }

    void U8(const char* name, std::uint8_t& value) override;
    void Bool(const char* name, bool& value) override;
    void U16(const char* name, std::uint16_t& value) override;
    void I32(const char* name, std::int32_t& value) override;
    void Color(const char* name, TZVColor& value) override;
    void WStr(const char* name, QString& value, bool ansi = false) override;
    void AStr(const char* name, QString& value) override;
    void Picture(const char* name, QImage& picture, bool& present) override;
    void Records(const char* name, int count, const std::function<void(int)>& resize,
                 const std::function<void(int)>& item, int minRecordBytes = 1) override;

private:
    TZVMemoryStream& m_stream;
    std::int32_t m_version;
};

} // namespace zorvel
