// The subcommands of the command-line tool.
#pragma once

#include <QStringList>

#include <span>

namespace zorvel::cli {

struct Command
{
    const char* name;
    int (*run)(const QStringList& args); // returns the process exit code
    // Whether these arguments paint, which needs fonts and so a GUI application; null: never.
    bool (*paints)(const QStringList& args) = nullptr;
};

std::span<const Command> commands();

int runBarcode(const QStringList& args);
bool barcodePaints(const QStringList& args);
int runDump(const QStringList& args);
int runConvert(const QStringList& args);
int runRender(const QStringList& args);
bool renderPaints(const QStringList& args);

// The whole file; raises EZvError "CAN'T OPEN FILE : path".
QByteArray readInputFile(const QString& path);

} // namespace zorvel::cli
