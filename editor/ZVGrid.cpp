// Grid settings of the editor: steps with their limits, repaint requests, drawing; margin strips.
#include "editor/ZVGrid.h"

#include "document/ZVCustomLab.h"
#include "editor/ZVEditorHost.h"
#include "foundation/ZVCanvas.h"

#include <QPainter>

#include <algorithm>

namespace zorvel {

namespace {

// 1 mm in model units: the smallest step worth snapping to.
constexpr int kMinStep = 100;

// A step in model units for a label `extent` model units long: at most half of it, at least 1 mm.
int limitStep(int step, int extent)
{
    return std::max(std::min(step, extent / 2), kMinStep);
}

} // namespace

TZVGrid::TZVGrid(TZVEditorHost* editor, QObject* parent) : QObject(parent), m_editor(editor) {}

void TZVGrid::changed()
{
    if (!m_editor || m_editor->IsLoading()) return;
    m_editor->SetContentDirty();
    m_editor->Refresh(false);
}

void TZVGrid::SetColor(TZVColor value)
{
    if (value == m_color) return;
    m_color = value;
    changed();
}

void TZVGrid::SetShow(bool value)
{
    if (value == m_show) return;
    m_show = value;
    changed();
}

void TZVGrid::SetStyle(TZVGridDraw value)
{
    if (value == m_style) return;
    m_style = value;
    changed();
}

float TZVGrid::GetIncX() const
{
    const TZVCustomLab* lab = m_editor ? m_editor->Zorvel() : nullptr;
    return lab ? lab->FromModel(m_stepX) : 0;
}

float TZVGrid::GetIncY() const
{
    const TZVCustomLab* lab = m_editor ? m_editor->Zorvel() : nullptr;
    return lab ? lab->FromModel(m_stepY) : 0;
}

void TZVGrid::SetIncX(float value)
{
    if (!m_editor) return;
    if (m_editor->IsLoading()) {
        // The label may not be attached yet, so the unit and the limit are not known.
        m_pendingX = true;
        m_loadedIncX = value;
        return;
    }
    const TZVCustomLab* lab = m_editor->Zorvel();
    if (!lab) return;
    m_stepX = limitStep(lab->ToModel(value), lab->Measure().Width());
    changed();
}

void TZVGrid::SetIncY(float value)
{
    if (!m_editor) return;
    if (m_editor->IsLoading()) {
        m_pendingY = true;
        m_loadedIncY = value;
        return;
    }
    const TZVCustomLab* lab = m_editor->Zorvel();
    if (!lab) return;
    m_stepY = limitStep(lab->ToModel(value), lab->Measure().Height());
    changed();
}

void TZVGrid::SetSteps(int stepX, int stepY)
{
    // A step of zero or less never comes from the editor; taken as it is it would stall the grid
    // drawing and the snapping, so it falls back to the smallest step.
    m_stepX = stepX > 0 ? stepX : kMinStep;
    m_stepY = stepY > 0 ? stepY : kMinStep;
}

void TZVGrid::ApplyLoaded()
{
    // Applied even if the editor still reports loading: the values must not wait a second time.
    // Without a label there is no unit yet, so they keep waiting.
    const TZVCustomLab* lab = m_editor ? m_editor->Zorvel() : nullptr;
    if (!lab || !(m_pendingX || m_pendingY)) return;
    if (m_pendingX) m_stepX = limitStep(lab->ToModel(m_loadedIncX), lab->Measure().Width());
    if (m_pendingY) m_stepY = limitStep(lab->ToModel(m_loadedIncY), lab->Measure().Height());
    m_pendingX = m_pendingY = false;
    changed();
}

void TZVGrid::Assign(const TZVGrid& source)
{
    if (&source == this) return;
    const bool same = m_color == source.m_color && m_stepX == source.m_stepX && m_stepY == source.m_stepY &&
                      m_style == source.m_style && m_show == source.m_show;
    m_color = source.m_color;
    m_stepX = source.m_stepX;
    m_stepY = source.m_stepY;
    m_style = source.m_style;
    m_show = source.m_show;
    if (!same) changed();
}

void TZVGrid::Draw(TZVCanvas& canvas, int W, int H) const
{
    if (!m_show || m_stepX <= 0 || m_stepY <= 0) return;
    canvas.SelectPen(TZVPen{m_color, 0, psSolid});
    if (m_style == gdPoints) {
        for (int x = m_stepX; x < W; x += m_stepX)
            for (int y = m_stepY; y < H; y += m_stepY)
                canvas.SetPixel(x, y, m_color);
        return;
    }
    for (int x = m_stepX; x < W; x += m_stepX) {
        canvas.MoveTo(x, 0);
        canvas.LineTo(x, H);
    }
    for (int y = m_stepY; y < H; y += m_stepY) {
        canvas.MoveTo(0, y);
        canvas.LineTo(W, y);
    }
}

TZVMargin::TZVMargin(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TZVMargin::SetColor(TZVColor value)
{
    if (value == m_color) return;
    m_color = value;
    update();
}

void TZVMargin::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(m_color));
}

} // namespace zorvel
