// The edit controls of the inspector and the dialogs: wide-text box, float spin box, up-down, aligned box.
#include "inspector/ZVEditors.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace zorvel {

namespace {

bool hasControlCharacter(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

// Swallows the key when the host's key-down handler zeroes it.
bool swallowedByKeyDown(QObject* sender, const TZVKeyEvent& handler, QKeyEvent* event)
{
    if (!handler)
        return false;
    int key = event->key();
    handler(sender, key, event->modifiers());
    if (key != 0)
        return false;
    event->accept();
    return true;
}

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

// ---------------------------------------------------------------------------------------------
// TZVWideEdit

TZVWideEdit::TZVWideEdit(QWidget* parent) : QLineEdit(parent)
{
    resize(120, 21);
    setFocusPolicy(Qt::StrongFocus);
    // Every edit path of the line edit (keys, paste, drops, input methods, the context menu)
    // reports through textEdited; SetText reports by itself.
    connect(this, &QLineEdit::textEdited, this, &TZVWideEdit::reportChange);
    connect(this, &QLineEdit::selectionChanged, this, [this] { fire(OnSelect, this); });
    keepTextHeight();
}

void TZVWideEdit::SetText(const QString& value)
{
    setText(value);
    reportChange();
}

void TZVWideEdit::SetBorderStyle(TBorderStyle value)
{
    if (value == m_borderStyle)
        return;
    m_borderStyle = value;
    setFrame(value == bsSingle);
}

QColor TZVWideEdit::Color() const
{
    return palette().color(QPalette::Base);
}

void TZVWideEdit::SetColor(const QColor& value)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, value);
    setPalette(p);
}

QSize TZVWideEdit::sizeHint() const
{
    return {120, std::max(21, QLineEdit::sizeHint().height())};
}

bool TZVWideEdit::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress && swallowedByKeyDown(this, OnKeyDown, static_cast<QKeyEvent*>(event)))
        return true;
    return QLineEdit::event(event);
}

void TZVWideEdit::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    if (event->matches(QKeySequence::Copy))
        return copySelection();
    if (event->matches(QKeySequence::Cut))
        return cutSelection();
    if (event->matches(QKeySequence::Paste))
        return pasteText();

    switch (event->key()) {
    case Qt::Key_Backspace:
        backspace();
        return;
    case Qt::Key_Left:
        cursorBackward(false, 1);
        return;
    case Qt::Key_Right:
        cursorForward(false, 1);
        return;
    // Left to the window: a dialog takes Enter and Escape, Tab moves the focus on.
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        event->ignore();
        return;
    // Navigation and editing keys that this box deliberately leaves without effect.
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_Pause:
    case Qt::Key_Print:
    case Qt::Key_SysReq:
    case Qt::Key_Select:
    case Qt::Key_Execute:
    case Qt::Key_Clear:
    case Qt::Key_CapsLock:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        return;
    default:
        break;
    }

    const QString typed = event->text();
    const bool chord = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (chord || typed.isEmpty() || hasControlCharacter(typed)) {
        event->ignore();
        return;
    }
    insert(typed);
}

void TZVWideEdit::copySelection()
{
    if (hasSelectedText())
        QGuiApplication::clipboard()->setText(selectedText());
}

void TZVWideEdit::cutSelection()
{
    if (!hasSelectedText())
        return;
    copySelection();
    del();
}

void TZVWideEdit::pasteText()
{
    const QString clip = QGuiApplication::clipboard()->text();
    // Like typing, the pasted text replaces a selection rather than landing beside it.
    if (!clip.isEmpty())
        insert(clip);
}

void TZVWideEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // Closing the context menu hands the focus back; the user's selection must survive that.
    if (event->reason() != Qt::PopupFocusReason)
        selectAll();
}

void TZVWideEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_mouseSelecting = true;
    QLineEdit::mousePressEvent(event);
}

void TZVWideEdit::mouseMoveEvent(QMouseEvent* event)
{
    // After a double click the button is still down, but the whole text must stay selected.
    if (m_mouseSelecting)
        QLineEdit::mouseMoveEvent(event);
}

void TZVWideEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_mouseSelecting = false;
    QLineEdit::mouseReleaseEvent(event);
}

void TZVWideEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QLineEdit::mouseDoubleClickEvent(event);
    // The double click stands in for the second press: it must not move the caret.
    m_mouseSelecting = false;
    selectAll();
    event->accept();
}

void TZVWideEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        keepTextHeight();
}

void TZVWideEdit::keepTextHeight()
{
    setMinimumHeight(fontMetrics().height());
}

void TZVWideEdit::reportChange()
{
    fire(OnChange, this);
    emit Changed();
}

// ---------------------------------------------------------------------------------------------
// TZvUpDown

namespace {
constexpr int MaxUpDownWidth = 15;
constexpr int RepeatDelayMs = 400;
constexpr int RepeatIntervalMs = 80;
} // namespace

TZvUpDown::TZvUpDown(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setFixedWidth(FixedWidth());
    m_repeat.setSingleShot(true);
    connect(&m_repeat, &QTimer::timeout, this, [this] {
        if (m_pressed == Half::None)
            return;
        m_repeat.start(RepeatIntervalMs);
        step();
    });
}

int TZvUpDown::FixedWidth() const
{
    return std::min(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this), MaxUpDownWidth);
}

QSize TZvUpDown::sizeHint() const
{
    return {FixedWidth(), 20};
}

void TZvUpDown::ThumbPosition(int position)
{
    if (m_handling || position == 0)
        return;
    m_handling = true;
    m_position = std::clamp(position, MinPosition, MaxPosition);
    const TUDBtnType button = position > 0 ? btUp : btDown;
    // A click may close the window that owns this control.
    QPointer<TZvUpDown> self(this);
    fire(OnClick, this, button);
    if (self)
        emit Clicked(button);
    if (!self)
        return;
    m_position = 0;
    m_handling = false;
}

TZvUpDown::Half TZvUpDown::halfAt(const QPoint& pos) const
{
    if (halfRect(Half::Up).contains(pos))
        return Half::Up;
    if (halfRect(Half::Down).contains(pos))
        return Half::Down;
    return Half::None;
}

QRect TZvUpDown::halfRect(Half half) const
{
    const int middle = height() / 2;
    if (half == Half::Up)
        return {0, 0, width(), middle};
    return {0, middle, width(), height() - middle};
}

void TZvUpDown::step()
{
    ThumbPosition(m_pressed == Half::Up ? 1 : -1);
}

void TZvUpDown::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (const Half half : {Half::Up, Half::Down}) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = halfRect(half);
        option.state |= m_pressed == half ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, this);
        option.rect = option.rect.adjusted(2, 1, -2, -1);
        style()->drawPrimitive(half == Half::Up ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                               &option, &painter, this);
    }
}

void TZvUpDown::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    m_pressed = halfAt(event->position().toPoint());
    if (m_pressed == Half::None)
        return;
    update();
    m_repeat.start(RepeatDelayMs);
    step();
}

void TZvUpDown::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = Half::None;
    m_repeat.stop();
    update();
}

void TZvUpDown::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::StyleChange)
        setFixedWidth(FixedWidth());
}

// ---------------------------------------------------------------------------------------------
// TZvSpinEditFloat

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
    if (event->type() == QEvent::KeyPress && swallowedByKeyDown(this, OnKeyDown, static_cast<QKeyEvent*>(event)))
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
    if (chord || typed.isEmpty() || hasControlCharacter(typed))
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

// ---------------------------------------------------------------------------------------------
// TZvAlignEdit

TZvAlignEdit::TZvAlignEdit(QWidget* parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
}

void TZvAlignEdit::SetAlignment(TAlignment value)
{
    if (value == m_alignment)
        return;
    m_alignment = value;
    const Qt::Alignment horizontal = value == taLeftJustify    ? Qt::AlignLeft
                                     : value == taRightJustify ? Qt::AlignRight
                                                               : Qt::AlignHCenter;
    setAlignment(horizontal | Qt::AlignVCenter);
}

bool TZvAlignEdit::Assign(const QObject* source)
{
    const auto* other = qobject_cast<const TZvAlignEdit*>(source);
    if (!other)
        return false;
    SetAlignment(other->Alignment());
    return true;
}

} // namespace zorvel
