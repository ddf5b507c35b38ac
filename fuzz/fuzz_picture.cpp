// Picture detection and the BMP and JPEG decoders.
#include "FuzzSupport.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStream.h"
#include "platform/ZVBmp.h"
#include "platform/ZVJpeg.h"
#include "platform/ZVPicture.h"

#include <cstddef>
#include <cstdint>

using namespace zorvel;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnsureGuiApp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView view(data, static_cast<qsizetype>(size));
    try {
        const QImage image = LoadPicture(view);
        (void)OpaqueImage(image, QImage::Format_RGB32);
    } catch (const EZvError&) {
    }
    // Each decoder also on its own, past the detection.
    try {
        (void)DecodeBmp(view);
    } catch (const EZvError&) {
    }
    try {
        (void)DecodeJpeg(view);
    } catch (const EZvError&) {
    }
    try {
        TZVMemoryStream stream(view.toByteArray());
        (void)ReadBmpFromStream(stream);
    } catch (const EZvError&) {
    }
    return 0;
}
