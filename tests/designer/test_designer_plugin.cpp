// The Designer plugin as Designer sees it: its two widgets, how they are made on a form, and
// whether their published properties can be edited in Designer's property sheet.
#include "document/ZVCustomLab.h"
#include "editor/ZVEditor.h"
#include "inspector/ZVInspector.h"
#include "tests/designer/DesignerTestSupport.h"

#include <QColor>
#include <QFrame>
#include <QIcon>
#include <QImage>
#include <QMetaEnum>
#include <QPointer>
#include <QSet>
#include <QWidget>
#include <QXmlStreamReader>

#include <gtest/gtest.h>
#include <memory>

namespace zorvel::test {
namespace {

struct WidgetCase
{
    const char* ClassName;
    const char* IncludeFile;
    const QMetaObject* Meta;
    const QMetaObject* QtBase;
    QSize DefaultSize;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const WidgetCase& widget, std::ostream* out)
{
    *out << widget.ClassName;
}

const WidgetCase kWidgets[] = {
    {"zorvel::TZVEditor", "editor/ZVEditor.h", &TZVEditor::staticMetaObject, &QFrame::staticMetaObject,
     QSize(400, 300)},
    {"zorvel::TZVInspector", "inspector/ZVInspector.h", &TZVInspector::staticMetaObject,
     &QAbstractScrollArea::staticMetaObject, QSize(225, 200)},
};

class DesignerWidgetTest : public ::testing::TestWithParam<WidgetCase>
{
protected:
    void SetUp() override
    {
        ASSERT_NE(designerCollection(), nullptr) << designerLoadError().toStdString();
        m_widget = designerWidget(QString::fromLatin1(GetParam().ClassName));
        ASSERT_NE(m_widget, nullptr) << GetParam().ClassName;
    }

    QDesignerCustomWidgetInterface* m_widget = nullptr;
};

TEST_P(DesignerWidgetTest, DescribesItselfForTheWidgetBox)
{
    EXPECT_EQ(m_widget->group(), "Zorvel");
    EXPECT_EQ(m_widget->includeFile(), GetParam().IncludeFile);
    EXPECT_FALSE(m_widget->isContainer());
    EXPECT_FALSE(m_widget->toolTip().isEmpty());
    EXPECT_FALSE(m_widget->whatsThis().isEmpty());
    EXPECT_NE(m_widget->whatsThis(), m_widget->toolTip());

    m_widget->initialize(nullptr);
    EXPECT_TRUE(m_widget->isInitialized());
}

TEST_P(DesignerWidgetTest, IconIsPaintedAtTheWidgetBoxSizes)
{
    const QIcon icon = m_widget->icon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32}) {
        const QImage image = icon.pixmap(size, size).toImage();
        ASSERT_EQ(image.size(), QSize(size, size));
        int opaque = 0;
        int transparent = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                (qAlpha(image.pixel(x, y)) > 128 ? opaque : transparent)++;
        // A drawing, not an empty or a filled square.
        EXPECT_GT(opaque, size * size / 4) << size;
        EXPECT_GT(transparent, 0) << size;
    }
}

TEST_P(DesignerWidgetTest, DomXmlPlacesTheClassWithItsDefaultGeometry)
{
    QXmlStreamReader xml(m_widget->domXml());
    QString widgetClass;
    QString widgetName;
    QString property;
    QString field;
    QSize size;
    QSet<QString> specifiedProperties;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString element = xml.name().toString();
            if (element == QLatin1String("widget")) {
                widgetClass = xml.attributes().value(QLatin1String("class")).toString();
                widgetName = xml.attributes().value(QLatin1String("name")).toString();
            } else if (element == QLatin1String("property")) {
                property = xml.attributes().value(QLatin1String("name")).toString();
            } else if (element == QLatin1String("tooltip") ||
                       element == QLatin1String("stringpropertyspecification")) {
                specifiedProperties.insert(xml.attributes().value(QLatin1String("name")).toString());
            }
            field = element;
        } else if (xml.isEndElement()) {
            field.clear();
        } else if (xml.isCharacters() && property == QLatin1String("geometry")) {
            if (field == QLatin1String("width")) size.setWidth(xml.text().toInt());
            if (field == QLatin1String("height")) size.setHeight(xml.text().toInt());
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(widgetClass, m_widget->name());
    EXPECT_FALSE(widgetName.isEmpty());
    EXPECT_EQ(size, GetParam().DefaultSize);
    // Notes about properties that do not exist would silently be dropped by Designer.
    for (const QString& name : std::as_const(specifiedProperties))
        EXPECT_GE(GetParam().Meta->indexOfProperty(name.toLatin1().constData()), 0) << name.toStdString();
}

TEST_P(DesignerWidgetTest, CreatesItsClassOnTheGivenParent)
{
    QWidget form;
    QWidget* widget = m_widget->createWidget(&form);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), &form);
    EXPECT_STREQ(widget->metaObject()->className(), GetParam().ClassName);
    EXPECT_TRUE(widget->inherits(GetParam().Meta->className()));

    // Designer also makes widgets without a parent, for previews and default values.
    std::unique_ptr<QWidget> orphan(m_widget->createWidget(nullptr));
    ASSERT_NE(orphan, nullptr);
    EXPECT_EQ(orphan->parentWidget(), nullptr);
}

// What Designer's property sheet can show and edit, and how it writes values back: enums as
// their integer value, the rest as the plain type.
bool designerEditableType(const QMetaProperty& property)
{
    if (property.isEnumType()) return property.enumerator().isValid() && property.enumerator().keyCount() > 0;
    switch (property.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::QColor:
    case QMetaType::QString:
        return true;
    default:
        return false;
    }
}

bool objectPointer(const QMetaProperty& property)
{
    return property.metaType().flags().testFlag(QMetaType::PointerToQObject);
}

TEST_P(DesignerWidgetTest, PublishedPropertiesAreReadableWritableAndOfDesignerTypes)
{
    const QList<QMetaProperty> properties = ownProperties(*GetParam().Meta, *GetParam().QtBase);
    ASSERT_FALSE(properties.isEmpty());
    QStringList pointers;
    for (const QMetaProperty& property : properties) {
        SCOPED_TRACE(property.name());
        EXPECT_TRUE(property.isReadable());
        EXPECT_TRUE(property.isWritable());
        if (objectPointer(property)) {
            pointers.append(QString::fromLatin1(property.name()));
            EXPECT_FALSE(property.isDesignable()) << property.name();
            continue;
        }
        EXPECT_TRUE(designerEditableType(property)) << property.typeName();
        EXPECT_TRUE(property.isDesignable());
        EXPECT_TRUE(property.isStored());
    }
    // Settings objects shared by reference: Designer cannot edit them.
    if (GetParam().Meta == &TZVEditor::staticMetaObject)
        EXPECT_EQ(pointers, (QStringList{"Zorvel", "Grid", "Rulers"}));
    else
        EXPECT_TRUE(pointers.isEmpty()) << pointers.join(QLatin1Char(' ')).toStdString();
}

// Every value of every enumeration, written as Designer's sheet and QUiLoader write it (the
// integer) and as a key, reads back; enums stored in one byte must not be truncated or refused.
TEST_P(DesignerWidgetTest, EnumPropertiesTakeEveryValueAsIntegerAndAsKey)
{
    QWidget form;
    QWidget* widget = m_widget->createWidget(&form);
    ASSERT_NE(widget, nullptr);
    int enums = 0;
    for (const QMetaProperty& property : ownProperties(*GetParam().Meta, *GetParam().QtBase)) {
        if (!property.isEnumType()) continue;
        ++enums;
        const QMetaEnum values = property.enumerator();
        const QVariant original = property.read(widget);
        for (int i = 0; i < values.keyCount(); ++i) {
            SCOPED_TRACE(std::string(property.name()) + " = " + values.key(i));
            ASSERT_TRUE(property.write(widget, QVariant(values.value(i))));
            EXPECT_EQ(property.read(widget).toInt(), values.value(i));
            ASSERT_TRUE(property.write(widget, original));
            ASSERT_TRUE(property.write(widget, QString::fromLatin1(values.key(i))));
            EXPECT_EQ(property.read(widget).toInt(), values.value(i));
            ASSERT_TRUE(property.write(widget, original));
        }
    }
    EXPECT_GT(enums, 0);
}

TEST_P(DesignerWidgetTest, PlainPropertiesTakeADifferentValue)
{
    QWidget form;
    form.resize(800, 600);
    QWidget* widget = m_widget->createWidget(&form);
    ASSERT_NE(widget, nullptr);
    widget->resize(GetParam().DefaultSize);
    // Shown, as in Designer: the inspector clamps SplitPos to its laid-out width.
    form.show();
    for (const QMetaProperty& property : ownProperties(*GetParam().Meta, *GetParam().QtBase)) {
        if (property.isEnumType() || objectPointer(property)) continue;
        SCOPED_TRACE(property.name());
        const QVariant before = property.read(widget);
        QVariant changed;
        switch (property.metaType().id()) {
        case QMetaType::Bool:
            changed = !before.toBool();
            break;
        case QMetaType::Int:
            changed = before.toInt() + 10;
            break;
        case QMetaType::UInt:
            changed = before.toUInt() ^ 0x00a05000u;
            break;
        case QMetaType::QColor:
            changed = QColor(0x12, 0x34, 0x56);
            break;
        case QMetaType::QString:
            changed = QStringLiteral("captions-designer.ini");
            break;
        default:
            ADD_FAILURE() << property.typeName();
            continue;
        }
        ASSERT_NE(changed, before);
        ASSERT_TRUE(property.write(widget, changed));
        EXPECT_EQ(property.read(widget), changed);
    }
}

INSTANTIATE_TEST_SUITE_P(Zorvel, DesignerWidgetTest, ::testing::ValuesIn(kWidgets),
                         [](const ::testing::TestParamInfo<WidgetCase>& info) {
                             return QString::fromLatin1(info.param.ClassName).section("::", -1).toStdString();
                         });

TEST(DesignerPlugin, OffersExactlyTheEditorAndTheInspector)
{
    QDesignerCustomWidgetCollectionInterface* collection = designerCollection();
    ASSERT_NE(collection, nullptr) << designerLoadError().toStdString();
    QStringList names;
    for (QDesignerCustomWidgetInterface* widget : collection->customWidgets())
        names.append(widget->name());
    EXPECT_EQ(names, (QStringList{"zorvel::TZVEditor", "zorvel::TZVInspector"}));
}

// Designer drops several editors on one form, deletes them in any order and deletes the form;
// the label they share is a plain QObject child of the form.
TEST(DesignerPlugin, EditorsOnOneFormShareTheFormsLabel)
{
    QDesignerCustomWidgetInterface* factory = designerWidget(QStringLiteral("zorvel::TZVEditor"));
    ASSERT_NE(factory, nullptr) << designerLoadError().toStdString();
    auto form = std::make_unique<QWidget>();
    auto* first = qobject_cast<TZVEditor*>(factory->createWidget(form.get()));
    ASSERT_NE(first, nullptr);
    const QList<TZVLab*> labels = form->findChildren<TZVLab*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(labels.size(), 1);
    TZVLab* label = labels.first();
    EXPECT_EQ(label->objectName(), "ZVLab_01");
    EXPECT_EQ(first->Zorvel(), label);

    auto* second = qobject_cast<TZVEditor*>(factory->createWidget(form.get()));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Zorvel(), label);
    EXPECT_EQ(form->findChildren<TZVLab*>().size(), 1);

    // An editor inside a container of the form gets a label of its own there.
    QWidget* box = new QWidget(form.get());
    auto* nested = qobject_cast<TZVEditor*>(factory->createWidget(box));
    ASSERT_NE(nested, nullptr);
    ASSERT_NE(nested->Zorvel(), nullptr);
    EXPECT_NE(nested->Zorvel(), label);
    EXPECT_EQ(nested->Zorvel()->parent(), box);

    QPointer<TZVLab> watch(label);
    delete first;
    ASSERT_FALSE(watch.isNull());
    EXPECT_EQ(second->Zorvel(), label);
    second->Refresh(false);

    // The label may go before the editor that shows it (Designer's undo and form teardown).
    delete label;
    EXPECT_EQ(second->Zorvel(), nullptr);
    second->Refresh(false);
    delete second;

    auto* third = qobject_cast<TZVEditor*>(factory->createWidget(form.get()));
    ASSERT_NE(third, nullptr);
    ASSERT_NE(third->Zorvel(), nullptr);
    EXPECT_EQ(third->Zorvel()->parent(), form.get());
    form.reset();
}

TEST(DesignerPlugin, EditorWithoutParentHasNoLabel)
{
    QDesignerCustomWidgetInterface* factory = designerWidget(QStringLiteral("zorvel::TZVEditor"));
    ASSERT_NE(factory, nullptr) << designerLoadError().toStdString();
    std::unique_ptr<QWidget> widget(factory->createWidget(nullptr));
    auto* editor = qobject_cast<TZVEditor*>(widget.get());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Zorvel(), nullptr);
    editor->Refresh(false);
}

} // namespace
} // namespace zorvel::test
