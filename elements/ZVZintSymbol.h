// Encoding of the libzint symbologies into a module matrix the bar code element paints itself.
#pragma once

#include "foundation/ZVTypes.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace zorvel {

/// What selects a symbol besides its content; 0 means automatic (see TZVBarCode's options).
struct TZVZintOptions
{
    TZVBar Type = QRCODE; ///< one of the libzint symbologies
    int EccLevel = 0; ///< error correction (TZVBarCode::EccLevel)
    int SymbolSize = 0; ///< version or size number (TZVBarCode::SymbolSize)
    bool Rectangular = false; ///< Data Matrix rectangles
    int Columns = 0; ///< PDF417 data columns
    /// Equal when every field is.
    friend bool operator==(const TZVZintOptions&, const TZVZintOptions&) = default;
};

/// An encoded symbol: its dark modules row by row, the human-readable text and the quiet zone
/// its standard asks for, all in modules.
struct TZVZintSymbol
{
    QString Content; ///< what was encoded
    TZVZintOptions Options; ///< how it was encoded
    QString Error; ///< libzint's reason for refusing the content; empty when it encoded
    int Rows = 0; ///< rows of modules
    int Columns = 0; ///< modules across
    /// Height of each row in modules; 0 for the rows of a linear symbol, which take the bar height.
    std::vector<float> RowHeights;
    std::vector<std::uint8_t> Dark; ///< Rows x Columns, row by row; 1 = dark module
    QString Text; ///< human-readable text (GS1 element strings with their AIs in brackets)
    /// Quiet zone in modules: left and right; above and below (0 for linear symbols).
    /// @{
    int QuietX = 0;
    int QuietY = 0;
    /// @}

    /// True when the content was encoded.
    bool Valid() const { return Error.isEmpty(); }
    /// Whether the module at `row`, `column` (from the top-left, 0-based) is dark.
    bool IsDark(int row, int column) const
    {
        return Dark[static_cast<std::size_t>(row) * static_cast<std::size_t>(Columns) +
                    static_cast<std::size_t>(column)] != 0;
    }
};

/// Why `options` cannot be honoured: a value outside what their symbology takes, or two choices that
/// exclude each other; empty when they can. Options the symbology does not have are not looked at.
ZORVEL_CORE_EXPORT QString ZintOptionError(const TZVZintOptions& options);

/// Encodes `content` (UTF-8 text; GS1 types take element strings with AIs in brackets) with libzint.
/// A refused content gives a symbol whose Error tells why and which has no modules.
ZORVEL_CORE_EXPORT TZVZintSymbol EncodeZintSymbol(const QString& content, const TZVZintOptions& options);

/// The Code 128 symbol values of a Code 128 or GS1-128 symbol read back from its modules, start
/// code first and without the check value: the code sets libzint chose. Empty for any other symbol.
ZORVEL_CORE_EXPORT std::vector<int> Code128ValuesOf(const TZVZintSymbol& symbol);

} // namespace zorvel
