// The two ruler controls above and left of the label.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

namespace zorvel {

class TZVDataRuler;

// One ruler along an axis; the top and left rulers mirror each other.
class TZVRuler : public QWidget
{
    Q_OBJECT

public:
    enum class Axis { Horizontal, Vertical };

    ~TZVRuler() override;

    // Links the ruler to the shared state and registers its re-layout there.
    void Link(TZVDataRuler* data);
    bool Linked() const { return m_data != nullptr; }

    // Surface pixel along the ruler; negative hides the mouse marker.
    void ShowMousePos(int pos);
    int MousePos() const { return m_mousePos; }
    void SetScrollOffset(int offset);
    int ScrollOffset() const { return m_scrollOffset; }
    // Draws the ticks, numbers and guide marker into the buffer, then repaints.
    void Relayout();

    const QImage& Buffer() const { return m_buffer; }
    QRect GuideMarkRect() const { return m_guideMarkRect; }
    bool GuideDragging() const { return m_guideDragging; }

protected:
    TZVRuler(Axis axis, QWidget* parent);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Pixels along the ruler, and across it (tick length and the top ruler's corner).
    int along() const;
    int across() const;
    // Where the label's edge lies on the ruler at the current scroll offset.
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

class TZVTopRuler : public TZVRuler
{
    Q_OBJECT

public:
    explicit TZVTopRuler(QWidget* parent = nullptr) : TZVRuler(Axis::Horizontal, parent) {}
};

class TZVLeftRuler : public TZVRuler
{
    Q_OBJECT

public:
    explicit TZVLeftRuler(QWidget* parent = nullptr) : TZVRuler(Axis::Vertical, parent) {}
};

} // namespace zorvel
