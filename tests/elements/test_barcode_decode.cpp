// Bar code elements of the symbologies libzint encodes, painted into images and read back by an
// independent decoder (ZXing-C++): every type at two resolutions, four angles, with and without
// the quiet zone; the matrix symbols also as a PDF writes them, in module units.
#include "../support/PaintSupport.h"
#include "ElementTestSupport.h"
#include "elements/ZVBarCode.h"
#include "platform/ZVPdfPrinter.h"

#include <QProcess>
#include <QTemporaryDir>

#include <ZXing/ReadBarcode.h>
#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <vector>

using namespace zorvel;
using namespace zorvel::test;

namespace {

// An element string from the decoder's transmitted form: FNC1 separators (GS, 0x1D) after
// variable-length fields, an optional symbology identifier ("]C1", "]d2", "]Q3", "]e0") where the
// leading FNC1 stood. The AI's digit count follows from its first two digits, and so does the data
// length of the predefined-length AIs, which carry no separator (GS1 General Specifications,
// figure 7.8.5-2). Returns nullopt for text that is no element string.
std::optional<std::string> gs1ElementString(std::string raw)
{
    if (raw.size() >= 3 && raw[0] == ']') raw.erase(0, 3);
    if (!raw.empty() && raw[0] == '\x1d') raw.erase(0, 1);
    if (!raw.empty() && raw[0] == '(') return raw; // already bracketed
    const auto aiDigits = [](int prefix) {
        if (prefix >= 23 && prefix <= 25) return 3;
        if (prefix >= 31 && prefix <= 36) return 4;
        if (prefix == 39 || prefix == 43) return 4;
        if (prefix >= 40 && prefix <= 42) return 3;
        if (prefix == 70 || prefix == 72 || (prefix >= 80 && prefix <= 82)) return 4;
        if (prefix == 71) return 3;
        return 2;
    };
    const auto predefinedData = [](int prefix) -> int {
        switch (prefix) {
        case 0: return 18;
        case 1: case 2: case 3: return 14;
        case 4: return 16;
        case 11: case 12: case 13: case 14: case 15: case 16: case 17: case 18: case 19: return 6;
        case 20: return 2;
        case 31: case 32: case 33: case 34: case 35: case 36: return 6;
        case 41: return 13;
        default: return -1;
        }
    };
    std::string out;
    std::size_t i = 0;
    while (i < raw.size()) {
        if (i + 2 > raw.size() || !std::isdigit((unsigned char)raw[i]) || !std::isdigit((unsigned char)raw[i + 1]))
            return std::nullopt;
        const int prefix = std::stoi(raw.substr(i, 2));
        const std::size_t digits = std::size_t(aiDigits(prefix));
        if (i + digits > raw.size()) return std::nullopt;
        out += '(' + raw.substr(i, digits) + ')';
        i += digits;
        const int fixed = predefinedData(prefix);
        std::size_t end = fixed >= 0 ? i + std::size_t(fixed) : raw.find('\x1d', i);
        if (end == std::string::npos) end = raw.size();
        if (end > raw.size()) return std::nullopt;
        out += raw.substr(i, end - i);
        i = end;
        if (i < raw.size() && raw[i] == '\x1d') ++i;
    }
    return out;
}

TEST(Gs1ElementString, FromTheDecodersTransmittedForms)
{
    const struct
    {
        const char* raw;
        const char* expected; // nullptr: no element string
    } cases[] = {
        // A predefined-length AI runs into the next AI without a separator.
        {"0109501101530003172612311" "0AB12", "(01)09501101530003(17)261231(10)AB12"},
        {"]C10109501101530003172612311" "0AB12", "(01)09501101530003(17)261231(10)AB12"},
        {"]d2\x1d" "10AB12\x1d" "17261231", "(10)AB12(17)261231"},
        {"]e00109501101530003", "(01)09501101530003"},
        // Four-digit AI with six data digits, then a three-digit AI.
        {"3103000123" "4101234567890128", "(3103)000123(410)1234567890128"},
        {"(01)09501101530003", "(01)09501101530003"},
        {"01095011015300", nullptr}, // GTIN cut short
        {"AB12", nullptr},
    };
    for (const auto& c : cases) {
        const auto got = gs1ElementString(c.raw);
        if (c.expected)
            EXPECT_EQ(got.value_or("<none>"), c.expected) << c.raw;
        else
            EXPECT_FALSE(got) << c.raw << " -> " << *got;
    }
}

struct DecodeCase
{
    TZVBar type;
    const char* content;
    const char* expected; // what the decoder must return, GS1 as its element string
    ZXing::BarcodeFormat format;
    bool gs1;
};

// Check digits: GTIN-14 09501101530003 (weights 3,1,3... from the right of 0950110153000: 47 -> 3);
// UPC-E 0123456 is UPC-A 01234500006, whose check digit is (0+2+4+0+0+6) x 3 + (1+3+5+0+0) = 45 -> 5.
const DecodeCase kCases[] = {
    {QRCODE, "Zorvel QR: Größe 42 – 5 €", "Zorvel QR: Größe 42 – 5 €", ZXing::BarcodeFormat::QRCode, false},
    {QRCODE, "日本語 € Ω ✓", "日本語 € Ω ✓", ZXing::BarcodeFormat::QRCode, false}, // beyond Windows-1252
    {MICROQR, "ZORVEL-42", "ZORVEL-42", ZXing::BarcodeFormat::MicroQRCode, false},
    {DATAMATRIX, "Zorvel Data Matrix ÄÖÜ", "Zorvel Data Matrix ÄÖÜ", ZXing::BarcodeFormat::DataMatrix, false},
    {GS1DATAMATRIX, "(01)09501101530003(17)261231(10)AB12", "(01)09501101530003(17)261231(10)AB12",
     ZXing::BarcodeFormat::DataMatrix, true},
    {PDF417, "Zorvel PDF417 label 0123456789", "Zorvel PDF417 label 0123456789", ZXing::BarcodeFormat::PDF417,
     false},
    {AZTEC, "Zorvel Aztec 2026", "Zorvel Aztec 2026", ZXing::BarcodeFormat::Aztec, false},
    {CODE128, "Zorvel-128 abc!", "Zorvel-128 abc!", ZXing::BarcodeFormat::Code128, false},
    {GS1128, "(01)09501101530003(10)AB12(17)261231", "(01)09501101530003(10)AB12(17)261231",
     ZXing::BarcodeFormat::Code128, true},
    {ITF14, "0950110153000", "09501101530003", ZXing::BarcodeFormat::ITF, false},
    {DATABAR, "0950110153000", "(01)09501101530003", ZXing::BarcodeFormat::DataBar, true},
    {DATABAREXP, "(01)09501101530003(3103)000123(10)AB12", "(01)09501101530003(3103)000123(10)AB12",
     ZXing::BarcodeFormat::DataBarExpanded, true},
    {CODE93, "ZORVEL-93 TEST", "ZORVEL-93 TEST", ZXing::BarcodeFormat::Code93, false},
    {CODABAR, "A40156B", "A40156B", ZXing::BarcodeFormat::Codabar, false},
    {UPCE, "0123456", "01234565", ZXing::BarcodeFormat::UPCE, false},
};

// The union of everything the element paints, in model units.
TRect paintedBounds(TZVBarCode& barcode)
{
    ModelImage metrics(10, 10, 300); // real font metrics for the number
    TZVRecordingCanvas recorder(&metrics.canvas());
    mapModelUnits(recorder, 300);
    barcode.Paint(recorder, {0, 0}, ptPreviewPage, 0);
    TRect bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    const auto add = [&](int l, int t, int r, int b) {
        bounds = {std::min({bounds.Left, l, r}), std::min({bounds.Top, t, b}), std::max({bounds.Right, l, r}),
                  std::max({bounds.Bottom, t, b})};
    };
    for (const TZVCanvasCall& call : recorder.Calls()) {
        if (call.Op == "FillRects" || call.Op == "FillRect" || call.Op == "Rectangle")
            for (std::size_t i = 0; i + 3 < call.Args.size(); i += 4)
                add(call.Args[i], call.Args[i + 1], call.Args[i + 2], call.Args[i + 3]);
        else if (call.Op == "ExtTextOut") // generous: the text may run either way from its origin
            add(call.Args[0] - 3000, call.Args[1] - 1000, call.Args[0] + 3000, call.Args[1] + 1000);
    }
    return bounds;
}

constexpr int kMarginModel = 500; // 5 mm of white around the symbol for the decoder

// The element painted at `dpi` into an image that shows everything it paints plus a margin:
// white when `surround` is white, else that colour outside the element's own painting.
QImage paintedImage(TZVBarCode& barcode, int dpi, QColor surround)
{
    const TRect b = paintedBounds(barcode);
    const int margin = surround == QColor(Qt::white) ? kMarginModel : 0;
    const int width = b.Right - b.Left + 2 * margin;
    const int height = b.Bottom - b.Top + 2 * margin;
    QImage image(ModelImage::PixelsOf(width, dpi), ModelImage::PixelsOf(height, dpi), QImage::Format_RGB32);
    image.fill(surround);
    {
        TZVQtCanvas canvas(&image);
        mapModelUnits(canvas, dpi);
        barcode.Paint(canvas, {margin - b.Left, margin - b.Top}, ptPreviewPage, 0);
    }
    QImage painted = image.convertToFormat(QImage::Format_Grayscale8);
    if (surround == QColor(Qt::white)) return painted;
    // The quiet zone painted by the element, then a white frame outside it for the decoder only.
    QImage framed(painted.width() + 2 * dpi / 5, painted.height() + 2 * dpi / 5, QImage::Format_Grayscale8);
    framed.fill(Qt::white);
    for (int y = 0; y < painted.height(); ++y)
        std::copy_n(painted.constScanLine(y), painted.width(), framed.scanLine(y + dpi / 5) + dpi / 5);
    return framed;
}

ZXing::Result decode(const QImage& gray, ZXing::BarcodeFormat format)
{
    ZXing::DecodeHints hints;
    hints.setFormats(format);
    hints.setTryHarder(true);
    hints.setTryRotate(true);
    hints.setReturnCodabarStartEnd(true);
    const ZXing::ImageView view(gray.constBits(), gray.width(), gray.height(), ZXing::ImageFormat::Lum,
                                int(gray.bytesPerLine()));
    return ZXing::ReadBarcode(view, hints);
}

class BarcodeDecode : public ElementTest
{
};

TEST_F(BarcodeDecode, EveryTypeAtEveryResolutionAngleAndQuietZone)
{
    for (const DecodeCase& c : kCases) {
        for (const int dpi : {300, 150}) {
            for (const int angle : {0, 90, 180, 270}) {
                for (const bool quietZone : {true, false}) {
                    TZVBarCode barcode(label);
                    barcode.SetCodeType(c.type);
                    barcode.SetBarCode(QString::fromUtf8(c.content));
                    // Modules of whole pixels at both resolutions (2 and 4, 3 and 6): the decoder
                    // loses some grids in between (Aztec at 3.54 pixels a module fails even as a
                    // nearest-neighbour scaling of a clean symbol), and 0.3 mm at 150 dpi is 1.8.
                    barcode.SetBarWidth(TZVBarCode::Is2DType(c.type) ? 0.51f : 0.34f);
                    barcode.SetQuietZone(quietZone);
                    barcode.SetAngle(angle);
                    barcode.SetTransparent(!quietZone);
                    const std::string where = QStringLiteral("%1 %2 dpi, %3 degrees, quiet zone %4")
                                                  .arg(QMetaEnum::fromType<TZVBar>().valueToKey(c.type))
                                                  .arg(dpi)
                                                  .arg(angle)
                                                  .arg(quietZone ? "on" : "off")
                                                  .toStdString();
                    ASSERT_EQ(barcode.EncodingError(), QString()) << where;
                    // With its quiet zone the symbol must read on its own white background even
                    // on a dark surface; without it the decoder gets a white margin.
                    const QImage image = paintedImage(barcode, dpi, quietZone ? QColor(40, 40, 40) : Qt::white);
                    const ZXing::Result result = decode(image, c.format);
                    if (!result.isValid()) {
                        ADD_FAILURE() << where << ": nothing read";
                        continue;
                    }
                    // Angle turns counterclockwise; the decoder measures clockwise.
                    EXPECT_EQ(((result.orientation() + angle) % 360 + 360) % 360, 0)
                        << where << ": read at " << result.orientation() << " degrees";
                    std::string text = result.text();
                    // ZXing gives a DataBar's GTIN-14 without its AI.
                    if (c.format == ZXing::BarcodeFormat::DataBar && text.size() == 14) text = "01" + text;
                    // Read as GS1 data: the symbol starts with FNC1, or is DataBar (always GS1, "]e0").
                    if (c.gs1) {
                        EXPECT_TRUE(result.contentType() == ZXing::ContentType::GS1 ||
                                    result.symbologyIdentifier() == "]e0")
                            << where << ": read as " << result.symbologyIdentifier();
                    }
                    if (c.gs1) text = gs1ElementString(text).value_or("<no element string: " + text + ">");
                    EXPECT_EQ(text, c.expected) << where;
                }
            }
        }
    }
}

// A PDF writes matrix symbols in module units under one transform made from three corners:
// read from the page at every angle, the symbol must be the one painted, turned the same way.
TEST_F(BarcodeDecode, MatrixSymbolsReadFromPdfPagesAtEveryAngle)
{
    QTemporaryDir dir;
    for (const DecodeCase& c : kCases) {
        if (!TZVBarCode::Is2DType(c.type) || c.gs1) continue;
        for (const int angle : {0, 90, 180, 270}) {
            const std::string where = QStringLiteral("%1 at %2 degrees")
                                          .arg(QMetaEnum::fromType<TZVBar>().valueToKey(c.type))
                                          .arg(angle)
                                          .toStdString();
            TZVBarCode barcode(label);
            barcode.SetCodeType(c.type);
            barcode.SetBarCode(QString::fromUtf8(c.content));
            barcode.SetBarWidth(0.51f);
            barcode.SetAngle(angle);
            const QString pdf = dir.filePath(QStringLiteral("symbol.pdf"));
            TZVPdfPrinter printer(pdf);
            printer.BeginDoc(QStringLiteral("symbol"));
            mapModelUnits(printer.Canvas(), printer.DpiX());
            barcode.Paint(printer.Canvas(), {9000, 9000}, ptPrinter, 0);
            printer.EndDoc();
            QProcess raster;
            // 10 to 170 mm across and down: the symbol turns about its anchor at 90 mm.
            raster.start(QStringLiteral("pdftoppm"),
                         {"-r", "300", "-x", "118", "-y", "118", "-W", "1890", "-H", "1890", "-gray", "-png",
                          "-singlefile", pdf, dir.filePath(QStringLiteral("page"))});
            if (!raster.waitForFinished() || raster.exitCode() != 0)
                GTEST_SKIP() << "pdftoppm is not installed";
            const QImage page =
                QImage(dir.filePath(QStringLiteral("page.png"))).convertToFormat(QImage::Format_Grayscale8);
            // The symbol with 5 mm of white around it: the decoder scales a whole page down too far.
            QRect dark;
            for (int y = 0; y < page.height(); ++y) {
                const uchar* row = page.constScanLine(y);
                const uchar* end = row + page.width();
                const auto isDark = [](uchar v) { return v < 128; };
                const uchar* first = std::find_if(row, end, isDark);
                if (first == end) continue;
                const uchar* last =
                    std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(first), isDark)
                        .base();
                dark |= QRect(int(first - row), y, int(last - first), 1);
            }
            const ZXing::Result result = decode(page.copy(dark.adjusted(-60, -60, 60, 60)), c.format);
            ASSERT_TRUE(result.isValid()) << where << ": nothing read";
            EXPECT_EQ(result.text(), c.expected) << where;
            // Fractional module edges on the page: the decoder's angle may be off by a degree.
            EXPECT_LE(std::abs(((result.orientation() + angle) % 360 + 540) % 360 - 180), 1) << where;
        }
    }
}

} // namespace
