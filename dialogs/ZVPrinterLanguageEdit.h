// A print queue's language in the print dialog: the queue's driver, or Zorvel's own ZPL II.
#pragma once

#include "printsupport/ZVPrinterLanguage.h"
#include "zorvel_widgets_export.h"

#include <QWidget>

class QComboBox;

namespace zorvel {

/// The language a queue is sent and, for ZPL, the print head's resolution.
class ZORVEL_WIDGETS_EXPORT TZVPrinterLanguageEdit : public QWidget
{
    Q_OBJECT

public:
    /// The driver, 203 dpi.
    explicit TZVPrinterLanguageEdit(QWidget* parent = nullptr);

    /// The language shown.
    TZVPrinterLanguage Language() const;
    /// Shows `language` and forgets earlier edits.
    void SetLanguage(const TZVPrinterLanguage& language);
    /// Shows the language saved for `printer`.
    void LoadFor(const QString& printer) { SetLanguage(TZVPrinterLanguages::Load(printer)); }
    /// Whether the user changed a value since SetLanguage.
    bool Edited() const { return m_edited; }

    /// The lists, for tests and hosts that restyle them.
    /// @{
    QComboBox* CbLanguage() const { return m_language; }
    QComboBox* CbDpi() const { return m_dpi; }
    /// @}

private:
    QComboBox* m_language = nullptr;
    QComboBox* m_dpi = nullptr;
    bool m_edited = false;
};

} // namespace zorvel
