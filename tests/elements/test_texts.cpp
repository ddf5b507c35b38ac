// Text elements: setters and notifications, data binding, anchor and box placement, the text record.
#include "ElementTestSupport.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVUtils.h"
#include "platform/ZVMemoryDataSet.h"

#include <functional>

using namespace zorvel;
using namespace zorvel::test;

namespace {

const std::vector<std::string> kTextPartNames{"Text",      "DisplayFormat", "TextAlign",   "Bold", "Italic",
                                              "Underline", "Shadow",        "ShadowColor", "GapX", "GapY"};

// Every single-line text kind, created on `label`.
struct TextKinds
{
    explicit TextKinds(TZVCustomLab& label) : text(label), addText(label), askText(label) {}
    TZVText text;
    TZVAddText addText;
    TZVAskText askText;
};

} // namespace

TEST_F(ElementTest, TextDefaults)
{
    TextKinds kinds(label);
    for (TZVDataText* t : std::initializer_list<TZVDataText*>{&kinds.text, &kinds.addText, &kinds.askText}) {
        SCOPED_TRACE(t->ID().toStdString());
        EXPECT_EQ(t->Text(), "text");
        EXPECT_EQ(t->TextAlign(), taLeTo);
        EXPECT_EQ(t->GapX(), 50);
        EXPECT_EQ(t->GapY(), 50);
        EXPECT_EQ(t->ShadowColor(), 0x808080u);
        EXPECT_FALSE(t->Bold() || t->Italic() || t->Underline() || t->Shadow());
        EXPECT_EQ(t->HandleKind(), 0);
    }
    EXPECT_EQ(kinds.addText.Before(), "Pre");
    EXPECT_EQ(kinds.addText.After(), "Post");
    EXPECT_EQ(kinds.askText.Question(), "Question");
    EXPECT_EQ(kinds.askText.Answer(), "Answer");
}

TEST_F(ElementTest, TextSettersFollowTheirNotificationRules)
{
    struct Case
    {
        const char* name;
        std::function<void(TextKinds&)> act;
        const char* refreshed; // null: the editor hears nothing
        bool modified;
    };
    const Case cases[] = {
        {"Text", [](TextKinds& k) { k.text.SetText("abc"); }, "Text", true},
        {"unchanged Text", [](TextKinds& k) { k.text.SetText("text"); }, nullptr, false},
        {"Bold", [](TextKinds& k) { k.text.SetBold(true); }, "Bold", true},
        {"Italic", [](TextKinds& k) { k.text.SetItalic(true); }, "Italic", true},
        {"Underline", [](TextKinds& k) { k.text.SetUnderline(true); }, "Underline", true},
        {"unchanged Bold", [](TextKinds& k) { k.text.SetBold(false); }, nullptr, false},
        {"Shadow", [](TextKinds& k) { k.text.SetShadow(true); }, "Shadow", true},
        {"ShadowColor", [](TextKinds& k) { k.text.SetShadowColor(0xFF); }, "ShadowColor", true},
        {"unchanged ShadowColor", [](TextKinds& k) { k.text.SetShadowColor(0x808080); }, nullptr, false},
        {"TextAlign", [](TextKinds& k) { k.text.SetTextAlign(taCeCe); }, "TextAlign", true},
        {"unchanged TextAlign", [](TextKinds& k) { k.text.SetTextAlign(taLeTo); }, nullptr, false},
        {"Separation is heard as Distance", [](TextKinds& k) { k.text.SetSeparation(0.5f); }, "Distance",
         true},
        {"unchanged Separation still notifies", [](TextKinds& k) { k.text.SetSeparation(0); }, "Distance",
         true},
        {"GapX without shadow is not shown", [](TextKinds& k) { k.text.SetGapX(1); }, nullptr, false},
        {"GapY without shadow is not shown", [](TextKinds& k) { k.text.SetGapY(1); }, nullptr, false},
        {"GapX with shadow",
         [](TextKinds& k) {
             k.text.SetShadow(true);
             k.text.SetGapX(0.5f);
         },
         "GapX", true},
        {"GapY with shadow",
         [](TextKinds& k) {
             k.text.SetShadow(true);
             k.text.SetGapY(0.5f);
         },
         "GapY", true},
        {"DisplayFormat only marks modified", [](TextKinds& k) { k.text.SetDisplayFormat("0.00"); }, nullptr,
         true},
        {"unchanged DisplayFormat", [](TextKinds& k) { k.text.SetDisplayFormat({}); }, nullptr, false},
        {"Before", [](TextKinds& k) { k.addText.SetBefore("<"); }, "Before", true},
        {"After", [](TextKinds& k) { k.addText.SetAfter(">"); }, "After", true},
        {"unchanged Before", [](TextKinds& k) { k.addText.SetBefore("Pre"); }, nullptr, false},
        {"Question", [](TextKinds& k) { k.askText.SetQuestion("Name?"); }, "Question", true},
        {"Answer only marks modified", [](TextKinds& k) { k.askText.SetAnswer("Ann"); }, nullptr, true},
        {"unchanged Answer", [](TextKinds& k) { k.askText.SetAnswer("Answer"); }, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextKinds kinds(label);
        // Preparation steps inside `act` (turning the shadow on) are heard too: keep only the last.
        Forget();
        c.act(kinds);
        if (c.refreshed) {
            ASSERT_FALSE(editor.refreshes.empty());
            EXPECT_EQ(editor.LastRefreshedName(), c.refreshed);
        } else {
            EXPECT_TRUE(editor.refreshes.empty());
            EXPECT_EQ(editor.contentDirtyCount + editor.selectionDirtyCount, 0);
        }
        EXPECT_EQ(label.Modified(), c.modified);
    }
}

TEST_F(ElementTest, TextGapChangesAreStoredEvenWhileTheShadowIsOff)
{
    TZVText text(label);
    Forget();
    text.SetGapX(1.25f);
    EXPECT_EQ(text.GapX(), 125);
    EXPECT_FALSE(label.Modified());
}

TEST_F(ElementTest, SelectedTextNotifiesTheSelectionLayer)
{
    TZVText text(label);
    text.SetSelected(true);
    Forget();
    text.SetBold(true);
    EXPECT_EQ(editor.selectionDirtyCount, 1);
    EXPECT_EQ(editor.contentDirtyCount, 0);
}

TEST_F(ElementTest, TextLengthsFollowTheirUnits)
{
    label.SetUnits(unINCH);
    TZVText text(label);
    // Separation is always millimetres; the shadow offset is in the label's unit.
    text.SetSeparation(0.33f);
    EXPECT_EQ(text.Separation(), 33);
    EXPECT_FLOAT_EQ(text.GetSeparation(), 0.33f);
    text.SetGapX(0.1f);
    EXPECT_EQ(text.GapX(), 254);
    EXPECT_FLOAT_EQ(text.GetGapX(), 0.1f);
}

TEST_F(ElementTest, BindingATextShowsTheFieldsDisplayName)
{
    TZVMemoryDataSet customers;
    customers.AddField("CUST_NAME", fkString);
    customers.SetDisplayLabel("CUST_NAME", "Customer");
    customers.Open();
    label.SetDataAccessType(daDataSet);
    label.SetDataSet(&customers);
    label.SetDataEnabled(true);

    TZVText text(label);
    Forget();
    text.SetFieldName("customer");
    EXPECT_EQ(text.BoundField(), "CUST_NAME");
    EXPECT_EQ(text.Text(), "text") << "not bound while Data is off";
    EXPECT_TRUE(editor.refreshedProperties.isEmpty());

    Forget();
    text.SetData(true);
    EXPECT_EQ(text.Text(), "Customer");
    EXPECT_EQ(editor.LastRefreshedName(), "Database");
    EXPECT_EQ(editor.refreshedProperties, QStringList{"Text"});
    EXPECT_TRUE(label.Modified());

    text.SetText("fixed");
    Forget();
    text.SetFieldName("Customer");
    EXPECT_EQ(text.Text(), "Customer");
    EXPECT_EQ(editor.LastRefreshedName(), "FieldName");
    EXPECT_EQ(editor.refreshedProperties, QStringList{"Text"});

    Forget();
    text.SetData(false);
    EXPECT_EQ(text.Text(), "Customer") << "unbinding keeps the content";
    EXPECT_TRUE(editor.refreshedProperties.isEmpty());
    label.SetDataSet(nullptr);
}

TEST(TextAnchor, AnchorIsThePointOfTheBoxThatAlignAndAngleName)
{
    const TRect box{10, 20, 110, 60};
    struct Case
    {
        TTextAlign align;
        int angle;
        TPoint anchor;
    };
    // Worked out by hand from the reading direction at each quarter turn (middle = 60, 40).
    const Case cases[] = {
        {taLeBo, 0, {10, 60}},    {taCeBo, 0, {60, 60}},    {taRiBo, 0, {110, 60}},   {taLeTo, 0, {10, 20}},
        {taCeTo, 0, {60, 20}},    {taRiTo, 0, {110, 20}},   {taLeCe, 0, {10, 40}},    {taCeCe, 0, {60, 40}},
        {taRiCe, 0, {110, 40}},   {taLeBo, 90, {110, 60}},  {taRiTo, 90, {10, 20}},   {taLeTo, 90, {10, 60}},
        {taRiCe, 90, {60, 20}},   {taCeCe, 90, {60, 40}},   {taLeBo, 180, {110, 20}}, {taRiTo, 180, {10, 60}},
        {taLeTo, 180, {110, 60}}, {taCeBo, 180, {60, 20}},  {taLeCe, 180, {110, 40}}, {taLeBo, 270, {10, 20}},
        {taRiTo, 270, {110, 60}}, {taLeTo, 270, {110, 20}}, {taCeBo, 270, {10, 40}},  {taRiCe, 270, {60, 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "align " << int(c.align) << " angle " << c.angle);
        const auto anchor = TextAnchorInBox(box, c.align, c.angle);
        ASSERT_TRUE(anchor.has_value());
        EXPECT_EQ(*anchor, c.anchor);
    }
    EXPECT_FALSE(TextAnchorInBox(box, taLeTo, 45).has_value());
    EXPECT_FALSE(TextAnchorInBox(box, taLeTo, 360).has_value());
}

TEST(TextAnchor, AnchorOfABoxBuiltAroundAnAnchorIsThatAnchor)
{
    // AnchoredBox builds the box of a text at an anchor; taking the anchor back must agree with it.
    for (const int angle : {0, 90, 180, 270}) {
        for (int align = taLeBo; align <= taRiTo; ++align) {
            SCOPED_TRACE(testing::Message() << "align " << align << " angle " << angle);
            TRect box;
            AnchoredBox(box, angle, 500, 700, align, 40, 100);
            NormalizeRect(box);
            const auto anchor = TextAnchorInBox(box, static_cast<TTextAlign>(align), angle);
            ASSERT_TRUE(anchor.has_value());
            EXPECT_EQ(*anchor, (TPoint{500, 700}));
        }
    }
}

TEST_F(ElementTest, DraggingATextMovesItsAnchorOnly)
{
    // 10 model units a pixel.
    struct Case
    {
        const char* name;
        TTextAlign align;
        int angle;
        TRect pixels;
        TPoint anchor;
    };
    const Case cases[] = {
        {"left-top unturned", taLeTo, 0, {20, 10, 40, 30}, {200, 100}},
        {"left-bottom at 90 takes the right-bottom corner", taLeBo, 90, {20, 10, 40, 30}, {400, 300}},
        {"centre-middle", taCeCe, 180, {20, 10, 40, 30}, {300, 200}},
        {"right-bottom at 270 takes the left-bottom corner", taRiBo, 270, {20, 10, 40, 30}, {200, 300}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVText text(label);
        text.SetTextAlign(c.align);
        text.SetAngle(c.angle);
        RecordingVisitor reader(kStreamVersion, true);
        reader.numbers = {{"X2", 7777}, {"Y2", 8888}, {"AnchorPos", 5}};
        text.VisitFields(reader);
        Forget();
        text.SetScreenRect(c.pixels);
        EXPECT_EQ((TPoint{text.X1(), text.Y1()}), c.anchor);
        EXPECT_EQ(text.X2(), 7777) << "a text's far corner comes from painting only";
        EXPECT_EQ(text.AnchorPos(), TZVElement::kNotAnchored);
        EXPECT_EQ(text.ScreenRect(), c.pixels);
        EXPECT_TRUE(label.Modified());

        Forget();
        text.SetScreenRect(c.pixels);
        EXPECT_FALSE(label.Modified()) << "the same rectangle again changes nothing";
    }
}

TEST_F(ElementTest, DraggingATextAtAnOddAngleKeepsItsAnchor)
{
    TZVText text(label);
    text.SetAngle(45);
    text.SetX1(3);
    text.SetY1(4);
    text.SetScreenRect({20, 10, 40, 30});
    EXPECT_EQ((TPoint{text.X1(), text.Y1()}), (TPoint{300, 400}));
}

TEST_F(ElementTest, PlacingATextFromADraggedBoxUsesItsAnchorRule)
{
    TZVAddText text(label);
    text.SetTextAlign(taRiBo);
    text.SetAngle(180);
    text.PlaceFromScreenRect({10, 10, 30, 20}, false, false);
    // Right-bottom turned half round is the box's left-top: (100, 100).
    EXPECT_EQ((TPoint{text.X1(), text.Y1()}), (TPoint{100, 100}));
    EXPECT_TRUE(label.Modified());
}

TEST_F(ElementTest, PlacingTheMeasuredBoxAroundTheAnchor)
{
    struct Case
    {
        const char* name;
        TTextAlign align;
        int angle;
        bool shadow;
        bool border;
        TRect box;  // BoxLeft, BoxTop, BoxLeft + BoxWidth, BoxTop + BoxHeight
        TPoint far; // X2, Y2
    };
    // Anchor (100, 100), text measured 40 x 10; shadow 50 x 50; border: padding 20 x 30, pen 10.
    const Case cases[] = {
        {"right-bottom", taRiBo, 0, false, false, {60, 90, 100, 100}, {100, 100}},
        {"centre-middle", taCeCe, 0, false, false, {80, 95, 120, 105}, {120, 105}},
        {"left-top with shadow", taLeTo, 0, true, false, {100, 100, 190, 160}, {190, 160}},
        {"left-top with shadow and border", taLeTo, 0, true, true, {100, 100, 250, 240}, {250, 240}},
        {"left-top turned a quarter", taLeTo, 90, false, false, {100, 100, 140, 110}, {110, 60}},
        {"left-top turned half round", taLeTo, 180, false, false, {100, 100, 140, 110}, {60, 90}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVText text(label);
        text.SetX1(1);
        text.SetY1(1);
        text.SetTextAlign(c.align);
        text.SetAngle(c.angle);
        text.SetShadow(c.shadow);
        text.SetShowBorder(c.border);
        text.SetPaddingX(0.2f);
        text.SetPaddingY(0.3f);
        text.PlaceBox(40, 10);
        EXPECT_EQ((TRect{text.BoxLeft(), text.BoxTop(), text.BoxLeft() + text.BoxWidth(),
                         text.BoxTop() + text.BoxHeight()}),
                  c.box);
        EXPECT_EQ((TPoint{text.X2(), text.Y2()}), c.far);
    }
}

TEST(TextRecord, FieldsAreVisitedInStreamOrderWithTheirLayoutRules)
{
    struct Case
    {
        int kind;
        std::int32_t version;
        std::vector<std::string> ownNames;
        bool ansi;
    };
    const Case cases[] = {
        {ekText, kStreamVersion, {}, false},
        {ekText, 18, {}, true},
        {ekText, 19, {}, false},
        {ekAddText, kStreamVersion, {"Before", "After"}, false},
        {ekAddText, 18, {"Before", "After"}, true},
        {ekAskText, kStreamVersion, {"Question", "Answer"}, false},
        {ekAskText, 17, {"Question", "Answer"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " version " << c.version);
        TZVLab label;
        TZVElement* element = label.CreateElement(c.kind);
        RecordingVisitor reader(c.version, true);
        element->VisitFields(reader);
        EXPECT_EQ(reader.names,
                  Joined(Joined(Joined(BaseFieldNames(c.version), DataFieldNames(c.version)), kTextPartNames),
                         c.ownNames));
        EXPECT_EQ(reader.ansiNames["Text"], c.ansi);
        for (const std::string& name : c.ownNames)
            EXPECT_EQ(reader.ansiNames[name], c.ansi) << name;
    }
}

TEST(TextRecord, ReadingMapsAnchorsAndScalesShadowOffsetsOfOlderLayouts)
{
    struct Case
    {
        std::int32_t version;
        int storedAlign;
        int align;
        int storedGap;
        int gap;
    };
    const Case cases[] = {
        {kStreamVersion, taRiCe, taRiCe, 5, 5},
        {kStreamVersion, 9, taLeTo, 5, 5},
        {kStreamVersion, 255, taLeTo, 5, 5},
        {20, taLeCe, taLeCe, 5, 5},
        {19, taRiTo, taRiTo, 5, 50},
        {19, taLeCe, taLeTo, 5, 50},
        {19, taRiCe, taLeTo, -3, -30},
        {18, taCeBo, taCeBo, 7, 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "version " << c.version << " align " << c.storedAlign);
        TZVLab label;
        TZVText text(label);
        RecordingVisitor reader(c.version, true);
        reader.numbers = {{"TextAlign", c.storedAlign}, {"GapX", c.storedGap}, {"GapY", c.storedGap}};
        text.VisitFields(reader);
        EXPECT_EQ(text.TextAlign(), c.align);
        EXPECT_EQ(text.GapX(), c.gap);
        EXPECT_EQ(text.GapY(), c.gap);
    }
}

TEST(TextRecord, WhatIsWrittenReadsBackUnchanged)
{
    TZVLab label;
    TZVAskText original(label);
    original.SetText("Hello");
    original.SetDisplayFormat("0.0");
    original.SetTextAlign(taRiCe);
    original.SetBold(true);
    original.SetUnderline(true);
    original.SetShadow(true);
    original.SetShadowColor(0x123456);
    original.SetGapX(0.7f);
    original.SetGapY(0.9f);
    original.SetQuestion("Who?");
    original.SetAnswer("Me");
    RecordingVisitor writer(kStreamVersion, false);
    original.VisitFields(writer);

    TZVAskText copy(label);
    RecordingVisitor reader(kStreamVersion, true);
    reader.numbers = writer.numbers;
    reader.strings = writer.strings;
    copy.VisitFields(reader);
    EXPECT_EQ(copy.Text(), "Hello");
    EXPECT_EQ(copy.DisplayFormat(), "0.0");
    EXPECT_EQ(copy.TextAlign(), taRiCe);
    EXPECT_TRUE(copy.Bold());
    EXPECT_FALSE(copy.Italic());
    EXPECT_TRUE(copy.Underline());
    EXPECT_TRUE(copy.Shadow());
    EXPECT_EQ(copy.ShadowColor(), 0x123456u);
    EXPECT_EQ(copy.GapX(), 70);
    EXPECT_EQ(copy.GapY(), 90);
    EXPECT_EQ(copy.Question(), "Who?");
    EXPECT_EQ(copy.Answer(), "Me");
}

TEST(TextProperties, EachClassPublishesItsPropertiesInIndexOrder)
{
    const std::vector<std::string> inherited{
        "X1",        "Y1",     "Color",      "Print",         "BackColor",  "Transparent",
        "FieldName", "Data",   "FontHeight", "FontName",      "Separation", "Bold",
        "Underline", "Italic", "Text",       "DisplayFormat", "Template",   "TextAlign",
        "Angle",     "GapX",   "GapY",       "Shadow",        "ShadowColor"};
    const std::vector<std::string> border{"ShowBorder", "BorderColor", "BorderRadio",
                                          "PenWidth",   "PaddingX",    "PaddingY"};
    struct Case
    {
        const char* name;
        const QMetaObject& meta;
        std::vector<std::string> own;
    };
    const Case cases[] = {
        {"TZVText", TZVText::staticMetaObject, {"ID"}},
        {"TZVAddText", TZVAddText::staticMetaObject, {"ID", "Before", "After"}},
        {"TZVAskText", TZVAskText::staticMetaObject, {"ID", "Question", "Answer"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PublishedNames(c.meta), Joined(Joined(inherited, c.own), border));
    }

    const QMetaObject& meta = TZVText::staticMetaObject;
    const QMetaProperty align = meta.property(meta.indexOfProperty("TextAlign"));
    ASSERT_TRUE(align.isEnumType());
    EXPECT_STREQ(align.enumerator().name(), "TTextAlign");
    EXPECT_EQ(meta.property(meta.indexOfProperty("GapX")).metaType().id(), QMetaType::Float);
    EXPECT_EQ(meta.property(meta.indexOfProperty("Separation")).metaType().id(), QMetaType::Float);
}

TEST(TextProperties, PropertiesReadAndWriteByName)
{
    TZVLab label;
    label.SetUnits(unCM);
    TZVAddText text(label);
    EXPECT_TRUE(text.setProperty("GapX", 0.25f));
    EXPECT_EQ(text.GapX(), 250);
    EXPECT_TRUE(text.setProperty("Before", QStringLiteral("N: ")));
    EXPECT_EQ(text.Before(), "N: ");
    EXPECT_TRUE(text.setProperty("TextAlign", QVariant::fromValue(taCeCe)));
    EXPECT_EQ(text.TextAlign(), taCeCe);
    EXPECT_EQ(text.property("Separation").toFloat(), 0.0f);
}
