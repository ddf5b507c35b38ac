// What the grid and the rulers ask of the editor that owns them.
#pragma once

#include "document/ZVEditorLink.h"
#include "zorvel_widgets_export.h"

namespace zorvel {

class TZVCustomLab;

/// The editor as its grid and rulers see it: the label link plus the editor's life cycle.
class ZORVEL_WIDGETS_EXPORT TZVEditorHost : public TZVEditorLink
{
public:
    /// The label shown, or null.
    virtual TZVCustomLab* Zorvel() const = 0;
    /// The editor's settings are being read: setters keep raw values until it is loaded.
    virtual bool IsLoading() const = 0;
    /// The editor is being destroyed: its parts must not call back into it.
    virtual bool IsDestroying() const = 0;
};

} // namespace zorvel
