// QR Code mask choice per ISO/IEC 18004 (data masking, penalty rules 1 to 4) on rows and columns of bits.
#include "elements/ZVQrMask.h"

#include <array>
#include <bitset>
#include <cmath>
#include <cstdlib>

namespace zorvel {
namespace {

constexpr int kMinSize = 21; // version 1: 17 + 4 modules
constexpr int kMaxSize = 177; // version 40: 17 + 4 * 40 modules
constexpr int kMasks = 8;
constexpr int kFormatBits = 15;
// The format information is BCH(15,5) with this generator polynomial, XORed with this pattern.
constexpr unsigned kFormatGenerator = 0x537;
constexpr unsigned kFormatXor = 0x5412;
// Rule weights: N2 a 2 x 2 block, N3 a finder-like pattern, N4 per 5 % off half (N1 = 3 is in line()).
constexpr int kN2 = 3, kN3 = 40, kN4 = 10;

// Data modules a mask inverts (the standard's mask pattern conditions, i = row, j = column).
bool inverted(int mask, int i, int j)
{
    switch (mask) {
    case 0: return (i + j) % 2 == 0;
    case 1: return i % 2 == 0;
    case 2: return j % 3 == 0;
    case 3: return (i + j) % 3 == 0;
    case 4: return (i / 2 + j / 3) % 2 == 0;
    case 5: return (i * j) % 2 + (i * j) % 3 == 0;
    case 6: return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
    default: return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
    }
}

unsigned formatSequence(unsigned data)
{
    unsigned rest = data << 10;
    for (int bit = 14; bit >= 10; --bit)
        if (rest & (1u << bit)) rest ^= kFormatGenerator << (bit - 10);
    return ((data << 10) | rest) ^ kFormatXor;
}

struct TCell
{
    int Row, Column;
};

// Both places of format bit `i` (0 = least significant).
std::array<TCell, 2> formatCells(int i, int size)
{
    const TCell first = i < 6 ? TCell{i, 8} : i == 6 ? TCell{7, 8} : i == 7 ? TCell{8, 8} : i == 8 ? TCell{8, 7}
                                                                                                   : TCell{8, 14 - i};
    const TCell second = i < 8 ? TCell{8, size - 1 - i} : TCell{size - 15 + i, 8};
    return {first, second};
}

// Finders with separators and format areas, timing lines, alignment patterns, version areas.
std::vector<std::uint8_t> functionModules(int size)
{
    const int version = (size - 17) / 4;
    std::vector<std::uint8_t> function(std::size_t(size) * std::size_t(size), 0);
    const auto fill = [&](int top, int left, int rows, int columns) {
        for (int r = top; r < top + rows; ++r)
            for (int c = left; c < left + columns; ++c)
                function[std::size_t(r) * std::size_t(size) + std::size_t(c)] = 1;
    };
    fill(0, 0, 9, 9);
    fill(0, size - 8, 9, 8);
    fill(size - 8, 0, 8, 9);
    fill(6, 0, 1, size);
    fill(0, 6, size, 1);
    if (version >= 2) {
        // Centres evenly spaced back from the last, which is 7 from the far edge; version 32 breaks the rule.
        const int count = version / 7 + 2;
        const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (2 * count - 2) * 2;
        std::vector<int> centres{6};
        for (int i = count - 2; i >= 0; --i)
            centres.push_back(size - 7 - i * step);
        for (const int r : centres)
            for (const int c : centres) {
                const bool finder = (r == 6 && (c == 6 || c == size - 7)) || (r == size - 7 && c == 6);
                if (!finder) fill(r - 2, c - 2, 5, 5);
            }
    }
    if (version >= 7) {
        fill(0, size - 11, 6, 3);
        fill(size - 11, 0, 3, 6);
    }
    return function;
}

template <std::size_t N>
class TMaskChooser
{
public:
    using TBits = std::bitset<N>;

    TMaskChooser(const std::vector<std::uint8_t>& modules, int size, unsigned eccBits) : m_size(size)
    {
        const TLayout& layout = layoutFor(size);
        m_layout = &layout;
        m_rows.resize(std::size_t(size));
        m_columns.resize(std::size_t(size));
        for (int r = 0; r < size; ++r)
            for (int c = 0; c < size; ++c)
                if (modules[std::size_t(r) * std::size_t(size) + std::size_t(c)]) {
                    m_rows[std::size_t(r)].set(std::size_t(c));
                    m_columns[std::size_t(c)].set(std::size_t(r));
                }
        // Back to the unmasked modules, without format information.
        for (int i = 0; i < size; ++i) {
            m_rows[std::size_t(i)] = (m_rows[std::size_t(i)] ^ layout.Rows[0][std::size_t(i)]) & ~layout.FormatRows[std::size_t(i)];
            m_columns[std::size_t(i)] =
                (m_columns[std::size_t(i)] ^ layout.Columns[0][std::size_t(i)]) & ~layout.FormatColumns[std::size_t(i)];
        }
        m_eccBits = eccBits;
    }

    int Best()
    {
        int best = 0, lowest = 0;
        for (int mask = 0; mask < kMasks; ++mask) {
            masked(mask);
            const int penalty = this->penalty();
            if (mask == 0 || penalty < lowest) best = mask, lowest = penalty;
        }
        return best;
    }

    void Write(int mask, std::vector<std::uint8_t>& modules)
    {
        masked(mask);
        for (int r = 0; r < m_size; ++r)
            for (int c = 0; c < m_size; ++c)
                modules[std::size_t(r) * std::size_t(m_size) + std::size_t(c)] = m_maskedRows[std::size_t(r)][std::size_t(c)];
    }

private:
    // What depends only on the size: each mask's inverted data modules and the format cells.
    struct TLayout
    {
        int Size = 0;
        std::array<std::vector<TBits>, kMasks> Rows, Columns;
        std::vector<TBits> FormatRows, FormatColumns;
    };

    // Kept per thread for the last size: a run's symbols mostly share one.
    static const TLayout& layoutFor(int size)
    {
        thread_local TLayout layout;
        if (layout.Size == size) return layout;
        layout.Size = size;
        const std::vector<std::uint8_t> function = functionModules(size);
        for (int mask = 0; mask < kMasks; ++mask) {
            layout.Rows[std::size_t(mask)].assign(std::size_t(size), TBits());
            layout.Columns[std::size_t(mask)].assign(std::size_t(size), TBits());
            for (int r = 0; r < size; ++r)
                for (int c = 0; c < size; ++c)
                    if (!function[std::size_t(r) * std::size_t(size) + std::size_t(c)] && inverted(mask, r, c)) {
                        layout.Rows[std::size_t(mask)][std::size_t(r)].set(std::size_t(c));
                        layout.Columns[std::size_t(mask)][std::size_t(c)].set(std::size_t(r));
                    }
        }
        layout.FormatRows.assign(std::size_t(size), TBits());
        layout.FormatColumns.assign(std::size_t(size), TBits());
        for (int i = 0; i < kFormatBits; ++i)
            for (const TCell& cell : formatCells(i, size)) {
                layout.FormatRows[std::size_t(cell.Row)].set(std::size_t(cell.Column));
                layout.FormatColumns[std::size_t(cell.Column)].set(std::size_t(cell.Row));
            }
        return layout;
    }

    void masked(int mask)
    {
        m_maskedRows.resize(std::size_t(m_size));
        m_maskedColumns.resize(std::size_t(m_size));
        for (int i = 0; i < m_size; ++i) {
            m_maskedRows[std::size_t(i)] = m_rows[std::size_t(i)] ^ m_layout->Rows[std::size_t(mask)][std::size_t(i)];
            m_maskedColumns[std::size_t(i)] =
                m_columns[std::size_t(i)] ^ m_layout->Columns[std::size_t(mask)][std::size_t(i)];
        }
        const unsigned sequence = formatSequence(m_eccBits << 3 | unsigned(mask));
        for (int i = 0; i < kFormatBits; ++i)
            if (sequence >> i & 1u)
                for (const TCell& cell : formatCells(i, m_size)) {
                    m_maskedRows[std::size_t(cell.Row)].set(std::size_t(cell.Column));
                    m_maskedColumns[std::size_t(cell.Column)].set(std::size_t(cell.Row));
                }
    }

    // Bits 0 to n - 1 set.
    static TBits first(int n)
    {
        TBits bits;
        for (int i = 0; i < n; ++i)
            bits.set(std::size_t(i));
        return bits;
    }

    // Rules 1 and 3 along a row or column, bit i = module i; outside the symbol counts as light.
    int line(const TBits& m, const TBits& fiveFit) const
    {
        const TBits dark5 = m & (m >> 1) & (m >> 2) & (m >> 3) & (m >> 4);
        const TBits light5 = ~(m | (m >> 1) | (m >> 2) | (m >> 3) | (m >> 4));
        const TBits runs = (dark5 | light5) & fiveFit;
        // A run of n >= 5 scores N1 + (n - 5) = n - 2: its n - 4 windows of five, and 2 for its start.
        const std::size_t n1 = runs.count() + 2 * (runs & ~(runs << 1)).count();
        const TBits finder = m & ~(m >> 1) & (m >> 2) & (m >> 3) & (m >> 4) & ~(m >> 5) & (m >> 6);
        const TBits lightBefore = ~((m << 1) | (m << 2) | (m << 3) | (m << 4));
        const TBits lightAfter = ~((m >> 7) | (m >> 8) | (m >> 9) | (m >> 10));
        return int(n1) + kN3 * int((finder & (lightBefore | lightAfter)).count());
    }

    int penalty() const
    {
        const TBits fiveFit = first(m_size - 4);
        const TBits pairFit = first(m_size - 1);
        int total = 0;
        std::size_t dark = 0;
        for (int i = 0; i < m_size; ++i) {
            const TBits& row = m_maskedRows[std::size_t(i)];
            total += line(row, fiveFit) + line(m_maskedColumns[std::size_t(i)], fiveFit);
            dark += row.count();
            if (i + 1 < m_size) {
                const TBits& below = m_maskedRows[std::size_t(i) + 1];
                const TBits blocks = ~(row ^ below) & ~(row ^ (row >> 1)) & ~(below ^ (below >> 1)) & pairFit;
                total += kN2 * int(blocks.count());
            }
        }
        const double percent = 100.0 * double(dark) / (double(m_size) * m_size);
        return total + kN4 * int(std::fabs(percent - 50.0) / 5.0);
    }

    int m_size;
    const TLayout* m_layout = nullptr;
    unsigned m_eccBits = 0;
    std::vector<TBits> m_rows, m_columns, m_maskedRows, m_maskedColumns;
};

template <std::size_t N>
int applyBest(std::vector<std::uint8_t>& modules, int size, unsigned eccBits)
{
    TMaskChooser<N> chooser(modules, size, eccBits);
    const int best = chooser.Best();
    if (best != 0) chooser.Write(best, modules);
    return best;
}

} // namespace

int ApplyBestQrMask(std::vector<std::uint8_t>& modules, int size)
{
    if (size < kMinSize || size > kMaxSize || (size - 17) % 4 != 0 ||
        modules.size() != std::size_t(size) * std::size_t(size))
        return -1;
    unsigned sequence = 0;
    for (int i = 0; i < kFormatBits; ++i) {
        const TCell cell = formatCells(i, size)[0];
        if (modules[std::size_t(cell.Row) * std::size_t(size) + std::size_t(cell.Column)]) sequence |= 1u << i;
    }
    const unsigned data = (sequence ^ kFormatXor) >> 10;
    if (formatSequence(data) != sequence || (data & 7u) != 0) return -1;
    const unsigned eccBits = data >> 3;
    if (size <= 64) return applyBest<64>(modules, size, eccBits);
    if (size <= 128) return applyBest<128>(modules, size, eccBits);
    return applyBest<192>(modules, size, eccBits);
}

} // namespace zorvel
