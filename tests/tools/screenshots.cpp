// Saves a picture of the designer window and of every dialog into a folder, for review; run by
// scripts/screenshots.sh under a real X server. Usage: zorvel_screenshots OUT_DIR
#include "controls/ZVAlignPopup.h"
#include "controls/ZVJustifyPopup.h"
#include "dialogs/ZVEditorProps.h"
#include "dialogs/ZVLabelDefsDialog.h"
#include "dialogs/ZVLabelProps.h"
#include "dialogs/ZVParagraphDialog.h"
#include "dialogs/ZVPreview.h"
#include "dialogs/ZVSymbolDialog.h"
#include "dialogs/ZVTableProps.h"
#include "document/ZVCustomLab.h"
#include "editor/ZVEditor.h"
#include "elements/ZVBarCode.h"
#include "elements/ZVLineRect.h"
#include "elements/ZVParagraph.h"
#include "elements/ZVSymbol.h"
#include "elements/ZVTable.h"
#include "elements/ZVTextElements.h"
#include "inspector/ZVInspector.h"
#include "platform/ZVMemoryDataSet.h"
#include "tests/document/TestEditorLink.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <cstdio>
#include <iterator>

namespace zorvel {
namespace {

class Shots
{
public:
    explicit Shots(const QString& dir) : m_dir(dir) {}

    // Shows the widget, waits until it is drawn and saves it as NAME.png.
    void save(QWidget& widget, const QString& name)
    {
        widget.show();
        if (!QTest::qWaitForWindowExposed(&widget)) fail(name, "never shown");
        const QString file = m_dir.filePath(name + QStringLiteral(".png"));
        if (!widget.grab().save(file)) fail(name, "not saved");
    }

    int failures() const { return m_failures; }

private:
    void fail(const QString& name, const char* why)
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(name), why);
        ++m_failures;
    }

    QDir m_dir;
    int m_failures = 0;
};

void designer(Shots& shots)
{
    QWidget form;
    form.resize(1000, 600);
    auto* layout = new QHBoxLayout(&form);
    auto* label = new TZVLab(&form);
    label->Measure().SetWidth(90);
    label->Measure().SetHeight(50);
    auto* editor = new TZVEditor(&form);
    auto* inspector = new TZVInspector(&form);
    layout->addWidget(editor, 3);
    layout->addWidget(inspector, 1);
    editor->SetInspector(inspector);
    editor->Grid()->SetShow(true);

    auto* title = new TZVText(*label);
    title->SetText(QStringLiteral("ACME Hardware"));
    title->SetX1(5);
    title->SetY1(5);
    auto* price = new TZVText(*label);
    price->SetText(QStringLiteral("12.50"));
    price->SetX1(60);
    price->SetY1(20);
    auto* code = new TZVBarCode(*label);
    code->SetX1(5);
    code->SetY1(20);
    auto* frame = new TZVRect(*label);
    frame->SetX1(2);
    frame->SetY1(2);
    frame->SetX2(88);
    frame->SetY2(48);
    editor->AddToSelection(title);
    editor->Refresh(true);
    shots.save(form, QStringLiteral("designer"));

    TFPropEditor properties;
    properties.Fill(*editor);
    shots.save(properties, QStringLiteral("editor_properties"));
}

void catalogueAndPopups(Shots& shots)
{
    TZVLab label;
    TFLabelDefs catalogue;
    catalogue.SetLabel(label);
    shots.save(catalogue, QStringLiteral("label_definitions"));
    TFAlignEle align;
    shots.save(align, QStringLiteral("align_popup"));
    TFJustText justify;
    shots.save(justify, QStringLiteral("justify_popup"));
}

void labelProperties(Shots& shots)
{
    TZVMemoryDataSet people;
    people.SetName(QStringLiteral("People"));
    people.AddField(QStringLiteral("NAME"), fkString);
    people.AddField(QStringLiteral("CITY"), fkString);
    people.AddField(QStringLiteral("QTY"), fkFloat);
    people.AppendRecord({QStringLiteral("Ann"), QStringLiteral("Paris"), 1.5});
    people.AppendRecord({QStringLiteral("Bob"), QStringLiteral("Rome"), 2.5});
    people.AppendRecord({QStringLiteral("Cid"), QStringLiteral("Oslo"), 4.5});
    people.Open();
    TZVLab label;
    label.SetDataAccessType(daDataSet);
    label.SetDataSet(&people);
    label.SetDataEnabled(true);

    TFPropLab dialog;
    dialog.Prepare(label, 0);
    dialog.adjustSize();
    const char* pages[] = {"sizes", "printing", "background", "data", "counters"};
    static_assert(std::size(pages) == std::size_t(TFPropLab::kPageCount));
    for (int page = 0; page < TFPropLab::kPageCount; ++page) {
        dialog.Pages()->setCurrentIndex(page);
        shots.save(dialog, QStringLiteral("label_props_") + QString::fromLatin1(pages[page]));
    }
}

void preview(Shots& shots)
{
    TZVLab label;
    label.Measure().SetNuHor(1);
    label.Measure().SetNuVer(1);
    label.BackSurf().SetPrint(true);
    label.BackSurf().SetColor(0x000000);
    label.PrintInfo().SetNumLabels(5);
    label.PreparePreview();
    TZvPrw window;
    window.resize(900, 640);
    window.SetLabel(label);
    shots.save(window, QStringLiteral("preview_fit_page"));
    window.TbShowTwo()->click();
    shots.save(window, QStringLiteral("preview_two_pages"));
}

void elementDialogs(Shots& shots)
{
    test::TestEditorLink editor;
    TZVLab label;
    TZVMemoryDataSet detail;
    label.SetEditor(&editor);
    detail.AddField("Name", fkString);
    detail.AddField("Qty", fkInteger);
    detail.AddField("Price", fkFloat);
    label.SetDetail(&detail);
    label.SetDataEnabled(true);
    {
        TZVTable table(label);
        for (const char* field : {"Name", "Qty"}) {
            TZVColumn& column = table.AddColumn();
            column.SetFieldName(field);
            column.SetHeaderText(field);
        }
        TPropTable tableDialog;
        tableDialog.Prepare(label, table);
        shots.save(tableDialog, QStringLiteral("table_properties"));
        tableDialog.findChild<QTabWidget*>("PageControl")->setCurrentIndex(1);
        shots.save(tableDialog, QStringLiteral("table_properties_columns"));

        TZVParagraph paragraph(label);
        paragraph.SetText("A paragraph\nof two lines");
        TPropPara paraDialog;
        paraDialog.Prepare(label, &paragraph);
        shots.save(paraDialog, QStringLiteral("paragraph"));

        TZVSymbol symbol(label);
        symbol.SetCharacter(QChar(0x263A));
        TPropSym symDialog;
        symDialog.Prepare(label, symbol);
        shots.save(symDialog, QStringLiteral("symbol"));
    }
    label.SetDetail(nullptr);
    label.SetEditor(nullptr);
}

} // namespace
} // namespace zorvel

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorvel_screenshots OUT_DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "can't create %s\n", argv[1]);
        return 1;
    }
    zorvel::Shots shots(dir);
    zorvel::designer(shots);
    zorvel::catalogueAndPopups(shots);
    zorvel::labelProperties(shots);
    zorvel::preview(shots);
    zorvel::elementDialogs(shots);
    return shots.failures() == 0 ? 0 : 1;
}
