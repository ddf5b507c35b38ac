// The paragraph element: multi-line text flowed into a box.
#pragma once

#include "elements/ZVTextElements.h"

namespace zorvel {

/// Multi-line text flowed into its box, of fixed content or of the bound field's value.
class ZORVEL_CORE_EXPORT TZVParagraph : public TZVDataText
{
    Q_OBJECT
    Q_PROPERTY(QString ID READ ID WRITE SetID)
    Q_PROPERTY(float X2 READ GetX2 WRITE SetX2)
    Q_PROPERTY(float Y2 READ GetY2 WRITE SetY2)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(QString Template READ Template WRITE SetTemplate)
    Q_PROPERTY(int Angle READ Angle WRITE SetAngle)
    Q_PROPERTY(zorvel::TTextFormat Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(float PenWidth READ GetPenWidth WRITE SetPenWidth)
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(bool ShowBorder READ ShowBorder WRITE SetShowBorder)

public:
    /// A new paragraph of `owner`, which lists and owns it.
    explicit TZVParagraph(TZVCustomLab& owner);

    std::uint8_t ElementKind() const override { return ekParagraph; }

    /// Line alignment inside the box.
    /// @{
    TTextFormat Alignment() const { return m_alignment; }
    void SetAlignment(TTextFormat value) { setField(m_alignment, value, "TextAlign"); }
    /// @}

    /// The paragraph is a box whatever its angle: both corners follow the dragged rectangle.
    void SetScreenRect(const TRect& value) override;
    void PlaceAnchor(int L, int T, int R, int B) override;
    void VisitFields(TZVFieldVisitor& visitor) override;
    /// The text flowed (the template's expansion, the bound value or Text).
    std::optional<QString> PrintedContent() override;

protected:
    void PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data) override;

private:
    TTextFormat m_alignment = tfLeft;
};

} // namespace zorvel
