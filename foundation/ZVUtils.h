// Units, geometry, rotation, colour and text helpers shared by the label, its elements and the editor.
#pragma once

#include "foundation/ZVTypes.h"
#include "zorvel_core_export.h"

#include <QString>

#include <cstdint>
#include <type_traits>

namespace zorvel {

/// Model unit: hundredths of a millimetre, held as a signed 32-bit integer.
inline constexpr int kModelPerMm = 100;
/// Model units per inch and per centimetre.
/// @{
inline constexpr int kModelPerInch = 2540;
inline constexpr int kModelPerCm = 1000;
/// @}

/// Display unit -> model unit, rounding ties to the even neighbour; saturates at the 32-bit range.
ZORVEL_CORE_EXPORT int ToModel(double x, TZVUnits units);
/// Model unit -> display unit; 0 for a unit outside the enumeration.
ZORVEL_CORE_EXPORT float FromModel(int v, TZVUnits units);

/// Fixed-millimetre lengths (bar width, module distance, character separation).
ZORVEL_CORE_EXPORT std::int64_t MmToModel(double x);
/// Model units -> millimetres.
ZORVEL_CORE_EXPORT float ModelToMm(std::int64_t v);

/// Device pixels at `dpi` dots per inch -> model units.
ZORVEL_CORE_EXPORT int PixelsToModel(double pixels, int dpi);

/// Integer part plus one when the fractional part is at least 0.5 (so negative values truncate).
ZORVEL_CORE_EXPORT std::int64_t RoundHalfUp(double x);

/// a / b rounded towards minus infinity; b must not be 0.
ZORVEL_CORE_EXPORT std::int64_t FloorDiv(std::int64_t a, std::int64_t b);

/// The nearest int to `v`: the int range's ends beyond it.
int SaturateToInt(std::int64_t v);

/// a * b / c over a 64-bit product, rounded half away from zero; `a` unchanged when c is 0 (no scale
/// known yet), and a quotient beyond the int range saturates.
ZORVEL_CORE_EXPORT int MulDiv(int a, int b, int c);

/// Rounded straight-line distance between two points.
ZORVEL_CORE_EXPORT int PointDistance(TPoint p, TPoint q);

/// The upper bound is tested first, even when it lies below the lower one.
template <typename T>
constexpr T Clamp(T value, T low, T high)
{
    if (high < value)
        return high;
    if (value < low)
        return low;
    return value;
}

/// Stores `value` in `field` unless they are equal; true when `field` changed. The first half of
/// every setter that tells someone of a change.
template <typename T>
bool StoreIfChanged(T& field, const std::type_identity_t<T>& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

/// Sum of the decimal digits of `n`; 0 for a negative value.
ZORVEL_CORE_EXPORT int DigitSum(std::int64_t n);

// Rectangle helpers (model units or pixels alike).
/// Swaps edges so that Left <= Right and Top <= Bottom.
ZORVEL_CORE_EXPORT void NormalizeRect(TRect& r);
/// NormalizeRect that reports whether it swapped anything.
ZORVEL_CORE_EXPORT void NormalizeRectChanged(TRect& r, bool& changed);
/// Normalizes `r`, widens it to a minimum size, then moves it (keeping its size) inside the bounds.
ZORVEL_CORE_EXPORT void FitRect(TRect& r, int minLeft, int minTop, int maxBottom, int maxRight);
/// True when `inner` lies within `outer`, edges included.
ZORVEL_CORE_EXPORT bool RectInside(const TRect& inner, const TRect& outer);
/// Moves the top-left corner to (x, y), keeping the size.
ZORVEL_CORE_EXPORT void MoveRectTo(TRect& r, int x, int y);
/// Sets one edge without moving the others.
/// @{
inline void SetLeft(TRect& r, int v) { r.Left = v; }
inline void SetTop(TRect& r, int v) { r.Top = v; }
inline void SetRight(TRect& r, int v) { r.Right = v; }
inline void SetBottom(TRect& r, int v) { r.Bottom = v; }
/// @}

/// Turns `p` about `centre` by `angle` degrees, counterclockwise on screen (y grows downward).
/// RotatePoint knows 0, 30, 45, 90, 120, 180 and 270; any other angle leaves p unchanged.
ZORVEL_CORE_EXPORT void RotatePoint(TPoint& p, TPoint centre, int angle);
/// Turns both corners by 90, 180 or 270 degrees; other angles leave `r` unchanged. The result may need
/// normalizing.
ZORVEL_CORE_EXPORT void RotateRectQuarter(TRect& r, TPoint centre, int angle);
/// The box W wide and H high anchored at (X, Y) by `anchor` (taLeBo..taRiTo), turned about the anchor.
ZORVEL_CORE_EXPORT void AnchoredBox(TRect& r, int angle, int X, int Y, int anchor, int H, int W);

/// Perceived brightness 0..255 of a colour value (red in the low byte).
ZORVEL_CORE_EXPORT int Luminance(std::uint32_t c);
/// Black for a light colour, white for a dark one: text readable on `c`.
ZORVEL_CORE_EXPORT std::uint32_t ContrastColor(std::uint32_t c);

// Text helpers.
/// True when every character is '0'..'9' (also for an empty string).
ZORVEL_CORE_EXPORT bool IsAllDigits(const QString& s);
/// Left-pads with zeros to `width` characters; longer strings are unchanged.
ZORVEL_CORE_EXPORT QString PadZeros(const QString& s, int width);
/// Wraps in single quotes, doubling the quotes inside, for an SQL literal.
ZORVEL_CORE_EXPORT QString QuoteSql(const QString& s);
/// Replaces decimal commas with points.
ZORVEL_CORE_EXPORT QString CommaToPoint(const QString& s);

} // namespace zorvel
