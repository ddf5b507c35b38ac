// Painting, mouse and keys shared by the in-place value pickers.
#include "controls/ZVChoicePopup.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace zorvel {

ChoicePopup::ChoicePopup(QWidget* parent, int current)
    : QDialog(parent, Qt::Popup | Qt::FramelessWindowHint), m_current(current)
{
    setFocusPolicy(Qt::StrongFocus);
}

void ChoicePopup::SetCurrentCell(int index)
{
    m_current = index;
    update();
}

void ChoicePopup::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    for (int i = 0; i < CellCount(); ++i) {
        const QRect cell = CellRectAt(i);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(cell.topLeft(), cell.topRight());
        painter.drawLine(cell.topLeft(), cell.bottomLeft());
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(cell.bottomLeft(), cell.bottomRight());
        painter.drawLine(cell.topRight(), cell.bottomRight());
        QRect glyph(0, 0, kGlyphSize, kGlyphSize);
        glyph.moveCenter(cell.center());
        DrawCellGlyph(painter, glyph, i, i == m_current);
    }
}

void ChoicePopup::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        for (int i = 0; i < CellCount(); ++i) {
            if (CellRectAt(i).contains(event->position().toPoint())) {
                m_current = i;
                accept();
                return;
            }
        }
    }
    QDialog::mousePressEvent(event);
}

void ChoicePopup::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        accept();
        return;
    default:
        break;
    }
    const int next = CellAfterKey(event->key());
    if (next < 0) {
        QDialog::keyPressEvent(event);
        return;
    }
    SetCurrentCell(next);
}

} // namespace zorvel
