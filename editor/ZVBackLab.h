// The design surface: shows the editor's composed layers, the handle glyphs and the rubber band,
// and hands its mouse to the editor.
#pragma once

#include "document/ZVElement.h"
#include "foundation/ZVTypes.h"
#include "zorvel_widgets_export.h"

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

namespace zorvel {

class TZVCustomEditor;

/// What the mouse is doing on the surface; a press enters a state, the release leaves it.
enum class GestureKind : std::uint8_t {
    Idle, ///< no button held
    Band, ///< a selection band or a creation drag
    Drag, ///< a move or resize, of the kind in DragKind
};

/// The surface's share of the editor's interaction state, in surface pixels.
struct GestureState
{
    /// What the current press started.
    GestureKind Gesture = GestureKind::Idle;
    bool Created = false;      ///< the current gesture created an element
    std::uint8_t DragKind = 0; ///< TZVDragKind
    TPoint StartPt;            ///< fixed end of the band or line drag
    TPoint EndPt;              ///< moving end of the band
    TPoint GrabOffset;         ///< grabbed edge or corner to the mouse at press
    TPoint ScreenPos;          ///< last press or release, screen coordinates
    TPoint SnapPt;             ///< last snapped drag position
    TPoint Delta;              ///< offset of the last move step
    TPoint OrigPos;            ///< top-left of the grabbed element at press
    TPoint CurPt;              ///< mouse, snapped while a draw tool is active
    bool BandReversed = false; ///< the finished band was dragged up or left
    bool Moved = false;        ///< the current drag has made at least one step
};

/// Handle hit areas of the selection, surface pixels.
struct TZVMarks
{
    std::uint8_t MarkMode = 0; ///< TZVMarkMode
    TRect SelRect;             ///< ScreenRect of the single selected element
    /// Edge handles of a single box; empty when not shown.
    /// @{
    TRect HandleLeft, HandleRight, HandleTop, HandleBottom;
    /// @}
    /// End handles of a single line; empty when not shown.
    /// @{
    TRect LineStartHandle, LineEndHandle;
    /// @}
};

/// The widget the label is drawn and edited on, inside the editor's scroll box. It keeps the
/// gesture state and the handle hit areas; the editor decides what the mouse does.
class ZORVEL_WIDGETS_EXPORT TZVBackLab : public QWidget
{
    Q_OBJECT

public:
    /// A surface of the default size that reports its mouse to `editor` (not owned).
    TZVBackLab(TZVCustomEditor* editor, QWidget* parent);
    ~TZVBackLab() override;

    /// The editor the mouse goes to; null once detached.
    TZVCustomEditor* Editor() const { return m_editor; }
    /// Takes over the editor link of another surface.
    void Assign(const TZVBackLab& source) { m_editor = source.m_editor; }
    /// The editor is going: the surface stops calling it.
    void DetachEditor() { m_editor = nullptr; }

    /// Off-screen picture of the surface as shown: layers, handle glyphs and the band.
    const QImage& Buffer() const { return m_buffer; }
    /// Sizes the widget and the buffer together; the next paint composes everything again.
    void SetSurfaceSize(int width, int height);

    /// Composes what changed into the buffer now, then repaints the widget (synchronous).
    void RepaintNow();
    /// Repaints later; what changed in the layers meanwhile is composed then.
    void Invalidate();
    /// The whole buffer is composed again at the next paint (new size, new layers, no label).
    void InvalidateAll();
    /// Times the buffer was composed since construction.
    int ComposeCount() const { return m_composeCount; }

    /// Draws the band from `from` to `to` in NotXor: the same call again erases it.
    void DrawBand(TPoint from, TPoint to, bool dotted);
    /// True while a band drawn by DrawBand is on the buffer.
    bool BandShown() const { return m_bandShown; }
    /// Empties SelRect and the handle hit areas, and with `glyphsToo` the label's handle marks.
    void ClearMarks(bool glyphsToo = true);

    /// The editor's interaction state on this surface.
    /// @{
    GestureState& State() { return m_state; }
    const GestureState& State() const { return m_state; }
    /// @}
    /// The handle hit areas of the selection.
    /// @{
    TZVMarks& Marks() { return m_marks; }
    const TZVMarks& Marks() const { return m_marks; }
    /// @}
    /// True while a band or creation drag is under way.
    bool BandActive() const { return m_state.Gesture == GestureKind::Band; }
    /// True while a move or resize drag is under way.
    bool Dragging() const { return m_state.Gesture == GestureKind::Drag; }
    /// The handles offered, a TZVMarkMode value.
    int MarkMode() const { return m_marks.MarkMode; }
    /// Sets MarkMode (a TZVMarkMode value); the handle glyphs follow at the next paint.
    void SetMarkMode(int mode) { m_marks.MarkMode = static_cast<std::uint8_t>(mode); }
    /// Created by the current gesture; cleared if it is destroyed meanwhile.
    TZVElement* NewElement() const { return m_newElement; }
    /// Remembers the element the current gesture created (not owned; null forgets it).
    void SetNewElement(TZVElement* element);
    /// The hint under the mouse: the field of a data-bound element, or why a bar code cannot be
    /// drawn; empty when there is none.
    const QString& HintField() const { return m_hintField; }
    /// Sets HintField and the widget's tool tip; empty hides the hint.
    void SetHintField(const QString& field);

    /// The mouse entered the surface; the sender is the surface.
    std::function<void(QObject* Sender)> OnMouseEnter;
    /// The mouse left the surface; the sender is the surface.
    std::function<void(QObject* Sender)> OnMouseLeave;

protected:
    /// Composes what changed into the buffer and copies the damaged part to the screen.
    void paintEvent(QPaintEvent* event) override;
    /// Mouse input, handed to the editor in surface pixels; nothing once detached.
    /// @{
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    /// @}
    /// A left double click goes to the editor, then counts as a press too.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    /// Fires OnMouseEnter.
    void enterEvent(QEnterEvent* event) override;
    /// Fires OnMouseLeave.
    void leaveEvent(QEvent* event) override;

private:
    /// Brings the buffer up to date; `painting` is the part a paint event is about to show.
    void compose(const QRect& painting);
    void drawHandleMarks(QPainter& painter);
    QRect glyphBounds() const;
    void applyBand(TPoint from, TPoint to, bool dotted);

    TZVCustomEditor* m_editor = nullptr;
    QImage m_buffer;
    bool m_fullCompose = true;
    int m_composeCount = 0;
    // Layer recordings and the selection's extent as last composed into the buffer.
    std::array<int, 3> m_composedRecords{};
    QRect m_shownSelection;
    QRect m_shownGlyphs;

    bool m_bandShown = false;
    TPoint m_bandFrom;
    TPoint m_bandTo;
    bool m_bandDotted = false;

    GestureState m_state;
    TZVMarks m_marks;
    QPointer<TZVElement> m_newElement;
    QString m_hintField;
};

} // namespace zorvel
