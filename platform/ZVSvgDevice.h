// SVG documents of whatever a QPainter paints, such as the Qt canvas.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>

class QPainter;

namespace zorvel {

/// Paints with `paint` on a drawing of `units` device units at `dpi`, and returns it as an SVG
/// document sized in millimetres whose user units are the device units. Fills of rectangles in
/// one call become one path, so a symbol's modules stay one vector shape; texts stay text. A
/// `title` names the document.
QByteArray PaintSvg(QSize units, double dpi, const std::function<void(QPainter&)>& paint,
                    const QString& title = {});

} // namespace zorvel
