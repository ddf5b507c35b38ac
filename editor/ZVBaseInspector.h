// The property inspector as the editor sees it.
#pragma once

#include "zorvel_widgets_export.h"

#include <QString>

namespace zorvel {

class TZVCustomEditor;

/// The editor keeps an inspector in step with the label and the selection through these three
/// operations; an inspector widget implements them.
class ZORVEL_WIDGETS_EXPORT TZVBaseInspector
{
public:
    /// Detaches from its editor, so that an inspector may go before the editor it is attached to.
    virtual ~TZVBaseInspector();

    /// The label or the editor link changed.
    virtual void LabelChanged() = 0;
    /// One property of the current element changed: refresh its row.
    virtual void UpdateProperty(const QString& name) = 0;
    /// The selection changed: rebuild the rows.
    virtual void UpdateSelection() = 0;

    /// The editor the inspector is attached to, or null; not owned.
    TZVCustomEditor* Editor() const { return m_editor; }
    /// Set by the editor the inspector is attached to; null when detached.
    void SetEditor(TZVCustomEditor* editor) { m_editor = editor; }

private:
    TZVCustomEditor* m_editor = nullptr;
};

} // namespace zorvel
