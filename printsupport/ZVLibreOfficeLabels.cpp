// LibreOffice's labels.xml read with QXmlStreamReader; measures in hundredths of a millimetre.
#include "printsupport/ZVLibreOfficeLabels.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cmath>

namespace zorvel {
namespace {

// "S;HDist;VDist;Width;Height;Left;Upper;Cols;Rows;PaperWidth;PaperHeight": the distances are
// the pitch, all lengths in 1/100 mm; older files separate them with ','.
enum TMeasure : int
{
    mKind,
    mPitchX,
    mPitchY,
    mWidth,
    mHeight,
    mLeft,
    mTop,
    mCols,
    mRows,
    mPaperWidth,
    mPaperHeight,
    mCount
};
constexpr double kMmPerUnit = 0.01;
constexpr int kMaxGridCount = 1000;

QString lineOf(const QXmlStreamReader& xml)
{
    return QStringLiteral("line %1").arg(xml.lineNumber());
}

// The stock of one <measure>; an empty text on success in `error`.
TZVStock stockFromMeasure(const QString& measure, QString& error)
{
    const QStringList parts = measure.split(QRegularExpression(QStringLiteral("[;,]")));
    TZVStock stock;
    if (parts.size() != mCount) {
        error = QStringLiteral("holds %1 measures instead of %2").arg(parts.size()).arg(int(mCount));
        return stock;
    }
    const QString kind = parts[mKind].trimmed().toUpper();
    double v[mCount] = {};
    for (int i = mPitchX; i < mCount; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toDouble(&ok);
        const bool count = i == mCols || i == mRows;
        const bool size = i == mWidth || i == mHeight || i == mPaperWidth || i == mPaperHeight;
        if (!ok || !std::isfinite(v[i]) || v[i] < 0 || (size && v[i] <= 0) ||
            (count && (v[i] != std::floor(v[i]) || v[i] < 1 || v[i] > kMaxGridCount))) {
            error = QStringLiteral("has a measure that is no length or count: \"%1\"").arg(parts[i].trimmed());
            return stock;
        }
    }
    if (kind != u"S" && kind != u"C") {
        error = QStringLiteral("is neither a sheet (S) nor a continuous form (C): \"%1\"").arg(parts[mKind]);
        return stock;
    }
    stock.LabelWidth = v[mWidth] * kMmPerUnit;
    stock.LabelHeight = v[mHeight] * kMmPerUnit;
    stock.Columns = int(v[mCols]);
    stock.Rows = int(v[mRows]);
    stock.GapX = stock.Columns > 1 ? (v[mPitchX] - v[mWidth]) * kMmPerUnit : 0;
    stock.GapY = stock.Rows > 1 ? (v[mPitchY] - v[mHeight]) * kMmPerUnit : 0;
    stock.MarginLeft = v[mLeft] * kMmPerUnit;
    stock.MarginTop = v[mTop] * kMmPerUnit;
    stock.PaperWidth = v[mPaperWidth] * kMmPerUnit;
    stock.PaperHeight = v[mPaperHeight] * kMmPerUnit;
    if (kind == u"C") {
        // A continuous form as a roll: each page one row of labels, one pitch long.
        stock.PaperHeight = std::max(v[mPitchY], v[mHeight]) * kMmPerUnit;
        stock.Rows = 1;
        stock.GapY = 0;
        stock.MarginTop = 0;
        stock.PaperName = StockPaperName(u"User", 0, 0);
    } else {
        stock.PaperName = StockPaperName({}, stock.PaperWidth, stock.PaperHeight);
    }
    return stock;
}

} // namespace

bool IsLibreOfficeLabels(const QByteArray& xmlBytes)
{
    QXmlStreamReader xml(xmlBytes);
    return xml.readNextStartElement() && xml.name() == u"manufacturers";
}

QString ReadLibreOfficeLabels(const QByteArray& xmlBytes, const QString& source, QList<TZVStock>& stocks)
{
    QXmlStreamReader xml(xmlBytes);
    if (!xml.readNextStartElement() || xml.name() != u"manufacturers")
        return xml.hasError() ? QStringLiteral("%1: the XML is damaged (%2).").arg(lineOf(xml), xml.errorString())
                              : QStringLiteral("it is not a LibreOffice label list.");
    QList<TZVStock> read;
    while (xml.readNextStartElement()) {
        if (xml.name() != u"manufacturer") {
            xml.skipCurrentElement();
            continue;
        }
        const QString brand = xml.attributes().value(QStringLiteral("name")).trimmed().toString();
        while (xml.readNextStartElement()) {
            if (xml.name() != u"label") {
                xml.skipCurrentElement();
                continue;
            }
            const QString line = lineOf(xml);
            QString name;
            QString measure;
            while (xml.readNextStartElement()) {
                if (xml.name() == u"name")
                    name = xml.readElementText().simplified();
                else if (xml.name() == u"measure")
                    measure = xml.readElementText().trimmed();
                else
                    xml.skipCurrentElement();
            }
            if (xml.hasError()) break;
            QString error;
            TZVStock stock = stockFromMeasure(measure, error);
            if (!error.isEmpty())
                return QStringLiteral("%1: the label \"%2 %3\" %4.").arg(line, brand, name, error);
            stock.Brand = brand;
            const qsizetype space = name.indexOf(u' ');
            stock.Part = space < 0 ? name : name.left(space);
            stock.Description = space < 0 ? QString() : name.mid(space + 1);
            stock.Source = source;
            read.append(stock);
        }
    }
    if (xml.hasError()) return QStringLiteral("%1: the XML is damaged (%2).").arg(lineOf(xml), xml.errorString());
    stocks.append(read);
    return {};
}

} // namespace zorvel
