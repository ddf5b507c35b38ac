// The table element: columns, width sharing, layout, row count and the table record.
#include "elements/ZVTable.h"

#include "document/ZVCustomLab.h"
#include "document/ZVDisplayFormat.h"
#include "document/ZVFieldVisitor.h"
#include "elements/ZVLegacyLength.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"
#include "foundation/ZVUtils.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace zorvel {
namespace {

constexpr std::int32_t kLastAnsiTextVersion = 18;

int saturate(std::int64_t v)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
// Columns created ahead of their records while reading; more come one by one as they are read.
constexpr int kMaxReservedColumns = 64;
// Smallest column record: 12 x i32 (48) + 16 x u8 (16) + 6 empty strings of an i32 length (24).
constexpr int kMinColumnRecordBytes = 48 + 16 + 24;

// A column's share of the extent. Percentages read from a damaged design may be anything: keep
// the arithmetic in range.
std::int64_t shareOf(int percent, std::int64_t extent)
{
    const double cell = std::nearbyint(double(percent) * double(extent) / 100.0);
    return static_cast<std::int64_t>(std::clamp(cell, -1e15, 1e15));
}

// The value kind a field of `kind` gives a column; other kinds leave `current` as it is.
std::uint8_t valueKindOf(TZVFieldKind kind, std::uint8_t current)
{
    if (IsFloatKind(kind)) return vkFloat;
    if (kind == fkSmallInt || kind == fkInteger || kind == fkWord) return vkInteger;
    if (IsTemporalKind(kind)) return vkDateTime;
    return current;
}

// Quotients rounded towards minus infinity, for positions before the table's start.
std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// A device that reports no size (a bare recorder, an empty picture) is taken as this many
// pixels each way from its origin: more than an A0 sheet at 600 dpi (28 000 pixels).
constexpr double kUnsizedDevicePixels = 1 << 15;
// Pixels beyond the device's edges that still count as seen, for pens drawn across them.
constexpr double kSeenMarginPixels = 2;
// Values of the enumeration bytes: TZVCellAlign, TZVFooterCalc, and fills by columns or by rows.
constexpr int kCellAligns = caCenter + 1;
constexpr int kFooterCalcs = fcCount + 1;
constexpr int kDrawModes = 2;

} // namespace

// ---- TZVColumn ----

int TZVColumn::toModel(float value) const
{
    return m_table ? m_table->Owner()->ToModel(value) : zorvel::ToModel(value, unMM);
}

float TZVColumn::fromModel(int value) const
{
    return m_table ? m_table->Owner()->FromModel(value) : zorvel::FromModel(value, unMM);
}

void TZVColumn::notify(Cell cell)
{
    if (!m_table) return;
    const bool shown = cell == Cell::Data || (cell == Cell::Header && m_headerVisible) ||
                       (cell == Cell::Footer && m_footerVisible);
    m_table->columnChanged(shown);
}

template <typename T> bool TZVColumn::change(T& field, const T& value, Cell cell)
{
    if (field == value) return false;
    field = value;
    notify(cell);
    return true;
}

float TZVColumn::GetFontHeight() const
{
    return fromModel(m_fontHeight);
}
float TZVColumn::GetHeaderFontHeight() const
{
    return fromModel(m_headerFontHeight);
}
float TZVColumn::GetHeaderHeight() const
{
    return fromModel(m_headerHeight);
}
float TZVColumn::GetFooterFontHeight() const
{
    return fromModel(m_footerFontHeight);
}
float TZVColumn::GetFooterHeight() const
{
    return fromModel(m_footerHeight);
}

int TZVColumn::Offset() const
{
    int offset = 0;
    int width = 0;
    if (m_table) m_table->columnSpan(m_table->indexOf(*this), offset, width);
    return offset;
}

int TZVColumn::CellWidth() const
{
    int offset = 0;
    int width = 0;
    if (m_table) m_table->columnSpan(m_table->indexOf(*this), offset, width);
    return width;
}

QString TZVColumn::FieldName() const
{
    return m_table ? m_table->Owner()->DetailLabelOfFieldName(m_fieldName) : m_fieldName;
}

// The detail data set's fields exist only while it is open: it is opened for the translation
// and the kind lookup, and closed again if it was closed.
void TZVColumn::SetFieldName(const QString& value)
{
    QString stored = value;
    if (m_table) {
        const TZVCustomLab& label = *m_table->Owner();
        TZVDataSet* detail = label.Detail();
        bool opened = false;
        if (detail && !detail->Active()) {
            try {
                detail->Open();
                opened = true;
            } catch (const EZvError&) {
                // A data set that cannot open leaves the kind as it was.
            }
        }
        // A name that cannot be resolved now is kept as given, as for the other elements.
        stored = label.DetailFieldNameOfLabel(value);
        if (stored.isEmpty()) stored = value;
        if (const TZVField* field = detail && detail->Active() ? detail->FindField(stored) : nullptr)
            m_valueKind = valueKindOf(field->Kind(), m_valueKind);
        if (opened) detail->Close();
    }
    change(m_fieldName, stored, Cell::Data);
}

void TZVColumn::SetFormat(const QString& value)
{
    change(m_format, value, Cell::Data);
}

void TZVColumn::SetWidth(int percent)
{
    if (m_table && m_table->indexOf(*this) >= 0)
        m_table->setColumnWidth(*this, percent);
    else
        m_width = percent;
}

void TZVColumn::SetColor(TZVColor value)
{
    change(m_color, value, Cell::Data);
}
void TZVColumn::SetFontColor(TZVColor value)
{
    change(m_fontColor, value, Cell::Data);
}
void TZVColumn::SetFontName(const QString& value)
{
    change(m_fontName, value, Cell::Data);
}
void TZVColumn::SetFontHeight(float value)
{
    change(m_fontHeight, toModel(value), Cell::Data);
}

void TZVColumn::SetAlign(std::uint8_t value)
{
    change(m_align, value, Cell::Data);
}

void TZVColumn::SetBold(bool value)
{
    change(m_bold, value, Cell::Data);
}
void TZVColumn::SetItalic(bool value)
{
    change(m_italic, value, Cell::Data);
}
void TZVColumn::SetUnderline(bool value)
{
    change(m_underline, value, Cell::Data);
}

// Showing or hiding the header is itself visible, whatever the header's settings.
void TZVColumn::SetHeaderVisible(bool value)
{
    change(m_headerVisible, value, Cell::Data);
}

void TZVColumn::SetHeaderText(const QString& value)
{
    if (m_headerText.compare(value, Qt::CaseInsensitive) == 0) return;
    m_headerText = value;
    notify(Cell::Header);
}

void TZVColumn::SetHeaderColor(TZVColor value)
{
    change(m_headerColor, value, Cell::Header);
}
void TZVColumn::SetHeaderFontColor(TZVColor value)
{
    change(m_headerFontColor, value, Cell::Header);
}
void TZVColumn::SetHeaderFontName(const QString& value)
{
    change(m_headerFontName, value, Cell::Header);
}
void TZVColumn::SetHeaderFontHeight(float value)
{
    change(m_headerFontHeight, toModel(value), Cell::Header);
}
void TZVColumn::SetHeaderAlign(std::uint8_t value)
{
    change(m_headerAlign, value, Cell::Header);
}
void TZVColumn::SetHeaderBold(bool value)
{
    change(m_headerBold, value, Cell::Header);
}
void TZVColumn::SetHeaderItalic(bool value)
{
    change(m_headerItalic, value, Cell::Header);
}
void TZVColumn::SetHeaderUnderline(bool value)
{
    change(m_headerUnderline, value, Cell::Header);
}
void TZVColumn::SetHeaderHeight(float value)
{
    change(m_headerHeight, toModel(value), Cell::Header);
}

void TZVColumn::SetFooterVisible(bool value)
{
    change(m_footerVisible, value, Cell::Data);
}
void TZVColumn::SetFooterColor(TZVColor value)
{
    change(m_footerColor, value, Cell::Footer);
}
void TZVColumn::SetFooterFontColor(TZVColor value)
{
    change(m_footerFontColor, value, Cell::Footer);
}
void TZVColumn::SetFooterFontName(const QString& value)
{
    change(m_footerFontName, value, Cell::Footer);
}
void TZVColumn::SetFooterFontHeight(float value)
{
    change(m_footerFontHeight, toModel(value), Cell::Footer);
}
void TZVColumn::SetFooterAlign(std::uint8_t value)
{
    change(m_footerAlign, value, Cell::Footer);
}
void TZVColumn::SetFooterBold(bool value)
{
    change(m_footerBold, value, Cell::Footer);
}
void TZVColumn::SetFooterItalic(bool value)
{
    change(m_footerItalic, value, Cell::Footer);
}
void TZVColumn::SetFooterUnderline(bool value)
{
    change(m_footerUnderline, value, Cell::Footer);
}
void TZVColumn::SetFooterHeight(float value)
{
    change(m_footerHeight, toModel(value), Cell::Footer);
}
void TZVColumn::SetFooterCalc(std::uint8_t value)
{
    change(m_footerCalc, value, Cell::Footer);
}

void TZVColumn::VisitFields(TZVFieldVisitor& visitor)
{
    visitor.Color("Color", m_color);
    visitor.I32("Width", m_width);
    visitor.Bool("Bold", m_bold);
    visitor.Bool("Italic", m_italic);
    visitor.Bool("Underline", m_underline);
    visitor.I32("FontHeight", m_fontHeight);
    visitor.Color("FontColor", m_fontColor);
    visitor.Color("HeaderColor", m_headerColor);
    visitor.Color("HeaderFontColor", m_headerFontColor);
    visitor.I32("HeaderHeight", m_headerHeight);
    visitor.I32("HeaderFontHeight", m_headerFontHeight);
    visitor.Ordinal("Align", m_align, kCellAligns);
    visitor.Ordinal("HeaderAlign", m_headerAlign, kCellAligns);
    visitor.Bool("HeaderBold", m_headerBold);
    visitor.Bool("HeaderItalic", m_headerItalic);
    visitor.Bool("HeaderUnderline", m_headerUnderline);
    visitor.Bool("HeaderVisible", m_headerVisible);
    visitor.Bool("FooterVisible", m_footerVisible);
    visitor.U8("Reserved", m_reserved);
    visitor.Color("FooterColor", m_footerColor);
    visitor.Color("FooterFontColor", m_footerFontColor);
    visitor.Bool("FooterBold", m_footerBold);
    visitor.Bool("FooterUnderline", m_footerUnderline);
    visitor.Bool("FooterItalic", m_footerItalic);
    visitor.Ordinal("FooterAlign", m_footerAlign, kCellAligns);
    visitor.I32("FooterHeight", m_footerHeight);
    visitor.I32("FooterFontHeight", m_footerFontHeight);
    visitor.Ordinal("FooterCalc", m_footerCalc, kFooterCalcs);
    visitor.WStr("HeaderText", m_headerText, visitor.Version() <= kLastAnsiTextVersion);
    visitor.AStr("FontName", m_fontName);
    visitor.AStr("HeaderFontName", m_headerFontName);
    visitor.AStr("FooterFontName", m_footerFontName);
    visitor.AStr("FieldName", m_fieldName);
    visitor.AStr("Format", m_format);
    // Older layouts kept the column widths in the same tenths as the lengths; the layout keeps
    // whatever comes out inside the table.
    if (visitor.Reading() && visitor.Version() < kFirstModelUnitVersion) {
        ScaleLegacyLength(m_width);
        ScaleLegacyLength(m_fontHeight);
        ScaleLegacyLength(m_headerHeight);
        ScaleLegacyLength(m_headerFontHeight);
        ScaleLegacyLength(m_footerHeight);
        ScaleLegacyLength(m_footerFontHeight);
    }
}

// ---- TZVTable ----

TZVTable::TZVTable(TZVCustomLab& owner) : TZVBaseEx2D(owner, 3)
{
    m_penWidth = 20;
    NameElement(QStringLiteral("Table"));
}

TZVTable::~TZVTable() = default;

int TZVTable::indexOf(const TZVColumn& column) const
{
    const auto it =
        std::find_if(m_columns.begin(), m_columns.end(), [&](const auto& c) { return c.get() == &column; });
    return it == m_columns.end() ? -1 : static_cast<int>(it - m_columns.begin());
}

// A hidden cell's settings are not seen, but they are kept in the design all the same.
void TZVTable::columnChanged(bool shown)
{
    if (shown) Notify("");
    SetModified();
}

bool TZVTable::HeaderShown() const
{
    return std::any_of(m_columns.begin(), m_columns.end(), [](const auto& c) { return c->m_headerVisible; });
}

int TZVTable::HeaderHeight() const
{
    int height = 0;
    for (const auto& c : m_columns)
        if (c->m_headerVisible) height = std::max(height, c->m_headerHeight);
    return height;
}

bool TZVTable::FooterShown() const
{
    return std::any_of(m_columns.begin(), m_columns.end(), [](const auto& c) { return c->m_footerVisible; });
}

int TZVTable::FooterHeight() const
{
    int height = 0;
    for (const auto& c : m_columns)
        if (c->m_footerVisible) height = std::max(height, c->m_footerHeight);
    return height;
}

std::int64_t TZVTable::ColumnsExtent() const
{
    return m_angle == 90 || m_angle == 270 ? std::int64_t(m_y2) - m_y1 : std::int64_t(m_x2) - m_x1;
}

std::int64_t TZVTable::RowsExtent() const
{
    switch (m_angle) {
    case 0:
    case 180:
        return std::int64_t(m_y2) - m_y1;
    case 90:
    case 270:
        return std::int64_t(m_x2) - m_x1;
    default:
        return 0;
    }
}

// A zero row height would divide by zero, and a box smaller than its bands holds no rows.
int TZVTable::RowsPerTable() const
{
    if (m_rowHeight <= 0) return 0;
    const std::int64_t space =
        RowsExtent() - (m_titleVisible ? m_titleHeight : 0) - HeaderHeight() - FooterHeight();
    return space <= 0 ? 0 : saturate(space / m_rowHeight);
}

void TZVTable::columnSpan(int index, int& offset, int& width) const
{
    offset = 0;
    width = 0;
    if (index < 0 || index >= ColumnCount()) return;
    const auto span = columnSpans()[static_cast<std::size_t>(index)];
    offset = static_cast<int>(span.first);
    width = static_cast<int>(span.second);
}

// Each column takes its share of the extent rounded; the last one takes what is left.
std::vector<std::pair<std::int64_t, std::int64_t>> TZVTable::columnSpans() const
{
    std::vector<std::pair<std::int64_t, std::int64_t>> spans;
    spans.reserve(m_columns.size());
    const std::int64_t extent = ColumnsExtent();
    std::int64_t start = 0;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        const std::int64_t share =
            i + 1 == m_columns.size() ? extent - start : shareOf(m_columns[i]->m_width, extent);
        spans.emplace_back(saturate(start), saturate(share));
        start += share;
    }
    return spans;
}

void TZVTable::rebalance(std::int64_t points, bool take, const TZVColumn* except)
{
    auto above = [&](const TZVColumn& c) { return &c != except && c.m_width > kMinColumnWidth; };
    // Giving back to columns that all sit at the minimum would otherwise lose the points.
    const bool everyOther =
        !take && std::none_of(m_columns.begin(), m_columns.end(), [&](const auto& c) { return above(*c); });
    auto takesPart = [&](const TZVColumn& c) { return everyOther ? &c != except : above(c); };
    while (points > 0) {
        // Walks in which every taking part column stays above the minimum are done at once, so
        // that widths read from a damaged design cannot make this loop run for ages.
        std::int64_t parts = 0;
        std::int64_t walks = std::numeric_limits<std::int64_t>::max();
        for (const auto& c : m_columns) {
            if (!takesPart(*c)) continue;
            ++parts;
            if (take) walks = std::min<std::int64_t>(walks, c->m_width - kMinColumnWidth);
        }
        if (parts == 0) break;
        walks = std::max<std::int64_t>(1, std::min(walks, points / parts));
        // A walk is always completed, so it can overshoot by one point per column.
        for (const auto& c : m_columns) {
            if (!takesPart(*c)) continue;
            c->m_width = saturate(c->m_width + (take ? -walks : walks));
            points -= walks;
        }
    }
}

void TZVTable::setColumnWidth(TZVColumn& column, int percent)
{
    const int count = ColumnCount();
    int width = 100;
    if (count > 1) {
        // Every other column keeps at least the minimum: 20 columns leave 5 percent each.
        const int most = std::max(kMinColumnWidth, 100 + kMinColumnWidth - kMinColumnWidth * count);
        width = std::clamp(percent, kMinColumnWidth, most);
    }
    const std::int64_t difference = std::int64_t(width) - column.m_width;
    if (difference > 0)
        rebalance(difference, true, &column);
    else if (difference < 0)
        rebalance(-difference, false, &column);
    column.m_width = width;
    columnChanged();
}

TZVColumn& TZVTable::AddColumn()
{
    return AddColumn(std::make_unique<TZVColumn>(this));
}

TZVColumn& TZVTable::AddColumn(std::unique_ptr<TZVColumn> column)
{
    column->m_table = this;
    if (m_columns.empty()) {
        column->m_width = 100;
    } else {
        column->m_width = kAddedColumnWidth;
        rebalance(kAddedColumnWidth, true, nullptr);
    }
    m_columns.push_back(std::move(column));
    columnChanged();
    return *m_columns.back();
}

void TZVTable::DeleteColumn(int index)
{
    if (index < 0 || index >= ColumnCount()) return;
    const int width = m_columns[index]->m_width;
    m_columns.erase(m_columns.begin() + index);
    if (!m_columns.empty())
        m_columns.front()->m_width = saturate(std::int64_t(m_columns.front()->m_width) + width);
    columnChanged();
}

void TZVTable::ExchangeColumns(int i, int j)
{
    if (i < 0 || j < 0 || i >= ColumnCount() || j >= ColumnCount()) return;
    std::swap(m_columns[i], m_columns[j]);
    columnChanged();
}

void TZVTable::SetGridColor(TZVColor value)
{
    if (value == m_gridColor) return;
    m_gridColor = value;
    Changed("GridColor");
}

void TZVTable::SetGridStyle(TZVGridStyle value)
{
    if (value == m_gridStyle) return;
    m_gridStyle = value;
    Changed("GridStyle");
}

void TZVTable::SetRowColor(TZVColor value)
{
    if (value == m_rowColor) return;
    m_rowColor = value;
    Changed("");
}

void TZVTable::SetRowHeight(float value)
{
    m_rowHeight = ToModel(value);
    Changed("RowHeight");
}

void TZVTable::SetDrawMode(std::uint8_t value)
{
    if (value == m_drawMode) return;
    m_drawMode = value;
    Changed("");
}

void TZVTable::SetTitleText(const QString& value)
{
    if (value == m_titleText) return;
    m_titleText = value;
    Changed("TitleText");
}

void TZVTable::SetTitleVisible(bool value)
{
    if (value == m_titleVisible) return;
    m_titleVisible = value;
    Changed("TitleVisible");
}

void TZVTable::SetTitleBold(bool value)
{
    if (value == m_titleBold) return;
    m_titleBold = value;
    Changed("");
}

void TZVTable::SetTitleItalic(bool value)
{
    if (value == m_titleItalic) return;
    m_titleItalic = value;
    Changed("");
}

void TZVTable::SetTitleUnderline(bool value)
{
    if (value == m_titleUnderline) return;
    m_titleUnderline = value;
    Changed("");
}

void TZVTable::SetTitleColor(TZVColor value)
{
    if (value == m_titleColor) return;
    m_titleColor = value;
    Changed("");
}

void TZVTable::SetTitleFontColor(TZVColor value)
{
    if (value == m_titleFontColor) return;
    m_titleFontColor = value;
    Changed("");
}

void TZVTable::SetTitleFontName(const QString& value)
{
    if (value == m_titleFontName) return;
    m_titleFontName = value;
    Changed("");
}

void TZVTable::SetTitleFontHeight(float value)
{
    m_titleFontHeight = ToModel(value);
    Changed("TitleFontHeight");
}

void TZVTable::SetTitleHeight(float value)
{
    m_titleHeight = ToModel(value);
    Changed("TitleHeight");
}

void TZVTable::SetTitleAlign(std::uint8_t value)
{
    if (value == m_titleAlign) return;
    m_titleAlign = value;
    Changed("");
}

void TZVTable::SetBackColor(TZVColor value)
{
    TZVBaseEx2D::SetBackColor(value);
    for (const auto& c : m_columns)
        c->m_color = value;
}

void TZVTable::VisitFields(TZVFieldVisitor& visitor)
{
    TZVBaseEx2D::VisitFields(visitor);
    const std::int32_t version = visitor.Version();
    const bool reading = visitor.Reading();
    const bool ansi = version <= kLastAnsiTextVersion;
    visitor.Color("GridColor", m_gridColor);
    visitor.Enum("GridStyle", m_gridStyle);
    visitor.U8("TableReserved", m_tableReserved);
    visitor.I32("RowHeight", m_rowHeight);
    visitor.Bool("TitleVisible", m_titleVisible);
    visitor.Bool("TitleBold", m_titleBold);
    visitor.Bool("TitleItalic", m_titleItalic);
    visitor.Bool("TitleUnderline", m_titleUnderline);
    visitor.I32("TitleFontHeight", m_titleFontHeight);
    visitor.I32("TitleHeight", m_titleHeight);
    visitor.Color("TitleColor", m_titleColor);
    visitor.Color("TitleFontColor", m_titleFontColor);
    visitor.Ordinal("TitleAlign", m_titleAlign, kCellAligns);
    visitor.Ordinal("DrawMode", m_drawMode, kDrawModes);
    visitor.WStr("TitleText", m_titleText, ansi);
    visitor.WStr("TitleFontName", m_titleFontName, ansi);
    if (reading && version < kFirstModelUnitVersion) {
        ScaleLegacyLength(m_rowHeight);
        ScaleLegacyLength(m_titleFontHeight);
        ScaleLegacyLength(m_titleHeight);
    }
    visitor.Records(
        "Columns", ColumnCount(),
        [this](int count) {
            m_columns.clear();
            m_columns.reserve(static_cast<std::size_t>(std::clamp(count, 0, kMaxReservedColumns)));
        },
        [this, &visitor](int index) {
            // Columns are made as their records arrive, so a damaged count cannot allocate ahead.
            while (index >= ColumnCount())
                m_columns.push_back(std::make_unique<TZVColumn>(this));
            if (index >= 0) m_columns[static_cast<std::size_t>(index)]->VisitFields(visitor);
        },
        kMinColumnRecordBytes);
}

} // namespace zorvel

// ---- Painting ----

namespace zorvel {

// Lays the table out in its own frame, u across the columns and v along the rows, both from 0,
// and turns that frame onto the box by the angle; so one layout serves the four orientations.
class TZVTable::Painter
{
public:
    Painter(TZVTable& table, TZVCanvas& canvas, TPoint offset)
        : t(table), canvas(canvas), L(table.ColumnsExtent()),
          D(table.RowsExtent()), box{saturate(std::int64_t(table.m_x1) + offset.X),
                                     saturate(std::int64_t(table.m_y1) + offset.Y),
                                     saturate(std::int64_t(table.m_x2) + offset.X),
                                     saturate(std::int64_t(table.m_y2) + offset.Y)},
          g(table.m_gridStyle == gsHorz || table.m_gridStyle == gsBoth ? table.m_penWidth : 0),
          title(table.m_titleVisible ? table.m_titleHeight : 0), header(table.HeaderHeight()),
          footer(table.FooterHeight()), rows(table.RowsPerTable()), spans(table.columnSpans())
    {
        // Angles outside the quarter turns draw unturned, over the unturned width.
        if (table.m_angle != 90 && table.m_angle != 180 && table.m_angle != 270)
            D = std::int64_t(box.Bottom) - box.Top;
        findSeen();
    }

    void paint(bool output, bool placeholders);

private:
    struct Cell
    {
        std::int64_t u0, v0, u1, v1;
    };
    struct Range
    {
        std::int64_t lo, hi;
    };
    // Rows `first` to `last` every `stride`-th, see rowsSeen().
    struct RowWalk
    {
        std::int64_t first, last, stride;
    };
    struct Font
    {
        const QString& name;
        int height;
        TZVColor color;
        bool bold, italic, underline;
    };

    TPoint at(std::int64_t u, std::int64_t v) const
    {
        switch (t.m_angle) {
        case 90:
            return {saturate(box.Left + v), saturate(box.Bottom - u)};
        case 180:
            return {saturate(box.Right - u), saturate(box.Bottom - v)};
        case 270:
            return {saturate(box.Right - v), saturate(box.Top + u)};
        default:
            return {saturate(box.Left + u), saturate(box.Top + v)};
        }
    }
    TRect rect(const Cell& c) const
    {
        const TPoint a = at(c.u0, c.v0);
        const TPoint b = at(c.u1, c.v1);
        TRect r{a.X, a.Y, b.X, b.Y};
        NormalizeRect(r);
        return r;
    }
    void fill(const Cell& c, TZVColor color)
    {
        canvas.SelectBrush(TZVBrush{color, bsSolid});
        canvas.FillRect(rect(c));
    }
    void line(std::int64_t u0, std::int64_t v0, std::int64_t u1, std::int64_t v1)
    {
        const TPoint a = at(u0, v0);
        const TPoint b = at(u1, v1);
        canvas.MoveTo(a.X, a.Y);
        canvas.LineTo(b.X, b.Y);
    }
    // Left starts g inside the cell, right ends g inside it, centred sits on its middle; the
    // font's cell is centred on the band.
    void text(const Cell& c, std::uint8_t align, const Font& f, const QString& s)
    {
        if (s.isEmpty()) return;
        TZVFont font;
        font.Name = f.name;
        font.Height = f.height;
        font.Escapement = EscapementOf(t.m_angle);
        font.Color = f.color;
        font.Bold = f.bold;
        font.Italic = f.italic;
        font.Underline = f.underline;
        canvas.SelectFont(font);
        canvas.SelectBrush(TZVBrush{0xFFFFFF, bsClear});
        const int width = canvas.GetTextExtentPoint(s).cx;
        std::int64_t u = c.u0 + g;
        if (align == caRight)
            u = c.u1 - g - width;
        else if (align == caCenter)
            u = c.u0 + (c.u1 - c.u0) / 2 - width / 2;
        const std::int64_t v = c.v0 + (c.v1 - c.v0) / 2 - f.height / 2;
        const TPoint p = at(u, v);
        canvas.ExtTextOut(p.X, p.Y, s);
    }
    Cell column(int i, std::int64_t v0, std::int64_t v1) const
    {
        const auto& [u0, width] = spans[std::size_t(i)];
        return {u0, v0, u0 + width, v1};
    }
    Font dataFont(const TZVColumn& c) const
    {
        return {c.m_fontName, c.m_fontHeight, c.m_fontColor, c.m_bold, c.m_italic, c.m_underline};
    }

    void findSeen();
    RowWalk rowsSeen(std::int64_t start, std::int64_t from, std::int64_t to) const;
    void background();
    void dataRows(bool& aggregated);
    static QString cellText(const TZVColumn& c, const TZVField* field);
    static QString footerText(const TZVColumn& c);

    TZVTable& t;
    TZVCanvas& canvas;
    std::int64_t L;
    std::int64_t D;
    TRect box;
    int g;
    std::int64_t title, header, footer;
    int rows;
    std::vector<std::pair<std::int64_t, std::int64_t>> spans; // offset and width of each column
    Range vSeen{0, 0};  // the part of the rows' axis that lands on the device
    double vPixels = 1; // device pixels per model unit along the rows' axis
};

// Only what lands on the device is worth a loop: a design may hold billions of rows.
void TZVTable::Painter::findSeen()
{
    const TZVMapping m = canvas.GetMapping();
    const double sx = m.ScaleX() != 0 ? m.ScaleX() : 1;
    const double sy = m.ScaleY() != 0 ? m.ScaleY() : 1;
    const int width = std::max(canvas.GetDeviceCaps(dcHorzRes), canvas.GetDeviceCaps(dcPhysicalWidth));
    const int height = std::max(canvas.GetDeviceCaps(dcVertRes), canvas.GetDeviceCaps(dcPhysicalHeight));
    double d[4] = {-kUnsizedDevicePixels, -kUnsizedDevicePixels, kUnsizedDevicePixels, kUnsizedDevicePixels};
    if (width > 0 && height > 0) {
        d[0] = -double(canvas.GetDeviceCaps(dcPhysicalOffsetX)) - kSeenMarginPixels;
        d[1] = -double(canvas.GetDeviceCaps(dcPhysicalOffsetY)) - kSeenMarginPixels;
        d[2] = width + kSeenMarginPixels;
        d[3] = height + kSeenMarginPixels;
    }
    const double x0 = m.WindowOrg.X + (d[0] - m.ViewportOrg.X) / sx;
    const double x1 = m.WindowOrg.X + (d[2] - m.ViewportOrg.X) / sx;
    const double y0 = m.WindowOrg.Y + (d[1] - m.ViewportOrg.Y) / sy;
    const double y1 = m.WindowOrg.Y + (d[3] - m.ViewportOrg.Y) / sy;
    const auto [left, right] = std::minmax(x0, x1);
    const auto [top, bottom] = std::minmax(y0, y1);
    // Rows advance from Y1 down, X1 right, Y2 up or X2 left (see at()).
    double lo = top - box.Top;
    double hi = bottom - box.Top;
    vPixels = std::abs(sy);
    switch (t.m_angle) {
    case 90:
        lo = left - box.Left;
        hi = right - box.Left;
        vPixels = std::abs(sx);
        break;
    case 180:
        lo = box.Bottom - bottom;
        hi = box.Bottom - top;
        break;
    case 270:
        lo = box.Right - right;
        hi = box.Right - left;
        vPixels = std::abs(sx);
        break;
    default:
        break;
    }
    // Lines drawn with a wide pen reach half of it beyond their place.
    const double pen = std::abs(double(t.m_penWidth));
    vSeen = {std::int64_t(std::clamp(std::floor(lo - pen), -1e15, 1e15)),
             std::int64_t(std::clamp(std::ceil(hi + pen), -1e15, 1e15))};
}

// The rows i from `from` to `to` whose band, from `start` + i row heights, reaches the seen part;
// rows finer than a device pixel cannot be told apart, so only about one a pixel is walked. The
// stride stays odd, so that alternate bands keep alternating. Needs a positive row height.
TZVTable::Painter::RowWalk TZVTable::Painter::rowsSeen(std::int64_t start, std::int64_t from,
                                                       std::int64_t to) const
{
    const std::int64_t h = t.m_rowHeight;
    const std::int64_t first = std::max(from, floorDiv(vSeen.lo - start, h) - 1);
    const std::int64_t last = std::min(to, floorDiv(vSeen.hi - start, h) + 1);
    std::int64_t stride = 1;
    const double pitch = double(h) * vPixels;
    if (pitch > 0 && pitch < 1) {
        stride = std::int64_t(std::min(1 / pitch, 1e15));
        if (stride > 1 && stride % 2 == 0) --stride;
    }
    return {first, last, stride};
}

void TZVTable::Painter::background()
{
    if (t.m_drawMode == 0) {
        for (int i = 0; i < t.ColumnCount(); ++i)
            fill(column(i, 0, D), t.Column(i).m_color);
        return;
    }
    // Alternating row bands below the title and the header, the last one cut at the box.
    const std::int64_t top = title + header;
    const std::int64_t h = t.m_rowHeight;
    if (h <= 0 || top >= D) return;
    const RowWalk w = rowsSeen(top, 0, (D - top - 1) / h);
    for (std::int64_t i = w.first; i <= w.last; i += w.stride) {
        const std::int64_t v = top + i * h;
        const std::int64_t next = std::min(i + w.stride, w.last + 1);
        fill({0, v, L, std::min(D, top + next * h)}, i % 2 == 0 ? t.m_rowColor : t.m_backColor);
    }
}

QString TZVTable::Painter::cellText(const TZVColumn& c, const TZVField* field)
{
    if (!field) return QStringLiteral("-");
    if (c.m_format.isEmpty() || field->IsNull()) return field->AsWideString();
    switch (c.m_valueKind) {
    case vkFloat:
        return FormatFloat(c.m_format, field->AsFloat());
    case vkInteger:
        return FormatInteger(c.m_format, field->AsInteger());
    default:
        return FormatDateTime(c.m_format, field->AsDateTime());
    }
}

// No records leave an average, a minimum and a maximum without a value: their footers stay empty.
QString TZVTable::Painter::footerText(const TZVColumn& c)
{
    const TZVColumn::Totals& a = c.Aggregate;
    if (c.m_valueKind != vkFloat && c.m_valueKind != vkInteger) return {};
    const bool floating = c.m_valueKind == vkFloat;
    switch (c.m_footerCalc) {
    case fcCount:
        return QString::number(a.RowCount);
    case fcAverage:
        if (a.RowCount == 0) return {};
        return floating ? FormatFloat(c.m_format, a.SumFloat / a.RowCount)
                        : QString::number(a.SumInt / a.RowCount);
    case fcMinimum:
    case fcMaximum:
        if (a.RowCount == 0) return {};
        [[fallthrough]];
    default:
        return floating ? FormatFloat(c.m_format, a.SumFloat) : QString::number(a.SumInt);
    }
}

void TZVTable::Painter::dataRows(bool& aggregated)
{
    TZVDataSet* detail = t.Owner()->Detail();
    if (!detail || !detail->Active()) return;
    aggregated = true;
    const int count = t.ColumnCount();
    std::vector<const TZVField*> fields(static_cast<std::size_t>(count));
    // Minimum and maximum start from the first value seen, which a null may not give.
    std::vector<char> started(static_cast<std::size_t>(count), 0);
    for (int i = 0; i < count; ++i) {
        TZVColumn& c = t.Column(i);
        c.Aggregate = {};
        fields[std::size_t(i)] = detail->FindField(c.m_fieldName);
        // The kind is not stored with the column: a design read back learns it from the field.
        if (const TZVField* field = fields[std::size_t(i)])
            c.m_valueKind = valueKindOf(field->Kind(), c.m_valueKind);
    }
    const std::int64_t top = title + header;
    int row = 0;
    for (detail->First(); !detail->Eof(); detail->Next(), ++row) {
        const std::int64_t v = top + std::int64_t(row) * t.m_rowHeight;
        for (int i = 0; i < count; ++i) {
            TZVColumn& c = t.Column(i);
            const TZVField* field = fields[std::size_t(i)];
            if (row < rows) text(column(i, v, v + t.m_rowHeight), c.m_align, dataFont(c), cellText(c, field));
            if (!c.m_footerVisible) continue;
            TZVColumn::Totals& a = c.Aggregate;
            ++a.RowCount;
            if (!field || field->IsNull()) continue;
            const double f = field->AsFloat();
            const qint64 n = field->AsInteger();
            char& seen = started[std::size_t(i)];
            switch (c.m_footerCalc) {
            case fcSum:
            case fcAverage:
                a.SumFloat += f;
                a.SumInt += n;
                break;
            case fcMinimum:
                a.SumFloat = seen ? std::min(a.SumFloat, f) : f;
                a.SumInt = seen ? std::min(a.SumInt, std::int64_t(n)) : n;
                break;
            case fcMaximum:
                a.SumFloat = seen ? std::max(a.SumFloat, f) : f;
                a.SumInt = seen ? std::max(a.SumInt, std::int64_t(n)) : n;
                break;
            default:
                break;
            }
            seen = 1;
        }
    }
    // A column whose values were all null has no minimum or maximum either.
    for (int i = 0; i < count; ++i) {
        TZVColumn& c = t.Column(i);
        if ((c.m_footerCalc == fcMinimum || c.m_footerCalc == fcMaximum) && !started[std::size_t(i)])
            c.Aggregate.RowCount = 0;
    }
}

void TZVTable::Painter::paint(bool output, bool placeholders)
{
    canvas.SaveDC();
    canvas.SelectPen(TZVPen{t.m_color, t.m_penWidth, psInsideFrame});
    if (!t.m_transparent) background();
    canvas.SelectBrush(TZVBrush{0xFFFFFF, bsClear});
    canvas.Rectangle(box.Left, box.Top, box.Right, box.Bottom);

    if (t.m_titleVisible) {
        const Cell band{0, 0, L, title};
        fill({0, 0, L + g, title + g}, t.m_titleColor);
        text(band, t.m_titleAlign,
             {t.m_titleFontName, t.m_titleFontHeight, t.m_titleFontColor, t.m_titleBold, t.m_titleItalic,
              t.m_titleUnderline},
             t.m_titleText);
    }
    for (int i = 0; i < t.ColumnCount() && header > 0; ++i) {
        const TZVColumn& c = t.Column(i);
        if (!c.m_headerVisible) continue;
        const Cell cell = column(i, title, title + header);
        fill(cell, c.m_headerColor);
        text(cell, c.m_headerAlign,
             {c.m_headerFontName, c.m_headerFontHeight, c.m_headerFontColor, c.m_headerBold, c.m_headerItalic,
              c.m_headerUnderline},
             c.m_headerText);
    }

    bool aggregated = false;
    if (output) {
        dataRows(aggregated);
    } else if (placeholders) {
        for (int i = 0; i < t.ColumnCount(); ++i) {
            const TZVColumn& c = t.Column(i);
            text(column(i, title + header, title + header + t.m_rowHeight), c.m_align, dataFont(c),
                 QStringLiteral("Col-%1").arg(i));
        }
    }

    for (int i = 0; i < t.ColumnCount() && footer > 0; ++i) {
        const TZVColumn& c = t.Column(i);
        if (!c.m_footerVisible) continue;
        const Cell cell = column(i, D - footer, D);
        fill(cell, c.m_footerColor);
        QString s;
        if (aggregated)
            s = footerText(c);
        else if (!output && placeholders)
            s = QStringLiteral("Foot-%1").arg(i);
        text(cell, c.m_footerAlign,
             {c.m_footerFontName, c.m_footerFontHeight, c.m_footerFontColor, c.m_footerBold, c.m_footerItalic,
              c.m_footerUnderline},
             s);
    }

    if (t.m_gridStyle != gsNone) {
        canvas.SelectPen(TZVPen{t.m_gridColor, t.m_penWidth, psSolid, pcFlat, pjMiter});
        if (t.m_gridStyle != gsHorz) {
            for (const auto& span : spans)
                line(span.first, title, span.first, D);
            line(L, title, L, D);
        }
        if (t.m_gridStyle != gsVert) {
            if (!t.m_titleVisible) line(0, 0, L, 0);
            const std::int64_t top = title + header;
            if (rows > 0) {
                const RowWalk w = rowsSeen(top, 1, rows);
                std::int64_t drawn = w.first - 1;
                for (std::int64_t r = w.first; r <= w.last; r += w.stride) {
                    line(0, top + r * t.m_rowHeight, L, top + r * t.m_rowHeight);
                    drawn = r;
                }
                if (drawn >= w.first && drawn < w.last)
                    line(0, top + w.last * t.m_rowHeight, L, top + w.last * t.m_rowHeight);
            }
            line(0, D, L, D);
        }
    }
    canvas.RestoreDC();
}

void TZVTable::PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool)
{
    const bool output = target != ptEditor;
    Painter(*this, canvas, offset).paint(output, !Owner()->GridNotDrawFields());
    if (!output) m_modelRect = {m_x1, m_y1, m_x2, m_y2};
}

} // namespace zorvel
