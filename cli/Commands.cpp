// Registry of the command-line tool's subcommands.
#include "cli/Commands.h"

#include <array>

namespace zorvel::cli {

std::span<const Command> commands()
{
    static constexpr std::array<Command, 3> kCommands = {{
        {"barcode", runBarcode, barcodePaints},
        {"dump", runDump},
        {"convert", runConvert},
    }};
    return kCommands;
}

} // namespace zorvel::cli
