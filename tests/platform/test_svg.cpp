// SVG drawings through the Qt canvas: whatever the canvas paints reaches the document.
#include "tests/support/TestApplication.h"
#include "platform/ZVQtCanvas.h"
#include "platform/ZVSvgDevice.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace zorvel {
namespace {

TEST(SvgThroughCanvas, KeepsEveryOperationAndOnePathPerFill)
{
    test::ensureGuiApplication();
    // Hundredths of a millimetre, as the command line paints a symbol.
    const QByteArray svg = PaintSvg({1000, 500}, 2540, [](QPainter& painter) {
        TZVQtCanvas canvas(&painter, TZVQtCanvas::CapsOf(*painter.device()));
        canvas.SelectBrush(TZVBrush{0, bsSolid});
        const std::vector<TRect> bars{{10, 20, 40, 220}, {60, 20, 70, 220}};
        canvas.FillRects(bars);
        // Operations a reader of the call log would have had to know by name.
        canvas.SelectPen(TZVPen{255, 10, psSolid});
        canvas.SelectBrush(TZVBrush{0, bsClear});
        canvas.Ellipse(100, 100, 300, 200);
        canvas.ExtTextOut(400, 100, QStringLiteral("42"));
        painter.drawText(QPointF(600, 100), QStringLiteral("7"));
    });
    EXPECT_TRUE(svg.contains(R"(width="10mm" height="5mm" viewBox="0 0 1000 500")")) << svg.left(300).constData();
    EXPECT_EQ(svg.count(R"(<path fill="#000000" d="M)"), 1) << svg.constData();
    EXPECT_TRUE(svg.contains(R"(fill="none")") && svg.contains(R"(stroke="#ff0000")")) << svg.constData();
    // The canvas's glyphs as outlines in a group of the text's colour; plain text stays text.
    EXPECT_TRUE(svg.contains("<g fill=\"#000000\">\n<path d=\"M")) << svg.constData();
    EXPECT_TRUE(svg.contains(">7</text>")) << svg.constData();
}

} // namespace
} // namespace zorvel
