// The editor's show-data mode: the surface shows the master's current record and follows its moves.
#include "EditorTestSupport.h"

#include "elements/ZVTextElements.h"
#include "platform/ZVMemoryDataSet.h"
#include "tests/support/PaintSupport.h"
#include "tests/support/QStringPrinter.h"

#include <QPainter>

namespace zorvel::test {
namespace {

class EditorShowData : public EditorFixture
{
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        people.SetName(QStringLiteral("People"));
        people.AddField(QStringLiteral("NAME"), fkString);
        people.AppendRecord({QStringLiteral("Ann")});
        people.AppendRecord({QStringLiteral("Bob")});
        people.Open();
        label->SetDataSet(&people);
        label->SetDataEnabled(true);
        text = static_cast<TZVAddText*>(add(ekAddText, 500, 500, 0, 0));
        text->SetBefore({});
        text->SetAfter({});
        text->SetFieldName(QStringLiteral("NAME"));
        text->SetData(true);
        editor->Refresh(false);
    }

    // The texts the elements draw on the editor surface, as the content layer asks them.
    QStringList drawnTexts() const
    {
        TZVRecordingCanvas canvas;
        label->PaintElements(canvas, {0, 0}, ptEditor, 1);
        QStringList texts;
        for (const DrawnText& drawn : textsOf(canvas))
            texts << drawn.text;
        return texts;
    }

    QImage surfaceImage() const
    {
        QImage image(editor->SurfaceWidth(), editor->SurfaceHeight(), QImage::Format_RGB32);
        QPainter painter(&image);
        editor->DrawLayers(painter, image.rect());
        return image;
    }

    TZVMemoryDataSet people;
    TZVAddText* text = nullptr;
};

TEST_F(EditorShowData, TheSurfaceShowsTheRecordOnlyInShowDataModeWithTheMasterOpen)
{
    const struct
    {
        const char* name;
        bool showData;
        bool open;
        const char* field;
        QStringList expected;
    } cases[] = {
        {"off by default: the field's name", false, true, "NAME", {QStringLiteral("NAME")}},
        {"on: the current record", true, true, "NAME", {QStringLiteral("Ann")}},
        {"on, master closed: the name", true, false, "NAME", {QStringLiteral("NAME")}},
        // The print run refuses a field the data lacks; the designer shows the element's own
        // text instead, which names no field the master has.
        {"on, field the master lacks", true, true, "CITY", {QStringLiteral("-")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        text->SetFieldName(QString::fromLatin1(c.field));
        people.SetActive(c.open);
        if (c.open) people.First();
        editor->SetShowData(c.showData);
        EXPECT_EQ(editor->ShowData(), c.showData);
        EXPECT_EQ(drawnTexts(), c.expected);
        EXPECT_NO_THROW(editor->Refresh(false));
    }
}

TEST_F(EditorShowData, TheSurfaceFollowsTheRecordWhileShowingData)
{
    const QImage names = surfaceImage();
    editor->SetShowData(true);
    const QImage ann = surfaceImage();
    EXPECT_NE(ann, names);

    const int recorded = editor->LayerRecordCount(lyContent);
    people.Next();
    EXPECT_GT(editor->LayerRecordCount(lyContent), recorded);
    const QImage bob = surfaceImage();
    EXPECT_NE(bob, ann);
    // A selected element lies on the selection layer: it follows too.
    editor->AddToSelection(text);
    editor->Refresh(false);
    people.First();
    EXPECT_NE(surfaceImage(), bob);
    editor->ClearSelection();
    editor->Refresh(false);
    EXPECT_EQ(surfaceImage(), ann);

    // Switched off, moves no longer repaint and the names come back.
    editor->SetShowData(false);
    EXPECT_EQ(surfaceImage(), names);
    const int idle = editor->LayerRecordCount(lyContent);
    people.Next();
    EXPECT_EQ(editor->LayerRecordCount(lyContent), idle);

    // Another master is followed from the next paint on.
    TZVMemoryDataSet other;
    other.AddField(QStringLiteral("NAME"), fkString);
    other.AppendRecord({QStringLiteral("Cid")});
    other.AppendRecord({QStringLiteral("Dan")});
    other.Open();
    editor->SetShowData(true);
    label->SetDataSet(&other);
    editor->Refresh(false);
    EXPECT_EQ(drawnTexts(), QStringList{QStringLiteral("Cid")});
    const int before = editor->LayerRecordCount(lyContent);
    other.Next();
    EXPECT_GT(editor->LayerRecordCount(lyContent), before);
    label->SetDataSet(nullptr);
}

} // namespace
} // namespace zorvel::test
