// The 3 x 3 text-alignment pop-up and the alignment mark it shares with the inspector.
#include "dialogs/ZVAlignPopup.h"

#include <QKeyEvent>
#include <QMouseEvent>
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

TFAlignEle::TFAlignEle(QWidget* parent)
    : QDialog(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setFocusPolicy(Qt::StrongFocus);
    resize(90, 3 * kRowHeight);
}

void TFAlignEle::Setup(int x, int y, TTextAlign value, int width)
{
    m_value = value;
    setGeometry(x, y, std::max(width, 3), 3 * kRowHeight);
    update();
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

std::pair<int, int> TFAlignEle::cellAt(const QPoint& pos) const
{
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            if (CellRect(row, column).contains(pos)) return {row, column};
    return {-1, -1};
}

void TFAlignEle::choose(TTextAlign value)
{
    m_value = value;
    accept();
}

void TFAlignEle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRect cell = CellRect(row, column);
            painter.setPen(palette().color(QPalette::Light));
            painter.drawLine(cell.topLeft(), cell.topRight());
            painter.drawLine(cell.topLeft(), cell.bottomLeft());
            painter.setPen(palette().color(QPalette::Dark));
            painter.drawLine(cell.bottomLeft(), cell.bottomRight());
            painter.drawLine(cell.topRight(), cell.bottomRight());
            QRect glyph(0, 0, kGlyphSize, kGlyphSize);
            glyph.moveCenter(cell.center());
            const TTextAlign value = CellValue(row, column);
            DrawTextAlignGlyph(painter, glyph, value, value == m_value);
        }
    }
}

void TFAlignEle::mousePressEvent(QMouseEvent* event)
{
    const auto [row, column] = cellAt(event->position().toPoint());
    if (row < 0 || event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    choose(CellValue(row, column));
}

void TFAlignEle::keyPressEvent(QKeyEvent* event)
{
    auto [row, column] = anchorOf(m_value);
    switch (event->key()) {
    case Qt::Key_Left: column = std::max(column - 1, 0); break;
    case Qt::Key_Right: column = std::min(column + 1, 2); break;
    case Qt::Key_Up: row = std::max(row - 1, 0); break;
    case Qt::Key_Down: row = std::min(row + 1, 2); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        choose(m_value);
        return;
    default:
        QDialog::keyPressEvent(event);
        return;
    }
    m_value = CellValue(row, column);
    update();
}

} // namespace zorvel
