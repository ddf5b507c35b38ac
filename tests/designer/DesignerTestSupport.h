// Loading the built Designer plugin and reading the published properties of its widgets.
#pragma once

#include "tests/support/TestApplication.h"
#include "tests/support/QStringPrinter.h"

#include <QApplication>
#include <QList>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QString>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <ostream>

namespace zorvel::test {

// The plugin stays loaded for the whole process, as it does in Designer.
inline QDesignerCustomWidgetCollectionInterface* designerCollection()
{
    ensureApplication<QApplication>();
    static QPluginLoader loader(QStringLiteral(ZORVEL_DESIGNER_PLUGIN));
    return qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
}

inline QString designerLoadError()
{
    QPluginLoader loader(QStringLiteral(ZORVEL_DESIGNER_PLUGIN));
    loader.load();
    return loader.errorString();
}

inline QDesignerCustomWidgetInterface* designerWidget(const QString& className)
{
    QDesignerCustomWidgetCollectionInterface* collection = designerCollection();
    if (!collection) return nullptr;
    const QList<QDesignerCustomWidgetInterface*> widgets = collection->customWidgets();
    for (QDesignerCustomWidgetInterface* widget : widgets)
        if (widget->name() == className) return widget;
    return nullptr;
}

// The properties a class adds to those of `base`, the Qt class it derives from.
inline QList<QMetaProperty> ownProperties(const QMetaObject& cls, const QMetaObject& base)
{
    QList<QMetaProperty> result;
    for (int i = base.propertyCount(); i < cls.propertyCount(); ++i)
        result.append(cls.property(i));
    return result;
}

} // namespace zorvel::test
