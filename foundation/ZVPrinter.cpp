// Printer contract helpers.
#include "foundation/ZVPrinter.h"

namespace zorvel {

TZVDevMode& RequireDevMode(TZVPrinter& printer)
{
    TZVDevMode* devMode = printer.DevMode();
    if (!devMode) {
        printer.SetPrinterIndex(printer.PrinterIndex());
        devMode = printer.DevMode();
    }
    if (!devMode)
        throw EZvPrinterError("CANT INITIALIZE DEVMODE STRUCT");
    return *devMode;
}

} // namespace zorvel
