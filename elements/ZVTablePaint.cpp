// Painting of a table: its background, title, header, data rows, footer and grid.
#include "document/ZVCustomLab.h"
#include "document/ZVDisplayFormat.h"
#include "elements/ZVTable.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVUtils.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zorvel {
namespace {

// Pixels beyond the device's edges that still count as seen, for pens drawn across them.
constexpr double kSeenMarginPixels = 2;

// What a column's template is filled from: the detail's record of the row, and for a field the
// detail lacks (or without an open detail) the label's values, whose fields are the master's.
class TColumnValues final : public TZVTemplateValues
{
public:
    TColumnValues(const TZVTemplateValues& label, const TZVDataSet* detail) : m_label(label), m_detail(detail) {}

    QString Field(const QString& name, const QString& format) const override
    {
        if (m_detail && m_detail->Active() && m_detail->FindField(name))
            return FieldDisplayText(*m_detail, name, format, false);
        return m_label.Field(name, format);
    }
    QString Counter(const QString& name) const override { return m_label.Counter(name); }
    QDateTime JobStart() const override { return m_label.JobStart(); }
    std::int64_t Page() const override { return m_label.Page(); }
    std::int64_t Label() const override { return m_label.Label(); }
    std::int64_t Record() const override { return m_label.Record(); }
    std::int64_t Copy() const override { return m_label.Copy(); }
    QString Answer(const QString& id) const override { return m_label.Answer(id); }

private:
    const TZVTemplateValues& m_label;
    const TZVDataSet* m_detail;
};

} // namespace

// Lays the table out in its own frame, u across the columns and v along the rows, both from 0,
// and turns that frame onto the box by the angle; so one layout serves the four orientations.
class TZVTable::Painter
{
public:
    Painter(TZVTable& table, TZVCanvas& canvas, TPoint offset)
        : t(table), canvas(canvas), L(table.ColumnsExtent()),
          D(table.RowsExtent()), box{SaturateToInt(std::int64_t(table.m_x1) + offset.X),
                                     SaturateToInt(std::int64_t(table.m_y1) + offset.Y),
                                     SaturateToInt(std::int64_t(table.m_x2) + offset.X),
                                     SaturateToInt(std::int64_t(table.m_y2) + offset.Y)},
          g(table.m_gridStyle == gsHorz || table.m_gridStyle == gsBoth ? table.m_penWidth : 0),
          title(table.m_titleVisible ? table.m_titleHeight : 0), header(table.HeaderHeight()),
          footer(table.FooterHeight()), rows(table.RowsPerTable()), spans(table.columnSpans()),
          values(table.Owner()->TemplateValues(), table.Owner()->Detail())
    {
        // Angles outside the quarter turns draw unturned, over the unturned width.
        if (table.m_angle != 90 && table.m_angle != 180 && table.m_angle != 270)
            D = std::int64_t(box.Bottom) - box.Top;
        findSeen();
    }

    void paint(int target, bool placeholders);

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
    TPoint at(std::int64_t u, std::int64_t v) const
    {
        switch (t.m_angle) {
        case 90:
            return {SaturateToInt(box.Left + v), SaturateToInt(box.Bottom - u)};
        case 180:
            return {SaturateToInt(box.Right - u), SaturateToInt(box.Bottom - v)};
        case 270:
            return {SaturateToInt(box.Right - v), SaturateToInt(box.Top + u)};
        default:
            return {SaturateToInt(box.Left + u), SaturateToInt(box.Top + v)};
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
    void text(const Cell& c, const CellStyle& style, const QString& s)
    {
        if (s.isEmpty()) return;
        TZVFont font;
        font.Name = style.FontName;
        font.Height = style.FontHeight;
        font.Escapement = EscapementOf(t.m_angle);
        font.Color = style.FontColor;
        font.Bold = style.Bold;
        font.Italic = style.Italic;
        font.Underline = style.Underline;
        canvas.SelectFont(font);
        canvas.SelectBrush(TZVBrush{0xFFFFFF, bsClear});
        const int width = canvas.GetTextExtentPoint(s).cx;
        std::int64_t u = c.u0 + g;
        if (style.Align == caRight)
            u = c.u1 - g - width;
        else if (style.Align == caCenter)
            u = c.u0 + (c.u1 - c.u0) / 2 - width / 2;
        const std::int64_t v = c.v0 + (c.v1 - c.v0) / 2 - style.FontHeight / 2;
        const TPoint p = at(u, v);
        canvas.ExtTextOut(p.X, p.Y, s);
    }
    Cell column(int i, std::int64_t v0, std::int64_t v1) const
    {
        const auto& [u0, width] = spans[std::size_t(i)];
        return {u0, v0, u0 + width, v1};
    }

    void findSeen();
    RowWalk rowsSeen(std::int64_t start, std::int64_t from, std::int64_t to) const;
    void background();
    void dataRows(int target, bool& aggregated);
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
    TColumnValues values;
    Range vSeen{0, 0};  // the part of the rows' axis that lands on the device
    double vPixels = 1; // device pixels per model unit along the rows' axis
};

// Only what lands on the device is worth a loop: a design may hold billions of rows.
void TZVTable::Painter::findSeen()
{
    const TZVSeenArea seen = canvas.SeenArea(kSeenMarginPixels);
    // Rows advance from Y1 down, X1 right, Y2 up or X2 left (see at()).
    double lo = seen.Top - box.Top;
    double hi = seen.Bottom - box.Top;
    vPixels = seen.PixelsY;
    switch (t.m_angle) {
    case 90:
        lo = seen.Left - box.Left;
        hi = seen.Right - box.Left;
        vPixels = seen.PixelsX;
        break;
    case 180:
        lo = box.Bottom - seen.Bottom;
        hi = box.Bottom - seen.Top;
        break;
    case 270:
        lo = box.Right - seen.Right;
        hi = box.Right - seen.Left;
        vPixels = seen.PixelsX;
        break;
    default:
        break;
    }
    // Lines drawn with a wide pen reach half of it beyond their place; the canvas draws no pen
    // wider than 2^15 pixels.
    const double pen = std::min(std::abs(double(t.m_penWidth)), kUnsizedDevicePixels / std::max(vPixels, 1e-9));
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
    const std::int64_t first = std::max(from, FloorDiv(vSeen.lo - start, h) - 1);
    const std::int64_t last = std::min(to, FloorDiv(vSeen.hi - start, h) + 1);
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
            fill(column(i, 0, D), t.Column(i).cell(TablePart::Data).Color);
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

void TZVTable::Painter::dataRows(int target, bool& aggregated)
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
        if (const TZVField* field = fields[std::size_t(i)]) c.learnValueKind(*field);
    }
    const std::int64_t top = title + header;
    int row = 0;
    for (detail->First(); !detail->Eof(); detail->Next(), ++row) {
        const std::int64_t v = top + std::int64_t(row) * t.m_rowHeight;
        for (int i = 0; i < count; ++i) {
            TZVColumn& c = t.Column(i);
            const TZVField* field = fields[std::size_t(i)];
            if (row < rows) {
                const auto filled = c.m_template.Content(*t.Owner(), target, &values);
                text(column(i, v, v + t.m_rowHeight), c.cell(TablePart::Data), filled ? *filled : cellText(c, field));
            }
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

void TZVTable::Painter::paint(int target, bool placeholders)
{
    const bool output = target != ptEditor;
    canvas.SaveDC();
    canvas.SelectPen(TZVPen{t.m_color, t.m_penWidth, psInsideFrame});
    if (!t.m_transparent) background();
    canvas.SelectBrush(TZVBrush{0xFFFFFF, bsClear});
    canvas.Rectangle(box.Left, box.Top, box.Right, box.Bottom);

    if (t.m_titleVisible) {
        const Cell band{0, 0, L, title};
        fill({0, 0, L + g, title + g}, t.m_title.Color);
        text(band, t.m_title, t.m_titleText);
    }
    for (int i = 0; i < t.ColumnCount() && header > 0; ++i) {
        const TZVColumn& c = t.Column(i);
        if (!c.m_headerVisible) continue;
        const Cell cell = column(i, title, title + header);
        const CellStyle& style = c.cell(TablePart::Header);
        fill(cell, style.Color);
        text(cell, style, c.m_headerText);
    }

    bool aggregated = false;
    if (output) {
        dataRows(target, aggregated);
    } else if (placeholders) {
        for (int i = 0; i < t.ColumnCount(); ++i) {
            const TZVColumn& c = t.Column(i);
            const auto filled = c.m_template.Content(*t.Owner(), target, &values);
            text(column(i, title + header, title + header + t.m_rowHeight), c.cell(TablePart::Data),
                 filled ? *filled : QStringLiteral("Col-%1").arg(i));
        }
    }

    for (int i = 0; i < t.ColumnCount() && footer > 0; ++i) {
        const TZVColumn& c = t.Column(i);
        if (!c.m_footerVisible) continue;
        const Cell cell = column(i, D - footer, D);
        const CellStyle& style = c.cell(TablePart::Footer);
        fill(cell, style.Color);
        QString s;
        if (aggregated)
            s = footerText(c);
        else if (!output && placeholders)
            s = QStringLiteral("Foot-%1").arg(i);
        text(cell, style, s);
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
    Painter(*this, canvas, offset).paint(target, !Owner()->GridNotDrawFields());
    if (target == ptEditor) m_modelRect = {m_x1, m_y1, m_x2, m_y2};
}

} // namespace zorvel
