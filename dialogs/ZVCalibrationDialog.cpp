// The calibration offsets box, and the dialog that prints a calibration page and keeps the offsets.
#include "dialogs/ZVCalibrationDialog.h"

#include "foundation/ZVError.h"
#include "printsupport/ZVQtPrinter.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorvel {

TZVCalibrationEdit::TZVCalibrationEdit(QWidget* parent) : QWidget(parent)
{
    auto* form = new QFormLayout(this);
    const auto spin = [this](const QString& objectName) {
        auto* box = new QDoubleSpinBox(this);
        box->setObjectName(objectName);
        box->setRange(-TZVPrinterCalibration::kMaxOffsetMm, TZVPrinterCalibration::kMaxOffsetMm);
        box->setDecimals(2);
        box->setSingleStep(0.1);
        box->setSuffix(tr(" mm"));
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { m_edited = true; });
        return box;
    };
    m_x = spin(QStringLiteral("edOffsetX"));
    m_y = spin(QStringLiteral("edOffsetY"));
    form->addRow(tr("Move the print &right by:"), m_x);
    form->addRow(tr("Move the print &down by:"), m_y);
    auto* hint = new QLabel(tr("The calibration page shows where the printer puts its marks; a negative value moves "
                               "the print left or up."),
                            this);
    hint->setWordWrap(true);
    form->addRow(hint);
    m_damage = new QLabel(this);
    m_damage->setObjectName(QStringLiteral("lbDamage"));
    m_damage->setWordWrap(true);
    m_damage->hide();
    form->addRow(m_damage);
}

TZVCalibration TZVCalibrationEdit::Offsets() const
{
    return {m_x->value(), m_y->value()};
}

void TZVCalibrationEdit::SetOffsets(const TZVCalibration& offsets)
{
    m_x->setValue(offsets.X);
    m_y->setValue(offsets.Y);
    m_edited = false;
}

void TZVCalibrationEdit::LoadFor(const QString& printer)
{
    QString damage;
    SetOffsets(TZVPrinterCalibration::Load(printer, &damage));
    m_damage->setText(damage);
    m_damage->setVisible(!damage.isEmpty());
}

TZVCalibrationDialog::TZVCalibrationDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Printer calibration"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_printers = new QComboBox(this);
    m_printers->setObjectName(QStringLiteral("cbPrinter"));
    TZVQtPrinter printer;
    m_printers->addItems(printer.Printers());
    m_printers->setCurrentIndex(printer.PrinterIndex());
    form->addRow(tr("&Printer:"), m_printers);
    layout->addLayout(form);
    m_offsets = new TZVCalibrationEdit(this);
    layout->addWidget(m_offsets);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_print = buttons->addButton(tr("Print &calibration page"), QDialogButtonBox::ActionRole);
    layout->addWidget(buttons);
    const auto load = [this] { m_offsets->LoadFor(m_printers->currentText()); };
    load();
    connect(m_printers, &QComboBox::currentIndexChanged, this, load);
    connect(m_print, &QPushButton::clicked, this, [this] { PrintCalibrationPage(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &TZVCalibrationDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TZVCalibrationDialog::reject);
    m_print->setEnabled(m_printers->count() > 0);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(m_printers->count() > 0);
    ShowError = [this](const QString& message) { QMessageBox::critical(this, windowTitle(), message); };
}

bool TZVCalibrationDialog::PrintCalibrationPage()
{
    const QString name = m_printers->currentText();
    try {
        TZVQtPrinter printer;
        printer.SetPrinterIndex(static_cast<int>(printer.Printers().indexOf(name)));
        TZVOffsetPrinter moved(printer, m_offsets->Offsets());
        zorvel::PrintCalibrationPage(moved, name, m_offsets->Offsets());
        return true;
    } catch (const EZvError& error) {
        ShowError(error.message());
    } catch (const std::exception& error) {
        ShowError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

void TZVCalibrationDialog::accept()
{
    if (m_printers->currentIndex() < 0) return;
    TZVPrinterCalibration::Save(m_printers->currentText(), m_offsets->Offsets());
    QDialog::accept();
}

bool ExecCalibrationDialog(QWidget* parent)
{
    TZVCalibrationDialog dialog(parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace zorvel
