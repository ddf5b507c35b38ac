// The element kinds this library places on labels, registered with the label's factory table.
#include "document/ZVElementRegistry.h"

#include "elements/ZVBarCode.h"
#include "elements/ZVImage.h"
#include "elements/ZVLineRect.h"
#include "elements/ZVParagraph.h"
#include "elements/ZVSymbol.h"
#include "elements/ZVTable.h"
#include "elements/ZVTextElements.h"

#include <array>
#include <utility>

namespace zorvel {
namespace {

// The label owns what this returns: the element's constructor has put it on the label's list.
template <typename T> TZVElement* create(TZVCustomLab& label)
{
    return new T(label);
}

constexpr std::array<std::pair<TZVElementKind, TZVElementFactory>, 10> kKinds{{
    {ekLine, &create<TZVLine>},
    {ekText, &create<TZVText>},
    {ekBarCode, &create<TZVBarCode>},
    {ekRect, &create<TZVRect>},
    {ekSymbol, &create<TZVSymbol>},
    {ekAddText, &create<TZVAddText>},
    {ekImage, &create<TZVImage>},
    {ekParagraph, &create<TZVParagraph>},
    {ekTable, &create<TZVTable>},
    {ekAskText, &create<TZVAskText>},
}};

// Runs when the library loads; with a static build, when the program starts (see CMakeLists.txt).
[[maybe_unused]] const bool kRegistered = [] {
    for (const auto& [kind, factory] : kKinds) RegisterElementKind(kind, factory);
    return true;
}();

} // namespace
} // namespace zorvel
