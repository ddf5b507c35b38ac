// The dialogs an editor opens beyond itself: the label's dialogs, installed on each label it
// shows, and its own properties dialog. The widgets library registers its standard set.
#pragma once

#include "zorvel_widgets_export.h"

class QWidget;

namespace zorvel {

class TZVCustomEditor;
class TZVLab;

/// One set for every editor of the process. TZVStandardDialogs registers itself as the library
/// loads; a host may register a set of its own, or none.
class ZORVEL_WIDGETS_EXPORT TZVEditorDialogs
{
public:
    virtual ~TZVEditorDialogs() = default;

    /// The registered set, or null.
    static TZVEditorDialogs* Registered();
    /// Not owned: the set outlives the editors, or is replaced first. Null leaves editors without dialogs.
    static void Register(TZVEditorDialogs* dialogs);

    /// An editor starts showing `label`: a set installs the label's dialogs unless it has its own.
    virtual void LabelShown(TZVLab& label) = 0;
    /// TZVEditor::ShowProperties: the editor properties dialog on `editor`, modal over `parent`.
    virtual void ShowEditorProperties(TZVCustomEditor& editor, QWidget* parent) = 0;
};

} // namespace zorvel
