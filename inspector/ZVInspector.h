// The property inspector: a two-column grid of the selected elements' published properties,
// edited in place and written to every selected element at once.
#pragma once

#include "controls/ZVSpinEditFloat.h"
#include "controls/ZVGuard.h"
#include "controls/ZVWideEdit.h"
#include "document/ZVUndoHistory.h"
#include "editor/ZVBaseInspector.h"
#include "foundation/ZVTypes.h"
#include "zorvel_widgets_export.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QList>
#include <QMetaProperty>
#include <QPointer>
#include <QTimer>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

namespace zorvel {

class TZVCustomEditor;
class TZVCustomInspector;
class TZVCustomLab;
class TZVElement;
class TZVTemplateEditor;

/// How a row shows and edits its value; the numbers are fixed.
enum TZVPropKind : std::uint8_t {
    pkBoolean = 0,
    pkString = 1,
    pkInteger = 2,
    pkFloat = 3,
    pkEnum = 4,
    pkRatio = 5,
    pkFactor = 6,
    pkFontName = 7,
    pkWideText = 8,
    pkFieldName = 9,
    pkAngle = 10,
    pkCount = 11,
    pkChar = 12,
    pkParagraphText = 13,
    pkFileImage = 14,
    pkTextAlign = 15,
    pkEditTable = 16,
    pkEditPoly = 17,
    pkEleAlign = 18,
    pkTextFormat = 19,
    pkColor = 20,
    pkCode = 21,
    pkTemplate = 22,
};

/// One listed property.
struct TZvProp
{
    int CaptionIndex = 0; ///< caption-table row; 0 when the name has none
    /// As last read from the first selected element or last written by an edit: bool for
    /// Booleans, int for enumerations, integers and characters, uint for colours, double for
    /// floats, QString for strings.
    QVariant Value;
    QString Name;                ///< the published property name, as the element spells it
    QMetaProperty TypeInfo;      ///< the property as the listed class publishes it
    TZVPropKind Kind = pkString; ///< how the row shows and edits the value
};

// ---- Reflection over the elements' published properties ----

/// The class whose properties a selection shows: the first element's class, widened to the
/// nearest common ancestor by each element of another class. Null for an empty list.
ZORVEL_WIDGETS_EXPORT const QMetaObject* CommonElementClass(const QList<TZVElement*>& elements);

/// The properties `cls` publishes, in list order: inherited ones first, a property published
/// again keeping its inherited place. QObject's own properties are not part of it.
ZORVEL_WIDGETS_EXPORT QList<QMetaProperty> PublishedProperties(const QMetaObject& cls);

/// The row kind of `property` as `cls` publishes it; nullopt for types the inspector does not
/// list. Colours are published as quint32 (TZVColor); every other integer as a signed type.
ZORVEL_WIDGETS_EXPORT std::optional<TZVPropKind> PropertyKindOf(const QMetaObject& cls,
                                                                const QMetaProperty& property);

/// "##,###,##0.00" in the current locale, then `suffix` (" mm", " inch", " cm" or empty).
ZORVEL_WIDGETS_EXPORT QString FormatInspectorNumber(double value, const QString& suffix = {});

// ---- Images of the value cells ----

/// 13 x 13 images with a transparent background; out of range gives a null image.
enum TZVInspectorImage : int {
    iiCheckOn = 0,
    iiCheckOff = 1,
    iiCheckDisabled = 2,
    iiJustifyFirst = 3,   ///< + TTextFormat
    iiTextAlignFirst = 7, ///< + TTextAlign
    iiEleAlignFirst = 12, ///< + the element-position value
    iiTable = 16,
    iiPositionFirst = 17, ///< nine element positions, column by column from the top left
    iiPositionNone = 26,
};
/// Number of value-cell images, the valid indices being 0 .. kInspectorImageCount - 1.
inline constexpr int kInspectorImageCount = 27;
/// Width and height of a value-cell image, pixels.
inline constexpr int kInspectorImageSize = 13;
/// The value-cell image `index` (a TZVInspectorImage value, plus an offset where it says so);
/// drawn once, shared. Needs a GUI application.
ZORVEL_WIDGETS_EXPORT const QImage& ZvInspectorImage(int index);

// ---- In-place editors: they only carry the link to their inspector ----

/// The drop-down list of enumerations, font names, field names and angles.
class TZVInplaceList : public QComboBox
{
    Q_OBJECT
public:
    /// An editor of a row of `inspector` (not owned), placed on `parent`.
    explicit TZVInplaceList(TZVCustomInspector* inspector, QWidget* parent);
    /// The inspector whose row this edits.
    TZVCustomInspector* Inspector() const { return m_inspector; }

private:
    TZVCustomInspector* m_inspector;
};

/// The text box of strings and integers, and of wide texts when the label has no Unicode editor.
class TZVInplaceEdit : public QLineEdit
{
    Q_OBJECT
public:
    /// An editor of a row of `inspector` (not owned), placed on `parent`.
    explicit TZVInplaceEdit(TZVCustomInspector* inspector, QWidget* parent);
    /// The inspector whose row this edits.
    TZVCustomInspector* Inspector() const { return m_inspector; }

private:
    TZVCustomInspector* m_inspector;
};

/// The frameless Unicode text box of wide texts.
class TZVInplaceWEdit : public TZVWideEdit
{
    Q_OBJECT
public:
    /// An editor of a row of `inspector` (not owned), placed on `parent`.
    explicit TZVInplaceWEdit(TZVCustomInspector* inspector, QWidget* parent);
    /// The inspector whose row this edits.
    TZVCustomInspector* Inspector() const { return m_inspector; }

private:
    TZVCustomInspector* m_inspector;
};

/// The spin box of floats, ratios, factors and counts.
class TZVInplaceFloat : public TZvSpinEditFloat
{
    Q_OBJECT
public:
    /// An editor of a row of `inspector` (not owned), placed on `parent`.
    explicit TZVInplaceFloat(TZVCustomInspector* inspector, QWidget* parent);
    /// The inspector whose row this edits.
    TZVCustomInspector* Inspector() const { return m_inspector; }

private:
    TZVCustomInspector* m_inspector;
};

// ---- The grid ----

/// Rows, selection, scrolling, in-place editing, commits, mouse and keyboard. Coordinates are
/// pixels of the client area (the viewport, without border and scroll bar).
class ZORVEL_WIDGETS_EXPORT TZVCustomInspector : public QAbstractScrollArea, public TZVBaseInspector
{
    Q_OBJECT

public:
    /// Whether the grid has a sunken frame.
    enum TBorderStyle { bsNone, bsSingle };
    Q_ENUM(TBorderStyle)

    /// An empty grid, framed, not attached to an editor.
    explicit TZVCustomInspector(QWidget* parent = nullptr);
    /// Does a pending repaint of the label at once and detaches from the editor.
    ~TZVCustomInspector() override;
    Q_DISABLE_COPY_MOVE(TZVCustomInspector)

    // ---- What the editor calls ----
    void UpdateSelection() override;
    void UpdateProperty(const QString& name) override;
    /// Opens the wide-text dialog for the row `name`, whose value is `text`.
    virtual void EditWideText(const QString& name, const QString& text) = 0;
    /// Opens the template editor on the row `name` (ZVTemplateEditor.cpp); when it is accepted
    /// with another text, every selected element gets that text as one undo step. Nothing
    /// without a label, a selection or such a row.
    void EditTemplate(const QString& name);
    /// Runs the template editor and tells whether the user accepted it; exec() unless replaced.
    std::function<bool(TZVTemplateEditor& editor)> TemplateRunner;

    // ---- Settings ----
    /// Where the names column ends and the values column starts, client pixels.
    int SplitPos() const { return m_splitPos; }
    /// Clamped to 30 .. client width - 30 (30 wins on a narrow control).
    void SetSplitPos(int value);
    /// Delay between an edit and the label's repaint, milliseconds; 0 repaints at once.
    int TimeRefresh() const { return m_timeRefresh; }
    /// Clamped to 0..2000 ms; a repaint still pending is done at once.
    void SetTimeRefresh(int value);
    /// Whether a value's action (toggle, dialog, pop-up) takes a click or a double click.
    TZVInspectMode InspectMode() const { return m_inspectMode; }
    /// Sets InspectMode.
    void SetInspectMode(TZVInspectMode value) { m_inspectMode = value; }
    /// Whether selecting a row with a list opens the list at once.
    bool DropDownOnSelect() const { return m_dropDownOnSelect; }
    /// Sets DropDownOnSelect.
    void SetDropDownOnSelect(bool value) { m_dropDownOnSelect = value; }
    /// Whether wide texts may be edited in the wide-text dialog (the label must allow it too).
    bool ShowUnicodeEditor() const { return m_showUnicodeEditor; }
    /// Sets ShowUnicodeEditor.
    void SetShowUnicodeEditor(bool value) { m_showUnicodeEditor = value; }
    /// Framed (bsSingle) unless set otherwise.
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    /// Sets BorderStyle and the frame.
    void SetBorderStyle(TBorderStyle value);
    /// Background of the grid.
    QColor Color() const { return m_color; }
    /// Sets Color and repaints.
    void SetColor(const QColor& value);

    /// Lets the host change the spin box's Increment, MinValue and MaxValue per property.
    TZVFloatEditEvent OnFloatEdit;

    /// Pop-ups, replaceable so that hosts and tests decide what the user answers. Each gets the
    /// current value and returns the chosen one, or nothing when the user cancels. `cell` is
    /// the value cell in screen coordinates, moved 2 pixels left and widened by 2. A colour row
    /// asks the application's colour picker (PickColor).
    /// @{
    std::function<std::optional<TTextAlign>(const QRect& cell, TTextAlign current)> AlignPicker;
    std::function<std::optional<TTextFormat>(const QRect& cell, TTextFormat current)> JustifyPicker;
    /// @}

    // ---- State ----
    /// The listed properties, in list order.
    const QList<TZvProp>& Rows() const { return m_rows; }
    /// The row whose Name equals `name` without regard to case; -1 when none.
    int FindRow(const QString& name) const;
    /// The selected row; -1 when none.
    int ItemIndex() const { return m_itemIndex; }
    /// Selects row `index` (past the end: the last row) and gives it its in-place editor.
    void SelectRow(int index);
    /// The first row shown.
    int TopRow() const { return m_topRow; }
    /// Height of a row: the font's line height plus 3 pixels, with a minimum.
    int RowHeight() const;
    /// Rows that fit in the client area, a partly shown one not counted.
    int VisibleRows() const;
    /// The highest TopRow scrolling can reach.
    int MaxTop() const;
    /// Size of the client area, pixels.
    /// @{
    int ClientWidth() const;
    int ClientHeight() const;
    /// @}
    /// Cells of row `row` on the screen (r = row - TopRow), client coordinates.
    /// @{
    QRect NameCell(int row) const;
    QRect ValueCell(int row) const;
    /// @}
    /// The in-place editor, or null.
    QWidget* InplaceEditor() const { return m_inplace; }
    /// True while the keyboard is in the in-place editor rather than in the grid.
    bool EditorHasFocus() const { return m_editorHasFocus; }
    /// The font of wide-text values and text boxes: "Arial", or the last FontName listed.
    const QString& TextFontName() const { return m_textFontName; }
    /// True while a delayed repaint of the label (TimeRefresh) is waiting.
    bool RefreshPending() const { return m_refreshTimer.isActive(); }

    /// Writes `text` to the wide-text property `name` of every selected element (when it
    /// differs from the row's value) and repaints the label after TimeRefresh.
    void CommitWideText(const QString& name, const QString& text);

    /// A host restoring saved settings brackets them; while loading, input is ignored.
    bool IsLoading() const { return m_loading; }
    /// Starts (or ends, without repainting) the loading of saved settings.
    void SetLoading(bool loading) { m_loading = loading; }
    /// Ends loading: the scroll bar and the grid are brought up to date.
    void Loaded();

protected:
    /// Elements with the text one of their properties had.
    using TZVSavedTexts = QList<std::pair<QPointer<TZVElement>, QString>>;
    /// The property `name` of every selected element, in selection order.
    TZVSavedTexts selectedTexts(const QString& name) const;
    /// Writes back to each element still there its own saved text of the property `name`.
    void restoreTexts(const QString& name, const TZVSavedTexts& texts);

    /// Brackets an edit of the property `name` as one undo step of the label; a typed edit
    /// joins the step of the edits typed before it into the same in-place editor.
    std::optional<TZVChangeScope> changeScope(const QString& name, bool typed) const;
    /// The label of the attached editor, or null.
    TZVCustomLab* label() const;
    /// The row's value as the inspector shows it in text.
    QString valueText(const TZvProp& row) const;
    /// True when both the label and ShowUnicodeEditor allow the wide-text dialog.
    bool unicodeDialogAllowed() const;

    /// Tab goes into the in-place editor when there is one.
    bool event(QEvent* event) override;
    /// Tab in the in-place editor gives the keyboard back to the grid.
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// Up, Down, Page Up and Page Down move the selected row, Space and Enter act on it;
    /// ignored while loading.
    void keyPressEvent(QKeyEvent* event) override;
    /// A left press selects a row or grabs the column split; with imClick a value's action runs.
    void mousePressEvent(QMouseEvent* event) override;
    /// Drags the column split, or with the button held selects the row under the mouse; the
    /// tool tip shows the text value under the mouse.
    void mouseMoveEvent(QMouseEvent* event) override;
    /// Ends a drag of the column split.
    void mouseReleaseEvent(QMouseEvent* event) override;
    /// With imDblClick runs the value's action: toggle, dialog or pop-up.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    /// Scrolls the rows.
    void wheelEvent(QWheelEvent* event) override;
    /// Keeps the scroll bar, the column split and the in-place editor in step with the size.
    void resizeEvent(QResizeEvent* event) override;
    /// A new font changes the row height.
    void changeEvent(QEvent* event) override;
    /// Does nothing: the rows are painted from TopRow.
    void scrollContentsBy(int dx, int dy) override;

private:
    // ZVInspectorRows.cpp
    QVariant readValue(QObject* element, const TZvProp& row) const;

    // ZVInspector.cpp
    void updateScrollBar();
    void scrollIntoView();
    void scrollBarMoved(int value);
    void delayedRepaint();
    void flushRepaint();
    /// Writes `value` to the property `name` of every selected element; false, having written
    /// nothing and reported the element's refusal through the label's OnMessage, when one of them
    /// cannot honour it.
    bool writeAll(const QString& name, const QVariant& value);
    /// The same for row `index`, which then keeps `value`; the row is looked up again after the
    /// writes, as a setter may have the editor rebuild the rows.
    void writeRow(int index, const QVariant& value);

    // ZVInspectorEditors.cpp
    void createInplace();
    void destroyInplace();
    void placeInplace();
    void fillInplace();
    QWidget* makeTextBox(const TZvProp& row);
    QWidget* makeWideBox(const TZvProp& row);
    QWidget* makeSpinBox(const TZvProp& row);
    QWidget* makeList(const TZvProp& row);
    void commitText(const QString& text);
    void commitSpin();
    void commitList(const QString& text);

    // ZVInspectorInput.cpp
    void doubleClickAction();
    /// Space toggles a Boolean row; Enter opens a colour, pop-up or dialog row. False when the
    /// current row has no such action.
    bool keyAction(bool enter);
    void openWideTextDialog();
    void toggleBoolean(int index);
    void pickColor(int index);
    void pickAlign(int index);
    void pickJustify(int index);
    QRect popupCell(int index) const;
    void updateHover(const QPoint& pos, Qt::MouseButtons buttons);

    QList<TZvProp> m_rows;
    int m_itemIndex = -1;
    int m_topRow = 0;
    mutable int m_rowHeight = -1;
    QPointer<QWidget> m_inplace;
    int m_downX = -1;
    bool m_splitDrag = false;
    bool m_editorHasFocus = false;
    /// Set while the press of a double click is handled: with imClick it must not act twice.
    bool m_secondPress = false;
    /// Held while an in-place editor is filled or destroyed: its change signals are not edits.
    FeedbackGuard m_filling;
    bool m_loading = false;
    FeedbackGuard m_syncingScrollBar;
    QString m_textFontName = QStringLiteral("Arial");
    /// Counts the in-place editors made; what is typed into one of them is one undo step.
    int m_editSerial = 0;
    QTimer m_refreshTimer;

    int m_splitPos = 100;
    int m_timeRefresh = 0;
    TZVInspectMode m_inspectMode = imDblClick;
    bool m_dropDownOnSelect = false;
    bool m_showUnicodeEditor = true;
    TBorderStyle m_borderStyle = bsSingle;
    QColor m_color;
};

/// The inspector component: painting, caption language and translation file, wide-text dialog.
class ZORVEL_WIDGETS_EXPORT TZVInspector : public TZVCustomInspector
{
    Q_OBJECT
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(zorvel::TZVCustomInspector::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(int SplitPos READ SplitPos WRITE SetSplitPos)
    Q_PROPERTY(zorvel::TZVLanguage Language READ Language WRITE SetLanguage)
    Q_PROPERTY(QColor NamesColor READ NamesColor WRITE SetNamesColor)
    Q_PROPERTY(TNameAlign NameAlign READ NameAlign WRITE SetNameAlign)
    Q_PROPERTY(QString IniTranslate READ IniTranslate WRITE SetIniTranslate)
    Q_PROPERTY(bool DropDownOnSelect READ DropDownOnSelect WRITE SetDropDownOnSelect)
    Q_PROPERTY(QColor ValuesColor READ ValuesColor WRITE SetValuesColor)
    Q_PROPERTY(int TimeRefresh READ TimeRefresh WRITE SetTimeRefresh)
    Q_PROPERTY(zorvel::TZVInspectMode InspectMode READ InspectMode WRITE SetInspectMode)
    Q_PROPERTY(bool ShowUnicodeEditor READ ShowUnicodeEditor WRITE SetShowUnicodeEditor)

public:
    /// How the captions sit in the names column.
    enum TNameAlign { naLeft, naRight, naCenter };
    Q_ENUM(TNameAlign)

    /// English captions, black text, no translation file.
    explicit TZVInspector(QWidget* parent = nullptr);

    /// The language of the built-in captions, used while no translation file is loaded.
    TZVLanguage Language() const { return m_language; }
    /// Sets Language and repaints.
    void SetLanguage(TZVLanguage value);
    /// Text colour of the captions.
    QColor NamesColor() const { return m_namesColor; }
    /// Sets NamesColor and repaints.
    void SetNamesColor(const QColor& value);
    /// Text colour of the values.
    QColor ValuesColor() const { return m_valuesColor; }
    /// Sets ValuesColor and repaints.
    void SetValuesColor(const QColor& value);
    /// Left-aligned captions unless set otherwise.
    TNameAlign NameAlign() const { return m_nameAlign; }
    /// Sets NameAlign and repaints.
    void SetNameAlign(TNameAlign value);
    /// Path of the translation file with custom captions; empty for none.
    const QString& IniTranslate() const { return m_iniTranslate; }
    /// Loads the captions of the new file and repaints.
    void SetIniTranslate(const QString& value);
    /// True when IniTranslate was found and read; its captions then replace the built-in ones.
    bool TranslationLoaded() const { return m_translationLoaded; }

    /// The caption shown for the property `name`.
    QString Caption(const QString& name) const;

    /// Reloads the custom captions from IniTranslate.
    void LabelChanged() override;
    /// Runs WideTextRunner for the row `name`; unless the user confirms, every selected element
    /// gets back the text it had before. Nothing without a selection or such a row.
    void EditWideText(const QString& name, const QString& text) override;

    /// Runs the wide-text dialog for `name`; the dialog commits through CommitWideText as the
    /// user types. Returns true when the user confirms. Defaults to TZvEdText.
    std::function<bool(TZVInspector& inspector, const QString& name)> WideTextRunner;

protected:
    /// Paints the visible rows: captions, values, value images and the selected row.
    void paintEvent(QPaintEvent* event) override;

private:
    void paintRow(QPainter& painter, int row, int textOffset);
    void paintValue(QPainter& painter, const TZvProp& row, const QRect& cell, int textTop);

    TZVLanguage m_language = zvEnglish;
    QColor m_namesColor = Qt::black;
    QColor m_valuesColor = Qt::black;
    TNameAlign m_nameAlign = naLeft;
    QString m_iniTranslate;
    bool m_translationLoaded = false;
};

} // namespace zorvel
