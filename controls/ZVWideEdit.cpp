// One-line Unicode text box: keys, clipboard, mouse selection.
#include "controls/ZVWideEdit.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace zorvel {

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
    if (event->type() == QEvent::KeyPress && SwallowedByKeyDown(this, OnKeyDown, static_cast<QKeyEvent*>(event)))
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
    case Qt::Key_Delete:
        del();
        return;
    // Shift keeps the anchor, so Shift+Home and Shift+End select up to the caret's new place.
    case Qt::Key_Home:
        home(event->modifiers() & Qt::ShiftModifier);
        return;
    case Qt::Key_End:
        end(event->modifiers() & Qt::ShiftModifier);
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
    case Qt::Key_Insert:
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
    if (chord || typed.isEmpty() || HasControlCharacter(typed)) {
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

} // namespace zorvel
