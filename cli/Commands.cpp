// Registry of the command-line tool's subcommands.
#include "cli/Commands.h"

#include <array>

namespace zorvel::cli {

std::span<const Command> commands()
{
    static constexpr std::array<Command, 1> kCommands = {{
        {"barcode", runBarcode},
    }};
    return kCommands;
}

} // namespace zorvel::cli
