// Painting of a label: its elements in list order, the page title, the background and the frame.
#include "document/ZVBackSurf.h"
#include "document/ZVCustomLab.h"
#include "document/ZVEditorLink.h"
#include "document/ZVElement.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zorvel {

namespace {

// What circular backgrounds leave around the disc on the editor surface and picture.
constexpr TZVColor kButtonFace = 0xF0F0F0;
constexpr TZVColor kWhite = 0xFFFFFF;

constexpr TZVPen kNoPen{0, 0, psClear};

bool isPaintTarget(int target)
{
    return target >= ptEditor && target <= ptEditorPicture;
}

TRect shrunk(const TRect& r, int d)
{
    return {SaturateToInt(std::int64_t(r.Left) + d), SaturateToInt(std::int64_t(r.Top) + d),
            SaturateToInt(std::int64_t(r.Right) - d), SaturateToInt(std::int64_t(r.Bottom) - d)};
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

// Steps `first` to `last` of a gradient, every `stride`-th.
struct Steps
{
    std::int64_t first, last, stride;
};

// The steps 0..n-1 (one unit apart from `start`) that lie in [lo, hi]: a stored label may be
// billions of units long. Where more than ten steps share a device pixel only every tenth of a pixel
// is drawn, and never more than a few thousand lines or a thousand filled rings in all (a page may
// be a picture as large as the paper).
constexpr std::int64_t kMaxLines = 4096;
constexpr std::int64_t kMaxRings = 1024;

Steps stepsSeen(std::int64_t start, std::int64_t n, double lo, double hi, double pitch)
{
    const double first = std::max(0.0, std::floor(lo - double(start)));
    const double last = std::min(double(n - 1), std::ceil(hi - double(start)));
    const double stride = pitch > 0 && pitch < 0.1 ? std::min(std::floor(0.1 / pitch), 1e15) : 1;
    return {std::int64_t(std::min(first, 1e15)), std::int64_t(std::max(last, -1.0)), std::int64_t(stride)};
}

Steps capped(Steps s, std::int64_t most)
{
    const std::int64_t count = s.last - s.first + 1;
    if (count > most) s.stride = std::max(s.stride, (count + most - 1) / most);
    return s;
}

// Calls `step` for each step of `s`, and for the last one even when the stride passes over it.
template <typename Step>
void walk(const Steps& s, Step step)
{
    std::int64_t drawn = s.first - 1;
    for (std::int64_t i = s.first; i <= s.last; i += s.stride) {
        step(i);
        drawn = i;
    }
    if (drawn >= s.first && drawn < s.last) step(s.last);
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
        const int c = n > 1 ? a + MulDiv(i, b - a, n - 1) : a;
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
    // A stored size may be any int: the far edges and the extents saturate rather than wrap.
    const TRect r = onSurface
                        ? area
                        : TRect{origin.X, origin.Y, SaturateToInt(std::int64_t(origin.X) + measure.Width()),
                                SaturateToInt(std::int64_t(origin.Y) + measure.Height())};
    // Gradient steps count the units of the target: pixels on the surface, model units elsewhere.
    const TZVEditorLink* editor = m_owner.Editor();
    const bool screenSizes = target == ptEditor && editor;
    const int width = screenSizes ? editor->SurfaceWidth() : SaturateToInt(std::int64_t(r.Right) - r.Left);
    const int height = screenSizes ? editor->SurfaceHeight() : SaturateToInt(std::int64_t(r.Bottom) - r.Top);
    const bool circle = measure.LabelType() == ltCircle;
    // The hole's inset from the outer edge, in the canvas's units.
    const int holeModel =
        SaturateToInt((std::int64_t(measure.Width()) - 2 * std::int64_t(measure.InnerCircle())) / 2);
    const int hole = onSurface ? MulDiv(holeModel, width, measure.Width()) : holeModel;

    const TZVSeenArea seen = canvas.SeenArea(1);
    canvas.SaveDC();
    const auto fillSurround = [&] {
        if (!onSurface) return;
        canvas.SelectBrush({kButtonFace, bsSolid});
        canvas.FillRect(r);
    };
    const int cx = int((std::int64_t(r.Left) + r.Right) / 2);
    const int cy = int((std::int64_t(r.Top) + r.Bottom) / 2);
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
    case biGradVer: {
        // Steps walked with a stride are filled as bands, so that no row they pass over is left out.
        const bool across = m_style == biGradHor;
        const int n = across ? height : width;
        const Steps s = capped(across ? stepsSeen(r.Top, height, seen.Top, seen.Bottom, seen.PixelsY)
                                      : stepsSeen(r.Left, width, seen.Left, seen.Right, seen.PixelsX),
                               kMaxLines);
        walk(s, [&](std::int64_t i) {
            const TZVColor c = GradientColor(color, toColor, int(i), n);
            const int from = SaturateToInt((across ? r.Top : r.Left) + i);
            if (s.stride > 1) {
                const int to = SaturateToInt((across ? r.Top : r.Left) + std::min(i + s.stride, s.last + 1));
                canvas.SelectBrush({c, bsSolid});
                canvas.FillRect(across ? TRect{r.Left, from, r.Right, to} : TRect{from, r.Top, to, r.Bottom});
                return;
            }
            canvas.SelectPen({c, 0, psSolid});
            canvas.MoveTo(across ? r.Left : from, across ? from : r.Top);
            canvas.LineTo(across ? r.Right : from, across ? from : r.Bottom);
        });
        break;
    }
    case biGraCircle: {
        fillSurround();
        const std::int64_t n = (target == ptEditor && measure.InnerCircle() > 0)
                                   ? (std::int64_t(width) - hole) / 2
                                   : width / 2;
        const auto ring = [&](std::int64_t i) {
            return TRect{SaturateToInt(r.Left + i), SaturateToInt(r.Top + i), SaturateToInt(r.Right - i),
                         SaturateToInt(r.Bottom - i)};
        };
        // Each ellipse lies inside the one before: the walk starts at the last one that still covers
        // all the device shows and stops where they leave it.
        const auto covers = [&](std::int64_t i) {
            const TRect e = ring(i);
            const double cx = (double(e.Left) + e.Right) / 2;
            const double cy = (double(e.Top) + e.Bottom) / 2;
            const double ax = (double(e.Right) - e.Left) / 2;
            const double ay = (double(e.Bottom) - e.Top) / 2;
            if (ax <= 0 || ay <= 0) return false;
            for (const double x : {seen.Left, seen.Right})
                for (const double y : {seen.Top, seen.Bottom})
                    if (std::pow((x - cx) / ax, 2) + std::pow((y - cy) / ay, 2) > 1) return false;
            return true;
        };
        const double reach = std::min({seen.Right - r.Left, seen.Bottom - r.Top, r.Right - seen.Left,
                                       r.Bottom - seen.Top});
        Steps s = stepsSeen(0, n, 0, reach, std::min(seen.PixelsX, seen.PixelsY));
        std::int64_t lo = s.first;
        std::int64_t hi = s.last;
        while (lo < hi) {
            const std::int64_t mid = lo + (hi - lo + 1) / 2;
            if (covers(mid))
                lo = mid;
            else
                hi = mid - 1;
        }
        if (lo > s.first && covers(lo)) s.first = lo;
        walk(capped(s, kMaxRings), [&](std::int64_t i) {
            const TRect e = ring(i);
            canvas.SelectBrush({GradientColor(color, toColor, int(i), SaturateToInt(n)), bsSolid});
            canvas.Ellipse(e.Left, e.Top, e.Right, e.Bottom);
        });
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

void TZVFrame::PaintFrame(TZVCanvas& canvas, TPoint origin, int target, int height) const
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
    const TRect outer{SaturateToInt(std::int64_t(origin.X) + m_dist1),
                      SaturateToInt(std::int64_t(origin.Y) + m_dist1),
                      SaturateToInt(std::int64_t(origin.X) + measure.Width() - m_dist1 + 1),
                      SaturateToInt(std::int64_t(origin.Y) + (height > 0 ? height : measure.Height()) - m_dist1 + 1)};
    outline(outer);
    if (m_style == fsTwoLine) outline(shrunk(outer, m_dist2));
}

} // namespace zorvel
