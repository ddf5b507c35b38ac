// The design editor: one label at a zoom between two rulers, with draw tools, selection,
// direct manipulation, keyboard nudging, cached paint layers and the editing commands.
#pragma once

#include "document/ZVCustomLab.h"
#include "editor/ZVEditorHost.h"
#include "editor/ZVGrid.h"
#include "editor/ZVRulers.h"
#include "foundation/ZVStream.h"
#include "foundation/ZVTypes.h"
#include "zorvel_widgets_export.h"

#include <QFrame>
#include <QList>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class QPainter;

namespace zorvel {

class TZVBackLab;
class TZVBaseInspector;
class TZVBaseScroll;
class TZVCanvas;
class TZVDataSet;
class TZVElement;
class LayerCache;
class TZVLeftRuler;
class TZVMargin;
class TZVTopRuler;

/// The three cached paint layers of the surface, bottom to top.
enum TZVLayerId : int { lyBackground = 0, lyContent = 1, lySelection = 2 };
/// Number of TZVLayerId values, the size of per-layer arrays.
inline constexpr int kZvLayerCount = 3;

/// How a layer is cached: a surface-sized image drawn once per change, or a recorded picture
/// replayed on every composition.
enum class TZVLayerStrategy : std::uint8_t { Raster, Picture };

/// What a left-button drag on the surface changes (the surface's DragKind).
enum TZVDragKind : std::uint8_t {
    dkMove = 0,        ///< the single selected box or text, by its body
    dkTop = 1,         ///< edge handles of a single box
    dkLeft = 2,
    dkBottom = 3,
    dkRight = 4,
    dkLineStart = 5,   ///< line end handles
    dkLineEnd = 6,
    dkLineMove = 7,    ///< a single line, by its body
    dkGroupMove = 8,   ///< several elements
};

/// Which handles the selection offers (the surface's MarkMode).
enum TZVMarkMode : std::uint8_t {
    mmNone = 0,     ///< no handles
    mmLine = 1,     ///< a single line: its two end handles
    mmMoveOnly = 2, ///< a single element that can only be moved
    mmBox = 3,      ///< a single box: four edge handles
    mmGroup = 5,    ///< several elements
};

/// The behaviour of the design editor; TZVEditor links itself to a label when it is created.
/// Coordinates named x, y without a unit are surface pixels; lengths of the label are model units
/// (hundredths of a millimetre).
class ZORVEL_WIDGETS_EXPORT TZVCustomEditor : public QFrame, public TZVEditorHost
{
    Q_OBJECT
    Q_PROPERTY(zorvel::TZVCustomLab* Zorvel READ Zorvel WRITE SetZorvel DESIGNABLE false)
    Q_PROPERTY(zorvel::TZVDrawTool DrawTool READ DrawTool WRITE SetDrawTool)
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
    Q_PROPERTY(bool AllowEdit READ AllowEdit WRITE SetAllowEdit)
    Q_PROPERTY(zorvel::TZVGrid* Grid READ Grid WRITE SetGrid DESIGNABLE false)
    Q_PROPERTY(zorvel::TZVSnap Snap READ Snap WRITE SetSnap)
    Q_PROPERTY(zorvel::TZVZoom Zoom READ Zoom WRITE SetZoom)
    Q_PROPERTY(zorvel::TZVRulers* Rulers READ Rulers WRITE SetRulers DESIGNABLE false)
    Q_PROPERTY(zorvel::TZVineMove LineMove READ LineMove WRITE SetLineMove)
    Q_PROPERTY(quint32 SelColor READ SelColor WRITE SetSelColor)
    Q_PROPERTY(quint32 SelMultiColor READ SelMultiColor WRITE SetSelMultiColor)
    Q_PROPERTY(zorvel::TZVBar BarCodeType READ BarCodeType WRITE SetBarCodeType)

public:
    /// Builds the rulers, the scroll box, the surface and the grid as children; no label yet.
    explicit TZVCustomEditor(QWidget* parent = nullptr);
    /// Detaches the label and the inspector linked to the editor; neither is deleted.
    ~TZVCustomEditor() override;
    Q_DISABLE_COPY_MOVE(TZVCustomEditor)

    // ---- Published settings ----
    /// The label shown and edited, or null; not owned.
    TZVCustomLab* Zorvel() const override { return m_label; }
    /// Ignores null and the label already shown; the label is not owned.
    void SetZorvel(TZVCustomLab* label);
    /// The inspector kept in step with the selection, or null.
    TZVBaseInspector* Inspector() const { return m_inspector; }
    /// Not owned; the editor forgets it when it is destroyed (if it is a QObject).
    void SetInspector(TZVBaseInspector* inspector);
    /// What the next left click on the surface does: select, or place an element of a kind.
    TZVDrawTool DrawTool() const { return m_drawTool; }
    /// Fires OnChangeDrawTool first; without AllowEdit the selection tool is taken instead.
    void SetDrawTool(TZVDrawTool tool);
    /// The symbology of bar codes the bar code tool places; its cursor shows 2D kinds.
    /// @{
    TZVBar BarCodeType() const { return m_barCodeType; }
    void SetBarCodeType(TZVBar type);
    /// @}
    /// Colour around the label (scroll box and margins), 0xBBGGRR.
    TZVColor Color() const { return m_color; }
    /// Sets Color and repaints the area around the label.
    void SetColor(TZVColor value);
    /// False makes the editor a viewer: the mouse neither selects nor changes anything.
    bool AllowEdit() const { return m_allowEdit; }
    /// Switching editing off also takes the selection tool.
    void SetAllowEdit(bool value);
    /// The grid settings, owned by the editor; never null.
    TZVGrid* Grid() const { return m_grid; }
    /// Copies the settings of `grid`; null is ignored.
    void SetGrid(TZVGrid* grid);
    /// snGrid makes dragged and new elements snap to the grid crossings.
    TZVSnap Snap() const override { return m_snap; }
    /// Takes effect with the next mouse gesture; nothing is repainted.
    void SetSnap(TZVSnap snap) override { m_snap = snap; }
    /// A fixed percentage, or fit to the width or the whole of the view.
    TZVZoom Zoom() const { return m_zoom; }
    /// Resizes the surface, lays out the rulers and repaints.
    void SetZoom(TZVZoom zoom);
    /// The ruler settings, owned by the editor; never null.
    TZVRulers* Rulers() const { return m_rulers; }
    /// Copies the settings of `rulers`; null is ignored.
    void SetRulers(TZVRulers* rulers);
    /// lmOrto keeps dragged line ends horizontal or vertical.
    TZVineMove LineMove() const { return m_lineMove; }
    /// Takes effect with the next drag.
    void SetLineMove(TZVineMove value) { m_lineMove = value; }
    /// Frame colour of a single selected element, 0xBBGGRR.
    TZVColor SelColor() const override { return m_selColor; }
    /// Sets SelColor and repaints the selection.
    void SetSelColor(TZVColor color) override;
    /// Frame colour of the elements of a multiple selection, 0xBBGGRR.
    TZVColor SelMultiColor() const { return m_selMultiColor; }
    /// Takes effect when the selection is next drawn.
    void SetSelMultiColor(TZVColor value) { m_selMultiColor = value; }
    /// Where the image tool's file dialog starts; empty for the dialog's own choice.
    const QString& PictureFolder() const { return m_pictureFolder; }
    /// Sets PictureFolder.
    void SetPictureFolder(const QString& folder) { m_pictureFolder = folder; }

    /// Whether the surface shows the current record of the label's master instead of field
    /// names (the label's ShowData; off by default and without a label).
    bool ShowData() const;
    /// Sets the label's ShowData (nothing without a label); while it is on, the surface is
    /// painted again whenever the master moves to another record, opens or closes.
    void SetShowData(bool value);

    /// Copies label and inspector links, grid and ruler settings, draw tool, zoom, snap and line
    /// mode (the zoom without resizing the surface).
    void Assign(const TZVCustomEditor& source);

    // ---- Events (the sender is always the editor) ----
    /// A mouse button went down on the surface while editing is allowed: surface and screen
    /// pixels, and the point in the label's unit. Fires before the editor acts on the press.
    TZorvelMouseDown OnLabelMouseDown;
    /// The mouse moved over the surface: surface pixels and the point in the label's unit.
    TZorvelMouseMove OnLabelMouseMove;
    /// A mouse button was released on the surface, before the editor finishes the gesture.
    TZorvelMouseDown OnLabelMouseUp;
    /// A right click on the surface; `select` tells whether it hit a selected element, the
    /// selection then kept whole (otherwise it was cleared and the selection tool taken first).
    TZVRightClickEvent OnRightMouse;
    /// A new element was placed on the label and is about to become the selection.
    TZVBeforeInsertEvent OnBeforeInsert;
    /// The draw tool is about to change, from the old to the new tool.
    TZVChangeDrawTool OnChangeDrawTool;
    /// An element alone became the selection (a click or a new element).
    TZVNotifyEvent OnSelect;
    /// The selection gained or lost elements, or was cleared.
    TZVNotifyEvent OnSelectChange;
    /// The selection was double-clicked; the host decides what opens (EditElement, say).
    TZVNotifyEvent OnSelectDblClick;

    /// Asks for the picture file of a new image element: the start folder and the label's filter
    /// in Qt's syntax; an empty answer cancels. Defaults to the platform's file-open dialog.
    std::function<QString(const QString& folder, const QString& filter)> PictureChooser;

    // ---- Painting ----
    /// Painting and refreshing stop until EndUpdate, which refreshes.
    void BeginUpdate();
    /// Paints again and refreshes, with `updateInspector` rebuilding the inspector's rows.
    void EndUpdate(bool updateInspector);
    /// False between BeginUpdate and EndUpdate: nothing is painted meanwhile.
    bool PaintEnabled() const override { return m_paintEnabled; }
    /// Repaints the surface now (layers re-recorded as needed, composed and shown), updates the
    /// handles of the selection, then tells the inspector.
    void Refresh(bool updateInspector, const QString& propertyName = {}) override;
    /// Sizes the surface for the zoom and the label; with `resetScroll` both scroll bars go to 0.
    void RecalcSize(bool resetScroll);
    /// Sizes the surface and scrolls back to the top left.
    void RecalcSize() override { RecalcSize(true); }
    /// Re-records the dirty layers; true when any was recorded.
    bool RenderLayers();
    /// Draws the layers that exist into `painter`, bottom to top, within `area` (surface pixels).
    void DrawLayers(QPainter& painter, const QRect& area) const;
    /// Where the selection layer holds anything (surface pixels); empty without one.
    QRect SelectionLayerBounds() const;
    /// Draws the grid over the whole label onto `canvas` (model units); nothing without a label.
    void DrawGrid(TZVCanvas& canvas);
    /// Draws the frame, and handles, of a selected element into the selection layer being
    /// recorded; ignored outside a recording.
    void DrawSelectionFrame(bool selected, const TRect& modelRect, const TRect& screenRect,
                            bool showHandles) override;
    /// The elements' layer must be recorded again at the next refresh.
    bool ContentDirty() const { return m_contentDirty; }
    /// The selection layer must be recorded again at the next refresh.
    bool SelectionDirty() const { return m_selectionDirty; }
    /// Marks the elements' layer for recording at the next refresh.
    void SetContentDirty() override { m_contentDirty = true; }
    /// Marks the selection layer for recording at the next refresh.
    void SetSelectionDirty() override { m_selectionDirty = true; }
    /// Sets ContentDirty; false keeps the recorded layer.
    void SetContentDirty(bool dirty) { m_contentDirty = dirty; }
    /// Sets SelectionDirty; false keeps the recorded layer.
    void SetSelectionDirty(bool dirty) { m_selectionDirty = dirty; }
    /// Times a layer was recorded since construction.
    int LayerRecordCount(TZVLayerId layer) const { return m_recordCount[layer]; }
    /// How the layers are cached; Raster unless changed.
    TZVLayerStrategy LayerStrategy() const { return m_layerStrategy; }
    /// Drops the cached layers: all three are recorded again the next time.
    void SetLayerStrategy(TZVLayerStrategy strategy);

    // ---- Geometry ----
    /// Scale of the surface against the label's true size on the screen: 1.0 at 100 %.
    double ZoomFactor() const { return m_zoomFactor; }
    /// Horizontal screen resolution the surface is scaled for, dots per inch.
    int DpiX() const { return m_dpiX; }
    /// Vertical screen resolution the surface is scaled for, dots per inch.
    int DpiY() const { return m_dpiY; }
    /// Width of the design surface, surface pixels.
    int SurfaceWidth() const override;
    /// Height of the design surface, surface pixels.
    int SurfaceHeight() const override;
    /// Model units to surface pixels, or back; 0 without a label.
    /// @{
    int ModelToPixelX(int n) const;
    int ModelToPixelY(int n) const;
    int PixelToModelX(int x) const;
    int PixelToModelY(int y) const;
    /// @}
    /// Surface pixels to the label's unit; 0 without a label.
    /// @{
    float PixelToUnitX(int x) const;
    float PixelToUnitY(int y) const;
    /// @}
    /// The nearest grid crossing when snapping to the grid, else `p` itself.
    TPoint SnapPoint(TPoint p) const;
    /// The draw tool's cursor number (ZVCursors.h).
    int CursorId() const { return m_cursorId; }

    // ---- Selection ----
    /// The selected elements in the order they were selected; the label owns them.
    const QList<TZVElement*>& Selection() const { return m_selection; }
    /// Number of selected elements.
    int SelCount() const { return static_cast<int>(m_selection.size()); }
    /// 1-based; null out of range.
    TZVElement* SelectedAt(int i) const;
    /// The element selected first, whose handles and properties are shown; null when none.
    TZVElement* FirstSelected() const;
    /// Unselects every element and fires OnSelectChange.
    void ClearSelection() override;
    /// Adds `element` (null and selected elements are ignored) and fires OnSelectChange; the
    /// first one becomes the label's current element.
    void AddToSelection(TZVElement* element);
    /// Takes `element` out of the selection; true when it was in it.
    bool Unselect(TZVElement* element);
    /// Same as Unselect, for the label removing an element.
    void RemoveFromSelection(TZVElement* element) override { Unselect(element); }
    /// The selection becomes `element` alone (used for new elements); fires OnSelect.
    void SelectOnly(TZVElement* element);
    /// With `whole` the elements lying completely inside `rect`, else those touching it.
    void SelectInRect(const TRect& rect, bool whole);
    /// Clicks the topmost element under `p`: it becomes the selection, or with `shift` it is
    /// added or taken away. False when nothing is hit.
    bool HitElement(TPoint p, bool shift);
    /// True when a selected element lies under `p` (surface pixels).
    bool HitSelection(TPoint p) const;
    /// Selects every element of the label, in drawing order from the top.
    void SelectAll();
    /// The selection as indexes into the label's element list, and set back from such indexes.
    /// @{
    QList<int> SelectedIndexes() const override;
    void SelectIndexes(const QList<int>& indexes) override;
    /// @}

    // ---- Undo (the history is the label's UndoStack, shared with its inspector and dialogs) ----
    /// Takes back the last step, or does again the last one taken back; nothing without one.
    /// @{
    void Undo();
    void Redo();
    /// @}
    /// Whether there is a step to take back, or to do again.
    /// @{
    bool CanUndo() const;
    bool CanRedo() const;
    /// @}

    // ---- Commands ----
    /// Opens the dialog of the label's current element; nothing without a label.
    void EditElement();
    /// 0..3 onto the label's guides (left, top, right, bottom); 4..7 onto the first selected
    /// element's X1, Y1, X2, Y2.
    void AlignSelection(int kind);
    /// Writes the selected elements to the editor's own clipboard stream (not the system's).
    void CopySelection();
    /// Copies, then deletes the selection; the next paste puts the elements back in place.
    void CutSelection();
    /// (x, y) in surface pixels puts the elements' top-left corner there; (0, 0) pastes beside
    /// the copied elements, or in their place after a cut.
    void PasteClipboard(int x, int y);
    /// True once something was copied or cut.
    bool HasClipboard() const { return m_clipStream.Size() > 0; }
    /// Forgets what was copied or cut.
    void EmptyClipboard() { m_clipStream.Clear(); }
    /// Removes the selected elements from the label and deletes them.
    void DeleteSelection();
    /// Asked before the Delete or Backspace key deletes the selection; clearing `allow` keeps it.
    std::function<void(QObject* Sender, bool& Allow)> OnBeforeDelete;
    /// The zoom changed, whoever changed it (SetZoom, Ctrl+wheel), so a host's zoom box can follow.
    std::function<void(QObject* Sender)> OnZoomChange;
    /// Moves the first selected element to the top of the drawing order.
    void BringToFront();
    /// Moves the first selected element to the bottom of the drawing order.
    void SendToBack();
    /// The clipboard: an element count, then each element's stream.
    /// @{
    TZVMemoryStream& ClipStream() { return m_clipStream; }
    const TZVMemoryStream& ClipStream() const { return m_clipStream; }
    /// @}
    /// True when the clipboard was filled by a cut, so that a paste at (0, 0) keeps the place.
    bool FromCut() const { return m_fromCut; }

    // ---- Children ----
    /// The design surface; a child widget owned by the editor.
    TZVBackLab* Surface() const { return m_surface; }
    /// The scroll box around the surface; a child widget owned by the editor.
    TZVBaseScroll* ScrollBox() const { return m_scrollBox; }
    /// The ruler above the label; a child widget owned by the editor.
    TZVTopRuler* TopRuler() const { return m_topRuler; }
    /// The ruler left of the label; a child widget owned by the editor.
    TZVLeftRuler* LeftRuler() const { return m_leftRuler; }
    /// The strip below the surface; a child widget owned by the editor.
    TZVMargin* BottomMargin() const { return m_bottomMargin; }
    /// The strip right of the surface; a child widget owned by the editor.
    TZVMargin* RightMargin() const { return m_rightMargin; }

    // ---- Grid, rulers and label links ----
    /// Grid step across, model units.
    int GridIncX() const override;
    /// Grid step down, model units.
    int GridIncY() const override;
    /// Colour of the grid's dots or lines, 0xBBGGRR.
    TZVColor GridColor() const override;
    /// Whether the grid is drawn.
    bool GridShow() const override;
    /// Applies grid settings read from a label stream, steps in model units; all zeros (a
    /// design saved with no editor linked) are ignored.
    void SetGridSettings(TZVColor color, int incX, int incY, bool show) override;
    /// Shows or hides the guide markers on the rulers.
    void ShowGuideMarks(bool show) override;
    /// Moves the ruler guide markers to the label's guides, model units.
    void SetGuideMarks(int guideX, int guideY) override;
    /// Has the inspector rebuild its rows.
    void RefreshInspector() override;
    /// Has the inspector refresh the row of the property `name`.
    void RefreshProperty(const QString& name) override;
    /// Graduates the rulers in `units`.
    void UnitsChanged(TZVUnits units) override;
    /// Another editor shows the label: the selection is emptied and this editor shows no label.
    void LabelTaken() override;

    // ---- Loading (a host that restores saved settings brackets them) ----
    /// True between SetLoading(true) and Loaded.
    bool IsLoading() const override { return m_loading; }
    /// True while the editor is being destroyed, so that children stop calling back.
    bool IsDestroying() const override { return m_destroying; }
    /// Starts (or ends, without applying anything) the loading of saved settings.
    void SetLoading(bool loading) { m_loading = loading; }
    /// Ends loading: the surface is sized and the grid steps kept meanwhile are applied.
    void Loaded();

protected:
    /// The editing keys: undo, redo, clipboard, select all, delete, Escape; arrows move the
    /// selection finely, Ctrl+arrow by a grid step, Shift+arrow resizes it by one.
    void keyPressEvent(QKeyEvent* event) override;
    /// Claims the editing keys before application shortcuts while the editor has the focus.
    bool event(QEvent* event) override;
    /// Lays out rulers and scroll box, and sizes the surface again (fitting zooms follow).
    void resizeEvent(QResizeEvent* event) override;
    /// Lays the children out again when a ruler changes size.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TZVBackLab;

    // Direct manipulation, called by the surface (ZVEditorMouse.cpp); `global` is the screen point.
    void surfaceMouseDown(Qt::MouseButton button, bool shift, int x, int y, QPoint global);
    void surfaceMouseMove(bool shift, int x, int y);
    void surfaceMouseUp(Qt::MouseButton button, bool shift, int x, int y, QPoint global);
    void surfaceDoubleClick();
    void startSelectionGesture(bool shift, int x, int y);
    void dragStep(int x, int y);
    void finishDrag();
    void finishBand(int x, int y);
    void insertCreated(TZVElement* element);
    void updateHoverCursor(int x, int y);
    TZVElement* createAt(TZVDrawTool tool);
    void cancelGesture();
    void nudge(int key, bool ctrl, bool shift);
    void wheelZoom(int delta, QPointF at);
    void beginGestureChange();
    void endGestureChange(const QString& text);

    // ZVEditorLayers.cpp.
    void recordLayer(TZVLayerId layer);
    void dropLayers();

    // ZVEditorShowData.cpp: follows the master whose records the surface shows.
    void watchRecords();
    void unwatchRecords();
    void recordMoved();

    // Selection helpers.
    void updateMarks();
    void selectionChanged();
    void dropLabel();
    void forgetLabel();
    void forgetInspector();
    void layoutChildren();
    void applyColor();

    QPointer<TZVCustomLab> m_label;
    QMetaObject::Connection m_labelWatch;
    QPointer<TZVDataSet> m_watchedData;
    QMetaObject::Connection m_dataWatch;
    TZVBaseInspector* m_inspector = nullptr;
    QMetaObject::Connection m_inspectorWatch;

    TZVRulers* m_rulers = nullptr;
    TZVGrid* m_grid = nullptr;
    TZVTopRuler* m_topRuler = nullptr;
    TZVLeftRuler* m_leftRuler = nullptr;
    TZVBaseScroll* m_scrollBox = nullptr;
    TZVBackLab* m_surface = nullptr;
    TZVMargin* m_bottomMargin = nullptr;
    TZVMargin* m_rightMargin = nullptr;

    TZVDrawTool m_drawTool = dwSelection;
    TZVBar m_barCodeType = CODE39;
    TZVColor m_color = kZvBtnFace;
    bool m_allowEdit = true;
    TZVSnap m_snap = snNone;
    TZVZoom m_zoom = zm100;
    TZVineMove m_lineMove = lmNone;
    TZVColor m_selColor = 255;
    TZVColor m_selMultiColor = 0x808080;
    QString m_pictureFolder;

    bool m_paintEnabled = false;
    bool m_contentDirty = false;
    bool m_selectionDirty = false;
    bool m_loading = false;
    bool m_destroying = false;
    double m_zoomFactor = 1.0;
    int m_dpiX = 96;
    int m_dpiY = 96;
    int m_cursorId = 0;

    TZVLayerStrategy m_layerStrategy = TZVLayerStrategy::Raster;
    std::array<std::unique_ptr<LayerCache>, kZvLayerCount> m_layers;
    std::array<int, kZvLayerCount> m_recordCount{};
    /// The canvas of the layer being recorded, for the selection frames elements ask for.
    TZVCanvas* m_recordingCanvas = nullptr;

    QList<TZVElement*> m_selection;
    // A mouse gesture that may change the design is being recorded as one undo step.
    bool m_gestureChange = false;
    // Where the pointer last was over the surface, for pasting there; surface pixels.
    QPoint m_lastMouse{-1, -1};
    TZVMemoryStream m_clipStream;
    bool m_fromCut = false;
};

/// The published editor: created inside a form, it shows the form's first label, or a new one.
class ZORVEL_WIDGETS_EXPORT TZVEditor : public TZVCustomEditor
{
    Q_OBJECT

public:
    /// With a parent: its first TZVLab child becomes the label, else a new TZVLab named
    /// "ZVLab_01" is made there. Without a parent there is no label.
    explicit TZVEditor(QWidget* parent = nullptr);

    /// The editor properties dialog, modal, as the registered TZVEditorDialogs opens it; nothing
    /// without one.
    void ShowProperties();
};

} // namespace zorvel
