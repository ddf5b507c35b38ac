// The print run: sheet layout, the walk over records, labels and pages, the printer's settings,
// preview pages with their cache, and the questions asked before a run.
#include "document/ZVBackSurf.h"
#include "document/ZVCustomLab.h"
#include "document/ZVSheetFit.h"
#include "document/ZVElement.h"
#include "document/ZVPrintArea.h"
#include "document/ZVQuestion.h"
#include "document/ZVRunPlan.h"
#include "document/ZVRunValues.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"
#include "foundation/ZVPrinter.h"
#include "foundation/ZVStrings.h"
#include "foundation/ZVUtils.h"
#include "platform/ZVQtCanvas.h"

#include <QDateTime>
#include <QScopeGuard>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace zorvel {

namespace {

constexpr int kAllPagesLimit = 10;    // longer previews render their edges only
constexpr int kEdgePages = 4;         // rendered at each end of a long preview
constexpr int kPageCacheLimit = 30;
constexpr int kPageCacheKeep = 11;    // the eight edge pages and the first three rendered later
constexpr int kNeighbours = 3;        // pages rendered on each side of the page shown
// A sheet of more places than the dialog makes (50 x 50) clips to those on the paper; more than
// that on the paper are labels of a pixel or two, left unclipped.
constexpr std::int64_t kMaxClipPlaces = 2500;

// Where the `index`-th (1-based) label of a row or column starts; a place beyond any coordinate
// gets the farthest one. Every int operand fits the 64-bit sum.
int placeOf(int margin, int index, int size, int gap, int offset)
{
    return SaturateToInt(margin + (index - 1LL) * (std::int64_t(size) + gap) - offset);
}

// The label's rectangle at `origin`.
TRect labelBox(const TZVMeasure& m, TPoint origin)
{
    return {origin.X, origin.Y, SaturateToInt(std::int64_t(origin.X) + m.Width()),
            SaturateToInt(std::int64_t(origin.Y) + m.Height())};
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

// A quantity as a whole number; nullopt for anything else (an empty cell included).
std::optional<std::int64_t> wholeNumber(const TZVField& field)
{
    if (field.IsNull()) return std::nullopt;
    const TZVFieldKind kind = field.Kind();
    if (IsIntegerKind(kind)) return field.AsInteger();
    if (IsFloatKind(kind)) {
        const double value = field.AsFloat();
        if (value != std::floor(value) || std::abs(value) > 9.0e15) return std::nullopt;
        return static_cast<std::int64_t>(value);
    }
    bool ok = false;
    const qlonglong value = field.AsWideString().trimmed().toLongLong(&ok);
    return ok ? std::optional<std::int64_t>(value) : std::nullopt;
}

// Each record's quantity, `count` records from the current one on; the data set is left after them.
std::vector<std::int64_t> readQuantities(TZVDataSet& data, const QString& fieldName, int firstRecord, int count)
{
    const TZVField& field = data.FieldByName(fieldName);
    std::vector<std::int64_t> quantities;
    quantities.reserve(std::size_t(std::max(count, 0)));
    for (int i = 0; i < count && !data.Eof(); ++i) {
        const auto quantity = wholeNumber(field);
        if (!quantity)
            throw EZvError(QStringLiteral("INVALID QUANTITY IN RECORD %1 : %2").arg(firstRecord + i).arg(fieldName));
        quantities.push_back(*quantity);
        data.Next();
    }
    return quantities;
}

} // namespace

int TenthsOfModel(int model)
{
    return static_cast<int>(RoundHalfUp(model / 10.0));
}

// The printer's resolution, unprintable offsets, printable area and right and bottom margins, model
// units, into the print settings.
void NotePrinterArea(const TZVPrinter& printer, const TZVMeasure& m, TZVPrintInfo& info)
{
    info.DpiX = printer.DpiX();
    info.DpiY = printer.DpiY();
    const QSize offset = printer.PhysicalOffset();
    const QSize printable = printer.PageSizePixels();
    info.OffsetX = PixelsToModel(offset.width(), info.DpiX);
    info.OffsetY = PixelsToModel(offset.height(), info.DpiY);
    info.PrintableWidth = PixelsToModel(printable.width(), info.DpiX);
    info.PrintableHeight = PixelsToModel(printable.height(), info.DpiY);
    // What the paper, as it lies, leaves beyond the printable area; less than a pixel is only the
    // rounding of the page to whole pixels.
    const bool landscape = info.Orientation == 1;
    const auto margin = [&](std::int64_t paper, int offsetModel, int printableModel, int dpi) {
        const std::int64_t rest = paper - offsetModel - printableModel;
        return dpi > 0 && std::abs(rest) * dpi < kModelPerInch ? 0 : SaturateToInt(rest);
    };
    info.MarginRight = margin(landscape ? m.PaperHeight() : m.PaperWidth(), info.OffsetX,
                              info.PrintableWidth, info.DpiX);
    info.MarginBottom = margin(landscape ? m.PaperWidth() : m.PaperHeight(), info.OffsetY,
                               info.PrintableHeight, info.DpiY);
}

TPoint TZVCustomLab::LabelOrigin(int row, int col, int offX, int offY) const
{
    const TZVMeasure& m = *m_measure;
    return {placeOf(m.MarLeft(), col, m.Width(), m.DiHor(), offX),
            placeOf(m.MarTop(), row, m.Height(), m.DiVer(), offY)};
}

// ---- Run set-up ----

TZVCustomLab::TRunPage TZVCustomLab::runPage(int n) const
{
    const TZVMeasure& m = *m_measure;
    const TZVPrintInfo& info = *m_printInfo;
    // The sheet may have shrunk since the start was set; a stored start or sheet may be anything.
    const int rows = SheetRows(m);
    const int cols = SheetColumns(m);
    const int firstRow = std::clamp(info.FirstRow(), 1, rows);
    const int firstCol = std::clamp(info.FirstCol(), 1, cols);
    const std::int64_t perPage = std::int64_t(rows) * cols;
    const std::int64_t onFirst = std::int64_t(cols) * (rows - firstRow + 1) - firstCol + 1;
    const std::int64_t total = info.TotalLabels;
    if (n <= 1) return {1, firstRow, firstCol, SaturateToInt(std::min(onFirst, total)), 0};
    // Past the run's last page (a run set up on another sheet) the page is empty.
    const std::int64_t skipped = std::min<std::int64_t>(n - 2, total / perPage + 1) * perPage + onFirst;
    return {n, 1, 1, SaturateToInt(std::clamp<std::int64_t>(total - skipped, 0, perPage)), SaturateToInt(skipped)};
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
        // A stored count below 1 is taken as the setter takes it (not an edit: Modified stays).
        info.m_repetitions = std::max(info.m_repetitions, 1);
        // NumLabels already counts the records of the range, never below 0.
        if (m_quantityField.isEmpty()) {
            m_runPlan = std::make_unique<TZVRunPlan>(info.NumLabels(), info.Repetitions());
        } else {
            const ControlsSuspended counting(m_dataSet);
            m_runPlan = std::make_unique<TZVRunPlan>(
                readQuantities(*m_dataSet, m_quantityField, info.PrintFrom(), info.NumLabels()));
            m_dataSet->First();
            m_dataSet->MoveBy(info.PrintFrom() - 1);
        }
        info.TotalLabels = SaturateToInt(m_runPlan->Labels());
    } else {
        info.DataMode = 0;
        info.DetailMode = false;
        info.m_repetitions = 1; // a run setting, not an edit: Modified stays
        info.TotalLabels = std::max(info.NumLabels(), 1);
        m_runPlan = std::make_unique<TZVRunPlan>(info.TotalLabels, 1);
    }
    m_walkOffset = 0;
    const std::int64_t perPage = std::int64_t(SheetRows(*m_measure)) * SheetColumns(*m_measure);
    const int onFirst = runPage(1).Labels;
    if (onFirst < info.TotalLabels) {
        const std::int64_t rest = info.TotalLabels - onFirst;
        info.PageCount = SaturateToInt(rest / perPage + (rest % perPage != 0 ? 2 : 1));
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
    devMode.PaperWidth = TenthsOfModel(m_measure->PaperWidth());
    devMode.PaperLength = TenthsOfModel(m_measure->PaperHeight());
}

// ---- Questions ----

void TZVCustomLab::AskQuestions()
{
    QString caption;
    int pos = 0;
    for (auto it = m_elements.crbegin(); it != m_elements.crend(); ++it) {
        TZVQuestion* question = (*it)->AsQuestion();
        if (!question) continue;
        ++pos;
        QString answer = question->Answer();
        if (m_questionAsker) {
            if (caption.isEmpty())
                caption = DialogText(m_iniTranslate, u"ZvInputText", QStringLiteral("WRITE ANSWER TO QUESTION"));
            if (auto given = m_questionAsker->ask(caption, question->Question(), answer)) answer = *given;
        }
        if (OnAskText) OnAskText(this, pos, (*it)->ID(), answer);
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
    // Every place of the sheet, or of a larger one those that reach onto the paper.
    const auto size = [](const TZVPlaces& rows, const TZVPlaces& cols) {
        return std::int64_t(rows.Last - rows.First + 1) * (cols.Last - cols.First + 1);
    };
    TZVPlaces rows{1, SheetRows(*m_measure)};
    TZVPlaces cols{1, SheetColumns(*m_measure)};
    if (size(rows, cols) > kMaxClipPlaces) {
        const TZVSheetFit fit = SheetFit(*this);
        rows = fit.RowsOnPaper;
        cols = fit.ColumnsOnPaper;
    }
    if (size(rows, cols) > kMaxClipPlaces) return;
    TZVRegion clip;
    for (int row = rows.First; row <= rows.Last; ++row) {
        for (int col = cols.First; col <= cols.Last; ++col) {
            const TPoint o = LabelOrigin(row, col, offset.X, offset.Y);
            const TRect r = canvas.LPtoDP(labelBox(*m_measure, o));
            clip.Unite(CreateEllipticRgn(r.Left, r.Top, r.Right, r.Bottom));
        }
    }
    canvas.SelectClipRgn(&clip);
}

const TZVRunPlan& TZVCustomLab::runPlan()
{
    // A run set up by hand (its counts stored) has no plan yet: every record Repetitions times.
    if (!m_runPlan) {
        const TZVPrintInfo& info = *m_printInfo;
        const std::int64_t copies = info.DataMode == 1 ? std::max(info.Repetitions(), 1) : 1;
        m_runPlan = std::make_unique<TZVRunPlan>((std::int64_t(info.TotalLabels) + copies - 1) / copies, copies);
    }
    return *m_runPlan;
}

bool TZVCustomLab::walkPageLabels(const TRunPage& page, const TZVPrintProgress& progress,
                                  const std::function<void(int row, int col)>& label)
{
    const TZVPrintInfo& info = *m_printInfo;
    const TZVRunPlan& plan = runPlan();
    const bool data = info.DataMode == 1;
    const int cols = SheetColumns(*m_measure);
    const TZVSheetFit fit = SheetFit(*this);
    TZVRunPosition& at = m_runValues->Position();
    // A start in the last place of the largest sheet steps past any int.
    std::int64_t row = page.Row;
    std::int64_t col = page.Col;
    std::int64_t index = page.Skipped;
    for (int remaining = page.Labels; remaining > 0;) {
        if (col > cols) {
            ++row;
            col = 1;
            continue;
        }
        const TZVRunPlan::TPlace place = plan.Locate(index);
        // Records that print no label are passed over.
        if (data && place.RecordOffset > m_walkOffset) {
            m_dataSet->MoveBy(SaturateToInt(place.RecordOffset - m_walkOffset));
            m_walkOffset = place.RecordOffset;
        }
        at.Page = page.Number;
        at.Label = index + 1;
        at.Record = data ? info.PrintFrom() + place.RecordOffset : index + 1;
        at.Copy = place.Copy;
        at.RecordInRun = place.RecordInRun + 1;
        if (progress && !progress(page.Number, info.PageCount)) return false;
        // A label wholly off the paper would show nothing, and may lie beyond any coordinate.
        if (fit.RowsOnPaper.Contains(row) && fit.ColumnsOnPaper.Contains(col)) label(int(row), int(col));
        --remaining;
        ++col;
        ++index;
        // After a record's last copy the data moves on, so a run leaves it after its last label.
        if (data && (index >= plan.Labels() || plan.Locate(index).RecordInRun != place.RecordInRun)) {
            m_dataSet->Next();
            ++m_walkOffset;
        }
    }
    return true;
}

void TZVCustomLab::paintPageLabels(TZVCanvas& canvas, int target, const TRunPage& page, TPoint offset,
                                   const TZVPrintProgress& progress, bool& cancelled)
{
    cancelled = !walkPageLabels(page, progress, [&](int row, int col) {
        paintLabel(canvas, LabelOrigin(row, col, offset.X, offset.Y), target);
    });
}

void TZVCustomLab::paintLabel(TZVCanvas& canvas, TPoint origin, int target, int height)
{
    if (m_backSurf->Print()) m_backSurf->PaintBackground(canvas, origin, target, labelBox(*m_measure, origin));
    PaintElements(canvas, origin, target, m_printInfo->DataMode);
    m_frame->PaintFrame(canvas, origin, target, height);
}

bool TZVCustomLab::PrintEx(TZVPrinter& printer, int copies, bool noOutput)
{
    // Refused before the questions are asked and the data walked.
    if (!noOutput) RequirePaintingApplication();
    AskQuestions();
    TZVPrintInfo& info = *m_printInfo;
    m_noPrinterOutput = noOutput;
    PrepareRun(true);
    TZVDataSet* walked = info.DataMode == 0 ? nullptr : (info.DetailMode ? m_detail.data() : m_dataSet.data());
    const ControlsSuspended suspended(walked, true);
    beginRunValues(!noOutput);
    if (noOutput) return true;

    PrepareDevMode(printer, copies);
    auto abortOnFailure = qScopeGuard([&printer] {
        if (printer.Printing()) printer.Abort();
    });
    // A printer kept for the next job gets its paper's length back.
    const auto paperLength = qScopeGuard([&printer] { printer.SetPageLength(0); });
    const QString title = QStringLiteral("PRINTING : ") + m_measure->LabelName();
    const std::optional<bool> split = printSplit(printer, title);
    if (split && !*split) return false;
    const bool completed = split.has_value() || printPages(printer, title, 1, info.PageCount);
    if (!completed) {
        abortOnFailure.dismiss();
        printer.Abort();
        return false;
    }
    if (!split) printer.EndDoc();
    abortOnFailure.dismiss();
    saveRunCounters();
    return true;
}

bool TZVCustomLab::printPages(TZVPrinter& printer, const QString& title, int first, int last)
{
    return m_measure->AutoLengthApplies() ? printRollPages(printer, title, first, last)
                                          : printSheetPages(printer, title, first, last);
}

TZVPrintProgress TZVCustomLab::runProgress()
{
    if (!OnCheckLabel) return OnProgress;
    return [this](int page, int pageCount) {
        OnCheckLabel(*this);
        return !OnProgress || OnProgress(page, pageCount);
    };
}

bool TZVCustomLab::printSheetPages(TZVPrinter& printer, const QString& title, int first, int last)
{
    TZVPrintInfo& info = *m_printInfo;
    printer.BeginDoc(title);
    NotePrinterArea(printer, *m_measure, info);
    const TPoint offset{info.OffsetX, info.OffsetY};
    const TZVPrintProgress progress = runProgress();
    for (int n = first; n <= last; ++n) {
        if (n > first) printer.NewPage();
        TZVCanvas& canvas = printer.Canvas();
        canvas.SaveDC();
        canvas.SetMapMode(mmAnisotropic);
        canvas.SetWindowExtEx(printer.HorzSizeMm() * 100, printer.VertSizeMm() * 100);
        const QSize pixels = printer.PageSizePixels();
        canvas.SetViewportExtEx(pixels.width(), pixels.height());
        paintPageStart(canvas, n, offset);
        bool cancelled = false;
        paintPageLabels(canvas, ptPrinter, runPage(n), offset, progress, cancelled);
        canvas.RestoreDC();
        if (cancelled) return false;
    }
    return true;
}

void TZVCustomLab::ListValues(const std::function<void(const TZVLabelValue&)>& sink)
{
    AskQuestions();
    PrepareRun(true);
    const TZVPrintInfo& info = *m_printInfo;
    TZVDataSet* walked = info.DataMode == 0 ? nullptr : (info.DetailMode ? m_detail.data() : m_dataSet.data());
    const ControlsSuspended suspended(walked, true);
    beginRunValues(false);
    const TZVRunPosition& at = m_runValues->Position();
    const TZVPrintProgress progress = runProgress();
    for (int n = 1; n <= info.PageCount; ++n) {
        const bool completed = walkPageLabels(runPage(n), progress, [&](int row, int col) {
            for (TZVElement* element : m_elements) {
                if (!element->Print()) continue;
                if (const auto content = element->PrintedContent())
                    sink({n, row, col, at.Record, at.Copy, element->ID(), *content});
            }
        });
        if (!completed) return;
    }
}

// ---- Counters of a run ----

void TZVCustomLab::beginRunValues(bool printing)
{
    const QDateTime start = QDateTime::currentDateTime();
    const QDate day = start.date();
    m_runSteps = CounterSteps(*this, m_printInfo->TotalLabels, runPlan().Records(), m_printInfo->PageCount);
    // A reprint from given values saves nothing; neither does a preview or a dry run.
    m_saveCounters = printing && m_counterOverrides.isEmpty() && !m_counters.isEmpty();
    const bool stored = m_saveCounters && m_counterStore;
    // The stored design hands out the range before anything prints: a second application
    // printing it at the same time gets the next range.
    if (stored) adoptStoredCounters(m_counterStore->Reserve(m_runSteps, day));
    QHash<QString, std::int64_t> starts;
    for (const TZVCounter& counter : std::as_const(m_counters)) {
        const QString key = counter.Name.toUpper();
        starts.insert(key, m_counterOverrides.value(key, CounterRunStart(counter, day)));
    }
    m_runValues->Begin(start, starts);
    // The store holds the counters as the run leaves them already.
    if (stored) saveRunCounters();
}

void TZVCustomLab::adoptStoredCounters(const QList<TZVCounter>& stored)
{
    for (TZVCounter& counter : m_counters) {
        const auto same = std::find_if(stored.cbegin(), stored.cend(), [&](const TZVCounter& c) {
            return c.Name.compare(counter.Name, Qt::CaseInsensitive) == 0;
        });
        if (same != stored.cend()) counter = *same;
    }
}

void TZVCustomLab::saveRunCounters()
{
    if (!m_saveCounters) return;
    m_saveCounters = false;
    const QDate day = m_runValues->JobStart().date();
    QList<TZVCounter> after;
    for (const TZVCounter& counter : std::as_const(m_counters)) {
        const QString key = counter.Name.toUpper();
        after << CounterAfterRun(counter, m_runValues->CounterStarts().value(key), m_runSteps.value(key), day);
    }
    if (after == m_counters) return;
    m_counters = after;
    if (!m_counterStore) SetModified(true);
}

// ---- Preview pages ----

QSize TZVCustomLab::PreviewPageSize() const
{
    const QSize size(TenthsOfModel(m_measure->PaperWidth()), TenthsOfModel(m_measure->PaperHeight()));
    return m_printInfo->Orientation == 1 ? size.transposed() : size;
}

std::unique_ptr<QPicture> TZVCustomLab::RenderPage(int n)
{
    const TZVPrintInfo& info = *m_printInfo;
    if (n < 1 || n > info.PageCount) return nullptr;
    RequirePaintingApplication();
    const TRunPage page = runPage(n);
    const ControlsSuspended suspended(info.DataMode == 1 ? m_dataSet.data() : nullptr);
    positionAt(page);
    if (m_measure->AutoLengthApplies()) return renderRollPage(page);
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
        // The page is the whole paper, not a printer's printable area: labels sit where they land.
        const TPoint offset{0, 0};
        // Every page gets its title and clipping, so a long preview shows what the printer prints.
        paintPageStart(canvas, n, offset);
        bool cancelled = false;
        paintPageLabels(canvas, ptPreviewPage, page, offset, {}, cancelled);
    }
    return picture;
}

void TZVCustomLab::positionAt(const TRunPage& page)
{
    if (m_printInfo->DataMode != 1) return;
    m_walkOffset = page.Labels > 0 ? runPlan().Locate(page.Skipped).RecordOffset : 0;
    m_dataSet->First();
    m_dataSet->MoveBy(SaturateToInt(m_printInfo->PrintFrom() - 1 + m_walkOffset));
}

void TZVCustomLab::RenderAllPages()
{
    m_pages.clear();
    const TZVPrintInfo& info = *m_printInfo;
    // Pages rendered one after the other walk the records as the printer does.
    for (int n = 1; n <= info.PageCount; ++n) m_pages.push_back({n, RenderPage(n)});
}

bool TZVCustomLab::PreparePreview(TZVPrinter* printer)
{
    m_pages.clear();
    if (printer) PrepareDevMode(*printer, 0);
    PrepareRun();
    beginRunValues(false);
    TZVPrintInfo& info = *m_printInfo;
    info.CurrentPage = 1;
    // Pages rendered one after the other walk the records as the printer does.
    const auto render = [&](int first, int last) {
        for (int n = first; n <= last; ++n) {
            if (OnProgress && !OnProgress(n, info.PageCount)) return false;
            m_pages.push_back({n, RenderPage(n)});
        }
        return true;
    };
    const bool done = info.PageCount > kAllPagesLimit
                          ? render(1, kEdgePages) && render(info.PageCount - kEdgePages + 1, info.PageCount)
                          : render(1, info.PageCount);
    if (!done) m_pages.clear();
    return done;
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
