// Units, geometry, rotation, colour and text helpers.
#include "foundation/ZVUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace zorvel {
namespace {

// Round to nearest, ties to even, then saturate: a wild float must not wrap around.
int roundToModel(double x)
{
    const double r = std::nearbyint(x);
    if (std::isnan(r))
        return 0;
    return static_cast<int>(std::clamp<double>(r, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// A rectangle widened by the editor must never be thinner than this, in the caller's unit.
constexpr int kMinFitSize = 8;

// sin/cos of the angles the rotation helpers know.
constexpr double kCos30 = 0.866025403784439;
constexpr double kSin45 = 0.707106781186548;

// Each product truncated toward zero, as the rotation tables are defined.
std::int64_t mul(std::int64_t d, double f)
{
    return static_cast<std::int64_t>(std::trunc(double(d) * f));
}

} // namespace

int ToModel(double x, TZVUnits units)
{
    switch (units) {
    case unMM:
        return roundToModel(x * kModelPerMm);
    case unINCH:
        return roundToModel(x * kModelPerInch);
    case unCM:
        return roundToModel(x * kModelPerCm);
    }
    return 0;
}

float FromModel(int v, TZVUnits units)
{
    switch (units) {
    case unMM:
        return static_cast<float>(v / double(kModelPerMm));
    case unINCH:
        return static_cast<float>(v / double(kModelPerInch));
    case unCM:
        return static_cast<float>(v / double(kModelPerCm));
    }
    return 0;
}

std::int64_t MmToModel(double x)
{
    const double r = std::nearbyint(x * kModelPerMm);
    if (std::isnan(r))
        return 0;
    return static_cast<std::int64_t>(std::clamp<double>(r, -9.0e18, 9.0e18));
}

float ModelToMm(std::int64_t v)
{
    return static_cast<float>(double(v) / kModelPerMm);
}

int PixelsToModel(double pixels, int dpi)
{
    if (dpi <= 0)
        return 0;
    return static_cast<int>(RoundHalfUp(pixels * kModelPerInch / dpi));
}

std::int64_t RoundHalfUp(double x)
{
    const double whole = std::trunc(x);
    auto result = static_cast<std::int64_t>(whole);
    if (x - whole >= 0.5)
        ++result;
    return result;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int SaturateToInt(std::int64_t v)
{
    return static_cast<int>(
        std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return a;
    const std::int64_t product = std::int64_t(a) * b;
    std::int64_t quotient = product / c;
    const std::int64_t remainder = product % c;
    if (2 * std::llabs(remainder) >= std::llabs(c))
        quotient += (product < 0) == (c < 0) ? 1 : -1;
    return SaturateToInt(quotient);
}

int PointDistance(TPoint p, TPoint q)
{
    const double dx = double(p.X) - q.X;
    const double dy = double(p.Y) - q.Y;
    return static_cast<int>(std::nearbyint(std::sqrt(dx * dx + dy * dy)));
}

int DigitSum(std::int64_t n)
{
    int sum = 0;
    for (; n > 0; n /= 10)
        sum += static_cast<int>(n % 10);
    return sum;
}

void NormalizeRectChanged(TRect& r, bool& changed)
{
    changed = false;
    if (r.Bottom < r.Top) {
        std::swap(r.Top, r.Bottom);
        changed = true;
    }
    if (r.Right < r.Left) {
        std::swap(r.Left, r.Right);
        changed = true;
    }
}

void NormalizeRect(TRect& r)
{
    bool changed = false;
    NormalizeRectChanged(r, changed);
}

void FitRect(TRect& r, int minLeft, int minTop, int maxBottom, int maxRight)
{
    NormalizeRect(r);
    // The moves below keep the size the rectangle had before it was widened.
    const int width = r.Width();
    const int height = r.Height();
    if (width < kMinFitSize)
        r.Right = r.Left + kMinFitSize;
    if (height < kMinFitSize)
        r.Bottom = r.Top + kMinFitSize;
    if (r.Right > maxRight) {
        r.Right = maxRight;
        r.Left = maxRight - width;
    }
    if (r.Bottom > maxBottom) {
        r.Bottom = maxBottom;
        r.Top = maxBottom - height;
    }
    if (r.Left < minLeft) {
        r.Left = minLeft;
        r.Right = minLeft + width;
    }
    if (r.Top < minTop) {
        r.Top = minTop;
        r.Bottom = minTop + height;
    }
}

bool RectInside(const TRect& inner, const TRect& outer)
{
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

void MoveRectTo(TRect& r, int x, int y)
{
    const int width = r.Width();
    const int height = r.Height();
    r = {x, y, x + width, y + height};
}

void RotatePoint(TPoint& p, TPoint centre, int angle)
{
    // In 64 bits: stored geometry may lie anywhere in the int range, and the turned point saturates.
    const std::int64_t cx = centre.X;
    const std::int64_t cy = centre.Y;
    const std::int64_t dx = p.X - cx;
    const std::int64_t dy = p.Y - cy;
    const auto at = [](std::int64_t x, std::int64_t y) { return TPoint{SaturateToInt(x), SaturateToInt(y)}; };
    switch (angle) {
    case 30:
        p = at(cx + mul(dx, kCos30) - mul(dy, 0.5), cy + mul(dx, 0.5) + mul(dy, kCos30));
        break;
    case 45:
        p = at(cx + mul(dx, kSin45) - mul(dy, kSin45), cy + mul(dx, kSin45) + mul(dy, kSin45));
        break;
    case 90:
        p = at(cx + dy, cy - dx);
        break;
    case 120:
        p = at(cx - mul(dx, 0.5) - mul(dy, kCos30), cy + mul(dx, kCos30) - mul(dy, 0.5));
        break;
    case 180:
        p = at(cx - dx, cy - dy);
        break;
    case 270:
        p = at(cx - dy, cy + dx);
        break;
    default:
        break;
    }
}

void RotateRectQuarter(TRect& r, TPoint centre, int angle)
{
    if (angle != 90 && angle != 180 && angle != 270)
        return;
    TPoint topLeft{r.Left, r.Top};
    TPoint bottomRight{r.Right, r.Bottom};
    RotatePoint(topLeft, centre, angle);
    RotatePoint(bottomRight, centre, angle);
    r = {topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y};
}

void AnchoredBox(TRect& r, int angle, int X, int Y, int anchor, int H, int W)
{
    if (anchor < taLeBo || anchor > taRiTo)
        return;
    // Offsets of the box's left and right edges from the anchor along the text direction
    // (0, -w..w or -W..0 by the anchor's column), and its extent across it (upward for a
    // bottom anchor, downward for a top one); the quarter turns then map these onto the axes.
    const int w = W / 2;
    const int column = anchor % 3;
    const int along0 = column == 0 ? 0 : column == 1 ? -w : -W;
    const int along1 = column == 0 ? W : column == 1 ? w : 0;
    const bool bottom = anchor <= taRiBo;
    const int across0 = bottom ? -H : 0;
    const int across1 = bottom ? 0 : H;
    switch (angle) {
    case 0:
        r = {X + along0, Y + across0, X + along1, Y + across1};
        break;
    case 90:
        r = {X + across0, Y - along1, X + across1, Y - along0};
        break;
    case 180:
        r = {X - along1, Y - across1, X - along0, Y - across0};
        break;
    case 270:
        r = {X - across1, Y + along0, X - across0, Y + along1};
        break;
    default:
        break;
    }
}

int Luminance(std::uint32_t c)
{
    const int red = c & 0xFF;
    const int green = (c >> 8) & 0xFF;
    const int blue = (c >> 16) & 0xFF;
    return (red * 77 + green * 151 + blue * 28) >> 8;
}

std::uint32_t ContrastColor(std::uint32_t c)
{
    return Luminance(c) >= 128 ? 0x000000 : 0xFFFFFF;
}

bool IsAllDigits(const QString& s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString PadZeros(const QString& s, int width)
{
    return s.size() >= width ? s : QString(width - s.size(), u'0') + s;
}

QString QuoteSql(const QString& s)
{
    QString quoted = s;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

QString CommaToPoint(const QString& s)
{
    QString result = s;
    result.replace(u',', u'.');
    return result;
}

} // namespace zorvel
