// The borderless pop-up with four buttons that picks the justification of a paragraph.
#pragma once

#include "foundation/ZVTypes.h"

#include <QDialog>

class QPainter;

namespace zorvel {

// The mark of `value`: four text lines set left, right, centred or justified. `highlighted`
// draws it in the selection colours. Fits boxes of 12 x 12 and 13 x 13 pixels.
void DrawTextFormatGlyph(QPainter& painter, const QRect& box, TTextFormat value, bool highlighted);

class TFJustText : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kButtonCount = 4;
    static constexpr int kGlyphSize = 12;

    explicit TFJustText(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFJustText)

    // Places the pop-up at the screen point (x, y), `height` high and `width` wide, with the
    // button of `value` highlighted.
    void Setup(int x, int y, TTextFormat value, int height, int width);
    // The chosen value, or the preset one until a button is clicked.
    TTextFormat Value() const { return m_value; }

    // Button `index`, left to right: the first three a quarter of the width, the last the rest.
    // Its value is the index (tfLeft, tfRight, tfCenter, tfJustify).
    QRect ButtonRect(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void choose(TTextFormat value);

    TTextFormat m_value = tfLeft;
};

} // namespace zorvel
