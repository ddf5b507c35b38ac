// The automatic mask of a QR Code symbol (ISO/IEC 18004 penalty rules), chosen a row of bits at a time.
#pragma once

#include <cstdint>
#include <vector>

namespace zorvel {

/// Rewrites `modules` (a `size` x `size` QR Code symbol, row by row, 1 = dark, encoded with mask 0)
/// with the mask of the lowest penalty, the first of equals, and its format information: the
/// symbol libzint makes when it chooses the mask itself, at a fraction of the cost. Returns the
/// mask, or -1 (and leaves `modules` alone) when they do not hold such a symbol.
int ApplyBestQrMask(std::vector<std::uint8_t>& modules, int size);

} // namespace zorvel
