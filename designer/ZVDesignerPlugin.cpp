// The widget box entries for TZVEditor and TZVInspector and their painted icons.
#include "designer/ZVDesignerPlugin.h"

#include "editor/ZVEditor.h"
#include "elements/ZVSymbologies.h"
#include "inspector/ZVInspector.h"

#include <QPainter>
#include <QPixmap>

#include <utility>

namespace zorvel {
namespace {

// Icons are drawn on a 32 x 32 grid and scaled, so every size the widget box asks for is sharp.
constexpr int kIconGrid = 32;
constexpr int kIconSizes[] = {16, 22, 32, 48, 64};

template <typename Paint> QIcon paintedIcon(Paint paint)
{
    QIcon icon;
    for (int size : kIconSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(double(size) / kIconGrid, double(size) / kIconGrid);
        paint(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// The Designer-side property notes; file names must not be wrapped in tr() by uic.
const char kEditorSpecifications[] = R"(
 <customwidgets>
  <customwidget>
   <class>zorvel::TZVEditor</class>
   <propertyspecifications>
    <tooltip name="DrawTool">What the next click on the label places; dwSelection selects and moves</tooltip>
    <tooltip name="Color">Colour of the area around the label, red in the low byte</tooltip>
    <tooltip name="AllowEdit">Off blocks all mouse editing and keeps the selection tool</tooltip>
    <tooltip name="Snap">How mouse positions snap while drawing and moving</tooltip>
    <tooltip name="LineMove">lmOrto makes new lines horizontal or vertical</tooltip>
    <tooltip name="SelColor">Rubber band and frame of a single selection, red in the low byte</tooltip>
    <tooltip name="SelMultiColor">Frames when several elements are selected, red in the low byte</tooltip>
    <tooltip name="BarCodeType">Symbology of the bar codes the bar code tool places, from %1 to %2</tooltip>
   </propertyspecifications>
  </customwidget>
 </customwidgets>)";

const char kInspectorSpecifications[] = R"(
 <customwidgets>
  <customwidget>
   <class>zorvel::TZVInspector</class>
   <propertyspecifications>
    <stringpropertyspecification name="IniTranslate" type="singleline" notr="true"/>
    <tooltip name="SplitPos">Position of the split between names and values, in pixels</tooltip>
    <tooltip name="Language">Language of the property captions when no IniTranslate file is loaded</tooltip>
    <tooltip name="IniTranslate">Translation file of the property captions (section "inspector"); when it exists it wins over Language</tooltip>
    <tooltip name="DropDownOnSelect">Lists are fixed and open as soon as their row is selected</tooltip>
    <tooltip name="TimeRefresh">Delay in milliseconds before the label repaints after a typed change</tooltip>
    <tooltip name="InspectMode">imClick makes one click in a value act like a double click</tooltip>
    <tooltip name="ShowUnicodeEditor">Allows the wide-text dialog for wide-text rows</tooltip>
   </propertyspecifications>
  </customwidget>
 </customwidgets>)";

// The editor's notes name the first and the last symbology the bar code tool offers.
QString editorSpecifications()
{
    const auto symbologies = Symbologies();
    return QString::fromLatin1(kEditorSpecifications)
        .arg(QLatin1String(symbologies.front().Name), QLatin1String(symbologies.back().Name));
}

QString domXml(const QString& className, const QString& objectName, QSize size, const QString& specifications)
{
    return QStringLiteral(R"(<ui language="c++" displayname="%1">
 <widget class="%2" name="%3">
  <property name="geometry">
   <rect><x>0</x><y>0</y><width>%4</width><height>%5</height></rect>
  </property>
 </widget>%6
</ui>)")
        .arg(className.section(QLatin1String("::"), -1), className, objectName)
        .arg(size.width())
        .arg(size.height())
        .arg(specifications);
}

} // namespace

QIcon ZvEditorDesignerIcon()
{
    return paintedIcon([](QPainter& p) {
        // Rulers along the top and the left, a label with a bar code and a line of text.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xf0, 0xe6, 0xb4));
        p.drawRect(QRectF(0, 0, 32, 6));
        p.drawRect(QRectF(0, 0, 6, 32));
        p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
        for (int x = 9; x < 32; x += 4)
            p.drawLine(QPointF(x + 0.5, x % 8 == 1 ? 1 : 3), QPointF(x + 0.5, 6));
        for (int y = 9; y < 32; y += 4)
            p.drawLine(QPointF(y % 8 == 1 ? 1 : 3, y + 0.5), QPointF(6, y + 0.5));
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(8.5, 8.5, 22, 22), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        const int bars[] = {1, 2, 1, 1, 3, 1, 2, 1};
        double x = 12;
        for (int i = 0; i < 8; ++i) {
            if (i % 2 == 0) p.drawRect(QRectF(x, 12, bars[i], 9));
            x += bars[i];
        }
        p.setBrush(QColor(0x20, 0x50, 0xc0));
        p.drawRect(QRectF(12, 24, 15, 2.5));
        // The selection frame in the editor's default selection colour.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::red, 1, Qt::DashLine));
        p.drawRect(QRectF(10.5, 10.5, 15, 12));
    });
}

QIcon ZvInspectorDesignerIcon()
{
    return paintedIcon([](QPainter& p) {
        // Two columns of rows, captions on the left, one row selected.
        const QRectF frame(2.5, 2.5, 27, 27);
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
        p.setBrush(Qt::white);
        p.drawRect(frame);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xe4, 0xe4, 0xe4));
        p.drawRect(QRectF(3, 3, 11, 26));
        p.setBrush(QColor(0x30, 0x60, 0xd0));
        p.drawRect(QRectF(3, 12, 26, 5.5));
        for (int row = 0; row < 5; ++row) {
            const double top = 3 + row * 5.5;
            const bool selected = row == 2;
            p.setBrush(selected ? QColor(Qt::white) : QColor(0x30, 0x30, 0x30));
            p.drawRect(QRectF(5, top + 2, 6 + (row * 3) % 4, 1.5));
            p.setBrush(selected ? QColor(Qt::white) : QColor(0x20, 0x50, 0xc0));
            p.drawRect(QRectF(17, top + 2, 8 - (row * 5) % 5, 1.5));
            p.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 0.5));
            p.drawLine(QPointF(3, top + 5.5), QPointF(29, top + 5.5));
            p.setPen(Qt::NoPen);
        }
        p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
        p.drawLine(QPointF(14.5, 3), QPointF(14.5, 29));
    });
}

DesignerWidget::DesignerWidget(Description description, QObject* parent)
    : QObject(parent), m_description(std::move(description))
{
}

QString DesignerWidget::group() const
{
    return QStringLiteral("Zorvel");
}

QIcon DesignerWidget::icon() const
{
    if (m_icon.isNull()) m_icon = m_description.Icon();
    return m_icon;
}

void DesignerWidget::initialize(QDesignerFormEditorInterface*)
{
    m_initialized = true;
}

DesignerPlugins::DesignerPlugins(QObject* parent) : QObject(parent)
{
    m_widgets.append(new DesignerWidget(
        {QStringLiteral("zorvel::TZVEditor"), QStringLiteral("editor/ZVEditor.h"),
         QStringLiteral("Label design editor"),
         QStringLiteral("Shows a label between two rulers and edits its elements with the mouse and "
                        "the keyboard. It shows the first TZVLab of the widget it is placed on, "
                        "and makes one named ZVLab_01 there when there is none; link a "
                        "TZVInspector with SetInspector() in code."),
         domXml(QStringLiteral("zorvel::TZVEditor"), QStringLiteral("editor"), QSize(400, 300),
                editorSpecifications()),
         ZvEditorDesignerIcon, [](QWidget* parent) -> QWidget* { return new TZVEditor(parent); }},
        this));
    m_widgets.append(new DesignerWidget(
        {QStringLiteral("zorvel::TZVInspector"), QStringLiteral("inspector/ZVInspector.h"),
         QStringLiteral("Property inspector for label elements"),
         QStringLiteral("Lists the published properties of the elements selected in a TZVEditor "
                        "and edits them in place, for every selected element at once. Give it to "
                        "the editor with TZVEditor::SetInspector()."),
         domXml(QStringLiteral("zorvel::TZVInspector"), QStringLiteral("inspector"), QSize(225, 200),
                QLatin1String(kInspectorSpecifications)),
         ZvInspectorDesignerIcon, [](QWidget* parent) -> QWidget* { return new TZVInspector(parent); }},
        this));
}

} // namespace zorvel
