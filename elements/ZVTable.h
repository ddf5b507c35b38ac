// The table element and its columns: a grid of detail records with title, header and footer.
#pragma once

#include "document/ZVElement.h"
#include "elements/ZVElementTemplate.h"

#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace zorvel {

class TZVField;
class TZVTable;

/// Cell alignment of titles, headers, data and footers (one byte in streams).
enum TZVCellAlign : std::uint8_t
{
    caLeft,
    caRight,
    caCenter
};
/// Footer aggregates.
enum TZVFooterCalc : std::uint8_t
{
    fcSum,
    fcAverage,
    fcMinimum,
    fcMaximum,
    fcCount
};
/// How a column's values are formatted and summed, from the bound field's kind.
enum TZVValueKind : std::uint8_t
{
    vkFloat,
    vkInteger,
    vkDateTime
};

/// The parts of a table with cells of their own style: the table's title, and the data, header and
/// footer cells of every column.
enum class TablePart : std::uint8_t
{
    Title,
    Data,
    Header,
    Footer
};

/// Font, colours, style and alignment of the cells of one part.
struct CellStyle
{
    TZVColor Color = 0xFFFFFF; ///< fill colour
    TZVColor FontColor = 0; ///< text colour
    QString FontName = QStringLiteral("Arial"); ///< font family
    int FontHeight = 400; ///< model units
    std::uint8_t Align = caLeft; ///< TZVCellAlign
    /// Font style.
    /// @{
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    /// @}
};

/// One column: a field of the detail data set with its data, header and footer cells. Setters
/// store a change, tell the label (header settings only while the header shows, footer settings
/// only while the footer shows) and mark it modified. Lengths are model units, the float setters
/// take the label's unit.
class ZORVEL_CORE_EXPORT TZVColumn
{
public:
    /// A column of `table` (not owned); AddColumn attaches a column to its table.
    explicit TZVColumn(TZVTable* table = nullptr) : m_table(table) {}

    /// The table the column belongs to; null for a free column.
    TZVTable* Table() const { return m_table; }

    // Data cells.
    /// The data set's own name of the bound field; FieldName() is the name users see.
    const QString& BoundField() const { return m_fieldName; }
    /// The display label of the bound field in the label's detail data set.
    QString FieldName() const;
    const QString& Format() const { return m_format; } ///< display format of the values (see FormatFloat)
    /// The template whose expansion fills the data cells while it is not empty, instead of the
    /// bound field's value. Its fields come from the detail's record of the row; a field the
    /// detail lacks comes from the master's current record (so a row can repeat the label's
    /// product code), and one that neither has raises "INVALID FIELD NAME :" + name. The
    /// footer still sums the bound field.
    const QString& Template() const { return m_template.Text(); }
    /// Percent of the table's width.
    int Width() const { return m_width; }
    TZVColor Color() const { return cell(TablePart::Data).Color; } ///< fill colour of the data cells
    TZVColor FontColor() const { return cell(TablePart::Data).FontColor; } ///< text colour of the data cells
    /// Font family of the data cells.
    const QString& FontName() const { return cell(TablePart::Data).FontName; }
    /// Text height of the data cells, model units.
    int FontHeight() const { return cell(TablePart::Data).FontHeight; }
    std::uint8_t Align() const { return cell(TablePart::Data).Align; } ///< TZVCellAlign of the data cells
    /// Font style of the data cells.
    /// @{
    bool Bold() const { return cell(TablePart::Data).Bold; }
    bool Italic() const { return cell(TablePart::Data).Italic; }
    bool Underline() const { return cell(TablePart::Data).Underline; }
    /// @}
    std::uint8_t ValueKind() const { return m_valueKind; } ///< TZVValueKind, from the bound field's kind
    std::uint8_t Reserved() const { return m_reserved; } ///< stored with the column, otherwise unused

    /// Whether this column's header cell shows (the header row shows when any column's does).
    bool HeaderVisible() const { return m_headerVisible; }
    const QString& HeaderText() const { return m_headerText; } ///< text of the header cell
    TZVColor HeaderColor() const { return cell(TablePart::Header).Color; } ///< fill colour of the header cell
    /// Text colour of the header cell.
    TZVColor HeaderFontColor() const { return cell(TablePart::Header).FontColor; }
    /// Font family of the header cell.
    const QString& HeaderFontName() const { return cell(TablePart::Header).FontName; }
    /// Text height of the header cell, model units.
    int HeaderFontHeight() const { return cell(TablePart::Header).FontHeight; }
    /// TZVCellAlign of the header cell.
    std::uint8_t HeaderAlign() const { return cell(TablePart::Header).Align; }
    /// Font style of the header cell.
    /// @{
    bool HeaderBold() const { return cell(TablePart::Header).Bold; }
    bool HeaderItalic() const { return cell(TablePart::Header).Italic; }
    bool HeaderUnderline() const { return cell(TablePart::Header).Underline; }
    /// @}
    int HeaderHeight() const { return m_headerHeight; } ///< height of the header row, model units

    /// Whether this column's footer cell shows (the footer row shows when any column's does).
    bool FooterVisible() const { return m_footerVisible; }
    TZVColor FooterColor() const { return cell(TablePart::Footer).Color; } ///< fill colour of the footer cell
    /// Text colour of the footer cell.
    TZVColor FooterFontColor() const { return cell(TablePart::Footer).FontColor; }
    /// Font family of the footer cell.
    const QString& FooterFontName() const { return cell(TablePart::Footer).FontName; }
    /// Text height of the footer cell, model units.
    int FooterFontHeight() const { return cell(TablePart::Footer).FontHeight; }
    /// TZVCellAlign of the footer cell.
    std::uint8_t FooterAlign() const { return cell(TablePart::Footer).Align; }
    /// Font style of the footer cell.
    /// @{
    bool FooterBold() const { return cell(TablePart::Footer).Bold; }
    bool FooterItalic() const { return cell(TablePart::Footer).Italic; }
    bool FooterUnderline() const { return cell(TablePart::Footer).Underline; }
    /// @}
    int FooterHeight() const { return m_footerHeight; } ///< height of the footer row, model units
    /// TZVFooterCalc aggregate shown in the footer cell.
    std::uint8_t FooterCalc() const { return m_footerCalc; }

    /// Start from the table's start edge and width across the columns, model units, from the
    /// table's current box and angle; 0 outside a table.
    /// @{
    int Offset() const;
    int CellWidth() const;
    /// @}

    /// The font heights and row heights above in the label's unit.
    /// @{
    float GetFontHeight() const;
    float GetHeaderFontHeight() const;
    float GetHeaderHeight() const;
    float GetFooterFontHeight() const;
    float GetFooterHeight() const;
    /// @}

    /// The name users see; the label translates it to the detail data set's field name, and the
    /// field's kind, when a detail data set is assigned, sets ValueKind.
    void SetFieldName(const QString& value);
    /// Sets the display format of the values.
    void SetFormat(const QString& value);
    /// Sets the template; raises EZvError for a malformed one (see TZVTemplate::Problem) and
    /// keeps the old one.
    void SetTemplate(const QString& value);
    /// Percent; the other columns give or take the difference (see TZVTable).
    void SetWidth(int percent);
    /// Setters of the data cells' settings; font heights in the label's unit.
    /// @{
    void SetColor(TZVColor value);
    void SetFontColor(TZVColor value);
    void SetFontName(const QString& value);
    void SetFontHeight(float value);
    void SetAlign(std::uint8_t value);
    void SetBold(bool value);
    void SetItalic(bool value);
    void SetUnderline(bool value);
    /// @}

    /// Shows or hides this column's header cell.
    void SetHeaderVisible(bool value);
    /// Compared without regard to case.
    void SetHeaderText(const QString& value);
    /// Setters of the header cell's settings; heights in the label's unit.
    /// @{
    void SetHeaderColor(TZVColor value);
    void SetHeaderFontColor(TZVColor value);
    void SetHeaderFontName(const QString& value);
    void SetHeaderFontHeight(float value);
    void SetHeaderAlign(std::uint8_t value);
    void SetHeaderBold(bool value);
    void SetHeaderItalic(bool value);
    void SetHeaderUnderline(bool value);
    void SetHeaderHeight(float value);
    /// @}

    /// Setters of the footer cell's settings; heights in the label's unit.
    /// @{
    void SetFooterVisible(bool value);
    void SetFooterColor(TZVColor value);
    void SetFooterFontColor(TZVColor value);
    void SetFooterFontName(const QString& value);
    void SetFooterFontHeight(float value);
    void SetFooterAlign(std::uint8_t value);
    void SetFooterBold(bool value);
    void SetFooterItalic(bool value);
    void SetFooterUnderline(bool value);
    void SetFooterHeight(float value);
    void SetFooterCalc(std::uint8_t value);
    /// @}

    /// The column record, in stream order.
    void VisitFields(TZVFieldVisitor& visitor);

    /// Aggregate of one paint, restarted at its first record.
    struct Totals
    {
        double SumFloat = 0; ///< sum of the float values
        std::int64_t SumInt = 0; ///< sum of the integer values
        int RowCount = 0; ///< records counted
    };
    Totals Aggregate; ///< running aggregate of the column's values

private:
    friend class TZVTable;

    // The style of the data, header or footer cells.
    CellStyle& cell(TablePart part) { return m_cells.at(std::size_t(part) - std::size_t(TablePart::Data)); }
    const CellStyle& cell(TablePart part) const
    {
        return m_cells.at(std::size_t(part) - std::size_t(TablePart::Data));
    }
    // Stores a different value and tells the label when the cells of `part` show.
    template <typename T> bool change(T& field, const T& value, TablePart part);
    template <typename T> void setStyle(TablePart part, T CellStyle::*field, const T& value)
    {
        change(cell(part).*field, value, part);
    }
    void notify(TablePart part);
    // A bound field's kind decides how the values are formatted and summed.
    void learnValueKind(const TZVField& field);
    int toModel(float value) const;
    float fromModel(int value) const;

    TZVTable* m_table = nullptr;
    QString m_fieldName;
    QString m_format;
    TZVElementTemplate m_template;
    int m_width = 0;
    std::array<CellStyle, 3> m_cells; // data, header, footer
    bool m_headerVisible = true;
    QString m_headerText;
    int m_headerHeight = 800;
    bool m_footerVisible = false;
    int m_footerHeight = 800;
    std::uint8_t m_footerCalc = fcCount;
    std::uint8_t m_valueKind = vkFloat;
    std::uint8_t m_reserved = 0;
};

/// A grid of the detail data set's records in a box. Columns share the box's width by percent.
/// The layout (column offsets and widths, header, footer, row count) is derived on demand from
/// the box, the angle and the columns, so no way of moving or resizing the box leaves it stale.
class ZORVEL_CORE_EXPORT TZVTable : public TZVBaseEx2D
{
    Q_OBJECT
    Q_PROPERTY(QString ID READ ID WRITE SetID)
    Q_PROPERTY(QString EditTable READ EditTable)
    Q_PROPERTY(QString TitleText READ TitleText WRITE SetTitleText)
    Q_PROPERTY(float TitleFontHeight READ GetTitleFontHeight WRITE SetTitleFontHeight)
    Q_PROPERTY(bool TitleVisible READ TitleVisible WRITE SetTitleVisible)
    Q_PROPERTY(float TitleHeight READ GetTitleHeight WRITE SetTitleHeight)
    Q_PROPERTY(quint32 GridColor READ GridColor WRITE SetGridColor)
    Q_PROPERTY(zorvel::TZVGridStyle GridStyle READ GridStyle WRITE SetGridStyle)
    Q_PROPERTY(int Angle READ Angle WRITE SetAngle)
    Q_PROPERTY(float PenWidth READ GetPenWidth WRITE SetPenWidth)
    Q_PROPERTY(quint32 RowColor READ RowColor WRITE SetRowColor)
    Q_PROPERTY(float RowHeight READ GetRowHeight WRITE SetRowHeight)

public:
    /// No column takes less than this percentage when others grow.
    static constexpr int kMinColumnWidth = 5;
    /// Share of a column added to a table that already has columns.
    static constexpr int kAddedColumnWidth = 10;

    /// A new table of `owner`, which lists and owns it, without columns.
    explicit TZVTable(TZVCustomLab& owner);
    ~TZVTable() override;

    std::uint8_t ElementKind() const override { return ekTable; }

    /// The inspector's row that opens the table dialog; always empty.
    QString EditTable() const { return {}; }

    TZVColor GridColor() const { return m_gridColor; } ///< colour of the grid lines
    TZVGridStyle GridStyle() const { return m_gridStyle; } ///< which grid lines are drawn
    /// Fill colour of alternate rows or columns (see DrawMode).
    TZVColor RowColor() const { return m_rowColor; }
    int RowHeight() const { return m_rowHeight; } ///< height of a data row, model units
    /// 0 fills by columns, 1 by alternating rows.
    std::uint8_t DrawMode() const { return m_drawMode; }
    const QString& TitleText() const { return m_titleText; } ///< text of the title row
    bool TitleVisible() const { return m_titleVisible; } ///< whether the title row shows
    /// Font style of the title.
    /// @{
    bool TitleBold() const { return m_title.Bold; }
    bool TitleItalic() const { return m_title.Italic; }
    bool TitleUnderline() const { return m_title.Underline; }
    /// @}
    TZVColor TitleColor() const { return m_title.Color; } ///< fill colour of the title row
    TZVColor TitleFontColor() const { return m_title.FontColor; } ///< text colour of the title
    const QString& TitleFontName() const { return m_title.FontName; } ///< font family of the title
    int TitleFontHeight() const { return m_title.FontHeight; } ///< text height of the title, model units
    int TitleHeight() const { return m_titleHeight; } ///< height of the title row, model units
    std::uint8_t TitleAlign() const { return m_title.Align; } ///< TZVCellAlign of the title
    /// Stored with the table, otherwise unused.
    std::uint8_t TableReserved() const { return m_tableReserved; }

    /// The heights above in the label's unit.
    /// @{
    float GetTitleFontHeight() const { return FromModel(m_title.FontHeight); }
    float GetTitleHeight() const { return FromModel(m_titleHeight); }
    float GetRowHeight() const { return FromModel(m_rowHeight); }
    /// @}

    /// Setters of the table's settings; heights in the label's unit. Each follows the change protocol.
    /// @{
    void SetGridColor(TZVColor value) { setField(m_gridColor, value, "GridColor"); }
    void SetGridStyle(TZVGridStyle value) { setField(m_gridStyle, value, "GridStyle"); }
    void SetRowColor(TZVColor value) { setField(m_rowColor, value, ""); }
    void SetRowHeight(float value);
    void SetDrawMode(std::uint8_t value) { setField(m_drawMode, value, ""); }
    void SetTitleText(const QString& value) { setField(m_titleText, value, "TitleText"); }
    void SetTitleVisible(bool value) { setField(m_titleVisible, value, "TitleVisible"); }
    void SetTitleBold(bool value);
    void SetTitleItalic(bool value);
    void SetTitleUnderline(bool value);
    void SetTitleColor(TZVColor value);
    void SetTitleFontColor(TZVColor value);
    void SetTitleFontName(const QString& value);
    void SetTitleFontHeight(float value);
    void SetTitleHeight(float value);
    void SetTitleAlign(std::uint8_t value);
    /// @}

    /// Number of columns.
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    /// The column at `index`; throws std::out_of_range outside 0..ColumnCount() - 1.
    TZVColumn& Column(int index) const { return *m_columns.at(static_cast<std::size_t>(index)); }
    /// The first column takes the whole width, a further one 10 percent taken from the others.
    TZVColumn& AddColumn();
    /// Adds a column made by the caller, taking ownership; its share is as for AddColumn().
    TZVColumn& AddColumn(std::unique_ptr<TZVColumn> column);
    /// The deleted column's share goes to the first remaining one. Out of range: nothing happens.
    void DeleteColumn(int index);
    /// Swaps two columns; nothing when an index is out of range.
    void ExchangeColumns(int i, int j);

    /// Whether the header (footer) row shows, that is any column shows its cell, and its height:
    /// the tallest of the shown cells, model units.
    /// @{
    bool HeaderShown() const;
    int HeaderHeight() const;
    bool FooterShown() const;
    int FooterHeight() const;
    /// @}
    /// Data rows that fit below the title and header and above the footer.
    int RowsPerTable() const;
    /// Extent across the columns (the width at angles 0 and 180, the height at 90 and 270) and
    /// along the rows, in 64 bits: far apart corners span more than 32. Other angles hold no
    /// rows; their columns share the unturned width.
    /// @{
    std::int64_t ColumnsExtent() const;
    std::int64_t RowsExtent() const;
    /// @}

    void SetBackColor(TZVColor value) override;
    void VisitFields(TZVFieldVisitor& visitor) override;
    /// The content layout when a column has a template.
    std::int32_t StreamVersionNeeded() const override;
    /// The columns' templates, whose fields come from the detail first.
    void VisitTemplates(const std::function<void(const TZVTemplate&, bool)>& visit) const override;

protected:
    void PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data) override;

private:
    friend class TZVColumn;
    class Painter;

    void setColumnWidth(TZVColumn& column, int percent);
    // Takes `points` percent from (or gives them back to) the columns other than `except`.
    void rebalance(std::int64_t points, bool take, const TZVColumn* except);
    void columnChanged(bool shown = true);
    // Stores a different title setting and tells the label.
    template <typename T> void setTitle(T CellStyle::*field, const T& value);
    int indexOf(const TZVColumn& column) const;
    // Offset and width of the column at `index`, model units.
    void columnSpan(int index, int& offset, int& width) const;
    // Offset and width of every column, in one walk.
    std::vector<std::pair<std::int64_t, std::int64_t>> columnSpans() const;

    TZVColor m_gridColor = 0xC0C0C0;
    TZVGridStyle m_gridStyle = gsBoth;
    TZVColor m_rowColor = 0xC0C0C0;
    int m_rowHeight = 1000;
    std::uint8_t m_drawMode = 0;
    QString m_titleText = QStringLiteral("Table Title");
    bool m_titleVisible = true;
    CellStyle m_title{0xC0C0C0, 0, QStringLiteral("Arial"), 500, caCenter};
    int m_titleHeight = 1000;
    std::vector<std::unique_ptr<TZVColumn>> m_columns;
    std::uint8_t m_tableReserved = 0;
};

} // namespace zorvel
