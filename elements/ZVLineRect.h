// The geometric elements: the line between two end points and the rectangle or ellipse.
#pragma once

#include "document/ZVElement.h"

namespace zorvel {

/// A straight line between (X1, Y1) and (X2, Y2), drawn with the pen.
class ZORVEL_CORE_EXPORT TZVLine : public TZVBase1D
{
    Q_OBJECT
    Q_PROPERTY(QString ID READ ID WRITE SetID)
    Q_PROPERTY(float X2 READ GetX2 WRITE SetX2)
    Q_PROPERTY(float Y2 READ GetY2 WRITE SetY2)
    Q_PROPERTY(float PenWidth READ GetPenWidth WRITE SetPenWidth)

public:
    /// LineOrientation values; 0 while the line is not drawn yet.
    enum : std::int16_t
    {
        loNone = 0,
        loVertical = 1,
        loHorizontal,
        loRising,
        loFalling
    };
    /// X1 and X2 hold this until the editor has set both end points.
    static constexpr int kNotDrawn = -1;

    /// A new line of `owner`, which lists and owns it; its ends are kNotDrawn until placed.
    explicit TZVLine(TZVCustomLab& owner);

    std::uint8_t ElementKind() const override { return ekLine; }

    void SetX1(float value) override;
    void SetY1(float value) override;
    void SetX2(float value) override;
    void SetY2(float value) override;
    void SetStartPoint(int x, int y) override;
    void SetEndPoint(int x, int y) override;
    /// Orders the end points left to right (top to bottom when vertical) and sets LineOrientation.
    void Normalize() override;
    bool HitTest(TPoint point) const override;
    void PlaceAnchor(int L, int T, int R, int B) override;
    void VisitFields(TZVFieldVisitor& visitor) override;

    /// Half the width across the line that selection and placement use: half the pen, at least 0.5 mm.
    int HalfBand() const;
    /// The line's box widened across its direction by HalfBand, model units.
    TRect SelectionBox() const;

protected:
    void AfterPlacement() override { Normalize(); }
    void PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data) override;
    bool SilencedWithoutPrinterOutput() const override { return true; }
};

/// A rectangle or ellipse filling its box, with optional rounded corners.
class ZORVEL_CORE_EXPORT TZVRect : public TZVBaseEx2D
{
    Q_OBJECT
    Q_PROPERTY(QString ID READ ID WRITE SetID)
    Q_PROPERTY(float Radio READ GetRadio WRITE SetRadio)
    Q_PROPERTY(bool Ellipse READ Ellipse WRITE SetEllipse)
    Q_PROPERTY(bool Locked READ Locked WRITE SetLocked)
    Q_PROPERTY(float PenWidth READ GetPenWidth WRITE SetPenWidth)

public:
    /// A new rectangle of `owner`, which lists and owns it.
    explicit TZVRect(TZVCustomLab& owner);

    std::uint8_t ElementKind() const override { return ekRect; }

    /// Width and height of the corner ellipse: model units, the label's unit for GetRadio and SetRadio.
    /// @{
    int Radio() const { return m_radio; }
    float GetRadio() const;
    void SetRadio(float value);
    /// @}
    /// Draws the ellipse inscribed in the box instead of a rectangle.
    /// @{
    bool Ellipse() const { return m_ellipse; }
    void SetEllipse(bool value) { setField(m_ellipse, value, "Circle"); }
    /// @}

    bool HitTest(TPoint point) const override;
    void VisitFields(TZVFieldVisitor& visitor) override;

protected:
    void PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data) override;
    bool SilencedWithoutPrinterOutput() const override { return true; }

private:
    int m_radio = 0;
    bool m_ellipse = false;
};

} // namespace zorvel
