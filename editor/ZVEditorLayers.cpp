// The editor's three cached paint layers: recording them when dirty, drawing them, and the
// selection frames and grid recorded into them.
#include "editor/ZVBackLab.h"
#include "editor/ZVEditor.h"
#include "editor/ZVLayerCache.h"
#include "document/ZVElement.h"
#include "platform/ZVQtCanvas.h"

#include <QImage>
#include <QPainter>
#include <QPicture>

#include <cstring>

namespace zorvel {
namespace {

// Nothing drawn: every word of the row is zero. No early exit, so the loop runs at memory speed.
bool rowEmpty(const quint32* row, int width)
{
    quint32 any = 0;
    for (int x = 0; x < width; ++x)
        any |= row[x];
    return any == 0;
}

// The box of the pixels that are not fully transparent.
QRect drawnBounds(const QImage& image)
{
    const int w = image.width();
    int top = -1;
    int bottom = -1;
    int left = w;
    int right = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const quint32*>(image.constScanLine(y));
        if (rowEmpty(row, w)) continue;
        int x0 = 0;
        while (row[x0] == 0)
            ++x0;
        int x1 = w - 1;
        while (row[x1] == 0)
            --x1;
        if (top < 0) top = y;
        bottom = y;
        left = std::min(left, x0);
        right = std::max(right, x1);
    }
    if (top < 0) return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// A surface-sized image. A transparent layer remembers where it was drawn on, so that a new
// recording clears only that and composition blends only that.
class TZVRasterLayer final : public LayerCache
{
public:
    QPaintDevice* Begin(QSize size, bool opaque, const LayerCache* under) override
    {
        m_opaque = opaque;
        const QImage::Format format = opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
        const bool fresh = m_image.size() != size || m_image.format() != format;
        if (fresh) m_image = QImage(size, format);
        if (opaque) {
            const auto* below = dynamic_cast<const TZVRasterLayer*>(under);
            if (below && below->m_image.size() == size && below->m_image.format() == format)
                std::memcpy(m_image.bits(), below->m_image.constBits(), std::size_t(m_image.sizeInBytes()));
            else
                m_image.fill(Qt::white);
            m_bounds = m_image.rect();
        } else if (fresh) {
            m_image.fill(Qt::transparent);
        } else if (!m_bounds.isEmpty()) {
            for (int y = m_bounds.top(); y <= m_bounds.bottom(); ++y)
                std::memset(m_image.scanLine(y) + std::size_t(m_bounds.left()) * 4, 0,
                            std::size_t(m_bounds.width()) * 4);
        }
        return &m_image;
    }
    void End() override
    {
        if (!m_opaque) m_bounds = drawnBounds(m_image);
    }
    void Draw(QPainter& painter, const QRect& area) const override
    {
        const QRect part = area & m_bounds;
        if (part.isEmpty()) return;
        if (m_opaque) {
            const QPainter::CompositionMode mode = painter.compositionMode();
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(part.topLeft(), m_image, part);
            painter.setCompositionMode(mode);
        } else {
            painter.drawImage(part.topLeft(), m_image, part);
        }
    }
    QRect Bounds() const override { return m_bounds; }

private:
    QImage m_image;
    QRect m_bounds;
    bool m_opaque = false;
};

class TZVPictureLayer final : public LayerCache
{
public:
    QPaintDevice* Begin(QSize size, bool, const LayerCache*) override
    {
        m_picture = QPicture();
        m_size = size;
        return &m_picture;
    }
    void End() override {}
    void Draw(QPainter& painter, const QRect& area) const override
    {
        painter.save();
        painter.setClipRect(area & Bounds());
        // A picture replays at its recording resolution scaled to the target's.
        const int targetDpiX = painter.device()->logicalDpiX();
        const int targetDpiY = painter.device()->logicalDpiY();
        if (targetDpiX != m_picture.logicalDpiX() || targetDpiY != m_picture.logicalDpiY())
            painter.scale(double(m_picture.logicalDpiX()) / targetDpiX,
                          double(m_picture.logicalDpiY()) / targetDpiY);
        painter.drawPicture(0, 0, m_picture);
        painter.restore();
    }
    QRect Bounds() const override { return QRect(QPoint(0, 0), m_size); }

private:
    QPicture m_picture;
    QSize m_size;
};

} // namespace

std::unique_ptr<LayerCache> LayerCache::Make(TZVLayerStrategy strategy)
{
    if (strategy == TZVLayerStrategy::Picture) return std::make_unique<TZVPictureLayer>();
    return std::make_unique<TZVRasterLayer>();
}

void TZVCustomEditor::SetLayerStrategy(TZVLayerStrategy strategy)
{
    if (strategy == m_layerStrategy) return;
    m_layerStrategy = strategy;
    dropLayers();
}

void TZVCustomEditor::dropLayers()
{
    for (auto& layer : m_layers)
        layer.reset();
    m_contentDirty = true;
    m_selectionDirty = true;
    if (m_label) m_label->BackSurf().SetBackDirty(true);
    if (m_surface) m_surface->InvalidateAll();
}

bool TZVCustomEditor::RenderLayers()
{
    if (!m_paintEnabled || !m_label) return false;
    // The label may have been given another master since the last paint.
    watchRecords();
    bool recorded = false;
    if (m_label->BackSurf().BackDirty()) {
        recordLayer(lyBackground);
        recorded = true;
        // A raster content layer is drawn over a copy of the background.
        if (m_layerStrategy == TZVLayerStrategy::Raster) m_contentDirty = true;
    }
    if (m_contentDirty) {
        m_contentDirty = false;
        recordLayer(lyContent);
        recorded = true;
    }
    if (m_selectionDirty) {
        m_label->HandleMarks().clear();
        m_selectionDirty = false;
        recordLayer(lySelection);
        recorded = true;
    }
    return recorded;
}

void TZVCustomEditor::recordLayer(TZVLayerId id)
{
    auto& layer = m_layers[static_cast<std::size_t>(id)];
    if (!layer) layer = LayerCache::Make(m_layerStrategy);
    const int w = SurfaceWidth();
    const int h = SurfaceHeight();
    const bool raster = m_layerStrategy == TZVLayerStrategy::Raster;
    const bool opaque = id == lyBackground || (id == lyContent && raster);
    QPaintDevice* device = layer->Begin(QSize(w, h), opaque, m_layers[lyBackground].get());
    TZVDeviceCaps caps;
    caps.DpiX = m_dpiX;
    caps.DpiY = m_dpiY;
    caps.Width = w;
    caps.Height = h;
    {
        TZVQtCanvas canvas(device, caps);
        TZVBackSurf& back = m_label->BackSurf();
        if (id == lyBackground) {
            // The background counts its gradient steps in surface pixels: no mapping.
            back.PaintBackground(canvas, {0, 0}, ptEditor, TRect{0, 0, w, h});
        } else {
            const TZVMeasure& measure = m_label->Measure();
            canvas.SetMapMode(mmAnisotropic);
            canvas.SetWindowOrgEx(0, 0);
            canvas.SetWindowExtEx(measure.Width(), measure.Height());
            canvas.SetViewportOrgEx(0, 0);
            canvas.SetViewportExtEx(w, h);
            m_recordingCanvas = &canvas;
            if (id == lyContent) {
                DrawGrid(canvas);
                m_label->Frame().PaintFrame(canvas, {0, 0}, ptEditor);
                if (!back.GuidesInSelection()) back.PaintGuides(canvas);
                m_label->PaintElements(canvas, {0, 0}, ptEditor, 1);
            } else {
                // Last selected first, so the first selected ends on top. A copy: painting
                // must not be disturbed by a change of the selection.
                const QList<TZVElement*> selection = m_selection;
                for (auto it = selection.crbegin(); it != selection.crend(); ++it)
                    (*it)->Paint(canvas, {0, 0}, ptEditor, 1);
                // While a guide is dragged it lies here, over the elements, so that each step
                // re-records only this layer.
                if (back.GuidesInSelection()) back.PaintGuides(canvas);
            }
            m_recordingCanvas = nullptr;
        }
    }
    layer->End();
    ++m_recordCount[static_cast<std::size_t>(id)];
}

void TZVCustomEditor::DrawLayers(QPainter& painter, const QRect& area) const
{
    const auto& back = m_layers[lyBackground];
    const auto& content = m_layers[lyContent];
    const auto& selection = m_layers[lySelection];
    if (m_layerStrategy == TZVLayerStrategy::Raster && (content || back)) {
        // The raster content layer holds the background too.
        (content ? content : back)->Draw(painter, area);
    } else {
        painter.fillRect(area, Qt::white);
        if (back) back->Draw(painter, area);
        if (content) content->Draw(painter, area);
    }
    if (selection) selection->Draw(painter, area);
}

QRect TZVCustomEditor::SelectionLayerBounds() const
{
    const auto& selection = m_layers[lySelection];
    return selection ? selection->Bounds() : QRect();
}

void TZVCustomEditor::DrawGrid(TZVCanvas& canvas)
{
    if (!m_label || !m_grid) return;
    m_grid->Draw(canvas, m_label->Measure().Width(), m_label->Measure().Height());
}

void TZVCustomEditor::DrawSelectionFrame(bool selected, const TRect& modelRect, const TRect& screenRect,
                                         bool showHandles)
{
    if (!selected || !m_recordingCanvas) return;
    TZVCanvas& canvas = *m_recordingCanvas;
    const bool single = SelCount() < 2;
    canvas.SelectPen({single ? m_selColor : m_selMultiColor, 0, psSolid});
    canvas.SelectBrush({0xFFFFFF, bsClear});
    const TPoint outline[] = {{modelRect.Left, modelRect.Top},
                              {modelRect.Right, modelRect.Top},
                              {modelRect.Right, modelRect.Bottom},
                              {modelRect.Left, modelRect.Bottom},
                              {modelRect.Left, modelRect.Top}};
    canvas.Polyline(outline);
    if (!showHandles) return;

    const TRect& s = screenRect;
    const int midX = s.Left + s.Width() / 2;
    const int midY = s.Top + s.Height() / 2;
    std::int16_t kind = 3;
    if (single) {
        kind = 2;
        if (m_surface) {
            TZVMarks& marks = m_surface->Marks();
            marks.HandleLeft = {s.Left - 3, midY - 3, s.Left + 4, midY + 4};
            marks.HandleRight = {s.Right - 3, midY - 3, s.Right + 4, midY + 4};
            marks.HandleTop = {midX - 3, s.Top - 3, midX + 4, s.Top + 4};
            marks.HandleBottom = {midX - 3, s.Bottom - 3, midX + 4, s.Bottom + 4};
        }
    }
    if (!m_label) return;
    auto& marks = m_label->HandleMarks();
    marks.push_back({kind, {s.Left - 3, midY - 3}, {s.Right - 3, midY - 3}});
    marks.push_back({kind, {midX - 3, s.Bottom - 3}, {midX - 3, s.Top - 3}});
}

} // namespace zorvel
