// Picture formats recognised from the first bytes of picture data, and the limits shared by decoders.
#pragma once

#include "foundation/ZVError.h"

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

/// The first matching signature wins, in the order bitmap, JPEG, metafile, icon, TIFF, PNG, GIF.
TZVPictureFormat DetectPictureFormat(QByteArrayView data);

/// Whether a picture of this format is meant to be drawn (metafiles are, even though this
/// platform cannot render them: their loading fails and the caller takes its failure path).
bool IsDrawablePictureFormat(TZVPictureFormat format);

} // namespace zorvel
