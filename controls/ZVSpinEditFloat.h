// Numeric text box with an up-down button, for floats and integers.
#pragma once

#include "controls/ZVKeyEvent.h"
#include "controls/ZVUpDown.h"
#include "foundation/ZVTypes.h"
#include "zorvel_widgets_export.h"

#include <QLineEdit>
#include <QLocale>

#include <functional>

namespace zorvel {

/// Numeric text box with an up-down button: a float with a fixed number of decimals, or an
/// integer when Digits is 0. The separators come from the widget's locale().
class ZORVEL_WIDGETS_EXPORT TZvSpinEditFloat : public QLineEdit
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

} // namespace zorvel
