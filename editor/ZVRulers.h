// Ruler settings and the ruler state both ruler controls share.
#pragma once

#include "foundation/ZVTypes.h"
#include "zorvel_widgets_export.h"

#include <QFont>
#include <QImage>
#include <QObject>

#include <functional>

namespace zorvel {

class TZVEditorHost;
class TZVTopRuler;
class TZVLeftRuler;

/// Resolution, zoom, unit, colours and guide positions, read by both rulers when they lay out.
class ZORVEL_WIDGETS_EXPORT TZVDataRuler : public QObject
{
    Q_OBJECT

public:
    /// Millimetres at zoom 1 for a screen of `dpiX` x `dpiY` dots per inch.
    TZVDataRuler(int dpiX, int dpiY, QObject* parent = nullptr);

    /// Horizontal screen resolution, dots per inch.
    int DpiX() const { return m_dpiX; }
    /// Vertical screen resolution, dots per inch.
    int DpiY() const { return m_dpiY; }
    /// Font of the numbers.
    const QFont& Font() const { return m_font; }
    /// Sets Font; both rulers lay out again.
    void SetFont(const QFont& font);
    /// Background, 0xBBGGRR.
    TZVColor Color() const { return m_color; }
    /// Ticks and numbers, 0xBBGGRR.
    TZVColor TickColor() const { return m_tickColor; }
    /// The mouse marker, 0xBBGGRR.
    TZVColor MarkColor() const { return m_markColor; }
    /// Each re-lays out both rulers.
    void SetColors(TZVColor color, TZVColor tickColor, TZVColor markColor);

    /// The unit the rulers are graduated in: the label's.
    TZVUnits Units() const { return m_units; }
    /// Sets Units; both rulers lay out again.
    void SetUnits(TZVUnits units);
    /// The editor's zoom factor, 1.0 at 100 %.
    double Zoom() const { return m_zoom; }
    /// No re-layout: the editor lays the rulers out itself after a zoom.
    void SetZoom(double zoom);
    /// Surface pixels per unit of Units at the current zoom, across and down.
    /// @{
    double PixPerUnitX() const { return m_pixPerUnitX; }
    double PixPerUnitY() const { return m_pixPerUnitY; }
    /// @}

    /// Whether the guide markers may be dragged to move the label's guides.
    bool AdjustAligns() const { return m_adjustAligns; }
    /// Sets AdjustAligns; nothing is redrawn.
    void SetAdjustAligns(bool value) { m_adjustAligns = value; }
    /// Whether the rulers show the guide markers.
    bool ShowAlign() const { return m_showAlign; }
    /// Sets ShowAlign; both rulers lay out again.
    void SetShowAlign(bool value);
    /// Sets ShowAlign without laying the rulers out.
    void SetShowAlignSilent(bool value) { m_showAlign = value; }
    /// Width of the scroll box's frame, pixels, between the ruler's origin and the surface.
    int BorderOffset() const { return m_borderOffset; }
    /// Sets BorderOffset; takes effect at the next layout.
    void SetBorderOffset(int value) { m_borderOffset = value; }

    /// Guide positions, in the label's unit.
    /// @{
    float GuideX() const { return m_guideX; }
    float GuideY() const { return m_guideY; }
    /// @}
    /// Moves a guide marker (label's unit); with `notify` its ruler lays out again.
    /// @{
    void SetGuideX(float value, bool notify);
    void SetGuideY(float value, bool notify);
    /// @}

    /// 7 x 7 glyphs: 0 on the top ruler, 1 on the left ruler; white is transparent.
    const QImage& GuideMark(int index) const;

    /// Re-layout requests, one per ruler control.
    /// @{
    std::function<void()> OnTopChange;
    std::function<void()> OnLeftChange;
    /// @}
    /// A ruler dragged a guide marker to a new position (GuideX, GuideY); installed by TZVRulers.
    std::function<void()> OnGuideMoved;
    /// A drag of a guide marker starts or ends; installed by TZVRulers.
    /// @{
    std::function<void()> OnGuideDragStart;
    std::function<void()> OnGuideDragEnd;
    /// @}

    /// Both rulers lay out again.
    void RelayoutBoth();

private:
    void computeFactors();

    int m_dpiX;
    int m_dpiY;
    QFont m_font;
    TZVColor m_color = 0xC0C0C0;
    TZVColor m_tickColor = 0;
    TZVColor m_markColor = 255;
    TZVUnits m_units = unMM;
    double m_zoom = 1.0;
    double m_pixPerUnitX = 0;
    double m_pixPerUnitY = 0;
    bool m_adjustAligns = false;
    bool m_showAlign = false;
    int m_borderOffset = 0;
    float m_guideX = 0;
    float m_guideY = 0;
    QImage m_guideMarks[2];
};

/// The published ruler settings of the editor.
class ZORVEL_WIDGETS_EXPORT TZVRulers : public QObject
{
    Q_OBJECT
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
    Q_PROPERTY(quint32 TickColor READ TickColor WRITE SetTickColor)
    Q_PROPERTY(quint32 MarkColor READ MarkColor WRITE SetMarkColor)
    Q_PROPERTY(bool AdjustAligns READ AdjustAligns WRITE SetAdjustAligns)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(int Size READ Size WRITE SetSize)

public:
    /// Reads the screen resolution; `editor` receives the guide callbacks.
    TZVRulers(TZVEditorHost* editor, int dpiX, int dpiY, QObject* parent = nullptr);

    /// The state the ruler controls draw from, owned by the settings.
    /// @{
    TZVDataRuler& Data() { return *m_data; }
    const TZVDataRuler& Data() const { return *m_data; }
    /// @}
    /// The two ruler controls whose height and width follow Visible and Size.
    void SetControls(TZVTopRuler* top, TZVLeftRuler* left);

    /// Background of the rulers, 0xBBGGRR.
    TZVColor Color() const { return m_color; }
    /// Sets Color; the rulers are redrawn.
    void SetColor(TZVColor value);
    /// Ticks and numbers, 0xBBGGRR.
    TZVColor TickColor() const { return m_tickColor; }
    /// Sets TickColor; the rulers are redrawn.
    void SetTickColor(TZVColor value);
    /// The mouse marker, 0xBBGGRR.
    TZVColor MarkColor() const { return m_markColor; }
    /// Sets MarkColor; the rulers are redrawn.
    void SetMarkColor(TZVColor value);
    /// Whether dragging a guide marker moves the label's alignment guide.
    bool AdjustAligns() const { return m_adjustAligns; }
    /// Sets AdjustAligns.
    void SetAdjustAligns(bool value);
    /// False collapses both ruler controls to nothing.
    bool Visible() const { return m_visible; }
    /// Sets Visible and resizes the ruler controls.
    void SetVisible(bool value);
    /// Font of the numbers.
    QFont Font() const { return m_font; }
    /// Sets Font; the rulers are redrawn.
    void SetFont(const QFont& value);
    /// Kept within 18..30 pixels.
    int Size() const { return m_size; }
    /// Sets Size (clamped) and resizes the ruler controls.
    void SetSize(int value);

    /// Copies colours, font, size, visibility and AdjustAligns.
    void Assign(const TZVRulers& source);

private:
    void guideMoved();
    void guideDragStart();
    void guideDragEnd();

    TZVEditorHost* m_editor = nullptr;
    TZVDataRuler* m_data = nullptr;
    TZVTopRuler* m_top = nullptr;
    TZVLeftRuler* m_left = nullptr;
    TZVColor m_color = 0xC0C0C0;
    TZVColor m_tickColor = 0;
    TZVColor m_markColor = 255;
    bool m_adjustAligns = false;
    bool m_visible = true;
    QFont m_font;
    int m_size = 18;
};

} // namespace zorvel
