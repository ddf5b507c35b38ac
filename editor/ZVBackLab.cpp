// The design surface: composing the buffer, the glyphs, the NotXor band and mouse forwarding.
#include "editor/ZVBackLab.h"

#include "document/ZVCustomLab.h"
#include "editor/ZVEditor.h"
#include "editor/ZVGlyphs.h"
#include "document/ZVElement.h"
#include "foundation/ZVCanvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace zorvel {
namespace {

constexpr int kDefaultWidth = 300;
constexpr int kDefaultHeight = 200;

QRect bandBox(TPoint from, TPoint to)
{
    return QRect(QPoint(from.X, from.Y), QPoint(to.X, to.Y)).normalized();
}

} // namespace

TZVBackLab::TZVBackLab(TZVCustomEditor* editor, QWidget* parent) : QWidget(parent), m_editor(editor)
{
    // The buffer covers every pixel: nothing to erase, nothing to blend with.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    SetSurfaceSize(kDefaultWidth, kDefaultHeight);
}

TZVBackLab::~TZVBackLab()
{
    m_editor = nullptr;
}

void TZVBackLab::SetSurfaceSize(int width, int height)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (m_buffer.width() != width || m_buffer.height() != height) {
        m_buffer = QImage(width, height, QImage::Format_RGB32);
        m_buffer.fill(Qt::white);
        // The band was drawn on the old buffer.
        m_bandShown = false;
    }
    resize(width, height);
    m_fullCompose = true;
}

void TZVBackLab::Invalidate()
{
    update();
}

void TZVBackLab::InvalidateAll()
{
    m_fullCompose = true;
    update();
}

void TZVBackLab::RepaintNow()
{
    compose(m_buffer.rect());
    repaint();
}

void TZVBackLab::SetNewElement(TZVElement* element)
{
    m_newElement = element;
}

void TZVBackLab::SetHintField(const QString& field)
{
    if (field == m_hintField) return;
    m_hintField = field;
    setToolTip(field);
}

void TZVBackLab::compose(const QRect& painting)
{
    if (!m_editor || !m_editor->PaintEnabled()) return;
    const QRect full = m_buffer.rect();
    if (!m_editor->Zorvel()) {
        if (m_fullCompose) m_buffer.fill(Qt::white);
        m_fullCompose = false;
        return;
    }
    m_editor->RenderLayers();
    const std::array<int, 3> records = {m_editor->LayerRecordCount(lyBackground),
                                        m_editor->LayerRecordCount(lyContent),
                                        m_editor->LayerRecordCount(lySelection)};
    const QRect selection = m_editor->SelectionLayerBounds();
    const QRect glyphs = glyphBounds();
    QRect region;
    if (m_fullCompose || records[lyBackground] != m_composedRecords[lyBackground] ||
        records[lyContent] != m_composedRecords[lyContent])
        region = full;
    else if (records[lySelection] != m_composedRecords[lySelection])
        // Only the selection moved: what it covered before and covers now.
        region = (m_shownSelection | selection | m_shownGlyphs | glyphs) & full;
    else
        return;
    m_fullCompose = false;
    m_composedRecords = records;
    m_shownSelection = selection;
    m_shownGlyphs = glyphs;
    if (region.isEmpty()) return;

    // The band is taken off and put back, so that it stays whole over the recomposed part.
    if (m_bandShown) applyBand(m_bandFrom, m_bandTo, m_bandDotted);
    {
        QPainter painter(&m_buffer);
        painter.setClipRect(region);
        m_editor->DrawLayers(painter, region);
        drawHandleMarks(painter);
    }
    if (m_bandShown) applyBand(m_bandFrom, m_bandTo, m_bandDotted);
    ++m_composeCount;
    if (!painting.contains(region)) update(region);
}

QRect TZVBackLab::glyphBounds() const
{
    QRect bounds;
    TZVCustomLab* label = m_editor->Zorvel();
    for (const TZVHandleMark& mark : label->HandleMarks()) {
        const int shift = mark.Kind == 1 ? -3 : 0;
        for (const TPoint& p : {mark.P1, mark.P2})
            bounds |= QRect(p.X + shift, p.Y + shift, kZvGlyphSize, kZvGlyphSize);
    }
    return bounds;
}

void TZVBackLab::drawHandleMarks(QPainter& painter)
{
    TZVCustomLab* label = m_editor->Zorvel();
    const auto& marks = label->HandleMarks();
    const bool group = m_editor->SelCount() >= 2;
    for (const TZVHandleMark& mark : marks) {
        int glyph = -1;
        int shift = 0;
        switch (mark.Kind) {
        case 1:
            glyph = group ? glCir01Gr : glCir01;
            shift = -3; // centred on the line's ends
            break;
        case 2:
            glyph = glRec01;
            break;
        case 3:
            glyph = glRec01Gr;
            break;
        default:
            continue;
        }
        const QImage& image = ZvMarkGlyph(glyph);
        painter.drawImage(mark.P1.X + shift, mark.P1.Y + shift, image);
        painter.drawImage(mark.P2.X + shift, mark.P2.Y + shift, image);
    }
}

void TZVBackLab::DrawBand(TPoint from, TPoint to, bool dotted)
{
    // A band that has no extent draws nothing, so erasing the first (empty) band of a drag is a
    // no-op rather than a stray pixel.
    if (from == to) return;
    if (m_bandShown && from == m_bandFrom && to == m_bandTo && dotted == m_bandDotted) {
        m_bandShown = false;
    } else {
        m_bandShown = true;
        m_bandFrom = from;
        m_bandTo = to;
        m_bandDotted = dotted;
    }
    applyBand(from, to, dotted);
    update(bandBox(from, to).adjusted(-1, -1, 2, 2));
}

void TZVBackLab::applyBand(TPoint from, TPoint to, bool dotted)
{
    if (!m_editor) return;
    const TZVDrawTool tool = m_editor->DrawTool();
    const bool line = tool == dwLine;
    const bool box = tool == dwRect || tool == dwSelection || tool == dwImage || tool == dwParagraph ||
                     tool == dwTable;
    if (!line && !box) return;
    QPainter painter(&m_buffer);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    QPen pen(toQColor(m_editor->SelColor()), 1, dotted ? Qt::DotLine : Qt::SolidLine);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (line) {
        painter.drawLine(from.X, from.Y, to.X, to.Y);
        return;
    }
    // The outline covers the pixels from the top-left corner up to, not including, the other.
    const QRect r = bandBox(from, to);
    if (r.width() <= 2 || r.height() <= 2)
        painter.drawLine(r.topLeft(), r.bottomRight());
    else
        painter.drawRect(r.x(), r.y(), r.width() - 2, r.height() - 2);
}

void TZVBackLab::ClearMarks(bool glyphsToo)
{
    m_marks.SelRect = {};
    m_marks.HandleLeft = {};
    m_marks.HandleRight = {};
    m_marks.HandleTop = {};
    m_marks.HandleBottom = {};
    m_marks.LineStartHandle = {};
    m_marks.LineEndHandle = {};
    if (glyphsToo && m_editor && m_editor->Zorvel()) m_editor->Zorvel()->HandleMarks().clear();
}

void TZVBackLab::paintEvent(QPaintEvent* event)
{
    compose(event->rect());
    QPainter painter(this);
    const QRect area = event->rect() & m_buffer.rect();
    painter.drawImage(area.topLeft(), m_buffer, area);
}

void TZVBackLab::mousePressEvent(QMouseEvent* event)
{
    if (!m_editor) return;
    const QPoint p = event->position().toPoint();
    m_editor->surfaceMouseDown(event->button(), event->modifiers().testFlag(Qt::ShiftModifier), p.x(), p.y(),
                               event->globalPosition().toPoint());
}

void TZVBackLab::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_editor) return;
    const QPoint p = event->position().toPoint();
    m_editor->surfaceMouseMove(event->modifiers().testFlag(Qt::ShiftModifier), p.x(), p.y());
}

void TZVBackLab::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_editor) return;
    const QPoint p = event->position().toPoint();
    m_editor->surfaceMouseUp(event->button(), event->modifiers().testFlag(Qt::ShiftModifier), p.x(), p.y(),
                             event->globalPosition().toPoint());
}

// The second press of a double click is still a press, after the double-click handling.
void TZVBackLab::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!m_editor) return;
    if (event->button() == Qt::LeftButton) m_editor->surfaceDoubleClick();
    mousePressEvent(event);
}

void TZVBackLab::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (OnMouseEnter) OnMouseEnter(this);
}

void TZVBackLab::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (m_editor) m_editor->m_lastMouse = {-1, -1};
    if (OnMouseLeave) OnMouseLeave(this);
}

} // namespace zorvel
