// ^GF encoding: hex rows with the run-length letters every ZPL II printer reads.
#include "platform/ZVZplGraphic.h"

#include <cstring>

namespace zorvel {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// A row's hex digits with runs counted; trailing zeros become ",".
void appendRow(QByteArray& out, const char* digits, int count)
{
    int end = count;
    while (end > 0 && digits[end - 1] == '0')
        --end;
    for (int i = 0; i < end;) {
        int run = 1;
        while (i + run < end && digits[i + run] == digits[i])
            ++run;
        if (run > 1) out += ZplRepeatCount(run);
        out += digits[i];
        i += run;
    }
    if (end < count) out += ',';
}

} // namespace

QByteArray ZplRepeatCount(int count)
{
    QByteArray letters;
    for (; count >= 400; count -= 400)
        letters += 'z';
    if (count >= 20) {
        letters += char('g' + count / 20 - 1);
        count %= 20;
    }
    if (count > 0) letters += char('G' + count - 1);
    return letters;
}

QByteArray ZplGraphicField(std::span<const std::uint8_t> bits, int bytesPerRow, int rows)
{
    const int total = bytesPerRow * rows;
    QByteArray out = "^GFA," + QByteArray::number(total) + ',' + QByteArray::number(total) + ',' +
                     QByteArray::number(bytesPerRow) + ',';
    QByteArray digits(2 * bytesPerRow, '0');
    for (int row = 0; row < rows; ++row) {
        const std::uint8_t* line = bits.data() + std::size_t(row) * std::size_t(bytesPerRow);
        if (row > 0 && std::memcmp(line, line - bytesPerRow, std::size_t(bytesPerRow)) == 0) {
            out += ':';
            continue;
        }
        for (int i = 0; i < bytesPerRow; ++i) {
            digits[2 * i] = kHex[line[i] >> 4];
            digits[2 * i + 1] = kHex[line[i] & 0xF];
        }
        appendRow(out, digits.constData(), int(digits.size()));
    }
    return out;
}

} // namespace zorvel
