// zorvel barcode: one symbol's human-readable text, its module string, or a PNG or SVG of the painted
// element; --list names the symbologies.
#include "cli/Commands.h"
#include "document/ZVCustomLab.h"
#include "elements/ZVBarCode.h"
#include "elements/ZVSymbologies.h"
#include "foundation/ZVBarcode.h"
#include "foundation/ZVError.h"
#include "foundation/ZVRecordingCanvas.h"
#include "foundation/ZVUtils.h"
#include "platform/ZVOutputImage.h"
#include "platform/ZVQtCanvas.h"
#include "platform/ZVSvgDevice.h"

#include <QCommandLineParser>
#include <QImage>
#include <QImageWriter>
#include <QMetaEnum>
#include <QPainter>
#include <QSaveFile>

#include <algorithm>
#include <climits>
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

// A millimetre length option: positive, finite, at most a metre.
std::optional<float> lengthOption(const QCommandLineParser& parser, const QString& option)
{
    if (!parser.isSet(option)) return std::nullopt;
    bool ok = false;
    const double value = parser.value(option).toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= 0 || value > kMaxLengthMm)
        throw Usage{QStringLiteral("--%1 takes a length in millimetres above 0 and at most %2, not '%3'")
                        .arg(option)
                        .arg(kMaxLengthMm)
                        .arg(parser.value(option))};
    return static_cast<float>(value);
}

// --ecc as the element's EccLevel: the level's letter where levels have letters, else its number.
int eccLevel(const TZVSymbology& kind, const QString& value)
{
    if (!kind.Ecc.Taken())
        throw Usage{QStringLiteral("--ecc goes with %1 only").arg(NamesTaking(&TZVSymbology::Ecc))};
    if (kind.EccLetters) {
        const QString letters = QString::fromLatin1(kind.EccLetters);
        const qsizetype level = letters.indexOf(value.toUpper());
        if (value.size() == 1 && level >= 0) return int(level) + 1;
        QStringList spelled;
        for (const QChar letter : letters)
            spelled << letter;
        const QString last = spelled.takeLast();
        throw Usage{QStringLiteral("--ecc takes %1 or %2 for %3, not '%4'")
                        .arg(spelled.join(QStringLiteral(", ")), last, QString::fromLatin1(kind.Name), value)};
    }
    bool ok = false;
    const int number = value.toInt(&ok);
    const int offset = kind.EccBase - 1;
    if (ok && kind.Ecc.Holds(number - offset)) return number - offset;
    // Levels counted from 0 are levels by name; the others are plain numbers.
    throw Usage{QStringLiteral("--ecc takes %1%2..%3 for %4, not '%5'")
                    .arg(kind.EccBase == 0 ? QStringLiteral("a level ") : QString())
                    .arg(kind.Ecc.Min + offset)
                    .arg(kind.Ecc.Max + offset)
                    .arg(QString::fromLatin1(kind.Name), value)};
}

void setModelMapping(TZVCanvas& canvas, int dpi)
{
    canvas.SetMapMode(mmAnisotropic);
    canvas.SetWindowExtEx(kModelPerInch, kModelPerInch);
    canvas.SetViewportExtEx(dpi, dpi);
}

// The element's calls painted at `offset`, in model units; text is measured by a real font.
std::vector<TZVCanvasCall> recordSymbol(TZVBarCode& barcode, TPoint offset)
{
    QImage metrics(8, 8, QImage::Format_RGB32);
    TZVQtCanvas inner(&metrics);
    TZVRecordingCanvas recorder(&inner);
    setModelMapping(recorder, kModelPerInch);
    recorder.Clear();
    barcode.Paint(recorder, offset, ptPreviewPage, 0);
    return recorder.Calls();
}

// The symbol's box from the element's top-left corner, model units. The linear types compute it;
// the libzint ones paint their background over the symbol with its quiet zone, and that is the box.
TRect symbolBox(TZVBarCode& barcode)
{
    if (!TZVBarCode::IsZintType(barcode.CodeType()))
        return {0, 0, barcode.SymbolWidth(BarCodeText(barcode.BarCode(), barcode.CodeType(), barcode.Checksum())),
                barcode.SymbolHeight()};
    TRect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const TZVCanvasCall& call : recordSymbol(barcode, {0, 0})) {
        if (call.Op != "FillRects" && call.Op != "FillRect" && call.Op != "Rectangle") continue;
        for (std::size_t i = 0; i + 3 < call.Args.size(); i += 4)
            box = {std::min(box.Left, call.Args[i]), std::min(box.Top, call.Args[i + 1]),
                   std::max(box.Right, call.Args[i + 2]), std::max(box.Bottom, call.Args[i + 3])};
    }
    if (box.Left > box.Right) throw EZvError(TZVBarCode::RefusalMessage(barcode.BarCode()));
    return box;
}

// Paints the element with modules of whole pixels on a white image as large as its box, which
// whole pixels may widen or narrow a little: the picture holds what was painted.
QImage paintSymbol(TZVBarCode& barcode, const TRect& box, int dpi)
{
    const auto pixels = [dpi](int model) {
        return (qint64(model) * dpi + kModelPerInch - 1) / kModelPerInch;
    };
    const QSize size(int(pixels(box.Right - box.Left)), int(pixels(box.Bottom - box.Top)));
    const QPoint margin(size.width() / 2 + 8, size.height() / 2 + 8);
    QImage scratch = NewOutputImage(size.width() + 2 * margin.x(), size.height() + 2 * margin.y(),
                                    QImage::Format_ARGB32_Premultiplied);
    scratch.fill(Qt::transparent);
    {
        TZVQtCanvas canvas(&scratch);
        canvas.SetWholeDotModules(true);
        setModelMapping(canvas, dpi);
        canvas.SetViewportOrgEx(margin.x(), margin.y());
        barcode.Paint(canvas, {-box.Left, -box.Top}, ptPreviewPage, 0);
    }
    QRect painted(margin, size);
    for (int y = 0; y < scratch.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = 0; x < scratch.width(); ++x)
            if (qAlpha(line[x]) != 0) painted |= QRect(x, y, 1, 1);
    }
    QImage image = NewOutputImage(painted.width(), painted.height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMetre = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&image);
    painter.drawImage(QPoint(0, 0), scratch, painted);
    return image;
}

// The symbol as SVG in model units (a hundredth of a millimetre), painted as on a label.
QByteArray svgSymbol(TZVBarCode& barcode, const TRect& box)
{
    return PaintSvg({box.Right - box.Left, box.Bottom - box.Top}, kModelPerInch, [&](QPainter& painter) {
        TZVQtCanvas canvas(&painter, TZVQtCanvas::CapsOf(*painter.device()));
        setModelMapping(canvas, kModelPerInch);
        barcode.Paint(canvas, {-box.Left, -box.Top}, ptPreviewPage, 0);
    });
}

// The file appears only complete: it is written beside the target and renamed at the end.
void writePng(const QString& path, const QImage& image)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + path);
    QImageWriter writer(&file, "png");
    if (!writer.write(image) || !file.commit()) throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + path);
}

void writeSvg(const QString& path, const QByteArray& svg)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(svg) != svg.size() || !file.commit())
        throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + path);
}

} // namespace

bool barcodePaints(const QStringList& args)
{
    return std::any_of(args.begin(), args.end(), [](const QString& a) {
        return a == QLatin1String("--out") || a.startsWith("--out=");
    });
}

QString symbologyNames()
{
    const QMetaEnum types = QMetaEnum::fromType<TZVBar>();
    QStringList names;
    for (int i = 0; i < types.keyCount(); ++i)
        names << types.key(i);
    return names.join(", ");
}

int runBarcode(const QCommandLineParser& parser)
{
    const QMetaEnum types = QMetaEnum::fromType<TZVBar>();
    if (!parser.positionalArguments().isEmpty())
        throw Usage{QStringLiteral("unexpected argument '%1' (give the content with --content)")
                        .arg(parser.positionalArguments().first())};
    if (parser.isSet("list")) {
        if (parser.optionNames().size() != 1) throw Usage{QStringLiteral("--list goes alone")};
        for (const TZVSymbology& kind : Symbologies())
            std::printf("%-14s %-4s %s\n", kind.Name, *kind.Zpl ? kind.Zpl : "-", kind.Takes);
        return 0;
    }
    if (!parser.isSet("type")) throw Usage{QStringLiteral("--type is required")};
    if (!parser.isSet("content")) throw Usage{QStringLiteral("--content is required")};
    const int outputs = int(parser.isSet("text")) + int(parser.isSet("modules")) + int(parser.isSet("out"));
    if (outputs != 1) throw Usage{QStringLiteral("give exactly one of --text, --modules and --out")};
    if (!parser.isSet("out")) {
        for (const char* option : {"dpi", "bar-width", "height"})
            if (parser.isSet(option)) throw Usage{QStringLiteral("--%1 goes with --out only").arg(option)};
    }
    const QString out = parser.value("out");
    const bool svg = out.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
    if (svg && parser.isSet("dpi")) throw Usage{QStringLiteral("--dpi goes with PNG images only")};
    bool known = false;
    const int typeValue = types.keyToValue(qPrintable(parser.value("type").toUpper()), &known);
    if (!known)
        throw Usage{
            QStringLiteral("unknown type '%1' (one of %2)").arg(parser.value("type"), symbologyNames())};
    const auto type = static_cast<TZVBar>(typeValue);
    const TZVSymbology& kind = SymbologyOf(type);
    const bool zint = kind.ZintId != 0;
    if (zint && parser.isSet("modules"))
        throw Usage{QStringLiteral("--modules goes with EAN13, EAN8, UPCA, CODE39 and EAN128A..C only")};
    if (zint && parser.isSet("checksum"))
        throw Usage{QStringLiteral("--checksum goes with EAN13, EAN8, UPCA, CODE39 and EAN128A..C only "
                                   "(%1 adds its own check characters)")
                        .arg(types.valueToKey(type))};
    const int ecc = parser.isSet("ecc") ? eccLevel(kind, parser.value("ecc")) : 0;
    if (parser.isSet("size") && !kind.Size.Taken())
        throw Usage{QStringLiteral("--size goes with the 2D types QRCODE..AZTEC only")};
    // Only a whole number here: whether the symbology takes it is the library's to say.
    int size = 0;
    if (parser.isSet("size")) {
        bool ok = false;
        size = parser.value("size").toInt(&ok);
        if (!ok || size < 1)
            throw Usage{
                QStringLiteral("--size takes a whole number from 1, not '%1'").arg(parser.value("size"))};
    }
    const int dpi = boundedIntOption(parser, "dpi", kDefaultDpi, kMinDpi, kMaxDpi);
    const std::optional<float> barWidth = lengthOption(parser, "bar-width");
    const std::optional<float> height = lengthOption(parser, "height");

    const QString content = parser.value("content");
    const bool checksum = parser.isSet("checksum");
    const bool showNumber = !parser.isSet("no-number");
    TZVLab label;
    TZVBarCode barcode(label);
    barcode.SetCodeType(type);
    barcode.SetBarCode(content);
    barcode.SetChecksum(checksum);
    barcode.SetShowNumber(showNumber);
    // Asked before setting: the setters would clamp a value to what a design can store.
    const auto refuse = [&barcode](const char* option, int value) {
        const QString refused = barcode.PropertyRefusal(QString::fromLatin1(option), value);
        if (!refused.isEmpty()) throw EZvError(refused);
    };
    refuse("EccLevel", ecc);
    barcode.SetEccLevel(ecc);
    refuse("SymbolSize", size);
    barcode.SetSymbolSize(size);
    if (barWidth) barcode.SetBarWidth(*barWidth);
    if (height) barcode.SetBHeight(*height); // the label's unit is the millimetre
    if (const QString refused = barcode.EncodingError(); !refused.isEmpty()) throw EZvError(refused);
    // Its background is the symbol's box with the quiet zone.
    if (zint) barcode.SetTransparent(false);
    if (parser.isSet("text")) {
        if (zint) {
            // The text is known once the bars are painted; the number would need fonts.
            barcode.SetShowNumber(false);
            TZVRecordingCanvas recorder;
            barcode.Paint(recorder, {0, 0}, ptPreviewPage, 0);
        }
        const QString text = zint ? barcode.PrintText() : BarCodeText(content, type, checksum);
        std::printf("%s\n", qPrintable(text));
        return 0;
    }
    if (parser.isSet("modules")) {
        std::printf("%s\n",
                    qPrintable(BarCodeModules(BarCodeText(content, type, checksum), type, showNumber)));
        return 0;
    }
    const TRect box = symbolBox(barcode);
    if (svg)
        writeSvg(out, svgSymbol(barcode, box));
    else
        writePng(out, paintSymbol(barcode, box, dpi));
    return 0;
}

} // namespace zorvel::cli
