// zorvel: the command-line face of the library (subcommand dispatch).
#include "cli/Commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <malloc.h>
#include <memory>

namespace {

// Outside a desktop session the platform plugins complain about a missing runtime folder on every
// run; a private one keeps stderr for the tool's own messages.
void ensureRuntimeDir()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    static QTemporaryDir dir(QDir::tempPath() + "/zorvel-runtime-XXXXXX");
    if (!dir.isValid())
        return;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
}

// Painting needs fonts, hence a GUI application (one that never shows a window); everything else
// runs on a plain core application, which needs no display platform at all.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char* argv[])
{
    QStringList args;
    for (int i = 2; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    for (const zorvel::cli::Command& c : zorvel::cli::commands()) {
        if (command == c.name && c.paints && c.paints(args)) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
            ensureRuntimeDir();
            return std::make_unique<QGuiApplication>(argc, argv);
        }
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

// Every page of a run allocates and frees content buffers of hundreds of kilobytes. By default
// glibc maps such blocks and returns them, and trims the heap after each page, so every page
// faults its memory in afresh: a quarter of a PDF run's time. Kept in the heap they are reused.
void keepPageBuffers()
{
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
}

} // namespace

int main(int argc, char* argv[])
{
    keepPageBuffers();
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName("zorvel");
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args.isEmpty() || args.first() == "--help" || args.first() == "-h") {
        zorvel::cli::printUsage(args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    const QString command = args.takeFirst();
    for (const zorvel::cli::Command& c : zorvel::cli::commands()) {
        if (command == c.name) return zorvel::cli::runCommand(c, args);
    }
    std::fprintf(stderr, "zorvel: unknown command '%s'\n", qPrintable(command));
    zorvel::cli::printUsage(stderr);
    return 2;
}
