// A label stock: its catalogue line, search, assignment to a label, and its paper's name.
#include "printsupport/ZVStock.h"

#include "document/ZVCustomLab.h"
#include "foundation/ZVStrings.h"
#include "printsupport/ZVLabelDefs.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>

namespace zorvel {
namespace {

struct TShapeRow
{
    TZVStockShape Shape;
    const char16_t* Key;  // field ldfShape
    const char16_t* Shown; // ShapeName()
};

// clang-format off
constexpr std::array<TShapeRow, 4> kShapes = {{
    {TZVStockShape::Rectangle, u"rectangle", u"rectangle"},
    {TZVStockShape::Round,     u"round",     u"round"},
    {TZVStockShape::Ellipse,   u"ellipse",   u"ellipse"},
    {TZVStockShape::Disc,      u"disc",      u"CD/DVD"},
}};
// clang-format on

const TShapeRow& shapeRow(TZVStockShape shape)
{
    return *std::find_if(kShapes.begin(), kShapes.end(), [shape](const TShapeRow& r) { return r.Shape == shape; });
}

double mmPerUnit(TZVUnits units)
{
    switch (units) {
    case unINCH:
        return 25.4;
    case unCM:
        return 10;
    case unMM:
        break;
    }
    return 1;
}

// Micrometres are finer than any maker's figure and keep the lines short.
QString formatMm(double mm)
{
    return FormatDefGeneral(std::round(mm * 1000) / 1000);
}

// mm, a size typed in a search: boxes print rounded sizes, and a template may differ from its box
// by almost half a millimetre (Avery L7160: 63.99 mm wide in the data, "63.5 x 38.1" on the box).
constexpr double kSizeTolerance = 0.5;
constexpr double kNamedPaperTolerance = 1; // mm: "B4" of the table is 250 x 354, of ISO 250 x 353
constexpr double kPaperTolerance = 0.5;    // mm, a sheet matched to the table by its size alone

bool sameSize(double w1, double h1, double w2, double h2, double tolerance)
{
    const auto near = [tolerance](double a, double b) { return std::abs(a - b) <= tolerance; };
    return (near(w1, w2) && near(h1, h2)) || (near(w1, h2) && near(h1, w2));
}

// "63.5 x 38.1", "63,5x38,1", "2 x 4 in", "2x4in", "2 x 4 inch".
const QRegularExpression& sizePattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("(\\d+(?:[.,]\\d+)?)\\s*[x\u00d7*]\\s*(\\d+(?:[.,]\\d+)?)(?:\\s*(mm|cm|in(?:ch(?:es)?)?|\")(?![\\w]))?"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

double searchNumber(QString text)
{
    return text.replace(u',', u'.').toDouble();
}

} // namespace

QString TZVStock::Name() const
{
    if (Brand.isEmpty() && Part.isEmpty()) return Description;
    if (Brand.isEmpty()) return Part;
    if (Part.isEmpty()) return Brand;
    return Brand + u' ' + Part;
}

QString TZVStock::ShapeName() const
{
    return QString::fromUtf16(shapeRow(Shape).Shown);
}

TZVStock StockFromLabelDef(const QStringList& fields)
{
    const auto text = [&fields](TZVLabelDefField field) { return fields.value(field).trimmed(); };
    const double scale = mmPerUnit(DefUnits(fields));
    const auto length = [&](TZVLabelDefField field) { return ReadDefDecimal(fields.value(field)) * scale; };
    const auto count = [&](TZVLabelDefField field) {
        return field < fields.size() ? std::max(1, ReadDefInteger(fields[field])) : 1;
    };

    TZVStock stock;
    stock.Brand = text(ldfBrand);
    stock.Part = text(ldfPart);
    stock.Description = text(ldfDescription);
    if (stock.Brand.isEmpty() && stock.Part.isEmpty() && stock.Description.isEmpty())
        stock.Description = fields.value(ldfName);
    const QString shape = text(ldfShape);
    const auto row = std::find_if(kShapes.begin(), kShapes.end(),
                                  [&shape](const TShapeRow& r) { return shape.compare(r.Key, Qt::CaseInsensitive) == 0; });
    if (row != kShapes.end())
        stock.Shape = row->Shape;
    else
        stock.Shape = DefLabelType(fields) == ltCircle ? TZVStockShape::Round : TZVStockShape::Rectangle;
    stock.PaperName = text(ldfPaperName);
    stock.PaperWidth = length(ldfPaperWidth);
    stock.PaperHeight = length(ldfPaperHeight);
    stock.LabelWidth = length(ldfWidth);
    stock.LabelHeight = length(ldfHeight);
    stock.GapX = length(ldfDiHor);
    stock.GapY = length(ldfDiVer);
    stock.MarginLeft = length(ldfMarLeft);
    stock.MarginTop = length(ldfMarTop);
    stock.Columns = count(ldfNuVer);
    stock.Rows = count(ldfNuHor);
    stock.Continuous = IsContinuousLabelDef(fields);
    stock.Radius = length(ldfRadius);
    stock.Hole = length(ldfHole);
    stock.Layouts = count(ldfLayouts);
    stock.Source = text(ldfSource);
    return stock;
}

QStringList LabelDefFromStock(const TZVStock& stock)
{
    const bool circle = (stock.Shape == TZVStockShape::Round || stock.Shape == TZVStockShape::Disc) &&
                        std::abs(stock.LabelWidth - stock.LabelHeight) < 0.005;
    return {
        stock.Name(),
        QString::number(static_cast<int>(unMM)),
        stock.PaperName,
        QString::number(static_cast<int>(circle ? ltCircle : ltRect)),
        formatMm(stock.PaperWidth),
        formatMm(stock.PaperHeight),
        formatMm(stock.LabelWidth),
        formatMm(stock.LabelHeight),
        formatMm(stock.GapX),
        formatMm(stock.GapY),
        formatMm(stock.MarginLeft),
        formatMm(stock.MarginTop),
        QString::number(stock.Columns),
        QString::number(stock.Rows),
        stock.Continuous ? QStringLiteral("1") : QStringLiteral("0"),
        stock.Brand,
        stock.Part,
        stock.Description,
        QString::fromUtf16(shapeRow(stock.Shape).Key),
        formatMm(stock.Radius),
        formatMm(stock.Hole),
        QString::number(stock.Layouts),
        stock.Source,
    };
}

bool StockMatches(const TZVStock& stock, QStringView search)
{
    QString words = search.toString();
    for (const QRegularExpressionMatch& size : sizePattern().globalMatch(words)) {
        const QString unit = size.captured(3).toLower();
        const double scale = unit.isEmpty() || unit == u"mm" ? 1 : unit == u"cm" ? 10 : 25.4;
        if (!sameSize(searchNumber(size.captured(1)) * scale, searchNumber(size.captured(2)) * scale,
                      stock.LabelWidth, stock.LabelHeight, kSizeTolerance))
            return false;
    }
    words.replace(sizePattern(), QStringLiteral(" "));
    const QString haystack = QStringList{stock.Brand, stock.Part, stock.Description, stock.ShapeName(),
                                         stock.PaperName}
                                 .join(u' ');
    const QStringList list = words.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    return std::all_of(list.begin(), list.end(),
                       [&haystack](const QString& word) { return haystack.contains(word, Qt::CaseInsensitive); });
}

QString AssignStock(const TZVStock& stock, TZVCustomLab& label)
{
    if (stock.Layouts > 1)
        return QStringLiteral("%1 cannot be assigned: its labels stand in %2 grids whose rows are staggered, "
                              "and Zorvel prints one grid per sheet.")
            .arg(stock.Name())
            .arg(stock.Layouts);
    if (!AssignLabelDef(LabelDefFromStock(stock), label))
        return QStringLiteral("%1 cannot be assigned: the paper \"%2\" is not in the paper table.")
            .arg(stock.Name(), stock.PaperName);
    return {};
}

QString StockPaperName(QStringView name, double widthMm, double heightMm)
{
    const auto papers = PaperTypes();
    const int named = FindPaperType(name);
    if (named >= 0 && papers[named].PaperCode != kUserPaperCode &&
        sameSize(papers[named].Width, papers[named].Height, widthMm, heightMm, kNamedPaperTolerance))
        return papers[named].Name;
    for (const TPaperType& paper : papers)
        if (paper.PaperCode != kUserPaperCode &&
            sameSize(paper.Width, paper.Height, widthMm, heightMm, kPaperTolerance))
            return paper.Name;
    return papers[UserPaperIndex()].Name;
}

} // namespace zorvel
