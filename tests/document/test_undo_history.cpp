// The label's undo history: steps from nested changes, merging, the step limit, what clears it.
#include "document/ZVUndoHistory.h"

#include "document/ZVCustomLab.h"
#include "document/ZVDesignJson.h"
#include "elements/ZVBarCode.h"
#include "document/ZVElement.h"
#include "elements/ZVImage.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVStream.h"
#include "platform/ZVMemoryDataSet.h"
#include "tests/document/TestEditorLink.h"
#include "tests/support/PaintSupport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPointer>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>

using namespace zorvel;

namespace {

class UndoHistory : public ::testing::Test
{
protected:
    void SetUp() override { label.SetEditor(&link); }
    void TearDown() override { label.SetEditor(nullptr); }

    QByteArray design()
    {
        TZVMemoryStream stream;
        label.SaveSnapshot(stream);
        return stream.Bytes();
    }
    void retitle(const QString& text, const QString& mergeKey = {})
    {
        TZVChangeScope change(label, QStringLiteral("Title"), mergeKey);
        label.Title().Text = text;
    }

    test::TestEditorLink link;
    TZVLab label;
};

TEST_F(UndoHistory, NestedChangesAreOneStepAndUnchangedDesignsNone)
{
    {
        TZVChangeScope outer(label, QStringLiteral("Outer"));
        retitle(QStringLiteral("one"));
        retitle(QStringLiteral("two"));
        EXPECT_TRUE(ChangeInProgress(label));
        EXPECT_FALSE(ChangeGivenUp(label));
        TZVChangeScope(label, QStringLiteral("Inner")).Cancel(false);
        EXPECT_TRUE(ChangeGivenUp(label)) << "the outer action learns that a dialog in it was cancelled";
    }
    EXPECT_FALSE(ChangeInProgress(label));
    ASSERT_EQ(label.UndoStack().count(), 1);
    EXPECT_EQ(label.UndoStack().undoText(), QStringLiteral("Outer"));
    retitle(QStringLiteral("two"));
    EXPECT_EQ(label.UndoStack().count(), 1) << "nothing changed";
    {
        TZVChangeScope given(label, QStringLiteral("Given up"));
        label.Title().Text = QStringLiteral("three");
        given.Cancel(true);
    }
    EXPECT_EQ(label.Title().Text, QStringLiteral("two"));
    EXPECT_EQ(label.UndoStack().count(), 1);
}

TEST_F(UndoHistory, StepsWithTheSameKeyMerge)
{
    const QString first = label.Title().Text;
    retitle(QStringLiteral("a"), QStringLiteral("row 1"));
    retitle(QStringLiteral("ab"), QStringLiteral("row 1"));
    EXPECT_EQ(label.UndoStack().count(), 1);
    retitle(QStringLiteral("abc"), QStringLiteral("row 2"));
    retitle(QStringLiteral("abcd"));
    retitle(QStringLiteral("abcde"));
    EXPECT_EQ(label.UndoStack().count(), 4) << "another key and empty keys do not merge";
    label.UndoStack().undo();
    label.UndoStack().undo();
    label.UndoStack().undo();
    EXPECT_EQ(label.Title().Text, QStringLiteral("ab"));
    label.UndoStack().undo();
    EXPECT_EQ(label.Title().Text, first);
}

TEST_F(UndoHistory, UndoRestoresTheSelectionAndKeepsTheHistoryWhileLoadingClearsIt)
{
    TZVElement* element = label.CreateElement(ekRect);
    element->SetStartPoint(100, 100);
    element->SetEndPoint(900, 900);
    link.selection = {0};
    TZVMemoryStream saved;
    label.SaveToStream(saved);
    {
        TZVChangeScope change(label, QStringLiteral("Move"));
        label.Elements().first()->MoveBy(50, 0);
        link.selection = {};
    }
    const QByteArray moved = design();
    label.UndoStack().undo();
    EXPECT_EQ(label.Elements().first()->X1(), 100);
    EXPECT_EQ(link.selection, QList<int>{0});
    EXPECT_EQ(label.UndoStack().count(), 1);
    label.UndoStack().redo();
    EXPECT_EQ(design(), moved);
    EXPECT_TRUE(label.Modified());

    saved.SetPosition(0);
    label.LoadFromStream(saved);
    EXPECT_EQ(label.UndoStack().count(), 0);
    EXPECT_FALSE(label.Modified());
}

TEST_F(UndoHistory, KeepsTheLastHundredSteps)
{
    for (int i = 1; i <= kUndoSteps + 20; ++i) retitle(QString::number(i));
    EXPECT_EQ(label.UndoStack().count(), kUndoSteps);
    while (label.UndoStack().canUndo()) label.UndoStack().undo();
    EXPECT_EQ(label.Title().Text, QStringLiteral("20"));
}

// A step shares what it did not change with the states around it: a design holding a large picture
// that no compression shrinks costs a few copies of it, not one per step.
TEST_F(UndoHistory, StepsShareWhatTheyDidNotChange)
{
    QImage noise(700, 700, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            noise.setPixel(x, y, seed >> 8);
        }
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("noise.bmp"));
    ASSERT_TRUE(noise.save(file));
    label.SetOnlyBitmap(true); // pictures kept in the design itself
    auto* image = static_cast<TZVImage*>(label.CreateElement(7));
    image->SetFileImage(file);
    ASSERT_TRUE(image->HasPicture());
    const QByteArray original = design();
    ASSERT_GT(original.size(), 1'000'000);

    for (int i = 1; i <= kUndoSteps; ++i) retitle(QString::number(i));
    EXPECT_LT(UndoHistoryBytes(label), 4 * original.size()) << "one copy per step would be 100";
    while (label.UndoStack().canUndo()) label.UndoStack().undo();
    EXPECT_EQ(design(), original);
}

// What an application, an editor or an inspector holds stays valid through undo, redo and a
// cancelled change: elements found again by ID and kind keep their objects, in the order of the
// state restored; only what a step added or removed is deleted (its watchers told) or made anew.
TEST_F(UndoHistory, HeldElementsStayTheSameObjects)
{
    TZVElement* rect = label.CreateElement(ekRect);
    auto* text = static_cast<TZVText*>(label.CreateElement(ekText));
    TZVElement* line = label.CreateElement(ekLine);
    QPointer<TZVElement> gone = label.CreateElement(ekRect);
    text->SetText(QStringLiteral("one"));
    const QString goneId = gone->ID();
    // Deleted objects would clear these, whatever their memory reads back.
    const QList<QPointer<TZVElement>> watched{rect, text, line};
    const auto alive = [&] {
        return std::none_of(watched.begin(), watched.end(), [](const auto& p) { return p.isNull(); });
    };
    const QByteArray start = design();
    QPointer<TZVElement> added;
    {
        TZVChangeScope step(label, QStringLiteral("Edit"));
        rect->MoveBy(50, 0);
        text->SetText(QStringLiteral("two"));
        label.BringToFront(line);
        label.DeleteElement(gone, false);
        added = label.CreateElement(ekLine);
    }
    const QByteArray edited = design();

    label.UndoStack().undo();
    ASSERT_TRUE(alive());
    EXPECT_EQ(design(), start);
    ASSERT_EQ(label.Elements().size(), 4);
    EXPECT_EQ(label.Elements().mid(0, 3), (QList<TZVElement*>{rect, text, line}));
    EXPECT_EQ(rect->X1(), 0);
    EXPECT_EQ(text->Text(), QStringLiteral("one"));
    EXPECT_TRUE(added.isNull()) << "what the step added is deleted";
    gone = label.Elements().at(3);
    EXPECT_EQ(gone->ID(), goneId) << "what the step removed is made again";

    label.UndoStack().redo();
    ASSERT_TRUE(alive());
    EXPECT_EQ(design(), edited);
    ASSERT_EQ(label.Elements().size(), 4);
    EXPECT_EQ(label.Elements().mid(0, 3), (QList<TZVElement*>{line, rect, text}));
    EXPECT_EQ(rect->X1(), 50);
    EXPECT_EQ(text->Text(), QStringLiteral("two"));
    EXPECT_TRUE(gone.isNull());

    TZVChangeScope cancelled(label, QStringLiteral("Drag"));
    rect->MoveBy(700, 0);
    cancelled.Cancel(true);
    ASSERT_TRUE(alive());
    EXPECT_EQ(design(), edited);
    EXPECT_EQ(label.Elements().at(1), rect);
    EXPECT_EQ(rect->X1(), 50);
}

// A damaged design's empty and repeated IDs pair up in list order; an ID that changed its kind
// names another element.
TEST_F(UndoHistory, ElementsWithoutAUniqueIdAndKindChanges)
{
    QList<TZVElement*> held;
    for (const char* id : {"", "", "Same", "Same", "Kind"}) {
        held.append(label.CreateElement(ekRect));
        held.last()->SetID(QString::fromLatin1(id));
    }
    const QByteArray start = design();
    QPointer<TZVElement> replacement;
    {
        TZVChangeScope step(label, QStringLiteral("Edit"));
        for (int i = 0; i < 4; ++i)
            held[i]->MoveBy(10 * (i + 1), 0);
        label.DeleteElement(held.takeLast(), false);
        replacement = label.CreateElement(ekLine);
        replacement->SetID(QStringLiteral("Kind"));
    }
    const QList<QPointer<TZVElement>> watched(held.begin(), held.end());
    label.UndoStack().undo();
    EXPECT_TRUE(std::none_of(watched.begin(), watched.end(), [](const auto& p) { return p.isNull(); }));
    EXPECT_EQ(design(), start);
    EXPECT_EQ(label.Elements().mid(0, 4), held);
    EXPECT_TRUE(replacement.isNull());
    EXPECT_EQ(label.Elements().at(4)->ElementKind(), ekRect);
}

// An application's change made outside any step is recorded as a step of its own before an undo
// or a redo restores anything; a repaint that measures a text again is no change.
TEST_F(UndoHistory, AChangeOutsideAStepIsNotLost)
{
    auto* text = static_cast<TZVText*>(label.CreateElement(ekText));
    const QString first = label.Title().Text;
    retitle(QStringLiteral("user"));
    test::RecordingModelCanvas repaint;
    text->SetText(QStringLiteral("a text measured again"));
    const QString measured = text->Text();
    label.PaintElements(repaint.canvas(), {0, 0}, ptEditor, 0);
    label.Title().Text = QStringLiteral("application");

    label.UndoStack().undo();
    EXPECT_EQ(label.Title().Text, QStringLiteral("user"));
    EXPECT_EQ(label.UndoStack().count(), 2);
    label.UndoStack().redo();
    EXPECT_EQ(label.Title().Text, QStringLiteral("application"));
    EXPECT_EQ(text->Text(), measured);
    label.UndoStack().undo();
    label.UndoStack().undo();
    EXPECT_EQ(label.Title().Text, first);

    // Going forward, the change ends the steps that were ahead of it.
    label.UndoStack().redo();
    label.Title().Text = QStringLiteral("instead");
    label.UndoStack().redo();
    EXPECT_EQ(label.Title().Text, QStringLiteral("instead"));
    EXPECT_FALSE(label.UndoStack().canRedo());
    label.UndoStack().undo();
    EXPECT_EQ(label.Title().Text, QStringLiteral("user"));
    EXPECT_TRUE(label.Modified());

    // A repaint measuring a text set in a step is no change of its own.
    const QString unset = text->Text();
    {
        TZVChangeScope step(label, QStringLiteral("Text"));
        text->SetText(QStringLiteral("a much longer text than the one measured"));
    }
    const QByteArray unpainted = design();
    label.PaintElements(repaint.canvas(), {0, 0}, ptEditor, 0);
    ASSERT_NE(design(), unpainted);
    const int steps = label.UndoStack().count();
    label.UndoStack().undo();
    EXPECT_EQ(label.UndoStack().count(), steps);
    EXPECT_EQ(text->Text(), unset);

    // Nor is one painted while a change is open, as a preview paints with the records.
    {
        TZVChangeScope dialog(label, QStringLiteral("Label Properties"));
        text->SetText(QStringLiteral("a record's value, longer than the text"));
        label.PaintElements(repaint.canvas(), {0, 0}, ptPreviewPage, 0);
        text->SetText(unset);
    }
    EXPECT_EQ(label.UndoStack().count(), steps);

    // Contents that differ only beyond Windows-1252 are different designs.
    auto* code = static_cast<TZVBarCode*>(label.CreateElement(ekBarCode));
    {
        TZVChangeScope step(label, QStringLiteral("Content"));
        code->SetCodeType(QRCODE);
        code->SetBarCode(QStringLiteral("日本"));
    }
    code->SetBarCode(QStringLiteral("中文"));
    label.UndoStack().undo();
    EXPECT_EQ(code->BarCode(), QStringLiteral("日本"));
}

// Undo takes back the data set a step linked; the stream alone only names it.
TEST_F(UndoHistory, UndoTakesBackTheLinkedDataSet)
{
    TZVMemoryDataSet first;
    TZVMemoryDataSet second;
    first.SetName(QStringLiteral("First"));
    second.SetName(QStringLiteral("Second"));
    label.SetDataAccessType(daDataSet);
    label.SetDataSet(&first);
    {
        TZVChangeScope step(label, QStringLiteral("Label Properties"));
        label.SetDataSet(&second);
    }
    label.UndoStack().undo();
    EXPECT_EQ(label.DataSet(), &first);
    EXPECT_EQ(label.DataSetName(), QStringLiteral("First"));
    label.UndoStack().redo();
    EXPECT_EQ(label.DataSet(), &second);
    label.SetDataSet(nullptr);
}

// Modified follows the stack back to its clean state, unless the design was modified before the
// step began.
TEST_F(UndoHistory, TypingBackToTheSavedValue)
{
    label.Title().Text = QStringLiteral("abc");
    label.SetModified(false);
    retitle(QStringLiteral("abcd"), QStringLiteral("row"));
    retitle(QStringLiteral("abc"), QStringLiteral("row"));
    EXPECT_EQ(label.UndoStack().count(), 0);
    EXPECT_TRUE(label.UndoStack().isClean());
    EXPECT_FALSE(label.Modified());

    label.SetModified(true); // an application's change, not saved
    retitle(QStringLiteral("abcd"), QStringLiteral("row"));
    retitle(QStringLiteral("abc"), QStringLiteral("row"));
    EXPECT_TRUE(label.Modified());
}

TEST_F(UndoHistory, EveryLoadClearsTheHistory)
{
    TZVLab other;
    other.Title().Text = QStringLiteral("loaded");
    TZVMemoryStream stream;
    other.SaveToStream(stream);
    const QByteArray json = DesignToJson(other);
    const std::pair<const char*, std::function<void()>> loads[] = {
        {"stream", [&] { stream.SetPosition(0); label.LoadFromStream(stream); }},
        {"JSON", [&] { DesignFromJson(label, json); }},
    };
    for (const auto& [name, load] : loads) {
        SCOPED_TRACE(name);
        retitle(QStringLiteral("edited"));
        load();
        EXPECT_EQ(label.UndoStack().count(), 0);
        EXPECT_FALSE(label.Modified());
        label.UndoStack().undo();
        EXPECT_EQ(label.Title().Text, QStringLiteral("loaded"));
    }
}

} // namespace
