// The Qt Designer plugin: TZVEditor and TZVInspector in the widget box under "Zorvel".
#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QString>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <functional>

namespace zorvel {

// One widget of the widget box; the collection fills in what differs between them.
class DesignerWidget : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    struct Description
    {
        QString ClassName;
        QString IncludeFile;
        QString ToolTip;
        QString WhatsThis;
        QString DomXml;
        std::function<QIcon()> Icon;
        std::function<QWidget*(QWidget* parent)> Create;
    };

    DesignerWidget(Description description, QObject* parent);

    QString name() const override { return m_description.ClassName; }
    QString group() const override;
    QString toolTip() const override { return m_description.ToolTip; }
    QString whatsThis() const override { return m_description.WhatsThis; }
    QString includeFile() const override { return m_description.IncludeFile; }
    QIcon icon() const override;
    bool isContainer() const override { return false; }
    QWidget* createWidget(QWidget* parent) override { return m_description.Create(parent); }
    bool isInitialized() const override { return m_initialized; }
    void initialize(QDesignerFormEditorInterface* core) override;
    QString domXml() const override { return m_description.DomXml; }

private:
    Description m_description;
    // Painted on first use: the widget box asks for it once a GUI application exists.
    mutable QIcon m_icon;
    bool m_initialized = false;
};

class DesignerPlugins : public QObject, public QDesignerCustomWidgetCollectionInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit DesignerPlugins(QObject* parent = nullptr);

    QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return m_widgets; }

private:
    QList<QDesignerCustomWidgetInterface*> m_widgets;
};

// The widget box icons, drawn rather than shipped as image files.
QIcon ZvEditorDesignerIcon();
QIcon ZvInspectorDesignerIcon();

} // namespace zorvel
