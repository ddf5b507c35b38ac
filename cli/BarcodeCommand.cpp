// zorvel barcode: one symbol's human-readable text, its module string, or a PNG or SVG of the painted
// element; --list names the symbologies.
#include "cli/Commands.h"
#include "document/ZVCustomLab.h"
#include "elements/ZVBarCode.h"
#include "foundation/ZVBarcode.h"
#include "foundation/ZVError.h"
#include "foundation/ZVRecordingCanvas.h"
#include "foundation/ZVUtils.h"
#include "platform/ZVOutputImage.h"
#include "platform/ZVQtCanvas.h"

#include <QCommandLineParser>
#include <QImage>
#include <QImageWriter>
#include <QMetaEnum>
#include <QSaveFile>
#include <QTextStream>

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

// What each symbology takes, for --list.
constexpr struct
{
    TZVBar type;
    const char* takes;
} kTypeHelp[] = {
    {EAN13, "EAN-13: 13 digits, or 12 with --checksum"},
    {EAN8, "EAN-8: 8 digits, or 7 with --checksum"},
    {UPCA, "UPC-A: 12 digits, or 11 with --checksum"},
    {CODE39, "Code 39: digits, capitals, space and - . $ / + %; --checksum adds the mod 43 character"},
    {EAN128A, "Code 128, code set A: capitals, digits, punctuation and control characters"},
    {EAN128B, "Code 128, code set B: printable ASCII"},
    {EAN128C, "Code 128, code set C: digits (a 0 goes before an odd count)"},
    {QRCODE, "QR Code: UTF-8 text; --ecc L, M, Q or H, --size 1..40 (version)"},
    {MICROQR, "Micro QR Code: short text (up to 35 digits); --ecc L, M or Q, --size 1..4 (M1..M4)"},
    {DATAMATRIX, "Data Matrix ECC 200: UTF-8 text; --size N (symbol size number)"},
    {GS1DATAMATRIX, "GS1 Data Matrix: a GS1 element string, AIs in brackets: (01)09501101530003(10)AB12"},
    {PDF417, "PDF417: text; --ecc 0..8 (error correction level)"},
    {AZTEC, "Aztec Code: UTF-8 text; --ecc 1..4 (10, 23, 36, 50 % correction), --size N"},
    {CODE128, "Code 128: ASCII text, code sets chosen automatically"},
    {GS1128, "GS1-128: a GS1 element string, AIs in brackets: (01)09501101530003(17)261231"},
    {ITF14, "ITF-14: 13 digits of a GTIN-14, the check digit is added"},
    {DATABAR, "GS1 DataBar Omnidirectional: 13 digits of a GTIN, the check digit is added"},
    {DATABAREXP, "GS1 DataBar Expanded: a GS1 element string, AIs in brackets"},
    {CODE93, "Code 93: ASCII text"},
    {CODABAR, "Codabar: digits and - $ : / . + between start and stop characters A..D: A40156B"},
    {UPCE, "UPC-E: 7 digits (number system 0 or 1, then 6), the check digit is added"},
};

// --ecc as the element's EccLevel: L..H for QR and Micro QR, the level 0..8 for PDF417, 1..4 for Aztec.
int eccLevel(TZVBar type, const QString& value)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    switch (type) {
    case QRCODE:
    case MICROQR: {
        const qsizetype level = QStringLiteral("LMQH").indexOf(value.toUpper());
        if (value.size() == 1 && level >= 0) return int(level) + 1;
        throw Usage{QStringLiteral("--ecc takes L, M, Q or H for %1, not '%2'")
                        .arg(type == QRCODE ? "QRCODE" : "MICROQR", value)};
    }
    case PDF417:
        if (ok && number >= 0 && number <= 8) return number + 1;
        throw Usage{QStringLiteral("--ecc takes a level 0..8 for PDF417, not '%1'").arg(value)};
    case AZTEC:
        if (ok && number >= 1 && number <= 4) return number;
        throw Usage{QStringLiteral("--ecc takes 1..4 for AZTEC, not '%1'").arg(value)};
    default: throw Usage{QStringLiteral("--ecc goes with QRCODE, MICROQR, PDF417 and AZTEC only")};
    }
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

// Paints the element on a white image exactly as large as its box.
QImage paintSymbol(TZVBarCode& barcode, const TRect& box, int dpi)
{
    const auto pixels = [dpi](int model) {
        return (qint64(model) * dpi + kModelPerInch - 1) / kModelPerInch;
    };
    QImage image = NewOutputImage(pixels(box.Right - box.Left), pixels(box.Bottom - box.Top), QImage::Format_RGB32);
    const int dotsPerMetre = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    {
        TZVQtCanvas canvas(&image);
        setModelMapping(canvas, dpi);
        barcode.Paint(canvas, {-box.Left, -box.Top}, ptPreviewPage, 0);
    }
    return image;
}

QString svgColor(TZVColor color)
{
    return QStringLiteral("#%1%2%3")
        .arg(color & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((color >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((color >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

// The symbol as SVG in model units (a hundredth of a millimetre): the modules or bars of one colour
// as one path of rectangles, so it stays vector; the number as text.
QByteArray svgSymbol(TZVBarCode& barcode, const TRect& box)
{
    const int width = box.Right - box.Left;
    const int height = box.Bottom - box.Top;
    QString svg;
    QTextStream out(&svg);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << width / 100.0 << "mm\" height=\""
        << height / 100.0 << "mm\" viewBox=\"0 0 " << width << ' ' << height << "\">\n";
    // Rectangles by fill colour, in painting order of the colours' first use.
    std::vector<std::pair<TZVColor, QString>> paths;
    const auto pathOf = [&](TZVColor color) -> QString& {
        for (auto& [c, d] : paths)
            if (c == color) return d;
        return paths.emplace_back(color, QString()).second;
    };
    TZVColor brush = 0xFFFFFF;
    bool solid = true;
    TZVFont font;
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    unsigned align = 0;
    int extra = 0;
    QImage metrics(8, 8, QImage::Format_RGB32);
    TZVQtCanvas measure(&metrics);
    setModelMapping(measure, kModelPerInch);
    QString texts;
    for (const TZVCanvasCall& call : recordSymbol(barcode, {-box.Left, -box.Top})) {
        const auto& a = call.Args;
        if (call.Op == "SelectBrush") {
            brush = TZVColor(a[0]);
            solid = a[1] == bsSolid;
        } else if ((call.Op == "FillRects" || call.Op == "FillRect" || call.Op == "Rectangle") && solid) {
            QString& d = pathOf(brush);
            for (std::size_t i = 0; i + 3 < a.size(); i += 4)
                d += QStringLiteral("M%1 %2h%3v%4h-%3z").arg(a[i]).arg(a[i + 1]).arg(a[i + 2] - a[i]).arg(a[i + 3] - a[i + 1]);
        } else if (call.Op == "SelectFont") {
            font.Name = call.Text;
            font.Height = a[0];
            font.Escapement = a[1];
            font.Color = TZVColor(a[2]);
            font.Bold = a[3];
            font.Italic = a[4];
            measure.SelectFont(font);
            const TZVTextMetric metric = measure.GetTextMetrics();
            ascent = metric.Ascent;
            descent = metric.Height - metric.Ascent;
            internalLeading = metric.InternalLeading;
        } else if (call.Op == "SetTextAlign") {
            align = unsigned(a[0]);
        } else if (call.Op == "SetTextCharacterExtra") {
            extra = a[0];
        } else if (call.Op == "ExtTextOut") {
            const unsigned horizontal = align & taHorizontalMask;
            const unsigned vertical = align & taVerticalMask;
            const char* anchor = horizontal == taCenter ? "middle" : horizontal == taRight ? "end" : "start";
            const int baseline = vertical == taBaseline ? 0 : vertical == taBottom ? -descent : ascent;
            const int em = font.Height > 0 ? font.Height - internalLeading : -font.Height;
            QTextStream t(&texts);
            t << "<text x=\"" << a[0] << "\" y=\"" << a[1] + baseline << "\" font-family=\"" << font.Name.toHtmlEscaped()
              << "\" font-size=\"" << em << "\" text-anchor=\"" << anchor << "\" fill=\"" << svgColor(font.Color) << '"';
            if (font.Bold) t << " font-weight=\"bold\"";
            if (font.Italic) t << " font-style=\"italic\"";
            if (extra) t << " letter-spacing=\"" << extra << '"';
            if (font.Escapement)
                t << " transform=\"rotate(" << -font.Escapement / 10.0 << ' ' << a[0] << ' ' << a[1] << ")\"";
            t << '>' << call.Text.toHtmlEscaped() << "</text>\n";
        }
    }
    for (const auto& [color, d] : paths)
        out << "<path fill=\"" << svgColor(color) << "\" d=\"" << d << "\"/>\n";
    out << texts << "</svg>\n";
    out.flush();
    return svg.toUtf8();
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
        for (const auto& help : kTypeHelp)
            std::printf("%-14s %s\n", types.valueToKey(help.type), help.takes);
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
    const bool zint = TZVBarCode::IsZintType(type);
    if (zint && parser.isSet("modules"))
        throw Usage{QStringLiteral("--modules goes with EAN13, EAN8, UPCA, CODE39 and EAN128A..C only")};
    if (zint && parser.isSet("checksum"))
        throw Usage{QStringLiteral("--checksum goes with EAN13, EAN8, UPCA, CODE39 and EAN128A..C only "
                                   "(%1 adds its own check characters)")
                        .arg(types.valueToKey(type))};
    const int ecc = parser.isSet("ecc") ? eccLevel(type, parser.value("ecc")) : 0;
    const bool is2D = zint && TZVBarCode::Is2DType(type);
    if (parser.isSet("size") && !is2D)
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
