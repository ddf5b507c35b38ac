// The registry from an element record's kind number to the factory that creates that element.
#pragma once

namespace zorvel {

class TZVCustomLab;
class TZVElement;

/// Creates an element of stream kind `kind` (1..10) on `label`; it joins the label's list as
/// every element does. Null for an unknown kind.
TZVElement* CreateElementOfKind(TZVCustomLab& label, int kind);

} // namespace zorvel
