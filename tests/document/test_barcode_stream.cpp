// The bar code options in the stream and the JSON form: the newer layout only when a design needs it.
#include "StreamTestSupport.h"

#include "document/ZVDesignJson.h"
#include "document/ZVUndoHistory.h"
#include "elements/ZVBarCode.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <functional>

using namespace zorvel;
using namespace zorvel::test;

namespace {

std::int32_t versionOf(const QByteArray& stream)
{
    TZVMemoryStream in(stream);
    return in.ReadI32();
}

struct Options
{
    TZVBar type;
    int ecc, size, columns;
    bool rectangular, quiet;
    friend bool operator==(const Options&, const Options&) = default;
};

Options optionsOf(const TZVBarCode& b)
{
    return {b.CodeType(), b.EccLevel(), b.SymbolSize(), b.Columns(), b.Rectangular(), b.QuietZone()};
}

void PrintTo(const Options& o, std::ostream* os)
{
    *os << int(o.type) << " ecc " << o.ecc << " size " << o.size << " columns " << o.columns << " rect "
        << o.rectangular << " quiet " << o.quiet;
}

TZVBarCode* addBarCode(TZVCustomLab& label, const Options& o, const QString& content)
{
    auto* b = new TZVBarCode(label);
    b->SetCodeType(o.type);
    b->SetBarCode(content);
    b->SetEccLevel(o.ecc);
    b->SetSymbolSize(o.size);
    b->SetColumns(o.columns);
    b->SetRectangular(o.rectangular);
    b->SetQuietZone(o.quiet);
    return b;
}

std::vector<Options> barCodesOf(const TZVCustomLab& label)
{
    std::vector<Options> found;
    for (const TZVElement* e : label.Elements())
        if (const auto* b = qobject_cast<const TZVBarCode*>(e)) found.push_back(optionsOf(*b));
    return found;
}

const Options kPlainEan{EAN13, 0, 0, 0, false, true};

} // namespace

TEST_F(StreamTest, BarCodeOptionsTakeTheNewerLayoutOnlyWhenUsed)
{
    struct Case
    {
        const char* name;
        std::vector<Options> barCodes;
        std::int32_t version;
    };
    const Case cases[] = {
        {"original types, default options", {kPlainEan, {CODE39, 0, 0, 0, false, true}}, 2700},
        {"original type without quiet zone", {{EAN13, 0, 0, 0, false, false}}, 2800},
        {"original type with an option", {{CODE39, 2, 0, 0, false, true}}, 2800},
        {"QR Code", {{QRCODE, 3, 5, 0, false, true}}, 2800},
        {"every option", {{PDF417, 9, 90, 30, true, false}}, 2800},
        {"mixed: the original one carries the defaults", {kPlainEan, {DATAMATRIX, 0, 0, 0, true, true}}, 2800},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab source;
        for (const Options& o : c.barCodes)
            addBarCode(source, o, QStringLiteral("123"));
        const QByteArray bytes = saved(source);
        EXPECT_EQ(versionOf(bytes), c.version);

        TZVLab target;
        load(target, bytes);
        EXPECT_EQ(barCodesOf(target), c.barCodes);
        EXPECT_EQ(saved(target), bytes);

        const QByteArray json = StreamToJson(bytes);
        EXPECT_EQ(json.contains("\"EccLevel\""), c.version == 2800);
        EXPECT_EQ(JsonToStream(json), bytes);
    }
}

TEST_F(StreamTest, OptionsOutsideTheirRangesAreDamage)
{
    TZVLab source;
    addBarCode(source, {QRCODE, 0, 0, 0, false, true}, QStringLiteral("HELLO"));
    const QByteArray good = saved(source);
    const qsizetype codeType = good.indexOf("HELLO") + 5;
    const qsizetype options = good.size() - 5; // the record ends the stream
    struct Case
    {
        const char* name;
        qsizetype at;
        int value;
    };
    const Case cases[] = {
        {"code type", codeType, 21},   {"code type", codeType, 255}, {"ecc level", options, 10},
        {"symbol size", options + 1, 91}, {"columns", options + 3, 31},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " " << c.value);
        QByteArray bytes = good;
        bytes[c.at] = static_cast<char>(c.value);
        TZVLab label;
        expectReadError([&] { load(label, bytes); });
    }
    // The older layout knows only the first seven types.
    QByteArray older = good.left(options);
    older.replace(0, 4, StreamBuilder().i32(2700).bytes());
    TZVLab label;
    expectReadError([&] { load(label, older); });
    older[codeType] = char(EAN128C);
    load(label, older);
    ASSERT_EQ(barCodesOf(label).size(), 1u);
    EXPECT_EQ(barCodesOf(label).front().type, EAN128C);
}

// Copy and paste write single records in the newest layout and read them back in it.
TEST_F(StreamTest, ElementRecordsKeepTheOptions)
{
    TZVLab label;
    const Options qr{AZTEC, 2, 7, 0, false, false};
    TZVBarCode* original = addBarCode(label, qr, QStringLiteral("HELLO"));
    TZVMemoryStream clip;
    original->SaveToStream(clip);
    label.SetReadVersion(label.WriteVersion());
    clip.SetPosition(1); // after the kind
    TZVBarCode copy(label);
    copy.LoadFromStream(clip);
    EXPECT_EQ(optionsOf(copy), qr);
    EXPECT_EQ(copy.BarCode(), "HELLO");
}

TEST_F(StreamTest, JsonKeysOfTheOptions)
{
    const QByteArray json = R"({"Elements": [{"Kind": 3, "CodeType": 9, "BarCode": "AB",
                                "Rectangular": true, "Columns": 0, "EccLevel": 0, "SymbolSize": 12,
                                "QuietZone": false}]})";
    TZVLab label;
    DesignFromJson(label, json);
    ASSERT_EQ(barCodesOf(label).size(), 1u);
    EXPECT_EQ(barCodesOf(label).front(), (Options{DATAMATRIX, 0, 12, 0, true, false}));
    const QByteArray bad = QByteArray(json).replace("\"SymbolSize\": 12", "\"SymbolSize\": 91");
    expectError([&] { DesignFromJson(label, bad); }, "INVALID VALUE : Elements[0].SymbolSize");
}

// Content beyond Windows-1252 takes the layout whose records keep it as a wide string; the
// stream, its JSON form and the undo history (which keeps streams) give it back whole.
TEST_F(StreamTest, ContentBeyondWindows1252SurvivesStreamJsonAndUndo)
{
    const QString wide = QStringLiteral("日本語 € Ω ✓");
    const auto contentOf = [](const TZVCustomLab& label) {
        const auto* b = qobject_cast<const TZVBarCode*>(label.Elements().front());
        return b ? b->BarCode() : QString();
    };
    for (const TZVBar type : {QRCODE, DATAMATRIX, PDF417, AZTEC}) {
        SCOPED_TRACE(QMetaEnum::fromType<TZVBar>().valueToKey(type));
        TZVLab source;
        TZVBarCode* code = addBarCode(source, {type, 0, 0, 0, false, true}, QStringLiteral("HELLO"));
        EXPECT_EQ(versionOf(saved(source)), 2800);
        {
            TZVChangeScope step(source, QStringLiteral("Content"));
            code->SetBarCode(wide);
        }
        const QByteArray bytes = saved(source);
        EXPECT_EQ(versionOf(bytes), 2900);
        TZVLab target;
        load(target, bytes);
        EXPECT_EQ(contentOf(target), wide);
        EXPECT_EQ(saved(target), bytes);

        const QByteArray json = StreamToJson(bytes);
        EXPECT_TRUE(json.contains("\"BarCode\": \"" + wide.toUtf8() + '"')) << json.toStdString();
        EXPECT_EQ(JsonToStream(json), bytes);

        source.UndoStack().undo();
        EXPECT_EQ(contentOf(source), "HELLO");
        source.UndoStack().redo();
        EXPECT_EQ(contentOf(source), wide);
    }
    // Windows-1252 content keeps the older layouts, byte for byte.
    TZVLab plain;
    addBarCode(plain, {CODE39, 0, 0, 0, false, true}, QStringLiteral("Größe €"));
    EXPECT_EQ(versionOf(saved(plain)), 2700);
}
