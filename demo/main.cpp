// zorvel-demo: the label designer over a database of stored designs.
//   zorvel-demo [--db URL] [--settings FILE] [--show-data] [--screenshot FILE]
#include "demo/ZVDemoData.h"
#include "demo/ZVDemoWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zorvel-demo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Zorvel demonstration: design, store, print and preview labels."));
    parser.addHelpOption();
    const QCommandLineOption db(QStringLiteral("db"),
                                QStringLiteral("Qt SQL database URL with the demo tables."),
                                QStringLiteral("URL"));
    const QCommandLineOption settings(QStringLiteral("settings"), QStringLiteral("Settings file to use."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save a picture of the window to FILE and quit."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption showData(QStringLiteral("show-data"),
                                      QStringLiteral("Start with the designer showing the current record."));
    parser.addOptions({db, settings, showData, screenshot});
    parser.process(app);
    const QString shotFile = parser.value(screenshot);

    zorvel::TDM dm(parser.value(db));
    zorvel::TFMain window(dm, parser.value(settings));
    if (parser.isSet(showData)) window.MenuAction(QStringLiteral("actShowData"))->setChecked(true);
    window.show();
    window.activateWindow();
    if (!dm.Connected()) {
        std::fprintf(stderr, "%s: %s\n", zorvel::kDemoCantConnect, qPrintable(dm.ConnectError()));
        // A screenshot run has nobody to press OK.
        if (shotFile.isEmpty()) window.ReportConnectError();
    }

    if (!shotFile.isEmpty()) {
        QTimer::singleShot(1500, &window, [&window, &shotFile] {
            const bool saved = window.grab().save(shotFile);
            if (!saved) std::fprintf(stderr, "cannot write %s\n", qPrintable(shotFile));
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
