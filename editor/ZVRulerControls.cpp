// The ruler controls: tick layout into a buffer, the mouse marker and dragging the guide markers.
#include "editor/ZVRulerControls.h"

#include "editor/ZVCursors.h"
#include "editor/ZVRulers.h"
#include "foundation/ZVCanvas.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zorvel {

namespace {

// The design surface sits this far inside the scroll box.
constexpr int kSurfaceOffset = 12;
// Before the ruler is linked it shows white with a red marker.
constexpr TZVColor kUnlinkedMarkColor = 255;

} // namespace

TZVRuler::TZVRuler(Axis axis, QWidget* parent) : QWidget(parent), m_axis(axis)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

TZVRuler::~TZVRuler()
{
    if (!m_data) return;
    // The shared state may outlive this ruler: it must not call back into it.
    auto& slot = m_axis == Axis::Horizontal ? m_data->OnTopChange : m_data->OnLeftChange;
    slot = nullptr;
}

void TZVRuler::Link(TZVDataRuler* data)
{
    if (m_data == data) return;
    if (m_data) {
        (m_axis == Axis::Horizontal ? m_data->OnTopChange : m_data->OnLeftChange) = nullptr;
        disconnect(m_data, &QObject::destroyed, this, nullptr);
    }
    m_data = data;
    if (m_data) {
        auto& slot = m_axis == Axis::Horizontal ? m_data->OnTopChange : m_data->OnLeftChange;
        slot = [this] { Relayout(); };
        connect(m_data, &QObject::destroyed, this, [this] { m_data = nullptr; });
    }
    Relayout();
}

int TZVRuler::along() const
{
    return m_axis == Axis::Horizontal ? width() : height();
}

int TZVRuler::across() const
{
    return m_axis == Axis::Horizontal ? height() : width();
}

int TZVRuler::origin() const
{
    // The label's edge: on the top ruler past the left ruler's column (as wide as this ruler is
    // high), then the scroll box border and the surface offset.
    const int border = m_data ? m_data->BorderOffset() : 0;
    const int corner = m_axis == Axis::Horizontal ? height() : 0;
    return corner + border + kSurfaceOffset - m_scrollOffset;
}

void TZVRuler::ShowMousePos(int pos)
{
    m_mousePos = pos < 0 ? -1 : pos + origin();
    update();
}

void TZVRuler::SetScrollOffset(int offset)
{
    if (m_offsetKnown && offset == m_scrollOffset) return;
    m_scrollOffset = offset;
    m_offsetKnown = true;
    Relayout();
}

void TZVRuler::Relayout()
{
    m_guideMarkRect = QRect();
    // A hidden control gets its resize event only when shown; lay out at its size anyway.
    if (m_buffer.size() != size())
        m_buffer = size().isEmpty() ? QImage() : QImage(size(), QImage::Format_RGB32);
    if (m_buffer.isNull()) {
        update();
        return;
    }
    if (!m_data) {
        m_buffer.fill(Qt::white);
        update();
        return;
    }
    const bool horizontal = m_axis == Axis::Horizontal;
    const int H = across();
    const int length = along();
    const double pixPerUnit = horizontal ? m_data->PixPerUnitX() : m_data->PixPerUnitY();
    const bool mm = m_data->Units() == unMM;
    // Ticks per label unit: every millimetre, every tenth of an inch or of a centimetre.
    const int ticksPerUnit = mm ? 1 : 10;
    const int o = origin();
    // The top ruler's corner lies over the left ruler; the left ruler has none.
    const int first = horizontal ? H : 0;
    const int last = horizontal ? length - H - 2 : length - 2;

    m_buffer.fill(toQColor(m_data->Color()));
    QPainter painter(&m_buffer);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(QPen(toQColor(m_data->TickColor()), 1, Qt::SolidLine, Qt::SquareCap));
    painter.setFont(m_data->Font());
    const QFontMetrics metrics(m_data->Font());

    // A tick from `from` pixels inside the ruler's edge to its far side.
    auto tick = [&](int at, int from) {
        if (horizontal)
            painter.drawLine(at, from, at, H - 1);
        else
            painter.drawLine(from, at, H - 1, at);
    };
    auto number = [&](int at, int value) {
        const QString text = QString::number(value);
        const int textWidth = metrics.horizontalAdvance(text);
        if (horizontal) {
            painter.drawText(at - textWidth / 2, 1 + metrics.ascent(), text);
            return;
        }
        // Reads upwards, centred on the tick, its top against the ruler's outer edge.
        painter.save();
        painter.translate(1, at + textWidth / 2);
        painter.rotate(-90);
        painter.drawText(0, metrics.ascent(), text);
        painter.restore();
    };

    // A ruler without resolution would never reach its end.
    if (pixPerUnit > 0) {
        const bool shortTicks = m_data->Zoom() >= 1.0;
        // Ticks scrolled out past the start are not walked one by one.
        const int skipped = static_cast<int>((first - o) * ticksPerUnit / pixPerUnit) - 1;
        for (int i = std::max(0, skipped);; ++i) {
            const int at = static_cast<int>(std::trunc(i * pixPerUnit / ticksPerUnit)) + o;
            if (at < first) continue;
            if (i % 10 == 0) {
                tick(at, H - H / 3);
                number(at, i / ticksPerUnit);
            } else if (i % 5 == 0) {
                tick(at, H - H / 2);
            } else if (shortTicks) {
                tick(at, H - H / 4);
            }
            if (at >= last) break;
        }
    }

    if (m_data->ShowAlign()) {
        const float guide = horizontal ? m_data->GuideX() : m_data->GuideY();
        int g = static_cast<int>(std::trunc(guide * pixPerUnit)) + o;
        if (!horizontal || g > H) {
            if (g > length / 2) --g;
            const QImage& glyph = m_data->GuideMark(horizontal ? 0 : 1);
            const QPoint at =
                horizontal ? QPoint(g - 3, H - glyph.height()) : QPoint(H - glyph.width(), g - 3);
            // White is the glyph's transparent colour.
            for (int y = 0; y < glyph.height(); ++y)
                for (int x = 0; x < glyph.width(); ++x) {
                    const QRgb pixel = glyph.pixel(x, y);
                    if ((pixel & 0xFFFFFF) != 0xFFFFFF) {
                        painter.setPen(QColor::fromRgb(pixel));
                        painter.drawPoint(at + QPoint(x, y));
                    }
                }
            // The whole glyph can be grabbed.
            m_guideMarkRect = QRect(at, glyph.size());
        }
    }
    painter.end();
    update();
}

void TZVRuler::paintEvent(QPaintEvent* /*event*/)
{
    if (across() <= 0) return;
    QPainter painter(this);
    if (!m_buffer.isNull()) painter.drawImage(0, 0, m_buffer);
    if (m_mousePos < 0) return;
    painter.setPen(QPen(toQColor(m_data ? m_data->MarkColor() : kUnlinkedMarkColor), 1));
    const int H = across();
    if (m_axis == Axis::Horizontal)
        painter.drawLine(m_mousePos, 2, m_mousePos, H - 2);
    else
        painter.drawLine(2, m_mousePos, H - 2, m_mousePos);
}

void TZVRuler::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_mousePos = -1;
    // Resizes follow a scroll reset, so lay out at the start; the next report always lays out.
    m_scrollOffset = 0;
    m_offsetKnown = false;
    Relayout();
}

void TZVRuler::mousePressEvent(QMouseEvent* event)
{
    if (!m_data || event->button() != Qt::LeftButton) return;
    if (m_data->AdjustAligns() && m_guideMarkRect.contains(event->position().toPoint())) {
        if (m_data->OnGuideDragStart) m_data->OnGuideDragStart();
        m_guideDragging = true;
    }
}

void TZVRuler::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_data || !m_data->ShowAlign()) return;
    const bool horizontal = m_axis == Axis::Horizontal;
    const QPoint point = event->position().toPoint();
    if (m_data->AdjustAligns() && m_guideMarkRect.contains(point))
        setCursor(ZvCursor(horizontal ? crZvAlignX : crZvAlignY));
    else
        unsetCursor();
    if (!m_guideDragging) return;

    const double pixPerUnit = horizontal ? m_data->PixPerUnitX() : m_data->PixPerUnitY();
    if (pixPerUnit <= 0) return;
    // Over the corner (or past the ruler's start) the guide sits at the first visible position,
    // so a quick move out of the ruler still leaves it at the label's visible edge.
    const int first = horizontal ? across() + 1 : 1;
    const int pos = std::max(horizontal ? point.x() : point.y(), first);
    const int corner = horizontal ? across() : 0;
    const double v =
        std::max(0.0, (pos + m_scrollOffset - corner - m_data->BorderOffset() - kSurfaceOffset) / pixPerUnit);
    const float value = static_cast<float>(v);
    if (value == (horizontal ? m_data->GuideX() : m_data->GuideY())) return;
    if (horizontal)
        m_data->SetGuideX(value, false);
    else
        m_data->SetGuideY(value, false);
    if (m_data->OnGuideMoved) m_data->OnGuideMoved();
    Relayout();
}

void TZVRuler::mouseReleaseEvent(QMouseEvent* /*event*/)
{
    if (!m_guideDragging) return;
    m_guideDragging = false;
    if (m_data && m_data->OnGuideDragEnd) m_data->OnGuideDragEnd();
}

} // namespace zorvel
