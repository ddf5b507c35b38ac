// The table element and its columns: a grid of detail records with title, header and footer.
#pragma once

#include "elements/ZVElement.h"

#include <memory>
#include <utility>
#include <vector>

namespace zorvel {

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

/// One column: a field of the detail data set with its data, header and footer cells. Setters
/// store a change, tell the label (header settings only while the header shows, footer settings
/// only while the footer shows) and mark it modified. Lengths are model units, the float setters
/// take the label's unit.
class TZVColumn
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
    /// Percent of the table's width.
    int Width() const { return m_width; }
    TZVColor Color() const { return m_color; } ///< fill colour of the data cells
    TZVColor FontColor() const { return m_fontColor; } ///< text colour of the data cells
    const QString& FontName() const { return m_fontName; } ///< font family of the data cells
    int FontHeight() const { return m_fontHeight; } ///< text height of the data cells, model units
    std::uint8_t Align() const { return m_align; } ///< TZVCellAlign of the data cells
    /// Font style of the data cells.
    /// @{
    bool Bold() const { return m_bold; }
    bool Italic() const { return m_italic; }
    bool Underline() const { return m_underline; }
    /// @}
    std::uint8_t ValueKind() const { return m_valueKind; } ///< TZVValueKind, from the bound field's kind
    std::uint8_t Reserved() const { return m_reserved; } ///< stored with the column, otherwise unused

    /// Whether this column's header cell shows (the header row shows when any column's does).
    bool HeaderVisible() const { return m_headerVisible; }
    const QString& HeaderText() const { return m_headerText; } ///< text of the header cell
    TZVColor HeaderColor() const { return m_headerColor; } ///< fill colour of the header cell
    TZVColor HeaderFontColor() const { return m_headerFontColor; } ///< text colour of the header cell
    const QString& HeaderFontName() const { return m_headerFontName; } ///< font family of the header cell
    /// Text height of the header cell, model units.
    int HeaderFontHeight() const { return m_headerFontHeight; }
    std::uint8_t HeaderAlign() const { return m_headerAlign; } ///< TZVCellAlign of the header cell
    /// Font style of the header cell.
    /// @{
    bool HeaderBold() const { return m_headerBold; }
    bool HeaderItalic() const { return m_headerItalic; }
    bool HeaderUnderline() const { return m_headerUnderline; }
    /// @}
    int HeaderHeight() const { return m_headerHeight; } ///< height of the header row, model units

    /// Whether this column's footer cell shows (the footer row shows when any column's does).
    bool FooterVisible() const { return m_footerVisible; }
    TZVColor FooterColor() const { return m_footerColor; } ///< fill colour of the footer cell
    TZVColor FooterFontColor() const { return m_footerFontColor; } ///< text colour of the footer cell
    const QString& FooterFontName() const { return m_footerFontName; } ///< font family of the footer cell
    /// Text height of the footer cell, model units.
    int FooterFontHeight() const { return m_footerFontHeight; }
    std::uint8_t FooterAlign() const { return m_footerAlign; } ///< TZVCellAlign of the footer cell
    /// Font style of the footer cell.
    /// @{
    bool FooterBold() const { return m_footerBold; }
    bool FooterItalic() const { return m_footerItalic; }
    bool FooterUnderline() const { return m_footerUnderline; }
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
    enum class Cell
    {
        Data,
        Header,
        Footer
    };

    // Stores a different value and tells the label when the cell it belongs to shows.
    template <typename T> bool change(T& field, const T& value, Cell cell);
    void notify(Cell cell);
    int toModel(float value) const;
    float fromModel(int value) const;

    TZVTable* m_table = nullptr;
    QString m_fieldName;
    QString m_format;
    int m_width = 0;
    TZVColor m_color = 0xFFFFFF;
    TZVColor m_fontColor = 0;
    QString m_fontName = QStringLiteral("Arial");
    int m_fontHeight = 400;
    std::uint8_t m_align = caLeft;
    bool m_bold = false;
    bool m_italic = false;
    bool m_underline = false;
    bool m_headerVisible = true;
    QString m_headerText;
    TZVColor m_headerColor = 0xFFFFFF;
    TZVColor m_headerFontColor = 0;
    QString m_headerFontName = QStringLiteral("Arial");
    int m_headerFontHeight = 400;
    std::uint8_t m_headerAlign = caLeft;
    bool m_headerBold = false;
    bool m_headerItalic = false;
    bool m_headerUnderline = false;
    int m_headerHeight = 800;
    bool m_footerVisible = false;
    TZVColor m_footerColor = 0xFFFFFF;
    TZVColor m_footerFontColor = 0;
    QString m_footerFontName = QStringLiteral("Arial");
    int m_footerFontHeight = 400;
    std::uint8_t m_footerAlign = caLeft;
    bool m_footerBold = false;
    bool m_footerItalic = false;
    bool m_footerUnderline = false;
    int m_footerHeight = 800;
    std::uint8_t m_footerCalc = fcCount;
    std::uint8_t m_valueKind = vkFloat;
    std::uint8_t m_reserved = 0;
};

/// A grid of the detail data set's records in a box. Columns share the box's width by percent.
/// The layout (column offsets and widths, header, footer, row count) is derived on demand from
/// the box, the angle and the columns, so no way of moving or resizing the box leaves it stale.
class TZVTable : public TZVBaseEx2D
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
    bool TitleBold() const { return m_titleBold; }
    bool TitleItalic() const { return m_titleItalic; }
    bool TitleUnderline() const { return m_titleUnderline; }
    /// @}
    TZVColor TitleColor() const { return m_titleColor; } ///< fill colour of the title row
    TZVColor TitleFontColor() const { return m_titleFontColor; } ///< text colour of the title
    const QString& TitleFontName() const { return m_titleFontName; } ///< font family of the title
    int TitleFontHeight() const { return m_titleFontHeight; } ///< text height of the title, model units
    int TitleHeight() const { return m_titleHeight; } ///< height of the title row, model units
    std::uint8_t TitleAlign() const { return m_titleAlign; } ///< TZVCellAlign of the title
    /// Stored with the table, otherwise unused.
    std::uint8_t TableReserved() const { return m_tableReserved; }

    /// The heights above in the label's unit.
    /// @{
    float GetTitleFontHeight() const { return FromModel(m_titleFontHeight); }
    float GetTitleHeight() const { return FromModel(m_titleHeight); }
    float GetRowHeight() const { return FromModel(m_rowHeight); }
    /// @}

    /// Setters of the table's settings; heights in the label's unit. Each follows the change protocol.
    /// @{
    void SetGridColor(TZVColor value);
    void SetGridStyle(TZVGridStyle value);
    void SetRowColor(TZVColor value);
    void SetRowHeight(float value);
    void SetDrawMode(std::uint8_t value);
    void SetTitleText(const QString& value);
    void SetTitleVisible(bool value);
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

protected:
    void PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data) override;

private:
    friend class TZVColumn;
    class Painter;

    void setColumnWidth(TZVColumn& column, int percent);
    // Takes `points` percent from (or gives them back to) the columns other than `except`.
    void rebalance(std::int64_t points, bool take, const TZVColumn* except);
    void columnChanged(bool shown = true);
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
    bool m_titleBold = false;
    bool m_titleItalic = false;
    bool m_titleUnderline = false;
    TZVColor m_titleColor = 0xC0C0C0;
    TZVColor m_titleFontColor = 0;
    QString m_titleFontName = QStringLiteral("Arial");
    int m_titleFontHeight = 500;
    int m_titleHeight = 1000;
    std::uint8_t m_titleAlign = caCenter;
    std::vector<std::unique_ptr<TZVColumn>> m_columns;
    std::uint8_t m_tableReserved = 0;
};

} // namespace zorvel
