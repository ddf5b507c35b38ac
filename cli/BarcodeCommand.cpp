// zorvel barcode: validates content and prints the human-readable text and module string of one symbol.
#include "cli/Commands.h"
#include "foundation/ZVBarcode.h"

#include <QCommandLineParser>
#include <QMetaEnum>

#include <cstdio>

namespace zorvel::cli {

int runBarcode(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Encode one bar code symbol.");
    parser.addHelpOption();
    const QMetaEnum types = QMetaEnum::fromType<TZVBar>();
    QStringList typeNames;
    for (int i = 0; i < types.keyCount(); ++i)
        typeNames << types.key(i);
    const QCommandLineOption typeOption("type", "Symbology: " + typeNames.join(", ") + " (default EAN13).",
                                        "type", "EAN13");
    const QCommandLineOption checksumOption("checksum", "Compute and append the check character.");
    const QCommandLineOption guardsOption("show-number", "Use the extended guards drawn with the number.");
    const QCommandLineOption textOption("text", "Print only the human-readable text.");
    const QCommandLineOption modulesOption("modules", "Print only the module string.");
    parser.addOptions({typeOption, checksumOption, guardsOption, textOption, modulesOption});
    parser.addPositionalArgument("content", "The content to encode.");
    if (!parser.parse(QStringList{"zorvel barcode"} + args)) {
        std::fprintf(stderr, "zorvel barcode: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet("help")) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.positionalArguments().size() != 1) {
        std::fputs("zorvel barcode: give exactly one content\n", stderr);
        return 2;
    }
    bool known = false;
    const int typeValue = types.keyToValue(qPrintable(parser.value(typeOption).toUpper()), &known);
    if (!known) {
        std::fprintf(stderr, "zorvel barcode: unknown type '%s'\n", qPrintable(parser.value(typeOption)));
        return 2;
    }
    const auto type = static_cast<TZVBar>(typeValue);
    const QString content = parser.positionalArguments().first();
    const bool checksum = parser.isSet(checksumOption);
    if (!IsValidBarCode(content, type, checksum)) {
        std::fprintf(stderr, "INVALID BARCODE : %s\n", qPrintable(content));
        return 1;
    }
    const QString text = BarCodeText(content, type, checksum);
    const QString modules = BarCodeModules(text, type, parser.isSet(guardsOption));
    if (parser.isSet(textOption))
        std::printf("%s\n", qPrintable(text));
    else if (parser.isSet(modulesOption))
        std::printf("%s\n", qPrintable(modules));
    else
        std::printf("text: %s\nmodules: %s\n", qPrintable(text), qPrintable(modules));
    return 0;
}

} // namespace zorvel::cli
