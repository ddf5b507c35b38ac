// The factories of the element kinds a stream or JSON record names, registered by the kinds.
#pragma once

#include "zorvel_core_export.h"

namespace zorvel {

class TZVCustomLab;
class TZVElement;

/// Creates an element on `label`; the element's constructor puts it on the label's list.
using TZVElementFactory = TZVElement* (*)(TZVCustomLab& label);

/// Makes records of stream kind `kind` (1..255) create their element with `factory`. The kinds
/// register once, before any label is read; a second registration of a kind replaces the first.
ZORVEL_CORE_EXPORT void RegisterElementKind(int kind, TZVElementFactory factory);

/// Creates an element of stream kind `kind` on `label`; it joins the label's list as every
/// element does. Null for a kind nobody registered.
ZORVEL_CORE_EXPORT TZVElement* CreateElementOfKind(TZVCustomLab& label, int kind);

} // namespace zorvel
