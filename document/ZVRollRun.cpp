// Roll labels as long as their content: the printer's pages and the preview pictures of a run
// whose roll design has AutoLength, each page measured from the label it holds.
#include "document/ZVContentBounds.h"
#include "document/ZVCustomLab.h"
#include "document/ZVElement.h"
#include "document/ZVPrintArea.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVPrinter.h"
#include "foundation/ZVUtils.h"
#include "platform/ZVQtCanvas.h"

#include <algorithm>
#include <cstdint>

namespace zorvel {

namespace {

// The paper as it lies on the canvas, model units.
QSize paperOnCanvas(const TZVMeasure& m, const TZVPrintInfo& info)
{
    const QSize paper(m.PaperWidth(), m.PaperHeight());
    return info.Orientation == 1 ? paper.transposed() : paper;
}

// The page of a label `length` long: the paper beyond the label (a margin) keeps its share.
int pageLengthOf(const TZVMeasure& m, const TZVPrintInfo& info, int length)
{
    const std::int64_t page = std::int64_t(paperOnCanvas(m, info).height()) - m.Height() + length;
    return SaturateToInt(std::max<std::int64_t>(page, AutoLabelLength(std::nullopt, 0)));
}

} // namespace

int TZVCustomLab::rollLabelLength(TZVLengthProbe& probe, int target)
{
    const int dataMode = m_printInfo->DataMode;
    const auto content = probe.Measure([&](TZVCanvas& canvas) { PaintElements(canvas, {0, 0}, target, dataMode); });
    return AutoLabelLength(content, m_measure->Height());
}

bool TZVCustomLab::printRollPages(TZVPrinter& printer, const QString& title, int first, int last)
{
    TZVPrintInfo& info = *m_printInfo;
    const QSize paper = paperOnCanvas(*m_measure, info);
    TZVLengthProbe probe(paper.width(), paper.height());
    TPoint offset;
    // Opens the next page, `length` model units long, and maps it to the pixel: a page of any
    // length keeps the scale of the label.
    const auto open = [&](int page, int length) -> TZVCanvas& {
        printer.SetPageLength(TenthsOfModel(length));
        if (printer.Printing()) {
            printer.NewPage();
        } else {
            printer.BeginDoc(title);
            NotePrinterArea(printer, *m_measure, info);
            offset = {info.OffsetX, info.OffsetY};
        }
        TZVCanvas& canvas = printer.Canvas();
        canvas.SaveDC();
        canvas.SetMapMode(mmAnisotropic);
        const QSize pixels = printer.PageSizePixels();
        canvas.SetWindowExtEx(PixelsToModel(pixels.width(), printer.DpiX()),
                              PixelsToModel(pixels.height(), printer.DpiY()));
        canvas.SetViewportExtEx(pixels.width(), pixels.height());
        paintPageStart(canvas, page, offset);
        return canvas;
    };
    const TZVPrintProgress progress = runProgress();
    for (int n = first; n <= last; ++n) {
        bool opened = false;
        const bool completed = walkPageLabels(runPage(n), progress, [&](int row, int col) {
            const int length = rollLabelLength(probe, ptPrinter);
            TZVCanvas& canvas = open(n, pageLengthOf(*m_measure, info, length));
            opened = true;
            paintLabel(canvas, LabelOrigin(row, col, offset.X, offset.Y), ptPrinter, length);
            canvas.RestoreDC();
        });
        if (!completed) return false;
        // A run without records still has its page, as short as a label gets.
        if (!opened) open(n, pageLengthOf(*m_measure, info, AutoLabelLength(std::nullopt, 0))).RestoreDC();
    }
    return true;
}

std::unique_ptr<QPicture> TZVCustomLab::renderRollPage(const TRunPage& page)
{
    const TZVPrintInfo& info = *m_printInfo;
    const QSize window = paperOnCanvas(*m_measure, info);
    const QSize size = PreviewPageSize();
    TZVLengthProbe probe(window.width(), window.height());
    int length = pageLengthOf(*m_measure, info, AutoLabelLength(std::nullopt, 0));
    auto picture = std::make_unique<QPicture>();
    {
        TZVQtCanvas canvas(picture.get());
        canvas.SetMapMode(mmAnisotropic);
        canvas.SetWindowExtEx(window.width(), window.height());
        canvas.SetViewportExtEx(size.width(), size.height());
        paintPageStart(canvas, page.Number, {0, 0});
        walkPageLabels(page, {}, [&](int row, int col) {
            const int label = rollLabelLength(probe, ptPreviewPage);
            length = pageLengthOf(*m_measure, info, label);
            // What lies below the label's end is not on its page; a round label keeps its own clip.
            if (m_measure->LabelType() != ltCircle) {
                const TZVRegion clip = CreateRectRgn(0, 0, size.width(), TenthsOfModel(length));
                canvas.SelectClipRgn(&clip);
            }
            paintLabel(canvas, LabelOrigin(row, col, 0, 0), ptPreviewPage, label);
        });
    }
    picture->setBoundingRect(QRect(0, 0, size.width(), TenthsOfModel(length)));
    return picture;
}

} // namespace zorvel
