// zorvel printers and zorvel calibrate: the system's print queues, and a page to calibrate one.
#include "cli/Commands.h"
#include "foundation/ZVError.h"
#include "platform/ZVPdfPrinter.h"
#include "printsupport/ZVCups.h"
#include "printsupport/ZVCupsPrinter.h"
#include "printsupport/ZVPrinterCalibration.h"

#include <QCommandLineParser>

#include <cstdio>

namespace zorvel::cli {

namespace {

// Millimetres, checked against the calibration range.
double offsetValue(const QCommandLineParser& parser, const QString& option, double fallback)
{
    if (!parser.isSet(option)) return fallback;
    bool ok = false;
    const double mm = parser.value(option).toDouble(&ok);
    if (!ok)
        throw Usage{QStringLiteral("--%1 takes millimetres, not '%2'").arg(option, parser.value(option))};
    return mm;
}

} // namespace

TZVCalibration calibrationOptions(const QCommandLineParser& parser, const QString& printer)
{
    const QString x = QStringLiteral("offset-x");
    const QString y = QStringLiteral("offset-y");
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

int selectQueue(TZVCupsPrinter& printer, const QString& queue)
{
    cups::RequireReadyQueue(queue);
    const int index = static_cast<int>(printer.Printers().indexOf(queue));
    if (index < 0) throw EZvError(QStringLiteral("UNKNOWN PRINTER : ") + queue);
    printer.SetPrinterIndex(index);
    return index;
}

int runPrinters(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty()) throw Usage{QStringLiteral("takes no arguments")};
    const QStringList names = cups::Queues();
    if (names.isEmpty()) std::fputs("no printers\n", stderr);
    const QString fallback = cups::DefaultQueue();
    for (const QString& name : names)
        std::printf("%s%s\n", qPrintable(name), name == fallback ? " (default)" : "");
    return 0;
}

int runCalibrate(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty()) throw Usage{QStringLiteral("takes no arguments")};
    if (parser.isSet("printer") == parser.isSet("out"))
        throw Usage{QStringLiteral("give --printer or --out")};
    if (parser.isSet("save") && !parser.isSet("printer"))
        throw Usage{QStringLiteral("--save goes with --printer")};
    const QString queue = parser.value("printer");
    const TZVCalibration offsets = calibrationOptions(parser, queue);
    if (parser.isSet("out")) {
        const QString out = parser.value("out");
        if (!out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            throw Usage{QStringLiteral("--out names a .pdf file, not '%1'").arg(out)};
        TZVPdfPrinter pdf(out);
        TZVOffsetPrinter moved(pdf, offsets);
        PrintCalibrationPage(moved, QStringLiteral("PDF"), offsets);
        return 0;
    }
    TZVCupsPrinter printer;
    selectQueue(printer, queue);
    if (parser.isSet("save")) TZVPrinterCalibration::Save(queue, offsets);
    TZVOffsetPrinter moved(printer, offsets);
    PrintCalibrationPage(moved, queue, offsets);
    std::printf("%s-%d\n", qPrintable(queue), printer.LastJobId());
    return 0;
}

} // namespace zorvel::cli
