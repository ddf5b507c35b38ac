// What a print queue is sent: a page its driver turns into the printer's language, or ZPL II that
// Zorvel writes itself at the printer's resolution and the queue passes on untouched.
#pragma once

#include "zorvel_print_export.h"

#include <QString>

#include <cstdint>

namespace zorvel {

/// A queue's language, kept by queue name beside its calibration.
struct TZVPrinterLanguage
{
    /// How jobs reach the printer.
    enum TKind : std::uint8_t
    {
        Driver, ///< PDF pages that the queue's driver rasterises
        Zpl,    ///< Zorvel's own ZPL II, sent raw
    };
    static constexpr int kDefaultDpi = 203; ///< the common thermal head, 8 dots a millimetre

    TKind Kind = Driver; ///< the language
    int Dpi = kDefaultDpi; ///< the print head's resolution; matters for Zpl only
    /// Same language and resolution.
    friend bool operator==(const TZVPrinterLanguage&, const TZVPrinterLanguage&) = default;
};

/// Reading, checking and keeping queue languages (settings file Zorvel/printers).
class ZORVEL_PRINT_EXPORT TZVPrinterLanguages
{
public:
    /// The language named `name` ("zpl" or "driver", any case) at `dpi` dots per inch. Raises
    /// EZvError "INVALID PRINTER LANGUAGE : x (DRIVER OR ZPL)" or, for ZPL, "INVALID PRINTER
    /// RESOLUTION : n DPI (203, 300 OR 600)".
    static TZVPrinterLanguage Parse(const QString& name, int dpi);
    /// "zpl" or "driver".
    static QString Name(TZVPrinterLanguage::TKind kind);
    /// What was saved for `printer`; the driver when nothing was or the entry is damaged.
    static TZVPrinterLanguage Load(const QString& printer);
    /// Keeps `language` for `printer`; the driver removes the entry. A ZPL resolution other than
    /// 203, 300 or 600 raises EZvError and saves nothing.
    static void Save(const QString& printer, const TZVPrinterLanguage& language);
};

} // namespace zorvel
