// zorvel barcode: one symbol's human-readable text, its module string, or a PNG of the painted element.
#include "cli/Commands.h"
#include "document/ZVCustomLab.h"
#include "elements/ZVBarCode.h"
#include "foundation/ZVBarcode.h"
#include "foundation/ZVError.h"
#include "foundation/ZVUtils.h"
#include "platform/ZVQtCanvas.h"

#include <QCommandLineParser>
#include <QImage>
#include <QImageWriter>
#include <QMetaEnum>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace zorvel::cli {
namespace {

constexpr int kDefaultDpi = 300;
constexpr int kMinDpi = 10;
constexpr int kMaxDpi = 4800;
// Lengths a label could carry: up to a metre.
constexpr double kMaxLengthMm = 1000;
// 20000 x 20000 pixels: a 1.6 GB image is the most the tool agrees to make.
constexpr qint64 kMaxPixels = qint64(20000) * 20000;

// A millimetre length option: positive, finite, at most a metre.
std::optional<float> lengthOption(const QCommandLineParser& parser, const QCommandLineOption& option)
{
    if (!parser.isSet(option)) return std::nullopt;
    bool ok = false;
    const double value = parser.value(option).toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= 0 || value > kMaxLengthMm)
        throw Usage{QStringLiteral("--%1 takes a length in millimetres above 0 and at most %2, not '%3'")
                        .arg(option.names().first())
                        .arg(kMaxLengthMm)
                        .arg(parser.value(option))};
    return static_cast<float>(value);
}

// Paints the element at the top-left corner of a white image exactly as large as the symbol.
QImage paintSymbol(TZVBarCode& barcode, int dpi)
{
    const auto pixels = [dpi](int model) {
        return (qint64(model) * dpi + kModelPerInch - 1) / kModelPerInch;
    };
    const qint64 width =
        pixels(barcode.SymbolWidth(BarCodeText(barcode.BarCode(), barcode.CodeType(), barcode.Checksum())));
    const qint64 height = pixels(barcode.SymbolHeight());
    if (width <= 0 || height <= 0 || width * height > kMaxPixels)
        throw EZvError(QStringLiteral("IMAGE TOO LARGE : %1 x %2 PIXELS").arg(width).arg(height));
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        throw EZvError(QStringLiteral("IMAGE TOO LARGE : %1 x %2 PIXELS").arg(width).arg(height));
    image.fill(Qt::white);
    const int dotsPerMetre = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    {
        TZVQtCanvas canvas(&image);
        canvas.SetMapMode(mmAnisotropic);
        canvas.SetWindowExtEx(kModelPerInch, kModelPerInch);
        canvas.SetViewportExtEx(dpi, dpi);
        barcode.Paint(canvas, {0, 0}, ptPreviewPage, 0);
    }
    return image;
}

// The file appears only complete: it is written beside the target and renamed at the end.
void writePng(const QString& path, const QImage& image)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + path);
    QImageWriter writer(&file, "png");
    if (!writer.write(image) || !file.commit()) throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + path);
}

} // namespace

bool barcodePaints(const QStringList& args)
{
    return std::any_of(args.begin(), args.end(), [](const QString& a) {
        return a == QLatin1String("--out") || a.startsWith("--out=");
    });
}

int runBarcode(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Encode one bar code symbol: print its text or its module string, or paint it "
        "as a PNG.");
    parser.addHelpOption();
    const QMetaEnum types = QMetaEnum::fromType<TZVBar>();
    QStringList typeNames;
    for (int i = 0; i < types.keyCount(); ++i)
        typeNames << types.key(i);
    const QCommandLineOption typeOption("type", "Symbology: " + typeNames.join(", ") + ".", "type");
    const QCommandLineOption contentOption("content", "The content to encode.", "text");
    const QCommandLineOption checksumOption("checksum", "Compute and append the check character.");
    const QCommandLineOption noNumberOption("no-number",
                                            "No human-readable number (and short EAN/UPC guards).");
    const QCommandLineOption textOption("text", "Print the human-readable text.");
    const QCommandLineOption modulesOption("modules", "Print the module string.");
    const QCommandLineOption outOption("out", "Paint the symbol on a white PNG image.", "file.png");
    const QCommandLineOption dpiOption("dpi", "Resolution of the PNG in dots per inch (default 300).", "n");
    const QCommandLineOption barWidthOption("bar-width", "Narrow module width in millimetres (default 0.3).",
                                            "mm");
    const QCommandLineOption heightOption("height", "Bar height in millimetres (default 10).", "mm");
    parser.addOptions({typeOption, contentOption, checksumOption, noNumberOption, textOption, modulesOption,
                       outOption, dpiOption, barWidthOption, heightOption});
    if (!parser.parse(QStringList{"zorvel barcode"} + args)) {
        std::fprintf(stderr, "zorvel barcode: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet("help")) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    try {
        if (!parser.positionalArguments().isEmpty())
            throw Usage{QStringLiteral("unexpected argument '%1' (give the content with --content)")
                            .arg(parser.positionalArguments().first())};
        if (!parser.isSet(typeOption)) throw Usage{QStringLiteral("--type is required")};
        if (!parser.isSet(contentOption)) throw Usage{QStringLiteral("--content is required")};
        const int outputs =
            int(parser.isSet(textOption)) + int(parser.isSet(modulesOption)) + int(parser.isSet(outOption));
        if (outputs != 1) throw Usage{QStringLiteral("give exactly one of --text, --modules and --out")};
        if (!parser.isSet(outOption)) {
            for (const QCommandLineOption* option : {&dpiOption, &barWidthOption, &heightOption})
                if (parser.isSet(*option))
                    throw Usage{QStringLiteral("--%1 goes with --out only").arg(option->names().first())};
        }
        bool known = false;
        const int typeValue = types.keyToValue(qPrintable(parser.value(typeOption).toUpper()), &known);
        if (!known)
            throw Usage{QStringLiteral("unknown type '%1' (one of %2)")
                            .arg(parser.value(typeOption), typeNames.join(", "))};
        const int dpi = boundedIntOption(parser, dpiOption, kDefaultDpi, kMinDpi, kMaxDpi);
        const std::optional<float> barWidth = lengthOption(parser, barWidthOption);
        const std::optional<float> height = lengthOption(parser, heightOption);

        const auto type = static_cast<TZVBar>(typeValue);
        const QString content = parser.value(contentOption);
        const bool checksum = parser.isSet(checksumOption);
        const bool showNumber = !parser.isSet(noNumberOption);
        if (!IsValidBarCode(content, type, checksum))
            throw EZvError(QStringLiteral("INVALID BARCODE : ") + content);
        const QString text = BarCodeText(content, type, checksum);
        if (parser.isSet(textOption)) {
            std::printf("%s\n", qPrintable(text));
            return 0;
        }
        if (parser.isSet(modulesOption)) {
            std::printf("%s\n", qPrintable(BarCodeModules(text, type, showNumber)));
            return 0;
        }

        TZVLab label;
        TZVBarCode barcode(label);
        barcode.SetCodeType(type);
        barcode.SetBarCode(content);
        barcode.SetChecksum(checksum);
        barcode.SetShowNumber(showNumber);
        if (barWidth) barcode.SetBarWidth(*barWidth);
        if (height) barcode.SetBHeight(*height); // the label's unit is the millimetre
        writePng(parser.value(outOption), paintSymbol(barcode, dpi));
    } catch (const Usage& usage) {
        std::fprintf(stderr, "zorvel barcode: %s\n", qPrintable(usage.message));
        return 2;
    } catch (const EZvError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}

} // namespace zorvel::cli
