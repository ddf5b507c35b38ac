// The line and the rectangle or ellipse: defaults, normalisation, placement and hit tests.
#include "elements/ZVLineRect.h"

#include "document/ZVCustomLab.h"
#include "document/ZVEditorLink.h"
#include "document/ZVFieldVisitor.h"
#include "document/ZVLegacyLength.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVUtils.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace zorvel {

namespace {

// Stored coordinates may lie anywhere in the int range: a sum beyond it saturates.
int plus(int a, std::int64_t b)
{
    return SaturateToInt(a + b);
}

bool contains(const TRect& r, TPoint p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

bool sameSign(std::int64_t a, std::int64_t b)
{
    return !((a < 0 && b > 0) || (a > 0 && b < 0));
}

} // namespace

// ---- TZVLine ----

TZVLine::TZVLine(TZVCustomLab& owner) : TZVBase1D(owner, 1)
{
    m_x1 = kNotDrawn;
    m_x2 = kNotDrawn;
    NameElement(QStringLiteral("Line"));
}

void TZVLine::SetX1(float value)
{
    TZVBase1D::SetX1(value);
    Normalize();
}

void TZVLine::SetY1(float value)
{
    TZVBase1D::SetY1(value);
    Normalize();
}

void TZVLine::SetX2(float value)
{
    TZVBase1D::SetX2(value);
    Normalize();
}

void TZVLine::SetY2(float value)
{
    TZVBase1D::SetY2(value);
    Normalize();
}

void TZVLine::SetStartPoint(int x, int y)
{
    TZVBase1D::SetStartPoint(x, y);
    Normalize();
}

void TZVLine::SetEndPoint(int x, int y)
{
    TZVBase1D::SetEndPoint(x, y);
    Normalize();
}

void TZVLine::Normalize()
{
    if (m_x1 == kNotDrawn || m_x2 == kNotDrawn) return;
    if (m_x2 < m_x1) {
        std::swap(m_x1, m_x2);
        std::swap(m_y1, m_y2);
    }
    if (m_x1 == m_x2) {
        if (m_y2 < m_y1) std::swap(m_y1, m_y2);
        m_lineOrientation = loVertical;
    } else if (m_y1 < m_y2) {
        m_lineOrientation = loFalling;
    } else if (m_y2 < m_y1) {
        m_lineOrientation = loRising;
    } else {
        m_lineOrientation = loHorizontal;
    }
}

int TZVLine::HalfBand() const
{
    return std::max(m_penWidth, 100) / 2;
}

TRect TZVLine::SelectionBox() const
{
    const int h = HalfBand();
    switch (m_lineOrientation) {
    case loVertical:
        return {plus(m_x1, -h), m_y1, plus(m_x2, h), m_y2};
    case loHorizontal:
        return {m_x1, plus(m_y1, -h), m_x2, plus(m_y2, h)};
    case loRising:
        return {m_x1, m_y2, m_x2, m_y1};
    default:
        return {m_x1, m_y1, m_x2, m_y2};
    }
}

// The box is the one SelectionBox gives, so a line dragged by its band keeps its place across it.
void TZVLine::PlaceAnchor(int L, int T, int R, int B)
{
    const int h = HalfBand();
    switch (m_lineOrientation) {
    case loVertical:
        m_x1 = m_x2 = plus(L, h);
        m_y1 = T;
        m_y2 = B;
        break;
    case loHorizontal:
        m_y1 = m_y2 = plus(T, h);
        m_x1 = L;
        m_x2 = R;
        break;
    case loRising:
        m_x1 = L;
        m_y1 = B;
        m_x2 = R;
        m_y2 = T;
        break;
    default:
        TZVBase1D::PlaceAnchor(L, T, R, B);
        break;
    }
}

bool TZVLine::HitTest(TPoint point) const
{
    const std::int64_t sx = ModelToDeviceX(m_x1);
    const std::int64_t sy = ModelToDeviceY(m_y1);
    const std::int64_t dx = ModelToDeviceX(m_x2) - sx;
    const std::int64_t dy = ModelToDeviceY(m_y2) - sy;
    const std::int64_t a = point.X - sx;
    const std::int64_t b = point.Y - sy;
    const std::int64_t cross = dx * b - dy * a;
    // Within two pixels of the line, measured along the axis the line runs closer to.
    if (dx != 0 && std::llabs(dy) < std::llabs(dx)) {
        if (!sameSign(a, dx) || std::llabs(a) > std::llabs(dx)) return false;
        return std::llabs(cross) <= std::llabs(2 * dx);
    }
    if (dy != 0) {
        if (!sameSign(b, dy)) return false;
        return std::llabs(b) <= std::llabs(dy) && std::llabs(cross) <= std::llabs(2 * dy);
    }
    return false;
}

void TZVLine::PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool)
{
    canvas.SelectPen({m_color, m_penWidth, psSolid, pcSquare, pjMiter});
    canvas.MoveTo(plus(m_x1, offset.X), plus(m_y1, offset.Y));
    canvas.LineTo(plus(m_x2, offset.X), plus(m_y2, offset.Y));
    m_modelRect = SelectionBox();
    if (target != ptEditor || !m_selected || m_handleKind != 1) return;
    // The glyphs are centred on the ends; ends in the far halves come one pixel back in view.
    const TZVEditorLink* editor = m_owner->Editor();
    const auto end = [&](int x, int y) {
        TPoint p = canvas.LPtoDP(TPoint{plus(x, offset.X), plus(y, offset.Y)});
        if (editor) {
            if (p.X > editor->SurfaceWidth() / 2) --p.X;
            if (p.Y > editor->SurfaceHeight() / 2) --p.Y;
        }
        return p;
    };
    m_owner->HandleMarks().push_back({1, end(m_x1, m_y1), end(m_x2, m_y2)});
}

void TZVLine::VisitFields(TZVFieldVisitor& visitor)
{
    TZVBase1D::VisitFields(visitor);
    if (visitor.Reading()) Normalize();
}

// ---- TZVRect ----

TZVRect::TZVRect(TZVCustomLab& owner) : TZVBaseEx2D(owner, 3)
{
    m_locked = false;
    NameElement(QStringLiteral("Rectangle"));
}

float TZVRect::GetRadio() const
{
    return FromModel(m_radio);
}

// An ellipse has no corners, so the radius is kept for later but changes nothing visible.
void TZVRect::SetRadio(float value)
{
    m_radio = ToModel(value);
    if (!m_ellipse) Changed("Radius");
}

bool TZVRect::HitTest(TPoint point) const
{
    const bool inside = TZVBaseEx2D::HitTest(point);
    if (!inside || m_locked) return inside;
    const bool filled = !m_transparent || m_penWidth <= 0;
    if (!m_ellipse) {
        if (filled) return true;
        // A see-through frame is picked by its outline only.
        const int band = std::max(ModelToDeviceX(m_penWidth), 2);
        const TRect hollow{m_screenRect.Left + band, m_screenRect.Top + band, m_screenRect.Right - band,
                           m_screenRect.Bottom - band};
        return !contains(hollow, point);
    }
    const double x = DeviceToModelX(point.X);
    const double y = DeviceToModelY(point.Y);
    const double cx = (m_x1 + m_x2) / 2.0;
    const double cy = (m_y1 + m_y2) / 2.0;
    const double rx = std::abs(m_x2 - m_x1) / 2.0;
    const double ry = std::abs(m_y2 - m_y1) / 2.0;
    if (rx <= 0 || ry <= 0) return true; // a flat ellipse is all outline
    const auto within = [&](double hx, double hy) {
        const double u = (x - cx) / hx;
        const double v = (y - cy) / hy;
        return u * u + v * v <= 1.0;
    };
    if (!within(rx, ry)) return false;
    if (filled) return true;
    const double innerRx = (2 * rx - 3.0 * m_penWidth) / 2.0;
    const double innerRy = (2 * ry - 3.0 * m_penWidth) / 2.0;
    if (innerRx <= 0 || innerRy <= 0) return true;
    return !within(innerRx, innerRy);
}

void TZVRect::PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool)
{
    canvas.SelectPen(m_penWidth > 0 ? TZVPen{m_color, m_penWidth, psInsideFrame}
                                    : TZVPen{m_color, 0, psClear});
    canvas.SelectBrush({m_backColor, m_transparent ? bsClear : bsSolid});
    const int left = plus(m_x1, offset.X);
    const int top = plus(m_y1, offset.Y);
    const int right = plus(m_x2, offset.X);
    const int bottom = plus(m_y2, offset.Y);
    if (m_ellipse)
        canvas.Ellipse(left, top, right, bottom);
    else if (m_radio != 0)
        canvas.RoundRect(left, top, plus(right, 1), plus(bottom, 1), m_radio, m_radio);
    else
        canvas.Rectangle(left, top, plus(right, 1), plus(bottom, 1));
    m_modelRect = {m_x1, m_y1, m_x2, m_y2};
    if (m_locked && target == ptEditor) PaintLockMarker(canvas, offset);
}

void TZVRect::VisitFields(TZVFieldVisitor& visitor)
{
    TZVBaseEx2D::VisitFields(visitor);
    visitor.I32("Radio", m_radio);
    visitor.Bool("Ellipse", m_ellipse);
    if (visitor.Reading() && visitor.Version() < 20) ScaleLegacyLength(m_radio);
}

} // namespace zorvel
