// Writes the seed corpora of the fuzz targets: zorvel_fuzz_seeds OUT_DIR SOURCE_DIR.
// The label streams are made by the command-line tool; see CMakeLists.txt.
#include "document/ZVDesignJson.h"
#include "foundation/ZVError.h"
#include "platform/ZVBmp.h"
#include "platform/ZVJpeg.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <cstdio>

using namespace zorvel;

namespace {

bool g_ok = true;

void put(const QString& dir, const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(dir);
    QFile file(dir + u'/' + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        g_ok = false;
    }
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        g_ok = false;
        return {};
    }
    return file.readAll();
}

QByteArray qtEncoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage sample(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h, Qt::red);
    p.fillRect(w / 2, h / 2, w / 2, h / 2, QColor(0, 0, 255, 128));
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: zorvel_fuzz_seeds OUT_DIR SOURCE_DIR\n", stderr);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString src = QString::fromLocal8Bit(argv[2]);

    // symbols_design is in layout 2800 (libzint symbologies with options), wide_symbols_design in
    // 2900 (contents beyond Windows-1252).
    for (const char* name : {"design.json", "render_design.json", "detail_design.json", "symbols_design.json",
                             "wide_symbols_design.json"}) {
        const QByteArray json = readFile(src + QStringLiteral("/tests/data/") + QLatin1StringView(name));
        put(out + QStringLiteral("/design_json"), QString::fromLatin1(name), json);
        // The paint and print target: a first byte choosing the reader (1 JSON, 0 the stream) and
        // the run's length, then the design.
        const QString paintRun = out + QStringLiteral("/paint_run");
        put(paintRun, QString::fromLatin1(name), QByteArray(1, '\x0D') + json);
        try {
            put(paintRun, QString::fromLatin1(name).replace(u".json"_qs, u".zvl"_qs),
                QByteArray(1, '\x0C') + JsonToStream(json));
        } catch (const EZvError& e) {
            std::fprintf(stderr, "%s: %s\n", name, e.what());
            g_ok = false;
        }
    }

    // Inputs that once failed the paint and print target stay in its corpus.
    const QDir regressions(src + QStringLiteral("/tests/data/fuzz-regressions"));
    for (const QString& name : regressions.entryList({QStringLiteral("paint_run-*")}, QDir::Files))
        put(out + QStringLiteral("/paint_run"), name, readFile(regressions.filePath(name)));

    // Pictures: small, so that mutations stay cheap.
    const QImage colour = sample(7, 5);
    const QString pictures = out + QStringLiteral("/picture");
    put(pictures, u"rgb24.bmp"_qs, EncodeBmp(colour));
    put(pictures, u"colour.jpg"_qs, EncodeJpeg(colour, 75));
    put(pictures, u"grey.jpg"_qs, EncodeJpeg(colour.convertToFormat(QImage::Format_Grayscale8), 50));
    put(pictures, u"indexed8.bmp"_qs, qtEncoded(colour.convertToFormat(QImage::Format_Indexed8), "BMP"));
    put(pictures, u"mono.bmp"_qs, qtEncoded(colour.convertToFormat(QImage::Format_Mono), "BMP"));
    put(pictures, u"argb32.bmp"_qs, qtEncoded(colour, "BMP"));
    const QByteArray icon = qtEncoded(colour, "ICO");
    if (!icon.isEmpty())
        put(pictures, u"small.ico"_qs, icon);

    // Catalogue lines: the head of the shipped catalogue plus the awkward forms.
    QByteArray defs;
    const QList<QByteArray> shipped = readFile(src + QStringLiteral("/data/labels.dls")).split('\n');
    for (qsizetype i = 0; i < shipped.size() && i < 8; ++i)
        defs += shipped[i] + '\n';
    put(out + QStringLiteral("/label_defs"), u"labels.dls"_qs, defs);
    put(out + QStringLiteral("/label_defs"), u"quoted.dls"_qs,
        "^Name with | and ^^caret^^^|1|User|2|8,5|11|2,625|1|0,125|0|0,1875|0,5|3|10|extra\r\n"
        "Short|0|A4\r\n"
        "Big|0|A4|0|1.234,50|297|99999999999|38,1|-2,5|0|4,65|15,15|999|-7\r\n");
    put(out + QStringLiteral("/label_defs"), u"utf8.dls"_qs, "\xEF\xBB\xBF^\xC3\xA9tiquette^|0|A5|1|148|210|70|37|0|0|0|0|2|5\n");

    const QString filters = out + QStringLiteral("/filter_expr");
    const char* const filterTexts[] = {
        "[ID] = 42",
        "NAME = 'O''Brien' AND NOT (PRICE < 12.5 OR OK)",
        "DAY >= '2024-03-01' and STAMP < '2024-03-02 00:00' and AT <> '12:30'",
        "[NOTHING] = NULL or MEMO <> null",
        "BIG > 1e3 AND CUR = -0 AND ANY = 1000 AND BLOB <> 'x'",
        "((((NOT NOT TRUE))))",
        "OK",
        "",
        "[Missing Field] = 1",
        "ID = ",
    };
    int n = 0;
    for (const char* text : filterTexts)
        put(filters, QStringLiteral("f%1.txt").arg(n++), QByteArray(text));

    put(out + QStringLiteral("/ini_file"), u"lang.ini"_qs,
        "; translation\r\n"
        "stray=before any section\r\n"
        "[Messages]\r\n"
        "Title=\"  spaced  \"\r\n"
        "title=second wins not\r\n"
        "[captions]\r\n"
        "OK=D\xE9j\xE0\r\n"
        "novalue\r\n"
        "[Messages]\r\n"
        "Other='x'\r\n");
    put(out + QStringLiteral("/ini_file"), u"utf8.ini"_qs, "\xEF\xBB\xBF[Messages]\nTitle=\xC3\xA9t\xC3\xA9\n");

    put(out + QStringLiteral("/csv"), u"kinds.csv"_qs,
        "\xEF\xBB\xBFid,name,price,ok,day,stamp,code,big\r\n"
        "1,\"Smith, J\",12.5,true,2024-03-01,2024-03-01 08:00:30,007,9000000000\r\n"
        "2,\"say \"\"hi\"\"\nthere\",,false,2024-02-29,2024-03-01 08:00,+12,-1\r\n"
        "\r\n"
        "3,x,1e3,TRUE,,,,\r");
    put(out + QStringLiteral("/csv"), u"bad.csv"_qs, "a,b\n1,\"open\n");
    return g_ok ? 0 : 1;
}
