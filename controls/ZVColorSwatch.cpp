// The colour swatch and the application-wide colour picker.
#include "controls/ZVColorSwatch.h"

#include "foundation/ZVCanvas.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <utility>

namespace zorvel {

namespace {

ColorPicker& installedPicker()
{
    static ColorPicker picker;
    return picker;
}

std::optional<TZVColor> askColorDialog(TZVColor current, QWidget* parent)
{
    const QColor color = QColorDialog::getColor(toQColor(current), parent);
    if (!color.isValid()) return std::nullopt;
    return fromQColor(color);
}

} // namespace

std::optional<TZVColor> PickColor(TZVColor current, QWidget* parent)
{
    const ColorPicker& picker = installedPicker();
    return picker ? picker(current, parent) : askColorDialog(current, parent);
}

ColorPicker SetColorPicker(ColorPicker picker)
{
    return std::exchange(installedPicker(), std::move(picker));
}

ColorSwatch::ColorSwatch(QWidget* parent) : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    // Reached by Tab; a click leaves the focus where it was, as the picker opens at once.
    setFocusPolicy(Qt::TabFocus);
    setMinimumSize(sizeHint());
    connect(this, &QAbstractButton::clicked, this, &ColorSwatch::pick);
}

void ColorSwatch::SetColor(TZVColor color)
{
    if (color == m_color) return;
    m_color = color;
    update();
}

void ColorSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(m_color));
    painter.setPen(Qt::gray);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColorSwatch::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return QAbstractButton::mousePressEvent(event);
    event->accept();
    pick();
}

void ColorSwatch::pick()
{
    // The owner may close its window while the picker is open.
    QPointer<ColorSwatch> self(this);
    const std::optional<TZVColor> chosen = PickColor(m_color, window());
    if (!self || !chosen) return;
    SetColor(*chosen);
    emit ColorPicked(*chosen);
}

} // namespace zorvel
