// zorvel printers and zorvel calibrate: the system's print queues, and a page to calibrate one.
#include "cli/Commands.h"
#include "foundation/ZVError.h"
#include "platform/ZVPdfPrinter.h"
#include "printsupport/ZVCups.h"
#include "printsupport/ZVCupsPrinter.h"
#include "printsupport/ZVPrinterCalibration.h"
#include "printsupport/ZVPrinterLanguage.h"

#include <QCommandLineParser>
#include <QRegularExpression>

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

namespace {

// Millimetres as people write them: no trailing zeros.
QString mm(double value)
{
    return QString::number(value, 'f', 2).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
}

int listMedia(const QString& queue)
{
    cups::RequireReadyQueue(queue);
    const TZVPrinterMedia media = cups::QueueMedia(queue);
    if (media.Named.isEmpty() && !media.Custom) throw EZvError(QStringLiteral("NO MEDIA KNOWN : ") + queue);
    for (const TZVPrinterMedium& medium : media.Named)
        std::printf("%s\t%s x %s mm\tmargins %s %s %s %s\n", qPrintable(medium.Name), qPrintable(mm(medium.Mm.width())),
                    qPrintable(mm(medium.Mm.height())), qPrintable(mm(medium.Margins.left())),
                    qPrintable(mm(medium.Margins.top())), qPrintable(mm(medium.Margins.right())),
                    qPrintable(mm(medium.Margins.bottom())));
    if (media.Custom) {
        const auto side = [](QSizeF size, bool width) {
            return size.isValid() ? mm(width ? size.width() : size.height()) : QStringLiteral("-");
        };
        std::printf("custom\t%s x %s to %s x %s mm\n", qPrintable(side(media.CustomMin, true)),
                    qPrintable(side(media.CustomMin, false)), qPrintable(side(media.CustomMax, true)),
                    qPrintable(side(media.CustomMax, false)));
    }
    return 0;
}

int setLanguage(const QCommandLineParser& parser)
{
    const QString queue = parser.value("set");
    if (!parser.isSet("language")) throw Usage{QStringLiteral("--set goes with --language")};
    bool ok = true;
    const int dpi = parser.isSet("dpi") ? parser.value("dpi").toInt(&ok) : TZVPrinterLanguage::kDefaultDpi;
    if (!ok) throw Usage{QStringLiteral("--dpi takes 203, 300 or 600, not '%1'").arg(parser.value("dpi"))};
    TZVPrinterLanguage language;
    try {
        language = TZVPrinterLanguages::Parse(parser.value("language"), dpi);
    } catch (const EZvError& e) {
        throw Usage{e.message()};
    }
    if (language.Kind == TZVPrinterLanguage::Driver && parser.isSet("dpi"))
        throw Usage{QStringLiteral("--dpi goes with --language zpl")};
    if (!cups::QueueState(queue).Known) throw EZvError(QStringLiteral("UNKNOWN PRINTER : ") + queue);
    TZVPrinterLanguages::Save(queue, language);
    return 0;
}

} // namespace

int runPrinters(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty()) throw Usage{QStringLiteral("takes no arguments")};
    if (parser.isSet("media") && parser.isSet("set")) throw Usage{QStringLiteral("give --media or --set, not both")};
    if (!parser.isSet("set") && (parser.isSet("language") || parser.isSet("dpi")))
        throw Usage{QStringLiteral("--language and --dpi go with --set")};
    if (parser.isSet("media")) return listMedia(parser.value("media"));
    if (parser.isSet("set")) return setLanguage(parser);
    const QStringList names = cups::Queues();
    if (names.isEmpty()) std::fputs("no printers\n", stderr);
    const QString fallback = cups::DefaultQueue();
    for (const QString& name : names) {
        const TZVPrinterLanguage language = TZVPrinterLanguages::Load(name);
        const QString zpl = language.Kind == TZVPrinterLanguage::Zpl
                                ? QStringLiteral(" [zpl %1 dpi]").arg(language.Dpi)
                                : QString();
        std::printf("%s%s%s\n", qPrintable(name), name == fallback ? " (default)" : "", qPrintable(zpl));
    }
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
