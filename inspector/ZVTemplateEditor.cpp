// The template editor dialog, and the inspector's Template row that opens it.
#include "inspector/ZVTemplateEditor.h"

#include "document/ZVCustomLab.h"
#include "document/ZVTemplate.h"
#include "editor/ZVEditor.h"
#include "foundation/ZVError.h"
#include "inspector/ZVInspector.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

namespace zorvel {

namespace {

// Builds "list + Insert button" rows; the button inserts the list's current entry.
QComboBox* addInsertRow(QFormLayout& form, QWidget* parent, const QString& caption, const QString& name,
                        const std::function<void(const QString&)>& insert)
{
    auto* row = new QHBoxLayout;
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    auto* button = new QPushButton(QStringLiteral("Insert"), parent);
    button->setObjectName(name + QStringLiteral("Insert"));
    button->setAutoDefault(false);
    row->addWidget(list, 1);
    row->addWidget(button);
    form.addRow(caption, row);
    QObject::connect(button, &QPushButton::clicked, parent, [list, insert] {
        if (list->currentIndex() >= 0) insert(list->currentText());
    });
    // Choosing from the list's pop-up inserts at once.
    QObject::connect(list, &QComboBox::activated, parent, [list, insert](int index) {
        if (index >= 0) insert(list->itemText(index));
    });
    return list;
}

} // namespace

TZVTemplateEditor::TZVTemplateEditor(TZVCustomLab& label, QWidget* parent) : QDialog(parent), m_label(label)
{
    setWindowTitle(QStringLiteral("Template"));
    auto* layout = new QVBoxLayout(this);
    m_box = new QLineEdit(this);
    m_box->setObjectName(QStringLiteral("TemplateText"));
    m_box->setMinimumWidth(380);
    layout->addWidget(m_box);
    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("TemplatePreview"));
    m_preview->setWordWrap(true);
    m_preview->setTextFormat(Qt::PlainText);
    layout->addWidget(m_preview);

    auto* form = new QFormLayout;
    m_fields = addInsertRow(*form, this, QStringLiteral("Field"), QStringLiteral("TemplateFields"),
                            [this](const QString& field) { InsertField(field); });
    m_placeholders =
        addInsertRow(*form, this, QStringLiteral("Value"), QStringLiteral("TemplatePlaceholders"),
                     [this](const QString& text) { InsertPlaceholder(text); });
    layout->addLayout(form);
    QStringList fields;
    label.FieldLabels(fields, false, false, false);
    m_fields->addItems(fields);
    m_fields->setEnabled(!fields.isEmpty());
    m_placeholders->addItems(PlaceholdersOf(label));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_box, &QLineEdit::textChanged, this, [this] { updatePreview(); });
    updatePreview();
}

QString TZVTemplateEditor::Text() const
{
    return m_box->text();
}

void TZVTemplateEditor::SetText(const QString& text)
{
    m_box->setText(text);
    m_box->setCursorPosition(int(text.size()));
    updatePreview();
}

QStringList TZVTemplateEditor::PlaceholdersOf(const TZVCustomLab& label)
{
    QStringList list{QStringLiteral("{DATE}")};
    for (const TZVCounter& counter : label.Counters())
        list << QStringLiteral("{#%1}").arg(counter.Name);
    list << QStringLiteral("{PAGE}") << QStringLiteral("{LABEL}") << QStringLiteral("{RECORD}")
         << QStringLiteral("{COPY}");
    return list;
}

void TZVTemplateEditor::InsertField(const QString& fieldLabel)
{
    const QString name = m_label.FieldNameOfLabel(fieldLabel);
    InsertPlaceholder(QLatin1Char('{') + (name.isEmpty() ? fieldLabel : name) + QLatin1Char('}'));
}

void TZVTemplateEditor::InsertPlaceholder(const QString& placeholder)
{
    // QLineEdit::insert replaces the selection, as typing would.
    m_box->insert(placeholder);
    m_box->setFocus();
}

void TZVTemplateEditor::updatePreview()
{
    const QString text = m_box->text();
    QString shown = TZVTemplate::Problem(text);
    m_refused = !shown.isEmpty();
    if (!m_refused) {
        try {
            shown = m_label.ExpandTemplate(TZVTemplate(text));
        } catch (const EZvError& e) {
            shown = e.message();
            m_refused = true;
        }
    }
    m_preview->setText(shown);
    m_preview->setStyleSheet(m_refused ? QStringLiteral("color: red;") : QString());
}

// ---- The inspector's Template row ----

void TZVCustomInspector::EditTemplate(const QString& name)
{
    TZVCustomLab* lab = label();
    const int index = FindRow(name);
    if (!lab || index < 0 || !Editor() || Editor()->SelCount() == 0) return;
    TZVTemplateEditor dialog(*lab, this);
    dialog.SetText(m_rows[index].Value.toString());
    const bool accepted = TemplateRunner ? TemplateRunner(dialog) : dialog.exec() == QDialog::Accepted;
    const int row = FindRow(name);
    if (!accepted || row < 0 || dialog.Text() == m_rows[row].Value.toString()) return;
    const auto scope = changeScope(name, false);
    Editor()->BeginUpdate();
    writeRow(row, dialog.Text());
    Editor()->EndUpdate(false);
    viewport()->update();
}

} // namespace zorvel
