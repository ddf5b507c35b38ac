// The label properties dialog: preparation, the sizes, printing and background handlers, closing.
#include "dialogs/ZVLabelProps.h"
#include "dialogs/ZVCountersPage.h"

#include "controls/ZVColorSwatch.h"
#include "controls/ZVSpinEditFloat.h"
#include "dialogs/ZVLabelPropsData.h"
#include "dialogs/ZVLabelPropsPreview.h"
#include "dialogs/ZVStockPickerDialog.h"
#include "document/ZVCustomLab.h"
#include "document/ZVSheetFit.h"
#include "document/ZVUndoHistory.h"
#include "foundation/ZVCanvas.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStrings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace zorvel {

namespace {

constexpr const char* kPageKeys[TFPropLab::pgCounters] = {"ZvDim", "ZvPrint", "ZvBack1", "ZvDataBase"};
constexpr const char* kBackStyleKeys[] = {"ZvBackStyle00", "ZvBackStyle01", "ZvBackStyle02", "ZvBackStyle03",
                                          "ZvBackStyle04", "ZvBackStyle05", "ZvBackStyle06", "ZvBackStyle07"};
constexpr const char* kFrameStyleKeys[] = {"ZvFrameNone", "ZvFrameOne", "ZvFrameTwo"};

// The value a box would show once it is left: inside its limits (equal limits mean none).
double limited(const TZvSpinEditFloat& box, double value)
{
    if (box.MinValue() != box.MaxValue()) value = std::min(value, box.MaxValue());
    return std::max(value, box.MinValue());
}

} // namespace

TFPropLab::TFPropLab(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FPropLab"));
    PickPicture = [this](const QString& filter) {
        return QFileDialog::getOpenFileName(this, QString(), QString(), filter);
    };
    ShowError = [this](const QString& message) { QMessageBox::warning(this, windowTitle(), message); };
    ChooseStock = [this]() -> std::optional<TZVStock> {
        TZVStockPickerDialog picker(TZVStockPickerDialog::TPurpose::ChooseStock, this);
        picker.Prepare(*m_label);
        return picker.exec() == QDialog::Accepted ? picker.Chosen() : std::nullopt;
    };

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("Pages"));
    m_pages->addTab(buildSizesPage(), QString());
    m_pages->addTab(buildPrintingPage(), QString());
    m_pages->addTab(buildBackgroundPage(), QString());
    m_pages->addTab(buildDataPage(), QString());
    m_counters = new TZVCountersPage;
    m_pages->addTab(m_counters, QString());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);

    // Sizes.
    onFloat(
        m_width, [](TZVCustomLab& l, float v) { l.Measure().SetWidth(v); }, true);
    onFloat(
        m_height, [](TZVCustomLab& l, float v) { l.Measure().SetHeight(v); }, true);
    onFloat(
        m_diHor, [](TZVCustomLab& l, float v) { l.Measure().SetDiHor(v); }, true);
    onFloat(
        m_diVer, [](TZVCustomLab& l, float v) { l.Measure().SetDiVer(v); }, true);
    onFloat(
        m_marLeft, [](TZVCustomLab& l, float v) { l.Measure().SetMarLeft(v); }, true);
    onFloat(
        m_marTop, [](TZVCustomLab& l, float v) { l.Measure().SetMarTop(v); }, true);
    onFloat(
        m_paperWidth, [](TZVCustomLab& l, float v) { l.Measure().SetPaperWidth(v); }, true);
    onFloat(
        m_paperHeight, [](TZVCustomLab& l, float v) { l.Measure().SetPaperHeight(v); }, true);
    onFloat(
        m_innerCircle, [](TZVCustomLab& l, float v) { l.Measure().SetInnerCircle(v); }, true);
    onInteger(
        m_rows, [](TZVCustomLab& l, int v) { l.Measure().SetNuHor(v); }, true);
    onInteger(
        m_columns, [](TZVCustomLab& l, int v) { l.Measure().SetNuVer(v); }, true);
    connectGuarded(m_filling, m_paperList, &QComboBox::currentIndexChanged, this,
                   [this](int index) { paperChanged(index); });
    connectGuarded(m_filling, m_portrait, &QRadioButton::toggled, this, [this](bool on) {
        if (on) orientationChanged(0);
    });
    connectGuarded(m_filling, m_landscape, &QRadioButton::toggled, this, [this](bool on) {
        if (on) orientationChanged(1);
    });
    connectGuarded(m_filling, m_rect, &QRadioButton::toggled, this, [this](bool on) {
        if (on) labelTypeChanged(false);
    });
    connectGuarded(m_filling, m_circle, &QRadioButton::toggled, this, [this](bool on) {
        if (on) labelTypeChanged(true);
    });
    connectGuarded(m_filling, m_autoLength, &QCheckBox::toggled, this,
                   [this](bool on) { m_label->Measure().SetAutoLength(on); });
    m_preview->OnStartChanged = [this] { refreshStart(); };
    m_preview->OnRepainted = [this] { showFitWarning(); };

    // Printing.
    onInteger(
        m_numLabels, [](TZVCustomLab& l, int v) { l.PrintInfo().SetNumLabels(v); }, false);
    onInteger(
        m_repetitions, [](TZVCustomLab& l, int v) { l.PrintInfo().SetRepetitions(v); }, false);
    m_firstCol->OnChange = m_filling.guarded([this](QObject*) { startChanged(m_firstCol, true); });
    m_firstRow->OnChange = m_filling.guarded([this](QObject*) { startChanged(m_firstRow, false); });
    m_printFrom->OnChange = m_filling.guarded([this](QObject*) { printFromChanged(); });
    onInteger(
        m_printTo, [](TZVCustomLab& l, int v) { l.PrintInfo().SetPrintTo(v); }, false);
    connectGuarded(m_filling, m_showMargins, &QCheckBox::toggled, this, [this](bool on) {
        m_label->SetShowMargins(on);
        m_preview->Repaint();
    });
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == pgPrinting && m_label) refreshStart();
    });

    // Background and frame.
    connect(m_colorFrom, &ColorSwatch::ColorPicked, this, [this](TZVColor c) {
        if (m_label) m_label->BackSurf().SetColor(c);
    });
    connect(m_colorTo, &ColorSwatch::ColorPicked, this, [this](TZVColor c) {
        if (m_label) m_label->BackSurf().SetToColor(c);
    });
    connect(m_frameColor, &ColorSwatch::ColorPicked, this, [this](TZVColor c) {
        if (m_label) m_label->Frame().SetColor(c);
    });
    connectGuarded(m_filling, m_backStyle, &QComboBox::currentIndexChanged, this,
                   [this](int index) { backStyleChanged(index); });
    connectGuarded(m_filling, m_printBack, &QCheckBox::toggled, this,
                   [this](bool on) { m_label->BackSurf().SetPrint(on); });
    connectGuarded(m_filling, m_frameStyle, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) m_label->Frame().SetStyle(static_cast<TZVFrameStyle>(index));
    });
    onFloat(
        m_frameDist1, [](TZVCustomLab& l, float v) { l.Frame().SetDist1(v); }, false);
    onFloat(
        m_frameDist2, [](TZVCustomLab& l, float v) { l.Frame().SetDist2(v); }, false);
    onFloat(
        m_penWidth, [](TZVCustomLab& l, float v) { l.Frame().SetPenWidth(v); }, false);
    m_radius->OnChange = m_filling.guarded([this](QObject*) {
        m_label->Frame().SetRadio(static_cast<float>(limited(*m_radius, m_radius->Value())));
        m_label->Frame().SetPenWidth(static_cast<float>(limited(*m_penWidth, m_penWidth->Value())));
    });
    connectGuarded(m_filling, m_imageFile, &QLineEdit::textChanged, this,
                   [this](const QString& text) { writePicture(text); });
    connect(m_browse, &QPushButton::clicked, this, &TFPropLab::browsePicture);
    connect(m_fromCatalogue, &QPushButton::clicked, this, &TFPropLab::AssignFromCatalogue);

    // Data.
    connectGuarded(m_filling, m_dataEnabled, &QCheckBox::toggled, this,
                   [this](bool on) { dataEnabledChanged(on); });
    connectGuarded(m_filling, m_aliasList, &QComboBox::currentIndexChanged, this,
                   [this] { dataAction([this] { aliasChanged(); }); });
    connectGuarded(m_filling, m_tableList, &QComboBox::currentIndexChanged, this,
                   [this] { dataAction([this] { tableChanged(); }); });
    connectGuarded(m_syncingGrid, m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                   [this](const QModelIndex& current) { gridRowChanged(current.row()); });
}

TFPropLab::~TFPropLab()
{
    if (m_label) m_label->Measure().SetLabelName(m_labelName->text());
}

int TFPropLab::Execute(TZVCustomLab& label, int page, QWidget* parent)
{
    // The controls write into the label at once: the whole visit is one step.
    TZVChangeScope change(label, tr("Label Properties"));
    TFPropLab dialog(parent);
    dialog.Prepare(label, page);
    const int result = dialog.exec();
    dialog.CloseData();
    return result;
}

void TFPropLab::CloseData()
{
    if (m_label) m_label->OpenData(false, false);
}

QString TFPropLab::PictureFilter()
{
    return QStringLiteral("All (*.jpg *.jpeg *.bmp *.emf *.wmf);;JPEG Image File (*.jpg);;"
                          "JPEG Image File (*.jpeg);;Bitmaps (*.bmp);;Enhanced Metafiles (*.emf);;"
                          "Metafiles (*.wmf)");
}

// ---- Preparation ------------------------------------------------------------------------------

void TFPropLab::Prepare(TZVCustomLab& label, int page)
{
    m_label = &label;
    const auto filling = m_filling.hold();
    fillLanguage();
    // Callers number the four classic pages; the counters page is opened by its tab.
    const int start = page >= 0 && page < pgCounters ? page : pgSizes;
    setSteps();
    fillControls();
    prepareData();
    m_counters->Prepare(label);
    if (!m_pages->isTabVisible(start))
        m_pages->setCurrentIndex(pgSizes);
    else
        m_pages->setCurrentIndex(start);
    m_innerCircle->setEnabled(label.Measure().LabelType() == ltCircle);
    m_preview->SetLabel(&label);
}

void TFPropLab::fillLanguage()
{
    const TZVDialogTexts texts(m_label->IniTranslate());
    const auto text = [&texts](const char* key) {
        return texts.text(TZVDialog::TFPropLab, QString::fromLatin1(key));
    };
    setWindowTitle(text("ZvLabPro"));
    for (int i = 0; i < pgCounters; ++i)
        m_pages->setTabText(i, text(kPageKeys[i]));
    m_pages->setTabText(pgCounters, texts.text(QStringLiteral("ZvCounters"), QStringLiteral("Counters")));
    for (const TCaption& c : m_captions)
        c.Set(c.Fallback ? texts.text(QString::fromLatin1(c.Key), QString::fromLatin1(c.Fallback))
                         : text(c.Key));
    m_backStyle->clear();
    for (const char* key : kBackStyleKeys)
        m_backStyle->addItem(text(key));
    m_frameStyle->clear();
    for (const char* key : kFrameStyleKeys)
        m_frameStyle->addItem(text(key));
}

void TFPropLab::setSteps()
{
    for (TZvSpinEditFloat* box : m_integerBoxes) {
        box->SetDigits(0);
        box->SetIncrement(1);
    }
    const double step = m_label->Units() == unMM ? 0.01 : 0.05;
    for (TZvSpinEditFloat* box : m_floatBoxes) {
        box->SetDigits(2);
        box->SetIncrement(step);
    }
    m_penWidth->SetIncrement(0.1);
}

void TFPropLab::showSizeBoxes()
{
    const auto filling = m_filling.hold();
    const TZVMeasure& m = m_label->Measure();
    m_width->SetValue(m.GetWidth());
    m_height->SetValue(m.GetHeight());
    m_innerCircle->SetValue(m.GetInnerCircle());
}

void TFPropLab::fillControls()
{
    const TZVCustomLab& lab = *m_label;
    const TZVMeasure& m = lab.Measure();
    const TZVPrintInfo& info = lab.PrintInfo();

    m_labelName->setText(m.LabelName());
    showSizeBoxes();
    m_diHor->SetValue(m.GetDiHor());
    m_diVer->SetValue(m.GetDiVer());
    m_marLeft->SetValue(m.GetMarLeft());
    m_marTop->SetValue(m.GetMarTop());
    m_rows->SetAsInteger(m.NuHor());
    m_columns->SetAsInteger(m.NuVer());
    showAutoLength();

    m_paperList->clear();
    int paper = -1;
    const auto papers = PaperTypes();
    for (int i = 0; i < kPaperTypeCount; ++i) {
        m_paperList->addItem(papers[i].Name);
        if (paper < 0 && papers[i].Name == m.PaperName()) paper = i;
    }
    m_paperList->setCurrentIndex(paper);
    m_paperWidth->SetValue(m.GetPaperWidth());
    m_paperHeight->SetValue(m.GetPaperHeight());
    const bool user = paper >= 0 && papers[paper].PaperCode == kUserPaperCode;
    m_paperWidth->setEnabled(user);
    m_paperHeight->setEnabled(user);
    (info.Orientation == 1 ? m_landscape : m_portrait)->setChecked(true);
    (m.LabelType() == ltCircle ? m_circle : m_rect)->setChecked(true);

    m_numLabels->SetAsInteger(info.NumLabels());
    m_repetitions->SetAsInteger(info.Repetitions());
    m_firstCol->SetAsInteger(info.FirstCol());
    m_firstRow->SetAsInteger(info.FirstRow());
    m_printFrom->SetAsInteger(info.PrintFrom());
    m_printTo->SetAsInteger(info.PrintTo());
    m_showMargins->setChecked(lab.ShowMargins());

    const TZVBackSurf& back = lab.BackSurf();
    m_colorFrom->SetColor(back.Color());
    m_colorTo->SetColor(back.ToColor());
    m_backStyle->setCurrentIndex(back.Style());
    m_printBack->setChecked(back.Print());
    m_imageFile->setText(back.FileImage());
    const TZVFrame& frame = lab.Frame();
    m_frameStyle->setCurrentIndex(frame.Style());
    m_frameDist1->SetValue(frame.GetDist1());
    m_frameDist2->SetValue(frame.GetDist2());
    m_penWidth->SetValue(frame.GetPenWidth());
    m_radius->SetValue(frame.GetRadio());
    m_frameColor->SetColor(frame.Color());
}

// ---- Sizes ------------------------------------------------------------------------------------

void TFPropLab::onFloat(TZvSpinEditFloat* box, void (*write)(TZVCustomLab&, float), bool geometry)
{
    box->OnChange = m_filling.guarded([this, box, write, geometry](QObject*) {
        write(*m_label, static_cast<float>(limited(*box, box->Value())));
        if (!geometry) return;
        // A circle keeps its width and height equal; show what the label made of them.
        const TZVMeasure& m = m_label->Measure();
        if ((box == m_width || box == m_height) && m.LabelType() == ltCircle) {
            const auto filling = m_filling.hold();
            if (box == m_width)
                m_height->SetValue(m.GetHeight());
            else
                m_width->SetValue(m.GetWidth());
        }
        m_preview->UpdateSize();
    });
}

void TFPropLab::onInteger(TZvSpinEditFloat* box, void (*write)(TZVCustomLab&, int), bool geometry)
{
    box->OnChange = m_filling.guarded([this, box, write, geometry](QObject*) {
        if (box->text().isEmpty()) return;
        write(*m_label, static_cast<int>(limited(*box, box->AsInteger())));
        if (!geometry) return;
        m_preview->Repaint();
        showAutoLength();
    });
}

void TFPropLab::showAutoLength()
{
    const TZVMeasure& m = m_label->Measure();
    const auto filling = m_filling.hold();
    m_autoLength->setChecked(m.AutoLength());
    m_autoLength->setEnabled(m.NuHor() == 1 && m.NuVer() == 1);
}

void TFPropLab::paperChanged(int index)
{
    if (index < 0 || index >= kPaperTypeCount) return;
    const TPaperType& paper = PaperType(index);
    TZVMeasure& m = m_label->Measure();
    m.SetPaper(paper.Width, paper.Height, paper.PaperCode);
    m.SetPaperName(paper.Name);
    {
        const auto filling = m_filling.hold();
        m_paperWidth->SetValue(m.GetPaperWidth());
        m_paperHeight->SetValue(m.GetPaperHeight());
    }
    const bool user = paper.PaperCode == kUserPaperCode;
    m_paperWidth->setEnabled(user);
    m_paperHeight->setEnabled(user);
    m_preview->UpdateSize();
}

void TFPropLab::orientationChanged(int orientation)
{
    m_label->PrintInfo().Orientation = static_cast<std::uint8_t>(orientation);
    m_label->SetModified(true);
    m_preview->UpdateSize();
}

void TFPropLab::labelTypeChanged(bool circle)
{
    m_label->Measure().SetLabelType(circle ? ltCircle : ltRect);
    m_innerCircle->setEnabled(circle);
    showSizeBoxes();
    {
        // A circle refuses straight gradients and a rectangle the round ones.
        const auto filling = m_filling.hold();
        m_backStyle->setCurrentIndex(m_label->BackSurf().Style());
    }
    m_preview->UpdateSize();
}

bool TFPropLab::AssignFromCatalogue()
{
    if (!m_label || !ChooseStock) return false;
    const std::optional<TZVStock> stock = ChooseStock();
    if (!stock) return false;
    QString refusal;
    {
        // Inside the dialog's own step when it runs through Execute, a step of its own otherwise.
        TZVChangeScope change(*m_label, tr("Assign Stock"));
        refusal = AssignStock(*stock, *m_label);
    }
    if (!refusal.isEmpty()) {
        if (ShowError) ShowError(refusal);
        return false;
    }
    const auto filling = m_filling.hold();
    setSteps();
    fillControls();
    m_innerCircle->setEnabled(m_label->Measure().LabelType() == ltCircle);
    m_preview->UpdateSize();
    return true;
}

void TFPropLab::showFitWarning()
{
    const QString warning = m_label ? SheetFitWarning(SheetFit(*m_label)) : QString();
    m_fitWarning->setText(warning);
    m_fitWarning->setVisible(!warning.isEmpty());
}

// ---- Printing ---------------------------------------------------------------------------------

void TFPropLab::startChanged(TZvSpinEditFloat* box, bool column)
{
    if (box->text().isEmpty()) return;
    const int most = column ? m_label->Measure().NuVer() : m_label->Measure().NuHor();
    const int value = box->AsInteger();
    if (value > most) {
        // Changing the text runs this handler again with the lowered value.
        box->SetAsInteger(most);
        return;
    }
    TZVPrintInfo& info = m_label->PrintInfo();
    column ? info.SetFirstCol(value) : info.SetFirstRow(value);
    m_preview->Repaint();
}

void TFPropLab::printFromChanged()
{
    if (m_printFrom->text().isEmpty()) return;
    TZVPrintInfo& info = m_label->PrintInfo();
    info.SetPrintFrom(static_cast<int>(limited(*m_printFrom, m_printFrom->AsInteger())));
    const auto filling = m_filling.hold();
    m_printTo->SetAsInteger(info.PrintTo());
}

void TFPropLab::refreshStart()
{
    const auto filling = m_filling.hold();
    m_firstCol->SetAsInteger(m_label->PrintInfo().FirstCol());
    m_firstRow->SetAsInteger(m_label->PrintInfo().FirstRow());
}

// ---- Background and frame ---------------------------------------------------------------------

void TFPropLab::backStyleChanged(int index)
{
    if (index < 0) return;
    m_label->BackSurf().SetStyle(static_cast<TZVBackStyle>(index));
    const auto filling = m_filling.hold();
    m_backStyle->setCurrentIndex(m_label->BackSurf().Style());
}

void TFPropLab::browsePicture()
{
    if (!m_label || !PickPicture) return;
    const QString name = PickPicture(PictureFilter());
    if (name.isEmpty()) return;
    {
        const auto filling = m_filling.hold();
        m_imageFile->setText(name);
    }
    writePicture(name);
}

void TFPropLab::writePicture(const QString& name)
{
    // A folder is a path still being typed: like a missing file it names no picture, and
    // it is not worth a message on every keystroke.
    const QString file = QFileInfo(name).isDir() ? QString() : name;
    try {
        m_label->BackSurf().SetFileImage(file);
    } catch (const EZvError& e) {
        if (ShowError) ShowError(e.message());
    }
}

// ---- Entered boxes ----------------------------------------------------------------------------

void TFPropLab::setEntered(QWidget* box, bool entered)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base,
                     entered ? toQColor(kEnteredColor) : QApplication::palette(box).color(QPalette::Base));
    box->setPalette(palette);
}

bool TFPropLab::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::FocusIn || type == QEvent::FocusOut) && watched->isWidgetType()) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // A menu or another window taking the focus for a moment is no entry or exit.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            setEntered(static_cast<QWidget*>(watched), type == QEvent::FocusIn);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zorvel
