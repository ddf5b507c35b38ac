// The label definitions dialog: lists the catalogue's sheet definitions, edits, adds and deletes
// them, and applies one to the current label.
#pragma once

#include "controls/ZVGuard.h"
#include "printsupport/ZVLabelDefs.h"
#include "zorvel_widgets_export.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>

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
class QTreeWidget;
class QTreeWidgetItem;

namespace zorvel {

class TZVCustomLab;

/// The schematic of a sheet: the definition's labels on its paper, drawn to scale, with the
/// letters A to J on the measures the dialog edits.
class LabelDefsSheet : public QWidget
{
    Q_OBJECT

public:
    /// A blank sheet.
    explicit LabelDefsSheet(QWidget* parent = nullptr);

    /// The fields of the definition to draw; an empty list draws a blank sheet.
    void SetFields(const QStringList& fields);
    /// 230 x 270 pixels.
    QSize sizeHint() const override;

protected:
    /// Draws the paper, the labels and the lettered measures, scaled to the widget.
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList m_fields;
};

/// The label definitions dialog behind a label's ShowLabelDefs. Definitions are edited in the
/// catalogue's lines; the catalogue file is written when the dialog closes.
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

    /// Prepares the dialog for `label`: captions, catalogue, tree, first definition selected.
    void SetLabel(TZVCustomLab& label);

    /// Asks "Remove label definition from list?"; a message box unless a caller replaces it.
    std::function<bool(const QString& question)> Confirm;
    /// Reports a catalogue that cannot be read or written; a message box unless replaced.
    std::function<void(const QString& message)> ShowError;

    /// The catalogue being edited.
    const TZVLabelDefs& Catalogue() const { return m_catalogue; }
    /// The selected definition, -1 when none; its fields as the controls have edited them.
    /// @{
    int SelectedIndex() const { return m_index; }
    const QStringList& Fields() const { return m_fields; }
    /// @}
    /// The list of definitions, one top-level node per line with a child node per field.
    QTreeWidget* Tree() const { return m_tree; }

public slots:
    /// Appends a definition made from the label, named "New label" in the library's language,
    /// and selects it.
    void AddDefinition();
    /// Removes the selected definition once Confirm agrees.
    void DeleteDefinition();
    /// False when nothing is selected or the definition's paper is not in the paper table.
    bool AssignToCurrent();

protected:
    /// Every way of closing ends here: the selected definition is stored and the catalogue written.
    void done(int result) override;

private:
    void buildControls();
    void fillLanguage();
    /// Gives the length boxes the width of their widest unit.
    void fitLengthBoxes();
    void buildTree();
    QTreeWidgetItem* addTreeNode(int index);
    void updateTreeNode(int index);
    void selectItem(QTreeWidgetItem* item);
    void focusFieldEditor(QTreeWidgetItem* item);
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
    void treeItemEdited(QTreeWidgetItem* item, int column);
    /// The editor of a field a child node shows.
    QWidget* fieldEditor(int field) const;
    /// The spin boxes of the lengths, with the field each one edits.
    std::array<std::pair<QDoubleSpinBox*, int>, 8> lengthBoxes() const;
    QString unitText(TZVUnits units) const;

    TZVLabelDefs m_catalogue;
    QPointer<TZVCustomLab> m_label;
    QStringList m_fields;
    int m_index = -1;
    /// Set while the dialog fills its own controls, so their change handlers stay quiet.
    FeedbackGuard m_filling;
    QString m_unitTexts[3];

    QTreeWidget* m_tree = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_assign = nullptr;
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
    LabelDefsSheet* m_sheet = nullptr;
    /// What each caption key of the translation file sets.
    QList<std::pair<const char*, std::function<void(const QString&)>>> m_captions;
};

} // namespace zorvel
