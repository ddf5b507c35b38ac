// The up-down button of the spin box, which reports single steps.
#pragma once

#include "foundation/ZVTypes.h"
#include "zorvel_widgets_export.h"

#include <QTimer>
#include <QWidget>

#include <functional>

namespace zorvel {

/// The up-down button of the spin box: every press reports one step and the position
/// springs back to 0, so the control never sits at a limit.
class ZORVEL_WIDGETS_EXPORT TZvUpDown : public QWidget
{
    Q_OBJECT

public:
    /// The half of the control that was pressed.
    enum TUDBtnType { btUp, btDown };
    Q_ENUM(TUDBtnType)

    /// Click handler: the sender is the control, `Button` the half that was pressed.
    using TZVUDClickEvent = std::function<void(QObject* Sender, TUDBtnType Button)>;

    /// Limits of Position while a step is reported.
    /// @{
    static constexpr int MinPosition = -1;
    static constexpr int MaxPosition = 1;
    /// @}

    /// A control that never takes the focus; a half held down repeats its step after 400 ms,
    /// then every 80 ms.
    explicit TZvUpDown(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TZvUpDown)

    /// The last step reported; 0 between steps.
    int Position() const { return m_position; }
    /// Width of the control: the style's scroll-bar width, at most 15 pixels.
    int FixedWidth() const;
    /// A position notification: +1 reports an up step, -1 a down step.
    void ThumbPosition(int position);

    /// FixedWidth wide, 20 pixels high.
    QSize sizeHint() const override;

    /// A step was pressed; fires before Clicked. The handler may delete the control.
    TZVUDClickEvent OnClick;

signals:
    /// A step was pressed, after OnClick (unless that deleted the control).
    void Clicked(zorvel::TZvUpDown::TUDBtnType button);

protected:
    /// Draws the two halves as style buttons with arrows; the pressed one sunken.
    void paintEvent(QPaintEvent* event) override;
    /// A left press on a half reports a step and starts the repeat.
    void mousePressEvent(QMouseEvent* event) override;
    /// Stops the repeat.
    void mouseReleaseEvent(QMouseEvent* event) override;
    /// Follows the style's scroll-bar width when the style changes.
    void changeEvent(QEvent* event) override;

private:
    enum class Half { None, Up, Down };

    Half halfAt(const QPoint& pos) const;
    QRect halfRect(Half half) const;
    void step();

    int m_position = 0;
    bool m_handling = false;
    Half m_pressed = Half::None;
    QTimer m_repeat;
};

} // namespace zorvel
