// The sheet preview of the label properties dialog: the labels on their paper, scaled, with the
// start position of the print run picked by a click.
#pragma once

#include "zorvel_widgets_export.h"

#include <QImage>
#include <QSize>
#include <QWidget>

#include <cstdint>
#include <functional>

class QPainter;

namespace zorvel {

class TZVCustomLab;

/// The widget is sized to the sheet's shape within kMaxWidth x kMaxHeight pixels and draws
/// from a bitmap it renders on Repaint.
class ZORVEL_WIDGETS_EXPORT SheetPreview : public QWidget
{
    Q_OBJECT

public:
    /// Narrow papers get the full height, the others the full width.
    static constexpr int kMaxHeight = 276;
    /// The width of papers that are not narrow, pixels.
    static constexpr int kMaxWidth = 192;
    /// Width over height below which a paper counts as narrow.
    static constexpr double kTallAspect = 0.7;
    /// Fill of the labels that lie (partly) off the paper, a platform colour (light red).
    static constexpr std::uint32_t kOffPaperColor = 0x6B6BFF;

    /// A white sheet of the largest size, without a label.
    explicit SheetPreview(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(SheetPreview)

    /// Paper sizes in any one unit; `landscape` turns the sheet.
    static QSize PreviewSize(double paperWidth, double paperHeight, bool landscape);

    /// The label whose sheet is shown (not owned; null for none), then UpdateSize.
    void SetLabel(TZVCustomLab* label);
    /// Follows the paper and orientation of the label, then repaints.
    void UpdateSize();
    /// Paints the sheet into the bitmap and shows it.
    void Repaint();
    /// The sheet as last rendered, the size of the widget.
    const QImage& Bitmap() const { return m_bitmap; }

    /// The label under `pos` becomes the first of the print run; false when nothing changed
    /// because the label has no size.
    bool ClickAt(QPoint pos);

    /// After a click moved the start position.
    std::function<void()> OnStartChanged;
    /// After every Repaint, so that what depends on the sheet follows it.
    std::function<void()> OnRepainted;

    /// The size of the bitmap.
    /// @{
    QSize sizeHint() const override { return m_bitmap.size(); }
    QSize minimumSizeHint() const override { return m_bitmap.size(); }
    /// @}

protected:
    /// Copies the bitmap.
    void paintEvent(QPaintEvent* event) override;
    /// A left click goes to ClickAt.
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool landscape() const;
    // Page width and height as the sheet lies, model units.
    double pageWidth() const;
    double pageHeight() const;
    int mapX(double model) const;
    int mapY(double model) const;
    QRect labelBox(int row, int col) const;
    void drawLabel(QPainter& painter, const QRect& box) const;
    void render();

    TZVCustomLab* m_label = nullptr;
    QImage m_bitmap;
};

} // namespace zorvel
