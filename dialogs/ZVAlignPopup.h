// The borderless 3 x 3 pop-up that picks a text alignment over an inspector cell.
#pragma once

#include "foundation/ZVTypes.h"

#include <QDialog>

class QPainter;

namespace zorvel {

// The mark of `value`: a frame with a block at the anchor the alignment names. `highlighted`
// draws it in the selection colours. Fits boxes of 12 x 12 and 13 x 13 pixels.
void DrawTextAlignGlyph(QPainter& painter, const QRect& box, TTextAlign value, bool highlighted);

class TFAlignEle : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kRowHeight = 20;
    static constexpr int kGlyphSize = 12;

    explicit TFAlignEle(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFAlignEle)

    // Places the pop-up at the screen point (x, y), `width` wide, with `value` highlighted.
    void Setup(int x, int y, TTextAlign value, int width);
    // The chosen value, or the preset one until a cell is clicked.
    TTextAlign Value() const { return m_value; }

    // The cell of `row` (0 top .. 2 bottom) and `column` (0 left .. 2 right), and its value.
    QRect CellRect(int row, int column) const;
    static TTextAlign CellValue(int row, int column);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Row and column of the cell under `pos`, or {-1, -1}.
    std::pair<int, int> cellAt(const QPoint& pos) const;
    void choose(TTextAlign value);

    TTextAlign m_value = taLeBo;
};

} // namespace zorvel
