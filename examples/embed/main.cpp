// embed: edit a design (stream or .json) in the Zorvel designer, or print it: embed DESIGN [OUT.pdf].
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QSplitter>
#include <QToolBar>

#include <zorvel/document/ZVCustomLab.h>
#include <zorvel/document/ZVDesignJson.h>
#include <zorvel/editor/ZVEditor.h>
#include <zorvel/foundation/ZVError.h>
#include <zorvel/foundation/ZVStream.h>
#include <zorvel/inspector/ZVInspector.h>
#include <zorvel/platform/ZVPdfPrinter.h>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() != 1 && args.size() != 2) {
        qCritical("usage: embed DESIGN [OUT.pdf]");
        return 2;
    }
    QMainWindow window;
    auto* splitter = new QSplitter(&window);
    auto* label = new zorvel::TZVLab(splitter); // made first, so that the editor shows it
    auto* editor = new zorvel::TZVEditor(splitter);
    editor->SetInspector(new zorvel::TZVInspector(splitter)); // lists the selection's properties
    splitter->setStretchFactor(0, 1); // the editor takes the room the inspector does not need
    window.setCentralWidget(splitter);
    try {
        QFile file(args[0]);
        if (!file.open(QIODevice::ReadOnly)) throw zorvel::EZvError("CAN'T OPEN FILE : " + args[0]);
        zorvel::TZVMemoryStream stream(args[0].endsWith(".json") ? zorvel::JsonToStream(file.readAll())
                                                                 : file.readAll());
        label->LoadFromStream(stream);
        if (args.size() == 2) {
            zorvel::TZVPdfPrinter pdf(args[1]);
            return label->Print(pdf) ? 0 : 1;
        }
    } catch (const std::exception& e) { // EZvError: the library's message
        qCritical("%s", e.what());
        return 1;
    }
    window.addToolBar("File")->addAction("Print to PDF...", [&] {
        const QString file = QFileDialog::getSaveFileName(&window, "Print to PDF", {}, "PDF (*.pdf)");
        if (file.isEmpty()) return;
        try {
            zorvel::TZVPdfPrinter pdf(file);
            label->Print(pdf);
        } catch (const std::exception& e) {
            QMessageBox::warning(&window, "Print to PDF", e.what());
        }
    });
    QToolBar* edit = window.addToolBar("Edit");
    edit->addAction(label->UndoStack().createUndoAction(&window)); // "Undo Move", Ctrl+Z from the editor too
    edit->addAction(label->UndoStack().createRedoAction(&window));
    window.showMaximized();
    return app.exec();
}
