// The drawing of a stock's sheet.
#include "dialogs/ZVStockSheet.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>

namespace zorvel {
namespace {

// More labels than this across or down are past any paper's edge at this scale.
constexpr int kMaxDrawnCount = 200;

QColor letterColour(QChar letter)
{
    static const std::array<QColor, 10> colours = {
        QColor(0x3465a4), QColor(0x3465a4), QColor(0x4e9a06), QColor(0x4e9a06), QColor(0xc4a000),
        QColor(0xc4a000), QColor(0xce5c00), QColor(0xce5c00), QColor(0x75507b), QColor(0x75507b),
    };
    const int index = letter.unicode() - u'A';
    return index >= 0 && index < int(colours.size()) ? colours[std::size_t(index)] : QColor(Qt::gray);
}

// A length made drawable: finite and not negative.
double drawable(double mm)
{
    return std::isfinite(mm) ? std::max(mm, 0.0) : 0.0;
}

} // namespace

TZVStockSheet::TZVStockSheet(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(160, 180);
}

void TZVStockSheet::SetStock(std::optional<TZVStock> stock)
{
    m_stock = std::move(stock);
    update();
}

void TZVStockSheet::SetLettered(bool lettered)
{
    m_lettered = lettered;
    update();
}

QSize TZVStockSheet::sizeHint() const
{
    return {230, 270};
}

QRectF TZVStockSheet::LetterBox(QChar letter) const
{
    for (const auto& [drawn, box] : m_letters)
        if (drawn == letter) return box;
    return {};
}

void TZVStockSheet::mousePressEvent(QMouseEvent* event)
{
    for (const auto& [letter, box] : m_letters) {
        if (box.contains(event->position())) {
            emit LetterClicked(letter);
            return;
        }
    }
    QWidget::mousePressEvent(event);
}

void TZVStockSheet::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().window());
    m_letters.clear();
    if (!m_stock) return;
    const TZVStock& s = *m_stock;

    // Room outside the paper for the letters A, B, I and J.
    const int pad = m_lettered ? 22 : 6;
    const QRectF room = QRectF(rect()).adjusted(pad, pad, -pad, -pad);
    if (room.width() <= 0 || room.height() <= 0) return;
    const double paperWidth = drawable(s.PaperWidth) > 0 ? drawable(s.PaperWidth) : 1;
    const double paperHeight = drawable(s.PaperHeight) > 0 ? drawable(s.PaperHeight) : 1;
    const double scale = std::min(room.width() / paperWidth, room.height() / paperHeight);
    const QRectF paper(room.center().x() - paperWidth * scale / 2,
                       room.center().y() - paperHeight * scale / 2, paperWidth * scale, paperHeight * scale);

    p.setPen(QPen(palette().windowText().color(), 1));
    p.setBrush(Qt::white);
    p.drawRect(paper);

    const double width = drawable(s.LabelWidth), height = drawable(s.LabelHeight);
    const double gapX = drawable(s.GapX), gapY = drawable(s.GapY);
    const double marginLeft = drawable(s.MarginLeft), marginTop = drawable(s.MarginTop);
    const int columns = std::clamp(s.Columns, 1, kMaxDrawnCount);
    const int rows = std::clamp(s.Rows, 1, kMaxDrawnCount);
    const auto labelRect = [&](int row, int column) {
        return QRectF(paper.left() + (marginLeft + column * (width + gapX)) * scale,
                      paper.top() + (marginTop + row * (height + gapY)) * scale, width * scale, height * scale);
    };
    p.save();
    p.setClipRect(paper);
    p.setPen(QPen(QColor(0x204a87), 1));
    p.setBrush(QColor(0xd0e0f5));
    const double radius = drawable(s.Radius) * scale;
    const double hole = drawable(s.Hole) * scale;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const QRectF r = labelRect(row, column);
            if (r.top() > paper.bottom() || r.left() > paper.right()) break;
            if (s.Shape == TZVStockShape::Rectangle) {
                p.drawRoundedRect(r, radius, radius);
                continue;
            }
            QPainterPath shape;
            shape.addEllipse(r);
            if (s.Shape == TZVStockShape::Disc && hole > 0) shape.addEllipse(r.center(), hole, hole);
            p.drawPath(shape);
        }
    }
    p.restore();
    if (!m_lettered) return;

    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    const auto letter = [&](QChar c, QPointF centre) {
        const QRectF box(centre.x() - 7, centre.y() - 7, 14, 14);
        p.setPen(Qt::NoPen);
        p.setBrush(letterColour(c));
        p.drawRoundedRect(box, 3, 3);
        p.setPen(Qt::white);
        p.drawText(box, Qt::AlignCenter, QString(c));
        m_letters.append({c, box});
    };
    const auto arrow = [&p](QPointF from, QPointF to) {
        p.setPen(QPen(QColor(0x555753), 1));
        p.drawLine(from, to);
        p.drawEllipse(from, 1.5, 1.5);
        p.drawEllipse(to, 1.5, 1.5);
    };

    // Paper: A along the top, B down the left; counts: J along the bottom, I down the right.
    arrow({paper.left(), paper.top() - 11}, {paper.right(), paper.top() - 11});
    letter(u'A', {paper.center().x(), paper.top() - 11});
    arrow({paper.left() - 11, paper.top()}, {paper.left() - 11, paper.bottom()});
    letter(u'B', {paper.left() - 11, paper.center().y()});
    arrow({paper.left(), paper.bottom() + 11}, {paper.right(), paper.bottom() + 11});
    letter(u'J', {paper.center().x(), paper.bottom() + 11});
    arrow({paper.right() + 11, paper.top()}, {paper.right() + 11, paper.bottom()});
    letter(u'I', {paper.right() + 11, paper.center().y()});

    // The other measures spread over different labels, so that small labels do not pile them up.
    const auto centreOf = [&](int row, int column) {
        return labelRect(row, column).intersected(paper).center();
    };
    const int lastRow = rows - 1;
    const int lastColumn = columns - 1;
    if (rows > 1 || columns > 1) {
        letter(u'C', centreOf(0, 0));
        letter(u'D', rows > 1 ? centreOf(1, 0) : centreOf(0, 1));
    } else {
        letter(u'C', centreOf(0, 0) - QPointF(0, 9));
        letter(u'D', centreOf(0, 0) + QPointF(0, 9));
    }
    const QRectF first = labelRect(0, 0);
    if (columns > 1) letter(u'E', {first.right() + gapX * scale / 2, centreOf(std::min(2, lastRow), 0).y()});
    if (rows > 1) letter(u'F', {centreOf(0, lastColumn).x(), first.bottom() + gapY * scale / 2});
    letter(u'G', {paper.left() + marginLeft * scale / 2, paper.top() + paper.height() * 3 / 4});
    letter(u'H', {paper.left() + paper.width() * 3 / 4, paper.top() + marginTop * scale / 2});
}

} // namespace zorvel
