// The ZPL canvas: printer commands for plain shapes and bar codes, ^GF for what the page picture
// gained in between.
#include "platform/ZVZplCanvas.h"

#include "platform/ZVZplBarcode.h"
#include "platform/ZVZplGraphic.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace zorvel {
namespace {

// Dark below half brightness, with the eye's weights of red, green and blue.
bool darkRgb(QRgb rgb)
{
    // Most dots of a label are paper white.
    if ((rgb & 0xFFFFFFu) == 0xFFFFFFu) return false;
    if ((rgb & 0xFFFFFFu) == 0) return true;
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

// `count` bits of `source` (a row of `sourceBytes` bytes) from bit `first` on, to the start of
// `target`; bits past `count` in the last byte are cleared.
void copyBits(const std::uint8_t* source, int sourceBytes, int first, int count, std::uint8_t* target)
{
    const int shift = first & 7;
    const int start = first >> 3;
    const int bytes = (count + 7) / 8;
    for (int i = 0; i < bytes; ++i) {
        unsigned value = unsigned(source[start + i]) << shift;
        if (shift != 0 && start + i + 1 < sourceBytes) value |= unsigned(source[start + i + 1]) >> (8 - shift);
        target[i] = std::uint8_t(value);
    }
    if (count % 8 != 0) target[bytes - 1] &= std::uint8_t(0xFF << (8 - count % 8));
}

// Changed rows this close together share one graphic: a blank row in it costs a character, a
// graphic of its own about thirty.
constexpr int kBandGap = 16;

} // namespace

TZVZplCanvas::TZVZplCanvas(QSize dots, int dpi)
    : m_page(dots, QImage::Format_RGB32), m_dpi(dpi), m_drawnRows(std::size_t(std::max(0, dots.height())), false),
      m_diff(std::size_t(std::max(0, dots.height())) * std::size_t((std::max(0, dots.width()) + 7) / 8), 0)
{
    m_page.fill(Qt::white);
    m_printed = m_page.copy();
    startDrawing();
}

void TZVZplCanvas::startDrawing()
{
    TZVDeviceCaps caps;
    caps.DpiX = caps.DpiY = m_dpi;
    caps.Width = m_page.width();
    caps.Height = m_page.height();
    m_raster = std::make_unique<TZVQtCanvas>(&m_page, caps);
}

void TZVZplCanvas::Clear()
{
    flush(); // marks the rows painted since the last look
    m_raster.reset();
    const int width = m_page.width();
    for (int y = 0; y < m_page.height(); ++y) {
        if (!m_drawnRows[std::size_t(y)]) continue;
        auto* line = reinterpret_cast<QRgb*>(m_page.scanLine(y));
        std::fill(line, line + width, QRgb(0xFFFFFFFFu));
        std::memcpy(m_printed.scanLine(y), line, std::size_t(width) * sizeof(QRgb));
        m_drawnRows[std::size_t(y)] = false;
    }
    m_state = TState();
    m_saved.clear();
    m_commands.clear();
    startDrawing();
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
    if (r.isEmpty()) return;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        m_drawnRows[std::size_t(y)] = true;
        std::memcpy(reinterpret_cast<QRgb*>(m_printed.scanLine(y)) + r.left(),
                    reinterpret_cast<const QRgb*>(m_page.constScanLine(y)) + r.left(), std::size_t(r.width()) * sizeof(QRgb));
    }
}


// The dots whose darkness differs from what the commands print, one graphic for each band of
// nearby rows that hold some, cut to their bounding box: added ink as a plain graphic, and when
// ink went away (white painted over black) the differences as a reversed graphic, which flips
// exactly them.
void TZVZplCanvas::flush()
{
    if (!m_dirty) return;
    m_dirty = false;
    const int width = m_page.width();
    const int diffBytes = (width + 7) / 8;
    const std::size_t rowBytes = std::size_t(width) * sizeof(QRgb);
    m_changes.clear();
    for (int y = 0; y < m_page.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(m_page.constScanLine(y));
        auto* printed = reinterpret_cast<QRgb*>(m_printed.scanLine(y));
        if (std::memcmp(line, printed, rowBytes) == 0) continue;
        int from = 0, to = width - 1;
        while (line[from] == printed[from])
            ++from;
        while (line[to] == printed[to])
            --to;
        std::uint8_t* diff = m_diff.data() + std::size_t(y) * std::size_t(diffBytes);
        std::memset(diff, 0, std::size_t(diffBytes));
        TRowChange change{y, to + 1, from - 1, false};
        for (int x = from; x <= to; ++x) {
            if (line[x] == printed[x]) continue;
            const bool wasDark = darkRgb(printed[x]);
            if (darkRgb(line[x]) == wasDark) continue;
            change.Erased = change.Erased || wasDark;
            change.Left = std::min(change.Left, x);
            change.Right = x;
            diff[x >> 3] |= std::uint8_t(0x80 >> (x & 7));
        }
        std::memcpy(printed + from, line + from, std::size_t(to - from + 1) * sizeof(QRgb));
        m_drawnRows[std::size_t(y)] = true;
        if (change.Right >= change.Left) m_changes.push_back(change);
    }
    for (std::size_t first = 0; first < m_changes.size();) {
        std::size_t end = first + 1;
        while (end < m_changes.size() && m_changes[end].Y - m_changes[end - 1].Y <= kBandGap)
            ++end;
        writeGraphic(std::span(m_changes).subspan(first, end - first), diffBytes);
        first = end;
    }
}

void TZVZplCanvas::writeGraphic(std::span<const TRowChange> rows, int diffBytes)
{
    QRect box;
    bool erased = false;
    for (const TRowChange& row : rows) {
        box |= QRect(row.Left, row.Y, row.Right - row.Left + 1, 1);
        erased = erased || row.Erased;
    }
    const int bytesPerRow = (box.width() + 7) / 8;
    std::vector<std::uint8_t> bits(std::size_t(bytesPerRow) * std::size_t(box.height()), 0);
    for (const TRowChange& row : rows)
        copyBits(m_diff.data() + std::size_t(row.Y) * std::size_t(diffBytes), diffBytes, box.left(), box.width(),
                 bits.data() + std::size_t(row.Y - box.top()) * std::size_t(bytesPerRow));
    m_commands += origin(box.left(), box.top()) + (erased ? "^FR" : "") +
                  ZplGraphicField(bits, bytesPerRow, box.height()) + "^FS\n";
}

} // namespace zorvel
