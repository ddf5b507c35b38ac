// The design editor: one label at a zoom between two rulers, with draw tools, selection,
// direct manipulation, keyboard nudging, cached paint layers and the editing commands.
#pragma once

#include "document/ZVCustomLab.h"
#include "editor/ZVEditorHost.h"
#include "editor/ZVGrid.h"
#include "editor/ZVRulers.h"
#include "foundation/ZVStream.h"
#include "foundation/ZVTypes.h"

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
class TZVElement;
class TZVLayerCache;
class TZVLeftRuler;
class TZVMargin;
class TZVTopRuler;

// The three cached paint layers of the surface, bottom to top.
enum TZVLayerId : int { lyBackground = 0, lyContent = 1, lySelection = 2 };
inline constexpr int kZvLayerCount = 3;

// How a layer is cached: a surface-sized image drawn once per change, or a recorded picture
// replayed on every composition.
enum class TZVLayerStrategy : std::uint8_t { Raster, Picture };

// What a left-button drag on the surface changes (the surface's DragKind).
enum TZVDragKind : std::uint8_t {
    dkMove = 0,        // the single selected box or text, by its body
    dkTop = 1,         // edge handles of a single box
    dkLeft = 2,
    dkBottom = 3,
    dkRight = 4,
    dkLineStart = 5,   // line end handles
    dkLineEnd = 6,
    dkLineMove = 7,    // a single line, by its body
    dkGroupMove = 8,   // several elements
};

// Which handles the selection offers (the surface's MarkMode).
enum TZVMarkMode : std::uint8_t {
    mmNone = 0,
    mmLine = 1,     // a single line: its two end handles
    mmMoveOnly = 2, // a single element that can only be moved
    mmBox = 3,      // a single box: four edge handles
    mmGroup = 5,    // several elements
};

// The behaviour of the design editor; TZVEditor links itself to a label when it is created.
// Coordinates named x, y without a unit are surface pixels; lengths of the label are model units
// (hundredths of a millimetre).
class TZVCustomEditor : public QFrame, public TZVEditorHost
{
    Q_OBJECT
    Q_PROPERTY(zorvel::TZVCustomLab* Zorvel READ Zorvel WRITE SetZorvel)
    Q_PROPERTY(zorvel::TZVDrawTool DrawTool READ DrawTool WRITE SetDrawTool)
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
    Q_PROPERTY(bool AllowEdit READ AllowEdit WRITE SetAllowEdit)
    Q_PROPERTY(zorvel::TZVGrid* Grid READ Grid WRITE SetGrid)
    Q_PROPERTY(zorvel::TZVSnap Snap READ Snap WRITE SetSnap)
    Q_PROPERTY(zorvel::TZVZoom Zoom READ Zoom WRITE SetZoom)
    Q_PROPERTY(zorvel::TZVRulers* Rulers READ Rulers WRITE SetRulers)
    Q_PROPERTY(zorvel::TZVineMove LineMove READ LineMove WRITE SetLineMove)
    Q_PROPERTY(quint32 SelColor READ SelColor WRITE SetSelColor)
    Q_PROPERTY(quint32 SelMultiColor READ SelMultiColor WRITE SetSelMultiColor)

public:
    explicit TZVCustomEditor(QWidget* parent = nullptr);
    ~TZVCustomEditor() override;
    Q_DISABLE_COPY_MOVE(TZVCustomEditor)

    // ---- Published settings ----
    TZVCustomLab* Zorvel() const override { return m_label; }
    // Ignores null and the label already shown; the label is not owned.
    void SetZorvel(TZVCustomLab* label);
    TZVBaseInspector* Inspector() const { return m_inspector; }
    // Not owned; the editor forgets it when it is destroyed (if it is a QObject).
    void SetInspector(TZVBaseInspector* inspector);
    TZVDrawTool DrawTool() const { return m_drawTool; }
    // Fires OnChangeDrawTool first; without AllowEdit the selection tool is taken instead.
    void SetDrawTool(TZVDrawTool tool);
    TZVColor Color() const { return m_color; }
    void SetColor(TZVColor value);
    bool AllowEdit() const { return m_allowEdit; }
    void SetAllowEdit(bool value);
    TZVGrid* Grid() const { return m_grid; }
    // Copies the settings of `grid`; null is ignored.
    void SetGrid(TZVGrid* grid);
    TZVSnap Snap() const override { return m_snap; }
    void SetSnap(TZVSnap snap) override { m_snap = snap; }
    TZVZoom Zoom() const { return m_zoom; }
    void SetZoom(TZVZoom zoom);
    TZVRulers* Rulers() const { return m_rulers; }
    // Copies the settings of `rulers`; null is ignored.
    void SetRulers(TZVRulers* rulers);
    TZVineMove LineMove() const { return m_lineMove; }
    void SetLineMove(TZVineMove value) { m_lineMove = value; }
    TZVColor SelColor() const override { return m_selColor; }
    void SetSelColor(TZVColor color) override;
    TZVColor SelMultiColor() const { return m_selMultiColor; }
    void SetSelMultiColor(TZVColor value) { m_selMultiColor = value; }
    // Where the image tool's file dialog starts; empty for the dialog's own choice.
    const QString& PictureFolder() const { return m_pictureFolder; }
    void SetPictureFolder(const QString& folder) { m_pictureFolder = folder; }

    // Copies label and inspector links, grid and ruler settings, draw tool, zoom, snap and line
    // mode (the zoom without resizing the surface).
    void Assign(const TZVCustomEditor& source);

    // ---- Events (the sender is always the editor) ----
    TZorvelMouseDown OnLabelMouseDown;
    TZorvelMouseMove OnLabelMouseMove;
    TZorvelMouseDown OnLabelMouseUp;
    TZVRightClickEvent OnRightMouse;
    TZVBeforeInsertEvent OnBeforeInsert;
    TZVChangeDrawTool OnChangeDrawTool;
    TZVNotifyEvent OnSelect;
    TZVNotifyEvent OnSelectChange;
    TZVNotifyEvent OnSelectDblClick;

    // Asks for the picture file of a new image element: the start folder and the label's filter
    // in Qt's syntax; an empty answer cancels. Defaults to the platform's file-open dialog.
    std::function<QString(const QString& folder, const QString& filter)> PictureChooser;

    // ---- Painting ----
    // Painting and refreshing stop until EndUpdate, which refreshes.
    void BeginUpdate();
    void EndUpdate(bool updateInspector);
    bool PaintEnabled() const override { return m_paintEnabled; }
    // Repaints the surface now (layers re-recorded as needed, composed and shown), updates the
    // handles of the selection, then tells the inspector.
    void Refresh(bool updateInspector, const QString& propertyName = {}) override;
    // Sizes the surface for the zoom and the label; with `resetScroll` both scroll bars go to 0.
    void RecalcSize(bool resetScroll);
    void RecalcSize() override { RecalcSize(true); }
    // Re-records the dirty layers; true when any was recorded.
    bool RenderLayers();
    // Draws the layers that exist into `painter`, bottom to top, within `area` (surface pixels).
    void DrawLayers(QPainter& painter, const QRect& area) const;
    // Where the selection layer holds anything (surface pixels); empty without one.
    QRect SelectionLayerBounds() const;
    void DrawGrid(TZVCanvas& canvas);
    void DrawSelectionFrame(bool selected, const TRect& modelRect, const TRect& screenRect,
                            bool showHandles) override;
    bool ContentDirty() const { return m_contentDirty; }
    bool SelectionDirty() const { return m_selectionDirty; }
    void SetContentDirty() override { m_contentDirty = true; }
    void SetSelectionDirty() override { m_selectionDirty = true; }
    void SetContentDirty(bool dirty) { m_contentDirty = dirty; }
    void SetSelectionDirty(bool dirty) { m_selectionDirty = dirty; }
    // Times a layer was recorded since construction.
    int LayerRecordCount(TZVLayerId layer) const { return m_recordCount[layer]; }
    TZVLayerStrategy LayerStrategy() const { return m_layerStrategy; }
    // Drops the cached layers: all three are recorded again the next time.
    void SetLayerStrategy(TZVLayerStrategy strategy);

    // ---- Geometry ----
    double ZoomFactor() const { return m_zoomFactor; }
    int DpiX() const { return m_dpiX; }
    int DpiY() const { return m_dpiY; }
    int SurfaceWidth() const override;
    int SurfaceHeight() const override;
    // Model units <-> surface pixels; 0 without a label.
    int ModelToPixelX(int n) const;
    int ModelToPixelY(int n) const;
    int PixelToModelX(int x) const;
    int PixelToModelY(int y) const;
    // Surface pixels -> the label's unit.
    float PixelToUnitX(int x) const;
    float PixelToUnitY(int y) const;
    // The nearest grid crossing when snapping to the grid, else `p` itself.
    TPoint SnapPoint(TPoint p) const;
    // The draw tool's cursor number (ZVCursors.h).
    int CursorId() const { return m_cursorId; }

    // ---- Selection ----
    const QList<TZVElement*>& Selection() const { return m_selection; }
    int SelCount() const { return static_cast<int>(m_selection.size()); }
    // 1-based; null out of range.
    TZVElement* SelectedAt(int i) const;
    TZVElement* FirstSelected() const;
    void ClearSelection() override;
    void AddToSelection(TZVElement* element);
    // Takes `element` out of the selection; true when it was in it.
    bool Unselect(TZVElement* element);
    void RemoveFromSelection(TZVElement* element) override { Unselect(element); }
    // The selection becomes `element` alone (used for new elements); fires OnSelect.
    void SelectOnly(TZVElement* element);
    // With `whole` the elements lying completely inside `rect`, else those touching it.
    void SelectInRect(const TRect& rect, bool whole);
    // Clicks the topmost element under `p`: it becomes the selection, or with `shift` it is
    // added or taken away. False when nothing is hit.
    bool HitElement(TPoint p, bool shift);
    bool HitSelection(TPoint p) const;

    // ---- Commands ----
    // Opens the dialog of the label's current element; nothing without a label.
    void EditElement();
    // 0..3 onto the label's guides (left, top, right, bottom); 4..7 onto the first selected
    // element's X1, Y1, X2, Y2.
    void AlignSelection(int kind);
    void CopySelection();
    void CutSelection();
    // (x, y) in surface pixels puts the elements' top-left corner there; (0, 0) pastes beside
    // the copied elements, or in their place after a cut.
    void PasteClipboard(int x, int y);
    bool HasClipboard() const { return m_clipStream.Size() > 0; }
    void EmptyClipboard() { m_clipStream.Clear(); }
    void DeleteSelection();
    void BringToFront();
    void SendToBack();
    TZVMemoryStream& ClipStream() { return m_clipStream; }
    const TZVMemoryStream& ClipStream() const { return m_clipStream; }
    bool FromCut() const { return m_fromCut; }

    // ---- Children ----
    TZVBackLab* Surface() const { return m_surface; }
    TZVBaseScroll* ScrollBox() const { return m_scrollBox; }
    TZVTopRuler* TopRuler() const { return m_topRuler; }
    TZVLeftRuler* LeftRuler() const { return m_leftRuler; }
    TZVMargin* BottomMargin() const { return m_bottomMargin; }
    TZVMargin* RightMargin() const { return m_rightMargin; }

    // ---- Grid, rulers and label links ----
    int GridIncX() const override;
    int GridIncY() const override;
    TZVColor GridColor() const override;
    bool GridShow() const override;
    void SetGridSettings(TZVColor color, int incX, int incY, bool show) override;
    void ShowGuideMarks(bool show) override;
    void SetGuideMarks(int guideX, int guideY) override;
    void RefreshInspector() override;
    void RefreshProperty(const QString& name) override;
    void UnitsChanged(TZVUnits units) override;

    // ---- Loading (a host that restores saved settings brackets them) ----
    bool IsLoading() const override { return m_loading; }
    bool IsDestroying() const override { return m_destroying; }
    void SetLoading(bool loading) { m_loading = loading; }
    // Ends loading: the surface is sized and the grid steps kept meanwhile are applied.
    void Loaded();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
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

    // ZVEditorLayers.cpp.
    void recordLayer(TZVLayerId layer);
    void dropLayers();

    // Selection helpers.
    void updateMarks();
    void selectionChanged();
    void forgetLabel();
    void forgetInspector();
    void layoutChildren();
    void applyColor();

    QPointer<TZVCustomLab> m_label;
    QMetaObject::Connection m_labelWatch;
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
    std::array<std::unique_ptr<TZVLayerCache>, kZvLayerCount> m_layers;
    std::array<int, kZvLayerCount> m_recordCount{};
    // The canvas of the layer being recorded, for the selection frames elements ask for.
    TZVCanvas* m_recordingCanvas = nullptr;

    QList<TZVElement*> m_selection;
    TZVMemoryStream m_clipStream;
    bool m_fromCut = false;
};

// The published editor: created inside a form, it shows the form's first label, or a new one.
class TZVEditor : public TZVCustomEditor
{
    Q_OBJECT

public:
    // With a parent: its first TZVLab child becomes the label, else a new TZVLab named
    // "ZVLab_01" is made there. Without a parent there is no label.
    explicit TZVEditor(QWidget* parent = nullptr);

    // The editor properties dialog, modal.
    void ShowProperties();
};

} // namespace zorvel
