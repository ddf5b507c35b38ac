// The borderless 3 x 3 pop-up that picks a text alignment over an inspector cell.
#pragma once

#include "controls/ZVChoicePopup.h"
#include "foundation/ZVTypes.h"
#include "zorvel_widgets_export.h"

namespace zorvel {

/// Draws the mark of `value`: a frame with a block at the anchor the alignment names.
/// `highlighted` draws it in the selection colours. Fits boxes of 12 x 12 and 13 x 13 pixels.
void DrawTextAlignGlyph(QPainter& painter, const QRect& box, TTextAlign value, bool highlighted);

/// Picks one of the nine text alignments from a 3 x 3 grid laid out as the anchors they name.
class ZORVEL_WIDGETS_EXPORT TFAlignEle : public ChoicePopup
{
    Q_OBJECT

public:
    /// Height in pixels of one row of cells.
    static constexpr int kRowHeight = 20;

    /// A hidden pop-up with taLeBo highlighted.
    explicit TFAlignEle(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFAlignEle)

    /// Places the pop-up at the screen point (x, y), `width` wide, with `value` highlighted.
    void Setup(int x, int y, TTextAlign value, int width);
    /// The chosen value, or the preset one until a cell is clicked.
    TTextAlign Value() const { return CellValue(CurrentCell() / 3, CurrentCell() % 3); }

    /// The cell of `row` (0 top .. 2 bottom) and `column` (0 left .. 2 right).
    QRect CellRect(int row, int column) const;
    /// The alignment the cell of `row` and `column` stands for.
    static TTextAlign CellValue(int row, int column);

protected:
    int CellCount() const override { return 9; }
    QRect CellRectAt(int index) const override { return CellRect(index / 3, index % 3); }
    void DrawCellGlyph(QPainter& painter, const QRect& box, int index, bool highlighted) const override;
    int CellAfterKey(int key) const override;
};

} // namespace zorvel
