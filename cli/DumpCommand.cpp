// zorvel dump: prints the JSON form of a design stream file.
#include "cli/Commands.h"
#include "document/ZVDesignJson.h"
#include "foundation/ZVError.h"

#include <QCommandLineParser>
#include <QFile>

#include <cstdio>

namespace zorvel::cli {

QByteArray readInputFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EZvError(QStringLiteral("CAN'T OPEN FILE : ") + path);
    return file.readAll();
}

int runDump(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Print the JSON form of a design stream file.");
    parser.addHelpOption();
    parser.addPositionalArgument("file", "The design stream file.");
    if (!parser.parse(QStringList{"zorvel dump"} + args)) {
        std::fprintf(stderr, "zorvel dump: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet("help")) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.positionalArguments().size() != 1) {
        std::fputs("zorvel dump: give exactly one file\n", stderr);
        return 2;
    }
    try {
        const QByteArray json = StreamToJson(readInputFile(parser.positionalArguments().first()));
        std::fwrite(json.constData(), 1, static_cast<std::size_t>(json.size()), stdout);
    } catch (const EZvError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace zorvel::cli
