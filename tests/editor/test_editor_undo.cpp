// Every way the user changes a design is one undo step that puts back the design, the selection
// and the Modified flag, and redo brings them forward again.
#include "EditorTestSupport.h"

#include "../support/ModalWatch.h"
#include "dialogs/ZVLabelDefsDialog.h"
#include "dialogs/ZVLabelProps.h"
#include "dialogs/ZVParagraphDialog.h"
#include "dialogs/ZVSymbolDialog.h"
#include "dialogs/ZVTableProps.h"
#include "elements/ZVParagraph.h"
#include "elements/ZVSymbol.h"
#include "elements/ZVTable.h"
#include "foundation/ZVStream.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <functional>

using namespace zorvel;
using namespace zorvel::test;

namespace {

class EditorUndo : public EditorFixture
{
protected:
    QByteArray design() const
    {
        TZVMemoryStream stream;
        label->SaveSnapshot(stream);
        return stream.Bytes();
    }

    // Rectangles a and b side by side, a line below them, a table, a symbol and a paragraph;
    // the history empty and the design saved.
    void build()
    {
        editor->SetDrawTool(dwSelection);
        editor->ClearSelection();
        label->ClearElements();
        a = add(ekRect, 500, 500, 1500, 1200);
        b = add(ekRect, 2000, 500, 3000, 1200);
        line = add(ekLine, 500, 2000, 3000, 2000);
        table = qobject_cast<TZVTable*>(add(ekTable, 3500, 300, 5500, 1500));
        symbol = qobject_cast<TZVSymbol*>(add(ekSymbol, 3500, 2500, 4000, 3000));
        paragraph = qobject_cast<TZVParagraph*>(add(ekParagraph, 4500, 2500, 5500, 3200));
        label->UndoStack().clear();
        label->SetModified(false);
    }

    void key(Qt::Key k, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(editor, k, mods); }
    void select(TZVElement* element, Qt::KeyboardModifiers mods = {}) { click(centre(element), mods); }
    static QPoint middle(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

    TZVElement* a = nullptr;
    TZVElement* b = nullptr;
    TZVElement* line = nullptr;
    TZVTable* table = nullptr;
    TZVSymbol* symbol = nullptr;
    TZVParagraph* paragraph = nullptr;
};

TEST_F(EditorUndo, EveryActionIsOneStepThatUndoesAndRedoesDesignSelectionAndModified)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString catalogue = dir.filePath(QStringLiteral("cat.dls"));
    {
        QFile file(catalogue);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("^Letter 3 x 10^|1|LETTER|0|8,5|11|2,625|1|0,125|0|0,1875|0,5|3|10\n");
    }
    struct Case
    {
        const char* name;
        std::function<void()> prepare; // selection and the like, not recorded
        std::function<void()> act;
    };
    const Case cases[] = {
        {"insert by click", [] {}, [&] { editor->SetDrawTool(dwText); click(px(1000, 2800)); }},
        {"insert by band", [] {}, [&] { editor->SetDrawTool(dwRect); drag(px(1000, 2500), px(2000, 3200)); }},
        {"move", [&] { select(a); }, [&] { drag(centre(a), centre(a) + QPoint(15, 10)); }},
        {"resize", [&] { select(a); },
         [&] {
             const QPoint from = middle(surface()->Marks().HandleRight);
             drag(from, from + QPoint(20, 0));
         }},
        {"line end", [&] { select(line); },
         [&] {
             const QPoint from = middle(surface()->Marks().LineEndHandle);
             drag(from, from + QPoint(0, 20));
         }},
        {"group move", [&] { select(a); select(b, Qt::ShiftModifier); },
         [&] { drag(centre(a), centre(a) + QPoint(10, 12)); }},
        {"nudge", [&] { select(a); }, [&] { key(Qt::Key_Right); }},
        {"grid move", [&] { select(a); }, [&] { key(Qt::Key_Down, Qt::ControlModifier); }},
        {"grid resize", [&] { select(a); }, [&] { key(Qt::Key_Right, Qt::ShiftModifier); }},
        {"delete", [&] { select(a); select(b, Qt::ShiftModifier); }, [&] { key(Qt::Key_Delete); }},
        {"cut", [&] { select(b); }, [&] { editor->CutSelection(); }},
        {"paste", [&] { select(b); editor->CopySelection(); }, [&] { editor->PasteClipboard(0, 0); }},
        {"align", [&] { select(a); select(b, Qt::ShiftModifier); }, [&] { editor->AlignSelection(4); }},
        {"bring to front", [&] { select(line); }, [&] { editor->BringToFront(); }},
        {"send to back", [&] { select(a); }, [&] { editor->SendToBack(); }},
        {"label properties", [] {},
         [&] {
             const ModalWatch<TFPropLab> watch([](TFPropLab* shown) {
                 shown->findChild<QRadioButton*>(QStringLiteral("Landscape"))->setChecked(true);
                 shown->reject();
             });
             TFPropLab::Execute(*label, 0);
         }},
        {"table properties", [&] { select(table); },
         [&] {
             const ModalWatch<TPropTable> watch([](TPropTable* shown) {
                 shown->findChild<QLineEdit*>(QStringLiteral("EdTitle"))->setText(QStringLiteral("Live"));
                 shown->reject();
             });
             TPropTable::Execute(*label, *table);
         }},
        {"paragraph OK", [&] { select(paragraph); },
         [&] {
             const ModalWatch<TPropPara> watch([](TPropPara* shown) {
                 shown->findChild<QPlainTextEdit*>(QStringLiteral("Memo"))->setPlainText(QStringLiteral("Two\nlines"));
                 shown->findChild<QPushButton*>(QStringLiteral("BuOK"))->click();
             });
             TPropPara::Execute(*label, *paragraph);
         }},
        {"symbol OK", [&] { select(symbol); },
         [&] {
             const ModalWatch<TPropSym> watch([](TPropSym* shown) {
                 QTest::mouseClick(shown->Map(), Qt::LeftButton, {}, shown->Map()->CellRect({2, 3}).center());
                 shown->OkButton()->click();
             });
             TPropSym::Execute(*label, *symbol);
         }},
        {"catalogue assign", [] {},
         [&] {
             label->SetLabelDefs(catalogue);
             TFLabelDefs dialog(nullptr, TZVLabelDefsPlaces{QString(), dir.filePath("user"), QString()});
             dialog.SetLabel(*label);
             dialog.SelectLine(0);
             dialog.findChild<QPushButton*>(QStringLiteral("assign"))->click();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        build();
        c.prepare();
        ASSERT_FALSE(label->Modified());
        const QByteArray before = design();
        const QList<int> selBefore = editor->SelectedIndexes();
        c.act();
        const QByteArray after = design();
        const QList<int> selAfter = editor->SelectedIndexes();
        ASSERT_NE(after, before) << "the action changed nothing";
        EXPECT_EQ(label->UndoStack().count(), 1);
        EXPECT_TRUE(label->Modified());
        ASSERT_TRUE(editor->CanUndo());

        editor->Undo();
        EXPECT_EQ(design(), before);
        EXPECT_EQ(editor->SelectedIndexes(), selBefore);
        EXPECT_FALSE(label->Modified()) << "back at the saved state";
        EXPECT_TRUE(editor->CanRedo());

        editor->Redo();
        EXPECT_EQ(design(), after);
        EXPECT_EQ(editor->SelectedIndexes(), selAfter);
        EXPECT_TRUE(label->Modified());
    }
}

TEST_F(EditorUndo, CancelledDialogsAndClicksThatChangeNothingRecordNoStep)
{
    build();
    select(a);
    click(centre(a));
    {
        const ModalWatch<TPropPara> watch([](TPropPara* shown) {
            shown->findChild<QPlainTextEdit*>(QStringLiteral("Memo"))->setPlainText(QStringLiteral("gone"));
            shown->findChild<QPushButton*>(QStringLiteral("BuCancel"))->click();
        });
        TPropPara::Execute(*label, *paragraph);
    }
    {
        const ModalWatch<TPropSym> watch([](TPropSym* shown) {
            QTest::mouseClick(shown->Map(), Qt::LeftButton, {}, shown->Map()->CellRect({2, 3}).center());
            shown->CancelButton()->click();
        });
        TPropSym::Execute(*label, *symbol);
    }
    EXPECT_EQ(label->UndoStack().count(), 0);
    EXPECT_FALSE(label->Modified());
}

TEST_F(EditorUndo, SavingMarksTheStateThatUndoReturnsToAsUnmodified)
{
    build();
    select(a);
    key(Qt::Key_Right);
    TZVMemoryStream saved;
    label->SaveToStream(saved);
    key(Qt::Key_Right);
    EXPECT_TRUE(label->Modified());
    editor->Undo();
    EXPECT_FALSE(label->Modified()) << "the saved state";
    editor->Undo();
    EXPECT_TRUE(label->Modified()) << "before the save";
    editor->Redo();
    EXPECT_FALSE(label->Modified());
}

} // namespace
