// Single-line text elements: setters, anchor placement and the text part of their records.
#include "elements/ZVTextElements.h"

#include "document/ZVCustomLab.h"
#include "document/ZVFieldVisitor.h"
#include "elements/ZVLegacyLength.h"
#include "foundation/ZVUtils.h"

#include <algorithm>
#include <limits>

namespace zorvel {
namespace {

int saturate(std::int64_t v)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Older layouts knew only the six top and bottom anchors.
constexpr std::uint8_t kLastLegacyAlign = taRiTo;
constexpr std::int32_t kLastAnsiTextVersion = 18;

} // namespace

std::optional<TPoint> TextAnchorInBox(const TRect& box, TTextAlign align, int angle)
{
    const int a = align <= taRiCe ? align : taLeTo;
    // Along the reading direction: 0 left, 1 centre, 2 right. Across it: 0 top, 1 middle, 2 bottom.
    const int along = a % 3;
    const int across = a / 3 == 1 ? 0 : a / 3 == 2 ? 1 : 2;
    const int midX = (box.Left + box.Right) / 2;
    const int midY = (box.Top + box.Bottom) / 2;
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

void TZVDataText::SetText(const QString& value)
{
    if (value == m_text) return;
    m_text = value;
    Changed("Text");
}

void TZVDataText::SetDisplayFormat(const QString& value)
{
    if (value == m_displayFormat) return;
    m_displayFormat = value;
    SetModified();
}

void TZVDataText::SetTextAlign(TTextAlign value)
{
    const auto align = static_cast<std::uint8_t>(value <= taRiCe ? value : taLeTo);
    if (align == m_textAlign) return;
    m_textAlign = align;
    Changed("TextAlign");
}

void TZVDataText::SetBold(bool value)
{
    if (value == m_bold) return;
    m_bold = value;
    Changed("Bold");
}

void TZVDataText::SetItalic(bool value)
{
    if (value == m_italic) return;
    m_italic = value;
    Changed("Italic");
}

void TZVDataText::SetUnderline(bool value)
{
    if (value == m_underline) return;
    m_underline = value;
    Changed("Underline");
}

void TZVDataText::SetShadow(bool value)
{
    if (value == m_shadow) return;
    m_shadow = value;
    Changed("Shadow");
}

void TZVDataText::SetShadowColor(TZVColor value)
{
    if (value == m_shadowColor) return;
    m_shadowColor = value;
    Changed("ShadowColor");
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
    m_separation = saturate(MmToModel(millimetres));
    Changed("Distance");
}

void TZVDataText::PlaceBox(int textWidth, int textHeight)
{
    int w = textWidth;
    int h = textHeight;
    if (m_shadow) {
        w += m_gapX;
        h += m_gapY;
    }
    if (m_showBorder) {
        w += 2 * m_paddingX + 2 * m_penWidth;
        h += 2 * m_paddingY + 2 * m_penWidth;
    }
    const int align = m_textAlign <= taRiCe ? int(m_textAlign) : int(taLeTo);
    const int column = align % 3;
    const int row = align / 3; // 0 bottom, 1 top, 2 middle
    m_boxWidth = w;
    m_boxHeight = h;
    m_boxLeft = column == 0 ? m_x1 : column == 1 ? m_x1 - w / 2 : m_x1 - w;
    m_boxTop = row == 0 ? m_y1 - h : row == 1 ? m_y1 : m_y1 - h / 2;
    TPoint corner{m_boxLeft + w, m_boxTop + h};
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
    if (value == m_screenRect) return;
    m_screenRect = value;
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
}

// ---- TZVText ----

TZVText::TZVText(TZVCustomLab& owner) : TZVShadowDataText(owner, 0)
{
    NameElement(QStringLiteral("Text"));
}

// ---- TZVAddText ----

TZVAddText::TZVAddText(TZVCustomLab& owner) : TZVShadowDataText(owner, 0)
{
    NameElement(QStringLiteral("AddText"));
}

void TZVAddText::SetBefore(const QString& value)
{
    if (value == m_before) return;
    m_before = value;
    Changed("Before");
}

void TZVAddText::SetAfter(const QString& value)
{
    if (value == m_after) return;
    m_after = value;
    Changed("After");
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

void TZVAskText::SetQuestion(const QString& value)
{
    if (value == m_question) return;
    m_question = value;
    Changed("Question");
}

void TZVAskText::SetAnswer(const QString& value)
{
    if (value == m_answer) return;
    m_answer = value;
    SetModified();
}

void TZVAskText::VisitFields(TZVFieldVisitor& visitor)
{
    TZVShadowDataText::VisitFields(visitor);
    const bool ansi = visitor.Version() <= kLastAnsiTextVersion;
    visitor.WStr("Question", m_question, ansi);
    visitor.WStr("Answer", m_answer, ansi);
}

} // namespace zorvel
