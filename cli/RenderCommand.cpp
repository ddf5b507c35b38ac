// zorvel render: a print run of a design to a PDF file or PNG pages, with data from a CSV file or a database.
#include "cli/Commands.h"
#include "cli/PngPagePrinter.h"
#include "document/ZVCustomLab.h"
#include "document/ZVDesignJson.h"
#include "document/ZVSheetFit.h"
#include "document/ZVTemplate.h"
#include "elements/ZVBarCode.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVError.h"
#include "foundation/ZVPrinter.h"
#include "foundation/ZVStream.h"
#include "foundation/ZVUtils.h"
#include "platform/ZVConnections.h"
#include "platform/ZVCsvDataSet.h"
#include "platform/ZVOutputImage.h"
#include "platform/ZVPdfPrinter.h"
#include "platform/ZVQtCanvas.h"
#include "platform/ZVSqlDataSet.h"
#include "platform/ZVZplPrinter.h"
#include "printsupport/ZVCupsPrinter.h"
#include "printsupport/ZVPrinterCalibration.h"
#include "printsupport/ZVPrinterLanguage.h"
#include "printsupport/ZVZplQueuePrinter.h"

#include <QCommandLineParser>
#include <QHash>
#include <QImage>
#include <QImageWriter>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include <unistd.h>

namespace zorvel::cli {
namespace {

// A whole number option of at least `min`; nullopt when not given.
std::optional<int> countOption(const QCommandLineParser& parser, const QString& option, int min)
{
    if (!parser.isSet(option)) return std::nullopt;
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value < min)
        throw Usage{QStringLiteral("--%1 takes a whole number of at least %2, not '%3'")
                        .arg(option)
                        .arg(min)
                        .arg(parser.value(option))};
    return value;
}

// ZPL is written for a print head: 203, 300 or 600 dots per inch.
int zplDpiOption(const QCommandLineParser& parser)
{
    if (!parser.isSet("dpi")) return TZVPrinterLanguage::kDefaultDpi;
    bool ok = false;
    const int dpi = parser.value("dpi").toInt(&ok);
    try {
        return TZVPrinterLanguages::Parse(QStringLiteral("zpl"), ok ? dpi : 0).Dpi;
    } catch (const EZvError&) {
        throw Usage{QStringLiteral("--dpi of ZPL is 203, 300 or 600, not '%1'").arg(parser.value("dpi"))};
    }
}

constexpr int kDefaultDpi = 150;
constexpr int kMinDpi = 10;
constexpr int kMaxDpi = 1200;

bool isJsonPath(const QString& path)
{
    return path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive);
}

QByteArray designStream(const QString& path)
{
    const QByteArray bytes = readInputFile(path);
    return isJsonPath(path) ? JsonToStream(bytes) : bytes;
}

void loadDesign(TZVLab& label, const QString& path)
{
    TZVMemoryStream stream(designStream(path));
    label.LoadFromStream(stream);
}

// The design file as it was read, with only its counters replaced: what the run bound or
// answered stays out of it.
void saveCounters(const QString& path, const QList<TZVCounter>& counters)
{
    TZVLab stored;
    TZVMemoryStream input(designStream(path));
    stored.LoadFromStreamRaw(input);
    stored.SetCounters(counters);
    TZVMemoryStream output;
    stored.SaveToStream(output);
    writeOutputFile(path, isJsonPath(path) ? StreamToJson(output.Bytes()) : output.Bytes());
}

// --start-counter NAME=VALUE, by upper-case name; every name must be one of the design's counters.
QHash<QString, std::int64_t> counterStarts(const QCommandLineParser& parser, const TZVCustomLab& label)
{
    QHash<QString, std::int64_t> starts;
    for (const QString& given : parser.values("start-counter")) {
        const qsizetype eq = given.indexOf('=');
        bool ok = eq > 0;
        const qlonglong value = ok ? given.mid(eq + 1).toLongLong(&ok) : 0;
        if (!ok) throw Usage{QStringLiteral("--start-counter takes NAME=VALUE, a whole number, not '%1'").arg(given)};
        const QString name = given.left(eq).toUpper();
        const bool known = std::any_of(label.Counters().cbegin(), label.Counters().cend(),
                                       [&](const TZVCounter& c) { return c.Name.toUpper() == name; });
        if (!known) throw EZvError(QStringLiteral("UNKNOWN COUNTER : ") + given.left(eq));
        starts.insert(name, value);
    }
    return starts;
}

// A CSV field, quoted when it holds a separator, a quote or a line break.
QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r')) return text;
    QString quoted = text;
    quoted.replace(u'"', QLatin1String("\"\""));
    return u'"' + quoted + u'"';
}

void printValues(TZVLab& label)
{
    std::fputs("page,row,col,record,copy,element,content\n", stdout);
    label.ListValues([](const TZVLabelValue& v) {
        const QString line = QStringLiteral("%1,%2,%3,%4,%5,%6,%7\n")
                                 .arg(v.Page)
                                 .arg(v.Row)
                                 .arg(v.Col)
                                 .arg(v.Record)
                                 .arg(v.Copy)
                                 .arg(csvField(v.Element), csvField(v.Content));
        std::fputs(line.toUtf8().constData(), stdout);
    });
}

} // namespace

int runRender(const QCommandLineParser& parser)
{
    if (parser.positionalArguments().size() != 1) throw Usage{QStringLiteral("give exactly one design file")};
    const bool queue = parser.isSet("printer");
    const bool values = parser.isSet("values");
    if (values && (queue || parser.isSet("out"))) throw Usage{QStringLiteral("--values prints no labels: no --out or --printer")};
    if (!values && queue == parser.isSet("out")) throw Usage{QStringLiteral("give --out, --printer or --values")};
    if (parser.isSet("save-counters") && (values || parser.isSet("start-counter")))
        throw Usage{QStringLiteral("--save-counters goes with a printing run without --start-counter")};
    if (parser.isSet("copies") && !queue) throw Usage{QStringLiteral("--copies goes with --printer only")};
    const int copies = boundedIntOption(parser, "copies", 1, 1, 999);
    const TZVCalibration offsets = calibrationOptions(parser, parser.value("printer"));
    const QString out = parser.value("out");
    const bool png = out.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
    const bool zpl = out.endsWith(QLatin1String(".zpl"), Qt::CaseInsensitive);
    if (!values && !queue && !png && !zpl && !out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        throw Usage{QStringLiteral("--out names a .pdf, .png or .zpl file, not '%1'").arg(out)};
    if (!png && !zpl && parser.isSet("dpi")) throw Usage{QStringLiteral("--dpi goes with PNG pages and ZPL only")};
    const int dpi = zpl ? zplDpiOption(parser) : boundedIntOption(parser, "dpi", kDefaultDpi, kMinDpi, kMaxDpi);
    const bool db = parser.isSet("db");
    if (parser.isSet("csv") && db) throw Usage{QStringLiteral("give --csv or --db, not both")};
    if (db != parser.isSet("master")) throw Usage{QStringLiteral("--db and --master go together")};
    if (parser.isSet("detail") && !db) throw Usage{QStringLiteral("--detail goes with --db only")};
    if ((parser.isSet("csv") || db) && parser.isSet("count"))
        throw Usage{QStringLiteral("--count goes without data only")};
    QHash<QString, QString> answers;
    for (const QString& answer : parser.values("answer")) {
        const qsizetype eq = answer.indexOf('=');
        if (eq <= 0) throw Usage{QStringLiteral("--answer takes ID=TEXT, not '%1'").arg(answer)};
        answers.insert(answer.left(eq).toUpper(), answer.mid(eq + 1));
    }
    const auto count = countOption(parser, "count", 1);
    const auto repetitions = countOption(parser, "repetitions", 1);
    const auto firstRow = countOption(parser, "first-row", 1);
    const auto firstCol = countOption(parser, "first-col", 1);
    const auto from = countOption(parser, "from", 1);
    const auto to = countOption(parser, "to", 0);
    const auto jobs = countOption(parser, "jobs", 1);

    TZVLab label;
    // A picture that cannot be read is only reported, and a run without it would print wrong labels.
    QString unreadable;
    label.OnMessage = [&](QObject*, const QString& message) {
        if (unreadable.isEmpty()) unreadable = message;
    };
    const QString designPath = parser.positionalArguments().first();
    loadDesign(label, designPath);
    if (!unreadable.isEmpty()) throw EZvError(unreadable);
    if (parser.isSet("stock")) applyStockOption(parser.value("stock"), label);
    label.SetCounterOverrides(counterStarts(parser, label));
    TZVCsvDataSet csv;
    TZVConnections connections;
    TZVSqlDataSet master;
    TZVSqlDataSet detail;
    const auto bind = [&](TZVDataSet& data) {
        label.SetDataAccessType(daDataSet);
        label.SetDataSet(&data);
        label.SetDataEnabled(true);
    };
    if (parser.isSet("csv")) {
        csv.SetFileName(parser.value("csv"));
        csv.Open();
        bind(csv);
    } else if (db) {
        const QString alias = QStringLiteral("render");
        connections.Add(alias, parser.value("db"));
        master.SetConnections(&connections);
        master.SetDatabaseName(alias);
        const QString source = parser.value("master").trimmed();
        if (source.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive))
            master.SetSql(source);
        else
            master.SetTableName(source);
        master.Open();
        bind(master);
        if (parser.isSet("detail")) {
            detail.SetConnections(&connections);
            detail.SetDatabaseName(alias);
            const QString select = parser.value("detail");
            // Each ":F" binds the master's field F.
            QStringList fields;
            for (const auto& match : QRegularExpression(R"(:([A-Za-z_]\w*))").globalMatch(select))
                if (!fields.contains(match.captured(1), Qt::CaseInsensitive)) fields << match.captured(1);
            if (fields.isEmpty()) throw Usage{QStringLiteral("--detail binds the master with :FIELD")};
            detail.SetSql(select);
            detail.SetMaster(&master, fields);
            detail.Open();
            label.SetDetail(&detail);
        }
    } else {
        label.SetDataEnabled(false);
    }
    TZVPrintInfo& info = label.PrintInfo();
    if (count) info.SetNumLabels(*count);
    if (repetitions) info.SetRepetitions(*repetitions);
    if (firstRow) info.SetFirstRow(*firstRow);
    if (firstCol) info.SetFirstCol(*firstCol);
    if (from) info.SetPrintFrom(*from);
    if (to) info.SetPrintTo(*to);
    label.SetJobs(jobs.value_or(0));

    // IDs match as the label's own IDs do, without regard to case.
    for (auto it = answers.cbegin(); it != answers.cend(); ++it) {
        const bool known =
            std::any_of(label.Elements().cbegin(), label.Elements().cend(), [&](TZVElement* e) {
                return qobject_cast<TZVAskText*>(e) && e->ID().toUpper() == it.key();
            });
        if (!known) throw EZvError(QStringLiteral("NO QUESTION WITH ID : ") + it.key());
    }
    label.OnAskText = [&](QObject*, int, const QString& id, QString& text) {
        const auto given = answers.constFind(id.toUpper());
        if (given != answers.cend()) text = *given;
    };
    // Asked before each label with its record current: a libzint bar code refusing its content
    // stops the run, and the printer drops what it has, rather than printing placeholders (the
    // seven linear types keep printing theirs, as they always did). The label asked is the one
    // printing, a worker's copy in a run on several threads.
    label.OnCheckLabel = [](const TZVCustomLab& printing) {
        for (const TZVElement* element : printing.Elements()) {
            const auto* barcode = qobject_cast<const TZVBarCode*>(element);
            if (!barcode || !barcode->Print() || !TZVBarCode::IsZintType(barcode->CodeType())) continue;
            if (barcode->Data() && printing.PrintInfo().DataMode == 0) continue; // prints its fixed content
            if (const QString refused = barcode->EncodingError(); !refused.isEmpty())
                throw EZvError(QStringLiteral("RECORD %1 : ").arg(printing.TemplateValues().Record()) + refused);
        }
    };
    const bool tty = isatty(fileno(stderr));
    label.OnProgress = [&, shown = 0](int page, int pages) mutable {
        if (tty && page != shown) std::fprintf(stderr, "\rpage %d of %d", shown = page, pages);
        return true;
    };
    // Printed as stored all the same: the labels off the paper are only named.
    if (values) {
        printValues(label);
        label.SetDataSet(nullptr);
        label.SetDetail(nullptr);
        return 0;
    }
    const QString offPaper = SheetFitWarning(SheetFit(label));
    if (!offPaper.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(offPaper));
    std::unique_ptr<TZVPrinter> printer;
    std::function<int()> jobId;
    // A ZPL printer takes the offsets as its label home; any other printer moves the page.
    TZVCalibration pageOffsets = offsets;
    const TZVPrinterLanguage language =
        queue ? TZVPrinterLanguages::Load(parser.value("printer")) : TZVPrinterLanguage{};
    if (queue && language.Kind == TZVPrinterLanguage::Zpl) {
        auto zplQueue = std::make_unique<TZVZplQueuePrinter>(parser.value("printer"), language.Dpi, offsets);
        jobId = [p = zplQueue.get()] { return p->LastJobId(); };
        printer = std::move(zplQueue);
        pageOffsets = {};
    } else if (queue) {
        auto cups = std::make_unique<TZVCupsPrinter>();
        selectQueue(*cups, parser.value("printer"));
        jobId = [p = cups.get()] { return p->LastJobId(); };
        printer = std::move(cups);
    } else if (png)
        printer = std::make_unique<PngPagePrinter>(out, dpi);
    else if (zpl)
        printer = std::make_unique<TZVZplPrinter>(out, dpi);
    else
        printer = std::make_unique<TZVPdfPrinter>(out);
    TZVOffsetPrinter moved(*printer, pageOffsets);
    const bool completed = label.PrintEx(moved, copies, false);
    if (tty) std::fputs("\n", stderr);
    if (completed && parser.isSet("save-counters")) saveCounters(designPath, label.Counters());
    label.SetDataSet(nullptr);
    label.SetDetail(nullptr);
    std::fprintf(stderr, "%d label%s on %d page%s\n", info.TotalLabels, info.TotalLabels == 1 ? "" : "s",
                 info.PageCount, info.PageCount == 1 ? "" : "s");
    if (jobId) std::printf("%s-%d\n", qPrintable(parser.value("printer")), jobId());
    return 0;
}

} // namespace zorvel::cli
