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

int runDump(const QCommandLineParser& parser)
{
    if (parser.positionalArguments().size() != 1) throw Usage{QStringLiteral("give exactly one file")};
    const QByteArray json = StreamToJson(readInputFile(parser.positionalArguments().first()));
    std::fwrite(json.constData(), 1, static_cast<std::size_t>(json.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace zorvel::cli
