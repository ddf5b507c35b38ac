// A printer that writes the job as ZPL II, the language of Zebra and compatible label printers.
#pragma once

#include "foundation/ZVPrinter.h"
#include "zorvel_core_export.h"

#include <QByteArray>
#include <QPointF>
#include <QString>

#include <memory>

class QSaveFile;
class QTemporaryDir;

namespace zorvel {

class TZVZplCanvas;

/// One printer named "ZPL" that writes each page as a label, ^XA ... ^XZ, at 203, 300 or 600 dpi
/// (8, 12 or 24 dots a millimetre). The page is the settings record's paper, turned for landscape,
/// or as long as SetPageLength says; ^PW and ^LL give its size in dots and ^LH the calibration
/// offsets. Consecutive identical labels are written once with their count, times the record's
/// copies, as ^PQ. The file appears only when EndDoc succeeds; Abort or a failure leaves none.
class ZORVEL_CORE_EXPORT TZVZplPrinter final : public TZVPrinter
{
public:
    /// The resolution of most desktop label printers.
    static constexpr int kDefaultDpi = 203;

    /// Writes to `fileName` at `dpi`; any resolution but 203, 300 and 600 raises EZvError.
    explicit TZVZplPrinter(QString fileName, int dpi = kDefaultDpi);
    ~TZVZplPrinter() override;

    /// The printer's own calibration: the label content moves right and down by `mm`.
    void SetHomeMm(QPointF mm) { m_homeMm = mm; }
    /// Dots a millimetre at the printer's resolution.
    int DotsPerMm() const;

    QStringList Printers() const override;
    int PrinterIndex() const override { return m_index; }
    void SetPrinterIndex(int index) override { m_index = index; }
    TZVDevMode* DevMode() override { return m_index == 0 ? &m_devMode : nullptr; }

    int DpiX() const override { return m_dpi; }
    int DpiY() const override { return m_dpi; }
    QSize PageSizePixels() const override;
    QSize PhysicalOffset() const override { return {0, 0}; }
    int HorzSizeMm() const override;
    int VertSizeMm() const override;

    void BeginDoc(const QString& title) override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override { return m_file != nullptr; }
    TZVCanvas& Canvas() override;
    void SetPageLength(int tenths) override { m_pageLength = tenths; }
    /// A printer of the same settings writing its labels to a temporary file; its first and last
    /// labels wait for the join, which merges them with identical neighbours of the parts around.
    std::unique_ptr<TZVPrinter> NewPart(int firstPage) override;
    /// The parts' labels in order into the file, as one job would have written them.
    void JoinParts(std::vector<std::unique_ptr<TZVPrinter>> parts) override;

private:
    // Page size in tenths of a millimetre, turned for landscape, of the next page opened.
    QSize pageTenths() const;
    void startPage();
    // The page as a label, merged with the label before it when they are the same.
    void endPage();
    void writePending();
    // `label` `count` times after the labels pending: merged with them when the same.
    void addPending(const QByteArray& label, int count);
    // Opens the save file of the job.
    void openFile();

    QString m_fileName;
    int m_dpi;
    int m_index = 0;
    int m_pageLength = 0;
    QPointF m_homeMm;
    TZVDevMode m_devMode;
    std::unique_ptr<QSaveFile> m_file;
    std::unique_ptr<TZVZplCanvas> m_canvas;
    QSize m_pageDots;
    QByteArray m_pending; // the last label, not yet written
    int m_pendingCount = 0;
    // A part's first label, written by the join; the labels pending at its end wait there too.
    std::unique_ptr<QTemporaryDir> m_partFolder;
    QByteArray m_head;
    int m_headCount = 0;
};

} // namespace zorvel
