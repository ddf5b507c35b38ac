// Shared set-up of the fuzz targets.
#pragma once

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
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

// Readers that only take files get every input through one file of this name in a private folder.
inline QString ScratchPath(const char* name)
{
    static QTemporaryDir dir;
    return dir.filePath(QString::fromLatin1(name));
}

// False when the input could not be written, which is no finding of the reader.
inline bool WriteScratch(const QString& path, const std::uint8_t* data, std::size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) == qint64(size);
}

} // namespace zorvel::fuzz
