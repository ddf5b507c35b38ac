// The ZPL canvas: printer commands for plain shapes and bar codes, ^GF for what the page picture
// gained in between.
#include "platform/ZVZplCanvas.h"

#include "platform/ZVZplBarcode.h"
#include "platform/ZVZplGraphic.h"

#include <QPainter>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

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

// The first dot in [x, end) where two rows differ, or end; sixteen, then four dots a step where
// they agree, since most of a label stays as it was.
int nextDifference(const QRgb* a, const QRgb* b, int x, int end)
{
    for (; x + 16 <= end; x += 16)
        if (std::memcmp(a + x, b + x, 16 * sizeof(QRgb)) != 0) break;
    for (; x + 4 <= end; x += 4) {
        std::uint64_t a0, a1, b0, b1;
        std::memcpy(&a0, a + x, 8);
        std::memcpy(&a1, a + x + 2, 8);
        std::memcpy(&b0, b + x, 8);
        std::memcpy(&b1, b + x + 2, 8);
        if (((a0 ^ b0) | (a1 ^ b1)) != 0) break;
    }
    while (x < end && a[x] == b[x])
        ++x;
    return x;
}

// The last dot in [begin, x] where two rows differ, or begin - 1.
int previousDifference(const QRgb* a, const QRgb* b, int x, int begin)
{
    for (; x - 15 >= begin; x -= 16)
        if (std::memcmp(a + x - 15, b + x - 15, 16 * sizeof(QRgb)) != 0) break;
    for (; x - 3 >= begin; x -= 4) {
        std::uint64_t a0, a1, b0, b1;
        std::memcpy(&a0, a + x - 3, 8);
        std::memcpy(&a1, a + x - 1, 8);
        std::memcpy(&b0, b + x - 3, 8);
        std::memcpy(&b1, b + x - 1, 8);
        if (((a0 ^ b0) | (a1 ^ b1)) != 0) break;
    }
    while (x >= begin && a[x] == b[x])
        --x;
    return x;
}

// Changed rows this close together share one graphic: a blank row in it costs a character, a
// graphic of its own about thirty.
constexpr int kBandGap = 16;

} // namespace

TZVZplCanvas::TZVZplCanvas(QSize dots, int dpi)
    : m_page(dots, QImage::Format_RGB32), m_dpi(dpi), m_inkSpans(std::size_t(std::max(0, dots.height()))),
      m_dirtySpans(m_inkSpans.size()),
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
    for (int y = 0; y < m_page.height(); ++y) {
        const TSpan ink = std::exchange(m_inkSpans[std::size_t(y)], TSpan());
        if (ink.Right < ink.Left) continue;
        auto* line = reinterpret_cast<QRgb*>(m_page.scanLine(y));
        std::fill(line + ink.Left, line + ink.Right + 1, QRgb(0xFFFFFFFFu));
        std::memcpy(reinterpret_cast<QRgb*>(m_printed.scanLine(y)) + ink.Left, line + ink.Left,
                    std::size_t(ink.Right - ink.Left + 1) * sizeof(QRgb));
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

QRect TZVZplCanvas::deviceRect(int left, int top, int right, int bottom) const
{
    const TPoint a = LPtoDP(TPoint{left, top});
    const TPoint b = LPtoDP(TPoint{right, bottom});
    return {QPoint(std::min(a.X, b.X), std::min(a.Y, b.Y)), QPoint(std::max(a.X, b.X) - 1, std::max(a.Y, b.Y) - 1)};
}

// The box a frame drawn around `area` covers: a wide pen is centred on the edge unless it is
// drawn inside the frame.
QRect TZVZplCanvas::penOuterBox(QRect area, int pixels) const
{
    if (pixels <= 1 || m_state.Pen.Style == psInsideFrame) return area;
    const int out = (pixels - 1) / 2;
    return area.adjusted(-out, -out, out, out);
}

void TZVZplCanvas::raster(QRect bounds)
{
    if (bounds.isNull()) return;
    m_dirty = true;
    // Room for the pen and the rounding of whatever drew there.
    const int room = penDots() + 2;
    bounds = bounds.normalized().adjusted(-room, -room, room, room).intersected(m_page.rect());
    for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
        TSpan& span = m_dirtySpans[std::size_t(y)];
        span.Left = std::min(span.Left, bounds.left());
        span.Right = std::max(span.Right, bounds.right());
    }
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
    raster(QRect(QPoint(from.X, from.Y), QPoint(to.X, to.Y)));
}

void TZVZplCanvas::Polyline(std::span<const TPoint> points)
{
    m_raster->Polyline(points);
    QRect bounds;
    for (const TPoint& point : points) {
        const TPoint device = LPtoDP(point);
        bounds |= QRect(device.X, device.Y, 1, 1);
    }
    raster(bounds);
}

void TZVZplCanvas::Rectangle(int left, int top, int right, int bottom)
{
    const QRect area = deviceRect(left, top, right, bottom);
    const int pixels = penDots();
    const TZVPenStyle style = m_state.Pen.Style;
    // Dashes exist only on one-dot pens; wider ones draw solid.
    const bool solidPen = pixels == 0 || pixels > 1 || style == psSolid || style == psInsideFrame;
    const QRect outer = penOuterBox(area, pixels);
    if (!vectorReady() || !solidPen || area.isEmpty() || !m_page.rect().contains(outer)) {
        m_raster->Rectangle(left, top, right, bottom);
        raster(area);
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
    raster(deviceRect(left, top, right, bottom));
}

// Circles as ^GC; other ellipses are painted, since ^GE is not read alike everywhere.
void TZVZplCanvas::Ellipse(int left, int top, int right, int bottom)
{
    const QRect area = deviceRect(left, top, right, bottom);
    const int pixels = penDots();
    const TZVPenStyle style = m_state.Pen.Style;
    const bool solidPen = pixels == 0 || pixels > 1 || style == psSolid || style == psInsideFrame;
    const QRect outer = penOuterBox(area, pixels);
    if (!vectorReady() || !solidPen || area.isEmpty() || outer.width() != outer.height() ||
        !m_page.rect().contains(outer)) {
        m_raster->Ellipse(left, top, right, bottom);
        raster(area);
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
    raster(deviceRect(left, top, right, bottom));
}

void TZVZplCanvas::FillRect(const TRect& r)
{
    if (m_state.Brush.Style != bsSolid) return;
    const QRect area = deviceRect(r.Left, r.Top, r.Right, r.Bottom);
    if (area.isEmpty()) return;
    // Off the label the printer would move the box; the picture cuts it instead.
    if (!vectorReady() || !m_page.rect().contains(area)) {
        m_raster->FillRect(r);
        raster(area);
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
    QRect bounds;
    for (const TRect& r : rects)
        bounds |= deviceRect(r.Left, r.Top, r.Right, r.Bottom);
    raster(bounds);
}

void TZVZplCanvas::SetPixel(int x, int y, TZVColor color)
{
    m_raster->SetPixel(x, y, color);
    const TPoint device = LPtoDP(TPoint{x, y});
    raster(QRect(device.X, device.Y, 1, 1));
}

void TZVZplCanvas::ExtTextOut(int x, int y, const QString& text)
{
    m_raster->ExtTextOut(x, y, text);
    // However aligned, and whatever its glyphs overhang, a text stays within its advance and half
    // its height across and one and a half heights up and down from the reference point;
    // turned, within their sum all round.
    const TZVSize extent = m_raster->GetTextExtentPoint(text);
    const int across = std::abs(extent.cx) + std::abs(extent.cy) / 2;
    const int down = 3 * std::abs(extent.cy) / 2;
    const int reach = m_state.Escapement % 3600 == 0 ? 0 : across + down;
    raster(deviceRect(x - std::max(across, reach), y - std::max(down, reach), x + std::max(across, reach) + 1,
                      y + std::max(down, reach) + 1));
}

void TZVZplCanvas::StretchDraw(const TRect& dest, const QImage& image)
{
    m_raster->StretchDraw(dest, image);
    raster(deviceRect(dest.Left, dest.Top, dest.Right, dest.Bottom));
}

void TZVZplCanvas::StretchDrawPicture(const TRect& dest, const QPicture& picture)
{
    m_raster->StretchDrawPicture(dest, picture);
    // A recorded picture may draw beyond the box it is fitted to.
    raster(m_page.rect());
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
        TSpan& ink = m_inkSpans[std::size_t(y)];
        ink.Left = std::min(ink.Left, r.left());
        ink.Right = std::max(ink.Right, r.right());
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
    const int diffBytes = (m_page.width() + 7) / 8;
    const auto* pageBits = reinterpret_cast<const QRgb*>(m_page.constBits());
    auto* printedBits = reinterpret_cast<QRgb*>(m_printed.bits());
    const std::size_t stride = std::size_t(m_page.bytesPerLine()) / sizeof(QRgb);
    m_changes.clear();
    for (int y = 0; y < m_page.height(); ++y) {
        const TSpan painted = std::exchange(m_dirtySpans[std::size_t(y)], TSpan());
        if (painted.Right < painted.Left) continue;
        const QRgb* line = pageBits + std::size_t(y) * stride;
        QRgb* printed = printedBits + std::size_t(y) * stride;
        const int from = nextDifference(line, printed, painted.Left, painted.Right + 1);
        if (from > painted.Right) continue;
        const int to = previousDifference(line, printed, painted.Right, from);
        std::uint8_t* diff = m_diff.data() + std::size_t(y) * std::size_t(diffBytes);
        std::memset(diff, 0, std::size_t(diffBytes));
        TRowChange change{y, to + 1, from - 1, false};
        // Eight dots a difference byte; a group the same as printed costs one comparison.
        for (int group = from >> 3; group <= to >> 3; ++group) {
            const int first = std::max(from, group * 8);
            const int last = std::min(to, group * 8 + 7);
            if (last - first == 7 && std::memcmp(line + first, printed + first, 8 * sizeof(QRgb)) == 0) continue;
            unsigned bits = 0;
            for (int x = first; x <= last; ++x) {
                if (line[x] == printed[x]) continue;
                const bool wasDark = darkRgb(printed[x]);
                if (darkRgb(line[x]) == wasDark) continue;
                change.Erased = change.Erased || wasDark;
                bits |= 0x80u >> (x & 7);
            }
            if (bits == 0) continue;
            diff[group] = std::uint8_t(bits);
            change.Left = std::min(change.Left, group * 8 + std::countl_zero(std::uint8_t(bits)));
            change.Right = group * 8 + 7 - std::countr_zero(std::uint8_t(bits));
        }
        std::memcpy(printed + from, line + from, std::size_t(to - from + 1) * sizeof(QRgb));
        TSpan& ink = m_inkSpans[std::size_t(y)];
        ink.Left = std::min(ink.Left, from);
        ink.Right = std::max(ink.Right, to);
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
