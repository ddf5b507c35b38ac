// The label definitions dialog.
#include "dialogs/ZVLabelDefsDialog.h"

#include "dialogs/ZVStockModel.h"
#include "dialogs/ZVStockPicker.h"
#include "dialogs/ZVStockSheet.h"
#include "document/ZVCustomLab.h"
#include "document/ZVUndoHistory.h"
#include "foundation/ZVStrings.h"
#include "foundation/ZVUtils.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>

namespace zorvel {
namespace {

// Limits of the editors, in the definition's own unit.
constexpr double kMaxLength = 10000;
constexpr double kMaxGap = 50;
constexpr double kMaxMargin = 100;

// The schematic letter of a field, or 0 for a field without one.
QChar fieldLetter(int field)
{
    switch (field) {
    case ldfPaperWidth:
        return u'A';
    case ldfPaperHeight:
        return u'B';
    case ldfWidth:
        return u'C';
    case ldfHeight:
        return u'D';
    case ldfDiHor:
        return u'E';
    case ldfDiVer:
        return u'F';
    case ldfMarLeft:
        return u'G';
    case ldfMarTop:
        return u'H';
    case ldfNuHor:
        return u'I';
    case ldfNuVer:
        return u'J';
    default:
        return {};
    }
}

// The field a letter of the sheet marks, or -1.
int letterField(QChar letter)
{
    if (letter.isNull()) return -1;
    for (int field = 0; field < kLabelDefFieldCount; ++field)
        if (fieldLetter(field) == letter) return field;
    return -1;
}

// Enough places for the unit's usual fractions (an inch in sixteenths).
int unitDecimals(int units)
{
    return units == unINCH ? 4 : units == unCM ? 3 : 2;
}

} // namespace

// ---- Dialog ---------------------------------------------------------------------------------

TFLabelDefs::TFLabelDefs(QWidget* parent, TZVLabelDefsPlaces places)
    : QDialog(parent), m_stocks(places), m_catalogue(std::move(places))
{
    Confirm = [this](const QString& question) {
        return QMessageBox::question(this, windowTitle(), question) == QMessageBox::Yes;
    };
    ShowError = [this](const QString& message) { QMessageBox::warning(this, windowTitle(), message); };
    ChooseImportFile = [this] {
        return QFileDialog::getOpenFileName(
            this, m_import->text(), QString(),
            tr("Label templates (*.xml *.template);;All files (*)"));
    };
    buildControls();
    fillLanguage();
    fillControls();
    updateButtons();
}

TFLabelDefs::~TFLabelDefs() = default;

void TFLabelDefs::Execute(TZVCustomLab& label, QWidget* parent)
{
    TFLabelDefs dialog(parent);
    dialog.SetLabel(label);
    dialog.exec();
}

void TFLabelDefs::buildControls()
{
    setObjectName(QStringLiteral("labelDefsDialog"));
    const auto caption = [this](const char* key, auto* widget, auto setter, const QString& prefix = {}) {
        m_captions.append({key, nullptr,
                           [widget, setter, prefix](const QString& text) { (widget->*setter)(prefix + text); }});
        return widget;
    };
    const auto letterCaption = [&](const char* key, int field) {
        return caption(key, new QLabel(this), &QLabel::setText,
                       QString(fieldLetter(field)) + QStringLiteral("  "));
    };
    const auto lengthBox = [this](const char* name, double step, double maximum) {
        auto* box = new QDoubleSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(0, maximum);
        box->setSingleStep(step);
        box->setAccelerated(true);
        return box;
    };
    const auto countBox = [this](const char* name) {
        auto* box = new QSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(1, kMaxLabelDefCount);
        return box;
    };

    m_picker = new TZVStockPicker(this);
    m_picker->setObjectName(QStringLiteral("stocks"));
    m_picker->Sheet()->SetLettered(true);

    m_add = caption("ZvAdd", new QPushButton(this), &QPushButton::setText);
    m_add->setObjectName(QStringLiteral("add"));
    m_delete = caption("ZvDelete", new QPushButton(this), &QPushButton::setText);
    m_delete->setObjectName(QStringLiteral("delete"));
    m_assign = caption("ZvSetCurrent", new QPushButton(this), &QPushButton::setText);
    m_assign->setObjectName(QStringLiteral("assign"));
    m_import = new QPushButton(this);
    m_import->setObjectName(QStringLiteral("import"));
    m_captions.append({"ZvImport", "Import...", [this](const QString& text) { m_import->setText(text); }});
    for (QPushButton* button : {m_add, m_delete, m_assign, m_import})
        button->setAutoDefault(false);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("name"));
    m_nameCaption = caption("ZvName", new QLabel(this), &QLabel::setText);
    m_units = new QComboBox(this);
    m_units->setObjectName(QStringLiteral("units"));
    m_units->addItems({QString(), QString(), QString()});
    m_unitsCaption = caption("ZvUnits", new QLabel(this), &QLabel::setText);
    for (int units = unMM; units <= unCM; ++units) {
        static constexpr const char* kKeys[] = {"ZvMM", "ZvINCH", "ZvCM"};
        m_captions.append({kKeys[units], nullptr, [this, units](const QString& text) {
                               m_units->setItemText(units, text);
                               m_unitTexts[units] = text;
                           }});
    }

    m_paper = new QComboBox(this);
    m_paper->setObjectName(QStringLiteral("paper"));
    for (const TPaperType& paper : PaperTypes())
        m_paper->addItem(paper.Name);
    m_paperWidth = lengthBox("paperWidth", 0.5, kMaxLength);
    m_paperHeight = lengthBox("paperHeight", 0.5, kMaxLength);
    m_portrait = caption("ZvPortrait", new QRadioButton(this), &QRadioButton::setText);
    m_portrait->setObjectName(QStringLiteral("portrait"));
    m_landscape = caption("ZvLandscape", new QRadioButton(this), &QRadioButton::setText);
    m_landscape->setObjectName(QStringLiteral("landscape"));
    m_rect = caption("ZvRect", new QRadioButton(this), &QRadioButton::setText);
    m_rect->setObjectName(QStringLiteral("rectangle"));
    m_circle = caption("ZvCircle", new QRadioButton(this), &QRadioButton::setText);
    m_circle->setObjectName(QStringLiteral("circle"));
    m_width = lengthBox("labelWidth", 0.5, kMaxLength);
    m_height = lengthBox("labelHeight", 0.5, kMaxLength);
    m_diHor = lengthBox("gapHorizontal", 0.1, kMaxGap);
    m_diVer = lengthBox("gapVertical", 0.1, kMaxGap);
    m_marLeft = lengthBox("marginLeft", 0.1, kMaxMargin);
    m_marTop = lengthBox("marginTop", 0.1, kMaxMargin);
    m_columns = countBox("columns");
    m_rows = countBox("rows");

    // Layout: the picker on top, its buttons under it, then the chosen definition's measures.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_delete);
    buttons->addWidget(m_assign);
    buttons->addWidget(m_import);
    buttons->addStretch();

    auto* identity = new QHBoxLayout;
    identity->addWidget(m_nameCaption);
    identity->addWidget(m_name, 1);
    identity->addSpacing(12);
    identity->addWidget(m_unitsCaption);
    identity->addWidget(m_units);

    const auto group = [&](const char* key) {
        return caption(key, new QGroupBox(this), &QGroupBox::setTitle);
    };
    const auto pairForm = [&](QGroupBox* box, const char* key1, int field1, QWidget* edit1, const char* key2,
                              int field2, QWidget* edit2) {
        auto* form = new QFormLayout(box);
        form->addRow(letterCaption(key1, field1), edit1);
        form->addRow(letterCaption(key2, field2), edit2);
        return form;
    };

    QGroupBox* paperGroup = group("ZvPaper");
    QFormLayout* paperForm = pairForm(paperGroup, "ZVPaperWidth", ldfPaperWidth, m_paperWidth,
                                      "ZVPaperHeight", ldfPaperHeight, m_paperHeight);
    paperForm->insertRow(0, m_paper);
    auto* orientation = new QHBoxLayout;
    orientation->addWidget(m_portrait);
    orientation->addWidget(m_landscape);
    paperForm->addRow(orientation);

    QGroupBox* typeGroup = group("ZvLabelType");
    auto* typeLayout = new QVBoxLayout(typeGroup);
    typeLayout->addWidget(m_rect);
    typeLayout->addWidget(m_circle);
    typeLayout->addStretch();

    QGroupBox* sizeGroup = group("ZvDim");
    pairForm(sizeGroup, "ZVLabelWidth", ldfWidth, m_width, "ZVLabelHeight", ldfHeight, m_height);
    QGroupBox* gapGroup = group("ZvSep");
    pairForm(gapGroup, "ZvGridX", ldfDiHor, m_diHor, "ZvGridY", ldfDiVer, m_diVer);
    QGroupBox* marginGroup = group("ZvPrMarg");
    pairForm(marginGroup, "ZVLMargin", ldfMarLeft, m_marLeft, "ZVTMargin", ldfMarTop, m_marTop);
    QGroupBox* countGroup = group("ZvDis");
    pairForm(countGroup, "ZvRow", ldfNuHor, m_rows, "ZvCol", ldfNuVer, m_columns);

    auto* groups = new QGridLayout;
    groups->addWidget(paperGroup, 0, 0, 2, 1);
    groups->addWidget(sizeGroup, 0, 1);
    groups->addWidget(gapGroup, 0, 2);
    groups->addWidget(typeGroup, 0, 3);
    groups->addWidget(marginGroup, 1, 1);
    groups->addWidget(countGroup, 1, 2);

    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(m_picker, 1);
    outer->addLayout(buttons);
    outer->addLayout(identity);
    outer->addLayout(groups);
    outer->addWidget(close);

    // Wiring: every control writes one field.
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_add, &QPushButton::clicked, this, &TFLabelDefs::AddDefinition);
    connect(m_delete, &QPushButton::clicked, this, &TFLabelDefs::DeleteDefinition);
    connect(m_assign, &QPushButton::clicked, this, &TFLabelDefs::AssignToCurrent);
    connect(m_import, &QPushButton::clicked, this, &TFLabelDefs::ImportStocks);
    connectGuarded(m_filling, m_picker, &TZVStockPicker::CurrentRowChanged, this,
                   [this](int row) { stockChosen(row); });
    connect(m_picker->Sheet(), &TZVStockSheet::LetterClicked, this,
            [this](QChar letter) { focusLetter(letter); });
    connectGuarded(m_filling, m_name, &QLineEdit::textChanged, this,
                   [this](const QString& text) { setField(ldfName, text); });
    connectGuarded(m_filling, m_units, &QComboBox::currentIndexChanged, this,
                   [this](int index) { unitsChosen(index); });
    connectGuarded(m_filling, m_paper, &QComboBox::currentIndexChanged, this,
                   [this](int index) { paperChosen(index); });
    connectGuarded(m_filling, m_portrait, &QRadioButton::toggled, this, [this](bool on) {
        if (on) orientationChosen(false);
    });
    connectGuarded(m_filling, m_landscape, &QRadioButton::toggled, this, [this](bool on) {
        if (on) orientationChosen(true);
    });
    connectGuarded(m_filling, m_rect, &QRadioButton::toggled, this, [this](bool on) {
        if (on) setField(ldfLabelType, QString::number(int(ltRect)));
    });
    connectGuarded(m_filling, m_circle, &QRadioButton::toggled, this, [this](bool on) {
        if (on) setField(ldfLabelType, QString::number(int(ltCircle)));
    });
    for (const auto& [box, field] : lengthBoxes())
        connectGuarded(m_filling, box, &QDoubleSpinBox::valueChanged, this,
                       [this, field = field](double value) { lengthChanged(field, value); });
    connectGuarded(m_filling, m_columns, &QSpinBox::valueChanged, this,
                   [this](int value) { setField(ldfNuVer, QString::number(value)); });
    connectGuarded(m_filling, m_rows, &QSpinBox::valueChanged, this,
                   [this](int value) { setField(ldfNuHor, QString::number(value)); });
}

void TFLabelDefs::fillLanguage()
{
    const TZVDialogTexts texts(m_label ? m_label->IniTranslate() : QString());
    const auto text = [&texts](const char* key) {
        return texts.text(TZVDialog::TFLabelDefs, QString::fromLatin1(key));
    };
    setWindowTitle(text("ZvLabDefs"));
    m_picker->FillLanguage(texts);
    for (const TCaption& caption : m_captions)
        caption.Set(caption.Fallback ? texts.text(QString::fromLatin1(caption.Key), QString::fromUtf8(caption.Fallback))
                                     : text(caption.Key));
    fitLengthBoxes();
}

void TFLabelDefs::fitLengthBoxes()
{
    // As wide in every unit as in the widest: a definition in another unit, chosen or added,
    // would otherwise widen the dialog and move its buttons from under the pointer.
    QDoubleSpinBox probe;
    for (const auto& [box, field] : lengthBoxes()) {
        probe.setFont(box->font());
        probe.setRange(box->minimum(), box->maximum());
        int widest = 0;
        for (int units = unMM; units <= unCM; ++units) {
            probe.setDecimals(unitDecimals(units));
            probe.setSuffix(u' ' + m_unitTexts[units]);
            widest = std::max(widest, probe.sizeHint().width());
        }
        box->setMinimumWidth(widest);
    }
}

QWidget* TFLabelDefs::fieldEditor(int field) const
{
    switch (field) {
    case ldfPaperName:
        return m_paper;
    case ldfPaperWidth:
        return m_paperWidth;
    case ldfPaperHeight:
        return m_paperHeight;
    case ldfWidth:
        return m_width;
    case ldfHeight:
        return m_height;
    case ldfDiHor:
        return m_diHor;
    case ldfDiVer:
        return m_diVer;
    case ldfMarLeft:
        return m_marLeft;
    case ldfMarTop:
        return m_marTop;
    case ldfNuVer:
        return m_columns;
    case ldfNuHor:
        return m_rows;
    default:
        return nullptr;
    }
}

std::array<std::pair<QDoubleSpinBox*, int>, 8> TFLabelDefs::lengthBoxes() const
{
    return {{{m_paperWidth, ldfPaperWidth},
             {m_paperHeight, ldfPaperHeight},
             {m_width, ldfWidth},
             {m_height, ldfHeight},
             {m_diHor, ldfDiHor},
             {m_diVer, ldfDiVer},
             {m_marLeft, ldfMarLeft},
             {m_marTop, ldfMarTop}}};
}

QString TFLabelDefs::unitText(TZVUnits units) const
{
    return m_unitTexts[units];
}

void TFLabelDefs::SetLabel(TZVCustomLab& label)
{
    m_label = &label;
    m_index = -1;
    m_fields.clear();
    fillLanguage();
    TZVLabelDefsResult loaded = m_catalogue.Load(label.LabelDefs());
    const TZVLabelDefsResult stocks = m_stocks.Load(label.LabelDefs());
    if (loaded.Ok) loaded = stocks;
    buildList();
    SelectLine(m_catalogue.Lines().isEmpty() ? -1 : 0);
    if (m_catalogue.Lines().isEmpty()) m_picker->SetCurrentRow(m_picker->ShownRow(0));
    fillControls();
    updateButtons();
    if (!loaded.Ok && ShowError) ShowError(loaded.Error);
}

void TFLabelDefs::buildList()
{
    const auto filling = m_filling.hold();
    QList<TZVStock> stocks = m_stocks.Shipped();
    const int firstUserRow = int(stocks.size());
    stocks.reserve(firstUserRow + m_catalogue.Lines().size());
    for (const QString& line : m_catalogue.Lines())
        stocks.append(StockFromLabelDef(SplitLabelDef(line)));
    m_picker->SetStocks(std::move(stocks), firstUserRow);
}

void TFLabelDefs::SelectLine(int index)
{
    const int row = index >= 0 && index < m_catalogue.Lines().size() ? m_picker->Model().FirstUserRow() + index : -1;
    m_picker->SetCurrentRow(row);
    stockChosen(row);
}

void TFLabelDefs::stockChosen(int row)
{
    const TZVStockTableModel& model = m_picker->Model();
    const int index = model.IsUserRow(row) ? row - model.FirstUserRow() : -1;
    if (index >= 0 && index == m_index) return;
    storeFields();
    m_index = index;
    if (index >= 0)
        m_fields = SplitLabelDef(m_catalogue.Lines()[index]);
    else
        m_fields = row >= 0 && row < model.Stocks().size() ? LabelDefFromStock(model.Stocks()[row]) : QStringList();
    fillControls();
    updateButtons();
}

void TFLabelDefs::focusLetter(QChar letter)
{
    if (QWidget* editor = fieldEditor(letterField(letter)); editor && editor->isEnabled()) editor->setFocus();
}

void TFLabelDefs::storeFields()
{
    if (m_index < 0 || m_index >= m_catalogue.Lines().size()) return;
    m_catalogue.Lines()[m_index] = JoinLabelDef(m_fields);
}

void TFLabelDefs::fillControls()
{
    const auto filling = m_filling.hold();
    // A shipped stock is shown but not edited; only the user's own lines are.
    const bool shown = !m_fields.isEmpty();
    const bool editable = m_index >= 0;
    const QStringList f = shown ? m_fields : SplitLabelDef(QString());
    const TZVUnits units = DefUnits(f);
    const int paperIndex = FindPaperType(f[ldfPaperName]);
    const bool userPaper = paperIndex == UserPaperIndex();

    m_name->setText(f[ldfName]);
    m_units->setCurrentIndex(units);
    m_paper->setCurrentIndex(shown ? paperIndex : -1);
    const int decimals = unitDecimals(units);
    for (const auto& [box, field] : lengthBoxes()) {
        box->setDecimals(decimals);
        box->setSuffix(u' ' + unitText(units));
        box->setValue(ReadDefDecimal(f[field]));
        box->setEnabled(editable);
    }
    // A paper of the table has its own size; only "User" takes one typed in.
    m_paperWidth->setEnabled(editable && userPaper);
    m_paperHeight->setEnabled(editable && userPaper);
    m_columns->setValue(ReadDefInteger(f[ldfNuVer]));
    m_rows->setValue(ReadDefInteger(f[ldfNuHor]));
    fillOrientation();
    const bool circle = DefLabelType(f) == ltCircle;
    m_rect->setChecked(!circle);
    m_circle->setChecked(circle);
    for (QWidget* editor : std::initializer_list<QWidget*>{m_name, m_units, m_paper, m_portrait, m_landscape,
                                                           m_rect, m_circle, m_columns, m_rows})
        editor->setEnabled(editable);
}

void TFLabelDefs::updateButtons()
{
    const bool editable = m_index >= 0;
    m_delete->setEnabled(editable);
    m_assign->setEnabled(m_label && !m_fields.isEmpty() &&
                         (!editable || FindPaperType(m_fields.value(ldfPaperName)) >= 0));
}

void TFLabelDefs::setField(int field, const QString& value)
{
    if (m_index < 0 || field < 0 || field >= m_fields.size()) return;
    m_fields[field] = value;
    storeFields();
    m_picker->Model().SetStock(m_picker->Model().FirstUserRow() + m_index, StockFromLabelDef(m_fields));
    updateButtons();
}

void TFLabelDefs::lengthChanged(int field, double value)
{
    setField(field, FormatDefGeneral(value));
    if (field == ldfPaperWidth || field == ldfPaperHeight) fillOrientation();
}

void TFLabelDefs::fillOrientation()
{
    const auto filling = m_filling.hold();
    const bool landscape =
        ReadDefDecimal(m_fields.value(ldfPaperWidth)) > ReadDefDecimal(m_fields.value(ldfPaperHeight));
    m_portrait->setChecked(!landscape);
    m_landscape->setChecked(landscape);
}

void TFLabelDefs::unitsChosen(int index)
{
    if (index < 0) return;
    setField(ldfUnits, QString::number(index));
    fillControls();
}

void TFLabelDefs::paperChosen(int index)
{
    if (index < 0 || m_index < 0) return;
    const TPaperType& paper = PaperType(index);
    setField(ldfPaperName, paper.Name);
    if (index != UserPaperIndex()) {
        // The table is in millimetres; the line keeps its own unit.
        const TZVUnits units = DefUnits(m_fields);
        const auto inLineUnits = [units](float mm) {
            const double value = FromModel(ToModel(mm, unMM), units);
            return FormatDefGeneral(std::round(value * 1e4) / 1e4);
        };
        setField(ldfPaperWidth, inLineUnits(paper.Width));
        setField(ldfPaperHeight, inLineUnits(paper.Height));
    }
    fillControls();
}

void TFLabelDefs::orientationChosen(bool landscape)
{
    if (m_index < 0) return;
    const double width = ReadDefDecimal(m_fields[ldfPaperWidth]);
    const double height = ReadDefDecimal(m_fields[ldfPaperHeight]);
    if ((width > height) != landscape && width != height) {
        m_fields.swapItemsAt(ldfPaperWidth, ldfPaperHeight);
        setField(ldfPaperWidth, m_fields[ldfPaperWidth]);
    }
    fillControls();
}

void TFLabelDefs::AddDefinition()
{
    if (!m_label) return;
    storeFields();
    const QString line = LabelDefFromLabel(*m_label, MessageText(TZVMsg::NewLabel));
    m_catalogue.Lines().append(line);
    {
        const auto filling = m_filling.hold();
        m_picker->Model().AppendStock(StockFromLabelDef(SplitLabelDef(line)));
    }
    SelectLine(int(m_catalogue.Lines().size() - 1));
}

void TFLabelDefs::DeleteDefinition()
{
    if (m_index < 0 || m_index >= m_catalogue.Lines().size()) return;
    if (Confirm && !Confirm(MessageText(TZVMsg::RemoveLabelDef))) return;
    const int index = m_index;
    // Nothing stays selected, so no line is stored while the list lets go of the row.
    m_index = -1;
    m_fields.clear();
    {
        const auto filling = m_filling.hold();
        m_catalogue.Lines().removeAt(index);
        m_picker->Model().RemoveStock(m_picker->Model().FirstUserRow() + index);
        m_picker->SetCurrentRow(-1);
    }
    fillControls();
    updateButtons();
}

bool TFLabelDefs::AssignToCurrent()
{
    if (!m_label || m_fields.isEmpty()) return false;
    storeFields();
    TZVChangeScope change(*m_label, tr("Assign Label Definition"));
    // A line of the classic fields keeps its own unit; a stock is assigned in millimetres.
    if (m_index >= 0 && m_fields.size() <= ldfContinuous + 1) return AssignLabelDef(m_fields, *m_label);
    const QString refusal = AssignStock(StockFromLabelDef(m_fields), *m_label);
    if (!refusal.isEmpty() && ShowError) ShowError(refusal);
    return refusal.isEmpty();
}

bool TFLabelDefs::ImportStocks()
{
    if (!m_label) return false;
    const QString path = ChooseImportFile ? ChooseImportFile() : QString();
    if (path.isEmpty()) return false;
    // The import appends to the catalogue file, so the edits made here go there first.
    storeFields();
    TZVLabelDefsResult step = m_catalogue.Save();
    if (step.Ok) step = m_stocks.Load(m_label->LabelDefs());
    if (step.Ok) {
        const TZVStockImportResult imported = m_stocks.Import(path);
        if (!imported.Ok) step = {false, imported.Error};
    }
    if (!step.Ok) {
        if (ShowError) ShowError(step.Error);
        return false;
    }
    const int firstNew = int(m_catalogue.Lines().size());
    m_index = -1;
    m_fields.clear();
    const TZVLabelDefsResult reloaded = m_catalogue.Load(m_label->LabelDefs());
    buildList();
    SelectLine(firstNew);
    if (!reloaded.Ok && ShowError) ShowError(reloaded.Error);
    return reloaded.Ok;
}

void TFLabelDefs::done(int result)
{
    storeFields();
    const TZVLabelDefsResult saved = m_catalogue.Save();
    if (!saved.Ok && ShowError) ShowError(saved.Error);
    QDialog::done(result);
}

} // namespace zorvel
