// The paragraph element: alignment, box placement and its record.
#include "elements/ZVParagraph.h"

#include "document/ZVFieldVisitor.h"

namespace zorvel {

TZVParagraph::TZVParagraph(TZVCustomLab& owner) : TZVDataText(owner, 3)
{
    NameElement(QStringLiteral("Paragraph"));
}

void TZVParagraph::SetAlignment(TTextFormat value)
{
    if (value == m_alignment) return;
    m_alignment = value;
    Changed("TextAlign");
}

// Taking the anchor rule of single-line texts here would put both corners on the same edge of
// the box for a turned paragraph (or one whose stored TextAlign is not left-top); the layout
// frame already turns inside the box, so the box itself always spans the rectangle.
void TZVParagraph::SetScreenRect(const TRect& value)
{
    if (value == m_screenRect) return;
    m_screenRect = value;
    PlaceAnchor(DeviceToModelX(value.Left), DeviceToModelY(value.Top), DeviceToModelX(value.Right),
                DeviceToModelY(value.Bottom));
    ClearAnchoring();
    SetModified();
}

void TZVParagraph::PlaceAnchor(int L, int T, int R, int B)
{
    TZVElement::PlaceAnchor(L, T, R, B);
}

void TZVParagraph::VisitFields(TZVFieldVisitor& visitor)
{
    TZVDataText::VisitFields(visitor);
    visitor.Enum("Alignment", m_alignment);
}

} // namespace zorvel
