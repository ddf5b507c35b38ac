// The one drawing entry every element goes through, and the lock marker.
#include "document/ZVCustomLab.h"
#include "document/ZVEditorLink.h"
#include "document/ZVElement.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVDataSet.h"
#include "foundation/ZVError.h"
#include "foundation/ZVUtils.h"

namespace zorvel {
namespace {

constexpr TZVColor kLockMarkerColor = 128;        // dark red
constexpr TZVColor kLockMarkerInsetColor = 0x00FFFF; // yellow

// The designer shows the master's current record only when asked to and when there is one to read.
bool editorShowsRecord(const TZVCustomLab& label)
{
    const TZVDataSet* master = label.DataSet();
    return label.ShowData() && master && master->Active();
}

} // namespace

void TZVElement::Paint(TZVCanvas& canvas, TPoint offset, int target, int dataMode)
{
    switch (target) {
    case ptEditor:
        break;
    case ptPrinter:
        if (!m_print || (SilencedWithoutPrinterOutput() && m_owner->NoPrinterOutput()))
            return;
        break;
    case ptPreviewPage:
    case ptEditorPicture:
        if (!m_print)
            return;
        break;
    default:
        return;
    }
    if (target != ptEditor) {
        PaintElement(canvas, offset, target, dataMode == 1);
        return;
    }
    if (dataMode == 1 && editorShowsRecord(*m_owner)) {
        // A field the master lacks fails only the print run; the designer shows the element
        // as it would without data rather than losing the whole surface.
        try {
            PaintElement(canvas, offset, target, true);
        } catch (const EZvError&) {
            PaintElement(canvas, offset, target, false);
        }
    } else {
        PaintElement(canvas, offset, target, false);
    }
    m_screenRect = canvas.LPtoDP(m_modelRect);
    NormalizeRect(m_screenRect);
    if (TZVEditorLink* editor = m_owner->Editor())
        editor->DrawSelectionFrame(m_selected, m_modelRect, m_screenRect, m_handleKind == 3);
}

void TZVElement::PaintLockMarker(TZVCanvas& canvas, TPoint offset) const
{
    // Eight device pixels whatever the zoom.
    const int side = canvas.DPtoLP({kLockMarkerPixels, 0}).X - canvas.DPtoLP({0, 0}).X;
    const int left = m_modelRect.Left + offset.X;
    const int top = m_modelRect.Top + offset.Y;
    canvas.SelectBrush(TZVBrush{kLockMarkerColor, bsSolid});
    canvas.FillRect({left, top, left + side, top + side});
    const int inset = side / 4;
    canvas.SelectBrush(TZVBrush{kLockMarkerInsetColor, bsSolid});
    canvas.FillRect({left + inset, top + inset, left + side - inset, top + side - inset});
}

} // namespace zorvel
