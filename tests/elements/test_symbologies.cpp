// The symbology table against the symbologies: one row per type, and each row's facts are what
// its encoder does with a sample.
#include "elements/ZVSymbologies.h"
#include "elements/ZVZintSymbol.h"
#include "foundation/ZVBarcode.h"

#include <gtest/gtest.h>

#include <QMetaEnum>

using namespace zorvel;

namespace {

// A content each symbology takes, in TZVBar order.
const char* const kSamples[] = {
    "590123412345", "9638507", "03600029145", "ZORVEL", "ZORVEL", "Zorvel", "1234",
    "Zorvel 42", "12345", "Zorvel 42", "(01)09501101530003", "Zorvel 42", "Zorvel 42", "Zorvel-128",
    "(01)09501101530003(17)261231", "0950110153000", "0950110153000", "(01)09501101530003(10)AB12", "ZORVEL 93",
    "A40156B", "0123456",
};

TEST(Symbologies, OneRowPerTypeUnderItsName)
{
    const QMetaEnum types = QMetaEnum::fromType<TZVBar>();
    ASSERT_EQ(Symbologies().size(), std::size_t(types.keyCount()));
    ASSERT_EQ(std::size(kSamples), Symbologies().size());
    for (const TZVSymbology& kind : Symbologies())
        EXPECT_STREQ(kind.Name, types.valueToKey(kind.Type));
}

TEST(Symbologies, EncodersAgreeWithTheRows)
{
    for (const TZVSymbology& kind : Symbologies()) {
        SCOPED_TRACE(kind.Name);
        const QString sample = QString::fromLatin1(kSamples[kind.Type]);
        if (kind.ZintId == 0) {
            EXPECT_TRUE(IsValidBarCode(sample, kind.Type, true));
            continue;
        }
        const TZVZintSymbol symbol = EncodeZintSymbol(sample, {kind.Type});
        ASSERT_TRUE(symbol.Valid()) << symbol.Error.toStdString();
        EXPECT_EQ(symbol.Rows > 1, kind.Is2D);
        EXPECT_EQ(symbol.QuietX, kind.QuietX);
        // GS1 rows refuse text without AIs; UTF-8 rows keep text beyond Latin-1.
        const TZVZintSymbol plain = EncodeZintSymbol(QStringLiteral("ZORVEL"), {kind.Type});
        if (kind.Input == TZVSymbolInput::Gs1) EXPECT_FALSE(plain.Valid());
        if (kind.Input == TZVSymbolInput::Utf8)
            EXPECT_TRUE(EncodeZintSymbol(QStringLiteral("Größe € ✓"), {kind.Type}).Valid());
        // The largest size a row allows is honoured, one beyond refused.
        if (kind.Size.Taken()) {
            EXPECT_TRUE(EncodeZintSymbol(sample, {kind.Type, 0, kind.Size.Max}).Valid());
            EXPECT_FALSE(ZintOptionError({kind.Type, 0, kind.Size.Max + 1}).isEmpty());
        }
    }
}

} // namespace
