// The label definitions dialog and its sheet schematic.
#include "dialogs/ZVLabelDefsDialog.h"

#include "document/ZVCustomLab.h"
#include "document/ZVUndoHistory.h"
#include "foundation/ZVStrings.h"
#include "foundation/ZVUtils.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTreeWidget>
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

constexpr int kFieldRole = Qt::UserRole + 1;

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

// The fields a definition node shows as children, in this order.
constexpr std::array kChildFields = {ldfPaperName, ldfPaperWidth, ldfPaperHeight, ldfWidth,
                                     ldfHeight,    ldfDiHor,      ldfDiVer,       ldfMarLeft,
                                     ldfMarTop,    ldfNuVer,      ldfNuHor};

bool isCountField(int field)
{
    return field == ldfNuVer || field == ldfNuHor;
}

QColor letterColour(QChar letter)
{
    static const std::array<QColor, 10> colours = {
        QColor(0x3465a4), QColor(0x3465a4), QColor(0x4e9a06), QColor(0x4e9a06), QColor(0xc4a000),
        QColor(0xc4a000), QColor(0xce5c00), QColor(0xce5c00), QColor(0x75507b), QColor(0x75507b),
    };
    const int index = letter.unicode() - u'A';
    return index >= 0 && index < int(colours.size()) ? colours[std::size_t(index)] : QColor(Qt::gray);
}

QIcon letterIcon(QChar letter)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(letterColour(letter));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString(letter));
    return QIcon(pixmap);
}

QIcon paperIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath page;
    page.moveTo(3.5, 0.5);
    page.lineTo(10.5, 0.5);
    page.lineTo(13.5, 3.5);
    page.lineTo(13.5, 15.5);
    page.lineTo(3.5, 15.5);
    page.closeSubpath();
    p.setPen(QColor(0x555753));
    p.setBrush(Qt::white);
    p.drawPath(page);
    for (int y = 5; y <= 12; y += 3)
        p.drawLine(QPointF(5.5, y + 0.5), QPointF(11.5, y + 0.5));
    return QIcon(pixmap);
}

QIcon labelTypeIcon(TZorvelType type)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x204a87));
    p.setBrush(QColor(0xd0e0f5));
    if (type == ltCircle)
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    else
        p.drawRoundedRect(QRectF(0.5, 3.5, 15, 9), 2, 2);
    return QIcon(pixmap);
}

// Enough places for the unit's usual fractions (an inch in sixteenths).
int unitDecimals(int units)
{
    return units == unINCH ? 4 : units == unCM ? 3 : 2;
}

// Numbers on screen follow the user's locale; the file keeps its own separators.
QString shownNumber(double value)
{
    return QLocale().toString(value, 'g', QLocale::FloatingPointShortest);
}

// Only the name of a definition node and the counts may be edited in the tree.
class TreeEditDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        if (index.column() != 0) return nullptr;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }
};

// A definition's lengths made drawable: finite, not negative, the counts within the editors'.
struct TSheetGeometry
{
    double PaperWidth, PaperHeight, Width, Height, DiHor, DiVer, MarLeft, MarTop;
    int Columns, Rows;
    bool Circle;

    explicit TSheetGeometry(const QStringList& f)
    {
        const auto length = [&f](int field) { return std::max(ReadDefDecimal(f.value(field)), 0.0); };
        PaperWidth = length(ldfPaperWidth);
        PaperHeight = length(ldfPaperHeight);
        Width = length(ldfWidth);
        Height = length(ldfHeight);
        DiHor = length(ldfDiHor);
        DiVer = length(ldfDiVer);
        MarLeft = length(ldfMarLeft);
        MarTop = length(ldfMarTop);
        Columns = std::clamp(ReadDefInteger(f.value(ldfNuVer)), 1, kMaxLabelDefCount);
        Rows = std::clamp(ReadDefInteger(f.value(ldfNuHor)), 1, kMaxLabelDefCount);
        Circle = DefLabelType(f) == ltCircle;
    }
};

} // namespace

// ---- Sheet schematic ------------------------------------------------------------------------

LabelDefsSheet::LabelDefsSheet(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(160, 180);
}

void LabelDefsSheet::SetFields(const QStringList& fields)
{
    m_fields = fields;
    update();
}

QSize LabelDefsSheet::sizeHint() const
{
    return {230, 270};
}

void LabelDefsSheet::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().window());
    if (m_fields.isEmpty()) return;

    const TSheetGeometry g(m_fields);
    // Room outside the paper for the letters A, B, I and J.
    constexpr int kPad = 22;
    const QRectF room = QRectF(rect()).adjusted(kPad, kPad, -kPad, -kPad);
    if (room.width() <= 0 || room.height() <= 0) return;
    const double paperWidth = g.PaperWidth > 0 ? g.PaperWidth : 1;
    const double paperHeight = g.PaperHeight > 0 ? g.PaperHeight : 1;
    const double scale = std::min(room.width() / paperWidth, room.height() / paperHeight);
    const QRectF paper(room.center().x() - paperWidth * scale / 2,
                       room.center().y() - paperHeight * scale / 2, paperWidth * scale, paperHeight * scale);

    p.setPen(QPen(palette().windowText().color(), 1));
    p.setBrush(Qt::white);
    p.drawRect(paper);

    const auto labelRect = [&](int row, int column) {
        return QRectF(paper.left() + (g.MarLeft + column * (g.Width + g.DiHor)) * scale,
                      paper.top() + (g.MarTop + row * (g.Height + g.DiVer)) * scale, g.Width * scale,
                      g.Height * scale);
    };
    p.save();
    p.setClipRect(paper);
    p.setPen(QPen(QColor(0x204a87), 1));
    p.setBrush(QColor(0xd0e0f5));
    for (int row = 0; row < g.Rows; ++row) {
        for (int column = 0; column < g.Columns; ++column) {
            const QRectF r = labelRect(row, column);
            if (r.top() > paper.bottom() || r.left() > paper.right()) break;
            if (g.Circle)
                p.drawEllipse(r);
            else
                p.drawRect(r);
        }
    }
    p.restore();

    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    const auto letter = [&p](QChar c, QPointF centre) {
        const QRectF box(centre.x() - 7, centre.y() - 7, 14, 14);
        p.setPen(Qt::NoPen);
        p.setBrush(letterColour(c));
        p.drawRoundedRect(box, 3, 3);
        p.setPen(Qt::white);
        p.drawText(box, Qt::AlignCenter, QString(c));
    };
    const auto arrow = [&p](QPointF from, QPointF to) {
        p.setPen(QPen(QColor(0x555753), 1));
        p.drawLine(from, to);
        p.drawEllipse(from, 1.5, 1.5);
        p.drawEllipse(to, 1.5, 1.5);
    };

    // Paper: A along the top, B down the left; counts: J along the bottom, I down the right.
    arrow({paper.left(), paper.top() - 11}, {paper.right(), paper.top() - 11});
    letter(u'A', {paper.center().x(), paper.top() - 11});
    arrow({paper.left() - 11, paper.top()}, {paper.left() - 11, paper.bottom()});
    letter(u'B', {paper.left() - 11, paper.center().y()});
    arrow({paper.left(), paper.bottom() + 11}, {paper.right(), paper.bottom() + 11});
    letter(u'J', {paper.center().x(), paper.bottom() + 11});
    arrow({paper.right() + 11, paper.top()}, {paper.right() + 11, paper.bottom()});
    letter(u'I', {paper.right() + 11, paper.center().y()});

    // The other measures spread over different labels, so that small labels do not pile them up.
    const auto centreOf = [&](int row, int column) {
        return labelRect(row, column).intersected(paper).center();
    };
    const int lastRow = g.Rows - 1;
    const int lastColumn = g.Columns - 1;
    if (g.Rows > 1 || g.Columns > 1) {
        letter(u'C', centreOf(0, 0));
        letter(u'D', g.Rows > 1 ? centreOf(1, 0) : centreOf(0, 1));
    } else {
        letter(u'C', centreOf(0, 0) - QPointF(0, 9));
        letter(u'D', centreOf(0, 0) + QPointF(0, 9));
    }
    const QRectF first = labelRect(0, 0);
    if (g.Columns > 1)
        letter(u'E', {first.right() + g.DiHor * scale / 2, centreOf(std::min(2, lastRow), 0).y()});
    if (g.Rows > 1) letter(u'F', {centreOf(0, lastColumn).x(), first.bottom() + g.DiVer * scale / 2});
    letter(u'G', {paper.left() + g.MarLeft * scale / 2, paper.top() + paper.height() * 3 / 4});
    letter(u'H', {paper.left() + paper.width() * 3 / 4, paper.top() + g.MarTop * scale / 2});
}

// ---- Dialog ---------------------------------------------------------------------------------

TFLabelDefs::TFLabelDefs(QWidget* parent, TZVLabelDefsPlaces places)
    : QDialog(parent), m_catalogue(std::move(places))
{
    Confirm = [this](const QString& question) {
        return QMessageBox::question(this, windowTitle(), question) == QMessageBox::Yes;
    };
    ShowError = [this](const QString& message) { QMessageBox::warning(this, windowTitle(), message); };
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
        m_captions.append(
            {key, [widget, setter, prefix](const QString& text) { (widget->*setter)(prefix + text); }});
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

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("definitions"));
    m_tree->setColumnCount(4);
    m_tree->setItemDelegate(new TreeEditDelegate(m_tree));
    m_tree->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_tree->setMinimumWidth(380);
    m_tree->header()->setStretchLastSection(false);

    m_add = caption("ZvAdd", new QPushButton(this), &QPushButton::setText);
    m_add->setObjectName(QStringLiteral("add"));
    m_delete = caption("ZvDelete", new QPushButton(this), &QPushButton::setText);
    m_delete->setObjectName(QStringLiteral("delete"));
    m_assign = caption("ZvSetCurrent", new QPushButton(this), &QPushButton::setText);
    m_assign->setObjectName(QStringLiteral("assign"));
    m_add->setAutoDefault(false);
    m_delete->setAutoDefault(false);
    m_assign->setAutoDefault(false);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("name"));
    m_nameCaption = caption("ZvName", new QLabel(this), &QLabel::setText);
    m_units = new QComboBox(this);
    m_units->setObjectName(QStringLiteral("units"));
    m_units->addItems({QString(), QString(), QString()});
    m_unitsCaption = caption("ZvUnits", new QLabel(this), &QLabel::setText);
    for (int units = unMM; units <= unCM; ++units) {
        static constexpr const char* kKeys[] = {"ZvMM", "ZvINCH", "ZvCM"};
        m_captions.append({kKeys[units], [this, units](const QString& text) {
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
    m_sheet = new LabelDefsSheet(this);
    m_sheet->setObjectName(QStringLiteral("sheet"));

    // Layout: the tree and its buttons on the left; the name, the schematic and the groups of
    // measures on the right.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_delete);
    buttons->addWidget(m_assign);
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(m_tree, 1);
    left->addLayout(buttons);

    auto* identity = new QFormLayout;
    identity->addRow(m_nameCaption, m_name);
    identity->addRow(m_unitsCaption, m_units);

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
    groups->addWidget(paperGroup, 0, 0);
    groups->addWidget(typeGroup, 0, 1);
    groups->addWidget(sizeGroup, 1, 0);
    groups->addWidget(gapGroup, 1, 1);
    groups->addWidget(marginGroup, 2, 0);
    groups->addWidget(countGroup, 2, 1);

    auto* top = new QHBoxLayout;
    top->addLayout(identity, 1);
    top->addWidget(m_sheet);
    auto* right = new QVBoxLayout;
    right->addLayout(top);
    right->addLayout(groups);
    right->addStretch();

    auto* body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addLayout(right);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(body, 1);
    outer->addWidget(close);

    // Wiring: every control writes one field.
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_add, &QPushButton::clicked, this, &TFLabelDefs::AddDefinition);
    connect(m_delete, &QPushButton::clicked, this, &TFLabelDefs::DeleteDefinition);
    connect(m_assign, &QPushButton::clicked, this, &TFLabelDefs::AssignToCurrent);
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { selectItem(current); });
    connect(m_tree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { focusFieldEditor(item); });
    connect(m_tree, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { focusFieldEditor(item); });
    connectGuarded(m_filling, m_tree, &QTreeWidget::itemChanged, this,
                   [this](QTreeWidgetItem* item, int column) { treeItemEdited(item, column); });
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
    m_tree->setHeaderLabels(
        {text("ZvLabName"), text("ZvPaperType"), text("ZvPaperSize"), text("ZvLabelSize")});
    for (const auto& [key, apply] : m_captions)
        apply(text(key));
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
    const TZVLabelDefsResult loaded = m_catalogue.Load(label.LabelDefs());
    buildTree();
    if (m_tree->topLevelItemCount() > 0) m_tree->setCurrentItem(m_tree->topLevelItem(0));
    fillControls();
    updateButtons();
    if (!loaded.Ok && ShowError) ShowError(loaded.Error);
}

void TFLabelDefs::buildTree()
{
    const auto filling = m_filling.hold();
    m_tree->clear();
    for (int i = 0; i < m_catalogue.Lines().size(); ++i)
        addTreeNode(i);
    for (int column = 0; column < m_tree->columnCount(); ++column)
        m_tree->resizeColumnToContents(column);
}

QTreeWidgetItem* TFLabelDefs::addTreeNode(int index)
{
    const auto filling = m_filling.hold();
    auto* node = new QTreeWidgetItem;
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    for (const int field : kChildFields) {
        auto* child = new QTreeWidgetItem(node);
        child->setData(0, kFieldRole, field);
        const QChar letter = fieldLetter(field);
        child->setIcon(0, letter.isNull() ? paperIcon() : letterIcon(letter));
        if (isCountField(field)) child->setFlags(child->flags() | Qt::ItemIsEditable);
    }
    m_tree->insertTopLevelItem(index, node);
    updateTreeNode(index);
    return node;
}

void TFLabelDefs::updateTreeNode(int index)
{
    QTreeWidgetItem* node = m_tree->topLevelItem(index);
    if (!node || index < 0 || index >= m_catalogue.Lines().size()) return;
    const auto filling = m_filling.hold();
    const QStringList f = index == m_index ? m_fields : SplitLabelDef(m_catalogue.Lines()[index]);
    const QString unit = unitText(DefUnits(f));
    const auto number = [&f](int field) { return shownNumber(ReadDefDecimal(f[field])); };
    node->setText(0, f[ldfName]);
    node->setIcon(0, labelTypeIcon(DefLabelType(f)));
    node->setText(1, f[ldfPaperName]);
    node->setText(2, number(ldfPaperWidth) + QStringLiteral(" x ") + number(ldfPaperHeight));
    node->setText(3, number(ldfWidth) + QStringLiteral(" x ") + number(ldfHeight));
    for (int i = 0; i < node->childCount(); ++i) {
        QTreeWidgetItem* child = node->child(i);
        const int field = child->data(0, kFieldRole).toInt();
        if (field == ldfPaperName)
            child->setText(0, f[field]);
        else if (isCountField(field))
            child->setText(0, QString::number(ReadDefInteger(f[field])));
        else
            child->setText(0, number(field) + u' ' + unit);
    }
}

void TFLabelDefs::storeFields()
{
    if (m_index < 0 || m_index >= m_catalogue.Lines().size()) return;
    m_catalogue.Lines()[m_index] = JoinLabelDef(m_fields);
}

void TFLabelDefs::selectItem(QTreeWidgetItem* item)
{
    QTreeWidgetItem* node = item && item->parent() ? item->parent() : item;
    const int index = node ? m_tree->indexOfTopLevelItem(node) : -1;
    if (index == m_index) return;
    storeFields();
    m_index = index;
    m_fields = index >= 0 ? SplitLabelDef(m_catalogue.Lines()[index]) : QStringList();
    fillControls();
    updateButtons();
}

void TFLabelDefs::focusFieldEditor(QTreeWidgetItem* item)
{
    if (!item || !item->parent()) return;
    if (QWidget* editor = fieldEditor(item->data(0, kFieldRole).toInt())) editor->setFocus();
}

void TFLabelDefs::fillControls()
{
    const auto filling = m_filling.hold();
    const bool selected = m_index >= 0;
    const QStringList f = selected ? m_fields : SplitLabelDef(QString());
    const TZVUnits units = DefUnits(f);
    const int paperIndex = FindPaperType(f[ldfPaperName]);
    const bool userPaper = paperIndex == UserPaperIndex();

    m_name->setText(selected ? f[ldfName] : QString());
    m_units->setCurrentIndex(units);
    m_paper->setCurrentIndex(selected ? paperIndex : -1);
    const int decimals = unitDecimals(units);
    for (const auto& [box, field] : lengthBoxes()) {
        box->setDecimals(decimals);
        box->setSuffix(u' ' + unitText(units));
        box->setValue(ReadDefDecimal(f[field]));
        box->setEnabled(selected);
    }
    // A paper of the table has its own size; only "User" takes one typed in.
    m_paperWidth->setEnabled(selected && userPaper);
    m_paperHeight->setEnabled(selected && userPaper);
    m_columns->setValue(ReadDefInteger(f[ldfNuVer]));
    m_rows->setValue(ReadDefInteger(f[ldfNuHor]));
    fillOrientation();
    const bool circle = DefLabelType(f) == ltCircle;
    m_rect->setChecked(!circle);
    m_circle->setChecked(circle);
    for (QWidget* editor : std::initializer_list<QWidget*>{m_name, m_units, m_paper, m_portrait, m_landscape,
                                                           m_rect, m_circle, m_columns, m_rows})
        editor->setEnabled(selected);
    m_sheet->SetFields(selected ? f : QStringList());
}

void TFLabelDefs::updateButtons()
{
    const bool selected = m_index >= 0;
    m_delete->setEnabled(selected);
    m_assign->setEnabled(selected && m_label && FindPaperType(m_fields.value(ldfPaperName)) >= 0);
}

void TFLabelDefs::setField(int field, const QString& value)
{
    if (m_index < 0 || field < 0 || field >= m_fields.size()) return;
    m_fields[field] = value;
    storeFields();
    updateTreeNode(m_index);
    m_sheet->SetFields(m_fields);
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

void TFLabelDefs::treeItemEdited(QTreeWidgetItem* item, int column)
{
    if (column != 0 || !item) return;
    // Editing an item selects it first, so the edited definition is the selected one.
    selectItem(item);
    if (!item->parent()) {
        setField(ldfName, item->text(0));
    } else {
        const int field = item->data(0, kFieldRole).toInt();
        if (!isCountField(field)) return;
        const int count = std::clamp(ReadDefInteger(item->text(0)), 1, kMaxLabelDefCount);
        setField(field, QString::number(count));
    }
    fillControls();
}

void TFLabelDefs::AddDefinition()
{
    if (!m_label) return;
    storeFields();
    m_catalogue.Lines().append(LabelDefFromLabel(*m_label, MessageText(TZVMsg::NewLabel)));
    QTreeWidgetItem* node = addTreeNode(int(m_catalogue.Lines().size() - 1));
    m_tree->setCurrentItem(node);
    updateButtons();
}

void TFLabelDefs::DeleteDefinition()
{
    if (m_index < 0 || m_index >= m_catalogue.Lines().size()) return;
    if (Confirm && !Confirm(MessageText(TZVMsg::RemoveLabelDef))) return;
    const int index = m_index;
    // Nothing stays selected, so no line is stored while the tree lets go of the node.
    m_index = -1;
    m_fields.clear();
    {
        const auto filling = m_filling.hold();
        m_catalogue.Lines().removeAt(index);
        delete m_tree->takeTopLevelItem(index);
        m_tree->setCurrentItem(nullptr);
        m_tree->clearSelection();
    }
    // The tree may have moved its current item while the node went; that selected nothing here.
    m_index = -1;
    m_fields.clear();
    fillControls();
    updateButtons();
}

bool TFLabelDefs::AssignToCurrent()
{
    if (!m_label || m_index < 0) return false;
    storeFields();
    TZVChangeScope change(*m_label, tr("Assign Label Definition"));
    return AssignLabelDef(m_fields, *m_label);
}

void TFLabelDefs::done(int result)
{
    storeFields();
    const TZVLabelDefsResult saved = m_catalogue.Save();
    if (!saved.Ok && ShowError) ShowError(saved.Error);
    QDialog::done(result);
}

} // namespace zorvel
