// The libzint symbologies: options into libzint's fields, its module matrix out.
#include "elements/ZVZintSymbol.h"

#include <zint.h>

#include <QRegularExpression>

#include <algorithm>
#include <memory>

namespace zorvel {
namespace {

struct TZintDeleter
{
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using TZintPtr = std::unique_ptr<zint_symbol, TZintDeleter>;

// Data Matrix's rectangular sizes in libzint's numbering, smallest capacity first.
constexpr int kFirstRectangularSize = 25;
constexpr int kLastRectangularSize = 30;

struct TZintKind
{
    int Symbology;
    bool Gs1;
    int QuietX; // modules left and right
    int QuietY; // modules above and below
};

TZintKind kindOf(TZVBar type)
{
    switch (type) {
    case QRCODE: return {BARCODE_QRCODE, false, 4, 4};
    case MICROQR: return {BARCODE_MICROQR, false, 2, 2};
    case DATAMATRIX: return {BARCODE_DATAMATRIX, false, 1, 1};
    case GS1DATAMATRIX: return {BARCODE_DATAMATRIX, true, 1, 1};
    case PDF417: return {BARCODE_PDF417, false, 2, 2};
    case AZTEC: return {BARCODE_AZTEC, false, 0, 0};
    case CODE128: return {BARCODE_CODE128, false, 10, 0};
    case GS1128: return {BARCODE_GS1_128, true, 10, 0};
    case ITF14: return {BARCODE_ITF14, false, 10, 0};
    // DataBar needs no quiet zone; one module keeps its first bar off a neighbour.
    case DATABAR: return {BARCODE_DBAR_OMN, false, 1, 0};
    case DATABAREXP: return {BARCODE_DBAR_EXP, true, 1, 0};
    case CODE93: return {BARCODE_CODE93, false, 10, 0};
    case CODABAR: return {BARCODE_CODABAR, false, 10, 0};
    case UPCE: return {BARCODE_UPCE, false, 9, 0};
    default: return {0, false, 0, 0};
    }
}

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

TZVZintSymbol encodeOnce(TZVZintSymbol result, const TZintKind& kind, const QByteArray& data, int option3)
{
    const TZintPtr symbol(ZBarcode_Create());
    if (!symbol) {
        result.Error = QStringLiteral("Out of memory");
        return result;
    }
    const TZVZintOptions& o = result.Options;
    symbol->symbology = kind.Symbology;
    symbol->input_mode = kind.Gs1 ? GS1_MODE | GS1PARENS_MODE : UNICODE_MODE;
    // A GS1 check digit or date libzint only warns about is refused: scanners would reject it.
    symbol->warn_level = kind.Gs1 ? WARN_FAIL_ALL : WARN_DEFAULT;
    symbol->option_3 = option3;
    switch (o.Type) {
    case QRCODE:
    case MICROQR:
    case AZTEC:
        if (o.EccLevel > 0) symbol->option_1 = o.EccLevel;
        symbol->option_2 = o.SymbolSize;
        break;
    case DATAMATRIX:
    case GS1DATAMATRIX:
        if (o.SymbolSize > 0) symbol->option_2 = o.SymbolSize;
        break;
    case PDF417:
        if (o.EccLevel > 0) symbol->option_1 = o.EccLevel - 1;
        symbol->option_2 = o.Columns;
        symbol->option_3 = o.SymbolSize;
        break;
    default:
        break;
    }
    // Scanners read non-ASCII text of the 2D codes as UTF-8 when told so.
    const bool ascii = std::all_of(data.begin(), data.end(), [](char c) { return (c & 0x80) == 0; });
    if (!ascii && !kind.Gs1 && (o.Type == QRCODE || o.Type == DATAMATRIX || o.Type == PDF417 || o.Type == AZTEC))
        symbol->eci = 26;

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
    const bool matrix = IsMatrixSymbology(o.Type);
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

bool IsMatrixSymbology(TZVBar type)
{
    switch (type) {
    case QRCODE:
    case MICROQR:
    case DATAMATRIX:
    case GS1DATAMATRIX:
    case PDF417:
    case AZTEC:
        return true;
    default:
        return false;
    }
}

// libzint quietly ignores some out-of-range options; an explicit choice it cannot honour is refused.
// Options a symbology does not have are ignored, so switching the type keeps the design valid.
QString ZintOptionError(const TZVZintOptions& o)
{
    int maxEcc = 0;
    int minSize = 1;
    int maxSize = 0;
    switch (o.Type) {
    case QRCODE: maxEcc = 4; maxSize = 40; break;
    case MICROQR: maxEcc = 4; maxSize = 4; break;
    case AZTEC: maxEcc = 4; maxSize = 36; break;
    case DATAMATRIX:
    case GS1DATAMATRIX: maxSize = 48; break;
    case PDF417: maxEcc = 9; minSize = 3; maxSize = 90; break;
    default: break;
    }
    if (maxEcc && o.EccLevel != 0 && (o.EccLevel < 1 || o.EccLevel > maxEcc))
        return QStringLiteral("Error correction level %1 out of range (1 to %2)").arg(o.EccLevel).arg(maxEcc);
    if (maxSize && o.SymbolSize != 0 && (o.SymbolSize < minSize || o.SymbolSize > maxSize))
        return QStringLiteral("Symbol size %1 out of range (%2 to %3)").arg(o.SymbolSize).arg(minSize).arg(maxSize);
    if (o.Type == PDF417 && o.Columns != 0 && (o.Columns < 1 || o.Columns > 30))
        return QStringLiteral("Number of columns %1 out of range (1 to 30)").arg(o.Columns);
    // libzint sizes an Aztec symbol by one or the other and drops the level without a word.
    if (o.Type == AZTEC && o.EccLevel != 0 && o.SymbolSize != 0)
        return QStringLiteral("Error correction level and symbol size cannot both be set");
    // Sizes below the rectangular ones are square: the symbol would not be what was asked for.
    if ((o.Type == DATAMATRIX || o.Type == GS1DATAMATRIX) && o.Rectangular && o.SymbolSize > 0 &&
        o.SymbolSize < kFirstRectangularSize)
        return QStringLiteral("Symbol size %1 is square, not rectangular").arg(o.SymbolSize);
    return {};
}

TZVZintSymbol EncodeZintSymbol(const QString& content, const TZVZintOptions& options)
{
    TZVZintSymbol result;
    result.Content = content;
    result.Options = options;
    const TZintKind kind = kindOf(options.Type);
    if (kind.Symbology == 0) {
        result.Error = QStringLiteral("Not a libzint symbology");
        return result;
    }
    result.Error = ZintOptionError(options);
    if (!result.Error.isEmpty()) return result;
    QString input = content;
    if (options.Type == ITF14 || options.Type == DATABAR) {
        input = gtinInput(content, options.Type, result.Error);
        if (!result.Error.isEmpty()) return result;
    }
    const QByteArray data = input.toUtf8();
    const bool dataMatrix = options.Type == DATAMATRIX || options.Type == GS1DATAMATRIX;
    if (!dataMatrix) return encodeOnce(std::move(result), kind, data, 0);
    if (!options.Rectangular || options.SymbolSize > 0) return encodeOnce(std::move(result), kind, data, DM_SQUARE);
    TZVZintSymbol attempt;
    for (int size = kFirstRectangularSize; size <= kLastRectangularSize; ++size) {
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
