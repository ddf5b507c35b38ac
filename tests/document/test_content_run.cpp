// Tests of content from data: templates, counters, quantities per record and the dry run.
#include "../support/TestApplication.h"
#include "document/ZVCustomLab.h"
#include "document/ZVRunPlan.h"
#include "document/ZVUndoHistory.h"
#include "document/ZVTemplate.h"
#include "elements/ZVTextElements.h"
#include "foundation/ZVError.h"
#include "platform/ZVMemoryDataSet.h"
#include "platform/ZVPdfPrinter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zorvel::test {
namespace {

// Fixed values, worked out by hand in the expectations below.
class FixedValues final : public TZVTemplateValues
{
public:
    QString Field(const QString& name, const QString& format) const override
    {
        if (name.compare("NAME", Qt::CaseInsensitive) == 0) return format.isEmpty() ? "Tea" : "Tea/" + format;
        if (name == "GTIN12") return "0950110153000";
        if (name == "EAN") return "590123412345";
        throw EZvError("INVALID FIELD NAME :" + name);
    }
    QString Counter(const QString& name) const override { return "#" + name; }
    QDateTime JobStart() const override { return {QDate(2026, 1, 31), QTime(10, 5, 7)}; }
    std::int64_t Page() const override { return 2; }
    std::int64_t Label() const override { return 7; }
    std::int64_t Record() const override { return 12; }
    std::int64_t Copy() const override { return 3; }
    QString Answer(const QString& id) const override { return id == "LOT" ? "A7" : QString(); }
};

TEST(Template, FillsEveryPlaceholderKind)
{
    const struct
    {
        const char* text;
        const char* expected;
    } cases[] = {
        {"Lot {ANSWER:LOT} - best before {DATE+1m}", "Lot A7 - best before 2026-02-28"},
        {"{DATE-1y:dd.MM.yyyy} {DATE+2w} {DATE}", "31.01.2025 2026-02-14 2026-01-31"},
        {"{TIME:HH:mm} {TIME}", "10:05 10:05:07"},
        {"p{PAGE} l{LABEL} r{RECORD} c{COPY}", "p2 l7 r12 c3"},
        {"{name} {NAME:0.00} {#Serial}", "Tea Tea/0.00 #Serial"},
        {"{{{NAME}}} }}{{", "{Tea} }{"},
        {"(01){GTIN12:gs1check}", "(01)09501101530003"},
        {"{EAN:GS1CHECK}", "5901234123457"},
        {"", ""},
    };
    const FixedValues values;
    for (const auto& c : cases) EXPECT_EQ(TZVTemplate(c.text).Expand(values), c.expected) << c.text;
}

TEST(Template, RefusesMalformedTextsSayingWhere)
{
    const struct
    {
        const char* text;
        const char* problem;
    } cases[] = {
        {"ab{NAME", "INVALID TEMPLATE AT 3 : { WITHOUT }"},
        {"a}b", "INVALID TEMPLATE AT 2 : } WITHOUT {"},
        {"{A{B}}", "INVALID TEMPLATE AT 1 : { WITHOUT }"},
        {"x{}", "INVALID TEMPLATE AT 2 : EMPTY PLACEHOLDER {}"},
        {"{DATE+3x}", "INVALID TEMPLATE AT 1 : UNKNOWN PLACEHOLDER {DATE+3x}"},
        {"{TIME+1d}", "INVALID TEMPLATE AT 1 : UNKNOWN PLACEHOLDER {TIME+1d}"},
        {"{PAGE:000}", "INVALID TEMPLATE AT 1 : UNKNOWN PLACEHOLDER {PAGE:000}"},
        {"{#}", "INVALID TEMPLATE AT 1 : UNKNOWN PLACEHOLDER {#}"},
        {"{ANSWER}", "INVALID TEMPLATE AT 1 : UNKNOWN PLACEHOLDER {ANSWER}"},
        {"{ NAME}", "INVALID TEMPLATE AT 1 : UNKNOWN PLACEHOLDER { NAME}"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TZVTemplate::Problem(c.text), c.problem) << c.text;
        EXPECT_THROW(TZVTemplate{c.text}, EZvError) << c.text;
    }
    EXPECT_THROW(TZVTemplate("{X:gs1check}").Expand(FixedValues()), EZvError); // no digits to check
}

TEST(Counters, WriteValuesInTheirAlphabetNeverCut)
{
    const QString hex = "0123456789ABCDEF";
    const QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const struct
    {
        QString alphabet;
        int digits;
        std::int64_t value;
        const char* expected;
    } cases[] = {
        {kDecimalAlphabet, 5, 42, "00042"}, {kDecimalAlphabet, 2, 123, "123"}, {kDecimalAlphabet, 3, -5, "-005"},
        {hex, 4, 255, "00FF"},              {letters, 0, 27, "BB"},            {letters, 3, 0, "AAA"},
    };
    for (const auto& c : cases) {
        TZVCounter counter{.Name = "N", .Digits = c.digits, .Alphabet = c.alphabet};
        EXPECT_EQ(FormatCounter(counter, c.value), c.expected) << c.value;
    }
    EXPECT_FALSE(CounterProblem({.Name = "N", .Alphabet = "0120"}).isEmpty());
    EXPECT_FALSE(CounterProblem({.Name = "N", .Alphabet = "1"}).isEmpty());
    EXPECT_FALSE(CountersProblem({{.Name = "sn"}, {.Name = "SN"}}).isEmpty());
    EXPECT_EQ(CounterValue({.Step = 5}, INT64_MAX - 3, 1), INT64_MAX);
}

TEST(RunPlan, LocatesLabelsThroughQuantities)
{
    const TZVRunPlan plan(std::vector<std::int64_t>{2, 0, -1, 3});
    EXPECT_EQ(plan.Labels(), 5);
    EXPECT_EQ(plan.Records(), 2);
    const struct
    {
        std::int64_t index, record, inRun, copy;
    } cases[] = {{0, 0, 0, 1}, {1, 0, 0, 2}, {2, 3, 1, 1}, {4, 3, 1, 3}};
    for (const auto& c : cases) {
        const auto place = plan.Locate(c.index);
        EXPECT_EQ(place.RecordOffset, c.record) << c.index;
        EXPECT_EQ(place.RecordInRun, c.inRun) << c.index;
        EXPECT_EQ(place.Copy, c.copy) << c.index;
    }
}

// A sheet of 2 x 2 labels with one text showing `text` as a template, bound to `data` when given.
class ContentRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureGuiApplication();
        label.Measure().SetNuHor(2);
        label.Measure().SetNuVer(2);
        text = new TZVText(label);
        text->SetID("T");
    }
    void bind(const QVariantList& quantities)
    {
        data.AddField("NAME", fkString);
        data.AddField("QTY", fkString);
        for (int i = 0; i < quantities.size(); ++i) data.AppendRecord({QString("R%1").arg(i + 1), quantities[i]});
        data.Open();
        label.SetDataAccessType(daDataSet);
        label.SetDataSet(&data);
        label.SetDataEnabled(true);
        label.SetQuantityField("QTY");
    }
    QStringList values()
    {
        QStringList lines;
        label.ListValues([&](const TZVLabelValue& v) {
            lines << QString("%1 %2,%3 r%4c%5 %6").arg(v.Page).arg(v.Row).arg(v.Col).arg(v.Record).arg(v.Copy).arg(v.Content);
        });
        return lines;
    }
    bool print()
    {
        TZVPdfPrinter pdf(dir.filePath("out.pdf"));
        return label.PrintEx(pdf, 1, false);
    }

    TZVLab label;
    TZVText* text = nullptr;
    TZVMemoryDataSet data;
    QTemporaryDir dir;
};

TEST_F(ContentRun, QuantityFieldPrintsEachRecordItsNumberOfTimes)
{
    bind({"2", "0", " 3 "});
    text->setProperty("Template", "{NAME} {COPY}/{LABEL}");
    EXPECT_EQ(values(), QStringList({"1 1,1 r1c1 R1 1/1", "1 1,2 r1c2 R1 2/2", "1 2,1 r3c1 R3 1/3",
                                     "1 2,2 r3c2 R3 2/4", "2 1,1 r3c3 R3 3/5"}));
    EXPECT_EQ(label.PrintInfo().PageCount, 2);
}

TEST_F(ContentRun, QuantityThatIsNoWholeNumberStopsTheRun)
{
    bind({"1", "2.5"});
    try {
        label.PrepareRun();
        FAIL() << "a run with a quantity of 2.5";
    } catch (const EZvError& e) {
        EXPECT_EQ(e.message(), "INVALID QUANTITY IN RECORD 2 : QTY");
    }
}

TEST_F(ContentRun, CountersStepPerLabelRecordAndPage)
{
    bind({"2", "1", "2"});
    label.SetCounters({{.Name = "L", .Start = 10},
                       {.Name = "R", .Start = 1, .Step = 2, .Digits = 3, .Per = cpRecord},
                       {.Name = "P", .Start = 7, .Per = cpPage}});
    text->setProperty("Template", "{#L} {#R} {#P}");
    EXPECT_EQ(values(), QStringList({"1 1,1 r1c1 10 001 7", "1 1,2 r1c2 11 001 7", "1 2,1 r2c1 12 003 7",
                                     "1 2,2 r3c1 13 005 7", "2 1,1 r3c2 14 005 8"}));
    // A dry run saves nothing; a completed run saves the next values.
    EXPECT_EQ(label.Counters()[0].Start, 10);
    ASSERT_TRUE(print());
    EXPECT_EQ(label.Counters()[0].Start, 15);
    EXPECT_EQ(label.Counters()[1].Start, 7);
    EXPECT_EQ(label.Counters()[2].Start, 9);
    EXPECT_TRUE(label.Modified());
}

TEST_F(ContentRun, OnlyACompletedPrintingRunSavesCounters)
{
    const auto startAfter = [&](const std::function<void()>& run) {
        label.SetCounters({{.Name = "SN", .Start = 100}});
        run();
        return label.Counters()[0].Start;
    };
    label.PrintInfo().SetNumLabels(3);
    EXPECT_EQ(startAfter([&] { label.PreparePreview(); }), 100);
    EXPECT_EQ(startAfter([&] {
                  label.OnProgress = [](int, int) { return false; };
                  EXPECT_FALSE(print());
                  label.OnProgress = nullptr;
              }),
              100);
    EXPECT_EQ(startAfter([&] {
                  label.SetCounterOverrides({{"SN", 5}});
                  print();
                  label.SetCounterOverrides({});
              }),
              100);
    EXPECT_EQ(startAfter([&] { print(); }), 103);
    label.SetCounters({{.Name = "SN", .Start = 100, .Reset = crEveryRun}});
    print();
    EXPECT_EQ(label.Counters()[0].Start, 100);
    // A daily counter saved yesterday starts again at 1.
    label.SetCounters({{.Name = "SN", .Start = 100, .Reset = crDaily, .Date = QDate::currentDate().addDays(-1)}});
    text->setProperty("Template", "{#SN}");
    EXPECT_EQ(values().first(), "1 1,1 r1c1 1");
    print();
    EXPECT_EQ(label.Counters()[0].Start, 4);
    EXPECT_EQ(label.Counters()[0].Date, QDate::currentDate());
}

TEST_F(ContentRun, UndoNeverTakesBackWhatARunHandedOut)
{
    label.SetCounters({{.Name = "SN", .Start = 100}});
    label.PrintInfo().SetNumLabels(3);
    {
        TZVChangeScope step(label, "Move");
        text->SetX1(20);
    }
    ASSERT_TRUE(print());
    while (label.UndoStack().canUndo()) label.UndoStack().undo();
    EXPECT_EQ(label.Counters()[0].Start, 103);
    EXPECT_NE(text->X1(), 2000); // the edit itself is undone
}

} // namespace
} // namespace zorvel::test
