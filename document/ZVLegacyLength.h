// Lengths that stream layouts older than version 20 kept in tenths of a millimetre.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace zorvel {

/// Layouts below this version store lengths in tenths of a millimetre.
inline constexpr std::int32_t kFirstModelUnitVersion = 20;

/// Tenths of a millimetre -> model units; saturates so that a damaged stream cannot overflow.
inline void ScaleLegacyLength(std::int32_t& value)
{
    const std::int64_t scaled = std::int64_t(value) * 10;
    value = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        scaled, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace zorvel
