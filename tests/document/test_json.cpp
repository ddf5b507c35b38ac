// The JSON form of a design: its keys, round trips with the stream, defaults and error texts.
#include "StreamTestSupport.h"

#include "document/ZVDesignJson.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaProperty>

#include <algorithm>

using namespace zorvel;
using namespace zorvel::test;

namespace {

QJsonObject parsed(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

QStringList sortedKeys(const QJsonObject& object)
{
    QStringList keys = object.keys();
    keys.sort();
    return keys;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

const QStringList kBaseKeys = {"Kind", "Color", "BackColor", "BorderColor", "Reserved", "ShowBorder",
                               "Transparent", "Print", "PenWidth", "X1", "Y1", "X2", "Y2", "Angle",
                               "Separation", "AnchorMargin", "AnchorPos", "PaddingX", "PaddingY",
                               "BorderRadio", "ID"};
const QStringList kDataKeys = {"FontName", "BoundField", "FontHeight", "Data", "DataReserved"};
const QStringList kTextKeys = {"Text", "DisplayFormat", "TextAlign", "Bold", "Italic", "Underline",
                               "Shadow", "ShadowColor", "GapX", "GapY"};

// "name=value" of the elements' published properties but Locked (an editing aid) and the table's
// RowColor, which the design does not keep.
QStringList keptValues(const TZVCustomLab& label)
{
    QStringList values;
    for (TZVElement* e : label.Elements())
        for (int i = QObject::staticMetaObject.propertyCount(); i < e->metaObject()->propertyCount(); ++i)
            if (const QMetaProperty p = e->metaObject()->property(i);
                strcmp(p.name(), "Locked") && strcmp(p.name(), "RowColor"))
                values.append(p.name() + (u'=' + p.read(e).toString()));
    return values;
}

} // namespace

TEST_F(StreamTest, NewLabelJsonHasEveryHeaderKeyWithItsDefault)
{
    TZVLab label;
    const QJsonObject json = parsed(DesignToJson(label));
    EXPECT_EQ(sortedKeys(json),
              sorted({"ReadVersion", "OnlyBitmap", "Units", "DataAccessType", "DataEnabled", "DataSetName",
                      "DetailName", "ShowMargins", "AliasTable", "Measure", "Title", "BackSurf", "Frame",
                      "PrintInfo", "Elements"}));
    EXPECT_EQ(json["ReadVersion"].toInt(), 2700);
    EXPECT_EQ(json["DataAccessType"].toInt(), 1);
    EXPECT_EQ(sortedKeys(json["AliasTable"].toObject()), sorted({"DatabaseName", "TableName", "Filter"}));
    EXPECT_EQ(sortedKeys(json["Measure"].toObject()),
              sorted({"Width", "Height", "MarLeft", "MarTop", "DiHor", "DiVer", "NuHor", "NuVer", "PaperWidth",
                      "PaperHeight", "InnerCircle", "LabelType", "PaperName", "LabelName"}));
    EXPECT_EQ(json["Measure"]["Width"].toInt(), 6000);
    EXPECT_EQ(json["Measure"]["NuHor"].toInt(), 7);
    EXPECT_EQ(json["Measure"]["LabelName"].toString(), "My Label");
    EXPECT_EQ(sortedKeys(json["Title"].toObject()),
              sorted({"X", "Y", "FontHeight", "FontName", "Text", "PrintTitle", "Color"}));
    EXPECT_EQ(json["Title"]["Text"].toString(), "Title");
    EXPECT_EQ(sortedKeys(json["BackSurf"].toObject()),
              sorted({"FileImage", "Color", "ToColor", "AlignColor", "Style", "GuideX", "GuideY", "ShowAlign", "Print"}));
    EXPECT_EQ(json["BackSurf"]["Color"].toInteger(), 16777215);
    EXPECT_EQ(json["BackSurf"]["AlignColor"].toInteger(), 255);
    EXPECT_EQ(sortedKeys(json["Frame"].toObject()), sorted({"Style", "Dist1", "Dist2", "PenWidth", "Radio", "Color"}));
    EXPECT_EQ(json["Frame"]["Dist2"].toInt(), 100);
    EXPECT_EQ(sortedKeys(json["PrintInfo"].toObject()),
              sorted({"NumLabels", "PrintReserved", "FirstRow", "FirstCol", "PrintFrom", "PrintTo", "PaperCode",
                      "Orientation", "Repetitions"}));
    EXPECT_EQ(json["PrintInfo"]["PrintReserved"].toInt(), 255);
    EXPECT_EQ(json["PrintInfo"]["PaperCode"].toInt(), 9);
    EXPECT_TRUE(json["Elements"].toArray().isEmpty());
}

TEST_F(StreamTest, ElementKeysOfEachKind)
{
    struct Case
    {
        int kind;
        QStringList own; // after the base keys
    };
    const QStringList table = {"GridColor", "GridStyle", "TableReserved", "RowHeight", "TitleVisible", "TitleBold",
                               "TitleItalic", "TitleUnderline", "TitleFontHeight", "TitleHeight", "TitleColor",
                               "TitleFontColor", "TitleAlign", "DrawMode", "TitleText", "TitleFontName", "Columns"};
    const Case cases[] = {
        {ekLine, {}},
        {ekText, kDataKeys + kTextKeys},
        {ekBarCode, kDataKeys + QStringList{"BarCode", "CodeType", "BarWidth", "BHeight", "Distance", "ShowNumber",
                                            "LeftMargin", "TopMargin", "Checksum", "Factor", "BarReserved"}},
        {ekRect, {"Radio", "Ellipse"}},
        {ekSymbol, kDataKeys + QStringList{"Character", "Bold", "SymbolPage", "SymbolReserved", "SymbolAlt"}},
        {ekAddText, kDataKeys + kTextKeys + QStringList{"Before", "After"}},
        {ekImage, kDataKeys + QStringList{"FileImage", "RelativeImage", "Aspect", "AutoSize", "ImageReserved"}},
        {ekParagraph, kDataKeys + kTextKeys + QStringList{"Alignment"}},
        {ekTable, table},
        {ekAskText, kDataKeys + kTextKeys + QStringList{"Question", "Answer"}},
    };
    const QStringList columnKeys = {
        "Color", "Width", "Bold", "Italic", "Underline", "FontHeight", "FontColor", "HeaderColor", "HeaderFontColor",
        "HeaderHeight", "HeaderFontHeight", "Align", "HeaderAlign", "HeaderBold", "HeaderItalic", "HeaderUnderline",
        "HeaderVisible", "FooterVisible", "Reserved", "FooterColor", "FooterFontColor", "FooterBold",
        "FooterUnderline", "FooterItalic", "FooterAlign", "FooterHeight", "FooterFontHeight", "FooterCalc",
        "HeaderText", "FontName", "HeaderFontName", "FooterFontName", "FieldName", "Format"};
    TZVLab label;
    addEveryKind(label);
    const QByteArray text = DesignToJson(label);
    const QJsonArray elements = parsed(text)["Elements"].toArray();
    ASSERT_EQ(elements.size(), 10);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        const QJsonObject element = elements[c.kind - 1].toObject();
        EXPECT_EQ(element["Kind"].toInt(), c.kind);
        EXPECT_EQ(sortedKeys(element), sorted(kBaseKeys + c.own));
    }
    const QJsonArray columns = elements[ekTable - 1]["Columns"].toArray();
    ASSERT_EQ(columns.size(), 2);
    EXPECT_EQ(sortedKeys(columns[1].toObject()), sorted(columnKeys));

    // The bar code visits its font height twice; the JSON has it once.
    const qsizetype barcodeAt = text.indexOf("\"Kind\": 3");
    const QByteArray barcode = text.mid(barcodeAt, text.indexOf("\"Kind\": 4") - barcodeAt);
    EXPECT_EQ(barcode.count("\"FontHeight\""), 1);
    // Keys keep the stream order.
    EXPECT_LT(text.indexOf("\"Color\""), text.indexOf("\"BackColor\""));
    EXPECT_LT(barcode.indexOf("\"BarCode\""), barcode.indexOf("\"BarReserved\""));
}

TEST_F(StreamTest, JsonRoundTripGivesTheSameDesign)
{
    for (const bool onlyBitmap : {false, true}) {
        SCOPED_TRACE(onlyBitmap ? "with pictures" : "without pictures");
        TZVLab label;
        label.SetOnlyBitmap(onlyBitmap);
        addEveryKind(label, 7);
        label.Measure().SetLabelName(QStringLiteral("q\"b\\n\n\t\u0001 \u4e2d \U0001F600 ") + QChar(0xD800));
        const QByteArray json = DesignToJson(label);

        TZVLab copy;
        DesignFromJson(copy, json);
        EXPECT_EQ(copy.OnlyBitmap(), onlyBitmap);
        EXPECT_EQ(copy.Measure().LabelName(), label.Measure().LabelName());
        EXPECT_FALSE(copy.Modified());
        EXPECT_EQ(DesignToJson(copy), json);
        EXPECT_EQ(saved(copy).toHex(), saved(label).toHex());
    }
}

TEST_F(StreamTest, StreamToJsonToStreamGivesTheSameBytes)
{
    struct Case
    {
        const char* name;
        std::function<void(TZVCustomLab&, TZVEditorSettings&)> prepare;
    };
    const Case cases[] = {
        {"new label", [](TZVCustomLab&, TZVEditorSettings&) {}},
        {"every kind", [](TZVCustomLab& l, TZVEditorSettings&) { addEveryKind(l, 3); }},
        {"every kind with pictures",
         [](TZVCustomLab& l, TZVEditorSettings&) {
             l.SetOnlyBitmap(true);
             addEveryKind(l, 5);
         }},
        {"editor settings, guides, margins and print range",
         [](TZVCustomLab& l, TZVEditorSettings& e) {
             e.SetSnap(snNone);
             e.SetGridSettings(0x00A0B0C0, 125, 250, true);
             e.SetSelColor(0x000000FF);
             l.SetShowMargins(true);
             l.BackSurf().SetShowAlign(true);
             FieldFiller print(9);
             l.PrintInfo().VisitFields(print);
             FieldFiller measure(90);
             l.Measure().VisitFields(measure);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVEditorSettings editor;
        TZVLab label;
        label.SetEditor(&editor);
        c.prepare(label, editor);
        const QByteArray stream = saved(label);
        label.SetEditor(nullptr);

        const QByteArray json = StreamToJson(stream);
        EXPECT_EQ(JsonToStream(json).toHex(), stream.toHex());
        EXPECT_EQ(StreamToJson(JsonToStream(json)), json);
        EXPECT_EQ(parsed(json)["OnlyBitmap"].toBool(), label.OnlyBitmap());
        EXPECT_TRUE(parsed(json).contains("Editor"));
    }
}

TEST_F(StreamTest, MissingKeysTakeTheDefaultsOfNewObjects)
{
    for (int kind = ekLine; kind <= ekAskText; ++kind) {
        SCOPED_TRACE(kind);
        // A label full of other settings: the JSON replaces them all.
        TZVLab label;
        addEveryKind(label);
        label.SetUnits(unCM);
        FieldFiller measure(4);
        label.Measure().VisitFields(measure);
        label.Title().Text = QStringLiteral("Other");
        DesignFromJson(label, QStringLiteral(R"({"Elements": [{"Kind": %1}]})").arg(kind).toUtf8());

        TZVLab fresh;
        TZVElement* expected = CreateElementOfKind(fresh, kind);
        ASSERT_EQ(label.Elements().size(), 1);
        EXPECT_EQ(recordFields(*label.Elements().first()), recordFields(*expected));
        EXPECT_EQ(saved(label).toHex(), saved(fresh).toHex());
    }
}

TEST_F(StreamTest, JsonValuesAreStoredWithoutLimits)
{
    TZVLab label;
    DesignFromJson(label, R"({"Measure": {"Width": 100, "NuHor": 0, "InnerCircle": 99999},
                             "PrintInfo": {"PrintFrom": 7, "PrintTo": 3, "FirstRow": 40},
                             "Units": 2, "ReadVersion": 19})");
    EXPECT_EQ(label.Measure().Width(), 100);
    EXPECT_EQ(label.Measure().NuHor(), 0);
    EXPECT_EQ(label.Measure().InnerCircle(), 99999);
    EXPECT_EQ(label.PrintInfo().PrintFrom(), 7);
    EXPECT_EQ(label.PrintInfo().PrintTo(), 3);
    EXPECT_EQ(label.PrintInfo().FirstRow(), 40);
    EXPECT_EQ(label.Units(), unCM);
    EXPECT_EQ(label.ReadVersion(), 19);
}

TEST_F(StreamTest, JsonErrorsNameTheirKey)
{
    struct Case
    {
        const char* json;
        const char* message;
    };
    const Case cases[] = {
        {R"({"Foo": 1})", "UNKNOWN KEY : Foo"},
        {R"({"Measure": {"Width": 6000, "Foo": 1}})", "UNKNOWN KEY : Measure.Foo"},
        {R"({"Elements": [{"Kind": 2}, {"Kind": 2}, {"Kind": 2}, {"Kind": 2, "Foo": 1}]})",
         "UNKNOWN KEY : Elements[3].Foo"},
        {R"({"Elements": [{"Kind": 1, "Text": "x"}]})", "UNKNOWN KEY : Elements[0].Text"},
        {R"({"Elements": [{"Kind": 9, "Columns": [{}, {"Foo": 1}]}]})", "UNKNOWN KEY : Elements[0].Columns[1].Foo"},
        {R"({"Elements": [{"Kind": 7, "Picture": "Qk0="}]})", "UNKNOWN KEY : Elements[0].Picture"},
        {R"({"Editor": {"Snap": 1}})", "UNKNOWN KEY : Editor"},
        {R"({"Units": "mm"})", "INVALID VALUE : Units"},
        {R"({"Units": 256})", "INVALID VALUE : Units"},
        // Enumerations past their last value.
        {R"({"Units": 3})", "INVALID VALUE : Units"},
        {R"({"DataAccessType": 3})", "INVALID VALUE : DataAccessType"},
        {R"({"Measure": {"LabelType": 2}})", "INVALID VALUE : Measure.LabelType"},
        {R"({"BackSurf": {"Style": 8}})", "INVALID VALUE : BackSurf.Style"},
        {R"({"Frame": {"Style": 3}})", "INVALID VALUE : Frame.Style"},
        {R"({"Elements": [{"Kind": 3, "CodeType": 21}]})", "INVALID VALUE : Elements[0].CodeType"},
        {R"({"Elements": [{"Kind": 8, "Alignment": 4}]})", "INVALID VALUE : Elements[0].Alignment"},
        {R"({"Elements": [{"Kind": 9, "GridStyle": 4}]})", "INVALID VALUE : Elements[0].GridStyle"},
        {R"({"Elements": [{"Kind": 9, "TitleAlign": 3}]})", "INVALID VALUE : Elements[0].TitleAlign"},
        {R"({"Elements": [{"Kind": 9, "DrawMode": 2}]})", "INVALID VALUE : Elements[0].DrawMode"},
        {R"({"Elements": [{"Kind": 9, "Columns": [{"FooterCalc": 5}]}]})",
         "INVALID VALUE : Elements[0].Columns[0].FooterCalc"},
        {R"({"DataEnabled": 1})", "INVALID VALUE : DataEnabled"},
        {R"({"Measure": {"Width": 1.5}})", "INVALID VALUE : Measure.Width"},
        {R"({"Measure": {"Width": 2147483648}})", "INVALID VALUE : Measure.Width"},
        {R"({"Measure": []})", "INVALID VALUE : Measure"},
        {R"({"Title": {"Color": -1}})", "INVALID VALUE : Title.Color"},
        {R"({"Title": {"Text": 5}})", "INVALID VALUE : Title.Text"},
        {R"({"Elements": {}})", "INVALID VALUE : Elements"},
        {R"({"Elements": [3]})", "INVALID VALUE : Elements[0]"},
        {R"({"Elements": [{}]})", "MISSING KEY : Elements[0].Kind"},
        {R"({"Elements": [{"Kind": 11}]})", "INVALID VALUE : Elements[0].Kind"},
        {R"({"Elements": [{"Kind": 0}]})", "INVALID VALUE : Elements[0].Kind"},
        {R"({"Elements": [{"Kind": 9, "Columns": [1]}]})", "INVALID VALUE : Elements[0].Columns[0]"},
        {R"({"OnlyBitmap": true, "Elements": [{"Kind": 7, "Picture": "not base64!"}]})",
         "INVALID VALUE : Elements[0].Picture"},
        {R"({"OnlyBitmap": true, "Elements": [{"Kind": 7, "Picture": "Qk0AAAAA"}]})",
         "INVALID VALUE : Elements[0].Picture"},
        {R"([1, 2])", "INVALID JSON AT OFFSET 0"},
        {R"({"Units": )", "INVALID JSON AT OFFSET 10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        TZVLab label;
        addEveryKind(label);
        expectError([&] { DesignFromJson(label, c.json); }, QString::fromLatin1(c.message));
        EXPECT_TRUE(label.Elements().isEmpty() || label.Elements().size() == 10);
    }
}

TEST_F(StreamTest, FailedJsonReadLeavesNoElements)
{
    TZVLab label;
    expectError([&] { DesignFromJson(label, R"({"Elements": [{"Kind": 2}, {"Kind": 5, "Foo": 0}]})"); },
                "UNKNOWN KEY : Elements[1].Foo");
    EXPECT_TRUE(label.Elements().isEmpty());
    EXPECT_FALSE(label.Loading());
}

TEST_F(StreamTest, StreamErrorsReachTheConversions)
{
    TZVLab label;
    addEveryKind(label);
    QByteArray bytes = saved(label);
    bytes.chop(1);
    expectReadError([&] { StreamToJson(bytes); });
    expectReadError([&] { StreamToJson(QByteArray()); });
}

// A published property needs no more than its line in VisitFields to reach JSON and undo.
TEST_F(StreamTest, EveryPublishedPropertySurvivesJsonAndUndo)
{
    TZVLab label;
    addEveryKind(label);
    TZVMemoryStream before;
    label.SaveSnapshot(before);
    const QStringList values = keptValues(label);
    // Every value to another of its type (the write converts numbers) but the ID, by which undo
    // finds the living elements.
    for (TZVElement* e : label.Elements())
        for (int i = QObject::staticMetaObject.propertyCount(); i < e->metaObject()->propertyCount(); ++i) {
            const QMetaProperty p = e->metaObject()->property(i);
            const QVariant v = p.read(e);
            const int type = v.typeId();
            if (strcmp(p.name(), "ID") != 0)
                p.write(e, p.isEnumType()             ? QVariant((v.toInt() + 1) % p.enumerator().keyCount())
                           : type == QMetaType::Bool  ? QVariant(!v.toBool())
                           : type == QMetaType::QChar ? QVariant(QChar(v.toChar().unicode() + 1))
                           : type == QMetaType::QString ? QVariant(v.toString() + u'Z')
                                                        : QVariant(v.toDouble() + 90));
        }
    const QStringList changed = keptValues(label);
    TZVLab copy;
    DesignFromJson(copy, DesignToJson(label));
    EXPECT_EQ(keptValues(copy), changed);
    before.SetPosition(0);
    label.RestoreSnapshot(before);
    EXPECT_EQ(keptValues(label), values);
}
