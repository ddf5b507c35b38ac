// Output pictures of bounded size.
#include "platform/ZVOutputImage.h"

#include "foundation/ZVError.h"

namespace zorvel {

QImage NewOutputImage(std::int64_t width, std::int64_t height, QImage::Format format)
{
    const auto tooLarge = [&] {
        return EZvError(QStringLiteral("IMAGE TOO LARGE : %1 x %2 PIXELS").arg(width).arg(height));
    };
    // Each side is checked on its own first: their product could pass the bound by overflowing.
    if (width <= 0 || height <= 0 || width > kMaxOutputPixels || height > kMaxOutputPixels
        || width * height > kMaxOutputPixels)
        throw tooLarge();
    QImage image(int(width), int(height), format);
    if (image.isNull()) throw tooLarge();
    image.fill(Qt::white);
    return image;
}

} // namespace zorvel
