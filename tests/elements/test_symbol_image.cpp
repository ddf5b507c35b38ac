// Symbols and images: their setters, placement, picture files and their records.
#include "ElementTestSupport.h"
#include "elements/ZVImage.h"
#include "elements/ZVSymbol.h"
#include "platform/ZVBmp.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace zorvel;
using namespace zorvel::test;

namespace {

// Writes a w x h bitmap file and returns its path.
QString WriteBitmap(const QString& folder, const QString& name, int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(EncodeBmp(image));
    return path;
}

// Collects the messages the label shows.
struct MessageLog
{
    explicit MessageLog(TZVCustomLab& label)
    {
        label.OnMessage = [this](QObject*, const QString& message) { messages.append(message); };
    }
    QStringList messages;
};

} // namespace

// ---- symbols ----

TEST(Symbol, Defaults)
{
    TZVLab label;
    const TZVSymbol symbol(label);
    EXPECT_EQ(symbol.Character(), QChar(u'$'));
    EXPECT_EQ(symbol.LegacyCharacter(), 128);
    EXPECT_EQ(symbol.SymbolPage(), 0);
    EXPECT_EQ(symbol.SymbolAlt(), 0);
    EXPECT_FALSE(symbol.Bold());
    EXPECT_EQ(symbol.HandleKind(), 0);
}

TEST_F(ElementTest, SymbolCharacterMovesThePageAndClearsTheAlternative)
{
    TZVSymbol symbol(label);
    RecordingVisitor reader(kStreamVersion, true);
    reader.numbers = {{"SymbolAlt", 7}};
    symbol.VisitFields(reader);
    ASSERT_EQ(symbol.SymbolAlt(), 7);

    Forget();
    symbol.SetCharacter(QChar(char16_t(500)));
    EXPECT_EQ(symbol.SymbolPage(), 2);
    EXPECT_EQ(symbol.SymbolAlt(), 0);
    EXPECT_EQ(editor.LastRefreshedName(), "Symbol");
    EXPECT_TRUE(label.Modified());

    Forget();
    symbol.SetCharacter(QChar(char16_t(500)));
    EXPECT_EQ(editor.refreshes.size(), 1u) << "notifies on every call";

    Forget();
    symbol.SetBold(true);
    EXPECT_EQ(editor.LastRefreshedName(), "Bold");
    Forget();
    symbol.SetBold(true);
    EXPECT_TRUE(editor.refreshes.empty());
}

TEST_F(ElementTest, SymbolPlacementMovesOnlyTheAnchorByAngle)
{
    struct Case
    {
        int angle;
        TPoint anchor;
    };
    // The dragged box (1000, 500)-(2000, 1500); the far corner stays where painting put it.
    const Case cases[] = {{0, {1000, 500}}, {90, {1000, 1500}}, {180, {2000, 1500}}, {270, {2000, 500}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        TZVSymbol symbol(label);
        symbol.SetAngle(c.angle);
        symbol.PlaceFromScreenRect({100, 50, 200, 150}, true, false);
        EXPECT_EQ((TPoint{symbol.X1(), symbol.Y1()}), c.anchor);
        EXPECT_EQ((TPoint{symbol.X2(), symbol.Y2()}), (TPoint{0, 0}));
    }
}

TEST(Symbol, RecordFollowsTheLayoutVersion)
{
    struct Case
    {
        std::int32_t version;
        std::vector<std::string> part;
        char16_t character;
    };
    // Fed: legacy byte 0x41, two-byte character U+263A.
    const Case cases[] = {
        {18, {"LegacyCharacter", "Bold"}, u'A'},
        {19, {"LegacyCharacter", "Character", "Bold", "SymbolPage", "SymbolReserved"}, u'A'},
        {20, {"LegacyCharacter", "Character", "Bold", "SymbolPage", "SymbolReserved", "SymbolAlt"}, u'A'},
        {21, {"Character", "Bold", "SymbolPage", "SymbolReserved", "SymbolAlt"}, u'\u263A'},
        {2700, {"Character", "Bold", "SymbolPage", "SymbolReserved", "SymbolAlt"}, u'\u263A'},
    };
    TZVLab label;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        TZVSymbol symbol(label);
        RecordingVisitor reader(c.version, true);
        reader.numbers = {{"LegacyCharacter", 0x41}, {"Character", 0x263A}, {"Bold", 1}};
        symbol.VisitFields(reader);
        EXPECT_EQ(reader.names, Joined(Joined(BaseFieldNames(c.version), DataFieldNames(c.version)), c.part));
        EXPECT_EQ(symbol.Character(), QChar(c.character));
        EXPECT_TRUE(symbol.Bold());
    }
}

TEST(Symbol, LegacyByteKeepsItsCodeAboveAscii)
{
    // A symbol font's code 0x80 is no euro sign.
    TZVLab label;
    TZVSymbol symbol(label);
    RecordingVisitor reader(20, true);
    reader.numbers = {{"LegacyCharacter", 0x80}};
    symbol.VisitFields(reader);
    EXPECT_EQ(symbol.Character().unicode(), 0x80);
}

TEST(Symbol, WrittenRecordReadsBack)
{
    TZVLab label;
    TZVSymbol source(label);
    source.SetCharacter(QChar(char16_t(0xF04A)));
    source.SetBold(true);
    RecordingVisitor writer(kStreamVersion, false);
    source.VisitFields(writer);
    EXPECT_EQ(writer.numbers.at("Character"), 0xF04A);
    EXPECT_EQ(writer.numbers.at("SymbolPage"), 0xF04A / 240);
    EXPECT_EQ(writer.numbers.count("LegacyCharacter"), 0u);

    TZVSymbol copy(label);
    RecordingVisitor reader(kStreamVersion, true);
    reader.numbers = writer.numbers;
    reader.strings = writer.strings;
    copy.VisitFields(reader);
    EXPECT_EQ(copy.Character(), source.Character());
    EXPECT_EQ(copy.SymbolPage(), source.SymbolPage());
    EXPECT_TRUE(copy.Bold());
}

// ---- images ----

TEST(Image, Defaults)
{
    TZVLab label;
    const TZVImage image(label);
    EXPECT_TRUE(image.Aspect());
    EXPECT_FALSE(image.AutoSize());
    EXPECT_FALSE(image.HasPicture());
    EXPECT_FALSE(image.NeedsTurn());
    EXPECT_EQ(image.HandleKind(), 3);
}

TEST_F(ElementTest, ImageFileIsLoadedOrReported)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = WriteBitmap(folder.path(), "logo.bmp", 20, 10);
    MessageLog log(label);

    TZVImage image(label);
    Forget();
    image.SetFileImage(path);
    EXPECT_TRUE(image.HasPicture());
    EXPECT_EQ(image.Picture().size(), QSize(20, 10));
    EXPECT_EQ(image.RelativeImage(), QDir(TZVImage::ProgramFolder()).relativeFilePath(path));
    EXPECT_TRUE(image.NeedsTurn());
    EXPECT_EQ(editor.LastRefreshedName(), "FileImage");
    EXPECT_TRUE(label.Modified());
    EXPECT_TRUE(log.messages.isEmpty());

    const QString missing = folder.filePath("missing.bmp");
    image.SetFileImage(missing);
    EXPECT_FALSE(image.HasPicture());
    EXPECT_TRUE(image.Picture().isNull());
    EXPECT_EQ(image.FileImage(), missing);
    EXPECT_EQ(log.messages, QStringList{"INVALID FILE : " + missing});

    // No file is no picture, and nothing to report.
    image.SetFileImage({});
    EXPECT_FALSE(image.HasPicture());
    EXPECT_EQ(log.messages.size(), 1);
}

TEST_F(ElementTest, ImageFileIsIgnoredWhileBound)
{
    QTemporaryDir folder;
    const QString path = WriteBitmap(folder.path(), "logo.bmp", 4, 4);
    TZVImage image(label);
    image.SetData(true);
    Forget();
    image.SetFileImage(path);
    EXPECT_EQ(image.FileImage(), "");
    EXPECT_FALSE(image.HasPicture());
    EXPECT_TRUE(editor.refreshes.empty());
    EXPECT_FALSE(label.Modified());
}

TEST_F(ElementTest, ImageSetters)
{
    struct Case
    {
        const char* name;
        std::function<void(TZVImage&)> set;
        const char* refreshed;
        bool needsTurn;
    };
    const Case cases[] = {
        {"auto size", [](TZVImage& i) { i.SetAutoSize(true); }, "Autosize", false},
        {"aspect", [](TZVImage& i) { i.SetAspect(false); }, "Aspect", false},
        {"transparent", [](TZVImage& i) { i.SetTransparent(false); }, "Transparent", true},
        {"angle", [](TZVImage& i) { i.SetAngle(90); }, "Angle", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVImage image(label);
        Forget();
        c.set(image);
        EXPECT_EQ(editor.LastRefreshedName(), c.refreshed);
        EXPECT_TRUE(label.Modified());
        EXPECT_EQ(image.NeedsTurn(), c.needsTurn);
        Forget();
        c.set(image);
        EXPECT_TRUE(editor.refreshes.empty()) << "unchanged";
    }
}

TEST_F(ElementTest, ImageFarCornerFollowsTheScreenRectWithoutSnapping)
{
    editor.snap = snGrid;
    editor.gridIncX = editor.gridIncY = 250;
    TZVImage image(label);
    image.SetScreenRect({103, 52, 207, 149});
    EXPECT_EQ((TRect{image.X1(), image.Y1(), image.X2(), image.Y2()}), (TRect{1000, 500, 2070, 1490}));
}

TEST(Image, RecordFollowsTheLayoutVersion)
{
    struct Case
    {
        std::int32_t version;
        bool onlyBitmap;
        std::vector<std::string> part;
        bool ansiFile;
    };
    const Case cases[] = {
        {17, true, {"FileImage", "Aspect", "AutoSize"}, true},
        {18, false, {"FileImage", "Aspect", "AutoSize"}, true},
        {18, true, {"FileImage", "Aspect", "AutoSize", "Picture"}, true},
        {19, false, {"FileImage", "Aspect", "AutoSize"}, false},
        {20, false, {"FileImage", "RelativeImage", "Aspect", "AutoSize", "ImageReserved"}, false},
        {2700, true, {"FileImage", "RelativeImage", "Aspect", "AutoSize", "ImageReserved", "Picture"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.version) + (c.onlyBitmap ? " bitmaps inside" : ""));
        TZVLab label;
        label.SetOnlyBitmap(c.onlyBitmap);
        TZVImage image(label);
        RecordingVisitor reader(c.version, true);
        image.VisitFields(reader);
        EXPECT_EQ(reader.names, Joined(Joined(BaseFieldNames(c.version), DataFieldNames(c.version)), c.part));
        EXPECT_EQ(reader.ansiNames.at("FileImage"), c.ansiFile);
    }
}

TEST(Image, PictureInsideTheDesign)
{
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::red);
    struct Case
    {
        const char* name;
        QImage fed;
        QString error;
        bool hasPicture;
    };
    const Case cases[] = {
        {"a picture", picture, {}, true},
        {"none written", QImage(), {}, false},
        {"a damaged bitmap is stepped over", QImage(), "INVALID IMAGE : DAMAGED BITMAP", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab label;
        label.SetOnlyBitmap(true);
        TZVImage image(label);
        RecordingVisitor reader(kStreamVersion, true);
        reader.picture = c.fed;
        reader.pictureError = c.error;
        image.VisitFields(reader);
        EXPECT_EQ(image.HasPicture(), c.hasPicture);
        EXPECT_EQ(image.Picture().isNull(), !c.hasPicture);
    }

    TZVLab label;
    label.SetOnlyBitmap(true);
    TZVImage image(label);
    RecordingVisitor lost(kStreamVersion, true);
    lost.pictureError = "ERROR READING FILE";
    EXPECT_THROW(image.VisitFields(lost), EZvError) << "a bitmap that cannot be delimited ends the load";

    RecordingVisitor reader(kStreamVersion, true);
    reader.picture = picture;
    image.VisitFields(reader);
    RecordingVisitor writer(kStreamVersion, false);
    image.VisitFields(writer);
    EXPECT_TRUE(writer.picturePresent);
    EXPECT_EQ(writer.picture, picture);
}

TEST(Image, ReadingFindsAMovedPictureThroughItsRelativePath)
{
    QTemporaryDir folder;
    const QString path = WriteBitmap(folder.path(), "moved.bmp", 12, 7);
    const QString relative = QDir(TZVImage::ProgramFolder()).relativeFilePath(path);
    const QString gone = "/no/such/folder/moved.bmp";

    struct Case
    {
        const char* name;
        QString fileImage;
        QString relativeImage;
        bool data;
        QString expectedFile;
        bool hasPicture;
        int messages;
    };
    const Case cases[] = {
        {"the file is where it was", path, "elsewhere.bmp", false, path, true, 0},
        {"moved: found through the relative path", gone, relative, false, path, true, 0},
        {"both gone: the stored path stays", gone, "gone.bmp", false, gone, false, 1},
        {"backslashes of another platform",
         QString(path).replace('/', '\\'),
         {},
         false,
         QString(path).replace('/', '\\'),
         true,
         0},
        {"a bound image loads no file", path, {}, true, path, false, 0},
        {"no file at all", {}, {}, false, {}, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab label;
        MessageLog log(label);
        TZVImage image(label);
        RecordingVisitor reader(kStreamVersion, true);
        reader.strings = {{"FileImage", c.fileImage}, {"RelativeImage", c.relativeImage}};
        reader.numbers = {{"Data", c.data}};
        image.VisitFields(reader);
        EXPECT_EQ(QDir::cleanPath(image.FileImage()), QDir::cleanPath(c.expectedFile));
        EXPECT_EQ(image.RelativeImage(), c.relativeImage) << "kept as stored";
        EXPECT_EQ(image.HasPicture(), c.hasPicture);
        EXPECT_EQ(log.messages.size(), c.messages);
    }
}

TEST(PublishedProperties, SymbolsAndImagesInIndexOrder)
{
    struct Case
    {
        const char* name;
        const QMetaObject* meta;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"symbol",
         &TZVSymbol::staticMetaObject,
         {"X1",         "Y1",          "Color",       "Print",    "BackColor", "Transparent", "FieldName",
          "Data",       "ID",          "FontHeight",  "FontName", "Character", "Bold",        "Angle",
          "ShowBorder", "BorderColor", "BorderRadio", "PenWidth", "PaddingX",  "PaddingY"}},
        {"image",
         &TZVImage::staticMetaObject,
         {"X1", "Y1", "Color", "Print", "BackColor", "Transparent", "FieldName", "Data", "ID", "X2", "Y2",
          "Angle", "Aspect", "AutoSize", "Locked", "FileImage", "ShowBorder", "PenWidth"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PublishedNames(*c.meta), c.names);
    }
}
