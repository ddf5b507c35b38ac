// The table of element factories by stream kind number.
#include "document/ZVElementRegistry.h"

#include <array>

namespace zorvel {
namespace {

// A kind number is one byte in a stream.
using TFactories = std::array<TZVElementFactory, 256>;

// Filled from static initializers of other files, so built on first use rather than at load.
TFactories& factories()
{
    static TFactories table{};
    return table;
}

} // namespace

void RegisterElementKind(int kind, TZVElementFactory factory)
{
    if (kind < 1 || kind >= int(factories().size())) return;
    factories()[std::size_t(kind)] = factory;
}

TZVElement* CreateElementOfKind(TZVCustomLab& label, int kind)
{
    if (kind < 1 || kind >= int(factories().size())) return nullptr;
    const TZVElementFactory factory = factories()[std::size_t(kind)];
    return factory ? factory(label) : nullptr;
}

} // namespace zorvel
