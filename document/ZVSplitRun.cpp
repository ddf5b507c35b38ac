// A print run split among threads: ranges of pages printed side by side, each by a worker's copy
// of the label over a copy of the master data set into a part of the printer's job, the parts
// joined in page order.
//
// Ranges of pages rather than workers feeding one painter: a page's labels depend only on the
// design, the run's plan and the record the page starts at (positioned as RenderPage does), so
// the ranges are independent, and the painter with the output's encoding and compression, most
// of a run's time, works on every core instead of one. The ranges shrink: workers take the next
// one as they finish, so they end together, and the calling thread joins the parts printed while
// the last ones print.
#include "document/ZVCustomLab.h"
#include "document/ZVPrintArea.h"
#include "document/ZVRunPlan.h"
#include "document/ZVRunValues.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVPrinter.h"
#include "foundation/ZVStream.h"
#include "foundation/ZVUtils.h"

#include <QDeadlineTimer>
#include <QScopeGuard>
#include <QThread>

#include <atomic>
#include <exception>

namespace zorvel {

namespace {

// How often the calling thread reports the workers' progress, milliseconds.
constexpr int kProgressInterval = 40;

// One range of pages, printed into a part of the job by whichever worker takes it.
struct RunPart
{
    int First = 1;
    int Last = 0;
    std::unique_ptr<TZVPrinter> Printer;
    std::atomic<int> Page{0}; // the page being printed, 0 before the first
    std::atomic<bool> Ended{false};
    std::exception_ptr Failure;
};

// A thread printing parts. The label copy goes before its data set, which it reads.
struct RunWorker
{
    std::unique_ptr<TZVDataSet> Data;
    std::unique_ptr<TZVLab> Label;
    std::unique_ptr<QThread> Thread;
};

// Ranges of `pages` for `workers`, each a share of the pages left that shrinks down to a
// floor: the first ones long, so that few parts are joined, the last ones short, so that no
// worker waits long for the others at the end.
std::vector<std::pair<int, int>> pageRanges(int pages, int workers)
{
    const int least = std::max(1, pages / (4 * workers));
    std::vector<std::pair<int, int>> ranges;
    for (int first = 1; first <= pages;) {
        const int left = pages - first + 1;
        const int size = std::min(left, std::max(least, (left + workers) / (workers + 1)));
        ranges.emplace_back(first, first + size - 1);
        first += size;
    }
    return ranges;
}

// Parts from `From` on stop at their next label: all of them on a cancel, those after a failed
// one on a failure, so that the first failure in page order is the one a single thread meets.
class StopLine
{
public:
    explicit StopLine(int parts) : m_from(parts) {}
    bool Stops(int part) const { return part >= m_from.load(std::memory_order_relaxed); }
    void From(int part)
    {
        int current = m_from.load();
        while (part < current && !m_from.compare_exchange_weak(current, part)) {}
    }

private:
    std::atomic<int> m_from;
};

} // namespace

std::unique_ptr<TZVLab> TZVCustomLab::runCopy(const QByteArray& design, TZVDataSet* data) const
{
    auto copy = std::make_unique<TZVLab>();
    // What painting reads and the stream does not hold.
    copy->m_onlyBitmap = m_onlyBitmap;
    copy->m_markEmptyImage = m_markEmptyImage;
    copy->m_iniTranslate = m_iniTranslate;
    TZVMemoryStream stream(design);
    copy->LoadFromStreamRaw(stream);
    copy->m_printInfo->Assign(*m_printInfo);
    copy->m_runPlan = std::make_unique<TZVRunPlan>(*m_runPlan);
    copy->m_runValues->Begin(m_runValues->JobStart(), m_runValues->CounterStarts());
    if (data) {
        copy->m_dataAccessType = daDataSet;
        copy->m_dataSet = data;
        copy->m_dataEnabled = copy->m_dataOpen = true;
    }
    copy->OnCheckLabel = OnCheckLabel;
    return copy;
}

std::optional<bool> TZVCustomLab::printSplit(TZVPrinter& printer, const QString& title)
{
    const TZVPrintInfo& info = *m_printInfo;
    const int jobs = m_jobs > 0 ? m_jobs : QThread::idealThreadCount();
    const int count = std::min(jobs, info.PageCount);
    // Detail records follow the master's cursor; the application's hooks expect one thread.
    if (count < 2 || info.DetailMode || OnPrintText || (m_title.PrintTitle && OnPrintTitle)) return std::nullopt;
    if (!printer.SplitPays(info.PageCount, m_measure->NuHor() * m_measure->NuVer())) return std::nullopt;
    const bool data = info.DataMode == 1;
    std::vector<std::unique_ptr<RunPart>> parts;
    for (const auto& [first, last] : pageRanges(info.PageCount, count)) {
        auto part = std::make_unique<RunPart>();
        part->First = first;
        part->Last = last;
        if (!(part->Printer = printer.NewPart(first))) return std::nullopt;
        parts.push_back(std::move(part));
    }
    std::vector<std::unique_ptr<RunWorker>> workers;
    for (int i = 0; i < count; ++i) {
        auto worker = std::make_unique<RunWorker>();
        if (data && !(worker->Data = m_dataSet->OpenCopy())) return std::nullopt;
        workers.push_back(std::move(worker));
    }
    runPlan();
    TZVMemoryStream design;
    SaveSnapshot(design);
    for (auto& worker : workers)
        worker->Label = runCopy(design.Bytes(), worker->Data.get());
    // The printer's figures, as a run on one thread notes them.
    NotePrinterArea(printer, *m_measure, *m_printInfo);

    const int partCount = int(parts.size());
    StopLine stop(partCount);
    std::atomic<int> nextPart{0};
    // However this function ends, no worker outlives it.
    const auto joinWorkers = qScopeGuard([&] {
        stop.From(0);
        for (auto& worker : workers)
            if (worker->Thread) worker->Thread->wait();
    });
    for (auto& worker : workers) {
        TZVLab& label = *worker->Label;
        worker->Thread.reset(QThread::create([&parts, &stop, &nextPart, &title, &label, partCount] {
            // A page being painted holds the fonts of this thread, which end with it: a part
            // that does not end here is dropped here.
            for (int i = nextPart++; i < partCount && !stop.Stops(i); i = nextPart++) {
                RunPart& part = *parts[std::size_t(i)];
                label.OnProgress = [&part, &stop, i](int page, int) {
                    part.Page.store(page, std::memory_order_relaxed);
                    return !stop.Stops(i);
                };
                try {
                    label.positionAt(label.runPage(part.First));
                    if (!label.printPages(*part.Printer, title, part.First, part.Last)) {
                        part.Printer->Abort();
                        return;
                    }
                    part.Printer->EndDoc();
                    part.Ended.store(true, std::memory_order_release);
                } catch (...) {
                    part.Failure = std::current_exception();
                    stop.From(i + 1);
                    part.Printer->Abort();
                    return;
                }
            }
        }));
        worker->Thread->start();
    }

    bool cancelled = false;
    std::exception_ptr joinFailure;
    std::size_t offered = 0;
    for (bool running = true; running;) {
        const QDeadlineTimer tick(kProgressInterval);
        running = false;
        for (auto& worker : workers)
            running = !worker->Thread->wait(tick) || running;
        // The parts ended so far, in page order, go to the join while the others print.
        try {
            while (!cancelled && !joinFailure && offered < parts.size() &&
                   parts[offered]->Ended.load(std::memory_order_acquire)) {
                printer.PrepareJoin(*parts[offered]->Printer);
                ++offered;
            }
        } catch (...) {
            joinFailure = std::current_exception();
            stop.From(0);
        }
        int pages = 0;
        for (const auto& part : parts) {
            const int page = part->Page.load(std::memory_order_relaxed);
            if (page > 0) pages += page - part->First + 1;
        }
        if (!cancelled && OnProgress && !OnProgress(std::max(pages, 1), info.PageCount)) {
            cancelled = true;
            stop.From(0);
        }
    }

    std::exception_ptr failure;
    for (const auto& part : parts)
        if (!failure) failure = part->Failure;
    if (!failure) failure = joinFailure;
    if (failure || cancelled) {
        parts.clear();
        printer.Abort();
        if (failure) std::rethrow_exception(failure);
        return false;
    }
    std::vector<std::unique_ptr<TZVPrinter>> printers;
    for (auto& part : parts) printers.push_back(std::move(part->Printer));
    printer.JoinParts(std::move(printers));
    // The master and the page number stand where a run on one thread leaves them: after the
    // last label's record, on the last page.
    m_pageNumber = info.PageCount;
    if (data && runPlan().Labels() > 0) {
        m_dataSet->First();
        m_dataSet->MoveBy(SaturateToInt(info.PrintFrom() + runPlan().Locate(runPlan().Labels() - 1).RecordOffset));
    }
    return true;
}

} // namespace zorvel
