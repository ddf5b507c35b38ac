// The dialog that picks a stock from the catalogue.
#include "dialogs/ZVStockPickerDialog.h"

#include "dialogs/ZVStockPicker.h"
#include "document/ZVCustomLab.h"
#include "foundation/ZVStrings.h"
#include "printsupport/ZVStockCatalogue.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorvel {

TZVStockPickerDialog::TZVStockPickerDialog(TPurpose purpose, QWidget* parent)
    : QDialog(parent), m_purpose(purpose)
{
    setObjectName(QStringLiteral("stockPickerDialog"));
    ShowError = [this](const QString& message) { QMessageBox::warning(this, windowTitle(), message); };
    m_picker = new TZVStockPicker(this);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    if (purpose == TPurpose::NewDesign) {
        m_nameCaption = new QLabel(this);
        m_name = new QLineEdit(this);
        m_name->setObjectName(QStringLiteral("designName"));
        m_nameCaption->setBuddy(m_name);
        auto* nameRow = new QHBoxLayout;
        nameRow->addWidget(m_nameCaption);
        nameRow->addWidget(m_name, 1);
        layout->addLayout(nameRow);
        connect(m_name, &QLineEdit::textChanged, this, &TZVStockPickerDialog::updateOk);
    }
    layout->addWidget(m_picker, 1);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &TZVStockPickerDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_picker, &TZVStockPicker::CurrentRowChanged, this, &TZVStockPickerDialog::updateOk);
    connect(m_picker, &TZVStockPicker::RowActivated, this, &TZVStockPickerDialog::accept);
    updateOk();
    resize(1040, 600);
}

TZVStockPickerDialog::~TZVStockPickerDialog() = default;

void TZVStockPickerDialog::Prepare(const TZVCustomLab& label, TZVLabelDefsPlaces places)
{
    const TZVDialogTexts texts(label.IniTranslate());
    const bool newDesign = m_purpose == TPurpose::NewDesign;
    setWindowTitle(newDesign ? texts.text(u"ZvNewDesign", QStringLiteral("New design"))
                             : texts.text(u"ZvFromCatalogue", QStringLiteral("Label stock")));
    m_picker->FillLanguage(texts);
    m_buttons->button(QDialogButtonBox::Ok)->setText(texts.text(u"ZvOK", QStringLiteral("OK")));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(texts.text(u"ZvCancel", QStringLiteral("Cancel")));
    if (m_name) {
        m_nameCaption->setText(texts.text(TZVDialog::TFLabelDefs, u"ZvName"));
        m_name->setText(MessageText(TZVMsg::NewLabel));
        m_name->selectAll();
    }

    TZVStockCatalogue catalogue(std::move(places));
    const TZVLabelDefsResult loaded = catalogue.Load(label.LabelDefs());
    m_picker->SetStocks(catalogue.All(), int(catalogue.Shipped().size()));
    m_picker->SearchBox()->setFocus();
    if (!loaded.Ok && ShowError) ShowError(loaded.Error);
}

QString TZVStockPickerDialog::Name() const
{
    return m_name ? m_name->text().trimmed() : QString();
}

std::optional<TZVStock> TZVStockPickerDialog::Chosen() const
{
    const TZVStock* stock = m_picker->Current();
    return stock ? std::optional(*stock) : std::nullopt;
}

QString TZVStockPickerDialog::Refusal(const TZVStock& stock)
{
    TZVLab scratch;
    return AssignStock(stock, scratch);
}

void TZVStockPickerDialog::updateOk()
{
    const bool named = !m_name || !Name().isEmpty();
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(named && m_picker->Current());
}

void TZVStockPickerDialog::accept()
{
    const std::optional<TZVStock> stock = Chosen();
    if (!stock || (m_name && Name().isEmpty())) return;
    const QString refusal = Refusal(*stock);
    if (!refusal.isEmpty()) {
        if (ShowError) ShowError(refusal);
        return;
    }
    QDialog::accept();
}

} // namespace zorvel
