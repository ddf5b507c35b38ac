// The symbol element: defaults, its setters, placement and its persisted fields.
#include "elements/ZVSymbol.h"

#include "document/ZVCustomLab.h"
#include "document/ZVFieldVisitor.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVUtils.h"

namespace zorvel {

TZVSymbol::TZVSymbol(TZVCustomLab& owner) : TZVData(owner, 0)
{
    NameElement(QStringLiteral("Symbol"));
}

// Notifies on every call: the symbol dialog sets the character it shows even when unchanged.
void TZVSymbol::SetCharacter(QChar value)
{
    m_symbolAlt = 0;
    m_character = value;
    m_symbolPage = value.unicode() / kCharactersPerPage;
    Changed("Symbol");
}

void TZVSymbol::PlaceAnchor(int L, int T, int R, int B)
{
    PlaceCornerByAngle(L, T, R, B);
}

bool TZVSymbol::fieldSetsMark() const
{
    const TZVDataSet* dataSet = m_owner->DataSet();
    const TZVField* field = dataSet && dataSet->Active() ? dataSet->FindField(m_boundField) : nullptr;
    // Without a field to ask, or with a kind that is no yes/no answer, the mark is printed.
    if (!field) return true;
    if (IsIntegerKind(field->Kind())) return !field->IsNull() && field->AsInteger() == 1;
    if (field->Kind() == fkBoolean) return !field->IsNull() && field->AsBoolean();
    return true;
}

void TZVSymbol::PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data)
{
    if ((target == ptPrinter || target == ptPreviewPage) && data && m_data && !fieldSetsMark()) return;
    TZVFont font;
    font.Name = m_fontName;
    font.Height = m_fontHeight;
    font.Escapement = EscapementOf(m_angle);
    font.Bold = m_bold;
    font.Color = m_color;
    canvas.SelectFont(font);
    canvas.SetTextAlign(taLeft | taTop);
    canvas.SelectBrush({m_backColor, m_transparent ? bsClear : bsSolid});

    const QString text(m_character);
    const TPoint anchor{m_x1, m_y1};
    // Stored sizes may be any int: summed in 64 bits, a huge symbol saturates instead of wrapping.
    const auto plus = [](int a, std::int64_t b) { return SaturateToInt(a + b); };
    std::int64_t cx = m_fontHeight;
    std::int64_t cy = m_fontHeight;
    if (m_symbolAlt == 0) {
        const TZVSize size = canvas.GetTextExtentPoint(text);
        cx = size.cx;
        cy = size.cy;
    }
    TPoint origin = anchor;
    if (m_showBorder) {
        const std::int64_t insetX = std::int64_t(m_paddingX) + m_penWidth;
        const std::int64_t insetY = std::int64_t(m_paddingY) + m_penWidth;
        cx += 2 * insetX;
        cy += 2 * insetY;
        origin = {plus(m_x1, insetX), plus(m_y1, insetY)};
    }
    TPoint corner{plus(m_x1, cx), plus(m_y1, cy)};
    if (m_angle > 0) {
        RotatePoint(corner, anchor, m_angle);
        RotatePoint(origin, anchor, m_angle);
    }
    // The far corner follows the measured character, so that nudging, aligning and the saved
    // record know the symbol's extent.
    m_x2 = corner.X;
    m_y2 = corner.Y;
    m_modelRect = {anchor.X, anchor.Y, corner.X, corner.Y};
    NormalizeRect(m_modelRect);
    if (m_showBorder) {
        canvas.SelectPen(m_penWidth > 0 ? TZVPen{m_borderColor, m_penWidth, psInsideFrame}
                                        : TZVPen{m_borderColor, 0, psClear});
        const int left = plus(m_modelRect.Left, offset.X);
        const int top = plus(m_modelRect.Top, offset.Y);
        const int right = plus(m_modelRect.Right, std::int64_t(offset.X) + 1);
        const int bottom = plus(m_modelRect.Bottom, std::int64_t(offset.Y) + 1);
        if (m_borderRadio != 0)
            canvas.RoundRect(left, top, right, bottom, m_borderRadio, m_borderRadio);
        else
            canvas.Rectangle(left, top, right, bottom);
    }
    // A stored alternative symbol has no character this system can draw: only its frame shows.
    if (m_symbolAlt == 0) canvas.ExtTextOut(plus(origin.X, offset.X), plus(origin.Y, offset.Y), text);
}

void TZVSymbol::VisitFields(TZVFieldVisitor& visitor)
{
    TZVData::VisitFields(visitor);
    const std::int32_t version = visitor.Version();
    if (version <= 20) visitor.U8("LegacyCharacter", m_legacyCharacter);
    if (version > 18) {
        std::uint16_t code = m_character.unicode();
        visitor.U16("Character", code);
        m_character = QChar(code);
    }
    visitor.Bool("Bold", m_bold);
    if (version > 18) {
        visitor.I32("SymbolPage", m_symbolPage);
        visitor.I32("SymbolReserved", m_symbolReserved);
    }
    if (version >= 20) visitor.I32("SymbolAlt", m_symbolAlt);
    // The one-byte character of old layouts is a code of the symbol font, not a code page
    // character, so its ordinal is kept as the character code.
    if (visitor.Reading() && version <= 20) m_character = QChar(char16_t(m_legacyCharacter));
}

} // namespace zorvel
