// Picture loading: format detection, then libjpeg, the BMP reader or Qt's icon reader.
#include "platform/ZVPicture.h"

#include "foundation/ZVError.h"
#include "foundation/ZVPictureFormat.h"
#include "platform/ZVBmp.h"
#include "platform/ZVJpeg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <array>
#include <cstdint>

namespace zorvel {
namespace {

QStringList& pictureBaseFolders()
{
    static QStringList folders;
    return folders;
}

constexpr std::array<QLatin1StringView, 8> kPictureExtensions{
    QLatin1StringView("bmp"), QLatin1StringView("dib"), QLatin1StringView("jpg"), QLatin1StringView("jpeg"),
    QLatin1StringView("jpe"), QLatin1StringView("ico"), QLatin1StringView("wmf"), QLatin1StringView("emf")};

std::uint32_t bytesAt(QByteArrayView data, qsizetype at, int count, bool bigEndian)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        const auto byte = static_cast<std::uint8_t>(data[at + (bigEndian ? i : count - 1 - i)]);
        value = value << 8 | byte;
    }
    return value;
}

// An icon directory gives each side one byte (0 standing for 256), so icons need no ratio of
// pixels to bytes: Qt sizes bitmap entries from the directory. An entry stored as PNG is sized
// by its own header instead, where a few bytes can declare a huge picture; it is held to 256 too.
bool iconEntriesFitTheDirectory(QByteArrayView data)
{
    constexpr qsizetype kDirectorySize = 6;
    constexpr qsizetype kEntrySize = 16;
    constexpr std::uint32_t kLargestSide = 256;
    static constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
    constexpr qsizetype kPngSideAt = 16; // after the signature, the IHDR length and its name
    const qsizetype count = bytesAt(data, 4, 2, false);
    for (qsizetype i = 0; i < count && kDirectorySize + (i + 1) * kEntrySize <= data.size(); ++i) {
        const qsizetype offset = bytesAt(data, kDirectorySize + i * kEntrySize + 12, 4, false);
        if (offset > data.size() - kPngSideAt - 8) continue;
        if (data.sliced(offset, 8) != QByteArrayView(kPngSignature, 8)) continue;
        if (bytesAt(data, offset + kPngSideAt, 4, true) > kLargestSide ||
            bytesAt(data, offset + kPngSideAt + 4, 4, true) > kLargestSide)
            return false;
    }
    return true;
}

QImage decodeIcon(QByteArrayView data)
{
    if (!iconEntriesFitTheDirectory(data)) throw InvalidImageError(QStringLiteral("IMAGE TOO LARGE"));
    QImage image;
    if (!image.loadFromData(data, "ICO") || image.isNull())
        throw InvalidImageError(QStringLiteral("DAMAGED ICON"));
    return image;
}

} // namespace

QImage LoadPicture(QByteArrayView data)
{
    switch (DetectPictureFormat(data)) {
    case TZVPictureFormat::Bitmap:
        return DecodeBmp(data);
    case TZVPictureFormat::Jpeg:
        return DecodeJpeg(data);
    case TZVPictureFormat::Icon:
        return decodeIcon(data);
    case TZVPictureFormat::Unknown:
        throw InvalidImageError(QStringLiteral("UNKNOWN FORMAT"));
    case TZVPictureFormat::Metafile:
    case TZVPictureFormat::Tiff:
    case TZVPictureFormat::Png:
    case TZVPictureFormat::Gif:
        break;
    }
    throw InvalidImageError(QStringLiteral("UNSUPPORTED FORMAT"));
}

QImage LoadPictureFile(const QString& path)
{
    const QString local = LocalPicturePath(path);
    if (!IsPictureFileName(local)) throw InvalidImageError(path);
    QFile file(local);
    // The size is checked before reading, so a huge file is never pulled into memory.
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPictureFileBytes) throw InvalidImageError(path);
    const QByteArray bytes = file.readAll();
    try {
        return LoadPicture(bytes);
    } catch (const EZvError&) {
        throw InvalidImageError(path);
    }
}

QString LocalPicturePath(const QString& path)
{
    QString local = path;
    local.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (local.isEmpty() || QDir::isAbsolutePath(local) || QFileInfo::exists(local)) return local;
    for (const QString& base : std::as_const(pictureBaseFolders())) {
        const QString candidate = QDir::cleanPath(QDir(base).absoluteFilePath(local));
        if (QFileInfo::exists(candidate)) return candidate;
    }
    return local;
}

void SetPictureBaseFolders(const QStringList& folders)
{
    pictureBaseFolders() = folders;
}

QStringList PictureBaseFolders()
{
    return pictureBaseFolders();
}

bool IsPictureFileName(const QString& path)
{
    const QString suffix = QFileInfo(LocalPicturePath(path)).suffix();
    return std::any_of(kPictureExtensions.begin(), kPictureExtensions.end(),
                       [&](QLatin1StringView ext) { return suffix.compare(ext, Qt::CaseInsensitive) == 0; });
}

QImage OpaqueImage(const QImage& image, QImage::Format format)
{
    if (!image.hasAlphaChannel()) return image.convertToFormat(format);
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.setDotsPerMeterX(image.dotsPerMeterX());
    opaque.setDotsPerMeterY(image.dotsPerMeterY());
    opaque.fill(Qt::white);
    {
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    return opaque.convertToFormat(format);
}

} // namespace zorvel
