// The four-button justification pop-up and the justification mark it shares with the inspector.
#include "controls/ZVJustifyPopup.h"

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

TFJustText::TFJustText(QWidget* parent) : ChoicePopup(parent, tfLeft)
{
    resize(100, 24);
}

void TFJustText::Setup(int x, int y, TTextFormat value, int height, int width)
{
    setGeometry(x, y, std::max(width, kButtonCount), std::max(height, 1));
    SetCurrentCell(int(value));
}

QRect TFJustText::ButtonRect(int index) const
{
    const int quarter = width() / 4;
    const int w = index == kButtonCount - 1 ? width() - 3 * quarter : quarter;
    return {index * quarter, 0, w, height()};
}

void TFJustText::DrawCellGlyph(QPainter& painter, const QRect& box, int index, bool highlighted) const
{
    DrawTextFormatGlyph(painter, box, static_cast<TTextFormat>(index), highlighted);
}

int TFJustText::CellAfterKey(int key) const
{
    switch (key) {
    case Qt::Key_Left: return std::max(CurrentCell() - 1, 0);
    case Qt::Key_Right: return std::min(CurrentCell() + 1, kButtonCount - 1);
    default: return -1;
    }
}

} // namespace zorvel
