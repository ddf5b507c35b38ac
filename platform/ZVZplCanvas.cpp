// The ZPL canvas: printer commands for plain shapes and bar codes, ^GF for what the page picture
// gained in between.
#include "platform/ZVZplCanvas.h"

#include "platform/ZVZplBarcode.h"
#include "platform/ZVZplGraphic.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace zorvel {
namespace {

// Dark below half brightness, with the eye's weights of red, green and blue.
bool darkRgb(QRgb rgb)
{
    return qRed(rgb) * 77 + qGreen(rgb) * 150 + qBlue(rgb) * 29 < 128 * 256;
}

bool darkColor(TZVColor color)
{
    return darkRgb(toQColor(color).rgb());
}

QByteArray origin(int x, int y)
{
    return "^FO" + QByteArray::number(x) + ',' + QByteArray::number(y);
}

} // namespace

TZVZplCanvas::TZVZplCanvas(QSize dots, int dpi)
    : m_page(dots, QImage::Format_RGB32),
      m_printed(std::size_t(std::max(0, dots.width())) * std::size_t(std::max(0, dots.height())), 0)
{
    m_page.fill(Qt::white);
    TZVDeviceCaps caps;
    caps.DpiX = caps.DpiY = dpi;
    caps.Width = dots.width();
    caps.Height = dots.height();
    m_raster = std::make_unique<TZVQtCanvas>(&m_page, caps);
}

TZVZplCanvas::~TZVZplCanvas() = default;

QByteArray TZVZplCanvas::Commands()
{
    flush();
    return m_commands;
}

void TZVZplCanvas::SaveDC()
{
    m_raster->SaveDC();
    m_saved.push_back(m_state);
}

void TZVZplCanvas::RestoreDC()
{
    m_raster->RestoreDC();
    if (m_saved.empty()) return;
    m_state = m_saved.back();
    m_saved.pop_back();
}

void TZVZplCanvas::SelectPen(const TZVPen& pen)
{
    m_raster->SelectPen(pen);
    m_state.Pen = pen;
}

void TZVZplCanvas::SelectBrush(const TZVBrush& brush)
{
    m_raster->SelectBrush(brush);
    m_state.Brush = brush;
}

void TZVZplCanvas::SetROP2(TZVRop2 mode)
{
    m_raster->SetROP2(mode);
    m_state.Rop = mode;
}

void TZVZplCanvas::SelectClipRgn(const TZVRegion* region)
{
    m_raster->SelectClipRgn(region);
    m_state.Clipped = region != nullptr;
}

int TZVZplCanvas::penDots() const
{
    const TZVPen& pen = m_state.Pen;
    if (pen.Style == psClear) return 0;
    if (pen.Width == 0) return 1;
    return std::max(1, int(std::lround(std::abs(pen.Width * GetMapping().ScaleX()))));
}

void TZVZplCanvas::MoveTo(int x, int y)
{
    m_raster->MoveTo(x, y);
    m_state.Position = {x, y};
}

// A one-dot line across or down is a box one dot thick without its last dot; anything else is
// painted.
void TZVZplCanvas::LineTo(int x, int y)
{
    const TPoint from = LPtoDP(m_state.Position);
    const TPoint to = LPtoDP(TPoint{x, y});
    const bool straight = (from.X == to.X) != (from.Y == to.Y);
    if (vectorReady() && penDots() == 1 && m_state.Pen.Style != psClear &&
        (m_state.Pen.Style == psSolid || m_state.Pen.Style == psInsideFrame) && straight) {
        const QRect r = from.Y == to.Y ? QRect(std::min(from.X, to.X + 1), from.Y, std::abs(to.X - from.X), 1)
                                       : QRect(from.X, std::min(from.Y, to.Y + 1), 1, std::abs(to.Y - from.Y));
        if (m_page.rect().contains(r)) {
            flush();
            box(r, 1, m_state.Pen.Color);
            m_raster->LineTo(x, y);
            m_state.Position = {x, y};
            settle(r);
            return;
        }
    }
    m_raster->LineTo(x, y);
    m_state.Position = {x, y};
    raster();
}

void TZVZplCanvas::Polyline(std::span<const TPoint> points)
{
    m_raster->Polyline(points);
    raster();
}

void TZVZplCanvas::Rectangle(int left, int top, int right, int bottom)
{
    const TPoint a = LPtoDP(TPoint{left, top});
    const TPoint b = LPtoDP(TPoint{right, bottom});
    const QRect area(QPoint(std::min(a.X, b.X), std::min(a.Y, b.Y)), QPoint(std::max(a.X, b.X) - 1, std::max(a.Y, b.Y) - 1));
    const int pixels = penDots();
    const TZVPenStyle style = m_state.Pen.Style;
    // Dashes exist only on one-dot pens; wider ones draw solid.
    const bool solidPen = pixels == 0 || pixels > 1 || style == psSolid || style == psInsideFrame;
    QRect outer = area;
    if (pixels > 1 && style != psInsideFrame) {
        const int out = (pixels - 1) / 2;
        outer.adjust(-out, -out, out, out);
    }
    if (!vectorReady() || !solidPen || area.isEmpty() || !m_page.rect().contains(outer)) {
        m_raster->Rectangle(left, top, right, bottom);
        raster();
        return;
    }
    flush();
    const QRect inner = outer.adjusted(pixels, pixels, -pixels, -pixels);
    if (m_state.Brush.Style == bsSolid && inner.isValid()) box(inner, 0, m_state.Brush.Color);
    if (pixels > 0) box(outer, pixels, m_state.Pen.Color);
    m_raster->Rectangle(left, top, right, bottom);
    settle(outer);
}

void TZVZplCanvas::RoundRect(int left, int top, int right, int bottom, int width, int height)
{
    m_raster->RoundRect(left, top, right, bottom, width, height);
    raster();
}

// Circles as ^GC; other ellipses are painted, since ^GE is not read alike everywhere.
void TZVZplCanvas::Ellipse(int left, int top, int right, int bottom)
{
    const TPoint a = LPtoDP(TPoint{left, top});
    const TPoint b = LPtoDP(TPoint{right, bottom});
    const QRect area(QPoint(std::min(a.X, b.X), std::min(a.Y, b.Y)), QPoint(std::max(a.X, b.X) - 1, std::max(a.Y, b.Y) - 1));
    const int pixels = penDots();
    const TZVPenStyle style = m_state.Pen.Style;
    const bool solidPen = pixels == 0 || pixels > 1 || style == psSolid || style == psInsideFrame;
    QRect outer = area;
    if (pixels > 1 && style != psInsideFrame) {
        const int out = (pixels - 1) / 2;
        outer.adjust(-out, -out, out, out);
    }
    if (!vectorReady() || !solidPen || area.isEmpty() || outer.width() != outer.height() ||
        !m_page.rect().contains(outer)) {
        m_raster->Ellipse(left, top, right, bottom);
        raster();
        return;
    }
    flush();
    const int d = outer.width();
    const auto circle = [&](const QRect& r, int thickness, TZVColor color) {
        m_commands += origin(r.x(), r.y()) + "^GC" + QByteArray::number(r.width()) + ',' +
                      QByteArray::number(std::clamp(thickness, 1, (r.width() + 1) / 2)) + ',' +
                      (darkColor(color) ? 'B' : 'W') + "^FS\n";
    };
    if (m_state.Brush.Style == bsSolid && d > 2 * pixels)
        circle(outer.adjusted(pixels, pixels, -pixels, -pixels), d, m_state.Brush.Color);
    if (pixels > 0) circle(outer, pixels, m_state.Pen.Color);
    m_raster->Ellipse(left, top, right, bottom);
    settle(outer);
}

void TZVZplCanvas::Pie(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2)
{
    m_raster->Pie(left, top, right, bottom, x1, y1, x2, y2);
    raster();
}

void TZVZplCanvas::FillRect(const TRect& r)
{
    if (m_state.Brush.Style != bsSolid) return;
    const TPoint a = LPtoDP(TPoint{r.Left, r.Top});
    const TPoint b = LPtoDP(TPoint{r.Right, r.Bottom});
    const QRect area(QPoint(std::min(a.X, b.X), std::min(a.Y, b.Y)), QPoint(std::max(a.X, b.X) - 1, std::max(a.Y, b.Y) - 1));
    if (area.isEmpty()) return;
    // Off the label the printer would move the box; the picture cuts it instead.
    if (!vectorReady() || !m_page.rect().contains(area)) {
        m_raster->FillRect(r);
        raster();
        return;
    }
    flush();
    box(area, 0, m_state.Brush.Color);
    m_raster->FillRect(r);
    settle(area);
}

// Many boxes (a symbol's modules) cost less as one graphic than as a box command each.
void TZVZplCanvas::FillRects(std::span<const TRect> rects)
{
    if (rects.size() == 1) {
        FillRect(rects.front());
        return;
    }
    m_raster->FillRects(rects);
    raster();
}

void TZVZplCanvas::SetPixel(int x, int y, TZVColor color)
{
    m_raster->SetPixel(x, y, color);
    raster();
}

void TZVZplCanvas::ExtTextOut(int x, int y, const QString& text)
{
    m_raster->ExtTextOut(x, y, text);
    raster();
}

void TZVZplCanvas::StretchDraw(const TRect& dest, const QImage& image)
{
    m_raster->StretchDraw(dest, image);
    raster();
}

void TZVZplCanvas::StretchDrawPicture(const TRect& dest, const QPicture& picture)
{
    m_raster->StretchDrawPicture(dest, picture);
    raster();
}

bool TZVZplCanvas::DrawNativeBarcode(const TZVNativeBarcode& symbol)
{
    // The printer's symbols are black.
    if (!vectorReady() || m_state.Brush.Style != bsSolid || !darkColor(m_state.Brush.Color)) return false;
    const std::optional<QByteArray> field = ZplBarcodeField(symbol);
    if (!field) return false;
    if (!m_page.rect().contains(QPoint(symbol.Anchor.X, symbol.Anchor.Y))) return false;
    flush();
    m_commands += *field;
    return true;
}

void TZVZplCanvas::box(QRect r, int thickness, TZVColor color)
{
    const int t = thickness > 0 ? std::min({thickness, r.width(), r.height()}) : std::min(r.width(), r.height());
    m_commands += origin(r.x(), r.y()) + "^GB" + QByteArray::number(r.width()) + ',' +
                  QByteArray::number(r.height()) + ',' + QByteArray::number(t) + ',' +
                  (darkColor(color) ? 'B' : 'W') + ",0^FS\n";
}

void TZVZplCanvas::settle(QRect r)
{
    r = r.intersected(m_page.rect());
    const int width = m_page.width();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(m_page.constScanLine(y));
        std::uint8_t* printed = m_printed.data() + std::size_t(y) * std::size_t(width);
        for (int x = r.left(); x <= r.right(); ++x)
            printed[x] = darkRgb(line[x]) ? 1 : 0;
    }
}

// The dots whose darkness differs from what the commands print, inside their bounding box: added
// ink as a plain graphic, and when ink went away (white painted over black) the differences as a
// reversed graphic, which flips exactly them.
void TZVZplCanvas::flush()
{
    if (!m_dirty) return;
    m_dirty = false;
    const int width = m_page.width();
    const int height = m_page.height();
    int left = width, right = -1, top = height, bottom = -1;
    bool erased = false;
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(m_page.constScanLine(y));
        const std::uint8_t* printed = m_printed.data() + std::size_t(y) * std::size_t(width);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t dark = darkRgb(line[x]) ? 1 : 0;
            if (dark == printed[x]) continue;
            erased = erased || printed[x] != 0;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = y;
        }
    }
    if (right < 0) return;
    const int bytesPerRow = (right - left + 8) / 8;
    const int rows = bottom - top + 1;
    std::vector<std::uint8_t> bits(std::size_t(bytesPerRow) * std::size_t(rows), 0);
    for (int y = top; y <= bottom; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(m_page.constScanLine(y));
        std::uint8_t* printed = m_printed.data() + std::size_t(y) * std::size_t(width);
        std::uint8_t* row = bits.data() + std::size_t(y - top) * std::size_t(bytesPerRow);
        for (int x = left; x <= right; ++x) {
            const std::uint8_t dark = darkRgb(line[x]) ? 1 : 0;
            if (erased ? dark != printed[x] : dark != 0) row[(x - left) >> 3] |= std::uint8_t(0x80 >> ((x - left) & 7));
            printed[x] = dark;
        }
    }
    m_commands += origin(left, top) + (erased ? "^FR" : "") + ZplGraphicField(bits, bytesPerRow, rows) + "^FS\n";
}

} // namespace zorvel
