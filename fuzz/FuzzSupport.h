// Shared set-up of the fuzz targets.
#pragma once

#include <QGuiApplication>

#include <cstdlib>

namespace zorvel::fuzz {

// Fonts, text layout and pictures want a GUI application; offscreen keeps it headless.
inline void EnsureGuiApp()
{
    static int argc = 1;
    static char arg0[] = "zorvel_fuzz";
    static char* argv[] = {arg0, nullptr};
    static QGuiApplication* app = nullptr;
    if (app == nullptr && QCoreApplication::instance() == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app = new QGuiApplication(argc, argv);
    }
}

} // namespace zorvel::fuzz
