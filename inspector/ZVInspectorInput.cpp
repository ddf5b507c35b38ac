// Inspector input: keyboard, mouse, wheel, and the double-click actions on a value.
#include "inspector/ZVInspector.h"

#include "controls/ZVAlignPopup.h"
#include "controls/ZVColorSwatch.h"
#include "controls/ZVJustifyPopup.h"
#include "editor/ZVEditor.h"
#include "foundation/ZVCanvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>

namespace zorvel {

namespace {

bool opensElementDialog(TZVPropKind kind)
{
    switch (kind) {
    case pkChar:
    case pkParagraphText:
    case pkFileImage:
    case pkEditTable:
    case pkEditPoly:
    case pkCode:
        return true;
    default:
        return false;
    }
}

bool showsHint(TZVPropKind kind)
{
    return kind == pkString || kind == pkFontName || kind == pkWideText || kind == pkFieldName || kind == pkFileImage ||
           kind == pkTemplate;
}

} // namespace

// ---- Keyboard ----

bool TZVCustomInspector::event(QEvent* event)
{
    // Tab goes into the in-place editor instead of to the next control; without an editor it
    // moves on as usual, so the grid never traps the keyboard.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier && m_inplace) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TZVCustomInspector::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers held = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    if (m_loading || (event->modifiers() & held)) {
        event->ignore();
        return;
    }
    const int visible = VisibleRows();
    switch (event->key()) {
    case Qt::Key_Tab:
        if (m_inplace) {
            m_inplace->setFocus(Qt::TabFocusReason);
            m_editorHasFocus = true;
        }
        break;
    case Qt::Key_PageUp:
        SelectRow(std::max(m_itemIndex - visible + 1, 0));
        break;
    case Qt::Key_PageDown:
        SelectRow(m_itemIndex + visible - 1);
        break;
    case Qt::Key_Up:
        if (m_itemIndex - 1 >= 0) SelectRow(m_itemIndex - 1);
        break;
    case Qt::Key_Down:
        SelectRow(m_itemIndex + 1);
        break;
    // Space and Enter reach the rows that have no text box, so the keyboard alone edits them.
    case Qt::Key_Space:
        if (!keyAction(false)) return event->ignore();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!keyAction(true)) return event->ignore();
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
    scrollIntoView();
    updateScrollBar();
    viewport()->update();
}

// ---- Mouse ----

void TZVCustomInspector::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_loading) return;
    const QPoint pos = event->position().toPoint();
    const int x = pos.x();
    m_downX = x;
    setFocus(Qt::MouseFocusReason);
    if (x >= m_splitPos - 1 && x <= m_splitPos + 1) {
        m_splitDrag = true;
        return;
    }
    const int row = pos.y() / RowHeight() + m_topRow;
    if (pos.y() < 0 || row >= m_rows.size()) return;
    m_editorHasFocus = x > m_splitPos && m_inplace;
    if (m_rows[row].Kind == pkWideText && unicodeDialogAllowed() && x < m_splitPos - 2) {
        // The caption of a wide text leads to the dialog, not to a text box.
        if (row != m_itemIndex) destroyInplace();
        m_itemIndex = row;
    } else if (row == m_itemIndex && !m_inplace) {
        createInplace(); // the row was chosen by its caption
    } else {
        SelectRow(row);
    }
    scrollIntoView();
    updateScrollBar();
    if (m_inspectMode == imClick && !m_secondPress) {
        if (x > m_splitPos + 2)
            doubleClickAction();
        else if (unicodeDialogAllowed())
            openWideTextDialog();
    }
    viewport()->update();
}

void TZVCustomInspector::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_loading) return;
    // The second press of the pair; with imClick the first press has acted already.
    m_secondPress = true;
    mousePressEvent(event);
    m_secondPress = false;
    if (m_inspectMode == imDblClick && !m_splitDrag) doubleClickAction();
}

void TZVCustomInspector::mouseMoveEvent(QMouseEvent* event)
{
    if (m_loading) return;
    const QPoint pos = event->position().toPoint();
    if (m_splitDrag) {
        SetSplitPos(pos.x());
        placeInplace();
        viewport()->repaint();
        return;
    }
    updateHover(pos, event->buttons());
}

void TZVCustomInspector::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) m_splitDrag = false;
}

void TZVCustomInspector::updateHover(const QPoint& pos, Qt::MouseButtons buttons)
{
    const int index = pos.y() / RowHeight() + m_topRow;
    const bool onRow = pos.y() >= 0 && index < m_rows.size();
    if (onRow) {
        if (hasFocus() && buttons == Qt::LeftButton) SelectRow(index);
        const TZvProp& row = m_rows[index];
        viewport()->setToolTip(showsHint(row.Kind) ? valueText(row) : QString());
    }
    const int x = pos.x();
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (x >= m_splitPos - 1 && x <= m_splitPos + 1)
        shape = Qt::SplitHCursor;
    else if (x < m_splitPos && onRow && m_rows[index].Kind == pkWideText && m_showUnicodeEditor)
        shape = Qt::DragCopyCursor;
    else if (x > m_splitPos && onRow && m_rows[index].Kind >= pkChar)
        shape = Qt::PointingHandCursor;
    viewport()->setCursor(shape);
}

void TZVCustomInspector::wheelEvent(QWheelEvent* event)
{
    // Turning the wheel toward the user brings later rows into view, as everywhere else.
    const int delta = -event->angleDelta().y();
    m_topRow = std::clamp(m_topRow + delta / RowHeight(), 0, MaxTop());
    updateScrollBar();
    placeInplace();
    viewport()->update();
    event->accept();
}

// ---- Double-click actions ----

void TZVCustomInspector::doubleClickAction()
{
    if (m_rows.isEmpty() || m_itemIndex < 0 || !Editor()) return;
    const TZVPropKind kind = m_rows[m_itemIndex].Kind;
    if (m_downX > m_splitPos + 2) {
        if (kind == pkBoolean)
            toggleBoolean(m_itemIndex);
        else if (kind == pkTextAlign)
            pickAlign(m_itemIndex);
        else if (kind == pkTextFormat)
            pickJustify(m_itemIndex);
        else if (kind == pkColor)
            pickColor(m_itemIndex);
        else if (kind == pkTemplate)
            EditTemplate(m_rows[m_itemIndex].Name);
        else if (opensElementDialog(kind))
            Editor()->EditElement();
        viewport()->update();
    } else if (kind == pkWideText && unicodeDialogAllowed()) {
        openWideTextDialog();
    }
}

bool TZVCustomInspector::keyAction(bool enter)
{
    if (m_itemIndex < 0 || m_itemIndex >= m_rows.size() || !Editor()) return false;
    const TZVPropKind kind = m_rows[m_itemIndex].Kind;
    if (!enter) {
        if (kind != pkBoolean) return false;
        toggleBoolean(m_itemIndex);
    } else if (kind == pkColor) {
        pickColor(m_itemIndex);
    } else if (kind == pkTextAlign) {
        pickAlign(m_itemIndex);
    } else if (kind == pkTextFormat) {
        pickJustify(m_itemIndex);
    } else if (kind == pkTemplate) {
        EditTemplate(m_rows[m_itemIndex].Name);
    } else if (opensElementDialog(kind)) {
        Editor()->EditElement();
    } else {
        return false;
    }
    return true;
}

void TZVCustomInspector::openWideTextDialog()
{
    if (m_itemIndex < 0 || m_rows[m_itemIndex].Kind != pkWideText) return;
    const TZvProp row = m_rows[m_itemIndex];
    EditWideText(row.Name, row.Value.toString());
}

void TZVCustomInspector::toggleBoolean(int index)
{
    const auto scope = changeScope(m_rows[index].Name, false);
    Editor()->BeginUpdate();
    writeRow(index, !m_rows[index].Value.toBool());
    Editor()->EndUpdate(false);
}

void TZVCustomInspector::pickColor(int index)
{
    const TZVColor current = m_rows[index].Value.toUInt();
    const std::optional<TZVColor> chosen = PickColor(current, this);
    if (!chosen || index >= m_rows.size()) return;
    const auto scope = changeScope(m_rows[index].Name, false);
    Editor()->BeginUpdate();
    writeRow(index, QVariant::fromValue<uint>(*chosen));
    Editor()->EndUpdate(false);
}

QRect TZVCustomInspector::popupCell(int index) const
{
    const QRect cell = ValueCell(index);
    return {viewport()->mapToGlobal(cell.topLeft() - QPoint(2, 0)), QSize(cell.width() + 2, cell.height())};
}

void TZVCustomInspector::pickAlign(int index)
{
    const QRect cell = popupCell(index);
    const auto current = static_cast<TTextAlign>(m_rows[index].Value.toInt());
    std::optional<TTextAlign> chosen;
    if (AlignPicker) {
        chosen = AlignPicker(cell, current);
    } else {
        TFAlignEle popup(this);
        popup.Setup(cell.x(), cell.y(), current, cell.width());
        if (popup.exec() == QDialog::Accepted) chosen = popup.Value();
    }
    if (!chosen || index >= m_rows.size()) return;
    const auto scope = changeScope(m_rows[index].Name, false);
    Editor()->BeginUpdate();
    writeRow(index, int(*chosen));
    Editor()->EndUpdate(false);
}

void TZVCustomInspector::pickJustify(int index)
{
    const QRect cell = popupCell(index);
    const auto current = static_cast<TTextFormat>(m_rows[index].Value.toInt());
    std::optional<TTextFormat> chosen;
    if (JustifyPicker) {
        chosen = JustifyPicker(cell, current);
    } else {
        TFJustText popup(this);
        popup.Setup(cell.x(), cell.y(), current, cell.height(), cell.width());
        if (popup.exec() == QDialog::Accepted) chosen = popup.Value();
    }
    if (!chosen || index >= m_rows.size()) return;
    const auto scope = changeScope(m_rows[index].Name, false);
    Editor()->BeginUpdate();
    writeRow(index, int(*chosen));
    Editor()->EndUpdate(false);
}

} // namespace zorvel
