// Streams of older versions and layouts, built here from the byte layout, read with the right values.
#include "StreamTestSupport.h"

#include "elements/ZVBarCode.h"
#include "elements/ZVImage.h"
#include "elements/ZVLineRect.h"
#include "elements/ZVParagraph.h"
#include "elements/ZVSymbol.h"
#include "elements/ZVTable.h"
#include "elements/ZVTextElements.h"
#include "platform/ZVBmp.h"

#include <gtest/gtest.h>

#include <limits>

using namespace zorvel;
using namespace zorvel::test;

namespace {

enum class Layout { Current, Legacy, Oldest };

struct Header
{
    std::int32_t version = 2700;
    Layout layout = Layout::Current;
    QString fileImage;
    QString source = QStringLiteral("Customers");
    QString table = QStringLiteral("people.db");
    QString filter = QStringLiteral("City = 'Gent'");
    QString detail = QStringLiteral("Orders");
    QString labelName = QStringLiteral("Shelf");
    QString paperName = QStringLiteral("A5");
    int dataAccess = 1;
    bool headerBitmap = false;
    QString titleText = QStringLiteral("Stock");
};

QByteArray smallBmp()
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    return EncodeBmp(image);
}

// Writes a header as the layout of its version has it; wide strings in the legacy form outside
// the current layout.
StreamBuilder headerBytes(const Header& h, int elementCount)
{
    StreamBuilder b;
    const auto wide = [&](const QString& s) {
        if (h.layout == Layout::Current)
            b.wstr(s);
        else
            b.legacyWstr(s);
    };
    switch (h.layout) {
    case Layout::Current:
        b.i32(h.version);
        wide(h.fileImage), wide(h.source), wide(h.table), wide(h.filter);
        if (h.version >= 2700)
            wide(h.detail);
        wide(h.labelName), wide(h.paperName);
        break;
    case Layout::Legacy:
        wide(h.fileImage), wide(h.source), wide(h.table), wide(h.filter), wide(h.labelName), wide(h.paperName);
        b.i32(h.version);
        break;
    case Layout::Oldest:
        b.astr(h.fileImage.toLatin1());
        wide(h.source), wide(h.table), wide(h.filter);
        b.astr(h.labelName.toLatin1()).astr(h.paperName.toLatin1());
        b.i32(h.version);
        break;
    }
    if (h.version < 18)
        b.raw(smallBmp());
    else if (h.headerBitmap)
        b.u8(1).raw(smallBmp());
    else
        b.u8(0);
    b.u8(snGrid).u8(unCM).u8(h.dataAccess);
    // Sheet: width, height, margins, gaps, rows, columns, paper, inner circle, type.
    b.i32(7000).i32(4000).i32(600).i32(1100).i32(300).i32(200).i32(5).i32(2).i32(21590).i32(27940).i32(0).u8(ltRect);
    b.i32(420);
    if (h.version >= 19)
        b.i32(0x123456);
    b.i32(15).i32(25).u8(1).astr("Times New Roman");
    if (h.layout == Layout::Oldest)
        b.astr(h.titleText.toLatin1());
    else
        wide(h.titleText);
    // Background: colours, style, guides, show guides, print.
    b.i32(0x00FF00).i32(0x0000FF).i32(0x808080).u8(biGradHor).i32(1500).i32(900).u8(1).u8(1);
    // Editor: grid colour, steps, show grid, show margins, selection colour.
    b.i32(0xC0C0C0).i32(100).i32(200).u8(1).u8(1).i32(0xFF0000);
    // Frame: colour, distances, radius, style, pen width.
    b.i32(0x000080).i32(50).i32(150).i32(200).u8(fsTwoLine).i32(30);
    b.u8(0); // data enabled
    // Print: labels, reserved, first row and column, range, paper code, orientation.
    b.i32(4).i32(255).i32(2).i32(3).i32(5).i32(9).u16(11).u8(1);
    if (h.version >= 20)
        b.i32(0);
    b.i32(elementCount);
    return b;
}

// Element base of a version: colours, flags, pen, corners, angle, separation, anchor, padding, ID.
void baseBytes(StreamBuilder& b, std::int32_t version, const QByteArray& id)
{
    b.i32(0x000011).i32(0x000022).i32(0x000033).u8(7).u8(1).u8(0).u8(1);
    b.i32(3).i32(10).i32(20).i32(30).i32(40).i32(90).i32(2);
    if (version > 19)
        b.i32(60).u8(9);
    if (version > 2299)
        b.i32(4).i32(5).i32(6);
    b.astr(id);
}

void dataBytes(StreamBuilder& b, std::int32_t version, bool data = true)
{
    b.astr("Verdana").astr("NAME").i32(35).u8(data);
    if (version > 18)
        b.u8(4);
}

// Text part; `text` in the string form of the version.
void textBytes(StreamBuilder& b, std::int32_t version, int textAlign)
{
    if (version <= 18)
        b.astr("caf\xe9");
    else
        b.legacyWstr(QStringLiteral("caf\u00e9"));
    b.astr("0.00").u8(textAlign).u8(1).u8(0).u8(1).u8(1).i32(0x0000AA).i32(7).i32(8);
}

void oldString(StreamBuilder& b, std::int32_t version, const QString& s)
{
    if (version <= 18)
        b.astr(s.toLatin1());
    else
        b.legacyWstr(s);
}

TZVLab& loaded(TZVLab& label, const QByteArray& bytes)
{
    try {
        load(label, bytes);
    } catch (const EZvError& e) {
        ADD_FAILURE() << e.message().toStdString();
    }
    return label;
}

} // namespace

TEST_F(StreamTest, HeaderOfEachVersionAndLayout)
{
    struct Case
    {
        const char* name;
        Header header;
        QString detail;          // DetailName after the load
        TZVColor titleColor;     // 0 where the version has none
        TZVDataAccessType access;
    };
    const Case cases[] = {
        {"2700 current", {2700, Layout::Current}, "Orders", 0x123456, daBDEAlias},
        {"2299 current, no detail name", {2299, Layout::Current}, "", 0x123456, daBDEAlias},
        {"20 legacy, ordinals as they are", {.version = 20, .layout = Layout::Legacy, .dataAccess = 2}, "", 0x123456, daDataSet},
        {"19 legacy, ordinals shifted", {.version = 19, .layout = Layout::Legacy, .dataAccess = 1}, "", 0x123456, daDataSet},
        {"19 legacy, 0 is the alias table", {.version = 19, .layout = Layout::Legacy, .dataAccess = 0}, "", 0x123456, daBDEAlias},
        {"18 legacy, no title colour", {18, Layout::Legacy}, "", 0, daDataSet},
        {"18 legacy with a header bitmap", {.version = 18, .layout = Layout::Legacy, .headerBitmap = true}, "", 0, daDataSet},
        {"17 legacy, bitmap without flag", {17, Layout::Legacy}, "", 0, daDataSet},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab label;
        loaded(label, headerBytes(c.header, 0).bytes());
        EXPECT_EQ(label.ReadVersion(), c.header.version);
        EXPECT_EQ(LegacyStream(), c.header.layout != Layout::Current);
        EXPECT_EQ(label.AliasTable().DatabaseName, QStringLiteral("Customers"));
        EXPECT_EQ(label.DataSetName(), QStringLiteral("Customers"));
        EXPECT_EQ(label.AliasTable().TableName, QStringLiteral("people.db"));
        EXPECT_EQ(label.AliasTable().Filter, QStringLiteral("City = 'Gent'"));
        EXPECT_EQ(label.DetailName(), c.detail);
        EXPECT_EQ(label.Measure().LabelName(), QStringLiteral("Shelf"));
        EXPECT_EQ(label.Measure().PaperName(), QStringLiteral("A5"));
        EXPECT_EQ(label.Units(), unCM);
        EXPECT_EQ(label.DataAccessType(), c.access);
        EXPECT_EQ(label.Measure().Width(), 7000);
        EXPECT_EQ(label.Measure().Height(), 4000);
        EXPECT_EQ(label.Measure().MarLeft(), 600);
        EXPECT_EQ(label.Measure().NuHor(), 5);
        EXPECT_EQ(label.Measure().NuVer(), 2);
        EXPECT_EQ(label.Measure().PaperHeight(), 27940);
        EXPECT_EQ(label.Title().FontHeight, 420);
        EXPECT_EQ(label.Title().Color, c.titleColor);
        EXPECT_EQ(label.Title().X, 15);
        EXPECT_EQ(label.Title().Y, 25);
        EXPECT_TRUE(label.Title().PrintTitle);
        EXPECT_EQ(label.Title().FontName, QStringLiteral("Times New Roman"));
        EXPECT_EQ(label.Title().Text, QStringLiteral("Stock"));
        EXPECT_EQ(label.BackSurf().Color(), 0x00FF00u);
        EXPECT_EQ(label.BackSurf().AlignColor(), 0x808080u);
        EXPECT_EQ(label.BackSurf().GuideX(), 1500);
        EXPECT_EQ(label.BackSurf().GuideY(), 900);
        EXPECT_FALSE(label.BackSurf().ShowAlign());
        EXPECT_TRUE(label.BackSurf().Print());
        EXPECT_EQ(label.Frame().Color(), 0x000080u);
        EXPECT_EQ(label.Frame().Dist2(), 150);
        EXPECT_EQ(label.Frame().Style(), fsTwoLine);
        EXPECT_EQ(label.Frame().PenWidth(), 30);
        EXPECT_EQ(label.PrintInfo().NumLabels(), 4);
        EXPECT_EQ(label.PrintInfo().PaperCode, 11);
        EXPECT_EQ(label.PrintInfo().Orientation, 1);
        EXPECT_EQ(label.PrintInfo().PrintFrom(), 1);
        EXPECT_EQ(label.PrintInfo().PrintTo(), 0);
        EXPECT_TRUE(label.Elements().isEmpty());
    }
}

TEST_F(StreamTest, OldestLayoutIsRecognised)
{
    struct Case
    {
        const char* name;
        Header header;
    };
    Header eightBit{18, Layout::Oldest};
    eightBit.fileImage = QStringLiteral("back.bmp");
    Header longFilter = eightBit;
    longFilter.fileImage.clear();
    longFilter.filter = QString(81, u'x');
    const Case cases[] = {
        {"8-bit names misread as wide strings", eightBit},
        {"a filter too long for the legacy layout", longFilter},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab label;
        TZVMemoryStream stream(headerBytes(c.header, 0).bytes());
        label.LoadFromStreamRaw(stream);
        EXPECT_EQ(label.ReadVersion(), 18);
        EXPECT_EQ(label.BackSurf().FileImage(), c.header.fileImage);
        EXPECT_EQ(label.AliasTable().Filter, c.header.filter);
        EXPECT_EQ(label.Measure().LabelName(), QStringLiteral("Shelf"));
        EXPECT_EQ(label.Measure().PaperName(), QStringLiteral("A5"));
        EXPECT_EQ(label.Title().Text, QStringLiteral("Stock")) << "the oldest title text is 8-bit";
        EXPECT_EQ(label.Frame().PenWidth(), 30);
    }
}

TEST_F(StreamTest, ElementBaseByVersion)
{
    struct Case
    {
        std::int32_t version;
        Layout layout;
        int scale;            // older layouts count tenths of a millimetre
        int anchorMargin;     // defaults where the version has no anchor
        int anchorPos;
        int padding;          // PaddingX; 0 where the version has none
    };
    const Case cases[] = {
        {18, Layout::Legacy, 10, 0, 14, 0},
        {19, Layout::Legacy, 10, 0, 14, 0},
        {20, Layout::Legacy, 1, 60, 9, 0},
        {2299, Layout::Current, 1, 60, 9, 0},
        {2300, Layout::Current, 1, 60, 9, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        StreamBuilder b = headerBytes({c.version, c.layout}, 1);
        b.u8(ekLine);
        baseBytes(b, c.version, "Line7");
        TZVLab label;
        loaded(label, b.bytes());
        ASSERT_EQ(label.Elements().size(), 1);
        const TZVElement& line = *label.Elements().first();
        EXPECT_EQ(line.ElementKind(), ekLine);
        EXPECT_EQ(line.Color(), 0x11u);
        EXPECT_EQ(line.BackColor(), 0x22u);
        EXPECT_EQ(line.BorderColor(), 0x33u);
        EXPECT_EQ(line.Reserved(), 7);
        EXPECT_TRUE(line.ShowBorder());
        EXPECT_FALSE(line.Transparent());
        EXPECT_TRUE(line.Print());
        EXPECT_EQ(line.PenWidth(), 3 * c.scale);
        EXPECT_EQ(line.X1(), 10 * c.scale);
        EXPECT_EQ(line.Y1(), 20 * c.scale);
        EXPECT_EQ(line.X2(), 30 * c.scale);
        EXPECT_EQ(line.Y2(), 40 * c.scale);
        EXPECT_EQ(line.Angle(), 90);
        EXPECT_EQ(line.Separation(), 2 * c.scale);
        EXPECT_EQ(line.AnchorMargin(), c.anchorMargin);
        EXPECT_EQ(line.AnchorPos(), c.anchorPos);
        EXPECT_EQ(line.PaddingX(), c.padding);
        EXPECT_EQ(line.BorderRadio(), c.padding ? 6 : 0);
        EXPECT_EQ(line.ID(), QStringLiteral("Line7"));
    }
}

TEST_F(StreamTest, TextPartsOfVersions18And19)
{
    struct Case
    {
        std::int32_t version;
        int storedAlign;
        TTextAlign align;
        std::uint8_t dataReserved;
    };
    const Case cases[] = {
        {18, 2, taRiBo, 0},   // 8-bit text, no DataReserved
        {18, 7, taLeTo, 0},   // above 5 before version 20
        {19, 5, taRiTo, 4},
        {19, 9, taLeTo, 4},   // above 8 in any version
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.version << " align " << c.storedAlign);
        StreamBuilder b = headerBytes({c.version, Layout::Legacy}, 1);
        b.u8(ekText);
        baseBytes(b, c.version, "Text1");
        dataBytes(b, c.version);
        textBytes(b, c.version, c.storedAlign);
        TZVLab label;
        loaded(label, b.bytes());
        ASSERT_EQ(label.Elements().size(), 1);
        auto* text = dynamic_cast<TZVText*>(label.Elements().first());
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->FontName(), QStringLiteral("Verdana"));
        EXPECT_EQ(text->BoundField(), QStringLiteral("NAME"));
        EXPECT_EQ(text->FontHeight(), 350);
        EXPECT_TRUE(text->Data());
        EXPECT_EQ(text->DataReserved(), c.dataReserved);
        EXPECT_EQ(text->Text(), QStringLiteral("caf\u00e9"));
        EXPECT_EQ(text->DisplayFormat(), QStringLiteral("0.00"));
        EXPECT_EQ(text->TextAlign(), c.align);
        EXPECT_TRUE(text->Bold());
        EXPECT_FALSE(text->Italic());
        EXPECT_TRUE(text->Shadow());
        EXPECT_EQ(text->ShadowColor(), 0xAAu);
        EXPECT_EQ(text->GapX(), 70);
        EXPECT_EQ(text->GapY(), 80);
    }
}

TEST_F(StreamTest, CompoundQuestionAndParagraphTextsOfVersion18)
{
    StreamBuilder b = headerBytes({18, Layout::Legacy}, 3);
    b.u8(ekAddText);
    baseBytes(b, 18, "AddText1");
    dataBytes(b, 18);
    textBytes(b, 18, 0);
    oldString(b, 18, QStringLiteral("N\u00b0 "));
    oldString(b, 18, QStringLiteral(" kg"));
    b.u8(ekParagraph);
    baseBytes(b, 18, "Paragraph1");
    dataBytes(b, 18);
    textBytes(b, 18, 0);
    b.u8(tfJustify);
    b.u8(ekImage);
    baseBytes(b, 18, "Image1");
    dataBytes(b, 18);
    oldString(b, 18, QStringLiteral("photo.jpg"));
    b.u8(1).u8(0);

    TZVLab label;
    loaded(label, b.bytes());
    ASSERT_EQ(label.Elements().size(), 3);
    auto* add = dynamic_cast<TZVAddText*>(label.Elements()[0]);
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add->Before(), QStringLiteral("N\u00b0 "));
    EXPECT_EQ(add->After(), QStringLiteral(" kg"));
    auto* paragraph = dynamic_cast<TZVParagraph*>(label.Elements()[1]);
    ASSERT_NE(paragraph, nullptr);
    EXPECT_EQ(paragraph->Alignment(), tfJustify);
    EXPECT_EQ(paragraph->Text(), QStringLiteral("caf\u00e9"));
    auto* image = dynamic_cast<TZVImage*>(label.Elements()[2]);
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->Aspect());
    EXPECT_FALSE(image->AutoSize());
    EXPECT_TRUE(image->RelativeImage().isEmpty());
}

TEST_F(StreamTest, QuestionTextOfVersion19)
{
    StreamBuilder b = headerBytes({19, Layout::Legacy}, 1);
    b.u8(ekAskText);
    baseBytes(b, 19, "AskText1");
    dataBytes(b, 19);
    textBytes(b, 19, 0);
    oldString(b, 19, QStringLiteral("Batch?"));
    oldString(b, 19, QStringLiteral("B-12"));
    TZVLab label;
    loaded(label, b.bytes());
    ASSERT_EQ(label.Elements().size(), 1);
    auto* ask = dynamic_cast<TZVAskText*>(label.Elements().first());
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(ask->Question(), QStringLiteral("Batch?"));
    EXPECT_EQ(ask->Answer(), QStringLiteral("B-12"));
}

TEST_F(StreamTest, BarcodePartByVersion)
{
    struct Case
    {
        const char* name;
        std::int32_t version;
        int storedType;
        TZVBar type;
        int scale;
        int bHeight;
        int factor;
        bool checksum;
    };
    const Case cases[] = {
        {"17: no height, lengths in tenths", 17, EAN13, EAN13, 10, 1000, 200, false},
        {"19: type 3 was the first GS1-128", 19, 3, EAN128A, 10, 450, 200, false},
        {"19: UPC-A gets the factor 200", 19, 2, UPCA, 10, 450, 200, false},
        {"20: every field stored", 20, CODE39, CODE39, 1, 45, 250, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StreamBuilder b = headerBytes({c.version, Layout::Legacy}, 1);
        b.u8(ekBarCode);
        baseBytes(b, c.version, "Barcode1");
        dataBytes(b, c.version, false);
        b.astr("590123412345").u8(c.storedType).i32(3);
        if (c.version >= 18)
            b.i32(45);
        b.i32(2).i32(28).u8(1).i32(5).i32(6);
        if (c.version > 19)
            b.u8(1).i32(250).u8(3);
        TZVLab label;
        loaded(label, b.bytes());
        ASSERT_EQ(label.Elements().size(), 1);
        auto* bar = dynamic_cast<TZVBarCode*>(label.Elements().first());
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->BarCode(), QStringLiteral("590123412345"));
        EXPECT_EQ(bar->CodeType(), c.type);
        EXPECT_EQ(bar->BarWidth(), 3 * c.scale);
        EXPECT_EQ(bar->BHeight(), c.bHeight);
        EXPECT_EQ(bar->Distance(), 2 * c.scale);
        EXPECT_EQ(bar->FontHeight(), 28 * c.scale) << "the bar code's own font height comes last";
        EXPECT_TRUE(bar->ShowNumber());
        EXPECT_EQ(bar->LeftMargin(), 5 * c.scale);
        EXPECT_EQ(bar->TopMargin(), 6 * c.scale);
        EXPECT_EQ(bar->Checksum(), c.checksum);
        EXPECT_EQ(bar->Factor(), c.factor);
    }
}

TEST_F(StreamTest, RectangleRadioOfVersion19IsScaled)
{
    StreamBuilder b = headerBytes({19, Layout::Legacy}, 1);
    b.u8(ekRect);
    baseBytes(b, 19, "Rectangle1");
    b.i32(12).u8(1);
    TZVLab label;
    loaded(label, b.bytes());
    ASSERT_EQ(label.Elements().size(), 1);
    auto* rect = dynamic_cast<TZVRect*>(label.Elements().first());
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->Radio(), 120);
    EXPECT_TRUE(rect->Ellipse());
}

TEST_F(StreamTest, SymbolPartByVersion)
{
    struct Case
    {
        std::int32_t version;
        char16_t character;
        int page;
        int alt;
    };
    const Case cases[] = {
        {18, u'\u00a9', 0, 0},   // only the one-byte character
        {19, u'\u00a9', 3, 0},   // the one-byte character wins up to version 20
        {20, u'\u00a9', 3, 77},
        {2700, u'\u263a', 3, 77},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        const Layout layout = c.version < 2000 ? Layout::Legacy : Layout::Current;
        StreamBuilder b = headerBytes({c.version, layout}, 1);
        b.u8(ekSymbol);
        baseBytes(b, c.version, "Symbol1");
        dataBytes(b, c.version, false);
        if (c.version <= 20)
            b.u8(0xA9);
        if (c.version > 18)
            b.u16(0x263A);
        b.u8(1);
        if (c.version > 18)
            b.i32(3).i32(12);
        if (c.version >= 20)
            b.i32(77);
        TZVLab label;
        loaded(label, b.bytes());
        ASSERT_EQ(label.Elements().size(), 1);
        auto* symbol = dynamic_cast<TZVSymbol*>(label.Elements().first());
        ASSERT_NE(symbol, nullptr);
        EXPECT_EQ(symbol->Character(), QChar(c.character));
        EXPECT_TRUE(symbol->Bold());
        EXPECT_EQ(symbol->SymbolPage(), c.page);
        EXPECT_EQ(symbol->SymbolAlt(), c.alt);
    }
}

TEST_F(StreamTest, TableOfVersion19IsScaledWithItsColumns)
{
    StreamBuilder b = headerBytes({19, Layout::Legacy}, 1);
    b.u8(ekTable);
    baseBytes(b, 19, "Table1");
    b.i32(0x0A0B0C).u8(gsBoth).u8(5).i32(40).u8(1).u8(1).u8(0).u8(0).i32(30).i32(50).i32(0xEEEEEE).i32(0x111111).u8(2).u8(1);
    oldString(b, 19, QStringLiteral("Items"));
    oldString(b, 19, QStringLiteral("Arial"));
    b.i32(2);
    for (int column = 0; column < 2; ++column) {
        b.i32(0xFFFFFF).i32(5 + column).u8(1).u8(0).u8(1).i32(25).i32(0).i32(0xCCCCCC).i32(0).i32(45).i32(27);
        b.u8(1).u8(2).u8(1).u8(1).u8(0).u8(1).u8(0).u8(9);
        b.i32(0xDDDDDD).i32(0x222222).u8(0).u8(1).u8(0).u8(2).i32(44).i32(26).u8(1);
        oldString(b, 19, QStringLiteral("Col%1").arg(column));
        b.astr("Arial").astr("Arial").astr("Arial").astr("QTY").astr("0");
    }
    TZVLab label;
    loaded(label, b.bytes());
    ASSERT_EQ(label.Elements().size(), 1);
    auto* table = dynamic_cast<TZVTable*>(label.Elements().first());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GridStyle(), gsBoth);
    EXPECT_EQ(table->RowHeight(), 400);
    EXPECT_EQ(table->TitleText(), QStringLiteral("Items"));
    EXPECT_EQ(table->DrawMode(), 1);
    ASSERT_EQ(table->ColumnCount(), 2);
    for (int column = 0; column < 2; ++column) {
        SCOPED_TRACE(column);
        const TZVColumn& col = table->Column(column);
        EXPECT_EQ(col.Width(), 10 * (5 + column));
        EXPECT_EQ(col.FontHeight(), 250);
        EXPECT_EQ(col.HeaderHeight(), 450);
        EXPECT_EQ(col.HeaderFontHeight(), 270);
        EXPECT_EQ(col.FooterHeight(), 440);
        EXPECT_EQ(col.FooterFontHeight(), 260);
        EXPECT_EQ(col.Reserved(), 9);
        EXPECT_EQ(col.HeaderText(), QStringLiteral("Col%1").arg(column));
        EXPECT_EQ(col.BoundField(), QStringLiteral("QTY"));
    }
}

TEST_F(StreamTest, KindTenIsReadFromVersion19On)
{
    for (const std::int32_t version : {18, 19}) {
        SCOPED_TRACE(version);
        StreamBuilder b = headerBytes({version, Layout::Legacy}, 1);
        b.u8(ekAskText);
        baseBytes(b, version, "AskText1");
        dataBytes(b, version);
        textBytes(b, version, 0);
        oldString(b, version, QStringLiteral("Q"));
        oldString(b, version, QStringLiteral("A"));
        TZVLab label;
        if (version == 18) {
            expectReadError([&] { load(label, b.bytes()); });
            EXPECT_TRUE(label.Elements().isEmpty());
        } else {
            load(label, b.bytes());
            EXPECT_EQ(label.Elements().size(), 1);
        }
    }
}

TEST_F(StreamTest, LegacyLengthsSaturateInsteadOfOverflowing)
{
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    StreamBuilder b = headerBytes({19, Layout::Legacy}, 2);
    b.u8(ekRect);
    b.i32(0).i32(0).i32(0).u8(0).u8(0).u8(1).u8(1);
    b.i32(kMax).i32(kMax).i32(kMin).i32(kMax / 10 + 1).i32(-(kMax / 10) - 1).i32(0).i32(kMin);
    b.astr("R");
    b.i32(kMax).u8(0);
    b.u8(ekText);
    baseBytes(b, 19, "T");
    b.astr("Arial").astr("").i32(kMax).u8(0).u8(0);
    b.legacyWstr(QStringLiteral("t")).astr("").u8(0).u8(0).u8(0).u8(0).u8(0).i32(0).i32(kMin).i32(kMax);
    TZVLab label;
    loaded(label, b.bytes());
    ASSERT_EQ(label.Elements().size(), 2);
    auto* rect = dynamic_cast<TZVRect*>(label.Elements()[0]);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->PenWidth(), kMax);
    EXPECT_EQ(rect->X1(), kMax);
    EXPECT_EQ(rect->Y1(), kMin);
    EXPECT_EQ(rect->X2(), kMax);
    EXPECT_EQ(rect->Y2(), kMin);
    EXPECT_EQ(rect->Separation(), kMin);
    EXPECT_EQ(rect->Radio(), kMax);
    auto* text = dynamic_cast<TZVText*>(label.Elements()[1]);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->FontHeight(), kMax);
    EXPECT_EQ(text->GapX(), kMin);
    EXPECT_EQ(text->GapY(), kMax);
}
