// zorvel stocks: the label stock catalogue listed or searched, and imports into the user's part.
#include "cli/Commands.h"
#include "document/ZVCustomLab.h"
#include "foundation/ZVError.h"
#include "foundation/ZVUtils.h"
#include "printsupport/ZVStockCatalogue.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>

namespace zorvel::cli {
namespace {

// Labels of a design and of a stock are the same when they differ by no more than this.
constexpr double kSameLabelMm = 0.5;

// Millimetres as people write them: no trailing zeros.
QString mm(double value)
{
    return QString::number(value, 'f', 2).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
}

QJsonObject stockJson(const TZVStock& s)
{
    return {
        {"Brand", s.Brand},           {"Part", s.Part},
        {"Description", s.Description}, {"Shape", s.ShapeName()},
        {"PaperName", s.PaperName},   {"PaperWidth", s.PaperWidth},
        {"PaperHeight", s.PaperHeight}, {"LabelWidth", s.LabelWidth},
        {"LabelHeight", s.LabelHeight}, {"Columns", s.Columns},
        {"Rows", s.Rows},             {"MarginLeft", s.MarginLeft},
        {"MarginTop", s.MarginTop},   {"GapX", s.GapX},
        {"GapY", s.GapY},             {"Radius", s.Radius},
        {"Source", s.Source},         {"Hole", s.Hole},
        {"Layouts", s.Layouts},       {"Continuous", s.Continuous},
    };
}

// One line a stock: name, description, label size, grid and paper, shape, and what stops it.
QString stockLine(const TZVStock& s)
{
    QString line = QStringLiteral("%1\t%2\t%3 x %4 mm\t%5 x %6 on %7\t%8")
                       .arg(s.Name(), s.Description == s.Name() ? QString() : s.Description, mm(s.LabelWidth),
                            mm(s.LabelHeight))
                       .arg(s.Columns)
                       .arg(s.Rows)
                       .arg(s.PaperName == u"User" ? QStringLiteral("%1 x %2 mm").arg(mm(s.PaperWidth), mm(s.PaperHeight))
                                                   : s.PaperName,
                            s.ShapeName());
    if (s.Continuous) line += QStringLiteral(", continuous");
    if (s.Layouts > 1) line += QStringLiteral(", staggered rows");
    return line;
}

// The tool keeps the user's catalogue in the user's data folder only: beside a program in a
// writable folder (a build tree) it would write into that folder.
TZVStockCatalogue userCatalogue()
{
    TZVLabelDefsPlaces places = TZVLabelDefsPlaces::Standard();
    places.ProgramDir.clear();
    return TZVStockCatalogue(places);
}

TZVStockCatalogue loadedCatalogue()
{
    TZVStockCatalogue catalogue = userCatalogue();
    // The user's file unreadable: the shipped stocks are still worth listing.
    if (const TZVLabelDefsResult loaded = catalogue.Load(); !loaded.Ok) std::fprintf(stderr, "%s\n", qPrintable(loaded.Error));
    return catalogue;
}

} // namespace

int runStocks(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty()) throw Usage{QStringLiteral("takes no arguments")};
    if (parser.isSet("import")) {
        if (parser.isSet("search") || parser.isSet("json")) throw Usage{QStringLiteral("--import goes alone")};
        TZVStockCatalogue catalogue = userCatalogue();
        const TZVStockImportResult result = catalogue.Import(parser.value("import"));
        if (!result.Ok) throw EZvError(result.Error);
        std::printf("%d stock%s imported into %s\n", result.Count, result.Count == 1 ? "" : "s",
                    qPrintable(catalogue.UserFile().WriteTo()));
        return 0;
    }
    const TZVStockCatalogue catalogue = loadedCatalogue();
    const QString search = parser.value("search");
    QJsonArray json;
    for (const TZVStock& stock : catalogue.All()) {
        if (!StockMatches(stock, search)) continue;
        if (parser.isSet("json"))
            json.append(stockJson(stock));
        else
            std::printf("%s\n", stockLine(stock).toUtf8().constData());
    }
    if (parser.isSet("json")) std::fputs(QJsonDocument(json).toJson().constData(), stdout);
    return 0;
}

void applyStockOption(const QString& name, TZVCustomLab& label)
{
    const TZVStockCatalogue catalogue = loadedCatalogue();
    const TZVStock* stock = catalogue.Find(name);
    if (!stock) throw EZvError(QStringLiteral("UNKNOWN STOCK : ") + name);
    const double width = double(label.Measure().Width()) / kModelPerMm;
    const double height = double(label.Measure().Height()) / kModelPerMm;
    if (std::abs(width - stock->LabelWidth) > kSameLabelMm || std::abs(height - stock->LabelHeight) > kSameLabelMm)
        throw EZvError(QStringLiteral("LABEL SIZE DIFFERS : the design's labels are %1 x %2 mm, %3's %4 x %5 mm")
                           .arg(mm(width), mm(height), stock->Name(), mm(stock->LabelWidth), mm(stock->LabelHeight)));
    if (const QString refused = AssignStock(*stock, label); !refused.isEmpty()) throw EZvError(refused);
}

} // namespace zorvel::cli
