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

// Key-down event raised before the control handles the key; setting Key to 0 swallows it.
using TZVKeyEvent = std::function<void(QObject* Sender, int& Key, Qt::KeyboardModifiers Shift)>;

// One-line Unicode text box. Text changes are reported through OnChange whether the user
// or the program made them; navigation keys never edit the text.
class TZVWideEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText NOTIFY Changed)
    Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)

public:
    enum TBorderStyle { bsNone, bsSingle };
    Q_ENUM(TBorderStyle)

    explicit TZVWideEdit(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TZVWideEdit)

    QString Text() const { return text(); }
    // Replaces the whole text, puts the caret at the end and reports the change even when
    // the text is the same.
    void SetText(const QString& value);

    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);

    QColor Color() const;
    void SetColor(const QColor& value);

    QSize sizeHint() const override;

    TZVNotifyEvent OnChange;
    TZVNotifyEvent OnSelect;
    TZVKeyEvent OnKeyDown;

signals:
    void Changed();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
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

// The up-down button of the spin box: every press reports one step and the position
// springs back to 0, so the control never sits at a limit.
class TZvUpDown : public QWidget
{
    Q_OBJECT

public:
    enum TUDBtnType { btUp, btDown };
    Q_ENUM(TUDBtnType)

    using TZVUDClickEvent = std::function<void(QObject* Sender, TUDBtnType Button)>;

    static constexpr int MinPosition = -1;
    static constexpr int MaxPosition = 1;

    explicit TZvUpDown(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TZvUpDown)

    int Position() const { return m_position; }
    // Width of the control: the style's scroll-bar width, at most 15 pixels.
    int FixedWidth() const;
    // A position notification: +1 reports an up step, -1 a down step.
    void ThumbPosition(int position);

    QSize sizeHint() const override;

    TZVUDClickEvent OnClick;

signals:
    void Clicked(zorvel::TZvUpDown::TUDBtnType button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
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

// Numeric text box with an up-down button: a float with a fixed number of decimals, or an
// integer when Digits is 0. The separators come from the widget's locale().
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
    static constexpr int MaxDigits = 12;

    explicit TZvSpinEditFloat(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TZvSpinEditFloat)

    int Digits() const { return m_digits; }
    // Clamped to 0..MaxDigits; integer mode needs a whole increment.
    void SetDigits(int value);
    int Precision() const { return m_precision; }
    void SetPrecision(int value);
    double Increment() const { return m_increment; }
    void SetIncrement(double value) { m_increment = value; }
    double MinValue() const { return m_minValue; }
    void SetMinValue(double value) { m_minValue = value; }
    double MaxValue() const { return m_maxValue; }
    void SetMaxValue(double value) { m_maxValue = value; }
    bool EditorEnabled() const { return m_editorEnabled; }
    void SetEditorEnabled(bool value) { m_editorEnabled = value; }
    bool AutoSelect() const { return m_autoSelect; }
    void SetAutoSelect(bool value) { m_autoSelect = value; }

    // The text as a number; text that is no number reads as MinValue.
    double Value() const;
    // Float mode: clamps and formats. Integer mode: the text becomes "0".
    void SetValue(double value);
    // Integer mode: the text as an integer, 0 when it is none. Float mode: 0.
    int AsInteger() const;
    // Integer mode: clamps and shows the integer. Float mode: the text becomes "0".
    void SetAsInteger(int value);

    void SetLocale(const QLocale& value) { setLocale(value); }

    TZvUpDown* Button() const { return m_button; }

    virtual void UpClick();
    virtual void DownClick();

    TZVNotifyEvent OnChange;
    TZVNotifyEvent OnEnter;
    TZVNotifyEvent OnExit;
    TZVKeyEvent OnKeyDown;
    // Audible refusal; unset means QApplication::beep().
    std::function<void()> OnBeep;

signals:
    void Changed();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
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
    // The locale the current text was formatted with, to read it back after a locale change.
    QLocale m_textLocale;
    TZvUpDown* m_button;
};

// One-line box whose text is drawn left-aligned, right-aligned or centred.
class TZvAlignEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)

public:
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)

    explicit TZvAlignEdit(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TZvAlignEdit)

    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    // Copies Alignment from another TZvAlignEdit; false for any other source.
    bool Assign(const QObject* source);

private:
    TAlignment m_alignment = taCenter;
};

} // namespace zorvel
