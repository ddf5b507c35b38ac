// Memory stream and the wide/8-bit string primitives, including damaged and short streams.
#include "foundation/ZVError.h"
#include "foundation/ZVStream.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zorvel;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// Restores the process-wide legacy flag whatever a test does with it.
class StreamStrings : public testing::Test
{
protected:
    void SetUp() override { SetLegacyStream(false); }
    void TearDown() override { SetLegacyStream(false); }
};

void expectReadError(const std::function<void()>& read)
{
    try {
        read();
        ADD_FAILURE() << "no error raised";
    } catch (const EZvError& e) {
        EXPECT_EQ(e.message(), "ERROR READING FILE");
    }
}

} // namespace

TEST(VarLength, ByteCountsAtEveryBoundary)
{
    struct Case
    {
        std::uint64_t n;
        QByteArray expected;
    };
    const Case cases[] = {
        {0, bytes({0x00})},
        {127, bytes({0x7F})},
        {128, bytes({0x80, 0x01})},
        {0x3FFF, bytes({0xFF, 0x7F})},
        {0x4000, bytes({0x80, 0x80, 0x01})},
        {0x1FFFFF, bytes({0xFF, 0xFF, 0x7F})},
        {0x200000, bytes({0x80, 0x80, 0x80, 0x01})},
        {0xFFFFFFF, bytes({0xFF, 0xFF, 0xFF, 0x7F})},
        {0x10000000, bytes({0x80, 0x80, 0x80, 0x80, 0x01})},
        {0xFFFFFFFE, bytes({0xFE, 0xFF, 0xFF, 0xFF, 0x0F})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        TZVMemoryStream s;
        WriteVarLength(c.n, s);
        EXPECT_EQ(s.Bytes(), c.expected);
    }
}

TEST_F(StreamStrings, WideStringLayout)
{
    TZVMemoryStream s;
    WriteWideString("abc", s);
    EXPECT_EQ(s.Bytes(), bytes({0x03, 0, 0, 0, 0x06, 0x61, 0, 0x62, 0, 0x63, 0}));

    TZVMemoryStream empty;
    WriteWideString("", empty);
    EXPECT_EQ(empty.Bytes(), bytes({0, 0, 0, 0}));

    // 100 characters: the byte count 200 needs two 7-bit groups.
    TZVMemoryStream longer;
    WriteWideString(QString(100, u'x'), longer);
    EXPECT_EQ(longer.Bytes().mid(0, 6), bytes({100, 0, 0, 0, 0xC8, 0x01}));
    EXPECT_EQ(longer.Size(), 4 + 2 + 200);
}

TEST_F(StreamStrings, RoundTripsKeepTextAndBytes)
{
    const QString texts[] = {
        "", "plain", QString::fromUtf8("Grüße, señor € ☃"), QString::fromUtf8("emoji 😀 pair"),
        QString(5000, u'é'),
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.left(20).toStdString());
        TZVMemoryStream first;
        WriteWideString(text, first);
        WriteAnsiString("after", first);
        first.SetPosition(0);
        EXPECT_EQ(ReadWideString(first), text);
        EXPECT_EQ(ReadAnsiString(first), "after");
        EXPECT_EQ(first.Remaining(), 0);

        TZVMemoryStream second;
        TZVMemoryStream reread(first.Bytes());
        WriteWideString(ReadWideString(reread), second);
        WriteAnsiString("after", second);
        EXPECT_EQ(second.Bytes(), first.Bytes());
    }
}

TEST_F(StreamStrings, LegacyWideStringsHaveNoByteCount)
{
    TZVMemoryStream s(bytes({0x03, 0, 0, 0, 0x61, 0, 0x62, 0, 0x63, 0, 0x02, 0, 0, 0, 0x41, 0, 0x42, 0}));
    SetLegacyStream(true);
    EXPECT_EQ(ReadWideString(s), "abc");
    EXPECT_EQ(ReadWideString(s), "AB");
    EXPECT_EQ(s.Remaining(), 0);
}

TEST_F(StreamStrings, NonPositiveCountsGiveEmptyText)
{
    TZVMemoryStream s(bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xF6, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(ReadWideString(s), "");
    EXPECT_EQ(ReadWideString(s), "");
    EXPECT_EQ(ReadAnsiString(s), "");
    EXPECT_EQ(s.Remaining(), 0);
}

TEST_F(StreamStrings, AnsiStringsAreWindows1252)
{
    TZVMemoryStream s;
    WriteAnsiString(QString::fromUtf8("Café €"), s);
    EXPECT_EQ(s.Bytes(), bytes({0x06, 0, 0, 0, 'C', 'a', 'f', 0xE9, ' ', 0x80}));
    s.SetPosition(0);
    EXPECT_EQ(ReadAnsiString(s), QString::fromUtf8("Café €"));

    TZVMemoryStream foreign;
    WriteAnsiString(QString::fromUtf8("Жx"), foreign);
    EXPECT_EQ(foreign.Bytes(), bytes({0x02, 0, 0, 0, '?', 'x'}));

    // Every byte value survives a read and a write, the code page's unused ones included.
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(static_cast<char>(b));
    TZVMemoryStream raw;
    raw.WriteI32(all.size());
    raw.Write(all.constData(), all.size());
    raw.SetPosition(0);
    TZVMemoryStream rewritten;
    WriteAnsiString(ReadAnsiString(raw), rewritten);
    EXPECT_EQ(rewritten.Bytes(), raw.Bytes());
}

TEST_F(StreamStrings, CountsLargerThanWhatRemainsAreErrors)
{
    struct Case
    {
        const char* name;
        QByteArray data;
        bool wide;
    };
    const Case cases[] = {
        {"wide count past the end", bytes({0x0A, 0, 0, 0, 0x14, 0x61, 0, 0x62, 0}), true},
        {"wide count near 2^31", bytes({0xFF, 0xFF, 0xFF, 0x7F, 0xFE, 0xFF, 0xFF, 0xFF, 0x0F}), true},
        {"byte count never ends", bytes({0x01, 0, 0, 0, 0x80, 0x80}), true},
        {"wide count cut short", bytes({0x01, 0}), true},
        {"ansi length past the end", bytes({0x05, 0, 0, 0, 'a', 'b'}), false},
        {"ansi length near 2^31", bytes({0xFF, 0xFF, 0xFF, 0x7F, 'a'}), false},
        {"empty stream", QByteArray(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVMemoryStream s(c.data);
        expectReadError([&] { c.wide ? void(ReadWideString(s)) : void(ReadAnsiString(s)); });
    }
}

TEST(MemoryStream, FailedReadsLeaveThePosition)
{
    TZVMemoryStream s(bytes({1, 2, 3}));
    s.SetPosition(1);
    expectReadError([&] { s.ReadI32(); });
    EXPECT_EQ(s.Position(), 1);
    expectReadError([&] { s.Skip(3); });
    expectReadError([&] { s.ReadBytes(-1); });
    EXPECT_EQ(s.ReadU16(), 0x0302);

    char buffer[8] = {};
    s.SetPosition(1);
    EXPECT_EQ(s.Read(buffer, 8), 2);
    EXPECT_EQ(s.Read(buffer, 8), 0);
}

TEST(MemoryStream, IntegersAreLittleEndianAndWritesGrowOrOverwrite)
{
    TZVMemoryStream s;
    s.WriteI32(-2);
    s.WriteU16(0xBEEF);
    s.WriteU8(7);
    s.WriteBool(true);
    EXPECT_EQ(s.Bytes(), bytes({0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xBE, 7, 1}));

    s.SetPosition(6);
    s.WriteU32(0x04030201);
    EXPECT_EQ(s.Size(), 10);
    s.SetPosition(0);
    EXPECT_EQ(s.ReadI32(), -2);
    EXPECT_EQ(s.ReadU16(), 0xBEEF);
    EXPECT_EQ(s.ReadU32(), 0x04030201u);

    s.SetPosition(-5);
    EXPECT_EQ(s.Position(), 0);
    s.SetPosition(99);
    EXPECT_EQ(s.Position(), 10);
}

TEST(MemoryStream, IsLegacyStreamPeeksAtTheFirstInteger)
{
    struct Case
    {
        const char* name;
        QByteArray data;
        bool legacy;
    };
    const Case cases[] = {
        {"version 2700", bytes({0x8C, 0x0A, 0, 0, 9}), false},
        {"version 2000", bytes({0xD0, 0x07, 0, 0}), false},
        {"string length 1999", bytes({0xCF, 0x07, 0, 0}), true},
        {"string length 0", bytes({0, 0, 0, 0}), true},
        {"too short for an integer", bytes({0x8C, 0x0A}), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVMemoryStream s(c.data);
        s.SetPosition(c.data.size());
        EXPECT_EQ(IsLegacyStream(s), c.legacy);
        EXPECT_EQ(s.Position(), 0);
    }
}
