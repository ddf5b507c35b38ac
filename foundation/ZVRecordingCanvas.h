// TZVRecordingCanvas: a canvas that logs every drawing and state call, for tests, optionally passing them on.
#pragma once

#include "foundation/ZVCanvas.h"
#include "zorvel_core_export.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvel {

/// One call: its operation name, its integer arguments in declaration order, its text (output text, font
/// face) and its line in the log, e.g. "Rectangle(0, 0, 101, 101)". In Args enumerations are their values,
/// a pen is colour, width, style, cap, join; a font height, escapement, colour, bold, italic, underline,
/// strike-out; a region shape, left, top, right, bottom per part; point and rectangle lists are flattened.
struct TZVCanvasCall
{
    std::string Op; ///< operation name, e.g. "Rectangle"
    std::vector<int> Args; ///< integer arguments in declaration order
    QString Text; ///< output text or font face; empty for other calls
    std::string Line; ///< the whole log line
    /// Equal when every field is.
    friend bool operator==(const TZVCanvasCall&, const TZVCanvasCall&) = default;
};

/// Logs the calls that change the state or the output; queries (metrics, extents, LPtoDP, caps) are not
/// logged. With an inner canvas every call is passed on and the queries are answered by it, so text is
/// measured by a real font. Without one, the recorder keeps the mapping itself and measures text with a
/// fixed font: the cell is the font height (a negative height counts as its size, 0 as 12), the ascent
/// four fifths of it, every character half the cell wide, plus character extra and justification.
class ZORVEL_CORE_EXPORT TZVRecordingCanvas final : public TZVCanvas
{
public:
    /// `inner` (may be null, not owned) receives every call; `caps` answers GetDeviceCaps without one.
    explicit TZVRecordingCanvas(TZVCanvas* inner = nullptr, const TZVDeviceCaps& caps = {});

    /// Every logged call, oldest first.
    const std::vector<TZVCanvasCall>& Calls() const { return m_calls; }
    /// The log lines, all or those of one operation.
    /// @{
    std::vector<std::string> Log() const;
    std::vector<std::string> Log(std::string_view op) const;
    /// @}
    /// Forgets the calls logged so far.
    void Clear() { m_calls.clear(); }

    int GetDeviceCaps(TZVDeviceCap cap) const override;

    void SetMapMode(TZVMapMode mode) override;
    void SetWindowOrgEx(int x, int y) override;
    void SetWindowExtEx(int cx, int cy) override;
    void SetViewportOrgEx(int x, int y) override;
    void SetViewportExtEx(int cx, int cy) override;
    TZVMapping GetMapping() const override;
    using TZVCanvas::LPtoDP;
    TPoint LPtoDP(TPoint p) const override;
    TPoint DPtoLP(TPoint p) const override;

    void SaveDC() override;
    void RestoreDC() override;

    void SelectPen(const TZVPen& pen) override;
    void SelectBrush(const TZVBrush& brush) override;
    void SelectFont(const TZVFont& font) override;
    void SetROP2(TZVRop2 mode) override;

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Polyline(std::span<const TPoint> points) override;

    void Rectangle(int left, int top, int right, int bottom) override;
    void RoundRect(int left, int top, int right, int bottom, int width, int height) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Pie(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) override;
    void FillRect(const TRect& r) override;
    void FillRects(std::span<const TRect> rects) override;
    void SetPixel(int x, int y, TZVColor color) override;

    void SetTextAlign(unsigned align) override;
    void SetTextCharacterExtra(int extra) override;
    void SetTextJustification(int breakExtra, int breakCount) override;
    void ExtTextOut(int x, int y, const QString& text) override;
    TZVSize GetTextExtentPoint(const QString& text) const override;
    TZVTextMetric GetTextMetrics() const override;

    void SelectClipRgn(const TZVRegion* region) override;
    void OffsetClipRgn(int dx, int dy) override;

    void StretchDraw(const TRect& dest, const QImage& image) override;
    void StretchDrawPicture(const TRect& dest, const QPicture& picture) override;

private:
    // What the recorder needs to answer queries without an inner canvas.
    struct TState
    {
        TZVMapping Mapping;
        TZVFont Font;
        int CharExtra = 0;
        int BreakExtra = 0;
        int BreakCount = 0;
    };

    void record(std::string op, std::vector<int> args, std::string line, QString text = {});
    int fixedCell() const;

    TZVCanvas* m_inner;
    TZVDeviceCaps m_caps;
    TState m_state;
    std::vector<TState> m_saved;
    std::vector<TZVCanvasCall> m_calls;
};

} // namespace zorvel
