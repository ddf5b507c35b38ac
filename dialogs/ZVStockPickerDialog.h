// The dialog that picks a stock from the catalogue: for a new design (with its name) and for the
// label properties dialog's "From catalogue...".
#pragma once

#include "printsupport/ZVLabelDefs.h"
#include "printsupport/ZVStock.h"
#include "zorvel_widgets_export.h"

#include <QDialog>

#include <functional>
#include <optional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace zorvel {

class TZVCustomLab;
class TZVStockPicker;

/// A stock picker with OK and Cancel, and a name box when a new design is being started. OK
/// takes only a stock a label can be given: a refused one is reported and the dialog stays.
class ZORVEL_WIDGETS_EXPORT TZVStockPickerDialog : public QDialog
{
    Q_OBJECT

public:
    /// What the dialog asks for.
    enum class TPurpose
    {
        ChooseStock, ///< only a stock
        NewDesign,   ///< a new design's name and its stock
    };

    /// An empty dialog; Prepare fills it.
    explicit TZVStockPickerDialog(TPurpose purpose, QWidget* parent = nullptr);
    ~TZVStockPickerDialog() override;

    /// Captions from the label's translation file; the catalogue of the label's LabelDefs read
    /// from `places`, a failure reported through ShowError (the shipped stocks still listed).
    void Prepare(const TZVCustomLab& label, TZVLabelDefsPlaces places = TZVLabelDefsPlaces::Standard());

    /// The picker inside.
    TZVStockPicker* Picker() const { return m_picker; }
    /// The name box; null unless a new design is being started.
    QLineEdit* NameEdit() const { return m_name; }
    /// The name typed, trimmed.
    QString Name() const;
    /// The chosen stock, when there is one.
    std::optional<TZVStock> Chosen() const;

    /// Reports a refused stock or an unreadable catalogue; a message box unless replaced.
    std::function<void(const QString& message)> ShowError;

    /// Why a label cannot be given `stock` (AssignStock's sentence), empty when it can; tried on
    /// a label of its own, so no design is touched.
    static QString Refusal(const TZVStock& stock);

    /// Closes with OK when a stock is chosen that a label can take (and a name is typed).
    void accept() override;

private:
    void updateOk();

    TPurpose m_purpose;
    TZVStockPicker* m_picker = nullptr;
    QLabel* m_nameCaption = nullptr;
    QLineEdit* m_name = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace zorvel
