// Registry of the command-line tool's subcommands and the option readers they share.
#include "cli/Commands.h"

#include <QCommandLineParser>

#include <array>

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
