// The paragraph dialog: the paragraph's text in a multi-line memo, written to the paragraph as
// it is typed.
#pragma once

#include "controls/ZVGuard.h"
#include "zorvel_widgets_export.h"

#include <QDialog>
#include <QPointer>

class QPlainTextEdit;
class QPushButton;

namespace zorvel {

class TZVCustomLab;
class TZVParagraph;

/// What the memo edits, which picks the caption. Only a paragraph has text to show; the
/// two-dimensional kinds keep their captions for the translation files that name them.
enum class TZVParaDialogKind : int
{
    Paragraph = 1, ///< the paragraph's text
    Pdf417,
    DataMatrix,
    QR
};

/// The paragraph dialog behind a label's element dialog for a paragraph.
class ZORVEL_WIDGETS_EXPORT TPropPara : public QDialog
{
    Q_OBJECT

public:
    /// An empty memo without word wrap, with OK and Cancel; Prepare fills it.
    explicit TPropPara(QWidget* parent = nullptr);

    /// The label's element dialog for a paragraph: any end but OK puts the text back and
    /// repaints the editor.
    static int Execute(TZVCustomLab& label, TZVParagraph& paragraph, QWidget* parent = nullptr);

    /// Captions for `kind`; with a paragraph the memo shows its text and writes every change
    /// back. Preparing writes nothing.
    void Prepare(TZVCustomLab& label, TZVParagraph* paragraph,
                 TZVParaDialogKind kind = TZVParaDialogKind::Paragraph);

    /// The multi-line text box.
    QPlainTextEdit* Memo() const { return m_memo; }
    /// Closes the dialog keeping what was typed.
    QPushButton* OkButton() const { return m_ok; }
    /// Closes the dialog; Execute then puts the old text back.
    QPushButton* CancelButton() const { return m_cancel; }

private:
    void fillLanguage(TZVParaDialogKind kind);
    void memoChanged();

    QPointer<TZVCustomLab> m_label;
    QPointer<TZVParagraph> m_paragraph;
    FeedbackGuard m_filling;

    QPlainTextEdit* m_memo = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zorvel
