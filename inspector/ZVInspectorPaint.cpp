// Inspector painting: captions, values in their row kinds' forms, grid lines, and the cell images.
#include "inspector/ZVInspector.h"

#include "controls/ZVAlignPopup.h"
#include "controls/ZVJustifyPopup.h"
#include "editor/ZVEditor.h"
#include "elements/ZVSymbol.h"
#include "foundation/ZVCanvas.h"

#include <QPainter>
#include <QPaintEvent>

#include <array>

namespace zorvel {

namespace {

constexpr int kImageHalf = 7; // images are centred at (cell centre - 7)

void drawCheckBox(QPainter& painter, bool checked, bool enabled)
{
    const QRect box(0, 0, kInspectorImageSize, kInspectorImageSize);
    painter.fillRect(box.adjusted(1, 1, -1, -1), enabled ? Qt::white : QColor(0xF0, 0xF0, 0xF0));
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    if (!checked) return;
    painter.setPen(QPen(enabled ? Qt::black : QColor(0x80, 0x80, 0x80), 2));
    painter.drawPolyline(QPolygon({QPoint(3, 6), QPoint(5, 9), QPoint(10, 3)}));
}

void drawTable(QPainter& painter)
{
    const QRect box(0, 0, kInspectorImageSize, kInspectorImageSize);
    painter.fillRect(box.adjusted(0, 0, 0, -9), QColor(0x00, 0x00, 0x80)); // title row
    painter.setPen(Qt::black);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    for (int y : {4, 8})
        painter.drawLine(0, y, kInspectorImageSize - 1, y);
    for (int x : {4, 8})
        painter.drawLine(x, 4, x, kInspectorImageSize - 1);
}

QImage makeImage(int index)
{
    QImage image(kInspectorImageSize, kInspectorImageSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const QRect box(0, 0, kInspectorImageSize, kInspectorImageSize);
    if (index <= iiCheckDisabled)
        drawCheckBox(painter, index != iiCheckOff, index != iiCheckDisabled);
    else if (index < iiTextAlignFirst)
        DrawTextFormatGlyph(painter, box, static_cast<TTextFormat>(index - iiJustifyFirst), false);
    else if (index < iiTable)
        DrawTextAlignGlyph(painter, box, static_cast<TTextAlign>(index - iiTextAlignFirst), false);
    else if (index == iiTable)
        drawTable(painter);
    else if (index < iiPositionNone)
        DrawTextAlignGlyph(painter, box, TFAlignEle::CellValue((index - iiPositionFirst) % 3, (index - iiPositionFirst) / 3),
                           false);
    else {
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
    }
    return image;
}

} // namespace

const QImage& ZvInspectorImage(int index)
{
    static const std::array<QImage, kInspectorImageCount> images = [] {
        std::array<QImage, kInspectorImageCount> list;
        for (int i = 0; i < kInspectorImageCount; ++i)
            list[std::size_t(i)] = makeImage(i);
        return list;
    }();
    static const QImage none;
    return index >= 0 && index < kInspectorImageCount ? images[std::size_t(index)] : none;
}

void TZVInspector::paintEvent(QPaintEvent*)
{
    // Qt's backing store is the off-screen buffer: the rows reach the screen in one copy.
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Color());
    painter.setFont(font());
    const int textOffset = RowHeight() / 2 - QFontMetrics(font()).height() / 2;
    const int last = std::min(TopRow() + VisibleRows(), int(Rows().size()));
    for (int row = TopRow(); row < last; ++row)
        paintRow(painter, row, textOffset);
}

void TZVInspector::paintRow(QPainter& painter, int index, int textOffset)
{
    const TZvProp& row = Rows()[index];
    const QRect nameCell = NameCell(index);
    const int top = nameCell.top();
    const int bottom = top + RowHeight();
    const int textHeight = QFontMetrics(font()).height();

    const QRect captionBox = nameCell.adjusted(2, 2, -2, -2);
    static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    const bool current = index == ItemIndex();
    // The current row's caption is marked, so the keyboard's place shows on rows without a box.
    if (current) painter.fillRect(nameCell, palette().color(QPalette::Highlight));
    painter.save();
    painter.setClipRect(captionBox);
    painter.setPen(current ? palette().color(QPalette::HighlightedText) : m_namesColor);
    painter.drawText(QRect(captionBox.left(), top + textOffset, captionBox.width(), textHeight),
                     kAlign[m_nameAlign] | Qt::AlignTop | Qt::TextSingleLine, Caption(row.Name));
    painter.restore();

    paintValue(painter, row, ValueCell(index), top + textOffset);

    const QColor shadow = palette().color(QPalette::Dark);
    painter.setPen(shadow);
    painter.drawLine(0, bottom - 1, ClientWidth(), bottom - 1);
    painter.setPen(palette().color(QPalette::Button));
    painter.drawLine(0, bottom - 2, ClientWidth(), bottom - 2);
    painter.setPen(shadow);
    painter.drawLine(SplitPos() - 1, top - 1, SplitPos() - 1, bottom);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(SplitPos(), top - 1, SplitPos(), bottom);
}

void TZVInspector::paintValue(QPainter& painter, const TZvProp& row, const QRect& cell, int textTop)
{
    const int textHeight = QFontMetrics(font()).height();
    auto text = [&](int x, const QString& value) {
        painter.drawText(QRect(x, textTop, std::max(cell.right() - x, 0), textHeight),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, value);
    };
    auto image = [&](int index) {
        const QImage& picture = ZvInspectorImage(index);
        if (!picture.isNull())
            painter.drawImage(cell.left() + cell.width() / 2 - kImageHalf, cell.top() + cell.height() / 2 - kImageHalf,
                              picture);
    };
    painter.save();
    painter.setClipRect(cell);
    painter.setPen(m_valuesColor);
    const int value = row.Value.toInt();
    switch (row.Kind) {
    case pkString:
        text(cell.left() + 2, row.Value.toString());
        break;
    case pkWideText:
    case pkParagraphText: {
        QFont wide = font();
        wide.setFamily(TextFontName());
        painter.setFont(wide);
        text(SplitPos() + 4, row.Value.toString());
        break;
    }
    case pkTemplate: {
        // The ellipsis at the right says that the value opens an editor of its own.
        const QString ellipsis = QStringLiteral("\u2026");
        const int mark = QFontMetrics(font()).horizontalAdvance(ellipsis) + 4;
        painter.drawText(QRect(cell.right() - mark, textTop, mark, textHeight), Qt::AlignCenter, ellipsis);
        painter.setClipRect(cell.adjusted(0, 0, -mark, 0));
        text(SplitPos() + 4, row.Value.toString());
        break;
    }
    case pkInteger:
    case pkCount:
        text(SplitPos() + 4, QString::number(value));
        break;
    case pkBoolean:
        image(row.Value.toBool() ? iiCheckOn : iiCheckOff);
        break;
    case pkTextAlign:
        image(iiTextAlignFirst + value);
        break;
    case pkTextFormat:
        image(iiJustifyFirst + value);
        break;
    case pkEleAlign:
        image(iiEleAlignFirst + value);
        break;
    case pkEditTable:
    case pkEditPoly:
        image(iiTable);
        break;
    case pkColor:
        painter.fillRect(cell, Color());
        painter.fillRect(cell.adjusted(4, 4, -4, -4), toQColor(row.Value.toUInt()));
        break;
    case pkChar: {
        const auto* symbol = Editor() ? qobject_cast<const TZVSymbol*>(Editor()->FirstSelected()) : nullptr;
        if (!symbol) break;
        QFont glyph(symbol->FontName());
        glyph.setPointSize(11);
        painter.setFont(glyph);
        painter.drawText(QPoint(cell.left() + cell.width() / 2 - 4, textTop + QFontMetrics(glyph).ascent()),
                         QString(symbol->Character()));
        break;
    }
    default:
        text(SplitPos() + 6, valueText(row));
        break;
    }
    painter.restore();
}

} // namespace zorvel
