// QR Code symbols take the mask libzint itself would choose, on every layout the versions bring.
#include "elements/ZVZintSymbol.h"

#include <gtest/gtest.h>
#include <zint.h>

#include <memory>

using namespace zorvel;

namespace {

// libzint's own symbol, mask chosen by it, as rows of 0/1.
std::vector<std::uint8_t> zintChosen(const QByteArray& content, int eccLevel, int& size)
{
    const std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)> symbol(ZBarcode_Create(), &ZBarcode_Delete);
    symbol->symbology = BARCODE_QRCODE;
    symbol->input_mode = UNICODE_MODE;
    symbol->option_1 = eccLevel;
    if (ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(content.constData()), int(content.size())) >=
        ZINT_ERROR)
        return {};
    size = symbol->width;
    std::vector<std::uint8_t> modules;
    for (int row = 0; row < symbol->rows; ++row)
        for (int column = 0; column < symbol->width; ++column)
            modules.push_back((symbol->encoded_data[row][column >> 3] >> (column & 7)) & 1);
    return modules;
}

} // namespace

TEST(QrMask, EveryLayoutAndLevelGetsTheSymbolLibzintChoosesItself)
{
    struct Case
    {
        const char* name;
        QByteArray unit; // repeated `repeats` times, then a serial number
        int repeats;
        int ecc; // 1 = L ... 4 = H
        int size; // alignment patterns from 25 modules, version information from 45
    };
    // Sizes as libzint makes them: they show which layout each row reaches.
    const Case cases[] = {
        {"version 1", "A", 1, 1, 21},
        {"the benchmark's URL", "https://zorvel.example/item/000000007919", 1, 2, 29},
        {"version information", "0123456789", 20, 3, 45},
        {"six alignment rows", "Zorvel label ", 60, 4, 141},
        {"version 32's uneven spacing", "12345678", 565, 1, 145},
        {"version 40", "0123456789", 300, 4, 177},
    };
    for (const Case& c : cases)
        for (int serial = 0; serial < 8; ++serial) {
            SCOPED_TRACE(testing::Message() << c.name << ", serial " << serial);
            const QByteArray content = c.unit.repeated(c.repeats) + QByteArray::number(serial);
            int size = 0;
            const std::vector<std::uint8_t> expected = zintChosen(content, c.ecc, size);
            EXPECT_EQ(size, c.size);
            const TZVZintSymbol symbol = EncodeZintSymbol(QString::fromUtf8(content), {QRCODE, c.ecc, 0, false, 0});
            ASSERT_TRUE(symbol.Valid()) << qPrintable(symbol.Error);
            EXPECT_EQ(symbol.Columns, size);
            EXPECT_TRUE(symbol.Dark == expected);
        }
}
