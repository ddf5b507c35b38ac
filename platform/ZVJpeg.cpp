// JPEG decoding and encoding through libjpeg, with its fatal errors turned into EZvError.
#include "platform/ZVJpeg.h"

#include "foundation/ZVError.h"
#include "foundation/ZVPictureFormat.h"
#include "platform/ZVPicture.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>
#include <vector>

// libjpeg's fatal errors leave through longjmp, never through a C++ exception: unwinding across
// its C frames is not supported. Every function that calls setjmp below keeps only trivially
// destructible locals, and everything owning memory lives in the caller's frame, so the jump
// skips no destructor.

namespace zorvel {
namespace {

struct JpegErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

// The default error_exit calls exit().
[[noreturn]] void jpegErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings still count in num_warnings; they just stay off stderr.
void jpegOutputMessage(j_common_ptr) {}

void installErrorManager(JpegErrorManager& err)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = jpegErrorExit;
    err.pub.output_message = jpegOutputMessage;
}

// Colour output matching Format_RGB32 in memory (0xffRRGGBB as a native 32-bit word); the alpha
// variant because libjpeg leaves the X byte of the padded layouts unwritten.
constexpr J_COLOR_SPACE kRgb32ColorSpace = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;

constexpr double kInchesPerMetre = 1.0 / 0.0254;

// ---------------------------------------------------------------------------------------------
// Decoding

struct Decoder
{
    Decoder()
    {
        installErrorManager(err);
        cinfo.err = &err.pub;
    }
    ~Decoder() { jpeg_destroy_decompress(&cinfo); } // harmless on a struct never created
    Q_DISABLE_COPY_MOVE(Decoder)

    jpeg_decompress_struct cinfo{};
    JpegErrorManager err{};
};

bool readHeader(Decoder& d, QByteArrayView data)
{
    if (setjmp(d.err.jump)) return false;
    jpeg_create_decompress(&d.cinfo);
    jpeg_mem_src(&d.cinfo, reinterpret_cast<const unsigned char*>(data.data()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d.cinfo, TRUE);
    return true;
}

// Huffman codes are at least one bit long, and a JPEG has at least one scan, which codes every
// 8 x 8 block of its components with at least one code. A block of a subsampled component
// covers up to 4 x 4 times as many pixels, so the file holds at most 8 x (largest block) pixels
// a byte: 512 for grey, 2048 for the usual 4:2:0 colour. libjpeg writes a flat white A4 page at
// 300 dpi with 64 (baseline colour) to 255 (optimised grey) pixels a byte, well inside.
// Arithmetic coding can pack a flat page much tighter (that same page in 128 bytes); it is held
// to the same bound, which only pictures with next to nothing in them exceed.
std::int64_t maxPixelsPerByte(const jpeg_decompress_struct& cinfo)
{
    std::int64_t largestBlock = DCTSIZE2;
    for (int i = 0; i < cinfo.num_components; ++i) {
        const jpeg_component_info& c = cinfo.comp_info[i];
        const std::int64_t share = std::int64_t{c.h_samp_factor} * c.v_samp_factor;
        if (share <= 0) continue;
        const std::int64_t whole = std::int64_t{DCTSIZE2} * cinfo.max_h_samp_factor * cinfo.max_v_samp_factor;
        largestBlock = std::max(largestBlock, (whole + share - 1) / share);
    }
    return 8 * largestBlock;
}

// Adobe writes CMYK inverted (0 = full ink); plain CMYK is not.
void cmykRowToRgb32(const JSAMPLE* cmyk, QRgb* out, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

bool readPixels(Decoder& d, QImage* image, JSAMPLE* cmykRow)
{
    if (setjmp(d.err.jump)) return false;
    jpeg_start_decompress(&d.cinfo);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        const JDIMENSION y = d.cinfo.output_scanline;
        JSAMPROW row = cmykRow ? cmykRow : image->scanLine(static_cast<int>(y));
        if (jpeg_read_scanlines(&d.cinfo, &row, 1) != 1) return false;
        if (cmykRow) {
            cmykRowToRgb32(cmykRow, reinterpret_cast<QRgb*>(image->scanLine(static_cast<int>(y))),
                           d.cinfo.output_width, d.cinfo.saw_Adobe_marker);
        }
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Encoding

// Collects the compressed bytes in a QByteArray. A failed append must not throw through libjpeg,
// so it is turned into libjpeg's own out-of-memory error.
struct ByteArrayDestination
{
    static constexpr std::size_t kChunk = 16 * 1024;

    jpeg_destination_mgr pub;
    QByteArray* out;
    JOCTET chunk[kChunk];

    static ByteArrayDestination* of(j_compress_ptr cinfo)
    {
        return reinterpret_cast<ByteArrayDestination*>(cinfo->dest);
    }
    static void append(j_compress_ptr cinfo, std::size_t count)
    {
        ByteArrayDestination* self = of(cinfo);
        bool appended = true;
        try {
            self->out->append(reinterpret_cast<const char*>(self->chunk), static_cast<qsizetype>(count));
        } catch (...) {
            appended = false;
        }
        if (!appended) {
            cinfo->err->msg_code = JERR_OUT_OF_MEMORY;
            cinfo->err->error_exit(reinterpret_cast<j_common_ptr>(cinfo));
        }
    }
    static void init(j_compress_ptr cinfo)
    {
        ByteArrayDestination* self = of(cinfo);
        self->pub.next_output_byte = self->chunk;
        self->pub.free_in_buffer = kChunk;
    }
    static boolean empty(j_compress_ptr cinfo)
    {
        append(cinfo, kChunk); // the whole chunk, whatever free_in_buffer says
        init(cinfo);
        return TRUE;
    }
    static void term(j_compress_ptr cinfo) { append(cinfo, kChunk - of(cinfo)->pub.free_in_buffer); }
};

struct Encoder
{
    explicit Encoder(QByteArray* out)
    {
        installErrorManager(err);
        cinfo.err = &err.pub;
        dest.pub.init_destination = ByteArrayDestination::init;
        dest.pub.empty_output_buffer = ByteArrayDestination::empty;
        dest.pub.term_destination = ByteArrayDestination::term;
        dest.out = out;
    }
    ~Encoder() { jpeg_destroy_compress(&cinfo); }
    Q_DISABLE_COPY_MOVE(Encoder)

    jpeg_compress_struct cinfo{};
    JpegErrorManager err{};
    ByteArrayDestination dest{};
};

bool compress(Encoder& e, const QImage& image, int quality)
{
    if (setjmp(e.err.jump)) return false;
    jpeg_create_compress(&e.cinfo);
    e.cinfo.dest = &e.dest.pub;
    const bool grey = image.format() == QImage::Format_Grayscale8;
    e.cinfo.image_width = static_cast<JDIMENSION>(image.width());
    e.cinfo.image_height = static_cast<JDIMENSION>(image.height());
    e.cinfo.input_components = grey ? 1 : 3;
    e.cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&e.cinfo);
    jpeg_set_quality(&e.cinfo, quality, TRUE);
    const long dpi = std::lround(image.dotsPerMeterX() / kInchesPerMetre);
    const long dpiY = std::lround(image.dotsPerMeterY() / kInchesPerMetre);
    if (dpi > 0 && dpi <= 65535 && dpiY > 0 && dpiY <= 65535) {
        e.cinfo.density_unit = 1; // dots per inch
        e.cinfo.X_density = static_cast<UINT16>(dpi);
        e.cinfo.Y_density = static_cast<UINT16>(dpiY);
    }
    jpeg_start_compress(&e.cinfo, TRUE);
    while (e.cinfo.next_scanline < e.cinfo.image_height) {
        // libjpeg only reads the rows it is given.
        JSAMPROW row = const_cast<JSAMPLE*>(image.constScanLine(static_cast<int>(e.cinfo.next_scanline)));
        jpeg_write_scanlines(&e.cinfo, &row, 1);
    }
    jpeg_finish_compress(&e.cinfo);
    return true;
}

} // namespace

QImage DecodeJpeg(QByteArrayView data)
{
    Decoder d;
    if (data.isEmpty() || !readHeader(d, data)) throw InvalidImageError(QStringLiteral("DAMAGED JPEG DATA"));

    jpeg_decompress_struct& cinfo = d.cinfo;
    // Checked before libjpeg sets up its buffers (whole-image ones for progressive files) and
    // before the picture is allocated.
    if (!PictureFitsData(cinfo.image_width, cinfo.image_height, data.size(), maxPixelsPerByte(cinfo)))
        throw InvalidImageError(QStringLiteral("IMAGE TOO LARGE"));

    QImage::Format format = QImage::Format_RGB32;
    bool cmyk = false;
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        cinfo.out_color_space = JCS_GRAYSCALE;
        format = QImage::Format_Grayscale8;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo.out_color_space = JCS_CMYK; // libjpeg turns YCCK into CMYK
        cmyk = true;
        break;
    default:
        cinfo.out_color_space = kRgb32ColorSpace;
        break;
    }

    // Scaling stays off, so the output has the header's dimensions.
    QImage image(static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height), format);
    if (image.isNull()) throw InvalidImageError(QStringLiteral("IMAGE TOO LARGE"));
    std::vector<JSAMPLE> cmykRow(cmyk ? std::size_t{cinfo.image_width} * 4 : 0);

    if (!readPixels(d, &image, cmyk ? cmykRow.data() : nullptr))
        throw InvalidImageError(QStringLiteral("DAMAGED JPEG DATA"));
    if (cinfo.err->num_warnings != 0) throw InvalidImageError(QStringLiteral("INCOMPLETE JPEG DATA"));

    const double scale = cinfo.density_unit == 1 ? kInchesPerMetre : cinfo.density_unit == 2 ? 100.0 : 0.0;
    if (scale > 0 && cinfo.X_density > 0 && cinfo.Y_density > 0) {
        image.setDotsPerMeterX(static_cast<int>(std::lround(cinfo.X_density * scale)));
        image.setDotsPerMeterY(static_cast<int>(std::lround(cinfo.Y_density * scale)));
    }
    return image;
}

QByteArray EncodeJpeg(const QImage& image, int quality)
{
    if (quality < kJpegMinQuality || quality > kJpegMaxQuality)
        throw EZvError(QStringLiteral("INVALID JPEG QUALITY : %1").arg(quality));
    if (image.isNull()) throw InvalidImageError(QStringLiteral("EMPTY IMAGE"));
    if (image.width() > JPEG_MAX_DIMENSION || image.height() > JPEG_MAX_DIMENSION)
        throw InvalidImageError(QStringLiteral("IMAGE TOO LARGE"));

    const QImage source =
        image.format() == QImage::Format_Grayscale8 ? image : OpaqueImage(image, QImage::Format_RGB888);
    QByteArray out;
    Encoder e(&out);
    if (!compress(e, source, quality)) throw InvalidImageError(QStringLiteral("JPEG ENCODING FAILED"));
    return out;
}

} // namespace zorvel
