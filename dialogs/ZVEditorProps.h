// The editor properties dialog: grid, snapping, the label's alignment guides and the selection
// colour, each applied to the editor as it is changed; Cancel puts every one back.
#pragma once

#include "controls/ZVGuard.h"
#include "foundation/ZVTypes.h"
#include "zorvel_widgets_export.h"

#include <QDialog>
#include <QPointer>

#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zorvel {

class ColorSwatch;
class TZVCustomEditor;
class TZvSpinEditFloat;

/// The editor properties dialog behind TZVEditor::ShowProperties. Its controls are reachable for
/// hosts and tests; changing one changes the editor at once.
class ZORVEL_WIDGETS_EXPORT TFPropEditor : public QDialog
{
    Q_OBJECT

public:
    /// Builds the controls, not yet linked to an editor (see Fill).
    explicit TFPropEditor(QWidget* parent = nullptr);
    ~TFPropEditor() override;

    /// The editor's ShowProperties: fills the dialog from `editor` and shows it modally.
    static void Execute(TZVCustomEditor& editor, QWidget* parent = nullptr);

    /// Takes the editor's settings into the controls and remembers them for Cancel.
    void Fill(TZVCustomEditor& editor);
    /// Puts back every setting remembered by Fill.
    void RestoreSettings();

    /// Grid steps across and down, in the label's unit.
    /// @{
    TZvSpinEditFloat* SpEdFloatGX() const { return m_gridX; }
    TZvSpinEditFloat* SpEdFloatGY() const { return m_gridY; }
    /// @}
    /// The label's alignment guides from its left and top edges, in the label's unit.
    /// @{
    TZvSpinEditFloat* SpEdFloatAlLeft() const { return m_alignLeft; }
    TZvSpinEditFloat* SpEdFloatAlTop() const { return m_alignTop; }
    /// @}
    /// Colour of the grid.
    ColorSwatch* ShCoGrid() const { return m_gridColor; }
    /// Colour of the alignment guides.
    ColorSwatch* ShCoAlign() const { return m_alignColor; }
    /// Frame colour of a single selected element.
    ColorSwatch* ShCoSelect() const { return m_selColor; }
    /// Colour swatch of the element-size box; it shows a colour and picks none.
    ColorSwatch* ShCoSize() const { return m_sizeColor; }
    /// Shows or hides the grid.
    QCheckBox* CheckGrid() const { return m_showGrid; }
    /// Snapping to the grid on or off.
    QCheckBox* CheckSnap() const { return m_snap; }
    /// Shows or hides the alignment guides.
    QCheckBox* CheckShowAlign() const { return m_showAlign; }
    /// Lets the ruler markers drag the guides.
    QCheckBox* CheckAdjustAlign() const { return m_adjustAlign; }
    /// Check box of the element-size box; it changes nothing in the editor.
    QCheckBox* CheckShowSize() const { return m_showSize; }
    /// Grid drawn as dots or as lines.
    /// @{
    QRadioButton* DrawGridPoints() const { return m_points; }
    QRadioButton* DrawGridLines() const { return m_lines; }
    /// @}
    /// Closes the dialog keeping the changes.
    QPushButton* ButOK() const { return m_ok; }
    /// Puts back the settings remembered by Fill, then closes.
    QPushButton* ButCancel() const { return m_cancel; }

protected:
    /// Escape is the Cancel button; the window's close box keeps the changes.
    void keyPressEvent(QKeyEvent* event) override;

private:
    /// The settings in force when the dialog was filled.
    struct TSaved
    {
        int GuideX = 0;
        int GuideY = 0;
        bool ShowAlign = false;
        TZVColor AlignColor = 0;
        TZVColor GridColor = 0;
        TZVColor SelColor = 0;
        float IncX = 0;
        float IncY = 0;
        int StepX = 0;
        int StepY = 0;
        bool GridShow = false;
        TZVGridDraw GridStyle = gdPoints;
        bool AdjustAligns = false;
        TZVSnap Snap = snNone;
        bool Modified = false;
    };

    void buildControls();
    void fillLanguage();
    void connectControls();
    void highlight(TZvSpinEditFloat* edit, bool on);
    void cancelClicked();

    QPointer<TZVCustomEditor> m_editor;
    TSaved m_saved;
    /// Held while Fill sets the controls, so that their handlers leave the editor alone.
    FeedbackGuard m_filling;

    QGroupBox* m_gridBox = nullptr;
    QLabel* m_gridXCaption = nullptr;
    QLabel* m_gridYCaption = nullptr;
    QLabel* m_gridColorCaption = nullptr;
    TZvSpinEditFloat* m_gridX = nullptr;
    TZvSpinEditFloat* m_gridY = nullptr;
    ColorSwatch* m_gridColor = nullptr;
    QCheckBox* m_showGrid = nullptr;
    QCheckBox* m_snap = nullptr;
    QGroupBox* m_alignBox = nullptr;
    QLabel* m_alignLeftCaption = nullptr;
    QLabel* m_alignTopCaption = nullptr;
    QLabel* m_alignColorCaption = nullptr;
    TZvSpinEditFloat* m_alignLeft = nullptr;
    TZvSpinEditFloat* m_alignTop = nullptr;
    ColorSwatch* m_alignColor = nullptr;
    QCheckBox* m_showAlign = nullptr;
    QCheckBox* m_adjustAlign = nullptr;
    QGroupBox* m_selBox = nullptr;
    QLabel* m_selColorCaption = nullptr;
    ColorSwatch* m_selColor = nullptr;
    QGroupBox* m_drawGrid = nullptr;
    QRadioButton* m_points = nullptr;
    QRadioButton* m_lines = nullptr;
    QGroupBox* m_sizeBox = nullptr;
    QCheckBox* m_showSize = nullptr;
    QLabel* m_sizeColorCaption = nullptr;
    ColorSwatch* m_sizeColor = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zorvel
