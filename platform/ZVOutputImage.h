// The pictures the library paints output on (PNG pages, bar code pictures, saved preview pages),
// bounded so that a huge stored paper cannot ask for gigabytes.
#pragma once

#include "zorvel_core_export.h"

#include <QImage>

#include <cstdint>

namespace zorvel {

/// The most an output picture may take: 150 megapixels (600 MB at 32 bits a pixel), enough for
/// an A4 sheet at 1200 dpi.
inline constexpr std::int64_t kMaxOutputPixels = 150'000'000;

/// A white picture of `width` x `height` pixels to paint on. Raises EZvError
/// "IMAGE TOO LARGE : W x H PIXELS" when it is empty, beyond kMaxOutputPixels or cannot be had.
ZORVEL_CORE_EXPORT QImage NewOutputImage(std::int64_t width, std::int64_t height, QImage::Format format);

} // namespace zorvel
