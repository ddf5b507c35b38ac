// The pictures the library paints output on (PNG pages, bar code pictures, saved preview pages),
// bounded so that a huge stored paper cannot ask for gigabytes.
#pragma once

#include <QImage>

#include <cstdint>

namespace zorvel {

/// 20000 x 20000 pixels, 1.6 GB at 32 bits a pixel: the most an output picture may take.
inline constexpr std::int64_t kMaxOutputPixels = std::int64_t(20000) * 20000;

/// A white picture of `width` x `height` pixels to paint on. Raises EZvError
/// "IMAGE TOO LARGE : W x H PIXELS" when it is empty, beyond kMaxOutputPixels or cannot be had.
QImage NewOutputImage(std::int64_t width, std::int64_t height, QImage::Format format);

} // namespace zorvel
