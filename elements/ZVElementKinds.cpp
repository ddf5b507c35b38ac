// The registry of element factories by stream kind number.
#include "elements/ZVElementKinds.h"

#include "elements/ZVBarCode.h"
#include "elements/ZVImage.h"
#include "elements/ZVLineRect.h"
#include "elements/ZVParagraph.h"
#include "elements/ZVSymbol.h"
#include "elements/ZVTable.h"
#include "elements/ZVTextElements.h"

#include <array>

namespace zorvel {

namespace {

using TElementFactory = TZVElement* (*)(TZVCustomLab&);

// The label owns what this returns: the element's constructor has put it on the label's list.
template <typename T> TZVElement* create(TZVCustomLab& label)
{
    return new T(label);
}

// Indexed by kind number - 1.
constexpr std::array<TElementFactory, 10> kFactories{
    /* 1 */ &create<TZVLine>,
    /* 2 */ &create<TZVText>,
    /* 3 */ &create<TZVBarCode>,
    /* 4 */ &create<TZVRect>,
    /* 5 */ &create<TZVSymbol>,
    /* 6 */ &create<TZVAddText>,
    /* 7 */ &create<TZVImage>,
    /* 8 */ &create<TZVParagraph>,
    /* 9 */ &create<TZVTable>,
    /* 10 */ &create<TZVAskText>,
};

} // namespace

TZVElement* CreateElementOfKind(TZVCustomLab& label, int kind)
{
    if (kind < 1 || kind > int(kFactories.size())) return nullptr;
    return kFactories[std::size_t(kind - 1)](label);
}

} // namespace zorvel
