// The option readers the subcommands share.
#include "cli/Commands.h"

#include <QCommandLineParser>

namespace zorvel::cli {

bool paintsAlways(const QStringList&)
{
    return true;
}

int boundedIntOption(const QCommandLineParser& parser, const QString& option, int fallback, int min, int max)
{
    if (!parser.isSet(option)) return fallback;
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value < min || value > max)
        throw Usage{QStringLiteral("--%1 takes a whole number from %2 to %3, not '%4'")
                        .arg(option)
                        .arg(min)
                        .arg(max)
                        .arg(parser.value(option))};
    return value;
}

} // namespace zorvel::cli
