// What a label and its elements ask of the design editor linked to them.
#pragma once

#include "foundation/ZVTypes.h"
#include "zorvel_core_export.h"

#include <QList>
#include <QString>

namespace zorvel {

class TZVElement;

/// The design editor implements this; the label holds at most one link and the element setters
/// reach the editor only through the label. Lengths are model units, surface sizes device pixels.
class ZORVEL_CORE_EXPORT TZVEditorLink
{
public:
    virtual ~TZVEditorLink() = default;

    /// Snapping, grid (increments in model units) and selection colour, also kept in the label stream.
    /// @{
    virtual TZVSnap Snap() const = 0;
    virtual void SetSnap(TZVSnap snap) = 0;
    virtual int GridIncX() const = 0;
    virtual int GridIncY() const = 0;
    virtual TZVColor GridColor() const = 0;
    virtual bool GridShow() const = 0;
    virtual TZVColor SelColor() const = 0;
    virtual void SetGridSettings(TZVColor color, int incX, int incY, bool show) = 0;
    virtual void SetSelColor(TZVColor color) = 0;
    /// @}

    /// The drawing surface, in device pixels at the current zoom.
    /// @{
    virtual int SurfaceWidth() const = 0;
    virtual int SurfaceHeight() const = 0;
    /// @}
    /// The label's size changed: the surface is sized again.
    virtual void RecalcSize() = 0;

    /// Cached layers; the background's own flag lives in the label's background settings.
    /// @{
    virtual void SetContentDirty() = 0;
    virtual void SetSelectionDirty() = 0;
    virtual bool PaintEnabled() const = 0;
    /// @}
    /// Repaints; with `updateInspector` the inspector is told, naming `propertyName` when one changed.
    virtual void Refresh(bool updateInspector, const QString& propertyName = {}) = 0;

    /// Selection bookkeeping when the label removes elements.
    /// @{
    virtual void RemoveFromSelection(TZVElement* element) = 0;
    virtual void ClearSelection() = 0;
    /// @}

    /// The selection as indexes into the label's element list, in selection order, and set
    /// back from such indexes (out-of-range ones are skipped); undo keeps it with each step.
    /// @{
    virtual QList<int> SelectedIndexes() const { return {}; }
    virtual void SelectIndexes(const QList<int>& indexes) { (void)indexes; }
    /// @}

    /// Ruler guide marks follow the background's alignment guides.
    /// @{
    virtual void ShowGuideMarks(bool show) = 0;
    virtual void SetGuideMarks(int guideX, int guideY) = 0;
    /// @}

    /// The inspector linked to the editor, if any.
    /// @{
    virtual void RefreshInspector() = 0;
    virtual void RefreshProperty(const QString& name) = 0;
    /// @}

    /// The label was linked to another editor: everything held on its elements is let go.
    virtual void LabelTaken() {}

    /// The label's unit changed: the rulers are graduated again.
    virtual void UnitsChanged(TZVUnits units) = 0;

    /// Called by elements painted on the design surface; box elements ask for edge handles.
    virtual void DrawSelectionFrame(bool selected, const TRect& modelRect, const TRect& screenRect,
                                    bool showHandles) = 0;
};

} // namespace zorvel
