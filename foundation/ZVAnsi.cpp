// Windows-1252 conversion by table, so that no locale or ICU setting can change a stored byte.
#include "foundation/ZVAnsi.h"

#include <array>

namespace zorvel {
namespace {

// 0x80..0x9F; the five bytes the code page leaves undefined map to the C1 control of the same
// value, as the platform's converter does, so that every byte survives a round trip.
constexpr std::array<char16_t, 32> kHighControls = {
    /* 80-87 */ 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    /* 88-8F */ 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    /* 90-97 */ 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    /* 98-9F */ 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char toAnsi(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

QString AnsiToQString(QByteArrayView bytes)
{
    QString result(bytes.size(), Qt::Uninitialized);
    QChar* out = result.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b));
    }
    return result;
}

QByteArray QStringToAnsi(const QString& text)
{
    QByteArray result(text.size(), Qt::Uninitialized);
    char* out = result.data();
    for (const QChar c : text)
        *out++ = toAnsi(c.unicode());
    return result;
}

} // namespace zorvel
