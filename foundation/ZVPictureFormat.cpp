// Picture format detection from the leading bytes.
#include "foundation/ZVPictureFormat.h"

#include <algorithm>
#include <initializer_list>

namespace zorvel {
namespace {

std::uint8_t byteAt(QByteArrayView data, qsizetype i)
{
    return static_cast<std::uint8_t>(data[i]);
}

std::uint16_t u16At(QByteArrayView data, qsizetype i)
{
    return static_cast<std::uint16_t>(byteAt(data, i) | byteAt(data, i + 1) << 8);
}

std::uint32_t u32At(QByteArrayView data, qsizetype i)
{
    return u16At(data, i) | std::uint32_t{u16At(data, i + 2)} << 16;
}

bool startsWith(QByteArrayView data, qsizetype at, std::initializer_list<std::uint8_t> bytes)
{
    for (const std::uint8_t b : bytes) {
        if (byteAt(data, at++) != b) return false;
    }
    return true;
}

} // namespace

TZVPictureFormat DetectPictureFormat(QByteArrayView data)
{
    if (data.size() < kPictureHeaderSize) return TZVPictureFormat::Unknown;
    if (startsWith(data, 0, {'B', 'M'})) return TZVPictureFormat::Bitmap;
    if (startsWith(data, 0, {0xFF, 0xD8})) return TZVPictureFormat::Jpeg;
    // Placeable WMF key, or an EMF header record (type 1) with its signature at offset 40.
    if (startsWith(data, 0, {0xD7, 0xCD, 0xC6, 0x9A}) ||
        (u32At(data, 0) == 1 && startsWith(data, 40, {' ', 'E', 'M', 'F'})))
        return TZVPictureFormat::Metafile;
    if (u16At(data, 2) == 1) return TZVPictureFormat::Icon;
    if (startsWith(data, 0, {'I', 'I', 42}) || startsWith(data, 0, {'M', 'M', 0, 42}))
        return TZVPictureFormat::Tiff;
    if (startsWith(data, 0, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return TZVPictureFormat::Png;
    if (startsWith(data, 0, {'G', 'I', 'F'})) return TZVPictureFormat::Gif;
    return TZVPictureFormat::Unknown;
}

bool PictureFitsData(std::int64_t width, std::int64_t height, std::int64_t dataBytes, std::int64_t pixelsPerByte)
{
    if (width <= 0 || height <= 0) return true;
    // Either side alone past the cap also keeps the product below 2^63.
    if (width > kMaxPicturePixels || height > kMaxPicturePixels) return false;
    const std::int64_t pixels = width * height;
    return pixels <= kMaxPicturePixels && pixels <= std::max<std::int64_t>(dataBytes, 0) * pixelsPerByte;
}

bool IsDrawablePictureFormat(TZVPictureFormat format)
{
    switch (format) {
    case TZVPictureFormat::Bitmap:
    case TZVPictureFormat::Jpeg:
    case TZVPictureFormat::Metafile:
    case TZVPictureFormat::Icon:
        return true;
    case TZVPictureFormat::Unknown:
    case TZVPictureFormat::Tiff:
    case TZVPictureFormat::Png:
    case TZVPictureFormat::Gif:
        return false;
    }
    return false;
}

} // namespace zorvel
