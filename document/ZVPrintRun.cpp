// The print run: sheet layout, the walk over records, labels and pages, the printer's settings,
// preview pages with their cache, and the questions asked before a run.
#include "document/ZVBackSurf.h"
#include "document/ZVCustomLab.h"
#include "elements/ZVElement.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVError.h"
#include "foundation/ZVPrinter.h"
#include "foundation/ZVStrings.h"
#include "foundation/ZVUtils.h"
#include "platform/ZVQtCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace zorvel {

// Where a page of the run starts and how many labels it holds.
struct TZVCustomLab::TRunPage
{
    int Number = 0;
    int Row = 1;
    int Col = 1;
    int Labels = 0;
    int Skipped = 0; // labels of the run before this page
};

namespace {

constexpr int kAllPagesLimit = 10;    // longer previews render their edges only
constexpr int kEdgePages = 4;         // rendered at each end of a long preview
constexpr int kPageCacheLimit = 30;
constexpr int kPageCacheKeep = 11;    // the eight edge pages and the first three rendered later
constexpr int kNeighbours = 3;        // pages rendered on each side of the page shown

// Model units (1/100 mm) to tenths of a millimetre, halves up.
int tenthsOf(int model)
{
    return static_cast<int>(RoundHalfUp(model / 10.0));
}

// Holds a data set's controls back for a scope; `held` adopts controls already held back.
class ControlsSuspended
{
public:
    explicit ControlsSuspended(TZVDataSet* dataSet, bool held = false) : m_dataSet(dataSet)
    {
        if (m_dataSet && !held) m_dataSet->DisableControls();
    }
    ~ControlsSuspended()
    {
        if (m_dataSet) m_dataSet->EnableControls();
    }
    Q_DISABLE_COPY_MOVE(ControlsSuspended)

private:
    TZVDataSet* m_dataSet;
};

} // namespace

TPoint TZVCustomLab::LabelOrigin(int row, int col, int offX, int offY) const
{
    const TZVMeasure& m = *m_measure;
    return {m.MarLeft() + (col - 1) * (m.Width() + m.DiHor()) - offX,
            m.MarTop() + (row - 1) * (m.Height() + m.DiVer()) - offY};
}

// ---- Run set-up ----

TZVCustomLab::TRunPage TZVCustomLab::runPage(int n) const
{
    const TZVMeasure& m = *m_measure;
    const TZVPrintInfo& info = *m_printInfo;
    // The sheet may have shrunk since the start was set.
    const int firstRow = std::clamp(info.FirstRow(), 1, m.NuHor());
    const int firstCol = std::clamp(info.FirstCol(), 1, m.NuVer());
    const int perPage = m.NuHor() * m.NuVer();
    const int onFirst = m.NuVer() * (m.NuHor() - firstRow + 1) - firstCol + 1;
    if (n <= 1) return {1, firstRow, firstCol, std::min(onFirst, info.TotalLabels), 0};
    const int skipped = (n - 2) * perPage + onFirst;
    return {n, 1, 1, std::clamp(info.TotalLabels - skipped, 0, perPage), skipped};
}

void TZVCustomLab::PrepareRun(bool holdControls)
{
    TZVPrintInfo& info = *m_printInfo;
    const bool data = OpenData(true, true);
    // A bound data set that stays closed has no records to walk.
    if (data && !m_dataSet->Active()) throw EZvError(QString::fromLatin1(kErrorCantOpenDataSet));
    if (data) {
        info.DataMode = 1;
        info.DetailMode = m_detail && std::any_of(m_elements.cbegin(), m_elements.cend(), [](TZVElement* e) {
                              return e->ElementKind() == ekTable;
                          });
        // Held back before the first move, so views see the run only when it ends.
        if (holdControls) (info.DetailMode ? m_detail : m_dataSet)->DisableControls();
        m_dataSet->First();
        m_dataSet->MoveBy(info.PrintFrom() - 1);
        // NumLabels already counts the records of the range, never below 0.
        info.TotalLabels = info.NumLabels() * info.Repetitions();
    } else {
        info.DataMode = 0;
        info.DetailMode = false;
        info.m_repetitions = 1; // a run setting, not an edit: Modified stays
        info.TotalLabels = info.NumLabels();
    }
    const int perPage = m_measure->NuHor() * m_measure->NuVer();
    const int onFirst = runPage(1).Labels;
    if (onFirst < info.TotalLabels) {
        const int rest = info.TotalLabels - onFirst;
        info.PageCount = rest / perPage + (rest % perPage != 0 ? 2 : 1);
    } else {
        info.PageCount = 1;
    }
}

void TZVCustomLab::PrepareDevMode(TZVPrinter& printer, int copies)
{
    TZVDevMode& devMode = RequireDevMode(printer);
    if (copies > 0) {
        devMode.Copies = copies;
        devMode.CopiesSet = true;
    }
    devMode.Orientation = m_printInfo->Orientation == 1 ? TZVDevMode::kLandscape : TZVDevMode::kPortrait;
    // The paper always comes from the label; PaperCode is only what the dialog chose.
    devMode.PaperSize = TZVDevMode::kUserPaper;
    devMode.PaperWidth = tenthsOf(m_measure->PaperWidth());
    devMode.PaperLength = tenthsOf(m_measure->PaperHeight());
}

// ---- Questions ----

void TZVCustomLab::AskQuestions()
{
    QString caption;
    int pos = 0;
    for (auto it = m_elements.crbegin(); it != m_elements.crend(); ++it) {
        auto* question = qobject_cast<TZVAskText*>(*it);
        if (!question) continue;
        ++pos;
        QString answer = question->Answer();
        if (m_questionAsker) {
            if (caption.isEmpty())
                caption = DialogText(m_iniTranslate, u"ZvInputText", QStringLiteral("WRITE ANSWER TO QUESTION"));
            if (auto given = m_questionAsker->ask(caption, question->Question(), answer)) answer = *given;
        }
        if (OnAskText) OnAskText(this, pos, question->ID(), answer);
        question->SetAnswer(answer);
    }
}

// ---- The walk ----

void TZVCustomLab::paintPageStart(TZVCanvas& canvas, int page, TPoint offset)
{
    m_pageNumber = page;
    if (m_title.PrintTitle && OnPrintTitle) {
        QString text = m_title.Text;
        OnPrintTitle(this, page, text);
        m_title.Text = text;
        if (!text.isEmpty()) PaintTitle(canvas, text);
    }
    if (m_measure->LabelType() != ltCircle) return;
    TZVRegion clip;
    for (int row = 1; row <= m_measure->NuHor(); ++row) {
        for (int col = 1; col <= m_measure->NuVer(); ++col) {
            const TPoint o = LabelOrigin(row, col, offset.X, offset.Y);
            const TRect r = canvas.LPtoDP(TRect{o.X, o.Y, o.X + m_measure->Width(), o.Y + m_measure->Height()});
            clip.Unite(CreateEllipticRgn(r.Left, r.Top, r.Right, r.Bottom));
        }
    }
    canvas.SelectClipRgn(&clip);
}

void TZVCustomLab::paintPageLabels(TZVCanvas& canvas, int target, const TRunPage& page, TPoint offset,
                                   const TZVPrintProgress& progress, bool& cancelled)
{
    const TZVPrintInfo& info = *m_printInfo;
    const int repetitions = info.Repetitions();
    int repeat = repetitions - page.Skipped % repetitions;
    int row = page.Row;
    int col = page.Col;
    for (int remaining = page.Labels; remaining > 0;) {
        if (col > m_measure->NuVer()) {
            ++row;
            col = 1;
            continue;
        }
        if (progress && !progress(page.Number, info.PageCount)) {
            cancelled = true;
            return;
        }
        const TPoint origin = LabelOrigin(row, col, offset.X, offset.Y);
        if (m_backSurf->Print()) {
            const TRect area{origin.X, origin.Y, origin.X + m_measure->Width(), origin.Y + m_measure->Height()};
            m_backSurf->PaintBackground(canvas, origin, target, area);
        }
        PaintElements(canvas, origin, target, info.DataMode);
        m_frame->PaintFrame(canvas, origin, target);
        --remaining;
        ++col;
        if (--repeat == 0) {
            if (info.DataMode == 1) m_dataSet->Next();
            repeat = repetitions;
        }
    }
}

bool TZVCustomLab::PrintEx(TZVPrinter& printer, int copies, bool noOutput)
{
    AskQuestions();
    TZVPrintInfo& info = *m_printInfo;
    m_noPrinterOutput = noOutput;
    PrepareRun(true);
    TZVDataSet* walked = info.DataMode == 0 ? nullptr : (info.DetailMode ? m_detail.data() : m_dataSet.data());
    const ControlsSuspended suspended(walked, true);
    if (noOutput) return true;

    PrepareDevMode(printer, copies);
    printer.BeginDoc(QStringLiteral("PRINTING : ") + m_measure->LabelName());
    try {
        info.DpiX = printer.DpiX();
        info.DpiY = printer.DpiY();
        const QSize physical = printer.PhysicalOffset();
        const TPoint offset{static_cast<int>(RoundHalfUp(physical.width() * double(kModelPerInch) / printer.DpiX())),
                            static_cast<int>(RoundHalfUp(physical.height() * double(kModelPerInch) / printer.DpiY()))};
        for (int n = 1; n <= info.PageCount; ++n) {
            if (n > 1) printer.NewPage();
            TZVCanvas& canvas = printer.Canvas();
            canvas.SaveDC();
            canvas.SetMapMode(mmAnisotropic);
            canvas.SetWindowExtEx(printer.HorzSizeMm() * 100, printer.VertSizeMm() * 100);
            const QSize pixels = printer.PageSizePixels();
            canvas.SetViewportExtEx(pixels.width(), pixels.height());
            paintPageStart(canvas, n, offset);
            bool cancelled = false;
            paintPageLabels(canvas, ptPrinter, runPage(n), offset, OnProgress, cancelled);
            canvas.RestoreDC();
            if (cancelled) {
                printer.Abort();
                return false;
            }
        }
        printer.EndDoc();
    } catch (...) {
        if (printer.Printing()) printer.Abort();
        throw;
    }
    return true;
}

// ---- Preview pages ----

QSize TZVCustomLab::PreviewPageSize() const
{
    const QSize size(tenthsOf(m_measure->PaperWidth()), tenthsOf(m_measure->PaperHeight()));
    return m_printInfo->Orientation == 1 ? size.transposed() : size;
}

std::unique_ptr<QPicture> TZVCustomLab::RenderPage(int n)
{
    const TZVPrintInfo& info = *m_printInfo;
    if (n < 1 || n > info.PageCount) return nullptr;
    const TRunPage page = runPage(n);
    const ControlsSuspended suspended(info.DataMode == 1 ? m_dataSet.data() : nullptr);
    if (info.DataMode == 1) {
        m_dataSet->First();
        m_dataSet->MoveBy(info.PrintFrom() - 1 + page.Skipped / info.Repetitions());
    }
    const QSize size = PreviewPageSize();
    QSize window(m_measure->PaperWidth(), m_measure->PaperHeight());
    if (info.Orientation == 1) window.transpose();
    auto picture = std::make_unique<QPicture>();
    picture->setBoundingRect(QRect(QPoint(0, 0), size));
    {
        TZVQtCanvas canvas(picture.get());
        canvas.SetMapMode(mmAnisotropic);
        canvas.SetWindowExtEx(window.width(), window.height());
        canvas.SetViewportExtEx(size.width(), size.height());
        const TPoint offset{info.OffsetX, info.OffsetY};
        // Every page gets its title and clipping, so a long preview shows what the printer prints.
        paintPageStart(canvas, n, offset);
        bool cancelled = false;
        paintPageLabels(canvas, ptPreviewPage, page, offset, {}, cancelled);
    }
    return picture;
}

void TZVCustomLab::RenderAllPages()
{
    m_pages.clear();
    const TZVPrintInfo& info = *m_printInfo;
    // Pages rendered one after the other walk the records as the printer does.
    for (int n = 1; n <= info.PageCount; ++n) m_pages.push_back({n, RenderPage(n)});
}

void TZVCustomLab::PreparePreview(TZVPrinter* printer)
{
    m_pages.clear();
    if (printer) PrepareDevMode(*printer, 0);
    PrepareRun();
    TZVPrintInfo& info = *m_printInfo;
    info.CurrentPage = 1;
    if (info.PageCount > kAllPagesLimit) {
        for (int n = 1; n <= kEdgePages; ++n) m_pages.push_back({n, RenderPage(n)});
        for (int n = info.PageCount - kEdgePages + 1; n <= info.PageCount; ++n) m_pages.push_back({n, RenderPage(n)});
    } else {
        RenderAllPages();
    }
}

const QPicture* TZVCustomLab::GetPreviewPage(int n)
{
    TZVPrintInfo& info = *m_printInfo;
    const auto find = [this](int number) -> const QPicture* {
        for (const TZVPagePreview& page : m_pages)
            if (page.PageNumber == number) return page.Picture.get();
        return nullptr;
    };
    if (info.PageCount <= kAllPagesLimit) return n >= 1 && n <= info.PageCount ? find(n) : nullptr;
    info.CurrentPage = n;
    if (n > 2 && n < info.PageCount - 2 && !m_pageCacheBusy) updatePageCache();
    // Looked up after the update: the update may have rendered the page or evicted another.
    return find(n);
}

void TZVCustomLab::updatePageCache()
{
    m_pageCacheBusy = true;
    const int current = m_printInfo->CurrentPage;
    const int count = m_printInfo->PageCount;
    const auto near = [current](int page) { return std::abs(page - current) <= kNeighbours; };
    // One eviction per update would let the cache grow without end; pages about to be shown stay.
    while (static_cast<int>(m_pages.size()) > kPageCacheLimit) {
        auto victim = std::find_if(m_pages.begin() + kPageCacheKeep, m_pages.end(),
                                   [&](const TZVPagePreview& p) { return !near(p.PageNumber); });
        if (victim == m_pages.end()) break;
        m_pages.erase(victim);
    }
    const auto cached = [this](int page) {
        return std::any_of(m_pages.cbegin(), m_pages.cend(), [page](const TZVPagePreview& p) { return p.PageNumber == page; });
    };
    // The page shown first, then its neighbours; the shown page itself must not come back empty.
    for (const int page : {current, current - 1, current - 2, current - 3, current + 1, current + 2, current + 3}) {
        if (page < 1 || page > count || cached(page)) continue;
        m_pages.push_back({page, RenderPage(page)});
    }
    m_pageCacheBusy = false;
}

} // namespace zorvel
