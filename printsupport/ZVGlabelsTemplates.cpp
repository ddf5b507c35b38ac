// gLabels 3 and glabels-qt template files read with QXmlStreamReader, namespace-aware.
#include "printsupport/ZVGlabelsTemplates.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

namespace zorvel {
namespace {

// Eleven of the shipped files declare it; older files and glabels-qt's declare none.
constexpr QStringView kGlabelsNamespace = u"http://glabels.org/xmlns/3.0/";
// A sheet of more labels than this is no label stock.
constexpr int kMaxGridCount = 1000;

struct TUnitRow
{
    const char16_t* Suffix;
    double Mm; // millimetres per unit
};
// clang-format off
constexpr TUnitRow kUnits[] = {
    {u"mm", 1.0}, {u"cm", 10.0}, {u"in", 25.4},
    {u"pt", 25.4 / 72}, {u"pc", 25.4 / 6}, // a pica is 12 points
    {u"",   25.4 / 72},                    // a bare number is points
};
// clang-format on

// A sentence of the reader, thrown to the entry point that adds nothing to the set.
struct TReadError
{
    QString Text;
};

bool isOurs(const QXmlStreamReader& xml)
{
    const QStringView uri = xml.namespaceUri();
    return uri.isEmpty() || uri == kGlabelsNamespace;
}

QString lineOf(const QXmlStreamReader& xml)
{
    return QStringLiteral("line %1").arg(xml.lineNumber());
}

void throwIfDamaged(const QXmlStreamReader& xml)
{
    if (xml.hasError())
        throw TReadError{QStringLiteral("%1: the XML is damaged (%2).").arg(lineOf(xml), xml.errorString())};
}

// The first element, which must be `root` of the gLabels files.
void enterRoot(QXmlStreamReader& xml, QStringView root)
{
    if (!xml.readNextStartElement()) throwIfDamaged(xml);
    if (xml.name() != root || !isOurs(xml))
        throw TReadError{QStringLiteral("it is not a gLabels %1 file.").arg(root.toString())};
}

// Reads the attributes of one element of a template.
class TAttributes
{
public:
    TAttributes(const QXmlStreamReader& xml, QString owner)
        : m_attributes(xml.attributes()), m_line(lineOf(xml)), m_owner(std::move(owner))
    {
    }

    bool Has(QStringView name) const { return m_attributes.hasAttribute(name.toString()); }
    QString Text(QStringView name) const { return m_attributes.value(name.toString()).trimmed().toString(); }

    double Length(QStringView name) const
    {
        const std::optional<double> mm = ParseGlabelsLength(m_attributes.value(name.toString()));
        if (!mm || *mm < 0) throw refused(name);
        return *mm;
    }
    double Size(QStringView name) const
    {
        const double mm = Length(name);
        if (mm <= 0) throw refused(name);
        return mm;
    }
    // An optional length without any digit ("", "in", as some shipped files have) is not given.
    double LengthOr(QStringView name, double fallback) const
    {
        const QString text = Text(name);
        return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }) ? Length(name) : fallback;
    }
    int Count(QStringView name) const
    {
        bool ok = false;
        const int n = m_attributes.value(name.toString()).trimmed().toInt(&ok);
        if (!ok || n < 1 || n > kMaxGridCount) throw refused(name);
        return n;
    }

private:
    TReadError refused(QStringView name) const
    {
        const QStringView value = m_attributes.value(name.toString());
        return {value.isEmpty() ? QStringLiteral("%1: %2 has no %3.").arg(m_line, m_owner, name.toString())
                                : QStringLiteral("%1: %2 has %3=\"%4\", which is no valid length or count.")
                                      .arg(m_line, m_owner, name.toString(), value.toString())};
    }

    QXmlStreamAttributes m_attributes;
    QString m_line;
    QString m_owner;
};

struct TGrid
{
    int Columns = 1, Rows = 1;
    double X0 = 0, Y0 = 0, Dx = 0, Dy = 0;
};

// One Label-* element with its layouts; `stock` takes its shape and size.
void readLabel(QXmlStreamReader& xml, const QString& owner, TZVStock& stock, QList<TGrid>& grids)
{
    const TAttributes a(xml, owner);
    const QStringView kind = xml.name();
    if (kind == u"Label-rectangle") {
        stock.Shape = TZVStockShape::Rectangle;
        stock.LabelWidth = a.Size(u"width");
        stock.LabelHeight = a.Size(u"height");
        stock.Radius = a.LengthOr(u"round", 0);
    } else if (kind == u"Label-round") {
        stock.Shape = TZVStockShape::Round;
        stock.LabelWidth = stock.LabelHeight = 2 * a.Size(u"radius");
    } else if (kind == u"Label-ellipse") {
        stock.Shape = TZVStockShape::Ellipse;
        stock.LabelWidth = a.Size(u"width");
        stock.LabelHeight = a.Size(u"height");
    } else if (kind == u"Label-cd") {
        stock.Shape = TZVStockShape::Disc;
        const double diameter = 2 * a.Size(u"radius");
        // A disc cut to a card: the card's sides, each at most the disc.
        stock.LabelWidth = a.Has(u"width") ? a.Size(u"width") : diameter;
        stock.LabelHeight = a.Has(u"height") ? a.Size(u"height") : diameter;
        stock.Hole = a.Size(u"hole");
    } else if (kind == u"Label-continuous") {
        stock.Shape = TZVStockShape::Rectangle;
        stock.Continuous = true;
        stock.LabelWidth = a.Size(u"width");
        // The longest label the roll allows; files differ in how they name it.
        const QStringView lengths[] = {u"max_height", u"height", u"default_height", u"min_height"};
        const auto given = std::find_if(std::begin(lengths), std::end(lengths), [&a](QStringView n) { return a.Has(n); });
        stock.LabelHeight = a.Size(given == std::end(lengths) ? lengths[0] : *given);
    } else {
        xml.skipCurrentElement();
        return;
    }
    while (xml.readNextStartElement()) {
        if (xml.name() == u"Layout" && isOurs(xml)) {
            const TAttributes l(xml, owner);
            TGrid grid;
            grid.Columns = l.Count(u"nx");
            grid.Rows = l.Count(u"ny");
            grid.X0 = l.LengthOr(u"x0", 0);
            grid.Y0 = l.LengthOr(u"y0", 0);
            grid.Dx = l.LengthOr(u"dx", stock.LabelWidth);
            grid.Dy = l.LengthOr(u"dy", stock.LabelHeight);
            grids.append(grid);
        }
        xml.skipCurrentElement();
    }
    // A continuous roll may give no layout: one label across.
    if (grids.isEmpty() && stock.Continuous) grids.append(TGrid{});
}

// One Template element; `equivalentOf` receives the model of an equivalent.
TZVStock readTemplate(QXmlStreamReader& xml, const TZVGlabelsPapers& papers, QString& equivalentOf)
{
    const TAttributes t(xml, QStringLiteral("a template"));
    TZVStock stock;
    stock.Brand = t.Text(u"brand");
    stock.Part = t.Text(u"part");
    stock.Description = t.Has(u"_description") ? t.Text(u"_description") : t.Text(u"description");
    const QString owner = QStringLiteral("the template \"%1\"").arg(stock.Name());
    if (stock.Part.isEmpty()) throw TReadError{QStringLiteral("%1: a template has no part.").arg(lineOf(xml))};
    equivalentOf = t.Text(u"equiv");
    if (!equivalentOf.isEmpty()) {
        xml.skipCurrentElement();
        return stock;
    }

    const QString size = t.Text(u"size");
    const bool roll = size.compare(u"roll", Qt::CaseInsensitive) == 0;
    std::optional<QSizeF> paper;
    if (size.compare(u"Other", Qt::CaseInsensitive) == 0)
        paper = QSizeF(TAttributes(xml, owner).Size(u"width"), TAttributes(xml, owner).Size(u"height"));
    else if (!roll && papers.contains(size))
        paper = papers.value(size);
    else if (!roll)
        throw TReadError{QStringLiteral("%1: %2 is on the paper \"%3\", which the paper sizes do not name.")
                             .arg(lineOf(xml), owner, size)};
    const std::optional<double> rollWidth =
        roll && t.Has(u"width") ? std::optional<double>(t.Size(u"width")) : std::nullopt;
    const std::optional<double> rollLength =
        roll && t.Has(u"height") ? std::optional<double>(t.Size(u"height")) : std::nullopt;

    QList<TGrid> grids;
    bool labelRead = false;
    while (xml.readNextStartElement()) {
        if (isOurs(xml) && xml.name().startsWith(u"Label-") && !labelRead) {
            readLabel(xml, owner, stock, grids);
            labelRead = !grids.isEmpty();
        } else if (isOurs(xml) && xml.name().startsWith(u"Label-")) {
            // A second label size on one sheet only adds grids that cannot be printed together.
            TZVStock other;
            readLabel(xml, owner, other, grids);
        } else {
            xml.skipCurrentElement();
        }
    }
    throwIfDamaged(xml);
    if (grids.isEmpty()) throw TReadError{QStringLiteral("%1: %2 has no label layout.").arg(lineOf(xml), owner)};

    const TGrid& grid = grids.first();
    stock.Columns = grid.Columns;
    stock.Rows = grid.Rows;
    stock.MarginLeft = grid.X0;
    stock.MarginTop = grid.Y0;
    // The pitch of a single column or row says nothing about a gap.
    stock.GapX = grid.Columns > 1 ? grid.Dx - stock.LabelWidth : 0;
    stock.GapY = grid.Rows > 1 ? grid.Dy - stock.LabelHeight : 0;
    stock.Layouts = static_cast<int>(grids.size());
    if (roll) {
        const double width = rollWidth.value_or(2 * grid.X0 + (grid.Columns - 1) * grid.Dx + stock.LabelWidth);
        const double length = stock.Continuous ? stock.LabelHeight
                                               : rollLength.value_or(2 * grid.Y0 + grid.Rows * grid.Dy);
        paper = QSizeF(width, length);
        stock.PaperName = StockPaperName(u"User", 0, 0);
    } else {
        stock.PaperName = StockPaperName(size, paper->width(), paper->height());
    }
    stock.PaperWidth = paper->width();
    stock.PaperHeight = paper->height();
    return stock;
}

QString brandKey(const QString& brand, const QString& part)
{
    return brand.toCaseFolded() + u'\n' + part.toCaseFolded();
}

} // namespace

std::optional<double> ParseGlabelsLength(QStringView text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([+-]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][+-]?\\d+)?)\\s*([a-zA-Z]*)\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) return std::nullopt;
    const QStringView unit = match.capturedView(2);
    for (const TUnitRow& row : kUnits) {
        if (unit.compare(row.Suffix, Qt::CaseInsensitive) != 0) continue;
        const double mm = match.capturedView(1).toDouble() * row.Mm;
        if (!std::isfinite(mm)) return std::nullopt;
        return mm;
    }
    return std::nullopt;
}

TZVGlabelsFileKind GlabelsFileKind(const QByteArray& xmlBytes)
{
    QXmlStreamReader xml(xmlBytes);
    if (!xml.readNextStartElement() || !isOurs(xml)) return TZVGlabelsFileKind::NotGlabels;
    if (xml.name() == u"Glabels-templates") return TZVGlabelsFileKind::Templates;
    if (xml.name() == u"Glabels-paper-sizes") return TZVGlabelsFileKind::PaperSizes;
    if (xml.name().startsWith(u"Glabels-")) return TZVGlabelsFileKind::OtherList;
    return TZVGlabelsFileKind::NotGlabels;
}

const TZVGlabelsPapers& ShippedGlabelsPapers()
{
    static const TZVGlabelsPapers papers = [] {
        TZVGlabelsPapers read;
        QFile file(QStringLiteral(":/zorvel/stocks/paper-sizes.xml"));
        if (file.open(QIODevice::ReadOnly)) ReadGlabelsPaperSizes(file.readAll(), read);
        return read;
    }();
    return papers;
}

QString ReadGlabelsPaperSizes(const QByteArray& xmlBytes, TZVGlabelsPapers& papers)
{
    QXmlStreamReader xml(xmlBytes);
    TZVGlabelsPapers read;
    try {
        enterRoot(xml, u"Glabels-paper-sizes");
        while (xml.readNextStartElement()) {
            if (xml.name() == u"Paper-size" && isOurs(xml)) {
                const TAttributes a(xml, QStringLiteral("a paper size"));
                read.insert(a.Text(u"id"), QSizeF(a.Size(u"width"), a.Size(u"height")));
            }
            xml.skipCurrentElement();
        }
        throwIfDamaged(xml);
    } catch (const TReadError& e) {
        return e.Text;
    }
    papers.insert(read);
    return {};
}

QString ReadGlabelsTemplates(const QByteArray& xmlBytes, const TZVGlabelsPapers& papers, const QString& source,
                             TZVGlabelsSet& set)
{
    QXmlStreamReader xml(xmlBytes);
    TZVGlabelsSet read;
    try {
        enterRoot(xml, u"Glabels-templates");
        while (xml.readNextStartElement()) {
            if (xml.name() != u"Template" || !isOurs(xml)) {
                xml.skipCurrentElement();
                continue;
            }
            QString equivalentOf;
            TZVStock stock = readTemplate(xml, papers, equivalentOf);
            stock.Source = source;
            read.Stocks.append(stock);
            read.EquivalentOf.append(equivalentOf);
        }
        throwIfDamaged(xml);
    } catch (const TReadError& e) {
        return e.Text;
    }
    set.Stocks.append(read.Stocks);
    set.EquivalentOf.append(read.EquivalentOf);
    return {};
}

QString TZVGlabelsSet::ResolveEquivalents(const QList<TZVStock>& known)
{
    QHash<QString, TZVStock> models;
    for (const TZVStock& stock : known)
        models.insert(brandKey(stock.Brand, stock.Part), stock);
    for (qsizetype i = 0; i < Stocks.size(); ++i)
        if (EquivalentOf[i].isEmpty()) models.insert(brandKey(Stocks[i].Brand, Stocks[i].Part), Stocks[i]);
    // An equivalent of an equivalent waits for its model's turn; each round settles at least one.
    for (bool progress = true; progress;) {
        progress = false;
        for (qsizetype i = 0; i < Stocks.size(); ++i) {
            if (EquivalentOf[i].isEmpty()) continue;
            const auto model = models.constFind(brandKey(Stocks[i].Brand, EquivalentOf[i]));
            if (model == models.cend()) continue;
            TZVStock stock = *model;
            stock.Brand = Stocks[i].Brand;
            stock.Part = Stocks[i].Part;
            stock.Source = Stocks[i].Source;
            if (!Stocks[i].Description.isEmpty()) stock.Description = Stocks[i].Description;
            Stocks[i] = stock;
            EquivalentOf[i].clear();
            models.insert(brandKey(stock.Brand, stock.Part), stock);
            progress = true;
        }
    }
    for (qsizetype i = 0; i < Stocks.size(); ++i)
        if (!EquivalentOf[i].isEmpty())
            return QStringLiteral("the template \"%1\" is equivalent to \"%2 %3\", which no template defines.")
                .arg(Stocks[i].Name(), Stocks[i].Brand, EquivalentOf[i]);
    return {};
}

} // namespace zorvel
