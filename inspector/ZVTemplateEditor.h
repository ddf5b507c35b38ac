// The template editor of the inspector's Template row: the text, the fields and placeholders to
// insert, and what the text gives for the current record.
#pragma once

#include "zorvel_widgets_export.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;

namespace zorvel {

class TZVCustomLab;

/// Edits a template for the elements of `label`; the owner writes Text() when the dialog is
/// accepted. The preview under the text follows every keystroke.
class ZORVEL_WIDGETS_EXPORT TZVTemplateEditor : public QDialog
{
    Q_OBJECT

public:
    /// An editor for templates filled from `label`, which must outlive it.
    explicit TZVTemplateEditor(TZVCustomLab& label, QWidget* parent = nullptr);

    /// The template being edited.
    /// @{
    QString Text() const;
    void SetText(const QString& text);
    /// @}
    /// The text box, the list of the master's fields (display labels) and the list of the other
    /// placeholders; children of the dialog.
    /// @{
    QLineEdit* Box() const { return m_box; }
    QComboBox* Fields() const { return m_fields; }
    QComboBox* Placeholders() const { return m_placeholders; }
    /// @}
    /// The line under the text: the expansion for the current record, or the refusal.
    QLabel* Preview() const { return m_preview; }
    /// Whether the preview shows a refusal (in red) rather than an expansion.
    bool Refused() const { return m_refused; }

    /// Inserts {FIELD} for the master field whose display label is `fieldLabel` at the caret,
    /// in place of any selection.
    void InsertField(const QString& fieldLabel);
    /// Inserts `placeholder` as it is written ("{PAGE}", "{#SERIAL}") at the caret.
    void InsertPlaceholder(const QString& placeholder);
    /// The placeholders offered besides fields: the date, each of the label's counters, the
    /// page, label, record and copy numbers.
    static QStringList PlaceholdersOf(const TZVCustomLab& label);

private:
    void updatePreview();

    TZVCustomLab& m_label;
    QLineEdit* m_box = nullptr;
    QComboBox* m_fields = nullptr;
    QComboBox* m_placeholders = nullptr;
    QLabel* m_preview = nullptr;
    bool m_refused = false;
};

} // namespace zorvel
