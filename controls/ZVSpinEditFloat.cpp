// Numeric text box: number format and parsing, typing rules, limits, steps.
#include "controls/ZVSpinEditFloat.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace zorvel {

namespace {

QString groupDigits(const QString& digits, const QString& separator)
{
    QString out;
    const qsizetype count = digits.size();
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

// Number format: thousands separators, `digits` decimals, at most `precision` significant
// digits (the decimals beyond them read 0). More whole digits than `precision` switch to
// scientific notation, as there is no way to show them faithfully.
QString formatNumber(double value, int precision, int digits, const QLocale& locale)
{
    precision = std::clamp(precision, 1, std::numeric_limits<double>::max_digits10);
    const double magnitude = std::abs(value);
    const QString sign = value < 0 ? locale.negativeSign() : QString();

    int wholeDigits = 0;
    if (magnitude != 0) {
        const QString scientific = QString::number(magnitude, 'e', precision - 1);
        const qsizetype e = scientific.indexOf(u'e');
        wholeDigits = scientific.mid(e + 1).toInt() + 1;
        if (wholeDigits > precision) {
            QString mantissa = scientific.left(e);
            if (mantissa.contains(u'.')) {
                while (mantissa.endsWith(u'0'))
                    mantissa.chop(1);
                if (mantissa.endsWith(u'.'))
                    mantissa.chop(1);
            }
            mantissa.replace(u'.', locale.decimalPoint());
            return sign + mantissa + u'E' + QString::number(wholeDigits - 1);
        }
    }

    const QString fixed = QString::number(magnitude, 'f', std::min(digits, precision - wholeDigits));
    const qsizetype dot = fixed.indexOf(u'.');
    const QString whole = dot < 0 ? fixed : fixed.left(dot);
    const QString fraction = (dot < 0 ? QString() : fixed.mid(dot + 1)).leftJustified(digits, u'0');
    const bool zero = std::all_of(fixed.begin(), fixed.end(), [](QChar c) { return c == u'0' || c == u'.'; });

    QString out = zero ? QString() : sign;
    out += groupDigits(whole, locale.groupSeparator());
    if (digits > 0)
        out += locale.decimalPoint() + fraction;
    return out;
}

// Reads a number as a person may have written it: currency symbol, spaces and thousands
// separators are ignored, and parentheses mean a negative amount.
double parseNumber(QString text, const QLocale& locale, bool* ok)
{
    const QString currency = locale.currencySymbol();
    if (!currency.isEmpty())
        text.remove(currency);
    text.removeIf([](QChar c) { return c.isSpace(); });
    const QString group = locale.groupSeparator();
    if (!group.isEmpty())
        text.remove(group);
    const bool negative = text.contains(u'(');
    if (negative) {
        text.remove(u'(');
        text.remove(u')');
    }
    const double value = locale.toDouble(text, ok);
    // "inf" and "nan" convert, but no limit or format can deal with them.
    if (*ok && !std::isfinite(value))
        *ok = false;
    return negative ? -value : value;
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

TZvSpinEditFloat::TZvSpinEditFloat(QWidget* parent)
    : QLineEdit(parent), m_textLocale(locale()), m_button(new TZvUpDown(this))
{
    // Typed characters go through the key filter only; these paths would bypass it.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAcceptDrops(false);

    m_button->OnClick = [this](QObject*, TZvUpDown::TUDBtnType button) {
        setFocus(Qt::OtherFocusReason);
        if (button == TZvUpDown::btUp)
            UpClick();
        else
            DownClick();
    };
    setTextMargins(0, 0, m_button->FixedWidth(), 0);
    setText(zeroText());
    connect(this, &QLineEdit::textChanged, this, [this] {
        fire(OnChange, this);
        emit Changed();
    });
    keepMinimumHeight();
    placeButton();
}

QString TZvSpinEditFloat::zeroText() const
{
    return integerMode() ? QStringLiteral("0") : u'0' + separator() + QString(m_digits, u'0');
}

void TZvSpinEditFloat::SetDigits(int value)
{
    m_digits = std::clamp(value, 0, MaxDigits);
    if (m_digits == 0 && m_increment < 1)
        m_increment = 1;
    reformat();
}

void TZvSpinEditFloat::SetPrecision(int value)
{
    m_precision = value;
    reformat();
}

double TZvSpinEditFloat::Value() const
{
    bool ok = false;
    const double value = parseNumber(text(), m_textLocale, &ok);
    return ok ? value : m_minValue;
}

void TZvSpinEditFloat::SetValue(double value)
{
    if (integerMode())
        setText(QStringLiteral("0"));
    else
        showNumber(value);
}

int TZvSpinEditFloat::AsInteger() const
{
    if (!integerMode())
        return 0;
    bool ok = false;
    const int value = text().trimmed().toInt(&ok);
    return ok ? value : 0;
}

void TZvSpinEditFloat::SetAsInteger(int value)
{
    setText(integerMode() ? QString::number(clampInteger(value)) : QStringLiteral("0"));
}

double TZvSpinEditFloat::clampFloat(double value) const
{
    if (std::isnan(value))
        return m_minValue;
    // Equal limits mean "no upper limit". Applying the minimum last keeps it in force when
    // the limits are given the wrong way round.
    if (m_minValue != m_maxValue)
        value = std::min(value, m_maxValue);
    value = std::max(value, m_minValue);
    return std::isfinite(value) ? value : m_minValue;
}

int TZvSpinEditFloat::clampInteger(long long value) const
{
    const auto toWhole = [](double limit) {
        constexpr double lo = std::numeric_limits<int>::min();
        constexpr double hi = std::numeric_limits<int>::max();
        return std::isfinite(limit) ? std::llround(std::clamp(limit, lo, hi)) : 0LL;
    };
    const long long low = toWhole(m_minValue);
    const long long high = toWhole(m_maxValue);
    if (low != high)
        value = std::min(value, high);
    value = std::max(value, low);
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

void TZvSpinEditFloat::showNumber(double value)
{
    if (integerMode()) {
        const double whole = std::isfinite(value) ? std::round(value) : 0.0;
        constexpr double range = 9.0e18;
        setText(QString::number(clampInteger(static_cast<long long>(std::clamp(whole, -range, range)))));
        return;
    }
    m_textLocale = locale();
    setText(formatNumber(clampFloat(value), m_precision, m_digits, m_textLocale));
}

// The number shown so far, in the current mode and format; switching modes keeps the value.
void TZvSpinEditFloat::reformat()
{
    bool ok = false;
    const double value = parseNumber(text(), m_textLocale, &ok);
    showNumber(ok ? value : m_minValue);
}

void TZvSpinEditFloat::applyLimits()
{
    if (integerMode())
        SetAsInteger(AsInteger());
    else
        SetValue(Value());
}

void TZvSpinEditFloat::UpClick()
{
    if (isReadOnly())
        return beep();
    if (integerMode())
        setText(QString::number(clampInteger(static_cast<long long>(AsInteger()) + std::llround(m_increment))));
    else
        SetValue(Value() + m_increment);
}

void TZvSpinEditFloat::DownClick()
{
    if (isReadOnly())
        return beep();
    if (integerMode())
        setText(QString::number(clampInteger(static_cast<long long>(AsInteger()) - std::llround(m_increment))));
    else
        SetValue(Value() - m_increment);
}

void TZvSpinEditFloat::beep()
{
    if (OnBeep)
        OnBeep();
    else
        QApplication::beep();
}

bool TZvSpinEditFloat::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress && SwallowedByKeyDown(this, OnKeyDown, static_cast<QKeyEvent*>(event)))
        return true;
    return QLineEdit::event(event);
}

void TZvSpinEditFloat::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    const int key = event->key();
    if (key == Qt::Key_Up)
        return UpClick();
    if (key == Qt::Key_Down)
        return DownClick();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return pressEnter();
    if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste)) {
        if (editable())
            QLineEdit::keyPressEvent(event);
        return;
    }

    const QString sep = separator();
    const qsizetype sepAt = text().indexOf(sep);
    if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
        if (!m_editorEnabled)
            return beep();
        const bool plain = !hasSelectedText() && event->modifiers() == Qt::NoModifier && sepAt >= 0;
        if (plain && key == Qt::Key_Delete && cursorPosition() == sepAt)
            return cursorForward(false, static_cast<int>(sep.size()));
        if (plain && key == Qt::Key_Backspace && cursorPosition() == sepAt + sep.size())
            return cursorBackward(false, static_cast<int>(sep.size()));
        return QLineEdit::keyPressEvent(event);
    }

    const QString typed = event->text();
    const bool chord = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (chord || typed.isEmpty() || HasControlCharacter(typed))
        return QLineEdit::keyPressEvent(event);
    for (const QChar c : typed)
        typeCharacter(c);
}

void TZvSpinEditFloat::typeCharacter(QChar ch)
{
    const QString sep = separator();
    const QString typed = ch == u'.' ? sep : QString(ch);
    const bool isSeparator = typed == sep;
    // A separator in integer mode would turn the whole number into "not an integer", i.e. 0.
    const bool accepted = isAsciiDigit(ch) || ch == u'+' || ch == u'-' || (isSeparator && !integerMode());
    if (!accepted || !m_editorEnabled)
        return beep();
    if (isReadOnly())
        return;
    if (ch == u'-')
        return insert(typed);

    if (isSeparator) {
        const qsizetype at = text().indexOf(sep);
        if (at >= 0)
            setCursorPosition(static_cast<int>(at + sep.size()));
        else
            insert(sep);
        return;
    }

    if (hasSelectedText()) {
        if (selectedText().size() == text().size()) {
            setText(zeroText());
            setCursorPosition(0);
        } else {
            setCursorPosition(selectionEnd());
        }
    }
    const QString current = text();
    const int pos = cursorPosition();
    if (pos <= 1 && current.startsWith(u'0')) {
        setSelection(0, 1);
    } else if (m_digits > 0) {
        const qsizetype sepAt = current.indexOf(sep);
        if (sepAt >= 0) {
            const qsizetype firstDecimal = sepAt + sep.size();
            if (pos >= firstDecimal + m_digits)
                return beep();
            if (pos >= firstDecimal && pos < current.size())
                setSelection(pos, 1);
        }
    }
    insert(typed);
}

void TZvSpinEditFloat::pressEnter()
{
    QWidget* form = window();
    QPushButton* target = nullptr;
    if (form != this) {
        for (QPushButton* button : form->findChildren<QPushButton*>()) {
            if (button->isDefault() && button->isEnabled() && button->isVisibleTo(form)) {
                target = button;
                break;
            }
        }
    }
    if (!target)
        return beep();

    const int selStart = selectionStart();
    const int selLength = static_cast<int>(selectedText().size());
    const int cursor = cursorPosition();
    // The button acts on the value as leaving the box would leave it, even where no focus
    // change is delivered (an inactive window).
    applyLimits();
    QPointer<TZvSpinEditFloat> self(this);
    target->setFocus(Qt::OtherFocusReason);
    target->click();
    if (!self)
        return;
    setFocus(Qt::OtherFocusReason);
    if (m_autoSelect)
        selectAll();
    else if (selLength > 0)
        setSelection(selStart, selLength);
    else
        setCursorPosition(cursor);
}

void TZvSpinEditFloat::focusInEvent(QFocusEvent* event)
{
    const bool hadSelection = hasSelectedText();
    QLineEdit::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    // Returning from a menu or another window is no entry into the box.
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return;
    if (m_autoSelect && reason != Qt::MouseFocusReason)
        selectAll();
    else if (!m_autoSelect && !hadSelection)
        deselect();
    fire(OnEnter, this);
}

void TZvSpinEditFloat::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return;
    applyLimits();
    fire(OnExit, this);
}

void TZvSpinEditFloat::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    placeButton();
}

void TZvSpinEditFloat::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
        keepMinimumHeight();
        break;
    case QEvent::StyleChange:
        placeButton();
        break;
    case QEvent::LocaleChange: {
        const QLocale now = locale();
        const bool sameSigns = now.decimalPoint() == m_textLocale.decimalPoint() &&
                               now.groupSeparator() == m_textLocale.groupSeparator() &&
                               now.currencySymbol() == m_textLocale.currencySymbol() &&
                               now.negativeSign() == m_textLocale.negativeSign();
        // Text in the old separators would no longer read back; integers have none.
        if (sameSigns || integerMode())
            m_textLocale = now;
        else
            reformat();
        break;
    }
    default:
        break;
    }
}

void TZvSpinEditFloat::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    if (!m_editorEnabled) {
        for (QAction* action : menu->actions()) {
            const QString name = action->objectName();
            if (name == u"edit-cut" || name == u"edit-paste" || name == u"edit-delete" || name == u"edit-undo" ||
                name == u"edit-redo")
                action->setEnabled(false);
        }
    }
    menu->exec(event->globalPos());
}

void TZvSpinEditFloat::placeButton()
{
    const int frameWidth = hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) : 0;
    const int buttonWidth = m_button->FixedWidth();
    m_button->setGeometry(width() - frameWidth - buttonWidth, frameWidth, buttonWidth,
                          std::max(0, height() - 2 * frameWidth));
}

void TZvSpinEditFloat::keepMinimumHeight()
{
    // The smaller text height of the application's and the box's font, 8 pixels of margin and
    // four one-pixel borders.
    constexpr int Margin = 8 + 4 * 1;
    const int textHeight = std::min(QFontMetrics(QApplication::font()).height(), fontMetrics().height());
    setMinimumHeight(textHeight + Margin);
}

} // namespace zorvel
