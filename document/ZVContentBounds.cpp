// The bounds canvas, the probe that paints a label on it, and the length of a roll label.
#include "document/ZVContentBounds.h"

#include "foundation/ZVUtils.h"
#include "platform/ZVQtCanvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace zorvel {
namespace {

// The shortest label: 5 mm.
constexpr int kMinLabelLength = 500;

int floorInt(double v)
{
    return SaturateToInt(static_cast<std::int64_t>(std::floor(std::clamp(v, -9.0e15, 9.0e15))));
}

int ceilInt(double v)
{
    return SaturateToInt(static_cast<std::int64_t>(std::ceil(std::clamp(v, -9.0e15, 9.0e15))));
}

} // namespace

void TZVBoundsCanvas::SaveDC()
{
    m_inner.SaveDC();
    m_saved.push_back(m_state);
}

void TZVBoundsCanvas::RestoreDC()
{
    m_inner.RestoreDC();
    if (m_saved.empty()) return;
    m_state = m_saved.back();
    m_saved.pop_back();
}

void TZVBoundsCanvas::SelectPen(const TZVPen& pen)
{
    m_inner.SelectPen(pen);
    m_state.Pen = pen;
}

void TZVBoundsCanvas::SelectBrush(const TZVBrush& brush)
{
    m_inner.SelectBrush(brush);
    m_state.Brush = brush;
}

void TZVBoundsCanvas::SelectFont(const TZVFont& font)
{
    m_inner.SelectFont(font);
    m_state.Escapement = font.Escapement;
}

void TZVBoundsCanvas::SetTextAlign(unsigned align)
{
    m_inner.SetTextAlign(align);
    m_state.TextAlign = align;
}

void TZVBoundsCanvas::note(double left, double top, double right, double bottom)
{
    TRect r{floorInt(std::min(left, right)), floorInt(std::min(top, bottom)), ceilInt(std::max(left, right)),
            ceilInt(std::max(top, bottom))};
    if (m_bounds) {
        r.Left = std::min(r.Left, m_bounds->Left);
        r.Top = std::min(r.Top, m_bounds->Top);
        r.Right = std::max(r.Right, m_bounds->Right);
        r.Bottom = std::max(r.Bottom, m_bounds->Bottom);
    }
    m_bounds = r;
}

double TZVBoundsCanvas::reach() const
{
    return m_state.Pen.Style == psClear ? 0.0 : m_state.Pen.Width / 2.0;
}

void TZVBoundsCanvas::MoveTo(int x, int y)
{
    m_inner.MoveTo(x, y);
    m_state.Position = {x, y};
}

void TZVBoundsCanvas::LineTo(int x, int y)
{
    m_inner.MoveTo(x, y);
    if (m_state.Pen.Style != psClear) {
        const double d = reach();
        const TPoint from = m_state.Position;
        note(std::min(from.X, x) - d, std::min(from.Y, y) - d, std::max(from.X, x) + d, std::max(from.Y, y) + d);
    }
    m_state.Position = {x, y};
}

void TZVBoundsCanvas::Polyline(std::span<const TPoint> points)
{
    if (points.empty() || m_state.Pen.Style == psClear) return;
    const double d = reach();
    for (const TPoint& p : points) note(p.X - d, p.Y - d, p.X + d, p.Y + d);
}

void TZVBoundsCanvas::shape(int left, int top, int right, int bottom)
{
    const bool outlined = m_state.Pen.Style != psClear;
    if (!outlined && m_state.Brush.Style == bsClear) return;
    // An inside-frame outline stays in the box; others are centred on its edge.
    const double d = outlined && m_state.Pen.Style != psInsideFrame ? reach() : 0.0;
    note(std::min(left, right) - d, std::min(top, bottom) - d, std::max(left, right) + d, std::max(top, bottom) + d);
}

void TZVBoundsCanvas::Rectangle(int left, int top, int right, int bottom)
{
    shape(left, top, right, bottom);
}

void TZVBoundsCanvas::RoundRect(int left, int top, int right, int bottom, int, int)
{
    shape(left, top, right, bottom);
}

void TZVBoundsCanvas::Ellipse(int left, int top, int right, int bottom)
{
    shape(left, top, right, bottom);
}

void TZVBoundsCanvas::Pie(int left, int top, int right, int bottom, int, int, int, int)
{
    shape(left, top, right, bottom);
}

void TZVBoundsCanvas::fillBox(const TRect& r)
{
    note(r.Left, r.Top, r.Right, r.Bottom);
}

void TZVBoundsCanvas::FillRect(const TRect& r)
{
    if (m_state.Brush.Style != bsClear) fillBox(r);
}

void TZVBoundsCanvas::FillRects(std::span<const TRect> rects)
{
    if (m_state.Brush.Style == bsClear) return;
    for (const TRect& r : rects) fillBox(r);
}

void TZVBoundsCanvas::ExtTextOut(int x, int y, const QString& text)
{
    if (text.isEmpty()) return;
    const TZVSize extent = m_inner.GetTextExtentPoint(text);
    const TZVTextMetric metric = m_inner.GetTextMetrics();
    // The text's box around its reference point, before turning.
    double left = 0;
    switch (m_state.TextAlign & taHorizontalMask) {
    case taRight:
        left = -extent.cx;
        break;
    case taCenter:
        left = -extent.cx / 2.0;
        break;
    default:
        break;
    }
    double top = 0;
    switch (m_state.TextAlign & taVerticalMask) {
    case taBottom:
        top = -extent.cy;
        break;
    case taBaseline:
        top = -metric.Ascent;
        break;
    default:
        break;
    }
    const double right = left + extent.cx;
    const double bottom = top + std::max(extent.cy, metric.Height);
    // Counterclockwise on a page whose y axis points down.
    const double a = m_state.Escapement / 10.0 * std::numbers::pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const std::array<std::array<double, 2>, 4> corners{{{left, top}, {right, top}, {left, bottom}, {right, bottom}}};
    for (const auto& [u, v] : corners) {
        const double px = x + u * c + v * s;
        const double py = y - u * s + v * c;
        note(px, py, px, py);
    }
}

TZVLengthProbe::TZVLengthProbe(int paperWidth, int paperHeight, int dpi)
{
    const QSize pixels(std::max(1, static_cast<int>(std::lround(paperWidth * double(dpi) / kModelPerInch))),
                       std::max(1, static_cast<int>(std::lround(paperHeight * double(dpi) / kModelPerInch))));
    TZVDeviceCaps caps;
    caps.DpiX = caps.DpiY = dpi;
    caps.Width = pixels.width();
    caps.Height = pixels.height();
    m_canvas = std::make_unique<TZVQtCanvas>(&m_picture, caps);
    m_canvas->SetMapMode(mmAnisotropic);
    m_canvas->SetWindowExtEx(std::max(paperWidth, 1), std::max(paperHeight, 1));
    m_canvas->SetViewportExtEx(pixels.width(), pixels.height());
}

TZVLengthProbe::~TZVLengthProbe() = default;

std::optional<TRect> TZVLengthProbe::Measure(const std::function<void(TZVCanvas&)>& paint)
{
    TZVBoundsCanvas bounds(*m_canvas);
    bounds.SaveDC();
    paint(bounds);
    bounds.RestoreDC();
    return bounds.Bounds();
}

int AutoLabelLength(const std::optional<TRect>& content, int height)
{
    const int longest = std::max(height, kMinLabelLength);
    if (!content) return kMinLabelLength;
    const std::int64_t above = std::max(content->Top, 0);
    return static_cast<int>(std::clamp<std::int64_t>(content->Bottom + above, kMinLabelLength, longest));
}

} // namespace zorvel
