// The name-and-note dialog of a stored design, editing the current row of the designs table.
#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zorvel {

class TZVDataSet;

class TFEdLabel : public QDialog
{
    Q_OBJECT

public:
    // NAME is limited as the table declares it.
    static constexpr int kNameLength = 60;

    // `labels` must be in edit or insert state for the answers to be kept.
    explicit TFEdLabel(TZVDataSet& labels, QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return m_name; }
    QPlainTextEdit* NoteEdit() const { return m_note; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    // Writes NAME and NOTE into the row, then closes with the OK result.
    void accept() override;

private:
    TZVDataSet& m_labels;
    QLineEdit* m_name = nullptr;
    QPlainTextEdit* m_note = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zorvel
