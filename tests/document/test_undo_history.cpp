// The label's undo history: steps from nested changes, merging, the step limit, what clears it.
#include "document/ZVUndoHistory.h"

#include "document/ZVCustomLab.h"
#include "elements/ZVElement.h"
#include "elements/ZVImage.h"
#include "foundation/ZVStream.h"
#include "tests/document/TestEditorLink.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

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

} // namespace
