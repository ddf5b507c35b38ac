// zorvel printers and zorvel calibrate: the system's print queues, and a page to calibrate one.
#include "cli/Commands.h"
#include "foundation/ZVError.h"
#include "platform/ZVPdfPrinter.h"
#include "printsupport/ZVCups.h"
#include "printsupport/ZVPrinterCalibration.h"
#include "printsupport/ZVQtPrinter.h"

#include <QCommandLineParser>
#include <QPrinterInfo>

#include <cstdio>

namespace zorvel::cli {

namespace {

// Millimetres, checked against the calibration range.
double offsetValue(const QCommandLineParser& parser, const QCommandLineOption& option, double fallback)
{
    if (!parser.isSet(option)) return fallback;
    bool ok = false;
    const double mm = parser.value(option).toDouble(&ok);
    if (!ok) throw Usage{QStringLiteral("--%1 takes millimetres, not '%2'").arg(option.names().first(), parser.value(option))};
    return mm;
}

} // namespace

TZVCalibration calibrationOptions(const QCommandLineParser& parser, const QCommandLineOption& x,
                                  const QCommandLineOption& y, const QString& printer)
{
    TZVCalibration saved;
    if (!printer.isEmpty() && !(parser.isSet(x) && parser.isSet(y))) {
        QString damage;
        saved = TZVPrinterCalibration::Load(printer, &damage);
        if (!damage.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(damage));
    }
    const TZVCalibration offsets{offsetValue(parser, x, saved.X), offsetValue(parser, y, saved.Y)};
    try {
        TZVPrinterCalibration::Check(offsets);
    } catch (const EZvError& e) {
        throw Usage{e.message()};
    }
    return offsets;
}

int selectQueue(TZVQtPrinter& printer, const QString& queue)
{
    cups::RequireReadyQueue(queue);
    const int index = static_cast<int>(printer.Printers().indexOf(queue));
    if (index < 0) throw EZvError(QStringLiteral("UNKNOWN PRINTER : ") + queue);
    printer.SetPrinterIndex(index);
    return index;
}

bool printersPaint(const QStringList&)
{
    return true; // the print support plugin wants a GUI application
}

int runPrinters(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("List the system's print queues; the default one is marked.");
    parser.addHelpOption();
    if (!parser.parse(QStringList{"zorvel printers"} + args)) {
        std::fprintf(stderr, "zorvel printers: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet("help")) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fputs("zorvel printers: takes no arguments\n", stderr);
        return 2;
    }
    const QStringList names = QPrinterInfo::availablePrinterNames();
    if (names.isEmpty()) std::fputs("no printers\n", stderr);
    const QString fallback = QPrinterInfo::defaultPrinterName();
    for (const QString& name : names)
        std::printf("%s%s\n", qPrintable(name), name == fallback ? " (default)" : "");
    return 0;
}

int runCalibrate(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Print a calibration page: rulers 10 mm from the top and left edges and a cross at 105, 148.5 mm (A4).\n"
        "Measure where they land; the offsets to save are the current ones plus intended minus measured.");
    parser.addHelpOption();
    const QCommandLineOption printerOption("printer", "The print queue to calibrate.", "name");
    const QCommandLineOption outOption("out", "A PDF file instead of a queue.", "file");
    const QCommandLineOption xOption("offset-x", "Move the print right by MM (-10 .. 10; default: the saved one).", "mm");
    const QCommandLineOption yOption("offset-y", "Move the print down by MM (-10 .. 10; default: the saved one).", "mm");
    const QCommandLineOption saveOption("save", "Save the offsets given for the printer.");
    parser.addOptions({printerOption, outOption, xOption, yOption, saveOption});
    if (!parser.parse(QStringList{"zorvel calibrate"} + args)) {
        std::fprintf(stderr, "zorvel calibrate: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet("help")) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    return runReporting("calibrate", [&] {
        if (!parser.positionalArguments().isEmpty()) throw Usage{QStringLiteral("takes no arguments")};
        if (parser.isSet(printerOption) == parser.isSet(outOption)) throw Usage{QStringLiteral("give --printer or --out")};
        if (parser.isSet(saveOption) && !parser.isSet(printerOption)) throw Usage{QStringLiteral("--save goes with --printer")};
        const QString queue = parser.value(printerOption);
        const TZVCalibration offsets = calibrationOptions(parser, xOption, yOption, queue);
        if (parser.isSet(outOption)) {
            const QString out = parser.value(outOption);
            if (!out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
                throw Usage{QStringLiteral("--out names a .pdf file, not '%1'").arg(out)};
            TZVPdfPrinter pdf(out);
            TZVOffsetPrinter moved(pdf, offsets);
            PrintCalibrationPage(moved, QStringLiteral("PDF"), offsets);
            return 0;
        }
        TZVQtPrinter printer;
        selectQueue(printer, queue);
        if (parser.isSet(saveOption)) TZVPrinterCalibration::Save(queue, offsets);
        TZVOffsetPrinter moved(printer, offsets);
        PrintCalibrationPage(moved, queue, offsets);
        std::printf("%s-%d\n", qPrintable(queue), printer.LastJobId());
        return 0;
    });
}

} // namespace zorvel::cli
