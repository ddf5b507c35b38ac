// The stock catalogue: the shipped gLabels database against its source files and the maker's
// figures, template lengths, search, assignment, and imports of the three formats.
#include "document/ZVCustomLab.h"
#include "printsupport/ZVGlabelsTemplates.h"
#include "printsupport/ZVStockCatalogue.h"
#include "tests/support/QStringPrinter.h"
#include "tests/support/TestApplication.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zorvel {
namespace {

const QString kShippedDir = QStringLiteral(ZORVEL_TEST_DATA_DIR "/../../data/stocks/glabels");

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const TZVStock* findIn(const QList<TZVStock>& stocks, const QString& name)
{
    const auto it = std::find_if(stocks.begin(), stocks.end(), [&](const TZVStock& s) { return s.Name() == name; });
    return it == stocks.end() ? nullptr : &*it;
}

// ---- The shipped database -------------------------------------------------------------------

TEST(ShippedStocks, WellKnownStocksHaveTheGeometryOfTheirSourceFiles)
{
    test::ensureGuiApplication();
    // Converted here from the source files, and as the library ships them (through its lines).
    TZVGlabelsPapers papers;
    ASSERT_EQ(ReadGlabelsPaperSizes(readBytes(kShippedDir + "/paper-sizes.xml"), papers), QString());
    TZVGlabelsSet set;
    for (const QString& name : QDir(kShippedDir).entryList({"*-templates.xml"}))
        ASSERT_EQ(ReadGlabelsTemplates(readBytes(kShippedDir + u'/' + name), papers, "gLabels", set), QString()) << name.toStdString();
    ASSERT_EQ(set.ResolveEquivalents(), QString());
    // `grep -c "<Template"` over the files; 302 of them are in the files that declare the namespace.
    EXPECT_EQ(set.Stocks.size(), 1756);
    TZVStockCatalogue catalogue({QString(), QString(), QString()});
    catalogue.Load();
    EXPECT_EQ(catalogue.Shipped().size(), 1756);

    // Millimetres from the files' figures: Avery's in points (1/72 in) or inches, Herma's bare
    // numbers in points; a gap is the pitch (dx, dy) less the label. L7160 and J8160 are
    // equivalents of 7160, L7163 of 7163.
    struct Case
    {
        const char* name;
        TZVStockShape shape;
        const char* paper;
        double labelW, labelH, left, top, gapX, gapY, radius, hole;
        int columns, rows;
    };
    using enum TZVStockShape;
    // clang-format off
    const Case cases[] = {
        {"Avery L7160", Rectangle, "A4", 63.9939, 38.1, 7.4789, 15.4869, 2.0461, 0, 1.7639, 0, 3, 7},
        {"Avery J8160", Rectangle, "A4", 63.9939, 38.1, 7.4789, 15.4869, 2.0461, 0, 1.7639, 0, 3, 7},
        {"Avery 5160", Rectangle, "LETTER", 66.675, 25.4, 3.9688, 12.7, 3.9688, 0, 1.5875, 0, 3, 10},
        {"Avery L7163", Rectangle, "A4", 99.0953, 38.1, 3.3514, 15.1694, 3.9158, 0, 1.7639, 0, 2, 7},
        {"Avery 5163", Rectangle, "LETTER", 101.6, 50.8, 4.1275, 12.7, 4.7625, 0, 3.175, 0, 2, 5},
        {"Avery 3274.2", Round, "LETTER", 38.1, 38.1, 12.7, 19.05, 12.7, 12.7, 0, 0, 4, 5},
        {"Avery L6015", Disc, "A4", 117.0, 117.0, 46.5, 21.4, 0, 21.4298, 0, 20.5, 1, 2},
        {"Herma 4283", Rectangle, "A4", 192.0, 39.0, 9.0, 11.5, 0, 8.0, 1.7639, 0, 1, 6},
        {"Begalabel V-200", Ellipse, "LETTER", 50.8, 25.4, 25.4, 12.7, 6.35, 3.175, 0, 0, 3, 9},
        {"Endisch SRA3450320", Rectangle, "User", 320, 450, 0, 0, 0, 0, 0, 0, 1, 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        for (const QList<TZVStock>* stocks : {&std::as_const(set.Stocks), &catalogue.Shipped()}) {
            SCOPED_TRACE(std::string(c.name) + (stocks == &set.Stocks ? " read" : " shipped"));
            const TZVStock* s = findIn(*stocks, c.name);
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(s->Shape, c.shape);
            EXPECT_EQ(s->PaperName, c.paper);
            for (auto [got, want] : {std::pair{s->LabelWidth, c.labelW}, {s->LabelHeight, c.labelH},
                                     {s->MarginLeft, c.left}, {s->MarginTop, c.top}, {s->GapX, c.gapX},
                                     {s->GapY, c.gapY}, {s->Radius, c.radius}, {s->Hole, c.hole}})
                EXPECT_NEAR(got, want, 0.001);
            EXPECT_EQ(s->Columns, c.columns);
            EXPECT_EQ(s->Rows, c.rows);
            EXPECT_EQ(s->Layouts, 1);
            EXPECT_EQ(s->Source, "gLabels");
        }
    }
    const TZVStock* sra3 = catalogue.Find(u"endisch sra3450320");
    ASSERT_NE(sra3, nullptr);
    EXPECT_EQ(QSizeF(sra3->PaperWidth, sra3->PaperHeight), QSizeF(320, 450));

    // Avery's published L7160: 63.5 x 38.1 mm labels at a pitch of 66.04 x 38.1 mm, 3 x 7 on A4.
    const TZVStock* l7160 = catalogue.Find(u"Avery L7160");
    ASSERT_NE(l7160, nullptr);
    EXPECT_NEAR(l7160->LabelWidth + l7160->GapX, 66.04, 0.001);
    EXPECT_NEAR(l7160->LabelHeight + l7160->GapY, 38.1, 0.001);
    EXPECT_EQ(l7160->LabelsPerSheet(), 21);
    EXPECT_EQ(QSizeF(l7160->PaperWidth, l7160->PaperHeight), QSizeF(210, 297));
    EXPECT_TRUE(StockMatches(*l7160, u"63.5 x 38.1")) << "the size on the box finds it";

    // Desmat A4ST-3CD: two layouts of discs on one sheet (two more are commented out).
    const TZVStock* staggered = catalogue.Find(u"Desmat A4ST-3CD");
    ASSERT_NE(staggered, nullptr);
    EXPECT_EQ(staggered->Layouts, 2);
}

TEST(GlabelsLengths, EveryUnitOfTheFormatAndNothingElse)
{
    struct Case
    {
        const char* text;
        std::optional<double> mm;
    };
    const Case cases[] = {
        {"210mm", 210},   {"8.5in", 215.9}, {"1cm", 10},        {"72pt", 25.4},    {"6pc", 25.4},
        {"72", 25.4},     {" .5in ", 12.7}, {"1e1mm", 10},      {"2.54 CM", 25.4}, {"abc", {}},
        {"12px", {}},     {"", {}},         {"in", {}},         {"1e999mm", {}},   {"1,5mm", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<double> mm = ParseGlabelsLength(QString::fromUtf8(c.text));
        ASSERT_EQ(mm.has_value(), c.mm.has_value());
        if (mm) {
            EXPECT_NEAR(*mm, *c.mm, 1e-9);
        }
    }
}

// ---- Search and assignment ------------------------------------------------------------------

TEST(StockSearch, WordsAndSizesMustAllMatch)
{
    TZVStock s;
    s.Brand = "Avery";
    s.Part = "5163";
    s.Description = "Shipping Labels";
    s.LabelWidth = 101.6;
    s.LabelHeight = 50.8;
    struct Case
    {
        const char* search;
        bool matches;
    };
    const Case cases[] = {
        {"", true},           {"avery 5163", true},    {"SHIPPING", true},     {"101.6 x 50.8", true},
        {"50,8x101,6", true}, {"2 x 4 in", true},      {"4x2in avery", true},  {"10.16x5.08 cm", true},
        {"101.2x51.2", true},  {"102.2x50.8", false}, {"avery 5164", false},  {"herma 5163", false},
        {"3 x 4 in", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StockMatches(s, QString::fromUtf8(c.search)), c.matches) << c.search;
}

TEST(StockAssign, ShapesReachTheLabelAndStaggeredSheetsAreRefused)
{
    test::ensureGuiApplication();
    TZVStockCatalogue catalogue({QString(), QString(), QString()});
    catalogue.Load();
    struct Case
    {
        const char* name;
        TZorvelType type;
        int width, height, inner; // model units, 1/100 mm
        int columns, rows;
    };
    const Case cases[] = {
        {"Avery L6015", ltCircle, 11700, 11700, 2050, 1, 2},
        {"Avery 3274.2", ltCircle, 3810, 3810, 0, 4, 5},
        {"Begalabel V-200", ltRect, 5080, 2540, 0, 3, 9},
        {"Avery L7160", ltRect, 6399, 3810, 0, 3, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TZVLab label;
        ASSERT_EQ(AssignStock(*catalogue.Find(QString::fromUtf8(c.name)), label), QString());
        const TZVMeasure& m = label.Measure();
        EXPECT_EQ(m.LabelType(), c.type);
        EXPECT_EQ(QList<int>({m.Width(), m.Height(), m.InnerCircle(), m.NuVer(), m.NuHor()}),
                  QList<int>({c.width, c.height, c.inner, c.columns, c.rows}));
    }
    TZVLab label;
    EXPECT_EQ(AssignStock(*catalogue.Find(u"Desmat A4ST-3CD"), label),
              "Desmat A4ST-3CD cannot be assigned: its labels stand in 2 grids whose rows are staggered, "
              "and Zorvel prints one grid per sheet.");
    EXPECT_EQ(label.Measure().Width(), 6000); // the default label, untouched
}

// ---- Imports --------------------------------------------------------------------------------

class StockImport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::ensureGuiApplication();
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(dir.filePath("in"));
    }
    QString in(const QString& name) const { return dir.filePath("in/" + name); }
    QString userFile() const { return dir.filePath("user/labels.dls"); }
    TZVStockCatalogue catalogue() const { return TZVStockCatalogue({QString(), dir.filePath("user"), QString()}); }

    QTemporaryDir dir;
};

TEST_F(StockImport, GlabelsFolderWithItsOwnPaperNamespaceAndEquivalents)
{
    writeBytes(in("paper-sizes.xml"), R"(<Glabels-paper-sizes>
  <Paper-size id="Half" _name="Half" width="150mm" height="200mm"/></Glabels-paper-sizes>)");
    writeBytes(in("mine-templates.xml"), R"(<?xml version="1.0"?>
<Glabels-templates xmlns="http://glabels.org/xmlns/3.0/">
  <Template brand="Acme" part="H2" size="Half" _description="Halves">
    <Meta category="label"/>
    <Label-rectangle id="0" width="2in" height="1in" round="1mm">
      <Markup-margin size="5"/><Layout nx="2" ny="8" x0="1cm" y0="12pt" dx="2.5in" dy="1in"/>
    </Label-rectangle>
  </Template>
  <Template brand="Acme" part="H2-B" equiv="H2"/>
  <Template brand="Avery" part="X7160" equiv="7160"/>
</Glabels-templates>)");
    TZVStockCatalogue c = catalogue();
    const TZVStockImportResult result = c.Import(dir.filePath("in"));
    ASSERT_TRUE(result.Ok) << result.Error.toStdString();
    EXPECT_EQ(result.Count, 3);
    ASSERT_EQ(c.User().size(), 3);
    const TZVStock& h2b = c.User()[1];
    EXPECT_EQ(h2b.Name(), "Acme H2-B");
    EXPECT_EQ(h2b.Description, "Halves");
    EXPECT_EQ(h2b.Source, in("mine-templates.xml"));
    EXPECT_EQ(h2b.PaperName, "User"); // the paper table has no half sheet
    EXPECT_EQ(QList<double>({h2b.PaperWidth, h2b.PaperHeight, h2b.LabelWidth, h2b.LabelHeight, h2b.MarginLeft,
                             h2b.MarginTop, h2b.GapX, h2b.Radius}),
              QList<double>({150, 200, 50.8, 25.4, 10, 4.233, 12.7, 1}));
    // An equivalent of a shipped stock takes the shipped geometry.
    EXPECT_NEAR(c.User()[2].LabelWidth, 63.994, 0.001);
    // The file holds the lines; importing the folder again replaces them.
    TZVStockCatalogue reopened = catalogue();
    reopened.Load();
    EXPECT_EQ(reopened.User().size(), 3);
    EXPECT_TRUE(reopened.Import(dir.filePath("in")).Ok);
    EXPECT_EQ(reopened.User().size(), 3);
}

TEST_F(StockImport, GlabelsQtRollsAndContinuousTemplates)
{
    writeBytes(in("rolls.xml"), R"(<Glabels-templates>
  <Template brand="Dymo" part="99010" size="roll" width="28mm" height="89mm" description="Address">
    <Label-rectangle id="0" width="28mm" height="89mm" round="2mm">
      <Layout nx="1" ny="1" x0="0" y0="0" dx="28mm" dy="89mm"/></Label-rectangle>
  </Template>
  <Template brand="Brother" part="DK-2205" size="roll" width="62mm" description="Continuous">
    <Label-continuous id="0" width="62mm" min_height="10mm" max_height="1000mm" default_height="100mm"/>
  </Template>
</Glabels-templates>)");
    TZVStockCatalogue c = catalogue();
    const TZVStockImportResult result = c.Import(in("rolls.xml"));
    ASSERT_TRUE(result.Ok) << result.Error.toStdString();
    ASSERT_EQ(c.User().size(), 2);
    const TZVStock& die = c.User()[0];
    EXPECT_EQ(QList<double>({die.PaperWidth, die.PaperHeight, die.LabelWidth, die.LabelHeight, die.Radius}),
              QList<double>({28, 89, 28, 89, 2}));
    EXPECT_FALSE(die.Continuous);
    const TZVStock& roll = c.User()[1];
    EXPECT_TRUE(roll.Continuous);
    EXPECT_EQ(roll.Description, "Continuous");
    EXPECT_EQ(QList<double>({roll.PaperWidth, roll.PaperHeight, roll.LabelWidth, roll.LabelHeight}),
              QList<double>({62, 1000, 62, 1000}));
    TZVLab label;
    ASSERT_EQ(AssignStock(roll, label), QString());
    EXPECT_TRUE(label.Measure().AutoLengthApplies());
}

TEST_F(StockImport, LibreOfficeSheetsAndContinuousForms)
{
    writeBytes(in("labels.xml"), R"(<?xml version='1.0' encoding='UTF-8'?>
<manufacturers>
<manufacturer name="Avery A4">
    <label id="L5"><name>C2160 Avery Inkjet Label</name>
        <measure>S;6604;3810;6350;3810;720;1515;3;7;21000;29700</measure></label>
</manufacturer>
<manufacturer name="Forms">
    <label id="L0"><name>F100 Fanfold</name><measure>C,9000,3810,8890,3600,500,0,2,1,19000,30480</measure></label>
</manufacturer>
</manufacturers>)");
    TZVStockCatalogue c = catalogue();
    ASSERT_TRUE(c.Import(in("labels.xml")).Ok);
    ASSERT_EQ(c.User().size(), 2);
    const TZVStock& sheet = c.User()[0];
    EXPECT_EQ(sheet.Name(), "Avery A4 C2160");
    EXPECT_EQ(sheet.Description, "Avery Inkjet Label");
    EXPECT_EQ(sheet.PaperName, "A4");
    EXPECT_EQ(QList<double>({sheet.LabelWidth, sheet.LabelHeight, sheet.GapX, sheet.GapY, sheet.MarginLeft, sheet.MarginTop}),
              QList<double>({63.5, 38.1, 2.54, 0, 7.2, 15.15}));
    // One row of labels per page, a pitch long.
    const TZVStock& form = c.User()[1];
    EXPECT_EQ(QList<double>({form.PaperWidth, form.PaperHeight, form.LabelWidth, form.GapX}),
              QList<double>({190, 38.1, 88.9, 1.1}));
    EXPECT_EQ(QList<int>({form.Columns, form.Rows}), QList<int>({2, 1}));
    EXPECT_EQ(form.PaperName, "User");
}

TEST_F(StockImport, RefusedFilesNameTheFileAndLeaveNothingBehind)
{
    // A first import, so that a refused one must keep a catalogue, not merely create none.
    writeBytes(in("good.xml"), R"(<manufacturers><manufacturer name="M"><label><name>P1</name>
        <measure>S;6000;3000;6000;3000;0;0;3;9;21000;29700</measure></label></manufacturer></manufacturers>)");
    ASSERT_TRUE(catalogue().Import(in("good.xml")).Ok);
    const QByteArray before = readBytes(userFile());
    struct Case
    {
        const char* name;
        QByteArray bytes;
        const char* error;
    };
    const Case cases[] = {
        {"cut.xml", "<Glabels-templates><Template brand=\"A\" part=\"1\" size=\"A4\"><Label-round id=\"0\" radius=\"1in\">",
         "the XML is damaged"},
        {"page.xml", "<html><body>labels</body></html>", "neither a gLabels template file nor LibreOffice's labels.xml"},
        {"text.xml", "not XML at all", "neither a gLabels template file nor LibreOffice's labels.xml"},
        {"orphan.xml", "<Glabels-templates><Template brand=\"A\" part=\"2\" equiv=\"none\"/></Glabels-templates>",
         "is equivalent to \"A none\", which no template defines"},
        {"paper.xml",
         "<Glabels-templates><Template brand=\"A\" part=\"3\" size=\"Nope\"><Label-round id=\"0\" radius=\"1in\">"
         "<Layout nx=\"1\" ny=\"1\"/></Label-round></Template></Glabels-templates>",
         "on the paper \"Nope\", which the paper sizes do not name"},
        {"length.xml",
         "<Glabels-templates><Template brand=\"A\" part=\"4\" size=\"A4\"><Label-round id=\"0\" radius=\"1px\">"
         "<Layout nx=\"1\" ny=\"1\"/></Label-round></Template></Glabels-templates>",
         "has radius=\"1px\", which is no valid length or count"},
        {"grid.xml",
         "<Glabels-templates><Template brand=\"A\" part=\"5\" size=\"A4\"><Label-round id=\"0\" radius=\"1in\">"
         "<Layout nx=\"100000\" ny=\"1\"/></Label-round></Template></Glabels-templates>",
         "has nx=\"100000\", which is no valid length or count"},
        {"measure.xml", "<manufacturers><manufacturer name=\"M\"><label><name>P</name><measure>S;1;2</measure></label>"
                        "</manufacturer></manufacturers>", "holds 3 measures instead of 11"},
        {"sizes.xml", "<Glabels-paper-sizes/>", "a list of gLabels' database"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(in(c.name), c.bytes);
        TZVStockCatalogue catalogue = this->catalogue();
        const TZVStockImportResult result = catalogue.Import(in(c.name));
        EXPECT_FALSE(result.Ok);
        EXPECT_TRUE(result.Error.contains(in(c.name))) << result.Error.toStdString();
        EXPECT_TRUE(result.Error.contains(QString::fromUtf8(c.error))) << result.Error.toStdString();
        EXPECT_EQ(catalogue.User().size(), 1);
        EXPECT_EQ(readBytes(userFile()), before);
        QFile::remove(in(c.name));
    }
    EXPECT_EQ(QDir(dir.filePath("user")).entryList(QDir::Files | QDir::Hidden), QStringList{"labels.dls"});
}

} // namespace
} // namespace zorvel
