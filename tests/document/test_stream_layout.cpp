// The current stream layout byte by byte, and save -> load -> save round trips of every kind.
#include "StreamTestSupport.h"

#include "document/ZVDesignJson.h"
#include "document/ZVStreamVisitors.h"
#include "elements/ZVLineRect.h"

#include <gtest/gtest.h>

using namespace zorvel;
using namespace zorvel::test;

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text));
}

// A new label with no elements and no editor, field by field from the layout table.
QByteArray newLabelBytes()
{
    QByteArray b;
    b += hex("8c0a0000");                                  // 1 version 2700
    b += hex("00000000");                                  // 2 background image file ""
    b += hex("00000000");                                  // 3 data source name ""
    b += hex("00000000");                                  // 4 table name ""
    b += hex("00000000");                                  // 5 filter ""
    b += hex("00000000");                                  // 6 detail name ""
    b += hex("08000000" "10" "4d00790020004c006100620065006c00"); // 7 "My Label"
    b += hex("02000000" "04" "41003400");                  // 8 "A4"
    b += hex("00");                                        // 9 embedded picture flag
    b += hex("00");                                        // 10 snap (no editor)
    b += hex("00");                                        // 11 units unMM
    b += hex("01");                                        // 12 data access daBDEAlias
    b += hex("70170000");                                  // 13 width 6000
    b += hex("ac0d0000");                                  // 14 height 3500
    b += hex("f4010000");                                  // 15 left margin 500
    b += hex("e8030000");                                  // 16 top margin 1000
    b += hex("90010000");                                  // 17 horizontal gap 400
    b += hex("90010000");                                  // 18 vertical gap 400
    b += hex("07000000");                                  // 19 rows 7
    b += hex("03000000");                                  // 20 columns 3
    b += hex("08520000");                                  // 21 paper width 21000
    b += hex("04740000");                                  // 22 paper height 29700
    b += hex("00000000");                                  // 23 inner circle 0
    b += hex("00");                                        // 24 label type ltRect
    b += hex("f4010000");                                  // 25 title font height 500
    b += hex("00000000");                                  // 26 title colour
    b += hex("00000000" "00000000");                       // 27 title position
    b += hex("00");                                        // 28 print title
    b += hex("05000000" "417269616c");                     // 29 title font "Arial"
    b += hex("05000000" "0a" "5400690074006c006500");      // 30 title text "Title"
    b += hex("ffffff00");                                  // 31 background colour white
    b += hex("ffffff00");                                  // 32 second colour white
    b += hex("ff000000");                                  // 33 guide colour red
    b += hex("00");                                        // 34 background style biNone
    b += hex("00000000");                                  // 35 vertical guide
    b += hex("00000000");                                  // 36 horizontal guide
    b += hex("00");                                        // 37 show guides
    b += hex("00");                                        // 38 print background
    b += hex("00000000" "00000000" "00000000");            // 39-41 grid colour and steps
    b += hex("00" "00");                                   // 42-43 show grid, show margins
    b += hex("00000000");                                  // 44 selection colour
    b += hex("00000000");                                  // 45 frame colour
    b += hex("00000000");                                  // 46 frame distance 1
    b += hex("64000000");                                  // 47 frame distance 2: 100
    b += hex("00000000");                                  // 48 frame radius
    b += hex("00");                                        // 49 frame style fsNone
    b += hex("0a000000");                                  // 50 frame pen width 10
    b += hex("00");                                        // 51 data enabled
    b += hex("01000000");                                  // 52 number of labels 1
    b += hex("ff000000");                                  // 53 print reserved 255
    b += hex("01000000");                                  // 54 first row 1
    b += hex("01000000");                                  // 55 first column 1
    b += hex("01000000");                                  // 56 print from 1
    b += hex("00000000");                                  // 57 print to 0
    b += hex("0900");                                      // 58 paper code 9 (A4)
    b += hex("00");                                        // 59 orientation portrait
    b += hex("00000000");                                  // 60 reserved
    b += hex("00000000");                                  // 61 element count 0
    return b;
}

} // namespace

TEST_F(StreamTest, NewLabelWritesTheLayoutByteByByte)
{
    TZVLab label;
    label.SetModified(true);
    const QByteArray bytes = saved(label);
    EXPECT_EQ(bytes.toHex(' '), newLabelBytes().toHex(' '));
    EXPECT_FALSE(label.Modified());
}

TEST_F(StreamTest, EditorSettingsAndShowMarginsAreWrittenOnlyWithAnEditor)
{
    TZVLab label;
    label.SetShowMargins(true);
    const QByteArray without = saved(label);
    EXPECT_EQ(without, newLabelBytes()) << "show margins is 0 without an editor";

    TZVEditorSettings editor;
    editor.SetSnap(snGrid);
    editor.SetGridSettings(0x00112233, 250, 500, true);
    editor.SetSelColor(0x00445566);
    label.SetEditor(&editor);
    const QByteArray with = saved(label);
    label.SetEditor(nullptr);

    // Field 10 lies after the version, seven strings and the flag; field 39 after the sheet,
    // title and background fields.
    constexpr int kSnapAt = 4 + 5 * 4 + 21 + 9 + 1;
    constexpr int kGridAt = kSnapAt + 3 + 11 * 4 + 1 + 4 + 4 + 8 + 1 + 9 + 15 + 3 * 4 + 1 + 2 * 4 + 2;
    QByteArray expected = newLabelBytes();
    expected[kSnapAt] = char(snGrid);
    expected.replace(kGridAt, 18, hex("33221100" "fa000000" "f4010000" "01" "01" "66554400"));
    EXPECT_EQ(with.toHex(' '), expected.toHex(' '));
}

TEST_F(StreamTest, LineRecordLayout)
{
    TZVLab label;
    TZVElement* line = CreateElementOfKind(label, ekLine);
    ASSERT_NE(line, nullptr);
    FieldFiller filler(0);
    line->VisitFields(filler);
    line->SetID(QStringLiteral("L\u00e91"));

    TZVMemoryStream stream;
    line->SaveToStream(stream);
    StreamBuilder expected;
    expected.u8(ekLine)
        .i32(line->Color())
        .i32(line->BackColor())
        .i32(line->BorderColor())
        .u8(line->Reserved())
        .u8(line->ShowBorder())
        .u8(line->Transparent())
        .u8(line->Print())
        .i32(line->PenWidth())
        .i32(line->X1())
        .i32(line->Y1())
        .i32(line->X2())
        .i32(line->Y2())
        .i32(line->Angle())
        .i32(line->Separation())
        .i32(line->AnchorMargin())
        .u8(line->AnchorPos())
        .i32(line->PaddingX())
        .i32(line->PaddingY())
        .i32(line->BorderRadio())
        .astr(QByteArray("L\xe9" "1"));
    EXPECT_EQ(stream.Bytes().toHex(' '), expected.bytes().toHex(' '));
}

TEST_F(StreamTest, RectangleRecordAddsRadioAndEllipse)
{
    TZVLab label;
    auto* rect = static_cast<TZVRect*>(CreateElementOfKind(label, ekRect));
    ASSERT_NE(rect, nullptr);
    FieldFiller filler(50);
    rect->VisitFields(filler);

    TZVMemoryStream stream;
    rect->SaveToStream(stream);
    const QByteArray bytes = stream.Bytes();
    StreamBuilder tail;
    tail.i32(rect->Radio()).u8(rect->Ellipse());
    EXPECT_EQ(bytes.right(5).toHex(' '), tail.bytes().toHex(' '));
    EXPECT_EQ(bytes[0], char(ekRect));
}

TEST_F(StreamTest, EveryKindSurvivesSaveLoadSave)
{
    for (const bool onlyBitmap : {false, true}) {
        SCOPED_TRACE(onlyBitmap ? "pictures kept in the stream" : "pictures from files");
        TZVLab label;
        label.SetOnlyBitmap(onlyBitmap);
        addEveryKind(label);
        const QByteArray first = saved(label);

        TZVLab reader;
        reader.SetOnlyBitmap(onlyBitmap);
        load(reader, first);
        ASSERT_EQ(reader.Elements().size(), label.Elements().size());
        for (qsizetype i = 0; i < label.Elements().size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(reader.Elements()[i]->ElementKind(), label.Elements()[i]->ElementKind());
            EXPECT_EQ(recordFields(*reader.Elements()[i]), recordFields(*label.Elements()[i]));
        }
        EXPECT_EQ(saved(reader).toHex(), first.toHex());
    }
}

TEST_F(StreamTest, EachKindAloneRoundTrips)
{
    for (int kind = ekLine; kind <= ekAskText; ++kind) {
        SCOPED_TRACE(kind);
        TZVLab label;
        TZVElement* element = CreateElementOfKind(label, kind);
        ASSERT_NE(element, nullptr);
        FieldFiller filler(kind * 100);
        element->VisitFields(filler);
        const QByteArray first = saved(label);
        TZVLab reader;
        load(reader, first);
        ASSERT_EQ(reader.Elements().size(), 1);
        EXPECT_EQ(reader.Elements().first()->ElementKind(), kind);
        EXPECT_EQ(saved(reader), first);
    }
}

TEST_F(StreamTest, HeaderSettingsRoundTrip)
{
    TZVLab label;
    label.SetUnits(unINCH);
    label.SetDataAccessType(daDataSet);
    label.SetDataEnabled(true);
    label.AliasTable() = {QStringLiteral("db\u00e9"), QStringLiteral("tbl"), QStringLiteral("x > 1")};
    label.SetDetailName(QStringLiteral("Lines"));
    FieldFiller measure(10);
    label.Measure().VisitFields(measure);
    label.Measure().SetLabelName(QStringLiteral("Badge \u20ac"));
    label.Measure().SetPaperName(QStringLiteral("Letter"));
    label.Title() = {11, 12, 330, QStringLiteral("Courier New"), QStringLiteral("T\u00eftle"), true, 0x00ABCDEF};
    FieldFiller back(30);
    bool showAlign = false;
    label.BackSurf().VisitFields(back, showAlign);
    FieldFiller frame(40);
    label.Frame().VisitFields(frame);
    FieldFiller print(50);
    label.PrintInfo().VisitFields(print);
    const QByteArray first = saved(label);

    TZVLab reader;
    load(reader, first);
    EXPECT_EQ(reader.Units(), unINCH);
    EXPECT_EQ(reader.DataAccessType(), daDataSet);
    EXPECT_TRUE(reader.DataEnabled());
    EXPECT_EQ(reader.AliasTable().DatabaseName, QStringLiteral("db\u00e9"));
    EXPECT_EQ(reader.DataSetName(), QStringLiteral("db\u00e9"));
    EXPECT_EQ(reader.AliasTable().TableName, QStringLiteral("tbl"));
    EXPECT_EQ(reader.AliasTable().Filter, QStringLiteral("x > 1"));
    EXPECT_EQ(reader.DetailName(), QStringLiteral("Lines"));
    EXPECT_EQ(reader.Measure().LabelName(), QStringLiteral("Badge \u20ac"));
    EXPECT_EQ(reader.Measure().PaperName(), QStringLiteral("Letter"));
    EXPECT_EQ(reader.Measure().Width(), label.Measure().Width());
    EXPECT_EQ(reader.Measure().InnerCircle(), label.Measure().InnerCircle());
    EXPECT_EQ(reader.Title().X, 11);
    EXPECT_EQ(reader.Title().Y, 12);
    EXPECT_EQ(reader.Title().FontHeight, 330);
    EXPECT_EQ(reader.Title().FontName, QStringLiteral("Courier New"));
    EXPECT_EQ(reader.Title().Text, QStringLiteral("T\u00eftle"));
    EXPECT_TRUE(reader.Title().PrintTitle);
    EXPECT_EQ(reader.Title().Color, 0x00ABCDEFu);
    EXPECT_EQ(reader.BackSurf().Color(), label.BackSurf().Color());
    EXPECT_EQ(reader.BackSurf().GuideY(), label.BackSurf().GuideY());
    EXPECT_EQ(reader.Frame().PenWidth(), label.Frame().PenWidth());
    EXPECT_EQ(reader.PrintInfo().NumLabels(), label.PrintInfo().NumLabels());
    EXPECT_EQ(reader.PrintInfo().PaperCode, label.PrintInfo().PaperCode);
    EXPECT_EQ(reader.PrintInfo().Orientation, label.PrintInfo().Orientation);
    EXPECT_EQ(reader.ReadVersion(), 2700);
    EXPECT_FALSE(reader.Modified());
    EXPECT_FALSE(reader.DataOpen()) << "no data set can be linked here";
}

TEST_F(StreamTest, LoadAdjustsPrintRangeStartAndKeepsTheReadersGuides)
{
    TZVLab label;
    label.BackSurf().SetShowAlign(true);
    FieldFiller print(70);
    label.PrintInfo().VisitFields(print);
    const QByteArray bytes = saved(label);
    ASSERT_NE(label.PrintInfo().PrintFrom(), 1);

    TZVLab reader;
    load(reader, bytes);
    EXPECT_EQ(reader.PrintInfo().PrintFrom(), 1);
    EXPECT_EQ(reader.PrintInfo().PrintTo(), 0);
    EXPECT_EQ(reader.PrintInfo().FirstRow(), 1);
    EXPECT_EQ(reader.PrintInfo().FirstCol(), 1);
    EXPECT_EQ(reader.PrintInfo().NumLabels(), label.PrintInfo().NumLabels());
    EXPECT_FALSE(reader.BackSurf().ShowAlign()) << "show guides keeps the reading label's setting";

    // The raw read of the tools keeps everything as stored.
    TZVLab raw;
    TZVMemoryStream stream(bytes);
    raw.LoadFromStreamRaw(stream);
    EXPECT_EQ(raw.PrintInfo().PrintFrom(), label.PrintInfo().PrintFrom());
    EXPECT_EQ(raw.PrintInfo().PrintTo(), label.PrintInfo().PrintTo());
    EXPECT_EQ(raw.PrintInfo().FirstRow(), label.PrintInfo().FirstRow());
    EXPECT_EQ(raw.PrintInfo().FirstCol(), label.PrintInfo().FirstCol());
    EXPECT_TRUE(raw.BackSurf().ShowAlign());
    EXPECT_EQ(saved(raw), bytes);
}

TEST_F(StreamTest, LoadingReplacesTheDesign)
{
    TZVLab label;
    addEveryKind(label);
    TZVLab empty;
    load(label, saved(empty));
    EXPECT_TRUE(label.Elements().isEmpty());
    EXPECT_EQ(saved(label), newLabelBytes());
}

TEST_F(StreamTest, TemplateLoadDropsDataBinding)
{
    TZVLab label;
    addEveryKind(label);
    int bound = 0;
    for (TZVElement* element : label.Elements())
        if (auto* data = dynamic_cast<TZVData*>(element)) {
            data->SetData(true);
            ++bound;
        }
    ASSERT_EQ(bound, 7);
    TZVLab reader;
    load(reader, saved(label), true);
    EXPECT_EQ(reader.LoadMode(), 0) << "template mode lasts only while reading";
    for (TZVElement* element : reader.Elements()) {
        if (hasField(*element, "Data")) {
            EXPECT_EQ(recordedValue(*element, "Data"), "false") << int(element->ElementKind());
        }
    }
}

TEST_F(StreamTest, WriterAndReaderVisitorsAgree)
{
    struct Fields
    {
        std::uint8_t u8 = 0;
        bool b = false;
        std::uint16_t u16 = 0;
        std::int32_t i32 = 0;
        TZVColor color = 0;
        QString wide, ansi;
        std::vector<std::int32_t> list;
        void visit(TZVFieldVisitor& v)
        {
            v.U8("u8", u8);
            v.Bool("b", b);
            v.U16("u16", u16);
            v.I32("i32", i32);
            v.Color("color", color);
            v.WStr("wide", wide);
            v.AStr("ansi", ansi);
            v.Records(
                "list", int(list.size()), [&](int n) { list.assign(std::size_t(n), 0); },
                [&](int i) { v.I32("item", list[std::size_t(i)]); }, 4);
        }
    };
    Fields out{200, true, 0xBEEF, -123456, 0xFFEEDDCC, QStringLiteral("wide \u4e2d"), QStringLiteral("ansi \u00e9"), {7, -8, 9}};
    TZVMemoryStream stream;
    TZVStreamWriter writer(stream);
    out.visit(writer);
    StreamBuilder expected;
    expected.u8(200).u8(1).u16(0xBEEF).i32(-123456).i32(0xFFEEDDCC).wstr(out.wide).astr("ansi \xe9").i32(3).i32(7).i32(-8).i32(9);
    EXPECT_EQ(stream.Bytes().toHex(' '), expected.bytes().toHex(' '));

    stream.SetPosition(0);
    Fields in;
    TZVStreamReader reader(stream, kStreamVersion);
    in.visit(reader);
    EXPECT_EQ(in.u8, out.u8);
    EXPECT_EQ(in.b, out.b);
    EXPECT_EQ(in.u16, out.u16);
    EXPECT_EQ(in.i32, out.i32);
    EXPECT_EQ(in.color, out.color);
    EXPECT_EQ(in.wide, out.wide);
    EXPECT_EQ(in.ansi, out.ansi);
    EXPECT_EQ(in.list, out.list);
    EXPECT_EQ(stream.Remaining(), 0);
}

TEST_F(StreamTest, AnsiFlagReadsEightBitStringsForOlderLayouts)
{
    TZVMemoryStream stream(StreamBuilder().astr("caf\xe9").bytes());
    TZVStreamReader reader(stream, 18);
    QString text;
    reader.WStr("Text", text, true);
    EXPECT_EQ(text, QStringLiteral("caf\u00e9"));
}
