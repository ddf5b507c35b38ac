// The subcommands of the command-line tool.
#pragma once

#include <QStringList>

class QCommandLineOption;
class QCommandLineParser;

#include <functional>
#include <span>

namespace zorvel {
struct TZVCalibration;
class TZVQtPrinter;
} // namespace zorvel

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
int runPrinters(const QStringList& args);
bool printersPaint(const QStringList& args);
int runCalibrate(const QStringList& args);

// The whole file; raises EZvError "CAN'T OPEN FILE : path".
QByteArray readInputFile(const QString& path);

// A mistake in the arguments: reported with the subcommand's name and exit status 2.
struct Usage
{
    QString message;
};

// Runs a subcommand's work: a Usage mistake is reported with the subcommand's name and exit status 2,
// the library's and the printer's errors with their message and exit status 1.
int runReporting(const char* command, const std::function<int()>& work);

// A whole-number option in [min, max], or `fallback` when it is not given; raises Usage otherwise.
int boundedIntOption(const QCommandLineParser& parser, const QCommandLineOption& option, int fallback, int min, int max);

// --offset-x/--offset-y in mm, each defaulting to what is saved for `printer` (none for an empty
// name), a damaged saved entry said on stderr and taken as none; raises Usage beyond the calibration range.
TZVCalibration calibrationOptions(const QCommandLineParser& parser, const QCommandLineOption& x,
                                  const QCommandLineOption& y, const QString& printer);
// Selects the queue, refusing an unknown or stopped one in the scheduler's words (EZvError).
int selectQueue(TZVQtPrinter& printer, const QString& queue);

} // namespace zorvel::cli
