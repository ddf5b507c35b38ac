// JSON design reader over arbitrary text.
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
    const QByteArray json(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TZVEditorSettings editor;
    TZVLab label;
    label.SetEditor(&editor);
    try {
        DesignFromJson(label, json);
        // An accepted design must survive the writers.
        (void)DesignToJson(label);
        TZVMemoryStream stream;
        label.SaveToStream(stream);
    } catch (const EZvError&) {
    }
    label.SetEditor(nullptr);
    return 0;
}
