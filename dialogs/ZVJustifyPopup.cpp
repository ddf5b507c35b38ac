// The four-button justification pop-up and the justification mark it shares with the inspector.
#include "dialogs/ZVJustifyPopup.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace zorvel {

namespace {

const QColor kMark(Qt::black);
const QColor kHighlight(0x00, 0x78, 0xD7);

} // namespace

void DrawTextFormatGlyph(QPainter& painter, const QRect& box, TTextFormat value, bool highlighted)
{
    painter.save();
    const QColor ink = highlighted ? QColor(Qt::white) : kMark;
    if (highlighted) painter.fillRect(box, kHighlight);
    // Four lines, every second one short unless justified.
    const int full = box.width() - 2;
    const int shortLine = full * 3 / 5;
    for (int line = 0; line < 4; ++line) {
        const int y = box.top() + 1 + line * (box.height() - 2) / 4 + 1;
        const int length = value == tfJustify || line % 2 == 0 ? full : shortLine;
        int x = box.left() + 1;
        if (value == tfRight) x += full - length;
        if (value == tfCenter) x += (full - length) / 2;
        painter.fillRect(QRect(x, y, length, 1), ink);
    }
    painter.restore();
}

TFJustText::TFJustText(QWidget* parent)
    : QDialog(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setFocusPolicy(Qt::StrongFocus);
    resize(100, 24);
}

void TFJustText::Setup(int x, int y, TTextFormat value, int height, int width)
{
    m_value = value;
    setGeometry(x, y, std::max(width, kButtonCount), std::max(height, 1));
    update();
}

QRect TFJustText::ButtonRect(int index) const
{
    const int quarter = width() / 4;
    const int w = index == kButtonCount - 1 ? width() - 3 * quarter : quarter;
    return {index * quarter, 0, w, height()};
}

void TFJustText::choose(TTextFormat value)
{
    m_value = value;
    accept();
}

void TFJustText::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    for (int i = 0; i < kButtonCount; ++i) {
        const QRect button = ButtonRect(i);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(button.topLeft(), button.topRight());
        painter.drawLine(button.topLeft(), button.bottomLeft());
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(button.bottomLeft(), button.bottomRight());
        painter.drawLine(button.topRight(), button.bottomRight());
        QRect glyph(0, 0, kGlyphSize, kGlyphSize);
        glyph.moveCenter(button.center());
        DrawTextFormatGlyph(painter, glyph, static_cast<TTextFormat>(i), i == int(m_value));
    }
}

void TFJustText::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        for (int i = 0; i < kButtonCount; ++i) {
            if (ButtonRect(i).contains(event->position().toPoint())) {
                choose(static_cast<TTextFormat>(i));
                return;
            }
        }
    }
    QDialog::mousePressEvent(event);
}

void TFJustText::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        m_value = static_cast<TTextFormat>(std::max(int(m_value) - 1, 0));
        break;
    case Qt::Key_Right:
        m_value = static_cast<TTextFormat>(std::min(int(m_value) + 1, kButtonCount - 1));
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        choose(m_value);
        return;
    default:
        QDialog::keyPressEvent(event);
        return;
    }
    update();
}

} // namespace zorvel
