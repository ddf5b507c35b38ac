// TZVZplCanvas: the canvas of a ZPL II label, shapes as printer commands and the rest as graphics.
#pragma once

#include "foundation/ZVCanvas.h"
#include "platform/ZVQtCanvas.h"
#include "zorvel_core_export.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <limits>
#include <memory>
#include <span>
#include <vector>

namespace zorvel {

/// One label at the printer's dots. Solid axis-aligned rectangles, boxes and ellipses become ^GB,
/// ^GC and ^GE, bar codes the printer's own commands where it has them; everything else (text,
/// pictures, symbols, turned or clipped shapes) is painted on a page picture at the printer's
/// dots and written as ^GF graphics of what changed since the last command, so the drawing order
/// holds. Colours are black or white, split at half brightness.
class ZORVEL_CORE_EXPORT TZVZplCanvas final : public TZVCanvas
{
public:
    /// A label of `dots` at `dpi` (the resolution the mapping of a design uses).
    TZVZplCanvas(QSize dots, int dpi);
    ~TZVZplCanvas() override;

    /// The label's commands so far, pending graphics written; the canvas can go on drawing.
    QByteArray Commands();
    /// Starts a new blank label of the same size: no commands, the drawing state of a new canvas.
    /// Costs the rows drawn on, not the whole label, which matters for a job of many labels.
    void Clear();
    /// The label's size in dots.
    QSize Size() const { return m_page.size(); }

    int GetDeviceCaps(TZVDeviceCap cap) const override { return m_raster->GetDeviceCaps(cap); }

    void SetMapMode(TZVMapMode mode) override { m_raster->SetMapMode(mode); }
    void SetWindowOrgEx(int x, int y) override { m_raster->SetWindowOrgEx(x, y); }
    void SetWindowExtEx(int cx, int cy) override { m_raster->SetWindowExtEx(cx, cy); }
    void SetViewportOrgEx(int x, int y) override { m_raster->SetViewportOrgEx(x, y); }
    void SetViewportExtEx(int cx, int cy) override { m_raster->SetViewportExtEx(cx, cy); }
    TZVMapping GetMapping() const override { return m_raster->GetMapping(); }
    using TZVCanvas::LPtoDP;
    TPoint LPtoDP(TPoint p) const override { return m_raster->LPtoDP(p); }
    TPoint DPtoLP(TPoint p) const override { return m_raster->DPtoLP(p); }

    void SaveDC() override;
    void RestoreDC() override;

    void SelectPen(const TZVPen& pen) override;
    void SelectBrush(const TZVBrush& brush) override;
    void SelectFont(const TZVFont& font) override
    {
        m_raster->SelectFont(font);
        m_state.Escapement = font.Escapement;
    }
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

    void SetTextAlign(unsigned align) override { m_raster->SetTextAlign(align); }
    void SetTextCharacterExtra(int extra) override { m_raster->SetTextCharacterExtra(extra); }
    void SetTextJustification(int breakExtra, int breakCount) override
    {
        m_raster->SetTextJustification(breakExtra, breakCount);
    }
    void ExtTextOut(int x, int y, const QString& text) override;
    TZVSize GetTextExtentPoint(const QString& text) const override { return m_raster->GetTextExtentPoint(text); }
    TZVTextMetric GetTextMetrics() const override { return m_raster->GetTextMetrics(); }

    void SelectClipRgn(const TZVRegion* region) override;
    void OffsetClipRgn(int dx, int dy) override { m_raster->OffsetClipRgn(dx, dy); }

    void StretchDraw(const TRect& dest, const QImage& image) override;
    void StretchDrawPicture(const TRect& dest, const QPicture& picture) override;

    bool DrawNativeBarcode(const TZVNativeBarcode& symbol) override;
    bool WholeDotModules() const override { return true; }

private:
    struct TState
    {
        TZVPen Pen;
        TZVBrush Brush;
        TZVRop2 Rop = r2CopyPen;
        TPoint Position;
        bool Clipped = false;
        int Escapement = 0; // of the font, tenths of a degree
    };

    // True when shapes can go out as printer commands: plain copy, no clip.
    bool vectorReady() const { return m_state.Rop == r2CopyPen && !m_state.Clipped; }
    int penDots() const;
    // A row whose darkness changed since the last command, between Left and Right.
    struct TRowChange
    {
        int Y, Left, Right;
        bool Erased; // some dot went from dark to light
    };
    // Writes what the page picture gained or lost since the last command as ^GF.
    void flush();
    // One ^GF of the differences on `rows`, from the difference bits.
    void writeGraphic(std::span<const TRowChange> rows, int diffBytes);
    // A box the printer draws (fill, or a frame `thickness` wide) in `color`, device dots.
    void box(QRect r, int thickness, TZVColor color);
    // The printed state of `r` taken from the page picture after a command drew there.
    void settle(QRect r);
    // Notes that the page picture was painted within `bounds` (device dots).
    void raster(QRect bounds);
    // The device box of a logical rectangle, right and bottom edges excluded.
    QRect deviceRect(int left, int top, int right, int bottom) const;
    QRect penOuterBox(QRect area, int pixels) const;
    // A painter and drawing state for the page as it is.
    void startDrawing();

    struct TSpan
    {
        int Left = std::numeric_limits<int>::max();
        int Right = -1;
    };

    QImage m_page;
    // The page as the commands so far print it. A flush compares the two only where the page was
    // painted since the last one, so it costs what was drawn, not the whole label.
    QImage m_printed;
    std::unique_ptr<TZVQtCanvas> m_raster;
    int m_dpi;
    std::vector<TSpan> m_inkSpans;   // per row, where the page may hold ink, whitened by Clear
    std::vector<TSpan> m_dirtySpans; // per row, where the page was painted since the last flush
    std::vector<std::uint8_t> m_diff; // a bit per dot, set where a flush found its darkness changed
    std::vector<TRowChange> m_changes;
    bool m_dirty = false;
    TState m_state;
    std::vector<TState> m_saved;
    QByteArray m_commands;
};

} // namespace zorvel
