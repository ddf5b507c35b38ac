// The library's own dialogs opened for a label's and an editor's dialog commands.
#include "dialogs/ZVStandardDialogs.h"

#include "dialogs/ZVEditorProps.h"
#include "dialogs/ZVLabelDefsDialog.h"
#include "dialogs/ZVLabelProps.h"
#include "dialogs/ZVParagraphDialog.h"
#include "dialogs/ZVPreview.h"
#include "dialogs/ZVSymbolDialog.h"
#include "dialogs/ZVTableProps.h"
#include "document/ZVEditorLink.h"
#include "elements/ZVImage.h"
#include "elements/ZVParagraph.h"
#include "elements/ZVSymbol.h"
#include "elements/ZVTable.h"
#include "platform/ZVPicture.h"

#include <QFileDialog>
#include <QMessageBox>

namespace zorvel {

TZVStandardDialogs::TZVStandardDialogs()
{
    PictureChooser = [this](const QString& current, const QString& filter) {
        return QFileDialog::getOpenFileName(Parent, QString(), LocalPicturePath(current), filter);
    };
}

TZVStandardDialogs& TZVStandardDialogs::Instance()
{
    static TZVStandardDialogs dialogs;
    return dialogs;
}

void TZVStandardDialogs::InstallOn(TZVLab& label)
{
    if (!label.ElementEditor()) label.SetElementEditor(&Instance());
    if (!label.LabDialogs()) label.SetLabDialogs(&Instance());
    if (!label.OnMessage) {
        label.OnMessage = [](QObject*, const QString& message) {
            QMessageBox::warning(Instance().Parent, QString(), message);
        };
    }
}

void TZVStandardDialogs::EditElement(TZVCustomLab& label, TZVElement& element)
{
    if (auto* image = qobject_cast<TZVImage*>(&element))
        editImage(label, *image);
    else if (auto* symbol = qobject_cast<TZVSymbol*>(&element))
        TPropSym::Execute(label, *symbol, Parent);
    else if (auto* paragraph = qobject_cast<TZVParagraph*>(&element))
        TPropPara::Execute(label, *paragraph, Parent);
    else if (auto* table = qobject_cast<TZVTable*>(&element))
        TPropTable::Execute(label, *table, Parent);
}

void TZVStandardDialogs::editImage(TZVCustomLab& label, TZVImage& image)
{
    const QString file = PictureChooser ? PictureChooser(image.FileImage(), label.PictureFilter()) : QString();
    if (file.isEmpty()) return;
    // An unreadable file is reported through the label's OnMessage.
    image.SetFileImage(file);
    if (TZVEditorLink* editor = label.Editor()) {
        editor->SetSelectionDirty();
        editor->SetContentDirty();
        if (editor->PaintEnabled()) editor->Refresh(false);
    }
}

void TZVStandardDialogs::ShowLabelProperties(TZVCustomLab& label, int page)
{
    TFPropLab::Execute(label, page, Parent);
}

void TZVStandardDialogs::ShowLabelDefs(TZVCustomLab& label)
{
    TFLabelDefs::Execute(label, Parent);
}

void TZVStandardDialogs::Preview(TZVCustomLab& label)
{
    TZvPrw::Execute(label, Parent);
}

void TZVStandardDialogs::LabelShown(TZVLab& label)
{
    InstallOn(label);
}

void TZVStandardDialogs::ShowEditorProperties(TZVCustomEditor& editor, QWidget* parent)
{
    TFPropEditor::Execute(editor, parent);
}

} // namespace zorvel

// Every editor opens the standard set unless its host registers another. A static library keeps
// this object through the link option in dialogs/CMakeLists.txt, as nothing else may use it.
extern "C" const bool zorvel_standard_dialogs_registered = [] {
    zorvel::TZVEditorDialogs::Register(&zorvel::TZVStandardDialogs::Instance());
    return true;
}();
