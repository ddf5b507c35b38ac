// Tests of picture format detection, the JPEG codec, bitmaps inside streams and picture files.
#include "foundation/ZVError.h"
#include "foundation/ZVPictureFormat.h"
#include "foundation/ZVStream.h"
#include "platform/ZVBmp.h"
#include "platform/ZVJpeg.h"
#include "platform/ZVPicture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <ostream>
#include <vector>

namespace zorvel {
namespace {

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EZvError& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

QByteArray bytes(std::initializer_list<int> prefix, qsizetype size = kPictureHeaderSize)
{
    QByteArray data(size, '\0');
    qsizetype i = 0;
    for (const int b : prefix)
        data[i++] = static_cast<char>(b);
    return data;
}

// Quadrants red, green, blue, yellow: flat areas JPEG keeps close to their colour.
const std::array<QColor, 4> kQuadrantColours{QColor(255, 0, 0), QColor(0, 160, 0), QColor(0, 0, 255),
                                             QColor(255, 255, 0)};

QImage quadrants(int w, int h, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(w, h, format);
    image.fill(Qt::transparent);
    QPainter p(&image);
    for (int i = 0; i < 4; ++i)
        p.fillRect(i % 2 * w / 2, i / 2 * h / 2, w / 2, h / 2, kQuadrantColours[i]);
    return image;
}

// Deterministic noise: compresses badly, so quality shows in the size and truncation hits the body.
QImage noise(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    std::uint32_t state = 12345;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            state = state * 1103515245 + 12345;
            image.setPixel(x, y, 0xFF000000 | (state >> 8));
        }
    }
    return image;
}

::testing::AssertionResult near(QRgb actual, QColor expected, int tolerance)
{
    if (std::abs(qRed(actual) - expected.red()) <= tolerance &&
        std::abs(qGreen(actual) - expected.green()) <= tolerance &&
        std::abs(qBlue(actual) - expected.blue()) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got " << qPrintable(QColor(actual).name()) << ", expected " << qPrintable(expected.name());
}

void expectQuadrants(const QImage& image, int tolerance)
{
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const int x = i % 2 * image.width() / 2 + image.width() / 4;
        const int y = i / 2 * image.height() / 2 + image.height() / 4;
        EXPECT_TRUE(near(image.pixel(x, y), kQuadrantColours[i], tolerance));
    }
}

// Qt cannot write CMYK JPEGs, so these are made with libjpeg directly. `ink` is the true CMYK
// of each quadrant; Adobe files store it inverted.
// A JPEG of `width` x `height` samples of `components` in `space`, written by libjpeg into memory:
// `configure` sets what follows the defaults, `fill` gives each row's samples.
QByteArray writeJpeg(int width, int height, int components, J_COLOR_SPACE space,
                     const std::function<void(jpeg_compress_struct&)>& configure,
                     const std::function<void(int y, JSAMPLE* row)>& fill)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    configure(cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * components);
    while (cinfo.next_scanline < cinfo.image_height) {
        fill(static_cast<int>(cinfo.next_scanline), row.data());
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

QByteArray cmykJpeg(const std::array<std::array<int, 4>, 4>& ink, J_COLOR_SPACE stored, bool adobe)
{
    constexpr int kSide = 32;
    const auto configure = [&](jpeg_compress_struct& cinfo) {
        jpeg_set_colorspace(&cinfo, stored);
        cinfo.write_Adobe_marker = adobe;
        jpeg_set_quality(&cinfo, 95, TRUE);
    };
    return writeJpeg(kSide, kSide, 4, JCS_CMYK, configure, [&](int y, JSAMPLE* row) {
        for (int x = 0; x < kSide; ++x) {
            const auto& c = ink[(x >= kSide / 2) + 2 * (y >= kSide / 2)];
            for (int k = 0; k < 4; ++k)
                row[x * 4 + k] = static_cast<JSAMPLE>(adobe ? 255 - c[k] : c[k]);
        }
    });
}

void putU16(QByteArray& data, int at, std::uint16_t v)
{
    data[at] = static_cast<char>(v & 0xFF);
    data[at + 1] = static_cast<char>(v >> 8);
}

void putU32(QByteArray& data, int at, std::uint32_t v)
{
    putU16(data, at, v & 0xFFFF);
    putU16(data, at + 2, v >> 16);
}

// ---------------------------------------------------------------------------------------------

TEST(PictureFormat, DetectsTheTableOfSignatures)
{
    QByteArray emf = bytes({1, 0, 0, 0});
    emf.replace(40, 4, " EMF");
    QByteArray emfWrongRecord = emf;
    emfWrongRecord[0] = 2;
    struct Case
    {
        const char* name;
        QByteArray data;
        TZVPictureFormat format;
        bool drawable;
    };
    // Leading bytes as each format's own documentation defines them; the later rows check the
    // order of the tests and the 44-byte minimum.
    const Case cases[] = {
        {"bitmap", bytes({'B', 'M'}), TZVPictureFormat::Bitmap, true},
        {"jpeg", bytes({0xFF, 0xD8, 0xFF, 0xE0}), TZVPictureFormat::Jpeg, true},
        {"placeable metafile", bytes({0xD7, 0xCD, 0xC6, 0x9A}), TZVPictureFormat::Metafile, true},
        {"enhanced metafile", emf, TZVPictureFormat::Metafile, true},
        {"EMF signature after another record", emfWrongRecord, TZVPictureFormat::Unknown, false},
        {"icon", bytes({0, 0, 1, 0, 1, 0}), TZVPictureFormat::Icon, true},
        {"tiff little-endian", bytes({'I', 'I', 42, 0}), TZVPictureFormat::Tiff, false},
        {"tiff big-endian", bytes({'M', 'M', 0, 42}), TZVPictureFormat::Tiff, false},
        {"png", bytes({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}), TZVPictureFormat::Png, false},
        {"gif", bytes({'G', 'I', 'F', '8', '9', 'a'}), TZVPictureFormat::Gif, false},
        {"bitmap tested before icon", bytes({'B', 'M', 1, 0}), TZVPictureFormat::Bitmap, true},
        {"icon tested before gif", bytes({'G', 'I', 1, 0}), TZVPictureFormat::Icon, true},
        {"png signature cut short", bytes({0x89, 'P', 'N', 'G', 0x0D, 0x0A}), TZVPictureFormat::Unknown,
         false},
        {"text", QByteArray(64, 'x'), TZVPictureFormat::Unknown, false},
        {"bitmap of 43 bytes", bytes({'B', 'M'}, 43), TZVPictureFormat::Unknown, false},
        {"jpeg of 43 bytes", bytes({0xFF, 0xD8}, 43), TZVPictureFormat::Unknown, false},
        {"empty", QByteArray(), TZVPictureFormat::Unknown, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DetectPictureFormat(c.data), c.format);
        EXPECT_EQ(IsDrawablePictureFormat(c.format), c.drawable);
    }
}

// ---------------------------------------------------------------------------------------------

TEST(Jpeg, RoundTripKeepsColoursSizeAndResolution)
{
    QImage source = quadrants(64, 48);
    source.setDotsPerMeterX(11811); // 300 dpi
    source.setDotsPerMeterY(11811);
    const QImage decoded = DecodeJpeg(EncodeJpeg(source, 90));
    EXPECT_EQ(decoded.size(), source.size());
    EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
    EXPECT_NEAR(decoded.dotsPerMeterX(), 11811, 20);
    expectQuadrants(decoded, 8);
}

TEST(Jpeg, GreyStaysGreyAndTransparencyBecomesWhite)
{
    QImage grey(40, 40, QImage::Format_Grayscale8);
    grey.fill(QColor(90, 90, 90));
    const QImage greyDecoded = DecodeJpeg(EncodeJpeg(grey, 90));
    EXPECT_EQ(greyDecoded.format(), QImage::Format_Grayscale8);
    EXPECT_TRUE(near(greyDecoded.pixel(20, 20), QColor(90, 90, 90), 2));

    QImage clear(40, 40, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    EXPECT_TRUE(near(DecodeJpeg(EncodeJpeg(clear, 90)).pixel(20, 20), Qt::white, 2));
}

TEST(Jpeg, QualityRangeAndEffectOnSize)
{
    const QImage image = noise(64, 64);
    EXPECT_LT(EncodeJpeg(image, 10).size() * 2, EncodeJpeg(image, 95).size());
    EXPECT_NO_THROW(EncodeJpeg(image, kJpegMinQuality));
    EXPECT_NO_THROW(EncodeJpeg(image, kJpegMaxQuality));
    EXPECT_EQ(errorOf([&] { EncodeJpeg(image, 0); }), "INVALID JPEG QUALITY : 0");
    EXPECT_EQ(errorOf([&] { EncodeJpeg(image, 101); }), "INVALID JPEG QUALITY : 101");
    EXPECT_EQ(errorOf([] { EncodeJpeg(QImage(), 80); }), "INVALID IMAGE : EMPTY IMAGE");
}

TEST(Jpeg, DecodesCmykAndYcck)
{
    // Red, green, blue and a half-black grey, as ink.
    const std::array<std::array<int, 4>, 4> ink{
        {{0, 255, 255, 0}, {255, 0, 255, 0}, {255, 255, 0, 0}, {0, 0, 0, 128}}};
    const std::array<QColor, 4> expected{QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255),
                                         QColor(127, 127, 127)};
    struct Case
    {
        const char* name;
        J_COLOR_SPACE stored;
        bool adobe;
    };
    for (const Case& c : {Case{"adobe cmyk", JCS_CMYK, true}, Case{"plain cmyk", JCS_CMYK, false},
                          Case{"adobe ycck", JCS_YCCK, true}}) {
        SCOPED_TRACE(c.name);
        const QImage image = DecodeJpeg(cmykJpeg(ink, c.stored, c.adobe));
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(near(image.pixel(8 + i % 2 * 16, 8 + i / 2 * 16), expected[i], 10)) << i;
    }
}

TEST(Jpeg, DamagedDataRaisesErrors)
{
    const QByteArray good = EncodeJpeg(noise(128, 128), 80);
    // Frame header: marker, length, precision, then big-endian height and width.
    const QByteArray small = EncodeJpeg(quadrants(16, 16), 80);
    const int sof = static_cast<int>(small.indexOf("\xFF\xC0"));
    ASSERT_GT(sof, 0);
    auto withSize = [&](int width, int height) {
        QByteArray b = small;
        b[sof + 5] = static_cast<char>(height >> 8), b[sof + 6] = static_cast<char>(height & 0xFF);
        b[sof + 7] = static_cast<char>(width >> 8), b[sof + 8] = static_cast<char>(width & 0xFF);
        return b;
    };
    struct Case
    {
        const char* name;
        QByteArray data;
        const char* error;
    };
    const Case cases[] = {
        {"no bytes", QByteArray(), "INVALID IMAGE : DAMAGED JPEG DATA"},
        {"zero bytes", QByteArray(1000, '\0'), "INVALID IMAGE : DAMAGED JPEG DATA"},
        {"garbage after the start marker", QByteArray("\xFF\xD8") + QByteArray(200, 'A'),
         "INVALID IMAGE : DAMAGED JPEG DATA"},
        {"cut inside the headers", good.first(40), "INVALID IMAGE : DAMAGED JPEG DATA"},
        {"cut inside the body", good.first(good.size() * 2 / 3), "INVALID IMAGE : INCOMPLETE JPEG DATA"},
        {"one row over the cap", withSize(10000, 10001), "INVALID IMAGE : IMAGE TOO LARGE"},
        {"65000 x 65000", withSize(65000, 65000), "INVALID IMAGE : IMAGE TOO LARGE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorOf([&] { DecodeJpeg(c.data); }), c.error);
    }
}

TEST(Jpeg, EveryCutOrFlippedByteEndsWithoutCrash)
{
    const QByteArray good = EncodeJpeg(quadrants(24, 24), 75);
    for (qsizetype n = 0; n < good.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_TRUE(errorOf([&] { DecodeJpeg(good.first(n)); }).startsWith("INVALID IMAGE : "));
        QByteArray flipped = good;
        flipped[n] = static_cast<char>(flipped[n] ^ 0x5A);
        const QString error = errorOf([&] { DecodeJpeg(flipped); });
        EXPECT_TRUE(error == "<no error>" || error.startsWith("INVALID IMAGE : ")) << qPrintable(error);
    }
}

// ---------------------------------------------------------------------------------------------

constexpr int kPrefix = 5; // bytes written before each bitmap

TZVMemoryStream streamAround(const QByteArray& bitmap)
{
    TZVMemoryStream stream;
    stream.WriteI32(2700);
    stream.WriteU8(7);
    stream.Write(bitmap.constData(), bitmap.size());
    stream.WriteU32(0xCAFEF00D);
    stream.SetPosition(kPrefix);
    return stream;
}

TEST(Bmp, ReadsFromTheMiddleOfAStream)
{
    const QImage source = quadrants(7, 5); // odd width: rows need padding
    QImage withHole = source;
    withHole.setPixel(3, 2, qRgb(1, 2, 3));
    TZVMemoryStream stream;
    stream.WriteI32(2700);
    stream.WriteU8(7);
    WriteBmpToStream(withHole, stream);
    const qint64 end = stream.Position();
    stream.WriteU32(0xCAFEF00D);
    EXPECT_EQ(stream.Bytes()[kPrefix + 28], 24) << "bits per pixel";

    stream.SetPosition(kPrefix);
    const QImage read = ReadBmpFromStream(stream);
    EXPECT_EQ(stream.Position(), end);
    EXPECT_EQ(stream.ReadU32(), 0xCAFEF00Du);
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), withHole);

    stream.SetPosition(kPrefix);
    SkipBmpInStream(stream);
    EXPECT_EQ(stream.Position(), end);
}

TEST(Bmp, TransparencyIsWrittenAsWhite)
{
    QImage clear(3, 3, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    EXPECT_EQ(DecodeBmp(EncodeBmp(clear)).pixel(1, 1), qRgb(255, 255, 255));
}

TEST(Bmp, ReadsTheOldCoreHeader)
{
    // 2 x 2, 24 bits, bottom-up: a blue and a white pixel under a red and a green one.
    QByteArray bmp = QByteArray("BM") + QByteArray(24, '\0');
    putU32(bmp, 2, 42);
    putU32(bmp, 10, 26);
    putU32(bmp, 14, 12);
    putU16(bmp, 18, 2), putU16(bmp, 20, 2), putU16(bmp, 22, 1), putU16(bmp, 24, 24);
    bmp += QByteArray::fromHex("ff0000ffffff0000"
                               "0000ff00ff000000");
    const QImage image = DecodeBmp(bmp);
    ASSERT_EQ(image.size(), QSize(2, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(0, 1), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
}

TEST(Bmp, UndelimitedBitmapLeavesThePosition)
{
    const QByteArray good = EncodeBmp(quadrants(4, 4));
    auto withSize = [&](std::uint32_t size) {
        QByteArray b = good;
        putU32(b, 2, size);
        return b;
    };
    struct Case
    {
        const char* name;
        QByteArray bitmap;
    };
    const Case cases[] = {
        {"less than a file header", good.first(10)},
        {"not a bitmap", QByteArray("XM") + good.sliced(2)},
        {"length one past what remains", withSize(good.size() + 4 + 1)},
        {"absurd length", withSize(0xFFFFFFFF)},
        {"tiny length", withSize(10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVMemoryStream stream = streamAround(c.bitmap);
        EXPECT_EQ(errorOf([&] { ReadBmpFromStream(stream); }), "ERROR READING FILE");
        EXPECT_EQ(errorOf([&] { SkipBmpInStream(stream); }), "ERROR READING FILE");
        EXPECT_EQ(stream.Position(), kPrefix);
    }
}

TEST(Bmp, DamagedBitmapIsSkippedWithAnError)
{
    const QByteArray good = EncodeBmp(quadrants(4, 4));
    auto patched = [&](std::initializer_list<std::pair<int, std::uint32_t>> fields) {
        QByteArray b = good;
        for (const auto& [at, value] : fields)
            putU32(b, at, value);
        return b;
    };
    struct Case
    {
        const char* name;
        QByteArray bitmap;
        const char* error;
    };
    const Case cases[] = {
        {"a million by a million pixels", patched({{18, 1000000}, {22, 1000000}}),
         "INVALID IMAGE : IMAGE TOO LARGE"},
        {"lowest height", patched({{22, 0x80000000}}), "INVALID IMAGE : IMAGE TOO LARGE"},
        {"more rows than pixel bytes", patched({{22, 1000}}), "INVALID IMAGE : DAMAGED BITMAP"},
        {"negative width", patched({{18, 0xFFFFFFFC}}), "INVALID IMAGE : DAMAGED BITMAP"},
        {"zero height", patched({{22, 0}}), "INVALID IMAGE : DAMAGED BITMAP"},
        {"unknown header size", patched({{14, 41}}), "INVALID IMAGE : DAMAGED BITMAP"},
        {"header larger than the bitmap", patched({{14, 124}}).first(100), "INVALID IMAGE : DAMAGED BITMAP"},
        {"pixels after the end", patched({{10, 0x10000}}), "INVALID IMAGE : DAMAGED BITMAP"},
        {"two planes", patched({{26, 0x00180002}}) /* planes 2, bits 24 */, "INVALID IMAGE : DAMAGED BITMAP"},
        {"run-length coded 24 bits", patched({{30, 1}}), "INVALID IMAGE : DAMAGED BITMAP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bitmap = c.bitmap;
        putU32(bitmap, 2, static_cast<std::uint32_t>(bitmap.size()));
        TZVMemoryStream stream = streamAround(bitmap);
        EXPECT_EQ(errorOf([&] { ReadBmpFromStream(stream); }), c.error);
        EXPECT_EQ(stream.Position(), kPrefix + bitmap.size());
    }
}

TEST(Bmp, EveryFlippedHeaderByteEndsWithoutCrash)
{
    const QByteArray good = EncodeBmp(quadrants(6, 6));
    for (qsizetype n = 0; n < 54; ++n) {
        SCOPED_TRACE(n);
        QByteArray flipped = good;
        flipped[n] = static_cast<char>(flipped[n] ^ 0xA5);
        TZVMemoryStream stream = streamAround(flipped);
        const QString error = errorOf([&] { ReadBmpFromStream(stream); });
        if (error == "ERROR READING FILE")
            EXPECT_EQ(stream.Position(), kPrefix);
        else
            EXPECT_TRUE(error == "<no error>" || error.startsWith("INVALID IMAGE : ")) << qPrintable(error);
    }
}

// ---------------------------------------------------------------------------------------------

QByteArray pngBytes()
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    quadrants(8, 8).save(&buffer, "PNG");
    return png;
}

const QByteArray kPlaceableMetafile = bytes({0xD7, 0xCD, 0xC6, 0x9A}, 120);

TEST(Picture, LoadsDrawableFormatsFromBytes)
{
    QByteArray icon;
    QBuffer buffer(&icon);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(quadrants(16, 16).save(&buffer, "ICO"));
    struct Case
    {
        const char* name;
        QByteArray data;
        const char* error; // nullptr: a 16 x 16 picture
    };
    const Case cases[] = {
        {"jpeg", EncodeJpeg(quadrants(16, 16), 90), nullptr},
        {"bitmap", EncodeBmp(quadrants(16, 16)), nullptr},
        {"icon", icon, nullptr},
        {"png", pngBytes(), "INVALID IMAGE : UNSUPPORTED FORMAT"},
        {"placeable metafile", kPlaceableMetafile, "INVALID IMAGE : UNSUPPORTED FORMAT"},
        {"gif", bytes({'G', 'I', 'F', '8', '9', 'a'}), "INVALID IMAGE : UNSUPPORTED FORMAT"},
        {"bitmap under 44 bytes", bytes({'B', 'M'}, 43), "INVALID IMAGE : UNKNOWN FORMAT"},
        {"damaged jpeg", bytes({0xFF, 0xD8, 0xFF, 0xFF}, 60), "INVALID IMAGE : DAMAGED JPEG DATA"},
        {"damaged icon", bytes({0, 0, 1, 0, 1, 0}, 60), "INVALID IMAGE : DAMAGED ICON"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.error) {
            EXPECT_EQ(errorOf([&] { LoadPicture(c.data); }), c.error);
        } else {
            const QImage image = LoadPicture(c.data);
            EXPECT_EQ(image.size(), QSize(16, 16));
            expectQuadrants(image, 8);
        }
    }
}

TEST(Picture, LoadsFilesByExtensionAndContent)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    const std::pair<const char*, QByteArray> files[] = {
        {"sub/deep.bmp", EncodeBmp(quadrants(10, 10))},
        {"PHOTO.JPG", EncodeJpeg(quadrants(10, 10), 90)},
        {"bitmap-named.jpg", EncodeBmp(quadrants(10, 10))},
        {"logo.png", pngBytes()},
        {"bitmap-named.png", EncodeBmp(quadrants(10, 10))},
        {"drawing.wmf", kPlaceableMetafile},
        {"broken.jpg", EncodeJpeg(noise(32, 32), 90).first(500)},
    };
    for (const auto& [name, data] : files) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }
    const QString root = dir.path();
    QString allBackslashes = root + "/sub/deep.bmp";
    allBackslashes.replace('/', '\\');
    struct Case
    {
        QString path;
        bool loads;
    };
    const Case cases[] = {
        {root + "\\sub\\deep.bmp", true}, {allBackslashes, true},
        {root + "/PHOTO.JPG", true},      {root + "/bitmap-named.jpg", true},
        {root + "/logo.png", false},      {root + "/bitmap-named.png", false},
        {root + "/drawing.wmf", false},   {root + "/broken.jpg", false},
        {root + "/missing.bmp", false},   {root + "\\sub", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.path));
        if (c.loads)
            EXPECT_EQ(LoadPictureFile(c.path).size(), QSize(10, 10));
        else
            EXPECT_EQ(errorOf([&] { LoadPictureFile(c.path); }), "INVALID IMAGE : " + c.path);
    }
}

} // namespace
} // namespace zorvel

// Designs made elsewhere name pictures relative to the folder they were made in; base folders
// stand in for it without the process changing its working folder.
TEST(PicturePath, RelativePathsAreTriedFromTheBaseFoldersWhenTheyNameNoFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("DEMOS/DATA"));
    const QString picture = dir.filePath("DEMOS/DATA/PC1.jpg");
    QFile file(picture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.close();

    const QStringList before = zorvel::PictureBaseFolders();
    EXPECT_EQ(zorvel::LocalPicturePath("..\\DEMOS\\DATA\\PC1.jpg"), "../DEMOS/DATA/PC1.jpg")
        << "without base folders only the separators change";
    zorvel::SetPictureBaseFolders({dir.filePath("nothing"), dir.filePath("DEMOS")});
    EXPECT_EQ(zorvel::LocalPicturePath("..\\DEMOS\\DATA\\PC1.jpg"), QDir::cleanPath(picture));
    EXPECT_EQ(zorvel::LocalPicturePath("..\\DEMOS\\DATA\\PC2.jpg"), "../DEMOS/DATA/PC2.jpg")
        << "a file found nowhere keeps its own path";
    EXPECT_EQ(zorvel::LocalPicturePath("/abs/PC1.jpg"), "/abs/PC1.jpg");
    zorvel::SetPictureBaseFolders(before);
}

// ---------------------------------------------------------------------------------------------

namespace zorvel {
namespace {

// A bitmap of 8-bit run-length coded pixels over a black and white palette.
QByteArray runLengthBitmap(int width, int height, const QByteArray& runs)
{
    constexpr int kHeaders = 14 + 40 + 2 * 4;
    QByteArray b(kHeaders, '\0');
    b[0] = 'B', b[1] = 'M';
    putU32(b, 2, static_cast<std::uint32_t>(kHeaders + runs.size()));
    putU32(b, 10, kHeaders);
    putU32(b, 14, 40);
    putU32(b, 18, static_cast<std::uint32_t>(width));
    putU32(b, 22, static_cast<std::uint32_t>(height));
    putU16(b, 26, 1);
    putU16(b, 28, 8);
    putU32(b, 30, 1); // RLE8
    putU32(b, 34, static_cast<std::uint32_t>(runs.size()));
    putU32(b, 46, 2); // colours used
    putU32(b, 58, 0x00FFFFFF);
    return b + runs;
}

// An icon whose only entry is `png` (the directory says 256 x 256).
QByteArray iconOfPng(const QByteArray& png)
{
    QByteArray b(6 + 16, '\0');
    putU16(b, 2, 1);
    putU16(b, 4, 1);
    putU16(b, 10, 1);
    putU16(b, 12, 32);
    putU32(b, 14, static_cast<std::uint32_t>(png.size()));
    putU32(b, 18, 6 + 16);
    return b + png;
}

QByteArray flatPng(int side)
{
    QImage image(side, side, QImage::Format_Mono);
    image.fill(1);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// Grey, Huffman tables fitted to the picture: the fewest bytes libjpeg writes a flat page in.
QByteArray flatOptimisedGreyJpeg(int width, int height)
{
    return writeJpeg(
        width, height, 1, JCS_GRAYSCALE, [](jpeg_compress_struct& cinfo) { cinfo.optimize_coding = TRUE; },
        [width](int, JSAMPLE* row) { std::fill(row, row + width, JSAMPLE(255)); });
}

TEST(Picture, DeclaredSizeIsBoundedByWhatTheDataCanHold)
{
    QFile bomb(QStringLiteral(ZORVEL_TEST_DATA_DIR "/fuzz-regressions/jpeg-oom-90-megapixels.jpg"));
    ASSERT_TRUE(bomb.open(QIODevice::ReadOnly));

    // A JPEG codes every block of a scanned component with one bit at least: 8 x 8 pixels a bit
    // for grey, 16 x 16 for the chroma of 4:2:0 colour (what EncodeJpeg writes).
    const QByteArray grey = EncodeJpeg(quadrants(16, 16).convertToFormat(QImage::Format_Grayscale8), 80);
    const QByteArray colour = EncodeJpeg(quadrants(16, 16), 80);
    auto withSize = [](QByteArray b, int width, qsizetype height) {
        const int sof = static_cast<int>(b.indexOf("\xFF\xC0"));
        b[sof + 5] = static_cast<char>(height >> 8), b[sof + 6] = static_cast<char>(height & 0xFF);
        b[sof + 7] = static_cast<char>(width >> 8), b[sof + 8] = static_cast<char>(width & 0xFF);
        return b;
    };
    QImage whitePage(1240, 1754, QImage::Format_RGB32);
    whitePage.fill(Qt::white);
    // Rows of four runs of 250 pixels and an end of line; the end of the bitmap.
    QByteArray flatRuns;
    for (int y = 0; y < 100; ++y)
        flatRuns += QByteArray("\xFA\x01\xFA\x01\xFA\x01\xFA\x01\x00\x00", 10);
    flatRuns += QByteArray("\x00\x01", 2);

    struct Case
    {
        const char* name;
        QByteArray data;
        const char* error; // nullptr: decoded at `size`
        QSize size;
    };
    const Case cases[] = {
        {"257 bytes of JPEG declaring 90 megapixels", bomb.readAll(), "INVALID IMAGE : IMAGE TOO LARGE", {}},
        {"grey JPEG at 512 pixels a byte goes on to its data", withSize(grey, 512, grey.size()),
         "INVALID IMAGE : INCOMPLETE JPEG DATA", {}},
        {"grey JPEG one row more", withSize(grey, 512, grey.size() + 1), "INVALID IMAGE : IMAGE TOO LARGE", {}},
        {"colour JPEG at 2048 pixels a byte goes on to its data", withSize(colour, 2048, colour.size()),
         "INVALID IMAGE : INCOMPLETE JPEG DATA", {}},
        {"colour JPEG one row more", withSize(colour, 2048, colour.size() + 1),
         "INVALID IMAGE : IMAGE TOO LARGE", {}},
        {"flat white A4 page at 150 dpi, grey and optimised", flatOptimisedGreyJpeg(1240, 1754), nullptr,
         {1240, 1754}},
        {"flat white A4 page at 150 dpi, baseline colour", EncodeJpeg(whitePage, 90), nullptr, {1240, 1754}},
        {"run-length bitmap ending at once, 2000 x 2000", runLengthBitmap(2000, 2000, QByteArray("\x00\x01", 2)),
         "INVALID IMAGE : IMAGE TOO LARGE", {}},
        {"flat run-length bitmap", runLengthBitmap(1000, 100, flatRuns), nullptr, {1000, 100}},
        {"icon with a PNG of 5000 x 5000", iconOfPng(flatPng(5000)), "INVALID IMAGE : IMAGE TOO LARGE", {}},
        {"icon with a PNG of 256 x 256", iconOfPng(flatPng(256)), nullptr, {256, 256}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.error) {
            EXPECT_EQ(errorOf([&] { LoadPicture(c.data); }), c.error);
        } else {
            EXPECT_EQ(LoadPicture(c.data).size(), c.size);
        }
    }
}

} // namespace
} // namespace zorvel
