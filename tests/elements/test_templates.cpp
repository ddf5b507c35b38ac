// Templates on texts, bar codes and table columns: what they print and paint, their refusal,
// their records and the names they use when the data opens.
#include "../support/PaintSupport.h"
#include "ElementTestSupport.h"
#include "document/ZVDesignJson.h"
#include "elements/ZVBarCode.h"
#include "elements/ZVParagraph.h"
#include "elements/ZVTable.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVStream.h"
#include "platform/ZVMemoryDataSet.h"

using namespace zorvel;
using namespace zorvel::test;

namespace {

QString refusal(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EZvError& e) {
        return e.message();
    }
    return {};
}

// Master product ("A7", "Bolt", 12.5), detail lines of QTY 2 and 5, counter SERIAL at 7 in 3 digits.
class Templates : public ElementTest
{
protected:
    Templates()
    {
        products.AddField("CODE", fkString);
        products.AddField("NAME", fkString);
        products.AddField("PRICE", fkFloat);
        products.AppendRecord({QString("A7"), QString("Bolt"), 12.5});
        lines.AddField("QTY", fkInteger);
        lines.AppendRecord({2});
        lines.AppendRecord({5});
        products.Open();
        lines.Open();
        label.SetDataSet(&products);
        label.SetDetail(&lines);
        label.SetDataEnabled(true);
        label.SetCounters({TZVCounter{"SERIAL", 7, 1, 3}});
    }

    // Everything `element` draws on `target`: a bar code's content, else its texts run together.
    QString drawn(TZVElement& element, int target)
    {
        recorder.canvas().Clear();
        element.Paint(recorder.canvas(), {0, 0}, target, 1);
        if (auto* code = qobject_cast<TZVBarCode*>(&element)) return code->PrintText();
        QString all;
        for (const DrawnText& t : textsOf(recorder.canvas())) all += (all.isEmpty() ? "" : "|") + t.text;
        return all;
    }

    TZVMemoryDataSet products;
    TZVMemoryDataSet lines;
    RecordingModelCanvas recorder;
};

TEST_F(Templates, EachKindPrintsAndPaintsItsExpansionAndTheEditorItsText)
{
    TZVText text(label);
    TZVAddText add(label);
    add.SetBefore("<");
    add.SetAfter(">");
    TZVParagraph paragraph(label);
    paragraph.SetX2(50);
    paragraph.SetY2(20);
    TZVAskText ask(label);
    TZVBarCode qr(label);
    qr.SetCodeType(QRCODE);
    struct Case { TZVElement& element; const char *tpl, *printed, *editor; };
    const Case cases[] = {
        {text, "{name} {PRICE:0.00}", "Bolt 12.50", "{name} {PRICE:0.00}"},
        {add, "{#SERIAL}/{COPY}", "<007/1>", "<{#SERIAL}/{COPY}>"},
        {paragraph, "{RECORD}:{CODE}", "1:A7", "{RECORD}:{CODE}"},
        {ask, "{{{CODE}}}", "{A7}", "{{{CODE}}}"},
        {qr, "https://x.test/p/{CODE}", "https://x.test/p/A7", "https://x.test/p/{CODE}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tpl);
        EXPECT_TRUE(c.element.setProperty("Template", QString(c.tpl)));
        EXPECT_EQ(c.element.PrintedContent(), QString(c.printed));
        EXPECT_EQ(drawn(c.element, ptPrinter), c.printed);
        EXPECT_EQ(drawn(c.element, ptEditor), c.editor);
        label.SetShowData(true);
        EXPECT_EQ(drawn(c.element, ptEditor), c.printed);
        label.SetShowData(false);
    }
    EXPECT_EQ(qr.EncodingError(), QString());
}

TEST_F(Templates, ColumnReadsTheDetailRowThenTheMaster)
{
    TZVTable table(label);
    table.SetX2(50);
    table.SetY2(60);
    table.AddColumn().SetTemplate("{QTY}x{CODE}");
    EXPECT_TRUE(drawn(table, ptPreviewPage).contains("2xA7|5xA7"));
    EXPECT_TRUE(drawn(table, ptEditor).contains("{QTY}x{CODE}"));
    EXPECT_EQ(table.PrintedContent(), std::nullopt);
}

TEST_F(Templates, MalformedTemplatesAreRefusedEverywhere)
{
    TZVText text(label);
    text.SetTemplate("{CODE}");
    TZVBarCode code(label);
    TZVTable table(label);
    TZVColumn& column = table.AddColumn();
    const QString why = "INVALID TEMPLATE AT 3 : } WITHOUT {";
    EXPECT_EQ(refusal([&] { text.SetTemplate("ab}"); }), why);
    EXPECT_EQ(text.Template(), "{CODE}");
    EXPECT_EQ(refusal([&] { code.SetTemplate("ab}"); }), why);
    EXPECT_EQ(refusal([&] { column.SetTemplate("ab}"); }), why);
    EXPECT_EQ(text.PropertyRefusal("Template", "ab}"), why);
    EXPECT_EQ(code.PropertyRefusal("Template", "ab}"), why);
    EXPECT_EQ(code.PropertyRefusal("Template", "{CODE}"), QString());

    EXPECT_EQ(refusal([&] { DesignFromJson(label, R"({"Elements":[{"Kind":9,"Columns":[{"Template":"ab}"}]}]})"); }),
              "INVALID VALUE : Elements[0].Columns[0].Template (" + why + ")");
    // The stream's "{CODE}" made "{CODE{": damage.
    TZVMemoryStream stream;
    label.SaveToStream(stream);
    QByteArray bytes = stream.Bytes();
    const QByteArray closing = QByteArray("E\0}\0", 4);
    ASSERT_EQ(bytes.count(closing), 1);
    bytes.replace(closing, QByteArray("E\0{\0", 4));
    TZVMemoryStream damaged(bytes);
    EXPECT_EQ(refusal([&] { label.LoadFromStream(damaged); }), "ERROR READING FILE");
}

TEST_F(Templates, RecordsRoundTripThroughJsonByteForByte)
{
    label.SetDataSet(nullptr);
    label.SetCounters({});
    TZVText text(label);
    TZVAddText add(label);
    TZVParagraph paragraph(label);
    TZVAskText ask(label);
    TZVBarCode code(label);
    TZVTable table(label);
    table.AddColumn().SetTemplate("{QTY}");
    const auto version = [&] {
        TZVMemoryStream stream;
        label.SaveToStream(stream);
        TZVMemoryStream head(stream.Bytes());
        return std::pair{head.ReadI32(), stream.Bytes()};
    };
    EXPECT_EQ(version().first, 3000);
    table.Column(0).SetTemplate("");
    EXPECT_EQ(version().first, 2700) << "no template, the old layout";
    const std::vector<TZVElement*> kinds{&text, &add, &paragraph, &ask, &code};
    for (std::size_t i = 0; i < kinds.size(); ++i) kinds[i]->setProperty("Template", QString("{DATE}-%1").arg(i));
    table.Column(0).SetTemplate("{QTY}");
    const auto [written, bytes] = version();
    EXPECT_EQ(written, 3000);
    EXPECT_EQ(JsonToStream(StreamToJson(bytes)), bytes);

    TZVLab copy;
    TZVMemoryStream stream(bytes);
    copy.LoadFromStream(stream);
    ASSERT_EQ(copy.Elements().size(), 6);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(copy.Elements()[i]->property("Template").toString(), QString("{DATE}-%1").arg(i));
    EXPECT_EQ(qobject_cast<TZVTable*>(copy.Elements()[5])->Column(0).Template(), "{QTY}");
}

TEST_F(Templates, OpeningTheDataChecksTheNamesTemplatesUse)
{
    TZVText text(label);
    TZVTable table(label);
    TZVColumn& column = table.AddColumn();
    struct Case { const char *text, *column; bool data; const char* refused; };
    const Case cases[] = {
        {"{code} {#serial}", "{QTY} {NAME}", true, ""},
        {"{NOPE}", "", true, "INVALID FIELD NAME :NOPE"},
        {"", "{QTY}{LOST}", true, "INVALID FIELD NAME :LOST"},
        {"{#LOT}", "", true, "UNKNOWN COUNTER : LOT"},
        {"{#SERIAL}{DATE}", "", false, ""},
        {"{CODE}", "", false, "INVALID FIELD NAME :CODE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        text.SetTemplate(c.text);
        column.SetTemplate(c.column);
        label.SetDataEnabled(c.data);
        EXPECT_EQ(refusal([&] { label.OpenData(false, true); }), c.refused);
    }
}

} // namespace
