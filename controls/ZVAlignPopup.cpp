// The 3 x 3 text-alignment pop-up and the alignment mark it shares with the inspector.
#include "controls/ZVAlignPopup.h"

#include <QPainter>

namespace zorvel {

namespace {

const QColor kFrame(0x80, 0x80, 0x80);
const QColor kMark(Qt::black);
const QColor kHighlight(0x00, 0x78, 0xD7);

// Row (0 top) and column (0 left) of the anchor an alignment names.
std::pair<int, int> anchorOf(TTextAlign value)
{
    static constexpr int kRowOfGroup[] = {2, 0, 1}; // bottom, top, centre groups of three
    return {kRowOfGroup[int(value) / 3], int(value) % 3};
}

int cellOf(TTextAlign value)
{
    const auto [row, column] = anchorOf(value);
    return row * 3 + column;
}

} // namespace

void DrawTextAlignGlyph(QPainter& painter, const QRect& box, TTextAlign value, bool highlighted)
{
    painter.save();
    const QColor ink = highlighted ? QColor(Qt::white) : kMark;
    if (highlighted) painter.fillRect(box, kHighlight);
    painter.setPen(highlighted ? ink : kFrame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    // A 4 x 4 block inside the 1-pixel frame, at one of three places per axis.
    const int block = 4;
    const auto [row, column] = anchorOf(value);
    const int spanX = box.width() - 2 - block;
    const int spanY = box.height() - 2 - block;
    const QRect mark(box.left() + 1 + column * spanX / 2, box.top() + 1 + row * spanY / 2, block, block);
    painter.fillRect(mark, ink);
    painter.restore();
}

TFAlignEle::TFAlignEle(QWidget* parent) : ChoicePopup(parent, cellOf(taLeBo))
{
    resize(90, 3 * kRowHeight);
}

void TFAlignEle::Setup(int x, int y, TTextAlign value, int width)
{
    setGeometry(x, y, std::max(width, 3), 3 * kRowHeight);
    SetCurrentCell(cellOf(value));
}

TTextAlign TFAlignEle::CellValue(int row, int column)
{
    static constexpr int kFirstOfRow[] = {taLeTo, taLeCe, taLeBo};
    return static_cast<TTextAlign>(kFirstOfRow[row] + column);
}

QRect TFAlignEle::CellRect(int row, int column) const
{
    // Equal columns and rows; the last column and the bottom row take what is left.
    const int w = width() / 3;
    const int h = height() / 3;
    const int cellWidth = column == 2 ? width() - 2 * w : w;
    const int cellHeight = row == 2 ? height() - 2 * h : h;
    return {column * w, row * h, cellWidth, cellHeight};
}

void TFAlignEle::DrawCellGlyph(QPainter& painter, const QRect& box, int index, bool highlighted) const
{
    DrawTextAlignGlyph(painter, box, CellValue(index / 3, index % 3), highlighted);
}

int TFAlignEle::CellAfterKey(int key) const
{
    int row = CurrentCell() / 3;
    int column = CurrentCell() % 3;
    switch (key) {
    case Qt::Key_Left: column = std::max(column - 1, 0); break;
    case Qt::Key_Right: column = std::min(column + 1, 2); break;
    case Qt::Key_Up: row = std::max(row - 1, 0); break;
    case Qt::Key_Down: row = std::min(row + 1, 2); break;
    default: return -1;
    }
    return row * 3 + column;
}

} // namespace zorvel
