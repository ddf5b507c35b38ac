// The two ruler controls above and left of the label.
#pragma once

#include "zorvel_widgets_export.h"

#include <QImage>
#include <QRect>
#include <QWidget>

namespace zorvel {

class TZVDataRuler;

/// One ruler along an axis; the top and left rulers mirror each other.
class ZORVEL_WIDGETS_EXPORT TZVRuler : public QWidget
{
    Q_OBJECT

public:
    /// The direction the ruler measures.
    enum class Axis { Horizontal, Vertical };

    /// Unregisters the ruler from the shared state, which may live on.
    ~TZVRuler() override;

    /// Links the ruler to the shared state and registers its re-layout there.
    void Link(TZVDataRuler* data);
    /// True once linked to shared state; an unlinked ruler draws blank.
    bool Linked() const { return m_data != nullptr; }

    /// Surface pixel along the ruler; negative hides the mouse marker.
    void ShowMousePos(int pos);
    /// Where the mouse marker is drawn, ruler pixels; -1 when hidden.
    int MousePos() const { return m_mousePos; }
    /// Follows the scroll box, pixels; the ruler lays out again when it changes.
    void SetScrollOffset(int offset);
    /// The scroll position the ruler was last laid out for, pixels.
    int ScrollOffset() const { return m_scrollOffset; }
    /// Draws the ticks, numbers and guide marker into the buffer, then repaints.
    void Relayout();

    /// What Relayout drew, the size of the widget.
    const QImage& Buffer() const { return m_buffer; }
    /// Where the guide marker lies on the ruler, ruler pixels; empty when not shown.
    QRect GuideMarkRect() const { return m_guideMarkRect; }
    /// True while the guide marker is being dragged.
    bool GuideDragging() const { return m_guideDragging; }

protected:
    /// Used by TZVTopRuler and TZVLeftRuler; unlinked until Link.
    TZVRuler(Axis axis, QWidget* parent);

    /// Copies the buffer and draws the mouse marker over it.
    void paintEvent(QPaintEvent* event) override;
    /// Lays out again at the new size, from scroll position 0, with the mouse marker hidden.
    void resizeEvent(QResizeEvent* event) override;
    /// Dragging the guide marker (when guides may be adjusted) moves the label's guide.
    /// @{
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    /// @}

private:
    // Pixels along the ruler, and across it (tick length and the top ruler's corner).
    int along() const;
    int across() const;
    /// Where the label's edge lies on the ruler at the current scroll offset.
    int origin() const;

    Axis m_axis;
    TZVDataRuler* m_data = nullptr;
    QImage m_buffer;
    int m_mousePos = -1;
    int m_scrollOffset = 0;
    bool m_offsetKnown = false;
    QRect m_guideMarkRect;
    bool m_guideDragging = false;
};

/// The ruler above the label, measuring across; its left end is the corner above the left ruler.
class ZORVEL_WIDGETS_EXPORT TZVTopRuler : public TZVRuler
{
    Q_OBJECT

public:
    /// An unlinked horizontal ruler.
    explicit TZVTopRuler(QWidget* parent = nullptr) : TZVRuler(Axis::Horizontal, parent) {}
};

/// The ruler left of the label, measuring down.
class ZORVEL_WIDGETS_EXPORT TZVLeftRuler : public TZVRuler
{
    Q_OBJECT

public:
    /// An unlinked vertical ruler.
    explicit TZVLeftRuler(QWidget* parent = nullptr) : TZVRuler(Axis::Vertical, parent) {}
};

} // namespace zorvel
