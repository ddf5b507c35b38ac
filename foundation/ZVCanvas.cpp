// Canvas value types: colour conversion, mapping arithmetic, device caps and regions.
#include "foundation/ZVCanvas.h"

#include <QImage>
#include <QPicture>

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorvel {

QColor toQColor(TZVColor color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

TZVColor fromQColor(const QColor& color)
{
    const QRgb rgb = color.rgb();
    return TZVColor(qRed(rgb)) | TZVColor(qGreen(rgb)) << 8 | TZVColor(qBlue(rgb)) << 16;
}

namespace {

// Halves round up, as GDI rounds coordinates. A stored design can map a length beyond any pixel:
// it ends at the farthest one.
int roundPixel(double v)
{
    const double rounded = std::floor(v + 0.5);
    if (std::isnan(rounded)) return 0;
    return int(std::clamp<double>(rounded, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

double TZVMapping::ScaleX() const
{
    return Mode == mmText ? 1.0 : double(ViewportExt.X) / WindowExt.X;
}

double TZVMapping::ScaleY() const
{
    return Mode == mmText ? 1.0 : double(ViewportExt.Y) / WindowExt.Y;
}

double TZVMapping::DeviceX(double x) const
{
    return (x - WindowOrg.X) * ScaleX() + ViewportOrg.X;
}

double TZVMapping::DeviceY(double y) const
{
    return (y - WindowOrg.Y) * ScaleY() + ViewportOrg.Y;
}

TPoint TZVMapping::LPtoDP(TPoint p) const
{
    return {roundPixel(DeviceX(p.X)), roundPixel(DeviceY(p.Y))};
}

TPoint TZVMapping::DPtoLP(TPoint p) const
{
    return {roundPixel((p.X - ViewportOrg.X) / ScaleX() + WindowOrg.X),
            roundPixel((p.Y - ViewportOrg.Y) / ScaleY() + WindowOrg.Y)};
}

int DeviceCap(const TZVDeviceCaps& caps, TZVDeviceCap cap)
{
    switch (cap) {
    case dcLogPixelsX:
        return caps.DpiX;
    case dcLogPixelsY:
        return caps.DpiY;
    case dcHorzRes:
        return caps.Width;
    case dcVertRes:
        return caps.Height;
    case dcHorzSize:
        return caps.DpiX > 0 ? roundPixel(caps.Width * 25.4 / caps.DpiX) : 0;
    case dcVertSize:
        return caps.DpiY > 0 ? roundPixel(caps.Height * 25.4 / caps.DpiY) : 0;
    case dcPhysicalOffsetX:
        return caps.PhysicalOffsetX;
    case dcPhysicalOffsetY:
        return caps.PhysicalOffsetY;
    case dcPhysicalWidth:
        return caps.PhysicalWidth != 0 ? caps.PhysicalWidth : caps.Width;
    case dcPhysicalHeight:
        return caps.PhysicalHeight != 0 ? caps.PhysicalHeight : caps.Height;
    }
    return 0;
}

TZVRegion& TZVRegion::Unite(const TZVRegion& other)
{
    Parts.insert(Parts.end(), other.Parts.begin(), other.Parts.end());
    return *this;
}

void TZVRegion::Offset(int dx, int dy)
{
    for (TZVRegionPart& part : Parts)
        part.Box = {part.Box.Left + dx, part.Box.Top + dy, part.Box.Right + dx, part.Box.Bottom + dy};
}

TZVRegion CreateEllipticRgn(int left, int top, int right, int bottom)
{
    return {{{TZVRegionPart::rpEllipse, {left, top, right, bottom}}}};
}

TZVRegion CreateRectRgn(int left, int top, int right, int bottom)
{
    return {{{TZVRegionPart::rpRect, {left, top, right, bottom}}}};
}

TRect TZVCanvas::LPtoDP(const TRect& r) const
{
    const TPoint topLeft = LPtoDP(TPoint{r.Left, r.Top});
    const TPoint bottomRight = LPtoDP(TPoint{r.Right, r.Bottom});
    return {topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y};
}

TZVSeenArea TZVCanvas::SeenArea(double marginPixels) const
{
    const TZVMapping m = GetMapping();
    const auto usable = [](double scale) { return std::isfinite(scale) && scale != 0 ? scale : 1.0; };
    const double sx = usable(m.ScaleX());
    const double sy = usable(m.ScaleY());
    const int width = std::max(GetDeviceCaps(dcHorzRes), GetDeviceCaps(dcPhysicalWidth));
    const int height = std::max(GetDeviceCaps(dcVertRes), GetDeviceCaps(dcPhysicalHeight));
    double d[4] = {-kUnsizedDevicePixels, -kUnsizedDevicePixels, kUnsizedDevicePixels, kUnsizedDevicePixels};
    if (width > 0 && height > 0) {
        d[0] = -double(GetDeviceCaps(dcPhysicalOffsetX)) - marginPixels;
        d[1] = -double(GetDeviceCaps(dcPhysicalOffsetY)) - marginPixels;
        d[2] = width + marginPixels;
        d[3] = height + marginPixels;
    }
    const double x0 = m.WindowOrg.X + (d[0] - m.ViewportOrg.X) / sx;
    const double x1 = m.WindowOrg.X + (d[2] - m.ViewportOrg.X) / sx;
    const double y0 = m.WindowOrg.Y + (d[1] - m.ViewportOrg.Y) / sy;
    const double y1 = m.WindowOrg.Y + (d[3] - m.ViewportOrg.Y) / sy;
    return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1), std::abs(sx), std::abs(sy)};
}

void TZVCanvas::Draw(int x, int y, const QImage& image)
{
    StretchDraw({x, y, x + image.width(), y + image.height()}, image);
}

void TZVCanvas::DrawPicture(int x, int y, const QPicture& picture)
{
    const QRect frame = picture.boundingRect();
    StretchDrawPicture({x, y, x + frame.width(), y + frame.height()}, picture);
}

} // namespace zorvel
