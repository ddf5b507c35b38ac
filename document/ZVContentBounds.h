// Where a label's content lands: a canvas that measures drawing instead of doing it, and the
// length a roll label takes from it.
#pragma once

#include "foundation/ZVCanvas.h"
#include "zorvel_core_export.h"

#include <QPicture>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace zorvel {

class TZVQtCanvas;

/// Draws nothing and notes the box that the drawing calls would cover, in logical units. Mapping,
/// tools and text metrics are the inner canvas's (it receives every call but the drawing ones),
/// so text measures as it would on the page. Clipping is not applied.
class ZORVEL_CORE_EXPORT TZVBoundsCanvas final : public TZVCanvas
{
public:
    /// `inner` (not owned) answers the queries and keeps the state.
    explicit TZVBoundsCanvas(TZVCanvas& inner) : m_inner(inner) {}

    /// The box covered so far; nullopt when nothing was drawn.
    const std::optional<TRect>& Bounds() const { return m_bounds; }

    int GetDeviceCaps(TZVDeviceCap cap) const override { return m_inner.GetDeviceCaps(cap); }
    void SetMapMode(TZVMapMode mode) override { m_inner.SetMapMode(mode); }
    void SetWindowOrgEx(int x, int y) override { m_inner.SetWindowOrgEx(x, y); }
    void SetWindowExtEx(int cx, int cy) override { m_inner.SetWindowExtEx(cx, cy); }
    void SetViewportOrgEx(int x, int y) override { m_inner.SetViewportOrgEx(x, y); }
    void SetViewportExtEx(int cx, int cy) override { m_inner.SetViewportExtEx(cx, cy); }
    TZVMapping GetMapping() const override { return m_inner.GetMapping(); }
    using TZVCanvas::LPtoDP;
    TPoint LPtoDP(TPoint p) const override { return m_inner.LPtoDP(p); }
    TPoint DPtoLP(TPoint p) const override { return m_inner.DPtoLP(p); }

    void SaveDC() override;
    void RestoreDC() override;

    void SelectPen(const TZVPen& pen) override;
    void SelectBrush(const TZVBrush& brush) override;
    void SelectFont(const TZVFont& font) override;
    void SetROP2(TZVRop2 mode) override { m_inner.SetROP2(mode); }

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Polyline(std::span<const TPoint> points) override;

    void Rectangle(int left, int top, int right, int bottom) override;
    void RoundRect(int left, int top, int right, int bottom, int, int) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Pie(int left, int top, int right, int bottom, int, int, int, int) override;
    void FillRect(const TRect& r) override;
    void FillRects(std::span<const TRect> rects) override;
    void SetPixel(int x, int y, TZVColor) override { note(x, y, x + 1, y + 1); }

    void SetTextAlign(unsigned align) override;
    void SetTextCharacterExtra(int extra) override { m_inner.SetTextCharacterExtra(extra); }
    void SetTextJustification(int breakExtra, int breakCount) override
    {
        m_inner.SetTextJustification(breakExtra, breakCount);
    }
    void ExtTextOut(int x, int y, const QString& text) override;
    TZVSize GetTextExtentPoint(const QString& text) const override { return m_inner.GetTextExtentPoint(text); }
    TZVTextMetric GetTextMetrics() const override { return m_inner.GetTextMetrics(); }

    void SelectClipRgn(const TZVRegion* region) override { m_inner.SelectClipRgn(region); }
    void OffsetClipRgn(int dx, int dy) override { m_inner.OffsetClipRgn(dx, dy); }

    void StretchDraw(const TRect& dest, const QImage&) override { fillBox(dest); }
    void StretchDrawPicture(const TRect& dest, const QPicture&) override { fillBox(dest); }

private:
    struct State
    {
        TZVPen Pen;
        TZVBrush Brush;
        int Escapement = 0;
        unsigned TextAlign = 0;
        TPoint Position;
    };

    void note(double left, double top, double right, double bottom);
    // A box of any corner order, with the pen's outline and the brush's fill.
    void shape(int left, int top, int right, int bottom);
    void fillBox(const TRect& r);
    // Half the pen's width beyond a line or centred outline.
    double reach() const;

    TZVCanvas& m_inner;
    State m_state;
    std::vector<State> m_saved;
    std::optional<TRect> m_bounds;
};

/// Measures the printed elements of one label after another on a canvas of its own, whose
/// page is the paper at `dpi`; one probe serves a whole run.
class ZORVEL_CORE_EXPORT TZVLengthProbe
{
public:
    /// The paper as it lies, model units.
    TZVLengthProbe(int paperWidth, int paperHeight, int dpi = 600);
    ~TZVLengthProbe();
    Q_DISABLE_COPY_MOVE(TZVLengthProbe)

    /// The box `paint` draws in, model units; nullopt when it draws nothing.
    std::optional<TRect> Measure(const std::function<void(TZVCanvas&)>& paint);

private:
    QPicture m_picture;
    std::unique_ptr<TZVQtCanvas> m_canvas;
};

/// A roll label's length, model units, for the content box `content` measured from the label's
/// top-left corner: the bottom of the content plus the space above it, kept within 5 mm and
/// `height` (the label's Height, the longest the roll allows); 5 mm for a label without content.
ZORVEL_CORE_EXPORT int AutoLabelLength(const std::optional<TRect>& content, int height);

} // namespace zorvel
