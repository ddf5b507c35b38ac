// A recording stand-in for the design editor, shared by the document and element tests.
#pragma once

#include "document/ZVEditorLink.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace zorvel::test {

// Every call the label or an element makes is counted or recorded; the settings the editor
// would own (snap, grid, surface size, paint switch) are plain members a test sets directly.
class TestEditorLink final : public TZVEditorLink
{
public:
    struct RefreshCall
    {
        bool updateInspector = false;
        QString propertyName;
    };
    struct SelectionFrameCall
    {
        bool selected = false;
        TRect modelRect;
        TRect screenRect;
        bool showHandles = false;
    };

    // Settings a test may change.
    TZVSnap snap = snNone;
    int gridIncX = 100;
    int gridIncY = 100;
    TZVColor gridColor = 0x00C0C0C0;
    bool gridShow = false;
    TZVColor selColor = 0x000000FF;
    int surfaceWidth = 800;
    int surfaceHeight = 600;
    bool paintEnabled = true;

    // What was asked of the editor.
    int contentDirtyCount = 0;
    int selectionDirtyCount = 0;
    int recalcSizeCount = 0;
    int clearSelectionCount = 0;
    QList<int> selection;
    int refreshInspectorCount = 0;
    std::vector<RefreshCall> refreshes;
    std::vector<TZVElement*> removedFromSelection;
    QStringList refreshedProperties;
    std::vector<SelectionFrameCall> selectionFrames;
    bool guideMarksShown = false;
    int guideMarkX = 0;
    int guideMarkY = 0;
    TZVUnits units = unMM;

    // Forgets what was recorded, keeping the settings.
    void ResetRecord()
    {
        contentDirtyCount = 0;
        selectionDirtyCount = 0;
        recalcSizeCount = 0;
        clearSelectionCount = 0;
        refreshInspectorCount = 0;
        refreshes.clear();
        removedFromSelection.clear();
        refreshedProperties.clear();
        selectionFrames.clear();
    }

    // The property named by the last refresh, empty when there was none.
    QString LastRefreshedName() const
    {
        return refreshes.empty() ? QString() : refreshes.back().propertyName;
    }

    TZVSnap Snap() const override { return snap; }
    void SetSnap(TZVSnap value) override { snap = value; }
    int GridIncX() const override { return gridIncX; }
    int GridIncY() const override { return gridIncY; }
    TZVColor GridColor() const override { return gridColor; }
    bool GridShow() const override { return gridShow; }
    TZVColor SelColor() const override { return selColor; }
    void SetGridSettings(TZVColor color, int incX, int incY, bool show) override
    {
        gridColor = color;
        gridIncX = incX;
        gridIncY = incY;
        gridShow = show;
    }
    void SetSelColor(TZVColor color) override { selColor = color; }

    int SurfaceWidth() const override { return surfaceWidth; }
    int SurfaceHeight() const override { return surfaceHeight; }
    void RecalcSize() override { ++recalcSizeCount; }

    void SetContentDirty() override { ++contentDirtyCount; }
    void SetSelectionDirty() override { ++selectionDirtyCount; }
    bool PaintEnabled() const override { return paintEnabled; }
    void Refresh(bool updateInspector, const QString& propertyName = {}) override
    {
        refreshes.push_back({updateInspector, propertyName});
    }

    void RemoveFromSelection(TZVElement* element) override { removedFromSelection.push_back(element); }
    void ClearSelection() override { ++clearSelectionCount; }
    QList<int> SelectedIndexes() const override { return selection; }
    void SelectIndexes(const QList<int>& indexes) override { selection = indexes; }

    void ShowGuideMarks(bool show) override { guideMarksShown = show; }
    void SetGuideMarks(int guideX, int guideY) override
    {
        guideMarkX = guideX;
        guideMarkY = guideY;
    }

    void RefreshInspector() override { ++refreshInspectorCount; }
    void RefreshProperty(const QString& name) override { refreshedProperties.append(name); }

    void UnitsChanged(TZVUnits value) override { units = value; }

    void DrawSelectionFrame(bool selected, const TRect& modelRect, const TRect& screenRect,
                            bool showHandles) override
    {
        selectionFrames.push_back({selected, modelRect, screenRect, showHandles});
    }
};

} // namespace zorvel::test
