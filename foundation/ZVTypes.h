// Shared value types of the library: rectangles and points, the published enumerations, event types.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <utility>

namespace zorvel {
Q_NAMESPACE

// Integer rectangle in whatever unit the caller uses (model units or device pixels).
struct TRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

// Colour value with red in the low byte, as stored in designs.
using TZVColor = std::uint32_t;

struct TPoint
{
    int X = 0;
    int Y = 0;

    friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

// Enumerations: declaration order is the ordinal, stored in streams as one byte.
enum TZVUnits : std::uint8_t { unMM, unINCH, unCM };
Q_ENUM_NS(TZVUnits)

enum TZorvelType : std::uint8_t { ltRect, ltCircle };
Q_ENUM_NS(TZorvelType)

enum TZVFrameStyle : std::uint8_t { fsNone, fsOneLine, fsTwoLine };
Q_ENUM_NS(TZVFrameStyle)

enum TZVBackStyle : std::uint8_t { biNone, biImage, biGradHor, biGradVer, biGraCircle, biHalf1, biHalf2, biQuarter };
Q_ENUM_NS(TZVBackStyle)

enum TZVDataAccessType : std::uint8_t { daNone, daBDEAlias, daDataSet };
Q_ENUM_NS(TZVDataAccessType)

enum TZVBar : std::uint8_t { EAN13, EAN8, UPCA, CODE39, EAN128A, EAN128B, EAN128C };
Q_ENUM_NS(TZVBar)

// Text anchor: left/centre/right x bottom/top/centre.
enum TTextAlign : std::uint8_t { taLeBo, taCeBo, taRiBo, taLeTo, taCeTo, taRiTo, taLeCe, taCeCe, taRiCe };
Q_ENUM_NS(TTextAlign)

enum TTextFormat : std::uint8_t { tfLeft, tfRight, tfCenter, tfJustify };
Q_ENUM_NS(TTextFormat)

enum TZVGridStyle : std::uint8_t { gsNone, gsHorz, gsVert, gsBoth };
Q_ENUM_NS(TZVGridStyle)

enum TZVGridDraw : std::uint8_t { gdPoints, gdLines };
Q_ENUM_NS(TZVGridDraw)

enum TZVSnap : std::uint8_t { snPoint, snGrid, snNone };
Q_ENUM_NS(TZVSnap)

enum TZVZoom : std::uint8_t {
    zm50, zm75, zm100, zm125, zm150, zm175, zm200, zm250, zm300, zm350, zm400, zm450, zm500, zmWidth, zmFitAll
};
Q_ENUM_NS(TZVZoom)

enum TZVDrawTool : std::uint8_t {
    dwLine, dwRect, dwText, dwBarCode, dwSelection, dwSymbol, dwAddText, dwImage, dwParagraph, dwTable, dwAskText
};
Q_ENUM_NS(TZVDrawTool)

enum TZVineMove : std::uint8_t { lmNone, lmOrto };
Q_ENUM_NS(TZVineMove)

enum TZVLanguage : std::uint8_t { zvEnglish, zvSpanish, zvDutch, zvCustom };
Q_ENUM_NS(TZVLanguage)

enum TZVInspectMode : std::uint8_t { imClick, imDblClick };
Q_ENUM_NS(TZVInspectMode)

// Event types: optional callbacks whose first argument is the component that raises them.
// Reference parameters are in-out. Raise them through fire(), which skips an unset callback.
class TZVElement;

using TZVPrintTextEvent = std::function<void(QObject* Sender, const QString& ID, QString& Text)>;
using TZVAskTextEvent = std::function<void(QObject* Sender, int Pos, const QString& ID, QString& Text)>;
using TZVPrintTitleEvent = std::function<void(QObject* Sender, int Page, QString& Title)>;
using TZVAssignedDataSet = std::function<void(QObject* Sender, const QString& DataSetName)>;
using TZVGetFontListEvent = std::function<void(QObject* Sender, QStringList& List)>;
using TZVFloatEditEvent = std::function<void(QObject* Sender, const QString& PropertyName, double& Increment,
                                             double& MinValue, double& MaxValue)>;
using TZVRightClickEvent = std::function<void(QObject* Sender, bool select, int X, int Y, int PosX, int PosY)>;
using TZorvelMouseMove = std::function<void(QObject* Sender, int X, int Y, double XValue, double YValue)>;
using TZorvelMouseDown =
    std::function<void(QObject* Sender, int X, int Y, int PosX, int PosY, double XValue, double YValue)>;
using TZVChangeDrawTool = std::function<void(QObject* Sender, TZVDrawTool OldDrawTool, TZVDrawTool NewDrawTool)>;
using TZVBeforeInsertEvent = std::function<void(QObject* Sender, TZVElement* ElementInserted)>;
using TZVNotifyEvent = std::function<void(QObject* Sender)>;

// Calls an optional event when it is set.
template <typename Event, typename... Args>
void fire(const Event& event, Args&&... args)
{
    if (event)
        event(std::forward<Args>(args)...);
}

} // namespace zorvel
