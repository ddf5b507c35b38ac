// TZVQtCanvas: pens, shapes, text, regions and pictures of the canvas contract drawn with QPainter.
#include "platform/ZVQtCanvas.h"

#include "foundation/ZVError.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPicture>
#include <QPolygon>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace zorvel {

namespace {

// Measuring size of the probe that finds a face's cell height per em.
constexpr int kProbePixels = 1000;
// A selected height of 0 gets this character height.
constexpr int kDefaultEmHeight = 12;

// Dash patterns of one-pixel pens, in pixels, as GDI draws them.
QList<qreal> dashPattern(TZVPenStyle style)
{
    switch (style) {
    case psDash:
        return {18, 6};
    case psDot:
        return {3, 3};
    case psDashDot:
        return {9, 6, 3, 6};
    case psDashDotDot:
        return {9, 3, 3, 3, 3, 3};
    default:
        return {};
    }
}

Qt::PenCapStyle qtCap(TZVPenCap cap)
{
    switch (cap) {
    case pcSquare:
        return Qt::SquareCap;
    case pcFlat:
        return Qt::FlatCap;
    case pcRound:
        break;
    }
    return Qt::RoundCap;
}

Qt::PenJoinStyle qtJoin(TZVPenJoin join)
{
    switch (join) {
    case pjBevel:
        return Qt::BevelJoin;
    case pjMiter:
        return Qt::MiterJoin;
    case pjRound:
        break;
    }
    return Qt::RoundJoin;
}

QRectF normalized(QPointF a, QPointF b)
{
    return QRectF(QPointF(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                  QPointF(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

bool hasArea(const QRectF& r)
{
    return r.width() > 0 && r.height() > 0;
}

// Rounds a scaled length of a stored design, which may lie beyond any pixel, to the nearest int.
int roundedPixels(double v)
{
    if (std::isnan(v)) return 0;
    return qRound(std::clamp<double>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Angle in 1/16 degree of the point of the ellipse inscribed in `box` that lies on the ray towards `p`.
int ellipseAngle(const QRectF& box, QPointF p)
{
    const QPointF c = box.center();
    const double rx = std::max(box.width() / 2, 0.5);
    const double ry = std::max(box.height() / 2, 0.5);
    const double radians = std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx);
    return qRound(radians * 180 / std::numbers::pi * 16);
}

} // namespace

TZVQtCanvas::TZVQtCanvas(QPaintDevice* device) : TZVQtCanvas(device, CapsOf(*device)) {}

TZVQtCanvas::TZVQtCanvas(QPaintDevice* device, const TZVDeviceCaps& caps)
    : m_ownPainter(std::make_unique<QPainter>(device)), m_painter(m_ownPainter.get()), m_caps(caps)
{
    init();
}

TZVQtCanvas::TZVQtCanvas(QPainter* painter, const TZVDeviceCaps& caps) : m_painter(painter), m_caps(caps)
{
    m_painter->save();
    init();
}

TZVQtCanvas::~TZVQtCanvas()
{
    if (!m_ownPainter) m_painter->restore();
}

void TZVQtCanvas::init()
{
    m_base = m_painter->transform();
    // Hard edges, as GDI draws them; text keeps its smoothing.
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setRenderHint(QPainter::TextAntialiasing, true);
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    m_rasterOps =
        m_painter->paintEngine() && m_painter->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    m_state.QtFont = resolveFont(m_state.Font);
}

TZVDeviceCaps TZVQtCanvas::CapsOf(const QPaintDevice& device)
{
    TZVDeviceCaps caps;
    caps.DpiX = device.logicalDpiX();
    caps.DpiY = device.logicalDpiY();
    caps.Width = device.width();
    caps.Height = device.height();
    return caps;
}

int TZVQtCanvas::GetDeviceCaps(TZVDeviceCap cap) const
{
    return DeviceCap(m_caps, cap);
}

void TZVQtCanvas::SetMapMode(TZVMapMode mode)
{
    m_state.Mapping.Mode = mode;
}

void TZVQtCanvas::SetWindowOrgEx(int x, int y)
{
    m_state.Mapping.WindowOrg = {x, y};
}

void TZVQtCanvas::SetWindowExtEx(int cx, int cy)
{
    if (cx != 0 && cy != 0) m_state.Mapping.WindowExt = {cx, cy};
}

void TZVQtCanvas::SetViewportOrgEx(int x, int y)
{
    m_state.Mapping.ViewportOrg = {x, y};
}

void TZVQtCanvas::SetViewportExtEx(int cx, int cy)
{
    if (cx != 0 && cy != 0) m_state.Mapping.ViewportExt = {cx, cy};
}

void TZVQtCanvas::SaveDC()
{
    m_saved.push_back(m_state);
}

void TZVQtCanvas::RestoreDC()
{
    if (m_saved.empty()) return;
    m_state = std::move(m_saved.back());
    m_saved.pop_back();
    applyClip();
}

// ---- Fonts and text ----

QFont TZVQtCanvas::resolveFont(const TZVFont& font)
{
    // A run selects the same few faces for every label.
    constexpr std::size_t kResolvedFaces = 32;
    for (const TResolvedFont& known : m_resolved)
        if (known.Face.Height == font.Height && known.Face.Bold == font.Bold &&
            known.Face.Italic == font.Italic && known.Face.Name == font.Name)
            return known.Font;
    if (m_resolved.size() == kResolvedFaces) m_resolved.clear();
    QFont qfont(font.Name);
    qfont.setBold(font.Bold);
    qfont.setItalic(font.Italic);
    // Design advances without kerning, so a text is as wide at every size and on every device.
    qfont.setKerning(false);
    qfont.setHintingPreference(QFont::PreferNoHinting);

    int em = kDefaultEmHeight;
    if (font.Height < 0) {
        em = -font.Height;
    } else if (font.Height > 0) {
        const QString key = font.Name + QLatin1Char('|') + QLatin1Char(font.Bold ? 'b' : '-') +
                            QLatin1Char(font.Italic ? 'i' : '-');
        auto it = m_cellPerEm.constFind(key);
        if (it == m_cellPerEm.constEnd()) {
            QFont probe = qfont;
            probe.setPixelSize(kProbePixels);
            const QFontMetricsF metrics(probe);
            it = m_cellPerEm.insert(key, (metrics.ascent() + metrics.descent()) / kProbePixels);
        }
        em = roundedPixels(font.Height / it.value());
    }
    qfont.setPixelSize(std::max(em, 1));
    m_resolved.push_back({font, qfont});
    return qfont;
}

void TZVQtCanvas::SelectFont(const TZVFont& font)
{
    if (font == m_state.Font) return;
    // Colour, escapement and the decoration lines are applied when drawing.
    const bool sameFace = font.Name == m_state.Font.Name && font.Height == m_state.Font.Height &&
                          font.Bold == m_state.Font.Bold && font.Italic == m_state.Font.Italic;
    if (!sameFace) m_state.QtFont = resolveFont(font);
    m_state.Font = font;
}

QFont TZVQtCanvas::textFont() const
{
    QFont font = m_state.QtFont;
    if (m_state.CharExtra != 0) font.setLetterSpacing(QFont::AbsoluteSpacing, m_state.CharExtra);
    if (m_state.BreakSpacing != 0) font.setWordSpacing(m_state.BreakSpacing);
    return font;
}

void TZVQtCanvas::SetTextJustification(int breakExtra, int breakCount)
{
    m_state.BreakSpacing = breakCount > 0 ? double(breakExtra) / breakCount : 0.0;
}

TZVSize TZVQtCanvas::GetTextExtentPoint(const QString& text) const
{
    const QFontMetricsF metrics(textFont());
    return {qRound(metrics.horizontalAdvance(text)), qRound(metrics.ascent()) + qRound(metrics.descent())};
}

TZVTextMetric TZVQtCanvas::GetTextMetrics() const
{
    const QFontMetricsF metrics(m_state.QtFont);
    TZVTextMetric tm;
    tm.Ascent = qRound(metrics.ascent());
    tm.Descent = qRound(metrics.descent());
    tm.Height = tm.Ascent + tm.Descent;
    tm.InternalLeading = std::max(0, tm.Height - m_state.QtFont.pixelSize());
    tm.ExternalLeading = qRound(metrics.leading());
    tm.AveCharWidth = qRound(metrics.averageCharWidth());
    tm.MaxCharWidth = qRound(metrics.maxWidth());
    return tm;
}

void TZVQtCanvas::ExtTextOut(int x, int y, const QString& text)
{
    if (text.isEmpty()) return;
    // Laid out here, without a device, and drawn glyph by glyph at those positions: QPainter::drawText would
    // lay the text out again for the device and scale the character extra by the device's resolution.
    // Line and paragraph separators would start a second line; the measure leaves them out altogether.
    QString oneLine = text;
    oneLine.remove(QChar::LineSeparator).remove(QChar::ParagraphSeparator);
    QTextLayout layout(oneLine, textFont());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid()) return;
    const double width = line.horizontalAdvance();
    const double ascent = line.ascent();
    const double descent = line.descent();

    // Placed in the text's own frame: logical units, x along the baseline, y down across it.
    double left = 0;
    switch (m_state.TextAlign & taHorizontalMask) {
    case taRight:
        left = -width;
        break;
    case taCenter:
        left = -width / 2;
        break;
    default:
        break;
    }
    double top = 0;
    switch (m_state.TextAlign & taVerticalMask) {
    case taBottom:
        top = -(ascent + descent);
        break;
    case taBaseline:
        top = -ascent;
        break;
    default:
        break;
    }

    const TZVMapping& mapping = m_state.Mapping;
    QTransform frame = m_base;
    frame.translate(mapping.DeviceX(x), mapping.DeviceY(y));
    frame.rotate(-m_state.Font.Escapement / 10.0);
    frame.scale(std::abs(mapping.ScaleX()), std::abs(mapping.ScaleY()));

    m_painter->setTransform(frame);
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (m_state.Brush.Style == bsSolid)
        m_painter->fillRect(QRectF(left, top, width, ascent + descent), toQColor(m_state.Brush.Color));
    const QColor color = toQColor(m_state.Font.Color);
    m_painter->setPen(color);
    for (const QGlyphRun& run : line.glyphRuns())
        m_painter->drawGlyphRun(QPointF(left, top), run);

    // Drawn here rather than by the font: Qt's lines vanish when thinner than a pixel and break between runs.
    if (m_state.Font.Underline || m_state.Font.StrikeOut) {
        const QFontMetricsF metrics(m_state.QtFont);
        const double thickness = std::max(metrics.lineWidth(), 1.0 / std::abs(mapping.ScaleY()));
        const double baseline = top + ascent;
        if (m_state.Font.Underline)
            m_painter->fillRect(
                QRectF(left, baseline + metrics.underlinePos() - thickness / 2, width, thickness), color);
        if (m_state.Font.StrikeOut)
            m_painter->fillRect(
                QRectF(left, baseline - metrics.strikeOutPos() - thickness / 2, width, thickness), color);
    }
}

// ---- Shapes ----

QRectF TZVQtCanvas::deviceBox(int left, int top, int right, int bottom) const
{
    const TPoint a = LPtoDP(TPoint{left, top});
    const TPoint b = LPtoDP(TPoint{right, bottom});
    return normalized(QPointF(a.X, a.Y), QPointF(b.X, b.Y));
}

int TZVQtCanvas::penPixels() const
{
    const TZVPen& pen = m_state.Pen;
    if (pen.Style == psClear) return 0;
    if (pen.Width == 0) return 1;
    return std::max(1, roundedPixels(std::abs(pen.Width * m_state.Mapping.ScaleX())));
}

QPen TZVQtCanvas::linePen(int pixels) const
{
    QPen pen(toQColor(m_state.Pen.Color));
    if (pixels <= 1) {
        // Cosmetic with flat ends: Qt then leaves out the last pixel of a line, as GDI does.
        pen.setWidth(0);
        pen.setCapStyle(Qt::FlatCap);
        if (const QList<qreal> dashes = dashPattern(m_state.Pen.Style); !dashes.isEmpty())
            pen.setDashPattern(dashes);
    } else {
        // Qt refuses (and warns about) widths from 2^15 pixels on; wider covers no more of a page.
        pen.setWidth(std::min(pixels, (1 << 15) - 1));
        pen.setCapStyle(qtCap(m_state.Pen.Cap));
        pen.setJoinStyle(qtJoin(m_state.Pen.Join));
    }
    return pen;
}

void TZVQtCanvas::beginDevice(bool useRop)
{
    m_painter->setTransform(m_base);
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    if (useRop && m_rasterOps) {
        if (m_state.Rop == r2NotXorPen)
            mode = QPainter::RasterOp_NotSourceXorDestination;
        else if (m_state.Rop == r2XorPen)
            mode = QPainter::RasterOp_SourceXorDestination;
    }
    m_painter->setCompositionMode(mode);
}

void TZVQtCanvas::fillBoxes(TZVColor color, const QRectF* boxes, int count)
{
    // drawRects rather than fillRect: one fill per call on vector devices instead of a save/restore per box.
    m_painter->setPen(Qt::NoPen);
    m_painter->setBrush(toQColor(color));
    m_painter->drawRects(boxes, count);
}

void TZVQtCanvas::LineTo(int x, int y)
{
    const TPoint points[] = {m_state.Position, {x, y}};
    Polyline(points);
    m_state.Position = {x, y};
}

void TZVQtCanvas::Polyline(std::span<const TPoint> points)
{
    const int pixels = penPixels();
    if (pixels == 0 || points.size() < 2) return;
    beginDevice(true);
    m_painter->setBrush(Qt::NoBrush);
    m_painter->setPen(linePen(pixels));
    if (pixels == 1) {
        QPolygon polygon;
        polygon.reserve(qsizetype(points.size()));
        for (const TPoint& p : points) {
            const TPoint d = LPtoDP(p);
            polygon << QPoint(d.X, d.Y);
        }
        m_painter->drawPolyline(polygon);
    } else {
        // A wide line runs through the centres of its end pixels.
        QPolygonF polygon;
        polygon.reserve(qsizetype(points.size()));
        for (const TPoint& p : points) {
            const TPoint d = LPtoDP(p);
            polygon << QPointF(d.X + 0.5, d.Y + 0.5);
        }
        m_painter->drawPolyline(polygon);
    }
}

void TZVQtCanvas::Rectangle(int left, int top, int right, int bottom)
{
    const QRectF box = deviceBox(left, top, right, bottom);
    if (!hasArea(box)) return;
    const int pixels = penPixels();
    QRectF outer = box;
    if (pixels > 1 && m_state.Pen.Style != psInsideFrame) {
        const int out = (pixels - 1) / 2;
        outer.adjust(-out, -out, out, out);
    }
    const QRectF inner = outer.adjusted(pixels, pixels, -pixels, -pixels);
    beginDevice(true);
    if (m_state.Brush.Style == bsSolid && hasArea(inner)) fillBoxes(m_state.Brush.Color, &inner, 1);
    if (pixels == 0) return;
    if (pixels == 1 && !dashPattern(m_state.Pen.Style).isEmpty()) {
        m_painter->setBrush(Qt::NoBrush);
        m_painter->setPen(linePen(1));
        m_painter->drawRect(outer.adjusted(0.5, 0.5, -0.5, -0.5));
        return;
    }
    // The outline as a filled ring: exact pixels, and each pixel touched once under a raster operation.
    QPainterPath ring;
    ring.setFillRule(Qt::OddEvenFill);
    ring.addRect(outer);
    if (hasArea(inner)) ring.addRect(inner);
    m_painter->setPen(Qt::NoPen);
    m_painter->setBrush(toQColor(m_state.Pen.Color));
    m_painter->drawPath(ring);
}

void TZVQtCanvas::drawRound(TRound kind, const QRectF& box, double cornerX, double cornerY, QPointF ray1,
                            QPointF ray2)
{
    if (!hasArea(box)) return;
    const int pixels = penPixels();
    QRectF outer = box;
    if (pixels > 1 && m_state.Pen.Style != psInsideFrame) {
        const int out = (pixels - 1) / 2;
        outer.adjust(-out, -out, out, out);
    }
    // The pen strokes a path half its width inside the outer edge.
    const double inset = pixels / 2.0;
    const QRectF path = outer.adjusted(inset, inset, -inset, -inset);

    beginDevice(true);
    m_painter->setBrush(m_state.Brush.Style == bsSolid ? QBrush(toQColor(m_state.Brush.Color)) : QBrush());
    if (pixels == 0) {
        m_painter->setPen(Qt::NoPen);
    } else {
        QPen pen = linePen(pixels);
        pen.setJoinStyle(Qt::MiterJoin);
        m_painter->setPen(pen);
    }
    switch (kind) {
    case TRound::Ellipse:
        m_painter->drawEllipse(path);
        break;
    case TRound::RoundRect: {
        const double rx = std::max(0.0, cornerX / 2 - inset);
        const double ry = std::max(0.0, cornerY / 2 - inset);
        if (rx > 0 && ry > 0)
            m_painter->drawRoundedRect(path, rx, ry, Qt::AbsoluteSize);
        else
            m_painter->drawRect(path);
        break;
    }
    case TRound::Pie: {
        const int start = ellipseAngle(path, ray1);
        int span = ellipseAngle(path, ray2) - start;
        while (span <= 0)
            span += 360 * 16;
        m_painter->drawPie(path, start, span);
        break;
    }
    }
}

void TZVQtCanvas::RoundRect(int left, int top, int right, int bottom, int width, int height)
{
    const TZVMapping& mapping = m_state.Mapping;
    drawRound(TRound::RoundRect, deviceBox(left, top, right, bottom), std::abs(width * mapping.ScaleX()),
              std::abs(height * mapping.ScaleY()), {}, {});
}

void TZVQtCanvas::Ellipse(int left, int top, int right, int bottom)
{
    drawRound(TRound::Ellipse, deviceBox(left, top, right, bottom), 0, 0, {}, {});
}

void TZVQtCanvas::Pie(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2)
{
    const TPoint a = LPtoDP(TPoint{x1, y1});
    const TPoint b = LPtoDP(TPoint{x2, y2});
    drawRound(TRound::Pie, deviceBox(left, top, right, bottom), 0, 0, QPointF(a.X, a.Y), QPointF(b.X, b.Y));
}

void TZVQtCanvas::FillRect(const TRect& r)
{
    if (m_state.Brush.Style != bsSolid) return;
    const QRectF box = deviceBox(r.Left, r.Top, r.Right, r.Bottom);
    if (!hasArea(box)) return;
    beginDevice(false);
    fillBoxes(m_state.Brush.Color, &box, 1);
}

void TZVQtCanvas::FillRects(std::span<const TRect> rects)
{
    if (m_state.Brush.Style != bsSolid) return;
    std::vector<QRectF> boxes;
    boxes.reserve(rects.size());
    for (const TRect& r : rects) {
        const QRectF box = deviceBox(r.Left, r.Top, r.Right, r.Bottom);
        if (hasArea(box)) boxes.push_back(box);
    }
    if (boxes.empty()) return;
    beginDevice(false);
    fillBoxes(m_state.Brush.Color, boxes.data(), int(boxes.size()));
}

void TZVQtCanvas::SetPixel(int x, int y, TZVColor color)
{
    const TPoint d = LPtoDP(TPoint{x, y});
    const QRectF pixel(d.X, d.Y, 1, 1);
    beginDevice(false);
    fillBoxes(color, &pixel, 1);
}

bool TZVQtCanvas::FillModules(const TZVModuleBoxes& symbol)
{
    const QPaintEngine* engine = m_painter->paintEngine();
    if (!engine || engine->type() != QPaintEngine::Pdf || m_state.Brush.Style != bsSolid) return false;
    if (symbol.Columns <= 0 || symbol.Rows <= 0) return true;
    const TPoint origin = LPtoDP(symbol.Origin);
    const TPoint rowEnd = LPtoDP(symbol.RowEnd);
    const TPoint columnEnd = LPtoDP(symbol.ColumnEnd);
    // Column and row steps from the device corners: quarter turns and mirrored mappings included.
    const QTransform modules((rowEnd.X - origin.X) / double(symbol.Columns),
                             (rowEnd.Y - origin.Y) / double(symbol.Columns),
                             (columnEnd.X - origin.X) / double(symbol.Rows),
                             (columnEnd.Y - origin.Y) / double(symbol.Rows), origin.X, origin.Y);
    std::vector<QRect> boxes;
    boxes.reserve(symbol.Boxes.size());
    for (const TZVModuleBox& box : symbol.Boxes)
        if (box.Right > box.Left && box.Bottom > box.Top)
            boxes.emplace_back(QPoint(box.Left, box.Top), QPoint(box.Right - 1, box.Bottom - 1));
    if (boxes.empty()) return true;
    beginDevice(false);
    m_painter->setTransform(modules * m_base);
    m_painter->setPen(Qt::NoPen);
    m_painter->setBrush(toQColor(m_state.Brush.Color));
    m_painter->drawRects(boxes.data(), int(boxes.size()));
    return true;
}

// ---- Clipping ----

void TZVQtCanvas::SelectClipRgn(const TZVRegion* region)
{
    if (region)
        m_state.Clip = *region;
    else
        m_state.Clip.reset();
    applyClip();
}

void TZVQtCanvas::OffsetClipRgn(int dx, int dy)
{
    if (!m_state.Clip) return;
    m_state.Clip->Offset(dx, dy);
    applyClip();
}

void TZVQtCanvas::applyClip()
{
    m_painter->setTransform(m_base);
    if (!m_state.Clip) {
        m_painter->setClipping(false);
        return;
    }
    QPainterPath clip;
    for (const TZVRegionPart& part : m_state.Clip->Parts) {
        const QRectF box =
            normalized(QPointF(part.Box.Left, part.Box.Top), QPointF(part.Box.Right, part.Box.Bottom));
        QPainterPath shape;
        if (part.Shape == TZVRegionPart::rpEllipse)
            shape.addEllipse(box);
        else
            shape.addRect(box);
        clip = clip.isEmpty() ? shape : clip.united(shape);
    }
    m_painter->setClipPath(clip);
}

// ---- Pictures ----

void TZVQtCanvas::StretchDraw(const TRect& dest, const QImage& image)
{
    const QRectF box = deviceBox(dest.Left, dest.Top, dest.Right, dest.Bottom);
    if (!hasArea(box) || image.isNull()) return;
    beginDevice(false);
    m_painter->drawImage(box, image);
}

void TZVQtCanvas::StretchDrawPicture(const TRect& dest, const QPicture& picture)
{
    const QRectF box = deviceBox(dest.Left, dest.Top, dest.Right, dest.Bottom);
    const QRect frame = picture.boundingRect();
    if (!hasArea(box) || frame.isEmpty()) return;
    // Playing a picture scales it by the device's resolution over the picture's; the frame mapping undoes
    // that.
    const QPaintDevice* device = m_painter->device();
    const double playX = double(device->logicalDpiX()) / picture.logicalDpiX();
    const double playY = double(device->logicalDpiY()) / picture.logicalDpiY();
    const double sx = box.width() / frame.width();
    const double sy = box.height() / frame.height();
    beginDevice(false);
    QTransform placed = m_base;
    placed.translate(box.left() - frame.left() * sx, box.top() - frame.top() * sy);
    placed.scale(sx / playX, sy / playY);
    m_painter->setTransform(placed);
    m_painter->drawPicture(0, 0, picture);
}

void RequirePaintingApplication()
{
    // Qt ends a process that asks for fonts without one; an error leaves the host running.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw EZvError(QStringLiteral("PRINTING NEEDS A QGUIAPPLICATION (E.G. ON THE OFFSCREEN PLATFORM)"));
}

} // namespace zorvel
