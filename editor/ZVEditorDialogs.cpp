// The registered set of dialogs editors open.
#include "editor/ZVEditorDialogs.h"

namespace zorvel {
namespace {

// A function's static: the standard set registers during static initialisation.
TZVEditorDialogs*& registered()
{
    static TZVEditorDialogs* dialogs = nullptr;
    return dialogs;
}

} // namespace

TZVEditorDialogs* TZVEditorDialogs::Registered()
{
    return registered();
}

void TZVEditorDialogs::Register(TZVEditorDialogs* dialogs)
{
    registered() = dialogs;
}

} // namespace zorvel
