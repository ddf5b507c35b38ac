// The library's own dialogs behind a label's dialog commands: element dialogs, properties,
// definitions catalogue and print preview.
#pragma once

#include "document/ZVCustomLab.h"

#include <QString>

#include <functional>

class QWidget;

namespace zorvel {

class TZVStandardDialogs final : public TZVElementEditor, public TZVLabDialogs
{
public:
    // One set serves every label of the process.
    static TZVStandardDialogs& Instance();
    // Installs the set on `label` unless it already has dialogs of its own.
    static void InstallOn(TZVLab& label);

    void EditElement(TZVCustomLab& label, TZVElement& element) override;
    void ShowLabelProperties(TZVCustomLab& label, int page) override;
    void ShowLabelDefs(TZVCustomLab& label) override;
    void Preview(TZVCustomLab& label) override;

    // Asks for a picture file: the file to start at and the filter in Qt's syntax; an empty
    // answer cancels. Defaults to the platform's file-open dialog.
    std::function<QString(const QString& current, const QString& filter)> PictureChooser;
    // The window dialogs are centred on; null for none.
    QWidget* Parent = nullptr;

private:
    TZVStandardDialogs();
    void editImage(TZVCustomLab& label, class TZVImage& image);
};

} // namespace zorvel
