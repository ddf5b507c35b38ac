// Grid settings of the editor, and the plain strips that keep a border around the label.
#pragma once

#include "foundation/ZVTypes.h"
#include "zorvel_widgets_export.h"

#include <QObject>
#include <QWidget>

namespace zorvel {

class TZVCanvas;
class TZVEditorHost;

/// Steps are held in model units and shown in the label's unit; they are also the snapping and
/// nudging step of the editor.
class ZORVEL_WIDGETS_EXPORT TZVGrid : public QObject
{
    Q_OBJECT
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
    Q_PROPERTY(float IncX READ GetIncX WRITE SetIncX)
    Q_PROPERTY(float IncY READ GetIncY WRITE SetIncY)
    Q_PROPERTY(bool Show READ Show WRITE SetShow)
    Q_PROPERTY(zorvel::TZVGridDraw Style READ Style WRITE SetStyle)

public:
    /// A grid of 10 mm steps, hidden, that repaints `editor` (not owned) when it changes.
    explicit TZVGrid(TZVEditorHost* editor, QObject* parent = nullptr);

    /// Colour of the dots or lines, 0xBBGGRR.
    TZVColor Color() const { return m_color; }
    /// Sets Color and repaints the editor.
    void SetColor(TZVColor value);
    /// Steps across and down, in the label's unit; 0 without a label.
    /// @{
    float GetIncX() const;
    float GetIncY() const;
    /// @}
    /// Limited to 1 mm .. half the label; while the editor loads the value waits for ApplyLoaded.
    /// @{
    void SetIncX(float value);
    void SetIncY(float value);
    /// @}
    /// Whether the grid is drawn; snapping and nudging use the steps either way.
    bool Show() const { return m_show; }
    /// Sets Show and repaints the editor.
    void SetShow(bool value);
    /// Dots at the crossings, or lines.
    TZVGridDraw Style() const { return m_style; }
    /// Sets Style and repaints the editor.
    void SetStyle(TZVGridDraw value);

    /// Steps across and down, model units.
    /// @{
    int StepX() const { return m_stepX; }
    int StepY() const { return m_stepY; }
    /// @}
    /// Raw steps as a label stream stores them (no limits, no repaint).
    void SetSteps(int stepX, int stepY);
    /// The editor finished loading: steps set meanwhile go through their setters now.
    void ApplyLoaded();

    /// Copies colour, steps, style and visibility; repaints the editor when any differs.
    void Assign(const TZVGrid& source);

    /// Dots or lines inside the label of W x H model units, on a canvas in model units.
    void Draw(TZVCanvas& canvas, int W, int H) const;

private:
    void changed();

    TZVEditorHost* m_editor = nullptr;
    TZVColor m_color = 0xEEEEEE;
    int m_stepX = 1000;
    int m_stepY = 1000;
    bool m_show = false;
    TZVGridDraw m_style = gdPoints;
    bool m_pendingX = false;
    bool m_pendingY = false;
    float m_loadedIncX = 0;
    float m_loadedIncY = 0;
};

/// The colour of button faces, the default around the label.
inline constexpr TZVColor kZvBtnFace = 0xF0F0F0;

/// A filler strip in the editor's colour.
class TZVMargin : public QWidget
{
    Q_OBJECT

public:
    /// A strip in the button-face colour.
    explicit TZVMargin(QWidget* parent = nullptr);
    /// Fill colour, 0xBBGGRR.
    TZVColor Color() const { return m_color; }
    /// Sets Color and repaints.
    void SetColor(TZVColor value);

protected:
    /// Fills the strip with Color.
    void paintEvent(QPaintEvent* event) override;

private:
    TZVColor m_color = kZvBtnFace;
};

} // namespace zorvel
