// Sheet geometry against the paper, in 64 bits: stored designs carry any counts and lengths.
#include "document/ZVSheetFit.h"

#include "document/ZVCustomLab.h"
#include "document/ZVMeasure.h"
#include "document/ZVPrintInfo.h"
#include "foundation/ZVUtils.h"

#include <QStringList>

#include <algorithm>
#include <cstdint>

namespace zorvel {

namespace {

// Lengths converted from inches round to whole model units; a label that ends on the edge stays on.
constexpr std::int64_t kEdgeTolerance = 5;

// How many of `count` labels of `size` with `gap` between them, starting at `margin`, end on `extent`.
int labelsOn(int count, std::int64_t margin, std::int64_t size, std::int64_t gap, std::int64_t extent)
{
    const std::int64_t room = extent + kEdgeTolerance - margin - size;
    if (room < 0) return 0;
    const std::int64_t step = size + gap;
    // Labels that do not advance all end where the first one does.
    if (step <= 0) return count;
    return static_cast<int>(std::min<std::int64_t>(count, 1 + room / step));
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b)
{
    return -FloorDiv(-a, b);
}

// Among `count` places whose n-th (1-based) spans `start` + (n - 1) * `step` to that plus `size`,
// those touching 0..`extent`. Places that do not advance coincide and count once.
TZVPlaces placesOnPaper(int count, std::int64_t start, std::int64_t size, std::int64_t step, std::int64_t extent)
{
    size = std::max<std::int64_t>(size, 0);
    // Place i (0-based) is on the paper when start + i * step lies in -size .. extent.
    std::int64_t lo = 0;
    std::int64_t hi = std::int64_t(count) - 1;
    if (step > 0) {
        lo = std::max(lo, ceilDiv(-size - start, step));
        hi = std::min(hi, FloorDiv(extent - start, step));
    } else if (step < 0) {
        lo = std::max(lo, ceilDiv(start - extent, -step));
        hi = std::min(hi, FloorDiv(start + size, -step));
    } else {
        hi = std::min<std::int64_t>(hi, start <= extent && start + size >= 0 ? 0 : -1);
    }
    if (lo > hi) return {};
    return {static_cast<int>(lo + 1), static_cast<int>(hi + 1)};
}

} // namespace

int SheetRows(const TZVMeasure& measure)
{
    return std::max(measure.NuHor(), 1);
}

int SheetColumns(const TZVMeasure& measure)
{
    return std::max(measure.NuVer(), 1);
}

TZVSheetFit SheetFit(const TZVCustomLab& label)
{
    const TZVMeasure& m = label.Measure();
    const bool landscape = label.PrintInfo().Orientation == 1;
    const int pageWidth = landscape ? m.PaperHeight() : m.PaperWidth();
    const int pageHeight = landscape ? m.PaperWidth() : m.PaperHeight();
    TZVSheetFit fit;
    fit.Rows = SheetRows(m);
    fit.Columns = SheetColumns(m);
    fit.ColumnsOff = fit.Columns - labelsOn(fit.Columns, m.MarLeft(), m.Width(), m.DiHor(), pageWidth);
    fit.RowsOff = fit.Rows - labelsOn(fit.Rows, m.MarTop(), m.Height(), m.DiVer(), pageHeight);
    fit.RowsOnPaper =
        placesOnPaper(fit.Rows, m.MarTop(), m.Height(), std::int64_t(m.Height()) + m.DiVer(), pageHeight);
    fit.ColumnsOnPaper =
        placesOnPaper(fit.Columns, m.MarLeft(), m.Width(), std::int64_t(m.Width()) + m.DiHor(), pageWidth);
    return fit;
}

QString SheetFitWarning(const TZVSheetFit& fit)
{
    if (fit.Fits()) return {};
    const auto count = [](int n, const char* one, const char* many) {
        return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
    };
    QStringList parts;
    if (fit.ColumnsOff > 0) parts << count(fit.ColumnsOff, "COLUMN", "COLUMNS");
    if (fit.RowsOff > 0) parts << count(fit.RowsOff, "ROW", "ROWS");
    return QStringLiteral("LABELS OFF THE PAPER : ") + parts.join(QStringLiteral(", "));
}

} // namespace zorvel
