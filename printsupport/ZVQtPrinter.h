// The system's printers (CUPS) through QPrinter, with "print to PDF file" on the same path.
#pragma once

#include "foundation/ZVPrinter.h"

#include <QPrinter>
#include <QString>

#include <memory>

class QPainter;

namespace zorvel {

class TZVQtCanvas;

/// Printer indexes follow QPrinterInfo's list of printer names; a new instance selects the default
/// printer, or none (no settings record) when the system has no printer. SetOutputFileName turns the
/// printer into a PDF writer, which always has a settings record and no margins until
/// Printer() sets some; a job keeps the margins the printer has.
class TZVQtPrinter final : public TZVPrinter
{
public:
    TZVQtPrinter();
    ~TZVQtPrinter() override;

    /// An empty name goes back to the selected system printer.
    void SetOutputFileName(const QString& fileName);
    /// The underlying QPrinter, for settings the contract does not cover.
    QPrinter& Printer() { return m_printer; }

    QStringList Printers() const override;
    int PrinterIndex() const override { return m_index; }
    void SetPrinterIndex(int index) override;
    TZVDevMode* DevMode() override;

    int DpiX() const override;
    int DpiY() const override;
    QSize PageSizePixels() const override;
    QSize PhysicalOffset() const override;
    int HorzSizeMm() const override;
    int VertSizeMm() const override;

    void BeginDoc(const QString& title) override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override { return m_painter != nullptr; }
    TZVCanvas& Canvas() override;

private:
    // Puts the settings record on the QPrinter: custom paper, orientation, copies.
    void applyDevMode();
    bool hasSettings() const;

    QPrinter m_printer{QPrinter::HighResolution};
    int m_index = -1;
    bool m_toFile = false;
    TZVDevMode m_devMode;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<TZVQtCanvas> m_canvas;
};

} // namespace zorvel
