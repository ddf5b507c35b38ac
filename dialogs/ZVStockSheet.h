// The drawing of a stock's sheet: its labels on the paper, to scale, with the lettered measures.
#pragma once

#include "printsupport/ZVStock.h"
#include "zorvel_widgets_export.h"

#include <QList>
#include <QRectF>
#include <QWidget>

#include <optional>
#include <utility>

namespace zorvel {

/// Draws a stock's sheet scaled to the widget. Lettered, it also marks the measures the
/// catalogue dialog edits (A paper width, B paper height, C label width, D label height, E and F
/// the gaps, G and H the margins, I rows, J columns) and reports a click on a letter.
class ZORVEL_WIDGETS_EXPORT TZVStockSheet : public QWidget
{
    Q_OBJECT

public:
    /// A blank sheet.
    explicit TZVStockSheet(QWidget* parent = nullptr);

    /// The stock to draw; none draws a blank sheet.
    void SetStock(std::optional<TZVStock> stock);
    /// Whether the measures are marked with their letters.
    void SetLettered(bool lettered);
    /// Where `letter` was last drawn; empty when it was not.
    QRectF LetterBox(QChar letter) const;
    /// 230 x 270 pixels.
    QSize sizeHint() const override;

signals:
    /// A letter was clicked.
    void LetterClicked(QChar letter);

protected:
    /// Draws the paper, the labels and, when lettered, the measures.
    void paintEvent(QPaintEvent* event) override;
    /// Finds the letter under the pointer.
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::optional<TZVStock> m_stock;
    bool m_lettered = false;
    /// Where each letter was last drawn.
    QList<std::pair<QChar, QRectF>> m_letters;
};

} // namespace zorvel
