// Printer calibration in the user interface: the offsets of one printer, and a dialog that picks a
// printer, prints its calibration page and keeps its offsets.
#pragma once

#include "printsupport/ZVPrinterCalibration.h"
#include "zorvel_widgets_export.h"

#include <QDialog>
#include <QWidget>

#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace zorvel {

/// Horizontal and vertical offset, mm, each within the calibration range.
class ZORVEL_WIDGETS_EXPORT TZVCalibrationEdit : public QWidget
{
    Q_OBJECT

public:
    /// Two spin boxes, zero.
    explicit TZVCalibrationEdit(QWidget* parent = nullptr);

    /// The offsets shown.
    TZVCalibration Offsets() const;
    /// Shows `offsets` and forgets earlier edits.
    void SetOffsets(const TZVCalibration& offsets);
    /// Shows the offsets saved for `printer`, with a note when its saved entry is damaged.
    void LoadFor(const QString& printer);
    /// Whether the user changed a value since SetOffsets.
    bool Edited() const { return m_edited; }

    /// The spin boxes, for tests and hosts that restyle them.
    /// @{
    QDoubleSpinBox* EdX() const { return m_x; }
    QDoubleSpinBox* EdY() const { return m_y; }
    /// The note on a damaged saved entry; hidden while there is none.
    QLabel* LbDamage() const { return m_damage; }
    /// @}

private:
    QDoubleSpinBox* m_x = nullptr;
    QDoubleSpinBox* m_y = nullptr;
    QLabel* m_damage = nullptr;
    bool m_edited = false;
};

/// Pick a printer, set its offsets, print its calibration page; OK keeps the offsets.
class ZORVEL_WIDGETS_EXPORT TZVCalibrationDialog : public QDialog
{
    Q_OBJECT

public:
    /// Lists the printers, the default chosen, with its saved offsets.
    explicit TZVCalibrationDialog(QWidget* parent = nullptr);

    /// Prints the calibration page of the chosen printer with the offsets shown; false on failure.
    bool PrintCalibrationPage();
    /// Keeps the offsets shown for the chosen printer.
    void accept() override;

    /// Failures of printing; a message box unless a caller replaces it.
    std::function<void(const QString&)> ShowError;

    /// The dialog's controls, for tests and hosts.
    /// @{
    QComboBox* CbPrinter() const { return m_printers; }
    TZVCalibrationEdit* Offsets() const { return m_offsets; }
    QPushButton* BtPrint() const { return m_print; }
    /// @}

private:
    QComboBox* m_printers = nullptr;
    TZVCalibrationEdit* m_offsets = nullptr;
    QPushButton* m_print = nullptr;
};

/// The calibration dialog, modal; true when its offsets were kept.
ZORVEL_WIDGETS_EXPORT bool ExecCalibrationDialog(QWidget* parent);

} // namespace zorvel
