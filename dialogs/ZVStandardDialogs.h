// The library's own dialogs behind a label's dialog commands (element dialogs, properties,
// definitions catalogue and print preview) and behind the editor's properties command.
#pragma once

#include "document/ZVCustomLab.h"
#include "editor/ZVEditorDialogs.h"
#include "zorvel_widgets_export.h"

#include <QString>

#include <functional>

class QWidget;

namespace zorvel {

/// The library's dialogs for a label's element and label commands and for the editor, one shared
/// set, registered with the editors as the library loads.
class ZORVEL_WIDGETS_EXPORT TZVStandardDialogs final : public TZVElementEditor,
                                                       public TZVLabDialogs,
                                                       public TZVEditorDialogs
{
public:
    /// One set serves every label of the process.
    static TZVStandardDialogs& Instance();
    /// Installs the set on `label` unless it already has dialogs of its own.
    static void InstallOn(TZVLab& label);

    /// Images ask for a picture file through PictureChooser; symbols, paragraphs and tables
    /// open their dialogs. Other kinds have none.
    void EditElement(TZVCustomLab& label, TZVElement& element) override;
    /// Runs TFPropLab on `page`.
    void ShowLabelProperties(TZVCustomLab& label, int page) override;
    /// Runs TFLabelDefs.
    void ShowLabelDefs(TZVCustomLab& label) override;
    /// Runs TZvPrw; failures of the print run reach the caller.
    void Preview(TZVCustomLab& label) override;
    /// InstallOn.
    void LabelShown(TZVLab& label) override;
    /// Runs TFPropEditor.
    void ShowEditorProperties(TZVCustomEditor& editor, QWidget* parent) override;

    /// Asks for a picture file: the file to start at and the filter in Qt's syntax; an empty
    /// answer cancels. Defaults to the platform's file-open dialog.
    std::function<QString(const QString& current, const QString& filter)> PictureChooser;
    /// The window dialogs are centred on; null for none.
    QWidget* Parent = nullptr;

private:
    TZVStandardDialogs();
    void editImage(TZVCustomLab& label, class TZVImage& image);
};

} // namespace zorvel
