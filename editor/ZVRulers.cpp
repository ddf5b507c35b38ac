// Ruler settings and shared ruler state: unit factors, guide positions and the guide drag callbacks.
#include "editor/ZVRulers.h"

#include "document/ZVCustomLab.h"
#include "editor/ZVEditorHost.h"
#include "editor/ZVRulerControls.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace zorvel {

namespace {

constexpr int kMinRulerSize = 18;
constexpr int kMaxRulerSize = 30;
constexpr int kGuideMarkSize = 7;
// SetGuidesDragging modes of the label background.
constexpr int kGuidesOverElements = 0;
constexpr int kGuidesUnderElements = 1;

QFont defaultRulerFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(9);
    return font;
}

// A pentagon whose point touches the guide: pointing down for the top ruler, right for the left.
QImage makeGuideMark(bool pointsRight)
{
    QImage glyph(kGuideMarkSize, kGuideMarkSize, QImage::Format_RGB32);
    glyph.fill(Qt::white);
    QPolygon shape{QPoint(0, 0), QPoint(6, 0), QPoint(6, 3), QPoint(3, 6), QPoint(0, 3)};
    if (pointsRight) {
        for (QPoint& p : shape)
            p = QPoint(p.y(), p.x());
    }
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(0, 0, 0), 0));
    painter.setBrush(QColor(0, 0, 128));
    painter.drawPolygon(shape);
    return glyph;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TZVDataRuler

TZVDataRuler::TZVDataRuler(int dpiX, int dpiY, QObject* parent)
    : QObject(parent), m_dpiX(dpiX), m_dpiY(dpiY), m_font(defaultRulerFont())
{
    m_guideMarks[0] = makeGuideMark(false);
    m_guideMarks[1] = makeGuideMark(true);
    computeFactors();
}

void TZVDataRuler::computeFactors()
{
    double perInch = 1.0;
    switch (m_units) {
    case unMM:
        perInch = 25.4;
        break;
    case unINCH:
        perInch = 1.0;
        break;
    case unCM:
        perInch = 2.54;
        break;
    }
    m_pixPerUnitX = m_dpiX * m_zoom / perInch;
    m_pixPerUnitY = m_dpiY * m_zoom / perInch;
}

void TZVDataRuler::RelayoutBoth()
{
    if (OnTopChange) OnTopChange();
    if (OnLeftChange) OnLeftChange();
}

void TZVDataRuler::SetFont(const QFont& font)
{
    if (font == m_font) return;
    m_font = font;
    RelayoutBoth();
}

void TZVDataRuler::SetColors(TZVColor color, TZVColor tickColor, TZVColor markColor)
{
    if (color == m_color && tickColor == m_tickColor && markColor == m_markColor) return;
    m_color = color;
    m_tickColor = tickColor;
    m_markColor = markColor;
    RelayoutBoth();
}

void TZVDataRuler::SetUnits(TZVUnits units)
{
    if (units == m_units) return;
    m_units = units;
    computeFactors();
    RelayoutBoth();
}

void TZVDataRuler::SetZoom(double zoom)
{
    if (zoom == m_zoom) return;
    m_zoom = zoom;
    computeFactors();
}

void TZVDataRuler::SetShowAlign(bool value)
{
    if (value == m_showAlign) return;
    m_showAlign = value;
    RelayoutBoth();
}

void TZVDataRuler::SetGuideX(float value, bool notify)
{
    if (value == m_guideX) return;
    m_guideX = value;
    if (notify && OnTopChange) OnTopChange();
}

void TZVDataRuler::SetGuideY(float value, bool notify)
{
    if (value == m_guideY) return;
    m_guideY = value;
    if (notify && OnLeftChange) OnLeftChange();
}

const QImage& TZVDataRuler::GuideMark(int index) const
{
    return m_guideMarks[std::clamp(index, 0, 1)];
}

// ---------------------------------------------------------------------------------------------
// TZVRulers

TZVRulers::TZVRulers(TZVEditorHost* editor, int dpiX, int dpiY, QObject* parent)
    : QObject(parent), m_editor(editor), m_data(new TZVDataRuler(dpiX, dpiY, this)),
      m_font(defaultRulerFont())
{
    m_data->SetFont(m_font);
    m_data->SetColors(m_color, m_tickColor, m_markColor);
    m_data->OnGuideMoved = [this] { guideMoved(); };
    m_data->OnGuideDragStart = [this] { guideDragStart(); };
    m_data->OnGuideDragEnd = [this] { guideDragEnd(); };
}

void TZVRulers::SetControls(TZVTopRuler* top, TZVLeftRuler* left)
{
    m_top = top;
    m_left = left;
    const int extent = m_visible ? m_size : 0;
    if (m_top) m_top->setFixedHeight(extent);
    if (m_left) m_left->setFixedWidth(extent);
}

void TZVRulers::SetColor(TZVColor value)
{
    if (value == m_color) return;
    m_color = value;
    m_data->SetColors(m_color, m_tickColor, m_markColor);
}

void TZVRulers::SetTickColor(TZVColor value)
{
    if (value == m_tickColor) return;
    m_tickColor = value;
    m_data->SetColors(m_color, m_tickColor, m_markColor);
}

void TZVRulers::SetMarkColor(TZVColor value)
{
    if (value == m_markColor) return;
    m_markColor = value;
    m_data->SetColors(m_color, m_tickColor, m_markColor);
}

void TZVRulers::SetAdjustAligns(bool value)
{
    m_adjustAligns = value;
    m_data->SetAdjustAligns(value);
}

void TZVRulers::SetVisible(bool value)
{
    if (value == m_visible) return;
    m_visible = value;
    SetControls(m_top, m_left);
}

void TZVRulers::SetFont(const QFont& value)
{
    m_font = value;
    m_data->SetFont(value);
}

void TZVRulers::SetSize(int value)
{
    value = std::clamp(value, kMinRulerSize, kMaxRulerSize);
    if (value == m_size) return;
    m_size = value;
    if (m_visible) SetControls(m_top, m_left);
}

void TZVRulers::Assign(const TZVRulers& source)
{
    if (&source == this) return;
    SetColor(source.m_color);
    SetTickColor(source.m_tickColor);
    SetMarkColor(source.m_markColor);
    SetFont(source.m_font);
    SetSize(source.m_size);
    SetVisible(source.m_visible);
    SetAdjustAligns(source.m_adjustAligns);
}

void TZVRulers::guideMoved()
{
    if (!m_editor || m_editor->IsLoading() || m_editor->IsDestroying()) return;
    TZVCustomLab* lab = m_editor->Zorvel();
    if (!lab) return;
    // The background rounds to model units and keeps the guide on the label.
    TZVBackSurf& back = lab->BackSurf();
    if (lab->ToModel(m_data->GuideX()) != back.GuideX()) back.SetGuideX(m_data->GuideX());
    if (lab->ToModel(m_data->GuideY()) != back.GuideY()) back.SetGuideY(m_data->GuideY());
}

void TZVRulers::guideDragStart()
{
    if (!m_editor || m_editor->IsDestroying()) return;
    if (TZVCustomLab* lab = m_editor->Zorvel()) lab->BackSurf().SetGuidesDragging(kGuidesOverElements);
}

void TZVRulers::guideDragEnd()
{
    if (!m_editor || m_editor->IsDestroying()) return;
    TZVCustomLab* lab = m_editor->Zorvel();
    if (!lab) return;
    TZVBackSurf& back = lab->BackSurf();
    back.SetGuidesDragging(kGuidesUnderElements);
    // The marker may have been dragged past the label; it goes back to where the guide stopped.
    m_data->SetGuideX(back.GetGuideX(), true);
    m_data->SetGuideY(back.GetGuideY(), true);
}

} // namespace zorvel
