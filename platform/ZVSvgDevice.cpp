// The SVG paint device behind PaintSvg: fills and strokes as paths, texts as text, images embedded.
#include "platform/ZVSvgDevice.h"

#include <QBuffer>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>
#include <QTransform>

#include <climits>
#include <cmath>

namespace zorvel {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerInch = 72;

// No exponent, at most three decimals, no trailing zeros: short and exact for whole device units.
QString number(double value)
{
    QString text = QString::number(value, 'f', 3);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString opacity(const char* attribute, const QColor& color)
{
    if (color.alpha() == 255) return {};
    return QStringLiteral(" %1=\"%2\"").arg(QLatin1String(attribute), number(color.alphaF()));
}

QString transformAttribute(const QTransform& t)
{
    if (t.isIdentity()) return {};
    return QStringLiteral(" transform=\"matrix(%1 %2 %3 %4 %5 %6)\"")
        .arg(number(t.m11()), number(t.m12()), number(t.m21()), number(t.m22()), number(t.dx()), number(t.dy()));
}

QString pathData(const QPainterPath& path)
{
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.type == QPainterPath::MoveToElement)
            d += QLatin1Char('M');
        else if (e.type == QPainterPath::LineToElement)
            d += QLatin1Char('L');
        else if (e.type == QPainterPath::CurveToElement)
            d += QLatin1Char('C');
        else
            d += QLatin1Char(' ');
        d += number(e.x) + QLatin1Char(' ') + number(e.y);
    }
    return d;
}

QString strokeAttributes(const QPen& pen, double scale)
{
    // A cosmetic pen keeps its width in device units whatever the painter's scale.
    const double width = pen.isCosmetic() ? std::max(1.0, pen.widthF()) : pen.widthF() * scale;
    QString a = QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\"").arg(pen.color().name(), number(width));
    a += opacity("stroke-opacity", pen.color());
    a += pen.capStyle() == Qt::FlatCap    ? QStringLiteral(" stroke-linecap=\"butt\"")
         : pen.capStyle() == Qt::RoundCap ? QStringLiteral(" stroke-linecap=\"round\"")
                                          : QStringLiteral(" stroke-linecap=\"square\"");
    a += pen.joinStyle() == Qt::RoundJoin   ? QStringLiteral(" stroke-linejoin=\"round\"")
         : pen.joinStyle() == Qt::BevelJoin ? QStringLiteral(" stroke-linejoin=\"bevel\"")
                                            : QStringLiteral(" stroke-linejoin=\"miter\"");
    if (pen.style() != Qt::SolidLine) {
        QStringList dashes;
        for (const qreal dash : pen.dashPattern())
            dashes << number(dash * width);
        a += QStringLiteral(" stroke-dasharray=\"%1\"").arg(dashes.join(QLatin1Char(' ')));
    }
    return a;
}

// Geometry is written in device units, mapped through the painter's transform; texts and images
// keep theirs as an attribute.
class TSvgEngine final : public QPaintEngine
{
public:
    explicit TSvgEngine(double dpi)
        : QPaintEngine(AllFeatures & ~(PatternBrush | LinearGradientFill | RadialGradientFill | ConicalGradientFill |
                                       PerspectiveTransform | PorterDuff | BlendModes | RasterOpModes)),
          m_dpi(dpi)
    {
    }

    const QString& Body() const { return m_body; }

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState&) override {}

    void drawRects(const QRectF* rects, int count) override
    {
        const QTransform& t = state->transform();
        QString d;
        if (t.type() > QTransform::TxScale) {
            QPainterPath path;
            path.setFillRule(Qt::WindingFill);
            for (int i = 0; i < count; ++i)
                path.addRect(rects[i]);
            drawPath(path);
            return;
        }
        // Clockwise boxes under the default non-zero rule: overlapping boxes stay filled.
        for (int i = 0; i < count; ++i) {
            const QRectF r = t.mapRect(rects[i]).normalized();
            d += QStringLiteral("M%1 %2h%3v%4h-%3z")
                     .arg(number(r.x()), number(r.y()), number(r.width()), number(r.height()));
        }
        writeShape(d, true, false);
    }

    void drawRects(const QRect* rects, int count) override
    {
        QList<QRectF> boxes;
        boxes.reserve(count);
        for (int i = 0; i < count; ++i)
            boxes.append(QRectF(rects[i]));
        drawRects(boxes.constData(), count);
    }

    void drawPath(const QPainterPath& path) override
    {
        writeShape(pathData(state->transform().map(path)), true, path.fillRule() == Qt::OddEvenFill);
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        if (count < 2) return;
        QPainterPath path(points[0]);
        for (int i = 1; i < count; ++i)
            path.lineTo(points[i]);
        if (mode != PolylineMode) path.closeSubpath();
        const QString d = pathData(state->transform().map(path));
        writeShape(d, mode != PolylineMode, mode == OddEvenMode);
    }

    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        const QColor color = state->pen().color();
        if (item.text().isEmpty()) {
            // Glyph runs, as the canvas draws its text, come without their characters: the glyphs'
            // outlines then, grouped under the text's colour.
            m_body += QStringLiteral("<g fill=\"%1\"%2>\n").arg(color.name(), opacity("fill-opacity", color));
            m_inGlyphs = true;
            QPaintEngine::drawTextItem(p, item);
            m_inGlyphs = false;
            m_body += QStringLiteral("</g>\n");
            return;
        }
        const QFont font = item.font();
        const double size = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * m_dpi / kPointsPerInch;
        m_body += QStringLiteral("<text x=\"%1\" y=\"%2\" font-family=\"%3\" font-size=\"%4\" fill=\"%5\"")
                      .arg(number(p.x()), number(p.y()), font.family().toHtmlEscaped(), number(size), color.name());
        m_body += opacity("fill-opacity", color);
        if (font.bold()) m_body += QStringLiteral(" font-weight=\"bold\"");
        if (font.italic()) m_body += QStringLiteral(" font-style=\"italic\"");
        if (font.letterSpacingType() == QFont::AbsoluteSpacing && font.letterSpacing() != 0)
            m_body += QStringLiteral(" letter-spacing=\"%1\"").arg(number(font.letterSpacing()));
        m_body += transformAttribute(state->transform());
        m_body += QStringLiteral(" xml:space=\"preserve\">%1</text>\n").arg(item.text().toHtmlEscaped());
    }

    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags) override
    {
        const QImage part = sr == QRectF(image.rect()) ? image : image.copy(sr.toAlignedRect());
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        part.save(&png, "PNG");
        m_body += QStringLiteral("<image x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" preserveAspectRatio=\"none\"")
                      .arg(number(r.x()), number(r.y()), number(r.width()), number(r.height()));
        m_body += transformAttribute(state->transform());
        m_body += QStringLiteral(" xlink:href=\"data:image/png;base64,%1\"/>\n")
                      .arg(QLatin1String(png.data().toBase64()));
    }

    void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF& sr) override
    {
        drawImage(r, pixmap.toImage(), sr, Qt::AutoColor);
    }

private:
    // The fill first and the geometry right after it, so that one colour's shape reads as one line.
    void writeShape(const QString& d, bool filled, bool evenOdd)
    {
        const QBrush& brush = state->brush();
        const QPen& pen = state->pen();
        const bool fill = filled && brush.style() != Qt::NoBrush;
        const bool stroke = pen.style() != Qt::NoPen;
        if (d.isEmpty() || (!fill && !stroke)) return;
        if (m_inGlyphs) {
            m_body += QStringLiteral("<path d=\"%1\"/>\n").arg(d);
            return;
        }
        m_body += QStringLiteral("<path fill=\"%1\" d=\"%2\"").arg(fill ? brush.color().name() : QStringLiteral("none"), d);
        if (fill) m_body += opacity("fill-opacity", brush.color());
        if (fill && evenOdd) m_body += QStringLiteral(" fill-rule=\"evenodd\"");
        if (stroke) m_body += strokeAttributes(pen, std::sqrt(std::abs(state->transform().determinant())));
        m_body += QStringLiteral("/>\n");
    }

    double m_dpi;
    QString m_body;
    bool m_inGlyphs = false;
};

class TSvgDevice final : public QPaintDevice
{
public:
    TSvgDevice(QSize units, double dpi) : m_units(units), m_dpi(dpi), m_engine(dpi) {}

    QPaintEngine* paintEngine() const override { return &m_engine; }

    QByteArray Document(const QString& title) const
    {
        const auto mm = [this](int units) { return number(units * kMmPerInch / m_dpi); };
        QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                     "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                     "xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\" "
                                     "width=\"%1mm\" height=\"%2mm\" viewBox=\"0 0 %3 %4\">\n")
                          .arg(mm(m_units.width()), mm(m_units.height()))
                          .arg(m_units.width())
                          .arg(m_units.height());
        if (!title.isEmpty()) svg += QStringLiteral("<title>%1</title>\n").arg(title.toHtmlEscaped());
        return (svg + m_engine.Body() + QStringLiteral("</svg>\n")).toUtf8();
    }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return m_units.width();
        case PdmHeight: return m_units.height();
        case PdmWidthMM: return qRound(m_units.width() * kMmPerInch / m_dpi);
        case PdmHeightMM: return qRound(m_units.height() * kMmPerInch / m_dpi);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return qRound(m_dpi);
        case PdmDepth: return 32;
        case PdmNumColors: return INT_MAX;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return qRound(devicePixelRatioFScale());
        default: return QPaintDevice::metric(metric);
        }
    }

private:
    QSize m_units;
    double m_dpi;
    mutable TSvgEngine m_engine;
};

} // namespace

QByteArray PaintSvg(QSize units, double dpi, const std::function<void(QPainter&)>& paint, const QString& title)
{
    TSvgDevice device(units, dpi);
    {
        QPainter painter(&device);
        paint(painter);
    }
    return device.Document(title);
}

} // namespace zorvel
