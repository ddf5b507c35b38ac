// Translation and settings files.
#include "foundation/ZVIniFile.h"

#include <cstddef>
#include <cstdint>

using namespace zorvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const TZVIniFile ini = TZVIniFile::fromBytes(QByteArrayView(data, static_cast<qsizetype>(size)));
    (void)ini.isLoaded();
    (void)ini.sectionExists(u"Messages");
    (void)ini.valueExists(u"Messages", u"Title");
    (void)ini.readString(u"Messages", u"Title", QStringLiteral("x"));
    (void)ini.readString(u"captions", u"OK", QString());
    (void)ini.readString(u"", u"", QString());
    return 0;
}
