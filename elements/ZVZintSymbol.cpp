// The libzint symbologies: options into libzint's fields, its module matrix out.
#include "elements/ZVZintSymbol.h"

#include "elements/ZVQrMask.h"
#include "elements/ZVSymbologies.h"
#include "foundation/ZVBarcodeTables.h"

#include <zint.h>

#include <QRegularExpression>

#include <algorithm>
#include <cstring>
#include <memory>

namespace zorvel {
namespace {

struct TZintDeleter
{
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using TZintPtr = std::unique_ptr<zint_symbol, TZintDeleter>;

// The Extended Channel Interpretation that marks UTF-8 text.
constexpr int kEciUtf8 = 26;
// QR Code's option 3 selecting mask 0: (mask + 1) << 8.
constexpr int kQrMaskZero = 1 << 8;

// libzint's messages start with "Error 123: " or "Warning 123: ".
QString reasonOf(const zint_symbol& symbol)
{
    static const QRegularExpression prefix(QStringLiteral("^(Error|Warning) \\d+: "));
    QString text = QString::fromUtf8(symbol.errtxt, qstrnlen(symbol.errtxt, sizeof symbol.errtxt));
    return text.remove(prefix);
}

bool isDigits(const QString& text)
{
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

// The GS1 mod-10 check digit of the digits before it.
int gs1CheckDigit(const QString& digits)
{
    int sum = 0;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        const int d = digits[n - 1 - i].digitValue();
        sum += i % 2 == 0 ? 3 * d : d;
    }
    return (10 - sum % 10) % 10;
}

// ITF-14 and DataBar take the GTIN with or without its check digit (and DataBar also as "(01)"
// followed by it); libzint wants ITF-14's without, so a given one is checked here.
QString gtinInput(const QString& content, TZVBar type, QString& error)
{
    QString digits = content;
    if (type == DATABAR && digits.startsWith(QStringLiteral("(01)"))) digits = digits.mid(4);
    if (type == ITF14 && digits.size() == 14 && isDigits(digits)) {
        const int expected = gs1CheckDigit(digits.left(13));
        if (digits[13].digitValue() != expected)
            error = QStringLiteral("Invalid check digit '%1', expecting '%2'").arg(digits[13]).arg(expected);
        return digits.left(13);
    }
    return digits;
}

TZVZintSymbol encodeOnce(TZVZintSymbol result, const TZVSymbology& kind, const QByteArray& data, int option3)
{
    const TZintPtr symbol(ZBarcode_Create());
    if (!symbol) {
        result.Error = QStringLiteral("Out of memory");
        return result;
    }
    const TZVZintOptions& o = result.Options;
    const bool gs1 = kind.Input == TZVSymbolInput::Gs1;
    symbol->symbology = kind.ZintId;
    symbol->input_mode = gs1 ? GS1_MODE | GS1PARENS_MODE : UNICODE_MODE;
    // A GS1 check digit or date libzint only warns about is refused: scanners would reject it.
    symbol->warn_level = gs1 ? WARN_FAIL_ALL : WARN_DEFAULT;
    symbol->option_3 = option3;
    if (kind.Ecc.Taken() && o.EccLevel > 0) symbol->option_1 = o.EccLevel - 1 + kind.EccBase;
    if (kind.Columns.Taken()) symbol->option_2 = o.Columns;
    if (kind.Size.Taken()) (kind.ZintSizeOption == 3 ? symbol->option_3 : symbol->option_2) = o.SymbolSize;
    // Scanners read non-ASCII text as UTF-8 when told so.
    const bool ascii = std::all_of(data.begin(), data.end(), [](char c) { return (c & 0x80) == 0; });
    if (!ascii && kind.Input == TZVSymbolInput::Utf8) symbol->eci = kEciUtf8;

    const int status = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(data.constData()),
                                       static_cast<int>(data.size()));
    if (status >= ZINT_ERROR || status == ZINT_WARN_INVALID_OPTION || symbol->rows <= 0 || symbol->width <= 0) {
        result.Error = reasonOf(*symbol);
        if (result.Error.isEmpty()) result.Error = QStringLiteral("Cannot be encoded");
        return result;
    }
    result.Rows = symbol->rows;
    result.Columns = symbol->width;
    result.Dark.resize(static_cast<std::size_t>(result.Rows) * static_cast<std::size_t>(result.Columns));
    result.RowHeights.assign(static_cast<std::size_t>(result.Rows), 0.0f);
    const bool matrix = kind.Is2D;
    for (int row = 0; row < result.Rows; ++row) {
        if (matrix) {
            float h = symbol->row_height[row];
            if (h <= 0) h = symbol->height > 0 ? symbol->height / float(result.Rows) : 1.0f;
            result.RowHeights[static_cast<std::size_t>(row)] = h;
        }
        for (int column = 0; column < result.Columns; ++column)
            result.Dark[static_cast<std::size_t>(row) * static_cast<std::size_t>(result.Columns) +
                        static_cast<std::size_t>(column)] = (symbol->encoded_data[row][column >> 3] >> (column & 7)) & 1;
    }
    result.Text = QString::fromUtf8(reinterpret_cast<const char*>(symbol->text),
                                    qstrnlen(reinterpret_cast<const char*>(symbol->text), sizeof symbol->text));
    result.QuietX = kind.QuietX;
    result.QuietY = kind.QuietY;
    return result;
}

} // namespace

// libzint quietly ignores some out-of-range options; an explicit choice it cannot honour is refused.
// Options a symbology does not have are ignored, so switching the type keeps the design valid.
QString ZintOptionError(const TZVZintOptions& o)
{
    const TZVSymbology& kind = SymbologyOf(o.Type);
    if (kind.Ecc.Taken() && o.EccLevel != 0 && !kind.Ecc.Holds(o.EccLevel))
        return QStringLiteral("Error correction level %1 out of range (%2 to %3)")
            .arg(o.EccLevel)
            .arg(kind.Ecc.Min)
            .arg(kind.Ecc.Max);
    if (kind.Size.Taken() && o.SymbolSize != 0 && !kind.Size.Holds(o.SymbolSize))
        return QStringLiteral("Symbol size %1 out of range (%2 to %3)").arg(o.SymbolSize).arg(kind.Size.Min).arg(kind.Size.Max);
    if (kind.Columns.Taken() && o.Columns != 0 && !kind.Columns.Holds(o.Columns))
        return QStringLiteral("Number of columns %1 out of range (%2 to %3)")
            .arg(o.Columns)
            .arg(kind.Columns.Min)
            .arg(kind.Columns.Max);
    // libzint sizes an Aztec symbol by one or the other and drops the level without a word.
    if (kind.EccOrSize && o.EccLevel != 0 && o.SymbolSize != 0)
        return QStringLiteral("Error correction level and symbol size cannot both be set");
    // Sizes below the rectangular ones are square: the symbol would not be what was asked for.
    if (kind.RectangularSizes.Taken() && o.Rectangular && o.SymbolSize > 0 && o.SymbolSize < kind.RectangularSizes.Min)
        return QStringLiteral("Symbol size %1 is square, not rectangular").arg(o.SymbolSize);
    return {};
}

TZVZintSymbol EncodeZintSymbol(const QString& content, const TZVZintOptions& options)
{
    TZVZintSymbol result;
    result.Content = content;
    result.Options = options;
    const TZVSymbology& kind = SymbologyOf(options.Type);
    if (kind.ZintId <= 0) {
        result.Error = QStringLiteral("Not a libzint symbology");
        return result;
    }
    result.Error = ZintOptionError(options);
    if (!result.Error.isEmpty()) return result;
    QString input = content;
    if (kind.Input == TZVSymbolInput::Gtin) {
        input = gtinInput(content, options.Type, result.Error);
        if (!result.Error.isEmpty()) return result;
    }
    const QByteArray data = input.toUtf8();
    if (options.Type == QRCODE) {
        // libzint spends most of a QR Code on trying the eight masks; the same choice made on bit rows
        // costs a fraction, and gives the symbol libzint would.
        TZVZintSymbol masked = encodeOnce(result, kind, data, kQrMaskZero);
        if (!masked.Valid() || ApplyBestQrMask(masked.Dark, masked.Columns) >= 0) return masked;
    }
    if (!kind.RectangularSizes.Taken()) return encodeOnce(std::move(result), kind, data, 0);
    if (!options.Rectangular || options.SymbolSize > 0) return encodeOnce(std::move(result), kind, data, DM_SQUARE);
    TZVZintSymbol attempt;
    for (int size = kind.RectangularSizes.Min; size <= kind.RectangularSizes.Max; ++size) {
        TZVZintOptions sized = options;
        sized.SymbolSize = size;
        attempt = result;
        attempt.Options = sized;
        attempt = encodeOnce(std::move(attempt), kind, data, 0);
        attempt.Options = options;
        if (attempt.Valid()) break;
    }
    return attempt;
}

} // namespace zorvel

namespace zorvel {

std::vector<int> Code128ValuesOf(const TZVZintSymbol& symbol)
{
    if (!symbol.Valid() || symbol.Rows < 1 || symbol.Columns < 1) return {};
    // Run lengths of the first row, bar first.
    std::vector<int> runs;
    for (int column = 0; column < symbol.Columns;) {
        const bool dark = symbol.IsDark(0, column);
        if (runs.empty() && !dark) return {};
        int run = 0;
        while (column < symbol.Columns && symbol.IsDark(0, column) == dark)
            ++column, ++run;
        runs.push_back(run);
    }
    // Six runs a symbol character, then the seven of the stop.
    if (runs.size() < 6 * 3 + 7 || (runs.size() - 7) % 6 != 0) return {};
    std::vector<int> values;
    for (std::size_t at = 0; at + 7 < runs.size(); at += 6) {
        char pattern[7] = {};
        for (int i = 0; i < 6; ++i) {
            if (runs[at + std::size_t(i)] > 4) return {};
            pattern[i] = char('0' + runs[at + std::size_t(i)]);
        }
        int value = -1;
        if (at == 0) {
            if (std::strcmp(pattern, barcode::kCode128StartAPattern) == 0) value = barcode::kCode128StartA;
            if (std::strcmp(pattern, barcode::kCode128StartBPattern) == 0) value = barcode::kCode128StartB;
            if (std::strcmp(pattern, barcode::kCode128StartCPattern) == 0) value = barcode::kCode128StartC;
        } else {
            for (std::size_t v = 0; v < barcode::kCode128.size() && value < 0; ++v)
                if (std::strcmp(pattern, barcode::kCode128[v].Pattern) == 0) value = int(v);
        }
        if (value < 0) return {};
        values.push_back(value);
    }
    values.pop_back(); // the check value, which the printer works out itself
    return values;
}

} // namespace zorvel
