// A printer passing every call on to another one, for printers that change only a few of them.
#pragma once

#include "foundation/ZVPrinter.h"
#include "zorvel_print_export.h"

namespace zorvel {

/// Passes every call to its target printer; a subclass overrides the calls it changes.
class ZORVEL_PRINT_EXPORT TZVForwardingPrinter : public TZVPrinter
{
public:
    QStringList Printers() const override { return m_target.Printers(); }
    int PrinterIndex() const override { return m_target.PrinterIndex(); }
    void SetPrinterIndex(int index) override { m_target.SetPrinterIndex(index); }
    TZVDevMode* DevMode() override { return m_target.DevMode(); }
    int DpiX() const override { return m_target.DpiX(); }
    int DpiY() const override { return m_target.DpiY(); }
    QSize PageSizePixels() const override { return m_target.PageSizePixels(); }
    QSize PhysicalOffset() const override { return m_target.PhysicalOffset(); }
    int HorzSizeMm() const override { return m_target.HorzSizeMm(); }
    int VertSizeMm() const override { return m_target.VertSizeMm(); }
    void BeginDoc(const QString& title) override { m_target.BeginDoc(title); }
    void NewPage() override { m_target.NewPage(); }
    void EndDoc() override { m_target.EndDoc(); }
    void Abort() override { m_target.Abort(); }
    bool Printing() const override { return m_target.Printing(); }
    TZVCanvas& Canvas() override { return m_target.Canvas(); }
    void SetPageLength(int tenths) override { m_target.SetPageLength(tenths); }

protected:
    /// `target` is not owned; it outlives this object.
    explicit TZVForwardingPrinter(TZVPrinter& target) : m_target(target) {}
    /// The printer the calls go to.
    TZVPrinter& Target() const { return m_target; }

private:
    TZVPrinter& m_target;
};

} // namespace zorvel
