// Painting of a label: its elements in list order, the page title, the background and the frame.
#include "document/ZVBackSurf.h"
#include "document/ZVCustomLab.h"
#include "document/ZVEditorLink.h"
#include "elements/ZVElement.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVUtils.h"

#include <cstdlib>

namespace zorvel {

namespace {

// What circular backgrounds leave around the disc on the editor surface and picture.
constexpr TZVColor kButtonFace = 0xF0F0F0;
constexpr TZVColor kWhite = 0xFFFFFF;

// a * b / c with a 64-bit product, rounding halves away from zero.
int mulDiv(int a, int b, int c)
{
    if (c == 0) return a;
    const std::int64_t product = std::int64_t(a) * b;
    std::int64_t quotient = product / c;
    const std::int64_t remainder = product % c;
    if (2 * std::llabs(remainder) >= std::llabs(c)) quotient += ((product < 0) == (c < 0)) ? 1 : -1;
    return static_cast<int>(quotient);
}

constexpr TZVPen kNoPen{0, 0, psClear};

bool isPaintTarget(int target)
{
    return target >= ptEditor && target <= ptEditorPicture;
}

TRect shrunk(const TRect& r, int d)
{
    return {r.Left + d, r.Top + d, r.Right - d, r.Bottom - d};
}

// Old designs may name a system colour (high byte 0x80, its index in the low byte);
// a gradient needs the real colour. These are the platform's usual defaults.
TZVColor resolvedColor(TZVColor color)
{
    if ((color & 0xFF000000u) != 0x80000000u) return color & 0xFFFFFF;
    switch (color & 0xFF) {
    case 5:  // window
    case 14: // highlighted text
    case 20: // button highlight
        return 0xFFFFFF;
    case 4:  // menu
    case 15: // button face
        return 0xF0F0F0;
    case 13: // highlight
        return 0xD77800;
    case 16: // button shadow
        return 0xA0A0A0;
    case 17: // grey text
        return 0x6D6D6D;
    case 22: // light 3-D
        return 0xE3E3E3;
    case 24: // tool tip background
        return 0xE1FFFF;
    default: // window text, button text and the dark ones
        return 0x000000;
    }
}

} // namespace

// Step i of n from `from` to `to`, each component kept to its low byte. A single step is `from`:
// the n - 1 divisor would otherwise be zero.
TZVColor GradientColor(TZVColor from, TZVColor to, int i, int n)
{
    from = resolvedColor(from);
    to = resolvedColor(to);
    TZVColor result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = int((from >> shift) & 0xFF);
        const int b = int((to >> shift) & 0xFF);
        const int c = n > 1 ? a + mulDiv(i, b - a, n - 1) : a;
        result |= TZVColor(c & 0xFF) << shift;
    }
    return result;
}

// ---- Elements and title ----

void TZVCustomLab::PaintElements(TZVCanvas& canvas, TPoint origin, int target, int dataMode)
{
    if (!isPaintTarget(target)) return;
    // A copy: painting must not be disturbed by an element that edits the list.
    const QList<TZVElement*> elements = m_elements;
    for (auto it = elements.crbegin(); it != elements.crend(); ++it) {
        TZVElement* element = *it;
        if (target == ptEditor && element->Selected()) continue;
        element->Paint(canvas, origin, target, dataMode);
    }
}

void TZVCustomLab::PaintTitle(TZVCanvas& canvas, const QString& text) const
{
    TZVFont font;
    font.Name = m_title.FontName;
    font.Height = m_title.FontHeight;
    font.Color = m_title.Color;
    canvas.SelectFont(font);
    canvas.SelectBrush({kWhite, bsClear});
    canvas.SetTextAlign(taLeft | taTop);
    canvas.SetTextCharacterExtra(0);
    canvas.ExtTextOut(m_title.X, m_title.Y, text);
}

// ---- Background ----

void TZVBackSurf::PaintBackground(TZVCanvas& canvas, TPoint origin, int target, const TRect& area)
{
    switch (target) {
    case ptEditor:
        if (!m_backDirty) return;
        m_backDirty = false;
        break;
    case ptPrinter:
        if (m_owner.NoPrinterOutput() || !m_print) return;
        break;
    case ptPreviewPage:
        if (!m_print) return;
        break;
    case ptEditorPicture:
        break;
    default:
        return;
    }
    const TZVMeasure& measure = m_owner.Measure();
    const TZVColor color = resolvedColor(m_color);
    const TZVColor toColor = resolvedColor(m_toColor);
    const bool onSurface = target == ptEditor || target == ptEditorPicture;
    const TRect r =
        onSurface ? area : TRect{origin.X, origin.Y, origin.X + measure.Width(), origin.Y + measure.Height()};
    // Gradient steps count the units of the target: pixels on the surface, model units elsewhere.
    const TZVEditorLink* editor = m_owner.Editor();
    const bool screenSizes = target == ptEditor && editor;
    const int width = screenSizes ? editor->SurfaceWidth() : r.Width();
    const int height = screenSizes ? editor->SurfaceHeight() : r.Height();
    const bool circle = measure.LabelType() == ltCircle;
    // The hole's inset from the outer edge, in the canvas's units.
    const int holeModel = (measure.Width() - 2 * measure.InnerCircle()) / 2;
    const int hole = onSurface ? mulDiv(holeModel, width, measure.Width()) : holeModel;

    canvas.SaveDC();
    const auto fillSurround = [&] {
        if (!onSurface) return;
        canvas.SelectBrush({kButtonFace, bsSolid});
        canvas.FillRect(r);
    };
    const int cx = (r.Left + r.Right) / 2;
    const int cy = (r.Top + r.Bottom) / 2;
    const auto pie = [&](TZVColor fill, TPoint from, TPoint to) {
        canvas.SelectBrush({fill, bsSolid});
        canvas.Pie(r.Left, r.Top, r.Right, r.Bottom, from.X, from.Y, to.X, to.Y);
    };
    canvas.SelectPen(kNoPen);
    switch (m_style) {
    case biNone:
        canvas.SelectBrush({color, bsSolid});
        canvas.FillRect(r);
        break;
    case biImage:
        if (!m_picture.isNull()) canvas.StretchDraw(r, m_picture);
        break;
    case biGradHor:
        for (int i = 0; i < height; ++i) {
            canvas.SelectPen({GradientColor(color, toColor, i, height), 0, psSolid});
            canvas.MoveTo(r.Left, r.Top + i);
            canvas.LineTo(r.Right, r.Top + i);
        }
        break;
    case biGradVer:
        for (int i = 0; i < width; ++i) {
            canvas.SelectPen({GradientColor(color, toColor, i, width), 0, psSolid});
            canvas.MoveTo(r.Left + i, r.Top);
            canvas.LineTo(r.Left + i, r.Bottom);
        }
        break;
    case biGraCircle: {
        fillSurround();
        const int n = (target == ptEditor && measure.InnerCircle() > 0) ? (width - hole) / 2 : width / 2;
        for (int i = 0; i < n; ++i) {
            canvas.SelectBrush({GradientColor(color, toColor, i, n), bsSolid});
            canvas.Ellipse(r.Left + i, r.Top + i, r.Right - i, r.Bottom - i);
        }
        break;
    }
    case biHalf1:
        fillSurround();
        pie(color, {r.Right, cy}, {r.Left, cy});
        pie(toColor, {r.Left, cy}, {r.Right, cy});
        break;
    case biHalf2:
        fillSurround();
        pie(color, {cx, r.Top}, {cx, r.Bottom});
        pie(toColor, {cx, r.Bottom}, {cx, r.Top});
        break;
    case biQuarter:
        fillSurround();
        pie(color, {cx, r.Top}, {r.Left, cy});
        pie(toColor, {r.Left, cy}, {cx, r.Bottom});
        pie(color, {cx, r.Bottom}, {r.Right, cy});
        pie(toColor, {r.Right, cy}, {cx, r.Top});
        break;
    }

    if (circle) {
        const TZVColor contrast = ContrastColor(color);
        if (target == ptEditor) {
            canvas.SelectPen({contrast, 1, psDot});
            canvas.SelectBrush({kWhite, bsClear});
            canvas.Ellipse(r.Left, r.Top, r.Right, r.Bottom);
        }
        if (measure.InnerCircle() > 0) {
            canvas.SelectPen(target == ptEditor ? TZVPen{contrast, 0, psDot} : kNoPen);
            canvas.SelectBrush({kWhite, bsSolid});
            const TRect h = shrunk(r, hole);
            canvas.Ellipse(h.Left, h.Top, h.Right, h.Bottom);
        }
    }
    canvas.RestoreDC();
}

void TZVBackSurf::PaintGuides(TZVCanvas& canvas) const
{
    if (!m_showAlign) return;
    const TZVMeasure& measure = m_owner.Measure();
    canvas.SelectPen({m_alignColor, 0, psDot});
    canvas.MoveTo(m_guideX, 0);
    canvas.LineTo(m_guideX, measure.Height());
    canvas.MoveTo(0, m_guideY);
    canvas.LineTo(measure.Width(), m_guideY);
}

// ---- Frame ----

void TZVFrame::PaintFrame(TZVCanvas& canvas, TPoint origin, int target) const
{
    if (m_style == fsNone || !isPaintTarget(target)) return;
    if (target == ptPrinter && m_owner.NoPrinterOutput()) return;
    const TZVMeasure& measure = m_owner.Measure();
    const bool circle = measure.LabelType() == ltCircle;
    canvas.SelectPen({m_color, m_penWidth, psInsideFrame});
    canvas.SelectBrush({kWhite, bsClear});
    const auto outline = [&](const TRect& r) {
        if (circle)
            canvas.Ellipse(r.Left, r.Top, r.Right, r.Bottom);
        else
            canvas.RoundRect(r.Left, r.Top, r.Right, r.Bottom, m_radio, m_radio);
    };
    const TRect outer{origin.X + m_dist1, origin.Y + m_dist1, origin.X + measure.Width() - m_dist1 + 1,
                      origin.Y + measure.Height() - m_dist1 + 1};
    outline(outer);
    if (m_style == fsTwoLine) outline(shrunk(outer, m_dist2));
}

} // namespace zorvel
