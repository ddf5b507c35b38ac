// print_from_data: one label per CSV record into a PDF: print_from_data DESIGN.json RECORDS.csv OUT.pdf
#include <QFile>
#include <QGuiApplication>

#include <zorvel/document/ZVCustomLab.h>
#include <zorvel/document/ZVDesignJson.h>
#include <zorvel/foundation/ZVError.h>
#include <zorvel/platform/ZVCsvDataSet.h>
#include <zorvel/platform/ZVPdfPrinter.h>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Printing lays out text, so it needs a QGuiApplication; on a server run it with
    // QT_QPA_PLATFORM=offscreen.
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments().mid(1);
    if (args.size() != 3) {
        qCritical("usage: print_from_data DESIGN.json RECORDS.csv OUT.pdf");
        return 2;
    }
    try {
        // The records outlive the label that points at them.
        zorvel::TZVCsvDataSet records;
        records.SetFileName(args[1]);
        records.Open(); // the label walks the records of an open data set

        zorvel::TZVLab label;
        QFile design(args[0]);
        if (!design.open(QIODevice::ReadOnly)) throw zorvel::EZvError("CAN'T OPEN FILE : " + args[0]);
        zorvel::DesignFromJson(label, design.readAll());

        // The design's own data settings would look for a table of its alias or a data set by
        // name: these three make it take ours, one label per record.
        label.SetDataAccessType(zorvel::daDataSet);
        label.SetDataSet(&records);
        label.SetDataEnabled(true);

        zorvel::TZVPdfPrinter pdf(args[2]);
        label.Print(pdf); // opens the data (OpenData), fits the range to the records, prints
        std::printf("%d labels printed\n", label.PrintInfo().TotalLabels);
    } catch (const std::exception& e) { // EZvError: the library's message
        qCritical("%s", e.what());
        return 1;
    }
    return 0;
}
