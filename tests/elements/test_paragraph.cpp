// Paragraph: alignment, box placement from the editor, its record and its published properties.
#include "ElementTestSupport.h"
#include "elements/ZVParagraph.h"

using namespace zorvel;
using namespace zorvel::test;

TEST_F(ElementTest, ParagraphDefaultsAndAlignmentSetter)
{
    TZVParagraph paragraph(label);
    EXPECT_EQ(paragraph.ID(), "Paragraph1");
    EXPECT_EQ(paragraph.HandleKind(), 3);
    EXPECT_EQ(paragraph.Alignment(), tfLeft);
    EXPECT_EQ(paragraph.TextAlign(), taLeTo);
    EXPECT_EQ(paragraph.Text(), "text");

    Forget();
    paragraph.SetAlignment(tfJustify);
    EXPECT_EQ(paragraph.Alignment(), tfJustify);
    EXPECT_EQ(editor.LastRefreshedName(), "TextAlign") << "the inspector row shares the texts' name";
    EXPECT_TRUE(label.Modified());

    Forget();
    paragraph.SetAlignment(tfJustify);
    EXPECT_TRUE(editor.refreshes.empty());
    EXPECT_FALSE(label.Modified());
}

TEST_F(ElementTest, DraggedParagraphSpansTheRectangleAtEveryAngle)
{
    // 10 model units a pixel. A turned paragraph (or one whose stored anchor is not left-top)
    // must not collapse onto one edge: its box is the rectangle.
    struct Case
    {
        const char* name;
        int angle;
        std::uint8_t storedAlign;
    };
    const Case cases[] = {
        {"unturned", 0, taLeTo},         {"quarter turn", 90, taLeTo},        {"half turn", 180, taLeTo},
        {"three quarters", 270, taLeTo}, {"stored centre anchor", 0, taCeCe},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVParagraph paragraph(label);
        RecordingVisitor reader(kStreamVersion, true);
        reader.numbers = {{"Angle", c.angle}, {"TextAlign", c.storedAlign}, {"AnchorPos", 7}};
        paragraph.VisitFields(reader);
        Forget();
        paragraph.SetScreenRect({12, 5, 47, 33});
        EXPECT_EQ((TRect{paragraph.X1(), paragraph.Y1(), paragraph.X2(), paragraph.Y2()}),
                  (TRect{120, 50, 470, 330}));
        EXPECT_EQ(paragraph.AnchorPos(), TZVElement::kNotAnchored);
        EXPECT_TRUE(label.Modified());
    }
}

TEST_F(ElementTest, ParagraphPlacedFromADraggedBoxFillsIt)
{
    TZVParagraph paragraph(label);
    paragraph.SetAngle(90);
    paragraph.PlaceFromScreenRect({10, 10, 30, 20}, false, false);
    EXPECT_EQ((TRect{paragraph.X1(), paragraph.Y1(), paragraph.X2(), paragraph.Y2()}),
              (TRect{100, 100, 300, 200}));
}

TEST(ParagraphRecord, AlignmentFollowsTheTextPart)
{
    TZVLab label;
    TZVParagraph paragraph(label);
    RecordingVisitor reader(18, true);
    reader.numbers = {{"Alignment", tfCenter}};
    paragraph.VisitFields(reader);
    ASSERT_GE(reader.names.size(), 2u);
    EXPECT_EQ(reader.names.back(), "Alignment");
    EXPECT_EQ(reader.names[reader.names.size() - 2], "GapY");
    EXPECT_TRUE(reader.ansiNames["Text"]);
    EXPECT_EQ(paragraph.Alignment(), tfCenter);
}

TEST(ParagraphProperties, PublishedInIndexOrder)
{
    EXPECT_EQ(PublishedNames(TZVParagraph::staticMetaObject),
              (std::vector<std::string>{"X1",          "Y1",          "Color",     "Print",      "BackColor",
                                        "Transparent", "FieldName",   "Data",      "FontHeight", "FontName",
                                        "Separation",  "Bold",        "Underline", "Italic",     "ID",
                                        "X2",          "Y2",          "Text",      "Template",   "Angle",
                                        "Alignment",   "PenWidth",    "BorderColor", "ShowBorder"}));
    const QMetaObject& meta = TZVParagraph::staticMetaObject;
    const QMetaProperty alignment = meta.property(meta.indexOfProperty("Alignment"));
    ASSERT_TRUE(alignment.isEnumType());
    EXPECT_STREQ(alignment.enumerator().name(), "TTextFormat");
}
