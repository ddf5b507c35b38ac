// TZVCanvas: the drawing surface that labels, elements and editor layers paint on; pens, fonts, regions.
#pragma once

#include "foundation/ZVTypes.h"
#include "zorvel_core_export.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <span>
#include <vector>

class QImage;
class QPicture;

namespace zorvel {

/// Colours are 0x00BBGGRR; the high byte is ignored when drawing.
ZORVEL_CORE_EXPORT QColor toQColor(TZVColor color);
/// The colour value of a QColor (alpha dropped).
ZORVEL_CORE_EXPORT TZVColor fromQColor(const QColor& color);

/// A size, in the unit of whatever returns it.
struct TZVSize
{
    int cx = 0; ///< width
    int cy = 0; ///< height
    /// Equal when both extents are.
    friend constexpr bool operator==(const TZVSize&, const TZVSize&) = default;
};

/// Mapping from logical units to device pixels. In mmText both extents count as 1.
/// Device = (Logical - WindowOrg) * ViewportExt / WindowExt + ViewportOrg, rounded to the nearest pixel.
/// The label draws in mmAnisotropic with the window in model units (1/100 mm) and the viewport in pixels.
enum TZVMapMode : std::uint8_t
{
    mmText = 1,
    mmAnisotropic = 8
};

/// Logical-to-device mapping of a canvas (see TZVMapMode for the formula).
struct ZORVEL_CORE_EXPORT TZVMapping
{
    TZVMapMode Mode = mmText; ///< mmText maps one unit to one pixel whatever the extents
    /// Origin and extent of the logical window and of the device viewport.
    /// @{
    TPoint WindowOrg;
    TPoint WindowExt{1, 1};
    TPoint ViewportOrg;
    TPoint ViewportExt{1, 1};
    /// @}

    /// Device pixels per logical unit; negative when the axis is flipped.
    /// @{
    double ScaleX() const;
    double ScaleY() const;
    /// @}
    /// Unrounded device position of a logical point.
    /// @{
    double DeviceX(double x) const;
    double DeviceY(double y) const;
    /// @}
    /// Logical point -> device pixel, rounded to the nearest pixel.
    TPoint LPtoDP(TPoint p) const;
    /// Device pixel -> logical point, rounded to the nearest unit.
    TPoint DPtoLP(TPoint p) const;

    /// Equal when every field is.
    friend constexpr bool operator==(const TZVMapping&, const TZVMapping&) = default;
};

/// What a device reports about itself, all in device pixels except the resolution.
struct TZVDeviceCaps
{
    /// Resolution in dots per inch.
    /// @{
    int DpiX = 96;
    int DpiY = 96;
    /// @}
    int Width = 0; ///< printable area
    int Height = 0; ///< printable area
    int PhysicalOffsetX = 0; ///< unprintable margin at the left and the top
    int PhysicalOffsetY = 0; ///< unprintable margin at the top
    int PhysicalWidth = 0; ///< whole page; 0 means the printable area
    int PhysicalHeight = 0; ///< whole page; 0 means the printable area
};

/// The questions GetDeviceCaps answers.
enum TZVDeviceCap : std::uint8_t
{
    dcLogPixelsX,
    dcLogPixelsY,
    dcHorzRes, ///< printable width in pixels
    dcVertRes,
    dcHorzSize, ///< printable width in whole millimetres
    dcVertSize,
    dcPhysicalOffsetX,
    dcPhysicalOffsetY,
    dcPhysicalWidth,
    dcPhysicalHeight,
};

/// The answer of GetDeviceCaps for `caps`.
int DeviceCap(const TZVDeviceCaps& caps, TZVDeviceCap cap);

/// Pens. Width is in logical units; 0 is one device pixel, and a width that maps to less than one pixel
/// draws one pixel. Dashed and dotted styles apply to one-pixel pens only; wider ones draw solid.
/// psInsideFrame keeps the whole outline of Rectangle, RoundRect, Ellipse and Pie inside their box;
/// other styles centre a wider outline on the box's one-pixel border. Caps and joins matter for wide lines.
enum TZVPenStyle : std::uint8_t
{
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame
};
/// End caps of wide pen lines.
enum TZVPenCap : std::uint8_t
{
    pcRound,
    pcSquare,
    pcFlat
};
/// Joins of wide polylines and outlines.
enum TZVPenJoin : std::uint8_t
{
    pjRound,
    pjBevel,
    pjMiter
};

/// The pen that outlines shapes and draws lines.
struct TZVPen
{
    TZVColor Color = 0; ///< outline colour
    int Width = 0; ///< logical units; 0 is one device pixel
    TZVPenStyle Style = psSolid; ///< dash pattern, or clear for no outline
    TZVPenCap Cap = pcRound; ///< end caps of wide lines
    TZVPenJoin Join = pjRound; ///< joins of wide lines
    /// Equal when every field is.
    friend constexpr bool operator==(const TZVPen&, const TZVPen&) = default;
};

/// A solid brush fills shapes and, behind text, the text's cells; a clear one leaves them alone.
enum TZVBrushStyle : std::uint8_t
{
    bsSolid,
    bsClear
};

/// The brush that fills shapes and text cells.
struct TZVBrush
{
    TZVColor Color = 0xFFFFFF; ///< fill colour
    TZVBrushStyle Style = bsSolid; ///< solid or clear
    /// Equal when both fields are.
    friend constexpr bool operator==(const TZVBrush&, const TZVBrush&) = default;
};

/// Height > 0 is the cell height (ascent + descent) in logical units, < 0 the character (em) height,
/// 0 a default of 12 units. Escapement in tenths of a degree turns the text counterclockwise
/// about its reference point. Text is drawn in Color.
struct TZVFont
{
    QString Name = QStringLiteral("Arial"); ///< family name
    int Height = 0; ///< cell height (> 0), em height (< 0) or default (0), logical units
    int Escapement = 0; ///< tenths of a degree, counterclockwise
    /// Style flags.
    /// @{
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    /// @}
    TZVColor Color = 0; ///< text colour
    /// Equal when every field is.
    friend bool operator==(const TZVFont&, const TZVFont&) = default;
};

/// A device that reports no size (a bare recorder, an empty picture) is taken as this many pixels
/// each way from its origin: more than an A0 sheet at 600 dpi (28,000 pixels).
inline constexpr double kUnsizedDevicePixels = 1 << 15;

/// The logical area a device shows, and its device pixels per logical unit each way.
struct TZVSeenArea
{
    /// Edges in logical units, Left <= Right and Top <= Bottom whatever the mapping's direction.
    /// @{
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    /// @}
    /// Device pixels per logical unit, across and down.
    /// @{
    double PixelsX = 1;
    double PixelsY = 1;
    /// @}
};

/// The escapement of text turned by `degrees`: a stored angle may be any number, and whole turns
/// change nothing.
inline int EscapementOf(int degrees)
{
    return degrees % 360 * 10;
}

/// Text metrics in logical units; Height = Ascent + Descent is the cell height.
struct TZVTextMetric
{
    int Height = 0; ///< Ascent + Descent
    int Ascent = 0; ///< above the baseline
    int Descent = 0; ///< below the baseline
    int InternalLeading = 0; ///< part of the ascent above the characters
    int ExternalLeading = 0; ///< extra spacing between lines the font recommends
    int AveCharWidth = 0; ///< average character width
    int MaxCharWidth = 0; ///< widest character
    /// Equal when every field is.
    friend constexpr bool operator==(const TZVTextMetric&, const TZVTextMetric&) = default;
};

/// SetTextAlign flags: one horizontal value or'ed with one vertical value.
inline constexpr unsigned taLeft = 0;
/// Horizontal alignment flags.
/// @{
inline constexpr unsigned taRight = 2;
inline constexpr unsigned taCenter = 6;
/// @}
/// Vertical alignment flags: top of the cells, bottom of the cells, or the baseline.
/// @{
inline constexpr unsigned taTop = 0;
inline constexpr unsigned taBottom = 8;
inline constexpr unsigned taBaseline = 24;
/// @}
/// Masks of the horizontal and of the vertical bits.
/// @{
inline constexpr unsigned taHorizontalMask = 6;
inline constexpr unsigned taVerticalMask = 24;
/// @}

/// Raster operation of pens and shape fills (not of FillRect, SetPixel, text or pictures).
/// Drawing the same thing twice with r2NotXorPen restores the pixels: that is how rubber bands are erased.
enum TZVRop2 : std::uint8_t
{
    r2CopyPen,
    r2NotXorPen,
    r2XorPen
};

/// A clip region in device pixels: the union of its parts. Boxes exclude their right and bottom edges,
/// as shapes do.
struct TZVRegionPart
{
    /// Shape a part covers within its box.
    enum TShape : std::uint8_t
    {
        rpRect,
        rpEllipse
    };
    TShape Shape = rpRect; ///< rectangle or the ellipse inscribed in Box
    TRect Box; ///< box in device pixels, right and bottom edges excluded
    /// Equal when both fields are.
    friend constexpr bool operator==(const TZVRegionPart&, const TZVRegionPart&) = default;
};

/// A clip region: the union of its parts, in device pixels.
struct ZORVEL_CORE_EXPORT TZVRegion
{
    std::vector<TZVRegionPart> Parts; ///< parts united, in order

    /// CombineRgn with RGN_OR.
    TZVRegion& Unite(const TZVRegion& other);
    /// Moves every part by (dx, dy) pixels.
    void Offset(int dx, int dy);
    /// True for a region without parts, which clips everything away.
    bool IsEmpty() const { return Parts.empty(); }
    /// Equal when the parts are, in the same order.
    friend bool operator==(const TZVRegion&, const TZVRegion&) = default;
};

/// A region of the ellipse inscribed in the box, in device pixels.
ZORVEL_CORE_EXPORT TZVRegion CreateEllipticRgn(int left, int top, int right, int bottom);
/// A region of the box, in device pixels, right and bottom edges excluded.
ZORVEL_CORE_EXPORT TZVRegion CreateRectRgn(int left, int top, int right, int bottom);

/// A bar code as a device that prints symbols of its own needs it: what to encode and where, in
/// device dots. The canvas's mapping has already been applied.
struct TZVNativeBarcode
{
    TZVBar Type = CODE128; ///< symbology
    /// The ZPL II command of the symbology, from the symbology table; empty when it has none.
    QByteArray ZplCommand;
    QString Content; ///< the data as the symbol carries it, check characters included where drawn
    /// Code 128's symbol values from the start code up to the check value (not included), which
    /// fix its code sets; empty for other symbologies.
    std::vector<int> Values;
    TPoint Anchor; ///< top-left corner of the modules (quiet zone excluded) on the device, turned
    int Angle = 0; ///< 0, 90, 180 or 270 degrees counterclockwise
    int Module = 1; ///< narrow bar or square module, whole dots
    double Ratio = 2.0; ///< wide-to-narrow ratio of the bars
    int BarHeight = 0; ///< linear bars, or a PDF417 row, dots
    bool QuietZone = true; ///< whether the design leaves the standard's quiet zone blank
    /// 2D options as the bar code element stores them; 0 for automatic.
    /// @{
    int EccLevel = 0;
    int SymbolSize = 0;
    int Columns = 0;
    /// @}
    bool ShowNumber = false; ///< the element draws the number itself through the canvas
};

/// A box of a matrix symbol's dark modules, in columns and rows from its top-left corner; right
/// and bottom excluded.
struct TZVModuleBox
{
    int Left = 0;   ///< first column
    int Top = 0;    ///< first row
    int Right = 0;  ///< column after the last
    int Bottom = 0; ///< row after the last
};

/// A matrix symbol's dark modules for a canvas that draws them in module units. The corners are
/// logical points, turned with the symbol.
struct TZVModuleBoxes
{
    TPoint Origin;                       ///< the top-left corner of the first module
    TPoint RowEnd;                       ///< the corner `Columns` modules along the first row
    TPoint ColumnEnd;                    ///< the corner below the last row of the first column
    int Columns = 0;                     ///< modules across
    int Rows = 0;                        ///< rows down, all of one height
    std::span<const TZVModuleBox> Boxes; ///< the dark boxes
};

/// The drawing surface. Coordinates are logical units of the current mapping unless said otherwise.
/// Boxes (Rectangle, RoundRect, Ellipse, Pie, FillRect, clip parts, image targets) take their corners in
/// any order and cover the device pixels from the left/top corner up to, not including, the right/bottom
/// one: Rectangle(0, 0, 10, 10) in mmText covers pixels 0..9, so callers that mean an inclusive box add 1.
/// A shape without a pen fills its whole box.
class ZORVEL_CORE_EXPORT TZVCanvas
{
public:
    TZVCanvas() = default;
    virtual ~TZVCanvas() = default;
    Q_DISABLE_COPY_MOVE(TZVCanvas)

    /// Answers a TZVDeviceCap question about the device.
    virtual int GetDeviceCaps(TZVDeviceCap cap) const = 0;

    /// Mapping. A zero extent is ignored.
    /// @{
    virtual void SetMapMode(TZVMapMode mode) = 0;
    virtual void SetWindowOrgEx(int x, int y) = 0;
    virtual void SetWindowExtEx(int cx, int cy) = 0;
    virtual void SetViewportOrgEx(int x, int y) = 0;
    virtual void SetViewportExtEx(int cx, int cy) = 0;
    virtual TZVMapping GetMapping() const = 0;
    virtual TPoint LPtoDP(TPoint p) const = 0;
    virtual TPoint DPtoLP(TPoint p) const = 0;
    /// @}
    /// Both corners of `r` mapped to device pixels.
    TRect LPtoDP(const TRect& r) const;
    /// The logical area the device shows, `marginPixels` beyond its edges: the only part a loop
    /// over a stored design, whose lengths may be anything, needs to walk.
    TZVSeenArea SeenArea(double marginPixels) const;

    /// Saves and restores mapping, pen, brush, font, text settings, raster operation, clip and position.
    /// @{
    virtual void SaveDC() = 0;
    virtual void RestoreDC() = 0;
    /// @}

    /// Select the drawing tools and the raster operation for the following calls.
    /// @{
    virtual void SelectPen(const TZVPen& pen) = 0;
    virtual void SelectBrush(const TZVBrush& brush) = 0;
    virtual void SelectFont(const TZVFont& font) = 0;
    virtual void SetROP2(TZVRop2 mode) = 0;
    /// @}

    /// Lines with a one-pixel pen leave out their last pixel; wider pens draw their caps at both ends.
    /// @{
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual void Polyline(std::span<const TPoint> points) = 0;
    /// @}

    /// Outlined with the pen and filled with the brush.
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    /// width and height: size of the ellipse that rounds each corner.
    virtual void RoundRect(int left, int top, int right, int bottom, int width, int height) = 0;
    /// Outlined with the pen and filled with the brush.
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    /// The sector of the box's ellipse from the ray towards (x1, y1) counterclockwise
    /// to the ray towards (x2, y2).
    virtual void Pie(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) = 0;
    /// Filled with the brush, no outline; nothing with a clear brush.
    virtual void FillRect(const TRect& r) = 0;
    /// One call for many rectangles (a barcode's bars): one fill operation on vector devices.
    virtual void FillRects(std::span<const TRect> rects) = 0;
    /// Fills the boxes with the brush in module units and answers true where that writes less
    /// than device boxes do (PDF); the default answers false and the caller fills device boxes.
    virtual bool FillModules(const TZVModuleBoxes& symbol)
    {
        (void)symbol;
        return false;
    }
    /// Sets one device pixel at logical (x, y), whatever the raster operation.
    virtual void SetPixel(int x, int y, TZVColor color) = 0;

    /// Text. The reference point is, by SetTextAlign, the left, right or centre of the text along its
    /// baseline direction and the top of its cells, its bottom or its baseline. Character extra is added
    /// after every character; justification widens every break character (space) of the following
    /// outputs by breakExtra / breakCount until reset with (0, 0). Both count in GetTextExtentPoint.
    /// @{
    virtual void SetTextAlign(unsigned align) = 0;
    virtual void SetTextCharacterExtra(int extra) = 0;
    virtual void SetTextJustification(int breakExtra, int breakCount) = 0;
    virtual void ExtTextOut(int x, int y, const QString& text) = 0;
    /// @}
    /// cx: advance of the text with extras; cy: the cell height.
    virtual TZVSize GetTextExtentPoint(const QString& text) const = 0;
    /// Metrics of the selected font, logical units.
    virtual TZVTextMetric GetTextMetrics() const = 0;

    /// Clipping in device pixels. nullptr removes the clip.
    /// @{
    virtual void SelectClipRgn(const TZVRegion* region) = 0;
    virtual void OffsetClipRgn(int dx, int dy) = 0;
    /// @}

    /// Pictures stretched into a box. A QPicture's frame is its boundingRect() (set it when recording).
    /// @{
    virtual void StretchDraw(const TRect& dest, const QImage& image) = 0;
    virtual void StretchDrawPicture(const TRect& dest, const QPicture& picture) = 0;
    /// @}
    /// A device with bar code commands of its own draws `symbol` with them and answers true;
    /// the default answers false and the element draws the modules itself.
    virtual bool DrawNativeBarcode(const TZVNativeBarcode& symbol)
    {
        (void)symbol;
        return false;
    }
    /// True when bar code modules must be whole device dots (raster outputs): the element then
    /// makes every module width and row height a whole number of dots.
    virtual bool WholeDotModules() const { return false; }

    /// At (x, y), one logical unit per picture pixel.
    /// @{
    void Draw(int x, int y, const QImage& image);
    void DrawPicture(int x, int y, const QPicture& picture);
    /// @}
};

} // namespace zorvel
