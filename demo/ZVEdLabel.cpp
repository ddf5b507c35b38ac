// The name-and-note dialog of a stored design.
#include "demo/ZVEdLabel.h"

#include "foundation/ZVDataSet.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorvel {

TFEdLabel::TFEdLabel(TZVDataSet& labels, QWidget* parent) : QDialog(parent), m_labels(labels)
{
    setWindowTitle(QStringLiteral("LABEL"));
    setObjectName(QStringLiteral("FEdLabel"));

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("DBEName"));
    m_name->setMaxLength(kNameLength);
    m_note = new QPlainTextEdit(this);
    m_note->setObjectName(QStringLiteral("DBMNote"));
    if (labels.Active()) {
        if (TZVField* name = labels.FindField(QStringLiteral("NAME"))) m_name->setText(name->AsWideString());
        if (TZVField* note = labels.FindField(QStringLiteral("NOTE")))
            m_note->setPlainText(note->AsWideString());
    }

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("CANCEL"), this);
    connect(m_ok, &QPushButton::clicked, this, &TFEdLabel::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TFEdLabel::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("NAME"), m_name);
    form->addRow(QStringLiteral("NOTE"), m_note);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(420, 260);
}

void TFEdLabel::accept()
{
    if (m_labels.State() == dsEdit || m_labels.State() == dsInsert) {
        m_labels.FieldByName(QStringLiteral("NAME")).SetValue(m_name->text());
        m_labels.FieldByName(QStringLiteral("NOTE")).SetValue(m_note->toPlainText());
    }
    QDialog::accept();
}

} // namespace zorvel
