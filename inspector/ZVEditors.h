// The edit controls of the inspector and the dialogs: wide-text box, float spin box, up-down, aligned box.
#pragma once

#include "foundation/ZVTypes.h"

#include <QColor>
#include <QLineEdit>
#include <QLocale>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace zorvel {

/// Key-down event raised before the control handles the key; setting Key to 0 swallows it.
using TZVKeyEvent = std::function<void(QObject* Sender, int& Key, Qt::KeyboardModifiers Shift)>;

/// One-line Unicode text box. Text changes are reported through OnChange whether the user
/// or the program made them; navigation keys never edit the text.
class TZVWideEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText NOTIFY Changed)
    Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)

public:
    /// Whether the box draws its frame.
    enum TBorderStyle { bsNone, bsSingle };
    Q_ENUM(TBorderStyle)

    /// An empty, framed box 120 x 21 pixels that takes the focus by Tab and by click.
    explicit TZVWideEdit(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TZVWideEdit)

    /// The whole text.
    QString Text() const { return text(); }
    /// Replaces the whole text, puts the caret at the end and reports the change even when
    /// the text is the same.
    void SetText(const QString& value);

    /// Framed (bsSingle) unless set otherwise.
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    /// Sets BorderStyle and shows or hides the frame.
    void SetBorderStyle(TBorderStyle value);

    /// Background of the text area.
    QColor Color() const;
    /// Sets the background of the text area.
    void SetColor(const QColor& value);

    /// 120 pixels wide, at least 21 high.
    QSize sizeHint() const override;

    /// The text changed, by the user or through SetText; the sender is the box.
    TZVNotifyEvent OnChange;
    /// The selected part of the text changed; the sender is the box.
    TZVNotifyEvent OnSelect;
    /// A key is about to be handled; see TZVKeyEvent.
    TZVKeyEvent OnKeyDown;

signals:
    /// Emitted right after OnChange fires.
    void Changed();

protected:
    /// Offers key presses to OnKeyDown before anything else sees them.
    bool event(QEvent* event) override;
    /// Typing, Backspace, Left, Right, copy, cut and paste; Enter, Escape and Tab are left to the
    /// window, and the other navigation and editing keys (Delete, Home, End and the like) do
    /// nothing.
    void keyPressEvent(QKeyEvent* event) override;
    /// Selects the whole text, except when the focus comes back from a pop-up menu.
    void focusInEvent(QFocusEvent* event) override;
    /// A left drag selects; after a double click the whole text stays selected.
    /// @{
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    /// @}
    /// A left double click selects the whole text without moving the caret.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    /// Keeps the box at least one text line high when the font changes.
    void changeEvent(QEvent* event) override;

private:
    void copySelection();
    void cutSelection();
    void pasteText();
    void keepTextHeight();
    void reportChange();

    TBorderStyle m_borderStyle = bsSingle;
    bool m_mouseSelecting = false;
};

/// The up-down button of the spin box: every press reports one step and the position
/// springs back to 0, so the control never sits at a limit.
class TZvUpDown : public QWidget
{
    Q_OBJECT

public:
    /// The half of the control that was pressed.
    enum TUDBtnType { btUp, btDown };
    Q_ENUM(TUDBtnType)

    /// Click handler: the sender is the control, `Button` the half that was pressed.
    using TZVUDClickEvent = std::function<void(QObject* Sender, TUDBtnType Button)>;

    /// Limits of Position while a step is reported.
    /// @{
    static constexpr int MinPosition = -1;
    static constexpr int MaxPosition = 1;
    /// @}

    /// A control that never takes the focus; a half held down repeats its step after 400 ms,
    /// then every 80 ms.
    explicit TZvUpDown(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TZvUpDown)

    /// The last step reported; 0 between steps.
    int Position() const { return m_position; }
    /// Width of the control: the style's scroll-bar width, at most 15 pixels.
    int FixedWidth() const;
    /// A position notification: +1 reports an up step, -1 a down step.
    void ThumbPosition(int position);

    /// FixedWidth wide, 20 pixels high.
    QSize sizeHint() const override;

    /// A step was pressed; fires before Clicked. The handler may delete the control.
    TZVUDClickEvent OnClick;

signals:
    /// A step was pressed, after OnClick (unless that deleted the control).
    void Clicked(zorvel::TZvUpDown::TUDBtnType button);

protected:
    /// Draws the two halves as style buttons with arrows; the pressed one sunken.
    void paintEvent(QPaintEvent* event) override;
    /// A left press on a half reports a step and starts the repeat.
    void mousePressEvent(QMouseEvent* event) override;
    /// Stops the repeat.
    void mouseReleaseEvent(QMouseEvent* event) override;
    /// Follows the style's scroll-bar width when the style changes.
    void changeEvent(QEvent* event) override;

private:
    enum class Half { None, Up, Down };

    Half halfAt(const QPoint& pos) const;
    QRect halfRect(Half half) const;
    void step();

    int m_position = 0;
    bool m_handling = false;
    Half m_pressed = Half::None;
    QTimer m_repeat;
};

/// Numeric text box with an up-down button: a float with a fixed number of decimals, or an
/// integer when Digits is 0. The separators come from the widget's locale().
class TZvSpinEditFloat : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(int Digits READ Digits WRITE SetDigits)
    Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
    Q_PROPERTY(double Increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(double MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(double MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(double Value READ Value WRITE SetValue STORED false)
    Q_PROPERTY(int AsInteger READ AsInteger WRITE SetAsInteger STORED false)
    Q_PROPERTY(bool EditorEnabled READ EditorEnabled WRITE SetEditorEnabled)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)

public:
    /// Most decimals a float may show.
    static constexpr int MaxDigits = 12;

    /// Float mode with 2 decimals, step 0.5, no limits, showing 0.
    explicit TZvSpinEditFloat(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TZvSpinEditFloat)

    /// Decimals shown; 0 is integer mode.
    int Digits() const { return m_digits; }
    /// Clamped to 0..MaxDigits; integer mode needs a whole increment.
    void SetDigits(int value);
    /// Significant digits a float is shown with (1..17 in effect), 9 by default.
    int Precision() const { return m_precision; }
    /// Sets Precision and shows the number again.
    void SetPrecision(int value);
    /// Step of the up-down button and of the Up and Down keys.
    double Increment() const { return m_increment; }
    /// Sets Increment; integer mode steps by its nearest whole number.
    void SetIncrement(double value) { m_increment = value; }
    /// Lower limit; equal limits mean no upper limit.
    double MinValue() const { return m_minValue; }
    /// Sets MinValue; applied at the next step or when the box loses the focus.
    void SetMinValue(double value) { m_minValue = value; }
    /// Upper limit, ignored while it equals MinValue.
    double MaxValue() const { return m_maxValue; }
    /// Sets MaxValue; applied at the next step or when the box loses the focus.
    void SetMaxValue(double value) { m_maxValue = value; }
    /// False refuses typing (with a beep) and the menu's editing commands; steps still work.
    bool EditorEnabled() const { return m_editorEnabled; }
    /// Sets EditorEnabled.
    void SetEditorEnabled(bool value) { m_editorEnabled = value; }
    /// Whether entering the box by keyboard selects the whole text.
    bool AutoSelect() const { return m_autoSelect; }
    /// Sets AutoSelect.
    void SetAutoSelect(bool value) { m_autoSelect = value; }

    /// The text as a number; text that is no number reads as MinValue.
    double Value() const;
    /// Float mode: clamps and formats. Integer mode: the text becomes "0".
    void SetValue(double value);
    /// Integer mode: the text as an integer, 0 when it is none. Float mode: 0.
    int AsInteger() const;
    /// Integer mode: clamps and shows the integer. Float mode: the text becomes "0".
    void SetAsInteger(int value);
    /// Value and AsInteger within the limits, as leaving the box will show them; the text is
    /// left as typed.
    /// @{
    double LimitedValue() const { return clampFloat(Value()); }
    int LimitedInteger() const { return clampInteger(AsInteger()); }
    /// @}

    /// The locale whose separators the box reads and writes.
    void SetLocale(const QLocale& value) { setLocale(value); }

    /// The up-down button inside the box's right edge, owned by the box.
    TZvUpDown* Button() const { return m_button; }

    /// One Increment up or down within the limits; a read-only box beeps instead.
    /// @{
    virtual void UpClick();
    virtual void DownClick();
    /// @}

    /// The text changed, whatever changed it; the sender is the box.
    TZVNotifyEvent OnChange;
    /// The box got the focus (not on return from a menu or another window).
    TZVNotifyEvent OnEnter;
    /// The box lost the focus, after the limits were applied to its number.
    TZVNotifyEvent OnExit;
    /// A key is about to be handled; see TZVKeyEvent.
    TZVKeyEvent OnKeyDown;
    /// Audible refusal; unset means QApplication::beep().
    std::function<void()> OnBeep;

signals:
    /// Emitted right after OnChange fires.
    void Changed();

protected:
    /// Offers key presses to OnKeyDown before anything else sees them.
    bool event(QEvent* event) override;
    /// Up and Down step, Enter clicks the window's default button; only digits, signs and the
    /// decimal separator ('.' types it too) may be typed.
    void keyPressEvent(QKeyEvent* event) override;
    /// Fires OnEnter, selecting the text as AutoSelect says.
    void focusInEvent(QFocusEvent* event) override;
    /// Applies the limits, then fires OnExit.
    void focusOutEvent(QFocusEvent* event) override;
    /// Keeps the up-down button at the right edge.
    void resizeEvent(QResizeEvent* event) override;
    /// Follows font, style and locale changes; a new locale reformats the number.
    void changeEvent(QEvent* event) override;
    /// The standard menu, its editing commands disabled without EditorEnabled.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool integerMode() const { return m_digits == 0; }
    QString separator() const { return m_textLocale.decimalPoint(); }
    QString zeroText() const;
    double clampFloat(double value) const;
    int clampInteger(long long value) const;
    void showNumber(double value);
    void reformat();
    void applyLimits();
    void beep();
    bool editable() const { return m_editorEnabled && !isReadOnly(); }
    void typeCharacter(QChar ch);
    void pressEnter();
    void placeButton();
    void keepMinimumHeight();

    int m_digits = 2;
    int m_precision = 9;
    double m_increment = 0.5;
    double m_minValue = 0;
    double m_maxValue = 0;
    bool m_editorEnabled = true;
    bool m_autoSelect = true;
    /// The locale the current text was formatted with, to read it back after a locale change.
    QLocale m_textLocale;
    TZvUpDown* m_button;
};

/// One-line box whose text is drawn left-aligned, right-aligned or centred.
class TZvAlignEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)

public:
    /// Where the text sits across the box.
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)

    /// An empty, centred box.
    explicit TZvAlignEdit(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TZvAlignEdit)

    /// Centred unless set otherwise.
    TAlignment Alignment() const { return m_alignment; }
    /// Sets Alignment; the text is always centred vertically.
    void SetAlignment(TAlignment value);
    /// Copies Alignment from another TZvAlignEdit; false for any other source.
    bool Assign(const QObject* source);

private:
    TAlignment m_alignment = taCenter;
};

} // namespace zorvel
