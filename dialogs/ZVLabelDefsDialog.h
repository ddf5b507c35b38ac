// The label definitions dialog: finds a stock among the shipped ones and the user's own, edits,
// adds, deletes and imports the user's own, and applies one to the current label.
#pragma once

#include "controls/ZVGuard.h"
#include "printsupport/ZVLabelDefs.h"
#include "printsupport/ZVStockCatalogue.h"
#include "zorvel_widgets_export.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>
#include <utility>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace zorvel {

class TZVCustomLab;
class TZVStockPicker;

/// The label definitions dialog behind a label's ShowLabelDefs. The shipped stocks are listed
/// read-only above the user's own lines, which are edited in place; the user's catalogue file is
/// written when the dialog closes.
class ZORVEL_WIDGETS_EXPORT TFLabelDefs : public QDialog
{
    Q_OBJECT

public:
    /// An empty dialog whose catalogue looks in `places`; SetLabel loads it.
    explicit TFLabelDefs(QWidget* parent = nullptr,
                         TZVLabelDefsPlaces places = TZVLabelDefsPlaces::Standard());
    ~TFLabelDefs() override;

    /// The label's ShowLabelDefs: shows the dialog modally on the label's catalogue.
    static void Execute(TZVCustomLab& label, QWidget* parent = nullptr);

    /// Prepares the dialog for `label`: captions, catalogue, list, the user's first definition
    /// selected (the first stock when the user has none).
    void SetLabel(TZVCustomLab& label);

    /// Asks "Remove label definition from list?"; a message box unless a caller replaces it.
    std::function<bool(const QString& question)> Confirm;
    /// Reports a catalogue that cannot be read or written, a refused assignment or import; a
    /// message box unless replaced.
    std::function<void(const QString& message)> ShowError;
    /// Asks for the file or folder to import; empty cancels. A file dialog unless replaced.
    std::function<QString()> ChooseImportFile;

    /// The user's catalogue being edited.
    const TZVLabelDefs& Catalogue() const { return m_catalogue; }
    /// The selected line of the user's catalogue, -1 when none (or a shipped stock is chosen).
    int SelectedIndex() const { return m_index; }
    /// The chosen stock's fields, as the controls have edited them; empty when none is chosen.
    const QStringList& Fields() const { return m_fields; }
    /// The list of stocks: the shipped ones, then one row per line of the user's catalogue.
    TZVStockPicker* Picker() const { return m_picker; }
    /// Chooses the user's line `index` (-1: nothing).
    void SelectLine(int index);

public slots:
    /// Appends a definition made from the label, named "New label" in the library's language,
    /// and selects it.
    void AddDefinition();
    /// Removes the selected definition once Confirm agrees.
    void DeleteDefinition();
    /// False when nothing is selected, the definition's paper is not in the paper table or the
    /// stock is refused (the reason shown).
    bool AssignToCurrent();
    /// Imports the file or folder ChooseImportFile names into the user's catalogue, all or
    /// nothing, and selects the first stock imported; false (the reason shown) when refused.
    bool ImportStocks();

protected:
    /// Every way of closing ends here: the selected definition is stored and the catalogue written.
    void done(int result) override;

private:
    void buildControls();
    void fillLanguage();
    /// Gives the length boxes the width of their widest unit.
    void fitLengthBoxes();
    /// Lists the shipped stocks and the user's lines again.
    void buildList();
    void stockChosen(int row);
    void focusLetter(QChar letter);
    void storeFields();
    void fillControls();
    void fillOrientation();
    void updateButtons();
    /// An edit of one field by a control: stored, joined back into the line, shown in the tree.
    void setField(int field, const QString& value);
    void lengthChanged(int field, double value);
    void unitsChosen(int index);
    void paperChosen(int index);
    void orientationChosen(bool landscape);
    /// The editor of a field the sheet marks with a letter.
    QWidget* fieldEditor(int field) const;
    /// The spin boxes of the lengths, with the field each one edits.
    std::array<std::pair<QDoubleSpinBox*, int>, 8> lengthBoxes() const;
    QString unitText(TZVUnits units) const;

    TZVStockCatalogue m_stocks;
    TZVLabelDefs m_catalogue;
    QPointer<TZVCustomLab> m_label;
    QStringList m_fields;
    int m_index = -1;
    /// Set while the dialog fills its own controls, so their change handlers stay quiet.
    FeedbackGuard m_filling;
    QString m_unitTexts[3];

    TZVStockPicker* m_picker = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_assign = nullptr;
    QPushButton* m_import = nullptr;
    QLabel* m_nameCaption = nullptr;
    QLineEdit* m_name = nullptr;
    QLabel* m_unitsCaption = nullptr;
    QComboBox* m_units = nullptr;
    QComboBox* m_paper = nullptr;
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    QRadioButton* m_rect = nullptr;
    QRadioButton* m_circle = nullptr;
    QDoubleSpinBox* m_paperWidth = nullptr;
    QDoubleSpinBox* m_paperHeight = nullptr;
    QDoubleSpinBox* m_width = nullptr;
    QDoubleSpinBox* m_height = nullptr;
    QDoubleSpinBox* m_diHor = nullptr;
    QDoubleSpinBox* m_diVer = nullptr;
    QDoubleSpinBox* m_marLeft = nullptr;
    QDoubleSpinBox* m_marTop = nullptr;
    QSpinBox* m_columns = nullptr;
    QSpinBox* m_rows = nullptr;
    /// What each caption key of the translation file sets.
    struct TCaption
    {
        const char* Key;
        const char* Fallback; ///< null for a key of this dialog's table
        std::function<void(const QString&)> Set;
    };
    QList<TCaption> m_captions;
};

} // namespace zorvel
