// Bar codes on label printers: the printer's own commands with the module in whole dots, modules
// of whole dots on raster outputs, and ZPL rendered back by an independent renderer and decoder.
#include "ZplTestSupport.h"

#include "elements/ZVBarCode.h"
#include "platform/ZVZplCanvas.h"
#include "tests/support/PaintSupport.h"

#include <QProcess>

#include <ZXing/ReadBarcode.h>


using namespace zorvel;
using namespace zorvel::test;

namespace {

struct NativeCase
{
    TZVBar type;
    const char* content;
    float module; // mm
    int angle;
    const char* command; // nullptr: no printer command, a graphic
    const char* data;
};

// 0.25 mm is 2 dots at 203 dpi, 0.5 mm 4 dots; 50 mm 400 dots, and 10 modules of quiet zone. Code 128 data: >: start B, >; start C, >8 FNC1,
// >6 code B, >0 a ">", >< a "^" character.
const NativeCase kNative[] = {
    {EAN13, "590123412345", 0.25f, 0, "^BY2,2.0,", "^BEN,"},
    {EAN13, "590123412345", 0.25f, 0, "^FD590123412345^FS", nullptr},
    {EAN8, "9638507", 0.25f, 0, "^B8N,", "^FD9638507^FS"},
    {UPCA, "03600029145", 0.25f, 0, "^BUN,", "^FD03600029145^FS"},
    {CODE39, "ZORVEL-39", 0.25f, 0, "^B3N,N,", "^FDZORVEL-39^FS"},
    {EAN128B, "A^b>1_", 0.25f, 0, "^FH_", "^FD>:>8A><b>01_5F^FS"},
    {EAN128C, "123456", 0.25f, 0, "^BCN,", "^FD>;>8123456^FS"},
    {CODE128, "Zorvel-128", 0.25f, 0, "^FO420,400^BY2,", "^FD>:Zorvel-128^FS"},
    {CODE128, "Zorvel-128", 0.25f, 90, "^BCB,", "^FD>:Zorvel-128^FS"},
    {CODE128, "Zorvel-128", 0.25f, 180, "^BCI,", nullptr},
    {CODE128, "Zorvel-128", 0.25f, 270, "^BCR,", nullptr},
    {GS1128, "(01)09501101530003(10)AB12", 0.25f, 0, "^BCN,", "^FD>;>8010950110153000310>6AB12^FS"},
    {CODE93, "ZORVEL-93", 0.25f, 0, "^BAN,", "^FDZORVEL-93^FS"},
    {CODABAR, "A40156B", 0.25f, 0, ",A,B^FD40156^FS", nullptr},
    {ITF14, "0950110153000", 0.25f, 0, "^B2N,", "^FD09501101530003^FS"},
    {UPCE, "0123456", 0.25f, 0, "^B9N,", "^FD0123456^FS"},
    {DATABAR, "0950110153000", 0.25f, 0, "^BRN,1,2,", "^FD0950110153000^FS"},
    // Zebra printers drop a QR Code 10 dots below its field origin.
    {QRCODE, "Zorvel_QR", 0.5f, 0, "^FO416,406^BQN,2,4^FH_", "^FDLA,Zorvel_5FQR^FS"},
    {QRCODE, "Zorvel QR", 0.5f, 90, nullptr, nullptr}, // ^BQ has no turn
    {DATAMATRIX, "Zorvel DM", 0.5f, 0, "^BXN,4,200", "^FDZorvel DM^FS"},
    {AZTEC, "Zorvel", 0.5f, 0, "^BON,4,N,0", "^FDZorvel^FS"},
    {PDF417, "Zorvel", 0.25f, 0, "^B7N,", "^FDZorvel^FS"},
    {MICROQR, "ZORVEL", 0.5f, 0, nullptr, nullptr},
};

TEST(ZplBarcodes, PrinterCommandsWithWholeDotModules)
{
    ensureGuiApplication();
    for (const NativeCase& c : kNative) {
        const std::string where = std::string(QMetaEnum::fromType<TZVBar>().valueToKey(c.type)) + " " + c.content +
                                  " at " + std::to_string(c.angle);
        TZVLab label;
        TZVBarCode barcode(label);
        barcode.SetCodeType(c.type);
        barcode.SetBarCode(QString::fromUtf8(c.content));
        barcode.SetChecksum(c.type == EAN13 || c.type == EAN8 || c.type == UPCA);
        barcode.SetBarWidth(c.module);
        barcode.SetAngle(c.angle);
        barcode.SetShowNumber(false);
        barcode.SetX1(50.f);
        barcode.SetY1(50.f);
        TZVZplCanvas canvas({800, 800}, 203);
        mapModelUnits(canvas, 203);
        barcode.Paint(canvas, {0, 0}, ptPrinter, 0);
        const QByteArray zpl = canvas.Commands();
        if (!c.command) {
            EXPECT_FALSE(QRegularExpression(QStringLiteral(R"(\^B[0-9A-Z])")).match(QString::fromLatin1(zpl)).hasMatch())
                << where << "\n" << zpl.toStdString();
            EXPECT_TRUE(zpl.contains("^GFA,")) << where;
            continue;
        }
        EXPECT_TRUE(zpl.contains(c.command)) << where << "\n" << zpl.toStdString();
        if (c.data) {
            EXPECT_TRUE(zpl.contains(c.data)) << where << "\n" << zpl.toStdString();
        }
        EXPECT_FALSE(zpl.contains("^GFA,")) << where << ": the printer draws the modules";
    }
}

// Modules of whole dots on raster outputs: every bar and space of a Code 128 is 1 to 4 narrow
// modules of round(mm x dpi / 25.4) dots.
TEST(ZplBarcodes, WholeDotModulesOnRasterCanvases)
{
    ensureGuiApplication();
    for (const int dpi : {203, 300, 600})
        for (const float mm : {0.25f, 0.3f, 0.33f, 0.42f}) {
            const int narrow = int(std::lround(mm * dpi / 25.4));
            TZVLab label;
            TZVBarCode barcode(label);
            barcode.SetCodeType(EAN128B);
            barcode.SetBarCode(QStringLiteral("Zorvel 42"));
            barcode.SetBarWidth(mm);
            barcode.SetShowNumber(false);
            barcode.SetX1(3.33f);
            barcode.SetY1(1.f);
            QImage image(dpi * 2, dpi / 2, QImage::Format_RGB32);
            image.fill(Qt::white);
            {
                TZVQtCanvas canvas(&image);
                canvas.SetWholeDotModules(true);
                mapModelUnits(canvas, dpi);
                barcode.Paint(canvas, {0, 0}, ptPrinter, 0);
            }
            const int y = image.height() / 2;
            std::vector<int> runs;
            int x = 0;
            while (x < image.width() && qGray(image.pixel(x, y)) >= 128)
                ++x;
            // Bars and spaces up to the last bar.
            int last = image.width() - 1;
            while (last > x && qGray(image.pixel(last, y)) >= 128)
                --last;
            for (int run = 1; x <= last; ++x, ++run)
                if (x == last || (qGray(image.pixel(x, y)) < 128) != (qGray(image.pixel(x + 1, y)) < 128)) {
                    runs.push_back(run);
                    run = 0;
                }
            ASSERT_FALSE(runs.empty());
            for (const int run : runs)
                EXPECT_TRUE(run % narrow == 0 && run / narrow >= 1 && run / narrow <= 4)
                    << dpi << " dpi, " << mm << " mm: a run of " << run << " dots, module " << narrow;
        }
}

ZXing::Results decodeAll(const QImage& picture, ZXing::BarcodeFormats formats = {})
{
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    ZXing::DecodeHints hints;
    hints.setFormats(formats);
    hints.setTryHarder(true);
    const ZXing::ImageView view(gray.constBits(), gray.width(), gray.height(), ZXing::ImageFormat::Lum,
                                int(gray.bytesPerLine()));
    return ZXing::ReadBarcodes(view, hints);
}

// An Aztec symbol of 0.3 mm modules at 300 dpi (3.54 dots unrounded) reads once its modules are
// whole dots.
TEST(ZplBarcodes, AztecAtThreeHundredDpiReads)
{
    ensureGuiApplication();
    TZVLab label;
    TZVBarCode barcode(label);
    barcode.SetCodeType(AZTEC);
    barcode.SetBarCode(QStringLiteral("Zorvel Aztec 2026"));
    barcode.SetBarWidth(0.3f);
    barcode.SetX1(2.f);
    barcode.SetY1(2.f);
    QImage image(120, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TZVQtCanvas canvas(&image);
        canvas.SetWholeDotModules(true);
        mapModelUnits(canvas, 300);
        barcode.Paint(canvas, {0, 0}, ptPrinter, 0);
    }
    const ZXing::Results results = decodeAll(image, ZXing::BarcodeFormat::Aztec);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results.front().text(), "Zorvel Aztec 2026");
}

// Dark dots' box inside `area` of a picture.
QRect inkIn(const QImage& picture, const QRect& area)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(picture.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
    return ink;
}

// `zpl` rendered by zpl-renderer-js (a ZPL renderer of its own) at 8 dots a mm, its first label.
QImage rendered(const QByteArray& zpl, int widthMm, int heightMm)
{
    const QString renderer = QStringLiteral(ZORVEL_ZPL_RENDERER_DIR);
    [&] {
        ASSERT_TRUE(QFile::exists(renderer + QStringLiteral("/zpl-renderer-js/package.json")))
            << "zpl-renderer-js is not installed in " << renderer.toStdString()
            << " (npm install --prefix <build>/tests/zpl-renderer zpl-renderer-js@3.4.0)";
        ASSERT_FALSE(QStringLiteral(ZORVEL_NODE).isEmpty()) << "node was not found";
    }();
    QTemporaryDir dir;
    QFile file(dir.filePath("labels.zpl"));
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(zpl);
    file.close();
    QProcess node;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("NODE_PATH"), renderer);
    node.setProcessEnvironment(environment);
    node.start(QStringLiteral(ZORVEL_NODE), {QStringLiteral(ZORVEL_ZPL_RENDER_SCRIPT), file.fileName(),
                                            dir.filePath("out"), QString::number(widthMm),
                                            QString::number(heightMm), QStringLiteral("8")});
    EXPECT_TRUE(node.waitForFinished(120000));
    EXPECT_EQ(node.exitCode(), 0) << node.readAllStandardError().toStdString();
    return QImage(dir.filePath("out-1.png"));
}

// The printer commands read back, rendered by another party, with their content (this renderer
// prints ^B8, ^BU, ^B9, ^BA, ^BK and ^BR as plain text).
TEST(ZplBarcodes, EachCommandRendersBack)
{
    const struct
    {
        TZVBar type;
        const char* content;
        ZXing::BarcodeFormat format;
        const char* text;
    } cases[] = {
        {CODE39, "ZORVEL-39", ZXing::BarcodeFormat::Code39, "ZORVEL-39"},
        {EAN128B, "A^b>1_~", ZXing::BarcodeFormat::Code128, "A^b>1_~"},
        {CODE128, "Zorvel-128", ZXing::BarcodeFormat::Code128, "Zorvel-128"},
        {ITF14, "0950110153000", ZXing::BarcodeFormat::ITF, "09501101530003"},
        {PDF417, "Zorvel PDF417", ZXing::BarcodeFormat::PDF417, "Zorvel PDF417"},
        {AZTEC, "Zorvel Aztec", ZXing::BarcodeFormat::Aztec, "Zorvel Aztec"},
    };
    for (const auto& c : cases) {
        const QByteArray element = QStringLiteral(R"({"Kind": 3, "X1": 300, "Y1": 300, "BarCode": "%1", "CodeType": %2,
            "Checksum": %3, "Factor": %4, "BarWidth": %5, "BHeight": 1000, "ShowNumber": false})")
                                       .arg(QString::fromUtf8(c.content))
                                       .arg(int(c.type))
                                       .arg(c.type == EAN8 || c.type == UPCA ? "true" : "false")
                                       .arg(c.type == CODE39 ? 300 : 200)
                                       .arg(c.type == AZTEC ? 50 : 25)
                                       .toUtf8();
        const QByteArray zpl = printZpl(rollDesign(element), 203);
        EXPECT_FALSE(zpl.contains("^GFA")) << c.content << ": not a printer command\n" << zpl.toStdString();
        // The decoder misses small matrices on a larger picture.
        const QImage picture = rendered(zpl, 57, 32);
        const ZXing::Results read =
            decodeAll(c.type == AZTEC ? picture.copy(0, 0, 150, 150) : picture, c.format);
        if (read.size() != 1u) {
            ADD_FAILURE() << c.content << ": read " << read.size() << " symbols\n" << zpl.toStdString();
            continue;
        }
        EXPECT_EQ(read.front().text(), c.text) << c.content;
    }
}

// Our ZPL rendered back: the bar codes read with their content, and a text's and a box's ink lie
// where our own picture has them.
TEST(ZplBarcodes, RenderedByAnIndependentRenderer)
{
    const QByteArray elements =
        R"({"Kind": 3, "X1": 200, "Y1": 150, "BarCode": "Z-128", "CodeType": 13, "BarWidth": 25, "BHeight": 800, "ShowNumber": false},
           {"Kind": 3, "X1": 200, "Y1": 1200, "BarCode": "590123412345", "CodeType": 0, "Checksum": true, "Factor": 200, "BarWidth": 25, "BHeight": 800, "ShowNumber": false, "LeftMargin": 300},
           {"Kind": 3, "X1": 3300, "Y1": 150, "BarCode": "https://zorvel.example/a/42", "CodeType": 7, "BarWidth": 38},
           {"Kind": 3, "X1": 4300, "Y1": 1900, "BarCode": "Zorvel DM 42", "CodeType": 9, "BarWidth": 50},
           {"Kind": 2, "X1": 250, "Y1": 2300, "Text": "Asset 42", "FontHeight": 500},
           {"Kind": 4, "X1": 2700, "Y1": 2200, "X2": 3900, "Y2": 3000, "PenWidth": 40})";
    const QImage rendered = ::rendered(printZpl(rollDesign(elements), 203), 57, 32);
    ASSERT_FALSE(rendered.isNull());

    // Each symbol read in its own part of the label (dots): the decoder misses small matrices
    // on a larger picture.
    const struct
    {
        ZXing::BarcodeFormat format;
        const char* text;
        QRect part;
    } symbols[] = {
        {ZXing::BarcodeFormat::Code128, "Z-128", {0, 0, 260, 90}},
        {ZXing::BarcodeFormat::EAN13, "5901234123457", {0, 80, 260, 90}},
        {ZXing::BarcodeFormat::QRCode, "https://zorvel.example/a/42", {250, 0, 206, 150}},
        {ZXing::BarcodeFormat::DataMatrix, "Zorvel DM 42", {330, 140, 126, 116}},
    };
    for (const auto& symbol : symbols) {
        const ZXing::Results read = decodeAll(rendered.copy(symbol.part), symbol.format);
        ASSERT_EQ(read.size(), 1u) << symbol.text;
        EXPECT_EQ(read.front().text(), symbol.text);
    }

    ensureGuiApplication();
    TZVLab label;
    DesignFromJson(label, rollDesign(elements));
    ModelImage own(5700, 3200, 203);
    label.PaintElements(own.canvas(), {0, 0}, ptPrinter, 0);
    const QImage expected = own.finish();
    ASSERT_EQ(rendered.size(), expected.size());
    // Around the text, the box, the QR Code and the Data Matrix, clear of the EAN-13's guard bars,
    // which this renderer lengthens (dots at 8 a mm).
    for (const QRect area : {QRect(8, 174, 200, 76), QRect(200, 172, 128, 80), QRect(250, 0, 206, 150),
                             QRect(330, 140, 126, 116)}) {
        const QRect ours = inkIn(expected, area);
        const QRect theirs = inkIn(rendered, area);
        ASSERT_FALSE(ours.isEmpty());
        EXPECT_LE(std::abs(ours.left() - theirs.left()), 1);
        EXPECT_LE(std::abs(ours.top() - theirs.top()), 1);
        EXPECT_LE(std::abs(ours.right() - theirs.right()), 1);
        EXPECT_LE(std::abs(ours.bottom() - theirs.bottom()), 1);
    }
}

} // namespace
