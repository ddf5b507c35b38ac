// Damaged and hostile streams: truncations, byte mutations, huge counts and unknown kinds end in
// "ERROR READING FILE" or a valid load, never in a crash or a runaway allocation.
#include "StreamTestSupport.h"

#include "document/ZVDesignJson.h"
#include "document/ZVStreamVisitors.h"
#include "document/ZVUndoHistory.h"
#include "elements/ZVImage.h"
#include "elements/ZVTable.h"
#include "platform/ZVBmp.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <map>
#include <string>

using namespace zorvel;
using namespace zorvel::test;

namespace {

QByteArray snapshot(TZVCustomLab& label)
{
    TZVMemoryStream stream;
    label.SaveSnapshot(stream);
    return stream.Bytes();
}

// Loads `bytes`; a failure must be the reader's error and must leave the label as it was, no
// element read behind. Returns whether the load succeeded.
bool loadOrReadError(TZVCustomLab& label, const QByteArray& bytes)
{
    const QList<TZVElement*> elements = label.Elements();
    const QByteArray before = snapshot(label);
    try {
        load(label, bytes);
        return true;
    } catch (const EZvError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("ERROR READING FILE"));
        EXPECT_EQ(label.Elements(), elements);
        EXPECT_EQ(snapshot(label), before);
        EXPECT_EQ(label.LoadMode(), 0);
        return false;
    }
}

QByteArray withI32(QByteArray bytes, qsizetype at, std::int32_t value)
{
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
}

// Offsets in the stream of a new label (see the layout test).
constexpr qsizetype kFileImageCountAt = 4;
constexpr qsizetype kLabelNameCountAt = 4 + 5 * 4;
constexpr qsizetype kTitleFontCountAt = 120;
constexpr qsizetype kNewLabelSize = 242;
constexpr qsizetype kElementCountAt = kNewLabelSize - 4;

// Writes as the stream writer does and notes where each field starts (the first field of a name).
class FieldOffsets final : public TZVFieldVisitor
{
public:
    TZVMemoryStream stream;
    std::map<std::string, qint64> at;

    std::int32_t Version() const override { return kStreamVersion; }
    bool Reading() const override { return false; }
    void U8(const char* n, std::uint8_t& v) override { note(n).U8(n, v); }
    void Bool(const char* n, bool& v) override { note(n).Bool(n, v); }
    void U16(const char* n, std::uint16_t& v) override { note(n).U16(n, v); }
    void I32(const char* n, std::int32_t& v) override { note(n).I32(n, v); }
    void Color(const char* n, TZVColor& v) override { note(n).Color(n, v); }
    void WStr(const char* n, QString& v, bool ansi) override { note(n).WStr(n, v, ansi); }
    void AStr(const char* n, QString& v) override { note(n).AStr(n, v); }
    void Picture(const char* n, QImage& p, bool& present) override { note(n).Picture(n, p, present); }
    void Records(const char* n, int count, const std::function<void(int)>& resize,
                 const std::function<void(int)>& item, int minBytes) override
    {
        note(n).Records(n, count, resize, item, minBytes);
    }

private:
    TZVStreamWriter& note(const char* name)
    {
        at.emplace(name, stream.Position());
        return m_writer;
    }
    TZVStreamWriter m_writer{stream};
};

QByteArray everyKindStream(bool onlyBitmap)
{
    TZVLab label;
    label.SetOnlyBitmap(onlyBitmap);
    addEveryKind(label);
    return saved(label);
}

} // namespace

TEST_F(StreamTest, EveryTruncationFailsCleanly)
{
    for (const bool onlyBitmap : {false, true}) {
        SCOPED_TRACE(onlyBitmap ? "with pictures" : "without pictures");
        const QByteArray full = everyKindStream(onlyBitmap);
        TZVLab label;
        label.SetOnlyBitmap(onlyBitmap);
        int loads = 0;
        for (qsizetype size = 0; size < full.size(); ++size) {
            SCOPED_TRACE(size);
            if (loadOrReadError(label, full.left(size)))
                ++loads;
        }
        // Only a cut right before a trailing picture leaves a readable stream.
        EXPECT_LE(loads, onlyBitmap ? 1 : 0);
        // The label is none the worse for it.
        load(label, full);
        EXPECT_EQ(label.Elements().size(), 10);
        EXPECT_EQ(saved(label), full);
    }
}

TEST_F(StreamTest, SingleByteMutationsFailCleanlyOrLoad)
{
    const QByteArray full = everyKindStream(true);
    TZVLab label;
    label.SetOnlyBitmap(true);
    int failures = 0;
    for (qsizetype at = 0; at < full.size(); ++at) {
        for (const int value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
            if (static_cast<unsigned char>(full[at]) == value)
                continue;
            SCOPED_TRACE(testing::Message() << "byte " << at << " = " << value);
            QByteArray mutated = full;
            mutated[at] = static_cast<char>(value);
            if (!loadOrReadError(label, mutated))
                ++failures;
        }
    }
    EXPECT_GT(failures, 0) << "some mutations must have been noticed";
}

TEST_F(StreamTest, HugeAndNegativeCountsAreRefused)
{
    TZVLab empty;
    const QByteArray newLabel = saved(empty);
    ASSERT_EQ(newLabel.size(), kNewLabelSize);

    TZVLab withTable;
    auto* table = dynamic_cast<TZVTable*>(CreateElementOfKind(withTable, ekTable));
    ASSERT_NE(table, nullptr);
    while (table->ColumnCount() > 0)
        table->DeleteColumn(0);
    const QByteArray tableStream = saved(withTable);
    const qsizetype columnCountAt = tableStream.size() - 4;

    struct Case
    {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"element count 2^31-1", withI32(newLabel, kElementCountAt, 0x7FFFFFFF)},
        {"element count -1", withI32(newLabel, kElementCountAt, -1)},
        {"element count just above the rest", withI32(newLabel, kElementCountAt, 1)},
        {"wide string of 2^31-1 characters", withI32(newLabel, kFileImageCountAt, 0x7FFFFFFF)},
        {"wide string whose byte count overflows 32 bits", withI32(newLabel, kLabelNameCountAt, 0x40000000)},
        {"8-bit string of 2^31-1 bytes", withI32(newLabel, kTitleFontCountAt, 0x7FFFFFFF)},
        {"column count 2^31-1", withI32(tableStream, columnCountAt, 0x7FFFFFFF)},
        {"column count -5", withI32(tableStream, columnCountAt, -5)},
        {"column count 1 with no column record", withI32(tableStream, columnCountAt, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab label;
        expectReadError([&] { load(label, c.bytes); });
        EXPECT_TRUE(label.Elements().isEmpty());
    }
}

TEST_F(StreamTest, UnknownKindsEndTheLoad)
{
    TZVLab source;
    CreateElementOfKind(source, ekLine);
    CreateElementOfKind(source, ekRect);
    source.Measure().SetLabelName(QStringLiteral("Before the error"));
    const QByteArray valid = saved(source);
    TZVMemoryStream one;
    source.Elements().first()->SaveToStream(one);
    TZVLab headerOnly;
    headerOnly.Measure().SetLabelName(source.Measure().LabelName());
    const qsizetype secondKindAt = saved(headerOnly).size() + one.Size();
    ASSERT_EQ(valid[secondKindAt], char(ekRect));

    for (const int kind : {0, 11, 12, 0x42, 200, 255}) {
        SCOPED_TRACE(kind);
        QByteArray bytes = valid;
        bytes[secondKindAt] = static_cast<char>(kind);
        TZVLab label;
        expectReadError([&] { load(label, bytes); });
        EXPECT_TRUE(label.Elements().isEmpty()) << "the line read before is destroyed";
        EXPECT_EQ(label.Measure().LabelName(), TZVLab().Measure().LabelName())
            << "the header read before the error is dropped too";
    }
}

TEST_F(StreamTest, PictureSettingOfWriterAndReaderMayDiffer)
{
    TZVLab writer;
    writer.SetOnlyBitmap(true);
    addEveryKind(writer);
    const QByteArray withPictures = saved(writer);
    writer.SetOnlyBitmap(false);
    const QByteArray withoutPictures = saved(writer);
    ASSERT_GT(withPictures.size(), withoutPictures.size());

    struct Case
    {
        const char* name;
        const QByteArray& bytes;
        bool readerOnlyBitmap;
        bool picture;
    };
    const Case cases[] = {
        {"pictures read by a label that keeps none", withPictures, false, false},
        {"no pictures read by a label that keeps them", withoutPictures, true, false},
        {"pictures read by a label that keeps them", withPictures, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab reader;
        reader.SetOnlyBitmap(c.readerOnlyBitmap);
        load(reader, c.bytes);
        ASSERT_EQ(reader.Elements().size(), 10);
        EXPECT_EQ(reader.Elements().last()->ElementKind(), ekAskText);
        auto* image = dynamic_cast<TZVImage*>(reader.Elements()[ekImage - 1]);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->HasPicture(), c.picture);
    }
}

TEST_F(StreamTest, DamagedPictureIsDroppedAndReadingGoesOn)
{
    TZVLab writer;
    writer.SetOnlyBitmap(true);
    addEveryKind(writer);
    QByteArray bytes = saved(writer);
    const qsizetype bmpAt = bytes.indexOf("BM");
    ASSERT_GT(bmpAt, 0);
    // An impossible information header size: the bitmap is delimited but cannot be decoded.
    qToLittleEndian<std::uint32_t>(7, bytes.data() + bmpAt + 14);

    TZVLab reader;
    reader.SetOnlyBitmap(true);
    load(reader, bytes);
    ASSERT_EQ(reader.Elements().size(), 10);
    auto* image = dynamic_cast<TZVImage*>(reader.Elements()[ekImage - 1]);
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->HasPicture());

    // A bitmap whose size runs past the end cannot be stepped over.
    qToLittleEndian<std::uint32_t>(0x7FFFFFFF, bytes.data() + bmpAt + 2);
    expectReadError([&] { load(reader, bytes); });
}

TEST_F(StreamTest, FailedTemplateLoadLeavesNoTemplateMode)
{
    QByteArray bytes = everyKindStream(false);
    bytes.chop(3);
    TZVLab label;
    expectReadError([&] { load(label, bytes, true); });
    EXPECT_EQ(label.LoadMode(), 0);
    EXPECT_FALSE(label.Loading());
}

TEST_F(StreamTest, EnumerationBytesOutsideTheirRangeAreDamage)
{
    // A new label with settings that give its enumeration bytes known values; header offsets
    // follow the layout table (see the layout test).
    TZVLab header;
    header.SetUnits(unCM);
    header.Measure().SetLabelType(ltCircle);
    header.BackSurf().SetStyle(biQuarter);
    header.Frame().SetStyle(fsTwoLine);
    const QByteArray headerBytes = saved(header);
    ASSERT_EQ(headerBytes.size(), kNewLabelSize);

    struct Case
    {
        const char* name;
        int kind;     // 0: a header field at `at`
        qsizetype at;
        const char* field; // an element field, found by its name
        int count;
    };
    const Case cases[] = {
        {"snap", 0, 55, nullptr, 3},
        {"units", 0, 56, nullptr, 3},
        {"data access type", 0, 57, nullptr, 3},
        {"label type", 0, 102, nullptr, 2},
        {"background style", 0, 156, nullptr, 8},
        {"frame style", 0, 201, nullptr, 3},
        {"bar code type", ekBarCode, 0, "CodeType", 7},
        {"paragraph alignment", ekParagraph, 0, "Alignment", 4},
        {"table grid style", ekTable, 0, "GridStyle", 4},
        {"table title alignment", ekTable, 0, "TitleAlign", 3},
        {"table fill mode", ekTable, 0, "DrawMode", 2},
        {"column alignment", ekTable, 0, "Align", 3},
        {"column header alignment", ekTable, 0, "HeaderAlign", 3},
        {"column footer alignment", ekTable, 0, "FooterAlign", 3},
        {"column footer aggregate", ekTable, 0, "FooterCalc", 5},
    };
    // The bytes the settings above give.
    const std::map<qsizetype, int> headerValues = {{55, 0}, {56, unCM}, {57, daBDEAlias},
                                                   {102, ltCircle}, {156, biQuarter}, {201, fsTwoLine}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = headerBytes;
        qsizetype at = c.at;
        if (c.kind == 0) {
            ASSERT_EQ(int(std::uint8_t(bytes[at])), headerValues.at(at));
        } else {
            TZVLab source;
            TZVElement* element = CreateElementOfKind(source, c.kind);
            if (auto* table = dynamic_cast<TZVTable*>(element))
                table->AddColumn();
            FieldOffsets offsets;
            element->VisitFields(offsets);
            bytes = saved(source);
            ASSERT_EQ(bytes.mid(kNewLabelSize + 1), offsets.stream.Bytes());
            ASSERT_EQ(offsets.at.count(c.field), 1u);
            at = kNewLabelSize + 1 + offsets.at.at(c.field);
        }
        for (const int value : {c.count - 1, c.count, 255}) {
            SCOPED_TRACE(value);
            QByteArray mutated = bytes;
            mutated[at] = static_cast<char>(value);
            // With an editor, so that the snap byte is kept too.
            TZVEditorSettings editor;
            TZVLab label;
            label.SetEditor(&editor);
            if (value < c.count) {
                load(label, mutated);
                EXPECT_EQ(saved(label).toHex(), mutated.toHex()) << "the last value is kept";
            } else {
                expectReadError([&] { load(label, mutated); });
            }
            label.SetEditor(nullptr);
        }
    }
}

// A load that fails leaves the open design as it was: the same elements, settings, history and
// Modified flag, whether the stream is cut short or the JSON names an unknown key.
TEST_F(StreamTest, AFailedLoadKeepsTheOpenDesign)
{
    TZVLab source;
    source.Measure().SetLabelName(QStringLiteral("Another design"));
    addEveryKind(source);
    const QByteArray stream = saved(source);
    const struct
    {
        const char* name;
        std::function<void(TZVCustomLab&)> load;
        const char* error;
    } cases[] = {
        {"stream cut short", [&](TZVCustomLab& label) { load(label, stream.left(stream.size() - 9)); },
         "ERROR READING FILE"},
        {"JSON with an unknown key",
         [](TZVCustomLab& label) {
             DesignFromJson(label, R"({"Units": 1, "Elements": [{"Kind": 2}, {"Kind": 4, "Foo": 0}]})");
         },
         "UNKNOWN KEY : Elements[1].Foo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab label;
        addEveryKind(label, 7);
        label.SetModified(false);
        {
            TZVChangeScope step(label, QStringLiteral("Move"));
            label.Elements().first()->MoveBy(10, 10);
        }
        const QList<TZVElement*> elements = label.Elements();
        const QByteArray before = snapshot(label);
        expectError([&] { c.load(label); }, QString::fromLatin1(c.error));
        EXPECT_EQ(label.Elements(), elements);
        EXPECT_EQ(snapshot(label), before);
        EXPECT_EQ(label.UndoStack().count(), 1);
        EXPECT_TRUE(label.Modified());
        EXPECT_FALSE(label.Loading());
    }
}

