// The editor's show-data mode: the surface shows the master's current record and follows its moves.
#include "EditorTestSupport.h"

#include "elements/ZVImage.h"
#include "elements/ZVTextElements.h"
#include "platform/ZVBmp.h"
#include "platform/ZVMemoryDataSet.h"
#include "tests/support/PaintSupport.h"
#include "tests/support/QStringPrinter.h"

namespace zorvel::test {
namespace {

class EditorShowData : public EditorFixture
{
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
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
    }

    // The texts the elements draw on the editor surface, as the content layer asks them.
    QString drawnText() const
    {
        TZVRecordingCanvas canvas;
        label->PaintElements(canvas, {0, 0}, ptEditor, 1);
        return textsOf(canvas).at(0).text;
    }

    // What the surface shows; the layers are only recorded when something made them dirty.
    QImage surfaceImage() const { return editor->Surface()->grab().toImage(); }

    TZVMemoryDataSet people;
    TZVAddText* text = nullptr;
};

TEST_F(EditorShowData, TheSurfaceShowsTheRecordOnlyInShowDataModeWithTheMasterOpen)
{
    const struct
    {
        const char* name;
        bool showData, open;
        const char *field, *expected;
    } cases[] = {
        {"off by default: the field's name", false, true, "NAME", "NAME"},
        {"on: the current record", true, true, "NAME", "Ann"},
        {"on, master closed: the name", true, false, "NAME", "NAME"},
        // The print run refuses a field the data lacks; the designer shows the element's own text.
        {"on, a field the master lacks", true, true, "CITY", "-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        text->SetFieldName(QString::fromLatin1(c.field));
        people.SetActive(c.open);
        editor->SetShowData(c.showData);
        EXPECT_EQ(drawnText(), QLatin1String(c.expected));
    }
}

TEST_F(EditorShowData, TheSurfaceFollowsTheRecordWhileShowingData)
{
    const QImage names = surfaceImage();
    editor->SetShowData(true);
    const QImage ann = surfaceImage();
    EXPECT_NE(ann, names);
    people.Next();
    EXPECT_NE(surfaceImage(), ann);
    people.First();
    EXPECT_EQ(surfaceImage(), ann);

    // Another master is followed from the next paint on.
    TZVMemoryDataSet other;
    other.Open();
    label->SetDataSet(&other);
    editor->Refresh(false);
    const int before = editor->LayerRecordCount(lyContent);
    other.Close();
    EXPECT_GT(editor->LayerRecordCount(lyContent), before);

    // Switched off, the names come back and moves no longer repaint.
    editor->SetShowData(false);
    EXPECT_EQ(surfaceImage(), names);
    const int idle = editor->LayerRecordCount(lyContent);
    other.Open();
    EXPECT_EQ(editor->LayerRecordCount(lyContent), idle);
}

TEST(EditorShowDataImage, ABoundPictureShowsTheRecordsPictureInsteadOfItsFieldName)
{
    ensureGuiApplication();
    TZVMemoryDataSet photos;
    photos.AddField(QStringLiteral("PHOTO"), fkGraphic);
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    photos.AppendRecord({EncodeBmp(red)});
    photos.Open();
    TZVLab label;
    label.SetDataSet(&photos);
    label.SetDataEnabled(true);
    auto* image = new TZVImage(label);
    image->SetFieldName(QStringLiteral("PHOTO"));
    image->SetData(true);
    for (const bool showData : {false, true}) {
        label.SetShowData(showData);
        TZVRecordingCanvas canvas;
        label.PaintElements(canvas, {0, 0}, ptEditor, 1);
        EXPECT_EQ(textsOf(canvas).size(), showData ? 0u : 1u) << showData; // the field's name
    }
}

} // namespace
} // namespace zorvel::test
