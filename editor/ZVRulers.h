// Ruler settings and the ruler state both ruler controls share.
#pragma once

#include "foundation/ZVTypes.h"

#include <QFont>
#include <QImage>
#include <QObject>

#include <functional>

namespace zorvel {

class TZVEditorHost;
class TZVTopRuler;
class TZVLeftRuler;

// Resolution, zoom, unit, colours and guide positions, read by both rulers when they lay out.
class TZVDataRuler : public QObject
{
    Q_OBJECT

public:
    TZVDataRuler(int dpiX, int dpiY, QObject* parent = nullptr);

    int DpiX() const { return m_dpiX; }
    int DpiY() const { return m_dpiY; }
    const QFont& Font() const { return m_font; }
    void SetFont(const QFont& font);
    TZVColor Color() const { return m_color; }
    TZVColor TickColor() const { return m_tickColor; }
    TZVColor MarkColor() const { return m_markColor; }
    // Each re-lays out both rulers.
    void SetColors(TZVColor color, TZVColor tickColor, TZVColor markColor);

    TZVUnits Units() const { return m_units; }
    void SetUnits(TZVUnits units);
    double Zoom() const { return m_zoom; }
    // No re-layout: the editor lays the rulers out itself after a zoom.
    void SetZoom(double zoom);
    double PixPerUnitX() const { return m_pixPerUnitX; }
    double PixPerUnitY() const { return m_pixPerUnitY; }

    bool AdjustAligns() const { return m_adjustAligns; }
    void SetAdjustAligns(bool value) { m_adjustAligns = value; }
    bool ShowAlign() const { return m_showAlign; }
    void SetShowAlign(bool value);
    void SetShowAlignSilent(bool value) { m_showAlign = value; }
    int BorderOffset() const { return m_borderOffset; }
    void SetBorderOffset(int value) { m_borderOffset = value; }

    // Label units.
    float GuideX() const { return m_guideX; }
    float GuideY() const { return m_guideY; }
    void SetGuideX(float value, bool notify);
    void SetGuideY(float value, bool notify);

    // 7 x 7 glyphs: 0 on the top ruler, 1 on the left ruler; white is transparent.
    const QImage& GuideMark(int index) const;

    // Re-layout requests, one per ruler control.
    std::function<void()> OnTopChange;
    std::function<void()> OnLeftChange;
    // Installed by TZVRulers.
    std::function<void()> OnGuideMoved;
    std::function<void()> OnGuideDragStart;
    std::function<void()> OnGuideDragEnd;

    // Both rulers lay out again.
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

// The published ruler settings of the editor.
class TZVRulers : public QObject
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
    // Reads the screen resolution; `editor` receives the guide callbacks.
    TZVRulers(TZVEditorHost* editor, int dpiX, int dpiY, QObject* parent = nullptr);

    TZVDataRuler& Data() { return *m_data; }
    const TZVDataRuler& Data() const { return *m_data; }
    // The two ruler controls whose height and width follow Visible and Size.
    void SetControls(TZVTopRuler* top, TZVLeftRuler* left);

    TZVColor Color() const { return m_color; }
    void SetColor(TZVColor value);
    TZVColor TickColor() const { return m_tickColor; }
    void SetTickColor(TZVColor value);
    TZVColor MarkColor() const { return m_markColor; }
    void SetMarkColor(TZVColor value);
    bool AdjustAligns() const { return m_adjustAligns; }
    void SetAdjustAligns(bool value);
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    QFont Font() const { return m_font; }
    void SetFont(const QFont& value);
    // Kept within 18..30 pixels.
    int Size() const { return m_size; }
    void SetSize(int value);

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
