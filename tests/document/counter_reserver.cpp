// Takes counter ranges from a stored design: one of the processes the counter store's tests run at once.
#include "document/ZVSqlCounterStore.h"
#include "foundation/ZVError.h"
#include "platform/ZVConnections.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>

#include <cstdio>

// counter_reserver URL KEY LABELS TIMES AT: from AT (ms since the epoch), reserves LABELS steps of
// counter SERIAL of row KEY of DESIGNS (stream in DESIGN) TIMES times; prints each first value.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        zorvel::TZVConnections connections;
        connections.Add("db", args.value(1));
        zorvel::TZVSqlCounterStore store(connections, "db",
                                         {"DESIGNS", "ID", args.value(2).toInt(), "DESIGN"});
        QThread::msleep(qMax<qint64>(0, args.value(5).toLongLong() - QDateTime::currentMSecsSinceEpoch()));
        for (int i = 0; i < args.value(4).toInt(); ++i)
            std::puts(QByteArray::number(
                store.Reserve({{"SERIAL", args.value(3).toLongLong()}}, QDate::currentDate())[0].Start));
    } catch (const zorvel::EZvError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
