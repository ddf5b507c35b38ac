// The editor's cursor table, drawn once on first use: draw tools, moves and the guide drags.
#include "editor/ZVCursors.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace zorvel {

namespace {

constexpr int kCursorSize = 32;
// Draw tools aim with a crosshair in the upper left; their glyph sits below right of it.
constexpr QPoint kCrossCentre{8, 8};
constexpr int kCrossArm = 7;

// Every shape is drawn twice: first all of them as a white halo, then all in black, so cursors
// show on any background and no halo cuts into a black stroke drawn before it.
class CursorPainter
{
public:
    // `shape` draws with whatever pen and brush are set.
    void stroke(std::function<void(QPainter&)> shape, bool filled = false)
    {
        m_items.push_back([shape = std::move(shape), filled](QPainter& p, bool halo) {
            const QColor colour = halo ? Qt::white : Qt::black;
            p.setPen(QPen(colour, halo ? 3 : 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.setBrush(filled ? QBrush(colour) : QBrush(Qt::NoBrush));
            shape(p);
        });
    }

    void line(int x1, int y1, int x2, int y2)
    {
        stroke([=](QPainter& p) { p.drawLine(x1, y1, x2, y2); });
    }

    // The aiming cross, open in the middle so the target pixel stays visible.
    void crosshair()
    {
        const QPoint c = kCrossCentre;
        line(c.x() - kCrossArm, c.y(), c.x() - 2, c.y());
        line(c.x() + 2, c.y(), c.x() + kCrossArm, c.y());
        line(c.x(), c.y() - kCrossArm, c.x(), c.y() - 2);
        line(c.x(), c.y() + 2, c.x(), c.y() + kCrossArm);
    }

    // A letter or sign from the UI font, filled black with a white rim.
    void text(int x, int baseline, int pixelSize, const QString& text)
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(pixelSize);
        font.setBold(true);
        QPainterPath path;
        path.addText(x, baseline, font, text);
        m_items.push_back([path](QPainter& p, bool halo) {
            p.setRenderHint(QPainter::Antialiasing, true);
            if (halo)
                p.strokePath(path, QPen(Qt::white, 2.5));
            else
                p.fillPath(path, Qt::black);
            p.setRenderHint(QPainter::Antialiasing, false);
        });
    }

    // A double-headed arrow between two points on one axis.
    void doubleArrow(QPoint a, QPoint b)
    {
        const bool horizontal = a.y() == b.y();
        auto head = [horizontal](QPoint tip, int dir) {
            const QPoint back =
                horizontal ? QPoint(tip.x() + 4 * dir, tip.y()) : QPoint(tip.x(), tip.y() + 4 * dir);
            const QPoint side = horizontal ? QPoint(0, 4) : QPoint(4, 0);
            return QPolygon{tip, back + side, back - side};
        };
        const QPolygon headA = head(a, a.x() < b.x() || a.y() < b.y() ? 1 : -1);
        const QPolygon headB = head(b, a.x() < b.x() || a.y() < b.y() ? -1 : 1);
        stroke(
            [=](QPainter& p) {
                p.drawLine(a, b);
                p.drawPolygon(headA);
                p.drawPolygon(headB);
            },
            true);
    }

    // Vertical bars (left, width) from `top` to `bottom`, on one white strip.
    void bars(int top, int bottom, std::initializer_list<std::pair<int, int>> list)
    {
        const std::vector<std::pair<int, int>> widths(list);
        m_items.push_back([=](QPainter& p, bool halo) {
            if (halo) {
                const int right = widths.back().first + widths.back().second;
                p.fillRect(QRect(QPoint(widths.front().first - 1, top - 1), QPoint(right, bottom + 1)),
                           Qt::white);
                return;
            }
            for (const auto& [x, w] : widths)
                p.fillRect(QRect(x, top, w, bottom - top + 1), Qt::black);
        });
    }

    void paint(QPixmap& pixmap) const
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (bool halo : {true, false})
            for (const auto& item : m_items)
                item(painter, halo);
    }

private:
    std::vector<std::function<void(QPainter&, bool halo)>> m_items;
};

struct CursorPicture
{
    QPoint hotSpot;
    std::function<void(CursorPainter&)> draw;
    // The tool's own mark, without the crosshair; empty for cursors that are no draw tool.
    std::function<void(CursorPainter&)> glyph;
};

// Tool glyphs fill the square from (14, 14) to (29, 29); with their halo, from (13, 13) to (30, 30).
constexpr QRect kGlyphBox{13, 13, 18, 18};

CursorPicture toolCursor(std::function<void(CursorPainter&)> glyph)
{
    return {kCrossCentre,
            [glyph](CursorPainter& c) {
                c.crosshair();
                glyph(c);
            },
            glyph};
}

// A cursor-sized transparent picture with what `draw` paints.
QPixmap paintedPicture(const std::function<void(CursorPainter&)>& draw)
{
    QPixmap pixmap(kCursorSize, kCursorSize);
    pixmap.fill(Qt::transparent);
    CursorPainter painter;
    draw(painter);
    painter.paint(pixmap);
    return pixmap;
}

// The selection tool's icon: an arrow pointer inside the glyph box.
void arrowGlyph(CursorPainter& c)
{
    const QPolygon arrow{{15, 14}, {15, 27}, {18, 24}, {21, 30}, {23, 29}, {20, 23}, {25, 23}};
    c.stroke([arrow](QPainter& p) { p.drawPolygon(arrow); }, true);
}

CursorPicture pictureOf(int id)
{
    switch (id) {
    case crZvMoveLeft:
        return {{15, 15}, [](CursorPainter& c) { c.doubleArrow({3, 15}, {27, 15}); }};
    case crZvMoveTop:
        return {{15, 15}, [](CursorPainter& c) { c.doubleArrow({15, 3}, {15, 27}); }};
    case crZvMove:
        return {{15, 15}, [](CursorPainter& c) {
                    c.doubleArrow({3, 15}, {27, 15});
                    c.doubleArrow({15, 3}, {15, 27});
                }};
    case crZvText:
        return toolCursor([](CursorPainter& c) {
            c.line(16, 16, 28, 16);
            c.line(22, 16, 22, 29);
        });
    case crZvRect:
        return toolCursor(
            [](CursorPainter& c) { c.stroke([](QPainter& p) { p.drawRect(15, 17, 13, 10); }); });
    case crZvSymb:
        return toolCursor([](CursorPainter& c) {
            c.stroke([](QPainter& p) {
                p.drawEllipse(15, 15, 8, 8);
                p.drawPolygon(QPolygon{{24, 19}, {29, 28}, {19, 28}});
            });
        });
    case crZvLine:
        return toolCursor([](CursorPainter& c) { c.line(16, 28, 28, 16); });
    case crZvPara:
        return toolCursor([](CursorPainter& c) {
            c.line(15, 16, 28, 16);
            c.line(15, 20, 28, 20);
            c.line(15, 24, 28, 24);
            c.line(15, 28, 23, 28);
        });
    case crZvBarc:
        return toolCursor([](CursorPainter& c) {
            c.bars(16, 28, {{15, 1}, {17, 2}, {20, 1}, {22, 1}, {24, 2}, {27, 1}, {29, 1}});
        });
    case crZvAddt:
        return toolCursor([](CursorPainter& c) {
            c.line(14, 22, 20, 22);
            c.line(17, 19, 17, 25);
            c.line(22, 16, 29, 16);
            c.line(25, 16, 25, 29);
        });
    case crZvImag:
        return toolCursor([](CursorPainter& c) {
            c.stroke([](QPainter& p) {
                p.drawRect(15, 16, 14, 12);
                p.drawPolyline(QPolygon{{16, 27}, {20, 21}, {23, 25}, {25, 23}, {28, 27}});
                p.drawEllipse(24, 18, 2, 2);
            });
        });
    case crZvTabl:
        return toolCursor([](CursorPainter& c) {
            c.stroke([](QPainter& p) {
                p.drawRect(15, 16, 14, 12);
                p.drawLine(15, 20, 29, 20);
                p.drawLine(15, 24, 29, 24);
                p.drawLine(20, 16, 20, 28);
                p.drawLine(25, 16, 25, 28);
            });
        });
    case crZvAskt:
        return toolCursor([](CursorPainter& c) { c.text(16, 30, 19, QStringLiteral("?")); });
    case crZvPolt:
        return toolCursor([](CursorPainter& c) {
            c.stroke([](QPainter& p) { p.drawPolyline(QPolygon{{15, 28}, {18, 17}, {23, 25}, {28, 15}}); });
        });
    case crZvRefLine:
        return toolCursor([](CursorPainter& c) {
            c.line(15, 22, 17, 22);
            c.line(20, 22, 22, 22);
            c.line(25, 22, 27, 22);
            c.line(21, 15, 21, 29);
        });
    case crZvAlignX:
        return {{15, 15}, [](CursorPainter& c) {
                    c.line(15, 2, 15, 29);
                    c.doubleArrow({5, 15}, {25, 15});
                }};
    case crZvAlignY:
        return {{15, 15}, [](CursorPainter& c) {
                    c.line(2, 15, 29, 15);
                    c.doubleArrow({15, 5}, {15, 25});
                }};
    case crZvLayout:
        return toolCursor([](CursorPainter& c) {
            c.stroke([](QPainter& p) {
                p.drawRect(15, 15, 6, 6);
                p.drawRect(23, 15, 6, 6);
                p.drawRect(15, 23, 6, 6);
                p.drawRect(23, 23, 6, 6);
            });
        });
    case crZvPdf:
        return toolCursor([](CursorPainter& c) {
            c.stroke([](QPainter& p) {
                p.drawPolygon(QPolygon{{16, 14}, {24, 14}, {28, 18}, {28, 29}, {16, 29}});
                p.drawPolyline(QPolygon{{24, 14}, {24, 18}, {28, 18}});
                p.drawLine(19, 22, 25, 22);
                p.drawLine(19, 25, 25, 25);
            });
        });
    case crZvQrCode:
        return toolCursor([](CursorPainter& c) {
            c.stroke([](QPainter& p) {
                p.drawRect(15, 15, 5, 5);
                p.drawRect(24, 15, 5, 5);
                p.drawRect(15, 24, 5, 5);
                p.drawRect(24, 24, 2, 2);
                p.drawPoint(22, 22);
                p.drawPoint(28, 28);
            });
        });
    case crZvDataMatrix:
        // The solid L of the finder and the dotted clock track opposite it.
        return toolCursor([](CursorPainter& c) {
            c.line(15, 15, 15, 29);
            c.line(15, 29, 29, 29);
            c.stroke([](QPainter& p) {
                for (int i = 15; i <= 29; i += 2) {
                    p.drawPoint(i, 15);
                    p.drawPoint(29, i);
                }
                p.drawPoint(20, 22);
                p.drawPoint(24, 19);
                p.drawPoint(23, 25);
            });
        });
    default:
        return {};
    }
}

} // namespace

int ZvCursorOfTool(TZVDrawTool tool)
{
    switch (tool) {
    case dwLine: return crZvLine;
    case dwRect: return crZvRect;
    case dwText: return crZvText;
    case dwBarCode: return crZvBarc;
    case dwSymbol: return crZvSymb;
    case dwAddText: return crZvAddt;
    case dwImage: return crZvImag;
    case dwParagraph: return crZvPara;
    case dwTable: return crZvTabl;
    case dwAskText: return crZvAskt;
    case dwSelection:
    default: return crZvDefault;
    }
}

int ZvCursorOfBarCode(TZVBar type)
{
    switch (type) {
    case QRCODE:
    case MICROQR: return crZvQrCode;
    case DATAMATRIX:
    case GS1DATAMATRIX: return crZvDataMatrix;
    case PDF417: return crZvPdf;
    default: return crZvBarc;
    }
}

QIcon ZvToolIcon(TZVDrawTool tool)
{
    std::function<void(CursorPainter&)> glyph = pictureOf(ZvCursorOfTool(tool)).glyph;
    if (!glyph) glyph = arrowGlyph;
    return QIcon(paintedPicture(glyph).copy(kGlyphBox));
}

QCursor ZvCursor(int id)
{
    static QHash<int, QCursor> cache;
    if (const auto it = cache.constFind(id); it != cache.constEnd()) return *it;
    const CursorPicture picture = pictureOf(id);
    if (!picture.draw) return QCursor(Qt::ArrowCursor);
    const QCursor cursor(paintedPicture(picture.draw), picture.hotSpot.x(), picture.hotSpot.y());
    cache.insert(id, cursor);
    return cursor;
}

} // namespace zorvel
