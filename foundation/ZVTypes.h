// Shared value types of the library: rectangles and points, the published enumerations, event types.
#pragma once

#include "zorvel_core_export.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <utility>

/// Zorvel's label designer library: the label document, its elements, data sets, printers and
/// the designer widgets. Lengths of the model are in hundredths of a millimetre ("model units").
namespace zorvel {
Q_NAMESPACE_EXPORT(ZORVEL_CORE_EXPORT)

/// Integer rectangle in whatever unit the caller uses (model units or device pixels).
struct TRect
{
    int Left = 0; ///< left edge
    int Top = 0; ///< top edge
    int Right = 0; ///< right edge, exclusive for pixel rectangles
    int Bottom = 0; ///< bottom edge

    /// Right minus Left; negative for a rectangle that is not normalized.
    constexpr int Width() const { return Right - Left; }
    /// Bottom minus Top; negative for a rectangle that is not normalized.
    constexpr int Height() const { return Bottom - Top; }
    /// Equal when all four edges are.
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

/// Colour value with red in the low byte, as stored in designs.
using TZVColor = std::uint32_t;

/// Integer point in model units or device pixels, as the caller uses it.
struct TPoint
{
    int X = 0; ///< horizontal coordinate, growing to the right
    int Y = 0; ///< vertical coordinate, growing downward

    /// Equal when both coordinates are.
    friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

// The enumerations below are published properties; declaration order is the ordinal stored in
// streams as one byte.

/// Unit in which a label shows and takes its lengths.
enum TZVUnits : std::uint8_t { unMM, unINCH, unCM };
Q_ENUM_NS(TZVUnits)

/// Shape of a label: rectangular, or round (disc labels).
enum TZorvelType : std::uint8_t { ltRect, ltCircle };
Q_ENUM_NS(TZorvelType)

/// Frame drawn around each label: none, one line or two concentric lines.
enum TZVFrameStyle : std::uint8_t { fsNone, fsOneLine, fsTwoLine };
Q_ENUM_NS(TZVFrameStyle)

/// Background of a label: none, a picture, or a two-colour gradient of the given shape.
enum TZVBackStyle : std::uint8_t { biNone, biImage, biGradHor, biGradVer, biGraCircle, biHalf1, biHalf2, biQuarter };
Q_ENUM_NS(TZVBackStyle)

/// Where a label takes its records: nowhere, an alias of the alias table, or a registered data set.
enum TZVDataAccessType : std::uint8_t { daNone, daBDEAlias, daDataSet };
Q_ENUM_NS(TZVDataAccessType)

/// Bar code symbologies; the EAN128 variants start in Code 128 set A, B or C.
/// Bar code symbologies. The first seven have their own encoders and keep their stored numbers;
/// the rest are encoded by libzint and stored only by the newer stream version.
enum TZVBar : std::uint8_t {
    EAN13, EAN8, UPCA, CODE39, EAN128A, EAN128B, EAN128C,
    QRCODE, MICROQR, DATAMATRIX, GS1DATAMATRIX, PDF417, AZTEC, CODE128, GS1128, ITF14, DATABAR,
    DATABAREXP, CODE93, CODABAR, UPCE
};
Q_ENUM_NS(TZVBar)

/// Text anchor: left/centre/right x bottom/top/centre.
enum TTextAlign : std::uint8_t { taLeBo, taCeBo, taRiBo, taLeTo, taCeTo, taRiTo, taLeCe, taCeCe, taRiCe };
Q_ENUM_NS(TTextAlign)

/// Paragraph alignment of a text block.
enum TTextFormat : std::uint8_t { tfLeft, tfRight, tfCenter, tfJustify };
Q_ENUM_NS(TTextFormat)

/// Which grid lines the editor shows.
enum TZVGridStyle : std::uint8_t { gsNone, gsHorz, gsVert, gsBoth };
Q_ENUM_NS(TZVGridStyle)

/// Whether the editor draws its grid as points or as lines.
enum TZVGridDraw : std::uint8_t { gdPoints, gdLines };
Q_ENUM_NS(TZVGridDraw)

/// What a moved or drawn element snaps to: the nearest point, the grid, or nothing.
enum TZVSnap : std::uint8_t { snPoint, snGrid, snNone };
Q_ENUM_NS(TZVSnap)

/// Editor zoom: percentages, fit to the window width, or fit the whole label.
enum TZVZoom : std::uint8_t {
    zm50, zm75, zm100, zm125, zm150, zm175, zm200, zm250, zm300, zm350, zm400, zm450, zm500, zmWidth, zmFitAll
};
Q_ENUM_NS(TZVZoom)

/// Drawing tool of an editor: which element kind the next click places, or selection.
enum TZVDrawTool : std::uint8_t {
    dwLine, dwRect, dwText, dwBarCode, dwSelection, dwSymbol, dwAddText, dwImage, dwParagraph, dwTable, dwAskText
};
Q_ENUM_NS(TZVDrawTool)

/// Line drawing: free, or orthogonal (horizontal or vertical only).
enum TZVineMove : std::uint8_t { lmNone, lmOrto };
Q_ENUM_NS(TZVineMove)

/// Language of the inspector's captions and the dialogs; zvCustom reads a translation file.
enum TZVLanguage : std::uint8_t { zvEnglish, zvSpanish, zvDutch, zvCustom };
Q_ENUM_NS(TZVLanguage)

/// Whether the inspector opens an editor with a single or a double click.
enum TZVInspectMode : std::uint8_t { imClick, imDblClick };
Q_ENUM_NS(TZVInspectMode)

/// Event types: optional callbacks whose first argument is the component that raises them.
/// Reference parameters are in-out. Raise them through fire(), which skips an unset callback.
class TZVElement;

/// Asks the application for the text of a data or question element `ID`; `Text` may be replaced.
using TZVPrintTextEvent = std::function<void(QObject* Sender, const QString& ID, QString& Text)>;
/// Asks for the answer of question text `ID` at position `Pos` of the run; `Text` may be replaced.
using TZVAskTextEvent = std::function<void(QObject* Sender, int Pos, const QString& ID, QString& Text)>;
/// Lets the application replace the title of preview page `Page`.
using TZVPrintTitleEvent = std::function<void(QObject* Sender, int Page, QString& Title)>;
/// Tells the application that the label now uses the data set `DataSetName`.
using TZVAssignedDataSet = std::function<void(QObject* Sender, const QString& DataSetName)>;
/// Lets the application fill or trim the font list offered by the dialogs.
using TZVGetFontListEvent = std::function<void(QObject* Sender, QStringList& List)>;
/// Lets the application change the step and bounds of a floating-point property being edited.
using TZVFloatEditEvent = std::function<void(QObject* Sender, const QString& PropertyName, double& Increment,
                                             double& MinValue, double& MaxValue)>;
/// Right click on the editor: whether an element was selected, pixel position and model position.
using TZVRightClickEvent = std::function<void(QObject* Sender, bool select, int X, int Y, int PosX, int PosY)>;
/// Mouse movement over the editor: pixel position and the position in the label's unit.
using TZorvelMouseMove = std::function<void(QObject* Sender, int X, int Y, double XValue, double YValue)>;
/// Mouse press on the editor: pixel positions and the position in the label's unit.
using TZorvelMouseDown =
    std::function<void(QObject* Sender, int X, int Y, int PosX, int PosY, double XValue, double YValue)>;
/// The editor's drawing tool changed from `OldDrawTool` to `NewDrawTool`.
using TZVChangeDrawTool = std::function<void(QObject* Sender, TZVDrawTool OldDrawTool, TZVDrawTool NewDrawTool)>;
/// An element is about to join the label; the handler may change it.
using TZVBeforeInsertEvent = std::function<void(QObject* Sender, TZVElement* ElementInserted)>;
/// Plain notification.
using TZVNotifyEvent = std::function<void(QObject* Sender)>;

/// Calls an optional event when it is set.
template <typename Event, typename... Args>
void fire(const Event& event, Args&&... args)
{
    if (event)
        event(std::forward<Args>(args)...);
}

} // namespace zorvel
