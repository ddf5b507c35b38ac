// The borderless pop-up with four buttons that picks the justification of a paragraph.
#pragma once

#include "controls/ZVChoicePopup.h"
#include "foundation/ZVTypes.h"
#include "zorvel_widgets_export.h"

namespace zorvel {

/// Draws the mark of `value`: four text lines set left, right, centred or justified.
/// `highlighted` draws it in the selection colours. Fits boxes of 12 x 12 and 13 x 13 pixels.
void DrawTextFormatGlyph(QPainter& painter, const QRect& box, TTextFormat value, bool highlighted);

/// Picks a paragraph justification from four buttons in a row.
class ZORVEL_WIDGETS_EXPORT TFJustText : public ChoicePopup
{
    Q_OBJECT

public:
    /// The buttons: tfLeft, tfRight, tfCenter and tfJustify, left to right.
    static constexpr int kButtonCount = 4;

    /// A hidden pop-up with tfLeft highlighted.
    explicit TFJustText(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFJustText)

    /// Places the pop-up at the screen point (x, y), `height` high and `width` wide, with the
    /// button of `value` highlighted.
    void Setup(int x, int y, TTextFormat value, int height, int width);
    /// The chosen value, or the preset one until a button is clicked.
    TTextFormat Value() const { return static_cast<TTextFormat>(CurrentCell()); }

    /// Button `index`, left to right: the first three a quarter of the width, the last the rest.
    /// Its value is the index (tfLeft, tfRight, tfCenter, tfJustify).
    QRect ButtonRect(int index) const;

protected:
    int CellCount() const override { return kButtonCount; }
    QRect CellRectAt(int index) const override { return ButtonRect(index); }
    void DrawCellGlyph(QPainter& painter, const QRect& box, int index, bool highlighted) const override;
    int CellAfterKey(int key) const override;
};

} // namespace zorvel
