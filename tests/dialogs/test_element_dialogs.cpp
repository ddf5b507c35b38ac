// Element dialogs: table properties, paragraph and symbol, driven offscreen.
#include "dialogs/ZVParagraphDialog.h"
#include "dialogs/ZVSymbolDialog.h"
#include "dialogs/ZVTableProps.h"
#include "document/ZVCustomLab.h"
#include "elements/ZVParagraph.h"
#include "elements/ZVSymbol.h"
#include "elements/ZVTable.h"
#include "foundation/ZVError.h"
#include "foundation/ZVStream.h"
#include "platform/ZVMemoryDataSet.h"
#include "tests/document/TestEditorLink.h"
#include "tests/support/ColorPickerStub.h"
#include "tests/support/TestApplication.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <gtest/gtest.h>

namespace zorvel {
namespace {

using test::TestEditorLink;

// Runs `act` on the first visible dialog of type D once the event loop of an exec() is
// running; a missing dialog fails the test and closes whatever is modal.
template <typename D>
void whenShown(std::function<void(D&)> act)
{
    QTimer::singleShot(0, qApp, [act] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<D*>(widget); dialog && dialog->isVisible()) {
                act(*dialog);
                return;
            }
        ADD_FAILURE() << "no dialog shown";
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A label with a recording editor and a detail data set of three fields.
class ElementDialog : public ::testing::Test
{
protected:
    ElementDialog()
    {
        test::ensureApplication<QApplication>();
        label.SetEditor(&editor);
        detail.AddField("Name", fkString);
        detail.AddField("Qty", fkInteger);
        detail.AddField("Price", fkFloat);
        label.SetDetail(&detail);
        label.SetDataEnabled(true);
    }
    ~ElementDialog() override
    {
        label.SetDetail(nullptr);
        label.SetEditor(nullptr);
    }

    void Forget()
    {
        editor.ResetRecord();
        label.SetModified(false);
    }

    TestEditorLink editor;
    TZVLab label;
    TZVMemoryDataSet detail;
};

// ---- Table properties -------------------------------------------------------------------------

class TableDialog : public ElementDialog
{
protected:
    TableDialog() : table(label) {}

    // Columns bound to `fields`, in order, each with its field as header.
    void addColumns(const QStringList& fields)
    {
        for (const QString& field : fields) {
            TZVColumn& column = table.AddColumn();
            column.SetFieldName(field);
            column.SetHeaderText(field);
        }
    }
    QStringList tableOrder() const
    {
        QStringList fields;
        for (int i = 0; i < table.ColumnCount(); ++i)
            fields << table.Column(i).FieldName();
        return fields;
    }
    QStringList listOrder() const
    {
        QStringList items;
        for (int i = 0; i < list()->count(); ++i)
            items << list()->item(i)->text();
        return items;
    }
    template <typename W> W* control(const char* name) const
    {
        W* widget = dialog.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QListWidget* list() const { return control<QListWidget>("ListColumns"); }
    QToolButton* up() const { return control<QToolButton>("SBUp"); }
    QToolButton* down() const { return control<QToolButton>("SBDown"); }

    TZVTable table;
    TPropTable dialog;
};

TEST_F(TableDialog, FillingTheFormWritesNothing)
{
    addColumns({"Name", "Qty"});
    table.SetTitleText("Stock");
    table.SetDrawMode(1);
    table.SetTitleAlign(caRight);
    table.Column(0).SetHeaderText("Article");
    table.Column(1).SetFooterVisible(true);
    table.Column(1).SetFooterCalc(fcMaximum);
    Forget();

    dialog.Prepare(label, table);

    EXPECT_FALSE(label.Modified());
    EXPECT_TRUE(editor.refreshes.empty());
    EXPECT_EQ(editor.contentDirtyCount + editor.selectionDirtyCount, 0);
    EXPECT_EQ(table.TitleText(), "Stock");
    EXPECT_EQ(table.Column(0).HeaderText(), "Article");
    EXPECT_EQ(table.Column(0).Width(), 90);
    // The controls show the table, the first column selected.
    EXPECT_EQ(control<QLineEdit>("EdTitle")->text(), "Stock");
    EXPECT_TRUE(control<QToolButton>("SBTRight")->isChecked());
    EXPECT_EQ(listOrder(), QStringList({"Name", "Qty"}));
    EXPECT_EQ(dialog.SelectedColumn(), 0);
    EXPECT_EQ(control<QLineEdit>("EdColumnTitle")->text(), "Article");
    EXPECT_EQ(control<QSpinBox>("SEWidth")->value(), 90);
    EXPECT_EQ(control<QComboBox>("CBoxFields")->currentText(), "Name");
    EXPECT_EQ(control<QComboBox>("CBoxFields")->count(), 3);
    // Selecting the other column fills its controls without writing either.
    dialog.SelectColumn(1);
    EXPECT_TRUE(control<QCheckBox>("CBVisibleFooter")->isChecked());
    EXPECT_EQ(control<QGroupBox>("RGCalc")->findChildren<QRadioButton*>().at(fcMaximum)->isChecked(), true);
    EXPECT_FALSE(label.Modified());
}

// A detail data set whose source cannot be opened.
class ClosedDetail : public TZVMemoryDataSet
{
protected:
    std::vector<TZVFieldDef> DoOpen() override { throw EZvError(QStringLiteral("CANNOT OPEN STOCK")); }
};

TEST_F(TableDialog, ADetailThatDoesNotOpenIsReportedAndTheColumnsStayEditable)
{
    addColumns({"Name"});
    ClosedDetail closed;
    label.SetDetail(&closed);
    QStringList errors;
    dialog.ShowError = [&errors](const QString& message) { errors << message; };
    dialog.Prepare(label, table);
    label.SetDetail(&detail);

    EXPECT_EQ(errors, QStringList{"CANNOT OPEN STOCK"});
    EXPECT_EQ(control<QComboBox>("CBoxFields")->count(), 0);
    EXPECT_EQ(listOrder(), QStringList{"Name"});
    control<QLineEdit>("EdColumnTitle")->setText("Article");
    EXPECT_EQ(table.Column(0).HeaderText(), "Article");
}

TEST_F(TableDialog, TheEleventhColumnIsNotAdded)
{
    dialog.Prepare(label, table);
    auto* fields = control<QComboBox>("CBoxFields");
    for (int i = 0; i < TPropTable::kMaxColumns; ++i) {
        fields->setCurrentIndex(i % 3);
        dialog.AddColumn();
        ASSERT_EQ(table.ColumnCount(), i + 1);
        EXPECT_EQ(dialog.SelectedColumn(), i);
        EXPECT_EQ(table.Column(i).FieldName(), fields->currentText());
        EXPECT_EQ(table.Column(i).HeaderText(), fields->currentText());
    }
    Forget();
    QTest::mouseClick(control<QPushButton>("BuAdd"), Qt::LeftButton);
    dialog.AddColumn();
    EXPECT_EQ(table.ColumnCount(), 10);
    EXPECT_EQ(list()->count(), 10);
    EXPECT_EQ(dialog.SelectedColumn(), 9);
    EXPECT_FALSE(label.Modified());
}

TEST_F(TableDialog, ChoosingAFieldRenamesTheColumnAndItsHeader)
{
    addColumns({"Name", "Qty"});
    table.Column(1).SetHeaderText("Quantity");
    dialog.Prepare(label, table);
    dialog.SelectColumn(1);

    control<QComboBox>("CBoxFields")->setCurrentText("Price");

    EXPECT_EQ(table.Column(1).FieldName(), "Price");
    EXPECT_EQ(table.Column(1).HeaderText(), "Price");
    EXPECT_EQ(listOrder(), QStringList({"Name", "Price"}));
    EXPECT_EQ(control<QLineEdit>("EdColumnTitle")->text(), "Price");
    EXPECT_EQ(table.Column(0).FieldName(), "Name");
    EXPECT_EQ(table.Column(0).HeaderText(), "Name");
    EXPECT_TRUE(label.Modified());
}

TEST_F(TableDialog, UpAndDownExchangeNeighboursAndKeepTheSelection)
{
    struct Case
    {
        const char* name;
        int selected;
        bool up; // else down
        QStringList order;
        int selectedAfter;
        bool upEnabled;
        bool downEnabled;
    };
    const Case cases[] = {
        {"middle up", 1, true, {"Qty", "Name", "Price"}, 0, false, true},
        {"middle down", 1, false, {"Name", "Price", "Qty"}, 2, true, false},
        {"last up", 2, true, {"Name", "Price", "Qty"}, 1, true, true},
        {"first down", 0, false, {"Qty", "Name", "Price"}, 1, true, true},
        {"first up does nothing", 0, true, {"Name", "Qty", "Price"}, 0, false, true},
        {"last down does nothing", 2, false, {"Name", "Qty", "Price"}, 2, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        while (table.ColumnCount() > 0)
            table.DeleteColumn(0);
        addColumns({"Name", "Qty", "Price"});
        table.Column(c.selected).SetWidth(40); // widths must travel with their columns
        const int width = table.Column(c.selected).Width();
        dialog.Prepare(label, table);
        dialog.SelectColumn(c.selected);

        if (c.up)
            dialog.MoveUp();
        else
            dialog.MoveDown();

        EXPECT_EQ(tableOrder(), c.order);
        EXPECT_EQ(listOrder(), c.order);
        EXPECT_EQ(dialog.SelectedColumn(), c.selectedAfter);
        EXPECT_EQ(table.Column(c.selectedAfter).Width(), width);
        EXPECT_EQ(control<QSpinBox>("SEWidth")->value(), width);
        EXPECT_EQ(up()->isEnabled(), c.upEnabled);
        EXPECT_EQ(down()->isEnabled(), c.downEnabled);
    }
}

TEST_F(TableDialog, DeletingKeepsTheControlsOnALiveColumn)
{
    addColumns({"Name", "Qty", "Price"});
    dialog.Prepare(label, table);
    dialog.SelectColumn(1);

    dialog.DeleteColumn();
    EXPECT_EQ(tableOrder(), QStringList({"Name", "Price"}));
    EXPECT_EQ(listOrder(), QStringList({"Name", "Price"}));
    EXPECT_EQ(dialog.SelectedColumn(), 1);
    EXPECT_EQ(control<QLineEdit>("EdColumnTitle")->text(), "Price");
    // An edit now reaches the column that is shown.
    control<QLineEdit>("EdColumnTitle")->setText("Cost");
    EXPECT_EQ(table.Column(1).HeaderText(), "Cost");

    dialog.DeleteColumn();
    dialog.DeleteColumn();
    EXPECT_EQ(table.ColumnCount(), 0);
    EXPECT_EQ(dialog.SelectedColumn(), -1);
    EXPECT_FALSE(up()->isEnabled());
    EXPECT_FALSE(down()->isEnabled());
    EXPECT_FALSE(control<QPushButton>("BuDelete")->isEnabled());
    // With no column the column controls have nothing to write to.
    control<QComboBox>("CBoxFields")->setCurrentIndex(2);
    control<QLineEdit>("EdColumnTitle")->setText("x");
    dialog.DeleteColumn();
    EXPECT_EQ(table.ColumnCount(), 0);
}

TEST_F(TableDialog, ControlsWriteToTheTableAtOnce)
{
    addColumns({"Name", "Qty"});
    dialog.Prepare(label, table);
    dialog.SelectColumn(1);
    struct Case
    {
        const char* name;
        std::function<void()> act;
        std::function<bool()> holds;
    };
    const Case cases[] = {
        {"title text", [&] { control<QLineEdit>("EdTitle")->setText("Orders"); },
         [&] { return table.TitleText() == "Orders"; }},
        {"title hidden", [&] { control<QCheckBox>("CBoxVisible")->setChecked(false); },
         [&] { return !table.TitleVisible(); }},
        {"row height 12.5 mm", [&] { control<QDoubleSpinBox>("SpEdRowHeight")->setValue(12.5); },
         [&] { return table.RowHeight() == 1250; }},
        {"draw by rows", [&] { control<QGroupBox>("RGDm")->findChildren<QRadioButton*>().at(1)->click(); },
         [&] { return table.DrawMode() == 1; }},
        {"title left", [&] { control<QToolButton>("SBTLeft")->click(); },
         [&] { return table.TitleAlign() == caLeft; }},
        {"title italic", [&] { control<QToolButton>("SBTItalic")->click(); },
         [&] { return table.TitleItalic(); }},
        {"cell bold", [&] { control<QToolButton>("SBCBold")->click(); },
         [&] { return table.Column(1).Bold() && !table.Column(0).Bold(); }},
        {"cell right", [&] { control<QToolButton>("SBCRight")->click(); },
         [&] { return table.Column(1).Align() == caRight; }},
        {"header centre", [&] { control<QToolButton>("SBCTCenter")->click(); },
         [&] { return table.Column(1).HeaderAlign() == caCenter; }},
        {"footer shown", [&] { control<QCheckBox>("CBVisibleFooter")->setChecked(true); },
         [&] { return table.Column(1).FooterVisible(); }},
        {"footer minimum", [&] { control<QGroupBox>("RGCalc")->findChildren<QRadioButton*>().at(2)->click(); },
         [&] { return table.Column(1).FooterCalc() == fcMinimum; }},
        {"footer underline", [&] { control<QToolButton>("SBFUnderline")->click(); },
         [&] { return table.Column(1).FooterUnderline(); }},
        {"format", [&] { control<QLineEdit>("EdFormat")->setText("0.00"); },
         [&] { return table.Column(1).Format() == "0.00"; }},
        {"header font height", [&] { control<QDoubleSpinBox>("SpEdHFontHeight")->setValue(6); },
         [&] { return table.Column(1).HeaderFontHeight() == 600; }},
        {"width 30", [&] { control<QSpinBox>("SEWidth")->setValue(30); },
         [&] { return table.Column(1).Width() == 30 && table.Column(0).Width() == 70; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.act();
        EXPECT_TRUE(c.holds());
    }
}

TEST_F(TableDialog, WidthShowsWhatTheTableKeeps)
{
    addColumns({"Name", "Qty", "Price"});
    dialog.Prepare(label, table);
    auto* width = control<QSpinBox>("SEWidth");
    width->setValue(100);
    // Two other columns keep 5 percent each.
    EXPECT_EQ(table.Column(0).Width(), 90);
    EXPECT_EQ(width->value(), 90);
}

TEST_F(TableDialog, SwatchesTakeThePickedColour)
{
    addColumns({"Name"});
    dialog.Prepare(label, table);
    test::ColorPickerStub picker(0x123456);
    auto* headerFill = control<ColorSwatch>("ShHColor");
    headerFill->click();
    EXPECT_EQ(picker.offered, 0xFFFFFFu);
    EXPECT_EQ(table.Column(0).HeaderColor(), 0x123456u);
    EXPECT_EQ(headerFill->Color(), 0x123456u);

    control<ColorSwatch>("ShBackColor")->click();
    EXPECT_EQ(picker.offered, 0xC0C0C0u);
    EXPECT_EQ(table.TitleColor(), 0x123456u);

    picker.answer.reset(); // the dialog was cancelled
    control<ColorSwatch>("ShFontColor")->click();
    EXPECT_EQ(table.TitleFontColor(), 0u);
}

TEST_F(TableDialog, FontListsComeFromTheLabelsHandler)
{
    addColumns({"Name"});
    table.SetTitleFontName("Gamma");
    label.OnGetFontListEvent = [](QObject*, QStringList& list) { list = {"Alpha", "Beta", "Gamma"}; };
    dialog.Prepare(label, table);
    for (const char* name : {"CBoxTFonts", "CBoxColFont", "CBoxHFont", "CBoxFFont"}) {
        SCOPED_TRACE(name);
        auto* box = control<QComboBox>(name);
        EXPECT_GE(box->findText("Alpha"), 0);
        EXPECT_GE(box->findText("Beta"), 0);
    }
    EXPECT_EQ(control<QComboBox>("CBoxTFonts")->currentText(), "Gamma");
    // A font the list lacks is still shown as the cell's own.
    EXPECT_EQ(control<QComboBox>("CBoxColFont")->currentText(), "Arial");
    EXPECT_EQ(table.TitleFontName(), "Gamma");

    control<QComboBox>("CBoxHFont")->setCurrentText("Beta");
    EXPECT_EQ(table.Column(0).HeaderFontName(), "Beta");
}

TEST_F(TableDialog, CaptionsComeFromTheTranslationFile)
{
    dialog.Prepare(label, table);
    EXPECT_EQ(dialog.windowTitle(), "Table Properties");
    EXPECT_EQ(control<QPushButton>("BuAdd")->text(), "&Add");

    QTemporaryDir dir;
    const QString path = dir.filePath("zorvel.ini");
    writeFile(path, "[dialogs]\nZvTablePro=Tabelle\nZvAdd=Neu\n");
    label.SetIniTranslate(path);
    dialog.Prepare(label, table);
    EXPECT_EQ(dialog.windowTitle(), "Tabelle");
    EXPECT_EQ(control<QPushButton>("BuAdd")->text(), "Neu");
    EXPECT_EQ(control<QPushButton>("BuDelete")->text(), "Delete");
}

TEST_F(TableDialog, ClosingRepaintsTheEditor)
{
    addColumns({"Name"});
    Forget();
    whenShown<TPropTable>([](TPropTable& shown) {
        shown.findChild<QLineEdit*>("EdTitle")->setText("Live");
        shown.close();
    });
    EXPECT_NE(TPropTable::Execute(label, table, nullptr), QDialog::Accepted);
    EXPECT_EQ(table.TitleText(), "Live");
    ASSERT_FALSE(editor.refreshes.empty());
    EXPECT_FALSE(editor.refreshes.back().updateInspector);
}

// ---- Paragraph --------------------------------------------------------------------------------

class ParagraphDialog : public ElementDialog
{
protected:
    ParagraphDialog() : paragraph(label) { paragraph.SetText("first line\nsecond"); }

    TZVParagraph paragraph;
};

TEST_F(ParagraphDialog, TypingWritesAtOnceAndOnlyOkKeepsIt)
{
    struct Case
    {
        const char* name;
        std::function<void(TPropPara&)> close;
        int result;
        const char* text;
    };
    const Case cases[] = {
        {"Cancel", [](TPropPara& d) { d.CancelButton()->click(); }, QDialog::Rejected, "first line\nsecond"},
        {"Escape", [](TPropPara& d) { QTest::keyClick(&d, Qt::Key_Escape); }, QDialog::Rejected,
         "first line\nsecond"},
        {"window closed", [](TPropPara& d) { d.close(); }, QDialog::Rejected, "first line\nsecond"},
        {"OK", [](TPropPara& d) { d.OkButton()->click(); }, QDialog::Accepted, "first line\nsecond!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        paragraph.SetText("first line\nsecond");
        Forget();
        QString whileTyping;
        whenShown<TPropPara>([&](TPropPara& shown) {
            QTest::keyClicks(shown.Memo(), "!");
            whileTyping = paragraph.Text();
            c.close(shown);
        });
        EXPECT_EQ(TPropPara::Execute(label, paragraph, nullptr), c.result);
        EXPECT_EQ(whileTyping, "first line\nsecond!");
        EXPECT_EQ(paragraph.Text(), c.text);
        EXPECT_FALSE(editor.refreshes.empty());
        // Put back, the text leaves the label as unmodified as it found it.
        EXPECT_EQ(label.Modified(), c.result == QDialog::Accepted);
    }
}

TEST_F(ParagraphDialog, PreparingWritesNothingAndTheKindPicksTheCaption)
{
    struct Case
    {
        TZVParaDialogKind kind;
        const char* caption;
        const char* memo;
    };
    const Case cases[] = {
        {TZVParaDialogKind::Paragraph, "Paragraph Properties", "first line\nsecond"},
        {TZVParaDialogKind::Pdf417, "PDF417 Properties", ""},
        {TZVParaDialogKind::DataMatrix, "DataMatrix Properties", ""},
        {TZVParaDialogKind::QR, "QR Properties", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        Forget();
        TPropPara dialog;
        dialog.Prepare(label, &paragraph, c.kind);
        EXPECT_EQ(dialog.windowTitle(), c.caption);
        EXPECT_EQ(dialog.Memo()->toPlainText(), c.memo);
        // Only a paragraph is written by the memo.
        dialog.Memo()->setPlainText("typed");
        EXPECT_EQ(paragraph.Text() == "typed", c.kind == TZVParaDialogKind::Paragraph);
        paragraph.SetText("first line\nsecond");
    }
}

// ---- Symbol -----------------------------------------------------------------------------------

TEST(SymbolMap, CharacterOfACell)
{
    struct Case
    {
        const char* name;
        int page, row, column;
        int code;
    };
    const Case cases[] = {
        {"origin", 0, 0, 0, 0},
        {"second row", 0, 1, 0, 16},
        {"page 1, row 2, column 3", 1, 2, 3, 275},
        {"last cell of page 0", 0, 14, 15, 239},
        {"last character", 273, 0, 15, 0xFFFF},
        {"past the last wraps", 273, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SymbolMap::CharacterAt(c.page, c.row, c.column).unicode(), c.code);
    }
}

class SymbolDialog : public ElementDialog
{
protected:
    SymbolDialog() : symbol(label)
    {
        symbol.SetFontName("DejaVu Sans");
        symbol.SetCharacter(QChar(u'$'));
    }

    void sendMouse(QWidget* widget, QEvent::Type type, QPoint pos)
    {
        QMouseEvent event(type, pos, widget->mapToGlobal(pos),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }

    TZVSymbol symbol;
    TPropSym dialog;
};

TEST_F(SymbolDialog, CellsAreFoundByPoint)
{
    SymbolMap* map = dialog.Map();
    map->resize(16 * 20 + 7, 15 * 20 + 5); // 20 x 20 cells and strips that are no cell
    struct Case
    {
        const char* name;
        QPoint point;
        TZVMapCell cell;
    };
    const Case cases[] = {
        {"top left", {0, 0}, {0, 0}},
        {"last pixel of the first cell", {19, 19}, {0, 0}},
        {"next cell", {20, 20}, {1, 1}},
        {"row 2, column 3", {65, 45}, {2, 3}},
        {"last cell", {319, 299}, {14, 15}},
        {"right strip", {321, 10}, {}},
        {"bottom strip", {10, 301}, {}},
        {"left of the map", {-1, 10}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(map->CellAt(c.point), c.cell);
    }
}

TEST_F(SymbolDialog, PrepareShowsTheSymbolsPageAndCell)
{
    symbol.SetCharacter(QChar(500)); // page 2, index 20
    Forget();
    dialog.Prepare(label, symbol);
    EXPECT_EQ(dialog.PageBox()->value(), 2);
    EXPECT_EQ(dialog.Map()->Page(), 2);
    EXPECT_EQ(dialog.PageCaption()->text(), "[480-720]   PAGE: ");
    EXPECT_EQ(dialog.Map()->SelectedCell(), (TZVMapCell{1, 4}));
    EXPECT_EQ(dialog.Map()->FontName(), "DejaVu Sans");
    EXPECT_FALSE(label.Modified());

    // Another page shows no selected cell and its own range.
    dialog.PageBox()->setValue(3);
    EXPECT_EQ(dialog.Map()->Page(), 3);
    EXPECT_EQ(dialog.PageCaption()->text(), "[720-960]   PAGE: ");
    EXPECT_FALSE(dialog.Map()->SelectedCell().IsValid());
    EXPECT_EQ(symbol.Character().unicode(), 500);
}

TEST_F(SymbolDialog, ClickingACellSetsTheCharacterAtOnce)
{
    dialog.Prepare(label, symbol);
    dialog.show();
    dialog.PageBox()->setValue(1);
    SymbolMap* map = dialog.Map();
    const QRect cell = map->CellRect({2, 3});
    QTest::mouseClick(map, Qt::LeftButton, Qt::NoModifier, cell.center());

    EXPECT_EQ(symbol.Character().unicode(), 275);
    EXPECT_EQ(symbol.SymbolPage(), 1);
    EXPECT_EQ(map->SelectedCell(), (TZVMapCell{2, 3}));
    EXPECT_EQ(editor.LastRefreshedName(), "Symbol");
    // The selected cell is filled aqua, away from its glyph.
    const QImage image = map->grab().toImage();
    EXPECT_EQ(image.pixelColor(cell.left() + 2, cell.top() + 2), QColor(0, 255, 255));
    EXPECT_NE(image.pixelColor(map->CellRect({2, 4}).left() + 2, cell.top() + 2), QColor(0, 255, 255));
}

TEST_F(SymbolDialog, TheMagnifierStaysInsideTheMap)
{
    dialog.Prepare(label, symbol);
    SymbolMap* map = dialog.Map();
    map->resize(16 * 20, 15 * 20);
    struct Case
    {
        const char* name;
        TZVMapCell hovered;
        QRect magnifier;
    };
    const Case cases[] = {
        {"centred", {5, 5}, {80, 80, 60, 60}},
        {"top left corner", {0, 0}, {1, 1, 60, 60}},
        {"bottom right corner", {14, 15}, {320 - 61, 300 - 61, 60, 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sendMouse(map, QEvent::MouseMove, map->CellRect(c.hovered).center());
        EXPECT_EQ(map->HoveredCell(), c.hovered);
        EXPECT_EQ(map->MagnifierRect(), c.magnifier);
    }
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(map, &leave);
    EXPECT_TRUE(map->MagnifierRect().isEmpty());
}

TEST_F(SymbolDialog, CancelPutsTheCharacterAndPageBack)
{
    struct Case
    {
        const char* name;
        bool click;
        bool ok;
        int character;
        bool modified;
    };
    const Case cases[] = {
        {"click, Cancel", true, false, '$', false},
        {"click, OK", true, true, 275, true},
        {"Cancel without a click", false, false, '$', false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        symbol.SetCharacter(QChar(u'$'));
        Forget();
        whenShown<TPropSym>([&](TPropSym& shown) {
            if (c.click) {
                shown.PageBox()->setValue(1);
                QTest::mouseClick(shown.Map(), Qt::LeftButton, Qt::NoModifier,
                                  shown.Map()->CellRect({2, 3}).center());
            }
            (c.ok ? shown.OkButton() : shown.CancelButton())->click();
        });
        TPropSym::Execute(label, symbol, nullptr);
        EXPECT_EQ(symbol.Character().unicode(), c.character);
        EXPECT_EQ(symbol.SymbolPage(), c.character / 240);
        EXPECT_EQ(label.Modified(), c.modified);
        EXPECT_EQ(editor.refreshInspectorCount, c.ok ? 1 : 0);
        if (!c.ok) {
            ASSERT_FALSE(editor.refreshes.empty());
            EXPECT_FALSE(editor.refreshes.back().updateInspector);
        }
    }
}

// A symbol stored as an alternative one (SymbolAlt) keeps it when the dialog is cancelled, and
// the cancelled dialog leaves no step behind.
TEST_F(SymbolDialog, CancelKeepsAnAlternativeSymbol)
{
    TZVMemoryStream record;
    symbol.SaveToStream(record);
    QByteArray bytes = record.Bytes().mid(1); // without the kind byte
    qToLittleEndian<qint32>(3, bytes.data() + bytes.size() - 4); // SymbolAlt closes the record
    TZVMemoryStream stored(bytes);
    symbol.LoadFromStream(stored);
    ASSERT_EQ(symbol.SymbolAlt(), 3);
    label.UndoStack().clear();
    Forget();
    whenShown<TPropSym>([&](TPropSym& shown) {
        const QPoint cell = shown.Map()->CellRect({2, 3}).center();
        QTest::mouseClick(shown.Map(), Qt::LeftButton, Qt::NoModifier, cell);
        shown.CancelButton()->click();
    });
    TPropSym::Execute(label, symbol, nullptr);
    EXPECT_EQ(symbol.SymbolAlt(), 3);
    EXPECT_EQ(symbol.Character(), QChar(u'$'));
    EXPECT_EQ(label.UndoStack().count(), 0);
    EXPECT_FALSE(label.Modified());
}

TEST_F(SymbolDialog, ButtonCaptionsDependOnTheTranslationFile)
{
    dialog.Prepare(label, symbol);
    EXPECT_EQ(dialog.windowTitle(), "Symbol Properties");
    EXPECT_EQ(dialog.OkButton()->text(), "OK");
    EXPECT_EQ(dialog.CancelButton()->text(), "Cancel");

    QTemporaryDir dir;
    const QString path = dir.filePath("zorvel.ini");
    writeFile(path, "[inspector]\nZVIBackColor=Fond\n");
    label.SetIniTranslate(path);
    dialog.Prepare(label, symbol);
    EXPECT_EQ(dialog.OkButton()->text(), "&OK");
    EXPECT_EQ(dialog.CancelButton()->text(), "&Cancel");
}

} // namespace
} // namespace zorvel
