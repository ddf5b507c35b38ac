// zorvel render's PNG output: each page of a run as a picture file.
#pragma once

#include "foundation/ZVPrinter.h"
#include "platform/ZVQtCanvas.h"

#include <QImage>
#include <QSaveFile>
#include <QString>

#include <memory>
#include <vector>

namespace zorvel::cli {

// Pages as PNG files NAME-1.png, NAME-2.png ...: each page is written when it ends, and all
// files appear together at EndDoc, so a failed or cancelled run leaves none. A part writes the
// pages from its first on and leaves them to the join, which makes every part's appear.
class PngPagePrinter final : public TZVPrinter
{
public:
    PngPagePrinter(QString path, int dpi) : m_base(path.chopped(4)), m_dpi(dpi) {}

    QStringList Printers() const override { return {QStringLiteral("PNG")}; }
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
    bool Printing() const override { return m_canvas != nullptr; }
    TZVCanvas& Canvas() override { return *m_canvas; }
    int Pages() const { return m_pages; }
    void SetPageLength(int tenths) override { m_nextLength = tenths; }
    std::unique_ptr<TZVPrinter> NewPart(int firstPage) override;
    void JoinParts(std::vector<std::unique_ptr<TZVPrinter>> parts) override;

private:
    QSize tenths() const;
    void startPage();
    void endPage();
    void commitFiles();

    QString m_base;
    int m_dpi;
    int m_index = 0;
    int m_pages = 0;
    bool m_part = false;
    int m_nextLength = 0; // SetPageLength's, for the pages started from now on
    int m_pageLength = 0; // the current page's; 0 for the paper's
    TZVDevMode m_devMode;
    QImage m_image;
    std::unique_ptr<TZVQtCanvas> m_canvas;
    std::vector<std::unique_ptr<QSaveFile>> m_files;
};

} // namespace zorvel::cli
