// The bar code element: setters with their side effects, symbol size and the bar code record.
#include "elements/ZVBarCode.h"

#include "document/ZVCustomLab.h"
#include "document/ZVFieldVisitor.h"
#include "document/ZVStreamVisitors.h"
#include "document/ZVLegacyLength.h"
#include "elements/ZVModuleGrid.h"
#include "elements/ZVSymbologies.h"
#include "elements/ZVZintSymbol.h"
#include "foundation/ZVAnsi.h"
#include "foundation/ZVBarcode.h"
#include "foundation/ZVBarcodeTables.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"
#include "foundation/ZVUtils.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace zorvel {
namespace {

// Changing the symbology away from Code 39 starts from this ratio.
constexpr int kDefaultOtherFactor = 200;
// Layouts before this carry no bar height.
constexpr std::int32_t kFirstBHeightVersion = 18;
constexpr int kDefaultBHeight = 1000;

constexpr TZVColor kPlaceholderFill = 0xFFFFFF;
constexpr TZVColor kPlaceholderCross = 255; // red
constexpr int kPlaceholderPen = 10;         // 0.1 mm

// Ranges of the libzint options as stored: the widest any symbology takes; each checks its own.
const int kMaxEccLevel = WidestOption(&TZVSymbology::Ecc);
const int kMaxSymbolSize = WidestOption(&TZVSymbology::Size);
const int kMaxColumns = WidestOption(&TZVSymbology::Columns);

// The bound field of the master data set's current record as plain text; nothing without one.
QString boundValue(const TZVCustomLab& label, const QString& field)
{
    const TZVDataSet* dataSet = label.DataSet();
    if (!dataSet || !dataSet->Active()) return {};
    const TZVField* f = dataSet->FindField(field);
    return f ? f->AsWideString() : QString();
}

TRect turned(TRect r, TPoint anchor, int angle)
{
    RotateRectQuarter(r, anchor, angle);
    NormalizeRect(r);
    return r;
}

// Quarter turns only, like the bars: the number never leaves them at another angle.
TPoint turned(TPoint p, TPoint anchor, int angle)
{
    if (angle == 90 || angle == 180 || angle == 270) RotatePoint(p, anchor, angle);
    return p;
}

// Top of `row` below the symbol's first row, model units; rows of fractional module heights
// (PDF417's) are placed from the running total so that they never drift.
std::int64_t rowOffset(const TZVZintSymbol& symbol, int row, int module)
{
    double modules = 0;
    for (int r = 0; r < row; ++r)
        modules += symbol.RowHeights[static_cast<std::size_t>(r)];
    return std::llround(modules * module);
}

// The runs of dark modules row by row, in columns and rows. A run that repeats the run above it
// lengthens that box: finder patterns, timing lines and repeated rows then cost one box each,
// which keeps a page of symbols small and quick to write.
std::vector<TZVModuleBox> moduleBoxes(const TZVZintSymbol& symbol)
{
    struct TRun
    {
        int Start, End;
        std::size_t Box;
    };
    std::vector<TZVModuleBox> boxes;
    std::vector<TRun> above, current;
    for (int row = 0; row < symbol.Rows; ++row) {
        current.clear();
        std::size_t next = 0;
        for (int column = 0; column < symbol.Columns;) {
            if (!symbol.IsDark(row, column)) {
                ++column;
                continue;
            }
            const int start = column;
            while (column < symbol.Columns && symbol.IsDark(row, column))
                ++column;
            while (next < above.size() && above[next].Start < start)
                ++next;
            if (next < above.size() && above[next].Start == start && above[next].End == column) {
                boxes[above[next].Box].Bottom = row + 1;
                current.push_back({start, column, above[next].Box});
                continue;
            }
            current.push_back({start, column, boxes.size()});
            boxes.push_back({start, row, column, row + 1});
        }
        above.swap(current);
    }
    return boxes;
}

} // namespace

TZVBarCode::TZVBarCode(TZVCustomLab& owner) : TZVData(owner, 0)
{
    m_barWidth = SymbologyOf(m_codeType).ModuleSize;
    m_fontHeight = 300;
    NameElement(QStringLiteral("Barcode"));
}

TZVBarCode::~TZVBarCode() = default;

bool TZVBarCode::IsZintType(TZVBar type)
{
    return SymbologyOf(type).ZintId != 0;
}

bool TZVBarCode::Is2DType(TZVBar type)
{
    return SymbologyOf(type).Is2D;
}

bool TZVBarCode::UsesWideRecord() const
{
    return AnsiToQString(QStringToAnsi(m_barCode)) != m_barCode;
}

bool TZVBarCode::UsesExtendedRecord() const
{
    return IsZintType(m_codeType) || m_eccLevel != 0 || m_symbolSize != 0 || m_rectangular || m_columns != 0 ||
           !m_quietZone;
}

std::int32_t TZVBarCode::StreamVersionNeeded() const
{
    const std::int32_t own = UsesWideRecord()        ? kWideBarCodeVersion
                             : UsesExtendedRecord() ? kBarCodeOptionsVersion
                                                    : 0;
    return std::max(own, m_template.StreamVersionNeeded());
}

void TZVBarCode::SetTemplate(const QString& value)
{
    if (m_template.Set(value)) Changed("Template");
}

void TZVBarCode::VisitTemplates(const std::function<void(const TZVTemplate&, bool)>& visit) const
{
    if (!m_template.IsEmpty()) visit(m_template.Parsed(), false);
}

QString TZVBarCode::content(int target, bool data) const
{
    if (auto filled = m_template.Content(*Owner(), target)) return *filled;
    return data && m_data ? boundValue(*Owner(), m_boundField) : m_barCode;
}

std::optional<QString> TZVBarCode::PrintedContent()
{
    return content(ptPrinter, RunPrintsRecords(*Owner()));
}

const TZVZintSymbol& TZVBarCode::zintSymbol(const QString& content) const
{
    const TZVZintOptions options{m_codeType, m_eccLevel, m_symbolSize, m_rectangular, m_columns};
    if (!m_zintCache || m_zintCache->Content != content || !(m_zintCache->Options == options))
        m_zintCache = std::make_shared<const TZVZintSymbol>(EncodeZintSymbol(content, options));
    return *m_zintCache;
}

QString TZVBarCode::RefusalMessage(const QString& content, const QString& reason)
{
    QString message = QStringLiteral("INVALID BARCODE : ") + MessageQuote(content);
    if (!reason.isEmpty()) message += QStringLiteral(" (%1)").arg(reason);
    return message;
}

QString TZVBarCode::EncodingError() const
{
    QString encoded;
    try {
        encoded = content(ptPrinter, true);
    } catch (const EZvError& unfilled) {
        return unfilled.message();
    }
    if (!IsZintType(m_codeType))
        return IsValidBarCode(encoded, m_codeType, m_checksum) ? QString() : RefusalMessage(encoded);
    const TZVZintSymbol& symbol = zintSymbol(encoded);
    return symbol.Valid() ? QString() : RefusalMessage(encoded, symbol.Error);
}

QString TZVBarCode::PropertyRefusal(const QString& name, const QVariant& variant) const
{
    if (name == QLatin1String("Template")) return TZVTemplate::Problem(variant.toString());
    const int value = variant.toInt();
    const TZVZintOptions current{m_codeType, m_eccLevel, m_symbolSize, m_rectangular, m_columns};
    TZVZintOptions options = current;
    int stored = 0;
    QString what;
    if (name == QLatin1String("EccLevel")) {
        options.EccLevel = value;
        stored = kMaxEccLevel;
        what = QStringLiteral("Error correction level");
    } else if (name == QLatin1String("SymbolSize")) {
        options.SymbolSize = value;
        stored = kMaxSymbolSize;
        what = QStringLiteral("Symbol size");
    } else if (name == QLatin1String("Columns")) {
        options.Columns = value;
        stored = kMaxColumns;
        what = QStringLiteral("Number of columns");
    } else if (name == QLatin1String("Rectangular")) {
        options.Rectangular = variant.toBool();
    } else {
        return {};
    }
    QString reason = IsZintType(m_codeType) ? ZintOptionError(options) : QString();
    // Not this choice's fault: another option (read from a design) is already refused.
    if (!reason.isEmpty() && reason == ZintOptionError(current)) reason.clear();
    // A symbology without the option still cannot keep a value that a design cannot store.
    if (reason.isEmpty() && stored > 0 && (value < 0 || value > stored))
        reason = QStringLiteral("%1 %2 out of range (0 to %3)").arg(what).arg(value).arg(stored);
    return reason.isEmpty() ? QString() : RefusalMessage(content(ptEditor, true), reason);
}

int TZVBarCode::ClampedFactor() const
{
    const TZVOptionRange ratio = SymbologyOf(m_codeType).Ratio;
    return Clamp(m_factor, ratio.Min, ratio.Max);
}

float TZVBarCode::GetFactor()
{
    m_factor = ClampedFactor();
    return static_cast<float>(m_factor / 100.0);
}

float TZVBarCode::GetBarWidth() const
{
    return ModelToMm(m_barWidth);
}

float TZVBarCode::GetDistance() const
{
    return ModelToMm(m_distance);
}

void TZVBarCode::SetBarWidth(float millimetres)
{
    m_barWidth = SaturateToInt(MmToModel(millimetres));
    Changed("BarWidth");
}

// The distance spaces the number's characters, so only a shown number changes the picture.
void TZVBarCode::SetDistance(float millimetres)
{
    m_distance = SaturateToInt(MmToModel(millimetres));
    if (m_showNumber) Notify("Distance");
    SetModified();
}

void TZVBarCode::SetBHeight(float value)
{
    m_bHeight = ToModel(value);
    Changed("BHeight");
}

void TZVBarCode::SetLeftMargin(float value)
{
    m_leftMargin = ToModel(value);
    Changed("LeftMargin");
}

void TZVBarCode::SetTopMargin(float value)
{
    m_topMargin = ToModel(value);
    Changed("TopMargin");
}

void TZVBarCode::SetFactor(float value)
{
    setField(m_factor, SaturateToInt(RoundHalfUp(double(value) * 100)), "Factor");
}

void TZVBarCode::SetCodeType(TZVBar value)
{
    if (!StoreIfChanged(m_codeType, value)) return;
    if (value != CODE39) m_factor = kDefaultOtherFactor;
    Notify("CodeType");
    Owner()->RefreshProperty(QStringLiteral("Factor"));
    SetModified();
}

void TZVBarCode::SetEccLevel(int value)
{
    value = Clamp(value, 0, kMaxEccLevel);
    setField(m_eccLevel, value, "EccLevel");
}

void TZVBarCode::SetSymbolSize(int value)
{
    value = Clamp(value, 0, kMaxSymbolSize);
    setField(m_symbolSize, value, "SymbolSize");
}

void TZVBarCode::SetColumns(int value)
{
    value = Clamp(value, 0, kMaxColumns);
    setField(m_columns, value, "Columns");
}

int TZVBarCode::SymbolWidth(const QString& content) const
{
    if (IsZintType(m_codeType)) {
        const TZVZintSymbol& symbol = zintSymbol(content);
        const int quiet = m_quietZone ? symbol.QuietX : 0;
        return SaturateToInt((2 * std::int64_t(quiet) + symbol.Columns) * std::int64_t(m_barWidth));
    }
    const TZVBarWidths widths = BarWidths(m_barWidth, ClampedFactor(), TZVHalfRound::AwayFromZero);
    std::int64_t total = 2 * std::int64_t(m_leftMargin);
    for (const QChar module : BarCodeModules(content, m_codeType, m_showNumber))
        total += widths.Of(module);
    return SaturateToInt(total);
}

int TZVBarCode::SymbolHeight() const
{
    if (Is2DType(m_codeType)) {
        // Of the content last encoded, which is the one last measured or painted.
        const TZVZintSymbol& symbol = zintSymbol(m_zintCache ? m_zintCache->Content : m_barCode);
        if (!symbol.Valid()) return m_bHeight;
        return SaturateToInt(2 * std::int64_t(m_quietZone ? symbol.QuietY : 0) * m_barWidth +
                             rowOffset(symbol, symbol.Rows, m_barWidth));
    }
    return SaturateToInt(std::int64_t(m_bHeight) + m_topMargin + (m_showNumber ? m_fontHeight : 0));
}

void TZVBarCode::PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data)
{
    m_printText = content(target, data);
    const TPoint anchor{SaturateToInt(std::int64_t(m_x1) + offset.X),
                        SaturateToInt(std::int64_t(m_y1) + offset.Y)};
    if (IsZintType(m_codeType)) {
        const TZVZintSymbol& symbol = zintSymbol(m_printText);
        if (!symbol.Valid()) {
            paintPlaceholder(canvas, anchor);
            return;
        }
        paintZint(canvas, anchor, symbol, target);
        return;
    }
    if (!IsValidBarCode(m_printText, m_codeType, m_checksum)) {
        paintPlaceholder(canvas, anchor);
        return;
    }
    m_printText = BarCodeText(m_printText, m_codeType, m_checksum);
    const QString modules = BarCodeModules(m_printText, m_codeType, m_showNumber);
    m_separation = m_distance;
    const TZVModuleGrid grid(canvas, anchor, m_barWidth);
    const TPoint at = grid.Anchor();
    const TZVBarWidths widths = BarWidths(m_barWidth, ClampedFactor(), TZVHalfRound::AwayFromZero);
    const std::int64_t start = grid.Steps(m_leftMargin);
    std::int64_t barSteps = 0;
    for (const QChar module : modules)
        barSteps += grid.ClassSteps(widths.Of(module));
    // SymbolWidth's figure, from the modules at hand: off whole dots, steps are model units.
    const int width = SaturateToInt(grid.Offset(2 * start + barSteps));
    const int height = SymbolHeight();

    canvas.SaveDC();
    if (!m_transparent) {
        canvas.SelectBrush(TZVBrush{m_backColor, bsSolid});
        canvas.FillRect(turned({at.X, at.Y, SaturateToInt(std::int64_t(at.X) + width),
                                SaturateToInt(std::int64_t(at.Y) + height)},
                               at, m_angle));
    }

    const std::int64_t top = std::int64_t(at.Y) + m_topMargin;
    const std::int64_t bottom = top + m_bHeight;
    TZVNativeBarcode native;
    native.Content = m_printText;
    if (m_codeType == EAN128A || m_codeType == EAN128B || m_codeType == EAN128C) {
        native.Values = barcode::Code128Values(m_printText, m_codeType);
        if (!native.Values.empty()) native.Values.pop_back(); // the check value
    }
    native.Ratio = ClampedFactor() / 100.0;
    const TRect area{SaturateToInt(at.X + grid.Offset(start)), SaturateToInt(top),
                     SaturateToInt(at.X + grid.Offset(start + barSteps)), SaturateToInt(bottom)};
    if (!paintNative(canvas, native, grid, area, grid.Dots(m_bHeight))) {
        // One fill for all bars: a vector device then gets one path per symbol instead of one per bar.
        const std::int64_t extendedBottom = bottom + 3 * std::int64_t(m_fontHeight) / 4;
        const std::int64_t shortTop = bottom - 2 * std::int64_t(m_bHeight) / 5;
        std::vector<TRect> bars;
        bars.reserve(static_cast<std::size_t>(modules.size()));
        std::int64_t steps = start;
        for (const QChar module : modules) {
            const std::int64_t w = grid.ClassSteps(widths.Of(module));
            const TZVModuleKind kind = ModuleKind(module);
            if (kind != TZVModuleKind::Space && w > 0) {
                const std::int64_t barTop = kind == TZVModuleKind::ShortBar ? shortTop : top;
                const std::int64_t barBottom = kind == TZVModuleKind::ExtendedBar ? extendedBottom : bottom;
                const std::int64_t x = at.X + grid.Offset(steps);
                const std::int64_t right = at.X + grid.Offset(steps + w);
                bars.push_back(turned({SaturateToInt(x), SaturateToInt(barTop), SaturateToInt(right - 1),
                                       SaturateToInt(barBottom)},
                                      at, m_angle));
            }
            steps += w;
        }
        canvas.SelectPen(TZVPen{m_color, 0, psSolid});
        canvas.SelectBrush(TZVBrush{m_color, bsSolid});
        canvas.FillRects(bars);
    }
    if (m_showNumber) paintNumber(canvas, at, modules, width);
    canvas.RestoreDC();

    if (target == ptEditor) {
        m_x2 = SaturateToInt(std::int64_t(m_x1) + width);
        m_y2 = SaturateToInt(std::int64_t(m_y1) + height);
    }
    m_modelRect = turned(
        {m_x1, m_y1, SaturateToInt(std::int64_t(m_x1) + width), SaturateToInt(std::int64_t(m_y1) + height)},
        {m_x1, m_y1}, m_angle);
}

// The printer's own command for the symbol whose modules (quiet zone excluded, unturned) cover
// `area`, when the canvas has one; the number stays the element's.
bool TZVBarCode::paintNative(TZVCanvas& canvas, TZVNativeBarcode& native, const TZVModuleGrid& grid,
                             const TRect& area, int barHeight)
{
    const TRect box = turned(area, grid.Anchor(), m_angle);
    const TPoint a = canvas.LPtoDP(TPoint{box.Left, box.Top});
    const TPoint b = canvas.LPtoDP(TPoint{box.Right, box.Bottom});
    native.Type = m_codeType;
    native.ZplCommand = SymbologyOf(m_codeType).Zpl;
    native.Anchor = {std::min(a.X, b.X), std::min(a.Y, b.Y)};
    native.Angle = ((m_angle % 360) + 360) % 360;
    native.Module = grid.ModuleDots();
    native.BarHeight = barHeight;
    native.QuietZone = m_quietZone;
    native.EccLevel = m_eccLevel;
    native.SymbolSize = m_symbolSize;
    native.Columns = m_columns;
    native.ShowNumber = m_showNumber;
    canvas.SelectPen(TZVPen{m_color, 0, psSolid});
    canvas.SelectBrush(TZVBrush{m_color, bsSolid});
    return canvas.DrawNativeBarcode(native);
}

// Linear symbols: the runs of a row become bars of the bar height, under the top margin, with the
// number below. Matrix symbols: each row's runs become boxes of whole modules, from the top-left.
void TZVBarCode::paintZint(TZVCanvas& canvas, TPoint anchor, const TZVZintSymbol& symbol, int target)
{
    const bool matrix = Is2DType(m_codeType);
    const TZVModuleGrid grid(canvas, anchor, m_barWidth);
    const TPoint at = grid.Anchor();
    const std::int64_t module = grid.Module();
    const std::int64_t quietX = m_quietZone ? symbol.QuietX : 0;
    const std::int64_t quietY = matrix && m_quietZone ? symbol.QuietY : 0;
    double allRows = 0;
    for (const float rowHeight : symbol.RowHeights)
        allRows += rowHeight;
    const int width = SaturateToInt(grid.Offset((2 * quietX + symbol.Columns) * module));
    const int height = matrix ? SaturateToInt(grid.Offset(2 * quietY * module + grid.ModuleSteps(allRows)))
                              : SymbolHeight();
    if (!matrix) m_printText = symbol.Text;

    canvas.SaveDC();
    if (!m_transparent) {
        canvas.SelectBrush(TZVBrush{m_backColor, bsSolid});
        canvas.FillRect(turned({at.X, at.Y, SaturateToInt(std::int64_t(at.X) + width),
                                SaturateToInt(std::int64_t(at.Y) + height)},
                               at, m_angle));
    }
    const std::int64_t leftSteps = quietX * module;
    const std::int64_t topSteps = quietY * module;
    const std::int64_t top = matrix ? at.Y + grid.Offset(topSteps) : std::int64_t(at.Y) + m_topMargin;
    TZVNativeBarcode native;
    // The content as given, but ITF-14's with its check digit, and Code 128's as its values.
    native.Content = m_codeType == ITF14 ? symbol.Text : symbol.Content;
    if (m_codeType == DATABAR || m_codeType == ITF14) native.Content.remove(QRegularExpression(QStringLiteral("\\D")));
    if (m_codeType == CODE128 || m_codeType == GS1128) native.Values = Code128ValuesOf(symbol);
    if (!matrix && symbol.Rows > 0) {
        // Two-width symbologies: the ratio of their widest run to their narrowest.
        int narrowest = symbol.Columns, widest = 0;
        for (int column = 0; column < symbol.Columns;) {
            const bool dark = symbol.IsDark(0, column);
            int run = 0;
            while (column < symbol.Columns && symbol.IsDark(0, column) == dark)
                ++column, ++run;
            narrowest = std::min(narrowest, run);
            widest = std::max(widest, run);
        }
        if (narrowest > 0) native.Ratio = double(widest) / narrowest;
    }
    const double firstRow = symbol.RowHeights.empty() ? 1.0 : symbol.RowHeights.front();
    const TRect area{SaturateToInt(at.X + grid.Offset(leftSteps)), SaturateToInt(top),
                     SaturateToInt(at.X + grid.Offset(leftSteps + symbol.Columns * module)),
                     SaturateToInt(matrix ? at.Y + grid.Offset(topSteps + grid.ModuleSteps(allRows))
                                          : top + m_bHeight)};
    const int barHeight = matrix ? std::max(1, int(std::lround(firstRow * grid.ModuleDots()))) : grid.Dots(m_bHeight);
    if (!paintNative(canvas, native, grid, area, barHeight)) {
        const std::vector<TZVModuleBox> modules = moduleBoxes(symbol);
        const auto x = [&](int column) { return SaturateToInt(at.X + grid.Offset(leftSteps + column * module)); };
        // Module units need one row height for the whole symbol.
        const bool byModules = matrix && std::all_of(symbol.RowHeights.begin(), symbol.RowHeights.end(),
                                                     [&](float h) { return h == symbol.RowHeights.front(); });
        TZVModuleBoxes inModules;
        if (byModules) {
            inModules.Origin = turned(TPoint{area.Left, area.Top}, at, m_angle);
            inModules.RowEnd = turned(TPoint{area.Right, area.Top}, at, m_angle);
            inModules.ColumnEnd = turned(TPoint{area.Left, area.Bottom}, at, m_angle);
            inModules.Columns = symbol.Columns;
            inModules.Rows = symbol.Rows;
            inModules.Boxes = modules;
        }
        if (!(byModules && canvas.FillModules(inModules))) {
            // Row edges from the running total of module heights, so fractional rows never drift.
            std::vector<int> rowEdges{SaturateToInt(top)};
            double modulesDown = 0;
            for (int row = 0; row < symbol.Rows; ++row) {
                modulesDown += symbol.RowHeights[static_cast<std::size_t>(row)];
                rowEdges.push_back(
                    matrix ? SaturateToInt(at.Y + grid.Offset(topSteps + grid.ModuleSteps(modulesDown)))
                           : SaturateToInt(top + m_bHeight));
            }
            std::vector<TRect> boxes;
            boxes.reserve(modules.size());
            for (const TZVModuleBox& box : modules)
                boxes.push_back(
                    turned(TRect{x(box.Left), matrix ? rowEdges[std::size_t(box.Top)] : SaturateToInt(top),
                                 x(box.Right), rowEdges[std::size_t(box.Bottom)]},
                           at, m_angle));
            canvas.FillRects(boxes);
        }
    }
    if (!matrix && m_showNumber && !m_printText.isEmpty()) paintNumber(canvas, at, QString(), width);
    canvas.RestoreDC();

    if (target == ptEditor) {
        m_x2 = SaturateToInt(std::int64_t(m_x1) + width);
        m_y2 = SaturateToInt(std::int64_t(m_y1) + height);
    }
    m_modelRect = turned(
        {m_x1, m_y1, SaturateToInt(std::int64_t(m_x1) + width), SaturateToInt(std::int64_t(m_y1) + height)},
        {m_x1, m_y1}, m_angle);
}

// Under EAN and UPC symbols the digits sit under their halves, with the first (and UPC-A's last)
// digit outside the bars; the other symbologies centre the whole text.
void TZVBarCode::paintNumber(TZVCanvas& canvas, TPoint anchor, const QString& modules, int totalWidth)
{
    TZVFont font;
    font.Name = m_fontName;
    font.Height = m_fontHeight;
    font.Escapement = EscapementOf(m_angle);
    font.Color = m_color;
    canvas.SelectFont(font);
    canvas.SelectBrush(TZVBrush{m_backColor, bsClear});
    canvas.SetTextCharacterExtra(m_distance);
    const int y = SaturateToInt(std::int64_t(anchor.Y) + m_bHeight + m_topMargin);
    auto out = [&](std::int64_t x, const QString& text) {
        const TPoint p = turned(TPoint{SaturateToInt(x), y}, anchor, m_angle);
        canvas.ExtTextOut(p.X, p.Y, text);
    };
    const std::optional<TZVNumberPlacement> placement =
        NumberPlacement(modules, m_codeType, m_barWidth, ClampedFactor(), m_leftMargin);
    if (!placement) {
        canvas.SetTextAlign(taCenter | taTop);
        out(std::int64_t(anchor.X) + RoundHalfUp(totalWidth / 2.0) + m_distance / 2, m_printText);
        return;
    }
    canvas.SetTextAlign(taLeft | taTop);
    const std::int64_t base = std::int64_t(anchor.X) + m_distance;
    auto centred = [&](int middle, const QString& text) {
        out(base + middle - canvas.GetTextExtentPoint(text).cx / 2, text);
    };
    const TZVNumberSplit& split = SymbologyOf(m_codeType).Number;
    // The leading digits end two narrow modules before the bars, the trailing ones start two after.
    if (split.Leading > 0) {
        const QString first = m_printText.left(split.Leading);
        out(base + m_leftMargin - 2 * std::int64_t(m_barWidth) - canvas.GetTextExtentPoint(first).cx, first);
    }
    centred(placement->LeftMiddle, m_printText.mid(split.Leading, split.Left));
    centred(placement->RightMiddle, m_printText.mid(split.Leading + split.Left, split.Right));
    if (split.Trailing > 0)
        out(base + placement->End + 2 * std::int64_t(m_barWidth),
            m_printText.mid(split.Leading + split.Left + split.Right, split.Trailing));
}

// The angle goes back to 0 through the setter, so the design keeps the change.
void TZVBarCode::paintPlaceholder(TZVCanvas& canvas, TPoint anchor)
{
    SetAngle(0);
    const TRect box{anchor.X, anchor.Y, SaturateToInt(std::int64_t(anchor.X) + kPlaceholderWidth),
                    SaturateToInt(std::int64_t(anchor.Y) + m_bHeight)};
    canvas.SaveDC();
    canvas.SelectBrush(TZVBrush{kPlaceholderFill, bsSolid});
    canvas.FillRect(box);
    canvas.SelectPen(TZVPen{kPlaceholderCross, kPlaceholderPen, psDot});
    canvas.MoveTo(box.Left, box.Top);
    canvas.LineTo(box.Right, box.Bottom);
    canvas.MoveTo(box.Left, box.Bottom);
    canvas.LineTo(box.Right, box.Top);
    canvas.RestoreDC();
    m_modelRect = {m_x1, m_y1, SaturateToInt(std::int64_t(m_x1) + kPlaceholderWidth),
                   SaturateToInt(std::int64_t(m_y1) + m_bHeight)};
}

void TZVBarCode::visitOptions(TZVFieldVisitor& visitor)
{
    auto ranged = [&](const char* name, int& value, int max) {
        auto byte = static_cast<std::uint8_t>(value);
        visitor.Ordinal(name, byte, max + 1);
        value = byte;
    };
    ranged("EccLevel", m_eccLevel, kMaxEccLevel);
    ranged("SymbolSize", m_symbolSize, kMaxSymbolSize);
    visitor.Bool("Rectangular", m_rectangular);
    ranged("Columns", m_columns, kMaxColumns);
    visitor.Bool("QuietZone", m_quietZone);
}

void TZVBarCode::VisitFields(TZVFieldVisitor& visitor)
{
    TZVData::VisitFields(visitor);
    const std::int32_t version = visitor.Version();
    const bool reading = visitor.Reading();
    const bool legacy = version < kFirstModelUnitVersion;
    const bool extended = version >= kBarCodeOptionsVersion;
    if (version >= kWideBarCodeVersion)
        visitor.WStr("BarCode", m_barCode);
    else
        visitor.AStr("BarCode", m_barCode);
    // Older layouts know only the first seven symbologies.
    auto codeType = static_cast<std::uint8_t>(m_codeType);
    visitor.Ordinal("CodeType", codeType, extended ? QMetaEnum::fromType<TZVBar>().keyCount() : EAN128C + 1);
    m_codeType = static_cast<TZVBar>(codeType);
    // Older layouts stored the first GS1-128 variant under this ordinal.
    if (reading && legacy && m_codeType == CODE39) m_codeType = EAN128A;
    visitor.I32("BarWidth", m_barWidth);
    const bool hasBHeight = version >= kFirstBHeightVersion;
    if (hasBHeight)
        visitor.I32("BHeight", m_bHeight);
    else if (reading)
        m_bHeight = kDefaultBHeight;
    visitor.I32("Distance", m_distance);
    // The data part's font height again: the height of the number.
    visitor.I32("FontHeight", m_fontHeight);
    visitor.Bool("ShowNumber", m_showNumber);
    visitor.I32("LeftMargin", m_leftMargin);
    visitor.I32("TopMargin", m_topMargin);
    if (!legacy) {
        visitor.Bool("Checksum", m_checksum);
        visitor.I32("Factor", m_factor);
        visitor.U8("BarReserved", m_barReserved);
        if (extended) visitOptions(visitor);
        m_template.VisitFields(visitor);
        return;
    }
    if (!reading) return;
    ScaleLegacyLength(m_barWidth);
    // A missing bar height already is the model-unit default; scaling it would make 100 mm bars.
    if (hasBHeight) ScaleLegacyLength(m_bHeight);
    ScaleLegacyLength(m_distance);
    ScaleLegacyLength(m_fontHeight);
    ScaleLegacyLength(m_leftMargin);
    ScaleLegacyLength(m_topMargin);
    if (SymbologyOf(m_codeType).LegacyRatio) m_factor = kDefaultOtherFactor;
}

} // namespace zorvel
