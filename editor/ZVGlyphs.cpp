// The handle glyphs, drawn once with QPainter on first use.
#include "editor/ZVGlyphs.h"

#include <QPainter>

#include <array>

namespace zorvel {
namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kGrey = 0xFF808080;
constexpr QRgb kDarkBlue = 0xFF000080;

QImage blankGlyph()
{
    QImage image(kZvGlyphSize, kZvGlyphSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Square handles: a dark outline around a filled body, crisp at one pixel per cell.
QImage square(QRgb fill)
{
    QImage image = blankGlyph();
    for (int y = 0; y < kZvGlyphSize; ++y)
        for (int x = 0; x < kZvGlyphSize; ++x) {
            const bool edge = x == 0 || y == 0 || x == kZvGlyphSize - 1 || y == kZvGlyphSize - 1;
            image.setPixel(x, y, edge ? kBlack : fill);
        }
    return image;
}

// Circles come from a fixed 7 x 7 mask: antialiasing would blur such a small shape.
QImage circle(QRgb fill)
{
    static constexpr const char* kMask[kZvGlyphSize] = {
        "..###..",
        ".#ooo#.",
        "#ooooo#",
        "#ooooo#",
        "#ooooo#",
        ".#ooo#.",
        "..###..",
    };
    QImage image = blankGlyph();
    for (int y = 0; y < kZvGlyphSize; ++y)
        for (int x = 0; x < kZvGlyphSize; ++x) {
            const char c = kMask[y][x];
            if (c == '#') image.setPixel(x, y, kBlack);
            else if (c == 'o') image.setPixel(x, y, fill);
        }
    return image;
}

QImage lines(void (*draw)(QPainter&))
{
    QImage image = blankGlyph();
    QPainter painter(&image);
    painter.setPen(QPen(QColor::fromRgba(kDarkBlue), 1));
    draw(painter);
    return image;
}

std::array<QImage, kZvGlyphCount> makeGlyphs()
{
    return {
        /* 0 REC_01 */ square(kWhite),
        /* 1 CIR_01 */ circle(kWhite),
        /* 2 REC_01GR */ square(kGrey),
        /* 3 DATA */ lines([](QPainter& p) {
            p.drawRect(0, 0, 6, 6);
            p.drawLine(2, 2, 4, 2);
            p.drawLine(2, 4, 4, 4);
        }),
        /* 4 CIR_01GR */ circle(kGrey),
        /* 5 TRIM_LINE_H */ lines([](QPainter& p) {
            p.drawLine(0, 3, 6, 3);
            p.drawLine(0, 1, 0, 5);
            p.drawLine(6, 1, 6, 5);
        }),
        /* 6 TRIM_LINE_V */ lines([](QPainter& p) {
            p.drawLine(3, 0, 3, 6);
            p.drawLine(1, 0, 5, 0);
            p.drawLine(1, 6, 5, 6);
        }),
        /* 7 EXT_LINE_H */ lines([](QPainter& p) {
            p.drawLine(0, 3, 6, 3);
            p.drawLine(4, 1, 6, 3);
            p.drawLine(4, 5, 6, 3);
        }),
        /* 8 EXT_LINE_V */ lines([](QPainter& p) {
            p.drawLine(3, 0, 3, 6);
            p.drawLine(1, 4, 3, 6);
            p.drawLine(5, 4, 3, 6);
        }),
        /* 9 JOIN_LINE */ lines([](QPainter& p) {
            p.drawLine(0, 3, 6, 3);
            p.drawLine(3, 0, 3, 6);
        }),
    };
}

} // namespace

const QImage& ZvMarkGlyph(int index)
{
    static const std::array<QImage, kZvGlyphCount> glyphs = makeGlyphs();
    static const QImage none;
    if (index < 0 || index >= kZvGlyphCount) return none;
    return glyphs[static_cast<std::size_t>(index)];
}

} // namespace zorvel
