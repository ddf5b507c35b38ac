// Takes counter ranges from a stored design, one process of the tests that run several at once.
#include "document/ZVSqlCounterStore.h"
#include "foundation/ZVError.h"
#include "platform/ZVConnections.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QThread>

#include <algorithm>

#include <cstdio>

using namespace zorvel;

// counter_reserver URL KEY LABELS TIMES AT: from AT (ms since the epoch) on, reserves LABELS steps of
// counter SERIAL of design KEY in table DESIGNS (stream in DESIGN) TIMES times, printing each first
// value on a line of its own. Processes given the same AT start their runs together.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6) return 2;
    try {
        TZVConnections connections;
        connections.Add(QStringLiteral("db"), args[1]);
        TZVSqlCounterStore store(connections, QStringLiteral("db"),
                                 {QStringLiteral("DESIGNS"), QStringLiteral("ID"), args[2].toInt(), QStringLiteral("DESIGN")});
        QThread::msleep(std::max<qint64>(0, args[5].toLongLong() - QDateTime::currentMSecsSinceEpoch()));
        for (int i = 0; i < args[4].toInt(); ++i) {
            const QList<TZVCounter> printed = store.Reserve({{QStringLiteral("SERIAL"), args[3].toLongLong()}},
                                                            QDate::currentDate());
            std::printf("%lld\n", static_cast<long long>(printed.value(0).Start));
        }
    } catch (const EZvError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
