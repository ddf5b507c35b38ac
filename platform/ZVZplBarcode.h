// Bar codes as ZPL II's own bar code commands.
#pragma once

#include "foundation/ZVCanvas.h"
#include "zorvel_core_export.h"

#include <QByteArray>

#include <optional>
#include <vector>

namespace zorvel {

/// The field that prints `symbol` with the printer's command for its symbology (^FO ... ^FS, the
/// interpretation line off), or nothing when the printer cannot reproduce it: a symbology without
/// a command, a turn the command lacks, content the command cannot carry.
ZORVEL_CORE_EXPORT std::optional<QByteArray> ZplBarcodeField(const TZVNativeBarcode& symbol);

/// Code 128 symbol values (start code first, no check value) as ^BC field data with invocation
/// codes (>9 >: >; start, >5 >6 >7 code sets, >8 FNC1, >0 >< >= >1 for > ^ ~ DEL), so that the
/// printer makes the same symbol;
/// nothing for values it cannot be told (shift, FNC2..4, control characters).
ZORVEL_CORE_EXPORT std::optional<QByteArray> ZplCode128Data(const std::vector<int>& values);

/// `text` as field data after ^FH_: UTF-8 with ^, ~, _ and control bytes written as _XX.
ZORVEL_CORE_EXPORT QByteArray ZplFieldData(const QByteArray& text);

} // namespace zorvel
