// ZPL II graphic fields: one-bit pictures as ^GF with the printer's ASCII hex compression.
#pragma once

#include "zorvel_core_export.h"

#include <QByteArray>

#include <cstdint>
#include <span>

namespace zorvel {

/// `rows` rows of `bytesPerRow` bytes, most significant bit leftmost, 1 = a dark dot, as the
/// ^GFA command that prints them: every row in hex, a repeated row as ":", runs of one digit
/// counted with the letters G..Y (1..19) and g..z (20..400), a row ending in zeros cut by ",".
ZORVEL_CORE_EXPORT QByteArray ZplGraphicField(std::span<const std::uint8_t> bits, int bytesPerRow, int rows);

/// The ZPL repeat count of `count` digits (1..): "z" for each 400, then g..y, then G..Y.
ZORVEL_CORE_EXPORT QByteArray ZplRepeatCount(int count);

} // namespace zorvel
