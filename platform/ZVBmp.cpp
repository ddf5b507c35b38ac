// BMP reading and writing; every header field is checked against the bytes that are really there.
#include "platform/ZVBmp.h"

#include "foundation/ZVError.h"
#include "foundation/ZVPictureFormat.h"
#include "foundation/ZVStream.h"
#include "platform/ZVPicture.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

namespace zorvel {
namespace {

constexpr qsizetype kFileHeaderSize = 14;
// OS/2 1.x header: 16-bit dimensions, no compression field.
constexpr std::uint32_t kCoreHeaderSize = 12;
// Information header sizes in use: core, Windows 3 (40), with bit masks (52, 56), OS/2 2.x (64),
// Windows 95 (108) and Windows 98 (124).
constexpr std::array<std::uint32_t, 7> kInfoHeaderSizes{kCoreHeaderSize, 40, 52, 56, 64, 108, 124};
// The smallest thing that can be a bitmap: file header plus core header.
constexpr qsizetype kMinBmpSize = kFileHeaderSize + kCoreHeaderSize;

// Run-length coded pixels: a two-byte run paints at most 255 pixels, so a flat page comes out
// at 127.5 pixels a byte; twice that leaves room for the escapes that skip blank stretches.
constexpr std::int64_t kRunPixelsPerByte = 256;

enum Compression : std::uint32_t
{
    biRgb = 0,
    biRle8 = 1,
    biRle4 = 2,
    biBitfields = 3
};

std::uint32_t u16At(QByteArrayView data, qsizetype i)
{
    return static_cast<std::uint8_t>(data[i]) |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(data[i + 1])) << 8;
}

std::uint32_t u32At(QByteArrayView data, qsizetype i)
{
    return u16At(data, i) | u16At(data, i + 2) << 16;
}

bool isBmpSignature(QByteArrayView data)
{
    return data.size() >= 2 && data[0] == 'B' && data[1] == 'M';
}

EZvError damaged()
{
    return InvalidImageError(QStringLiteral("DAMAGED BITMAP"));
}

EZvError tooLarge()
{
    return InvalidImageError(QStringLiteral("IMAGE TOO LARGE"));
}

bool depthFitsCompression(std::uint32_t bits, std::uint32_t compression)
{
    switch (compression) {
    case biRgb:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case biRle8:
        return bits == 8;
    case biRle4:
        return bits == 4;
    case biBitfields:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

// Qt's reader refuses images above its allocation limit (in MB, 0 = none); saying so here gives
// the right message instead of a "damaged" one.
bool exceedsQtReaderLimit(std::int64_t pixels)
{
    const std::int64_t limitMb = QImageReader::allocationLimit();
    constexpr std::int64_t kBytesPerPixel = 4; // Qt decodes deep bitmaps to 32 bits a pixel
    return limitMb > 0 && pixels * kBytesPerPixel > limitMb * 1024 * 1024;
}

// Checks the headers against each other and against the data; Qt decodes only after this.
void checkHeaders(QByteArrayView data)
{
    if (!isBmpSignature(data)) throw InvalidImageError(QStringLiteral("NOT A BITMAP"));
    if (data.size() < kFileHeaderSize + 4) throw damaged();
    const std::uint32_t infoSize = u32At(data, 14);
    if (std::find(kInfoHeaderSizes.begin(), kInfoHeaderSizes.end(), infoSize) == kInfoHeaderSizes.end() ||
        kFileHeaderSize + qsizetype{infoSize} > data.size())
        throw damaged();

    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = biRgb;
    if (infoSize == kCoreHeaderSize) {
        width = u16At(data, 18);
        height = u16At(data, 20);
        planes = u16At(data, 22);
        bits = u16At(data, 24);
    } else {
        width = static_cast<std::int32_t>(u32At(data, 18));
        height = static_cast<std::int32_t>(u32At(data, 22)); // negative: rows top-down
        planes = u16At(data, 26);
        bits = u16At(data, 28);
        compression = u32At(data, 30);
    }
    height = std::abs(height);
    if (width <= 0 || height == 0 || planes != 1 || !depthFitsCompression(bits, compression)) throw damaged();
    const std::int64_t pixels = width * height;
    if (pixels > kMaxPicturePixels || exceedsQtReaderLimit(pixels)) throw tooLarge();

    const std::int64_t pixelOffset = u32At(data, 10);
    if (pixelOffset < kFileHeaderSize + std::int64_t{infoSize} || pixelOffset > data.size()) throw damaged();
    if (compression == biRgb || compression == biBitfields) {
        const std::int64_t rowBytes = (width * bits + 31) / 32 * 4; // rows padded to 32 bits
        if (rowBytes * height > data.size() - pixelOffset) throw damaged();
    } else if (!PictureFitsData(width, height, data.size() - pixelOffset, kRunPixelsPerByte)) {
        throw tooLarge();
    }
}

// Delimits the bitmap at the stream's position without moving it.
QByteArrayView bitmapAt(const TZVMemoryStream& stream)
{
    const QByteArrayView rest = QByteArrayView(stream.Bytes()).sliced(stream.Position());
    if (rest.size() < kFileHeaderSize || !isBmpSignature(rest))
        throw EZvError(QString::fromLatin1(kErrorReadingFile));
    const std::uint32_t size = u32At(rest, 2);
    if (size < kMinBmpSize || size > rest.size()) throw EZvError(QString::fromLatin1(kErrorReadingFile));
    return rest.first(size);
}

} // namespace

QImage DecodeBmp(QByteArrayView data)
{
    checkHeaders(data);
    QImage image;
    if (!image.loadFromData(data, "BMP") || image.isNull()) throw damaged();
    return image;
}

QByteArray EncodeBmp(const QImage& image)
{
    if (image.isNull()) throw InvalidImageError(QStringLiteral("EMPTY IMAGE"));
    // Qt writes 32-bit images as 24-bit bitmaps.
    const QImage opaque = OpaqueImage(image, QImage::Format_RGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!opaque.save(&buffer, "BMP")) throw InvalidImageError(QStringLiteral("BITMAP ENCODING FAILED"));
    return bytes;
}

QImage ReadBmpFromStream(TZVMemoryStream& stream)
{
    const QByteArrayView bitmap = bitmapAt(stream);
    // The view stays valid: skipping moves the position, not the bytes.
    stream.Skip(bitmap.size());
    return DecodeBmp(bitmap);
}

void SkipBmpInStream(TZVMemoryStream& stream)
{
    stream.Skip(bitmapAt(stream).size());
}

void WriteBmpToStream(const QImage& image, TZVMemoryStream& stream)
{
    const QByteArray bytes = EncodeBmp(image);
    stream.Write(bytes.constData(), bytes.size());
}

} // namespace zorvel
