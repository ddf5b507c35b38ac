// The borderless pop-up of raised cells, each with a glyph, that picks one value over an inspector cell.
#pragma once

#include "zorvel_widgets_export.h"

#include <QDialog>

class QPainter;

namespace zorvel {

/// Base of the small value pickers the inspector opens in place: a row or grid of raised cells,
/// one highlighted. A click on a cell, or Enter or Space, chooses and accepts; arrow keys move the
/// highlight as the subclass says. Cells are numbered from 0 in reading order.
class ZORVEL_WIDGETS_EXPORT ChoicePopup : public QDialog
{
    Q_OBJECT

public:
    /// Side in pixels of the square glyph drawn at the centre of each cell.
    static constexpr int kGlyphSize = 12;

    Q_DISABLE_COPY_MOVE(ChoicePopup)

protected:
    /// A popup window with `current` highlighted until Setup or a key says otherwise.
    ChoicePopup(QWidget* parent, int current);

    /// The highlighted cell: the preset one, the one reached by keys, or the one chosen.
    int CurrentCell() const { return m_current; }
    /// Highlights `index` and repaints.
    void SetCurrentCell(int index);

    /// How many cells the pop-up has.
    virtual int CellCount() const = 0;
    /// Where cell `index` lies in the pop-up.
    virtual QRect CellRectAt(int index) const = 0;
    /// Draws the mark of cell `index` into `box`, in the selection colours when `highlighted`.
    virtual void DrawCellGlyph(QPainter& painter, const QRect& box, int index, bool highlighted) const = 0;
    /// The cell the arrow `key` leads to from the current one, or -1 when the key is no move.
    virtual int CellAfterKey(int key) const = 0;

    /// Draws every cell raised with its glyph, the current one highlighted.
    void paintEvent(QPaintEvent* event) override;
    /// A left click on a cell chooses it and accepts the pop-up.
    void mousePressEvent(QMouseEvent* event) override;
    /// Enter or Space accepts the current cell; arrows move it as CellAfterKey says.
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_current = 0;
};

} // namespace zorvel
