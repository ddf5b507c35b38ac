// The sheet preview: paper, labels, the first label of the run and the unprintable margins.
#include "dialogs/ZVLabelPropsPreview.h"

#include "document/ZVCustomLab.h"
#include "document/ZVSheetFit.h"
#include "foundation/ZVCanvas.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zorvel {

namespace {

constexpr TZVColor kPaperColor = 0x96FFFF; // pale yellow
constexpr TZVColor kOutlineColor = 0x808080;
constexpr TZVColor kStartColor = 0xFFFF00; // aqua
// The print settings carry no colour of their own for the margins.
constexpr TZVColor kMarginColor = 0x0000FF; // red

} // namespace

SheetPreview::SheetPreview(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
    m_bitmap = QImage(kMaxWidth, kMaxHeight, QImage::Format_RGB32);
    m_bitmap.fill(Qt::white);
    setFixedSize(m_bitmap.size());
}

QSize SheetPreview::PreviewSize(double paperWidth, double paperHeight, bool landscape)
{
    const double across = landscape ? paperHeight : paperWidth;
    const double down = landscape ? paperWidth : paperHeight;
    if (across <= 0 || down <= 0) return {kMaxWidth, kMaxHeight};
    const double aspect = across / down;
    if (aspect < kTallAspect) return {static_cast<int>(std::lround(kMaxHeight * aspect)), kMaxHeight};
    return {kMaxWidth, static_cast<int>(std::lround(kMaxWidth / aspect))};
}

void SheetPreview::SetLabel(TZVCustomLab* label)
{
    m_label = label;
    UpdateSize();
}

bool SheetPreview::landscape() const
{
    return m_label && m_label->PrintInfo().Orientation == 1;
}

double SheetPreview::pageWidth() const
{
    const TZVMeasure& m = m_label->Measure();
    return landscape() ? m.PaperHeight() : m.PaperWidth();
}

double SheetPreview::pageHeight() const
{
    const TZVMeasure& m = m_label->Measure();
    return landscape() ? m.PaperWidth() : m.PaperHeight();
}

void SheetPreview::UpdateSize()
{
    if (m_label) {
        const TZVMeasure& m = m_label->Measure();
        const QSize size = PreviewSize(m.PaperWidth(), m.PaperHeight(), landscape());
        if (size != m_bitmap.size()) m_bitmap = QImage(size, QImage::Format_RGB32);
        setFixedSize(size);
    }
    Repaint();
}

void SheetPreview::Repaint()
{
    render();
    update();
    if (OnRepainted) OnRepainted();
}

int SheetPreview::mapX(double model) const
{
    const double page = pageWidth();
    return page > 0 ? static_cast<int>(std::lround(model * m_bitmap.width() / page)) : 0;
}

int SheetPreview::mapY(double model) const
{
    const double page = pageHeight();
    return page > 0 ? static_cast<int>(std::lround(model * m_bitmap.height() / page)) : 0;
}

QRect SheetPreview::labelBox(int row, int col) const
{
    const TZVMeasure& m = m_label->Measure();
    const double left = m.MarLeft() + double(col) * (m.Width() + m.DiHor());
    const double top = m.MarTop() + double(row) * (m.Height() + m.DiVer());
    // Right and bottom edges are exclusive, as the outlines of the sheet are drawn elsewhere.
    return QRect(QPoint(mapX(left), mapY(top)),
                 QPoint(mapX(left + m.Width()) - 1, mapY(top + m.Height()) - 1));
}

void SheetPreview::drawLabel(QPainter& painter, const QRect& box) const
{
    // drawRect adds the pen's width on the right and bottom; keep the box's own extent.
    const QRect outline = box.adjusted(0, 0, -1, -1);
    if (m_label->Measure().LabelType() == ltCircle)
        painter.drawEllipse(outline);
    else
        painter.drawRect(outline);
}

void SheetPreview::render()
{
    m_bitmap.fill(Qt::white);
    if (!m_label) return;
    QPainter painter(&m_bitmap);
    painter.setPen(toQColor(kOutlineColor));
    painter.setBrush(toQColor(kPaperColor));
    painter.drawRect(m_bitmap.rect().adjusted(0, 0, -1, -1));

    // Only the labels that reach onto the paper can be seen: a stored sheet may have any number.
    const TZVSheetFit fit = SheetFit(*m_label);
    // Past two a pixel the labels no longer show apart.
    const auto visible = [](TZVPlaces places, int pixels) {
        places.Last = static_cast<int>(std::min<std::int64_t>(places.Last, std::int64_t(places.First) + 2 * pixels));
        return places;
    };
    const TZVPlaces rows = visible(fit.RowsOnPaper, m_bitmap.height());
    const TZVPlaces cols = visible(fit.ColumnsOnPaper, m_bitmap.width());
    painter.setPen(Qt::black);
    for (int row = rows.First; row <= rows.Last; ++row) {
        for (int col = cols.First; col <= cols.Last; ++col) {
            painter.setBrush(fit.LabelFits(row, col) ? QColor(Qt::white) : toQColor(kOffPaperColor));
            drawLabel(painter, labelBox(row - 1, col - 1));
        }
    }

    const TZVPrintInfo& info = m_label->PrintInfo();
    const int startRow = std::clamp(info.FirstRow(), 1, fit.Rows);
    const int startCol = std::clamp(info.FirstCol(), 1, fit.Columns);
    if (rows.Contains(startRow) && cols.Contains(startCol)) {
        painter.setBrush(toQColor(kStartColor));
        drawLabel(painter, labelBox(startRow - 1, startCol - 1));
    }

    if (m_label->ShowMargins()) {
        // The print settings keep these margins in model units, like every other length.
        QPen pen(toQColor(kMarginColor), 0, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const QPoint topLeft(mapX(info.OffsetX), mapY(info.OffsetY));
        const QPoint bottomRight(mapX(pageWidth() - info.MarginRight),
                                 mapY(pageHeight() - info.MarginBottom));
        painter.drawRect(QRect(topLeft, bottomRight - QPoint(1, 1)));
    }
}

bool SheetPreview::ClickAt(QPoint pos)
{
    if (!m_label) return false;
    const TZVMeasure& m = m_label->Measure();
    if (m.Width() == 0 || m.Height() == 0) return false;
    const int pitchX = mapX(double(m.Width()) + m.DiHor());
    const int pitchY = mapY(double(m.Height()) + m.DiVer());
    // A label too small for one pixel on this paper gives no column to divide by.
    if (pitchX <= 0 || pitchY <= 0) return false;
    const int col = (pos.x() - mapX(m.MarLeft())) / pitchX + 1;
    const int row = (pos.y() - mapY(m.MarTop())) / pitchY + 1;
    TZVPrintInfo& info = m_label->PrintInfo();
    info.SetFirstCol(std::min(col, m.NuVer()));
    info.SetFirstRow(std::min(row, m.NuHor()));
    Repaint();
    if (OnStartChanged) OnStartChanged();
    return true;
}

void SheetPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_bitmap);
}

void SheetPreview::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) ClickAt(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

} // namespace zorvel
