#include "dialogs/ZVPrinterLanguageEdit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

#include <algorithm>

namespace zorvel {

TZVPrinterLanguageEdit::TZVPrinterLanguageEdit(QWidget* parent) : QWidget(parent)
{
    auto* form = new QFormLayout(this);
    m_language = new QComboBox(this);
    m_language->setObjectName(QStringLiteral("cbLanguage"));
    m_language->addItem(tr("The printer's driver (PDF pages)"), int(TZVPrinterLanguage::Driver));
    m_language->addItem(tr("ZPL II, written by Zorvel and sent raw"), int(TZVPrinterLanguage::Zpl));
    m_dpi = new QComboBox(this);
    m_dpi->setObjectName(QStringLiteral("cbDpi"));
    for (const int dpi : {203, 300, 600})
        m_dpi->addItem(tr("%1 dpi").arg(dpi), dpi);
    form->addRow(tr("&Language:"), m_language);
    form->addRow(tr("Print head &resolution:"), m_dpi);
    auto* hint = new QLabel(tr("A ZPL label printer gets its own bar code commands and bars of whole dots; the "
                               "resolution must be the print head's."),
                            this);
    hint->setWordWrap(true);
    form->addRow(hint);
    const auto edited = [this] {
        m_edited = true;
        m_dpi->setEnabled(Language().Kind == TZVPrinterLanguage::Zpl);
    };
    connect(m_language, &QComboBox::currentIndexChanged, this, edited);
    connect(m_dpi, &QComboBox::currentIndexChanged, this, edited);
    SetLanguage({});
}

TZVPrinterLanguage TZVPrinterLanguageEdit::Language() const
{
    TZVPrinterLanguage language;
    language.Kind = static_cast<TZVPrinterLanguage::TKind>(m_language->currentData().toInt());
    language.Dpi = m_dpi->currentData().toInt();
    return language;
}

void TZVPrinterLanguageEdit::SetLanguage(const TZVPrinterLanguage& language)
{
    m_language->setCurrentIndex(std::max(0, m_language->findData(int(language.Kind))));
    m_dpi->setCurrentIndex(std::max(0, m_dpi->findData(language.Dpi)));
    m_dpi->setEnabled(language.Kind == TZVPrinterLanguage::Zpl);
    m_edited = false;
}

} // namespace zorvel
