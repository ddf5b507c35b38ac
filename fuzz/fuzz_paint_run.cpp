// A design read from arbitrary bytes, then painted and printed: the painting and the print run
// over whatever values the readers store.
//
// The first byte chooses: bit 0 the reader (0 the stream, 1 the JSON form), bit 1 whether a
// stream label keeps bitmaps, bits 2-4 how many labels the run prints (1 to 8).
#include "FuzzSupport.h"
#include "document/ZVCustomLab.h"
#include "document/ZVDesignJson.h"
#include "document/ZVPrintInfo.h"
#include "document/ZVPrintRun.h"
#include "document/ZVElement.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVError.h"
#include "foundation/ZVPrinter.h"
#include "foundation/ZVStream.h"
#include "platform/ZVQtCanvas.h"

#include <QImage>
#include <QPicture>

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace zorvel;

namespace {

// A printer whose pages are small raster images, dropped at the end of each page: the run goes
// through the real canvas and painter, at a resolution that keeps each page cheap.
class NullPrinter final : public TZVPrinter
{
public:
    static constexpr int kDpi = 25;

    QStringList Printers() const override { return {QStringLiteral("Null")}; }
    int PrinterIndex() const override { return 0; }
    void SetPrinterIndex(int) override {}
    TZVDevMode* DevMode() override { return &m_devMode; }
    int DpiX() const override { return kDpi; }
    int DpiY() const override { return kDpi; }
    // An A4 page whatever the paper asked for, so that the paper cannot make a page huge.
    QSize PageSizePixels() const override { return {207, 292}; }
    QSize PhysicalOffset() const override { return {2, 3}; }
    int HorzSizeMm() const override { return 210; }
    int VertSizeMm() const override { return 297; }

    void BeginDoc(const QString&) override { startPage(); }
    void NewPage() override { startPage(); }
    void EndDoc() override { m_canvas.reset(); }
    void Abort() override { m_canvas.reset(); }
    bool Printing() const override { return m_canvas != nullptr; }
    TZVCanvas& Canvas() override { return *m_canvas; }

private:
    void startPage()
    {
        m_canvas.reset();
        m_page = QImage(PageSizePixels(), QImage::Format_RGB32);
        m_page.fill(Qt::white);
        TZVDeviceCaps caps;
        caps.DpiX = caps.DpiY = kDpi;
        caps.Width = m_page.width();
        caps.Height = m_page.height();
        m_canvas = std::make_unique<TZVQtCanvas>(&m_page, caps);
    }

    TZVDevMode m_devMode;
    QImage m_page;
    std::unique_ptr<TZVQtCanvas> m_canvas;
};

// One label painted alone into a small image, as the editor's picture and as a preview page.
void paintLabel(TZVCustomLab& label)
{
    QImage image(128, 96, QImage::Format_RGB32);
    image.fill(Qt::white);
    TZVDeviceCaps caps;
    caps.DpiX = caps.DpiY = 96;
    caps.Width = image.width();
    caps.Height = image.height();
    TZVQtCanvas canvas(&image, caps);
    const TRect area{0, 0, label.Measure().Width(), label.Measure().Height()};
    for (const int target : {ptEditorPicture, ptPreviewPage}) {
        canvas.SaveDC();
        canvas.SetMapMode(mmAnisotropic);
        canvas.SetWindowExtEx(label.Measure().Width(), label.Measure().Height());
        canvas.SetViewportExtEx(image.width(), image.height());
        label.BackSurf().PaintBackground(canvas, {0, 0}, target, area);
        label.PaintElements(canvas, {0, 0}, target, 0);
        label.Frame().PaintFrame(canvas, {0, 0}, target);
        canvas.RestoreDC();
    }
}

} // namespace

// Painting churns through large short-lived buffers (glyph caches, page images): ASan's default
// quarantine keeps 256 MB of them after they are freed, half the run's memory limit, so that the
// limit would no longer measure the target's own use (about 100 MB at its peak).
extern "C" const char* __asan_default_options()
{
    return "quarantine_size_mb=64";
}

// Qt's font database keeps fontconfig's patterns until the process ends and never finalises the
// library: the leak check at exit would report them, not anything a design did.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so";
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnsureGuiApp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const std::uint8_t choice = data[0];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    const int labels = 1 + (choice >> 2 & 7);

    TZVLab label;
    try {
        if (choice & 1) {
            DesignFromJson(label, bytes);
        } else {
            label.SetOnlyBitmap(choice & 2);
            TZVMemoryStream stream(bytes);
            label.LoadFromStream(stream);
        }
    } catch (const EZvError&) {
        return 0;
    }
    // No data sets are registered: the run prints the design's own content.
    label.SetDataEnabled(false);
    label.PrintInfo().SetNumLabels(labels);

    try {
        paintLabel(label);
        // A runaway walk is cut off: a run of a few labels never reports many more.
        int reported = 0;
        label.OnProgress = [&](int, int) { return ++reported <= 4 * labels; };
        NullPrinter printer;
        label.Print(printer);
        label.OnProgress = {};
        (void)label.RenderPage(1);
    } catch (const EZvError&) {
    } catch (const EZvPrinterError&) {
    }
    return 0;
}
