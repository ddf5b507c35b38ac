// Paints labels and elements into images or a recording canvas at a chosen resolution, for tests.
#pragma once

#include "foundation/ZVCanvas.h"
#include "foundation/ZVRecordingCanvas.h"
#include "foundation/ZVUtils.h"
#include "platform/ZVQtCanvas.h"
#include "tests/support/TestApplication.h"

#include <QImage>
#include <QString>

#include <memory>
#include <ostream>
#include <string_view>
#include <vector>

namespace zorvel::test {

// The rectangles of a recorded FillRects call.
inline std::vector<TRect> rectsOf(const TZVCanvasCall& call)
{
    std::vector<TRect> rects;
    for (std::size_t i = 0; i + 3 < call.Args.size(); i += 4)
        rects.push_back({call.Args[i], call.Args[i + 1], call.Args[i + 2], call.Args[i + 3]});
    return rects;
}

// The recorded calls of one operation, in order.
inline std::vector<const TZVCanvasCall*> callsOf(const TZVRecordingCanvas& canvas, std::string_view op)
{
    std::vector<const TZVCanvasCall*> found;
    for (const TZVCanvasCall& call : canvas.Calls())
        if (call.Op == op) found.push_back(&call);
    return found;
}

// One recorded ExtTextOut: the text and where it was drawn.
struct DrawnText
{
    QString text;
    TPoint at;
    friend bool operator==(const DrawnText&, const DrawnText&) = default;
};

inline void PrintTo(const DrawnText& t, std::ostream* os)
{
    *os << "\"" << t.text.toStdString() << "\" at (" << t.at.X << ", " << t.at.Y << ")";
}

// The texts drawn, in order.
inline std::vector<DrawnText> textsOf(const TZVRecordingCanvas& canvas)
{
    std::vector<DrawnText> texts;
    for (const TZVCanvasCall* call : callsOf(canvas, "ExtTextOut"))
        texts.push_back({call->Text, {call->Args.at(0), call->Args.at(1)}});
    return texts;
}

// Sets the mapping the label draws with: logical units are model units (1/100 mm).
inline void mapModelUnits(TZVCanvas& canvas, int dpi)
{
    canvas.SetMapMode(mmAnisotropic);
    canvas.SetWindowExtEx(kModelPerInch, kModelPerInch);
    canvas.SetViewportExtEx(dpi, dpi);
}

// A white image covering widthModel x heightModel model units at `dpi`, with a canvas mapped in
// model units. Call finish() (or let it go) before reading pixels.
class ModelImage
{
public:
    ModelImage(int widthModel, int heightModel, int dpi = 254)
        : m_image(PixelsOf(widthModel, dpi), PixelsOf(heightModel, dpi), QImage::Format_RGB32), m_dpi(dpi)
    {
        ensureGuiApplication();
        m_image.fill(Qt::white);
        m_image.setDotsPerMeterX(qRound(dpi / 0.0254));
        m_image.setDotsPerMeterY(qRound(dpi / 0.0254));
        m_canvas = std::make_unique<TZVQtCanvas>(&m_image);
        mapModelUnits(*m_canvas, dpi);
    }

    TZVCanvas& canvas() { return *m_canvas; }
    // Ends painting; the image is complete afterwards.
    const QImage& finish()
    {
        m_canvas.reset();
        return m_image;
    }
    // Pixel at model coordinates (after finish()).
    QRgb pixelAtModel(int x, int y) const
    {
        return m_image.pixel(x * m_dpi / kModelPerInch, y * m_dpi / kModelPerInch);
    }

    static int PixelsOf(int model, int dpi) { return (model * dpi + kModelPerInch - 1) / kModelPerInch; }

private:
    QImage m_image;
    int m_dpi;
    std::unique_ptr<TZVQtCanvas> m_canvas;
};

// A recording canvas mapped in model units; with `measureWithQt` its text metrics come from a real
// Qt canvas (on an image), otherwise from the recorder's fixed metrics.
class RecordingModelCanvas
{
public:
    explicit RecordingModelCanvas(bool measureWithQt = false, int dpi = 254)
    {
        if (measureWithQt) {
            m_image = std::make_unique<ModelImage>(21000, 29700, dpi);
            m_canvas = std::make_unique<TZVRecordingCanvas>(&m_image->canvas());
        } else {
            TZVDeviceCaps caps;
            caps.DpiX = caps.DpiY = dpi;
            m_canvas = std::make_unique<TZVRecordingCanvas>(nullptr, caps);
        }
        mapModelUnits(*m_canvas, dpi);
        m_canvas->Clear();
    }

    TZVRecordingCanvas& canvas() { return *m_canvas; }

private:
    std::unique_ptr<ModelImage> m_image;
    std::unique_ptr<TZVRecordingCanvas> m_canvas;
};

} // namespace zorvel::test
