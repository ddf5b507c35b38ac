// The up-down button: painting, pressing and repeating.
#include "controls/ZVUpDown.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace zorvel {

namespace {
constexpr int MaxUpDownWidth = 15;
constexpr int RepeatDelayMs = 400;
constexpr int RepeatIntervalMs = 80;
} // namespace

TZvUpDown::TZvUpDown(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    setFixedWidth(FixedWidth());
    m_repeat.setSingleShot(true);
    connect(&m_repeat, &QTimer::timeout, this, [this] {
        if (m_pressed == Half::None)
            return;
        m_repeat.start(RepeatIntervalMs);
        step();
    });
}

int TZvUpDown::FixedWidth() const
{
    return std::min(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this), MaxUpDownWidth);
}

QSize TZvUpDown::sizeHint() const
{
    return {FixedWidth(), 20};
}

void TZvUpDown::ThumbPosition(int position)
{
    if (m_handling || position == 0)
        return;
    m_handling = true;
    m_position = std::clamp(position, MinPosition, MaxPosition);
    const TUDBtnType button = position > 0 ? btUp : btDown;
    // A click may close the window that owns this control.
    QPointer<TZvUpDown> self(this);
    fire(OnClick, this, button);
    if (self)
        emit Clicked(button);
    if (!self)
        return;
    m_position = 0;
    m_handling = false;
}

TZvUpDown::Half TZvUpDown::halfAt(const QPoint& pos) const
{
    if (halfRect(Half::Up).contains(pos))
        return Half::Up;
    if (halfRect(Half::Down).contains(pos))
        return Half::Down;
    return Half::None;
}

QRect TZvUpDown::halfRect(Half half) const
{
    const int middle = height() / 2;
    if (half == Half::Up)
        return {0, 0, width(), middle};
    return {0, middle, width(), height() - middle};
}

void TZvUpDown::step()
{
    ThumbPosition(m_pressed == Half::Up ? 1 : -1);
}

void TZvUpDown::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (const Half half : {Half::Up, Half::Down}) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = halfRect(half);
        option.state |= m_pressed == half ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, this);
        option.rect = option.rect.adjusted(2, 1, -2, -1);
        style()->drawPrimitive(half == Half::Up ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                               &option, &painter, this);
    }
}

void TZvUpDown::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    m_pressed = halfAt(event->position().toPoint());
    if (m_pressed == Half::None)
        return;
    update();
    m_repeat.start(RepeatDelayMs);
    step();
}

void TZvUpDown::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = Half::None;
    m_repeat.stop();
    update();
}

void TZvUpDown::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::StyleChange)
        setFixedWidth(FixedWidth());
}

} // namespace zorvel
