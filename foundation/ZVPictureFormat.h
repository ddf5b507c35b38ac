// Picture formats recognised from the first bytes of picture data, and the limits shared by decoders.
#pragma once

#include "foundation/ZVError.h"
#include "zorvel_core_export.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace zorvel {

/// A picture's data format, from its signature.
enum class TZVPictureFormat : std::uint8_t
{
    Unknown,
    Bitmap,
    Jpeg,
    Metafile,
    Icon,
    Tiff,
    Png,
    Gif
};

/// Every picture failure reads "INVALID IMAGE : " followed by a reason, or by the file name
/// where the file is known.
inline constexpr const char* kInvalidImage = "INVALID IMAGE : ";

/// The EZvError for an unusable picture: "INVALID IMAGE : " + `what`.
inline EZvError InvalidImageError(const QString& what)
{
    return EZvError(QString::fromLatin1(kInvalidImage) + what);
}

/// Shorter data is never recognised, whatever it starts with.
inline constexpr qsizetype kPictureHeaderSize = 44;

/// Largest picture any decoder accepts: 100 megapixels, 400 MB as 32-bit pixels.
inline constexpr std::int64_t kMaxPicturePixels = 100'000'000;

/// Whether a picture of `width` x `height` pixels is within kMaxPicturePixels and within what
/// `dataBytes` bytes can describe in a format that packs at most `pixelsPerByte` pixels into a
/// byte. Decoders ask before they allocate, so that a small file declaring a huge picture costs
/// nothing. Sizes of 0 or less fit (decoders refuse them for what they are).
bool PictureFitsData(std::int64_t width, std::int64_t height, std::int64_t dataBytes, std::int64_t pixelsPerByte);

/// The first matching signature wins, in the order bitmap, JPEG, metafile, icon, TIFF, PNG, GIF.
ZORVEL_CORE_EXPORT TZVPictureFormat DetectPictureFormat(QByteArrayView data);

/// Whether a picture of this format is meant to be drawn (metafiles are, even though this
/// platform cannot render them: their loading fails and the caller takes its failure path).
ZORVEL_CORE_EXPORT bool IsDrawablePictureFormat(TZVPictureFormat format);

} // namespace zorvel
