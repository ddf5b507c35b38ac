// The subcommands of the command-line tool: one table of them and their options, from which both
// the parsing and the help texts come, and the option readers they share.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <span>

class QCommandLineParser;

namespace zorvel {
class TZVCustomLab;
struct TZVCalibration;
class TZVCupsPrinter;
} // namespace zorvel

namespace zorvel::cli {

/// An option of a subcommand; one without a value name is a flag.
struct Option
{
    QString name;
    QString help;
    QString valueName;
};

/// A positional argument of a subcommand, for its help.
struct Argument
{
    QString name;
    QString help;
};

struct Command
{
    const char* name;
    const char* summary; // its line in `zorvel --help`
    QString description; // the head of `zorvel NAME --help`
    QList<Argument> arguments;
    QList<Option> options;
    int (*run)(const QCommandLineParser& parser); // the parsed arguments; returns the process exit code
    // Whether these arguments paint, which needs fonts and so a GUI application; null: never.
    bool (*paints)(const QStringList& args) = nullptr;
};

/// Every subcommand, in the order `zorvel --help` lists them.
std::span<const Command> commands();

/// `zorvel --help`: the subcommands and their summaries.
void printUsage(FILE* out);

/// Parses `args` by the command's options and runs it. --help prints its help; a mistake in the
/// arguments (a Usage) is reported with the subcommand's name and exit status 2, the library's and
/// the printer's errors with their message and exit status 1.
int runCommand(const Command& command, const QStringList& args);

int runBarcode(const QCommandLineParser& parser);
bool barcodePaints(const QStringList& args);
// The symbologies --type takes, comma separated.
QString symbologyNames();
int runDump(const QCommandLineParser& parser);
int runConvert(const QCommandLineParser& parser);
int runRender(const QCommandLineParser& parser);
int runPrinters(const QCommandLineParser& parser);
int runCalibrate(const QCommandLineParser& parser);
int runStocks(const QCommandLineParser& parser);
bool paintsAlways(const QStringList& args);

// The whole file; raises EZvError "CAN'T OPEN FILE : path".
QByteArray readInputFile(const QString& path);
// Writes the whole file beside `path` and renames it: it appears only complete. Raises EZvError
// "CAN'T WRITE FILE : path".
void writeOutputFile(const QString& path, const QByteArray& bytes);

// A mistake in the arguments: reported with the subcommand's name and exit status 2.
struct Usage
{
    QString message;
};

// A whole-number option in [min, max], or `fallback` when it is not given; raises Usage otherwise.
int boundedIntOption(const QCommandLineParser& parser, const QString& option, int fallback, int min, int max);

// --offset-x/--offset-y in mm, each defaulting to what is saved for `printer` (none for an empty
// name), a damaged saved entry said on stderr and taken as none; raises Usage beyond the calibration range.
TZVCalibration calibrationOptions(const QCommandLineParser& parser, const QString& printer);
// render --stock: sets the label's sheet from the named stock, refusing an unknown one, one whose
// labels differ from the design's by more than 0.5 mm, or one that cannot be assigned (EZvError).
void applyStockOption(const QString& name, TZVCustomLab& label);
// Selects the queue, refusing an unknown or stopped one in the scheduler's words (EZvError).
int selectQueue(TZVCupsPrinter& printer, const QString& queue);

} // namespace zorvel::cli
