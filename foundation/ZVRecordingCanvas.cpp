// TZVRecordingCanvas: the call log, its line format, and the fixed text metrics used without an inner canvas.
#include "foundation/ZVRecordingCanvas.h"

#include <QImage>
#include <QPicture>

#include <cstdio>
#include <iterator>

namespace zorvel {

namespace {

// Cell height of a font whose height is 0.
constexpr int kDefaultCell = 12;

std::string joined(const std::vector<int>& values)
{
    std::string s;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) s += ", ";
        s += std::to_string(values[i]);
    }
    return s;
}

std::string call(std::string_view op, const std::string& args)
{
    return std::string(op) + '(' + args + ')';
}

std::string colorText(TZVColor color)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%06X", unsigned(color));
    return buffer;
}

std::string quoted(const QString& text)
{
    return '"' + text.toStdString() + '"';
}

const char* mapModeName(TZVMapMode mode)
{
    return mode == mmAnisotropic ? "mmAnisotropic" : "mmText";
}

const char* penStyleName(TZVPenStyle style)
{
    static constexpr const char* kNames[] = {"psSolid",      "psDash",  "psDot",        "psDashDot",
                                             "psDashDotDot", "psClear", "psInsideFrame"};
    return style < std::size(kNames) ? kNames[style] : "?";
}

const char* penCapName(TZVPenCap cap)
{
    static constexpr const char* kNames[] = {"pcRound", "pcSquare", "pcFlat"};
    return cap < std::size(kNames) ? kNames[cap] : "?";
}

const char* penJoinName(TZVPenJoin join)
{
    static constexpr const char* kNames[] = {"pjRound", "pjBevel", "pjMiter"};
    return join < std::size(kNames) ? kNames[join] : "?";
}

const char* ropName(TZVRop2 mode)
{
    static constexpr const char* kNames[] = {"r2CopyPen", "r2NotXorPen", "r2XorPen"};
    return mode < std::size(kNames) ? kNames[mode] : "?";
}

std::string boxText(const TRect& r)
{
    return joined({r.Left, r.Top, r.Right, r.Bottom});
}

} // namespace

TZVRecordingCanvas::TZVRecordingCanvas(TZVCanvas* inner, const TZVDeviceCaps& caps)
    : m_inner(inner), m_caps(caps)
{
}

void TZVRecordingCanvas::record(std::string op, std::vector<int> args, std::string line, QString text)
{
    m_calls.push_back({std::move(op), std::move(args), std::move(text), std::move(line)});
}

std::vector<std::string> TZVRecordingCanvas::Log() const
{
    std::vector<std::string> lines;
    lines.reserve(m_calls.size());
    for (const TZVCanvasCall& c : m_calls)
        lines.push_back(c.Line);
    return lines;
}

std::vector<std::string> TZVRecordingCanvas::Log(std::string_view op) const
{
    std::vector<std::string> lines;
    for (const TZVCanvasCall& c : m_calls)
        if (c.Op == op) lines.push_back(c.Line);
    return lines;
}

int TZVRecordingCanvas::GetDeviceCaps(TZVDeviceCap cap) const
{
    return m_inner ? m_inner->GetDeviceCaps(cap) : DeviceCap(m_caps, cap);
}

// ---- Mapping ----

void TZVRecordingCanvas::SetMapMode(TZVMapMode mode)
{
    record("SetMapMode", {mode}, call("SetMapMode", mapModeName(mode)));
    m_state.Mapping.Mode = mode;
    if (m_inner) m_inner->SetMapMode(mode);
}

void TZVRecordingCanvas::SetWindowOrgEx(int x, int y)
{
    record("SetWindowOrgEx", {x, y}, call("SetWindowOrgEx", joined({x, y})));
    m_state.Mapping.WindowOrg = {x, y};
    if (m_inner) m_inner->SetWindowOrgEx(x, y);
}

void TZVRecordingCanvas::SetWindowExtEx(int cx, int cy)
{
    record("SetWindowExtEx", {cx, cy}, call("SetWindowExtEx", joined({cx, cy})));
    if (cx != 0 && cy != 0) m_state.Mapping.WindowExt = {cx, cy};
    if (m_inner) m_inner->SetWindowExtEx(cx, cy);
}

void TZVRecordingCanvas::SetViewportOrgEx(int x, int y)
{
    record("SetViewportOrgEx", {x, y}, call("SetViewportOrgEx", joined({x, y})));
    m_state.Mapping.ViewportOrg = {x, y};
    if (m_inner) m_inner->SetViewportOrgEx(x, y);
}

void TZVRecordingCanvas::SetViewportExtEx(int cx, int cy)
{
    record("SetViewportExtEx", {cx, cy}, call("SetViewportExtEx", joined({cx, cy})));
    if (cx != 0 && cy != 0) m_state.Mapping.ViewportExt = {cx, cy};
    if (m_inner) m_inner->SetViewportExtEx(cx, cy);
}

TZVMapping TZVRecordingCanvas::GetMapping() const
{
    return m_inner ? m_inner->GetMapping() : m_state.Mapping;
}

TPoint TZVRecordingCanvas::LPtoDP(TPoint p) const
{
    return m_inner ? m_inner->LPtoDP(p) : m_state.Mapping.LPtoDP(p);
}

TPoint TZVRecordingCanvas::DPtoLP(TPoint p) const
{
    return m_inner ? m_inner->DPtoLP(p) : m_state.Mapping.DPtoLP(p);
}

// ---- State ----

void TZVRecordingCanvas::SaveDC()
{
    record("SaveDC", {}, "SaveDC()");
    m_saved.push_back(m_state);
    if (m_inner) m_inner->SaveDC();
}

void TZVRecordingCanvas::RestoreDC()
{
    record("RestoreDC", {}, "RestoreDC()");
    if (!m_saved.empty()) {
        m_state = m_saved.back();
        m_saved.pop_back();
    }
    if (m_inner) m_inner->RestoreDC();
}

void TZVRecordingCanvas::SelectPen(const TZVPen& pen)
{
    record("SelectPen", {int(pen.Color), pen.Width, pen.Style, pen.Cap, pen.Join},
           call("SelectPen", colorText(pen.Color) + ", " + std::to_string(pen.Width) + ", " +
                                 penStyleName(pen.Style) + ", " + penCapName(pen.Cap) + ", " +
                                 penJoinName(pen.Join)));
    if (m_inner) m_inner->SelectPen(pen);
}

void TZVRecordingCanvas::SelectBrush(const TZVBrush& brush)
{
    record(
        "SelectBrush", {int(brush.Color), brush.Style},
        call("SelectBrush", colorText(brush.Color) + (brush.Style == bsSolid ? ", bsSolid" : ", bsClear")));
    if (m_inner) m_inner->SelectBrush(brush);
}

void TZVRecordingCanvas::SelectFont(const TZVFont& font)
{
    const std::vector<int> flags{font.Bold, font.Italic, font.Underline, font.StrikeOut};
    std::vector<int> args{font.Height, font.Escapement, int(font.Color)};
    args.insert(args.end(), flags.begin(), flags.end());
    record("SelectFont", std::move(args),
           call("SelectFont", quoted(font.Name) + ", " + joined({font.Height, font.Escapement}) + ", " +
                                  colorText(font.Color) + ", " + joined(flags)),
           font.Name);
    m_state.Font = font;
    if (m_inner) m_inner->SelectFont(font);
}

void TZVRecordingCanvas::SetROP2(TZVRop2 mode)
{
    record("SetROP2", {mode}, call("SetROP2", ropName(mode)));
    if (m_inner) m_inner->SetROP2(mode);
}

// ---- Shapes ----

void TZVRecordingCanvas::MoveTo(int x, int y)
{
    record("MoveTo", {x, y}, call("MoveTo", joined({x, y})));
    if (m_inner) m_inner->MoveTo(x, y);
}

void TZVRecordingCanvas::LineTo(int x, int y)
{
    record("LineTo", {x, y}, call("LineTo", joined({x, y})));
    if (m_inner) m_inner->LineTo(x, y);
}

void TZVRecordingCanvas::Polyline(std::span<const TPoint> points)
{
    std::vector<int> args;
    std::string text;
    for (const TPoint& p : points) {
        args.push_back(p.X);
        args.push_back(p.Y);
        text += (text.empty() ? "(" : ", (") + joined({p.X, p.Y}) + ')';
    }
    record("Polyline", std::move(args), call("Polyline", text));
    if (m_inner) m_inner->Polyline(points);
}

void TZVRecordingCanvas::Rectangle(int left, int top, int right, int bottom)
{
    const std::vector<int> args{left, top, right, bottom};
    record("Rectangle", args, call("Rectangle", joined(args)));
    if (m_inner) m_inner->Rectangle(left, top, right, bottom);
}

void TZVRecordingCanvas::RoundRect(int left, int top, int right, int bottom, int width, int height)
{
    const std::vector<int> args{left, top, right, bottom, width, height};
    record("RoundRect", args, call("RoundRect", joined(args)));
    if (m_inner) m_inner->RoundRect(left, top, right, bottom, width, height);
}

void TZVRecordingCanvas::Ellipse(int left, int top, int right, int bottom)
{
    const std::vector<int> args{left, top, right, bottom};
    record("Ellipse", args, call("Ellipse", joined(args)));
    if (m_inner) m_inner->Ellipse(left, top, right, bottom);
}

void TZVRecordingCanvas::Pie(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2)
{
    const std::vector<int> args{left, top, right, bottom, x1, y1, x2, y2};
    record("Pie", args, call("Pie", joined(args)));
    if (m_inner) m_inner->Pie(left, top, right, bottom, x1, y1, x2, y2);
}

void TZVRecordingCanvas::FillRect(const TRect& r)
{
    record("FillRect", {r.Left, r.Top, r.Right, r.Bottom}, call("FillRect", boxText(r)));
    if (m_inner) m_inner->FillRect(r);
}

void TZVRecordingCanvas::FillRects(std::span<const TRect> rects)
{
    std::vector<int> args;
    std::string text;
    for (const TRect& r : rects) {
        args.insert(args.end(), {r.Left, r.Top, r.Right, r.Bottom});
        text += (text.empty() ? "(" : ", (") + boxText(r) + ')';
    }
    record("FillRects", std::move(args), call("FillRects", text));
    if (m_inner) m_inner->FillRects(rects);
}

void TZVRecordingCanvas::SetPixel(int x, int y, TZVColor color)
{
    record("SetPixel", {x, y, int(color)}, call("SetPixel", joined({x, y}) + ", " + colorText(color)));
    if (m_inner) m_inner->SetPixel(x, y, color);
}

// ---- Text ----

void TZVRecordingCanvas::SetTextAlign(unsigned align)
{
    record("SetTextAlign", {int(align)}, call("SetTextAlign", std::to_string(align)));
    if (m_inner) m_inner->SetTextAlign(align);
}

void TZVRecordingCanvas::SetTextCharacterExtra(int extra)
{
    record("SetTextCharacterExtra", {extra}, call("SetTextCharacterExtra", std::to_string(extra)));
    m_state.CharExtra = extra;
    if (m_inner) m_inner->SetTextCharacterExtra(extra);
}

void TZVRecordingCanvas::SetTextJustification(int breakExtra, int breakCount)
{
    record("SetTextJustification", {breakExtra, breakCount},
           call("SetTextJustification", joined({breakExtra, breakCount})));
    m_state.BreakExtra = breakExtra;
    m_state.BreakCount = breakCount;
    if (m_inner) m_inner->SetTextJustification(breakExtra, breakCount);
}

void TZVRecordingCanvas::ExtTextOut(int x, int y, const QString& text)
{
    record("ExtTextOut", {x, y}, call("ExtTextOut", joined({x, y}) + ", " + quoted(text)), text);
    if (m_inner) m_inner->ExtTextOut(x, y, text);
}

int TZVRecordingCanvas::fixedCell() const
{
    const int height = m_state.Font.Height;
    return height > 0 ? height : height < 0 ? -height : kDefaultCell;
}

TZVSize TZVRecordingCanvas::GetTextExtentPoint(const QString& text) const
{
    if (m_inner) return m_inner->GetTextExtentPoint(text);
    const int cell = fixedCell();
    int width = int(text.size()) * (cell / 2 + m_state.CharExtra);
    if (m_state.BreakCount > 0)
        width += qRound(double(text.count(QLatin1Char(' '))) * m_state.BreakExtra / m_state.BreakCount);
    return {width, cell};
}

TZVTextMetric TZVRecordingCanvas::GetTextMetrics() const
{
    if (m_inner) return m_inner->GetTextMetrics();
    const int cell = fixedCell();
    TZVTextMetric tm;
    tm.Height = cell;
    tm.Ascent = cell * 4 / 5;
    tm.Descent = cell - tm.Ascent;
    tm.AveCharWidth = cell / 2;
    tm.MaxCharWidth = cell / 2;
    return tm;
}

// ---- Clipping and pictures ----

void TZVRecordingCanvas::SelectClipRgn(const TZVRegion* region)
{
    std::vector<int> args;
    std::string text;
    if (region) {
        for (const TZVRegionPart& part : region->Parts) {
            args.insert(args.end(),
                        {part.Shape, part.Box.Left, part.Box.Top, part.Box.Right, part.Box.Bottom});
            text += (text.empty() ? "" : " + ") +
                    call(part.Shape == TZVRegionPart::rpEllipse ? "ellipse" : "rect", boxText(part.Box));
        }
    } else {
        text = "null";
    }
    record("SelectClipRgn", std::move(args), call("SelectClipRgn", text));
    if (m_inner) m_inner->SelectClipRgn(region);
}

void TZVRecordingCanvas::OffsetClipRgn(int dx, int dy)
{
    record("OffsetClipRgn", {dx, dy}, call("OffsetClipRgn", joined({dx, dy})));
    if (m_inner) m_inner->OffsetClipRgn(dx, dy);
}

void TZVRecordingCanvas::StretchDraw(const TRect& dest, const QImage& image)
{
    record("StretchDraw", {dest.Left, dest.Top, dest.Right, dest.Bottom, image.width(), image.height()},
           call("StretchDraw", boxText(dest) + ", image " + std::to_string(image.width()) + 'x' +
                                   std::to_string(image.height())));
    if (m_inner) m_inner->StretchDraw(dest, image);
}

void TZVRecordingCanvas::StretchDrawPicture(const TRect& dest, const QPicture& picture)
{
    const QRect frame = picture.boundingRect();
    record(
        "StretchDrawPicture",
        {dest.Left, dest.Top, dest.Right, dest.Bottom, frame.left(), frame.top(), frame.width(),
         frame.height()},
        call("StretchDrawPicture", boxText(dest) + ", picture " +
                                       joined({frame.left(), frame.top(), frame.width(), frame.height()})));
    if (m_inner) m_inner->StretchDrawPicture(dest, picture);
}

} // namespace zorvel
