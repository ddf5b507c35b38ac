// The editor's construction, settings, links to label and inspector, zoom and coordinate
// conversions.
#include "editor/ZVEditor.h"

#include "editor/ZVBackLab.h"
#include "editor/ZVBaseInspector.h"
#include "editor/ZVBaseScroll.h"
#include "editor/ZVCursors.h"
#include "editor/ZVEditorDialogs.h"
#include "editor/ZVLayerCache.h"
#include "editor/ZVRulerControls.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVUtils.h"

#include <QEvent>
#include <QFileDialog>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace zorvel {
namespace {

// The surface sits 12 pixels inside the scroll box, with margins of 12 to the right and below.
constexpr int kSurfaceInset = 12;
// What the scroll box keeps around a label fitted to its width, without and with a vertical
// scroll bar (two insets and a border; plus the bar), and below it.
constexpr int kFitWidthSlack = 28;
constexpr int kFitWidthSlackWithBar = 46;
constexpr int kFitHeightSlack = 28;
constexpr int kFitHeightRoom = 16;
// The surface without a label, at 100 %.
constexpr int kBareWidth = 300;
constexpr int kBareHeight = 200;

constexpr double kZoomFactors[] = {0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0, 3.5, 4.0, 4.5, 5.0};

} // namespace

TZVCustomEditor::TZVCustomEditor(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    resize(400, 300);
    m_dpiX = logicalDpiX();
    m_dpiY = logicalDpiY();

    m_rulers = new TZVRulers(this, m_dpiX, m_dpiY, this);
    m_topRuler = new TZVTopRuler(this);
    m_leftRuler = new TZVLeftRuler(this);
    m_topRuler->Link(&m_rulers->Data());
    m_leftRuler->Link(&m_rulers->Data());
    m_rulers->SetControls(m_topRuler, m_leftRuler);
    m_topRuler->installEventFilter(this);
    m_leftRuler->installEventFilter(this);
    m_grid = new TZVGrid(this, this);

    m_scrollBox = new TZVBaseScroll(this);
    m_scrollBox->OnHorzScroll = [this] { m_topRuler->SetScrollOffset(m_scrollBox->HorzPos()); };
    m_scrollBox->OnVertScroll = [this] { m_leftRuler->SetScrollOffset(m_scrollBox->VertPos()); };
    m_rulers->Data().SetBorderOffset(m_scrollBox->frameShape() == QFrame::NoFrame ? 0 : 2);

    QWidget* client = m_scrollBox->Client();
    m_surface = new TZVBackLab(this, client);
    m_surface->move(kSurfaceInset, kSurfaceInset);
    m_surface->installEventFilter(this);
    m_bottomMargin = new TZVMargin(client);
    m_rightMargin = new TZVMargin(client);

    PictureChooser = [this](const QString& folder, const QString& filter) {
        return QFileDialog::getOpenFileName(this, QString(), folder, filter);
    };

    m_cursorId = m_drawTool == dwBarCode ? ZvCursorOfBarCode(m_barCodeType) : ZvCursorOfTool(m_drawTool);
    m_surface->setCursor(ZvCursor(m_cursorId));
    applyColor();
    layoutChildren();
    m_paintEnabled = true;
    m_contentDirty = false;
    m_selectionDirty = false;
    RecalcSize(false);
}

TZVCustomEditor::~TZVCustomEditor()
{
    m_destroying = true;
    m_paintEnabled = false;
    QObject::disconnect(m_labelWatch);
    QObject::disconnect(m_inspectorWatch);
    unwatchRecords();
    if (m_label) {
        for (TZVElement* element : std::as_const(m_selection))
            element->SetSelected(false);
        if (m_label->Editor() == static_cast<TZVEditorLink*>(this)) m_label->SetEditor(nullptr);
    }
    m_selection.clear();
    if (m_inspector && m_inspector->Editor() == this) m_inspector->SetEditor(nullptr);
    m_inspector = nullptr;
    // Children first, while the ruler settings they were linked to still exist.
    m_surface->DetachEditor();
    m_scrollBox->OnHorzScroll = nullptr;
    m_scrollBox->OnVertScroll = nullptr;
    m_topRuler->removeEventFilter(this);
    m_leftRuler->removeEventFilter(this);
    delete m_scrollBox;
    delete m_topRuler;
    delete m_leftRuler;
    delete m_grid;
    delete m_rulers;
}

// ---- Links ----

void TZVCustomEditor::SetZorvel(TZVCustomLab* label)
{
    if (!label || label == m_label) return;
    dropLabel();
    m_label = label;
    m_labelWatch = connect(label, &QObject::destroyed, this, [this] { forgetLabel(); });
    label->SetEditor(this);
    // A label shown in an editor gets the library's dialogs unless its host installed others.
    TZVEditorDialogs* dialogs = TZVEditorDialogs::Registered();
    if (auto* lab = qobject_cast<TZVLab*>(label); lab && dialogs) dialogs->LabelShown(*lab);
    TZVDataRuler& data = m_rulers->Data();
    const TZVBackSurf& back = label->BackSurf();
    data.SetUnits(label->Units());
    data.SetGuideX(label->FromModel(back.GuideX()), true);
    data.SetGuideY(label->FromModel(back.GuideY()), true);
    data.SetShowAlign(back.ShowAlign());
    // A label of another size needs another surface.
    RecalcSize(true);
    if (m_paintEnabled) Refresh(false);
    if (m_inspector) m_inspector->LabelChanged();
}

void TZVCustomEditor::dropLabel()
{
    QObject::disconnect(m_labelWatch);
    unwatchRecords();
    // A gesture left open on the old label is its last step.
    endGestureChange(tr("Edit"));
    if (!m_label) return;
    // The selection belongs to the old label.
    for (TZVElement* element : std::as_const(m_selection))
        element->SetSelected(false);
    m_selection.clear();
    m_surface->ClearMarks();
    if (m_label->Editor() == static_cast<TZVEditorLink*>(this)) m_label->SetEditor(nullptr);
}

void TZVCustomEditor::LabelTaken()
{
    // Another editor shows the label now and deletes its elements as it likes: nothing here may
    // still point at them.
    dropLabel();
    forgetLabel();
}

void TZVCustomEditor::forgetLabel()
{
    // The label has destroyed its elements already: the selection only holds their addresses.
    m_selection.clear();
    m_label = nullptr;
    unwatchRecords();
    m_gestureChange = false;
    m_surface->ClearMarks();
    m_surface->SetMarkMode(mmNone);
    m_surface->State() = GestureState{};
    for (auto& layer : m_layers)
        layer.reset();
    if (m_destroying) return;
    RecalcSize(true);
    m_surface->RepaintNow();
    if (!m_inspector) return;
    m_inspector->LabelChanged();
    m_inspector->UpdateSelection();
}

void TZVCustomEditor::SetInspector(TZVBaseInspector* inspector)
{
    if (inspector == m_inspector) return;
    QObject::disconnect(m_inspectorWatch);
    if (m_inspector && m_inspector->Editor() == this) m_inspector->SetEditor(nullptr);
    m_inspector = nullptr;
    if (!inspector) return;
    // An inspector serves one editor: the one it leaves lets go of it, or would detach it from
    // this one when it goes.
    if (TZVCustomEditor* previous = inspector->Editor(); previous && previous->Inspector() == inspector)
        previous->SetInspector(nullptr);
    m_inspector = inspector;
    // An inspector widget tells when it goes; another kind must be detached by its owner.
    if (auto* object = dynamic_cast<QObject*>(inspector)) {
        m_inspectorWatch = connect(object, &QObject::destroyed, this, [this] { forgetInspector(); });
    }
    inspector->SetEditor(this);
    inspector->LabelChanged();
    // Rows read from the last editor's selection would be written to this one's.
    inspector->UpdateSelection();
}

void TZVCustomEditor::forgetInspector()
{
    m_inspector = nullptr;
}

// ---- Settings ----

void TZVCustomEditor::SetDrawTool(TZVDrawTool tool)
{
    if (tool == m_drawTool) return;
    fire(OnChangeDrawTool, this, m_drawTool, tool);
    m_drawTool = m_allowEdit ? tool : dwSelection;
    m_cursorId = m_drawTool == dwBarCode ? ZvCursorOfBarCode(m_barCodeType) : ZvCursorOfTool(m_drawTool);
    m_surface->setCursor(ZvCursor(m_cursorId));
    m_surface->SetMarkMode(mmNone);
}

void TZVCustomEditor::SetBarCodeType(TZVBar type)
{
    m_barCodeType = type;
    if (m_drawTool != dwBarCode) return;
    m_cursorId = ZvCursorOfBarCode(type);
    m_surface->setCursor(ZvCursor(m_cursorId));
}

void TZVCustomEditor::SetAllowEdit(bool value)
{
    m_allowEdit = value;
    if (!value) SetDrawTool(dwSelection);
}

void TZVCustomEditor::SetColor(TZVColor value)
{
    m_color = value;
    applyColor();
}

void TZVCustomEditor::applyColor()
{
    m_scrollBox->SetColor(toQColor(m_color));
    m_bottomMargin->SetColor(m_color);
    m_rightMargin->SetColor(m_color);
}

void TZVCustomEditor::SetGrid(TZVGrid* grid)
{
    if (grid && grid != m_grid) m_grid->Assign(*grid);
}

void TZVCustomEditor::SetRulers(TZVRulers* rulers)
{
    if (rulers && rulers != m_rulers) m_rulers->Assign(*rulers);
}

void TZVCustomEditor::SetSelColor(TZVColor color)
{
    m_selColor = color;
    m_selectionDirty = true;
    if (m_paintEnabled) Refresh(false);
}

void TZVCustomEditor::SetZoom(TZVZoom zoom)
{
    if (zoom == m_zoom) return;
    m_zoom = zoom;
    RecalcSize(true);
    m_topRuler->Relayout();
    m_leftRuler->Relayout();
    if (m_paintEnabled) Refresh(false);
    if (OnZoomChange) OnZoomChange(this);
}

void TZVCustomEditor::Assign(const TZVCustomEditor& source)
{
    SetZorvel(source.Zorvel());
    SetInspector(source.Inspector());
    m_grid->Assign(*source.m_grid);
    m_rulers->Assign(*source.m_rulers);
    SetDrawTool(source.DrawTool());
    m_zoom = source.m_zoom;
    m_snap = source.m_snap;
    m_lineMove = source.m_lineMove;
}

void TZVCustomEditor::Loaded()
{
    m_loading = false;
    RecalcSize(false);
    if (!m_label) return;
    m_rulers->Data().SetUnits(m_label->Units());
    m_grid->ApplyLoaded();
}

// ---- Grid and ruler links ----

int TZVCustomEditor::GridIncX() const
{
    return m_grid->StepX();
}

int TZVCustomEditor::GridIncY() const
{
    return m_grid->StepY();
}

TZVColor TZVCustomEditor::GridColor() const
{
    return m_grid->Color();
}

bool TZVCustomEditor::GridShow() const
{
    return m_grid->Show();
}

void TZVCustomEditor::SetGridSettings(TZVColor color, int incX, int incY, bool show)
{
    // A design saved with no editor linked stores zeros here: they are no grid anyone chose, and
    // taking them would leave a black grid without a step.
    if (color == 0 && incX == 0 && incY == 0 && !show) return;
    m_grid->SetSteps(incX, incY);
    m_grid->SetColor(color);
    m_grid->SetShow(show);
    m_contentDirty = true;
}

void TZVCustomEditor::ShowGuideMarks(bool show)
{
    m_rulers->Data().SetShowAlign(show);
}

void TZVCustomEditor::SetGuideMarks(int guideX, int guideY)
{
    if (!m_label) return;
    m_rulers->Data().SetGuideX(m_label->FromModel(guideX), true);
    m_rulers->Data().SetGuideY(m_label->FromModel(guideY), true);
}

void TZVCustomEditor::UnitsChanged(TZVUnits units)
{
    m_rulers->Data().SetUnits(units);
}

void TZVCustomEditor::RefreshInspector()
{
    if (m_inspector) m_inspector->UpdateSelection();
}

void TZVCustomEditor::RefreshProperty(const QString& name)
{
    if (m_inspector) m_inspector->UpdateProperty(name);
}

void TZVCustomEditor::EditElement()
{
    if (auto* label = qobject_cast<TZVLab*>(m_label.data())) label->EditElement();
}

// ---- Painting entry points ----

void TZVCustomEditor::BeginUpdate()
{
    m_paintEnabled = false;
}

void TZVCustomEditor::EndUpdate(bool updateInspector)
{
    m_paintEnabled = true;
    Refresh(updateInspector);
}

void TZVCustomEditor::Refresh(bool updateInspector, const QString& propertyName)
{
    if (m_paintEnabled) m_surface->RepaintNow();
    updateMarks();
    if (!m_inspector) return;
    if (updateInspector)
        m_inspector->UpdateSelection();
    else if (!propertyName.isEmpty())
        m_inspector->UpdateProperty(propertyName);
}

// ---- Geometry ----

int TZVCustomEditor::SurfaceWidth() const
{
    return m_surface->Buffer().width();
}

int TZVCustomEditor::SurfaceHeight() const
{
    return m_surface->Buffer().height();
}

// Without a label, or with an empty label or surface, there is no scale: every position maps to 0.
int TZVCustomEditor::ModelToPixelX(int n) const
{
    const int labelWidth = m_label ? m_label->Measure().Width() : 0;
    return labelWidth != 0 ? MulDiv(n, SurfaceWidth(), labelWidth) : 0;
}

int TZVCustomEditor::ModelToPixelY(int n) const
{
    const int labelHeight = m_label ? m_label->Measure().Height() : 0;
    return labelHeight != 0 ? MulDiv(n, SurfaceHeight(), labelHeight) : 0;
}

int TZVCustomEditor::PixelToModelX(int x) const
{
    const int surfaceWidth = SurfaceWidth();
    return m_label && surfaceWidth != 0 ? MulDiv(x, m_label->Measure().Width(), surfaceWidth) : 0;
}

int TZVCustomEditor::PixelToModelY(int y) const
{
    const int surfaceHeight = SurfaceHeight();
    return m_label && surfaceHeight != 0 ? MulDiv(y, m_label->Measure().Height(), surfaceHeight) : 0;
}

float TZVCustomEditor::PixelToUnitX(int x) const
{
    return m_label ? m_label->FromModel(PixelToModelX(x)) : 0.0f;
}

float TZVCustomEditor::PixelToUnitY(int y) const
{
    return m_label ? m_label->FromModel(PixelToModelY(y)) : 0.0f;
}

TPoint TZVCustomEditor::SnapPoint(TPoint p) const
{
    if (m_snap != snGrid || !m_label) return p;
    const auto snap = [](int model, int step) {
        if (step <= 0) return model;
        return static_cast<int>(RoundHalfUp(double(model) / step) * step);
    };
    return {ModelToPixelX(snap(PixelToModelX(p.X), m_grid->StepX())),
            ModelToPixelY(snap(PixelToModelY(p.Y), m_grid->StepY()))};
}

void TZVCustomEditor::RecalcSize(bool resetScroll)
{
    if (!m_surface) return;
    const double labelW = m_label ? m_label->Measure().Width() : kBareWidth;
    const double labelH = m_label ? m_label->Measure().Height() : kBareHeight;
    int width = 0;
    int height = 0;
    if (m_zoom <= zm500) {
        m_zoomFactor = kZoomFactors[m_zoom];
        if (m_label) {
            width = int(std::lround(m_zoomFactor * labelW * m_dpiX / 2540.0));
            height = int(std::lround(m_zoomFactor * labelH * m_dpiY / 2540.0));
        } else {
            width = int(m_zoomFactor * kBareWidth);
            height = int(m_zoomFactor * kBareHeight);
        }
    } else {
        const int sw = m_scrollBox->width();
        const int sh = m_scrollBox->height();
        width = sw - kFitWidthSlack;
        height = int(std::lround(width / labelW * labelH));
        if (sh - kFitHeightRoom < height) {
            if (m_zoom == zmWidth) {
                width = sw - kFitWidthSlackWithBar;
                height = int(std::lround(width / labelW * labelH));
            } else {
                height = sh - kFitHeightSlack;
                width = int(std::lround(height / labelH * labelW));
            }
        }
        width = std::max(width, 1);
        height = std::max(height, 1);
        m_zoomFactor = m_label ? width * 2540.0 / (labelW * m_dpiX) : double(width) / kBareWidth;
    }

    m_surface->SetSurfaceSize(width, height);
    const int w = SurfaceWidth();
    const int h = SurfaceHeight();
    m_scrollBox->Client()->resize(w + 2 * kSurfaceInset, h + 2 * kSurfaceInset);
    m_bottomMargin->setGeometry(0, h + kSurfaceInset, w + 2 * kSurfaceInset, kSurfaceInset);
    m_rightMargin->setGeometry(w + kSurfaceInset, 0, kSurfaceInset, h + 2 * kSurfaceInset);
    m_scrollBox->SetHorzPos(0);
    m_scrollBox->SetVertPos(0);
    m_rulers->Data().SetZoom(m_zoomFactor);
    m_topRuler->ShowMousePos(-1);
    m_leftRuler->ShowMousePos(-1);
    m_topRuler->SetScrollOffset(0);
    m_leftRuler->SetScrollOffset(0);
    if (resetScroll) {
        m_scrollBox->horizontalScrollBar()->setValue(0);
        m_scrollBox->verticalScrollBar()->setValue(0);
        m_topRuler->Relayout();
        m_leftRuler->Relayout();
    }
    if (m_label) m_label->BackSurf().SetBackDirty(true);
    m_contentDirty = true;
    m_selectionDirty = true;
}

// ---- Layout ----

void TZVCustomEditor::layoutChildren()
{
    const int size = m_rulers->Visible() ? m_rulers->Size() : 0;
    const int top = size;
    const int left = size;
    m_topRuler->setGeometry(0, 0, width(), top);
    m_leftRuler->setGeometry(0, top, left, std::max(height() - top, 0));
    m_scrollBox->setGeometry(left, top, std::max(width() - left, 0), std::max(height() - top, 0));
}

bool TZVCustomEditor::eventFilter(QObject* watched, QEvent* event)
{
    // The ruler settings size the ruler controls; the scroll box takes the rest.
    if (event->type() == QEvent::Resize && (watched == m_topRuler || watched == m_leftRuler)) layoutChildren();
    if (event->type() == QEvent::Wheel && watched == m_surface) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers().testFlag(Qt::ControlModifier)) {
            wheelZoom(wheel->angleDelta().y(), wheel->position());
            wheel->accept();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void TZVCustomEditor::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    layoutChildren();
    if (m_loading || m_destroying) return;
    RecalcSize(true);
    if (m_paintEnabled) m_surface->RepaintNow();
}

// ---- TZVEditor ----

TZVEditor::TZVEditor(QWidget* parent) : TZVCustomEditor(parent)
{
    if (!parent) return;
    TZVLab* label = parent->findChild<TZVLab*>(QString(), Qt::FindDirectChildrenOnly);
    if (!label) {
        label = new TZVLab(parent);
        label->setObjectName(QStringLiteral("ZVLab_01"));
    }
    SetZorvel(label);
}

void TZVEditor::ShowProperties()
{
    if (TZVEditorDialogs* dialogs = TZVEditorDialogs::Registered()) dialogs->ShowEditorProperties(*this, this);
}

} // namespace zorvel
