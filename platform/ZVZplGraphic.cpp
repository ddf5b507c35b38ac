// ^GF encoding: hex rows with the run-length letters every ZPL II printer reads.
#include "platform/ZVZplGraphic.h"

#include <algorithm>
#include <cstring>

namespace zorvel {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// Writes the repeat letters of `count` at `out`, returning the end.
char* writeRepeatCount(char* out, int count)
{
    for (; count >= 400; count -= 400)
        *out++ = 'z';
    if (count >= 20) {
        *out++ = char('g' + count / 20 - 1);
        count %= 20;
    }
    if (count > 0) *out++ = char('G' + count - 1);
    return out;
}

// A row's hex digits with runs counted; trailing zeros become ",". Never longer than the digits
// plus one, since a run's letters are never longer than the run.
char* writeRow(char* out, const char* digits, int count)
{
    int end = count;
    while (end > 0 && digits[end - 1] == '0')
        --end;
    for (int i = 0; i < end;) {
        int run = 1;
        while (i + run < end && digits[i + run] == digits[i])
            ++run;
        if (run > 1) out = writeRepeatCount(out, run);
        *out++ = digits[i];
        i += run;
    }
    if (end < count) *out++ = ',';
    return out;
}

} // namespace

QByteArray ZplRepeatCount(int count)
{
    QByteArray out(std::max(0, count) / 400 + 2, Qt::Uninitialized);
    out.resize(writeRepeatCount(out.data(), count) - out.constData());
    return out;
}

QByteArray ZplGraphicField(std::span<const std::uint8_t> bits, int bytesPerRow, int rows)
{
    const int total = bytesPerRow * rows;
    QByteArray out = "^GFA," + QByteArray::number(total) + ',' + QByteArray::number(total) + ',' +
                     QByteArray::number(bytesPerRow) + ',';
    const qsizetype head = out.size();
    out.resize(head + qsizetype(rows) * (2 * qsizetype(bytesPerRow) + 1));
    char* end = out.data() + head;
    QByteArray digits(2 * bytesPerRow, '0');
    for (int row = 0; row < rows; ++row) {
        const std::uint8_t* line = bits.data() + std::size_t(row) * std::size_t(bytesPerRow);
        if (row > 0 && std::memcmp(line, line - bytesPerRow, std::size_t(bytesPerRow)) == 0) {
            *end++ = ':';
            continue;
        }
        for (int i = 0; i < bytesPerRow; ++i) {
            digits[2 * i] = kHex[line[i] >> 4];
            digits[2 * i + 1] = kHex[line[i] & 0xF];
        }
        end = writeRow(end, digits.constData(), int(digits.size()));
    }
    out.resize(end - out.constData());
    return out;
}

} // namespace zorvel
