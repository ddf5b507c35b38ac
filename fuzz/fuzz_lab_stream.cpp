// Label stream reader over arbitrary bytes.
#include "FuzzSupport.h"
#include "document/ZVCustomLab.h"
#include "document/ZVDesignJson.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStream.h"

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
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TZVEditorSettings editor;
    TZVLab label;
    label.SetEditor(&editor);
    label.SetOnlyBitmap(true);
    try {
        TZVMemoryStream stream(bytes);
        label.LoadFromStream(stream);
        // Whatever the reader accepted must also be writable.
        (void)DesignToJson(label);
    } catch (const EZvError&) {
    }
    label.SetEditor(nullptr);
    return 0;
}
