// The table element: columns, cell styles, width sharing, layout, row count and the table record.
#include "elements/ZVTable.h"

#include "document/ZVCustomLab.h"
#include "document/ZVFieldVisitor.h"
#include "document/ZVLegacyLength.h"
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

void TZVColumn::notify(TablePart part)
{
    if (!m_table) return;
    const bool shown = part == TablePart::Data || (part == TablePart::Header && m_headerVisible) ||
                       (part == TablePart::Footer && m_footerVisible);
    m_table->columnChanged(shown);
}

template <typename T> bool TZVColumn::change(T& field, const T& value, TablePart part)
{
    if (!StoreIfChanged(field, value)) return false;
    notify(part);
    return true;
}

// Other kinds leave the value kind as it is.
void TZVColumn::learnValueKind(const TZVField& field)
{
    const TZVFieldKind kind = field.Kind();
    if (IsFloatKind(kind))
        m_valueKind = vkFloat;
    else if (kind == fkSmallInt || kind == fkInteger || kind == fkWord)
        m_valueKind = vkInteger;
    else if (IsTemporalKind(kind))
        m_valueKind = vkDateTime;
}

float TZVColumn::GetFontHeight() const
{
    return fromModel(cell(TablePart::Data).FontHeight);
}
float TZVColumn::GetHeaderFontHeight() const
{
    return fromModel(cell(TablePart::Header).FontHeight);
}
float TZVColumn::GetHeaderHeight() const
{
    return fromModel(m_headerHeight);
}
float TZVColumn::GetFooterFontHeight() const
{
    return fromModel(cell(TablePart::Footer).FontHeight);
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
            learnValueKind(*field);
        if (opened) detail->Close();
    }
    change(m_fieldName, stored, TablePart::Data);
}

void TZVColumn::SetFormat(const QString& value)
{
    change(m_format, value, TablePart::Data);
}

void TZVColumn::SetTemplate(const QString& value)
{
    if (m_template.Set(value)) notify(TablePart::Data);
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
    setStyle(TablePart::Data, &CellStyle::Color, value);
}
void TZVColumn::SetFontColor(TZVColor value)
{
    setStyle(TablePart::Data, &CellStyle::FontColor, value);
}
void TZVColumn::SetFontName(const QString& value)
{
    setStyle(TablePart::Data, &CellStyle::FontName, value);
}
void TZVColumn::SetFontHeight(float value)
{
    setStyle(TablePart::Data, &CellStyle::FontHeight, toModel(value));
}

void TZVColumn::SetAlign(std::uint8_t value)
{
    setStyle(TablePart::Data, &CellStyle::Align, value);
}

void TZVColumn::SetBold(bool value)
{
    setStyle(TablePart::Data, &CellStyle::Bold, value);
}
void TZVColumn::SetItalic(bool value)
{
    setStyle(TablePart::Data, &CellStyle::Italic, value);
}
void TZVColumn::SetUnderline(bool value)
{
    setStyle(TablePart::Data, &CellStyle::Underline, value);
}

// Showing or hiding the header is itself visible, whatever the header's settings.
void TZVColumn::SetHeaderVisible(bool value)
{
    change(m_headerVisible, value, TablePart::Data);
}

void TZVColumn::SetHeaderText(const QString& value)
{
    if (m_headerText.compare(value, Qt::CaseInsensitive) == 0) return;
    m_headerText = value;
    notify(TablePart::Header);
}

void TZVColumn::SetHeaderColor(TZVColor value)
{
    setStyle(TablePart::Header, &CellStyle::Color, value);
}
void TZVColumn::SetHeaderFontColor(TZVColor value)
{
    setStyle(TablePart::Header, &CellStyle::FontColor, value);
}
void TZVColumn::SetHeaderFontName(const QString& value)
{
    setStyle(TablePart::Header, &CellStyle::FontName, value);
}
void TZVColumn::SetHeaderFontHeight(float value)
{
    setStyle(TablePart::Header, &CellStyle::FontHeight, toModel(value));
}
void TZVColumn::SetHeaderAlign(std::uint8_t value)
{
    setStyle(TablePart::Header, &CellStyle::Align, value);
}
void TZVColumn::SetHeaderBold(bool value)
{
    setStyle(TablePart::Header, &CellStyle::Bold, value);
}
void TZVColumn::SetHeaderItalic(bool value)
{
    setStyle(TablePart::Header, &CellStyle::Italic, value);
}
void TZVColumn::SetHeaderUnderline(bool value)
{
    setStyle(TablePart::Header, &CellStyle::Underline, value);
}
void TZVColumn::SetHeaderHeight(float value)
{
    change(m_headerHeight, toModel(value), TablePart::Header);
}

void TZVColumn::SetFooterVisible(bool value)
{
    change(m_footerVisible, value, TablePart::Data);
}
void TZVColumn::SetFooterColor(TZVColor value)
{
    setStyle(TablePart::Footer, &CellStyle::Color, value);
}
void TZVColumn::SetFooterFontColor(TZVColor value)
{
    setStyle(TablePart::Footer, &CellStyle::FontColor, value);
}
void TZVColumn::SetFooterFontName(const QString& value)
{
    setStyle(TablePart::Footer, &CellStyle::FontName, value);
}
void TZVColumn::SetFooterFontHeight(float value)
{
    setStyle(TablePart::Footer, &CellStyle::FontHeight, toModel(value));
}
void TZVColumn::SetFooterAlign(std::uint8_t value)
{
    setStyle(TablePart::Footer, &CellStyle::Align, value);
}
void TZVColumn::SetFooterBold(bool value)
{
    setStyle(TablePart::Footer, &CellStyle::Bold, value);
}
void TZVColumn::SetFooterItalic(bool value)
{
    setStyle(TablePart::Footer, &CellStyle::Italic, value);
}
void TZVColumn::SetFooterUnderline(bool value)
{
    setStyle(TablePart::Footer, &CellStyle::Underline, value);
}
void TZVColumn::SetFooterHeight(float value)
{
    change(m_footerHeight, toModel(value), TablePart::Footer);
}
void TZVColumn::SetFooterCalc(std::uint8_t value)
{
    change(m_footerCalc, value, TablePart::Footer);
}

void TZVColumn::VisitFields(TZVFieldVisitor& visitor)
{
    CellStyle& data = cell(TablePart::Data);
    CellStyle& header = cell(TablePart::Header);
    CellStyle& footer = cell(TablePart::Footer);
    visitor.Color("Color", data.Color);
    visitor.I32("Width", m_width);
    visitor.Bool("Bold", data.Bold);
    visitor.Bool("Italic", data.Italic);
    visitor.Bool("Underline", data.Underline);
    visitor.I32("FontHeight", data.FontHeight);
    visitor.Color("FontColor", data.FontColor);
    visitor.Color("HeaderColor", header.Color);
    visitor.Color("HeaderFontColor", header.FontColor);
    visitor.I32("HeaderHeight", m_headerHeight);
    visitor.I32("HeaderFontHeight", header.FontHeight);
    visitor.Ordinal("Align", data.Align, kCellAligns);
    visitor.Ordinal("HeaderAlign", header.Align, kCellAligns);
    visitor.Bool("HeaderBold", header.Bold);
    visitor.Bool("HeaderItalic", header.Italic);
    visitor.Bool("HeaderUnderline", header.Underline);
    visitor.Bool("HeaderVisible", m_headerVisible);
    visitor.Bool("FooterVisible", m_footerVisible);
    visitor.U8("Reserved", m_reserved);
    visitor.Color("FooterColor", footer.Color);
    visitor.Color("FooterFontColor", footer.FontColor);
    visitor.Bool("FooterBold", footer.Bold);
    visitor.Bool("FooterUnderline", footer.Underline);
    visitor.Bool("FooterItalic", footer.Italic);
    visitor.Ordinal("FooterAlign", footer.Align, kCellAligns);
    visitor.I32("FooterHeight", m_footerHeight);
    visitor.I32("FooterFontHeight", footer.FontHeight);
    visitor.Ordinal("FooterCalc", m_footerCalc, kFooterCalcs);
    visitor.WStr("HeaderText", m_headerText, visitor.Version() <= kLastAnsiTextVersion);
    visitor.AStr("FontName", data.FontName);
    visitor.AStr("HeaderFontName", header.FontName);
    visitor.AStr("FooterFontName", footer.FontName);
    visitor.AStr("FieldName", m_fieldName);
    visitor.AStr("Format", m_format);
    // Older layouts kept the column widths in the same tenths as the lengths; the layout keeps
    // whatever comes out inside the table.
    if (visitor.Reading() && visitor.Version() < kFirstModelUnitVersion) {
        ScaleLegacyLength(m_width);
        ScaleLegacyLength(data.FontHeight);
        ScaleLegacyLength(m_headerHeight);
        ScaleLegacyLength(header.FontHeight);
        ScaleLegacyLength(m_footerHeight);
        ScaleLegacyLength(footer.FontHeight);
    }
    m_template.VisitFields(visitor);
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
    return space <= 0 ? 0 : SaturateToInt(space / m_rowHeight);
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
        spans.emplace_back(SaturateToInt(start), SaturateToInt(share));
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
            c->m_width = SaturateToInt(c->m_width + (take ? -walks : walks));
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
        m_columns.front()->m_width = SaturateToInt(std::int64_t(m_columns.front()->m_width) + width);
    columnChanged();
}

void TZVTable::ExchangeColumns(int i, int j)
{
    if (i < 0 || j < 0 || i >= ColumnCount() || j >= ColumnCount()) return;
    std::swap(m_columns[i], m_columns[j]);
    columnChanged();
}

void TZVTable::SetRowHeight(float value)
{
    m_rowHeight = ToModel(value);
    Changed("RowHeight");
}

template <typename T> void TZVTable::setTitle(T CellStyle::*field, const T& value)
{
    setField(m_title.*field, value, "");
}

void TZVTable::SetTitleBold(bool value)
{
    setTitle(&CellStyle::Bold, value);
}

void TZVTable::SetTitleItalic(bool value)
{
    setTitle(&CellStyle::Italic, value);
}

void TZVTable::SetTitleUnderline(bool value)
{
    setTitle(&CellStyle::Underline, value);
}

void TZVTable::SetTitleColor(TZVColor value)
{
    setTitle(&CellStyle::Color, value);
}

void TZVTable::SetTitleFontColor(TZVColor value)
{
    setTitle(&CellStyle::FontColor, value);
}

void TZVTable::SetTitleFontName(const QString& value)
{
    setTitle(&CellStyle::FontName, value);
}

void TZVTable::SetTitleFontHeight(float value)
{
    m_title.FontHeight = ToModel(value);
    Changed("TitleFontHeight");
}

void TZVTable::SetTitleHeight(float value)
{
    m_titleHeight = ToModel(value);
    Changed("TitleHeight");
}

void TZVTable::SetTitleAlign(std::uint8_t value)
{
    setTitle(&CellStyle::Align, value);
}

void TZVTable::SetBackColor(TZVColor value)
{
    TZVBaseEx2D::SetBackColor(value);
    for (const auto& c : m_columns)
        c->cell(TablePart::Data).Color = value;
}

std::int32_t TZVTable::StreamVersionNeeded() const
{
    std::int32_t version = TZVBaseEx2D::StreamVersionNeeded();
    for (const auto& c : m_columns) version = std::max(version, c->m_template.StreamVersionNeeded());
    return version;
}

void TZVTable::VisitTemplates(const std::function<void(const TZVTemplate&, bool)>& visit) const
{
    for (const auto& c : m_columns)
        if (!c->m_template.IsEmpty()) visit(c->m_template.Parsed(), true);
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
    visitor.Bool("TitleBold", m_title.Bold);
    visitor.Bool("TitleItalic", m_title.Italic);
    visitor.Bool("TitleUnderline", m_title.Underline);
    visitor.I32("TitleFontHeight", m_title.FontHeight);
    visitor.I32("TitleHeight", m_titleHeight);
    visitor.Color("TitleColor", m_title.Color);
    visitor.Color("TitleFontColor", m_title.FontColor);
    visitor.Ordinal("TitleAlign", m_title.Align, kCellAligns);
    visitor.Ordinal("DrawMode", m_drawMode, kDrawModes);
    visitor.WStr("TitleText", m_titleText, ansi);
    visitor.WStr("TitleFontName", m_title.FontName, ansi);
    if (reading && version < kFirstModelUnitVersion) {
        ScaleLegacyLength(m_rowHeight);
        ScaleLegacyLength(m_title.FontHeight);
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
