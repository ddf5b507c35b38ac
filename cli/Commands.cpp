// Registry of the command-line tool's subcommands.
#include "cli/Commands.h"

#include <array>

namespace zorvel::cli {

std::span<const Command> commands()
{
    static constexpr std::array<Command, 4> kCommands = {{
        {"barcode", runBarcode, barcodePaints},
        {"dump", runDump},
        {"convert", runConvert},
        {"render", runRender, renderPaints},
    }};
    return kCommands;
}

} // namespace zorvel::cli
