// The editor properties dialog: controls, their immediate effect on the editor, and Cancel.
#include "dialogs/ZVEditorProps.h"

#include "controls/ZVColorSwatch.h"
#include "controls/ZVSpinEditFloat.h"
#include "document/ZVCustomLab.h"
#include "editor/ZVEditor.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVStrings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zorvel {

namespace {

constexpr double kGridMax = 50;
constexpr double kGuideMax = 500;
constexpr double kStepMillimetres = 0.5;
constexpr double kStepOtherUnits = 0.05;
constexpr int kDecimals = 2;
// The colour of a spin edit that has the focus.
constexpr TZVColor kFocusColor = 16771515;

} // namespace

TFPropEditor::TFPropEditor(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint)
{
    buildControls();
    connectControls();
    fillLanguage();
}

TFPropEditor::~TFPropEditor() = default;

void TFPropEditor::buildControls()
{
    const auto spin = [this](double max) {
        auto* edit = new TZvSpinEditFloat(this);
        edit->SetMinValue(0);
        edit->SetMaxValue(max);
        edit->SetDigits(kDecimals);
        return edit;
    };

    m_gridBox = new QGroupBox(this);
    auto* grid = new QGridLayout(m_gridBox);
    m_gridXCaption = new QLabel(m_gridBox);
    m_gridYCaption = new QLabel(m_gridBox);
    m_gridColorCaption = new QLabel(m_gridBox);
    m_gridX = spin(kGridMax);
    m_gridY = spin(kGridMax);
    m_gridColor = new ColorSwatch(m_gridBox);
    m_showGrid = new QCheckBox(m_gridBox);
    m_snap = new QCheckBox(m_gridBox);
    grid->addWidget(m_gridXCaption, 0, 0);
    grid->addWidget(m_gridX, 0, 1);
    grid->addWidget(m_gridYCaption, 1, 0);
    grid->addWidget(m_gridY, 1, 1);
    grid->addWidget(m_gridColorCaption, 2, 0);
    grid->addWidget(m_gridColor, 2, 1);
    grid->addWidget(m_showGrid, 3, 0, 1, 2);
    grid->addWidget(m_snap, 4, 0, 1, 2);

    m_alignBox = new QGroupBox(this);
    auto* aligns = new QGridLayout(m_alignBox);
    m_alignLeftCaption = new QLabel(m_alignBox);
    m_alignTopCaption = new QLabel(m_alignBox);
    m_alignColorCaption = new QLabel(m_alignBox);
    m_alignLeft = spin(kGuideMax);
    m_alignTop = spin(kGuideMax);
    m_alignColor = new ColorSwatch(m_alignBox);
    m_showAlign = new QCheckBox(m_alignBox);
    m_adjustAlign = new QCheckBox(m_alignBox);
    aligns->addWidget(m_alignLeftCaption, 0, 0);
    aligns->addWidget(m_alignLeft, 0, 1);
    aligns->addWidget(m_alignTopCaption, 1, 0);
    aligns->addWidget(m_alignTop, 1, 1);
    aligns->addWidget(m_alignColorCaption, 2, 0);
    aligns->addWidget(m_alignColor, 2, 1);
    aligns->addWidget(m_showAlign, 3, 0, 1, 2);
    aligns->addWidget(m_adjustAlign, 4, 0, 1, 2);

    m_selBox = new QGroupBox(this);
    auto* selection = new QHBoxLayout(m_selBox);
    m_selColorCaption = new QLabel(m_selBox);
    m_selColor = new ColorSwatch(m_selBox);
    selection->addWidget(m_selColorCaption);
    selection->addWidget(m_selColor);

    m_drawGrid = new QGroupBox(this);
    auto* drawGrid = new QVBoxLayout(m_drawGrid);
    m_points = new QRadioButton(m_drawGrid);
    m_lines = new QRadioButton(m_drawGrid);
    drawGrid->addWidget(m_points);
    drawGrid->addWidget(m_lines);

    m_sizeBox = new QGroupBox(this);
    auto* sizes = new QHBoxLayout(m_sizeBox);
    m_showSize = new QCheckBox(m_sizeBox);
    m_sizeColorCaption = new QLabel(m_sizeBox);
    m_sizeColor = new ColorSwatch(m_sizeBox);
    // The size box is there for the look of the dialog: its swatch picks nothing.
    m_sizeColor->SetColor(0xFFFFFF);
    m_sizeColor->setEnabled(false);
    sizes->addWidget(m_showSize);
    sizes->addWidget(m_sizeColorCaption);
    sizes->addWidget(m_sizeColor);

    m_ok = new QPushButton(this);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);

    auto* left = new QVBoxLayout;
    left->addWidget(m_gridBox);
    left->addWidget(m_drawGrid);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(m_alignBox);
    right->addWidget(m_selBox);
    right->addWidget(m_sizeBox);
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* form = new QVBoxLayout(this);
    form->addLayout(columns);
    form->addLayout(buttons);
    // A fixed border: the dialog keeps the size its controls need, at least the design's.
    form->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumSize(382, 298);
}

void TFPropEditor::connectControls()
{
    // Connects `control` to a write on the editor, quiet while Fill runs.
    const auto write = [this](const auto* control, auto signal, auto apply) {
        connectGuarded(m_filling, control, signal, this, [this, apply] {
            if (m_editor) apply(*m_editor);
        });
    };
    const auto label = [](TZVCustomEditor& editor) -> TZVCustomLab* { return editor.Zorvel(); };

    write(m_gridX, &TZvSpinEditFloat::Changed,
          [this](TZVCustomEditor& e) { e.Grid()->SetIncX(float(m_gridX->Value())); });
    write(m_gridY, &TZvSpinEditFloat::Changed,
          [this](TZVCustomEditor& e) { e.Grid()->SetIncY(float(m_gridY->Value())); });
    write(m_alignLeft, &TZvSpinEditFloat::Changed, [this, label](TZVCustomEditor& e) {
        if (TZVCustomLab* lab = label(e)) lab->BackSurf().SetGuideX(float(m_alignLeft->Value()));
    });
    write(m_alignTop, &TZvSpinEditFloat::Changed, [this, label](TZVCustomEditor& e) {
        if (TZVCustomLab* lab = label(e)) lab->BackSurf().SetGuideY(float(m_alignTop->Value()));
    });
    write(m_showAlign, &QCheckBox::toggled, [this, label](TZVCustomEditor& e) {
        if (TZVCustomLab* lab = label(e)) lab->BackSurf().SetShowAlign(m_showAlign->isChecked());
    });
    write(m_points, &QRadioButton::toggled,
          [this](TZVCustomEditor& e) { e.Grid()->SetStyle(m_lines->isChecked() ? gdLines : gdPoints); });

    // Clicks only: filling the boxes must not touch the editor, or a snap to points would be
    // lost the moment the dialog opens.
    connect(m_showGrid, &QCheckBox::clicked, this, [this](bool checked) {
        if (m_editor) m_editor->Grid()->SetShow(checked);
    });
    connect(m_snap, &QCheckBox::clicked, this, [this](bool checked) {
        if (m_editor) m_editor->SetSnap(checked ? snGrid : snNone);
    });
    connect(m_adjustAlign, &QCheckBox::clicked, this, [this](bool checked) {
        if (m_editor) m_editor->Rulers()->SetAdjustAligns(checked);
    });

    connect(m_gridColor, &ColorSwatch::ColorPicked, this, [this](TZVColor c) {
        if (m_editor) m_editor->Grid()->SetColor(c);
    });
    connect(m_alignColor, &ColorSwatch::ColorPicked, this, [this](TZVColor c) {
        if (TZVCustomLab* lab = m_editor ? m_editor->Zorvel() : nullptr) lab->BackSurf().SetAlignColor(c);
    });
    connect(m_selColor, &ColorSwatch::ColorPicked, this, [this](TZVColor c) {
        if (m_editor) m_editor->SetSelColor(c);
    });

    for (TZvSpinEditFloat* edit : {m_gridX, m_gridY, m_alignLeft, m_alignTop}) {
        edit->OnEnter = [this, edit](QObject*) { highlight(edit, true); };
        edit->OnExit = [this, edit](QObject*) { highlight(edit, false); };
    }

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TFPropEditor::cancelClicked);
}

void TFPropEditor::highlight(TZvSpinEditFloat* edit, bool on)
{
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, on ? toQColor(kFocusColor) : this->palette().color(QPalette::Base));
    edit->setPalette(palette);
}

void TFPropEditor::fillLanguage()
{
    const TZVCustomLab* lab = m_editor ? m_editor->Zorvel() : nullptr;
    const TZVDialogTexts texts(lab ? lab->IniTranslate() : QString());
    const auto text = [&texts](const char16_t* key) { return texts.text(TZVDialog::TFPropEditor, QStringView(key)); };
    setWindowTitle(text(u"ZvEditorPro"));
    m_gridBox->setTitle(text(u"ZvGrid"));
    m_gridXCaption->setText(text(u"ZvGridX"));
    m_gridYCaption->setText(text(u"ZvGridY"));
    m_gridColorCaption->setText(text(u"ZvColor"));
    m_showGrid->setText(text(u"ZvShowGrid"));
    m_snap->setText(text(u"ZvSnapGrid"));
    m_alignBox->setTitle(text(u"ZvAlignOb"));
    m_alignLeftCaption->setText(text(u"ZvAlignLeft"));
    m_alignTopCaption->setText(text(u"ZvAlignTop"));
    m_alignColorCaption->setText(text(u"ZvColor"));
    m_showAlign->setText(text(u"ZvShowLines"));
    m_adjustAlign->setText(text(u"ZvAdjustAlign"));
    m_selBox->setTitle(text(u"ZvSelection"));
    m_selColorCaption->setText(text(u"ZvColor"));
    m_drawGrid->setTitle(text(u"ZvGrid"));
    m_points->setText(text(u"ZvDrawGridPoints"));
    m_lines->setText(text(u"ZvDrawGridLines"));
    m_sizeBox->setTitle(text(u"ZvSizeObjects"));
    m_showSize->setText(text(u"ZvShowSize"));
    m_sizeColorCaption->setText(text(u"ZvColor"));
    m_ok->setText(text(u"ZvOK"));
    m_cancel->setText(text(u"ZvCancel"));
}

void TFPropEditor::Fill(TZVCustomEditor& editor)
{
    m_editor = &editor;
    const auto filling = m_filling.hold();
    TZVCustomLab* lab = editor.Zorvel();
    const double step = lab && lab->Units() != unMM ? kStepOtherUnits : kStepMillimetres;
    for (TZvSpinEditFloat* edit : {m_gridX, m_gridY, m_alignLeft, m_alignTop}) {
        edit->SetIncrement(step);
        edit->SetDigits(kDecimals);
    }

    TZVGrid& grid = *editor.Grid();
    m_saved.GuideX = lab ? lab->BackSurf().GuideX() : 0;
    m_saved.GuideY = lab ? lab->BackSurf().GuideY() : 0;
    m_saved.ShowAlign = lab && lab->BackSurf().ShowAlign();
    m_saved.AlignColor = lab ? lab->BackSurf().AlignColor() : 0;
    m_saved.Modified = lab && lab->Modified();
    m_saved.GridColor = grid.Color();
    m_saved.SelColor = editor.SelColor();
    m_saved.IncX = grid.GetIncX();
    m_saved.IncY = grid.GetIncY();
    m_saved.StepX = grid.StepX();
    m_saved.StepY = grid.StepY();
    m_saved.GridShow = grid.Show();
    m_saved.GridStyle = grid.Style();
    m_saved.AdjustAligns = editor.Rulers()->AdjustAligns();
    m_saved.Snap = editor.Snap();

    m_gridX->SetValue(m_saved.IncX);
    m_gridY->SetValue(m_saved.IncY);
    m_alignLeft->SetValue(lab ? lab->BackSurf().GetGuideX() : 0);
    m_alignTop->SetValue(lab ? lab->BackSurf().GetGuideY() : 0);
    m_gridColor->SetColor(m_saved.GridColor);
    m_alignColor->SetColor(m_saved.AlignColor);
    m_selColor->SetColor(m_saved.SelColor);
    m_showAlign->setChecked(m_saved.ShowAlign);
    m_showGrid->setChecked(m_saved.GridShow);
    m_snap->setChecked(m_saved.Snap == snGrid);
    m_adjustAlign->setChecked(m_saved.AdjustAligns);
    (m_saved.GridStyle == gdLines ? m_lines : m_points)->setChecked(true);
    for (QWidget* w : std::initializer_list<QWidget*>{m_alignBox, m_alignLeft, m_alignTop, m_alignColor, m_showAlign})
        w->setEnabled(lab != nullptr);
    fillLanguage();
}

void TFPropEditor::RestoreSettings()
{
    if (!m_editor) return;
    TZVCustomEditor& editor = *m_editor;
    TZVCustomLab* lab = editor.Zorvel();
    editor.BeginUpdate();
    if (lab) {
        TZVBackSurf& back = lab->BackSurf();
        back.SetGuideX(lab->FromModel(m_saved.GuideX));
        back.SetGuideY(lab->FromModel(m_saved.GuideY));
        back.SetShowAlign(m_saved.ShowAlign);
        back.SetAlignColor(m_saved.AlignColor);
    }
    TZVGrid& grid = *editor.Grid();
    grid.SetColor(m_saved.GridColor);
    editor.SetSelColor(m_saved.SelColor);
    grid.SetIncX(m_saved.IncX);
    grid.SetIncY(m_saved.IncY);
    // The steps exactly as they were, even one a design stored outside the setters' limits.
    grid.SetSteps(m_saved.StepX, m_saved.StepY);
    grid.SetShow(m_saved.GridShow);
    grid.SetStyle(m_saved.GridStyle);
    editor.Rulers()->SetAdjustAligns(m_saved.AdjustAligns);
    // The snap as it was, snapping to points included.
    editor.SetSnap(m_saved.Snap);
    // Putting the guides back is no change to the design.
    if (lab) lab->SetModified(m_saved.Modified);
    editor.SetContentDirty();
    editor.EndUpdate(false);
}

void TFPropEditor::cancelClicked()
{
    RestoreSettings();
    reject();
}

void TFPropEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_cancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFPropEditor::Execute(TZVCustomEditor& editor, QWidget* parent)
{
    TFPropEditor dialog(parent);
    dialog.Fill(editor);
    dialog.exec();
}

} // namespace zorvel
