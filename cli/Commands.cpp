// Registry of the command-line tool's subcommands and the option readers they share.
#include "cli/Commands.h"

#include "foundation/ZVError.h"
#include "foundation/ZVPrinter.h"

#include <QCommandLineParser>

#include <array>
#include <cstdio>

namespace zorvel::cli {

std::span<const Command> commands()
{
    static constexpr std::array<Command, 6> kCommands = {{
        {"barcode", runBarcode, barcodePaints},
        {"dump", runDump},
        {"convert", runConvert},
        {"render", runRender, renderPaints},
        {"printers", runPrinters, printersPaint},
        {"calibrate", runCalibrate, printersPaint},
    }};
    return kCommands;
}

int runReporting(const char* command, const std::function<int()>& work)
{
    try {
        return work();
    } catch (const Usage& usage) {
        std::fprintf(stderr, "zorvel %s: %s\n", command, qPrintable(usage.message));
        return 2;
    } catch (const EZvError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    } catch (const EZvPrinterError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

int boundedIntOption(const QCommandLineParser& parser, const QCommandLineOption& option, int fallback, int min, int max)
{
    if (!parser.isSet(option)) return fallback;
    bool ok = false;
    const int dpi = parser.value(option).toInt(&ok);
    if (!ok || dpi < min || dpi > max)
        throw Usage{QStringLiteral("--%1 takes a whole number from %2 to %3, not '%4'")
                        .arg(option.names().first())
                        .arg(min)
                        .arg(max)
                        .arg(parser.value(option))};
    return dpi;
}

} // namespace zorvel::cli
