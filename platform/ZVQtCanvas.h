// TZVQtCanvas: the canvas over QPainter, for images, widgets, pictures, PDF writers and printers.
#pragma once

#include "foundation/ZVCanvas.h"
#include "zorvel_core_export.h"

#include <QFont>
#include <QHash>
#include <QPointF>
#include <QTransform>

#include <memory>
#include <optional>
#include <vector>

class QPaintDevice;
class QPainter;
class QPen;
class QRectF;

namespace zorvel {

/// Shapes are computed in device pixels (the mapping rounded like LPtoDP), so edges and pen widths land
/// on whole pixels on every device. Text is laid out in logical units with fonts sized in logical units
/// and then mapped, so it measures the same on screen, in pictures and on paper.
/// Raster operations need a raster device (QImage, QPixmap, a widget's backing store, or a QPicture played
/// onto one); on PDF writers and printers r2NotXorPen and r2XorPen draw as r2CopyPen.
class ZORVEL_CORE_EXPORT TZVQtCanvas final : public TZVCanvas
{
public:
    /// Paints on `device` with a painter of its own, which ends with the canvas.
    explicit TZVQtCanvas(QPaintDevice* device);
    /// Paints on `device` with a painter of its own, answering GetDeviceCaps with `caps`.
    TZVQtCanvas(QPaintDevice* device, const TZVDeviceCaps& caps);
    /// Paints through an active painter that stays the caller's. Its coordinates at this moment are the
    /// canvas's device pixels; its state is restored when the canvas goes. The canvas owns its clip.
    TZVQtCanvas(QPainter* painter, const TZVDeviceCaps& caps);
    ~TZVQtCanvas() override;

    /// Resolution and size of a device, without unprintable offsets. A QPicture has no size until drawn
    /// on: give its canvas the caps of the surface it stands for.
    static TZVDeviceCaps CapsOf(const QPaintDevice& device);
    /// The painter the canvas draws with; owned by the canvas unless the caller gave it.
    QPainter* Painter() const { return m_painter; }

    int GetDeviceCaps(TZVDeviceCap cap) const override;

    void SetMapMode(TZVMapMode mode) override;
    void SetWindowOrgEx(int x, int y) override;
    void SetWindowExtEx(int cx, int cy) override;
    void SetViewportOrgEx(int x, int y) override;
    void SetViewportExtEx(int cx, int cy) override;
    TZVMapping GetMapping() const override { return m_state.Mapping; }
    using TZVCanvas::LPtoDP;
    TPoint LPtoDP(TPoint p) const override { return m_state.Mapping.LPtoDP(p); }
    TPoint DPtoLP(TPoint p) const override { return m_state.Mapping.DPtoLP(p); }

    void SaveDC() override;
    void RestoreDC() override;

    void SelectPen(const TZVPen& pen) override { m_state.Pen = pen; }
    void SelectBrush(const TZVBrush& brush) override { m_state.Brush = brush; }
    void SelectFont(const TZVFont& font) override;
    void SetROP2(TZVRop2 mode) override { m_state.Rop = mode; }

    void MoveTo(int x, int y) override { m_state.Position = {x, y}; }
    void LineTo(int x, int y) override;
    void Polyline(std::span<const TPoint> points) override;

    void Rectangle(int left, int top, int right, int bottom) override;
    void RoundRect(int left, int top, int right, int bottom, int width, int height) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Pie(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) override;
    void FillRect(const TRect& r) override;
    void FillRects(std::span<const TRect> rects) override;
    void SetPixel(int x, int y, TZVColor color) override;
    /// On PDF writers only: there a symbol's boxes in whole modules under one transform write a
    /// fraction of the page content that boxes in device pixels do.
    bool FillModules(const TZVModuleBoxes& symbol) override;

    void SetTextAlign(unsigned align) override { m_state.TextAlign = align; }
    void SetTextCharacterExtra(int extra) override { m_state.CharExtra = extra; }
    void SetTextJustification(int breakExtra, int breakCount) override;
    void ExtTextOut(int x, int y, const QString& text) override;
    TZVSize GetTextExtentPoint(const QString& text) const override;
    TZVTextMetric GetTextMetrics() const override;

    void SelectClipRgn(const TZVRegion* region) override;
    void OffsetClipRgn(int dx, int dy) override;

    void StretchDraw(const TRect& dest, const QImage& image) override;
    void StretchDrawPicture(const TRect& dest, const QPicture& picture) override;

    bool WholeDotModules() const override { return m_wholeDots; }
    /// Raster outputs (PNG pages, bar code pictures) ask for bar code modules of whole pixels.
    void SetWholeDotModules(bool on) { m_wholeDots = on; }

private:
    struct TState
    {
        TZVMapping Mapping;
        TZVPen Pen;
        TZVBrush Brush;
        TZVFont Font;
        QFont QtFont; ///< Font sized in logical units
        unsigned TextAlign = taLeft | taTop;
        int CharExtra = 0;
        double BreakSpacing = 0; ///< extra advance of each break character
        TZVRop2 Rop = r2CopyPen;
        TPoint Position;
        std::optional<TZVRegion> Clip;
    };

    void init();
    QFont resolveFont(const TZVFont& font);
    QFont textFont() const;
    QRectF deviceBox(int left, int top, int right, int bottom) const;
    int penPixels() const;
    QPen linePen(int pixels) const;
    void beginDevice(bool useRop);
    void fillBoxes(TZVColor color, const QRectF* boxes, int count);
    enum class TRound : std::uint8_t
    {
        Ellipse,
        RoundRect,
        Pie
    };
    void drawRound(TRound kind, const QRectF& box, double cornerX, double cornerY, QPointF ray1,
                   QPointF ray2);
    void applyClip();

    std::unique_ptr<QPainter> m_ownPainter;
    QPainter* m_painter = nullptr;
    TZVDeviceCaps m_caps;
    QTransform m_base;
    bool m_rasterOps = false;
    bool m_wholeDots = false;
    TState m_state;
    std::vector<TState> m_saved;
    QHash<QString, double> m_cellPerEm; // cell height of a one-pixel em, by face and style
    struct TResolvedFont
    {
        TZVFont Face; // name, height, bold and italic are what count
        QFont Font;
    };
    std::vector<TResolvedFont> m_resolved; // the few faces of a design, resolved once
};

/// Painting resolves fonts, which Qt allows only in a GUI application (one on the offscreen
/// platform needs no display): without one raises EZvError
/// "PRINTING NEEDS A QGUIAPPLICATION (E.G. ON THE OFFSCREEN PLATFORM)".
void RequirePaintingApplication();

} // namespace zorvel
