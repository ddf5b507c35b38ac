// A printer that writes the job to a PDF file, for headless runs and "print to PDF".
#pragma once

#include "foundation/ZVCanvas.h"
#include "foundation/ZVPrinter.h"
#include "zorvel_core_export.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QString>

#include <cstddef>
#include <memory>

class QPainter;
class QPdfWriter;
class QSaveFile;
class QTemporaryDir;

namespace zorvel {

class TZVPdfJoin;
class TZVQtCanvas;

/// One printer named "PDF". The page is the settings record's paper (turned for landscape) with no
/// unprintable margin unless SetMargins gives one; the file holds its size in whole points (within
/// 0.18 mm). The file appears only when EndDoc succeeds: until then the job writes to a temporary
/// file beside it, and Abort or a failure leaves the old file, if any, untouched. Copies are not repeated in the file; a PDF viewer
/// prints as many as asked.
class ZORVEL_CORE_EXPORT TZVPdfPrinter final : public TZVPrinter
{
public:
    /// Resolution of the canvas unless another is given.
    static constexpr int kDefaultDpi = 1200;

    /// Writes to `fileName` at `dpi` dots per inch; nothing is written before EndDoc.
    explicit TZVPdfPrinter(QString fileName, int dpi = kDefaultDpi);
    ~TZVPdfPrinter() override;

    /// The PDF file the next job writes.
    /// @{
    const QString& FileName() const { return m_fileName; }
    void SetFileName(const QString& fileName) { m_fileName = fileName; }
    /// @}
    /// Unprintable edges of the page as it lies, mm, as a printer's paper has them: the canvas
    /// starts inside them. Margins that leave no page count as none.
    void SetMargins(const QMarginsF& mm) { m_margins = mm; }

    QStringList Printers() const override;
    int PrinterIndex() const override { return m_index; }
    void SetPrinterIndex(int index) override { m_index = index; }
    TZVDevMode* DevMode() override { return m_index == 0 ? &m_devMode : nullptr; }

    int DpiX() const override { return m_dpi; }
    int DpiY() const override { return m_dpi; }
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
    /// The next page gets the new size before it opens (QPdfWriter keeps a size per page).
    void SetPageLength(int tenths) override { m_nextLength = tenths; }
    /// A printer of the same settings writing a PDF file of its own in a temporary folder.
    std::unique_ptr<TZVPrinter> NewPart(int firstPage) override;
    /// The parts' pages joined into FileName with qpdf.
    void JoinParts(std::vector<std::unique_ptr<TZVPrinter>> parts) override;
    /// Reads the part into the join while later parts print.
    void PrepareJoin(TZVPrinter& part) override;
    /// Measured on two cores: qpdf joins about 10,000 pages a second and holds about 20 KB a page
    /// until the file is written, while a page of one roll label renders in a tenth of that time.
    /// So sheets of several labels split, up to pages that keep the join under about 80 MB.
    bool SplitPays(int pageCount, int labelsPerPage) const override
    {
        return labelsPerPage > 1 && pageCount <= kMaxJoinedPages;
    }
    /// The most pages a split job's parts are joined into.
    static constexpr int kMaxJoinedPages = 4000;

private:
    // Page size in tenths of a millimetre, turned for landscape.
    QSize pageTenths() const;
    // SetMargins' margins where they leave a page, none otherwise.
    QMarginsF margins() const;
    void release();
    // The page's layout and the canvas over it, for the size of the page opened.
    QPageLayout pageLayout() const;
    void makeCanvas();

    QString m_fileName;
    int m_dpi;
    int m_index = 0;
    QMarginsF m_margins;
    int m_nextLength = 0; // SetPageLength's, for the pages opened from now on
    int m_pageLength = 0; // the open page's; 0 for the paper's
    TZVDevMode m_devMode;
    std::unique_ptr<QSaveFile> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<TZVQtCanvas> m_canvas;
    std::unique_ptr<QTemporaryDir> m_partFolder; // a part's, removed with it
    std::unique_ptr<TZVPdfJoin> m_join;          // the parts read so far, in page order
    std::size_t m_partsJoined = 0;
};

} // namespace zorvel
