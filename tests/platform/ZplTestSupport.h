// Shared pieces of the ZPL tests: a roll design from JSON, printing it to ZPL, reading ^GF back.
#pragma once

#include "document/ZVCustomLab.h"
#include "document/ZVDesignJson.h"
#include "platform/ZVZplPrinter.h"
#include "tests/support/TestApplication.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zorvel::test {

// A 57 x 32 mm roll label (one label a page, no margins) with `elements` (JSON objects).
inline QByteArray rollDesign(const QByteArray& elements, int labels = 1)
{
    return R"({"Units": 0, "Measure": {"Width": 5700, "Height": 3200, "NuHor": 1, "NuVer": 1, "MarLeft": 0,
        "MarTop": 0, "DiHor": 0, "DiVer": 0, "PaperWidth": 5700, "PaperHeight": 3200},
        "Frame": {"Style": 0}, "PrintInfo": {"NumLabels": )" +
           QByteArray::number(labels) + R"(}, "Elements": [)" + elements + "]}";
}

// The ZPL of `json` printed at `dpi`, calibrated by `home` mm.
inline QByteArray printZpl(const QByteArray& json, int dpi, QPointF home = {})
{
    ensureGuiApplication();
    TZVLab label;
    DesignFromJson(label, json);
    QTemporaryDir dir;
    const QString file = dir.filePath("labels.zpl");
    TZVZplPrinter printer(file, dpi);
    printer.SetHomeMm(home);
    EXPECT_TRUE(label.Print(printer));
    QFile in(file);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    return in.readAll();
}

// What a label's boxes (^GB, black or white, filled or framed) and graphics (^GF, a ^FR one
// flipping dots) print, in the order of the file: an independent reader of ZPL's hex rows, run
// counts (G..Y, g..z), "," "!" and ":".
inline QImage printedDots(const QByteArray& zpl, QSize dots)
{
    QImage image(dots, QImage::Format_Grayscale8);
    image.fill(255);
    const auto put = [&](int x, int y, int value) {
        if (image.rect().contains(x, y)) image.scanLine(y)[x] = uchar(value < 0 ? 255 - image.scanLine(y)[x] : value);
    };
    static const QRegularExpression field(QStringLiteral(
        R"(\^FO(\d+),(\d+)(?:\^GB(\d+),(\d+),(\d+),([BW])|(\^FR)?\^GFA,(\d+),\d+,(\d+),([^\^]*)))"));
    for (auto it = field.globalMatch(QString::fromLatin1(zpl)); it.hasNext();) {
        const auto m = it.next();
        const int x0 = m.captured(1).toInt(), y0 = m.captured(2).toInt();
        if (!m.captured(3).isEmpty()) {
            const int w = m.captured(3).toInt(), h = m.captured(4).toInt(), t = m.captured(5).toInt();
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if (x < t || y < t || x >= w - t || y >= h - t) put(x0 + x, y0 + y, m.captured(6) == "B" ? 0 : 255);
            continue;
        }
        const bool flip = !m.captured(7).isEmpty();
        const int total = m.captured(8).toInt(), perRow = m.captured(9).toInt();
        QString data = m.captured(10);
        data.remove(QLatin1Char('\n'));
        std::vector<QString> rows;
        QString row;
        int count = 0;
        for (const QChar c : data) {
            const char ch = char(c.unicode());
            if (ch >= 'G' && ch <= 'Y') {
                count += ch - 'G' + 1;
            } else if (ch >= 'g' && ch <= 'z') {
                count += (ch - 'g' + 1) * 20;
            } else if (ch == ',' || ch == '!') {
                row += QString(2 * perRow - row.size(), QLatin1Char(ch == ',' ? '0' : 'F'));
            } else if (ch == ':') {
                row = rows.empty() ? QString(2 * perRow, QLatin1Char('0')) : rows.back();
            } else {
                row += QString(std::max(count, 1), c);
                count = 0;
            }
            if (row.size() >= 2 * perRow) {
                rows.push_back(row.left(2 * perRow));
                row.clear();
            }
        }
        EXPECT_EQ(int(rows.size()) * perRow, total) << "rows of the graphic at " << x0 << "," << y0;
        for (int y = 0; y < int(rows.size()); ++y)
            for (int x = 0; x < 8 * perRow; ++x)
                if (rows[std::size_t(y)].mid(x / 4, 1).toInt(nullptr, 16) & (8 >> (x % 4)))
                    put(x0 + x, y0 + y, flip ? -1 : 0);
    }
    return image;
}

} // namespace zorvel::test
