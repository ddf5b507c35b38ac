// The table of subcommands with their options, and the parsing and the help texts made from it.
#include "cli/Commands.h"

#include "foundation/ZVError.h"
#include "foundation/ZVPrinter.h"

#include <QCommandLineParser>

#include <cstdio>
#include <vector>

namespace zorvel::cli {
namespace {

std::vector<Command> makeTable()
{
    return {
        {"barcode",
         "encode one bar code symbol: its text, its module string or a PNG",
         "Encode one bar code symbol: print its text or its module string, or paint it as a PNG or SVG "
         "image. --list names the symbologies.",
         {},
         {
             {"list", "List the symbologies and what each takes."},
             {"type", "Symbology: " + symbologyNames() + ".", "type"},
             {"content", "The content to encode.", "text"},
             {"checksum", "Compute and append the check character."},
             {"no-number", "No human-readable number (and short EAN/UPC guards)."},
             {"text", "Print the human-readable text."},
             {"modules", "Print the module string (linear types before QRCODE)."},
             {"out", "Paint the symbol on a white PNG image, or as SVG for a name ending in .svg.",
              "file.png|file.svg"},
             {"dpi", "Resolution of the PNG in dots per inch (default 300).", "n"},
             {"bar-width", "Narrow module width, or module size of 2D symbols, in millimetres (default 0.3).",
              "mm"},
             {"height", "Bar height in millimetres (default 10).", "mm"},
             {"ecc",
              "Error correction: L, M, Q or H for QRCODE and MICROQR, 0..8 for PDF417, 1..4 for AZTEC "
              "(default automatic).",
              "level"},
             {"size", "Symbol size or version of 2D symbols (default automatic).", "n"},
         },
         runBarcode,
         barcodePaints},
        {"dump",
         "print the JSON form of a design stream file",
         "Print the JSON form of a design stream file.",
         {{"file", "The design stream file."}},
         {},
         runDump},
        {"convert",
         "convert a design between its JSON form (.json) and its stream form",
         "Convert a design between its JSON form (.json) and its stream form.",
         {{"input", "The design to read."},
          {"output", "The design to write; .json writes the JSON form, any other name a stream."}},
         {},
         runConvert},
        {"render",
         "print a design's labels on sheets to a printer, a PDF file or PNG pages",
         "Print a design's labels on sheets to a print queue, a PDF file or PNG pages.",
         {{"design", "The design: a stream file or its JSON form (.json)."}},
         {
             {"printer", "Print to this queue instead of a file (see zorvel printers).", "name"},
             {"stock", "Print on this stock of the catalogue (see zorvel stocks) instead of the design's sheet; "
                       "its labels must be the design's size within 0.5 mm.",
              "name"},
             {"copies", "With --printer: copies of the whole run (default 1).", "n"},
             {"offset-x", "Move the print right by MM (-10 .. 10; default: the printer's calibration).",
              "mm"},
             {"offset-y", "Move the print down by MM (-10 .. 10; default: the printer's calibration).", "mm"},
             {"out", "The PDF file, the PNG pages NAME-1.png ... for NAME.png, or ZPL II for NAME.zpl.", "file"},
             {"dpi", "Resolution of PNG pages (default 150), or of the ZPL printer: 203, 300 or 600 (default 203).",
              "n"},
             {"csv", "One label per record of this CSV file (header row first).", "file"},
             {"db", "Database URL (sqlite:PATH, or any Qt SQL driver's URL).", "url"},
             {"master", "With --db: one label per record of this SELECT or table.", "select|table"},
             {"detail", "With --db: detail records for tables; :F binds the master's field F.", "select"},
             {"count", "Number of labels without data (default 1).", "n"},
             {"repetitions", "Copies of each record's label (default 1).", "n"},
             {"first-row", "Row of the first sheet where printing starts.", "r"},
             {"first-col", "Column of that row where printing starts.", "c"},
             {"from", "First record to print (from 1).", "n"},
             {"to", "Last record to print (0: the last one).", "m"},
             {"jobs", "Threads that print the pages side by side (default: one per core; 1: no split).", "n"},
             {"answer", "Answer to the question element ID (repeatable).", "ID=TEXT"},
             {"values",
              "Print nothing: list every label's content as CSV (page,row,col,record,copy,element,content)."},
             {"save-counters", "After a completed run, save the counters' next values into the design file."},
             {"start-counter", "Start the counter NAME at VALUE for this run, saving nothing (repeatable).",
              "NAME=VALUE"},
         },
         runRender,
         paintsAlways},
        {"printers",
         "list the system's print queues, their media and languages",
         "List the system's print queues; the default one is marked, and so is a queue that is sent ZPL.\n"
         "--media lists a queue's media with their sizes in millimetres; --set keeps a queue's language.",
         {},
         {
             {"media", "List the media of this queue: name, width x length and margins in millimetres.", "name"},
             {"set", "Keep the language of this queue (with --language).", "name"},
             {"language", "With --set: driver (PDF pages for the queue's driver) or zpl (Zorvel's ZPL II, sent raw).",
              "driver|zpl"},
             {"dpi", "With --set --language zpl: the printer's resolution, 203, 300 or 600 (default 203).", "n"},
         },
         runPrinters},
        {"stocks",
         "list or search the label stock catalogue, or import template files into it",
         "List the label stocks of the catalogue: the shipped makers' sheets and the user's own.\n"
         "--import reads gLabels or glabels-qt template files, LibreOffice's labels.xml, or a folder of them\n"
         "(such as /usr/share/libglabels-3.0/templates) into the user's catalogue.",
         {},
         {
             {"search", "Only the stocks matching every word: brand, part, description, or a label size "
                        "such as 63.5x38.1 or \"2 x 4 in\".",
              "text"},
             {"json", "A JSON list of the stocks, lengths in millimetres."},
             {"import", "Import the template file or folder into the user's catalogue.", "path"},
         },
         runStocks},
        {"calibrate",
         "print a page to measure a printer's offsets",
         "Print a calibration page: rulers 10 mm from the top and left edges and a cross at 105, "
         "148.5 mm (A4).\n"
         "Measure where they land; the offsets to save are the current ones plus intended minus measured.",
         {},
         {
             {"printer", "The print queue to calibrate.", "name"},
             {"out", "A PDF file instead of a queue.", "file"},
             {"offset-x", "Move the print right by MM (-10 .. 10; default: the saved one).", "mm"},
             {"offset-y", "Move the print down by MM (-10 .. 10; default: the saved one).", "mm"},
             {"save", "Save the offsets given for the printer."},
         },
         runCalibrate,
         paintsAlways},
    };
}

} // namespace

std::span<const Command> commands()
{
    static const std::vector<Command> table = makeTable();
    return table;
}

void printUsage(FILE* out)
{
    std::fputs("usage: zorvel <command> [options]\n\ncommands:\n", out);
    for (const Command& c : commands())
        std::fprintf(out, "  %-9s %s\n", c.name, c.summary);
    std::fputs("\nRun 'zorvel <command> --help' for the options of a command.\n", out);
}

int runCommand(const Command& command, const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(command.description);
    parser.addHelpOption();
    for (const Argument& argument : command.arguments)
        parser.addPositionalArgument(argument.name, argument.help);
    for (const Option& option : command.options)
        parser.addOption(option.valueName.isEmpty()
                             ? QCommandLineOption(option.name, option.help)
                             : QCommandLineOption(option.name, option.help, option.valueName));
    if (!parser.parse(QStringList{QStringLiteral("zorvel ") + command.name} + args)) {
        std::fprintf(stderr, "zorvel %s: %s\n", command.name, qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    try {
        return command.run(parser);
    } catch (const Usage& usage) {
        std::fprintf(stderr, "zorvel %s: %s\n", command.name, qPrintable(usage.message));
        return 2;
    } catch (const EZvError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    } catch (const EZvPrinterError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

} // namespace zorvel::cli
