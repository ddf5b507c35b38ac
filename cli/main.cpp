// zorvel: the command-line face of the library (subcommand dispatch).
#include "cli/Commands.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

void printUsage(FILE* out)
{
    std::fputs("usage: zorvel <command> [options]\n"
               "\n"
               "commands:\n"
               "  barcode   encode one bar code symbol: its text and module string\n"
               "  dump      print the JSON form of a design stream file\n"
               "  convert   convert a design between its JSON form (.json) and its stream form\n"
               "\n"
               "Run 'zorvel <command> --help' for the options of a command.\n",
               out);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("zorvel");
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args.isEmpty() || args.first() == "--help" || args.first() == "-h") {
        printUsage(args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    const QString command = args.takeFirst();
    for (const zorvel::cli::Command& c : zorvel::cli::commands()) {
        if (command == c.name)
            return c.run(args);
    }
    std::fprintf(stderr, "zorvel: unknown command '%s'\n", qPrintable(command));
    printUsage(stderr);
    return 2;
}
