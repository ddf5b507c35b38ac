// ZPL II bar code commands: orientation, ^BY module and ratio, the command and its field data.
#include "platform/ZVZplBarcode.h"

#include <algorithm>
#include <cstring>

namespace zorvel {
namespace {

constexpr int kStartA = 103;
constexpr int kStartB = 104;
constexpr int kStartC = 105;
constexpr int kCodeC = 99;
constexpr int kCodeB = 100;
constexpr int kCodeA = 101;
constexpr int kFnc1 = 102;
// ^BQ, ^BX, ^BO and ^BR magnify by 1..10 dots a module.
constexpr int kMaxMagnification = 10;
constexpr int kQrDrop = 10;

char orientation(int angle)
{
    switch (angle) {
    case 90: return 'B';
    case 180: return 'I';
    case 270: return 'R';
    default: return 'N';
    }
}

QByteArray number(double value)
{
    return QByteArray::number(value, 'f', 1);
}

bool allIn(const QString& text, const char* set)
{
    return std::all_of(text.begin(), text.end(), [set](QChar c) {
        return c.unicode() < 128 && c.unicode() != 0 && std::strchr(set, char(c.unicode())) != nullptr;
    });
}

bool allDigits(const QString& text, qsizetype count)
{
    return text.size() >= count && allIn(text.left(count), "0123456789");
}

} // namespace

QByteArray ZplFieldData(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '^' || c == '~' || c == '_')
            out += '_' + QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
        else
            out += c;
    }
    return out;
}

std::optional<QByteArray> ZplCode128Data(const std::vector<int>& values)
{
    if (values.empty()) return std::nullopt;
    QByteArray out;
    char set = 0;
    switch (values.front()) {
    case kStartA: out = ">9", set = 'A'; break;
    case kStartB: out = ">:", set = 'B'; break;
    case kStartC: out = ">;", set = 'C'; break;
    default: return std::nullopt;
    }
    for (std::size_t i = 1; i < values.size(); ++i) {
        const int v = values[i];
        if (v == kFnc1) {
            out += ">8";
        } else if (v == kCodeC && set != 'C') {
            out += ">5", set = 'C';
        } else if (v == kCodeB && set != 'B') {
            out += ">6", set = 'B';
        } else if (v == kCodeA && set != 'A') {
            out += ">7", set = 'A';
        } else if (set == 'C' && v >= 0 && v < 100) {
            out += QByteArray::number(v).rightJustified(2, '0');
        } else if (v >= 0 && v < (set == 'A' ? 64 : 96)) {
            const char c = char(32 + v);
            // ZPL's own codes for the characters that start invocation codes and commands.
            if (c == '>')
                out += ">0";
            else if (c == '^')
                out += "><";
            else if (c == '~')
                out += ">=";
            else if (v == 95)
                out += ">1";
            else
                out += ZplFieldData(QByteArray(1, c));
        } else {
            return std::nullopt;
        }
    }
    return out;
}

std::optional<QByteArray> ZplBarcodeField(const TZVNativeBarcode& s)
{
    const char o = orientation(s.Angle);
    const QByteArray h = QByteArray::number(std::max(1, s.BarHeight));
    const int module = std::max(1, s.Module);
    const QByteArray mag = QByteArray::number(std::min(module, kMaxMagnification));
    const QByteArray utf8 = s.Content.toUtf8();
    QByteArray by = "^BY" + QByteArray::number(module) + ',' + number(std::clamp(s.Ratio, 2.0, 3.0)) + ',' + h;
    QByteArray command;
    QByteArray data;
    // The command comes from the symbology table; the switch adds its fields.
    const QByteArray& name = s.ZplCommand;
    if (name.isEmpty()) return std::nullopt;
    // ^BE, ^B8 and ^BU make the standard's modules, which a ratio other than 2 changes.
    const bool standardEan = std::abs(s.Ratio - 2.0) < 1e-9;
    switch (s.Type) {
    case EAN13:
        if (!standardEan || !allDigits(s.Content, 12)) return std::nullopt;
        command = name + o + ',' + h + ",N,N";
        data = utf8.left(12);
        break;
    case EAN8:
        if (!standardEan || !allDigits(s.Content, 7)) return std::nullopt;
        command = name + o + ',' + h + ",N,N";
        data = utf8.left(7);
        break;
    case UPCA:
        if (!standardEan || !allDigits(s.Content, 11)) return std::nullopt;
        command = name + o + ',' + h + ",N,N,Y";
        data = utf8.left(11);
        break;
    case UPCE:
        if (s.Content.size() != 7 || !allDigits(s.Content, 7)) return std::nullopt;
        command = name + o + ',' + h + ",N,N,Y";
        data = utf8;
        break;
    case CODE39:
        if (!allIn(s.Content, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%")) return std::nullopt;
        command = name + o + ",N," + h + ",N,N";
        data = utf8;
        break;
    case CODE93:
        if (!allIn(s.Content, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%")) return std::nullopt;
        command = name + o + ',' + h + ",N,N,N";
        data = utf8;
        break;
    case CODABAR: {
        if (s.Content.size() < 3 || !allIn(s.Content.left(1) + s.Content.right(1), "ABCD")
            || !allIn(s.Content.mid(1, s.Content.size() - 2), "0123456789-$:/.+"))
            return std::nullopt;
        command = name + o + ",N," + h + ",N,N," + utf8.left(1) + ',' + utf8.right(1);
        data = utf8.mid(1, utf8.size() - 2);
        break;
    }
    case ITF14:
        if (s.Content.size() != 14 || !allDigits(s.Content, 14)) return std::nullopt;
        command = name + o + ',' + h + ",N,N,N";
        data = utf8;
        break;
    case EAN128A:
    case EAN128B:
    case EAN128C:
    case CODE128:
    case GS1128: {
        const std::optional<QByteArray> values = ZplCode128Data(s.Values);
        if (!values) return std::nullopt;
        command = name + o + ',' + h + ",N,N,N,N";
        data = *values;
        break;
    }
    case QRCODE: {
        // ^BQ has no turned form.
        if (s.Angle != 0 || module > kMaxMagnification) return std::nullopt;
        // Levels 1..4 are L, M, Q and H; libzint's own choice without a level is L.
        const char ecc = s.EccLevel >= 1 && s.EccLevel <= 4 ? "LMQH"[s.EccLevel - 1] : 'L';
        command = name + "N,2," + mag;
        data = QByteArray(1, ecc) + "A," + ZplFieldData(utf8);
        by.clear();
        break;
    }
    case DATAMATRIX:
        if (module > kMaxMagnification * 10) return std::nullopt;
        command = name + o + ',' + QByteArray::number(module) + ",200";
        data = ZplFieldData(utf8);
        by.clear();
        break;
    case PDF417: {
        QByteArray ecc = s.EccLevel > 0 ? QByteArray::number(s.EccLevel - 1) : QByteArray("0");
        QByteArray columns = s.Columns > 0 ? QByteArray::number(s.Columns) : QByteArray();
        command = name + o + ',' + h + ',' + ecc + ',' + columns + ",,N";
        data = ZplFieldData(utf8);
        break;
    }
    case AZTEC: {
        if (module > kMaxMagnification) return std::nullopt;
        static constexpr int kPercent[] = {10, 23, 36, 50};
        const QByteArray ecc =
            s.EccLevel >= 1 && s.EccLevel <= 4 ? QByteArray::number(kPercent[s.EccLevel - 1]) : QByteArray("0");
        command = name + o + ',' + mag + ",N," + ecc;
        data = ZplFieldData(utf8);
        by.clear();
        break;
    }
    case DATABAR:
        if (!allDigits(s.Content, 13)) return std::nullopt;
        command = name + o + ",1," + mag + ",1," + h + ",22";
        data = utf8.left(13);
        by.clear();
        break;
    default: return std::nullopt;
    }
    if (data.contains('_')) command += "^FH_";
    // Zebra printers set a QR Code this many dots below its field origin.
    const int y = s.Type == QRCODE ? s.Anchor.Y - kQrDrop : s.Anchor.Y;
    if (y < 0) return std::nullopt;
    return "^FO" + QByteArray::number(s.Anchor.X) + ',' + QByteArray::number(y) + by + command + "^FD" + data +
           "^FS\n";
}

} // namespace zorvel
