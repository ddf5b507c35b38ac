// The one application object a test process needs for fonts, painting or widgets.
#pragma once

#include <QCoreApplication>
#include <QGuiApplication>

namespace zorvel::test {

// Creates an App (QGuiApplication, QApplication) unless one exists; it lives until the process
// ends. Tests run without a display unless QT_QPA_PLATFORM says otherwise.
template <typename App = QGuiApplication>
void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zorvel-tests";
    static char* argv[] = {name, nullptr};
    new App(argc, argv);
}

inline void ensureGuiApplication()
{
    ensureApplication<QGuiApplication>();
}

} // namespace zorvel::test
