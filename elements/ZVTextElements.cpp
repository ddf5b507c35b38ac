// Single-line text elements: setters, anchor placement and the text part of their records.
#include "elements/ZVTextElements.h"

#include "document/ZVCustomLab.h"
#include "document/ZVFieldVisitor.h"
#include "document/ZVLegacyLength.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVUtils.h"

#include <algorithm>
#include <cstdint>

namespace zorvel {
namespace {

// Older layouts knew only the six top and bottom anchors.
constexpr std::uint8_t kLastLegacyAlign = taRiTo;
constexpr std::int32_t kLastAnsiTextVersion = 18;

bool isQuarterTurn(int angle)
{
    return angle == 0 || angle == 90 || angle == 180 || angle == 270;
}

} // namespace

std::optional<TPoint> TextAnchorInBox(const TRect& box, TTextAlign align, int angle)
{
    const int a = align <= taRiCe ? align : taLeTo;
    // Along the reading direction: 0 left, 1 centre, 2 right. Across it: 0 top, 1 middle, 2 bottom.
    const int along = a % 3;
    const int across = a / 3 == 1 ? 0 : a / 3 == 2 ? 1 : 2;
    const int midX = int((std::int64_t(box.Left) + box.Right) / 2);
    const int midY = int((std::int64_t(box.Top) + box.Bottom) / 2);
    auto pick = [](int part, int first, int middle, int last) {
        return part == 0 ? first : part == 1 ? middle : last;
    };
    switch (angle) {
    case 0:
        return TPoint{pick(along, box.Left, midX, box.Right), pick(across, box.Top, midY, box.Bottom)};
    case 90:
        return TPoint{pick(across, box.Left, midX, box.Right), pick(along, box.Bottom, midY, box.Top)};
    case 180:
        return TPoint{pick(along, box.Right, midX, box.Left), pick(across, box.Bottom, midY, box.Top)};
    case 270:
        return TPoint{pick(across, box.Right, midX, box.Left), pick(along, box.Top, midY, box.Bottom)};
    default:
        return std::nullopt;
    }
}

// ---- TZVDataText ----

TZVDataText::TZVDataText(TZVCustomLab& owner, std::uint8_t handleKind) : TZVData(owner, handleKind)
{
    m_textAlign = taLeTo;
}

void TZVDataText::SetTextAlign(TTextAlign value)
{
    setField(m_textAlign, static_cast<std::uint8_t>(value <= taRiCe ? value : taLeTo), "TextAlign");
}

// The offset only shows while the shadow does.
void TZVDataText::SetGapX(float value)
{
    m_gapX = ToModel(value);
    if (m_shadow) Changed("GapX");
}

void TZVDataText::SetGapY(float value)
{
    m_gapY = ToModel(value);
    if (m_shadow) Changed("GapY");
}

float TZVDataText::GetSeparation() const
{
    return ModelToMm(m_separation);
}

void TZVDataText::SetSeparation(float millimetres)
{
    m_separation = SaturateToInt(MmToModel(millimetres));
    Changed("Distance");
}

void TZVDataText::PlaceBox(int textWidth, int textHeight)
{
    // Stored gaps, paddings and pen widths may be any int: the box is summed in 64 bits and a
    // huge one saturates (it paints clipped) instead of wrapping round.
    std::int64_t w = textWidth;
    std::int64_t h = textHeight;
    if (m_shadow) {
        w += m_gapX;
        h += m_gapY;
    }
    if (m_showBorder) {
        w += 2 * (std::int64_t(m_paddingX) + m_penWidth);
        h += 2 * (std::int64_t(m_paddingY) + m_penWidth);
    }
    const int align = m_textAlign <= taRiCe ? int(m_textAlign) : int(taLeTo);
    const int column = align % 3;
    const int row = align / 3; // 0 bottom, 1 top, 2 middle
    m_boxWidth = SaturateToInt(w);
    m_boxHeight = SaturateToInt(h);
    m_boxLeft = SaturateToInt(column == 0 ? m_x1 : column == 1 ? m_x1 - w / 2 : m_x1 - w);
    m_boxTop = SaturateToInt(row == 0 ? m_y1 - h : row == 1 ? m_y1 : m_y1 - h / 2);
    TPoint corner{SaturateToInt(m_boxLeft + w), SaturateToInt(m_boxTop + h)};
    if (m_angle > 0) RotatePoint(corner, TPoint{m_x1, m_y1}, m_angle);
    m_x2 = corner.X;
    m_y2 = corner.Y;
}

// Any angle other than a quarter turn keeps the anchor where it is.
void TZVDataText::PlaceAnchor(int L, int T, int R, int B)
{
    if (const auto anchor = TextAnchorInBox(TRect{L, T, R, B}, TextAlign(), m_angle)) {
        m_x1 = anchor->X;
        m_y1 = anchor->Y;
    }
}

// A text has no stored size: only its anchor follows the dragged box.
void TZVDataText::SetScreenRect(const TRect& value)
{
    if (!StoreIfChanged(m_screenRect, value)) return;
    if (const auto pixel = TextAnchorInBox(value, TextAlign(), m_angle)) {
        m_x1 = DeviceToModelX(pixel->X);
        m_y1 = DeviceToModelY(pixel->Y);
    }
    ClearAnchoring();
    SetModified();
}

void TZVDataText::ShowBoundField(const char* name)
{
    if (!m_data || m_boundField.isEmpty()) return;
    m_text = FieldName();
    Notify(name);
    Owner()->RefreshProperty(QStringLiteral("Text"));
    SetModified();
}

void TZVDataText::SetData(bool value)
{
    TZVData::SetData(value);
    ShowBoundField("Database");
}

void TZVDataText::SetFieldName(const QString& value)
{
    TZVData::SetFieldName(value);
    ShowBoundField("FieldName");
}

void TZVDataText::SelectTextFont(TZVCanvas& canvas, TZVColor color) const
{
    TZVFont font;
    font.Name = m_fontName;
    font.Height = m_fontHeight;
    font.Escapement = EscapementOf(m_angle);
    font.Bold = m_bold;
    font.Italic = m_italic;
    font.Underline = m_underline;
    font.Color = color;
    canvas.SelectFont(font);
    canvas.SetTextAlign(taLeft | taTop);
    canvas.SetTextCharacterExtra(m_separation);
}

void TZVDataText::SetTemplate(const QString& value)
{
    if (m_template.Set(value)) Changed("Template");
}

QString TZVDataText::PropertyRefusal(const QString& name, const QVariant& value) const
{
    if (name == QLatin1String("Template")) return TZVTemplate::Problem(value.toString());
    return TZVData::PropertyRefusal(name, value);
}

std::int32_t TZVDataText::StreamVersionNeeded() const
{
    return std::max(TZVData::StreamVersionNeeded(), m_template.StreamVersionNeeded());
}

void TZVDataText::VisitTemplates(const std::function<void(const TZVTemplate&, bool)>& visit) const
{
    if (!m_template.IsEmpty()) visit(m_template.Parsed(), false);
}

QString TZVDataText::content(int target, bool data, const QString& format) const
{
    if (auto filled = m_template.Content(*Owner(), target)) return *filled;
    if (data && m_data) {
        if (auto value = BoundValue(format)) return *value;
    }
    return m_text;
}

// Data on without a bound field is not a binding: asking the data set for a nameless field
// would only fail.
std::optional<QString> TZVDataText::BoundValue(const QString& format) const
{
    if (m_boundField.isEmpty()) return std::nullopt;
    return Owner()->FieldText(m_boundField, format, false);
}

void TZVDataText::VisitFields(TZVFieldVisitor& visitor)
{
    TZVData::VisitFields(visitor);
    const std::int32_t version = visitor.Version();
    const bool reading = visitor.Reading();
    visitor.WStr("Text", m_text, version <= kLastAnsiTextVersion);
    visitor.AStr("DisplayFormat", m_displayFormat);
    visitor.U8("TextAlign", m_textAlign);
    if (reading &&
        (m_textAlign > taRiCe || (version < kFirstModelUnitVersion && m_textAlign > kLastLegacyAlign)))
        m_textAlign = taLeTo;
    visitor.Bool("Bold", m_bold);
    visitor.Bool("Italic", m_italic);
    visitor.Bool("Underline", m_underline);
    visitor.Bool("Shadow", m_shadow);
    visitor.Color("ShadowColor", m_shadowColor);
    visitor.I32("GapX", m_gapX);
    visitor.I32("GapY", m_gapY);
    if (reading && version < kFirstModelUnitVersion) {
        ScaleLegacyLength(m_gapX);
        ScaleLegacyLength(m_gapY);
    }
    m_template.VisitFields(visitor);
}

// ---- TZVShadowDataText ----

void TZVShadowDataText::PaintLine(TZVCanvas& canvas, TPoint offset, int target, const QString& text)
{
    canvas.SaveDC();
    SelectTextFont(canvas, m_color);
    const TZVBrush back{m_backColor, m_transparent ? bsClear : bsSolid};
    canvas.SelectBrush(back);
    const TZVSize extent = canvas.GetTextExtentPoint(text);
    PlaceBox(extent.cx, extent.cy);

    const TPoint anchor{m_x1, m_y1};
    TPoint topLeft{m_boxLeft, m_boxTop};
    const auto plus = [](int a, std::int64_t b) { return SaturateToInt(a + b); };
    const std::int64_t inset = m_showBorder ? m_penWidth : 0;
    TPoint origin{plus(m_boxLeft, (m_showBorder ? m_paddingX : 0) + inset),
                  plus(m_boxTop, (m_showBorder ? m_paddingY : 0) + inset)};
    TPoint shadowOrigin{plus(origin.X, m_gapX), plus(origin.Y, m_gapY)};
    // The cells the text and its shadow cover, for filling them at once below.
    TRect cell{origin.X, origin.Y, plus(origin.X, extent.cx), plus(origin.Y, extent.cy)};
    TRect shadowCell{shadowOrigin.X, shadowOrigin.Y, plus(shadowOrigin.X, extent.cx),
                     plus(shadowOrigin.Y, extent.cy)};
    if (m_angle > 0) {
        RotatePoint(topLeft, anchor, m_angle);
        RotatePoint(origin, anchor, m_angle);
        RotatePoint(shadowOrigin, anchor, m_angle);
        RotateRectQuarter(cell, anchor, m_angle);
        RotateRectQuarter(shadowCell, anchor, m_angle);
    }
    TRect box{topLeft.X, topLeft.Y, m_x2, m_y2};
    NormalizeRect(box);
    if (target == ptEditor) m_modelRect = box;

    const auto at = [&](TPoint p) { return TPoint{plus(p.X, offset.X), plus(p.Y, offset.Y)}; };
    const auto shifted = [&](TRect r) {
        NormalizeRect(r);
        return TRect{plus(r.Left, offset.X), plus(r.Top, offset.Y), plus(r.Right, offset.X),
                     plus(r.Bottom, offset.Y)};
    };

    if (m_showBorder) {
        canvas.SelectPen(m_penWidth > 0 ? TZVPen{m_borderColor, m_penWidth, psInsideFrame}
                                        : TZVPen{m_borderColor, 0, psClear});
        // Normalised first, so that the extra unit that makes the frame inclusive lies outside
        // the box at every angle.
        const TRect frame = shifted(TRect{box.Left, box.Top, plus(box.Right, 1), plus(box.Bottom, 1)});
        if (m_borderRadio != 0)
            canvas.RoundRect(frame.Left, frame.Top, frame.Right, frame.Bottom, m_borderRadio, m_borderRadio);
        else
            canvas.Rectangle(frame.Left, frame.Top, frame.Right, frame.Bottom);
        // The frame has filled the box already.
        canvas.SelectBrush({m_backColor, bsClear});
    }

    if (m_shadow) {
        // An opaque text cell drawn after the shadow would wipe out most of it: fill both cells
        // first and draw the glyphs without background (the cells of other angles are not
        // upright, so there the shadow's own cell is filled and the text's is left).
        const bool opaqueCells = !m_transparent && !m_showBorder;
        const bool upright = isQuarterTurn(m_angle);
        if (opaqueCells && upright) {
            canvas.FillRect(shifted(shadowCell));
            canvas.FillRect(shifted(cell));
            canvas.SelectBrush({m_backColor, bsClear});
        }
        SelectTextFont(canvas, m_shadowColor);
        const TPoint s = at(shadowOrigin);
        canvas.ExtTextOut(s.X, s.Y, text);
        if (opaqueCells && !upright) canvas.SelectBrush({m_backColor, bsClear});
        SelectTextFont(canvas, m_color);
    }
    const TPoint o = at(origin);
    canvas.ExtTextOut(o.X, o.Y, text);
    canvas.RestoreDC();
}

// ---- TZVText ----

TZVText::TZVText(TZVCustomLab& owner) : TZVShadowDataText(owner, 0)
{
    NameElement(QStringLiteral("Text"));
}

QString TZVText::line(int target, bool data)
{
    QString text = content(target, data, m_displayFormat);
    if (target != ptEditor) {
        if (Owner()->OnPrintText) Owner()->OnPrintText(this, m_id, text);
    } else if (text.isEmpty()) {
        // An empty text would leave nothing to see or grab in the designer.
        text = QStringLiteral("-");
        if (m_text.isEmpty()) m_text = text;
    }
    return text;
}

void TZVText::PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data)
{
    PaintLine(canvas, offset, target, line(target, data));
}

std::optional<QString> TZVText::PrintedContent()
{
    return line(ptPrinter, RunPrintsRecords(*Owner()));
}

// ---- TZVAddText ----

TZVAddText::TZVAddText(TZVCustomLab& owner) : TZVShadowDataText(owner, 0)
{
    NameElement(QStringLiteral("AddText"));
}

QString TZVAddText::line(int target, bool data) const
{
    return m_before + content(target, data, m_displayFormat) + m_after;
}

void TZVAddText::PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data)
{
    PaintLine(canvas, offset, target, line(target, data));
}

std::optional<QString> TZVAddText::PrintedContent()
{
    return line(ptPrinter, RunPrintsRecords(*Owner()));
}

void TZVAddText::VisitFields(TZVFieldVisitor& visitor)
{
    TZVShadowDataText::VisitFields(visitor);
    const bool ansi = visitor.Version() <= kLastAnsiTextVersion;
    visitor.WStr("Before", m_before, ansi);
    visitor.WStr("After", m_after, ansi);
}

// ---- TZVAskText ----

TZVAskText::TZVAskText(TZVCustomLab& owner) : TZVShadowDataText(owner, 0)
{
    NameElement(QStringLiteral("AskText"));
}

// An empty answer would leave nothing to see.
QString TZVAskText::shown(int target) const
{
    if (auto filled = m_template.Content(*Owner(), target)) return *filled;
    return m_answer.isEmpty() ? QStringLiteral(".") : m_answer;
}

void TZVAskText::PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool)
{
    PaintLine(canvas, offset, target, shown(target));
}

std::optional<QString> TZVAskText::PrintedContent()
{
    return shown(ptPrinter);
}

void TZVAskText::VisitFields(TZVFieldVisitor& visitor)
{
    TZVShadowDataText::VisitFields(visitor);
    const bool ansi = visitor.Version() <= kLastAnsiTextVersion;
    visitor.WStr("Question", m_question, ansi);
    visitor.WStr("Answer", m_answer, ansi);
}

} // namespace zorvel
