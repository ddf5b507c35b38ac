// zorvel convert: between the JSON form (".json") and the stream form (any other name) of a design.
#include "cli/Commands.h"
#include "document/ZVDesignJson.h"
#include "foundation/ZVError.h"

#include <QCommandLineParser>
#include <QSaveFile>

#include <cstdio>

namespace zorvel::cli {
namespace {

bool isJsonPath(const QString& path)
{
    return path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive);
}

} // namespace

// The output appears only complete: it is written beside the target and renamed at the end.
void writeOutputFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EZvError(QStringLiteral("CAN'T WRITE FILE : ") + path);
}

int runConvert(const QCommandLineParser& parser)
{
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2) throw Usage{QStringLiteral("give an input and an output file")};
    const QByteArray input = readInputFile(files[0]);
    const bool jsonOut = isJsonPath(files[1]);
    QByteArray output;
    if (isJsonPath(files[0])) {
        output = JsonToStream(input);
        if (jsonOut) output = StreamToJson(output);
    } else {
        output = StreamToJson(input);
        if (!jsonOut) output = JsonToStream(output);
    }
    writeOutputFile(files[1], output);
    return 0;
}

} // namespace zorvel::cli
