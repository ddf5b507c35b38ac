// JPEG pictures: decoding to QImage and encoding with a chosen quality, over libjpeg's IJG API.
#pragma once

#include "zorvel_core_export.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

namespace zorvel {

/// Range of EncodeJpeg's quality and the quality used when none is chosen.
/// @{
inline constexpr int kJpegMinQuality = 1;
inline constexpr int kJpegMaxQuality = 100;
inline constexpr int kJpegDefaultQuality = 80;
/// @}

/// Grey pictures come back as Format_Grayscale8; RGB, YCbCr, CMYK and YCCK ones as Format_RGB32.
/// Raises EZvError "INVALID IMAGE : DAMAGED JPEG DATA" for data libjpeg rejects,
/// "INVALID IMAGE : INCOMPLETE JPEG DATA" when it only warned (a cut-off file decodes as grey),
/// "INVALID IMAGE : IMAGE TOO LARGE" above kMaxPicturePixels, checked before any pixel is allocated.
ZORVEL_CORE_EXPORT QImage DecodeJpeg(QByteArrayView data);

/// A Format_Grayscale8 image is written as a grey JPEG, any other as colour; transparent parts
/// come out as white paper. Raises EZvError "INVALID JPEG QUALITY : <q>" outside 1..100 and
/// "INVALID IMAGE : EMPTY IMAGE" for a null image.
ZORVEL_CORE_EXPORT QByteArray EncodeJpeg(const QImage& image, int quality);

} // namespace zorvel
