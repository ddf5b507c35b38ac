// The element class tree's roots: geometry, colours, flags, change notification and persistence
// shared by everything placed on a label.
#pragma once

#include "foundation/ZVTypes.h"
#include "foundation/ZVUtils.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <optional>

namespace zorvel {

class TZVCustomLab;
class TZVFieldVisitor;
class TZVMemoryStream;
class TZVCanvas;
class TZVQuestion;
class TZVTemplate;

/// Element kind numbers: they head every element record in a stream.
enum TZVElementKind : std::uint8_t
{
    ekLine = 1,
    ekText,
    ekBarCode,
    ekRect,
    ekSymbol,
    ekAddText,
    ekImage,
    ekParagraph,
    ekTable,
    ekAskText
};

/// Where an element is painted.
enum TZVPaintTarget : int {
    ptEditor = 0,        ///< the editor's design surface
    ptPrinter = 1,       ///< the printer's page (nothing when the run has NoPrinterOutput)
    ptPreviewPage = 2,   ///< a preview page picture
    ptEditorPicture = 3, ///< the label picture the editor renders, drawn like its surface
};

/// Conventions of the accessors:
/// - model-unit state is read through accessors named after the field (X1(), PenWidth()) and is
///   in hundredths of a millimetre;
/// - published properties that show lengths in the label's unit use GetX1()/SetX1(float);
/// - every setter follows the change protocol: convert, compare, store, notify the label
///   (kind 2 or 3, coordinates 4 or 5, by selection), set the label's Modified flag; setField does
///   all but the conversion.
/// A property takes its member with an accessor and a setter through setField, one line in
/// VisitFields (the stream, the JSON form, undo and the design fingerprint all read that list),
/// and a Q_PROPERTY where a kind publishes it (the inspector and scripting go by those).
class ZORVEL_CORE_EXPORT TZVElement : public QObject
{
    Q_OBJECT

public:
    ~TZVElement() override;

    /// The label that owns the element; never null.
    TZVCustomLab* Owner() const { return m_owner; }
    /// The stream kind number (TZVElementKind).
    virtual std::uint8_t ElementKind() const = 0;
    /// Resize handles the editor offers: 0 none, 1 line ends, 3 box.
    std::uint8_t HandleKind() const { return m_handleKind; }

    /// Corners of the element's box, or a line's end points, model units.
    /// @{
    int X1() const { return m_x1; }
    int Y1() const { return m_y1; }
    int X2() const { return m_x2; }
    int Y2() const { return m_y2; }
    /// @}
    /// Space between the border and the content, model units.
    /// @{
    int PaddingX() const { return m_paddingX; }
    int PaddingY() const { return m_paddingY; }
    /// @}
    int BorderRadio() const { return m_borderRadio; } ///< corner radius of the border, model units
    int PenWidth() const { return m_penWidth; } ///< outline or line width, model units
    int Angle() const { return m_angle; } ///< rotation in degrees, counterclockwise
    /// Character spacing of texts, or the bar code's quiet zone, model units.
    int Separation() const { return m_separation; }
    int AnchorMargin() const { return m_anchorMargin; } ///< distance kept from the anchored edge, model units
    /// Which edge or corner the element is anchored to; kNotAnchored when free.
    std::uint8_t AnchorPos() const { return m_anchorPos; }
    std::uint8_t Reserved() const { return m_reserved; } ///< stored with the element, otherwise unused
    /// Direction of a line from its first to its second point.
    std::int16_t LineOrientation() const { return m_lineOrientation; }
    TZVColor Color() const { return m_color; } ///< foreground colour: text, bars, lines
    TZVColor BackColor() const { return m_backColor; } ///< fill colour behind the content unless Transparent
    TZVColor BorderColor() const { return m_borderColor; } ///< colour of the border
    bool ShowBorder() const { return m_showBorder; } ///< whether the border is drawn
    bool Transparent() const { return m_transparent; } ///< whether the background is left unfilled
    /// Whether the element is printed (it is always shown in the editor).
    bool Print() const { return m_print; }
    bool Locked() const { return m_locked; } ///< locked elements cannot be moved or resized with the mouse
    bool Selected() const { return m_selected; } ///< whether the element is in the editor's selection
    const QString& ID() const { return m_id; } ///< name of the element, unique within the label
    const TRect& ScreenRect() const { return m_screenRect; } ///< bounds on the editor surface, device pixels
    /// Bounds painted last time (after rotation), model units.
    const TRect& ModelRect() const { return m_modelRect; }

    /// Published lengths in the label's unit.
    /// @{
    float GetX1() const;
    float GetY1() const;
    float GetX2() const;
    float GetY2() const;
    float GetPenWidth() const;
    float GetPaddingX() const;
    float GetPaddingY() const;
    float GetBorderRadio() const;
    /// @}

    /// Sets the fill colour behind the content.
    virtual void SetBackColor(TZVColor value) { setField(m_backColor, value, "BackColor"); }
    /// Sets the surface bounds (device pixels); the model coordinates follow and anchoring ends.
    virtual void SetScreenRect(const TRect& value);
    /// Sets the rotation in degrees, counterclockwise.
    virtual void SetAngle(int value) { setField(m_angle, value, "Angle"); }
    /// Sets whether the background is left unfilled.
    virtual void SetTransparent(bool value) { setField(m_transparent, value, "Transparent"); }
    /// Setters of the corners in the label's unit.
    /// @{
    virtual void SetX1(float value);
    virtual void SetY1(float value);
    virtual void SetX2(float value);
    virtual void SetY2(float value);
    /// @}
    /// Swaps corners so that X1 <= X2 and Y1 <= Y2.
    virtual void Normalize();
    /// Recomputes the model corners from ScreenRect, clamped to the surface and snapped.
    virtual void ScreenToModel();
    /// First and second point of a drawing gesture, model units, snapped and kept on the label.
    /// @{
    virtual void SetStartPoint(int x, int y);
    virtual void SetEndPoint(int x, int y);
    /// @}
    /// Whether the element counts as selected for painting and hit tests.
    virtual bool IsSelected() const { return m_selected; }
    /// True when `point` (surface pixels) hits the element; a locked element only at its lock marker.
    virtual bool HitTest(TPoint point) const;
    /// Sets the foreground colour.
    virtual void SetColor(TZVColor value) { setField(m_color, value, "Color"); }
    /// Step 3 of a placement: puts the element on the model box (L, T)-(R, B) by its kind's rule.
    /// The default fills the box; lines, texts, bar codes and symbols place their anchor instead.
    virtual void PlaceAnchor(int L, int T, int R, int B);

    /// Further setters of the change protocol. Its exceptions: X1..Y2 and PenWidth notify even
    /// when unchanged; padding and BorderRadio always store and mark modified but notify only with
    /// a border (padding below 0 is 0); Print does not notify; Locked does not mark modified.
    /// @{
    void SetPenWidth(float value);
    void SetPaddingX(float value);
    void SetPaddingY(float value);
    void SetBorderRadio(float value);
    void SetBorderColor(TZVColor value) { setField(m_borderColor, value, "BorderColor"); }
    void SetShowBorder(bool value) { setField(m_showBorder, value, "ShowBorder"); }
    // Print only matters on paper; the screen shows every element.
    void SetPrint(bool value)
    {
        if (StoreIfChanged(m_print, value)) SetModified();
    }
    // Locking is an editing aid, not part of the design.
    void SetLocked(bool value)
    {
        if (StoreIfChanged(m_locked, value)) Notify("Locked");
    }
    /// @}
    /// Renames the element without checking that the name is free (see TZVCustomLab::IdInUse).
    void SetID(const QString& value) { m_id = value; }
    /// The editor's selection flag; the editor keeps its selection list in step.
    void SetSelected(bool value) { m_selected = value; }

    /// Places the element on the surface rectangle `rect` (device pixels) by its kind's rule,
    /// optionally kept inside the label (shifted, not shrunk); anchoring ends.
    void PlaceFromScreenRect(TRect rect, bool keepInside, bool snap);
    /// Moves by (dx, dy) model units, snapped and kept on the label; anchoring ends.
    void MoveByStep(int dx, int dy);
    void MoveByFloat(float dx, float dy); ///< label units, no clamping (pasting)
    void MoveBy(int dx, int dy);          ///< model units, no clamping, no snapping
    /// edge 0..3: left, top, right, bottom onto the background guides; 4..7 the same onto `target`.
    void AlignToEdge(int edge, int target, bool refresh);
    /// Detaches the element from the edge it was anchored to.
    void ClearAnchoring() { m_anchorPos = kNotAnchored; }

    /// The element record: kind byte, then the fields of each class from the root down.
    void SaveToStream(TZVMemoryStream& stream);
    /// Reads the record after the kind byte, following the label's ReadVersion.
    void LoadFromStream(TZVMemoryStream& stream);
    /// Every persisted field from the root down; overrides call their parent first.
    virtual void VisitFields(TZVFieldVisitor& visitor);
    /// The stream layout this element's record needs, 0 when the oldest one keeps all it holds;
    /// a label is written in the newest layout any of its elements needs.
    virtual std::int32_t StreamVersionNeeded() const { return 0; }
    /// What the element prints on the label being printed (a text's line, a bar code's content),
    /// for a dry run that lists a job's contents; nullopt for kinds that print no text. Raises
    /// as painting would (a field the data lacks).
    virtual std::optional<QString> PrintedContent() { return std::nullopt; }
    /// Calls `visit` with each template the element fills (texts, bar codes, table columns) and
    /// whether its fields come from the detail's record first (columns) rather than the master's;
    /// the label checks the names they use when its data opens.
    virtual void VisitTemplates(const std::function<void(const TZVTemplate& text, bool detailFirst)>& visit) const
    {
        (void)visit;
    }
    /// The element as a question asked before a print run, or null when it asks none.
    virtual TZVQuestion* AsQuestion() { return nullptr; }
    /// True when painting measures the far corner (X2, Y2) from the content, so a repaint may move
    /// it without the design changing.
    virtual bool CornerMeasuredByPaint() const { return false; }
    /// The library's message refusing `value` for the published property `name`, for a choice the
    /// element cannot honour (its setter would change it silently); empty when it can be written.
    virtual QString PropertyRefusal(const QString& name, const QVariant& value) const
    {
        (void)name;
        (void)value;
        return {};
    }

    /// Painting. `offset` (model units) is added to every coordinate: the label's place on the
    /// sheet. The target is one of TZVPaintTarget; with `dataMode` 1, data-bound elements show the
    /// current record's value, on the editor surface only in the label's ShowData mode with its
    /// master open (where a value cannot be read, the element's own content). Paint decides
    /// whether the element draws on the target at all, calls PaintElement, and on the editor
    /// surface then turns ModelRect into ScreenRect and asks the editor for the selection frame.
    void Paint(TZVCanvas& canvas, TPoint offset, int target, int dataMode);

    /// AnchorPos value of an element anchored nowhere.
    static constexpr std::uint8_t kNotAnchored = 14;
    /// Side of the lock marker square at the top-left corner of a locked element, device pixels.
    static constexpr int kLockMarkerPixels = 8;

protected:
    /// `handleKind` 0 no resize handles, 1 line ends, 3 box. Does not join the label's list.
    TZVElement(TZVCustomLab& owner, std::uint8_t handleKind);

    /// Names the element with the first free stem + n of its kind.
    void NameElement(const QString& stem);

    /// The change protocol's tail: notify the label with `name`, then set Modified.
    void Changed(const char* name, bool coordinates = false);
    /// Notifies the label of the change of `name` without setting Modified.
    void Notify(const char* name, bool coordinates = false);
    /// Sets the label's Modified flag without notifying.
    void SetModified();
    /// The change protocol of one field already converted: an equal value is ignored, another
    /// is stored and goes to Changed. True when the field changed.
    template <typename T>
    bool setField(T& field, const std::type_identity_t<T>& value, const char* name, bool coordinates = false)
    {
        if (!StoreIfChanged(field, value)) return false;
        Changed(name, coordinates);
        return true;
    }
    /// Bar codes and symbols: only the anchor moves, to the box corner their angle turns it to.
    void PlaceCornerByAngle(int L, int T, int R, int B);
    /// Runs after every editor placement (drag, nudge, edge alignment) once snapping is done.
    virtual void AfterPlacement() {}

    /// Draws the element itself and stores its model bounds (after rotation) in m_modelRect.
    /// `data`: show the current record's value instead of the element's own content.
    virtual void PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data) = 0;
    /// Whether a print run that only counts (the label's NoPrinterOutput) silences this kind.
    virtual bool SilencedWithoutPrinterOutput() const { return false; }
    /// The dark red square with a yellow inset at the top-left corner of a locked element, drawn
    /// on the editor surface only.
    void PaintLockMarker(TZVCanvas& canvas, TPoint offset) const;

    /// Snaps model coordinates to the editor's grid when it snaps.
    /// @{
    int SnapX(int x) const;
    int SnapY(int y) const;
    /// @}
    /// Device pixels of the editor's surface <-> model units; identity without an editor.
    /// @{
    int DeviceToModelX(int x) const;
    int DeviceToModelY(int y) const;
    int ModelToDeviceX(int x) const;
    int ModelToDeviceY(int y) const;
    /// @}
    /// Size of the owner label, model units.
    /// @{
    int LabelWidth() const;
    int LabelHeight() const;
    /// @}
    /// The label's unit <-> model units.
    /// @{
    int ToModel(float value) const;
    float FromModel(int value) const;
    /// @}

    /// State behind the accessors of the same names (lengths in model units); subclasses use it
    /// directly, bypassing the change protocol.
    /// @{
    int m_x1 = 0, m_y1 = 0, m_x2 = 0, m_y2 = 0;
    int m_paddingX = 0, m_paddingY = 0;
    int m_borderRadio = 0;
    TZVCustomLab* m_owner = nullptr;
    bool m_selected = false;
    TRect m_screenRect;
    TRect m_modelRect;
    QString m_id;
    int m_penWidth = 10;
    int m_angle = 0;
    TZVColor m_backColor = 0xFFFFFF;
    TZVColor m_borderColor = 255;
    std::uint8_t m_reserved = 0;
    bool m_showBorder = false;
    bool m_transparent = true;
    bool m_print = true;
    int m_separation = 0;
    bool m_locked = false;
    std::uint8_t m_anchorPos = kNotAnchored;
    int m_anchorMargin = 0;
    std::uint8_t m_handleKind = 0;
    std::int16_t m_lineOrientation = 0;
    TZVColor m_color = 0;
    std::uint8_t m_textAlign = 0;
    /// @}
};

/// Joins the label's element list; publishes X1, Y1, Color, Print.
class ZORVEL_CORE_EXPORT TZVBase1D : public TZVElement
{
    Q_OBJECT
    Q_PROPERTY(float X1 READ GetX1 WRITE SetX1)
    Q_PROPERTY(float Y1 READ GetY1 WRITE SetY1)
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Print READ Print WRITE SetPrint)

protected:
    /// Makes the element and appends it to `owner`'s element list.
    TZVBase1D(TZVCustomLab& owner, std::uint8_t handleKind);
};

/// Publishes BackColor and Transparent.
class ZORVEL_CORE_EXPORT TZVBaseEx1D : public TZVBase1D
{
    Q_OBJECT
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

protected:
    /// Constructors of TZVBase1D.
    using TZVBase1D::TZVBase1D;
};

/// Elements sized by two corners; publishes X2 and Y2.
class ZORVEL_CORE_EXPORT TZVBaseEx2D : public TZVBaseEx1D
{
    Q_OBJECT
    Q_PROPERTY(float X2 READ GetX2 WRITE SetX2)
    Q_PROPERTY(float Y2 READ GetY2 WRITE SetY2)

protected:
    using TZVBaseEx1D::TZVBaseEx1D;
};

/// Data-bound elements: a font and the field whose value they show instead of their own content.
class ZORVEL_CORE_EXPORT TZVData : public TZVBaseEx1D
{
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(bool Data READ Data WRITE SetData)

public:
    int FontHeight() const { return m_fontHeight; } ///< text height, model units
    const QString& FontName() const { return m_fontName; } ///< font family
    /// The data set's own name of the bound field.
    const QString& BoundField() const { return m_boundField; }
    bool Data() const { return m_data; } ///< whether the element shows the bound field's value
    /// Stored with the element, otherwise unused.
    std::uint8_t DataReserved() const { return m_dataReserved; }

    /// The display label of the bound field; empty unless Data is on and a field is bound.
    QString FieldName() const;
    /// Turns showing the bound field's value on or off.
    virtual void SetData(bool value) { setField(m_data, value, "Data"); }
    /// Binds the master field whose display label is `value`; an empty value is ignored.
    virtual void SetFieldName(const QString& value);
    /// Text height in the label's unit.
    /// @{
    float GetFontHeight() const;
    void SetFontHeight(float value);
    /// @}
    /// Sets the font family.
    void SetFontName(const QString& value) { setField(m_fontName, value, "FontName"); }

    void VisitFields(TZVFieldVisitor& visitor) override;

protected:
    using TZVBaseEx1D::TZVBaseEx1D;

    /// State behind the accessors of the same names.
    /// @{
    int m_fontHeight = 500;
    QString m_fontName = QStringLiteral("Arial");
    QString m_boundField;
    bool m_data = false;
    std::uint8_t m_dataReserved = 0;
    /// @}
};

} // namespace zorvel
