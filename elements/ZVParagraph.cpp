// The paragraph element: alignment, box placement, word flow and its record.
#include "elements/ZVParagraph.h"

#include "document/ZVCustomLab.h"
#include "document/ZVFieldVisitor.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVUtils.h"

#include <algorithm>
#include <cmath>

namespace zorvel {
namespace {

// Distance kept between the frame's pen and the first and last glyphs, model units.
constexpr int kTextMargin = 5;

bool isBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool isSeparator(QChar c)
{
    return c == QLatin1Char(' ') || isBreak(c);
}

// Where a line may run, across the unturned layout frame.
struct TLineSpan
{
    int Left = 0;
    int Right = 0;
    int Width() const { return Right - Left; }
};

// Lays words out line by line in an unturned frame and draws each line turned about the anchor.
class TParagraphFlow
{
public:
    TParagraphFlow(TZVCanvas& canvas, const TRect& frame, TPoint anchor, int angle, int pitch,
                   TTextFormat alignment)
        : m_canvas(canvas), m_frame(frame), m_anchor(anchor), m_angle(angle), m_pitch(pitch),
          m_alignment(alignment)
    {
    }

    // Lines are cut to the chord of this circle (given in the unturned frame).
    void SetCircle(TPoint centre, int radius)
    {
        m_circle = true;
        m_centre = centre;
        m_radius = radius;
    }

    void Run(const QString& text);

private:
    // The line from y to y + pitch: inside a circle the narrower chord of its top and bottom, so
    // that no glyph crosses the circle.
    TLineSpan SpanAt(int y) const;
    void NewLine();
    int WidthOf(const QString& s) const { return m_canvas.GetTextExtentPoint(s).cx; }
    void Unjustify();
    void Draw(const QString& line);
    bool RoomForLine() const { return m_y <= m_frame.Bottom - m_pitch; }

    TZVCanvas& m_canvas;
    TRect m_frame;
    TPoint m_anchor;
    int m_angle;
    int m_pitch;
    TTextFormat m_alignment;
    bool m_circle = false;
    TPoint m_centre;
    int m_radius = 0;
    int m_y = 0;
    TLineSpan m_span;
};

TLineSpan TParagraphFlow::SpanAt(int y) const
{
    TLineSpan span{m_frame.Left, m_frame.Right};
    if (!m_circle) return span;
    for (const int edge : {y, y + m_pitch}) {
        const double dy = edge - m_centre.Y;
        const double squared = double(m_radius) * m_radius - dy * dy;
        const double half = squared > 0 ? std::sqrt(squared) : 0.0;
        span.Left = std::max(span.Left, int(std::ceil(m_centre.X - half)));
        span.Right = std::min(span.Right, int(std::floor(m_centre.X + half)));
    }
    // A line wholly outside the circle has no room at all.
    span.Right = std::max(span.Right, span.Left);
    return span;
}

void TParagraphFlow::NewLine()
{
    m_y += m_pitch;
    m_span = SpanAt(m_y);
}

void TParagraphFlow::Unjustify()
{
    if (m_alignment == tfJustify) m_canvas.SetTextJustification(0, 0);
}

void TParagraphFlow::Draw(const QString& line)
{
    if (line.isEmpty()) return;
    int x = m_span.Left;
    if (m_alignment == tfRight)
        x = m_span.Right - WidthOf(line);
    else if (m_alignment == tfCenter)
        x = m_span.Left + m_span.Width() / 2 - WidthOf(line) / 2;
    TPoint origin{x, m_y};
    if (m_angle > 0) RotatePoint(origin, m_anchor, m_angle);
    m_canvas.ExtTextOut(origin.X, origin.Y, line);
}

void TParagraphFlow::Run(const QString& text)
{
    m_y = m_frame.Top;
    m_span = SpanAt(m_y);
    QString line;
    const qsizetype n = text.size();
    qsizetype i = 0;
    // Ends the current line where the text asks for it: never stretched.
    const auto breakLine = [&] {
        Unjustify();
        if (RoomForLine()) Draw(line);
        NewLine();
        line.clear();
    };
    while (RoomForLine()) {
        while (i < n && isSeparator(text[i])) ++i;
        if (i == n) break;
        const qsizetype start = i;
        while (i < n && !isSeparator(text[i])) ++i;
        const QString word = text.mid(start, i - start);
        // Spaces before a line break do not hide it.
        qsizetype next = i;
        while (next < n && text[next] == QLatin1Char(' ')) ++next;
        const bool endsLine = next == n || isBreak(text[next]);

        Unjustify();
        const int lineWidth = WidthOf(line);
        const int wordWidth = WidthOf(line.isEmpty() ? word : QLatin1Char(' ') + word);
        if (lineWidth + wordWidth > m_span.Width()) {
            const auto gaps = int(line.count(QLatin1Char(' ')));
            if (m_alignment == tfJustify && gaps > 0)
                m_canvas.SetTextJustification(m_span.Width() - lineWidth, gaps);
            Draw(line);
            NewLine();
            line = word;
            if (endsLine) breakLine();
        } else {
            if (!line.isEmpty()) line += QLatin1Char(' ');
            line += word;
            if (endsLine) breakLine();
        }
    }
    if (!line.isEmpty() && RoomForLine()) {
        Unjustify();
        Draw(line);
    }
}

} // namespace

TZVParagraph::TZVParagraph(TZVCustomLab& owner) : TZVDataText(owner, 3)
{
    NameElement(QStringLiteral("Paragraph"));
}

// Taking the anchor rule of single-line texts here would put both corners on the same edge of
// the box for a turned paragraph (or one whose stored TextAlign is not left-top); the layout
// frame already turns inside the box, so the box itself always spans the rectangle.
void TZVParagraph::SetScreenRect(const TRect& value)
{
    if (!StoreIfChanged(m_screenRect, value)) return;
    PlaceAnchor(DeviceToModelX(value.Left), DeviceToModelY(value.Top), DeviceToModelX(value.Right),
                DeviceToModelY(value.Bottom));
    ClearAnchoring();
    SetModified();
}

void TZVParagraph::PlaceAnchor(int L, int T, int R, int B)
{
    TZVElement::PlaceAnchor(L, T, R, B);
}

void TZVParagraph::PaintElement(TZVCanvas& canvas, TPoint offset, int target, bool data)
{
    const QString text = content(target, data, QString());
    TRect model{m_x1, m_y1, m_x2, m_y2};
    NormalizeRect(model);
    if (target == ptEditor) m_modelRect = model;
    const TRect box{model.Left + offset.X, model.Top + offset.Y, model.Right + offset.X,
                    model.Bottom + offset.Y};

    canvas.SaveDC();
    canvas.SelectBrush({m_backColor, m_transparent ? bsClear : bsSolid});
    const TRect outer{box.Left, box.Top, box.Right + 1, box.Bottom + 1};
    if (m_showBorder) {
        canvas.SelectPen(m_penWidth > 0 ? TZVPen{m_borderColor, m_penWidth, psInsideFrame}
                                        : TZVPen{m_borderColor, 0, psClear});
        canvas.Rectangle(outer.Left, outer.Top, outer.Right, outer.Bottom);
    } else if (!m_transparent) {
        canvas.FillRect(outer);
    }

    SelectTextFont(canvas, m_color);
    canvas.SelectBrush({m_backColor, bsClear});

    // The layout frame is the box seen from the text's own direction; the label's circle is
    // turned back into that frame.
    const int labelWidth = LabelWidth();
    TPoint centre{offset.X + labelWidth / 2, offset.Y + labelWidth / 2};
    const int w = box.Width();
    const int h = box.Height();
    TPoint anchor{box.Left, box.Top};
    TRect frame = box;
    switch (m_angle) {
    case 90:
        anchor = {box.Left, box.Bottom};
        frame = {anchor.X, anchor.Y, anchor.X + h, anchor.Y + w};
        RotatePoint(centre, anchor, 270);
        break;
    case 180:
        anchor = {box.Right, box.Bottom};
        frame = {anchor.X, anchor.Y, anchor.X + w, anchor.Y + h};
        RotatePoint(centre, anchor, 180);
        break;
    case 270:
        anchor = {box.Right, box.Top};
        frame = {anchor.X, anchor.Y, anchor.X + h, anchor.Y + w};
        RotatePoint(centre, anchor, 90);
        break;
    default:
        break;
    }
    const int inset = m_penWidth + kTextMargin;
    frame = {frame.Left + inset, frame.Top + inset, frame.Right - inset, frame.Bottom - inset};

    // A height the font cannot have would stack every line on the first.
    const int pitch = m_fontHeight > 0 ? m_fontHeight : canvas.GetTextMetrics().Height;
    TParagraphFlow flow(canvas, frame, anchor, m_angle, std::max(pitch, 1), m_alignment);
    if (Owner()->Measure().LabelType() == ltCircle) flow.SetCircle(centre, labelWidth / 2);
    flow.Run(text);
    canvas.RestoreDC();
}

std::optional<QString> TZVParagraph::PrintedContent()
{
    return content(ptPrinter, RunPrintsRecords(*Owner()), QString());
}

void TZVParagraph::VisitFields(TZVFieldVisitor& visitor)
{
    TZVDataText::VisitFields(visitor);
    visitor.Enum("Alignment", m_alignment);
}

} // namespace zorvel
