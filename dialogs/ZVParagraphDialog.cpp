// The paragraph dialog.
#include "dialogs/ZVParagraphDialog.h"

#include "document/ZVCustomLab.h"
#include "document/ZVEditorLink.h"
#include "document/ZVUndoHistory.h"
#include "elements/ZVParagraph.h"
#include "foundation/ZVStrings.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorvel {

TPropPara::TPropPara(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PropPara"));
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo"));
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QDialogButtonBox::Ok);
    m_cancel = buttons->addButton(QDialogButtonBox::Cancel);
    m_ok->setObjectName(QStringLiteral("BuOK"));
    m_cancel->setObjectName(QStringLiteral("BuCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_memo, 1);
    layout->addWidget(buttons);
    resize(420, 260);

    connectGuarded(m_filling, m_memo, &QPlainTextEdit::textChanged, this, [this] { memoChanged(); });
    fillLanguage(TZVParaDialogKind::Paragraph);
}

int TPropPara::Execute(TZVCustomLab& label, TZVParagraph& paragraph, QWidget* parent)
{
    const QString text = paragraph.Text();
    const bool modified = label.Modified();
    // What Cancel puts back leaves the design as it was, so no step is recorded then.
    TZVChangeScope change(label, tr("Paragraph"));
    TPropPara dialog(parent);
    dialog.Prepare(label, &paragraph);
    const int result = dialog.exec();
    if (result == QDialog::Accepted) return result;
    if (paragraph.Text() != text) {
        paragraph.SetText(text);
        label.SetModified(modified);
    }
    change.Cancel(false);
    if (TZVEditorLink* editor = label.Editor()) editor->Refresh(false);
    return result;
}

void TPropPara::Prepare(TZVCustomLab& label, TZVParagraph* paragraph, TZVParaDialogKind kind)
{
    const auto filling = m_filling.hold();
    m_label = &label;
    m_paragraph = kind == TZVParaDialogKind::Paragraph ? paragraph : nullptr;
    fillLanguage(kind);
    m_memo->setPlainText(m_paragraph ? m_paragraph->Text() : QString());
    m_memo->moveCursor(QTextCursor::End);
}

void TPropPara::fillLanguage(TZVParaDialogKind kind)
{
    const TZVDialogTexts texts(m_label ? m_label->IniTranslate() : QString());
    const auto text = [&texts](const char* key) {
        return texts.text(TZVDialog::TPropPara, QString::fromLatin1(key));
    };
    switch (kind) {
    case TZVParaDialogKind::Pdf417:
        setWindowTitle(text("ZvPdfPro"));
        break;
    case TZVParaDialogKind::DataMatrix:
        setWindowTitle(text("ZvDataMatrixPro"));
        break;
    case TZVParaDialogKind::QR:
        setWindowTitle(text("ZvQRPro"));
        break;
    case TZVParaDialogKind::Paragraph:
    default:
        setWindowTitle(text("ZvParaPro"));
        break;
    }
    m_ok->setText(text("ZvOK"));
    m_cancel->setText(text("ZvCancel"));
}

void TPropPara::memoChanged()
{
    if (!m_paragraph) return;
    m_paragraph->SetText(m_memo->toPlainText());
}

} // namespace zorvel
